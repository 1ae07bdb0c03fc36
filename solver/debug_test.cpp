// Unit test of DEBUG: the rows it names form an irreducible infeasible set.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "solver/solve_test_fixture.h"

namespace {
using Session = SolveSession;

struct Row {
  const char* name;
  const char* text;
};
const Row kRows[] = {{"R1", "X + Y <= 2"},     {"R2", "X + Y + Z >= 5"}, {"R3", "Z <= 1"},
                     {"R4", "X - Y <= 7"},     {"R5", "Y + Z <= 10"},    {"R6", "X + 2 * Y >= 1"}};

// Model text of the rows whose names are listed (all rows when the list is empty).
std::string model(const std::vector<std::string>& keep) {
  std::string t = "MAX = X;\n";
  for (const Row& r : kRows) {
    bool in = keep.empty();
    for (const auto& k : keep) in = in || k == r.name;
    if (in) t += std::string("[") + r.name + "] " + r.text + ";\n";
  }
  return t;
}

// Solution status after solving the model of the listed rows.
int32_t solvedstatus(const std::vector<std::string>& keep) {
  Session s;
  s.text(model(keep).c_str());
  s.captured([&] { solver_(s.W, s.L, 0, " "); });
  return s.L.MODSTAT;
}
}  // namespace

// The named rows are infeasible together, and dropping any one of them leaves a feasible
// model; rows outside the conflict are not named.
TEST(Debug, NamedRowsAreAnIrreducibleInfeasibleSet) {
  Session s;
  s.text(model({}).c_str());
  std::string out = s.captured([&] { dodebug_(s.W, s.L); });
  std::istringstream in(out);
  std::vector<std::string> named;
  bool listing = false;
  for (std::string line; std::getline(in, line);) {
    if (line == " Sufficient Rows:" || line == " Necessary Rows:") {
      listing = true;
    } else if (listing && line.rfind("   ", 0) == 0) {
      named.push_back(line.substr(3));
    } else if (line.find_first_not_of(' ') != std::string::npos) {
      listing = false;
    }
  }
  std::vector<std::string> sorted = named;
  std::sort(sorted.begin(), sorted.end());
  ASSERT_EQ(sorted, (std::vector<std::string>{"R1", "R2", "R3"})) << out;
  EXPECT_EQ(solvedstatus(named), 3);
  for (size_t k = 0; k < named.size(); ++k) {
    std::vector<std::string> rest = named;
    rest.erase(rest.begin() + (long)k);
    EXPECT_NE(solvedstatus(rest), 3) << "without " << named[k];
  }
}
