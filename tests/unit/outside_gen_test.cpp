// Session values of the generated model through the outside caller's entry point: the
// generation counts, the generated-model flag and the matrix copy's handles.
#include <gtest/gtest.h>

#include "session/outside.h"
#include "solver/solve_test_fixture.h"

namespace {

int32_t getcode(SolveSession& s, int32_t code) {
  double r = 0.0;
  int32_t v = -99;
  EXPECT_EQ(linktoquir_(&s.W, &s.L, 0, code, &r, &v), LINK_DONE) << code;
  return v;
}

TEST(OutsideGeneration, CountsFlagAndMatrixHandlesFollowTheGenerations) {
  SolveSession s;
  s.text("MAX = 2 * X + 3 * Y;\nX + Y <= 4;\nX + 3 * Y <= 6;\nEND\n");
  s.go();
  ASSERT_EQ(s.L.MODSTAT, 1);
  s.L.GLOBAL = 1;
  EXPECT_EQ(getcode(s, 28), 1);  // generations
  EXPECT_EQ(getcode(s, 40), 1);  // requests with a model in place
  EXPECT_EQ(getcode(s, 69), 1);  // a generated model, and the global solver chosen
  EXPECT_EQ(getcode(s, 52), s.L.MATCOEF);
  EXPECT_EQ(getcode(s, 53), s.L.MATROW);
  EXPECT_EQ(getcode(s, 54), s.L.MATCOLST);
  EXPECT_GT(s.L.MATCOEF * s.L.MATROW * s.L.MATCOLST, 0);
  s.L.GLOBAL = 0;
  EXPECT_EQ(getcode(s, 69), 0);

  s.go();  // unchanged: the model generated last time is kept
  EXPECT_EQ(getcode(s, 28), 1);
  EXPECT_EQ(getcode(s, 40), 2);

  // a caller may set the counts
  double r = 0.0;
  int32_t v = 10;
  EXPECT_EQ(linktoquir_(&s.W, &s.L, 1, 28, &r, &v), LINK_DONE);
  v = 20;
  EXPECT_EQ(linktoquir_(&s.W, &s.L, 1, 40, &r, &v), LINK_DONE);
  EXPECT_EQ(getcode(s, 28), 10);
  EXPECT_EQ(getcode(s, 40), 20);

  // a failed generation leaves no model in place and no matrix copy
  s.text("MAX = 2 * X + ;\nEND\n");
  s.go();
  s.L.GLOBAL = 1;
  EXPECT_EQ(getcode(s, 69), 0);
  for (int32_t code : {52, 53, 54}) EXPECT_EQ(getcode(s, code), 0) << code;
  EXPECT_EQ(getcode(s, 28), 10);
  EXPECT_EQ(getcode(s, 40), 20);
}

}  // namespace
