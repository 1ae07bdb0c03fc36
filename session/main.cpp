// Program entry.
#include "session/session.h"
#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main() {
#if defined(__GLIBC__)
  // Blocks of a megabyte and more come from the system and go back to it when freed: the
  // passing buffers of a large model's load then never stay resident as free heap.
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
  return MAIN__();
}
