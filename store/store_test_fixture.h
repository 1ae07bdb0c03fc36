// A small work store for the store's unit tests.
#pragma once
#include <memory>
#include "store/store.h"

struct TestStore {
  std::unique_ptr<MasterRecord> rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work a;
  explicit TestStore(int32_t words) {
    init_(L);
    a.w.assign((size_t)words + 1, 0);
    L.TOTWRD = words;
    intmem_(a, L);
  }
  // a new block of n words (type 2), filled with the handle number
  int32_t take(int32_t n) {
    int32_t h = 0, st = -1;
    setblk_(2, n, a, L, h, st);
    for (int32_t k = 0; k < L.LEN[h]; ++k) a.w[(size_t)(L.START[h] + k)] = h * 1000 + k;
    return h;
  }
  bool intact(int32_t h, int32_t n) const {
    for (int32_t k = 0; k < n; ++k)
      if (a.w[(size_t)(L.START[h] + k)] != h * 1000 + k) return false;
    return true;
  }
};
