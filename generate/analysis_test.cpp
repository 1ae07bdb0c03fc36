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
