// The numbered message printer: header, the lines of the message table, the closing
// lines and, for errors in model text, the model line with a caret.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "store/hooks.h"
#include "store/io.h"
#include "store/master.h"
#include "store/msgtable.h"
#include "store/upcalls.h"
#include "store/util.h"
#include "store/work.h"

namespace {

// One output line being built; appends beyond its capacity are dropped.
struct Line {
  static constexpr int32_t CAP = 1000;
  char c[CAP];
  int32_t n = 0;
  void put(const char* s, int32_t k) {
    for (int32_t i = 0; i < k && n < CAP; ++i) c[n++] = s[i];
  }
  void puts(const char* s) { put(s, (int32_t)std::strlen(s)); }
  // A text field: up to w characters, stopping at a NUL.
  void field(const char* s, int32_t cap, int32_t w) {
    if (w <= 0 || w > cap) w = cap;
    int32_t k = 0;
    while (k < w && s[k]) ++k;
    put(s, k);
  }
  // An integer right-aligned in w columns (wider when it does not fit).
  void integer(int64_t v, int32_t w) {
    char t[32];
    int k = std::snprintf(t, sizeof t, "%*lld", w, (long long)v);
    put(t, k);
  }
};

// An 8-byte real in general form: 24 columns, 15 significant digits, 3-digit exponent.
void real24(Line& ln, double x) {
  char t[64];
  if (!std::isfinite(x)) {
    std::snprintf(t, sizeof t, "%24s", std::isnan(x) ? "NaN" : (x > 0 ? "Infinity" : "-Infinity"));
    ln.puts(t);
    return;
  }
  if (x == 0.0) {
    std::snprintf(t, sizeof t, "%19.14f     ", 0.0);
    ln.puts(t);
    return;
  }
  char e[40];
  std::snprintf(e, sizeof e, "%.14e", std::fabs(x));  // d.dddddddddddddde+XX
  int32_t k = std::atoi(std::strchr(e, 'e') + 1) + 1;  // 0.1 <= |x| / 10^k < 1
  if (k >= 0 && k <= 15) {
    std::snprintf(t, sizeof t, "%19.*f     ", 15 - k, x);
  } else {
    char digits[16];
    digits[0] = e[0];
    std::memcpy(digits + 1, e + 2, 14);
    digits[15] = 0;
    char body[40];
    std::snprintf(body, sizeof body, "%s0.%sE%c%03d", x < 0 ? "-" : "", digits, k < 0 ? '-' : '+',
                  k < 0 ? -k : k);
    std::snprintf(t, sizeof t, "%24s", body);
  }
  ln.puts(t);
}

// An 8-byte real in double-precision exponent form, 12 columns, 4 digits after the point.
void real12d4(Line& ln, double x) {
  char t[48];
  if (!std::isfinite(x) || x == 0.0) {
    std::snprintf(t, sizeof t, "%12s", x == 0.0 ? "0.0000D+00" : "Infinity");
    ln.puts(t);
    return;
  }
  char e[32];
  std::snprintf(e, sizeof e, "%.3e", std::fabs(x));  // d.ddde+XX
  int32_t k = std::atoi(std::strchr(e, 'e') + 1) + 1;
  char body[40];
  std::snprintf(body, sizeof body, "%s0.%c%c%c%cD%c%0*d", x < 0 ? "-" : "", e[0], e[2], e[3], e[4],
                k < 0 ? '-' : '+', (k > 99 || k < -99) ? 3 : 2, k < 0 ? -k : k);
  std::snprintf(t, sizeof t, "%12s", body);
  ln.puts(t);
}

// Reads an item name up to '}' or ':'; returns the position after it.
const char* itemname(const char* p, char* name, int32_t cap) {
  int32_t k = 0;
  while (*p && *p != '}' && *p != ':') {
    if (k < cap - 1) name[k++] = *p;
    ++p;
  }
  name[k] = 0;
  return p;
}

// The integer argument named by one letter.
int32_t argof(const MasterRecord& L, char a) {
  switch (a) {
    case 'A': return L.ERRARG;
    case 'B': return L.ERRARG2;
    case 'C': return L.ERRARG3;
    case 'D': return L.ERRARG4;
  }
  return 0;
}

// Everything one message needs to print its lines.
struct Ctx {
  Work& W;
  MasterRecord& L;
  int32_t unit;
  bool param_known;
  int32_t pkind, pimin, pimax;
  double prmin, prmax;
};

// Whether the condition k of a line holds.
bool holds(const Ctx& x, const char* k) {
  const MasterRecord& L = x.L;
  int32_t u = L.NUNIQ;
  if (!std::strcmp(k, "F")) return L.FILFMT != 2;
  if (!std::strcmp(k, "U3")) return u > 3;
  if (!std::strcmp(k, "U2")) return u == 2 || u == 3;
  if (!std::strcmp(k, "U1")) return u < 2;
  if (!std::strcmp(k, "An")) return L.ERRARG < 0;
  if (!std::strcmp(k, "Ap")) return L.ERRARG >= 0;
  if (!std::strcmp(k, "A0")) return L.ERRARG != 0;
  if (!std::strcmp(k, "B0")) return L.ERRARG2 != 0;
  if (!std::strcmp(k, "C0")) return L.ERRARG3 != 0;
  if (!std::strcmp(k, "Bz")) return L.ERRARG2 == 0;
  if (!std::strcmp(k, "Bp")) return L.ERRARG2 > 0;
  if (!std::strcmp(k, "Bn")) return L.ERRARG2 <= 0;
  bool integer = x.param_known && x.pkind == 1, real = x.param_known && x.pkind == 2;
  if (!std::strcmp(k, "Ii")) return integer && x.pimax == -1;
  if (!std::strcmp(k, "Ij")) return integer && x.pimax != -1;
  if (!std::strcmp(k, "Ri")) return real && x.prmax == -1.0;
  if (!std::strcmp(k, "Rj")) return real && x.prmax != -1.0;
  return false;
}

// Integer element k (1-based) of the block of handle h, when the block holds it.
bool blkint(const Work& W, const MasterRecord& L, int32_t h, int32_t k, int32_t& v) {
  if (h < 1 || h > NHANDLES || L.START[h] < 1 || k < 1 || k > L.LEN[h]) return false;
  v = wget(W, (int64_t)L.START[h] + k - 1);
  return true;
}

// Name i of the name table in block h holding count names (32 characters a slot).
bool tablename(const Work& W, const MasterRecord& L, int32_t h, int32_t count, int32_t i, char* text,
               int32_t& len) {
  constexpr int32_t kSlotWords = 8;  // 32 characters
  if (h < 1 || h > NHANDLES || L.START[h] < 1 || i < 1 || i > count) return false;
  if ((int64_t)i * kSlotWords > L.LEN[h]) return false;
  int64_t b = wbyte((int64_t)L.START[h] + (int64_t)(i - 1) * kSlotWords);
  len = 0;
  for (int32_t k = 0; k < 32; ++k) {
    text[k] = cget(W, b + k);
    if (text[k] != ' ') len = k + 1;
  }
  return true;
}

// Name of a model object for a message (kind: 1 set, 3 primitive member, 4 row name
// table, 5 generated variable, 6 generated row, 7 attribute j of set i); false when the
// index lies outside its table.
bool msgname(Work& W, MasterRecord& L, int32_t kind, int32_t i, int32_t j, char* text, int32_t& len) {
  switch (kind) {
    case 1: return tablename(W, L, L.KSNAME, L.NSETS, i, text, len);
    case 3: return tablename(W, L, L.KPNAME, L.NPRIMEL, i, text, len);
    case 4: return tablename(W, L, L.ROWNAM, L.NROWNM, i, text, len);
    case 5:
      if (i < 1 || (i > L.NVARS && i > L.VARCAP)) return false;
      if (!upcalls_().varname) return false;
      len = 200;
      upcalls_().varname(W, L, i, text, len);
      return true;
    case 6:
      if (i < 1 || (i > L.NROWS && i > L.ROWCAP)) return false;
      if (!upcalls_().rowname) return false;
      len = 200;
      upcalls_().rowname(W, L, i, text, len);
      return true;
    case 7: {
      int32_t s = 0;
      if (i < 1 || i > L.NSETS || !blkint(W, L, L.LASTUB, i, s)) return false;
      int64_t a = (int64_t)s + j - 1;
      return a >= 1 && a <= L.NATTRS && tablename(W, L, L.KANAME, L.NATTRS, (int32_t)a, text, len);
    }
  }
  return false;
}

// Appends the name of a model object, or its number when there is no such name.
void name_item(Ctx& x, Line& ln, int32_t kind, int32_t i, int32_t j) {
  char text[204];
  int32_t len = 0;
  if (msgname(x.W, x.L, kind, i, j, text, len) && len > 0) {
    ln.put(text, len < 200 ? len : 200);
    return;
  }
  char t[16];
  std::snprintf(t, sizeof t, "%d", kind == 7 ? j : i);
  ln.puts(t);
}

// Appends one brace item; p points after the '{'. Returns the position after the '}'.
const char* item(Ctx& x, Line& ln, const char* p) {
  MasterRecord& L = x.L;
  char name[16];
  p = itemname(p, name, sizeof name);
  int32_t w = 0;
  char arg = 0;
  if (*p == ':') {
    ++p;
    if (*p >= 'A' && *p <= 'Z') arg = *p++;
    while (*p >= '0' && *p <= '9') w = w * 10 + (*p++ - '0');
  }
  if (*p == '}') ++p;
  if (!name[1]) {  // one-letter fields
    switch (name[0]) {
      case 'A': case 'B': case 'C': case 'D': ln.integer(argof(L, name[0]), w ? w : 12); break;
      case 'M': ln.integer(L.MODLINES, w ? w : 12); break;
      case 'U': ln.integer(L.NUNIQ, w ? w : 12); break;
      case 'S': ln.field(L.ERRSTR, 200, w); break;
      case 'T': ln.field(L.ERRTXT, 132, w); break;
    }
    return p;
  }
  if (!std::strcmp(name, "set")) name_item(x, ln, 1, argof(L, arg), 0);
  else if (!std::strcmp(name, "mem")) name_item(x, ln, 3, argof(L, arg), 0);
  else if (!std::strcmp(name, "row")) name_item(x, ln, 4, argof(L, arg), 0);
  else if (!std::strcmp(name, "var")) name_item(x, ln, 5, argof(L, arg), 0);
  else if (!std::strcmp(name, "grow")) name_item(x, ln, 6, argof(L, arg), 0);
  else if (!std::strcmp(name, "attr")) name_item(x, ln, 7, L.ERRARG, L.ERRARG2);
  else if (!std::strcmp(name, "int")) {
    char t[16];
    std::snprintf(t, sizeof t, "%d", argof(L, arg));
    ln.puts(t);
  } else if (!std::strcmp(name, "abs")) {
    char t[12];
    int32_t len = 0;
    int2txt_(argof(L, arg), t, len);
    ln.put(t, len);
  } else if (!std::strcmp(name, "pmin")) ln.integer(x.pimin, w ? w : 12);
  else if (!std::strcmp(name, "pmax")) ln.integer(x.pimax, w ? w : 12);
  else if (!std::strcmp(name, "rmin")) real24(ln, x.prmin);
  else if (!std::strcmp(name, "rmax")) real24(ln, x.prmax);
  else if (!std::strcmp(name, "dbl")) real24(ln, L.ERRDBL);
  else if (!std::strcmp(name, "big")) real12d4(ln, L.BIGNUM);
  else if (!std::strcmp(name, "line57")) {
    int32_t k = L.LINLEN - 5;
    if (L.LINEND < k) k = L.LINEND;
    if (k > 200) k = 200;
    if (k > 0) ln.put(L.LINBUF, k);
  } else if (!std::strcmp(name, "word")) {
    int32_t lim = L.LINLEN < 200 ? L.LINLEN : 200, k = 0;
    while (k < lim && L.LINBUF[k] != ' ' && L.LINBUF[k]) ++k;
    ln.put(L.LINBUF, k);
  } else if (!std::strcmp(name, "lib")) {
    char text[1024];
    std::memset(text, 0, sizeof text);  // a failed look-up leaves nothing stale
    int32_t env = L.ENVHANDLE, code = L.ERRARG;
    if (upcalls_().libtext) upcalls_().libtext(env, code, text);
    text[sizeof text - 1] = 0;
    ln.puts(text);
  } else if (!std::strcmp(name, "m234")) {
    char t[128];
    ERRMESS234_(L.BIGCNT, L.BIGNUM, t);
    ln.puts(t);
  }
  return p;
}

// Prints the pairs of fixed rows and variables of message 66.
void pairs66(Ctx& x) {
  int32_t m = x.L.NUNIQ < 3 ? x.L.NUNIQ : 3;
  for (int32_t k = 1; k <= m; ++k) {
    int32_t row = 0, var = 0;
    if (!blkint(x.W, x.L, x.L.UNIQBLK, 2 * k - 1, row) || !blkint(x.W, x.L, x.L.UNIQBLK, 2 * k, var)) continue;
    Line ln;
    ln.puts("     ");
    name_item(x, ln, 6, row, 0);
    ln.puts(", ");
    name_item(x, ln, 5, var, 0);
    int32_t cut = x.L.MAXLIN - 5;
    if (cut >= 0 && ln.n > cut) ln.n = cut;
    lprint_(x.L, x.unit, ln.c, ln.n);
  }
}

// Prints a line of free text (the library's own words) wrapped at blanks to the line
// width; each further line starts with the first line's indent.
void wrapped(Ctx& x, const Line& ln) {
  int32_t ind = 0;
  while (ind < ln.n && ln.c[ind] == ' ') ++ind;
  int32_t width = x.L.LINLEN, p = 0;
  if (width - ind < 20) {  // too narrow to wrap sensibly: the line is cut as any other
    lprint_(x.L, x.unit, ln.c, ln.n);
    return;
  }
  Line out;
  while (p < ln.n) {
    out.n = 0;
    if (p > 0) out.put(ln.c, ind);
    int32_t room = width - out.n, end = p + room;
    if (end >= ln.n) {
      end = ln.n;
    } else {
      int32_t b = end;
      while (b > p && ln.c[b] != ' ') --b;
      if (b > p) end = b;
    }
    out.put(ln.c + p, end - p);
    lprint_(x.L, x.unit, out.c, out.n);
    p = end;
    while (p < ln.n && ln.c[p] == ' ') ++p;
  }
}

// Prints the lines of one table entry.
void body(Ctx& x, const char* text) {
  const char* p = text;
  while (*p) {
    const char* eol = std::strchr(p, '\n');
    if (!eol) eol = p + std::strlen(p);
    bool show = true;
    if (*p == '[') {
      char k[8];
      int32_t n = 0;
      ++p;
      while (p < eol && *p != ']') {
        if (n < 7) k[n++] = *p;
        ++p;
      }
      k[n] = 0;
      if (p < eol) ++p;
      show = holds(x, k);
    }
    if (show) {
      if (!std::strncmp(p, "#pos", 4)) {
        if (x.L.SHOWPOS > 0) pt2err_(x.L, x.unit, x.L.ERRARG);
      } else if (!std::strncmp(p, "#pairs", 6)) {
        pairs66(x);
      } else {
        Line ln;
        if (*p == '+') {
          ln.puts(" ");
          ++p;
        }
        const bool wrap = std::strncmp(p, "  {lib}", 7) == 0;
        while (p < eol) {
          if (*p == '{') {
            p = item(x, ln, p + 1);
          } else {
            const char* q = p;
            while (q < eol && *q != '{') ++q;
            ln.put(p, (int32_t)(q - p));
            p = q;
          }
        }
        if (wrap) wrapped(x, ln);
        else lprint_(x.L, x.unit, ln.c, ln.n);
      }
    }
    p = *eol ? eol + 1 : eol;
  }
}

}  // namespace

// Prints the header block of a message: blank line, " [Error Code:nnnnn]", blank line.
void ptekod_(MasterRecord& L, int32_t unit, int32_t n) {
  Line ln;
  ln.puts(" [Error Code:");
  ln.integer(n, 5);
  ln.puts("]");
  blankl_(L, unit, 1);
  lprint_(L, unit, ln.c, ln.n);
  blankl_(L, unit, 1);
}

// Prints the model line holding position p of the scanner buffer and a caret under p.
void pt2err_(MasterRecord& L, int32_t unit, int32_t p) {
  if (L.HIDDEN == 1 || L.SHOWPOS == 0) return;
  int32_t len = L.SCANLEN < SCANMAX ? L.SCANLEN : SCANMAX;
  if (len < 1) return;  // no model text to show
  if (p < 1) p = 1;
  if (p > len) p = len;
  auto at = [&](int32_t i) { return L.SCANBUF[i]; };  // 1-based
  // A line-number escape is NUL, two bytes, NUL; escline_ gives the number of the one
  // whose first NUL stands at a position.
  int32_t start = 1, lineno = L.SRCLINE;
  for (int32_t j = p - 1; j >= 4; --j)
    if (at(j) == 0 && at(j - 3) == 0) {
      lineno = upcalls_().escline ? upcalls_().escline(L, j - 3) : L.SRCLINE;
      if (lineno < 1) lineno += 65536;
      start = j + 1;
      break;
    }
  int32_t end = len;
  for (int32_t j = p + 1; j <= len; ++j)
    if (at(j) == 0) {
      end = j - 1;
      break;
    }
  int32_t w = L.LINLEN;
  if (end - start + 1 > w - 12) {
    if (p - w / 2 + 7 > start) start = p - w / 2 + 7;
    if (p + w / 2 - 7 < end) end = p + w / 2 - 7;
  }
  Line ln;
  ln.puts(" ");
  ln.integer(lineno, 6);
  ln.puts("] ");
  for (int32_t i = start; i <= end; ++i) {
    char c = at(i);
    ln.put(c ? &c : " ", 1);
  }
  lprint_(L, unit, ln.c, ln.n);
  Line caret;
  for (int32_t i = 0; i < p - start + 9 && caret.n < 300; ++i) caret.puts(" ");
  caret.puts("^");
  lprint_(L, unit, caret.c, caret.n);
  gotolf_(lineno);
}

// Prints message n on the terminal and, when output is diverted, once more in the file.
void errmsh_(Work& W, MasterRecord& L, int32_t n) {
  if (L.MSGOFF & 1) return;
  beeper_();
  if (n == 83) n = 70;
  const MsgDef* def = msgdef_(n);
  Ctx x{W, L, L.TRMOUT, false, 0, 0, 0, 0.0, 0.0};
  MsgEnd end = def ? def->end : E1;
  if (n == 11 && L.FILFMT == 2) end = E1;
  if (n == 129) {
    x.param_known = upcalls_().paramlimits &&
                    upcalls_().paramlimits(L, L.ERRARG, x.pkind, x.pimin, x.pimax, x.prmin, x.prmax);
    if (x.param_known && x.pkind == 0) end = E1;
  }
  for (int pass = 1;; ++pass) {
    L.LASTERR = n;
    ptekod_(L, x.unit, n);
    printb_();
    if (pass == 1) record_(1);
    if (def) {
      body(x, def->text);
      switch (end) {
        case E2: blankl_(L, x.unit, 2); break;
        case E1: blankl_(L, x.unit, 1); break;
        case POS:
          blankl_(L, x.unit, 1);
          if (L.SHOWPOS > 0) pt2err_(L, x.unit, L.ERRARG);
          blankl_(L, x.unit, 1);
          break;
      }
    }
    printb_();
    if (pass == 1) {
      ebox_();
      record_(0);
    }
    printb_();
    if (pass != 1 || L.OUTUNIT == x.unit) return;
    x.unit = L.OUTUNIT;
  }
}
