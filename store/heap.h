// Heap blocks (blocks of the process heap named by small ids from a table, 0 = none) and
// the 1-based element accessors shared by work-store and heap blocks. The accessors are
// single loads and stores; they are bounds-checked in debug builds only.
#pragma once
#include <cassert>
#include <cstdint>
#include <cstring>
#include <vector>
#include "store/work.h"

struct HeapSlot {
  char* p = nullptr;  // nullptr: slot free
  int64_t bytes = 0;
  bool mapped = false;  // a large block mapped on its own rather than taken from malloc
};
// the table of heap blocks; slot 0 is never used
extern std::vector<HeapSlot> g_heapblocks;

// Bytes from which a heap block is mapped on its own, with large pages where the system
// offers them, rather than taken from malloc.
constexpr int64_t HEAPMAPFROM = 4 << 20;
// Allocates (id 0) or resizes (id > 0, contents kept) a heap block; 0 done, 1 no memory
// (the id and the old block are then unchanged).
int32_t FBRMALLOC_(int32_t& id, int64_t bytes);
// Frees the block of the id; the id variable itself is not changed.
void FBRFREE_(int32_t id);
// Allocates or resizes a heap block of count elements of the type, count rounded up to a
// multiple of 32 (at least 8 bytes); status 0, or 1 when the heap cannot give it.
void setblkcm_(int32_t type, int32_t& count, int32_t& id, int32_t& status);
// Frees the heap block of the id and sets the id to 0; an id of 0 is ignored.
void rlsblkcm_(int32_t& id);
// number of live heap blocks (for tests and leak checks)
int32_t heapcount_();

// base of a heap block, checked in debug builds
inline char* heapbase_(int32_t id, int64_t off, int64_t len) {
  QUIRN_WCHECK(id >= 1 && id < (int32_t)g_heapblocks.size() && g_heapblocks[id].p != nullptr);
  QUIRN_WCHECK(off >= 0 && off + len <= g_heapblocks[id].bytes);
  return g_heapblocks[(size_t)id].p + off;
}

// Work-store forms: the block starts at word 'start' (START of its handle), k from 1.
inline char C1GET_(const Work& a, int64_t start, int64_t k) { return cget(a, wbyte(start) + k - 1); }
inline void C1PUT_(Work& a, int64_t start, int64_t k, char v) { cput(a, wbyte(start) + k - 1, v); }
inline int32_t IGET_(const Work& a, int64_t start, int64_t k) { return wget(a, start + k - 1); }
inline void IPUT_(Work& a, int64_t start, int64_t k, int32_t v) { wput(a, start + k - 1, v); }
inline double DGET_(const Work& a, int64_t start, int64_t k) { return dget(a, start + 2 * (k - 1)); }
inline void DPUT_(Work& a, int64_t start, int64_t k, double v) { dput(a, start + 2 * (k - 1), v); }
inline void C8GET_(const Work& a, int64_t start, int64_t k, char* v) {
  for (int i = 0; i < 8; ++i) v[i] = cget(a, wbyte(start) + (k - 1) * 8 + i);
}
inline void C8PUT_(Work& a, int64_t start, int64_t k, const char* v) {
  for (int i = 0; i < 8; ++i) cput(a, wbyte(start) + (k - 1) * 8 + i, v[i]);
}

// Heap forms: the block is named by its id.
inline char C1GETCM_(int32_t id, int64_t k) { return *heapbase_(id, k - 1, 1); }
inline void C1PUTCM_(int32_t id, int64_t k, char v) { *heapbase_(id, k - 1, 1) = v; }
inline int32_t IGETCM_(int32_t id, int64_t k) {
  int32_t v;
  std::memcpy(&v, heapbase_(id, (k - 1) * 4, 4), 4);
  return v;
}
inline void IPUTCM_(int32_t id, int64_t k, int32_t v) { std::memcpy(heapbase_(id, (k - 1) * 4, 4), &v, 4); }
inline double DGETCM_(int32_t id, int64_t k) {
  double v;
  std::memcpy(&v, heapbase_(id, (k - 1) * 8, 8), 8);
  return v;
}
inline void DPUTCM_(int32_t id, int64_t k, double v) { std::memcpy(heapbase_(id, (k - 1) * 8, 8), &v, 8); }
