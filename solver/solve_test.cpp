// Unit tests of the solver interface: the store across many generations, the parameter
// sequence as the library receives it, name packing and default names, and the dual
// prices of rows that the analysis solved.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "solver/solve_test_fixture.h"

namespace {
struct Session : SolveSession {
  int32_t used() const { return L.TOTWRD - L.FREEWD; }
  int32_t modelint(int32_t id) {
    int32_t v = -99;
    FBRGETMODELINTPARAMETER_(L.MODELHANDLE, id, v);
    return v;
  }
  double rowdual(int32_t r) { return DGET_(W, L.START[L.ROWDUL], r); }
};
}  // namespace

// Every generation releases the previous model first: a thousand generations leave the
// store where the second left it.
TEST(SolveDriver, StoreUsageStaysAcrossGenerations) {
  Session s;
  s.text("SETS: S /1..3/: X; ENDSETS\nMAX = @SUM(S(I): X(I));\n@FOR(S(I): X(I) <= I);");
  s.L.MREGEN = 2;
  s.go();
  s.go();
  const int32_t second = s.used();
  for (int k = 0; k < 998; ++k) s.go();
  EXPECT_EQ(s.used(), second);
  EXPECT_EQ(s.L.MODSTAT, 1);
  EXPECT_DOUBLE_EQ(s.L.OBJVAL, 6.0);
}

// The parameters reach the model as the sequence maps them.
TEST(SolveDriver, ParametersReachTheModelMapped) {
  struct Case {
    int32_t itrlim, timlim, nodesl, multis;
    int32_t want213, want52, want304, want221;
  } cases[] = {
      {0, 0, 0, 7, 2147483640, -1, 4, 1},  // limits off; a linear model starts once
      {500, 9, 3, 0, 500, 9, 3, 1},
      {1, 1, 7, 3, 1, 1, 4, 1},
  };
  for (const Case& c : cases) {
    Session s;
    s.text("MAX = X + Y;\nX + Y <= 4;");
    s.go(5);
    s.L.ITRLIM = c.itrlim;
    s.L.TIMLIM = c.timlim;
    s.L.NODESL = c.nodesl;
    s.L.MULTIS = c.multis;
    passparamstoapi_(s.W, s.L);
    EXPECT_EQ(s.modelint(213), c.want213);
    EXPECT_EQ(s.modelint(52), c.want52);
    EXPECT_EQ(s.modelint(304), c.want304);
    EXPECT_EQ(s.modelint(221), c.want221);
  }
}

// Without a model object every call of the sequence fails: one message is printed.
TEST(SolveDriver, OneParameterFailureIsReported) {
  Session s;
  s.L.MODELHANDLE = 0;
  testing::internal::CaptureStdout();
  passparamstoapi_(s.W, s.L);
  std::string out = testing::internal::GetCapturedStdout();
  size_t first = out.find("191"), again = out.find("191", first + 1);
  EXPECT_NE(first, std::string::npos);
  EXPECT_EQ(again, std::string::npos);
  EXPECT_STREQ(s.L.ERRSTR, "BRsetEnvDouPointer");
}

// A row that the analysis solved has the dual price it has when the solver keeps it.
TEST(SolveDriver, SolvedRowsKeepTheirDualPrices) {
  const char* model =
      "MAX = 3 * X + 2 * Y;\n[CAP] C = 10;\n[R1] X + Y <= C;\n[R2] X <= 6;\n[DEF] T = 2 * X + Y;";
  double dual[2][6] = {};
  for (int32_t subout = 0; subout < 2; ++subout) {
    Session s;
    s.text(model);
    s.L.SUBOUT = subout;
    s.go();
    ASSERT_EQ(s.L.MODSTAT, 1);
    EXPECT_EQ(s.L.NFIXED > 0, subout == 1);
    for (int32_t r = 1; r <= 5; ++r) dual[subout][r] = s.rowdual(r);
  }
  for (int32_t r = 1; r <= 5; ++r) EXPECT_NEAR(dual[0][r], dual[1][r], 1e-6) << "row " << r;
  EXPECT_NEAR(dual[1][2], 2.0, 1e-6);  // CAP
}

// A chain of solved rows (B defined from A, both fixed by the analysis) passes the dual
// price of a later row back to the row it depends on with the same sign in either sense.
TEST(SolveDriver, ChainedSolvedRowsKeepTheirDualPrices) {
  // rows: 1 objective, 2 D1, 3 D2, 4 R1, 5 R2; X = 4, Y = 5; raising A by one raises B by
  // two (2 x 2 through R1) and R2 by one (1): D1 is worth 5
  const double want[6] = {0.0, 0.0, 5.0, 2.0, 2.0, 1.0};
  for (const char* objective : {"MAX = 3 * X + 2 * Y;", "MIN = -3 * X - 2 * Y;"}) {
    for (int32_t subout = 0; subout < 2; ++subout) {
      Session s;
      s.text(std::string(objective) +
             "\n[D1] A = 4;\n[D2] B = 2 * A + 1;\n[R1] X + Y <= B;\n[R2] X <= A;");
      s.L.SUBOUT = subout;
      s.go();
      ASSERT_EQ(s.L.MODSTAT, 1) << objective;
      EXPECT_EQ(s.L.NFIXED, subout == 1 ? 2 : 0) << objective;
      for (int32_t r = 2; r <= 5; ++r)
        EXPECT_NEAR(s.rowdual(r), want[r], 1e-6) << objective << " SUBOUT " << subout << " row " << r;
    }
  }
}

// The prices of solved rows come from difference quotients: they stay exact for a linear
// row whose values are large and for a quadratic one, as the solver gives them when it
// keeps the rows.
TEST(SolveDriver, SolvedRowPricesAreAccurate) {
  struct Case {
    const char* model;
    int32_t row;
    double want;
  } cases[] = {
      // raising A raises both caps by a thousandth
      {"[D1] A = 5E9;\n[D2] B = A + 3E9;\nMAX = X + Y;\n[R1] X <= A / 1000;\n[R2] Y <= B / 1000;", 1, 0.002},
      {"[D1] A = 5E9;\n[D2] B = A + 3E9;\nMAX = X + Y;\n[R1] X <= A / 1000;\n[R2] Y <= B / 1000;", 2, 0.001},
      // X = sqrt(9 + r): the price of Q is 1 / (2 X) = 1/6
      {"MAX = Y;\n[Q] X ^ 2 = 9;\nY <= X + 1;", 2, 1.0 / 6.0},
  };
  for (const Case& c : cases) {
    Session s;
    s.text(c.model);
    s.go();
    ASSERT_EQ(s.L.MODSTAT, 1) << c.model;
    ASSERT_GT(s.L.NFIXED, 0) << c.model;
    EXPECT_NEAR(s.rowdual(c.row), c.want, 1e-9 * c.want) << c.model << " row " << c.row;
  }
}

// Duals of a maximisation are turned: the library's signs are those of a minimisation.
TEST(SolveDriver, MaximisationDualsAreTurned) {
  for (const char* sense : {"MAX", "MIN"}) {
    Session s;
    s.text(std::string(sense) + " = 5 * X + 4 * Y;\n6 * X + 4 * Y <= 24;\nX + 2 * Y <= 6;\n" +
           "-X + Y <= 1;\nY <= 2;\nX >= 1;");
    s.go();
    ASSERT_EQ(s.L.MODSTAT, 1) << sense;
    if (sense[1] == 'A') {
      EXPECT_NEAR(s.rowdual(2), 0.75, 1e-9);
      EXPECT_NEAR(s.rowdual(3), 0.5, 1e-9);
      EXPECT_DOUBLE_EQ(s.rowdual(1), 1.0);
    } else {
      EXPECT_NEAR(s.rowdual(6), -5.0, 1e-9);  // the binding X >= 1 of the minimisation
      EXPECT_DOUBLE_EQ(s.rowdual(1), -1.0);
    }
  }
}

// Names read back are packed without their NULs; empty names add nothing.
TEST(SolverNames, PackedNamesAndDefaultNames) {
  char buf[] = {'A', 'B', 0, 0, 'C', 0};
  char* ptr[] = {buf, buf + 3, buf + 4};
  int32_t ends[3];
  Strip0s_(3, ptr, buf, ends);
  EXPECT_EQ(std::string(buf, 3), "ABC");
  EXPECT_EQ(ends[0], 2);
  EXPECT_EQ(ends[1], 2);
  EXPECT_EQ(ends[2], 3);
  char e[] = {0, 0};
  char* ep[] = {e, e + 1};
  int32_t ee[2] = {9, 9};
  Strip0s_(2, ep, e, ee);
  EXPECT_EQ(ee[0], 0);
  EXPECT_EQ(ee[1], 0);

  MasterRecord L;
  struct { const char* prefix; int32_t width, number; const char* want; } cases[] = {
      {"R", 5, 7, "R0007"}, {"R", 3, 1234, "R1234"}, {"", 4, 12, "0012"}};
  for (auto& c : cases) {
    char name[32];
    wrtrcnam_(L, c.prefix, c.width, c.number, name);
    EXPECT_STREQ(name, c.want);
  }
}

// The statistics of a loaded model count what the library holds.
TEST(SolverNames, ObjectiveCountCountsEveryNonzeroCost) {
  Session s;
  s.text("MIN = 2 * X + 0 * Y + Z;\nX + Y + Z >= 1;\nX - Y <= 3;");
  s.go(5);
  int32_t n = -1;
  ASSERT_EQ(FBRGETOBJECTIVENZCOUNT_(s.L.MODELHANDLE, n), 0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(s.L.MODCLS, 1);  // linear, no integers
  s.text("MIN = X * X + Y;\nX + Y >= 1;\n@GIN(Y);");
  s.go(5);
  EXPECT_EQ(s.L.MODCLS, 9);  // nonlinear objective only, some integers
  EXPECT_EQ(s.L.NLROWS, 1);
  EXPECT_EQ(s.L.NLVARS, 1);
  // X only in the nonlinear part, Y only with a cost, Z with neither
  s.text("MIN = X * X + Y + 0 * Z;\nX + Y + Z >= 1;");
  s.go(5);
  ASSERT_EQ(FBRGETOBJECTIVENZCOUNT_(s.L.MODELHANDLE, n), 0);
  EXPECT_EQ(n, 2);
}
