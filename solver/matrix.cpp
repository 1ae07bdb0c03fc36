// The program's column-wise copy of the matrix loaded in the solver library, its
// coefficient arrays, and the difference quotient of a row by one variable.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "solver/solver.h"
#include "store/hooks.h"
#include "store/store.h"

// Grows the coefficient and entry-row blocks and two scratch blocks to at least length
// (never below 1024) entries.
void setblda_(Work& W, MasterRecord& L, int32_t length, int32_t& scr1, int32_t& scr2,
              int32_t& status) {
  int32_t n = std::max(length, 1024), st = 0;
  status = 0;
  int32_t a = n, b = n, c = n, d = n;
  setblk_(6, a, W, L, L.MATCOEF, st);
  if (st) { status = st; return; }
  setblk_(6, b, W, L, scr1, st);
  if (st) { status = st; return; }
  setblk_(2, c, W, L, L.MATROW, st);
  if (st) { status = st; return; }
  setblk_(2, d, W, L, scr2, st);
  if (st) status = st;
}

namespace {
constexpr double LIBINF = 1e30;  // the library's infinity

// A block of n elements of the type, zeroed; false when it cannot be had.
bool block(Work& W, MasterRecord& L, int32_t type, int32_t n, int32_t& h) {
  int32_t cnt = std::max(n, 1), st = 0;
  setblk_(type, cnt, W, L, h, st);
  if (st) return false;
  int32_t words = type == 6 ? 2 * cnt : type == 2 ? cnt : (cnt + 3) / 4;
  int32_t s = L.START[h];
  for (int32_t k = 0; k < words; ++k) wput(W, s + k, 0);
  return true;
}

// Deals the linear rows' nonzero entries into the matrix copy's columns, each column its
// objective entry first, then its rows in order; reads the rows twice (count, then place)
// so that no full copy of the library's entries is held. Result 0 done, 1 out of storage,
// 2 library error (ERRARG the code), 3 a row names a variable twice.
int32_t linearcolumns(Work& W, MasterRecord& L, int32_t nv, int32_t nc, int32_t& scr1, int32_t& scr2,
                      int32_t& status) {
  int32_t M = L.MODELHANDLE;
  std::vector<int32_t> next((size_t)nv + 1, 0), last((size_t)std::max(nv, 1), -1), col;
  std::vector<double> val;
  // Calls f(j, v) for each nonzero entry of row i within the columns; false on a library error.
  auto entries = [&](int32_t i, auto&& f) -> bool {
    char type = 0;
    double rhs = 0.0;
    int32_t n = 0;
    int32_t r = FBRGETLPCONSTRAINTDATAI_(M, i, &type, rhs, n, nullptr, nullptr);
    if (r == 0) {
      if ((size_t)n > col.size()) {
        col.resize((size_t)n);
        val.resize((size_t)n);
      }
      r = FBRGETLPCONSTRAINTDATAI_(M, i, &type, rhs, n, col.data(), val.data());
    }
    if (r != 0) {
      L.ERRARG = r;
      return false;
    }
    for (int32_t k = 0; k < n; ++k) {
      int32_t j = col[(size_t)k];
      if (j >= 0 && j < nv && val[(size_t)k] != 0.0 && !f(j, val[(size_t)k])) break;
    }
    return true;
  };
  // counts of each column's entries, the objective's included (no block moves in this
  // routine after the coefficient arrays are sized, so their starts are read once)
  const int64_t so = L.START[L.MATOBJ];
  for (int32_t j = 0; j < nv; ++j) next[(size_t)j + 1] = DGET_(W, so, j + 1) != 0.0 ? 1 : 0;
  for (int32_t i = 0; i < nc; ++i) {
    bool twice = false;
    bool ok = entries(i, [&](int32_t j, double) {
      if (last[(size_t)j] == i) return !(twice = true);
      last[(size_t)j] = i;
      ++next[(size_t)j + 1];
      return true;
    });
    if (!ok) return 2;
    if (twice) return 3;
  }
  last = std::vector<int32_t>();
  int64_t total = 0;
  for (int32_t j = 1; j <= nv; ++j) total += next[(size_t)j];
  if (total > MAXREQ / 8) return 1;
  if (total > L.LEN[L.MATROW]) {
    setblda_(W, L, (int32_t)total, scr1, scr2, status);
    if (status) return 1;
  }
  // the column starts, and each column's objective entry
  const int64_t sc = L.START[L.MATCOEF], sr = L.START[L.MATROW], ss = L.START[L.MATCOLST];
  next[0] = 1;
  for (int32_t j = 0; j < nv; ++j) {
    int32_t p = next[(size_t)j];
    IPUT_(W, ss, j + 1, p);
    next[(size_t)j + 1] += p;
    const double c = DGET_(W, so, j + 1);
    if (c != 0.0) {
      DPUT_(W, sc, p, c);
      IPUT_(W, sr, p, 1);
      next[(size_t)j] = p + 1;
    }
  }
  IPUT_(W, ss, nv + 1, next[(size_t)nv]);
  L.MATNZ = next[(size_t)nv] - 1;
  // the rows' entries, each at its column's fill position
  for (int32_t i = 0; i < nc; ++i) {
    bool ok = entries(i, [&](int32_t j, double v) {
      int32_t p = next[(size_t)j]++;
      DPUT_(W, sc, p, v);
      IPUT_(W, sr, p, i + 2);
      return true;
    });
    if (!ok) return 2;
  }
  return 0;
}

// One extra (quadratic or nonlinear) entry of a column.
struct Extra {
  int32_t col, row;
  double coef;
};
}  // namespace

// Reads the loaded model back into the matrix copy; status 0, 1 out of storage, 2 library
// error (ERRARG the code, ERRSTR the routine).
void buildmatrix_(Work& W, MasterRecord& L, int32_t& status) {
  status = 0;
  windoz_();
  freematrix_(L);
  int32_t nv = 0, nc = 0, d[6];
  int32_t r = FBRGETDIMENSIONS_(L.MODELHANDLE, nv, nc, d[0], d[1], d[2], d[3], d[4], d[5]);
  auto fail = [&](const char* name, int32_t code) {
    std::strcpy(L.ERRSTR, name);
    L.ERRARG = code;
    status = 2;
  };
  if (r != 0) return fail("BRgetDimensions", r);
  int32_t scr1 = 0, scr2 = 0;
  auto done = [&]() {
    rlsblk_(L, scr1);
    rlsblk_(L, scr2);
    matlink_(L);
    windoz_();
  };
  if (!block(W, L, 2, nv + 1, L.MATCOLST) || !block(W, L, 6, nc + 2, L.MATRHS) ||
      !block(W, L, 2, nc + 2, L.MATRTYP) || !block(W, L, 6, nv, L.MATLB) ||
      !block(W, L, 6, nv, L.MATUB) || !block(W, L, 2, nc, L.MATRFLG) ||
      !block(W, L, 2, nv, L.MATVFLG) || !block(W, L, 6, nv, L.MATOBJ)) {
    status = 1;
    return done();
  }
  int64_t total = (int64_t)d[0] + d[1] + 2LL * d[2] + d[3] + nv;
  setblda_(W, L, (int32_t)std::min<int64_t>(total, MAXREQ / 8), scr1, scr2, status);
  if (status) {
    status = 1;
    return done();
  }
  // linear data, an array at a time through one scratch buffer, so that beside the store
  // the load holds one copy of the largest array and the column lists alone
  int32_t sense = 1, M = L.MODELHANDLE;
  double objconst = 0.0;
  const size_t nnz = (size_t)std::max(d[0], 1);
  std::unique_ptr<double[]> buf(new double[(size_t)std::max(nv, 1)]);
  std::vector<double> rhs(nc);
  std::vector<char> ctype(nc + 1);
  r = FBRGETLPDATA_(M, sense, objconst, buf.get(), rhs.data(), ctype.data(), nullptr, nullptr, nullptr,
                    nullptr, nullptr, nullptr);
  if (r != 0) {
    fail("BRgetLPData", r);
    return done();
  }
  int32_t s = L.START[L.MATRHS];
  DPUT_(W, s, 1, objconst);
  for (int32_t i = 0; i < nc; ++i) DPUT_(W, s, i + 2, rhs[i]);
  s = L.START[L.MATRTYP];
  IPUT_(W, s, 1, L.OBJROW > 0 ? sense : 1);
  for (int32_t i = 0; i < nc; ++i) IPUT_(W, s, i + 2, ctype[i] == 'L' ? 1 : ctype[i] == 'G' ? -1 : 0);
  for (int32_t j = 0; j < nv; ++j) DPUT_(W, L.START[L.MATOBJ], j + 1, L.OBJROW > 0 ? buf[(size_t)j] : 0.0);
  r = FBRGETLPDATA_(M, sense, objconst, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    buf.get(), nullptr);
  if (r != 0) {
    fail("BRgetLPData", r);
    return done();
  }
  for (int32_t j = 0; j < nv; ++j) {
    double lb = buf[(size_t)j];
    DPUT_(W, L.START[L.MATLB], j + 1, lb <= -LIBINF ? -L.BIGNUM : lb);
  }
  r = FBRGETLPDATA_(M, sense, objconst, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                    nullptr, buf.get());
  if (r != 0) {
    fail("BRgetLPData", r);
    return done();
  }
  for (int32_t j = 0; j < nv; ++j) {
    double ub = buf[(size_t)j], lo = DGET_(W, L.START[L.MATLB], j + 1);
    double hi = ub >= LIBINF ? L.BIGNUM : ub <= -LIBINF ? -L.BIGNUM : ub;
    DPUT_(W, L.START[L.MATUB], j + 1, std::fabs(hi) >= L.BIGNUM ? hi : hi - lo);
  }
  buf.reset();
  // a model of linear rows alone is dealt into the columns a row at a time
  if (d[1] <= 0 && d[2] <= 0 && d[3] <= 0) {
    int32_t how = linearcolumns(W, L, nv, nc, scr1, scr2, status);
    if (how == 0) return done();
    if (how == 2) {
      fail("BRgetLPConstraintDatai", L.ERRARG);
      return done();
    }
    if (how == 1) {
      status = 1;
      return done();
    }
    status = 0;  // a row names a variable twice: the general way below
  }
  // the columns' linear entries
  std::vector<int32_t> cst(nv + 1), ridx(nnz);
  std::vector<double> valv(nnz);
  r = FBRGETLPDATA_(M, sense, objconst, nullptr, nullptr, nullptr, cst.data(), nullptr, valv.data(),
                    ridx.data(), nullptr, nullptr);
  if (r != 0) {
    fail("BRgetLPData", r);
    return done();
  }
  const double* val = valv.data();
  // quadratic and nonlinear entries, with the row and variable flags they set
  std::vector<Extra> extra;
  std::vector<int32_t> rflag(nc, 0);
  std::vector<char> vflag(nv, 0);
  if (d[2] > 0) {
    std::vector<int32_t> qr(d[2]), qi(d[2]), qj(d[2]);
    std::vector<double> q(d[2]);
    int32_t n = 0;
    r = FBRGETQCDATA_(L.MODELHANDLE, n, qr.data(), qi.data(), qj.data(), q.data());
    if (r != 0) {
      fail("BRgetQCData", r);
      return done();
    }
    for (int32_t k = 0; k < n && k < d[2]; ++k) {
      int32_t row = qr[k] < 0 ? 1 : qr[k] + 2;
      if (qr[k] >= 0 && qr[k] < nc) rflag[qr[k]] = 1;
      for (int32_t v : {qi[k], qj[k]})
        if (v >= 0 && v < nv) {
          vflag[v] = 1;
          extra.push_back({v, row, q[k]});
        }
    }
  }
  if (d[1] > 0 || d[3] > 0) {
    std::vector<int32_t> ncs(nv + 1), ncl(nv), nri(std::max(d[1], 1)), code(std::max(nc, 1));
    r = FBRGETNLPDATA_(L.MODELHANDLE, ncs.data(), ncl.data(), nri.data(), code.data(), nullptr,
                       nullptr, nullptr);
    if (r != 0) {
      fail("BRgetNLPData", r);
      return done();
    }
    for (int32_t i = 0; i < nc; ++i)
      if (code[i] > 1 || (code[i] == 1 && rflag[i] == 0)) rflag[i] = code[i];
    for (int32_t j = 0; j < nv; ++j)
      for (int32_t k = ncs[j]; k < ncs[j] + ncl[j] && k < d[1]; ++k) {
        vflag[j] = 1;
        extra.push_back({j, -(nri[k] + 2), 1.0});
      }
    std::vector<int32_t> ov(nv);
    int32_t n = 0;
    if (FBRGETNLPOBJECTIVEDATA_(L.MODELHANDLE, n, ov.data()) == 0)
      for (int32_t k = 0; k < n && k < nv; ++k)
        if (ov[k] >= 0 && ov[k] < nv) {
          vflag[ov[k]] = 1;
          extra.push_back({ov[k], -1, 1.0});
        }
  }
  for (int32_t i = 0; i < nc; ++i) IPUT_(W, L.START[L.MATRFLG], i + 1, rflag[i]);
  for (int32_t j = 0; j < nv; ++j) IPUT_(W, L.START[L.MATVFLG], j + 1, vflag[j]);
  std::stable_sort(extra.begin(), extra.end(), [](const Extra& a, const Extra& b) { return a.col < b.col; });
  // columns: the objective entry, the linear entries, then the extra ones, each row once
  std::vector<int32_t> seen(nc + 2, -1);
  int32_t cap = L.LEN[L.MATROW], pos = 0;
  size_t e = 0;
  auto put = [&](int32_t col, int32_t row, double coef) -> bool {
    int32_t mag = row < 0 ? -row : row;
    if (mag < 1 || mag > nc + 1 || seen[mag] == col) return true;
    seen[mag] = col;
    if (pos + 1 > cap) {
      setblda_(W, L, cap * 2, scr1, scr2, status);
      if (status) return false;
      cap = L.LEN[L.MATROW];
    }
    ++pos;
    DPUT_(W, L.START[L.MATCOEF], pos, coef);
    IPUT_(W, L.START[L.MATROW], pos, row);
    return true;
  };
  for (int32_t j = 0; j < nv; ++j) {
    IPUT_(W, L.START[L.MATCOLST], j + 1, pos + 1);
    bool ok = true;
    const double c = DGET_(W, L.START[L.MATOBJ], j + 1);  // 0 without an objective
    if (c != 0.0) ok = put(j, 1, c);
    for (int32_t k = cst[j]; ok && k < cst[j + 1]; ++k)
      if (val[k] != 0.0) ok = put(j, ridx[k] + 2, val[k]);
    for (; ok && e < extra.size() && extra[e].col == j; ++e) ok = put(j, extra[e].row, extra[e].coef);
    if (!ok) {
      status = 1;
      return done();
    }
  }
  IPUT_(W, L.START[L.MATCOLST], nv + 1, pos + 1);
  L.MATNZ = pos;
  done();
}

// The difference quotient of a row by one variable, with the sign of (stored - stepped value):
// a central quotient over a step of 2^-12 scaled by the variable's magnitude, so that it is
// exact for linear and quadratic rows whatever the size of their values; a forward quotient
// from the row's current value when the row cannot be evaluated below the point. The
// variable's value is restored in every case.
void cmprtl_(Work& W, MasterRecord& L, int32_t row, int32_t var, double& deriv, int32_t& status) {
  double base = 0.0, aux = 0.0;
  int32_t st = 0;
  gcomp2_(W, L, row, base, st, aux);
  if (st == 0) {
    cmprtlat_(W, L, row, var, base, deriv, status);
  } else {
    status = 1;
  }
}

// The same quotient from the row's value at the current point (base), already evaluated
// without fault: a caller taking several variables of one row evaluates it there once.
void cmprtlat_(Work& W, MasterRecord& L, int32_t row, int32_t var, double base, double& deriv,
               int32_t& status) {
  const double x = DGET_(W, L.START[L.VARVAL], var);
  const double step = 0.000244140625 * std::max(1.0, std::fabs(x));
  double ahead = 0.0, behind = 0.0, aux = 0.0;
  int32_t st = 0, stb = 1;
  DPUT_(W, L.START[L.VARVAL], var, x + step);
  gcomp2_(W, L, row, ahead, st, aux);
  if (st == 0) {
    DPUT_(W, L.START[L.VARVAL], var, x - step);
    gcomp2_(W, L, row, behind, stb, aux);
  }
  DPUT_(W, L.START[L.VARVAL], var, x);
  status = st == 0 ? 0 : 1;
  const bool central = stb == 0 && std::isfinite(behind);
  if (status == 0) deriv = central ? (behind - ahead) / (2.0 * step) : (base - ahead) / step;
}
