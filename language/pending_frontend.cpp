// Temporary stand-ins for routines that other parts of the system provide; each is removed
// as soon as its real owner lands.
#include <cstdio>
#include <cstring>
#include <string>
#include "language/lang.h"

static int32_t elsize(int32_t type) {
  switch (type) {
    case 1: return 1;
    case 3: return 2;
    case 6: case 7: return 8;
    default: return 4;
  }
}

void setblk_(int32_t type, int32_t& count, Work& W, MasterRecord& L, int32_t& handle, int32_t& status) {
  int32_t s = elsize(type), g = 8 / s;
  status = 0;
  if (handle > 0 && count < 1) {
    rlsblk_(L, handle);
    return;
  }
  if ((int64_t)count >= 2147483640LL / s) {
    status = 2;
    if (handle <= 0) { handle = 0; count = 0; }
    return;
  }
  int64_t c = count < 1 ? g : ((int64_t)(count - 1) / g) * g + g;
  int64_t w = c * s / 4;
  if (W.w.size() < 2) W.w.assign(2, 0);
  if (handle <= 0) {
    int32_t h = 0;
    for (int32_t k = 3; k <= 480; ++k)
      if (L.START[k] == 0) { h = k; break; }
    if (!h) { status = 3; handle = 0; count = 0; return; }
    if ((int64_t)W.w.size() + w > 80000000) { status = 2; handle = 0; count = 0; return; }
    L.START[h] = (int32_t)W.w.size();
    L.LEN[h] = (int32_t)w;
    W.w.resize(W.w.size() + (size_t)w, 0);
    handle = h;
  } else {
    int32_t h = handle;
    if (w <= L.LEN[h] || (int64_t)L.START[h] + L.LEN[h] == (int64_t)W.w.size()) {
      if ((int64_t)L.START[h] + w > (int64_t)W.w.size()) W.w.resize((size_t)(L.START[h] + w), 0);
      L.LEN[h] = (int32_t)w;
    } else {
      if ((int64_t)W.w.size() + w > 80000000) { status = 2; return; }
      int32_t ns = (int32_t)W.w.size();
      W.w.resize(W.w.size() + (size_t)w, 0);
      for (int32_t k = 0; k < L.LEN[h]; ++k) W.w[(size_t)(ns + k)] = W.w[(size_t)(L.START[h] + k)];
      L.START[h] = ns;
      L.LEN[h] = (int32_t)w;
    }
  }
  count = (int32_t)c;
}

void rlsblk_(MasterRecord& L, int32_t& handle) {
  if (handle <= 0) return;
  L.START[handle] = 0;
  L.LEN[handle] = 0;
  handle = 0;
}

int32_t lprint_(MasterRecord& L, int32_t& unit, char* line, int32_t len) {
  int32_t k = len < L.LINLEN ? len : L.LINLEN;
  while (k > 0 && line[k - 1] == ' ') --k;
  if (k == 0) k = 1;
  std::fwrite(line, 1, (size_t)k, stdout);
  std::fputc('\n', stdout);
  return 32;
}

static void pt2err(MasterRecord& L, int32_t p) {
  int32_t start = 1, lineno = L.SRCLINE;
  for (int32_t i = p - 1; i >= 4; --i)
    if (L.SCANBUF[i] == 0 && i - 3 >= 1 && L.SCANBUF[i - 3] == 0) {
      lineno = (int16_t)((unsigned char)L.SCANBUF[i - 2] | ((unsigned char)L.SCANBUF[i - 1] << 8));
      start = i + 1;
      break;
    }
  int32_t end = L.SCANLEN;
  for (int32_t i = p + 1; i + 3 <= L.SCANLEN; ++i)
    if (L.SCANBUF[i] == 0 && L.SCANBUF[i + 3] == 0) { end = i - 1; break; }
  char buf[16];
  std::snprintf(buf, sizeof buf, " %6d] ", lineno);
  std::string s = buf;
  for (int32_t i = start; i <= end; ++i) s += L.SCANBUF[i];
  outline(L, s);
  outline(L, std::string((size_t)(p - start + 9), ' ') + "^");
}

void errmsh_(Work& W, MasterRecord& L, int32_t n) {
  char buf[40];
  outline(L, "");
  std::snprintf(buf, sizeof buf, " [Error Code:%5d]", n);
  outline(L, buf);
  outline(L, "");
  outline(L, "");
  pt2err(L, L.ERRARG);
  outline(L, "");
  L.LASTERR = n;
}

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

void grwset_(Work& W, MasterRecord& L, int32_t& status) {
  int32_t S = L.SETCAP, st = 0, any = 0;
  int32_t n = (S + 32) * 4;
  setblk_(7, n, W, L, L.KSNAME, st);
  any |= st;
  int32_t* hs[] = {&L.LXSTUB, &L.LASTUB, &L.INXNTR, &L.SETORD, &L.INANTR, &L.NNTRYS, &L.SETPST, &L.SETALC, &L.SETCST};
  for (int32_t* h : hs) {
    n = S + 32;
    setblk_(2, n, W, L, *h, st);
    any |= st;
  }
  if (!any) L.SETCAP = S + 32;
  status = any;
}

void grwvr3_(Work& W, MasterRecord& L, int32_t n, int32_t& status) {
  int32_t g = n > 256 ? n : 256;
  int32_t P = L.VARCAP, Q = P + g, st = 0, c = Q;
  setblk_(2, c, W, L, L.VARKND, st);
  if (st) { status = 2; return; }
  L.VARCAP = Q;
  for (int32_t k = P + 1; k <= Q; ++k) iput(W, L, L.VARKND, k, 0);
  for (int32_t k = 1; k <= L.VARTOP && P > 0; ++k) {
    iput(W, L, L.VARKND, Q - k + 1, iget(W, L, L.VARKND, P - k + 1));
    iput(W, L, L.VARKND, P - k + 1, 0);
  }
  for (int32_t s = 1; s <= L.NSETS; ++s)
    if (iget(W, L, L.INANTR, s) > 0) iput(W, L, L.INANTR, s, iget(W, L, L.INANTR, s) + (Q - P));
  status = 0;
}

void savet_(Work& W, MasterRecord& L, const char* text, int32_t len, int32_t& status) {
  status = 0;
  L.TITLEN = len;
}
