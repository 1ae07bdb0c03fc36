// Temporary stand-ins for the printable names of rows.
#include <cstdio>
#include <cstring>

#include "generate/pending_eval.h"
#include "store/master.h"

void rdx2nh_(Work& a, MasterRecord& L, int32_t r, char* buf, int32_t& length) {
  length = std::snprintf(buf, 32, "R%d", r);
}
