// The check that a set's member list names no member twice: by the name table's hash for a
// primitive set, by sorting the member tuples for a derived one, never pair by pair.
#include <algorithm>
#include <cstring>
#include <vector>

#include "language/lang.h"

// Number (1-based) of a member of set s that repeats an earlier one, 0 when all differ; the
// repeated member's text ("A" or "A, B") goes into ERRTXT.
int32_t setrepeat_(Work& W, MasterRecord& L, int32_t s) {
  const int32_t n = iget(W, L, L.NNTRYS, s), first = iget(W, L, L.INXNTR, s), d = setdim(W, L, s);
  if (n < 2 || first < 1) return 0;
  char nm[NAMELEN];
  int32_t len = 0, bad = 0;
  if (d == 0) {
    for (int32_t k = 0; k < n && bad == 0; ++k) {
      getnam_(W, L, L.KPNAME, first + k, nm, len);
      // a name that is unique among the members finds itself
      int32_t r = find_name_rng_hash_(W, L, nt_prim(L), nm, len, first, first + n - 1);
      if (r != first + k) bad = std::max(r - first, k) + 1;
    }
    if (bad == 0) return 0;
    getnam_(W, L, L.KPNAME, first + bad - 1, nm, len);
    std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
    std::memcpy(L.ERRTXT, nm, (size_t)std::clamp(len, 0, NAMELEN));
    return bad;
  }
  std::vector<int32_t> tup((size_t)n * (size_t)d);
  for (size_t k = 0; k < tup.size(); ++k) tup[k] = iget(W, L, L.NDRVEL, first + (int32_t)k);
  std::vector<int32_t> order((size_t)n);
  for (int32_t k = 0; k < n; ++k) order[(size_t)k] = k;
  auto at = [&](int32_t k) { return tup.data() + (size_t)k * (size_t)d; };
  std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    return std::lexicographical_compare(at(a), at(a) + d, at(b), at(b) + d);
  });
  for (int32_t k = 1; k < n; ++k) {
    int32_t a = order[(size_t)k - 1], b = order[(size_t)k];
    if (!std::equal(at(a), at(a) + d, at(b))) continue;
    if (bad == 0 || b + 1 < bad) bad = b + 1;  // the earliest member that repeats another
  }
  if (bad == 0) return 0;
  std::string text;
  for (int32_t c = 0; c < d; ++c) {
    int32_t p = iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s) + c);
    getnam_(W, L, L.KPNAME, iget(W, L, L.INXNTR, p) + at(bad - 1)[c] - 1, nm, len);
    if (c > 0) text += ", ";
    text.append(nm, (size_t)std::clamp(len, 0, NAMELEN));
  }
  std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
  std::memcpy(L.ERRTXT, text.data(), std::min(text.size(), sizeof L.ERRTXT - 1));
  return bad;
}
