// Temporary weak stand-ins for routines of other subsystems used by the line and message
// routines; each goes when the real routine lands.
#include <cstdlib>
#include <cstring>

#include "store/io.h"
#include "store/master.h"
#include "store/pending_io.h"
#include "store/work.h"

#define WEAK __attribute__((weak))

WEAK void txt2nm_(MasterRecord& L, const char* text, int32_t& pos, int32_t& len, int32_t& err,
                  double& value) {
  int32_t p = pos + 1;
  while (p <= len && text[p - 1] == ' ') ++p;
  char tmp[256];
  int32_t k = 0;
  while (p + k <= len && k < 255 && text[p + k - 1] != ' ') {
    tmp[k] = text[p + k - 1];
    ++k;
  }
  tmp[k] = 0;
  char* end = nullptr;
  value = std::strtod(tmp, &end);
  if (k == 0 || end == tmp) {
    err = 1;
    return;
  }
  err = 0;
  pos = p + (int32_t)(end - tmp);
}

WEAK bool msgvarrow_(Work&, MasterRecord&, int32_t, int32_t, char*, int32_t&) { return false; }
