// The solution report: variable values with reduced costs and row slacks with dual prices.
#include <algorithm>
#include <cstring>

#include "generate/blk.h"
#include "generate/eval.h"
#include "language/lang.h"
#include "reports/exchange.h"
#include "reports/genshow.h"
#include "reports/reports.h"
#include "reports/repvars.h"
#include "solver/reporthooks.h"
#include "session/modeltext.h"
#include "store/io.h"
#include "store/numedit.h"
#include "store/upcalls.h"

namespace {

constexpr int32_t LINECAP = 512;  // report line buffer: LINLEN is at most 200
constexpr char KVHEAD[] = "Variable           Value        ";
constexpr char KRC[] = "Reduced Cost";
constexpr char KRHEAD[] = "Row    Slack or Surplus      ";
constexpr char KDP[] = "Dual Price  ";

// Width of the name field: the line less the number columns, never below 0.
int32_t namewidth(const MasterRecord& L, bool duals) {
  int32_t w = L.LINLEN - (duals ? 46 : 26);
  return std::clamp(w, 0, LINECAP - 64);
}

bool dualsshown(const MasterRecord& L, int32_t dual) { return dual > 0 && L.OBJROW > 0; }

// Prints a line built in buf: "E+00" blanked within LINLEN, trailing blanks dropped.
void putline(MasterRecord& L, char* buf, int32_t n) {
  stripe00_(buf, std::min(L.LINLEN, n));
  lprint_(L, L.OUTUNIT, buf, n);
}

// A column heading: one blank line, then the heading words over their columns.
void heading(MasterRecord& L, int32_t w, int32_t indent, const char* head, bool duals,
             const char* dualhead) {
  char buf[LINECAP];
  std::memset(buf, ' ', sizeof buf);
  int32_t n = 1 + std::max(w - indent, 0);
  const int32_t hl = (int32_t)std::strlen(head);
  std::memcpy(buf + n, head, (size_t)hl);
  n += hl;
  if (duals) std::memcpy(buf + n, dualhead, 12);
  n += 12;
  blankl_(L, L.OUTUNIT, 1);
  lprint_(L, L.OUTUNIT, buf, n);
}

// One report line: a blank, the name field (when names), the value and the dual column.
void valueline(MasterRecord& L, const char* name, int32_t w, bool names, double value,
               bool duals, double dual) {
  char buf[LINECAP];
  buf[0] = ' ';
  int32_t n = 1;
  if (names) {
    std::memcpy(buf + n, name, (size_t)w);
    n += w;
  }
  gedit_(value, 20, 7, buf + n);
  n += 20;
  if (names && duals) {
    gedit_(dual, 20, 7, buf + n);
    n += 20;
  }
  putline(L, buf, n);
}

}  // namespace

void rtjust_(char* text, int32_t n) {
  if (n < 1) return;
  int32_t last = n - 1;
  while (last >= 0 && text[last] == ' ') --last;
  if (last < 0 || last == n - 1) return;
  const int32_t shift = n - 1 - last;
  std::memmove(text + shift, text, (size_t)(last + 1));
  std::memset(text, ' ', (size_t)shift);
}

int32_t cmpnam_(const char* key, const char* name, int32_t keylen, int32_t namelen) {
  if (keylen <= 0) return QTRUE;
  if (namelen <= 0) return QFALSE;
  auto up = [](char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 32) : c; };
  int32_t j = 0;
  for (int32_t i = 0; i < keylen; ++i) {
    if (key[i] == ' ') continue;
    while (j < namelen && name[j] == ' ') ++j;
    if (j >= namelen || up(name[j]) != up(key[i])) return QFALSE;
    ++j;
  }
  while (j < namelen && name[j] == ' ') ++j;
  return (j >= namelen || name[j] == '(') ? QTRUE : QFALSE;
}

void pvline_(Work& W, MasterRecord& L, int32_t v, int32_t dual, const char* key,
             int32_t keylen, int32_t& head, int32_t names) {
  const bool duals = dualsshown(L, dual);
  const int32_t w = namewidth(L, duals);
  char name[LINECAP];
  std::memset(name, ' ', (size_t)w);
  int32_t len = w;
  vdx2nh_(W, L, v, name, len);
  if (!qtest(cmpnam_(key, name, keylen, len))) return;
  double value = 0.0, rc = 0.0;
  getxval_(W, L, v, value, rc, 1);
  if (!qtest(head)) {
    heading(L, w, 8, KVHEAD, duals, KRC);
    head = QTRUE;
  }
  rtjust_(name, w);
  valueline(L, name, w, qtest(names), value, duals, rc);
}

void outsol_(Work& W, MasterRecord& L, int32_t all, const char* text, int32_t textlen,
             const char* key, int32_t keylen) {
  if (L.MODSTAT == 12 && L.NVARS == 0) return;
  // dual flag: duals only when asked for and left by the last solve
  int32_t dual = L.DUALCO;
  if (L.DUALCO > 0 && !qtest(L.DUALOK)) {
    dual = 0;
    if (L.NINTVAR == 0) errmsh_(W, L, 196);
  }
  const bool duals = dualsshown(L, dual);
  if (!qtest(tstopt_(W, L))) errmsh_(W, L, 92);
  else if (L.OBJROW > 0 && L.UNIQBLK > 0 && L.NUNIQ > 0) errmsh_(W, L, 66);  // only a list with pairs

  const bool bare = textlen > 0;
  const int32_t names = bare ? QFALSE : QTRUE;
  if (bare) {
    char buf[LINECAP];
    std::memset(buf, ' ', sizeof buf);
    const int32_t n = std::min(textlen, LINECAP - 1);
    std::memcpy(buf + 1, text, (size_t)n);
    lprint_(L, L.OUTUNIT, buf, n + 1);
  } else if (L.TITLEN > 0 && L.TITLBLK > 0) {
    blankl_(L, L.OUTUNIT, 1);
    printt_(W, L, L.OUTUNIT, 1);
  }

  // variables: the scalars, then per set, per attribute, per member
  int32_t head = bare ? QTRUE : QFALSE;
  if (L.VARVAL > 0) {
    auto line = [&](int32_t v) {
      double value = 0.0, rc = 0.0;
      getxval_(W, L, v, value, rc, 1);
      if (all != 1 && value == 0.0) return;
      pvline_(W, L, v, dual, key, keylen, head, names);
    };
    if (!eachrepvar(W, L, line)) return;
  }

  // rows
  if (L.NROWS > 0) {
    const int32_t w = namewidth(L, duals);
    bool first = true;
    char name[LINECAP];
    for (int32_t r = 1; r <= L.NROWS; ++r) {
      double slack = 0.0, price = 0.0;
      getrval_(W, L, r, slack, price, 1);
      if (L.DUALCO < 1) price = 0.0;
      if (all == 0 && slack != 0.0) continue;
      std::memset(name, ' ', (size_t)w);
      int32_t len = w;
      rdx2nh_(W, L, r, name, len);
      if (!qtest(cmpnam_(key, name, keylen, len))) continue;
      if (first && !bare) heading(L, w, 3, KRHEAD, duals, KDP);
      first = false;
      rtjust_(name, w);
      valueline(L, name, w, !bare, slack, duals, price);
    }
  }
  blankl_(L, L.OUTUNIT, 1);
}

// Enters the reports that the solve driver prints, once at start. This file is always linked
// (the session's SOLU calls outsol_), so the entries are always there.
static const bool reports_entered = [] {
  ReportHooks& h = reporthooks_();
  h.solution = outsol_;
  h.outputops = runoutops_;
  h.genmodel = displaygeneratedmodel_;
  h.genrow = displaygeneratedrow_;
  h.stats = dostats_;
  h.picture = dopic_;
  h.modelfile = dosmp_;
  return true;
}();

QUIRN_UPCALL(solution, outsol_);  // SOLU and NONZ
