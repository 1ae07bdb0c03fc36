// Placeholder for the MPS reader until it lands.
#include "session/session.h"

void dormps_(MasterRecord& L, Work& W, int32_t) { errmsh_(W, L, 152); }
