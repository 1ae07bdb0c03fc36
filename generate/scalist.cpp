// The listing of the scalar model lists: the raw words of each row, the variables with
// their types and bounds, the constant pool, and each row's instructions by name.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "generate/scalar.h"
#include "language/lang.h"
#include "store/io.h"

namespace {

// Names of the codes 1000 .. 1077, 16 characters each.
const char* const kNames[SC_NAMES + 1] = {
    "NOOP", "PLUS", "MINUS", "MULTIPLY", "DIVIDE", "POWER", "EQUAL", "NOTEQUAL", "LTOREQ",
    "GTOREQ", "LTHAN", "GTHAN", "AND", "OR", "NOT", "PERCENT", "POSATE", "NEGATE", "ABS",
    "SQRT", "LOG", "LN", "PI", "SIN", "COS", "TAN", "ATAN2", "ATAN", "ASIN", "ACOS", "EXP",
    "MOD", "E", "TRUE", "IF", "PSN", "PSL", "LGM", "SIGN", "FLOOR", "FPA", "FPL", "PEL", "PEB",
    "PPS", "PPL", "PTD", "PCX", "WRAP", "PBN", "PFS", "PFD", "PHG", "RAND", "USER", "SUM",
    "AVG", "MIN", "MAX", "NPV", "EXTAND", "EXTOR", "PUSHNUM", "PUSHVAR", "NORMSDIS", "NORMINV",
    "TRIAINV", "EXPOINV", "UNIFINV", "MULTINV", "USER", "SUMPROD", "SUMIF", "VLOOK", "PUSHNUM",
    "PUSHVAR", "MULTMULT", "SQR"};

void out(MasterRecord& L, const std::string& s) { lprint_(L, L.TRMOUT, s); }

std::string fmt(const char* f, ...) __attribute__((format(printf, 1, 2)));
std::string fmt(const char* f, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, f);
  std::vsnprintf(buf, sizeof buf, f, ap);
  va_end(ap);
  return buf;
}

// Writes text into the line from 1-based column col.
void at(char* line, int32_t col, const char* text, int32_t n) {
  for (int32_t k = 0; k < n && col - 1 + k < 200; ++k) line[col - 1 + k] = text[k];
}

std::string rule() { return " " + std::string(59, '-') + std::string(15, '-'); }

// The words first+1 .. first+n of the instruction list, one per line.
void words(MasterRecord& L, const Work& W, int32_t first, int32_t n) {
  for (int32_t i = first + 1; i <= first + n; ++i) out(L, fmt("   %d)   %d", i, sligeti_(W, L, L.SLINS, i)));
}

}  // namespace

const char* scname_(int32_t c) {
  return c >= SC_BASE && c <= SC_SQR ? kNames[c - SC_BASE] : "?";
}

void dumpscalarlists_(Work& W, MasterRecord& L) {
  out(L, "");
  out(L, " OBJECTIVE ROW:");
  words(L, W, L.SLOBJST, L.SLOBJLN);
  out(L, "");
  for (int32_t k = 1; k <= L.SLNCON; ++k) {
    out(L, fmt(" CONSTRAINT: %d", k));
    words(L, W, sligeti_(W, L, L.SLRST, k), sligeti_(W, L, L.SLRLN, k));
    out(L, "");
  }
}

void translatescalarlist_(Work& W, MasterRecord& L, int32_t start, int32_t length) {
  const int32_t end = start + length;
  for (int32_t i = start + 1; i <= end; ++i) {
    char line[201];
    std::memset(line, ' ', 200);
    line[200] = '\0';
    const int32_t w = sligeti_(W, L, L.SLINS, i);
    auto next = [&]() { return i < end ? sligeti_(W, L, L.SLINS, ++i) : 0; };
    std::string head;
    if (w == 0) {
      head = std::string("   ") + kNames[0];
    } else if (w == SC_BRACKET) {
      const int32_t s = next();
      if (s == 0) {
        next();
        head = "    NOP (" + std::to_string(next());
      } else if (s == 1) {
        head = "   NOP )";
      } else if (s == 2) {
        head = "   NOP ,";
      } else {
        head = "UNKNOWN USER CODE: " + std::to_string(s);
      }
    } else if (w >= SC_BASE && w <= SC_SQR) {
      head = std::string("   ") + kNames[w - SC_BASE];
    } else {
      head = "   UNKNOWN CODE: " + std::to_string(w);
    }
    at(line, 1, head.data(), (int32_t)head.size());
    if (w == SC_PUSHNUM) {
      const int32_t j = next();
      if (j >= 0 && j < L.SLCONN) {
        const double v = slgetd_(W, L, L.SLCON, (int64_t)j + 1);
        char t[16];
        std::memset(t, ' ', sizeof t);
        int32_t n = 0;
        nm2txt_(v, t, n);
        at(line, 20, t, 15);
        if (v < 0.0 && n < 15) line[19 + 15 - n - 1] = '-';
      }
    } else if (w == SC_PUSHVAR) {
      const int32_t j = next();
      if (j >= 0 && j < L.NEXPVAR) {
        char name[201];
        int32_t n = 173;
        vdx2nh_(W, L, varatpos_(W, L, L.NFIXED + j + 1), name, n);
        at(line, 27, name, n < 173 ? n : 173);
      }
    } else if (w == SC_MIN || w == SC_MAX) {
      char t[12];
      int32_t n = 0;
      int2txt_(next(), t, n);
      at(line, 27, t, n);
    } else if (w == SC_USER) {
      next();
    }
    int32_t n = 200;
    while (n > 0 && line[n - 1] == ' ') --n;
    lprint_(L, L.TRMOUT, line, n);
  }
}

void dispscalarinslists_(Work& W, MasterRecord& L) {
  const int32_t keep = L.LINLEN;
  L.LINLEN = 100;
  dumpscalarlists_(W, L);
  out(L, "");
  out(L, " VARIABLES IN SCALAR MODEL:");
  out(L, "  VARIABLE    NAME" + std::string(12, ' ') + "TYPE         LOWER                  UPPER");
  out(L, rule());
  for (int32_t f = 1; f <= L.NEXPVAR; ++f) {
    char name[201];
    int32_t n = 16;
    vdx2nh_(W, L, varatpos_(W, L, L.NFIXED + f), name, n);
    out(L, fmt("%10d  %-16.16s  %c   %-22.15g %-22.15g", f - 1, std::string(name, n < 16 ? n : 16).c_str(),
               slgetc_(W, L, L.SLVTY, f), slgetd_(W, L, L.SLVLB, f), slgetd_(W, L, L.SLVUB, f)));
  }
  out(L, "");
  out(L, " CONSTANTS IN SCALAR MODEL:");
  out(L, "  INDEX    VALUE");
  out(L, rule());
  for (int32_t i = 1; i <= L.SLCONN; ++i) out(L, fmt("%7d    %.15g", i - 1, slgetd_(W, L, L.SLCON, i)));
  int32_t k = 0;
  for (int32_t p = L.NFIXED + 1; p <= L.NROWS + L.SLDUMMY; ++p) {
    out(L, "");
    const int32_t r = p <= L.NROWS ? rowatpos_(W, L, p) : 0;
    int32_t st, len;
    char type;
    if (r != 0 && r == L.OBJROW) {
      out(L, " *** OBJECTIVE FUNCTION SCALAR LIST ***");
      st = L.SLOBJST;
      len = L.SLOBJLN;
      type = L.SLSENSE == 1 ? 'L' : L.SLSENSE == -1 ? 'G' : ' ';
    } else {
      ++k;
      if (k > L.SLNCON) break;
      out(L, fmt(" CONSTRAINT SCALAR INS LIST   : %d", k));
      st = sligeti_(W, L, L.SLRST, k);
      len = sligeti_(W, L, L.SLRLN, k);
      type = slgetc_(W, L, L.SLRTY, k);
    }
    if (r != 0) {
      char name[201];
      int32_t n = 199;
      rdx2nh_(W, L, r, name, n);
      out(L, fmt(" QUIRN INTERNAL ROW: %d", r));
      out(L, " QUIRN ROW NAME    : " + std::string(name, n > 0 ? (n < 199 ? n : 199) : 0));
    } else {
      out(L, "  QUIRN INTERNAL ROW: <Dummy Constraint>");
    }
    out(L, std::string(" ROW TYPE          : ") + type);
    out(L, rule());
    translatescalarlist_(W, L, st, len);
  }
  // a model without an objective row lists its objective words last
  if (L.OBJROW <= 0) {
    out(L, "");
    out(L, " *** OBJECTIVE FUNCTION SCALAR LIST ***");
    out(L, " ROW TYPE          : L");
    out(L, rule());
    translatescalarlist_(W, L, L.SLOBJST, L.SLOBJLN);
  }
  L.LINLEN = keep;
}
