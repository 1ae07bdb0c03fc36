// Name tables: 32-character name slots with a hash block beside them (linear probing).
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include "language/lang.h"

NameTable nt_sets(MasterRecord& L) { return {&L.KSNAME, &L.NSETS, &L.SETCAP, &L.SETHSH, &L.SETHSZ}; }
NameTable nt_attrs(MasterRecord& L) { return {&L.KANAME, &L.NATTRS, &L.ATTRCAP, &L.ATTHSH, &L.ATTHSZ}; }
NameTable nt_prim(MasterRecord& L) { return {&L.KPNAME, &L.NPRIMEL, &L.PRIMCAP, &L.PRMHSH, &L.PRMHSZ}; }
NameTable nt_scalar(MasterRecord& L) { return {&L.SCLNAM, &L.NSCALAR, &L.SCLCAP, &L.SCLHSH, &L.SCLHSZ}; }
NameTable nt_rows(MasterRecord& L) { return {&L.ROWNAM, &L.NROWNM, &L.ROWNMCAP, &L.ROWHSH, &L.ROWHSZ}; }

// Position of the last non-blank character of s(1..n), 0 when all blank. Trailing blanks
// go eight at a time: a name slot is mostly blanks.
int32_t trimlen(const char* s, int32_t n) {
  constexpr uint64_t BLANKS = 0x2020202020202020ull;
  for (uint64_t w; n >= 8; n -= 8) {
    std::memcpy(&w, s + n - 8, 8);
    if (w != BLANKS) break;
  }
  while (n > 0 && s[n - 1] == ' ') --n;
  return n;
}

// Bucket 1..n of the key's first len characters.
uint32_t hash_funk_(const char* text, int32_t len, int32_t n) {
  uint32_t h = 0;
  for (int32_t i = 0; i < len; ++i) {
    h = (h << 7) + (uint32_t)(int32_t)(signed char)text[i];
    if (h >= (1u << 24)) h %= (uint32_t)n;
  }
  return ((h << 7) % (uint32_t)n) + 1;
}

// Smallest odd prime not below n (n below 4 unchanged).
int32_t fprime_(int32_t n) {
  if (n < 4) return n;
  int64_t c = (n % 2) ? n : (int64_t)n + 1;
  int64_t d = 3;
  for (;;) {
    if (c % d == 0) {
      c += 2;
      d = 3;
    } else if (c / d <= d) {
      return (int32_t)c;
    } else {
      d += 2;
    }
  }
}

// Copies slot i into text (32 characters) and its trimmed length.
void getnam_(const Work& W, const MasterRecord& L, int32_t blk, int32_t i, char* text, int32_t& len) {
  if (blk <= 0 || blk > NHANDLES || L.START[blk] <= 0 || i < 1 || (int64_t)i * 8 > L.LEN[blk]) {
    std::memset(text, ' ', NAMELEN);
    len = 0;
    return;
  }
  cgets(W, nbyte(L, blk, i), text, NAMELEN);
  len = trimlen(text, NAMELEN);
}

std::string namestr(const Work& W, const MasterRecord& L, int32_t blk, int32_t i) {
  char t[NAMELEN];
  int32_t n;
  getnam_(W, L, blk, i, t, n);
  return std::string(t, (size_t)n);
}

// Writes the first len characters of name into slot i, blank padded.
void putnam_(Work& W, const MasterRecord& L, int32_t blk, int32_t i, const char* name, int32_t len) {
  if (len > NAMELEN) len = NAMELEN;
  char padded[NAMELEN];
  std::memset(padded, ' ', NAMELEN);
  if (len > 0) std::memcpy(padded, name, (size_t)len);
  cputs(W, nbyte(L, blk, i), padded, NAMELEN);
}

// Whether slot i holds the name given blank padded to a slot's width.
static bool slot_equals(const Work& W, const MasterRecord& L, int32_t blk, int32_t i, const char* padded) {
  char stored[NAMELEN];
  cgets(W, nbyte(L, blk, i), stored, NAMELEN);
  return std::memcmp(stored, padded, NAMELEN) == 0;
}

// Enters name number i, whose text (trimmed) is nm, in the first empty slot probed from its
// bucket; false when full.
static bool hash_enter(Work& W, const MasterRecord& L, NameTable t, int32_t i, const char* nm, int32_t len) {
  int32_t size = *t.hsize;
  int32_t b = (int32_t)hash_funk_(nm, len, size);
  for (int32_t k = 0; k < size; ++k) {
    if (iget(W, L, *t.hash, b) == 0) {
      iput(W, L, *t.hash, b, i);
      return true;
    }
    b = b == size ? 1 : b + 1;
  }
  return false;
}

// The size a hash block of size grows to.
static int32_t nexthsize(int32_t size) { return fprime_(std::max(2 * size, 64)); }

// Rebuilds the hash block at the given size and enters every name again.
static void rehash(Work& W, MasterRecord& L, NameTable t, int32_t size, int32_t& status) {
  *t.hsize = size;
  if (*t.hash > 0) rlsblk_(L, *t.hash);
  int32_t cnt = size, st = 0;
  setblk_(2, cnt, W, L, *t.hash, st);
  if (st != 0 || cnt < size) {
    if (*t.hash > 0) rlsblk_(L, *t.hash);
    *t.hash = 0;
    status = 1;
    return;
  }
  for (int32_t k = 1; k <= size; ++k) iput(W, L, *t.hash, k, 0);
  for (int32_t i = 1; i <= *t.count; ++i) {
    char nm[NAMELEN];
    int32_t len;
    getnam_(W, L, *t.blk, i, nm, len);
    if (!hash_enter(W, L, t, i, nm, len)) {
      std::fputs("HERROR\n", stdout);
      status = 1;
      return;
    }
  }
  status = 0;
}

// Rebuilds the hash block at the next prime size and enters every name again.
void grow_hash_table_(Work& W, MasterRecord& L, NameTable t, int32_t& status) {
  rehash(W, L, t, nexthsize(*t.hsize), status);
}

void reserve_names_(Work& W, MasterRecord& L, NameTable t, int64_t n) {
  const int64_t total = (int64_t)*t.count + n;
  if (n < 1 || total > MAXREQ / 32) return;  // the additions meet the limit themselves
  auto len = [&](int32_t h) -> int64_t { return h > 0 ? L.LEN[h] : 0; };
  // the capacity the additions one by one would double the name block to; only room the
  // store has is taken (a block grown in part would hold the rest)
  if (total > *t.cap) {
    int64_t cap = *t.cap;
    while (cap < total) cap = 2 * cap > 64 ? 2 * cap : 64;
    if (cap > MAXREQ / 32 || cap * 8 - len(*t.blk) > L.FREEWD) return;
    int32_t items = (int32_t)(cap * 4), st = 0;
    setblk_(7, items, W, L, *t.blk, st);
    if (st != 0) return;  // cannot happen with the room there
    *t.cap = (int32_t)cap;
  }
  // the size the additions one by one would grow the hash block to (each grows it a step
  // at most), so that the names lie in it as they would have
  int32_t size = *t.hsize;
  bool made = *t.hash > 0;
  for (int64_t c = *t.count + 1; c <= total; ++c)
    if (2 * c >= size || !made) {
      if (size > MAXREQ / 8) return;
      size = nexthsize(size);
      made = true;
    }
  if ((size == *t.hsize && *t.hash > 0) || size - len(*t.hash) > L.FREEWD) return;
  const int32_t was = *t.hsize;
  int32_t st = 0;
  rehash(W, L, t, size, st);
  if (st != 0) *t.hsize = was;  // the additions grow it as they go
}

// Appends a name as number count+1 and enters it in the hash block.
void add_name_hash_(Work& W, MasterRecord& L, NameTable t, const char* name, int32_t len, int32_t& status) {
  status = 0;
  if (len > NAMELEN) len = NAMELEN;
  if (*t.count >= *t.cap) {
    int32_t want = 2 * *t.cap > 64 ? 2 * *t.cap : 64;
    int32_t items = want * 4, st = 0;
    setblk_(7, items, W, L, *t.blk, st);
    if (st != 0) {
      if (*t.blk > 0) *t.cap = std::min(*t.cap, L.LEN[*t.blk] / 8);
      status = 1;
      return;
    }
    *t.cap = want;
  }
  *t.count += 1;
  putnam_(W, L, *t.blk, *t.count, name, len);
  if (2 * *t.count >= *t.hsize || *t.hash <= 0) {
    grow_hash_table_(W, L, t, status);
    if (status != 0) status = 1;
    return;
  }
  if (!hash_enter(W, L, t, *t.count, name, trimlen(name, len))) {
    std::fputs("TABLE FULL\n", stdout);
    status = 1;
  }
}

static int32_t find_in(const Work& W, const MasterRecord& L, NameTable t, const char* name, int32_t len,
                       int32_t lo, int32_t hi) {
  if (*t.hash <= 0 || *t.hsize <= 0) return 0;
  if (len > NAMELEN) len = NAMELEN;
  int32_t size = *t.hsize;
  int32_t b = (int32_t)hash_funk_(name, len, size);
  char padded[NAMELEN];
  std::memset(padded, ' ', NAMELEN);
  if (len > 0) std::memcpy(padded, name, (size_t)len);
  for (int32_t k = 0; k < size; ++k) {
    int32_t n = iget(W, L, *t.hash, b);
    if (n == 0) return -b;
    if (n >= lo && n <= hi && slot_equals(W, L, *t.blk, n, padded)) return n;
    b = b == size ? 1 : b + 1;
  }
  return 0;
}

// Number of the name, minus the empty slot where the search ended, or 0.
int32_t find_name_hash_(const Work& W, const MasterRecord& L, NameTable t, const char* name, int32_t len) {
  return find_in(W, L, t, name, len, 1, INT32_MAX);
}

// As find_name_hash_, counting only names numbered lo..hi.
int32_t find_name_rng_hash_(const Work& W, const MasterRecord& L, NameTable t, const char* name, int32_t len,
                            int32_t lo, int32_t hi) {
  return find_in(W, L, t, name, len, lo, hi);
}
