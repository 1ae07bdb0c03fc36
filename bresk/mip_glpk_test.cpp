// Integer solves on GLPK under a budget: answers against Cbc's, hand-overs, stops, repeatability.
#include "bresk/mip.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// A model built column by column: rows given by their bounds, columns by entries.
struct Builder {
  brmip::LinearProblem p;
  Builder(int sense, std::vector<double> rowlb, std::vector<double> rowub) {
    p.sense = sense;
    p.nrows = static_cast<int>(rowlb.size());
    p.rowlb = std::move(rowlb);
    p.rowub = std::move(rowub);
    p.start.push_back(0);
  }
  Builder& col(double cost, double lb, double ub, bool integer, std::vector<std::pair<int, double>> entries) {
    for (auto& [i, v] : entries) { p.index.push_back(i); p.value.push_back(v); }
    p.start.push_back(static_cast<int>(p.index.size()));
    p.cost.push_back(cost);
    p.collb.push_back(lb);
    p.colub.push_back(ub);
    p.integer.push_back(integer ? 1 : 0);
    p.ncols++;
    return *this;
  }
};

// A knapsack of n items (30 by default) with three weight rows of capacity cap, which needs a
// search tree.
brmip::LinearProblem multiKnapsack(int n = 30, double cap = 700) {
  Builder b(-1, {-1e30, -1e30, -1e30}, {cap, cap, cap});
  unsigned seed = 7;
  auto next = [&] { seed = seed * 1103515245u + 12345u; return static_cast<int>((seed >> 16) % 90) + 10; };
  for (int j = 0; j < n; j++) {
    double w0 = next(), w1 = next(), w2 = next();
    b.col(next(), 0, 1, true, {{0, w0}, {1, w1}, {2, w2}});
  }
  return b.p;
}

// Row activities of x.
std::vector<double> activities(const brmip::LinearProblem& p, const std::vector<double>& x) {
  std::vector<double> a(p.nrows, 0.0);
  for (int j = 0; j < p.ncols; j++)
    for (int k = p.start[j]; k < p.start[j + 1]; k++) a[p.index[k]] += p.value[k] * x[j];
  return a;
}

const brmip::MipCallback kNoStop = [](const brmip::MipProgress&) { return false; };

// Within its budget GLPK settles what it can prove (an optimum equal to Cbc's with a point
// that holds, an infeasibility) and leaves to Cbc a relaxation it cannot solve; the same
// model gives the same point and counts every time.
TEST(MipGlpk, SettlesWhatItProvesAndLeavesTheRestToCbc) {
  struct Case {
    const char* name;
    brmip::LinearProblem p;
    bool settled;
  };
  std::vector<Case> cases = {
      {"multi-row knapsack", multiKnapsack(), true},
      // 2x + 2y = 3 over integers: the relaxation is feasible, the model is not
      {"infeasible", Builder(1, {3}, {3}).col(1, 0, 10, true, {{0, 2}}).col(1, 0, 10, true, {{0, 2}}).p, true},
      // an integer column with a continuous one, objective constant included
      {"mixed", [] {
         Builder b(1, {4.5, -1e30}, {1e30, 7.25});
         b.col(3, 0, 1e30, true, {{0, 2}, {1, 1}}).col(2, 0, 1e30, false, {{0, 1}, {1, 3}});
         b.p.objconst = 10;
         return b.p;
       }(), true},
      // x + z >= 5 with x <= 2, z <= 1: a mixed model whose relaxation is infeasible is Cbc's
      {"mixed infeasible relaxation", Builder(1, {5}, {1e30}).col(1, 0, 2, true, {{0, 1}}).col(1, 0, 1, false, {{0, 1}}).p,
       false},
      // max x with x - 2y = 0: the relaxation is unbounded, Cbc settles such a model
      {"unbounded relaxation", Builder(-1, {0}, {0}).col(1, 0, 1e30, true, {{0, 1}}).col(0, 0, 1e30, true, {{0, -2}}).p,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    brmip::MipSettings s;
    brmip::MipResult g, again, cbc;
    ASSERT_EQ(brmip::solveMipGlpk(c.p, s, kNoStop, 1000000, 100000, g), c.settled);
    if (!c.settled) {
      EXPECT_TRUE(g.x.empty());
      continue;
    }
    brmip::solveMipCbc(c.p, s, kNoStop, cbc);
    ASSERT_EQ(g.status, cbc.status);
    EXPECT_EQ(g.code, 0);
    if (g.status != 1) {
      EXPECT_TRUE(g.x.empty());
      continue;
    }
    EXPECT_NEAR(g.objective, cbc.objective, 1e-6);
    EXPECT_EQ(g.bound, g.objective);
    ASSERT_EQ(static_cast<int>(g.x.size()), c.p.ncols);
    double z = c.p.objconst;
    for (int j = 0; j < c.p.ncols; j++) {
      if (c.p.integer[j]) { EXPECT_EQ(g.x[j], std::round(g.x[j])); }
      EXPECT_GE(g.x[j], c.p.collb[j] - 1e-9);
      EXPECT_LE(g.x[j], c.p.colub[j] + 1e-9);
      z += c.p.cost[j] * g.x[j];
    }
    EXPECT_NEAR(z, g.objective, 1e-9);
    std::vector<double> a = activities(c.p, g.x);
    for (int i = 0; i < c.p.nrows; i++) {
      EXPECT_GE(a[i], c.p.rowlb[i] - 1e-6);
      EXPECT_LE(a[i], c.p.rowub[i] + 1e-6);
    }
    ASSERT_TRUE(brmip::solveMipGlpk(c.p, s, kNoStop, 1000000, 100000, again));
    EXPECT_EQ(again.x, g.x);
    EXPECT_EQ(again.last.iterations, g.last.iterations);
    EXPECT_EQ(again.last.nodes, g.last.nodes);
  }
}

// A spent budget hands the model over with no answer and the work it took; a stop asked for
// by the caller or a limit settles the solve with the honest status and code, and every
// incumbent reported as found improves on the last.
TEST(MipGlpk, BudgetHandsOverWhileStopsAndLimitsSettle) {
  brmip::LinearProblem p = multiKnapsack();
  brmip::MipSettings s;
  brmip::MipResult r;
  EXPECT_FALSE(brmip::solveMipGlpk(p, s, kNoStop, 1, 100000, r));
  EXPECT_TRUE(r.x.empty());
  EXPECT_GT(r.last.iterations, 0);

  std::vector<double> found;
  brmip::MipCallback firstPoint = [&](const brmip::MipProgress& g) {
    if (g.event == 1) found.push_back(g.best);
    return g.event == 1;
  };
  ASSERT_TRUE(brmip::solveMipGlpk(p, s, firstPoint, 1000000, 100000, r));
  EXPECT_EQ(r.code, 2016);
  ASSERT_EQ(r.status, 5);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(r.objective, found[0]);

  brmip::MipCallback atOnce = [](const brmip::MipProgress&) { return true; };
  ASSERT_TRUE(brmip::solveMipGlpk(p, s, atOnce, 1000000, 100000, r));
  EXPECT_EQ(r.code, 2016);
  EXPECT_TRUE(r.status == 5 || r.status == 12) << r.status;
  EXPECT_EQ(r.status == 5, !r.x.empty());

  found.clear();
  brmip::MipCallback record = [&](const brmip::MipProgress& g) {
    if (g.event == 1) found.push_back(g.best);
    return false;
  };
  ASSERT_TRUE(brmip::solveMipGlpk(p, s, record, 1000000, 100000, r));
  ASSERT_EQ(r.status, 1);
  ASSERT_FALSE(found.empty());
  for (size_t k = 1; k < found.size(); k++) EXPECT_GT(found[k], found[k - 1]) << "report " << k;
  EXPECT_EQ(found.back(), r.objective);
}

// True when x is integral on the integer columns and within the bounds and rows.
bool holds(const brmip::LinearProblem& p, const std::vector<double>& x) {
  if (static_cast<int>(x.size()) != p.ncols) return false;
  for (int j = 0; j < p.ncols; j++)
    if ((p.integer[j] && x[j] != std::round(x[j])) || x[j] < p.collb[j] - 1e-9 || x[j] > p.colub[j] + 1e-9) return false;
  std::vector<double> a = activities(p, x);
  for (int i = 0; i < p.nrows; i++)
    if (a[i] < p.rowlb[i] - 1e-6 || a[i] > p.rowub[i] + 1e-6) return false;
  return true;
}

// A model handed over after GLPK found a point carries that point, checked, with its objective;
// Cbc starts from it: with no node, heuristic or cut of its own it still ends on a point at
// least as good, where it has none without the start.
TEST(MipGlpk, HandOverCarriesTheBestPointForCbcToStartFrom) {
  brmip::LinearProblem p = multiKnapsack();
  brmip::MipSettings s;
  std::vector<double> start;
  double value = 0;
  for (long long budget : {1, 30, 100, 300, 1000}) {
    SCOPED_TRACE(budget);
    brmip::MipResult g;
    if (brmip::solveMipGlpk(p, s, kNoStop, budget, 100000, g) || g.x.empty()) continue;
    ASSERT_TRUE(holds(p, g.x));
    double z = p.objconst;
    for (int j = 0; j < p.ncols; j++) z += p.cost[j] * g.x[j];
    EXPECT_NEAR(z, g.objective, 1e-9);
    if (start.empty()) { start = g.x; value = g.objective; }
  }
  ASSERT_FALSE(start.empty()) << "no budget handed over a point";
  brmip::MipSettings bare;
  bare.heuristics = bare.presolve = bare.probing = bare.treeCuts = false;
  bare.rootPasses = 0;
  bare.maxNodes = 0;
  brmip::MipResult cold, warm;
  brmip::solveMipCbc(p, bare, kNoStop, cold);
  EXPECT_TRUE(cold.x.empty());
  bare.start = start;
  brmip::solveMipCbc(p, bare, kNoStop, warm);
  ASSERT_TRUE(warm.status == 5 || warm.status == 1) << warm.status;
  ASSERT_TRUE(holds(p, warm.x));
  EXPECT_GE(warm.objective, value - 1e-9);
}

// A root that takes a third of the budget or more is handed over before any node is searched,
// even when the rest of the budget would have settled it; a cheaper root is searched and settled.
TEST(MipGlpk, CostlyRootGoesToCbcAtOnce) {
  const int n = 8;   // an 8 x 8 assignment, solved at the root in a few dozen iterations
  Builder b(1, std::vector<double>(2 * n, 1), std::vector<double>(2 * n, 1));
  for (int i = 0; i < n; i++)
    for (int j = 0; j < n; j++) b.col((i * 7 + j * 13 + i * j * 5) % 23, 0, 1, true, {{i, 1}, {n + j, 1}});
  brmip::MipSettings s;
  brmip::MipResult all;
  ASSERT_TRUE(brmip::solveMipGlpk(b.p, s, kNoStop, 1000000, 100000, all));
  ASSERT_EQ(all.last.nodes, 0);
  const long long root = all.last.iterations;
  ASSERT_GT(root, 3);
  struct Case { long long budget; bool settled; };
  for (Case c : {Case{3 * root, true}, Case{2 * root, false}, Case{root + 1, false}}) {
    SCOPED_TRACE(c.budget);
    brmip::MipResult r;
    EXPECT_EQ(brmip::solveMipGlpk(b.p, s, kNoStop, c.budget, 100000, r), c.settled);
    EXPECT_EQ(r.last.nodes, 0);
    EXPECT_LE(r.last.iterations, root);
  }
}

// Entries GLPK would end the program on (a row twice in one column, a value that is not a
// number) leave the model to Cbc untouched.
TEST(MipGlpk, EntriesGlpkCannotTakeGoToCbc) {
  struct Case {
    const char* name;
    brmip::LinearProblem p;
  };
  std::vector<Case> cases = {
      {"row twice in a column", Builder(1, {1}, {4}).col(1, 0, 5, true, {{0, 1}, {0, 2}}).p},
      {"entry not a number", Builder(1, {1}, {4}).col(1, 0, 5, true, {{0, std::nan("")}}).p},
      {"cost not finite", Builder(1, {1}, {4}).col(HUGE_VAL, 0, 5, true, {{0, 1}}).p},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    brmip::MipSettings s;
    brmip::MipResult r;
    EXPECT_FALSE(brmip::solveMipGlpk(c.p, s, kNoStop, 1000000, 100000, r));
    EXPECT_TRUE(r.x.empty());
  }
}

// A model of integer columns only is searched without cuts first: the knapsack settles there
// in a fraction of the iterations of the search with cuts that the same model takes once a
// continuous column (fixed at zero) joins it, at the same optimum. Knapsacks whose plain
// search runs past its share are searched again with cuts and settled at Cbc's optimum, each
// incumbent reported over both searches improving on the last.
TEST(MipGlpk, PlainSearchFirstOnIntegerColumnsOnly) {
  brmip::LinearProblem pure = multiKnapsack();
  brmip::LinearProblem mixed = pure;
  mixed.start.push_back(mixed.start.back());
  mixed.cost.push_back(0);
  mixed.collb.push_back(0);
  mixed.colub.push_back(0);
  mixed.integer.push_back(0);
  mixed.ncols++;
  brmip::MipSettings s;
  brmip::MipResult a, b;
  ASSERT_TRUE(brmip::solveMipGlpk(pure, s, kNoStop, 1000000, 100000, a));
  ASSERT_TRUE(brmip::solveMipGlpk(mixed, s, kNoStop, 1000000, 100000, b));
  ASSERT_EQ(a.status, 1);
  ASSERT_EQ(b.status, 1);
  EXPECT_NEAR(a.objective, b.objective, 1e-9);
  EXPECT_LT(a.last.iterations * 3, b.last.iterations * 2);

  struct Case { int n; double cap; };
  for (Case c : {Case{40, 700}, Case{45, 800}, Case{60, 1000}}) {
    SCOPED_TRACE(c.n);
    brmip::LinearProblem q = multiKnapsack(c.n, c.cap);
    brmip::MipResult g, cbc;
    std::vector<double> found;
    brmip::MipCallback record = [&](const brmip::MipProgress& e) {
      if (e.event == 1) found.push_back(e.best);
      return false;
    };
    ASSERT_TRUE(brmip::solveMipGlpk(q, s, record, 1000000, 100000, g));
    EXPECT_GT(g.last.nodes, 300);
    for (size_t k = 1; k < found.size(); k++) EXPECT_GT(found[k], found[k - 1]) << "report " << k;
    brmip::solveMipCbc(q, s, kNoStop, cbc);
    ASSERT_EQ(g.status, 1);
    EXPECT_NEAR(g.objective, cbc.objective, 1e-6);
    EXPECT_TRUE(holds(q, g.x));
  }
}

// A model in row form, minimised: each row's entries (column, value) and bounds, the columns'
// costs; a column is binary where `binary` holds (all of them when it is empty), else at least 0.
brmip::LinearProblem fromRows(const std::vector<std::vector<std::pair<int, double>>>& rows, std::vector<double> rowlb,
                              std::vector<double> rowub, const std::vector<double>& cost,
                              const std::vector<bool>& binary = {}) {
  std::vector<std::vector<std::pair<int, double>>> cols(cost.size());
  for (int i = 0; i < static_cast<int>(rows.size()); i++)
    for (auto [j, v] : rows[i]) cols[j].push_back({i, v});
  Builder b(1, std::move(rowlb), std::move(rowub));
  for (size_t j = 0; j < cost.size(); j++) {
    bool bin = binary.empty() || binary[j];
    b.col(cost[j], 0, bin ? 1 : 1e30, bin, cols[j]);
  }
  return b.p;
}

// Generalised assignment of 24 jobs to 6 agents with capacities: its relaxation's bound does not
// move in a search without cuts.
brmip::LinearProblem generalisedAssignment() {
  const int agents = 6, jobs = 24;
  std::vector<std::vector<std::pair<int, double>>> rows(jobs + agents);
  std::vector<double> lb(jobs, 1), ub(jobs, 1), cost;
  for (int i = 1; i <= agents; i++) {
    double cap = 0;
    for (int j = 1; j <= jobs; j++) {
      int col = static_cast<int>(cost.size());
      double load = 5 + (i * 7 + j * 11) % 13;
      cost.push_back(10 + (i * 17 + j * 29) % 23);
      rows[j - 1].push_back({col, 1});
      rows[jobs + i - 1].push_back({col, load});
      cap += load;
    }
    lb.push_back(-1e30);
    ub.push_back(0.8 * cap / agents + 6);
  }
  return fromRows(rows, lb, ub, cost);
}

// Fewest colours (of 7) for 18 nodes with edges from a fixed rule; colours used in order.
brmip::LinearProblem graphColouring() {
  const int nodes = 18, colours = 7;
  auto x = [&](int i, int k) { return (i - 1) * colours + k - 1; };
  auto used = [&](int k) { return nodes * colours + k - 1; };
  std::vector<std::vector<std::pair<int, double>>> rows;
  std::vector<double> lb, ub, cost(nodes * colours, 0.0);
  cost.resize(nodes * colours + colours, 1.0);
  for (int i = 1; i <= nodes; i++) {
    rows.emplace_back();
    for (int k = 1; k <= colours; k++) rows.back().push_back({x(i, k), 1});
    lb.push_back(1);
    ub.push_back(1);
  }
  for (int i = 1; i <= nodes; i++)
    for (int j = i + 1; j <= nodes; j++)
      if ((i * 5 + j * 3 + i * j) % 7 < 3)
        for (int k = 1; k <= colours; k++) {
          rows.push_back({{x(i, k), 1}, {x(j, k), 1}, {used(k), -1}});
          lb.push_back(-1e30);
          ub.push_back(0);
        }
  for (int k = 2; k <= colours; k++) {
    rows.push_back({{used(k), 1}, {used(k - 1), -1}});
    lb.push_back(-1e30);
    ub.push_back(0);
  }
  return fromRows(rows, lb, ub, cost);
}

// Lot sizing of 5 products over 8 periods: stock carried between periods, a set-up (binary) for
// each period an item is made in, and set-up times within each period's hours.
brmip::LinearProblem lotSizing() {
  const int items = 5, periods = 8;
  const double cap = 260;
  auto make = [&](int i, int t) { return ((i - 1) * periods + t - 1) * 3; };
  std::vector<std::vector<std::pair<int, double>>> rows;
  std::vector<double> lb, ub, cost(items * periods * 3);
  std::vector<bool> binary(cost.size(), false);
  for (int i = 1; i <= items; i++)
    for (int t = 1; t <= periods; t++) {
      int m = make(i, t), stock = m + 1, on = m + 2;
      cost[stock] = 1 + (i * 3) % 4;
      cost[on] = 100 + (i * 71) % 150;
      binary[on] = true;
      rows.push_back({{m, 1}, {stock, -1}});           // what is made and carried in meets demand
      if (t > 1) rows.back().push_back({make(i, t - 1) + 1, 1});
      double demand = (i * 17 + t * 23 + i * t * 5) % 40;
      lb.push_back(demand);
      ub.push_back(demand);
      rows.push_back({{m, 1}, {on, -cap}});            // made only in a period set up for it
      lb.push_back(-1e30);
      ub.push_back(0);
    }
  for (int t = 1; t <= periods; t++) {
    rows.emplace_back();
    for (int i = 1; i <= items; i++) {
      rows.back().push_back({make(i, t), 1});
      rows.back().push_back({make(i, t) + 2, 5.0 + (i * 7) % 10});
    }
    lb.push_back(-1e30);
    ub.push_back(cap);
  }
  return fromRows(rows, lb, ub, cost, binary);
}

// A model with continuous columns is searched with cuts from the start, its rounding cuts at the
// root: the lot sizing settles at Cbc's optimum in a few dozen nodes, well inside a budget that
// it runs past without them.
TEST(MipGlpk, MixedModelSettlesOnRoundingCutsAtTheRoot) {
  brmip::LinearProblem p = lotSizing();
  brmip::MipSettings s;
  brmip::MipResult g, cbc;
  ASSERT_TRUE(brmip::solveMipGlpk(p, s, kNoStop, 20000, 1000, g));
  ASSERT_EQ(g.status, 1);
  EXPECT_TRUE(holds(p, g.x));
  EXPECT_LT(g.last.nodes, 200);
  brmip::solveMipCbc(p, s, kNoStop, cbc);
  ASSERT_EQ(cbc.status, 1);
  EXPECT_NEAR(g.objective, cbc.objective, 1e-6);
}

// A plain search that holds a point while its bound stands still hands over to the search with
// cuts within a few nodes, well inside its share of 300: the generalised assignment and the
// colouring settle at Cbc's optimum in fewer nodes than that share, the same way every run.
TEST(MipGlpk, StalledPlainSearchTurnsToCuts) {
  struct Case { const char* name; brmip::LinearProblem p; int mostNodes; };
  for (const Case& c : {Case{"assignment", generalisedAssignment(), 300}, Case{"colouring", graphColouring(), 60}}) {
    SCOPED_TRACE(c.name);
    brmip::MipSettings s;
    brmip::MipResult g, again, cbc;
    ASSERT_TRUE(brmip::solveMipGlpk(c.p, s, kNoStop, 1000000, 100000, g));
    ASSERT_EQ(g.status, 1);
    EXPECT_TRUE(holds(c.p, g.x));
    EXPECT_LT(g.last.nodes, c.mostNodes);
    brmip::solveMipCbc(c.p, s, kNoStop, cbc);
    ASSERT_EQ(cbc.status, 1);
    EXPECT_NEAR(g.objective, cbc.objective, 1e-6);
    ASSERT_TRUE(brmip::solveMipGlpk(c.p, s, kNoStop, 1000000, 100000, again));
    EXPECT_EQ(again.x, g.x);
    EXPECT_EQ(again.last.iterations, g.last.iterations);
  }
}

// A tour of 13 cities with order rows (u(i) - u(j) + 13 x(i, j) <= 12 over cities 2..13, the
// orders continuous in 1..12): GLPK's rounds of cuts at the root leave its bound level in the
// fourth and fifth rounds, so the root takes no more cuts and branches before the 214 simplex
// iterations it spends when the rounds run out by themselves; the search still settles at
// Cbc's optimum, the same way every run.
TEST(MipGlpk, RootCutsEndOnceTheBoundStandsStill) {
  const int n = 13;
  auto px = [](int i) { return (i * 29 + 5) % 89; };
  auto py = [](int i) { return (i * 61 + 3) % 83; };
  // Rows: out of each city (0..12), into each city (13..25), then the order rows.
  std::vector<double> lb(2 * n, 1.0), ub(2 * n, 1.0);
  std::vector<std::pair<int, int>> ordered;
  for (int i = 2; i <= n; i++)
    for (int j = 2; j <= n; j++)
      if (i != j) ordered.push_back({i, j}), lb.push_back(-1e30), ub.push_back(n - 1);
  Builder b(1, lb, ub);
  for (int i = 1; i <= n; i++)
    for (int j = 1; j <= n; j++) {
      if (i == j) continue;
      double d = std::floor(std::sqrt(std::pow(px(i) - px(j), 2) + std::pow(py(i) - py(j), 2)) + 0.5);
      std::vector<std::pair<int, double>> e = {{i - 1, 1.0}, {n + j - 1, 1.0}};
      for (size_t r = 0; r < ordered.size(); r++)
        if (ordered[r] == std::pair<int, int>{i, j}) e.push_back({2 * n + static_cast<int>(r), double(n)});
      b.col(d, 0, 1, true, e);
    }
  for (int k = 2; k <= n; k++) {
    std::vector<std::pair<int, double>> e;
    for (size_t r = 0; r < ordered.size(); r++) {
      if (ordered[r].first == k) e.push_back({2 * n + static_cast<int>(r), 1.0});
      if (ordered[r].second == k) e.push_back({2 * n + static_cast<int>(r), -1.0});
    }
    b.col(0, 1, n - 1, false, e);
  }
  brmip::MipSettings s;
  brmip::MipResult g, again, cbc;
  long long rootIterations = -1;
  auto watch = [&](const brmip::MipProgress& q) {
    if (rootIterations < 0 && q.active >= 2) rootIterations = q.iterations;
    return false;
  };
  ASSERT_TRUE(brmip::solveMipGlpk(b.p, s, watch, 1000000, 100000, g));
  ASSERT_EQ(g.status, 1);
  EXPECT_NEAR(g.objective, 297, 1e-6);
  brmip::solveMipCbc(b.p, s, kNoStop, cbc);
  ASSERT_EQ(cbc.status, 1);
  EXPECT_NEAR(g.objective, cbc.objective, 1e-6);
  EXPECT_TRUE(holds(b.p, g.x));
  EXPECT_GT(rootIterations, 0);
  EXPECT_LT(rootIterations, 214);
  ASSERT_TRUE(brmip::solveMipGlpk(b.p, s, kNoStop, 1000000, 100000, again));
  EXPECT_EQ(again.x, g.x);
  EXPECT_EQ(again.last.iterations, g.last.iterations);
}

}  // namespace
