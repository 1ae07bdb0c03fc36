// Program entry.
#include "session/session.h"
#include "store/phasetime.h"

#if defined(__GLIBC__)
#include <malloc.h>
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
#endif
  phasetime_("program starts");
  int r = MAIN__();
  phasetime_("program ends");
  return r;
}
