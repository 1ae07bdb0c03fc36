#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdio>
#include <random>
#include <vector>
#include "store/store_test_fixture.h"

namespace {
// checks the block table's invariants: chain order, no overlap, free words, free handles
void expectConsistent(const TestStore& s) {
  const MasterRecord& L = s.L;
  int64_t used = 0, inuse = 0, last = 0;
  int32_t prev = 0;
  for (int32_t h = L.CHAINHD; h != 0; h = L.NEXT[h]) {
    ASSERT_EQ(L.PREV[h], prev);
    ASSERT_GE(L.START[h], last) << "blocks overlap or out of order at handle " << h;
    ASSERT_EQ(L.LEN[h] % 2, 0);
    last = (int64_t)L.START[h] + L.LEN[h];
    used += L.LEN[h];
    if (h > 2) ++inuse;
    prev = h;
  }
  EXPECT_EQ(prev, 2);
  EXPECT_LE(last, (int64_t)L.TOTWRD + 1);
  EXPECT_EQ(L.FREEWD, L.TOTWRD - used);
  int32_t nfree = 0;
  for (int32_t h = L.FREEHD; h != 0; h = L.NEXT[h]) {
    ASSERT_EQ(L.START[h], 0);
    ++nfree;
  }
  EXPECT_EQ(nfree, L.NFREEH);
  EXPECT_EQ(nfree + inuse, NHANDLES - 2);
}
}  // namespace

TEST(Allocator, CountsRoundUpToWholeGranules) {
  struct Case { int32_t type, count, back, words; };
  const Case cases[] = {{1, 1, 8, 2},  {1, 0, 8, 2},  {1, -5, 8, 2}, {1, 9, 16, 4}, {2, 1, 2, 2},
                        {2, 3, 4, 4},  {3, 5, 8, 4},  {6, 1, 1, 2},  {7, 3, 3, 6},  {6, 0, 1, 2}};
  for (const Case& c : cases) {
    TestStore s(1000);
    int32_t h = 0, st = -1, n = c.count;
    setblk_(c.type, n, s.a, s.L, h, st);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(n, c.back) << "type " << c.type << " count " << c.count;
    EXPECT_EQ(s.L.LEN[h], c.words);
  }
}

TEST(Allocator, PartialNoRoomTooLargeAndNoHandle) {
  TestStore s(20);
  s.take(18);
  int32_t h = 0, st = -1, n = 100;
  setblk_(2, n, s.a, s.L, h, st);  // 2 words left
  EXPECT_EQ(st, 1);
  EXPECT_EQ(n, 2);
  EXPECT_GT(h, 0);
  h = 0, n = 1;
  setblk_(1, n, s.a, s.L, h, st);  // nothing left
  EXPECT_EQ(st, 2);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(n, 0);

  TestStore big(100000);
  n = MAXREQ;
  h = 0;
  setblk_(1, n, big.a, big.L, h, st);
  EXPECT_EQ(st, 2);
  EXPECT_EQ(h, 0);
  for (int i = 0; i < NHANDLES - 2; ++i) big.take(2);
  n = 2, h = 0;
  setblk_(2, n, big.a, big.L, h, st);
  EXPECT_EQ(st, 3);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(n, 0);
  expectConsistent(big);
}

TEST(Allocator, ReleaseCompactsOnlyWhenNoHoleFits) {
  TestStore s(40);
  int32_t a = s.take(10), b = s.take(10), c = s.take(10), d = s.take(10);
  rlsblk_(s.L, d);
  EXPECT_EQ(d, 0);
  EXPECT_EQ(s.L.PACKED, 1) << "releasing the last block leaves the store packed";
  rlsblk_(s.L, b);
  EXPECT_EQ(s.L.PACKED, 0);
  int32_t e = s.take(12);  // holes of 10 and 10: compaction moves c down
  EXPECT_EQ(s.L.NCOMPACT, 1);
  EXPECT_EQ(s.L.NWMOVED, 10);
  EXPECT_EQ(s.L.NBMOVED, 1);
  EXPECT_EQ(s.L.START[c], 11);
  EXPECT_EQ(s.L.START[e], 21);
  EXPECT_TRUE(s.intact(a, 10));
  EXPECT_TRUE(s.intact(c, 10));
  expectConsistent(s);
}

TEST(Allocator, MovingGrowNeedsAHoleStrictlyLarger) {
  // blocks A, B (hole-to-be), C, D fill 50 words; C grows from 8 to 12 words
  struct Case { int32_t hole, startD, compacts, wordsMoved, blocksMoved; };
  const Case cases[] = {{14, 33, 0, 8, 1}, {12, 23, 1, 48, 3}};
  for (const Case& k : cases) {
    TestStore s(50);
    int32_t a = s.take(10), b = s.take(k.hole), c = s.take(8), d = s.take(30 - k.hole + 2);
    ASSERT_EQ(s.L.FREEWD, 0);
    rlsblk_(s.L, b);
    int32_t n = 12, st = -1;
    setblk_(2, n, s.a, s.L, c, st);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(s.L.LEN[c], 12);
    EXPECT_EQ(s.L.START[c], 11);
    EXPECT_EQ(s.L.START[d], k.startD) << "hole " << k.hole;
    EXPECT_EQ(s.L.NCOMPACT, k.compacts);
    EXPECT_EQ(s.L.NWMOVED, k.wordsMoved);
    EXPECT_EQ(s.L.NBMOVED, k.blocksMoved);
    EXPECT_TRUE(s.intact(a, 10));
    EXPECT_TRUE(s.intact(c, 8));
    EXPECT_TRUE(s.intact(d, 30 - k.hole + 2));
    expectConsistent(s);
  }
}

TEST(Allocator, ResizeInPlaceReleaseAndPartialGrowth) {
  TestStore s(40);
  int32_t a = s.take(10), b = s.take(10);
  int32_t n = 6, st = -1;
  setblk_(2, n, s.a, s.L, a, st);  // shrink: leaves a hole below b
  EXPECT_EQ(st, 0);
  EXPECT_EQ(s.L.PACKED, 0);
  n = 10;
  setblk_(2, n, s.a, s.L, a, st);  // grows back into its own room
  EXPECT_EQ(s.L.START[a], 1);
  n = 30;
  setblk_(2, n, s.a, s.L, b, st);  // last block grows in place to the top
  EXPECT_EQ(st, 0);
  EXPECT_EQ(s.L.FREEWD, 0);
  n = 40;
  setblk_(2, n, s.a, s.L, a, st);
  EXPECT_EQ(st, 2) << "no free word: the block keeps its size";
  EXPECT_EQ(s.L.LEN[a], 10);
  n = 20;
  setblk_(2, n, s.a, s.L, b, st);
  n = 40;
  setblk_(2, n, s.a, s.L, a, st);
  EXPECT_EQ(st, 1);
  EXPECT_EQ(n, 20);
  EXPECT_EQ(s.L.LEN[a], 20);
  EXPECT_TRUE(s.intact(a, 10));
  EXPECT_TRUE(s.intact(b, 10));
  n = 0;
  setblk_(2, n, s.a, s.L, b, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(b, 0);
  int32_t zero = 0;
  rlsblk_(s.L, zero);
  expectConsistent(s);
}

TEST(Allocator, RandomTrafficKeepsTableAndContents) {
  TestStore s(4000);
  std::mt19937 rng(7);
  std::vector<std::pair<int32_t, int32_t>> live;  // handle, words filled
  for (int step = 0; step < 20000; ++step) {
    int op = (int)(rng() % 3);
    if (op == 0 || live.empty()) {
      int32_t h = 0, st = -1, n = (int32_t)(rng() % 120);
      setblk_(2, n, s.a, s.L, h, st);
      if (st <= 1 && h > 0) {
        for (int32_t k = 0; k < n; ++k) s.a.w[(size_t)(s.L.START[h] + k)] = h * 1000 + k;
        live.push_back({h, n});
      }
    } else if (op == 1) {
      size_t i = rng() % live.size();
      rlsblk_(s.L, live[i].first);
      live.erase(live.begin() + (long)i);
    } else {
      size_t i = rng() % live.size();
      int32_t n = 1 + (int32_t)(rng() % 300), st = -1;
      setblk_(2, n, s.a, s.L, live[i].first, st);
      if (st != 2) {
        int32_t keep = std::min(live[i].second, n);
        int32_t h = live[i].first;
        for (int32_t k = keep; k < n; ++k) s.a.w[(size_t)(s.L.START[h] + k)] = h * 1000 + k;
        live[i].second = n;
      }
    }
    if (step % 500 == 0) expectConsistent(s);
    for (auto [h, n] : live) ASSERT_TRUE(s.intact(h, n)) << "step " << step;
  }
  EXPECT_GT(s.L.NCOMPACT, 0);
  expectConsistent(s);
}

namespace {
MasterRecord* g_fatalrec = nullptr;
void closeDiverts(MasterRecord&) { std::fprintf(stderr, "divert files closed\n"); }
// runs a fatal path with standard output joined to standard error for the death test
void fatalRun(int what) {
  dup2(2, 1);
  TestStore s(100);
  s.L.FATALHK = closeDiverts;
  g_fatalrec = &s.L;
  int32_t h = s.take(4), kept = h, n = 4, st = 0;
  rlsblk_(s.L, h);
  switch (what) {
    case 0: rlsblk_(s.L, kept); break;
    case 1: setblk_(2, n, s.a, s.L, kept, st); break;
    case 2: h = 481; rlsblk_(s.L, h); break;
    case 3: h = 100000; setblk_(2, n, s.a, s.L, h, st); break;
    case 4: h = 1; rlsblk_(s.L, h); break;
  }
}
}  // namespace

TEST(AllocatorDeathTest, BadHandlesStopAfterClosingDivertFiles) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(fatalRun(0), testing::ExitedWithCode(1), "divert files closed\n RLSBLK");
  EXPECT_EXIT(fatalRun(1), testing::ExitedWithCode(1), "divert files closed\n SETBLK");
  EXPECT_EXIT(fatalRun(2), testing::ExitedWithCode(1), "RLSBLK");
  EXPECT_EXIT(fatalRun(3), testing::ExitedWithCode(1), "SETBLK");
  EXPECT_EXIT(fatalRun(4), testing::ExitedWithCode(1), "RLSBLK");
}

TEST(Allocator, CloneCompareAndDoubling) {
  TestStore s(60);
  int32_t a = s.take(10), b = 0, st = -1;
  cloneb_(s.a, s.L, a, b, st);
  EXPECT_EQ(st, 0);
  EXPECT_TRUE(qtest(compb_(s.a, s.L, a, b)));
  s.a.w[(size_t)(s.L.START[b] + 9)] = -1;
  EXPECT_FALSE(qtest(compb_(s.a, s.L, a, b)));
  EXPECT_FALSE(qtest(compb_(s.a, s.L, a, 0)));
  int32_t c = s.take(30), d = 0;
  cloneb_(s.a, s.L, c, d, st);  // 10 words left: no room for a copy of 30
  EXPECT_EQ(st, 1);
  EXPECT_EQ(d, 0);
  EXPECT_EQ(s.L.FREEWD, 10);
  int32_t none = 0;
  cloneb_(s.a, s.L, 0, none, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(none, 0);

  const int32_t in[] = {1000, 1073741820, 1073741821, 2147483640, 0};
  const int32_t out[] = {2000, 2147483640, 2147483640, 2147483640, 0};
  for (int i = 0; i < 5; ++i) {
    int32_t n = in[i];
    idoub_(n);
    EXPECT_EQ(n, out[i]);
  }
}

TEST(Allocator, TableNeverExceedsTheArray) {
  auto rec = std::make_unique<MasterRecord>();
  Work a;
  a.w.assign(101, 0);
  rec->TOTWRD = 5000;
  init_(*rec);
  intmem_(a, *rec);
  EXPECT_EQ(rec->TOTWRD, 100);
  EXPECT_EQ(rec->START[2], 101);
}
