// Heap blocks held in a table of small ids.
#include <cstdlib>
#include "store/heap.h"
#include "store/store.h"

std::vector<HeapSlot> g_heapblocks(1);

namespace {
std::vector<int32_t> g_freeids;  // ids of free slots, reused first
}

int32_t FBRMALLOC_(int32_t& id, int64_t bytes) {
  if (bytes < 1) bytes = 1;
  if (id > 0) {
    if (id >= (int32_t)g_heapblocks.size() || g_heapblocks[(size_t)id].p == nullptr) return 1;
    void* q = std::realloc(g_heapblocks[(size_t)id].p, (size_t)bytes);
    if (q == nullptr) return 1;
    g_heapblocks[(size_t)id] = {static_cast<char*>(q), bytes};
    return 0;
  }
  void* q = std::malloc((size_t)bytes);
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
      std::free(q);
      id = 0;
      return 1;
    }
    n = (int32_t)g_heapblocks.size();
    g_heapblocks.emplace_back();
  }
  g_heapblocks[(size_t)n] = {static_cast<char*>(q), bytes};
  id = n;
  return 0;
}

void FBRFREE_(int32_t id) {
  if (id < 1 || id >= (int32_t)g_heapblocks.size() || g_heapblocks[(size_t)id].p == nullptr) return;
  std::free(g_heapblocks[(size_t)id].p);
  g_heapblocks[(size_t)id] = {};
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
