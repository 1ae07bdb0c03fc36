// The numeric operators shared by the interpreters.
#include <gtest/gtest.h>

#include <cmath>

#include "generate/xshared.h"

// @MOD takes a shortcut for whole numbers; it must give exactly the remainder of the
// general rule, the sign of a zero result included.
TEST(SharedOperators, ModMatchesTheGeneralRemainder) {
  MasterRecord L;
  const double cases[][2] = {
      {7, 3},     {-7, 3},    {7, -3},   {-7, -3}, {6, 3},       {-6, 3},   {-0.0, 5},
      {0, -5},    {7.5, 2},   {7, 2.5},  {-7.5, 2}, {1e20, 7},   {9007199254740991.0, 97},
      {3, 1e300}, {-3, 4e15}, {1e300, 3},
  };
  for (const auto& c : cases) {
    double r = 0.0, err = 0.0;
    ASSERT_EQ(xnum2(L, OP_MOD, c[0], c[1], r, err), 0) << c[0] << " mod " << c[1];
    const double want = std::fmod(c[0], c[1]);
    EXPECT_EQ(r, want) << c[0] << " mod " << c[1];
    EXPECT_EQ(std::signbit(r), std::signbit(want)) << c[0] << " mod " << c[1];
  }
}
