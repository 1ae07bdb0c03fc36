// Placeholders for the solve driver and its reports until the solver interface lands.
#include "session/session.h"
#include "generate/genmod.h"

int32_t solver_(Work& W, MasterRecord& L, int32_t, const char*) {
  if (L.MODLINES == 0) {
    errmsh_(W, L, 5);
    return 0;
  }
  return genmod_(W, L);
}
void resultsummary_(Work&, MasterRecord&) {}
void dodebug_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }
// The library keeps the names it was loaded with until the name passing lands.
void loadnames_(Work&, MasterRecord&, int32_t, int32_t& status) { status = 0; }
