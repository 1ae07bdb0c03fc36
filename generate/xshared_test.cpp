// The numeric operators shared by the interpreters.
#include <gtest/gtest.h>

#include <cmath>

#include <vector>

#include "generate/eval_test_fixture.h"
#include "generate/xshared.h"
#include "language/lang.h"

// @MOD takes a shortcut for whole numbers; it must give exactly the remainder of the
// general rule, the sign of a zero result included.
TEST(SharedOperators, ModMatchesTheGeneralRemainder) {
  MasterRecord L;
  const double cases[][2] = {
      {7, 3},     {-7, 3},    {7, -3},   {-7, -3}, {6, 3},       {-6, 3},   {-0.0, 5},
      {0, -5},    {7.5, 2},   {7, 2.5},  {-7.5, 2}, {1e20, 7},   {9007199254740991.0, 97},
      {3, 1e300}, {-3, 4e15}, {1e300, 3},
  };
  for (const auto& c : cases) {
    double r = 0.0, err = 0.0;
    ASSERT_EQ(xnum2(L, OP_MOD, c[0], c[1], r, err), 0) << c[0] << " mod " << c[1];
    const double want = std::fmod(c[0], c[1]);
    EXPECT_EQ(r, want) << c[0] << " mod " << c[1];
    EXPECT_EQ(std::signbit(r), std::signbit(want)) << c[0] << " mod " << c[1];
  }
}

// A loop whose only condition ties a position of its member to an enclosing index visits
// just the members that agree there, in storage order; any other condition keeps the full
// walk. Set 3 is made a 60-member set over A x B in no sorted order.
TEST(SetLoops, BoundPositionVisitsOnlyTheAgreeingMembers) {
  EvalModel m;
  std::vector<int32_t> drv;
  for (int32_t k = 0; k < 60; ++k) { drv.push_back(1 + (k * 7) % 5); drv.push_back(1 + (k * 3) % 4); }
  m.L.NDRVEL = m.iblock(drv);
  bputi(m.A, m.L, m.L.NNTRYS, 3, 60);
  bputi(m.A, m.L, m.L.INXNTR, 3, 1);
  // the tuples a loop over set s visits with the enclosing index register 1 at v, for a
  // condition of the given words between BEGCND and ENDCND
  auto visits = [&](int32_t s, int32_t v, std::vector<int32_t> cond) {
    std::vector<int32_t> cw{0, OP_SETUP, s, OP_GETNEXT, 100, OP_BEGCND};
    cw.insert(cw.end(), cond.begin(), cond.end());
    cw.push_back(OP_ENDCND);
    cw.push_back(OP_IFGOTO);
    cw.push_back(3 - ((int32_t)cw.size() - 1) - 1);  // back to the GETNEXT
    cw.resize(cw.size() + 120, OP_POPSET);
    const int64_t clen = (int64_t)cw.size() - 1;
    XLoops F;
    m.L.LFDEPTH = 0;
    m.L.IRCNT = 1;
    m.L.IREG[1] = v;
    EXPECT_EQ(xsetup(m.A, m.L, F, s, cw.data(), clen, 1), 0);
    std::vector<std::vector<int32_t>> seen;
    for (int32_t n = 0; n < 100; ++n) {
      int64_t ip = 3;
      EXPECT_EQ(xgetnext(m.A, m.L, F, ip, 100), 0);
      if (ip != 5) break;
      seen.push_back(std::vector<int32_t>(m.L.IREG + 2, m.L.IREG + m.L.IRCNT + 1));
    }
    EXPECT_EQ(xpopset(m.L, F), 0);
    return seen;
  };
  // the members of set 3 agreeing at position c with v, in storage order
  auto agree = [&](int32_t c, int32_t v) {
    std::vector<std::vector<int32_t>> r;
    for (size_t k = 0; k < 60; ++k)
      if (drv[2 * k + (size_t)c - 1] == v) r.push_back({drv[2 * k], drv[2 * k + 1]});
    return r;
  };
  const std::vector<int32_t> first{OP_PUSHX, 1, OP_PUSHX, 2, OP_CMPEQ};
  const std::vector<int32_t> second{OP_PUSHX, 1, OP_PUSHX, 3, OP_CMPEQ};
  for (int32_t v : {1, 3, 5, 6, -2147483640}) {
    EXPECT_EQ(visits(3, v, first), agree(1, v)) << v;
    EXPECT_EQ(visits(3, v, second), agree(2, v)) << v;
  }
  // two positions bound: the list of the first, the second still tested by the code
  std::vector<int32_t> both = first;
  both.insert(both.end(), second.begin(), second.end());
  both.push_back(OP_AND);
  EXPECT_EQ(visits(3, 2, both), agree(1, 2));
  // a condition of its own before the test: every member is visited
  std::vector<int32_t> own{OP_PUSHX, 2, OP_PUSHX, 3, OP_CMPNE};
  own.insert(own.end(), first.begin(), first.end());
  own.push_back(OP_AND);
  EXPECT_EQ(visits(3, 2, own).size(), 60u);
  // a primitive set: only the member v, none when v is no member
  EXPECT_EQ(visits(2, 3, {OP_PUSHX, 1, OP_PUSHX, 2, OP_CMPEQ}), (std::vector<std::vector<int32_t>>{{3}}));
  EXPECT_TRUE(visits(2, 9, {OP_PUSHX, 1, OP_PUSHX, 2, OP_CMPEQ}).empty());
  spxfree_(m.L);
}
