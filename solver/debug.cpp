// DEBUG: the irreducible infeasible set of an infeasible linear model, or the irreducible
// unbounded set of an unbounded one, printed as sufficient and necessary members.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "language/lang.h"
#include "session/session.h"
#include "solver/reporthooks.h"
#include "solver/solver.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/upcalls.h"

namespace {
// Reports a library failure of the named routine by message 191.
void dbgfail(Work& W, MasterRecord& L, const char* name, int32_t code) {
  std::snprintf(L.ERRSTR, sizeof L.ERRSTR, "%s", name);
  L.ERRARG = code;
  errmsh_(W, L, 191);
}

// One listed line: a leading blank, then the text.
void dbgline(MasterRecord& L, const std::string& text) { lprint_(L, L.OUTUNIT, " " + text); }

// A printable name from a naming service's buffer, trailing blanks dropped.
std::string trimmed(const char* buf, int32_t len) {
  std::string s(buf, (size_t)std::max(len, 0));
  while (!s.empty() && (s.back() == ' ' || s.back() == 0)) s.pop_back();
  return s;
}

// A bound's magnitude as text: the short number form below 1e8, else a 16-character
// exponent form.
std::string boundtext(double v) {
  double a = std::fabs(v);
  char buf[64];
  if (a < 1e8) {
    char f[32];
    int32_t len = 0;
    std::memset(f, ' ', sizeof f);
    nm2txt_(a, f, len);
    return std::string(f + 15 - len, (size_t)len);
  }
  std::snprintf(buf, sizeof buf, "%16.9E", a);
  std::string s(buf);
  return s.substr(s.find_first_not_of(' '));
}
}  // namespace

// The DEBUG command; result that of removing the callback at the end (0 when the command
// ended before the search).
int32_t dodebug_(Work& W, MasterRecord& L) {
  if (L.MODLINES == 0) {
    errmsh_(W, L, 5);
    return 0;
  }
  if (!qtest(generatequiet_(W, L)) || L.MODELHANDLE <= 0) {
    errmsh_(W, L, 88);
    return 0;
  }
  if (L.SLVROWS <= 0 && L.SLVCOLS <= 0) {
    errmsh_(W, L, 123);
    return 0;
  }
  if (L.NINTVAR > 0 || L.SLVINT > 0) {
    errmsh_(W, L, 197);
    return 0;
  }
  int32_t failed = 0;
  int32_t linear = isitlinear_(L, failed);
  if (failed) {
    dbgfail(W, L, "BRgetModelMIPSolutionStatus", L.ERRARG);
    return 0;
  }
  if (!qtest(linear)) {
    errmsh_(W, L, 123);
    return 0;
  }
  int32_t M = L.MODELHANDLE, r = setmodelstatus_(L);
  if (r != 0) {
    dbgfail(W, L, "BRgetInfoI", r);
    return 0;
  }
  if (L.MODSTAT == 1 || L.MODSTAT == 2 || L.MODSTAT == 5) {
    errmsh_(W, L, 123);
    return 0;
  }
  int32_t sol = 0;
  if ((r = FBRGETSOLUTIONSTATUS_(M, sol)) != 0) {
    dbgfail(W, L, "BRgetSolutionStatus", r);
    return 0;
  }
  // A status without solution vectors, or a model regenerated and not yet solved: solve
  // once quietly so that the diagnosis starts from what the model truly is.
  if (((L.MODSTAT == 3 || L.MODSTAT == 4) && sol == 13) || L.MODSTAT == 12) {
    L.QUIETLV += 1;
    solvequiet_(W, L);
    L.QUIETLV -= 1;
    M = L.MODELHANDLE;
    if ((r = setmodelstatus_(L)) != 0) {
      dbgfail(W, L, "BRgetInfoI", r);
      return 0;
    }
  }
  if (L.MODSTAT != 3 && L.MODSTAT != 4) {
    errmsh_(W, L, 123);
    return 0;
  }
  const bool infeasible = L.MODSTAT == 3;

  int32_t nv = 0, nc = 0, d[6];
  if ((r = FBRGETDIMENSIONS_(M, nv, nc, d[0], d[1], d[2], d[3], d[4], d[5])) != 0) {
    dbgfail(W, L, "BRgetDimensions", r);
    return 0;
  }
  std::vector<int32_t> rows((size_t)std::max(nc, 1)), vars((size_t)std::max(nv, 1)),
      bndtype((size_t)std::max(nv, 1));
  FBRSETCALLBACK_(M, quircallbacksolve_, &L);
  L.CBINTR = 0;
  L.CBCLASS = 0;
  brbupdt_(" Debugging ...");
  L.SLVUSE = 5;
  int32_t nsufrows = 0, nrows = 0, nsufb = 0, nb = 0, level = L.DBGLVL;
  bool ok = true;
  if (infeasible) {
    r = FBRFINDIIS_(M, nsufrows, nrows, rows.data(), nsufb, nb, vars.data(), bndtype.data(), level);
    if (r != 0) dbgfail(W, L, "BRfindIIS", r);
  } else {
    r = FBRFINDIUS_(M, nsufb, nb, vars.data(), level);
    if (r != 0) dbgfail(W, L, "BRfindIUS", r);
  }
  ok = r == 0;
  updatefinalsolutionstatus_(L);
  if (ok && L.CBINTR != 0) errmsh_(W, L, 233);
  if (!ok) nrows = nb = 0;
  nrows = std::clamp(nrows, 0, nc);
  nb = std::clamp(nb, 0, nv);

  bool printed = false;
  char buf[256];
  // rows of the set
  if (nsufrows > 0 && nrows > 0) {
    blankl_(L, L.OUTUNIT, 1);
    dbgline(L, "Sufficient Rows:");
  }
  for (int32_t k = 0; k < nrows; ++k) {
    if (k == nsufrows) {
      blankl_(L, L.OUTUNIT, 1);
      dbgline(L, "Necessary Rows:");
    }
    const int32_t lr = rows[(size_t)k];
    if (L.TERSEO != 0) {
      int32_t len = 200;
      std::memset(buf, ' ', sizeof buf);
      rdx2nh_(W, L, apirndx2qrnndx_(W, L, lr), buf, len);
      dbgline(L, "  " + trimmed(buf, len));
    } else {
      int32_t st = 0;
      if (auto f = reporthooks_().genrow) f(W, L, lr + 2, st);
    }
    printed = true;
  }
  // variables of the set
  if (nb > 0) {
    blankl_(L, L.OUTUNIT, 1);
    std::vector<double> lb, ub;
    if (infeasible) {
      lb.resize((size_t)std::max(nv, 1));
      ub.resize((size_t)std::max(nv, 1));
      if ((r = FBRGETLPBOUNDS_(M, lb.data(), ub.data())) != 0) {
        dbgfail(W, L, "BRgetLPBounds", r);
        nb = 0;
      }
    }
    const char* suf = infeasible ? "Sufficient Variable Bounds:" : "Sufficient Variables:";
    const char* nec = infeasible ? "Necessary Variable Bounds:" : "Necessary Variables:";
    if (nsufb > 0 && nb > 0) dbgline(L, suf);
    for (int32_t k = 0; k < nb; ++k) {
      if (k == nsufb) {
        blankl_(L, L.OUTUNIT, 1);
        dbgline(L, nec);
      }
      const int32_t lv = vars[(size_t)k];
      int32_t len = 200;
      std::memset(buf, ' ', sizeof buf);
      vdx2nh_(W, L, apivndx2qrnndx_(W, L, lv), buf, len);
      std::string line = "  " + trimmed(buf, len);
      if (infeasible && lv >= 0 && lv < nv) {
        const bool lower = bndtype[(size_t)k] == -1;
        const double b = lower ? lb[(size_t)lv] : ub[(size_t)lv];
        line += lower ? " >= " : " <= ";
        line += b < 0.0 ? '-' : ' ';
        line += boundtext(b);
      }
      dbgline(L, line);
    }
    printed = true;
  }
  if (printed) blankl_(L, L.OUTUNIT, 1);
  stsmem_();
  L.SLVUSE = 0;
  return FBRSETCALLBACK_(M, nullptr, nullptr);
}

QUIRN_UPCALL(debug, dodebug_);  // DEBUG
