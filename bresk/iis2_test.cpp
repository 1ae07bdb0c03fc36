// Irreducible infeasible and unbounded sets.
#include "bresk/model2_test.h"

using br2::Fixture;
using br2::Model;

namespace {

using IisTest = Fixture;

struct Iis {
  int nsufrows = -1, nrows = -1, nsufbnds = -1, nbnds = -1;
  std::vector<int> rows, vars, types;
};

Iis findIis(BRmodel* m, int level) {
  Iis r;
  EXPECT_EQ(BRoptimize(m, 0), 0);
  int st = 0;
  BRgetInfo(m, 1255, &st);
  EXPECT_EQ(st, 3);
  br2::Capture cap;
  EXPECT_EQ(BRfindIIS(m, level), 0);
  EXPECT_EQ(cap.text(), "");
  r.rows.assign(16, -1);
  r.vars.assign(16, -1);
  r.types.assign(16, 0);
  EXPECT_EQ(BRgetIIS(m, &r.nsufrows, &r.nrows, r.rows.data(), &r.nsufbnds, &r.nbnds, r.vars.data(),
                     r.types.data()), 0);
  r.rows.resize(std::max(0, r.nrows));
  r.vars.resize(std::max(0, r.nbnds));
  r.types.resize(std::max(0, r.nbnds));
  return r;
}

TEST_F(IisTest, ConflictingRowsFormTheSetBothSufficient) {
  Model s;
  s.n = 2;
  s.obj = "x0 x1 +";
  s.rows = {{'G', "x0 5 -"}, {'L', "x0 3 -"}, {'L', "x1 10 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  for (int level : {15, 7, 3}) {
    SCOPED_TRACE(level);
    Iis r = findIis(m, level);
    EXPECT_EQ(r.rows, (std::vector<int>{0, 1}));
    EXPECT_EQ(r.nsufrows, 2);
    EXPECT_EQ(r.nbnds, 0);
  }
}

TEST_F(IisTest, TwoIndependentConflictsGiveOneSetOfNecessaryMembers) {
  Model s;
  s.n = 2;
  s.obj = "x0 x1 +";
  s.rows = {{'G', "x0 5 -"}, {'L', "x0 3 -"}, {'G', "x1 5 -"}, {'L', "x1 3 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  Iis r = findIis(m, 15);
  ASSERT_EQ(r.nrows, 2);
  EXPECT_TRUE(r.rows == (std::vector<int>{0, 1}) || r.rows == (std::vector<int>{2, 3}));
  EXPECT_EQ(r.nsufrows, 0);
}

TEST_F(IisTest, BoundsJoinTheSetWithTheirSide) {
  // x <= 3 as a bound against the row x >= 5; y's bounds play no part.
  Model s;
  s.n = 2;
  s.obj = "x0 x1 +";
  s.lb = {0, 0};
  s.ub = {3, 10};
  s.rows = {{'G', "x0 5 -"}, {'L', "x1 10 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  Iis r = findIis(m, 15);
  EXPECT_EQ(r.rows, (std::vector<int>{0}));
  EXPECT_EQ(r.vars, (std::vector<int>{0}));
  EXPECT_EQ(r.types, (std::vector<int>{1}));
  EXPECT_EQ(r.nsufrows, 1);
  EXPECT_EQ(r.nsufbnds, 1);
}

TEST_F(IisTest, UnboundedSetHoldsTheFreeDirection) {
  Model s;
  s.sense = -1;
  s.n = 2;
  s.obj = "x0 x1 +";
  s.rows = {{'L', "x0 x1 - 1 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  ASSERT_EQ(BRoptimize(m, 0), 0);
  int st = 0;
  BRgetInfo(m, 1255, &st);
  ASSERT_EQ(st, 4);
  ASSERT_EQ(BRfindIUS(m, 15), 0);
  int nsuf = -1, n = -1, vars[2] = {-1, -1};
  ASSERT_EQ(BRgetIUS(m, &nsuf, &n, vars), 0);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(vars[0], 1);
  EXPECT_EQ(nsuf, 1);
}

// Sides and bounds at the library's infinity: on the side no point can meet, every solve
// reports the model infeasible (Clp and Cbc stop the program on such data) and the side or
// bound is the infeasible set; on the other side it bounds nothing.
TEST_F(IisTest, SidesAndBoundsAtInfinity) {
  struct Case {
    const char* what;
    std::vector<std::pair<char, std::string>> rows;
    double lb0, ub0;
    const char* types;
    const char* obj;
    int status;   // 3 infeasible, 1 optimal (objective 3)
    int iisrow;   // the set's row, -1 for the bound of x0
  };
  const Case cases[] = {
      {"row at most -inf", {{'L', "x0 x1 + 1e300 +"}, {'L', "x1 3 -"}}, 0, 1e30, "CC", "x0 x1 +", 3, 0},
      {"row at least +inf", {{'L', "x1 3 -"}, {'G', "x0 x1 + 1e300 -"}}, 0, 1e30, "CC", "x0 x1 +", 3, 1},
      {"row equal to -inf", {{'E', "x0 x1 - 1e300 +"}, {'L', "x1 3 -"}}, 0, 1e30, "CC", "x0 x1 +", 3, 0},
      {"lower bound +inf", {{'L', "x1 3 -"}}, 1e31, 1e32, "CC", "x0 x1 +", 3, -1},
      {"upper bound -inf", {{'L', "x1 3 -"}}, -1e32, -1e31, "CC", "x0 x1 +", 3, -1},
      {"integer row", {{'G', "x0 x1 + 1e300 -"}, {'L', "x1 3 -"}}, 0, 1e30, "IC", "x0 x1 +", 3, -2},
      {"nonlinear row", {{'G', "x0 x1 + 1e300 -"}, {'L', "x1 3 -"}}, 0, 1e30, "CC", "x0 sqr x1 +", 3, -2},
      {"free sides", {{'L', "x0 x1 + 1e300 -"}, {'G', "x0 x1 - 1e300 +"}, {'L', "x0 x1 + 3 -"}}, 0, 1e30,
       "CC", "x0 x1 +", 1, -2},
      {"free sides, integer", {{'L', "x0 x1 + 1e300 -"}, {'G', "x0 x1 - 1e300 +"}, {'L', "x0 x1 + 3 -"}}, 0,
       1e30, "IC", "x0 x1 +", 1, -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Model s;
    s.sense = -1;
    s.n = 2;
    s.obj = c.obj;
    s.rows = c.rows;
    s.lb = {c.lb0, 0};
    s.ub = {c.ub0, 1e30};
    s.types = c.types;
    ASSERT_EQ(br2::load(m, s), 0);
    const bool ints = c.types[0] == 'I';
    for (int gop : {0, 1}) {
      int rc = gop ? BRsolveGOP(m) : ints ? BRsolveMIP(m) : BRoptimize(m, 0);
      EXPECT_EQ(rc, 0);
      int st = 0;
      EXPECT_EQ(BRgetInfo(m, ints ? 1300 : 1255, &st), 0);
      EXPECT_EQ(st, c.status) << gop;
      if (c.status == 1) {
        double z = 0;
        EXPECT_EQ(BRgetInfo(m, 1251, &z), 0);
        EXPECT_NEAR(z, 3.0, 1e-6);
      }
    }
    if (c.iisrow < -1) continue;
    Iis r = findIis(m, 15);
    if (c.iisrow >= 0) {
      EXPECT_EQ(r.rows, (std::vector<int>{c.iisrow}));
      EXPECT_EQ(r.nsufrows, 1);
      EXPECT_EQ(r.nbnds, 0);
    } else {
      EXPECT_EQ(r.nrows, 0);
      EXPECT_EQ(r.vars, (std::vector<int>{0}));
      EXPECT_EQ(r.nsufbnds, 1);
    }
  }
}

// Coefficients of 1e25 or more stop Clp and Cbc (and no solver gives them a meaning): every
// solve reports a numerical error in the row that holds one, the objective being -1.
TEST_F(IisTest, OversizedCoefficientsAreANumericalErrorInTheirRow) {
  struct Case {
    const char* what;
    const char* obj;
    const char* row;
    const char* types;
    int row_index;
  };
  const Case cases[] = {
      {"objective, integer", "1e29 x0 * x1 +", "x0 x1 + 5.5 -", "IC", -1},
      {"objective, continuous", "1e26 x0 * x1 +", "x0 x1 + 5.5 -", "CC", -1},
      {"row, integer", "x0 x1 +", "1e29 x0 * x1 + 5 -", "IC", 1},
      {"row, nonlinear objective", "x0 sqr x1 +", "1e300 x0 * x1 + 5 -", "CC", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Model s;
    s.sense = -1;
    s.n = 2;
    s.obj = c.obj;
    s.rows = {{'L', "x1 3 -"}, {'L', c.row}};
    s.types = c.types;
    ASSERT_EQ(br2::load(m, s), 0);
    const bool ints = c.types[0] == 'I';
    for (int gop : {0, 1}) {
      EXPECT_EQ(gop ? BRsolveGOP(m) : ints ? BRsolveMIP(m) : BRoptimize(m, 0), 0);
      int st = 0, row = -5;
      EXPECT_EQ(BRgetInfo(m, ints ? 1300 : 1255, &st), 0);
      EXPECT_EQ(st, BR_NUMERICAL_ERROR) << gop;
      EXPECT_EQ(BRgetErrorRowIndex(m, &row), 0);
      EXPECT_EQ(row, c.row_index);
    }
  }
}

// An integer variable bounded at 1e25 or more (integrality means nothing there; the integer
// search looped on one fixed at 1e29) ends the solve as a numerical error with no row, at
// once; a bound just below the limit solves.
TEST_F(IisTest, IntegerBoundsAtTheCoefficientLimitAreANumericalError) {
  for (double b : {1e29, -1e25, 9e24}) {
    for (int gop : {0, 1}) {
      SCOPED_TRACE(b);
      Model s;
      s.n = 2;
      s.obj = "x0 x1 +";
      s.rows = {{'L', "x1 3 -"}};
      s.lb = {b, 0};
      s.ub = {b, 1e30};
      s.types = "IC";
      ASSERT_EQ(br2::load(m, s), 0);
      EXPECT_EQ(gop ? BRsolveGOP(m) : BRsolveMIP(m), 0);
      int st = 0, row = 5;
      EXPECT_EQ(BRgetInfo(m, 1300, &st), 0);
      if (b != 9e24) {
        EXPECT_EQ(st, BR_NUMERICAL_ERROR) << gop;
        EXPECT_EQ(BRgetErrorRowIndex(m, &row), 0);
        EXPECT_EQ(row, -2);
      } else {
        EXPECT_NE(st, BR_NUMERICAL_ERROR) << gop;
      }
    }
  }
}

TEST_F(IisTest, OnlyLinearContinuousModelsInTheRightState) {
  Model s;
  s.n = 1;
  s.obj = "x0";
  s.rows = {{'G', "x0 1 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  ASSERT_EQ(BRoptimize(m, 0), 0);        // feasible
  EXPECT_EQ(BRfindIIS(m, 15), 2024);
  EXPECT_EQ(BRfindIUS(m, 15), 2024);
  s.types = "I";
  s.rows = {{'G', "x0 1 -"}, {'L', "x0 0.5 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  BRsolveMIP(m);
  EXPECT_EQ(BRfindIIS(m, 15), 2024);
}

}  // namespace
