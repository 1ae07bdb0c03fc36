// Placeholders for the reports and the MPS reader until they land.
#include "session/session.h"

void outsol_(Work& W, MasterRecord& L, int32_t, const char*, int32_t, const char*, int32_t) {
  errmsh_(W, L, 152);
}
void range_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }
// Until the output operations and the model displays land: nothing is written.
__attribute__((weak)) void runoutops_(Work&, MasterRecord&) {}
__attribute__((weak)) void displaygeneratedmodel_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }
__attribute__((weak)) void dostats_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }
__attribute__((weak)) void dopic_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }
__attribute__((weak)) int32_t dosmp_(Work& W, MasterRecord& L, const char*, int32_t) {
  errmsh_(W, L, 152);
  return 0;
}
