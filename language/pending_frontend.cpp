// Temporary stand-ins for routines that other parts of the system provide; each is removed
// as soon as its real owner lands.
#include <cstdio>
#include <cstring>
#include <string>
#include "language/lang.h"

void xecute_(Work& W, MasterRecord& L, int32_t code, int32_t first, int32_t last, int32_t& status, double& out) {
  status = 1;
  out = 0.0;
}
double xecute_top_(MasterRecord& L) { return 0.0; }
double xecute_first_(MasterRecord& L) { return 0.0; }
void xecute_reset_(MasterRecord& L) {}

void savet_(Work& W, MasterRecord& L, const char* text, int32_t len, int32_t& status) {
  status = 0;
  L.TITLEN = len;
}
