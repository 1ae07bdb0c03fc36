// MPS import followed by GO: every Netlib problem of the test data, read into model text
// and generated, analysed and solved as typed text would be, reaches its published optimum;
// the free-format file SMPS writes of the solved model, read back with FRMPS, solves to
// the same optimum.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "reports/exchange.h"
#include "reports/exchange_fixture.h"
#include "solver/solve_test_fixture.h"
#include "store/io.h"

namespace fs = std::filesystem;

namespace {

const fs::path kNetlib = fs::path(QUIRN_SOURCE_DIR) / "tests" / "data" / "netlib";

struct ImportSession : SolveSession {
  ImportSession() {
    L.MAXLIN = 200;
    L.LINLEN = 76;
  }
  // RMPS (format 1) or FRMPS (format 0) of a file; the import's status.
  int32_t import(const fs::path& file, int32_t format) {
    int32_t st = -1;
    captured([&] { loadmps_(W, L, file.c_str(), format, st); });
    return st;
  }
};

TEST(MpsImportGo, NetlibProblemsReachThePublishedOptima) {
  std::ifstream opt(kNetlib / "optimal.tsv");
  std::string name;
  double want;
  int checked = 0;
  while (opt >> name >> want) {
    ImportSession s;
    ASSERT_EQ(s.import(kNetlib / (name + ".mps"), 1), 0) << name;
    std::string go = s.go();
    EXPECT_EQ(go.find("Error Code"), std::string::npos) << name << go;
    EXPECT_NE(go.find("Global optimal solution found."), std::string::npos) << name << go;
    // e226 gives its objective row a right-hand side, which the text keeps as the
    // objective's constant: the published value is the optimum without it.
    const double constant = name == "e226" ? 7.113 : 0.0;
    EXPECT_NEAR(s.L.OBJVAL - constant, want, 1e-6 * std::fabs(want)) << name;
    const double first = s.L.OBJVAL;
    // the round trip through the free format
    const std::string out = name + "_out.mps";
    ASSERT_EQ(s.captured([&] { dosmp_(s.W, s.L, out.c_str(), 1); }), "") << name;
    ASSERT_EQ(s.import(out, 0), 0) << name;
    go = s.go();
    EXPECT_NE(go.find("Global optimal solution found."), std::string::npos) << name << go;
    EXPECT_NEAR(s.L.OBJVAL, first, 1e-9 * std::fabs(first) + 1e-9) << name;
    fs::remove(out);
    ++checked;
  }
  EXPECT_EQ(checked, 25);
}

// Hand-written files, one feature of the format each: RMPS or FRMPS then GO finds the
// optimum the library finds for the file itself (objective constant included).
TEST(MpsImportGo, HandWrittenFilesSolveAsTheLibraryReadsThem) {
  // rows and columns shared by the fixed-format cases: two variables, three rows
  const std::string head =
      "NAME          CASE\nROWS\n N  COST\n L  LIM 1\n E  BAL\n G  FLOOR\nCOLUMNS\n"
      "    X 1       COST              -2.0   LIM 1              1.0\n"
      "    X 1       BAL                1.0   FLOOR              1.0\n"
      "    Y         COST              -1.0   LIM 1              1.0\n"
      "    Y         BAL               -1.0\n";
  struct Case {
    const char* what;
    int32_t format;
    std::string text;
  };
  const Case cases[] = {
      {"plain", 1, head + "RHS\n    RHS       LIM 1             10.0   FLOOR              1.0\nENDATA\n"},
      {"a right-hand side on the objective", 1,
       head + "RHS\n    RHS       LIM 1             10.0   COST               7.5\nENDATA\n"},
      {"a range on an equality, positive", 1,
       head + "RHS\n    RHS       LIM 1             10.0   BAL                2.0\n"
              "RANGES\n    RNG       BAL                3.0\nENDATA\n"},
      {"a range on an equality, negative", 1,
       head + "RHS\n    RHS       LIM 1             10.0   BAL                2.0\n"
              "RANGES\n    RNG       BAL               -3.0\nENDATA\n"},
      {"ranges on both inequalities", 1,
       head + "RHS\n    RHS       LIM 1             10.0   FLOOR              1.0\n"
              "RANGES\n    RNG       LIM 1              4.0   FLOOR             -2.0\nENDATA\n"},
      {"a negative upper bound", 1,
       head + "RHS\n    RHS       LIM 1             10.0   BAL                2.0\n"
              "BOUNDS\n UP BND       Y                 -1.0\n"
              " LO BND       Y                 -3.0\nENDATA\n"},
      {"MI and UP", 1,
       head + "RHS\n    RHS       LIM 1             10.0\nBOUNDS\n MI BND       Y\n"
              " UP BND       Y                  2.0\n UP BND       X 1                4.0\nENDATA\n"},
      {"FR with the rows bounding it", 1,
       head + "RHS\n    RHS       LIM 1             10.0   FLOOR             -5.0\n"
              "BOUNDS\n FR BND       Y\n UP BND       X 1                8.0\nENDATA\n"},
      {"FX and PL", 1,
       head + "RHS\n    RHS       LIM 1             10.0\nBOUNDS\n FX BND       Y                  2.5\n"
              " PL BND       X 1\nENDATA\n"},
      {"BV", 1, head + "RHS\n    RHS       LIM 1             10.0\nBOUNDS\n BV BND       Y\nENDATA\n"},
      {"LI and UI", 1,
       head + "RHS\n    RHS       LIM 1             10.5\nBOUNDS\n LI BND       X 1                1.0\n"
              " UI BND       X 1                4.0\nENDATA\n"},
      {"integer markers", 1,
       "NAME          MARKERS\nROWS\n N  COST\n L  CAP\nCOLUMNS\n"
       "    MARKER                 'MARKER'                 'INTORG'\n"
       "    X         COST              -3.0   CAP                2.0\n"
       "    MARKER                 'MARKER'                 'INTEND'\n"
       "    Y         COST              -1.0   CAP                1.0\n"
       "RHS\n    RHS       CAP                7.0\nBOUNDS\n UP BND       Y                  0.5\nENDATA\n"},
      {"blank set names", 1,
       head + "RHS\n              LIM 1             10.0   BAL                1.0\n"
              "RANGES\n              BAL                2.0\nBOUNDS\n UP           X 1                3.0\nENDATA\n"},
      {"free format with OBJSENSE and a negative objective right-hand side", 0,
       "NAME free\nOBJSENSE\n    MAX\nROWS\n N cost\n L lim\n E bal\nCOLUMNS\n"
       " x.1 cost 2 lim 1\n x.1 bal 1\n y-2 cost 1 lim 1\n y-2 bal -1\n"
       "RHS\n rhs lim 10 bal -2\n rhs cost -4\nRANGES\n rng bal -1.5\nENDATA\n"},
  };
  int k = 0;
  for (const Case& c : cases) {
    const std::string file = "case" + std::to_string(++k) + ".mps";
    std::ofstream(file) << c.text;
    int st0 = 0;
    const double want = optimum(file, c.format, st0);
    ASSERT_TRUE(st0 == BR_OPTIMAL || st0 == BR_BASIC_OPTIMAL) << c.what << " status " << st0;
    ImportSession s;
    ASSERT_EQ(s.import(file, c.format), 0) << c.what;
    const std::string go = s.go();
    EXPECT_NE(go.find("optimal solution found."), std::string::npos) << c.what << go;
    EXPECT_NEAR(s.L.OBJVAL, want, 1e-9 * (1 + std::fabs(want))) << c.what;
    fs::remove(file);
  }
}

}  // namespace
