// Temporary weak stand-ins for routines of other subsystems used by the line and message
// routines; each goes when the real routine lands.
#include <cstdlib>
#include <cstring>

#include "store/io.h"
#include "store/master.h"
#include "store/pending_io.h"
#include "store/work.h"

#define WEAK __attribute__((weak))

WEAK void ushift_(char* line, int32_t len, char* raw) {
  for (int32_t i = 0; i < len; ++i) {
    raw[i] = line[i];
    if (line[i] >= 'a' && line[i] <= 'z') line[i] = (char)(line[i] - 'a' + 'A');
  }
}

WEAK int32_t nxblnk_(MasterRecord& L, int32_t flag) {
  int32_t p = L.LINCUR < 1 ? 1 : L.LINCUR;
  while (p <= L.LINEND && L.LINBUF[p - 1] != ' ') ++p;
  if (flag & 1) L.LINCUR = p;
  return p;
}

WEAK void getrsp_(MasterRecord& L, const char* prompt, int32_t npairs) {
  gettxt_(L, prompt, npairs, L.LINBUF, L.MAXLIN, L.LINCUR, L.LINEND, 1);
}

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

WEAK int32_t FBRGETERRORMESSAGE_(int32_t& env, int32_t& code, char* text) { return 1; }
WEAK bool msgname_(Work&, MasterRecord&, int32_t, int32_t, int32_t, char*, int32_t&) { return false; }
WEAK bool paramlimits_(MasterRecord&, int32_t, int32_t&, int32_t&, int32_t&, double&, double&) { return false; }
WEAK bool nuniqpair_(Work&, MasterRecord&, int32_t, int32_t&, int32_t&) { return false; }
