// Stand-ins until the structural analysis lands: without it no row can be generated, so
// generation ends after the compile steps without a model.
#include "generate/analysis.h"

__attribute__((weak)) void struck_(Work&, MasterRecord&, int32_t& status) { status = 99; }
__attribute__((weak)) void symxec_(Work&, MasterRecord&, int32_t, int32_t, int32_t, SymResult&,
                                   int32_t& status) {
  status = 99;
}
__attribute__((weak)) void gcomp2_(Work&, MasterRecord&, int32_t, double& value, int32_t& status,
                                   double&) {
  value = 0.0;
  status = 1;
}
