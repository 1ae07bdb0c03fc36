// Random draws: the generator step, @RAND's draw and the stratified points.
#include "generate/randfn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(Randfn, GeneratorAndDraw) {
  int32_t seed = 1;
  EXPECT_EQ(BRrand(&seed), 742938285 * 4.656612875e-10);
  EXPECT_EQ(seed, 742938285);
  seed = 0;
  EXPECT_EQ(BRrand(&seed), 0.0);
  EXPECT_EQ(seed, 0);
  // The full period keeps every value inside 1 .. 2^31 - 2.
  seed = 2147483646;
  for (int i = 0; i < 1000; ++i) {
    double u = BRrand(&seed);
    ASSERT_GT(seed, 0);
    ASSERT_LT(u, 1.0);
  }
  double s = 2.25, r = 0;
  randlf_(s, r);
  EXPECT_EQ(s, 0.25);
  EXPECT_NEAR(r, 0.3364893994294107, 1e-15);  // 536870912 advanced one step
  double s2 = -2.25, r2 = 0;
  randlf_(s2, r2);
  EXPECT_EQ(r2, r);
  double z = 0.0, rz = 0;  // a zero fraction draws from 1
  randlf_(z, rz);
  int32_t one = 1;
  EXPECT_EQ(rz, BRrand(&one) / 4.656612875e-10 * 4.656612873077393e-10);
}

TEST(Randfn, StratifiedPoints) {
  int32_t seed = 12345;
  std::vector<int32_t> strata(3);
  std::vector<double> scratch(64), pts(64 * 3, -1.0);
  BRqrand(0, 2, pts.data(), &seed, strata.data(), scratch.data());
  EXPECT_EQ(seed, 12345);
  EXPECT_EQ(pts[0], -1.0);
  // dim 2, n 5: a 2 x 2 grid of four points, then one more point.
  BRqrand(5, 2, pts.data(), &seed, strata.data(), scratch.data());
  int cells[2][2] = {};
  std::vector<int> xs, ys;
  for (int p = 0; p < 4; ++p) {
    double x = pts[2 * p], y = pts[2 * p + 1];
    ASSERT_GE(x, 0.0); ASSERT_LT(x, 1.0); ASSERT_GE(y, 0.0); ASSERT_LT(y, 1.0);
    ++cells[(int)(x * 2)][(int)(y * 2)];
    xs.push_back((int)(x * 4));
    ys.push_back((int)(y * 4));
  }
  for (auto& row : cells) for (int c : row) EXPECT_EQ(c, 1);
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  EXPECT_EQ(xs, (std::vector<int>{0, 1, 2, 3}));  // one point in each quarter
  EXPECT_EQ(ys, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_GE(pts[8], 0.0);
  EXPECT_EQ(pts[10], -1.0);
  // dim 3, n 27: one batch of 27 points stratified into 27 intervals per dimension.
  const int32_t n = 27, dim = 3;
  BRQRANDF_(&n, &dim, pts.data(), &seed, strata.data(), scratch.data());
  for (int d = 0; d < 3; ++d) {
    std::vector<int> iv;
    for (int p = 0; p < 27; ++p) iv.push_back((int)(pts[p * 3 + d] * 27));
    std::sort(iv.begin(), iv.end());
    for (int i = 0; i < 27; ++i) EXPECT_EQ(iv[i], i) << d;
  }
}
