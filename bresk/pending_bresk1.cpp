// Temporary stand-in until the nonlinear solver lands: nonlinear models
// cannot be solved yet.
#include "bresk/internal.h"

namespace bresk {

int solve_nlp(BRmodel* m, int) {
  m->res.status = m->res.solstatus = BR_UNKNOWN;
  return BRERR_NOT_AVAILABLE;
}

} // namespace bresk

// Integer solves arrive with the integer solver.
extern "C" int BRsolveMIP(BRmodel*) { return BRERR_NOT_AVAILABLE; }
extern "C" int BRgetMIPSolution(BRmodel*, double*) { return BRERR_NO_SOLUTION; }
