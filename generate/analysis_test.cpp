// The structural analyser on compiled models.
#include <gtest/gtest.h>

#include "generate/analysis_test_fixture.h"

namespace {

// The model text of the chain x1 = 1, x2 = x1 + 1, ..., xn = x(n-1) + 1.
std::string chain(int n) {
  std::string t = "X1 = 1;\n";
  for (int i = 2; i <= n; ++i) t += "X" + std::to_string(i) + " = X" + std::to_string(i - 1) + " + 1;\n";
  return t;
}

}  // namespace

TEST(Struck, ChainIsSolvedInOnePass) {
  Analysed m;
  ASSERT_TRUE(m.build(chain(50)));
  EXPECT_EQ(m.analyse(), 0);
  EXPECT_EQ(m.L.NROWS, 50);
  EXPECT_EQ(m.L.NFIXED, 50);
  for (int i = 1; i <= 50; ++i) {
    const int32_t v = m.var(("X" + std::to_string(i)).c_str());
    EXPECT_DOUBLE_EQ(m.value(v), i) << i;
    EXPECT_EQ(m.kind(v), VK_FIXED);
    EXPECT_EQ(m.fixpass(v), 1);
  }
  EXPECT_NE(m.printed.find("Structural analysis, pass 1 ..."), std::string::npos);
  EXPECT_EQ(m.printed.find("pass 2"), std::string::npos);
}

TEST(Struck, OutcomesOfSmallModels) {
  struct Case {
    const char* name;
    const char* text;
    int32_t subout;
    int32_t status;
    int32_t rows, fixed, passes;
  };
  const Case cases[] = {
      {"a 2 x 2 block is left to the solver", "X + Y = 3;\nX - Y = 1;\n", 2, 0, 2, 0, 1},
      {"x - x = 0 has no unique root", "X - X = 0;\n", 2, 5, 1, 1, 1},
      {"no equalities", "MAX = X + Y;\nX + Y <= 4;\n", 2, 0, 2, 0, 1},
      {"SUBOUT 0 solves nothing", "X = 1;\nY = X + 1;\n", 0, 0, 2, 0, 1},
      {"a condition on a value solved in pass 1", "X = 2;\n@FOR(S(I) | I #LE# X: Q(I) = I);\n", 2, 0, 3, 3, 2},
      {"a condition on a decision variable", "MAX = Z;\nZ <= 4;\n@FOR(S(I) | I #LE# Z: Q(I) = I);\n", 2, 2, 2, 0, 2},
      {"a root outside the bounds", "X = -5;\n", 2, 11, 1, 1, 1},
      {"two objectives", "MAX = X;\nMIN = Y;\n", 2, 7, 1, 0, 1},
      {"a nonlinear row in linear-only mode", "X * X = 4;\n", 3, 0, 1, 0, 1},
      {"a nonlinear row otherwise", "X * X = 4;\n", 2, 0, 1, 1, 1},
      {"linear rows in linear-only mode", "X + Y = 3;\nY = 1;\n", 3, 0, 2, 2, 1},
  };
  for (const Case& c : cases) {
    Analysed m;
    std::string text = std::string("SETS:\nS /1..3/: Q;\nENDSETS\n") + c.text;
    ASSERT_TRUE(m.build(text)) << c.name << m.printed;
    m.L.SUBOUT = c.subout;
    EXPECT_EQ(m.analyse(), c.status) << c.name << m.printed;
    if (c.status == 0 || c.status == 5) {
      EXPECT_EQ(m.L.NROWS, c.rows) << c.name;
      EXPECT_EQ(m.L.NFIXED, c.fixed) << c.name;
    }
    const std::string last = "pass " + std::to_string(c.passes) + " ...";
    const std::string more = "pass " + std::to_string(c.passes + 1) + " ...";
    EXPECT_NE(m.printed.find(last), std::string::npos) << c.name << m.printed;
    EXPECT_EQ(m.printed.find(more), std::string::npos) << c.name << m.printed;
  }
}

TEST(Struck, NonUniqueRootListedOnceOverPasses) {
  Analysed m;
  ASSERT_TRUE(m.build("SETS:\nS /1..3/: Q;\nENDSETS\nX - X = 0;\nZ = 2;\n@FOR(S(I) | I #LE# Z: Q(I) = I);\n"));
  EXPECT_EQ(m.analyse(), 5);
  EXPECT_NE(m.printed.find("pass 2 ..."), std::string::npos);
  EXPECT_EQ(m.L.NUNIQ, 1);
  EXPECT_EQ(bgeti(m.W, m.L, m.L.UNIQBLK, 2), m.var("X"));
  EXPECT_EQ(struckmsg_(5), 66);
}

TEST(Calc, DefinitionsFixVariablesAtOnce) {
  struct Case {
    const char* name;
    const char* calc;
    int32_t calcstatus;  // symxec_ status of the failing statement
    double z;            // value of Z when it succeeds
  };
  const Case cases[] = {
      {"x = 5 fixes x", "X = 5;\nZ = X + 1;\n", 0, 6},
      {"5 = x is no definition", "5 = X;\n", 18, 0},
      {"a definition over a set", "@FOR(S(I): Q(I) = 10 * I);\nZ = Q(2) + Q(3);\n", 0, 50},
      {"a division by zero that no row uses", "Z = @IF(1, 7, 1 / 0);\n", 0, 7},
      {"a division by zero that the row uses", "Z = 1 / 0;\n", 6, 0},
      {"a redefinition", "Z = 1;\nZ = Z + 1;\n", 0, 2},
      {"a bound statement", "@GIN(Z);\n", 18, 0},
      {"a @WARN", "@WARN('NO', 1 #GT# 0);\n", 18, 0},
  };
  for (const Case& c : cases) {
    Analysed m;
    const std::string text = std::string("SETS:\nS /1..3/: Q;\nENDSETS\nCALC:\n") + c.calc + "ENDCALC\nW = Z;\n";
    EXPECT_EQ(m.build(text), c.calcstatus == 0) << c.name << m.printed;
    EXPECT_EQ(m.calcstatus, c.calcstatus) << c.name;
    if (c.calcstatus != 0) continue;
    const int32_t z = m.var("Z");
    EXPECT_EQ(m.kind(z), VK_DEFINED) << c.name;
    EXPECT_EQ(m.fixpass(z), 0) << c.name;
    EXPECT_EQ(m.value(z), c.z) << c.name;
    EXPECT_EQ(m.analyse(), 0) << c.name;
    EXPECT_EQ(m.L.NROWS, 1) << c.name;  // only W = Z is generated, and it fixes W
    EXPECT_EQ(m.value(m.var("W")), c.z) << c.name;
  }
  EXPECT_EQ(struckmsg_(18 + 2), 225);
}

TEST(Warn, PrintsWhenItsConditionHolds) {
  struct Case {
    const char* name;
    const char* text;
    int32_t status;
    bool printed;
  };
  const Case cases[] = {
      {"a true condition", "X = 3;\n@WARN('X IS BIG', X #GT# 2);\n", 0, true},
      {"a false condition", "X = 1;\n@WARN('X IS BIG', X #GT# 2);\n", 0, false},
      {"on a decision variable", "MAX = X;\nX <= 5;\n@WARN('X IS BIG', X #GT# 2);\n", 17, false},
  };
  for (const Case& c : cases) {
    Analysed m;
    ASSERT_TRUE(m.build(c.text)) << c.name;
    EXPECT_EQ(m.analyse(), c.status) << c.name << m.printed;
    EXPECT_EQ(m.printed.find("X IS BIG") != std::string::npos, c.printed) << c.name << m.printed;
  }
  EXPECT_EQ(struckmsg_(17), 147);
}

// A statement of many rows sizes the row arrays and the rows' index and variable lists to
// what it will reach from the pace of its first rows: they move a few times, not at every
// doubling, and end near the rows made.
TEST(Struck, RowListsGrowToTheStatementsEnd) {
  const struct { const char* name; const char* text; int32_t rows; } cases[] = {
      {"one row a member", "@FOR(S(I): X(I) <= I);\n", 40000},
      {"every other member", "@FOR(S(I) | @MOD(I, 2) #EQ# 0: X(I) + X(I - 1) <= I);\n", 20000},
      {"a loop inside the loop", "@FOR(T(K): @FOR(U(J): X(K * 100 + J - 100) >= 0));\n", 40000},
  };
  for (const auto& c : cases) {
    Analysed m;
    ASSERT_TRUE(m.build(std::string("SETS:\nS /1..40000/: X;\nT /1..400/;\nU /1..100/;\nENDSETS\n") + c.text))
        << c.name << m.printed;
    const int64_t moved = m.L.NBMOVED;
    EXPECT_EQ(m.analyse(), 0) << c.name << m.printed;
    EXPECT_EQ(m.L.NROWS, c.rows) << c.name;
    EXPECT_LE(m.L.NBMOVED - moved, 40) << c.name;
    EXPECT_LE(m.L.ROWCAP, c.rows + c.rows / 4 + 512) << c.name;
    EXPECT_LE(m.L.ROWVARCAP, 2 * c.rows + c.rows / 2 + 512) << c.name;
  }
}
