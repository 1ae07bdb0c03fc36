// The work array: one vector of 32-bit words, indexed from 1 as the rest of the program
// counts, carved into blocks by the block allocator. Reals and characters are copied in
// and out; nothing outside this file reinterprets the words.
#pragma once
#include <sys/mman.h>

#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

// The words of the work array. A large array is mapped as zero pages that are backed by
// memory only once written, so a big store costs only what its blocks use; a small one
// comes zeroed from calloc. fresh(n) writes nothing; assign(n, v) writes every word.
class Words {
 public:
  Words() = default;
  Words(const Words& o) { *this = o; }
  Words& operator=(const Words& o) {
    if (this != &o) {
      fresh(o.n_);
      if (o.n_) std::memcpy(p_, o.p_, o.n_ * 4);
    }
    return *this;
  }
  ~Words() { release(); }
  size_t size() const { return n_; }
  int32_t* data() { return p_; }
  const int32_t* data() const { return p_; }
  int32_t& operator[](size_t k) { return p_[k]; }
  const int32_t& operator[](size_t k) const { return p_[k]; }
  // n words, all zero; throws std::bad_alloc when the memory cannot be had.
  void fresh(size_t n) {
    release();
    if (n == 0) return;
    if (n > SIZE_MAX / 4) throw std::bad_alloc();
    size_t bytes = n * 4;
    void* p;
    if (bytes >= MAPPED) {
      p = maphuge(bytes);
#ifdef MADV_HUGEPAGE
      // large pages where the system offers them: a big model touches the array in long
      // runs, and each small page first touched costs a fault
      ::madvise(p, bytes, MADV_HUGEPAGE);
#endif
    } else {
      p = std::calloc(n, 4);
      if (!p) throw std::bad_alloc();
    }
    p_ = static_cast<int32_t*>(p);
    n_ = n;
  }
  // n words of value v.
  void assign(size_t n, int32_t v) {
    fresh(n);
    if (v != 0)
      for (size_t k = 0; k < n; ++k) p_[k] = v;
  }
  void clear() { release(); }
  void shrink_to_fit() {}

 private:
  static constexpr size_t MAPPED = 1 << 16;  // bytes from which an array is mapped
  static constexpr size_t LARGEPAGE = size_t(2) << 20;  // a large page
  static constexpr size_t PAGE = 4096;
  // Zero pages for `bytes`; an array of a large page or more starts on a large-page
  // boundary. The words a model uses first are at its start: there they come in large
  // pages wherever the system places the mapping, and not, by that luck, in up to 2 MB of
  // small pages, a fault each, before the first whole large page.
  static void* maphuge(size_t bytes) {
    const int flags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE;
    const size_t len = (bytes + PAGE - 1) / PAGE * PAGE;
    if (len < LARGEPAGE) {
      void* p = ::mmap(nullptr, len, PROT_READ | PROT_WRITE, flags, -1, 0);
      if (p == MAP_FAILED) throw std::bad_alloc();
      return p;
    }
    const size_t room = len + LARGEPAGE - PAGE;
    void* q = ::mmap(nullptr, room, PROT_READ | PROT_WRITE, flags, -1, 0);
    if (q == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t b = reinterpret_cast<uintptr_t>(q), a = (b + LARGEPAGE - 1) & ~(uintptr_t)(LARGEPAGE - 1);
    if (a > b) ::munmap(q, a - b);
    if (b + room > a + len) ::munmap(reinterpret_cast<void*>(a + len), b + room - (a + len));
    return reinterpret_cast<void*>(a);
  }
  void release() {
    if (!p_) return;
    if (n_ * 4 >= MAPPED)
      ::munmap(p_, n_ * 4);
    else
      std::free(p_);
    p_ = nullptr;
    n_ = 0;
  }
  int32_t* p_ = nullptr;
  size_t n_ = 0;
};

struct Work {
  Words w;  // w[0] is unused: word k lives at w[k]
  // Makes the array n words long, all zero, touching none of its pages.
  void fresh(size_t n) { w.fresh(n); }
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
// n bytes from byte position from to byte position to (the ranges may overlap).
inline void cmove(Work& a, int64_t to, int64_t from, int64_t n) {
  if (n <= 0) return;
  QUIRN_WCHECK(to >= 1 && from >= 1 && (to + n + 2) / 4 < (int64_t)a.w.size() && (from + n + 2) / 4 < (int64_t)a.w.size());
  char* base = reinterpret_cast<char*>(&a.w[1]);
  std::memmove(base + (to - 1), base + (from - 1), (size_t)n);
}
// Bytes b..b+n-1 into out.
inline void cgets(const Work& a, int64_t b, char* out, int64_t n) {
  if (n <= 0) return;
  QUIRN_WCHECK(b >= 1 && (b + n + 2) / 4 < (int64_t)a.w.size());
  std::memcpy(out, reinterpret_cast<const char*>(&a.w[1]) + (b - 1), (size_t)n);
}
// n bytes of s to byte positions b..b+n-1.
inline void cputs(Work& a, int64_t b, const char* s, int64_t n) {
  if (n <= 0) return;
  QUIRN_WCHECK(b >= 1 && (b + n + 2) / 4 < (int64_t)a.w.size());
  std::memcpy(reinterpret_cast<char*>(&a.w[1]) + (b - 1), s, (size_t)n);
}
