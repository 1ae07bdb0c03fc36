// Placeholders for the solve driver and its reports until the solver interface lands.
#include "session/session.h"

int32_t solver_(Work& W, MasterRecord& L, int32_t, const char*) {
  errmsh_(W, L, L.MODLINES == 0 ? 5 : 152);
  return 0;
}
void resultsummary_(Work&, MasterRecord&) {}
void dodebug_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }
