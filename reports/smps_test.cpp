// SMPS: the written MPS file states the loaded model (the library, the import and the
// COIN-OR command-line solvers all find its optimum), a model MPS cannot carry leaves the
// target untouched, and no model writes nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "bresk/test_util.h"
#include "reports/exchange_fixture.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(QUIRN_SOURCE_DIR) / "tests" / "data";
const fs::path kEdge = fs::path(QUIRN_SOURCE_DIR) / "tests" / "e2e" / "rmps_sections" / "files";

std::string slurp(const fs::path& f) {
  std::ifstream in(f);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The objective a command-line solver reports after the marker (and, when given, after
// the text then) for a file; NAN when it reports none.
double cmdobjective(const std::string& cmd, const std::string& marker, const std::string& then = "") {
  std::string out = (fs::path(testing::TempDir()) / "smps_cmd.txt").string();
  if (std::system((cmd + " > " + out + " 2>&1").c_str()) != 0) return NAN;
  std::string text = slurp(out);
  size_t p = text.find(marker);
  if (p == std::string::npos) return NAN;
  p += marker.size();
  if (!then.empty()) {
    p = text.find(then, p);
    if (p == std::string::npos) return NAN;
    p += then.size();
  }
  return std::strtod(text.c_str() + p, nullptr);
}

bool have(const char* cmd) { return std::system((std::string("command -v ") + cmd + " > /dev/null 2>&1").c_str()) == 0; }

TEST(Smps, WrittenFileStatesTheModel) {
  struct Case {
    fs::path file;
    int format;
    bool integer;
    double constant;  // of the objective
  } cases[] = {{kData / "netlib" / "afiro.mps", 1, false, 0},
               {kData / "netlib" / "e226.mps", 1, false, 7.113},
               {kEdge / "edge.mps", 1, true, 10}};
  for (auto& c : cases) {
    int st0 = 0, st1 = 0;
    double want = optimum(c.file, c.format, st0);
    fs::path out = fs::path(testing::TempDir()) / "smps_out.mps";
    fs::remove(out);
    {
      Import s;
      ASSERT_EQ(s.load(c.file, c.format), 0);
      ASSERT_EQ(dosmp_(s.W, s.L, out.c_str(), 1), 0) << s.terminal();
      // written beside the target and moved into place: nothing else is left
      for (auto& e : fs::directory_iterator(out.parent_path()))
        EXPECT_EQ(e.path().string().find("smps_out.mps.~"), std::string::npos) << e.path();
    }
    EXPECT_NEAR(optimum(out, 0, st1), want, 1e-7 * std::fabs(want)) << c.file;
    // read back as model text by FRMPS: the text states the same problem
    {
      Import s;
      ASSERT_EQ(s.load(out, 0), 0) << s.terminal();
      int st = 0;
      std::string err;
      EXPECT_NEAR(textoptimum(s.lines(), st, err), want, 1e-6 * std::fabs(want)) << c.file << err;
    }
    std::string f = out.string();
    std::vector<std::pair<std::string, double>> found;
    if (have("cbc"))
      found.push_back({"cbc", c.integer ? cmdobjective("cbc " + f + " -solve", "Objective value:")
                                        : cmdobjective("cbc " + f + " -solve", "Optimal objective")});
    if (have("clp") && !c.integer) found.push_back({"clp", cmdobjective("clp " + f + " -primals", "Optimal objective")});
    for (auto& [who, z] : found) EXPECT_NEAR(z, want, 1e-6 * std::fabs(want)) << who << " " << c.file;
    // glpsol takes an objective right-hand side v as the constant +v where the others (and
    // this system) take -v: its optimum differs by twice the constant
    if (have("glpsol")) {
      double z = cmdobjective("glpsol --freemps " + f + " -o /dev/stdout", "Objective:  ", "= ");
      EXPECT_NEAR(z + 2 * c.constant, want, 1e-6 * std::fabs(want)) << "glpsol " << c.file;
    }
  }
}

TEST(Smps, ModelMpsCannotCarryLeavesTheTargetAlone) {
  fs::path out = fs::path(testing::TempDir()) / "smps_nonlinear.mps";
  fs::path mpi = fs::path(testing::TempDir()) / "smps_nonlinear.mpi";
  { std::ofstream(out) << "OLD\n"; }
  fs::remove(mpi);
  Import s;
  ASSERT_EQ(s.load(kEdge / "edge.mps", 1), 0);
  // a general nonlinear model in the library in place of the one read
  FBRDELETEMODEL_(s.L.MODELHANDLE);
  int32_t err = 0;
  s.L.MODELHANDLE = FBRCREATEMODEL_(s.L.ENVHANDLE, err);
  brtest::Spec nl;
  nl.nvars = 2;
  nl.obj = "x0 sin x1 +";
  nl.rows = {{'L', "x0 sqr x1 ln + 4 -"}};
  ASSERT_EQ(brtest::load(modelptr_(s.L.MODELHANDLE), nl), 0);
  EXPECT_EQ(dosmp_(s.W, s.L, out.c_str(), 1), BRERR_NOT_AVAILABLE);
  std::string term = s.terminal();
  EXPECT_NE(term.find("BRESK API routine: BRwriteMPSFile"), std::string::npos) << term;
  EXPECT_EQ(slurp(out), "OLD\n");
  // the instruction-list file carries it
  EXPECT_EQ(dosmp_(s.W, s.L, mpi.c_str(), 2), 0);
  EXPECT_EQ(slurp(mpi).rfind("BRESK-MPI 1\n", 0), 0u);
}

TEST(Smps, NoModelWritesNothing) {
  fs::path out = fs::path(testing::TempDir()) / "smps_none.mps";
  fs::remove(out);
  Import s;
  EXPECT_EQ(dosmp_(s.W, s.L, out.c_str(), 1), -1);
  EXPECT_NE(s.terminal().find("There is no current model."), std::string::npos);
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
