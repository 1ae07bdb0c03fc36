// The range report: how far each cost and right-hand side may move before the optimal
// basis changes, and the accessors that give the same numbers to the language.
#include <algorithm>
#include <cstring>

#include "generate/blk.h"
#include "generate/eval.h"
#include "language/lang.h"
#include "reports/reports.h"
#include "reports/repvars.h"
#include "store/io.h"
#include "store/numedit.h"
#include "store/upcalls.h"

namespace {

constexpr double RNGINF = 1e30;  // the solver library's infinity
constexpr int32_t LF = 17;        // width of a number field
constexpr int32_t LINECAP = 512;
constexpr const char* VHEAD[3] = {
    "                      Objective Coefficient Ranges         ",
    "                  Current        Allowable        Allowable",
    "Variable      Coefficient         Increase         Decrease"};
constexpr const char* RHEAD[3] = {
    "                           Righthand Side Ranges           ",
    "     Row          Current        Allowable        Allowable",
    "                      RHS         Increase         Decrease"};

// One number field, right-justified: "NONLINEAR", "INFINITY", "0.0" or the value in G17.7.
void field(char* out, double x, bool nonlinear, bool current) {
  char t[LF + 1];
  const char* s = nullptr;
  if (nonlinear) s = "NONLINEAR";
  else if (!current && x >= RNGINF) s = "INFINITY";
  else if (x == 0.0) s = "0.0";
  if (s) {
    const int32_t n = (int32_t)std::strlen(s);
    std::memset(t, ' ', LF);
    std::memcpy(t + LF - n, s, (size_t)n);
  } else {
    gedit_(x, LF, 7, t);  // fixed form keeps four trailing blanks: the field ends in its digits
    rtjust_(t, LF);
  }
  std::memcpy(out, t, LF);
}

void headings(MasterRecord& L, const char* const* head) {
  int32_t indent = L.LINLEN - 60;
  if (indent < 2) indent = 1;
  indent = std::min(indent, LINECAP - 64);
  char buf[LINECAP];
  for (int32_t i = 0; i < 3; ++i) {
    std::memset(buf, ' ', sizeof buf);
    std::memcpy(buf + indent, head[i], 59);
    lprint_(L, L.OUTUNIT, buf, indent + 59);
  }
}

}  // namespace

// One report line: the name right-justified in w characters and the three fields; a
// positive index is a variable, a negative one a row.
void prline_(Work& W, MasterRecord& L, int32_t w, int32_t index, double current, double inc,
             double dec, int32_t nonlinear) {
  w = std::clamp(w, 0, LINECAP - 64);
  char buf[LINECAP];
  std::memset(buf, ' ', sizeof buf);
  int32_t len = w;
  if (index > 0) vdx2nh_(W, L, index, buf + 1, len);
  else rdx2nh_(W, L, -index, buf + 1, len);
  std::memset(buf + 1 + len, ' ', (size_t)(w - len));
  rtjust_(buf + 1, w);
  field(buf + 1 + w, current, qtest(nonlinear), true);
  field(buf + 1 + w + LF, inc, false, false);
  field(buf + 1 + w + 2 * LF, dec, false, false);
  lprint_(L, L.OUTUNIT, buf, 1 + w + 3 * LF);
}

void range_(Work& W, MasterRecord& L) {
  if (L.RNGV1 <= 0 || L.RNGV2 <= 0 || L.RNGR1 <= 0 || L.RNGR2 <= 0) {
    errmsh_(W, L, 237);
    return;
  }
  blankl_(L, L.OUTUNIT, 1);
  lprint_(L, L.OUTUNIT, " Ranges in which the basis is unchanged:");
  const int32_t w = L.LINLEN - 53;
  blankl_(L, L.OUTUNIT, 1);
  headings(L, VHEAD);

  // variables in the order of the solution report
  auto varline = [&](int32_t v) {
    const int32_t c = loadedcolumn_(W, L, v);
    if (c == 0) return;
    prline_(W, L, w, v, bgetd0(W, L, L.MATOBJ, c), chopped(L, bgetd0(W, L, L.RNGV1, c), true),
            chopped(L, bgetd0(W, L, L.RNGV2, c), true), bgeti0(W, L, L.MATVFLG, c));
  };
  if (!eachrepvar(W, L, varline)) return;

  // rows: loaded positions 2.. (position 1, the objective, is not listed)
  if (L.NROWS > 0) {
    blankl_(L, L.OUTUNIT, 1);
    headings(L, RHEAD);
    const int32_t last = L.NROWS - L.NFIXED - (L.OBJROW > 0 ? 1 : 0) + 1;
    for (int32_t p = 2; p <= last; ++p) {
      const int32_t row = bgeti0(W, L, L.ROWORD, p + L.NFIXED - (L.OBJROW > 0 ? 0 : 1));
      if (row < 1) continue;
      prline_(W, L, w, -row, bgetd0(W, L, L.MATRHS, p), chopped(L, bgetd0(W, L, L.RNGR1, p), true),
              chopped(L, bgetd0(W, L, L.RNGR2, p), true), bgeti0(W, L, L.MATRFLG, p - 1));
    }
  }
  blankl_(L, L.OUTUNIT, 1);
}

QUIRN_UPCALL(range, range_);  // RANGE
