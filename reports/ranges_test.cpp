// The range report and the range values that the language's functions read.
#include "generate/eval.h"
#include "reports/report_test_fixture.h"

namespace {

// Columns P, Q, X( A) (nonlinear); X( B) is not in the loaded model. Rows LAB and 3.
struct Ranged : ReportFixture {
  Ranged() {
    std::vector<int32_t> pos((size_t)L.VARCAP, 0);
    pos[0] = 1;
    pos[1] = 2;
    pos[(size_t)xa - 1] = 3;
    L.VARPOS = ints(pos);
    L.SLVCOLS = 3;
    L.SLVROWS = 3;
    L.MATOBJ = reals({20, 30, 0});
    L.MATVFLG = ints({0, 0, 1});
    L.RNGV1 = reals({1e30, 10, 5});
    L.RNGV2 = reals({5, 9.99e29, 0});
    L.ROWORD = ints({1, 2, 3});
    L.ROWMAP = ints({1, 2, 3});
    L.MATRHS = reals({0, 120, 60});
    L.MATRFLG = ints({0, 0});
    L.RNGR1 = reals({0, 40, 60});
    L.RNGR2 = reals({0, 60, 1e30});
  }
};

}  // namespace

TEST(RangeReport, BothTablesAtDefaultWidth) {
  Ranged f;
  const std::string want =
      " \n Ranges in which the basis is unchanged:\n \n" +
      sp(38) + "Objective Coefficient Ranges\n" +
      sp(34) + "Current        Allowable        Allowable\n" +
      sp(16) + "Variable      Coefficient         Increase         Decrease\n" +
      sp(23) + "P" + sp(9) + "20.00000" + sp(9) + "INFINITY" + sp(9) + "5.000000\n" +
      sp(23) + "Q" + sp(9) + "30.00000" + sp(9) + "10.00000" + sp(4) + "0.9990000E+30\n" +
      sp(19) + "X( A)" + sp(8) + "NONLINEAR" + sp(9) + "5.000000" + sp(14) + "0.0\n" +
      " \n" +
      sp(43) + "Righthand Side Ranges\n" +
      sp(21) + "Row          Current        Allowable        Allowable\n" +
      sp(38) + "RHS         Increase         Decrease\n" +
      sp(21) + "LAB" + sp(9) + "120.0000" + sp(9) + "40.00000" + sp(9) + "60.00000\n" +
      sp(23) + "3" + sp(9) + "60.00000" + sp(9) + "60.00000" + sp(9) + "INFINITY\n" +
      " \n";
  EXPECT_EQ(printed([&] { range_(f.W, f.L); }), want);
}

TEST(RangeReport, AccessorsGiveTheReportsNumbers) {
  Ranged f;
  double cur = -7, inc = 0, dec = 0;
  EXPECT_EQ(getrangevar_(f.W, f.L, 2, 1, cur, inc, dec), 0);
  EXPECT_EQ(cur, 30);
  EXPECT_EQ(inc, 10);
  EXPECT_EQ(dec, 9.99e29);
  EXPECT_EQ(getrangevar_(f.W, f.L, f.xa, 1, cur, inc, dec), 1);
  EXPECT_EQ(cur, 0);
  cur = -7;
  EXPECT_EQ(getrangevar_(f.W, f.L, f.xb, 1, cur, inc, dec), 2);  // not loaded
  EXPECT_EQ(cur, -7);
  EXPECT_EQ(inc, 1e30);
  EXPECT_EQ(dec, 1e30);
  EXPECT_EQ(getrangerow_(f.W, f.L, 2, 1, cur, inc, dec), 0);
  EXPECT_EQ(cur, 120);
  EXPECT_EQ(inc, 40);
  EXPECT_EQ(dec, 60);
  EXPECT_EQ(getrangerow_(f.W, f.L, 9, 1, cur, inc, dec), 2);
  // without an objective row the constraints still start at loaded position 2
  f.L.OBJROW = 0;
  EXPECT_EQ(getrangerow_(f.W, f.L, 1, 1, cur, inc, dec), 0);
  EXPECT_EQ(cur, 120);
}

TEST(RangeReport, MissingRangesAreReported) {
  Ranged f;
  f.L.RNGR2 = 0;
  const std::string out = printed([&] { range_(f.W, f.L); });
  EXPECT_NE(out.find("Range analysis not currently available"), std::string::npos);
  EXPECT_EQ(out.find("Ranges in which"), std::string::npos);
}
