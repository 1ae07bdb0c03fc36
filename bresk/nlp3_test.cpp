// Nonlinear solves at the edges: points that only look optimal, rows at overflow and
// functions that underflow.
#include "bresk/model2_test.h"

#include <cmath>

using br2::Fixture;
using br2::Model;

namespace {

using NlpEdgeTest = Fixture;

// HS problem 2, min 100 (x1 - x0^2)^2 + (1 - x0)^2 with x0 in [-10, 10], x1 >= 1.5 and a
// large finite upper bound on x1, from (-2, 1). Its local optimum is 0.0504262 at
// (1.2244, 1.5). A run ended at (1.4796, 2.2126), where the gradient is (-12.8, 4.6) and no
// bound is active, and called it a local optimum; every solve that says "local optimum"
// must give the stationary point.
TEST_F(NlpEdgeTest, ALocalOptimumIsStationaryInTheModelItself) {
  struct Case {
    double upper;
    int starts;
    bool gop;
  };
  const Case cases[] = {{1e20, 1, false}, {1e20, 20, false}, {1e20, 1, true}, {1e30, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE("upper " + std::to_string(c.upper) + ", starts " + std::to_string(c.starts) +
                 (c.gop ? ", global" : ""));
    Model s;
    s.n = 2;
    s.obj = "x1 x0 sqr - sqr 100 * 1 x0 - sqr +";
    s.lb = {-10, 1.5};
    s.ub = {10, c.upper};
    s.start = {-2, 1};
    ASSERT_EQ(br2::load(m, s), 0);
    ASSERT_EQ(BRsetModelIntParameter(m, 221, c.starts), 0);
    ASSERT_EQ(c.gop ? BRsolveGOP(m) : BRoptimize(m, 0), 0);
    const int st = status();
    EXPECT_TRUE(st == 8 || st == 2) << st;
    if (st == 8) {
      EXPECT_NEAR(objective(), 0.0504261879, 1e-7);
      double x[2];
      ASSERT_EQ(BRgetPrimalSolution(m, x), 0);
      EXPECT_NEAR(x[0], 1.2243707, 1e-5);
      EXPECT_NEAR(x[1], 1.5, 1e-6);
    }
  }
}

// A row at the program's overflow value (exp of 706.9 and beyond is 1e307) ends the solve at
// once as a numerical error naming the row, whether the start point is already there or
// the run keeps heading there; it used to spend the whole iteration cap and then claim an
// interruption.
TEST_F(NlpEdgeTest, RowsAtOverflowAreANumericalErrorInThatRow) {
  struct Case {
    const char* what;
    const char* obj;
    const char* row;
    double start;
    int row_index;
  };
  const Case cases[] = {
      {"min exp(y), y >= 800", "x0 exp", "x0 800 -", 1.2345678806304932, -1},
      {"min exp(y), y >= 800, from 900", "x0 exp", "x0 800 -", 900, -1},
      {"min y, exp(y) >= 1, from 800", "x0", "x0 exp 1 -", 800, 0},
  };
  for (const Case& c : cases) {
    for (int starts : {1, 5}) {
      SCOPED_TRACE(std::string(c.what) + ", starts " + std::to_string(starts));
      Model s;
      s.n = 1;
      s.obj = c.obj;
      s.rows = {{'G', c.row}};
      s.start = {c.start};
      s.lb = {-1e30};
      ASSERT_EQ(br2::load(m, s), 0);
      ASSERT_EQ(BRsetModelIntParameter(m, 221, starts), 0);
      EXPECT_EQ(BRoptimize(m, 0), 0);
      EXPECT_EQ(status(), 11);
      int row = -5, iters = 0;
      ASSERT_EQ(BRgetErrorRowIndex(m, &row), 0);
      EXPECT_EQ(row, c.row_index);
      ASSERT_EQ(BRgetInfo(m, 1261, &iters), 0);
      EXPECT_LT(iters, 200);
    }
  }
}

// exp of an argument at or below -706.9 is the program's underflow value, not an evaluation
// failure: min x + exp(-x) with x >= 708 is 708, locally, globally and with an integer
// variable beside it (which failed with a numerical error).
TEST_F(NlpEdgeTest, ExpUnderflowIsAValue) {
  for (int kind = 0; kind < 3; kind++) {
    SCOPED_TRACE(kind == 0 ? "local" : kind == 1 ? "global" : "integer");
    Model s;
    s.n = 2;
    s.obj = "x0 0 x0 - exp + x1 +";
    s.rows = {{'G', "x0 708 -"}};
    s.lb = {0, 0};
    s.ub = {1e30, 3};
    s.types = kind == 2 ? "CI" : "CC";
    ASSERT_EQ(br2::load(m, s), 0);
    EXPECT_EQ(kind == 0 ? BRoptimize(m, 0) : kind == 1 ? BRsolveGOP(m) : BRsolveMIP(m), 0);
    int st = status();
    if (kind == 2) {
      EXPECT_EQ(BRgetInfo(m, 1300, &st), 0);
    }
    EXPECT_TRUE(st == 1 || st == 8) << st;
    EXPECT_NEAR(objective(), 708.0, 1e-6 * 708);
  }
}

}  // namespace
