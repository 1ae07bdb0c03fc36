// Scalar lists of compiled and analysed models: every explicit row's code, run under the
// solver library's meaning of the codes, equals the interpreter's value of the row at
// random points, with the variables the analysis fixed standing in as their values.
#include <gtest/gtest.h>

#include <random>

#include "generate/analysis_test_fixture.h"
#include "generate/scalar_test_fixture.h"

namespace {

struct ModelCase {
  const char* name;
  const char* text;
  double lo, hi;  // range of the unfixed variables' values
};

const ModelCase kModels[] = {
    {"nonlinear rows over sets",
     "SETS:\nS /1..4/: X, C;\nENDSETS\nDATA:\nC = 1 2 3 4;\nENDDATA\n"
     "MIN = @SUM(S(I): C(I) * X(I) ^ 2 + @EXP(X(I) / 10));\n"
     "@FOR(S(I) | I #GT# 1: X(I) + @SIN(X(I - 1)) >= C(I));\n"
     "@SUM(S(I): X(I)) <= 100;\n"
     "Y = 3;\n"
     "Z >= Y * @LOG(X(1) + 2) + @MAX(S(I): X(I)) - @MIN(S(I) | I #LE# 2: C(I) * X(I));\n",
     0.5, 3},
    {"a derived set and functions",
     "SETS:\nA /1..3/;\nB /1..2/;\nL(A, B): F, P;\nENDSETS\nDATA:\nP = 1 2 3 4 5 6;\nENDDATA\n"
     "MAX = @SUM(L(I, J): P(I, J) * F(I, J) - @ABS(F(I, J) - 1) + @PSN(F(I, J)));\n"
     "@FOR(A(I): @SUM(B(J): F(I, J) * @SQRT(F(I, J))) <= @IF(I #EQ# 2, 5, 7));\n"
     "@FOR(B(J): @SMAX(F(1, J), F(2, J), F(3, J)) >= @WRAP(J + 4, 3));\n"
     "W = @FLOOR(2.7) + @POW(2, 3);\n"
     "V <= W * @LGM(F(1, 1) + 1) + @FPA(0.05, 10);\n",
     0.5, 2},
    {"no objective",
     "X + Y <= 4;\nX * Y >= 1;\n",
     0.5, 3},
};

TEST(ScalarLists, CompiledModelsGiveCodeWithTheInterpretersValues) {
  std::mt19937 gen(7);
  for (const ModelCase& mc : kModels) {
    for (int32_t heap = 0; heap <= 1; ++heap) {
      Analysed m;
      ASSERT_TRUE(m.build(mc.text)) << mc.name << m.printed;
      ASSERT_EQ(m.analyse(), 0) << mc.name << m.printed;
      MasterRecord& L = m.L;
      L.HEAP_SWITCH = heap;
      L.NEXPVAR = L.NVARS - L.NFIXED;
      int32_t e = -1;
      scalarizemodel_(m.W, L, e);
      ASSERT_EQ(e, 0) << mc.name;
      std::vector<int32_t> words;
      std::vector<double> pool;
      for (int32_t k = 1; k <= L.SLINSN; ++k) words.push_back(sligeti_(m.W, L, L.SLINS, k));
      for (int32_t k = 1; k <= L.SLCONN; ++k) pool.push_back(slgetd_(m.W, L, L.SLCON, k));
      std::uniform_real_distribution<double> d(mc.lo, mc.hi);
      int32_t checked = 0;
      for (int point = 0; point < 4; ++point) {
        for (int32_t v = 1; v <= L.NVARS; ++v)
          if (bgeti(m.W, L, L.VARKND, v) < 4) bputd(m.W, L, L.VARVAL, v, d(gen));
        int32_t k = 0;
        for (int32_t p = L.NFIXED + 1; p <= L.NROWS; ++p) {
          const int32_t r = rowatpos_(m.W, L, p);
          const bool obj = r == L.OBJROW;
          if (!obj) ++k;
          const size_t st = (size_t)(obj ? L.SLOBJST : sligeti_(m.W, L, L.SLRST, k));
          const size_t n = (size_t)(obj ? L.SLOBJLN : sligeti_(m.W, L, L.SLRLN, k));
          const auto got = scalareval(m.W, L, words, pool, st, n);
          rowregs(m.W, L, r);
          L.STKTOP = L.LFDEPTH = 0;
          int32_t xs = -1;
          double out = 0;
          xecute_(m.W, L, L.CODEBLK, bgeti(m.W, L, L.ROWSTP, r), L.CODELEN, xs, out);
          ASSERT_EQ(xs, 0) << mc.name << " row " << r;
          ASSERT_TRUE(got.has_value()) << mc.name << " row " << r;
          const double want = L.STKVAL[L.STKTOP];
          EXPECT_NEAR(*got, want, 1e-9 * (1 + std::fabs(want))) << mc.name << " row " << r;
          ++checked;
        }
      }
      EXPECT_GT(checked, 0) << mc.name;
      freescalarlists_(L);
    }
  }
}

}  // namespace
