// Heap blocks held in a table of small ids.
#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include "store/heap.h"
#include "store/store.h"

std::vector<HeapSlot> g_heapblocks(1);

namespace {
std::vector<int32_t> g_freeids;  // ids of free slots, reused first
}

namespace {
constexpr int64_t PAGE = 4096;

int64_t pages(int64_t bytes) { return (bytes + PAGE - 1) / PAGE * PAGE; }

// A large block mapped with large pages where the system offers them: a big model's lists
// are written in long runs, and each small page first touched costs a fault. Growing it
// remaps the pages instead of copying them.
char* mapblock(char* old, int64_t oldbytes, int64_t bytes) {
  void* q = old ? ::mremap(old, (size_t)pages(oldbytes), (size_t)pages(bytes), MREMAP_MAYMOVE)
                : ::mmap(nullptr, (size_t)pages(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (q == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
  ::madvise(q, (size_t)pages(bytes), MADV_HUGEPAGE);
#endif
  return static_cast<char*>(q);
}
}  // namespace

int32_t FBRMALLOC_(int32_t& id, int64_t bytes) {
  if (bytes < 1) bytes = 1;
  if (id > 0) {
    if (id >= (int32_t)g_heapblocks.size() || g_heapblocks[(size_t)id].p == nullptr) return 1;
    HeapSlot& s = g_heapblocks[(size_t)id];
    char* q;
    if (s.mapped) {
      q = mapblock(s.p, s.bytes, bytes);
    } else if (bytes >= HEAPMAPFROM) {
      q = mapblock(nullptr, 0, bytes);
      if (q) {
        std::memcpy(q, s.p, (size_t)std::min(s.bytes, bytes));
        std::free(s.p);
      }
    } else {
      q = static_cast<char*>(std::realloc(s.p, (size_t)bytes));
    }
    if (q == nullptr) return 1;
    s = {q, bytes, s.mapped || bytes >= HEAPMAPFROM};
    return 0;
  }
  const bool big = bytes >= HEAPMAPFROM;
  char* q = big ? mapblock(nullptr, 0, bytes) : static_cast<char*>(std::malloc((size_t)bytes));
  if (q == nullptr) {
    id = 0;
    return 1;
  }
  int32_t n;
  if (!g_freeids.empty()) {
    n = g_freeids.back();
    g_freeids.pop_back();
  } else {
    if (g_heapblocks.size() >= (size_t)INT32_MAX) {
      if (big) ::munmap(q, (size_t)pages(bytes));
      else std::free(q);
      id = 0;
      return 1;
    }
    n = (int32_t)g_heapblocks.size();
    g_heapblocks.emplace_back();
  }
  g_heapblocks[(size_t)n] = {q, bytes, big};
  id = n;
  return 0;
}

void FBRFREE_(int32_t id) {
  if (id < 1 || id >= (int32_t)g_heapblocks.size() || g_heapblocks[(size_t)id].p == nullptr) return;
  HeapSlot& s = g_heapblocks[(size_t)id];
  if (s.mapped) ::munmap(s.p, (size_t)pages(s.bytes));
  else std::free(s.p);
  s = {};
  g_freeids.push_back(id);
}

void setblkcm_(int32_t type, int32_t& count, int32_t& id, int32_t& status) {
  int64_t c = count < 0 ? 0 : count;
  int64_t n = (c + 31) / 32 * 32;
  int64_t s = typsiz_(type);
  if (s == 0) s = 1;
  int64_t bytes = n * s < 8 ? 8 : n * s;
  if (n > INT32_MAX) {
    status = 1;
    return;
  }
  status = FBRMALLOC_(id, bytes);
  if (status == 0) count = (int32_t)n;
}

void rlsblkcm_(int32_t& id) {
  if (id == 0) return;
  FBRFREE_(id);
  id = 0;
}

int32_t heapcount_() { return (int32_t)(g_heapblocks.size() - 1 - g_freeids.size()); }
