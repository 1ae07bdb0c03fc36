// Large blocks on large pages. A big model's arrays (the MPS text and its tables, the work
// array, the solver's matrix copies and factorisation) are blocks of megabytes that are
// written page by page once; taking each 4 KB page from the kernel by its own fault costs
// more than the writing itself. Every block of BIGBLOCK bytes or more that operator new
// hands out is marked for transparent huge pages where the system offers them on request
// (madvise), so its 2 MB stretches come in one fault each. Small blocks, and so small
// models, are left as they are; the blocks are still malloc's, freed by free.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

#include "store/bigblocks.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define QUIRN_OWN_NEW 0
#endif
#endif
#if !defined(QUIRN_OWN_NEW) && defined(__SANITIZE_ADDRESS__)
#define QUIRN_OWN_NEW 0
#endif
#if !defined(QUIRN_OWN_NEW)
#define QUIRN_OWN_NEW 1
#endif

// Marks the whole 2 MB stretches of a block for huge pages; errors leave it as it was.
void bigblock_(void* p, size_t n) {
  if (p == nullptr || n < BIGBLOCK) return;
  constexpr uintptr_t huge = uintptr_t(2) << 20;
  uintptr_t a = reinterpret_cast<uintptr_t>(p), e = a + n;
  uintptr_t b = (a + huge - 1) & ~(huge - 1), f = e & ~(huge - 1);
  if (f > b) madvise(reinterpret_cast<void*>(b), f - b, MADV_HUGEPAGE);
}

#if QUIRN_OWN_NEW
namespace {
// A block from malloc, large ones marked; null when there is no memory. A large block
// starts on a 2 MB boundary, so that only its last part short of a whole 2 MB stretch is
// left to small pages.
void* take(size_t n) {
  if (n >= BIGBLOCK) {
    void* p = nullptr;
    if (posix_memalign(&p, size_t(2) << 20, n) == 0) {
      bigblock_(p, n);
      return p;
    }
  }
  void* p = std::malloc(n == 0 ? 1 : n);
  if (p != nullptr && n >= BIGBLOCK) bigblock_(p, n);
  return p;
}
}  // namespace

void* operator new(size_t n) {
  if (void* p = take(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t n) {
  if (void* p = take(n)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t n, const std::nothrow_t&) noexcept { return take(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return take(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
#endif
