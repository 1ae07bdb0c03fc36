// Placeholders for the reports and the MPS reader until they land.
#include "session/session.h"

void outsol_(Work& W, MasterRecord& L, int32_t, const char*, int32_t, const char*, int32_t) {
  errmsh_(W, L, 152);
}
void range_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }
