// The term pool: merging chains sums equal terms, gives their slots back, and an empty
// pool refuses without change.
#include "generate/termpool.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {

struct Pool {
  std::unique_ptr<MasterRecord> Lp = std::make_unique<MasterRecord>();
  MasterRecord& L = *Lp;
  std::vector<double> coef;
  std::vector<int32_t> var, link, flag;
  explicit Pool(int32_t n) : coef((size_t)n), var((size_t)n), link((size_t)n), flag((size_t)n) {
    lfinit_(L, n, coef.data(), var.data(), link.data(), flag.data());
  }
  // A chain of (variable id, coefficient) terms given in falling id order.
  int32_t chain(std::vector<std::pair<int32_t, double>> terms) {
    int32_t head = 0, prev = 0;
    for (auto [v, c] : terms) {
      int32_t s = 0;
      lfgtsp_(L, s, link.data());
      var[(size_t)s - 1] = v;
      coef[(size_t)s - 1] = c;
      if (prev) link[(size_t)prev - 1] = s;
      else head = s;
      prev = s;
    }
    return head;
  }
  std::vector<std::pair<int32_t, double>> terms(int32_t head) {
    std::vector<std::pair<int32_t, double>> out;
    for (int32_t s = head; s >= 1 && out.size() < 100; s = link[(size_t)s - 1])
      out.push_back({var[(size_t)s - 1], coef[(size_t)s - 1]});
    return out;
  }
  std::set<int32_t> freeslots() {
    std::set<int32_t> out;
    for (int32_t s = L.LFFREE; s >= 1 && out.size() < 100; s = link[(size_t)s - 1]) out.insert(s);
    return out;
  }
  int32_t merge(int32_t a, int32_t b) {
    int32_t r = -7;
    lfmerg1_(L, a, b, r, coef.data(), var.data(), flag.data(), link.data());
    return r;
  }
};

using Terms = std::vector<std::pair<int32_t, double>>;

TEST(TermPool, MergeSumsEqualTermsAndReturnsTheirSlots) {
  struct Case {
    Terms a, b;
    int32_t flagOfFirstX1;
    Terms want;
  } cases[] = {
      {{{3, 1}, {1, 2}}, {{2, 5}, {1, -2}}, 0, {{3, 1}, {2, 5}}},
      {{{3, 1}, {1, 2}}, {{2, 5}, {1, -2}}, 1, {{3, 1}, {2, 5}, {1, 1.0}}},
      {{{1, 2}}, {{1, -2}}, 0, {}},
      {{{4, 1}, {1, 2}}, {{4, 3}, {2, 1}}, 0, {{4, 4}, {2, 1}, {1, 2}}},
      {{{1, 1}}, {{9, 1}, {5, 2}, {2, 3}}, 0, {{9, 1}, {5, 2}, {2, 3}, {1, 1}}},
  };
  for (auto& c : cases) {
    Pool p(8);
    int32_t a = p.chain(c.a), b = p.chain(c.b);
    if (c.flagOfFirstX1)
      for (int32_t s = a; s >= 1; s = p.link[(size_t)s - 1])
        if (p.var[(size_t)s - 1] == 1) p.flag[(size_t)s - 1] = 1;
    int32_t r = p.merge(a, b);
    EXPECT_EQ(p.terms(r), c.want);
    // every slot is either in the result or free, none in both
    std::set<int32_t> used;
    for (int32_t s = r; s >= 1 && used.size() < 100; s = p.link[(size_t)s - 1]) used.insert(s);
    auto fr = p.freeslots();
    EXPECT_EQ(used.size() + fr.size(), 8u);
    for (int32_t s : used) EXPECT_EQ(fr.count(s), 0u);
  }
}

TEST(TermPool, EmptyChainAndExhaustedPool) {
  Pool p(2);
  int32_t a = p.chain({{2, 1.5}});
  EXPECT_EQ(p.merge(a, 0), a);
  EXPECT_EQ(p.merge(0, a), a);
  int32_t s1 = 0, s2 = 0;
  lfgtsp_(p.L, s1, p.link.data());
  EXPECT_EQ(s1, 2);
  lfgtsp_(p.L, s2, p.link.data());
  EXPECT_LE(s2, 0);
  EXPECT_EQ(p.L.LFFREE, s2);
  lfrtsp_(p.L, s1, p.link.data());
  EXPECT_EQ(p.freeslots(), std::set<int32_t>{2});
}

TEST(TermPool, MarkingAChainFlagsEverySlot) {
  Pool p(4);
  int32_t a = p.chain({{3, 1}, {2, 1}, {1, 1}});
  gfnonl_(a, p.flag.data(), p.link.data());
  EXPECT_EQ(p.flag, (std::vector<int32_t>{1, 1, 1, 0}));
}

}  // namespace
