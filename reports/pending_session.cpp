// Until the output operations and the MPS/MPI writer land: nothing is written.
#include "session/session.h"

__attribute__((weak)) void runoutops_(Work&, MasterRecord&) {}
__attribute__((weak)) int32_t dosmp_(Work& W, MasterRecord& L, const char*, int32_t) {
  errmsh_(W, L, 152);
  return 0;
}
