// Services of the interpreter: set-member and row look-up, solution accessors, pending
// errors, bounds, text comparison and dates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <random>

#include "generate/eval_test_fixture.h"

namespace {

// Puts the values on the stack as numbers.
void stack(EvalModel& m, std::initializer_list<double> v) {
  m.L.STKTOP = 0;
  for (double x : v) {
    ++m.L.STKTOP;
    m.L.STKVAL[m.L.STKTOP] = x;
    m.L.STKTAG[m.L.STKTOP] = TAGNUM;
  }
}

// A text block holding s and its NUL.
int32_t text(EvalModel& m, const char* s) {
  const int32_t n = (int32_t)std::strlen(s) + 1;
  int32_t h = 0, st = 0, cnt = n;
  setblk_(1, cnt, m.A, m.L, h, st);
  for (int32_t k = 0; k < n; ++k) bputc(m.A, m.L, h, k + 1, s[k]);
  return h;
}

}  // namespace

// The interpreters look members up through the set they hold: every answer must be the
// plain look-up's, whichever set the previous look-up held.
TEST(EvalServices, HeldSetLookupAgreesWithThePlainOne) {
  EvalModel m;
  const double sym = -1e99;  // marks an entry that is no value (a symbol)
  const std::vector<std::vector<double>> tuples = {
      {1, 1}, {3, 4}, {2, 3}, {0, 1}, {4, 1}, {1, 5}, {2.9, 1}, {NAN, 2}, {1, -3e10},
      {sym, 1}, {1, sym}, {9, sym}, {2}, {}, {1, 2, 3}};
  VxSet q;
  for (int32_t mode : {0, 1})
    for (int32_t s : {3, 1, 3, 4, 3, 0, 9, 5, 7, 3})
      for (int32_t a : {0, 1, 2, 3})
        for (const auto& t : tuples) {
          m.L.STKTOP = 0;
          for (double x : t) {
            ++m.L.STKTOP;
            m.L.STKVAL[m.L.STKTOP] = x == sym ? 0.0 : x;
            m.L.STKTAG[m.L.STKTOP] = x == sym ? 4 : TAGNUM;
          }
          int32_t want = 99, got = 98;
          getvx2_(m.A, m.L, a, s, mode, want);
          getvx2q_(m.A, m.L, q, a, s, mode, got);
          EXPECT_EQ(got, want) << "set " << s << " attribute " << a << " mode " << mode
                               << " entries " << t.size();
        }
  vxset_(m.A, m.L, 3, q);  // the dense product is the one held
  EXPECT_TRUE(q.dense);
  vxset_(m.A, m.L, 4, q);
  EXPECT_FALSE(q.dense);
}

// A large sorted set is searched from the position its latest look-up found, trying its
// latest move once more: whatever the order of the look-ups (runs up, runs down, strides,
// from both ends in turn, at random, members or not, and another set sharing the position
// slot in between), each finds what the plain one does.
TEST(EvalServices, SortedSetLookupFromTheLatestPosition) {
  EvalModel m;
  // set 4 becomes {(a, b) : (7a + 3b) mod 5 < 2} over 1..30 x 1..20, kept in a shuffled
  // storage order, its sorted order listing the members by tuple
  std::vector<std::pair<int32_t, int32_t>> mem;
  for (int32_t a = 1; a <= 30; ++a)
    for (int32_t b = 1; b <= 20; ++b)
      if ((7 * a + 3 * b) % 5 < 2) mem.push_back({a, b});
  std::mt19937 rng(7);
  std::shuffle(mem.begin(), mem.end(), rng);
  const int32_t n = (int32_t)mem.size();
  std::vector<int32_t> drv, ord(n);
  std::map<std::pair<int32_t, int32_t>, int32_t> pos;  // tuple -> member position
  for (int32_t k = 0; k < n; ++k) {
    drv.push_back(mem[k].first);
    drv.push_back(mem[k].second);
    pos[mem[k]] = k + 1;
    ord[k] = k + 1;
  }
  std::sort(ord.begin(), ord.end(), [&](int32_t x, int32_t y) { return mem[x - 1] < mem[y - 1]; });
  m.L.NDRVEL = m.iblock(drv);
  bputi(m.A, m.L, m.L.SETORD, 4, m.iblock(ord));
  bputi(m.A, m.L, m.L.NNTRYS, 4, n);
  bputi(m.A, m.L, m.L.INXNTR, 4, 1);
  std::vector<std::pair<int32_t, int32_t>> up, strided;
  for (int32_t a = 0; a <= 31; ++a)
    for (int32_t b = 0; b <= 21; ++b) up.push_back({a, b});
  for (int32_t b = 0; b <= 21; ++b)
    for (int32_t a = 0; a <= 31; ++a) strided.push_back({a, b});
  std::vector<std::pair<int32_t, int32_t>> down(up.rbegin(), up.rend()), shuffled = up, ends;
  std::shuffle(shuffled.begin(), shuffled.end(), rng);
  for (size_t i = 0; i < up.size(); ++i) ends.push_back(i % 2 ? up[i / 2] : down[i / 2]);
  VxSet q;
  int32_t checked = 0;
  for (const auto* list : {&up, &down, &strided, &ends, &shuffled})
    for (size_t i = 0; i < list->size(); ++i) {
      const auto [a, b] = (*list)[i];
      if (i % 97 == 0) {  // set 20 takes the position slot of set 4 for a moment
        stack(m, {1});
        int32_t other = 0;
        getvx2h_(m.A, m.L, 0, 4 + VXHINTS, 0, other);
      }
      stack(m, {(double)a, (double)b});
      int32_t got = 0, plain = 0;
      getvx2q_(m.A, m.L, q, 0, 4, 0, got);
      getvx2_(m.A, m.L, 0, 4, 0, plain);
      const auto it = pos.find({a, b});
      const int32_t want = it == pos.end() ? -1 : 1 + (it->second - 1) * 2;
      EXPECT_EQ(got, want) << a << " " << b;
      EXPECT_EQ(plain, want) << a << " " << b;
      checked += want > 0;
    }
  EXPECT_EQ(checked, 5 * n);
}

TEST(EvalServices, MemberLookup) {
  EvalModel m;
  const struct { int32_t a, s; std::initializer_list<double> t; int32_t r; } cases[] = {
      {0, 3, {2, 1}, 1 + 4 * 2},   // dense 3 x 4: (2, 1) is member 5, its tuple at 9
      {0, 3, {1, 5}, -1},          // component beyond its parent
      {1, 3, {3, 4}, 20 + 11 * 2}, // last member, first attribute
      {0, 4, {1, 2}, 27},          // sorted: found by the ends or the search
      {0, 4, {3, 1}, 25},
      {0, 4, {2, 2}, 29},
      {0, 4, {0, 9}, -1},          // below the smallest
      {0, 4, {9, 9}, -1},          // above the largest
      {0, 4, {2, 1}, -1},          // between members
      {1, 1, {0}, -1},             // member position 0
      {1, 1, {4}, -1},             // above the member count
      {1, 1, {2.9}, 11},           // truncated toward zero
      {1, 1, {NAN}, -1},           // never converted
      {1, 1, {-3e10}, -1},
      {0, 9, {1}, 0},              // no such set
  };
  for (auto k : cases) {
    stack(m, k.t);
    int32_t r = 99;
    getvx2_(m.A, m.L, k.a, k.s, 0, r);
    EXPECT_EQ(r, k.r) << k.s << " " << *k.t.begin();
  }
  stack(m, {2});
  m.L.STKTAG[1] = 5;
  int32_t r = 0;
  getvx2_(m.A, m.L, 1, 1, 1, r);
  EXPECT_EQ(r, -2);
  // rows: found from the cursor on; a missing one looks at every row once
  int32_t setw = m.iblock({1});
  stack(m, {3});
  getrx2_(m.A, m.L, 1, m.L.START[setw], r);
  EXPECT_EQ(r, 2);
  stack(m, {1});
  m.L.RCURSR = 2;
  getrx2_(m.A, m.L, 1, m.L.START[setw], r);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(m.L.RCURSR, 2);  // a full circle ends where it began
  // inline numbers come back bit for bit
  for (double v : {2.5, -0.0, 1e-300, 1.0 / 3}) {
    int32_t w[2];
    double back;
    dp2int_(m.L, v, w);
    int2dp_(m.L, w, back);
    EXPECT_EQ(std::memcmp(&v, &back, 8), 0);
  }
  double h;
  hint_(-2.5, h);
  EXPECT_EQ(h, 3.5);
}

TEST(EvalServices, SolutionAccessors) {
  EvalModel m;
  m.L.ROWSNS = m.iblock({0, -1, 0});
  m.L.ROWSLK = m.dblock({0.0, 0.0, 4.0});
  double s, d;
  getrval_(m.A, m.L, 1, s, d, 0);
  EXPECT_FALSE(std::signbit(s));  // a zero slack stays +0.0
  EXPECT_EQ(d, 0.0);              // primal values only
  getrval_(m.A, m.L, 2, s, d, 0);
  EXPECT_FALSE(std::signbit(s));
  getrval_(m.A, m.L, 3, s, d, 0);
  EXPECT_EQ(s, -4.0);
  m.L.SOLKND = 1;
  getrval_(m.A, m.L, 3, s, d, 0);
  EXPECT_EQ(d, 0.7);
  m.L.ZEROTOL = 0.7;
  getrval_(m.A, m.L, 3, s, d, 1);
  EXPECT_EQ(d, 0.0);  // at the tolerance: cut to 0
  double x = -0.7;
  chopoff_(m.L, x);
  EXPECT_EQ(x, 0.0);
  const int32_t st[][2] = {{1, 0}, {2, 3}, {3, 1}, {4, 2}, {5, 4}, {6, 5}, {7, 3}, {8, 6}, {9, 7}, {10, 8}, {11, 9}, {12, 3}};
  for (auto k : st) {
    m.L.MODSTAT = k[0];
    int32_t c;
    status_(m.L, c);
    EXPECT_EQ(c, k[1]) << k[0];
  }
  // a reference entry becomes a number
  stack(m, {0});
  m.L.STKTAG[1] = TAGVAR;
  m.L.STKIDX[1] = 4;
  convstackelem_(m.A, m.L, 1);
  EXPECT_EQ(m.L.STKVAL[1], 104);
  EXPECT_EQ(m.L.STKTAG[1], TAGNUM);
  EXPECT_EQ(m.L.STKIDX[1], -1);
  char c;
  kshft_(c, 1, 'q');
  EXPECT_EQ(c, 'Q');
  EXPECT_EQ(heapstringlength_(m.A, m.L, text(m, "abc")), 3);
}

TEST(EvalServices, PendingErrorRecords) {
  EvalModel m;
  int32_t ib = 0, rb = 0, cnt = 0, cap = 0;
  stack(m, {1});
  for (int k = 1; k <= 9; ++k) {
    m.L.ERRARG = k;
    m.L.ERRDBL = k + 0.5;
    ASSERT_TRUE(recordpenderr_(m.A, m.L, 5, ib, rb, cnt, cap));
    if (k == 1) {
      EXPECT_EQ(cap, 40);
    }
  }
  EXPECT_EQ(cap, 360);
  EXPECT_EQ(cnt, 9);
  m.L.STKPER[1] = 4;
  int32_t code = 0;
  unpackpenderr_(m.A, m.L, code, ib, rb);
  EXPECT_EQ(code, 5);
  EXPECT_EQ(m.L.ERRARG, 4);
  EXPECT_EQ(m.L.ERRDBL, 4.5);
}

TEST(EvalServices, Bounds) {
  EvalModel m;
  const double big = 1e307;
  m.L.VARLB = m.dblock({0, 0, 0});
  m.L.VARUB = m.dblock({big, big, big});
  m.L.VARKND = m.iblock({0, 0, 0});
  int32_t st;
  bounds_(m.A, m.L, 1, -5, 5, st);
  EXPECT_EQ(st, 0);
  bounds_(m.A, m.L, -1, -10, 3, st);  // a negated variable number is the same variable
  EXPECT_EQ(st, 0);
  EXPECT_EQ(bgetd(m.A, m.L, m.L.VARLB, 1), -5);
  EXPECT_EQ(bgetd(m.A, m.L, m.L.VARUB, 1), 3);
  EXPECT_EQ(bgetd(m.A, m.L, m.L.VARVAL, 1), 3);  // the value moved inside
  bounds_(m.A, m.L, 1, 4, 10, st);
  EXPECT_EQ(st, 2);
  EXPECT_EQ(bgetd(m.A, m.L, m.L.VARUB, 1), 3);
  bounds_(m.A, m.L, 1, 0, -big, st);  // free keeps the narrower bounds
  EXPECT_EQ(bgetd(m.A, m.L, m.L.VARLB, 1), -5);
  bounds_(m.A, m.L, 2, 0, -big, st);  // free on a default variable
  EXPECT_EQ(bgetd(m.A, m.L, m.L.VARUB, 2), -big);
  EXPECT_EQ(bgeti(m.A, m.L, m.L.VARKND, 2), 1);
  bounds_(m.A, m.L, 3, -2e307, 0, st);
  EXPECT_EQ(st, 1);
}

TEST(EvalServices, TextsAndDates) {
  EvalModel m;
  const struct { const char* a; const char* b; int32_t r; } cmp[] = {
      {"AB%D", "abcd", 0}, {"AB*", "ABXYZ", 0}, {"AB", "ABC", -1}, {"ABC", "AB", 1},
      {"", "", 0},         {"", "A", -1},       {"A", "", 1},      {"abd", "ABC", 1},
  };
  for (auto k : cmp) EXPECT_EQ(hstrcmpw_(m.A, m.L, text(m, k.a), text(m, k.b)), k.r) << k.a << "/" << k.b;
  const int32_t h = text(m, "ab cd");
  EXPECT_EQ(findlastblankinrange_(m.A, m.L, h, 1, 5), 3);
  EXPECT_EQ(findlastblankinrange_(m.A, m.L, h, 4, 5), 6);
  EXPECT_EQ(upper_('z'), 'Z');
  EXPECT_TRUE(isnan_(NAN));
  const struct { int32_t d, mo, y, n, wd; } dates[] = {
      {1, 3, 1800, 1, 6},      {1, 1, 2000, 72990, 6}, {29, 2, 1900, 0, 0}, {29, 2, 2000, 72990 + 59, 2},
      {31, 4, 2001, 0, 0},     {1, 13, 2001, 0, 0},    {28, 2, 1800, 0, 0}, {0, 5, 2001, 0, 0},
      {-3, 5, 2001, 0, 0},     {10, 12, 2026, 82830, 4},
  };
  for (auto k : dates) {
    int32_t d = k.d, mo = k.mo, y = k.y, n = -1, wd = 0;
    dmy2d_(d, mo, y, n, wd);
    EXPECT_EQ(n, k.n) << k.d << "." << k.mo << "." << k.y;
    if (k.n) {
      EXPECT_EQ(wd, k.wd) << k.d << "." << k.mo << "." << k.y;
    }
  }
  // @USER asks once: later calls return the stored answer
  m.L.USRASK = 1;
  m.L.USRANS = 4.5;
  const double args[] = {1, 2};
  EXPECT_EQ(user_(m.L, 2, args), 4.5);
}
