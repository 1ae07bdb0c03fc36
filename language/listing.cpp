// Listing of compiled code: statements, set conditions and @WRITE lists, one instruction a line.
#include <cstdio>
#include <cstring>
#include <string>
#include "language/lang.h"
#include "language/opcodes.h"

static std::string I(int64_t v, int w) {
  char b[32];
  std::snprintf(b, sizeof b, "%*lld", w, (long long)v);
  return b;
}

// Prints the instructions of words first..last of the code block blk.
void intran_(Work& W, MasterRecord& L, int32_t blk, int32_t first, int32_t last) {
  static const char RTYPE[] = "MNGTEQLTMXVT";
  int32_t dblwd = L.DBLWD > 0 ? L.DBLWD : 2;
  auto at = [&](int32_t k) { return k <= last ? iget(W, L, blk, k) : 0; };
  for (int32_t p = first; p <= last;) {
    int32_t op = iget(W, L, blk, p);
    if (!opvalid(op)) {
      L.ERRARG = op;
      errmsh_(W, L, 9999);
      return;
    }
    char mn[9];
    opmnem8(op, mn);
    std::string line = I(p, 10) + ")   " + mn;
    int32_t a1 = at(p + 1), a2 = at(p + 2);
    int32_t words = opwords(op, a1, a2, dblwd);
    if (words < 1) words = 1;
    switch (opinfo(op).shape) {
      case OPS_ROWTYPE:
        line += "   " + (a1 >= -2 && a1 <= 3 ? std::string(RTYPE + 2 * (a1 + 2), 2) : std::string("??"));
        break;
      case OPS_NUMBER: {
        double v = 0.0;
        if (p + dblwd <= last) std::memcpy(&v, &W.w[(size_t)(L.START[blk] + p)], sizeof v);
        char b[40];
        std::snprintf(b, sizeof b, "%20.10g", v);
        line += b;
        break;
      }
      case OPS_VAR:
        line += "   " + (a1 >= 1 && a1 <= L.NSCALAR ? namestr(W, L, L.SCLNAM, a1) : I(a1, 1));
        break;
      case OPS_ATTR: {
        int32_t s = a2, a = 0;
        if (s >= 1 && s <= L.NSETS) a = iget(W, L, L.LASTUB, s) + a1 - 1;
        line += "   " + (a >= 1 && a <= L.NATTRS ? namestr(W, L, L.KANAME, a) : I(a1, 1));
        break;
      }
      case OPS_INT:
        line += op == -15 ? I(a1, 6) : I(a1, 8);
        break;
      case OPS_SET:
        line += "   " + (a1 >= 1 && a1 <= L.NSETS ? namestr(W, L, L.KSNAME, a1) : I(a1, 1));
        break;
      case OPS_TEXT:
        line += I(a1, 10);
        break;
      case OPS_ROWNAME:
        line += "   " + (a1 >= 1 && a1 <= L.NROWNM ? namestr(W, L, L.ROWNAM, a1) : I(a1, 1));
        break;
      case OPS_ROWREF: {
        line += "   " + (a1 >= 1 && a1 <= L.NROWNM ? namestr(W, L, L.ROWNAM, a1) : I(a1, 1));
        outline(L, line);
        for (int32_t j = 1; j <= a2 && p + 2 + j <= last; ++j) {
          int32_t s = at(p + 2 + j);
          outline(L, std::string(20, ' ') + (s >= 1 && s <= L.NSETS ? namestr(W, L, L.KSNAME, s) : I(s, 1)));
        }
        p += words;
        continue;
      }
      default:
        break;
    }
    outline(L, line);
    p += words;
  }
}

static void header(MasterRecord& L, const char* title, int32_t i) {
  outline(L, "");
  outline(L, std::string(title) + I(i, 7));
  outline(L, std::string(18, '-'));
}

// Prints the compiled statements, the set conditions and the @WRITE lists.
void shoins_(Work& W, MasterRecord& L) {
  for (int32_t i = 1; i <= L.STMTCNT; ++i) {
    header(L, "EXPRESSION:", i);
    intran_(W, L, L.CODEBLK, iget(W, L, L.STMTIX, i), iget(W, L, L.STMTIX, i + 1) - 1);
  }
  outline(L, "");
  if (L.NSETS > 0 && L.SETCST > 0 && iget(W, L, L.SETCST, L.NSETS + 1) > 1) {
    for (int32_t s = 1; s <= L.NSETS; ++s) {
      int32_t a = iget(W, L, L.SETCST, s), b = iget(W, L, L.SETCST, s + 1);
      if (a >= b) continue;
      header(L, "SET CONDITION ON SET:", s);
      intran_(W, L, L.CNDBLK, a, b - 1);
    }
  }
  if (L.OUTCODE > 0 && L.OUTCODST > 0) {
    for (int32_t i = 1; i <= L.OUTCODN; ++i) {
      int32_t a = iget(W, L, L.OUTCODST, i), b = iget(W, L, L.OUTCODST, i + 1);
      if (a >= b) continue;
      header(L, "@WRITE() INS LIST:", i);
      intran_(W, L, L.OUTCODE, a, b - 1);
    }
  }
}
