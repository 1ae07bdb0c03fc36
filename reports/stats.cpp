// Model statistics (STATS): size, nonlinear parts, nonzeros, density, row types, the
// coefficient range, a bound on the generalized upper bound rows and single columns.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "generate/blk.h"
#include "reports/reports.h"
#include "store/io.h"
#include "store/numedit.h"
#include "store/store.h"
#include "store/util.h"

namespace {

constexpr double SCALE = 1e6;  // coefficients spread wider than this are poorly scaled

// Appends a text to a report line.
struct Out {
  std::string s;
  Out& t(const char* x) { s += x; return *this; }
  Out& i(int64_t v, int32_t w) {
    char b[48];
    iedit_(v, w, b);
    s += b;
    return *this;
  }
  Out& f(double v, int32_t w, int32_t d) {
    char b[48];
    fedit_(v, w, d, b);
    s += b;
    return *this;
  }
  Out& g(double v, int32_t w, int32_t d) {
    char b[48];
    gedit_(v, w, d, b);
    s += b;
    return *this;
  }
  // Statistics lines are printed whole: cut at LINLEN they would lose their last figures.
  void print(MasterRecord& L) {
    const int32_t linlen = L.LINLEN;
    if ((int32_t)s.size() > L.LINLEN) L.LINLEN = (int32_t)s.size();
    lprint_(L, L.OUTUNIT, s);
    L.LINLEN = linlen;
    s.clear();
  }
};

// Block h read as 1-based elements of esize bytes, 0 beyond its end: bgeti0 / bgetd0 with
// the block's start and length taken once. Valid until the next allocation.
struct View {
  const int32_t* w = nullptr;
  int64_t off = 0, cap = 0;
  View(const Work& W, const MasterRecord& L, int32_t h, int32_t esize)
      : w(W.w.data()), cap(bcap(L, h, esize)) {
    if (cap > 0) off = (int64_t)L.START[h] - 1;
  }
  int32_t i(int64_t k) const { return k >= 1 && k <= cap ? w[off + k] : 0; }
  double d(int64_t k) const {
    if (k < 1 || k > cap) return 0.0;
    double v;
    std::memcpy(&v, w + off + 2 * (k - 1) + 1, sizeof v);
    return v;
  }
};

// Counts over the matrix copy and, with mode 1 or more, prints them. rowlist and weight
// are work blocks of at least R + 1 integers.
void stats_(Work& W, MasterRecord& L, int32_t mode, int32_t rowlist, int32_t weight) {
  // loaded rows, the objective included; the dummy row and column that the loader adds to
  // a model without constraints or variables are none of the model's
  const int32_t R = L.SLVROWS - L.SLDUMMY, V = L.SLVCOLS - L.SLDUMMY;
  double smallest = L.BIGNUM > 0 ? L.BIGNUM : 1e307, largest = 0.0;
  // nothing allocates until the report is printed
  const View colst(W, L, L.MATCOLST, 4), rows(W, L, L.MATROW, 4), coef(W, L, L.MATCOEF, 8);
  const View rflg(W, L, L.MATRFLG, 4), rtyp(W, L, L.MATRTYP, 4), rhs(W, L, L.MATRHS, 8);
  int32_t* const wt = &W.w[(size_t)L.START[weight] - 1];  // weights of rows 1..R
  int64_t nz = colst.i((int64_t)V + 1) - 1;
  if (nz < 0) nz = 0;
  int64_t nlrows = 0, nlvars = 0, nle = 0, neq = 0, nge = 0, single = 0, cnz = 0, pm1 = 0;
  bool objnl = false;
  auto take = [&](double a) {
    smallest = std::min(smallest, a);
    largest = std::max(largest, a);
  };
  for (int32_t r = 2; r <= R; ++r) {
    if (rflg.i(r - 1) > 0) ++nlrows;  // row flags are kept per constraint
    const int32_t t = rtyp.i(r);
    if (t > 0) ++nle;
    else if (t == 0) ++neq;
    else ++nge;
    const double b = rhs.d(r);
    if (b != 0.0) {
      ++nz;
      take(std::fabs(b));
    }
  }
  if (rhs.d(1) != 0.0) ++nz;
  const double density = (double)nz / ((double)R * ((double)V + 1.0));

  for (int32_t k = 1; k <= R; ++k) wt[k] = 0;
  int64_t conflicts = 0;
  for (int32_t j = 1; j <= V; ++j) {
    const int32_t a = colst.i(j), b = colst.i((int64_t)j + 1);
    if (b - a <= 1) ++single;
    int64_t m = 0;
    bool nl = false;
    for (int32_t k = a; k < b; ++k) {
      const int32_t row = rows.i(k);
      const double c = coef.d(k);
      if (std::abs(row) > R) {  // an entry of the dummy row
        --nz;
        continue;
      }
      if (row < 0) nl = true;
      if (row == -1) objnl = true;  // the objective's nonlinear entries
      if (c == 0.0) continue;
      take(std::fabs(c));
      if (std::abs(row) != 1) {
        ++m;
        if (std::fabs(c) == 1.0) ++pm1;
      }
    }
    if (nl) ++nlvars;
    cnz += m;
    if (m > 1) {
      const int32_t w = (int32_t)std::min<int64_t>(m - 1, 8);
      conflicts += w * (m - 1);
      for (int32_t k = a; k < b; ++k) {
        const int32_t row = std::abs(rows.i(k));
        if (coef.d(k) != 0.0 && row >= 1 && row <= R) wt[row] += w;
      }
    }
  }
  if (objnl) ++nlrows;
  if (mode < 1) return;

  // rows taken out, heaviest first, until the conflicts are covered
  int64_t taken = 0;
  if (R > 1) {
    int32_t n = R - 1;
    for (int32_t i = 1; i <= n; ++i) bputi(W, L, rowlist, i, i + 1);
    // a max-heap of rows 2..R on their weights, in the two work blocks (1-based views;
    // nothing below allocates)
    int32_t* idx = &W.w[(size_t)L.START[rowlist] - 1];
    const int32_t* key = &W.w[(size_t)L.START[weight] - 1];
    heapit_(n, 0, idx, key);
    while (conflicts > 0 && n > 0) {
      conflicts -= key[idx[1]];
      ++taken;
      heapfr_(n, 0, idx, key);
      --n;
    }
  }
  const int64_t gubs = R - taken - 1;
  const char* sense = L.OBJROW == 0 ? "N/A" : (rtyp.i(1) > 0 ? "MIN" : "MAX");

  Out o;
  if (nlrows == 0 && nlvars == 0) {
    blankl_(L, L.OUTUNIT, 1);
    o.t(" Rows=").i(R - (L.OBJROW == 0 ? 1 : 0), 8).t(" Vars=").i(V, 8).t(" No. integer vars=")
        .i(L.NINTVAR, 7).t("  ( all are linear)").print(L);
    o.t(" Nonzeros=").i(nz, 9).t(" Constraint nonz=").i(cnz, 9).t("(").i(pm1, 9).t(" are +- 1)")
        .t(" Density=").f(density, 6, 3).print(L);
    o.t(" Smallest and largest elements in abs value=").t(" ").g(smallest, 14, 6).t(" ")
        .g(largest, 14, 6).print(L);
    o.t(" No. < :").i(nle, 8).t(" No. =:").i(neq, 8).t(" No. > :").i(nge, 8).t(", Obj= ")
        .t(sense).t(", GUBs <=").i(gubs, 8).print(L);
    o.t(" Single cols=").i(single, 5).print(L);
  } else {
    o.t(" Rows=").i(R, 8).t(" Vars=").i(V, 8).t(" No. integer vars=").i(L.NINTVAR, 8).print(L);
    o.t(" Nonl rows=").i(nlrows, 8).t(" Nonl vars=").i(nlvars, 8).t(" Nonl constraints=")
        .i(nlrows - (objnl ? 1 : 0), 8).print(L);
    o.t(" Nonzeros=").i(nz, 9).t(" Constraint nonz=").i(cnz, 9).t(" Density=").f(density, 5, 3)
        .print(L);
    o.t(" No. < :").i(nle, 8).t(" No. =:").i(neq, 8).t(" No. > :").i(nge, 8).t(", Obj= ")
        .t(sense).t(" Single cols=").i(single, 5).print(L);
  }
  blankl_(L, L.OUTUNIT, 1);
  if (largest > 0.0 && (largest > smallest * SCALE || largest > SCALE)) errmsh_(W, L, 205);
}

}  // namespace

void statsdrvr_(Work& W, MasterRecord& L, int32_t mode, int32_t& status) {
  if (L.MATCOLST <= 0) {
    status = 1;
    return;
  }
  int32_t n = std::max(L.NROWS - L.NFIXED + 1, L.SLVROWS + 1), st = 0;
  int32_t rowlist = 0, weight = 0;
  setblk_(WORDTYPE, n, W, L, rowlist, st);
  if (st == 0) {
    n = std::max(L.NROWS - L.NFIXED + 1, L.SLVROWS + 1);
    setblk_(WORDTYPE, n, W, L, weight, st);
  }
  if (st != 0) {
    status = 2;
  } else {
    stats_(W, L, mode, rowlist, weight);
    status = 0;
  }
  if (weight > 0) rlsblk_(L, weight);
  if (rowlist > 0) rlsblk_(L, rowlist);
}

void dostats_(Work& W, MasterRecord& L) {
  if (L.SLVROWS == 0 && L.SLVCOLS == 0) {
    errmsh_(W, L, 104);
    return;
  }
  int32_t status = 0;
  statsdrvr_(W, L, 1, status);
  if (status == 2) errmsh_(W, L, 0);
}
