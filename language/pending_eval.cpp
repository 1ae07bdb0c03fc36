// Temporary stand-ins for the printable names of variables and rows.
#include <cstdio>
#include <cstring>

#include "generate/pending_eval.h"
#include "store/master.h"

void vdx2nh_(Work& a, MasterRecord& L, int32_t v, char* buf, int32_t& length) {
  length = std::snprintf(buf, 32, "X%d", v);
}
void rdx2nh_(Work& a, MasterRecord& L, int32_t r, char* buf, int32_t& length) {
  length = std::snprintf(buf, 32, "R%d", r);
}
