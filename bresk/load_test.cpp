// Tests of instruction-list loading: validation, structure detection, the
// row-wise loader and derivatives by automatic differentiation.
#include "bresk/internal.h"
#include "bresk/test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

using brtest::Fixture;
using brtest::Spec;

namespace {

// Linear entries of constraint row i as a map.
std::map<int, double> lin_of(BRmodel* m, int i, double* rhs) {
  int n = 0;
  char type;
  EXPECT_EQ(BRgetLPConstraintDatai(m, i, &type, rhs, &n, nullptr, nullptr), 0);
  std::vector<int> col(n + 1);
  std::vector<double> val(n + 1);
  EXPECT_EQ(BRgetLPConstraintDatai(m, i, &type, rhs, &n, col.data(), val.data()), 0);
  std::map<int, double> r;
  for (int k = 0; k < n; ++k) r[col[k]] = val[k];
  return r;
}

TEST(BreskLoad, StructureOfRows) {
  struct Case {
    const char* code;
    std::map<int, double> lin;
    double rhs;
    int nlcode;
    std::vector<int> nlvars;
  };
  const Case cases[] = {
      {"2 x0 * 3 x1 * + 4 -", {{0, 2}, {1, 3}}, 4, 0, {}},
      {"x0 x0 + x1 2 * - x0 -", {{0, 1}, {1, -2}}, 0, 0, {}},
      {"x0 x1 - x0 - x1 +", {}, 0, 0, {}},
      {"x0 2 / 3 neg +", {{0, 0.5}}, 3, 0, {}},
      {"x0 1 ^ 5 +", {{0, 1}}, -5, 0, {}},
      {"2 3 ^ x0 *", {{0, 8}}, 0, 0, {}},
      {"1 0 > x0 x1 if", {{0, 1}}, 0, 0, {}},
      {"#1070 #2 x0 #1070 #1 #1070 #7 1 + #1000", {{0, 1}}, -1, 0, {}},
      {"x0 x1 * 1 -", {}, 1, 2, {0, 1}},
      {"x0 sin x1 3 * + 2 +", {{1, 3}}, -2, 2, {0}},
      {"x0 abs x1 + neg", {{1, -1}}, 0, 3, {0}},
      {"x0 exp x0 + x2 -", {{2, -1}}, 0, 2, {0}},
      {"x0 x1 max:2 x2 +", {{2, 1}}, 0, 3, {0, 1}},
      {"x0 user:1 x1 +", {{1, 1}}, 0, 4, {0}},
      {"x0 x2 / 7 -", {}, 7, 2, {0, 2}},
      {"x2 x0 + 3 x1 * + x0 - x2 +", {{1, 3}, {2, 2}}, 0, 0, {}},
      {"x2 x0 + x1 x1 * +", {{0, 1}, {2, 1}}, 0, 2, {1}},
  };
  for (const Case& c : cases) {
    Fixture f;
    Spec s;
    s.nvars = 3;
    s.obj = "x0";
    s.rows = {{'L', c.code}};
    ASSERT_EQ(brtest::load(f.m, s), 0) << c.code;
    double rhs = 0;
    EXPECT_EQ(lin_of(f.m, 0, &rhs), c.lin) << c.code;
    EXPECT_DOUBLE_EQ(rhs, c.rhs) << c.code;
    int code = -1, start[2], vars[3];
    char flag;
    ASSERT_EQ(BRgetNLPData(f.m, nullptr, nullptr, nullptr, &code, &flag, start, vars), 0);
    EXPECT_EQ(code, c.nlcode) << c.code;
    EXPECT_EQ(std::vector<int>(vars, vars + start[1]), c.nlvars) << c.code;
    int d[8];
    BRgetDimensions(f.m, &d[0], &d[1], &d[2], &d[3], &d[4], &d[5], &d[6], &d[7]);
    EXPECT_EQ(d[3], static_cast<int>(c.nlvars.size())) << c.code;
    EXPECT_EQ(d[7], c.nlcode ? 1 : 0) << c.code;
  }
}

TEST(BreskLoad, QuadraticRecognition) {
  // x0^2 + 3 x0 x1 - 2 x1 + (x1 + 1)^2 as 1/2 x'Qx: Q00 = 2, Q10 = 3, Q11 = 2; linear x1 0; const 1.
  const char* code = "x0 sqr x0 x1 * 3 * + x1 2 * - x1 1 + 2 ^ +";
  for (int useqp : {0, 1}) {
    Fixture f;
    ASSERT_EQ(BRsetModelIntParameter(f.m, 219, useqp), 0);
    Spec s;
    s.nvars = 2;
    s.obj = code;
    s.rows = {{'L', "x0 x1 + 1 -"}};
    ASSERT_EQ(brtest::load(f.m, s), 0);
    int n = -1, i[8], j[8];
    double q[8];
    ASSERT_EQ(BRgetQCDatai(f.m, -1, &n, i, j, q), 0);
    int d[8];
    BRgetDimensions(f.m, &d[0], &d[1], &d[2], &d[3], &d[4], &d[5], &d[6], &d[7]);
    int nv = 0, vars[4];
    ASSERT_EQ(BRgetNLPObjectiveData(f.m, &nv, vars), 0);
    EXPECT_EQ(nv, 2);
    if (!useqp) {
      EXPECT_EQ(n, 0);
      EXPECT_EQ(d[5], 2);  // nonlinear objective entries
      EXPECT_EQ(d[4], 0);
      continue;
    }
    ASSERT_EQ(n, 3);
    EXPECT_EQ(d[4], 3);
    EXPECT_EQ(d[5], 0);
    std::map<std::pair<int, int>, double> got;
    for (int k = 0; k < n; ++k) got[{i[k], j[k]}] = q[k];
    std::map<std::pair<int, int>, double> want = {{{0, 0}, 2.0}, {{1, 0}, 3.0}, {{1, 1}, 2.0}};
    EXPECT_EQ(got, want);
    double objconst = 0, cost[2];
    ASSERT_EQ(BRgetLPData(f.m, nullptr, &objconst, cost, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_DOUBLE_EQ(objconst, 1.0);
    EXPECT_DOUBLE_EQ(cost[0], 0.0);
    EXPECT_DOUBLE_EQ(cost[1], 0.0);
    // Value from the data agrees with the formula.
    double x[2] = {1.5, -2.0}, v;
    ASSERT_TRUE(bresk::eval_row(f.m, -1, x, &v));
    EXPECT_NEAR(v, 2.25 + 3 * 1.5 * -2 + 4 + 1, 1e-12);
  }
}

TEST(BreskLoad, MalformedListsAreRefused) {
  struct Case {
    const char* code;
    int err;
  };
  const Case cases[] = {
      {"x0 #1015", 2014},       {"x0 #999", 2014},      {"x0 #0", 2014},
      {"x0 #-5", 2014},         {"#1063 #7", 2014},     {"#1062 #99", 2014},
      {"#1063", 2014},          {"x0 max:0", 2014},     {"x0 #1070", 2014},
      {"x0 #1070 #1 #1070", 2014}, {"x0 +", 2015},     {"x0 x1", 2015},
      {"", 2015},               {"x0 x1 max:3", 2015},  {"1 0 /", 2019},
      {"1 neg ln x0 +", 2019},  {"2 neg 0.5 ^ x0 *", 2019}, {"800 exp", 2019},
  };
  for (const Case& c : cases) {
    Fixture f;
    Spec s;
    s.nvars = 2;
    s.obj = "x0 x1 +";
    s.rows = {{'L', "x0 1 -"}, {'G', c.code}};
    EXPECT_EQ(brtest::load(f.m, s), c.err) << c.code;
    int row = -9;
    EXPECT_EQ(BRgetErrorRowIndex(f.m, &row), 0);
    EXPECT_EQ(row, 1) << c.code;
    int st = 0;
    int d[8];
    BRgetDimensions(f.m, &d[0], &d[1], &d[2], &d[3], &d[4], &d[5], &d[6], &d[7]);
    EXPECT_EQ(d[0], 0);  // nothing stays loaded
    (void)st;
  }
  {  // A constant pool holding a NaN.
    Fixture f;
    int sense = 1, os = 0, ol = 7, rs = 0, rl = 2, code[7] = {1062, 0, 1063, 0, 1003, 1063, 0};
    double lb = 0, ub = 1, st = 0, pool[1] = {std::nan("")};
    ol = 5;
    rs = 5;
    EXPECT_EQ(BRloadNLPCode(f.m, 1, 1, 1, 1, &sense, "L", "C", code, 7, nullptr, pool, &st, &os,
                            &ol, &rs, &rl, &lb, &ub), 2019);
  }
  // Bad argument shapes.
  Fixture f;
  int sense = 1, os = 0, ol = 5, rs = 0, rl = 2, code[2] = {1063, 0};
  double lb = 0, ub = 1, st = 0;
  EXPECT_EQ(BRloadNLPCode(f.m, 0, 1, 1, 0, &sense, nullptr, "C", code, 2, nullptr, nullptr, &st,
                          &os, &ol, &rs, &rl, &lb, &ub), 2006);
  ol = 2;
  EXPECT_EQ(BRloadNLPCode(f.m, 1, 1, 1, 0, &sense, "X", "C", code, 2, nullptr, nullptr, &st, &os,
                          &ol, &rs, &rl, &lb, &ub), 2006);
  EXPECT_EQ(BRloadNLPCode(f.m, 1, 1, 1, 0, &sense, "L", "Z", code, 2, nullptr, nullptr, &st, &os,
                          &ol, &rs, &rl, &lb, &ub), 2006);
  EXPECT_EQ(BRloadNLPCode(f.m, 1, 1, 1, 0, &sense, "L", "C", code, 2, nullptr, nullptr, &st, &os,
                          &ol, &rs, &rl, &lb, &ub), 0);
}

TEST(BreskLoad, RowWiseLoad) {
  Fixture f;
  BRmodel* m = f.m;
  const double lb[2] = {0, 0}, ub[2] = {1e307, 1e307};
  // Calls out of order.
  EXPECT_EQ(BRaddLRWNumbers(m, 1, lb, nullptr), 2025);
  EXPECT_EQ(BRbuildLRWModel(m), 2025);
  ASSERT_EQ(BRloadLPInstRowWise(m, 2, 1, 2, "CC", nullptr, nullptr, lb, ub), 0);
  brtest::Code c;
  c.add("5 x0 * 4 x1 * +");
  ASSERT_EQ(BRaddLRWNumbers(m, 2, c.pool.data(), nullptr), 0);
  int res = 7;
  ASSERT_EQ(BRaddLRWobjective(m, -1, static_cast<int>(c.words.size()), c.words.data(), &res), 0);
  EXPECT_EQ(res, -1);
  // The next row's constants continue the pool: indices 2 and 3.
  const double more[2] = {6, 24};
  ASSERT_EQ(BRaddLRWNumbers(m, 2, more, nullptr), 0);
  const int row1[] = {1062, 2, 1063, 0, 1003, 1063, 1, 1001, 1062, 3, 1002};
  ASSERT_EQ(BRaddLRWconstraint(m, 'L', 11, row1, &res), 0);
  EXPECT_EQ(res, 0);
  EXPECT_EQ(BRbuildLRWModel(m), 2025);  // one row missing
  const int nonlin[] = {1063, 0, 1063, 1, 1003};
  EXPECT_EQ(BRaddLRWconstraint(m, 'L', 5, nonlin, &res), 2040);
  const int row2[] = {1063, 1, 1062, 3, 1002};
  ASSERT_EQ(BRaddLRWconstraint(m, 'G', 5, row2, &res), 0);
  EXPECT_EQ(res, 1);
  EXPECT_EQ(BRaddLRWconstraint(m, 'G', 5, row2, &res), 2025);  // more rows than announced
  ASSERT_EQ(BRbuildLRWModel(m), 0);
  double rhs;
  EXPECT_EQ(lin_of(m, 0, &rhs), (std::map<int, double>{{0, 6}, {1, 1}}));
  EXPECT_EQ(rhs, 24);
  EXPECT_EQ(lin_of(m, 1, &rhs), (std::map<int, double>{{1, 1}}));
  EXPECT_EQ(rhs, 24);
  int sense = 0;
  double cost[2];
  ASSERT_EQ(BRgetLPData(m, &sense, nullptr, cost, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(sense, -1);
  EXPECT_EQ(cost[0], 5);
  EXPECT_EQ(cost[1], 4);
}

TEST(BreskLoad, LoadCallbacksSeeProgressAndCanStop) {
  struct Seen {
    std::vector<int> locs, rows;
    int stop_at = -1;
  } seen;
  auto cb = [](BRmodel* m, int loc, void* u) -> int {
    auto* s = static_cast<Seen*>(u);
    int rows = -1;
    EXPECT_EQ(BRgetCallbackInfo(m, loc, 1801, &rows), 0);
    double secs = -1;
    EXPECT_EQ(BRgetCallbackInfo(m, loc, 1800, &secs), 0);
    EXPECT_GE(secs, 0.0);
    // Only information queries are allowed inside a callback.
    EXPECT_EQ(BRsetModelIntParameter(m, 30, 5), 2020);
    s->locs.push_back(loc);
    s->rows.push_back(rows);
    return static_cast<int>(s->locs.size()) == s->stop_at;
  };
  Spec s;
  s.nvars = 2;
  s.obj = "x0 x1 +";
  for (int i = 0; i < 250; ++i) s.rows.push_back({'L', "x0 x1 + 10 -"});
  {
    Fixture f;
    ASSERT_EQ(BRsetCallback(f.m, cb, &seen), 0);
    ASSERT_EQ(brtest::load(f.m, s), 0);
    EXPECT_EQ(seen.locs, (std::vector<int>{7, 7, 7, 8, 9}));
    EXPECT_EQ(seen.rows, (std::vector<int>{100, 200, 250, 250, 250}));
  }
  {
    Fixture f;
    seen = Seen();
    seen.stop_at = 2;
    ASSERT_EQ(BRsetCallback(f.m, cb, &seen), 0);
    EXPECT_EQ(brtest::load(f.m, s), 2016);
  }
}

// Gradients by automatic differentiation agree with central differences.
TEST(BreskLoad, GradientsMatchCentralDifferences) {
  struct Case {
    const char* code;
    double lo, hi;  // sampling box of both variables
  };
  const Case cases[] = {
      {"x0 x1 + x0 x1 - *", -3, 3},  {"x0 x1 /", 0.5, 3},       {"x0 x1 ^", 0.5, 2},
      {"x0 3 ^ x1 2 neg ^ +", 0.5, 2}, {"x0 neg x1 abs +", 0.2, 3}, {"x0 sqrt x1 ln *", 0.5, 4},
      {"x0 sin x1 cos * x0 tan +", -1, 1}, {"x0 exp x1 sqr -", -2, 2}, {"x0 x1 mod", 2.1, 3.9},
      {"x0 x1 > x0 x1 if", 0, 3},   {"x0 x1 2 min:3", -1, 1},   {"x0 x1 max:2 x0 *", -2, 2},
      {"x0 x1 fpa", 0.1, 2},         {"x0 x1 fpl", 0.1, 2},      {"x0 5 wrap x1 *", 1.2, 1.8},
      {"x0 floor x1 sign + x0 *", 0.2, 0.8}, {"x0 x1 == x0 x1 != + x0 x1 <= + x1 *", 0.1, 1},
      {"x0 x1 and x0 not or x1 *", 0.1, 1}, {"x0 x1 >= x0 x1 < + x0 x1 > * x1 *", 0.1, 1},
      // Probability kernels (arguments kept inside their domains).
      {"x0 psn x1 psl +", -2, 2},      {"x0 lgm x1 *", 0.5, 3},
      {"x0 x1 pel x0 x1 peb +", 1.1, 4.9}, {"x0 x1 pps x0 x1 ppl +", 1.1, 4.9},
      {"5.5 x0 * x1 ptd", 0.3, 0.9},   {"5.5 x0 * x1 pcx", 0.3, 0.9},
      {"x0 4 / 12.5 x1 4 * pbn", 0.6, 0.9}, {"x0 3.5 11.5 pfs x1 *", 0.5, 2},
      {"4.5 6.5 x0 x1 + pfd", 0.3, 0.9}, {"20 8.5 6.5 x0 x1 + 2 * phg", 0.3, 0.9},
  };
  std::mt19937 rng(7);
  int checked = 0;
  for (int mode : {0, 3}) {
    for (const Case& c : cases) {
      Fixture f;
      ASSERT_EQ(BRsetModelIntParameter(f.m, 205, mode), 0);
      Spec s;
      s.nvars = 2;
      s.obj = "x0";
      s.rows = {{'L', c.code}};
      s.lb = {-1e307, -1e307};
      ASSERT_EQ(brtest::load(f.m, s), 0) << c.code;
      const bresk::Row& row = f.m->rows[0];
      std::uniform_real_distribution<double> u(c.lo, c.hi);
      for (int trial = 0; trial < 5; ++trial) {
        double x[2] = {u(rng), u(rng)}, v, g[2] = {0, 0};
        ASSERT_TRUE(bresk::eval_grad(f.m, 0, x, &v, g)) << c.code;
        for (int k = row.var_begin; k < row.var_end; ++k) {
          int j = f.m->row_var[k];
          double h = 1e-6 * (1 + std::fabs(x[j])), fp, fm;
          double xp[2] = {x[0], x[1]}, xm[2] = {x[0], x[1]};
          xp[j] += h;
          xm[j] -= h;
          ASSERT_TRUE(bresk::eval_row(f.m, 0, xp, &fp));
          ASSERT_TRUE(bresk::eval_row(f.m, 0, xm, &fm));
          double fd = (fp - fm) / (2 * h);
          EXPECT_NEAR(g[k - row.var_begin], fd, 1e-6 * (1 + std::fabs(fd)))
              << c.code << " var " << j << " at " << x[0] << "," << x[1];
          ++checked;
        }
      }
    }
  }
  EXPECT_EQ(checked, 2 * 5 * 2 * 29);
}

TEST(BreskLoad, DomainFailuresFlagTheRow) {
  const char* codes[] = {"x0 ln", "1 x0 /", "x0 0.5 ^", "x0 sqrt"};
  for (const char* code : codes) {
    Fixture f;
    Spec s;
    s.nvars = 1;
    s.lb = {-1e307};
    s.obj = "x0";
    s.rows = {{'L', "x0"}, {'L', code}};
    ASSERT_EQ(brtest::load(f.m, s), 0) << code;
    double x[1] = {code[0] == '1' ? 0.0 : -1.0}, v, g[1];
    EXPECT_FALSE(bresk::eval_grad(f.m, 1, x, &v, g)) << code;
    int row = -9;
    EXPECT_EQ(BRgetErrorRowIndex(f.m, &row), 0);
    EXPECT_EQ(row, 1);
  }
}

} // namespace

// The packed copy of the loaded words gives back every word, the extremes of the range
// included, row by row.
TEST(BreskLoad, PackedWordsRoundTrip) {
  Fixture f;
  const std::vector<std::vector<int32_t>> rows = {
      {1062, 0, 1063, 999999, 1003, 1001, 1070, 1, 1070, 41},
      {INT32_MIN, INT32_MAX, -1, 0, 1, 999, 1000, 1001, 1127, 1128, 70000000, -70000000},
      {}};
  std::vector<bresk::Row> r(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    r[i].word_begin = static_cast<int64_t>(f.m->words.size());
    bresk::pack_words(f.m, rows[i].data(), static_cast<int>(rows[i].size()));
    r[i].word_end = static_cast<int64_t>(f.m->words.size());
  }
  std::vector<int32_t> back;
  for (size_t i = 0; i < rows.size(); ++i) {
    bresk::unpack_words(f.m, r[i], back);
    EXPECT_EQ(back, rows[i]) << "row " << i;
  }
}

// Every word loaded is counted, but only a row that needs the general analysis keeps its
// packed words: a linear row's data say all that its words did.
TEST(BreskLoad, OnlyRowsBeyondTheLinearPassKeepTheirWords) {
  Fixture f;
  Spec s;
  s.nvars = 2;
  s.obj = "x0 x1 +";
  s.rows = {{'L', "2 x0 * x1 - 3 -"}, {'G', "x0 x1 * 1 -"}};
  ASSERT_EQ(brtest::load(f.m, s), 0);
  const bresk::Row &lin = f.m->rows[0], &nl = f.m->rows[1];
  EXPECT_EQ(lin.word_end, lin.word_begin);
  EXPECT_EQ(f.m->obj.word_end, f.m->obj.word_begin);
  std::vector<int32_t> back;
  bresk::unpack_words(f.m, nl, back);
  EXPECT_EQ(back, (std::vector<int32_t>{1063, 0, 1063, 1, 1003, 1062, 2, 1002}));
  EXPECT_EQ(f.m->nwords, 5 + 11 + 8);
}

// The large-array allocator keeps the contents when an array grows from ordinary memory
// into its own mapping and on within it, and a copy is an ordinary equal array.
TEST(BreskLoad, LargeArraysGrowAcrossTheMappingSize) {
  bresk::BigVec<int32_t> v;
  for (int32_t k = 0; k < 3000000; ++k) v.push_back(k * 3);
  ASSERT_GE(v.capacity() * sizeof(int32_t), bresk::BigAlloc<int32_t>::kMapFrom);
  bool same = true;
  for (int32_t k = 0; k < 3000000; ++k) same = same && v[static_cast<size_t>(k)] == k * 3;
  EXPECT_TRUE(same);
  bresk::BigVec<int32_t> w = v;
  EXPECT_TRUE(w == v);
  v.clear();
  v.shrink_to_fit();
  EXPECT_EQ(w.back(), 8999997);
}

// Start values as loaded (a NaN start is the bound nearest 0) and after a start point, whose
// marker entries keep the loaded value; a start common to every variable is kept once.
TEST(BreskLoad, StartValuesLoadedAndChanged) {
  const double nan = std::nan(""), mark = bresk::kNoStartMarker;
  struct Case {
    std::vector<double> start, point, want;
    bool kept_once;
  } cases[] = {
      {{2, 2, 2}, {}, {2, 2, 2}, true},
      {{1, nan, 3}, {}, {1, 0.5, 3}, false},
      {{2, 2, 2}, {mark, 7, mark}, {2, 7, 2}, false},
      {{nan, nan, nan}, {}, {0, 0.5, 0}, false},
  };
  for (const Case& c : cases) {
    Fixture f;
    Spec s;
    s.nvars = 3;
    s.obj = "x0 x1 + x2 +";
    s.lb = {0, 0.5, -1};
    s.start = c.start;
    ASSERT_EQ(brtest::load(f.m, s), 0);
    if (!c.point.empty()) {
      ASSERT_EQ(BRloadVarStartPoint(f.m, c.point.data()), 0);
    }
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(f.m->start[static_cast<size_t>(j)], c.want[static_cast<size_t>(j)]) << j;
    }
    EXPECT_EQ(f.m->start.uniform(), c.kept_once);
  }
}

// Rows that are sums of variables with one coefficient keep it once; the rows after them
// still find their own coefficients, through the row data, the column-wise matrix and the
// evaluator alike.
TEST(BreskLoad, RowsWithOneCoefficientBetweenOthers) {
  Fixture f;
  Spec s;
  s.nvars = 3;
  s.obj = "2 x0 * 3 x1 * +";
  s.rows = {{'L', "x0 x1 + x2 + 4 -"},
            {'L', "x0 2 * x2 5 * - 1 -"},
            {'G', "x1 3 * x2 3 * + 6 -"},
            {'E', "x2 x0 - 2 -"}};
  ASSERT_EQ(brtest::load(f.m, s), 0);
  const std::map<int, double> want[] = {
      {{0, 1}, {1, 1}, {2, 1}}, {{0, 2}, {2, -5}}, {{1, 3}, {2, 3}}, {{0, -1}, {2, 1}}};
  const double x[3] = {0.5, -1.25, 2};
  for (int i = 0; i < 4; ++i) {
    double rhs = 0, g = 0, byhand = 0;
    EXPECT_EQ(lin_of(f.m, i, &rhs), want[i]) << i;
    for (const auto& [j, a] : want[i]) byhand += a * x[j];
    ASSERT_TRUE(bresk::eval_row(f.m, i, x, &g));
    EXPECT_DOUBLE_EQ(g, byhand - rhs) << i;
  }
  // the column-wise matrix holds every row's entries with their own coefficients
  int start[4], len[3], row[10];
  double val[10];
  ASSERT_EQ(BRgetLPData(f.m, nullptr, nullptr, nullptr, nullptr, nullptr, start, len, val, row, nullptr,
                        nullptr),
            0);
  std::map<std::pair<int, int>, double> got, all;
  for (int j = 0; j < 3; ++j)
    for (int p = start[j]; p < start[j] + len[j]; ++p) got[{row[p], j}] = val[p];
  for (int i = 0; i < 4; ++i)
    for (const auto& [j, a] : want[i]) all[{i, j}] = a;
  EXPECT_EQ(got, all);
}

// A linear row's entries come out in ascending columns with repeated columns merged in
// their order and cancelled ones dropped, for short rows and for rows past the short-row
// sort alike.
TEST(BreskLoad, UnsortedRowsOfEveryLengthComeOutMerged) {
  for (int n : {2, 5, 32, 33, 80}) {
    const int nv = n / 2 + 2;  // fewer columns than terms: columns repeat
    std::string code;
    std::map<int, int> sum;
    for (int k = 0; k < n; ++k) {
      const int j = (nv - 1) - (k * 7) % nv;  // mostly descending, with repeats
      const int a = (k % 3 == 2) ? -(k + 1) : k + 1;
      code += std::to_string(a) + " x" + std::to_string(j) + " *" + (k ? " + " : " ");
      sum[j] += a;
    }
    // the last term cancels what its column had so far
    const int last = (nv - 1) - ((n - 1) * 7) % nv;
    code += std::to_string(-sum[last]) + " x" + std::to_string(last) + " * + 1 -";
    std::vector<std::pair<int, double>> want;
    for (const auto& [j, a] : sum)
      if (j != last && a != 0) want.push_back({j, a});
    Fixture f;
    Spec s;
    s.nvars = nv;
    s.obj = "x0";
    s.rows = {{'L', code}};
    ASSERT_EQ(brtest::load(f.m, s), 0) << n;
    int len = 0;
    char type;
    double rhs = 0;
    std::vector<int> col(nv + 1);
    std::vector<double> val(nv + 1);
    ASSERT_EQ(BRgetLPConstraintDatai(f.m, 0, &type, &rhs, &len, col.data(), val.data()), 0);
    std::vector<std::pair<int, double>> got;
    for (int k = 0; k < len; ++k) got.push_back({col[k], val[k]});
    EXPECT_EQ(got, want) << n;
    EXPECT_DOUBLE_EQ(rhs, 1) << n;
  }
}

// Long rows whose columns come as ascending runs (a sum over one set, then over a set laid
// out before it): each column keeps its own coefficient, whether the runs lie wholly apart
// or touch, overlap or come three at a time.
TEST(BreskLoad, LongRowsOfAscendingRunsComeOutSorted) {
  auto run = [](int from, int to) {
    std::vector<int> r;
    for (int j = from; j <= to; ++j) r.push_back(j);
    return r;
  };
  auto join = [](std::vector<std::vector<int>> runs) {
    std::vector<int> all;
    for (const auto& r : runs) all.insert(all.end(), r.begin(), r.end());
    return all;
  };
  const std::vector<int> cases[] = {
      join({run(40, 79), run(0, 39)}),              // apart: the second wholly first
      join({run(39, 79), run(0, 39)}),              // the runs share a column
      join({run(20, 79), run(0, 39)}),              // overlapping
      join({run(60, 79), run(30, 59), run(0, 29)}), // three runs
      join({run(40, 79), run(0, 19), run(25, 29), run(20, 24)}),
  };
  for (const auto& cols : cases) {
    std::string code;
    std::map<int, int> sum;
    for (size_t k = 0; k < cols.size(); ++k) {
      const int a = int(k) + 1, j = cols[k];
      code += std::to_string(a) + " x" + std::to_string(j) + " *" + (k ? " + " : " ");
      sum[j] += a;
    }
    std::vector<std::pair<int, double>> want(sum.begin(), sum.end());
    Fixture f;
    Spec s;
    s.nvars = 80;
    s.obj = "x0";
    s.rows = {{'L', code + "2 -"}};
    ASSERT_EQ(brtest::load(f.m, s), 0);
    int len = 0;
    char type;
    double rhs = 0;
    std::vector<int> col(81);
    std::vector<double> val(81);
    ASSERT_EQ(BRgetLPConstraintDatai(f.m, 0, &type, &rhs, &len, col.data(), val.data()), 0);
    std::vector<std::pair<int, double>> got;
    for (int k = 0; k < len; ++k) got.push_back({col[k], val[k]});
    EXPECT_EQ(got, want) << code;
    EXPECT_DOUBLE_EQ(rhs, 2);
  }
}
