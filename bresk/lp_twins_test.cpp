// Linear models with a large group of identical columns: the solve gives the same status,
// objective and duals as the solve without reductions, each column within its bounds, and
// a basis that ranging can use.
#include "bresk/internal.h"
#include "bresk/test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using brtest::Fixture;
using brtest::Spec;

namespace {

constexpr int kTwins = 1500;

// sum of x0..x{k-1}, each times coef, in the loader's postfix form
std::string twin_sum(int k, const char* coef) {
  std::string s;
  for (int j = 0; j < k; ++j)
    s += std::string(coef) + " x" + std::to_string(j) + " *" + (j ? " + " : " ");
  return s;
}

struct Outcome {
  int status = 0;
  double z = 0;
  std::vector<double> x, y;
};

Outcome solve(const Spec& s, int presolve) {
  Fixture f;
  Outcome o;
  EXPECT_EQ(BRsetModelIntParameter(f.m, 28, presolve), 0);
  EXPECT_EQ(brtest::load(f.m, s), 0);
  EXPECT_EQ(BRoptimize(f.m, 0), 0);
  BRgetInfo(f.m, 1255, &o.status);
  if (o.status != 1) return o;
  BRgetInfo(f.m, 1251, &o.z);
  o.x.resize(s.nvars);
  o.y.resize(s.rows.size());
  EXPECT_EQ(BRgetPrimalSolution(f.m, o.x.data()), 0);
  EXPECT_EQ(BRgetDualSolution(f.m, o.y.data()), 0);
  std::vector<double> cd(s.nvars), ci(s.nvars), rd(s.rows.size()), ri(s.rows.size());
  EXPECT_EQ(BRgetObjectiveRanges(f.m, cd.data(), ci.data()), 0);
  EXPECT_EQ(BRgetConstraintRanges(f.m, rd.data(), ri.data()), 0);
  return o;
}

TEST(BreskLpTwins, SameOutcomeAsWithoutReductions) {
  struct Case {
    const char* name;
    int sense;
    const char* cost;                                   // each twin's cost
    std::vector<std::pair<char, std::string>> rows;     // over the twins' sum S and y
    double ub;                                          // each twin's upper bound
    int status;
    double z;
  };
  const std::string S = twin_sum(kTwins, "1");
  const std::string y = " x" + std::to_string(kTwins);
  const Case cases[] = {
      // the group's value ends inside one member
      {"fractional", -1, "2", {{'L', S + y + " + 1000.5 -"}, {'L', S + y + " 2 * + 1200.25 -"}}, 1,
       1, 2200.75},
      // every member at its upper bound
      {"full", -1, "2", {{'L', S + y + " + 2000 -"}, {'L', S + y + " 2 * + 2100 -"}}, 1, 1, 3900},
      // members without an upper bound, a minimisation
      {"unbounded members", 1, "1", {{'G', S + y + " - 5.5 -"}}, 1e30, 1, 5.5},
      // more than the members can give together
      {"infeasible", -1, "1", {{'G', S + " 1600 -"}}, 1, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Spec s;
    s.sense = c.sense;
    s.nvars = kTwins + 1;
    s.obj = twin_sum(kTwins, c.cost) + "3" + y + " * +";
    s.rows = c.rows;
    s.lb.assign(s.nvars, 0.0);
    s.ub.assign(s.nvars, c.ub);
    s.ub[kTwins] = 1e30;
    const Outcome merged = solve(s, 2), plain = solve(s, 0);
    ASSERT_EQ(merged.status, c.status);
    ASSERT_EQ(plain.status, c.status);
    if (c.status != 1) continue;
    EXPECT_NEAR(merged.z, c.z, 1e-6);
    EXPECT_NEAR(plain.z, c.z, 1e-6);
    for (size_t i = 0; i < merged.y.size(); ++i) EXPECT_NEAR(merged.y[i], plain.y[i], 1e-7) << i;
    double sum = 0, plain_sum = 0;
    for (int j = 0; j < kTwins; ++j) {
      EXPECT_GE(merged.x[j], -1e-9) << j;
      EXPECT_LE(merged.x[j], c.ub + 1e-9) << j;
      sum += merged.x[j];
      plain_sum += plain.x[j];
    }
    EXPECT_NEAR(sum, plain_sum, 1e-6);
    EXPECT_NEAR(merged.x[kTwins], plain.x[kTwins], 1e-6);
  }
}

} // namespace
