// Block allocator of the work array: blocks named by handles 3..480 in address order
// between the sentinels 1 (head) and 2 (tail), first fit from the bottom, moving growth
// to the highest hole, compaction when nothing fits.
#include <algorithm>
#include <cstring>
#include "store/hooks.h"
#include "store/upcalls.h"
#include "store/store.h"

namespace {
constexpr int32_t TYPSIZ[8] = {0, 1, 4, 2, 4, 4, 8, 8};
constexpr int32_t HEAD = 1, TAIL = 2;

// element size of a type; an unknown type is a fault of the caller
int32_t elsize(MasterRecord& L, int32_t type, const char* who) {
  if (type < 1 || type > 7) fatal_(L, who);
  return TYPSIZ[type];
}

// rounds a count up to whole 8-byte granules (0 or less gets one granule)
int32_t roundc(int32_t c, int32_t s) {
  int32_t g = 8 / s;
  if (c < 1) return g;
  return ((c - 1) / g) * g + g;
}

// a handle given to setblk_/rlsblk_ that is not a live block handle stops the program
void chkhnd(MasterRecord& L, int32_t h, const char* who) {
  if (h < 3 || h > NHANDLES || L.START[h] < 1) fatal_(L, who);
}

// first fit from the bottom for w words; returns the predecessor handle or 0
int32_t firstfit(const MasterRecord& L, int32_t w) {
  for (int32_t p = HEAD; p > 0 && p != TAIL; p = L.NEXT[p]) {
    int32_t q = L.NEXT[p];
    if (q < 1) break;
    if (w <= L.START[q] - (L.START[p] + L.LEN[p] - 1) - 1) return p;
  }
  return 0;
}

// unlinks h from the address chain
void unlink(MasterRecord& L, int32_t h) {
  int32_t p = L.PREV[h], q = L.NEXT[h];
  if (p > 0) L.NEXT[p] = q; else L.CHAINHD = q;
  if (q > 0) L.PREV[q] = p;
}

// links h into the address chain right after p
void linkafter(MasterRecord& L, int32_t h, int32_t p) {
  int32_t q = L.NEXT[p];
  L.NEXT[p] = h;
  L.NEXT[h] = q;
  L.PREV[h] = p;
  if (q > 0) L.PREV[q] = h;
}
}  // namespace

int32_t typsiz_(int32_t type) { return (type >= 1 && type <= 7) ? TYPSIZ[type] : 0; }

// Copies n words from 'from' to 'to' (moves toward lower addresses).
void movblk_(Work& a, int64_t to, int64_t from, int64_t n) {
  if (n < 1) return;
  QUIRN_WCHECK(to >= 1 && from >= 1 && to + n <= (int64_t)a.w.size() &&
               from + n <= (int64_t)a.w.size());
  std::memmove(&a.w[(size_t)to], &a.w[(size_t)from], (size_t)n * sizeof(int32_t));
}

// Copies the n words ending at fromEnd to the n words ending at toEnd (moves upward).
void movbdn_(Work& a, int64_t toEnd, int64_t fromEnd, int64_t n) {
  if (n < 1) return;
  movblk_(a, toEnd - n + 1, fromEnd - n + 1, n);
}

// Allocates a new block of count elements of the type to a fresh handle.
void getblk_(int32_t type, int32_t& count, Work& a, MasterRecord& L, int32_t& handle,
             int32_t& status) {
  int32_t s = elsize(L, type, "SETBLK");
  if (count < 0) count = 0;
  if (count >= MAXREQ / s || 4LL * L.FREEWD < 8 || L.FREEHD < 1) {
    status = (count >= MAXREQ / s || 4LL * L.FREEWD < 8) ? 2 : 3;
    handle = 0;
    count = 0;
  } else {
    int32_t h = L.FREEHD;
    L.FREEHD = L.NEXT[h];
    if (L.FREEHD > 0) L.PREV[L.FREEHD] = 0;
    L.NFREEH -= 1;
    L.LOWHND = std::min(L.LOWHND, L.NFREEH);
    status = 0;
    count = roundc(count, s);
    int32_t w = (int32_t)((int64_t)count * s / 4);
    int32_t p = w <= L.FREEWD ? firstfit(L, w) : 0;
    if (p == 0) {
      cmpact_(a, L);
      if (L.FREEWD < w) {
        status = 1;
        count = (int32_t)(((int64_t)L.FREEWD * 4 / 8) * 8 / s);
        w = (int32_t)((int64_t)count * s / 4);
      }
      p = firstfit(L, w);
      if (p == 0) fatal_(L, "SETBLK");  // cannot happen on a compacted store
    }
    L.START[h] = L.START[p] + L.LEN[p];
    L.LEN[h] = w;
    L.FREEWD -= w;
    linkafter(L, h, p);
    handle = h;
  }
  L.LOWWRD = std::min(L.LOWWRD, L.FREEWD);
  stsmem_(L.FREEWD, L.TOTWRD);
}

// Moves every block down so that all free words lie between the last block and the tail.
void cmpact_(Work& a, MasterRecord& L) {
  if (L.PACKED == 1) return;
  L.NCOMPACT += 1;
  int32_t next = 1;
  for (int32_t p = L.CHAINHD; p > 0 && p != TAIL; p = L.NEXT[p]) {
    if (L.START[p] != next) {
      movblk_(a, next, L.START[p], L.LEN[p]);
      L.START[p] = next;
      L.NWMOVED += L.LEN[p];
      L.NBMOVED += 1;
    }
    next += L.LEN[p];
  }
  L.PACKED = 1;
}

// Allocates (handle <= 0), releases (count < 1) or resizes a block keeping its contents.
void setblk_(int32_t type, int32_t& count, Work& a, MasterRecord& L, int32_t& handle,
             int32_t& status) {
  if (handle <= 0) {
    getblk_(type, count, a, L, handle, status);
    stsmem_(L.FREEWD, L.TOTWRD);
    return;
  }
  int32_t h = handle;
  if (h < 3 || h > NHANDLES) fatal_(L, "SETBLK");
  if (count < 1) {
    rlsblk_(L, handle);
    status = 0;
    stsmem_(L.FREEWD, L.TOTWRD);
    return;
  }
  int32_t s = elsize(L, type, "SETBLK");
  if (count >= MAXREQ / s) {
    status = 2;
    stsmem_(L.FREEWD, L.TOTWRD);
    return;
  }
  chkhnd(L, h, "SETBLK");
  count = roundc(count, s);
  int32_t w = (int32_t)((int64_t)count * s / 4);
  int32_t d = w - L.LEN[h];
  status = 0;
  if (d < 0) {  // shrink in place
    L.LEN[h] = w;
    L.FREEWD -= d;
    if (L.NEXT[h] != TAIL) L.PACKED = 0;
  } else if (d > 0 && L.START[L.NEXT[h]] - L.START[h] >= w) {  // grow in place
    L.LEN[h] = w;
    L.FREEWD -= d;
  } else if (d > 0) {
    // the highest hole strictly larger than the new block
    int32_t q = TAIL, p = L.PREV[TAIL];
    while (p > 0 && L.START[q] - L.START[p] - L.LEN[p] <= w) {
      q = p;
      p = L.PREV[p];
    }
    if (p > 0) {
      int32_t to = L.START[p] + L.LEN[p];
      movblk_(a, to, L.START[h], L.LEN[h]);
      L.START[h] = to;
      L.NBMOVED += 1;
      L.NWMOVED += L.LEN[h];
      if (p != L.PREV[h]) {
        unlink(L, h);
        linkafter(L, h, p);
      }
      L.FREEWD -= d;
      L.LEN[h] = w;
      L.PACKED = 0;
    } else {
      cmpact_(a, L);
      if (L.FREEWD < 1) {
        status = 2;
        stsmem_(L.FREEWD, L.TOTWRD);
        return;
      }
      if (L.FREEWD < d) {
        status = 1;
        d = L.FREEWD;
        w = L.LEN[h] + L.FREEWD;
        count = (int32_t)((int64_t)w * 4 / s);
      }
      // shift every block above h up by d words
      int32_t nx = L.NEXT[h];
      if (nx != TAIL) {
        int32_t last = L.PREV[TAIL];
        int64_t fromEnd = (int64_t)L.START[last] + L.LEN[last] - 1;
        int64_t n = fromEnd - L.START[nx] + 1;
        movbdn_(a, fromEnd + d, fromEnd, n);
        L.NWMOVED += n;
        for (int32_t p2 = nx; p2 > 0 && p2 != TAIL; p2 = L.NEXT[p2]) {
          L.START[p2] += d;
          L.NBMOVED += 1;
        }
      }
      L.LEN[h] = w;
      L.FREEWD -= d;
    }
  }
  L.LOWWRD = std::min(L.LOWWRD, L.FREEWD);
  stsmem_(L.FREEWD, L.TOTWRD);
}

// Releases the block of a handle and the handle itself; the handle variable becomes 0.
void rlsblk_(MasterRecord& L, int32_t& handle) {
  int32_t h = handle;
  if (h <= 0) return;
  chkhnd(L, h, "RLSBLK");
  if (!(L.PACKED == 1 && L.NEXT[h] == TAIL)) L.PACKED = 0;
  L.FREEWD += L.LEN[h];
  L.START[h] = 0;
  L.LEN[h] = 0;
  unlink(L, h);
  L.NEXT[h] = L.FREEHD;
  if (L.FREEHD > 0) L.PREV[L.FREEHD] = h;
  L.FREEHD = h;
  L.PREV[h] = 0;
  handle = 0;
  L.NFREEH += 1;
  stsmem_(L.FREEWD, L.TOTWRD);
}

// Initialises the block table over a work array of TOTWRD words; every block is forgotten.
void intmem_(Work& a, MasterRecord& L) {
  if (upcalls_().freesort) upcalls_().freesort(a, L);
  // the table never describes more words than the array has
  L.TOTWRD = (int32_t)std::clamp<int64_t>(L.TOTWRD, 0, std::max<int64_t>((int64_t)a.w.size() - 1, 0));
  L.NEXT[HEAD] = TAIL;
  L.LOWWRD = L.TOTWRD;
  L.FREEHD = 3;
  L.TOTHND = NHANDLES;
  L.NFREEH = L.TOTHND - 2;
  L.LOWHND = L.NFREEH;
  L.NCOMPACT = 0;
  L.NWMOVED = 0;
  L.NBMOVED = 0;
  L.LEN[HEAD] = L.PREV[HEAD] = L.LEN[TAIL] = L.NEXT[TAIL] = 0;
  L.CHAINHD = HEAD;
  L.TOTWRD = L.TOTWRD / 2 * 2;
  L.START[HEAD] = 1;
  L.START[TAIL] = L.TOTWRD + 1;
  L.PREV[TAIL] = HEAD;
  for (int32_t h = 3; h <= NHANDLES; ++h) {
    L.START[h] = L.LEN[h] = 0;
    L.NEXT[h] = h + 1;
    L.PREV[h] = h - 1;
  }
  L.NEXT[NHANDLES] = 0;
  L.PREV[3] = 0;
  L.PACKED = 1;
  L.FREEWD = L.TOTWRD;
  clrcatalog_(L);
  L.WORD0 = 0;
  for (int32_t i = 0; i < L.NRESETHK; ++i) L.RESETHK[i](L);
}

void addresethook_(MasterRecord& L, ResetHook fn) {
  for (int32_t i = 0; i < L.NRESETHK; ++i)
    if (L.RESETHK[i] == fn) return;
  if (L.NRESETHK >= NRESETHOOKS) fatal_(L, "TABLE FULL");
  L.RESETHK[L.NRESETHK++] = fn;
}

// Doubles a capacity, capped at the largest request.
void idoub_(int32_t& n) {
  if (n > MAXREQ / 2) n = MAXREQ;
  else if (n < INT32_MIN / 2) n = INT32_MIN;
  else n *= 2;
}

// Copies the block of src into the block of dst (allocated or resized to fit).
void cloneb_(Work& a, MasterRecord& L, int32_t src, int32_t& dst, int32_t& status) {
  status = 0;
  if (src == 0) return;
  if (src < 3 || src > NHANDLES) fatal_(L, "SETBLK");
  int32_t n = L.LEN[src];
  int32_t st = 0;
  setblk_(2, n, a, L, dst, st);
  if (st != 0) {
    if (dst > 0) rlsblk_(L, dst);
    dst = 0;
    status = 1;
    return;
  }
  if (dst > 0) movblk_(a, L.START[dst], L.START[src], L.LEN[src]);
}

// True when the two blocks hold the same words.
int32_t compb_(const Work& a, const MasterRecord& L, int32_t h1, int32_t h2) {
  if (h1 < 1 || h2 < 1 || h1 > NHANDLES || h2 > NHANDLES) return QFALSE;
  int32_t n = L.LEN[h1];
  if (n != L.LEN[h2]) return QFALSE;
  if (n <= 0) return QTRUE;
  const int32_t* p = &a.w[(size_t)L.START[h1]];
  const int32_t* q = &a.w[(size_t)L.START[h2]];
  for (int32_t i = 0; i < n; ++i)
    if (p[i] != q[i]) return QFALSE;
  return QTRUE;
}

void rput_(void* array, int32_t k, float value) {
  std::memcpy(static_cast<char*>(array) + (int64_t)(k - 1) * 4, &value, 4);
}
void rget_(const void* array, int32_t k, float& value) {
  std::memcpy(&value, static_cast<const char*>(array) + (int64_t)(k - 1) * 4, 4);
}
