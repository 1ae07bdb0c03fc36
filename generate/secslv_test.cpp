// The section solver and its rounding routines.
#include <gtest/gtest.h>

#include <cmath>

#include "generate/analysis_test_fixture.h"

TEST(Secslv, RoundingRoutines) {
  EXPECT_EQ(nearestint_(-2.5), -3);
  EXPECT_EQ(nearestint_(2.5), 3);
  EXPECT_EQ(roundup_(2.1), 3);
  EXPECT_EQ(roundup_(2.0), 2);
  EXPECT_EQ(rounddown_(-2.1), -3);
  EXPECT_EQ(rounddown_(2.9), 2);
  EXPECT_EQ(nearestint_(1.0e10), 2147483640.0);
  EXPECT_EQ(roundup_(-1.0e10), -2147483640.0);
}

TEST(Secslv, SolvesOneRowForOneVariable) {
  struct Case {
    const char* text;
    int32_t status;  // of the analysis: 0 unique, 5 not unique, 11 no root
    double x;        // the root when there is one
  };
  const Case cases[] = {
      {"X * X = 4;", 0, 2},
      {"@EXP(X) = 2;", 0, std::log(2.0)},
      {"@LOG(X) = 1;", 0, std::exp(1.0)},
      {"3 * X + 1 = 7.5;", 0, 2.1666666666666665},
      {"@FREE(X); X * X * X = -8;", 0, -2},
      {"X = -5;", 11, 0},
      {"X * X = -1;", 11, 0},
      {"@GIN(X); 2 * X = 3;", 11, 0},
      {"@GIN(X); @BND(0.2, X, 0.8); X * X = 0.25;", 11, 0},
      {"@GIN(X); 2 * X = 6;", 0, 3},
      // integer roots of nonlinear rows, which the finder only closes in on
      {"@GIN(X); X * X = 16;", 0, 4},
      {"@GIN(X); @FREE(X); X * X * X = -27;", 0, -3},
      {"@GIN(X); @EXP(X - 5) = 1;", 0, 5},
      {"@GIN(X); X * X = 15;", 11, 0},
      {"@GIN(X); @BND(0, X, 3); X * X = 16;", 11, 0},
      {"@FLOOR(X) = 2;", 5, NAN},
      // a linear row whose value at the root rounds to a few units of the last place
      {"A = 0.1986355; B = 0.156; C = 1.282; D = 0.023164;"
       " 0.75 * A + B + 0.2217 * C - 0.579 * X + D = 0;", 0, 1.0576166234887738},
  };
  for (const Case& c : cases) {
    Analysed m;
    ASSERT_TRUE(m.build(c.text)) << c.text;
    EXPECT_EQ(m.analyse(), c.status) << c.text << m.printed;
    const int32_t x = m.var("X");
    if (c.status == 0) {
      EXPECT_NEAR(m.value(x), c.x, 1e-9) << c.text;
      EXPECT_LE(std::fabs(bgetd(m.W, m.L, m.L.ROWVAL, m.L.NROWS)), 1e-9) << c.text;
    }
    if (c.status == 5) {
      double f, aux;
      int32_t st = 0;
      gcomp2_(m.W, m.L, 1, f, st, aux);
      EXPECT_EQ(f, 0.0) << c.text;
    }
    if (c.status == 11) {
      EXPECT_EQ(m.L.ERRARG2, x);
      EXPECT_EQ(struckmsg_(11), 72);
    }
  }
}
