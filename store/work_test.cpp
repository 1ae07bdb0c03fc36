#include "store/work.h"
#include <gtest/gtest.h>

TEST(Work, RealsAndCharactersRoundTrip) {
  Work a;
  a.w.assign(9, 0);
  dput(a, 3, -1e307);
  EXPECT_EQ(dget(a, 3), -1e307);
  cput(a, wbyte(2) + 1, 'Q');
  EXPECT_EQ(cget(a, 6), 'Q');
  wput(a, 8, 42);
  EXPECT_EQ(wget(a, 8), 42);
}

// A fresh array of a large page or more starts on a large-page boundary, whatever the
// system's placement; every size is zero and writable from its first word to its last,
// and is released and taken again cleanly.
TEST(Work, LargeArraysStartOnALargePage) {
  constexpr size_t kLarge = size_t(2) << 20;
  const size_t words[] = {16, 1 << 14, kLarge / 4 - 1, kLarge / 4, kLarge / 4 + 1, (size_t(32) << 18) + 1};
  for (int round = 0; round < 2; ++round) {
    for (size_t n : words) {
      SCOPED_TRACE(n);
      Words w;
      w.fresh(n);
      ASSERT_EQ(w.size(), n);
      if (n * 4 >= kLarge) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(w.data()) % kLarge, 0u);
      }
      EXPECT_EQ(w[0], 0);
      EXPECT_EQ(w[n - 1], 0);
      w[0] = 7;
      w[n - 1] = 9;
      EXPECT_EQ(w[0] + w[n - 1], 16);
    }
  }
}
