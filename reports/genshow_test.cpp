// The display of the generated model: linear rows read back from the library, rebuilt
// nonlinear rows, the declarations paragraph.
#include "bresk/test_util.h"
#include "reports/genshow.h"
#include "reports/report_test_fixture.h"
#include "solver/bindings.h"

namespace {

// P, Q (integer), X( A) (binary), X( B) in [-inf, 5] loaded into the library.
struct Gen : ReportFixture {
  brtest::Fixture lib;
  Gen() {
    L.VARORD = ints({1, 2, xa, xb});
    L.ROWORD = ints({1, 2, 3});
    brtest::Spec s;
    s.sense = -1;
    s.obj = "x0 20 * x1 30 * + x2 + x3 -";
    s.rows = {{'L', "x0 x1 2 * + 120 -"}, {'G', "x0 x3 - 4 +"}};
    s.nvars = 4;
    s.lb = {0, 0, 0, -1e30};
    s.ub = {1e30, 1e30, 1, 5};
    s.types = "CIBC";
    EXPECT_EQ(brtest::load(lib.m, s), 0);
    L.MODELHANDLE = modelid_(lib.m);
    L.SLVCOLS = 4;
    L.SLVROWS = 3;
  }
  ~Gen() { L.MODELHANDLE = 0; }
  std::string text(const std::string& code, int32_t sense, char type, int32_t* status = nullptr) {
    brtest::Code c;
    c.add(code);
    std::string t;
    const int32_t st = codetotext_(W, L, c.words.data(), (int32_t)c.words.size(), c.pool.data(),
                                   (int32_t)c.pool.size(), sense, type, t);
    if (status) *status = st;
    return t;
  }
};

}  // namespace

TEST(GeneratedModel, LinearRowsAndDeclarations) {
  Gen f;
  EXPECT_EQ(printed([&] { displaygeneratedmodel_(f.W, f.L); }),
            " \n"
            "MODEL:\n"
            "   [_1] MAX= 20 * P + 30 * Q + X_A - X_B ;\n"
            "   [LAB] P + 2 * Q <= 120 ;\n"
            "   [_3] P - X_B >= - 4 ;\n"
            "   @GIN( Q); @BIN( X_A); @BND( -1e+30, X_B, 5) ;\n"
            "END\n"
            " \n");
}

TEST(GeneratedModel, NonlinearRowsRebuiltFromTheirCode) {
  Gen f;
  const struct {
    const char* code;
    int32_t sense;
    char type;
    const char* text;
  } cases[] = {
      {"x0 x1 * 3 x2 * +", -1, 0, "MAX= P * Q + 3 * X_A ;"},
      {"x0 x0 * 5 -", 0, 'L', "P * P <= 5 ;"},
      {"x0 x0 * 5 -", 0, 'G', "P * P >= 5 ;"},
      {"x0 5 - x1 *", 0, 'E', "P - 5 * Q ;"},  // a MINUS that does not end the row
      {"x0 not", 0, 'E', "#NOT# P ;"},
      {"x0 neg", 0, 'E', "- P ;"},
      {"x0 sqrt #1070 #1 #1070 #72", 0, 'E', "@SQRT( P ) ;"},
      {"x0 2 ^ #1070 #1 #1070 #73", 0, 'E', "@POW( P , 2 ) ;"},
      {"x0 2 ^", 0, 'E', "P ^ 2 ;"},
      {"x0 sqr", 0, 'E', "@SQR( P ) ;"},
      {"x0 sqr #1070 #1 #1070 #74", 0, 'E', "@SQR( P ) ;"},
      {"1 x0 *", 0, 'E', "P ;"},
      {"0 x0 +", 0, 'E', "P ;"},
      {"x0 x1 mod #1070 #1 #1070 #75", 0, 'E', "@MOD( P , Q ) ;"},
      {"x0 #0 x1 +", 0, 'E', "P + Q ;"},
  };
  for (auto& c : cases) EXPECT_EQ(f.text(c.code, c.sense, c.type), c.text) << c.code;
  // what cannot be shown is reported, never a stop
  int32_t st = 0;
  EXPECT_EQ(f.text("x0 #1099", 0, 'E', &st), "");
  EXPECT_EQ(st, 3);
  std::string deep = "x0 ";
  for (int i = 0; i < 300; ++i) deep += "1 + ";  // a long row, never more than two objects
  f.text(deep, 0, 'E', &st);
  EXPECT_EQ(st, 0);
  deep.clear();
  for (int i = 0; i < 300; ++i) deep += "x0 ";
  f.text(deep, 0, 'E', &st);
  EXPECT_EQ(st, 3);
}

TEST(GeneratedModel, LegalNamesAndWrapping) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"X( A, B)", "X_A_B"}, {"1", "_1"}, {"FLOW( 12)", "FLOW_12"}, {"A-B", "A_B"}};
  for (auto& c : cases) {
    char out[64];
    int32_t n = (int32_t)std::strlen(c.in);
    legalname_(c.in, out, n);
    EXPECT_EQ(std::string(out, (size_t)n), c.out);
  }
  Gen f;
  f.L.LINLEN = 30;
  EXPECT_EQ(printed([&] { displayrow_(f.L, "R", "AAAA + BBBB + CCCC + DDDD ;"); }),
            "   [R] AAAA +\n      BBBB + CCCC\n      + DDDD ;\n");  // wrapped before column 18
}

TEST(GeneratedModel, NonlinearObjectiveFromTheScalarLists) {
  Gen f;
  f.L.HEAP_SWITCH = 0;  // lists in the work store
  brtest::Code c;
  c.add("x0 x1 * x2 +");
  f.L.SLINS = f.ints(c.words);
  f.L.SLINSN = (int32_t)c.words.size();
  f.L.SLCON = f.reals({1.0});
  f.L.SLCONN = 0;
  f.L.SLOBJST = 0;
  f.L.SLOBJLN = (int32_t)c.words.size();
  f.L.SLSENSE = -1;
  f.L.MATROW = f.ints({-1, 2});  // an objective entry marked nonlinear
  f.L.MATNZ = 2;
  const std::string out = printed([&] { displaygeneratedmodel_(f.W, f.L); });
  EXPECT_NE(out.find("\n   [_1] MAX= P * Q + X_A ;\n   [LAB] P + 2 * Q <= 120 ;\n"), std::string::npos) << out;
  // a code it does not know leaves the row undisplayed and the report goes on
  bputi(f.W, f.L, f.L.SLINS, 5, 1099);
  const std::string bad = printed([&] { displaygeneratedmodel_(f.W, f.L); });
  EXPECT_NE(bad.find("   [_1] ! This row cannot be displayed. ;\n   [LAB]"), std::string::npos) << bad;
  EXPECT_NE(bad.find("END\n"), std::string::npos);
}
