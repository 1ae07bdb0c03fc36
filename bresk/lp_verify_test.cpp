// Tests of the checks behind a linear solve's verdicts: certificates of infeasibility and
// unboundedness, the feasibility of a stopped simplex's point, and columns in no row.
#include "bresk/internal.h"
#include "bresk/test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using brtest::Fixture;
using brtest::Spec;
using bresk::LpArrays;
using bresk::lp_arrays;
using bresk::lp_farkas_holds;
using bresk::lp_point_feasible;
using bresk::lp_unbounded_ray_holds;

namespace {

Spec spec(int sense, int n, std::string obj, std::vector<std::pair<char, std::string>> rows) {
  Spec s;
  s.sense = sense;
  s.nvars = n;
  s.obj = std::move(obj);
  s.rows = std::move(rows);
  return s;
}

// A ray proves what it claims only against the data it is checked with, in either sign.
TEST(BreskLpVerify, CertificatesHoldOnlyForTheirData) {
  Fixture f;
  // x0 + x1 >= 5, x0 + x1 <= 3, x0 - x1 <= 1, x >= 0
  ASSERT_EQ(brtest::load(f.m, spec(-1, 2, "x0 x1 +",
                                   {{'G', "x0 x1 + 5 -"}, {'L', "x0 x1 + 3 -"}, {'L', "x0 x1 - 1 -"}})),
            0);
  LpArrays a;
  lp_arrays(f.m, a);
  struct Ray {
    std::vector<double> y;
    bool holds;
  };
  for (const Ray& r : {Ray{{1, -1, 0}, true}, Ray{{-2, 2, 0}, true}, Ray{{1, 0, 0}, false},
                       Ray{{0, 0, 1}, false}, Ray{{0, 0, 0}, false}, Ray{{1, -1, 1}, false}}) {
    EXPECT_EQ(lp_farkas_holds(a, r.y.data()), r.holds) << r.y[0] << " " << r.y[1] << " " << r.y[2];
  }
  // without the second row the same rays prove nothing
  a.rowub[1] = 6;
  const double y[] = {1, -1, 0};
  EXPECT_FALSE(lp_farkas_holds(a, y));

  // maximising x0 + x1 with x0 - x1 <= 1 alone: (1, 1) is an unbounded ray
  Fixture g;
  ASSERT_EQ(brtest::load(g.m, spec(-1, 2, "x0 x1 +", {{'L', "x0 x1 - 1 -"}})), 0);
  LpArrays b;
  lp_arrays(g.m, b);
  struct Dir {
    std::vector<double> d;
    bool holds;
  };
  for (const Dir& r : {Dir{{1, 1}, true}, Dir{{0, 3}, true}, Dir{{1, 0}, false}, Dir{{-1, -1}, false},
                       Dir{{0, 0}, false}}) {
    EXPECT_EQ(lp_unbounded_ray_holds(b, r.d.data(), -1.0), r.holds) << r.d[0] << " " << r.d[1];
  }
  const double up[] = {1, 1};
  EXPECT_FALSE(lp_unbounded_ray_holds(b, up, 1.0));  // minimising, it worsens
  struct Point {
    std::vector<double> x;
    bool ok;
  };
  for (const Point& p : {Point{{1, 0}, true}, Point{{0, 7}, true}, Point{{1.5, 0}, false}, Point{{1.001, 0}, false},
                         Point{{-0.1, 0}, false}, Point{{1 + 1e-9, 0}, true}}) {
    EXPECT_EQ(lp_point_feasible(b, p.x.data()), p.ok) << p.x[0] << " " << p.x[1];
  }
}

// A column in no row with an improving cost: the model is unbounded when the rest has a
// feasible point and infeasible when it has none, whatever the presolve and the method.
TEST(BreskLpVerify, ColumnsInNoRowDecideWithTheRest) {
  struct Case {
    const char* name;
    Spec s;
    int status;
  };
  Spec capped = spec(-1, 3, "x0", {{'E', "2 x1 * 5 x2 * - 10 -"}});
  capped.ub = {4, 1e307, 1e307};
  Spec free_min = spec(1, 3, "x0 x1 +", {{'E', "2 x1 * 5 x2 * - 10 -"}});
  free_min.lb = {-1e307, 0, 0};
  const Case cases[] = {
      {"max", spec(-1, 3, "x0", {{'E', "2 x1 * 5 x2 * - 10 -"}}), BR_UNBOUNDED},
      {"min", spec(1, 3, "x0 neg", {{'E', "2 x1 * 5 x2 * - 10 -"}}), BR_UNBOUNDED},
      {"free below", free_min, BR_UNBOUNDED},
      {"rest infeasible", spec(-1, 3, "x0", {{'L', "x1 x2 + 1 +"}}), BR_INFEASIBLE},
      {"capped", capped, BR_OPTIMAL},
  };
  for (const Case& c : cases) {
    for (int presolve : {0, 2}) {
      for (int method : {0, 1, 2}) {
        SCOPED_TRACE(std::string(c.name) + " presolve " + std::to_string(presolve) + " method " +
                     std::to_string(method));
        Fixture f;
        ASSERT_EQ(BRsetModelIntParameter(f.m, 28, presolve), 0);
        ASSERT_EQ(brtest::load(f.m, c.s), 0);
        ASSERT_EQ(BRoptimize(f.m, method), 0);
        int st = 0;
        BRgetInfo(f.m, 1255, &st);
        EXPECT_EQ(st, c.status);
        std::vector<double> x(3);
        if (c.status != BR_INFEASIBLE && BRgetPrimalSolution(f.m, x.data()) == 0) {
          EXPECT_NEAR(2 * x[1] - 5 * x[2], 10, 1e-7);
        }
        if (c.status == BR_OPTIMAL) {
          double z = 0;
          BRgetInfo(f.m, 1251, &z);
          EXPECT_NEAR(z, 4, 1e-9);
        }
      }
    }
  }
}

// A simplex stopped by a limit or by the callback reports a feasible solution only at a
// point that meets every row and bound; otherwise there is no solution.
TEST(BreskLpVerify, StoppedSimplexReportsOnlyAPointThatMeetsTheRows) {
  // min sum c_j x_j over 30 covering rows: the dual simplex's points meet them only at the end
  const int n = 30, nr = 30;
  Spec s;
  s.nvars = n;
  unsigned seed = 4711;
  auto rnd = [&] { seed = seed * 1103515245u + 12345u; return 1 + (seed >> 16) % 50; };
  for (int j = 0; j < n; ++j) s.obj += std::to_string(rnd()) + " x" + std::to_string(j) + " *" + (j ? " + " : " ");
  for (int i = 0; i < nr; ++i) {
    std::string r;
    for (int j = 0; j < n; ++j) r += std::to_string(rnd() % 7) + " x" + std::to_string(j) + " *" + (j ? " + " : " ");
    s.rows.push_back({'G', r + std::to_string(20 + rnd()) + " -"});
  }
  auto meets_rows = [&](BRmodel* m) {
    std::vector<double> x(n), sl(nr);
    if (BRgetPrimalSolution(m, x.data()) != 0 || BRgetSlacks(m, sl.data()) != 0) return false;
    for (double v : x) {
      if (v < -1e-6) return false;
    }
    for (double v : sl) {  // 'G' rows: slack b - a.x at most 0
      if (v > 1e-6) return false;
    }
    return true;
  };
  int full = 0;
  {
    Fixture f;
    ASSERT_EQ(brtest::load(f.m, s), 0);
    ASSERT_EQ(BRoptimize(f.m, 2), 0);
    BRgetInfo(f.m, 1259, &full);
    ASSERT_GT(full, 4);
  }
  int stopped = 0, without = 0;
  for (int stop = 1; stop < full; ++stop) {
    for (bool by_limit : {false, true}) {
      SCOPED_TRACE(std::to_string(stop) + (by_limit ? " iteration limit" : " callback"));
      Fixture f;
      if (by_limit) {
        ASSERT_EQ(BRsetModelIntParameter(f.m, 30, stop), 0);
      }
      ASSERT_EQ(brtest::load(f.m, s), 0);
      auto cb = [](BRmodel* m, int loc, void* u) -> int {
        int it = 0;
        BRgetCallbackInfo(m, loc, 1259, &it);
        return it >= *static_cast<int*>(u);
      };
      int at = stop;
      if (!by_limit) {
        ASSERT_EQ(BRsetCallback(f.m, cb, &at), 0);
      }
      const int rc = BRoptimize(f.m, 2);
      int st = 0;
      BRgetInfo(f.m, 1255, &st);
      if (rc == 0) {
        EXPECT_EQ(st, BR_OPTIMAL);
        continue;
      }
      ++stopped;
      if (st == BR_FEASIBLE) {
        EXPECT_TRUE(meets_rows(f.m));
      } else {
        EXPECT_EQ(st, BR_UNKNOWN);
        std::vector<double> x(n);
        EXPECT_NE(BRgetPrimalSolution(f.m, x.data()), 0);
        ++without;
      }
    }
  }
  EXPECT_GT(stopped, 0);
  EXPECT_GT(without, 0);
}

// A Netlib problem with one more row, c'x <= its optimum less 0.1%: infeasible, and proved so
// only through the costs, which is where Clp's presolve and its dual simplex leave no usable
// ray on several of them.  Loaded as instruction lists from the problem's own data.
Spec netlib_cut(const std::string& name, double optimum) {
  Fixture f;
  const std::string file = std::string(BRESK_NETLIB_DIR) + "/" + name + ".mps";
  Spec s;
  if (BRreadMPSFile(f.m, file.c_str(), 1) != 0) return s;
  int n = 0, nr = 0, nz = 0;
  BRgetDimensions(f.m, &n, &nr, &nz, nullptr, nullptr, nullptr, nullptr, nullptr);
  std::vector<double> cost(n), rhs(nr), value(nz), lb(n), ub(n);
  std::vector<char> type(nr);
  std::vector<int> start(n + 1), len(n), row(nz);
  double objconst = 0;
  BRgetLPData(f.m, &s.sense, &objconst, cost.data(), rhs.data(), type.data(), start.data(),
              len.data(), value.data(), row.data(), lb.data(), ub.data());
  auto term = [](double a, int j, bool first) {
    std::ostringstream t;
    t.precision(17);
    t << a << " x" << j << " *" << (first ? " " : " + ");
    return t.str();
  };
  std::vector<std::string> text(nr);
  for (int j = 0; j < n; ++j) {
    if (cost[j] != 0) s.obj += term(cost[j], j, s.obj.empty());
    for (int p = start[j]; p < start[j] + len[j]; ++p) text[row[p]] += term(value[p], j, text[row[p]].empty());
  }
  auto side = [](double v) {
    std::ostringstream t;
    t.precision(17);
    t << v << " -";
    return t.str();
  };
  for (int i = 0; i < nr; ++i) s.rows.push_back({type[i], text[i] + side(rhs[i])});
  s.rows.push_back({'L', s.obj + side(optimum - 1e-3 * std::fabs(optimum))});
  s.nvars = n;
  s.lb = lb;
  s.ub = ub;
  return s;
}

// Every such verdict is confirmed on the model's own rows, with or without presolve, from the
// dual simplex and from the primal one, and leaves the simplex's point of the whole model to report.
TEST(BreskLpVerify, InfeasibleVerdictConfirmedWhateverPathTheSolveTook) {
  const std::pair<const char*, double> problems[] = {
      {"afiro", -4.6475314286E+02}, {"agg", -3.5991767287E+07}, {"lotfi", -2.5264706062E+01},
      {"share2b", -4.1573224074E+02}, {"israel", -8.9664482186E+05}};
  for (const auto& [name, optimum] : problems) {
    const Spec s = netlib_cut(name, optimum);
    ASSERT_GT(s.nvars, 0) << name;
    for (int presolve : {2, 0}) {
      for (int method : {0, 1}) {
        SCOPED_TRACE(std::string(name) + " presolve " + std::to_string(presolve) + " method " +
                     std::to_string(method));
        Fixture f;
        ASSERT_EQ(BRsetModelIntParameter(f.m, 28, presolve), 0);
        ASSERT_EQ(brtest::load(f.m, s), 0);
        ASSERT_EQ(BRoptimize(f.m, method), 0);
        int st = 0, sst = 0;
        BRgetInfo(f.m, 1255, &st);
        BRgetSolutionStatus(f.m, &sst);
        EXPECT_EQ(st, BR_INFEASIBLE);
        EXPECT_EQ(sst, BR_INFEASIBLE);
        std::vector<double> x(s.nvars), y(s.rows.size());
        EXPECT_EQ(BRgetPrimalSolution(f.m, x.data()), 0);
        EXPECT_EQ(BRgetDualSolution(f.m, y.data()), 0);
      }
    }
  }
}

}  // namespace
