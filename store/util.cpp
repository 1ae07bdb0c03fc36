// Small shared helpers.
#include "store/util.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

void ERRMESS234_(int32_t count, double value, char* buf) {
  std::sprintf(buf, "%d large number(s) were truncated to a value of: %.3g", count, value);
}

void APPINTTOSTR_(char* buf, int32_t value) {
  size_t n = std::strlen(buf);
  std::sprintf(buf + n, " %d", value);
}

void APPVERTOSTR_(char* buf, int32_t a, int32_t b, int32_t c, int32_t d, const char* text) {
  size_t n = std::strlen(buf);
  std::sprintf(buf + n, " %d.%d.%d.%d (%s)", a, b, c, d, text);
}

void FLOAT2TXT_(double value, char* buf) { std::sprintf(buf, "%.8g", value); }
void DOUBLE2TXT_(double value, char* buf) { std::sprintf(buf, "%.16g", value); }

int32_t GETCENV_(char* buf, const char* name) {
  const char* v = std::getenv(name);
  if (v == nullptr) return 1;
  std::memcpy(buf, v, std::strlen(v) + 1);
  return 0;
}

// A 64,000-byte probe, then the whole size, else bisection to within 10,000 bytes and the
// last size tried less a 512,000-byte reserve, rounded down to a multiple of 8.
void ALLOCHEAP(int64_t size, int64_t& got, void*& ptr) {
  constexpr int64_t PROBE = 64000, GAP = 10000, RESERVE = 512000;
  got = 0;
  ptr = nullptr;
  void* p = std::malloc(PROBE);
  if (p == nullptr) return;
  std::free(p);
  if (size < 1) return;
  if ((ptr = std::malloc((size_t)size)) != nullptr) {
    got = size;
    return;
  }
  if (size - PROBE <= GAP) return;
  int64_t good = PROBE, bad = size, tried = PROBE;
  while (bad - good > GAP) {
    int64_t mid = good + (bad - good) / 2;
    tried = mid;
    if ((p = std::malloc((size_t)mid)) != nullptr) {
      std::free(p);
      good = mid;
    } else {
      bad = mid;
    }
  }
  int64_t n = (tried - RESERVE) / 8 * 8;
  if (n < PROBE) return;
  if ((ptr = std::malloc((size_t)n)) != nullptr) got = n;
}

void RELEASEHEAP(void* ptr) { std::free(ptr); }

int32_t strlen_(const char* field200) {
  int32_t k = 200;
  while (k > 0 && field200[k - 1] == ' ') --k;
  return k;
}

int32_t strlen0_(const char* s) { return (int32_t)std::strlen(s); }

void cpack_(int32_t n, const void* src, void* dst) {
  for (int32_t i = 0; i < n; ++i) static_cast<char*>(dst)[i] = static_cast<const char*>(src)[i];
}
void cunpack_(int32_t n, const void* src, void* dst) { cpack_(n, src, dst); }

namespace {
// sifts x down from position j within positions 1..m
void siftdown(int32_t x, int32_t j, int32_t m, int32_t* index, const int32_t* key) {
  for (int64_t c = 2LL * j; c <= m; c = 2LL * j) {
    if (c < m && key[index[c + 1]] > key[index[c]]) ++c;
    if (key[x] >= key[index[c]]) break;
    index[j] = index[c];
    j = (int32_t)c;
  }
  index[j] = x;
}
}  // namespace

void heapit_(int32_t n, int32_t unused, int32_t* index, const int32_t* key) {
  for (int32_t j = n / 2; j >= 1; --j) siftdown(index[j], j, n, index, key);
}

void heapfr_(int32_t n, int32_t unused, int32_t* index, const int32_t* key) {
  if (n <= 1) return;
  int32_t x = index[n];
  index[n] = index[1];
  siftdown(x, 1, n - 1, index, key);
}
