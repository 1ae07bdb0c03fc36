// Stand-ins for routines that other parts of the system bring: the diagnosis of
// infeasible and unbounded models, and the loaders of the scalar model lists.
#include "session/session.h"
#include "solver/solver.h"

void dodebug_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }

__attribute__((weak)) int32_t clearmodel_(MasterRecord& L) {
  if (L.MODELHANDLE != 0) {
    int32_t r = FBRDELETEMODEL_(L.MODELHANDLE);
    if (r != 0) return r;
  }
  int32_t err = 0;
  L.MODELHANDLE = FBRCREATEMODEL_(L.ENVHANDLE, err);
  return L.MODELHANDLE != 0 ? 0 : (err != 0 ? err : BRERR_NO_MEMORY);
}
__attribute__((weak)) void genlprowbyrow_(Work&, MasterRecord&, int32_t& error) { error = 9; }
__attribute__((weak)) void scalarizemodel_(Work&, MasterRecord&, int32_t& error) { error = 9; }
__attribute__((weak)) void dispscalarinslists_(Work&, MasterRecord&) {}
__attribute__((weak)) void gcomp2_(Work&, MasterRecord&, int32_t, double& value, int32_t& status,
                                   double&) {
  value = 0.0;
  status = 1;
}
