// The duals at an integer point computed without Clp, where every column is integer, against
// Clp's dual solve of the same fixed LP: the same bits, and Clp is left every case that is
// not certain.
#include "bresk/mip.h"
#include "bresk/modules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr double kInf = 1e30;

// A problem from a dense matrix (rows of coefficients, 0 for no entry), every column integer
// unless `continuous` names one (bounded by `lb` and `ub`).
brmip::LinearProblem dense(int sense, const std::vector<std::vector<double>>& a, std::vector<double> rowlb,
                           std::vector<double> rowub, std::vector<double> cost, int continuous = -1,
                           double lb = -kInf, double ub = kInf) {
  brmip::LinearProblem p;
  p.sense = sense;
  p.nrows = static_cast<int>(a.size());
  p.ncols = static_cast<int>(cost.size());
  p.start.push_back(0);
  for (int j = 0; j < p.ncols; j++) {
    for (int i = 0; i < p.nrows; i++)
      if (a[i][j] != 0) {
        p.index.push_back(i);
        p.value.push_back(a[i][j]);
      }
    p.start.push_back(static_cast<int>(p.index.size()));
    p.collb.push_back(j == continuous ? lb : -kInf);
    p.colub.push_back(j == continuous ? ub : kInf);
    p.integer.push_back(j != continuous);
  }
  p.cost = std::move(cost);
  p.rowlb = std::move(rowlb);
  p.rowub = std::move(rowub);
  return p;
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

// The same values, a zero of either sign matching a zero: a continuous column's reduced cost of
// zero comes from Clp as 0.0 or -0.0, which every report prints alike.
bool sameValues(const std::vector<double>& a, const std::vector<double>& b) { return a == b; }

// Both ways on one problem: whether the shortcut answered, and (when it did) that Clp
// gives exactly its values.
void compare(const brmip::LinearProblem& p, const std::vector<double>& x, bool shortcut, bool clpOptimal,
             const char* name) {
  SCOPED_TRACE(name);
  const bresk::ClpEngine* clp = bresk::clpEngine();
  ASSERT_NE(clp, nullptr);
  std::vector<double> y0, d0, y1, d1;
  const bool had = brmip::integerPointDuals(p, x, y0, d0);
  const bool ok = clp->fixedLpDuals(p, x, y1, d1);
  EXPECT_EQ(had, shortcut);
  EXPECT_EQ(ok, clpOptimal);
  if (had) {
    ASSERT_TRUE(ok);
    EXPECT_TRUE(sameBits(y0, y1));
    EXPECT_TRUE(sameValues(d0, d1));
  }
}

TEST(IntegerPointDuals, SameAsClpOnTheFixedLp) {
  const std::vector<std::vector<double>> a = {{1, 1, 0}, {2, 0, 3}, {0, 0.5, 1}};
  struct Case {
    const char* name;
    brmip::LinearProblem p;
    std::vector<double> x;
    bool shortcut, clpOptimal;
  };
  const Case cases[] = {
      {"minimise, rows met", dense(1, a, {-kInf, 4, -kInf}, {5, kInf, 9}, {3, 0.0, -0.7}), {2, 3, 1}, true, true},
      {"maximise, rows met", dense(-1, a, {-kInf, 4, -kInf}, {5, kInf, 9}, {3, -0.0, 0.1}), {2, 3, 1}, true, true},
      {"rows at their bounds, equality and range", dense(-1, a, {5, 7, 0}, {5, 7, 2.5}, {1, 2, 3}), {2, 3, 1},
       true, true},
      {"point rounded first", dense(1, a, {-kInf, 4, -kInf}, {5, kInf, 9}, {1e-5, 12345.678, 0}),
       {1.9999999, 3.0000002, 0.9999997}, true, true},
      {"rounded point violates a row", dense(1, a, {-kInf, 4, -kInf}, {4, kInf, 9}, {1, 1, 1}), {2, 3, 1},
       false, false},
      {"maximise, rounded point violates a row", dense(-1, a, {-kInf, 8, -kInf}, {5, kInf, 9}, {1, 1, 1}),
       {2, 3, 1}, false, false},
      {"violation within the margin of a row of small coefficients",
       dense(1, {{1e-4, 1e-4, 0}}, {-kInf}, {5e-4 - 1e-12}, {1, 1, 1}), {2, 3, 1}, false, true},
      {"a continuous column with a cost", dense(1, a, {-kInf, 4, -kInf}, {5, kInf, 9}, {1, 1, 0.5}, 2), {2, 3, 1},
       false, true},
      {"a continuous column costing nothing", dense(1, a, {-kInf, 4, -kInf}, {5, kInf, 9}, {1, 1, 0}, 2),
       {2, 3, 1.25}, true, true},
      {"maximise, a continuous column costing nothing at its bound",
       dense(-1, a, {1, 7, -kInf}, {kInf, kInf, 9}, {2, -1, 0}, 2, 0, 1.5), {2, 3, 1.5}, true, true},
      {"a continuous column costing nothing, off its bound", dense(1, a, {-kInf, 4, -kInf}, {5, kInf, 9}, {1, 1, 0},
       2, 0, 1), {2, 3, 1.25}, false, true},
      {"a continuous column costing nothing, a row missed", dense(1, a, {-kInf, 4, -kInf}, {5, kInf, 2}, {1, 1, 0},
       2), {2, 3, 1.25}, false, true},
      {"no matrix entries", dense(-1, {{0, 0, 0}}, {-kInf}, {1}, {3, 0.0, -2}), {2, 3, 1}, false, true},
  };
  for (const Case& c : cases) compare(c.p, c.x, c.shortcut, c.clpOptimal, c.name);
}

// Seeded random problems of both senses, with coefficients and costs over many magnitudes and
// rows met, at their bounds or missed: pure-integer ones, and ones with a continuous column
// (mostly costing nothing) at a value that is no integer, at or inside its bounds. The shortcut
// never disagrees with Clp.
TEST(IntegerPointDuals, SameAsClpOnRandomProblems) {
  const bresk::ClpEngine* clp = bresk::clpEngine();
  ASSERT_NE(clp, nullptr);
  for (const bool mixed : {false, true}) {
    SCOPED_TRACE(mixed ? "with a continuous column" : "pure integer");
    std::mt19937_64 g(mixed ? 12 : 11);
    std::uniform_real_distribution<double> u(-1, 1);
    auto scale = [&] { return std::pow(10.0, static_cast<int>(g() % 9) - 4); };
    int answered = 0;
    for (int t = 0; t < 400; t++) {
      const int n = 1 + static_cast<int>(g() % 8), m = 1 + static_cast<int>(g() % 6);
      const int cont = mixed ? static_cast<int>(g() % n) : -1;
      std::vector<std::vector<double>> a(m, std::vector<double>(n, 0.0));
      std::vector<double> x(n), cost(n), act(m, 0.0), lo(m), hi(m);
      for (int j = 0; j < n; j++) {
        x[j] = j == cont ? u(g) * 20 : std::round(u(g) * 20);
        cost[j] = g() % 4 == 0 ? 0.0 : u(g) * scale();
        if (j == cont && g() % 4 != 0) cost[j] = 0.0;
        for (int i = 0; i < m; i++)
          if (g() % 2) act[i] += (a[i][j] = g() % 2 ? std::round(u(g) * 9) : u(g) * scale()) * x[j];
      }
      for (int i = 0; i < m; i++) {
        const double miss = g() % 5 == 0 ? 1e-3 * (std::fabs(act[i]) + 1) : 0.0;
        lo[i] = g() % 3 == 0 ? -kInf : act[i] - (g() % 2 ? 0.0 : 5.0) + miss;
        hi[i] = g() % 3 == 0 ? kInf : act[i] + (g() % 2 ? 0.0 : 5.0);
      }
      const int sense = g() % 2 ? 1 : -1;
      const double lb = mixed ? x[cont] - (g() % 2 ? 0.0 : 1.0) : -kInf;
      const double ub = mixed ? x[cont] + (g() % 2 ? 0.0 : 1.0) : kInf;
      const brmip::LinearProblem p = dense(sense, a, lo, hi, cost, cont, lb, ub);
      std::vector<double> y0, d0, y1, d1;
      const bool had = brmip::integerPointDuals(p, x, y0, d0);
      const bool ok = clp->fixedLpDuals(p, x, y1, d1);
      if (!had) continue;
      answered++;
      ASSERT_TRUE(ok) << "problem " << t;
      EXPECT_TRUE(sameBits(y0, y1)) << "problem " << t;
      if (mixed) EXPECT_TRUE(sameValues(d0, d1)) << "problem " << t;
      else EXPECT_TRUE(sameBits(d0, d1)) << "problem " << t;
    }
    EXPECT_GT(answered, mixed ? 100 : 200);
  }
}

}  // namespace
