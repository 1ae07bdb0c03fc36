// The linearity check on generated rows, and its coefficients against the numeric
// interpreter.
#include <gtest/gtest.h>

#include <random>

#include "generate/analysis_test_fixture.h"

TEST(Lincheck, ClassifiesEachRowForEachVariable) {
  struct Case {
    const char* row;
    int32_t x, y;  // results for X and for Y
  };
  const Case cases[] = {
      {"X + Y <= 1", 1, 1},
      {"3 * X - C <= 1", 0, 4},
      {"X * Y <= 1", 1, 1},
      {"X / Y <= 1", 1, 3},
      {"X / 2 <= 1", 0, 4},
      {"@LOG(X) <= 1", 3, 4},
      {"@IF(C #GT# 1, X, X * X) <= 1", 0, 4},
      {"@IF(#NOT# C, X * X, 2 * X) <= 1", 0, 4},
      {"X + X - 2 * X <= 1", 4, 4},
      {"X / (C - 2) <= 1", 5, 4},
      {"X ^ 1 + Y ^ 2 <= 1", 1, 3},
      {"@SUM(S(I) | C #GT# I: I * X) <= 10", 0, 4},
      // last: generated in pass 2, once Z is solved
      {"@SUM(S(I) | Z #GT# I: I) + X <= 10", 0, 4},
  };
  std::string text = "SETS:\nS /1..3/;\nENDSETS\nCALC:\nC = 2;\nENDCALC\nZ = 2;\n";
  for (const Case& c : cases) text += std::string(c.row) + ";\n";
  Analysed m;
  ASSERT_TRUE(m.build(text)) << m.printed;
  ASSERT_EQ(m.analyse(), 0) << m.printed;
  ASSERT_EQ(m.L.NROWS, (int32_t)(sizeof cases / sizeof cases[0]) + 1);
  const int32_t x = m.var("X"), y = m.var("Y");
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> u(0.5, 4.0);
  int32_t rz = -1;
  xecute_lincheck_(m.W, m.L, m.L.NROWS, m.var("Z"), rz);
  EXPECT_EQ(rz, 3);  // a condition on the chosen variable
  for (int32_t r = 2; r <= m.L.NROWS; ++r) {
    const Case& c = cases[r - 2];
    int32_t rx = -1, ry = -1;
    double coef = 0.0, unused;
    xecute_lincheck_(m.W, m.L, r, x, rx, coef);
    xecute_lincheck_(m.W, m.L, r, y, ry, unused);
    EXPECT_EQ(rx, c.x) << c.row;
    EXPECT_EQ(ry, c.y) << c.row;
    if (rx != 0) continue;
    // the coefficient is the slope of the row in X at two random points
    for (int k = 0; k < 2; ++k) {
      const double x0 = u(rng);
      bputd(m.W, m.L, m.L.VARVAL, y, u(rng));
      double f0, f1, aux;
      int32_t st0 = 0, st1 = 0;
      bputd(m.W, m.L, m.L.VARVAL, x, x0);
      gcomp2_(m.W, m.L, r, f0, st0, aux);
      bputd(m.W, m.L, m.L.VARVAL, x, x0 + 1.0);
      gcomp2_(m.W, m.L, r, f1, st1, aux);
      ASSERT_EQ(st0 + st1, 0) << c.row;
      EXPECT_NEAR(f1 - f0, coef, 1e-9) << c.row;
    }
  }
}
