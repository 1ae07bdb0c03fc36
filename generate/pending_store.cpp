// Temporary stand-ins until the structural analysis and the scalar model lists land.
#include "generate/genmod.h"
#include "store/master.h"
#include "store/pending_store.h"

__attribute__((weak)) void freescalarlists_(MasterRecord&) {}
// Without the analysis no row can be generated: the model is reported as not generated.
__attribute__((weak)) void struck_(Work&, MasterRecord&, int32_t& status) { status = 99; }
__attribute__((weak)) void symxec_(Work&, MasterRecord&, int32_t&, int32_t&, int32_t&, int32_t&,
                                   int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&,
                                   int32_t& status) {
  status = 99;
}
__attribute__((weak)) void getrti_(Work&, MasterRecord&, int32_t, int32_t& error) { error = 0; }
