// Placeholders for handlers of later steps that the command loop reaches (catalogue and
// help) until they land.
#include "session/session.h"

void lstcat_(Work& W, MasterRecord& L, int32_t unit, int32_t) {
  if (unit == L.TRMOUT) errmsh_(W, L, 152);
}
void help_(Work& W, MasterRecord& L, int32_t, int32_t unit) {
  if (unit == L.TRMOUT) errmsh_(W, L, 152);
}
