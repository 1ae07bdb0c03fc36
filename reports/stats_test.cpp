// Model statistics over a matrix copy made here.
#include "reports/report_test_fixture.h"

namespace {

// MAX = 20 P + 30 Q;  LAB: P + 2 Q <= 120;  P <= 60.
struct Matrix : ReportFixture {
  Matrix() {
    L.SLVROWS = 3;
    L.SLVCOLS = 2;
    L.MATCOLST = ints({1, 4, 6});
    L.MATROW = ints({1, 2, 3, 1, 2});
    L.MATCOEF = reals({20, 1, 1, 30, 2});
    L.MATRTYP = ints({-1, 1, 1});
    L.MATRHS = reals({0, 120, 60});
    L.MATRFLG = ints({0, 0, 0});
  }
  std::string stats() { return printed([&] { dostats_(W, L); }); }
};

}  // namespace

TEST(Statistics, LinearLayout) {
  Matrix f;
  f.L.LINLEN = 100;
  EXPECT_EQ(f.stats(),
            " \n"
            " Rows=       3 Vars=       2 No. integer vars=      0  ( all are linear)\n"
            " Nonzeros=        7 Constraint nonz=        3(        2 are +- 1) Density= 0.778\n"
            " Smallest and largest elements in abs value=    1.00000        120.000\n"
            " No. < :       2 No. =:       0 No. > :       0, Obj= MAX, GUBs <=       1\n"
            " Single cols=    0\n"
            " \n");
  // at the default width the line is still printed whole, density included
  f.L.LINLEN = 76;
  EXPECT_NE(f.stats().find("are +- 1) Density= 0.778\n"), std::string::npos);
  // only the objective row: no row counts, no GUBs, the density over one row
  Matrix g;
  g.L.SLVROWS = 1;
  g.L.MATCOLST = g.ints({1, 2, 3});
  g.L.MATROW = g.ints({1, 1});
  g.L.MATCOEF = g.reals({20, 30});
  g.L.MATRTYP = g.ints({1});
  g.L.NINTVAR = 2;
  g.L.LINLEN = 100;
  const std::string out = g.stats();
  EXPECT_NE(out.find(" Rows=       1 Vars=       2 No. integer vars=      2"), std::string::npos);
  EXPECT_NE(out.find(" No. < :       0 No. =:       0 No. > :       0, Obj= MIN, GUBs <=       0\n"),
            std::string::npos);
  EXPECT_NE(out.find(" Nonzeros=        2 Constraint nonz=        0(        0 are +- 1) Density= 0.667\n"),
            std::string::npos);
}

TEST(Statistics, NonlinearLayout) {
  Matrix f;
  bputi(f.W, f.L, f.L.MATROW, 4, -1);  // the objective is nonlinear in Q
  f.L.OBJROW = 0;
  EXPECT_EQ(f.stats(),
            " Rows=       3 Vars=       2 No. integer vars=       0\n"
            " Nonl rows=       1 Nonl vars=       1 Nonl constraints=       0\n"
            " Nonzeros=        7 Constraint nonz=        3 Density=0.778\n"
            " No. < :       2 No. =:       0 No. > :       0, Obj= N/A Single cols=    0\n"
            " \n");
}

TEST(Statistics, ScalingWarning) {
  const struct {
    double coef;
    bool warns;
  } cases[] = {{1e6, false}, {1e6 + 1, true}, {2, false}};
  for (auto& c : cases) {
    Matrix f;
    bputd(f.W, f.L, f.L.MATCOEF, 5, c.coef);
    const std::string out = f.stats();
    EXPECT_EQ(out.find("poorly scaled") != std::string::npos, c.warns) << c.coef;
  }
  Matrix f;
  f.L.SLVROWS = f.L.SLVCOLS = 0;
  EXPECT_NE(f.stats().find("Model not solved yet"), std::string::npos);
}
