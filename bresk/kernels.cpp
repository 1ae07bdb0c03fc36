// Probability kernels and the uniform draw used by instruction lists.  They
// come from the program's own evaluation module once that is linked here;
// until then the codes are refused at load time.
#include "bresk/ops.h"

namespace bresk {

bool kernel_available(int) { return false; }

bool kernel_eval(int, const double*, double*) { return false; }

} // namespace bresk
