// Tests of linear and quadratic solves with Clp: values, sign conventions,
// ranges, statuses, limits and progress callbacks.
#include "bresk/internal.h"
#include "bresk/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

using brtest::Fixture;
using brtest::Spec;

namespace {

// max 5x + 4y; 6x + 4y <= 24; x + 2y <= 6; -x + y <= 1; y <= 2.
Spec reddy_mikks() {
  Spec s;
  s.sense = -1;
  s.nvars = 2;
  s.obj = "5 x0 * 4 x1 * +";
  s.rows = {{'L', "6 x0 * 4 x1 * + 24 -"},
            {'L', "x0 2 x1 * + 6 -"},
            {'L', "x0 neg x1 + 1 -"},
            {'L', "x1 2 -"}};
  return s;
}

void expect_vec(const std::vector<double>& got, const std::vector<double>& want, const char* what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t k = 0; k < want.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-6) << what << " " << k;
}

TEST(BreskLp, ReddyMikksValuesDualsRanges) {
  Fixture f;
  ASSERT_EQ(brtest::load(f.m, reddy_mikks()), 0);
  for (int method : {0, 1, 2, 3}) {
    ASSERT_EQ(BRoptimize(f.m, method), 0) << method;
    int st = 0;
    BRgetInfo(f.m, 1255, &st);
    EXPECT_EQ(st, 1);
    double z = 0;
    BRgetInfo(f.m, 1251, &z);
    EXPECT_NEAR(z, 21.0, 1e-9);
    std::vector<double> x(2), s(4), y(4), d(2), cd(2), ci(2), rd(4), ri(4);
    ASSERT_EQ(BRgetPrimalSolution(f.m, x.data()), 0);
    ASSERT_EQ(BRgetSlacks(f.m, s.data()), 0);
    ASSERT_EQ(BRgetDualSolution(f.m, y.data()), 0);
    ASSERT_EQ(BRgetReducedCosts(f.m, d.data()), 0);
    expect_vec(x, {3, 1.5}, "x");
    expect_vec(s, {0, 0, 2.5, 0.5}, "slacks");
    expect_vec(y, {-0.75, -0.5, 0, 0}, "duals");
    expect_vec(d, {0, 0}, "reduced costs");
    ASSERT_EQ(BRgetObjectiveRanges(f.m, cd.data(), ci.data()), 0);
    expect_vec(ci, {1, 6}, "cost increase");
    expect_vec(cd, {3, 2.0 / 3}, "cost decrease");
    ASSERT_EQ(BRgetConstraintRanges(f.m, rd.data(), ri.data()), 0);
    expect_vec(ri, {12, 2.0 / 3, 1e30, 1e30}, "rhs increase");
    expect_vec(rd, {4, 2, 2.5, 0.5}, "rhs decrease");
  }
}

TEST(BreskLp, MinimisationSignsAndRanges) {
  Fixture f;
  Spec s;
  s.nvars = 2;
  s.obj = "2 x0 * 3 x1 * +";
  s.rows = {{'G', "x0 x1 + 4 -"}, {'G', "x0 3 x1 * + 6 -"}};
  ASSERT_EQ(brtest::load(f.m, s), 0);
  ASSERT_EQ(BRoptimize(f.m, 0), 0);
  std::vector<double> x(2), sl(2), y(2), cd(2), ci(2), rd(2), ri(2);
  BRgetPrimalSolution(f.m, x.data());
  BRgetSlacks(f.m, sl.data());
  BRgetDualSolution(f.m, y.data());
  expect_vec(x, {3, 1}, "x");
  expect_vec(sl, {0, 0}, "slacks");
  expect_vec(y, {-1.5, -0.5}, "duals");
  ASSERT_EQ(BRgetObjectiveRanges(f.m, cd.data(), ci.data()), 0);
  expect_vec(ci, {1, 3}, "cost increase");
  expect_vec(cd, {1, 1}, "cost decrease");
  ASSERT_EQ(BRgetConstraintRanges(f.m, rd.data(), ri.data()), 0);
  expect_vec(ri, {2, 6}, "rhs increase");
  expect_vec(rd, {2, 2}, "rhs decrease");
}

// A bigger LP: max sum x s.t. 40 rows of random positive coefficients <= 100.
Spec random_lp(int n, int rows) {
  Spec s;
  s.sense = -1;
  s.nvars = n;
  unsigned seed = 12345;
  auto rnd = [&] { seed = seed * 1103515245u + 12345u; return 1 + (seed >> 16) % 97; };
  for (int j = 0; j < n; ++j) s.obj += "x" + std::to_string(j) + (j ? " + " : " ");
  for (int i = 0; i < rows; ++i) {
    std::string r;
    for (int j = 0; j < n; ++j) r += std::to_string(rnd()) + " x" + std::to_string(j) + " *" + (j ? " + " : " ");
    s.rows.push_back({'L', r + "100 -"});
  }
  return s;
}

TEST(BreskLp, StatusesAndSolutionAvailability) {
  struct Case {
    Spec spec;
    int presolve;
    int status, solstatus, dual_rc;
  };
  Spec infeasible;
  infeasible.nvars = 2;
  infeasible.obj = "x0 x1 +";
  infeasible.rows = {{'G', "x0 x1 + 5 -"}, {'L', "x0 x1 + 3 -"}};
  Spec unbounded;
  unbounded.sense = -1;
  unbounded.nvars = 2;
  unbounded.obj = "x0 x1 +";
  unbounded.rows = {{'L', "x0 x1 - 1 -"}};
  const Case cases[] = {
      {infeasible, 2, 3, 3, 0},     {infeasible, 0, 3, 3, 0},
      {unbounded, 2, 4, 13, 2011},  {unbounded, 0, 4, 4, 0},
  };
  for (const Case& c : cases) {
    Fixture f;
    ASSERT_EQ(BRsetModelIntParameter(f.m, 28, c.presolve), 0);
    ASSERT_EQ(brtest::load(f.m, c.spec), 0);
    ASSERT_EQ(BRoptimize(f.m, 0), 0);
    int st = 0, sst = 0;
    BRgetInfo(f.m, 1255, &st);
    BRgetSolutionStatus(f.m, &sst);
    EXPECT_EQ(st, c.status);
    EXPECT_EQ(sst, c.solstatus);
    std::vector<double> y(2);
    EXPECT_EQ(BRgetDualSolution(f.m, y.data()), c.dual_rc);
  }
  Fixture f;
  int st = 0;
  EXPECT_EQ(BRoptimize(f.m, 0), 2010);
  BRgetSolutionStatus(f.m, &st);
  EXPECT_EQ(st, 13);
  ASSERT_EQ(brtest::load(f.m, reddy_mikks()), 0);
  BRgetSolutionStatus(f.m, &st);
  EXPECT_EQ(st, 14);
  std::vector<double> x(2);
  EXPECT_EQ(BRgetPrimalSolution(f.m, x.data()), 2011);
  EXPECT_EQ(BRgetObjectiveRanges(f.m, x.data(), x.data()), 2012);
}

// The simplex code would stop the process on such a cost; the solve ends with a numerical
// error instead, for continuous and integer models, and a cost just below the limit solves.
TEST(BreskLp, ObjectiveCoefficientTooLargeIsANumericalError) {
  for (const char* obj : {"1e26 x0 *", "-1e25 x0 * x1 +", "9e24 x0 *"}) {
    for (const char* types : {"CC", "IC"}) {
      Fixture f;
      Spec s;
      s.sense = -1;
      s.nvars = 2;
      s.obj = obj;
      s.rows = {{'L', "x0 x1 + 1 -"}};
      s.types = types;
      ASSERT_EQ(brtest::load(f.m, s), 0);
      const bool big = obj[0] != '9';
      const bool ints = types[0] == 'I';
      EXPECT_EQ(ints ? BRsolveMIP(f.m) : BRoptimize(f.m, 0), 0) << obj << " " << types;
      int st = 0;
      EXPECT_EQ(BRgetInfo(f.m, ints ? 1300 : 1255, &st), 0);
      EXPECT_EQ(st == BR_NUMERICAL_ERROR, big) << obj << " " << types << " status " << st;
    }
  }
}

TEST(BreskLp, LimitsAndCallbacks) {
  struct Seen {
    int calls = 0, stop_at = 0, last_iters = 0, last_loc = -1;
  };
  auto cb = [](BRmodel* m, int loc, void* u) -> int {
    auto* s = static_cast<Seen*>(u);
    ++s->calls;
    s->last_loc = loc;
    int it = 0;
    EXPECT_EQ(BRgetCallbackInfo(m, loc, 1259, &it), 0);
    s->last_iters = it;
    int dummy;
    EXPECT_EQ(BRgetInfo(m, 1207, &dummy), 0);       // allowed inside
    EXPECT_EQ(BRoptimize(m, 0), 2020);              // not allowed inside
    EXPECT_EQ(BRgetCallbackInfo(m, loc, 1801, &dummy), 2009);
    return s->stop_at && it >= s->stop_at;
  };
  Spec lp = random_lp(40, 40);
  {
    Fixture f;
    Seen seen;
    ASSERT_EQ(brtest::load(f.m, lp), 0);
    ASSERT_EQ(BRsetCallback(f.m, cb, &seen), 0);
    ASSERT_EQ(BRoptimize(f.m, 1), 0);
    int iters = 0;
    BRgetInfo(f.m, 1259, &iters);
    EXPECT_GT(iters, 3);
    EXPECT_EQ(seen.last_iters, iters);  // the final call carries the final count
    EXPECT_EQ(seen.calls, iters + 2);  // a first call, one per iteration, a last call
  }
  {
    Fixture f;
    Seen seen;
    seen.stop_at = 3;
    ASSERT_EQ(brtest::load(f.m, lp), 0);
    ASSERT_EQ(BRsetCallback(f.m, cb, &seen), 0);
    EXPECT_EQ(BRoptimize(f.m, 1), 2016);
    int st = 0;
    BRgetInfo(f.m, 1255, &st);
    EXPECT_TRUE(st == 5 || st == 12) << st;
    EXPECT_EQ(seen.last_iters, 3);
  }
  {
    Fixture f;
    ASSERT_EQ(BRsetModelIntParameter(f.m, 30, 2), 0);
    ASSERT_EQ(brtest::load(f.m, lp), 0);
    EXPECT_EQ(BRoptimize(f.m, 1), 2023);
    // The program asks for ranges after a stopped solve too: they must come.
    std::vector<double> a(40), b(40);
    EXPECT_EQ(BRgetObjectiveRanges(f.m, a.data(), b.data()), 0);
    EXPECT_EQ(BRgetConstraintRanges(f.m, a.data(), b.data()), 0);
  }
  {  // A one-second limit: a slow callback makes the solve pass it.
    Fixture f;
    ASSERT_EQ(BRsetModelIntParameter(f.m, 300, 1), 0);
    ASSERT_EQ(brtest::load(f.m, lp), 0);
    auto slow = [](BRmodel*, int, void*) -> int {
      std::this_thread::sleep_for(std::chrono::milliseconds(600));
      return 0;
    };
    ASSERT_EQ(BRsetCallback(f.m, slow, nullptr), 0);
    EXPECT_EQ(BRoptimize(f.m, 1), 2017);
    int it = 0;
    BRgetInfo(f.m, 1259, &it);
    // The first call and iteration 1 sleep past the second; on a loaded machine the clock
    // may be read an iteration later, but the solve stops long before its natural end.
    EXPECT_GE(it, 1);
    EXPECT_LE(it, 4);
  }
}

TEST(BreskLp, QuadraticObjectives) {
  struct Case {
    int sense;
    const char* obj;
    const char* row;
    int rc;
    double z;
    std::vector<double> x, y;
  };
  const Case cases[] = {
      // min x^2 + y^2 - 2x - 4y, x + y <= 1: (0, 1), dual 2 (z falls 2 per unit of rhs).
      {1, "x0 sqr x1 sqr + 2 x0 * - 4 x1 * -", "x0 x1 + 1 -", 0, -3, {0, 1}, {2}},
      // min x^2 + xy + y^2 - 3x with a loose row: (2, -1), -3.
      {1, "x0 sqr x0 x1 * + x1 sqr + 3 x0 * -", "x0 x1 + 10 -", 0, -3, {2, -1}, {0}},
      // max -(x-1)^2 - (y-2)^2, x + y <= 2: (0.5, 1.5), -0.5, dual -1.
      {-1, "x0 1 - sqr neg x1 2 - sqr -", "x0 x1 + 2 -", 0, -0.5, {0.5, 1.5}, {-1}},
      // Unbounded: max -x^2 + y with y free upwards.
      {-1, "x0 sqr neg x1 +", "x0 x1 - 1 -", 4, 0, {}, {}},
      // Not convex.
      {1, "x0 x1 *", "x0 x1 + 1 -", 2018, 0, {}, {}},
      {-1, "x0 sqr", "x0 x1 + 1 -", 2018, 0, {}, {}},
  };
  for (const Case& c : cases) {
    Fixture f;
    ASSERT_EQ(BRsetModelIntParameter(f.m, 219, 1), 0);
    Spec s;
    s.sense = c.sense;
    s.nvars = 2;
    s.lb = {-1e307, -1e307};
    s.obj = c.obj;
    s.rows = {{'L', c.row}};
    ASSERT_EQ(brtest::load(f.m, s), 0) << c.obj;
    if (c.rc == 4) {
      ASSERT_EQ(BRoptimize(f.m, 0), 0);
      int st = 0;
      BRgetInfo(f.m, 1255, &st);
      EXPECT_EQ(st, 4) << c.obj;
      continue;
    }
    ASSERT_EQ(BRoptimize(f.m, 0), c.rc) << c.obj;
    if (c.rc) continue;
    int st = 0;
    double z = 0;
    BRgetInfo(f.m, 1255, &st);
    BRgetInfo(f.m, 1251, &z);
    EXPECT_EQ(st, 1) << c.obj;
    EXPECT_NEAR(z, c.z, 1e-6) << c.obj;
    std::vector<double> x(2), y(1);
    BRgetPrimalSolution(f.m, x.data());
    BRgetDualSolution(f.m, y.data());
    expect_vec(x, c.x, c.obj);
    expect_vec(y, c.y, c.obj);
  }
}

} // namespace

// A transportation model of np plants and nc customers, with demands `dem` over capacities
// of about 1,000.
Spec transportation(int np, int nc, int dem) {
  Spec s;
  s.nvars = np * nc;
  for (int p = 0; p < np; ++p)
    for (int c = 0; c < nc; ++c) {
      int j = p * nc + c;
      s.obj += std::to_string(1 + (p * 7 + c * 13) % 97) + " x" + std::to_string(j) + " *" + (j ? " + " : " ");
    }
  for (int p = 0; p < np; ++p) {
    std::string r;
    for (int c = 0; c < nc; ++c) r += "x" + std::to_string(p * nc + c) + (c ? " + " : " ");
    s.rows.push_back({'L', r + std::to_string(1000 + p % 7) + " -"});
  }
  for (int c = 0; c < nc; ++c) {
    std::string r;
    for (int p = 0; p < np; ++p) r += "x" + std::to_string(p * nc + c) + (p ? " + " : " ");
    s.rows.push_back({'G', r + std::to_string(dem + c % 5) + " -"});
  }
  return s;
}

// A large model far wider than tall takes the primal path by default: the same status and
// optimum as the dual simplex, duals that prove the optimum, and a basis to rank.
TEST(BreskLp, WideModelSameAnswersOnEitherPath) {
  const int np = 230, nc = 230, n = np * nc, nr = np + nc;
  ASSERT_TRUE(bresk::wide_model(n, nr, nc));
  ASSERT_FALSE(bresk::wide_model(n, n / 9, nc));
  ASSERT_FALSE(bresk::wide_model(49999, 10, nc));
  ASSERT_FALSE(bresk::wide_model(n, 1, n));  // one dense row
  struct Case {
    int dem, status;
  };
  for (const Case c : {Case{900, 1}, Case{1100, 3}}) {
    const Spec s = transportation(np, nc, c.dem);
    double z[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
      Fixture f;
      ASSERT_EQ(brtest::load(f.m, s), 0);
      ASSERT_EQ(BRoptimize(f.m, k == 0 ? 0 : 2), 0);
      int st = 0, iters = 0;
      BRgetInfo(f.m, 1255, &st);
      BRgetInfo(f.m, 1259, &iters);
      ASSERT_EQ(st, c.status) << c.dem << " method " << k;
      EXPECT_GT(iters, 0);
      if (st != 1) continue;
      BRgetInfo(f.m, 1251, &z[k]);
      std::vector<double> x(n), d(n), y(nr), sl(nr);
      ASSERT_EQ(BRgetPrimalSolution(f.m, x.data()), 0);
      ASSERT_EQ(BRgetReducedCosts(f.m, d.data()), 0);
      ASSERT_EQ(BRgetDualSolution(f.m, y.data()), 0);
      ASSERT_EQ(BRgetSlacks(f.m, sl.data()), 0);
      int bad = 0;
      for (int j = 0; j < n; ++j) bad += d[j] < -1e-7 || (x[j] > 1e-7 && std::fabs(d[j]) > 1e-7);
      EXPECT_EQ(bad, 0) << "reduced costs of a minimum";
      double dual_obj = 0;
      for (int p = 0; p < np; ++p) dual_obj -= y[p] * (1000 + p % 7);
      for (int cc = 0; cc < nc; ++cc) dual_obj -= y[np + cc] * (c.dem + cc % 5);
      EXPECT_NEAR(dual_obj, z[k], 1e-6 * std::fabs(z[k])) << "method " << k;
      std::vector<double> a(n), b(n);
      EXPECT_EQ(BRgetObjectiveRanges(f.m, a.data(), b.data()), 0);
    }
    if (c.status == 1) {
      EXPECT_NEAR(z[0], z[1], 1e-9 * std::fabs(z[1]));
    }
  }
  // The progress callback sees the primal path's iterations and stops it, silently; the
  // sprint passes left each end at their first iterations.
  Fixture f;
  ASSERT_EQ(brtest::load(f.m, transportation(np, nc, 900)), 0);
  auto stop = [](BRmodel* m, int loc, void*) -> int {
    int it = 0;
    BRgetCallbackInfo(m, loc, 1259, &it);
    return it >= 5;
  };
  ASSERT_EQ(BRsetCallback(f.m, stop, nullptr), 0);
  testing::internal::CaptureStdout();
  const int rc = BRoptimize(f.m, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(rc, 2016);
  int it = 0;
  BRgetInfo(f.m, 1259, &it);
  EXPECT_GE(it, 5);
  EXPECT_LE(it, 100);
}

// One dense row: max sum c_j x_j over sum a_j x_j <= b with 0 <= x_j <= 1, where many
// columns share a ratio c_j / a_j (a few distinct costs, the same ratio at different
// coefficients, pairs of identical columns), the bounds written as singleton rows or as
// bounds. The optimum is the greedy fill by ratio; the dual simplex reaches it in a few
// dozen iterations, not one per dozen columns, and in a number that does not grow with the
// row's length (at 400,000 columns a loose dual tolerance took 45).
TEST(BreskLp, DenseRowWithTiedRatiosSolvesInFewIterations) {
  struct Case {
    const char* name;
    int n;
    bool singleton_rows;
    int (*a)(int);
    int (*c)(int);
    int max_iters;
  };
  const Case cases[] = {
      {"seven costs, singleton rows", 24000, true, [](int) { return 1; }, [](int j) { return 1 + j % 7; }, 300},
      {"one ratio per cost, bounds", 24000, false, [](int j) { return 1 + j % 5; },
       [](int j) { return (1 + j % 5) * (1 + j % 7); }, 300},
      // wide enough for the primal path, which the dense row rules out
      {"pairs of identical columns", 60000, false, [](int) { return 1; },
       [](int j) { return 1000 + (j / 2) * 7919 % 10007; }, 300},
      {"seven costs, singleton rows, long row", 400000, true, [](int) { return 1; },
       [](int j) { return 1 + j % 7; }, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int n = c.n;
    Spec s;
    s.sense = -1;
    s.nvars = n;
    std::string row;
    long long total = 0;
    std::vector<int> order(n);
    for (int j = 0; j < n; ++j) {
      const std::string x = " x" + std::to_string(j);
      s.obj += std::to_string(c.c(j)) + x + " *" + (j ? " + " : " ");
      row += std::to_string(c.a(j)) + x + " *" + (j ? " + " : " ");
      total += c.a(j);
      order[j] = j;
      if (c.singleton_rows) s.rows.push_back({'L', x.substr(1) + " 1 -"});
    }
    const long long b = total / 2;
    s.rows.push_back({'L', row + std::to_string(b) + " -"});
    s.lb.assign(n, 0.0);
    s.ub.assign(n, c.singleton_rows ? 1e30 : 1.0);
    // the greedy fill by ratio, best first
    std::sort(order.begin(), order.end(), [&](int i, int j) {
      return static_cast<long long>(c.c(i)) * c.a(j) > static_cast<long long>(c.c(j)) * c.a(i);
    });
    double z = 0, room = static_cast<double>(b);
    for (int j : order) {
      const double take = std::min(1.0, room / c.a(j));
      z += take * c.c(j);
      room -= take * c.a(j);
    }
    Fixture f;
    ASSERT_EQ(brtest::load(f.m, s), 0);
    ASSERT_EQ(BRoptimize(f.m, 0), 0);
    int st = 0, iters = 0;
    double obj = 0;
    BRgetInfo(f.m, 1255, &st);
    BRgetInfo(f.m, 1259, &iters);
    BRgetInfo(f.m, 1251, &obj);
    ASSERT_EQ(st, 1);
    EXPECT_NEAR(obj, z, 1e-9 * z);
    EXPECT_LE(iters, c.max_iters);
  }
}
