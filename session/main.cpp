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

// The block that fills the heap up to a 2 MB boundary, held for the whole session.
void* g_heapfill = nullptr;

// Moves the free top of the heap to a 2 MB boundary and asks for large pages on the 4 MB
// past it. The session's first megabytes of small blocks (the record, the model's lists,
// the solver's copies of the model and its factors) then come in a fault or two instead of a
// fault per 4 KB page, about 240 of the 570 faults of a small integer model. The filling
// block is written only at its header, in a page the heap already had, so it takes no memory;
// when the allocator does not place it where the heap's top was, nothing is changed.
void largePageHeap() {
  constexpr uintptr_t huge = uintptr_t{2} << 20;
  constexpr size_t stretch = 2 * huge;
  constexpr uintptr_t word = sizeof(size_t);   // a block's size field; its header is two
  const uintptr_t top = reinterpret_cast<uintptr_t>(sbrk(0)) - mallinfo2().keepcost;
  // The filling block ends where the top's header then sits, in the last page below the
  // boundary, so that the first block after it starts on the boundary.
  const uintptr_t boundary = (top + 8 * word + huge - 1) & ~(huge - 1);
  mallopt(M_TOP_PAD, stretch);   // the heap grows past the boundary by the stretch at once
  void* fill = std::malloc(boundary - 2 * word - top - word);
  mallopt(M_TOP_PAD, 128 << 10);   // the allocator's own default again
  if (fill != reinterpret_cast<void*>(top + 2 * word)) {
    std::free(fill);
    return;
  }
  g_heapfill = fill;
  const uintptr_t last = reinterpret_cast<uintptr_t>(sbrk(0)) & ~(huge - 1);
  if (last > boundary) madvise(reinterpret_cast<void*>(boundary), last - boundary, MADV_HUGEPAGE);
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
  largePageHeap();
#endif
  phasetime_("program starts");
  int r = MAIN__();
  phasetime_("program ends");
  return r;
}
