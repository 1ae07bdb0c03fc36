// Program entry.
#include "session/session.h"
#include "store/phasetime.h"

int main() {
  // No fixed mmap threshold: the simplex's factorisation allocates and frees blocks of a
  // megabyte and more at every refactorisation, and taking each fresh from the kernel costs
  // more than the solve.  The passing buffers of a large load are given back by the trim
  // after the load instead.
  phasetime_("program starts");
  int r = MAIN__();
  phasetime_("program ends");
  return r;
}
