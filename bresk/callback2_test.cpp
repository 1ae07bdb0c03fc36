// Callbacks of the integer, nonlinear, global and diagnosis solves: stopping and re-entrancy.
#include "bresk/model2_test.h"

#include <cmath>
#include <functional>
#include <numeric>

using br2::Fixture;
using br2::Model;

namespace {

using CallbackTest = Fixture;

// The callback runs a test function and returns its answer (nonzero stops the solve).
struct Probe {
  std::function<int(BRmodel*, int)> f;
  int calls = 0;
};
int probe(BRmodel* m, int loc, void* u) {
  auto* p = static_cast<Probe*>(u);
  p->calls++;
  return p->f(m, loc);
}

Model knapsack(int n) {
  Model s;
  s.sense = -1;
  s.n = n;
  s.types = std::string(n, 'B');
  s.ub.assign(n, 1.0);
  unsigned seed = 777;
  auto rnd = [&] { seed = seed * 1103515245u + 12345u; return (seed >> 16) % 100 + 1; };
  std::string obj, r1, r2;
  for (int j = 0; j < n; j++) {
    std::string x = " x" + std::to_string(j) + " * ";
    obj += std::to_string(rnd()) + x + (j ? "+ " : "");
    r1 += std::to_string(rnd()) + x + (j ? "+ " : "");
    r2 += std::to_string(rnd()) + x + (j ? "+ " : "");
  }
  s.obj = obj;
  s.rows = {{'L', r1 + "900 -"}, {'L', r2 + "900 -"}};
  return s;
}

Model wavy() {
  Model s;
  s.n = 2;
  s.obj = "x0 sqr 0.1 * 3 x0 * sin + x1 sqr 0.1 * 3 x1 * cos + +";
  s.lb = {-6, -6};
  s.ub = {6, 6};
  s.start = {4, 4};
  return s;
}

// Stopping at the first new incumbent leaves that incumbent as a feasible solution.
TEST_F(CallbackTest, StopEndsEachSolverWith2016AndTheBestPointSoFar) {
  struct Case {
    const char* name;
    Model model;
    std::function<int(BRmodel*)> solve;
    std::function<int(BRmodel*, int)> stopWhen;
    bool integer;
  };
  auto onIncumbent = [](BRmodel* m, int loc) {
    if (loc != 5) return 0;
    int ev = 0;
    EXPECT_EQ(BRgetMIPCallbackInfo(m, 1307, &ev), 0);
    return ev == 1 ? 1 : 0;
  };
  Model minlp = br2::smallMinlp();
  Model nlp = wavy();
  int nlpCalls = 0;
  std::vector<Case> cases = {
      {"integer linear", knapsack(30), BRsolveMIP, onIncumbent, true},
      {"integer nonlinear", minlp, BRsolveMIP, onIncumbent, true},
      {"nonlinear", nlp, [](BRmodel* m) { return BRoptimize(m, 0); },
       [&nlpCalls](BRmodel*, int loc) { return loc == 4 && ++nlpCalls >= 3 ? 1 : 0; }, false},
      {"global", nlp, BRsolveGOP, [](BRmodel*, int loc) { return loc == 6 ? 1 : 0; }, false},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(br2::load(m, c.model), 0);
    Probe p;
    p.f = c.stopWhen;
    ASSERT_EQ(BRsetCallback(m, probe, &p), 0);
    EXPECT_EQ(c.solve(m), 2016);
    EXPECT_GT(p.calls, 0);
    ASSERT_EQ(BRsetCallback(m, nullptr, nullptr), 0);
    int st = status();
    std::vector<double> x(c.model.n);
    if (c.integer) {
      EXPECT_EQ(st, 5);
      ASSERT_EQ(BRgetMIPSolution(m, x.data()), 0);
      for (int j = 0; j < c.model.n; j++) {
        if (c.model.types[j] != 'C') { EXPECT_EQ(x[j], std::round(x[j])); }
      }
    } else {
      EXPECT_TRUE(st == 5 || st == 12) << st;
      if (st == 5) { EXPECT_EQ(BRgetPrimalSolution(m, x.data()), 0); }
    }
  }
}

TEST_F(CallbackTest, DiagnosisStopsWithPartialSet) {
  Model s;
  s.n = 2;
  s.obj = "x0 x1 +";
  s.rows = {{'G', "x0 5 -"}, {'L', "x0 3 -"}, {'L', "x1 10 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  ASSERT_EQ(BRoptimize(m, 0), 0);
  Probe p;
  p.f = [](BRmodel* m, int loc) {
    int lps = -1;
    EXPECT_EQ(BRgetInfo(m, 1854, &lps), 0);
    EXPECT_GE(lps, 1);
    return loc == 10 ? 1 : 0;
  };
  ASSERT_EQ(BRsetCallback(m, probe, &p), 0);
  EXPECT_EQ(BRfindIIS(m, 15), 2016);
  int nsr = -1, nr = -1, nsb = -1, nb = -1, rows[8], vars[8], types[8];
  EXPECT_EQ(BRgetIIS(m, &nsr, &nr, rows, &nsb, &nb, vars, types), 0);
  EXPECT_GE(nr, 2);
}

// Inside a callback only the information queries answer; everything else gives 2020.
TEST_F(CallbackTest, OnlyInformationQueriesInsideACallback) {
  ASSERT_EQ(br2::load(m, knapsack(12)), 0);
  Probe p;
  int checked = 0;
  p.f = [&](BRmodel* m, int loc) {
    if (loc != 5 || checked++) return 0;
    double x[12], v = 0;
    int i = 0;
    EXPECT_EQ(BRsolveMIP(m), 2020);
    EXPECT_EQ(BRoptimize(m, 0), 2020);
    EXPECT_EQ(BRsolveGOP(m), 2020);
    EXPECT_EQ(BRgetMIPSolution(m, x), 2020);
    EXPECT_EQ(BRgetDualMIPsolution(m, x, x), 2020);
    EXPECT_EQ(BRfindIIS(m, 15), 2020);
    EXPECT_EQ(BRgetNLPRanges(m, x, x, x, x, x, x), 2020);
    EXPECT_EQ(BRsetModelIntParameter(m, 30, 5), 2020);
    EXPECT_EQ(BRgetMIPCallbackInfo(m, 1300, &i), 0);
    EXPECT_EQ(BRgetMIPCallbackInfo(m, 1302, &v), 0);
    EXPECT_EQ(BRgetQuickbackInfo(m, loc, 1703, &i), 0);
    EXPECT_EQ(BRgetInfo(m, 1207, &i), 0);
    return 0;
  };
  ASSERT_EQ(BRsetCallback(m, probe, &p), 0);
  ASSERT_EQ(BRsolveMIP(m), 0);
  EXPECT_EQ(checked > 0, true);
  EXPECT_EQ(status(), 1);
}

}  // namespace
