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
#include "solver/solve_test_fixture.h"
#include "store/io.h"

namespace fs = std::filesystem;

namespace {

const fs::path kNetlib = fs::path(__FILE__).parent_path().parent_path() / "tests" / "data" / "netlib";

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

// A second import of the same file replaces the generated model, so GO generates and
// solves it again rather than keeping a model the import already released.
TEST(MpsImportGo, SameFileTwiceIsGeneratedAgain) {
  ImportSession s;
  for (int k = 0; k < 2; ++k) {
    ASSERT_EQ(s.import(kNetlib / "degen2.mps", 1), 0);
    const std::string go = s.go();
    EXPECT_NE(go.find("Global optimal solution found."), std::string::npos) << k << go;
    EXPECT_NE(go.find("Objective value:"), std::string::npos) << k << go;
    EXPECT_NEAR(s.L.OBJVAL, -1435.178, 1e-6) << k;
  }
}

}  // namespace
