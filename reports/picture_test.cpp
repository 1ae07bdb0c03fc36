// The matrix picture: magnitude characters, the grid with its guide marks and relation
// part, and strips of a wide model.
#include <sstream>
#include "reports/report_test_fixture.h"

namespace {

// MAX = 20 P + 30 Q;  LAB: P + 2 Q <= 120;  P <= 60.
struct Pic : ReportFixture {
  Pic() {
    L.SLVROWS = 3;
    L.SLVCOLS = 2;
    L.MATCOLST = ints({1, 4, 6});
    L.MATROW = ints({1, 2, 3, 1, 2});
    L.MATCOEF = reals({20, 1, 1, 30, 2});
    L.MATRTYP = ints({-1, 1, 1});
    L.MATRHS = reals({0, 120, 60});
    L.VARORD = ints({1, 2});
    L.ROWORD = ints({1, 2, 3});
    L.ROWTYPES = ints({2, 1, 1});
  }
  std::string pic() { return printed([&] { dopic_(W, L); }); }
};

}  // namespace

TEST(MatrixPicture, MagnitudeCharacters) {
  const struct {
    double x;
    char c;
  } cases[] = {{3, '3'},     {9, '9'},   {3.5, 'A'},  {-0.05, 'U'}, {1e6, 'G'},   {1e-7, 'Z'},
               {1e-6, 'Y'},  {0.5, 'T'}, {10, 'B'},   {99.9, 'B'},  {100, 'C'},   {12, 'B'},
               {999999, 'F'}, {1e120, 'G'}, {0, 'Z'},  {1, '1'},     {10.0, 'B'}};
  for (auto& c : cases) EXPECT_EQ(piccoef_(c.x), c.c) << c.x;
}

TEST(MatrixPicture, GridGuideMarksAndRelations) {
  Pic f;
  EXPECT_EQ(f.pic(),
            " \n"
            "       P Q\n"
            " \n"
            "    1: B B  MAX\n"
            "  LAB: 1 2  < C\n"
            "    3: 1  ' < B\n"
            " \n");
  // a negative and a zero right-hand side, a nonlinear entry
  bputd(f.W, f.L, f.L.MATRHS, 2, -12);
  bputd(f.W, f.L, f.L.MATRHS, 3, 0);
  bputi(f.W, f.L, f.L.MATROW, 5, -2);
  const std::string out = f.pic();
  EXPECT_NE(out.find("  LAB: 1 ?  <-B\n"), std::string::npos);
  EXPECT_NE(out.find("    3: 1  ' < 0\n"), std::string::npos);
}

TEST(MatrixPicture, WideModelsPrintInStrips) {
  Pic f;
  f.L.LINLEN = 64;
  f.L.NVARS = 2;  // columns 3.. are named past the model's variables
  const int32_t v = 40;
  std::vector<int32_t> st, rows;
  std::vector<double> co;
  for (int32_t j = 1; j <= v; ++j) {
    st.push_back((int32_t)rows.size() + 1);
    rows.push_back(2);
    co.push_back(j);
  }
  st.push_back((int32_t)rows.size() + 1);
  f.L.SLVCOLS = v;
  f.L.MATCOLST = f.ints(st);
  f.L.MATROW = f.ints(rows);
  f.L.MATCOEF = f.reals(co);
  std::istringstream in(f.pic());
  std::vector<std::string> lab;
  for (std::string s; std::getline(in, s);)
    if (s.rfind("  LAB:", 0) == 0) lab.push_back(s);
  // W = 3: 29 columns fit a strip of 64 characters, then the last 11 with the relation
  ASSERT_EQ(lab.size(), 2u);
  EXPECT_EQ(lab[0], "  LAB: 1 2 3 4 5 6 7 8 9 B B B B B B B B B B B B B B B B B B B B");
  EXPECT_EQ(lab[1], "  LAB: B B B B B B B B B B B  < C");
}
