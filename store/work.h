// The work array: one vector of 32-bit words, indexed from 1 as the rest of the program
// counts, carved into blocks by the block allocator. Reals and characters are copied in
// and out; nothing outside this file reinterprets the words.
#pragma once
#include <cassert>
#include <cstdint>
#include <cstring>
#include <vector>

struct Work {
  std::vector<int32_t> w;  // w[0] is unused: word k lives at w[k]
};

#ifdef NDEBUG
#define QUIRN_WCHECK(cond) ((void)0)
#else
#define QUIRN_WCHECK(cond) assert(cond)
#endif

// Integer word k (1-based).
inline int32_t wget(const Work& a, int64_t k) {
  QUIRN_WCHECK(k >= 1 && k < (int64_t)a.w.size());
  return a.w[(size_t)k];
}
inline void wput(Work& a, int64_t k, int32_t v) {
  QUIRN_WCHECK(k >= 1 && k < (int64_t)a.w.size());
  a.w[(size_t)k] = v;
}
// 8-byte real held in words k and k+1 (low half first).
inline double dget(const Work& a, int64_t k) {
  QUIRN_WCHECK(k >= 1 && k + 1 < (int64_t)a.w.size());
  double d;
  std::memcpy(&d, &a.w[(size_t)k], sizeof d);
  return d;
}
inline void dput(Work& a, int64_t k, double v) {
  QUIRN_WCHECK(k >= 1 && k + 1 < (int64_t)a.w.size());
  std::memcpy(&a.w[(size_t)k], &v, sizeof v);
}
// Byte b (1-based) of the array counted from the start of word 1.
inline char cget(const Work& a, int64_t b) {
  QUIRN_WCHECK(b >= 1 && (b + 3) / 4 < (int64_t)a.w.size());
  char c;
  std::memcpy(&c, reinterpret_cast<const char*>(&a.w[1]) + (b - 1), 1);
  return c;
}
inline void cput(Work& a, int64_t b, char c) {
  QUIRN_WCHECK(b >= 1 && (b + 3) / 4 < (int64_t)a.w.size());
  std::memcpy(reinterpret_cast<char*>(&a.w[1]) + (b - 1), &c, 1);
}
// First byte position of word k.
inline int64_t wbyte(int64_t k) { return (k - 1) * 4 + 1; }
