// Temporary stand-ins for the integer, nonlinear and diagnosis solvers until
// they land: each answers "not available" so that the program links and
// reports the failure.  Each goes as soon as its real routine exists.
#include "bresk/internal.h"

namespace bresk {

int solve_nlp(BRmodel* m, int) {
  m->res.status = m->res.solstatus = BR_UNKNOWN;
  return BRERR_NOT_AVAILABLE;
}

} // namespace bresk

extern "C" {

int BRsolveMIP(BRmodel*) { return BRERR_NOT_AVAILABLE; }
int BRsolveGOP(BRmodel*) { return BRERR_NOT_AVAILABLE; }
int BRgetMIPSolution(BRmodel*, double*) { return BRERR_NO_SOLUTION; }
int BRgetMIPSlacks(BRmodel*, double*) { return BRERR_NO_SOLUTION; }
int BRgetDualMIPsolution(BRmodel*, double*, double*) { return BRERR_NO_SOLUTION; }
int BRgetCurrentMIPSolutionInfo(BRmodel*, int*, double*, double*, int*, int*, int*, int*, int*,
                                int*, int*, int*, double*, int*, int*, int*, int*, int*, int*,
                                int*, double*, double*, double*, double*, double*, double*) {
  return BRERR_NO_SOLUTION;
}
int BRgetNLPRanges(BRmodel*, double*, double*, double*, double*, double*, double*) {
  return BRERR_NOT_AVAILABLE;
}
int BRfindIIS(BRmodel*, int) { return BRERR_NOT_AVAILABLE; }
int BRgetIIS(BRmodel*, int*, int*, int*, int*, int*, int*, int*) { return BRERR_NOT_AVAILABLE; }
int BRfindIUS(BRmodel*, int) { return BRERR_NOT_AVAILABLE; }
int BRgetIUS(BRmodel*, int*, int*, int*) { return BRERR_NOT_AVAILABLE; }

} // extern "C"
