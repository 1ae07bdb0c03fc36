// Program entry.
#include "session/session.h"
#include "store/phasetime.h"

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace {
// Heap the allocator takes from the system at start, its pages made present in one request.
constexpr size_t kHeapStart = size_t(1) << 19;

// Grows the heap by kHeapStart at once and has the kernel supply its pages in one call. On
// this kind of virtual machine each first touch of a 4 KB page is a fault of ten to twenty
// microseconds, and a small session (the reader's tables, the solver's copies of the model,
// its search) touches a hundred or more heap pages one by one; the one call costs about a
// microsecond a page. Half a megabyte with the allocator's own margin above it holds the
// whole heap of the small integer models of the benchmark. The block is freed back to the
// top of the heap, where it stays (the trim threshold is far above it), so the next
// allocations are carved from pages already present. Where the kernel does not know the
// call, or the block does not come from the break, nothing changes.
void preheap() {
  uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  void* p = std::malloc(kHeapStart);
  if (p == nullptr) return;
  // The block was carved from the top of the heap: from its start to the break is what the
  // next allocations use.
  uintptr_t from = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
  std::free(p);
  uintptr_t to = reinterpret_cast<uintptr_t>(sbrk(0)) & ~(page - 1);
#ifdef MADV_POPULATE_WRITE
  if (to > from && to - from <= 2 * kHeapStart)
    madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#endif
}
}  // namespace
#endif

int main() {
#if defined(__GLIBC__)
  // The simplex's factorisation and the branch-and-bound's copies of it allocate and free
  // blocks from a few hundred kilobytes to several megabytes at every refactorisation. With
  // the allocator's start-up thresholds each such free at the top of the heap hands the pages
  // back and the next allocation faults them in again, which on a small integer model costs
  // a third of the solve. Set at once the thresholds the allocator would otherwise reach only
  // after its first large free: blocks below 32 MB come from the heap, and free memory at its
  // top goes back only past 64 MB. A large load's passing buffers are still given back by the
  // trim after the load, and blocks of 32 MB and more still come from the system and return
  // to it when freed.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  preheap();
#endif
  phasetime_("program starts");
  int r = MAIN__();
  phasetime_("program ends");
  return r;
}
