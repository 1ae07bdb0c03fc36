// Element access to work-store blocks by handle, 1-based, for the generate subsystem.
// The block's start is read anew on every call, so no position survives an allocation.
#pragma once
#include <cstdint>

#include "store/master.h"
#include "store/work.h"

// Integer element k of block h.
inline int32_t bgeti(const Work& A, const MasterRecord& L, int32_t h, int64_t k) {
  return wget(A, (int64_t)L.START[h] + k - 1);
}
inline void bputi(Work& A, const MasterRecord& L, int32_t h, int64_t k, int32_t v) {
  wput(A, (int64_t)L.START[h] + k - 1, v);
}
// Real element k of block h.
inline double bgetd(const Work& A, const MasterRecord& L, int32_t h, int64_t k) {
  return dget(A, (int64_t)L.START[h] + 2 * (k - 1));
}
inline void bputd(Work& A, const MasterRecord& L, int32_t h, int64_t k, double v) {
  dput(A, (int64_t)L.START[h] + 2 * (k - 1), v);
}
// Character element k of block h.
inline char bgetc(const Work& A, const MasterRecord& L, int32_t h, int64_t k) {
  return cget(A, wbyte(L.START[h]) + k - 1);
}
inline void bputc(Work& A, const MasterRecord& L, int32_t h, int64_t k, char c) {
  cput(A, wbyte(L.START[h]) + k - 1, c);
}
// Number of elements of size esize bytes that block h holds (0 for no block).
inline int64_t bcap(const MasterRecord& L, int32_t h, int32_t esize) {
  if (h < 1 || h > NHANDLES || L.START[h] <= 0) return 0;
  return (int64_t)L.LEN[h] * 4 / esize;
}
// Integer or real element k of block h, 0 when there is no block or it does not reach k.
inline int32_t bgeti0(const Work& A, const MasterRecord& L, int32_t h, int64_t k) {
  return (k >= 1 && k <= bcap(L, h, 4)) ? bgeti(A, L, h, k) : 0;
}
inline double bgetd0(const Work& A, const MasterRecord& L, int32_t h, int64_t k) {
  return (k >= 1 && k <= bcap(L, h, 8)) ? bgetd(A, L, h, k) : 0.0;
}
// A double truncated toward zero into out; false when it is NaN or outside 32 bits.
inline bool d2i(double v, int32_t& out) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return false;
  out = (int32_t)v;
  return true;
}
