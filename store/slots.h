// Handle tables: fixed arrays of pointers whose slot numbers (1-based, 0 = none) stand for
// the objects in 32-bit fields.
#pragma once
#include <cstddef>
#include <cstdint>

// The pointer behind a slot number of a table, or nullptr.
template <class T, size_t N>
T* slotptr(T* (&table)[N], int32_t id) {
  return (id >= 1 && id < (int32_t)N) ? table[id] : nullptr;
}

// Enters a pointer in the first free slot of a table; result its slot number (0: no pointer,
// or no slot free).
template <class T, size_t N>
int32_t slotid(T* (&table)[N], T* p) {
  if (!p) return 0;
  for (int32_t i = 1; i < (int32_t)N; ++i)
    if (!table[i]) {
      table[i] = p;
      return i;
    }
  return 0;
}
