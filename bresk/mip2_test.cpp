// Integer solves on Cbc: optima against brute-force enumeration, statuses, limits, duals.
#include "bresk/mip.h"
#include "bresk/model2_test.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <string>

using br2::Capture;
using br2::Fixture;
using br2::Model;

namespace {

using MipTest = Fixture;

// Sum of coef[k] * x[k] as postfix text.
std::string linear(const std::vector<double>& coef, const std::vector<int>& var) {
  std::string s;
  for (size_t k = 0; k < coef.size(); k++) {
    s += std::to_string(coef[k]) + " x" + std::to_string(var[k]) + " *";
    if (k) s += " +";
    s += " ";
  }
  return s;
}

// A maximisation over n binary variables, objective and rows still to be written.
Model binaryMax(int n) {
  Model s;
  s.sense = -1;
  s.n = n;
  s.types = std::string(n, 'B');
  s.ub.assign(n, 1.0);
  return s;
}

// Status and objective of the last integer solve; the library's result code.
int mipStatusAndObjective(BRmodel* m, int& st, double& z) {
  return BRgetCurrentMIPSolutionInfo(m, &st, &z, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr);
}

std::vector<double> mipSolution(BRmodel* m, int n) {
  std::vector<double> x(n, -1.0);
  EXPECT_EQ(BRgetMIPSolution(m, x.data()), 0);
  return x;
}

TEST_F(MipTest, IntegerLpReachesTwentyAtFourZero) {
  Model s;
  s.sense = -1;
  s.n = 2;
  s.types = "II";
  s.obj = "5 x0 * 4 x1 * +";
  s.rows = {{'L', "6 x0 * 4 x1 * + 24 -"}, {'L', "x0 2 x1 * + 6 -"},
            {'L', "x1 x0 - 1 -"}, {'L', "x1 2 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  Capture cap;
  ASSERT_EQ(BRsolveMIP(m), 0);
  EXPECT_EQ(cap.text(), "");
  int st = 0;
  double z = 0;
  ASSERT_EQ(mipStatusAndObjective(m, st, z), 0);
  EXPECT_EQ(st, 1);
  EXPECT_NEAR(z, 20.0, 1e-9);
  int s1300 = 0;
  ASSERT_EQ(BRgetInfo(m, 1300, &s1300), 0);
  EXPECT_EQ(s1300, 1);
  auto x = mipSolution(m, 2);
  EXPECT_NEAR(x[0], 4.0, 1e-9);
  EXPECT_NEAR(x[1], 0.0, 1e-9);
  std::vector<double> sl(4);
  ASSERT_EQ(BRgetMIPSlacks(m, sl.data()), 0);
  EXPECT_NEAR(sl[0], 0.0, 1e-9);   // 24 - 24
  EXPECT_NEAR(sl[1], 2.0, 1e-9);   // 6 - 4
  EXPECT_NEAR(sl[2], 5.0, 1e-9);   // 1 - (0 - 4)
  EXPECT_NEAR(sl[3], 2.0, 1e-9);
}

// The iteration count of an integer solve covers the root relaxation: at least the
// iterations that the relaxation alone takes, and the last progress call carries the total.
// Linear models count simplex iterations (Cbc), nonlinear ones interior-point iterations
// (Bonmin); a continuous solve reports no extended steps.
int lastIters(BRmodel* m, int loc, void* u) {
  int* out = static_cast<int*>(u);
  BRgetQuickbackInfo(m, loc, 1703, &out[0]);
  BRgetQuickbackInfo(m, loc, 1707, &out[1]);
  return 0;
}

TEST_F(MipTest, IterationCountsIncludeTheRootRelaxation) {
  struct Case {
    const char* name;
    Model model;
    int item;   // 1259 simplex or 1261 interior-point iterations
  };
  Model lp;
  lp.sense = -1;
  lp.n = 2;
  lp.types = "II";
  lp.obj = "5 x0 * 4 x1 * +";
  lp.rows = {{'L', "6 x0 * 4 x1 * + 24 -"}, {'L', "x0 2 x1 * + 6 -"}, {'L', "x1 x0 - 1 -"},
             {'L', "x1 2 -"}};
  Model nlp;
  nlp.n = 2;
  nlp.types = "II";
  nlp.obj = "x0 sin x1 +";
  nlp.rows = {{'G', "x0 x1 + 3.5 -"}};
  nlp.ub = {5, 1e30};
  for (auto& c : {Case{"linear", lp, 1259}, Case{"nonlinear", nlp, 1261}}) {
    SCOPED_TRACE(c.name);
    Model relaxed = c.model;
    relaxed.types = "CC";
    ASSERT_EQ(br2::load(m, relaxed), 0);
    ASSERT_EQ(BRoptimize(m, 0), 0);
    int root = 0;
    ASSERT_EQ(BRgetInfo(m, c.item, &root), 0);
    ASSERT_GT(root, 0);
    ASSERT_EQ(br2::load(m, c.model), 0);
    int last[2] = {-1, -1};
    ASSERT_EQ(BRsetCallback(m, lastIters, last), 0);
    ASSERT_EQ(BRsolveMIP(m), 0);
    int total = 0;
    ASSERT_EQ(BRgetInfo(m, c.item, &total), 0);
    EXPECT_GE(total, root);
    EXPECT_EQ(last[0], total);
    ASSERT_EQ(BRsetCallback(m, nullptr, nullptr), 0);
  }
  Model qp;
  qp.n = 2;
  qp.obj = "x0 1 - sqr x1 2 - sqr +";
  qp.rows = {{'L', "x0 x1 + 2 -"}};
  qp.lb = {-1e30, -1e30};
  qp.ub = {1e30, 1e30};
  ASSERT_EQ(BRsetModelIntParameter(m, 219, 1), 0);
  ASSERT_EQ(br2::load(m, qp), 0);
  int last[2] = {-1, -1};
  ASSERT_EQ(BRsetCallback(m, lastIters, last), 0);
  ASSERT_EQ(BRoptimize(m, 0), 0);
  EXPECT_EQ(last[1], 0);
  ASSERT_EQ(BRsetCallback(m, nullptr, nullptr), 0);
  ASSERT_EQ(BRsetModelIntParameter(m, 219, 0), 0);
}

// Records the objective of every incumbent the integer search reports as found.
int foundIncumbents(BRmodel* m, int loc, void* u) {
  if (loc != BR_LOC_MIP) return 0;
  int event = 0;
  BRgetMIPCallbackInfo(m, 1307, &event);
  if (event == 1) {
    double best = 0;
    BRgetMIPCallbackInfo(m, 1301, &best);
    static_cast<std::vector<double>*>(u)->push_back(best);
  }
  return 0;
}

TEST_F(MipTest, EachIncumbentReportedAsFoundImprovesOnTheLast) {
  // a 60-item knapsack with a second row, where the search's heuristics meet the same
  // solution more than once
  const int n = 60;
  Model s = binaryMax(n);
  std::vector<double> w(n), v(n), half;
  std::vector<int> all(n), first;
  for (int k = 0; k < n; ++k) {
    w[k] = 10 + (k + 1) * 37 % 41;
    v[k] = 5 + (k + 1) * 53 % 47;
    all[k] = k;
    if (k < 30) {
      half.push_back(w[k]);
      first.push_back(k);
    }
  }
  s.obj = linear(v, all);
  s.rows = {{'L', linear(w, all) + "700 -"}, {'L', linear(half, first) + "330 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  std::vector<double> found;
  ASSERT_EQ(BRsetMIPCallback(m, foundIncumbents, &found), 0);
  ASSERT_EQ(BRsolveMIP(m), 0);
  ASSERT_EQ(BRsetMIPCallback(m, nullptr, nullptr), 0);
  ASSERT_FALSE(found.empty());
  for (size_t k = 1; k < found.size(); ++k) EXPECT_GT(found[k], found[k - 1]) << "report " << k;
  int st = 0;
  double obj = 0;
  ASSERT_EQ(mipStatusAndObjective(m, st, obj), 0);
  EXPECT_NEAR(found.back(), obj, 1e-9);
  EXPECT_NEAR(obj, 1026.0, 1e-9);
}

// Knapsack, assignment and facility location, each against full enumeration.
TEST_F(MipTest, OptimaMatchEnumeration) {
  struct Case {
    const char* name;
    Model model;
    double best;
  };
  std::vector<Case> cases;
  {  // Knapsack: 12 binaries, one capacity row.
    std::vector<double> v = {10, 13, 7, 8, 15, 4, 9, 11, 6, 12, 5, 14};
    std::vector<double> w = {5, 7, 3, 4, 8, 2, 5, 6, 3, 7, 2, 9};
    int n = static_cast<int>(v.size());
    double best = 0;
    for (int mask = 0; mask < (1 << n); mask++) {
      double vv = 0, ww = 0;
      for (int j = 0; j < n; j++)
        if (mask >> j & 1) { vv += v[j]; ww += w[j]; }
      if (ww <= 26) best = std::max(best, vv);
    }
    Model s = binaryMax(n);
    std::vector<int> idx(n);
    std::iota(idx.begin(), idx.end(), 0);
    s.obj = linear(v, idx);
    s.rows = {{'L', linear(w, idx) + "26 -"}};
    cases.push_back({"knapsack", s, best});
  }
  {  // Assignment: 5 x 5 binaries, every row and column once.
    const int k = 5;
    double c[k][k] = {{9, 2, 7, 8, 6}, {6, 4, 3, 7, 5}, {5, 8, 1, 8, 9}, {7, 6, 9, 4, 3}, {2, 7, 6, 5, 8}};
    std::vector<int> p(k);
    std::iota(p.begin(), p.end(), 0);
    double best = 1e30;
    do {
      double t = 0;
      for (int i = 0; i < k; i++) t += c[i][p[i]];
      best = std::min(best, t);
    } while (std::next_permutation(p.begin(), p.end()));
    Model s;
    s.n = k * k;
    s.types = std::string(k * k, 'B');
    s.ub.assign(k * k, 1.0);
    std::vector<double> cost;
    std::vector<int> all;
    for (int i = 0; i < k; i++)
      for (int j = 0; j < k; j++) { cost.push_back(c[i][j]); all.push_back(i * k + j); }
    s.obj = linear(cost, all);
    for (int i = 0; i < k; i++) {
      std::vector<int> r, q;
      for (int j = 0; j < k; j++) { r.push_back(i * k + j); q.push_back(j * k + i); }
      s.rows.push_back({'E', linear(std::vector<double>(k, 1.0), r) + "1 -"});
      s.rows.push_back({'E', linear(std::vector<double>(k, 1.0), q) + "1 -"});
    }
    cases.push_back({"assignment", s, best});
  }
  {  // Facility location: open y_i (binary), serve each customer j fully from open sites.
    const int F = 4, C = 6;
    double f[F] = {12, 9, 14, 8};
    double c[F][C] = {{2, 6, 9, 4, 7, 3}, {5, 2, 4, 8, 3, 6}, {8, 5, 2, 3, 6, 9}, {4, 9, 7, 2, 5, 4}};
    double best = 1e30;
    for (int mask = 1; mask < (1 << F); mask++) {
      double t = 0;
      for (int i = 0; i < F; i++)
        if (mask >> i & 1) t += f[i];
      for (int j = 0; j < C; j++) {
        double cj = 1e30;
        for (int i = 0; i < F; i++)
          if (mask >> i & 1) cj = std::min(cj, c[i][j]);
        t += cj;
      }
      best = std::min(best, t);
    }
    Model s;
    s.n = F + F * C;   // y_i then x_ij
    s.types = std::string(F, 'B') + std::string(F * C, 'C');
    s.ub.assign(s.n, 1.0);
    std::vector<double> cost;
    std::vector<int> all;
    for (int i = 0; i < F; i++) { cost.push_back(f[i]); all.push_back(i); }
    for (int i = 0; i < F; i++)
      for (int j = 0; j < C; j++) { cost.push_back(c[i][j]); all.push_back(F + i * C + j); }
    s.obj = linear(cost, all);
    for (int j = 0; j < C; j++) {
      std::vector<int> r;
      for (int i = 0; i < F; i++) r.push_back(F + i * C + j);
      s.rows.push_back({'E', linear(std::vector<double>(F, 1.0), r) + "1 -"});
      for (int i = 0; i < F; i++)
        s.rows.push_back({'L', "x" + std::to_string(F + i * C + j) + " x" + std::to_string(i) + " -"});
    }
    cases.push_back({"facility location", s, best});
  }
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(br2::load(m, c.model), 0);
    ASSERT_EQ(BRsolveMIP(m), 0);
    EXPECT_EQ(status(), 1);
    EXPECT_NEAR(objective(), c.best, 1e-6);
    auto x = mipSolution(m, c.model.n);
    for (int j = 0; j < c.model.n; j++) {
      if (c.model.types[j] != 'C') { EXPECT_EQ(x[j], std::round(x[j])); }
    }
  }
}

// Degenerate shapes Cbc's driver cannot take on its own: no integer column, no row.
TEST_F(MipTest, ModelsWithoutIntegersOrRows) {
  struct Case {
    const char* name;
    std::string types;
    std::vector<std::pair<char, std::string>> rows;
    double z;
  };
  std::vector<Case> cases = {{"continuous with a row", "CC", {{'G', "x0 x1 + 3 -"}}, 3.0},
                             {"continuous, no row", "CC", {}, 0.5},
                             {"integer, no row", "IC", {}, 0.5}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    Model s;
    s.n = 2;
    s.types = c.types;
    s.lb = {0, 0.5};
    s.ub = {4, 4};
    s.obj = "x0 x1 +";
    s.rows = c.rows;
    ASSERT_EQ(br2::load(m, s), 0);
    ASSERT_EQ(BRsolveMIP(m), 0);
    EXPECT_EQ(status(), 1);
    EXPECT_NEAR(objective(), c.z, 1e-9);
  }
}

TEST_F(MipTest, InfeasibleIntegerModelIsStatusThree) {
  Model s;
  s.n = 2;
  s.types = "BB";
  s.ub = {1, 1};
  s.obj = "x0 x1 +";
  s.rows = {{'E', "x0 x1 + 1.5 -"}};   // the relaxation is feasible, no integer point is
  ASSERT_EQ(br2::load(m, s), 0);
  ASSERT_EQ(BRsolveMIP(m), 0);
  EXPECT_EQ(status(), 3);
  double x[2];
  EXPECT_EQ(BRgetMIPSolution(m, x), 2011);
}

// A hard multi-row knapsack stopped by the iteration limit keeps its incumbent.
TEST_F(MipTest, IterationLimitWithIncumbentIsFeasibleWith2023) {
  const int n = 80;
  Model s = binaryMax(n);
  std::vector<int> idx(n);
  std::iota(idx.begin(), idx.end(), 0);
  std::vector<double> v(n);
  std::vector<std::vector<double>> w(5, std::vector<double>(n));
  unsigned seed = 12345;
  auto rnd = [&] { seed = seed * 1103515245u + 12345u; return (seed >> 16) % 100 + 1; };
  for (int j = 0; j < n; j++) v[j] = rnd();
  for (auto& row : w)
    for (int j = 0; j < n; j++) row[j] = rnd();
  s.obj = linear(v, idx);
  for (auto& row : w) s.rows.push_back({'L', linear(row, idx) + "2000 -"});
  ASSERT_EQ(br2::load(m, s), 0);
  ASSERT_EQ(BRsetModelIntParameter(m, 213, 20), 0);
  int code = BRsolveMIP(m);
  EXPECT_EQ(code, 2023);
  EXPECT_EQ(status(), 5);
  auto x = mipSolution(m, n);
  double used = 0;
  for (int j = 0; j < n; j++) used += w[0][j] * x[j];
  EXPECT_LE(used, 2000 + 1e-6);
  // Without the limit the same model is solved to optimality.
  ASSERT_EQ(BRsetModelIntParameter(m, 213, 0), 0);
  ASSERT_EQ(BRsolveMIP(m), 0);
  EXPECT_EQ(status(), 1);
}

TEST_F(MipTest, DualsOfTheFixedLp) {
  Model s;
  s.n = 2;
  s.types = "IC";
  s.ub = {10, 1};
  s.obj = "3 x0 * 2 x1 * +";
  s.rows = {{'G', "x0 x1 + 3.5 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  ASSERT_EQ(BRsolveMIP(m), 0);
  EXPECT_NEAR(objective(), 10.0, 1e-9);   // x = 3, y = 0.5
  double y[1], d[2];
  ASSERT_EQ(BRgetDualMIPsolution(m, y, d), 0);
  EXPECT_NEAR(y[0], -2.0, 1e-9);          // one more unit of rhs costs 2 more
  EXPECT_NEAR(d[0], 1.0, 1e-9);
  EXPECT_NEAR(d[1], 0.0, 1e-9);
}

TEST_F(MipTest, HurdleCutsOffWorseSolutions) {
  Model s;
  s.sense = -1;
  s.n = 2;
  s.types = "II";
  s.obj = "5 x0 * 4 x1 * +";
  s.rows = {{'L', "6 x0 * 4 x1 * + 24 -"}, {'L', "x0 2 x1 * + 6 -"}};
  ASSERT_EQ(br2::load(m, s), 0);
  ASSERT_EQ(BRsetModelDouParameter(m, 322, 20.5), 0);   // nothing reaches 20.5
  BRsolveMIP(m);
  EXPECT_NE(status(), 1);
  ASSERT_EQ(BRsetModelDouParameter(m, 322, 19.5), 0);
  ASSERT_EQ(BRsolveMIP(m), 0);
  EXPECT_EQ(status(), 1);
  EXPECT_NEAR(objective(), 20.0, 1e-9);
  ASSERT_EQ(BRsetModelIntParameter(m, 323, 0), 0);      // no hurdle
  ASSERT_EQ(BRsolveMIP(m), 0);
  EXPECT_NEAR(objective(), 20.0, 1e-9);
}

// A hurdle at or past the library's infinity: one that no finite objective beats leaves no
// solution, one on the other side cuts nothing off; neither may stop the program.
TEST_F(MipTest, HurdlesAtOrPastInfinity) {
  struct Case {
    int sense;
    double hurdle;
    bool solved;   // false: no solution (status 3)
  };
  for (const Case& c : {Case{-1, 1e100, false}, Case{-1, 1e30, false}, Case{-1, -1e100, true},
                        Case{-1, -1e30, true}, Case{1, -1e100, false}, Case{1, -1e300, false},
                        Case{1, 1e100, true}, Case{1, 1e30, true}}) {
    char trace[64];
    std::snprintf(trace, sizeof trace, "sense %d, hurdle %g", c.sense, c.hurdle);
    SCOPED_TRACE(trace);
    Model s;
    s.sense = c.sense;
    s.n = 2;
    s.types = "II";
    s.obj = c.sense < 0 ? "5 x0 * 4 x1 * +" : "-5 x0 * 4 x1 * -";
    s.rows = {{'L', "6 x0 * 4 x1 * + 24 -"}, {'L', "x0 2 x1 * + 6 -"}};
    ASSERT_EQ(br2::load(m, s), 0);
    ASSERT_EQ(BRsetModelDouParameter(m, 322, c.hurdle), 0);
    ASSERT_EQ(BRsolveMIP(m), 0);
    if (c.solved) {
      EXPECT_EQ(status(), 1);
      EXPECT_NEAR(objective(), c.sense < 0 ? 20.0 : -20.0, 1e-9);
    } else {
      EXPECT_EQ(status(), 3);
    }
  }
}

// An unbounded relaxation settles as unbounded when the model has an integer point, as
// infeasible when its integers are bounded and have none, and as "infeasible or unbounded"
// when its integers are free and none turns up (2x - 2y = 1 has no end of fractional nodes).
TEST_F(MipTest, UnboundedRelaxations) {
  struct Case {
    const char* name;
    std::vector<std::pair<char, std::string>> rows;
    double lb, ub;   // bounds of the integers x0 and x1
    int status;
  };
  for (const Case& c : {Case{"integer point", {{'L', "x0 x1 - 1 -"}}, 0, 1e30, 4},
                        Case{"bounded, none", {{'E', "2 x0 * 2 x1 * - 1 -"}}, 0, 10, 3},
                        Case{"free, none", {{'E', "2 x0 * 2 x1 * - 1 -"}}, -1e30, 1e30, 6}}) {
    SCOPED_TRACE(c.name);
    Model s;
    s.sense = -1;
    s.n = 3;
    s.types = "IIC";
    s.obj = "x0 x1 + x2 +";
    s.rows = c.rows;
    s.lb = {c.lb, c.lb, 0};
    s.ub = {c.ub, c.ub, 1e30};
    ASSERT_EQ(br2::load(m, s), 0);
    ASSERT_EQ(BRsolveMIP(m), 0);
    EXPECT_EQ(status(), c.status);
  }
}

// A verdict of infeasible from Cbc stands only once confirmed: a column that improves without
// end makes a feasible integer model unbounded, whether it has row entries or none, and a
// model without an integer point stays infeasible.
TEST_F(MipTest, InfeasibleVerdictsAreConfirmed) {
  struct Case {
    const char* name;
    std::string obj;
    std::vector<std::pair<char, std::string>> rows;
    int status;
  };
  // x0..x6 as X1..X7 of a model whose x3 appears only in the objective; x2, x3, x4, x6 integer.
  const std::string row = "4 x0 * 7 x1 * - 3 x2 * + 6.5 x4 * - 8.5 x5 * - 2 x6 * - 45 +";
  for (const Case& c : {Case{"empty improving column", "2 x0 * 8 x2 * - 6 x3 * - 7 x6 * +", {{'E', row}}, 4},
                        Case{"improving column in a row", "2 x0 * 8 x2 * - 6 x3 * - 7 x6 * +",
                             {{'E', row}, {'G', "x3 x0 -"}}, 4},
                        Case{"no integer point", "x2 x3 +", {{'E', "2 x2 * 2 x3 * - 1 -"}}, 3}}) {
    SCOPED_TRACE(c.name);
    Model s;
    s.n = 7;
    s.types = "CCIICIC";
    s.obj = c.obj;
    s.rows = c.rows;
    s.lb.assign(7, 0.0);
    s.ub.assign(7, 1e30);
    s.ub[6] = 1;
    if (c.status == 3) s.ub[2] = s.ub[3] = 10;
    ASSERT_EQ(br2::load(m, s), 0);
    ASSERT_EQ(BRsolveMIP(m), 0);
    EXPECT_EQ(status(), c.status);
  }
}

// The developer tool solves an MPS file with integer columns through the integer solver.
TEST(MipTool, BrsolveSolvesAnIntegerMpsFile) {
  char exe[4096];
  ssize_t len = readlink("/proc/self/exe", exe, sizeof exe - 1);
  ASSERT_GT(len, 0);
  exe[len] = 0;
  std::string dir(exe);
  dir = dir.substr(0, dir.rfind('/'));
  std::string tool = dir + "/../tools/brsolve";
  if (access(tool.c_str(), X_OK) != 0) GTEST_SKIP() << "no brsolve beside the tests";
  char name[] = "/tmp/brmipXXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  std::FILE* f = std::fopen(name, "w");
  ASSERT_TRUE(f);
  std::fputs("NAME          INTLP\n"
             "ROWS\n N  PROFIT\n L  R1\n L  R2\n L  R3\n L  R4\n"
             "COLUMNS\n"
             "    MARKER                 'MARKER'                 'INTORG'\n"
             "    X         PROFIT          -5.0   R1             6.0\n"
             "    X         R2               1.0   R3            -1.0\n"
             "    Y         PROFIT          -4.0   R1             4.0\n"
             "    Y         R2               2.0   R3             1.0\n"
             "    Y         R4               1.0\n"
             "    MARKER                 'MARKER'                 'INTEND'\n"
             "RHS\n"
             "    RHS       R1              24.0   R2             6.0\n"
             "    RHS       R3               1.0   R4             2.0\n"
             "ENDATA\n", f);
  std::fclose(f);
  std::string cmd = tool + " " + name + " -quiet 2>&1";
  std::FILE* p = popen(cmd.c_str(), "r");
  ASSERT_TRUE(p);
  std::string out;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p)) out += buf;
  int rc = pclose(p);
  std::remove(name);
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(out.rfind("status 1 objective -20 ", 0), 0u) << out;
}

}  // namespace

namespace {

// A 4 x 4 magic square in binaries x(i, j, v) (cell (i, j) holds v): each cell one value,
// each value once, rows, columns and diagonals summing to 34; the corner value minus the
// opposite corner's is minimised (optimum -15). Its search runs the heuristics' own small
// searches early.
Model magicSquare() {
  Model s;
  auto x = [](int i, int j, int v) { return (i * 4 + j) * 16 + v; };
  s.n = 256;
  s.types = std::string(256, 'B');
  s.ub.assign(256, 1.0);
  std::vector<double> vals, negs;
  std::vector<int> corner;
  for (int v = 0; v < 16; ++v) {
    vals.push_back(v + 1);
    negs.push_back(-(v + 1));
  }
  std::vector<double> coef;
  for (int v = 0; v < 16; ++v) { coef.push_back(v + 1); corner.push_back(x(0, 0, v)); }
  for (int v = 0; v < 16; ++v) { coef.push_back(-(v + 1)); corner.push_back(x(3, 3, v)); }
  s.obj = linear(coef, corner);
  std::vector<double> ones(16, 1.0);
  for (int c = 0; c < 16; ++c) {
    std::vector<int> cell;
    for (int v = 0; v < 16; ++v) cell.push_back(c * 16 + v);
    s.rows.push_back({'E', linear(ones, cell) + "1 -"});
  }
  for (int v = 0; v < 16; ++v) {
    std::vector<int> once;
    for (int c = 0; c < 16; ++c) once.push_back(c * 16 + v);
    s.rows.push_back({'E', linear(ones, once) + "1 -"});
  }
  // lines: four rows, four columns, two diagonals, each as 4 cells
  std::vector<std::vector<std::pair<int, int>>> lines;
  for (int i = 0; i < 4; ++i) {
    lines.push_back({{i, 0}, {i, 1}, {i, 2}, {i, 3}});
    lines.push_back({{0, i}, {1, i}, {2, i}, {3, i}});
  }
  lines.push_back({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
  lines.push_back({{0, 3}, {1, 2}, {2, 1}, {3, 0}});
  for (auto& line : lines) {
    std::vector<double> c;
    std::vector<int> var;
    for (auto [i, j] : line)
      for (int v = 0; v < 16; ++v) { c.push_back(v + 1); var.push_back(x(i, j, v)); }
    s.rows.push_back({'E', linear(c, var) + "34 -"});
  }
  return s;
}

// Node counts and the step count of every report of the integer search.
struct SearchReports {
  std::vector<int> nodes, steps;
};

int recordNodes(BRmodel* m, int loc, void* u) {
  if (loc != BR_LOC_MIP) return 0;
  auto* r = static_cast<SearchReports*>(u);
  int nodes = -1, steps = -1;
  BRgetMIPCallbackInfo(m, 1309, &nodes);
  BRgetQuickbackInfo(m, loc, 1707, &steps);
  r->nodes.push_back(nodes);
  r->steps.push_back(steps);
  return 0;
}

}  // namespace

// The heuristics' own small searches report through the same handler; their node counts
// must not reach the caller: the count only grows, and the last report and the summary hold
// the search's final count, also when an iteration limit stops the search.
TEST_F(MipTest, NodeCountsFollowTheSearchItself) {
  Model s = magicSquare();
  for (int limit : {8000, 15000}) {
    SCOPED_TRACE(limit);
    ASSERT_EQ(br2::load(m, s), 0);
    ASSERT_EQ(BRsetModelIntParameter(m, 213, limit), 0);
    SearchReports r;
    ASSERT_EQ(BRsetCallback(m, recordNodes, &r), 0);
    EXPECT_EQ(BRsolveMIP(m), 2023);
    ASSERT_EQ(BRsetCallback(m, nullptr, nullptr), 0);
    ASSERT_FALSE(r.nodes.empty());
    for (size_t k = 1; k < r.nodes.size(); ++k) ASSERT_GE(r.nodes[k], r.nodes[k - 1]) << "report " << k;
    int nodes = -1;
    ASSERT_EQ(BRgetCurrentMIPSolutionInfo(m, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, &nodes, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                          nullptr),
              0);
    EXPECT_EQ(r.nodes.back(), nodes);
    EXPECT_EQ(r.steps.back(), nodes);
  }
}

// The cap on cut passes at the root holds (a cap of 0 with the tree's cuts off leaves no cut
// at all) and the optimum does not depend on it.
TEST(MipCbc, RootCutPassesKeepToTheirCap) {
  brmip::LinearProblem p;
  const int n = 30, rows = 3;
  p.ncols = n;
  p.nrows = rows;
  p.sense = -1;
  unsigned seed = 7;
  auto next = [&] { seed = seed * 1103515245u + 12345u; return static_cast<int>((seed >> 16) % 90) + 10; };
  for (int j = 0; j < n; j++) {
    p.start.push_back(static_cast<int>(p.index.size()));
    for (int i = 0; i < rows; i++) { p.index.push_back(i); p.value.push_back(next()); }
    p.collb.push_back(0);
    p.colub.push_back(1);
    p.cost.push_back(next());
    p.integer.push_back(1);
  }
  p.start.push_back(static_cast<int>(p.index.size()));
  p.rowlb.assign(rows, -1e30);
  p.rowub.assign(rows, 700);
  double optimum = 0;
  for (int passes : {200, 1, 0}) {
    SCOPED_TRACE(passes);
    brmip::MipSettings s;
    s.rootPasses = passes;
    s.treeCuts = passes != 0;
    int most = 0;
    brmip::MipCallback cb = [&](const brmip::MipProgress& g) { most = std::max(most, g.cuts); return false; };
    brmip::MipResult r;
    brmip::solveMipCbc(p, s, cb, r);
    ASSERT_EQ(r.status, 1);
    if (passes == 200) optimum = r.objective;
    EXPECT_NEAR(r.objective, optimum, 1e-6);
    if (passes == 0) {
      EXPECT_EQ(std::max(most, r.last.cuts), 0);
    }
  }
}
