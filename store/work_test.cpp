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
