// Temporary stand-ins for routines that other parts of the system provide; each is removed
// as soon as its real owner lands.
#include <cstdio>
#include <cstring>
#include <string>
#include "language/lang.h"

// Reader stand-in: the whole model text with line escapes, blanks folded, "!" comments to ";".
void filbuf_(Work& W, MasterRecord& L, int32_t& status) {
  status = 0;
  int32_t keep = L.SCANLEN - L.SCANPOS;
  char tmp[808];
  std::memcpy(tmp, L.SCANBUF + L.SCANPOS + 1, keep > 0 ? (size_t)keep : 0);
  L.SCANBUF[1] = 0;
  L.SCANBUF[2] = (char)(L.SRCLINE & 255);
  L.SCANBUF[3] = (char)((L.SRCLINE >> 8) & 255);
  L.SCANBUF[4] = 0;
  if (keep > 0) std::memcpy(L.SCANBUF + 5, tmp, (size_t)keep);
  L.SCANPOS = 0;
  L.SCANLEN = 4 + (keep > 0 ? keep : 0);
  if (L.MODLINES < 1 || L.TEXTBLK <= 0) return;
  int32_t total = iget(W, L, L.LINEIX, L.MODLINES + 1) - 1;
  int64_t base = wbyte(L.START[L.TEXTBLK]);
  bool pendblank = false;
  while (L.SCANLEN < L.SCANCAP - 16 && L.TEXTPOS < total) {
    int32_t p = L.TEXTPOS + 1;
    while (L.TEXTLINE < L.MODLINES && iget(W, L, L.LINEIX, L.TEXTLINE + 1) <= p) {
      L.TEXTLINE++;
      if (iget(W, L, L.LINEIX, L.TEXTLINE + 1) > p || L.TEXTLINE == L.MODLINES) {
        char* b = L.SCANBUF + L.SCANLEN;
        b[1] = 0; b[2] = (char)(L.TEXTLINE & 255); b[3] = (char)((L.TEXTLINE >> 8) & 255); b[4] = 0; b[5] = ' ';
        L.SCANLEN += 5;
        pendblank = false;
      }
    }
    char c = cget(W, base + p - 1);
    L.TEXTPOS = p;
    if (c == '!' && L.SYNTAX == 0) {
      while (L.TEXTPOS < total && cget(W, base + L.TEXTPOS) != ';') L.TEXTPOS++;
      if (L.TEXTPOS < total) L.TEXTPOS++;
      pendblank = true;
      continue;
    }
    if (c == '!' && L.SYNTAX == 1) {
      int32_t e = iget(W, L, L.LINEIX, L.TEXTLINE + 1) - 1;
      L.TEXTPOS = e;
      pendblank = true;
      continue;
    }
    if (c == ' ' || c == '\t') { pendblank = true; continue; }
    if (pendblank) L.SCANBUF[++L.SCANLEN] = ' ';
    pendblank = false;
    L.SCANBUF[++L.SCANLEN] = c;
  }
}

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
