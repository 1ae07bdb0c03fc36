// Set-member index look-up: attribute elements and set members by index tuple, generated
// rows by row name and tuple, inline doubles of the instruction stream.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "generate/blk.h"
#include "generate/eval.h"

namespace {

// Position k (1..n) in a sorted set's order of the member whose tuple is c, 0 when c is no
// member. Member k's tuple is the d words at w[tup + (w[o + k] - 1) * d]. The search
// gallops outward from position h (1..n; any other value: a plain binary search), so a
// run of look-ups near one another costs a few comparisons each. When the member lies
// the way move points, position h + move is tried first, so a loop that steps through
// the set by a fixed stride (a sum over a product set with its last position bound)
// finds each member at the second comparison.
int64_t sortedpos(const int32_t* w, int64_t o, int64_t tup, int32_t d, int64_t n,
                  const int32_t* c, int64_t h, int64_t move = 0) {
  auto cmp = [&](int64_t k) -> int32_t {
    const int32_t* m = w + tup + (int64_t)(w[o + k] - 1) * d;
    for (int32_t j = 0; j < d; ++j)
      if (c[j] != m[j]) return c[j] < m[j] ? -1 : 1;
    return 0;
  };
  int64_t lo = 0, hi = n + 1;  // member lo's tuple is below c, member hi's above
  if (h >= 1 && h <= n) {
    int32_t r = cmp(h);
    if (r == 0) return h;
    if (move != 0 && (move > 0) == (r > 0) && h + move >= 1 && h + move <= n) {
      const int32_t r2 = cmp(h + move);
      if (r2 == 0) return h + move;
      if (r > 0) lo = h; else hi = h;
      h += move;
      if (r2 != r) {  // the member lies between the two: search there
        if (r2 > 0) lo = h; else hi = h;
        h = 0;
      }
    }
    for (int64_t step = 1; h != 0; step *= 2) {
      if (r > 0) {
        lo = h;
        h += step;
        if (h > n) break;
      } else {
        hi = h;
        h -= step;
        if (h < 1) break;
      }
      const int32_t r2 = cmp(h);
      if (r2 == 0) return h;
      if (r2 != r) {
        if (r2 > 0) lo = h; else hi = h;
        break;
      }
    }
  }
  while (hi - lo >= 2) {
    const int64_t mid = lo + (hi - lo) / 2;
    const int32_t r = cmp(mid);
    if (r == 0) return mid;
    if (r > 0) lo = mid; else hi = mid;
  }
  return 0;
}

// getvx2_, the search of a sorted set starting at position *hint and leaving there the
// position found (no hint: nullptr).
void vxlook(const Work& A, const MasterRecord& L, int32_t a, int32_t s, int32_t mode,
            int32_t& result, int32_t* hint) {
  if (s < 1 || s > L.NSETS) { result = 0; return; }
  // nothing here allocates: each table's start is read once
  const int32_t* const w = A.w.data();
  auto col = [&](int32_t h) { return (int64_t)L.START[h] - 1; };  // element k of block h: w[col(h) + k]
  const int64_t lx = col(L.LXSTUB), nn = col(L.NNTRYS), la = col(L.LASTUB);
  const int32_t d = w[lx + s + 1] - w[lx + s];
  const int32_t na = w[la + s + 1] - w[la + s];
  const int32_t n = w[nn + s];
  const int32_t dd = d > 0 ? d : 1;
  result = -1;
  if (d > 48 || L.STKTOP < dd) return;
  int32_t c[48];
  const int32_t base = L.STKTOP - dd + 1;
  for (int32_t j = 0; j < dd; ++j) {
    if (mode == 1 && L.STKTAG[base + j] >= 0) { result = -2; return; }
    if (!d2i(L.STKVAL[base + j], c[j])) return;
  }
  int64_t p = 0;
  if (d == 0) {
    if (c[0] < 1 || c[0] > n) return;
    p = c[0];
  } else {
    const int32_t ord = w[col(L.SETORD) + s];
    if (ord < 0) {
      // a dense product of primitive sets: the position follows from the indices
      const int64_t prims = col(L.NDXSTB) + w[lx + s];
      for (int32_t j = 0; j < d; ++j) {
        const int32_t prim = w[prims + j];
        const int32_t np = (prim >= 1 && prim <= L.NSETS) ? w[nn + prim] : 0;
        if (c[j] < 1 || c[j] > np) return;
        p = p * np + (c[j] - 1);
      }
      p += 1;
      if (p > n) return;
    } else {
      const int64_t tup = col(L.NDRVEL) + w[col(L.INXNTR) + s];
      if (ord > 0) {
        if (n < 1 || bcap(L, ord, 4) < n) return;
        const int64_t o = col(ord);
        const int64_t k = sortedpos(w, o, tup, d, n, c, hint ? *hint : 0);
        if (k == 0) return;
        if (hint) *hint = (int32_t)k;
        p = w[o + k];
      } else {
        for (int64_t k = 1; k <= n; ++k) {
          const int32_t* m = w + tup + (k - 1) * d;
          if (std::equal(c, c + d, m)) { p = k; break; }
        }
        if (p == 0) return;
      }
    }
  }
  if (a > 0) {
    if (a > na) return;
    result = (int32_t)(w[col(L.INANTR) + s] + (p - 1) * na + a - 1);
  } else {
    result = (int32_t)(w[col(L.INXNTR) + s] + (p - 1) * dd);
  }
}

}  // namespace

void getvx2_(const Work& A, const MasterRecord& L, int32_t a, int32_t s, int32_t mode,
             int32_t& result) {
  vxlook(A, L, a, s, mode, result, nullptr);
}

namespace {

// The hint slot of set s: its latest position found, 0 when the slot held another set.
int32_t& hintslot(MasterRecord& L, int32_t s) {
  const int32_t slot = s & (VXHINTS - 1);
  if (L.VXHSET[slot] != s) {
    L.VXHSET[slot] = s;
    L.VXHPOS[slot] = 0;
    L.VXHMOVE[slot] = 0;
  }
  return L.VXHPOS[slot];
}

}  // namespace

void getvx2h_(const Work& A, MasterRecord& L, int32_t a, int32_t s, int32_t mode,
              int32_t& result) {
  vxlook(A, L, a, s, mode, result, &hintslot(L, s));
}

int64_t vxsorted_(const Work& A, MasterRecord& L, const VxSet& q, const int32_t* c) {
  const int32_t* const w = A.w.data();
  const int64_t o = (int64_t)L.START[q.ord] - 1;
  const int64_t tup = (int64_t)L.START[L.NDRVEL] - 1 + q.inxntr;
  int32_t& h = hintslot(L, q.s);
  int32_t& move = L.VXHMOVE[q.s & (VXHINTS - 1)];
  const int64_t k = sortedpos(w, o, tup, q.d, q.n, c, h, move);
  if (k == 0) return 0;
  if (k != h) move = h >= 1 ? (int32_t)(k - h) : 0;
  h = (int32_t)k;
  return w[o + k];
}

void vxset_(const Work& A, const MasterRecord& L, int32_t s, VxSet& q) {
  q.s = s;
  q.dense = q.sorted = false;
  if (s < 1 || s > L.NSETS) return;
  auto at = [&](int32_t h, int64_t k) { return bgeti0(A, L, h, k); };
  if (bcap(L, L.LXSTUB, 4) < (int64_t)s + 1 || bcap(L, L.LASTUB, 4) < (int64_t)s + 1) return;
  const int32_t d = at(L.LXSTUB, s + 1) - at(L.LXSTUB, s);
  if (d < 0 || d > VXDMAX) return;
  if (bcap(L, L.SETORD, 4) < s) return;
  if (bcap(L, L.NNTRYS, 4) < s || bcap(L, L.INANTR, 4) < s || bcap(L, L.INXNTR, 4) < s) return;
  q.na = at(L.LASTUB, s + 1) - at(L.LASTUB, s);
  q.n = at(L.NNTRYS, s);
  q.inantr = at(L.INANTR, s);
  q.inxntr = at(L.INXNTR, s);
  if (d == 0) {  // a primitive set: members 1..n
    q.d = 1;
    q.np[0] = q.n;
    q.dense = true;
    return;
  }
  q.d = d;
  const int32_t ord = at(L.SETORD, s);
  if (ord > 0) {
    if (q.n < 1 || bcap(L, ord, 4) < q.n || L.NDRVEL < 1 || L.NDRVEL > NHANDLES ||
        L.START[L.NDRVEL] <= 0)
      return;
    q.ord = ord;
    q.sorted = true;
    return;
  }
  if (ord == 0) return;
  const int32_t stub = at(L.LXSTUB, s);
  if (stub < 1 || bcap(L, L.NDXSTB, 4) < (int64_t)stub + d - 1) return;
  for (int32_t j = 0; j < d; ++j) {
    const int32_t prim = at(L.NDXSTB, stub + j);
    if (prim < 1 || prim > L.NSETS) {
      q.np[j] = 0;
    } else {
      if (bcap(L, L.NNTRYS, 4) < prim) return;
      q.np[j] = bgeti(A, L, L.NNTRYS, prim);
    }
  }
  q.dense = true;
}

void getrx2_(const Work& A, MasterRecord& L, int32_t rn, int64_t sets, int32_t& result) {
  result = 0;
  if (rn < 1 || rn > L.NROWNM || L.NROWS < 1) return;
  const int32_t d = bgeti(A, L, L.ROWNDIM, rn);
  if (d < 0 || d > L.STKTOP) return;
  int32_t c[XSTKLIM];
  for (int32_t j = 0; j < d; ++j)
    if (!d2i(L.STKVAL[L.STKTOP - d + 1 + j], c[j])) return;
  int32_t row = L.RCURSR;
  for (int32_t i = 0; i < L.NROWS; ++i) {
    row = row >= L.NROWS || row < 0 ? 1 : row + 1;
    L.RCURSR = row;
    if (bgeti(A, L, L.ROWRNM, row) != rn) continue;
    if (d == 0) { result = row; return; }
    const int32_t st = bgeti(A, L, L.ROWIXS, row);
    if (bgeti(A, L, L.ROWIXS, row + 1) - st != 2 * d) continue;
    bool ok = true;
    for (int32_t j = 0; j < d && ok; ++j) {
      ok = bgeti(A, L, L.ROWIXW, st + j) == wget(A, sets + j) &&
           bgeti(A, L, L.ROWIXW, st + d + j) == c[j];
    }
    if (ok) { result = row; return; }
  }
}

void hint_(const double& x, double& out) { out = std::fabs(x) + 1.0; }
