// Pending errors of the interpreters, variable bounds, and wildcard text comparison.
#include <cmath>

#include "generate/blk.h"
#include "generate/eval.h"
#include "store/store.h"

bool recordpenderr_(Work& A, MasterRecord& L, int32_t code, int32_t& iblk, int32_t& rblk,
                    int32_t& count, int32_t& capacity) {
  if (5 * (int64_t)count + 5 > capacity) {
    const int64_t want = 40 * (int64_t)count + 40;
    if (want > 100000000) return false;
    int32_t ni = (int32_t)want, nr = (int32_t)want, si = 0, sr = 0;
    setblk_(2, ni, A, L, iblk, si);
    if (si != 0) return false;
    setblk_(6, nr, A, L, rblk, sr);
    if (sr != 0) return false;
    capacity = (int32_t)want;
  }
  const int32_t k = count + 1;
  L.STKPER[L.STKTOP] = k;
  count = k;
  const int64_t b = 5 * (int64_t)(k - 1);
  bputi(A, L, iblk, b + 1, code);
  bputi(A, L, iblk, b + 2, L.ERRARG);
  bputi(A, L, iblk, b + 3, L.ERRARG2);
  bputi(A, L, iblk, b + 4, L.ERRARG3);
  bputi(A, L, iblk, b + 5, L.ERRARG4);
  bputd(A, L, rblk, b + 1, L.ERRDBL);
  for (int32_t j = 2; j <= 5; ++j) bputd(A, L, rblk, b + j, 0.0);
  return true;
}

void unpackpenderr_(const Work& A, MasterRecord& L, int32_t& code, int32_t iblk, int32_t rblk) {
  const int32_t k = L.STKPER[L.STKTOP];
  const int64_t b = 5 * (int64_t)(k - 1);
  code = bgeti(A, L, iblk, b + 1);
  L.ERRARG = bgeti(A, L, iblk, b + 2);
  L.ERRARG2 = bgeti(A, L, iblk, b + 3);
  L.ERRARG3 = bgeti(A, L, iblk, b + 4);
  L.ERRARG4 = bgeti(A, L, iblk, b + 5);
  L.ERRDBL = bgetd(A, L, rblk, b + 1);
}

void bounds_(Work& A, MasterRecord& L, int32_t v, double low, double high, int32_t& status,
             bool replacelow0) {
  const double big = L.BIGNUM;
  if (v < 0) v = -v;
  if (!(std::fabs(low) <= big) || !(std::fabs(high) <= big)) { status = 1; return; }
  if (low == 0.0 && high == -big) { low = -big; high = big; }
  double lo = bgetd(A, L, L.VARLB, v), up = bgetd(A, L, L.VARUB, v);
  const bool untouched = lo == 0.0 && up >= big;
  if (lo == 0.0 && up == -big) { lo = -big; up = big; }
  if (replacelow0 && lo == 0.0) lo = -big;
  double nl = low, nu = high;
  if (!untouched) {
    nl = low > lo ? low : lo;
    nu = high < up ? high : up;
  }
  if (nu < nl) { status = 2; return; }
  const bool unfixed = bgeti(A, L, L.VARKND, v) < 4;
  if (unfixed) {
    double x = bgetd(A, L, L.VARVAL, v);
    if (x < nl) x = nl;
    if (x > nu) x = nu;
    bputd(A, L, L.VARVAL, v, x);
  }
  if (nl <= -big && nu >= big) {
    nl = 0.0;
    nu = -big;
    if (unfixed) bputi(A, L, L.VARKND, v, 1);
  }
  bputd(A, L, L.VARLB, v, nl);
  bputd(A, L, L.VARUB, v, nu);
  status = 0;
}

char upper_(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 32) : c; }

int32_t hstrcmpw_(const Work& A, const MasterRecord& L, int32_t h1, int32_t h2) {
  const int64_t n1 = bcap(L, h1, 1), n2 = bcap(L, h2, 1);
  // character k of a text; the end of its block counts as its NUL
  auto ch = [&](int32_t h, int64_t n, int64_t k) { return k <= n ? bgetc(A, L, h, k) : '\0'; };
  int64_t k = 1;
  char a = ch(h1, n1, k), b = ch(h2, n2, k);
  if (a == '\0') return b == '\0' ? 0 : -1;
  for (;;) {
    if (b == '\0') return 1;
    if (a == '*' || b == '*') return 0;
    if (a != '%' && b != '%') {
      const signed char ua = (signed char)upper_(a), ub = (signed char)upper_(b);
      if (ua < ub) return -1;
      if (ua > ub) return 1;
    }
    ++k;
    a = ch(h1, n1, k);
    b = ch(h2, n2, k);
    if (a == '\0') return b == '\0' ? 0 : -1;
  }
}

int32_t findlastblankinrange_(const Work& A, const MasterRecord& L, int32_t h, int32_t first,
                              int32_t last) {
  const int64_t n = bcap(L, h, 1);
  for (int64_t k = last; k >= first && k >= 1; --k)
    if (k <= n && bgetc(A, L, h, k) == ' ') return (int32_t)k;
  return last + 1;
}

bool isnan_(double x) { return std::isnan(x); }
