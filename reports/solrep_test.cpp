// The solution report: its columns at two line widths, NONZ, heading texts, name keys and
// its warnings.
#include "reports/report_test_fixture.h"

namespace {

// The maximisation P = 60, Q = 30 with dual prices 15 and 5 (objective 2100).
struct Solved : ReportFixture {
  Solved() {
    var(1, 60, 0);
    var(2, 30, 0);
    var(xa, 0, -1.5);
    var(xb, 1e-12, 2e6);  // below the zero tolerance: prints as zero
    row(1, 2100, 1);
    row(2, 0, 15);
    row(3, 1e-12, 5);
  }
  std::string report(int32_t all, const std::string& head = "", const std::string& key = "") {
    return printed([&] {
      outsol_(W, L, all, head.data(), (int32_t)head.size(), key.data(), (int32_t)key.size());
    });
  }
};

}  // namespace

TEST(SolutionReport, ColumnsWithDualsAtDefaultWidth) {
  Solved f;
  const std::string want =
      " \n" +
      sp(23) + "Variable           Value        Reduced Cost\n" +
      sp(30) + "P" + sp(8) + "60.00000" + sp(11) + "0.0000000\n" +
      sp(30) + "Q" + sp(8) + "30.00000" + sp(11) + "0.0000000\n" +
      sp(26) + "X( A)" + sp(7) + "0.0000000" + sp(11) + "-1.500000\n" +
      sp(26) + "X( B)" + sp(7) + "0.0000000" + sp(12) + "2000000.\n" +
      " \n" +
      sp(28) + "Row    Slack or Surplus      Dual Price\n" +
      sp(30) + "1" + sp(8) + "2100.000" + sp(12) + "1.000000\n" +
      sp(28) + "LAB" + sp(7) + "0.0000000" + sp(12) + "15.00000\n" +
      sp(30) + "3" + sp(7) + "0.0000000" + sp(12) + "5.000000\n" +
      " \n";
  EXPECT_EQ(f.report(1), want);
}

TEST(SolutionReport, NarrowLinesAndModelsWithoutDuals) {
  {
    Solved f;  // LINLEN 46 with duals: no name field at all
    f.L.LINLEN = 46;
    const std::string want =
        " \n Variable           Value        Reduced Cost\n" +
        sp(9) + "60.00000" + sp(11) + "0.0000000\n" + sp(9) + "30.00000" + sp(11) + "0.0000000\n" +
        " \n Row    Slack or Surplus      Dual Price\n" + sp(8) + "0.0000000" + sp(12) + "15.00000\n" +
        sp(8) + "0.0000000" + sp(12) + "5.000000\n \n";
    EXPECT_EQ(f.report(0), want);
  }
  {
    Solved f;  // no objective row: no dual columns whatever DUALCO; the name field is 50 wide
    f.L.OBJROW = 0;
    f.L.DUALCO = 2;
    EXPECT_EQ(f.report(1, "", "q"),
              " \n" + sp(43) + "Variable           Value\n" + sp(50) + "Q" + sp(8) + "30.00000\n \n");
    EXPECT_EQ(f.report(1, "", "lab"), " \n" + sp(48) + "Row    Slack or Surplus\n" + sp(48) +
                                          "LAB" + sp(7) + "0.0000000\n \n");
  }
}

TEST(SolutionReport, NonzerosOnlyPrintsNonzeroValuesAndBindingRows) {
  Solved f;
  const std::string out = f.report(0);
  EXPECT_NE(out.find(sp(30) + "P"), std::string::npos);
  EXPECT_NE(out.find(sp(30) + "Q"), std::string::npos);
  EXPECT_EQ(out.find("X( A)"), std::string::npos);
  EXPECT_EQ(out.find("X( B)"), std::string::npos);  // 1e-12 is chopped to zero
  EXPECT_EQ(out.find(sp(30) + "1 "), std::string::npos);  // the objective row is not binding
  EXPECT_NE(out.find("LAB"), std::string::npos);
  EXPECT_NE(out.find(sp(30) + "3" + sp(7) + "0.0000000"), std::string::npos);  // chopped slack
}

TEST(SolutionReport, HeadingTextGivesBareValues) {
  Solved f;
  EXPECT_EQ(f.report(1, "Shadow test", "X"), " Shadow test\n" + sp(8) + "0.0000000\n" + sp(8) +
                                                 "0.0000000\n \n");
  const std::string all = f.report(0, "Shadow test");
  // NONZ: the two nonzero variables, then the two binding rows
  EXPECT_EQ(all, " Shadow test\n" + sp(9) + "60.00000\n" + sp(9) + "30.00000\n" + sp(8) +
                     "0.0000000\n" + sp(8) + "0.0000000\n \n");
}

TEST(SolutionReport, KeyThatMatchesNothingPrintsNoHeadings) {
  Solved f;
  EXPECT_EQ(f.report(1, "", "XY"), " \n");
}

TEST(SolutionReport, NameKeys) {
  struct {
    const char* key;
    const char* name;
    bool match;
  } cases[] = {
      {"X", "X", true},          {"X", "X( 1, 2)", true},   {"X", "XY", false},
      {"x(1,2)", "X( 1, 2)", true}, {"x(1", "X( 1, 2)", false}, {"x ( 1 , 2 )", "X( 1, 2)", true},
      {"", "ANY", true},         {"X", "", false},          {"XYZ", "XY", false},
      {"X", "X  ", true},        {"LAB", "lab", true},
  };
  for (auto& c : cases) {
    const int32_t r = cmpnam_(c.key, c.name, (int32_t)std::strlen(c.key), (int32_t)std::strlen(c.name));
    EXPECT_EQ(qtest(r), c.match) << c.key << " / " << c.name;
  }
  char t[8] = {'A', 'B', ' ', ' ', ' ', 'Z', 0, 0};
  rtjust_(t, 5);
  EXPECT_EQ(std::string(t, 6), "   ABZ");
  char b[4] = {' ', ' ', ' ', 0};
  rtjust_(b, 3);
  EXPECT_EQ(std::string(b), "   ");
}

TEST(SolutionReport, WarningsGoBeforeTheReport) {
  Solved f;
  f.L.DUALOK = QFALSE;  // duals asked for but not left by the solve: primal columns only
  std::string out = f.report(0, "", "P");
  EXPECT_NE(out.find("A dual solution does not exist"), std::string::npos);
  EXPECT_NE(out.find(sp(50) + "P" + sp(8) + "60.00000"), std::string::npos);
  f.L.NINTVAR = 2;  // integer models have no duals to speak of: no message
  out = f.report(0, "", "P");
  EXPECT_EQ(out.find("A dual solution does not exist"), std::string::npos);
  f.L.MODSTAT = 3;  // not a solution: warned, printed all the same
  out = f.report(0, "", "P");
  EXPECT_NE(out.find("may be nonoptimal/infeasible"), std::string::npos);
  EXPECT_NE(out.find("60.00000"), std::string::npos);
}

TEST(SolutionReport, FixedRowsWithManyRootsAndAMissingSetTable) {
  Solved f;
  f.L.UNIQBLK = f.ints({3, 1});  // row 3 fixed P with a root that is not unique
  f.L.NUNIQ = 1;
  std::string out = f.report(1, "", "P");
  const size_t warn = out.find("non-unique roots");
  ASSERT_NE(warn, std::string::npos) << out;
  EXPECT_LT(warn, out.find("60.00000"));  // warned first, then the report as usual
  f.L.OBJROW = 0;  // without an objective the list of fixed rows is not reported
  out = f.report(1, "", "P");
  EXPECT_EQ(out.find("non-unique roots"), std::string::npos);

  Solved g;
  g.L.LASTUB = 0;  // the set table lost its attribute starts: scalars, then message 88
  out = g.report(1);
  const size_t undefined = out.find("Solution is currently undefined.");
  ASSERT_NE(undefined, std::string::npos) << out;
  EXPECT_LT(out.find(sp(30) + "Q"), undefined);
  EXPECT_EQ(out.find("X( A)"), std::string::npos);
  EXPECT_EQ(out.find("Slack or Surplus"), std::string::npos);  // the report ends there
  EXPECT_EQ(out.substr(out.size() - 3), "\n \n");
}
