// The value loaders, the @POINTER reader, name reordering, the literal heap, object list
// expansion and the transposition of a block of reals.
#include <string>
#include <vector>
#include "language/lang_test_fixture.h"
#include "language/values.h"

namespace {

// A name block holding the names.
int32_t names_block(FrontFixture& f, const std::vector<std::string>& names) {
  int32_t h = 0, n = (int32_t)std::max<size_t>(names.size(), 1) * 8, st = 0;
  setblk_(2, n, f.W, f.L, h, st);
  for (size_t i = 0; i < names.size(); ++i) putnam_(f.W, f.L, h, (int64_t)i + 1, names[i].data(), (int32_t)names[i].size());
  return h;
}
int32_t int_block(FrontFixture& f, const std::vector<int32_t>& v) {
  int32_t h = 0, n = (int32_t)std::max<size_t>(v.size(), 1), st = 0;
  setblk_(2, n, f.W, f.L, h, st);
  for (size_t i = 0; i < v.size(); ++i) iput(f.W, f.L, h, (int64_t)i + 1, v[i]);
  return h;
}
int32_t real_block(FrontFixture& f, const std::vector<double>& v) {
  int32_t h = 0, n = (int32_t)std::max<size_t>(v.size(), 1), st = 0;
  setblk_(6, n, f.W, f.L, h, st);
  for (size_t i = 0; i < v.size(); ++i) rput(f.W, f.L, h, (int64_t)i + 1, v[i]);
  return h;
}
// Members of set s, by name.
std::string members(FrontFixture& f, int32_t s) {
  std::string r;
  int32_t n = iget(f.W, f.L, f.L.NNTRYS, s), d = setdim(f.W, f.L, s), first = iget(f.W, f.L, f.L.INXNTR, s);
  for (int32_t k = 0; k < n; ++k) {
    r += k ? " " : "";
    if (d == 0) {
      r += namestr(f.W, f.L, f.L.KPNAME, first + k);
      continue;
    }
    for (int32_t c = 0; c < d; ++c) {
      int32_t p = iget(f.W, f.L, f.L.NDXSTB, iget(f.W, f.L, f.L.LXSTUB, s) + c);
      int32_t m = iget(f.W, f.L, f.L.NDRVEL, first + k * d + c);
      r += (c ? "." : "") + namestr(f.W, f.L, f.L.KPNAME, iget(f.W, f.L, f.L.INXNTR, p) + m - 1);
    }
  }
  return r;
}

TEST(Loaders, SetMembers) {
  FrontFixture f;
  f.text("SETS: S; T(S, S); U; V /A B/; ENDSETS");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  int32_t st = -1;
  loadset_(f.W, f.L, 1, names_block(f, {"X", "Y", "Z"}), 1, 3, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(members(f, 1), "X Y Z");
  loadset_(f.W, f.L, 1, names_block(f, {"Q"}), 1, 1, st);
  EXPECT_EQ(st, 2);  // already has members: nothing changes
  EXPECT_EQ(members(f, 1), "X Y Z");
  int32_t used = f.L.NDRVUSE;
  loadset_(f.W, f.L, 2, names_block(f, {"X", "Y", "Z", "X", "Y"}), 1, 5, st);
  EXPECT_EQ(st, 3);
  EXPECT_EQ(f.L.NDRVUSE, used);  // refused before any lookup
  loadset_(f.W, f.L, 2, names_block(f, {"X", "Y", "Y", "Q"}), 1, 4, st);
  EXPECT_EQ(st, 4);
  EXPECT_EQ(std::string(f.L.ERRTXT, 1), "Q");
  FrontFixture g;
  g.text("SETS: S /X Y Z/; T(S, S); U; ENDSETS");
  g.go(0);
  for (int32_t* h : {&g.L.NNTRYS, &g.L.INXNTR, &g.L.SETALC, &g.L.INANTR}) iput(g.W, g.L, *h, 2, 0);  // T unbuilt
  loadset_(g.W, g.L, 2, names_block(g, {"B", "X", "Z", "Y", "Z"}), 2, 4, st);  // from the second name
  EXPECT_EQ(st, 0);
  EXPECT_EQ(members(g, 2), "X.Z Y.Z");
  loadset_(g.W, g.L, 3, names_block(g, {}), 1, 0, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(iget(g.W, g.L, g.L.NNTRYS, 3), 0);
  EXPECT_EQ(iget(g.W, g.L, g.L.SETALC, 3), 1);
}

TEST(Loaders, ValuesOfScalarsAndAttributes) {
  FrontFixture f;
  f.text("SETS: S /A B C/: P; ENDSETS MAX = X + Y;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  int32_t st = -1, x = 1, p = iget(f.W, f.L, f.L.INANTR, 1);
  putval_(f.W, f.L, x, 2.5, 1, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(vkind(f.W, f.L, x), 6);
  EXPECT_EQ(iget(f.W, f.L, f.L.VARFIX, x), 0);
  putval_(f.W, f.L, x, 3.5, 1, st);
  EXPECT_EQ(st, 1);  // a second DATA value is refused
  EXPECT_EQ(f.L.ERRARG2, x);
  putval_(f.W, f.L, x, 4.5, 0, st);
  EXPECT_EQ(st, 0);  // an INIT value for a data variable is skipped
  EXPECT_EQ(vvalue(f.W, f.L, x), 2.5);
  setvkind(f.W, f.L, 2, 4);
  putval_(f.W, f.L, 2, 7.0, 0, st);
  EXPECT_NE(vvalue(f.W, f.L, 2), 7.0);
  double v[3] = {1, 2, 3};
  loadattr_(f.W, f.L, 1, 0, v, 1, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(vvalue(f.W, f.L, p + 2), 3.0);
  loadattr_(f.W, f.L, 1, 0, v, 1, st);
  EXPECT_EQ(st, 1);
  EXPECT_EQ(f.L.ERRARG2, p);
  FrontFixture g;
  g.text("SETS: S /A B C/: P; ENDSETS MAX = X;");
  g.go(0);
  int32_t vals = real_block(g, {9, 1, 2, 3});
  loadem2_(g.W, g.L, vals, int_block(g, {1, 1}), int_block(g, {0, 4}), 2, 1, 0, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(vvalue(g.W, g.L, 1), 9.0);
  int32_t q = iget(g.W, g.L, g.L.INANTR, 1);
  EXPECT_EQ(vvalue(g.W, g.L, q), 1.0);
  EXPECT_EQ(vvalue(g.W, g.L, q + 2), 3.0);
  loadem2_(g.W, g.L, vals, int_block(g, {1}), int_block(g, {0}), 1, 1, 0, st);
  EXPECT_EQ(st, 1);
}

TEST(Loaders, TablesOfMembersAndValues) {
  FrontFixture f;
  f.text("SETS: S: P, Q; ENDSETS");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  int32_t st = -1;
  // columns: the members of S, then Q, then P
  int32_t id = int_block(f, {1, 0, 0}), step = int_block(f, {0, 0, 0}), kind = int_block(f, {NTSETP, NTFIX, NTFIX});
  int32_t set = int_block(f, {1, 2, 1});
  loademx_(f.W, f.L, id, step, kind, set, names_block(f, {"K", "M"}), real_block(f, {5, 6, 7, 8}), 2, 3, 1, 0, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(members(f, 1), "K M");
  int32_t p = iget(f.W, f.L, f.L.INANTR, 1);
  EXPECT_EQ(vvalue(f.W, f.L, p), 6.0);      // P of K
  EXPECT_EQ(vvalue(f.W, f.L, p + 1), 5.0);  // Q of K
  EXPECT_EQ(vvalue(f.W, f.L, p + 3), 7.0);  // Q of M
  // a second DATA value for the same variables is refused
  int32_t id2 = int_block(f, {p}), step2 = int_block(f, {2}), k2 = int_block(f, {NTFIX}), s2 = int_block(f, {0});
  loademx_(f.W, f.L, id2, step2, k2, s2, 0, real_block(f, {1, 2}), 2, 1, 1, 0, st);
  EXPECT_EQ(st, 4);
  EXPECT_EQ(f.L.ERRARG2, p);
  FrontFixture g;
  g.text("SETS: S /A B/; T(S, S): R; ENDSETS");
  g.go(0);
  int32_t gid = int_block(g, {2, 2, 0}), gstep = int_block(g, {0, 0, 0});
  int32_t gkind = int_block(g, {NTSETD, NTSETD, NTFIX}), gset = int_block(g, {1, 1, 1});
  iput(g.W, g.L, g.L.NNTRYS, 2, 0);  // not yet given members
  iput(g.W, g.L, g.L.INANTR, 2, 0);
  iput(g.W, g.L, g.L.INXNTR, 2, 0);
  loademx_(g.W, g.L, gid, gstep, gkind, gset, names_block(g, {"B", "A", "C", "A"}), real_block(g, {1, 2}), 2, 3, 1, 0,
           st);
  EXPECT_EQ(st, 2);  // C is not a member of S
  EXPECT_EQ(std::string(g.L.ERRTXT, 1), "C");
}

TEST(Pointer, ArgumentsAndTargets) {
  FrontFixture f;
  f.text("SETS: S /A B/: P; T /C/: Q; ENDSETS MAX = X;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  struct Case {
    std::vector<std::string> ptrs;
    std::vector<int32_t> index, kinds;
    int32_t status;
  };
  const Case cases[] = {
      {{"1", "2"}, {1, 1, 2}, {4, 4, 4}, 1},  // neither one pointer nor one per target
      {{"2.5"}, {1}, {4}, 1},                 // not a whole number
      {{"X"}, {1}, {4}, 1},
      {{"3"}, {1, 2}, {4, 4}, 3},             // one pointer for attributes of two sets
      {{"3.000000001"}, {1}, {4}, 1},         // a good pointer: the hook has no memory to give
  };
  for (const Case& c : cases) {
    int32_t txt = 0, used = 0, cap = 0, st = 0;
    std::vector<int32_t> ends;
    for (const std::string& s : c.ptrs) {
      storelt_(f.W, f.L, txt, used, cap, s.data(), (int32_t)s.size(), st);
      ends.push_back(used);
    }
    int32_t values = 0;
    getpntrd_(f.W, f.L, (int32_t)c.index.size(), int_block(f, ends), txt, (int32_t)c.ptrs.size(), c.index.data(),
              c.kinds.data(), values, st);
    EXPECT_EQ(st, c.status) << c.ptrs[0];
  }
}

TEST(Names, GroupsAreInterleaved) {
  FrontFixture f;
  int32_t h = names_block(f, {"A1", "A2", "A3", "B1", "B2", "B3"}), st = -1;
  txtpose_(f.W, f.L, h, 3, 2, st);
  EXPECT_EQ(st, 0);
  std::string r;
  for (int32_t i = 1; i <= 6; ++i) r += namestr(f.W, f.L, h, i) + " ";
  EXPECT_EQ(r, "A1 B1 A2 B2 A3 B3 ");
}

TEST(LiteralHeap, TextsWithTerminators) {
  FrontFixture f;
  int32_t heap = 0, used = 0, cap = 0, st = -1;
  for (std::string t : {"AB", "", "CDE"}) {
    storelt_(f.W, f.L, heap, used, cap, t.data(), (int32_t)t.size(), st);
    EXPECT_EQ(st, 0);
  }
  EXPECT_EQ(used, 8);
  EXPECT_GE(cap, 256);
  char text[16];
  int32_t len = -1;
  strfrmhp_(f.W, f.L, heap, 5, text, len);
  EXPECT_EQ(std::string(text, (size_t)len), "CDE");
  strfrmhp_(f.W, f.L, heap, 4, text, len);
  EXPECT_EQ(len, 0);
  int32_t pos = 0, list = 0, lpos = 0, lcap = 0;
  heapstrcpy_(f.W, f.L, heap, pos, list, lpos, lcap, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(lpos, 3);
  EXPECT_EQ(iget(f.W, f.L, list, 2), 'B');
  EXPECT_EQ(iget(f.W, f.L, list, 3), 0);
  storelt_(f.W, f.L, heap, used, cap, "X", -1, st);
  EXPECT_EQ(st, 1);
  EXPECT_EQ(used, 8);
}

TEST(ObjectLists, DerivedSetsExpandByPosition) {
  FrontFixture f;
  f.text("SETS: S /A B/; U /C/; T(S, U): R; ENDSETS MAX = X;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  int32_t num[] = {1, 3, 1}, type[] = {4, 12, 4}, owner[] = {3, 3, 3}, kind[] = {0, NTSETD, 0};
  int32_t n = 0, a = 0, b = 0, c = 0, d = 0, st = -1;
  expandarglist_(f.W, f.L, 3, n, num, type, owner, kind, a, b, c, d, st);
  EXPECT_EQ(st, 0);
  ASSERT_EQ(n, 4);
  std::string r;
  for (int32_t i = 1; i <= n; ++i)
    r += std::to_string(iget(f.W, f.L, a, i)) + "/" + std::to_string(iget(f.W, f.L, b, i)) + "/" +
         std::to_string(iget(f.W, f.L, c, i)) + " ";
  EXPECT_EQ(r, "1/4/3 1/12/3 2/12/3 1/4/3 ");
}

TEST(Transpose, RowOrderToColumnOrder) {
  FrontFixture f;
  int32_t h = real_block(f, {1, 2, 3, 4, 5, 6}), st = 0;
  transpose_(f.W, f.L, h, 2, 3, st);
  EXPECT_EQ(st, 0);
  std::string r;
  for (int32_t k = 1; k <= 6; ++k) r += std::to_string((int)rget(f.W, f.L, h, k));
  EXPECT_EQ(r, "142536");
}

}  // namespace
