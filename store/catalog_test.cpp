#include <gtest/gtest.h>
#include "store/heap.h"
#include "store/store_test_fixture.h"

TEST(Catalogue, SetTablesGrowByThirtyTwo) {
  TestStore s(100000);
  int32_t st = -1;
  grwset_(s.a, s.L, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(s.L.SETCAP, 32);
  EXPECT_EQ(s.L.LEN[s.L.KSNAME], 32 * 4 * 2);
  EXPECT_EQ(s.L.LEN[s.L.SETCST], 32);
  grwset_(s.a, s.L, st);
  EXPECT_EQ(s.L.SETCAP, 64);
  TestStore tiny(300);
  grwset_(tiny.a, tiny.L, st);
  EXPECT_NE(st, 0);
  EXPECT_EQ(tiny.L.SETCAP, 0) << "a refused growth keeps the capacity";
}

TEST(Catalogue, VariableGrowthMovesTheTopRegion) {
  struct Case { int32_t n, grow; };
  for (const Case c : {Case{10, 256}, Case{1000, 1000}}) {
    TestStore s(100000);
    int32_t st = -1;
    grwvr3_(s.a, s.L, 4, st);
    ASSERT_EQ(st, 0);
    ASSERT_EQ(s.L.VARCAP, 256);
    // two attribute-block variables at the top: 255 and 256
    s.L.VARTOP = 2;
    for (int32_t v : {255, 256}) {
      DPUT_(s.a, s.L.START[s.L.VARVAL], v, v * 1.5);
      IPUT_(s.a, s.L.START[s.L.VARKND], v, 6);
    }
    grwset_(s.a, s.L, st);
    s.L.NSETS = 2;
    IPUT_(s.a, s.L.START[s.L.INANTR], 1, 255);
    IPUT_(s.a, s.L.START[s.L.INANTR], 2, 0);
    int32_t n = 2;
    setblk_(2, n, s.a, s.L, s.L.VREF1, st);
    s.L.VREF1N = 1;
    IPUT_(s.a, s.L.START[s.L.VREF1], 1, 256);

    grwvr3_(s.a, s.L, c.n, st);
    ASSERT_EQ(st, 0);
    int32_t q = 256 + c.grow;
    EXPECT_EQ(s.L.VARCAP, q);
    int64_t val = s.L.START[s.L.VARVAL], knd = s.L.START[s.L.VARKND];
    EXPECT_EQ(DGET_(s.a, val, q), 256 * 1.5);
    EXPECT_EQ(DGET_(s.a, val, q - 1), 255 * 1.5);
    EXPECT_EQ(IGET_(s.a, knd, q), 6);
    EXPECT_EQ(DGET_(s.a, val, 256), UNSETVAL);
    EXPECT_EQ(IGET_(s.a, knd, 256), 0);
    EXPECT_EQ(IGET_(s.a, s.L.START[s.L.VARFIX], 255), UNFIXED);
    EXPECT_EQ(DGET_(s.a, val, 300), UNSETVAL);
    EXPECT_EQ(IGET_(s.a, s.L.START[s.L.INANTR], 1), 255 + c.grow);
    EXPECT_EQ(IGET_(s.a, s.L.START[s.L.INANTR], 2), 0);
    EXPECT_EQ(IGET_(s.a, s.L.START[s.L.VREF1], 1), 256 + c.grow);
  }
  TestStore tiny(1500);
  int32_t st = -1;
  grwvr3_(tiny.a, tiny.L, 10, st);
  EXPECT_EQ(st, 2);
  EXPECT_EQ(tiny.L.VARCAP, 0);
}

TEST(Catalogue, RowArraysNeverShrinkBelowRowsInUse) {
  TestStore s(200000);
  int32_t st = -1;
  struct Case { int32_t n, nrows, cap; };
  for (const Case c : {Case{10, 0, 256}, Case{1000, 0, 1000}, Case{10, 0, 256}, Case{10, 300, 300}}) {
    s.L.NROWS = c.nrows;
    grwrow_(s.a, s.L, c.n, st);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(s.L.ROWCAP, c.cap);
    EXPECT_EQ(s.L.LEN[s.L.ROWMAP], c.cap);
    EXPECT_EQ(s.L.LEN[s.L.ROWD2], 2 * c.cap);
    EXPECT_EQ(DGET_(s.a, s.L.START[s.L.ROWVAL], c.cap), 0.0);
  }
}

namespace {
int g_resets = 0;
void resetMine(MasterRecord& L) { ++g_resets; }
}  // namespace

TEST(Catalogue, RecoverReleasesTheWholeModelAndClearForgetsIt) {
  TestStore s(200000);
  int32_t st = -1, n = 40;
  grwset_(s.a, s.L, st);
  grwvr3_(s.a, s.L, 10, st);
  grwrow_(s.a, s.L, 10, st);
  setblk_(2, n, s.a, s.L, s.L.CODEBLK, st);
  s.L.CODELEN = 5;
  s.L.CODECAP = n;
  setblk_(6, n, s.a, s.L, s.L.RNGR2, st);
  setblk_(2, n, s.a, s.L, s.L.ORBAUX, st);
  int32_t text = 0;  // a block outside the catalogue (e.g. the model text)
  setblk_(1, n, s.a, s.L, text, st);
  int32_t at = s.L.START[s.L.CODEBLK];
  updateptrs_(s.L, n);
  EXPECT_EQ(n, at);

  recovr_(s.a, s.L);
  EXPECT_EQ(s.L.FREEWD, s.L.TOTWRD - s.L.LEN[text]);
  EXPECT_EQ(s.L.NFREEH, NHANDLES - 3);
  EXPECT_EQ(s.L.CODEBLK, 0);
  EXPECT_EQ(s.L.CODELEN, 0);
  EXPECT_EQ(s.L.SETCAP, 0);
  EXPECT_EQ(s.L.VARCAP, 0);
  EXPECT_EQ(s.L.ROWCAP, 0);
  EXPECT_GT(s.L.START[text], 0);
  recovr_(s.a, s.L);  // nothing left: only counts are zeroed

  addresethook_(s.L, resetMine);
  addresethook_(s.L, resetMine);
  grwset_(s.a, s.L, st);
  intmem_(s.a, s.L);
  EXPECT_EQ(g_resets, 1) << "a hook registered twice runs once";
  EXPECT_EQ(s.L.KSNAME, 0);
  EXPECT_EQ(s.L.SETCAP, 0);
  EXPECT_EQ(s.L.FREEWD, s.L.TOTWRD);
  EXPECT_EQ(s.L.NFREEH, NHANDLES - 2);
}

// A block that grows past the size from which blocks are mapped on their own, grows again
// there and shrinks back keeps its words each time.
TEST(HeapBlocks, LargeBlocksKeepTheirContents) {
  const int32_t before = heapcount_();
  int32_t id = 0, st = -1, n = 1000;
  setblkcm_(2, n, id, st);
  ASSERT_EQ(st, 0);
  for (int32_t k = 1; k <= 1000; ++k) IPUTCM_(id, k, k);
  for (int32_t want : {3000000, 9000000, 2000}) {
    n = want;
    setblkcm_(2, n, id, st);
    ASSERT_EQ(st, 0);
    EXPECT_EQ(IGETCM_(id, 1), 1);
    EXPECT_EQ(IGETCM_(id, 1000), 1000);
    IPUTCM_(id, n, -n);  // the whole new length is writable
    EXPECT_EQ(IGETCM_(id, n), -n);
  }
  rlsblkcm_(id);
  EXPECT_EQ(heapcount_(), before);
}

TEST(HeapBlocks, SizingResizeAndRelease) {
  struct Case { int32_t type, count, back; int64_t bytes; };
  const Case cases[] = {{2, 1, 32, 128}, {2, 33, 64, 256}, {2, 0, 0, 8}, {6, 1, 32, 256}, {1, 1, 32, 32}};
  int32_t before = heapcount_();
  for (const Case& c : cases) {
    int32_t id = 0, st = -1, n = c.count;
    setblkcm_(c.type, n, id, st);
    EXPECT_EQ(st, 0);
    EXPECT_GT(id, 0);
    EXPECT_EQ(n, c.back);
    EXPECT_EQ(g_heapblocks[(size_t)id].bytes, c.bytes);
    rlsblkcm_(id);
    EXPECT_EQ(id, 0);
    rlsblkcm_(id);  // a second release does nothing
  }
  int32_t id = 0, st = -1, n = 4;
  setblkcm_(2, n, id, st);
  for (int32_t k = 1; k <= 32; ++k) IPUTCM_(id, k, k * 7);
  EXPECT_EQ(IGETCM_(id, 1), 7);
  n = 100;
  setblkcm_(2, n, id, st);
  EXPECT_EQ(n, 128);
  EXPECT_EQ(IGETCM_(id, 32), 224);
  DPUTCM_(id, 64, -2.5);
  EXPECT_EQ(DGETCM_(id, 64), -2.5);
  C1PUTCM_(id, 3, 'x');
  EXPECT_EQ(C1GETCM_(id, 3), 'x');
  rlsblkcm_(id);
  EXPECT_EQ(heapcount_(), before);
}

TEST(Accessors, WorkBlockElementsFromOne) {
  TestStore s(100);
  int32_t h = 0, st = -1, n = 3;
  setblk_(6, n, s.a, s.L, h, st);
  int64_t at = s.L.START[h];
  DPUT_(s.a, at, 2, 1e300);
  IPUT_(s.a, at, 1, 42);
  EXPECT_EQ(s.a.w[(size_t)at], 42);
  EXPECT_EQ(DGET_(s.a, at, 2), 1e300);
  C1PUT_(s.a, at, 5, 'Q');
  EXPECT_EQ(C1GET_(s.a, at, 5), 'Q');
  char item[8] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}, back[8];
  C8PUT_(s.a, at, 3, item);
  C8GET_(s.a, at, 3, back);
  EXPECT_EQ(std::string(back, 8), "ABCDEFGH");
}
