// Members of a derived set by the value at one position. A loop over a derived set whose
// member must agree at some position with an index of an enclosing loop walks only the
// members with that value there; this list finds them without scanning the set. One heap
// block per set and position: a header, the members' entries at the position in ascending
// order, and beside each the member's NDRVEL position, members with equal entries in
// storage order.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "language/lang.h"
#include "store/heap.h"
#include "store/store.h"

namespace {
// header words: set, position, members, first NDRVEL entry, dimension
constexpr int32_t HDR = 5;

// True when list id was built for position c of set s as the set stands now.
bool current(const Work& W, const MasterRecord& L, int32_t id, int32_t s, int32_t c) {
  return id > 0 && IGETCM_(id, 1) == s && IGETCM_(id, 2) == c &&
         IGETCM_(id, 3) == iget(W, L, L.NNTRYS, s) && IGETCM_(id, 4) == iget(W, L, L.INXNTR, s);
}
}  // namespace

int32_t spxget_(const Work& W, MasterRecord& L, int32_t s, int32_t c) {
  if (s < 1 || s > L.NSETS) return 0;
  for (int32_t k = 0; k < SPXSLOTS; ++k)
    if (current(W, L, L.SPXID[k], s, c)) return L.SPXID[k];
  const int32_t n = iget(W, L, L.NNTRYS, s), d = setdim(W, L, s), first = iget(W, L, L.INXNTR, s);
  if (d < 1 || c < 1 || c > d || n < 1 || first < 1) return 0;
  // the member tuples must lie inside the member list
  const int64_t end = (int64_t)first + (int64_t)n * d - 1;
  if (L.NDRVEL < 1 || L.START[L.NDRVEL] < 1 || end > (int64_t)L.LEN[L.NDRVEL]) return 0;
  const int64_t words = HDR + 2 * (int64_t)n;
  if (words > MAXREQ / 4) return 0;
  // entry (offset so that unsigned order is signed order) above, member index below
  std::vector<uint64_t> key((size_t)n);
  const int32_t* const el = W.w.data() + L.START[L.NDRVEL] - 1;  // el[k] = NDRVEL entry k
  for (int32_t i = 0; i < n; ++i) {
    const uint32_t v = (uint32_t)el[first + (int64_t)i * d + c - 1] ^ 0x80000000u;
    key[(size_t)i] = (uint64_t)v << 32 | (uint32_t)i;
  }
  std::sort(key.begin(), key.end());
  // the slot: a free one, else the oldest list goes
  int32_t slot = -1;
  for (int32_t k = 0; k < SPXSLOTS && slot < 0; ++k)
    if (L.SPXID[k] == 0) slot = k;
  if (slot < 0) {
    slot = (L.SPXNXT >= 0 && L.SPXNXT < SPXSLOTS) ? L.SPXNXT : 0;
    L.SPXNXT = (slot + 1) % SPXSLOTS;
    rlsblkcm_(L.SPXID[slot]);
  }
  int32_t cnt = (int32_t)words, id = 0, st = 0;
  setblkcm_(WORDTYPE, cnt, id, st);
  if (st != 0) return 0;
  IPUTCM_(id, 1, s);
  IPUTCM_(id, 2, c);
  IPUTCM_(id, 3, n);
  IPUTCM_(id, 4, first);
  IPUTCM_(id, 5, d);
  for (int32_t i = 0; i < n; ++i) {
    const uint64_t k = key[(size_t)i];
    const int32_t m = (int32_t)(uint32_t)k;
    IPUTCM_(id, HDR + 1 + i, (int32_t)((uint32_t)(k >> 32) ^ 0x80000000u));
    IPUTCM_(id, (int64_t)HDR + n + 1 + i, (int32_t)(first + (int64_t)m * d));
  }
  L.SPXID[slot] = id;
  return id;
}

void spxrange_(int32_t id, int32_t v, int32_t& cur, int32_t& last) {
  const int32_t n = IGETCM_(id, 3);
  // first entry not below v, then first entry above v
  int32_t lo = 0, hi = n;
  while (lo < hi) {
    const int32_t mid = lo + (hi - lo) / 2;
    if (IGETCM_(id, HDR + 1 + mid) < v) lo = mid + 1;
    else hi = mid;
  }
  int32_t top = n;
  hi = lo;
  while (hi < top) {
    const int32_t mid = hi + (top - hi) / 2;
    if (IGETCM_(id, HDR + 1 + mid) <= v) hi = mid + 1;
    else top = mid;
  }
  cur = HDR + n + lo;
  last = HDR + n + hi;
}

void spxfree_(MasterRecord& L) {
  for (int32_t k = 0; k < SPXSLOTS; ++k) rlsblkcm_(L.SPXID[k]);
  L.SPXNXT = 0;
}
