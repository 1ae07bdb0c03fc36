// The argument parsers of the spreadsheet and database links.
#include <string>
#include <vector>
#include "language/lang_test_fixture.h"
#include "language/values.h"

namespace {

// An argument list: its blocks, count and capacities.
struct Args {
  int32_t ends = 0, chars = 0, count = 0, endCap = 0, charCap = 0;
};

Args make(FrontFixture& f, const std::vector<std::string>& texts) {
  Args a;
  int32_t st = 0, used = 0;
  std::vector<int32_t> e;
  for (const std::string& t : texts) {
    storelt_(f.W, f.L, a.chars, used, a.charCap, t.data(), (int32_t)t.size(), st);
    e.push_back(used);
  }
  a.count = (int32_t)texts.size();
  a.endCap = std::max(a.count, 1);
  setblk_(2, a.endCap, f.W, f.L, a.ends, st);
  for (size_t i = 0; i < e.size(); ++i) iput(f.W, f.L, a.ends, (int64_t)i + 1, e[i]);
  return a;
}
std::string show(FrontFixture& f, const Args& a) {
  std::string r;
  int32_t prev = 0;
  for (int32_t i = 1; i <= a.count; ++i) {
    int32_t end = iget(f.W, f.L, a.ends, i);
    std::string t;
    for (int32_t k = prev + 1; k < end; ++k) t += cget(f.W, wbyte(f.L.START[a.chars]) + k - 1);
    prev = end;
    r += (i > 1 ? "|" : "") + t;
  }
  return r;
}
int32_t ints(FrontFixture& f, const std::vector<int32_t>& v) {
  int32_t h = 0, n = (int32_t)v.size(), st = 0;
  setblk_(2, n, f.W, f.L, h, st);
  for (size_t i = 0; i < v.size(); ++i) iput(f.W, f.L, h, (int64_t)i + 1, v[i]);
  return h;
}

TEST(ArgParsers, SpreadsheetTexts) {
  FrontFixture f;
  f.text("SETS: S /A B C/: P, Q, R; U /X/; T(S, U); ENDSETS MAX = Z;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  int32_t nums = ints(f, {1, 2, 3}), types = ints(f, {4, 4, 4});
  struct Case {
    std::vector<std::string> in;
    int32_t status;
    const char* out;
  };
  const Case cases[] = {
      {{}, 6, ""},  // no text and no active workbook
      {{"WB"}, 0, "WB|P|Q|R"},
      {{"WB", "RNG"}, 0, "WB|RNG"},
      {{"WB", "R1", "R2"}, 2, "WB|R1|R2"},
      {{"WB", "R1", "", "R3"}, 0, "WB|R1|Q|R3"},
  };
  for (const Case& c : cases) {
    Args a = make(f, c.in);
    int32_t st = -1;
    ssargs_(f.W, f.L, 0, 3, a.ends, a.chars, a.count, a.endCap, a.charCap, nums, types, 0, st);
    EXPECT_EQ(st, c.status) << c.out;
    if (c.status == 0 || !c.in.empty()) {
      EXPECT_EQ(show(f, a), c.out);
    }
  }
  Args a = make(f, {"WB"});
  int32_t st = -1;
  ssargs_(f.W, f.L, 1, 0, a.ends, a.chars, a.count, a.endCap, a.charCap, 3, 0, 0, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(show(f, a), "WB|T");
  Args b = make(f, {"WB", "FIX", "R"});
  ssargs_(f.W, f.L, 0, 3, b.ends, b.chars, b.count, b.endCap, b.charCap, nums, types, 1, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(show(f, b), "WB|FIX|R");
  f.L.TRACELV = 4;
  testing::internal::CaptureStdout();
  Args c = make(f, {"WB"});
  ssargs_(f.W, f.L, 0, 1, c.ends, c.chars, c.count, c.endCap, c.charCap, nums, types, 0, st);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), " LEAVING SSARGS, NTXTLIT = 2\n    STRING( I)=WB\n    STRING( I)=P\n");
}

TEST(ArgParsers, DatabaseTexts) {
  FrontFixture f;
  f.text("TITLE SHOP; SETS: S /A B C/: P, Q; U /X/: V; T(S, U); ENDSETS [ROW] MAX = Z;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  int32_t st = -1;
  Args a = make(f, {});
  odbcargs_(f.W, f.L, 0, 2, a.ends, a.chars, a.count, a.endCap, a.charCap, ints(f, {1, 2}), ints(f, {4, 4}), st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(show(f, a), "SHOP|S|P|Q");
  Args b = make(f, {"", "TAB"});  // an empty first text is kept
  odbcargs_(f.W, f.L, 1, 0, b.ends, b.chars, b.count, b.endCap, b.charCap, 3, 0, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(show(f, b), "|TAB|S|U");
  Args c = make(f, {"SRC", "TAB", "C1"});
  odbcargs_(f.W, f.L, 0, 2, c.ends, c.chars, c.count, c.endCap, c.charCap, ints(f, {1, 2}), ints(f, {4, 4}), st);
  EXPECT_EQ(st, 1);
  Args d = make(f, {"SRC"});
  odbcarg3_(f.W, f.L, 3, d.ends, d.chars, d.count, d.endCap, d.charCap, ints(f, {1, 1, 2}), ints(f, {4, 8, 5}), st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(show(f, d), "SRC|S|P|ROW|Q");
  Args e = make(f, {"SRC"});
  odbcarg3_(f.W, f.L, 2, e.ends, e.chars, e.count, e.endCap, e.charCap, ints(f, {1, 3}), ints(f, {4, 4}), st);
  EXPECT_EQ(st, 3);  // P has three values, V one
  EXPECT_EQ(std::string(f.L.ERRTXT, 1), "V");
}

TEST(ArgParsers, OutputListsExpandDerivedSets) {
  FrontFixture f;
  f.text("SETS: S /A B/: P; U /X/; T(S, U); ENDSETS MAX = Z;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  struct Case {
    std::vector<std::string> in;
    int32_t status;
    const char* out;
  };
  const Case cases[] = {
      {{"WB"}, 0, "WB|P|S|U"},
      {{}, 4, ""},
      {{"WB", "R"}, 7, "WB|R"},
      {{"WB", "R1", "R2"}, 2, "WB|R1|R2"},
  };
  for (const Case& c : cases) {
    Args a = make(f, c.in);
    int32_t n = 2, nums = ints(f, {1, 3}), types = ints(f, {4, 12}), owners = ints(f, {1, 3});
    int32_t kinds = ints(f, {0, NTSETD}), st = -1;
    ssargs4_(f.W, f.L, n, a.ends, a.chars, a.count, a.endCap, a.charCap, nums, types, owners, kinds, st);
    EXPECT_EQ(st, c.status) << c.out;
    EXPECT_EQ(n, 3);
    EXPECT_EQ(iget(f.W, f.L, nums, 3), 2);  // T's second index position: U
    if (!c.in.empty()) {
      EXPECT_EQ(show(f, a), c.out);
    }
    if (c.status == 7) {
      EXPECT_EQ(std::string(f.L.ERRSTR, 2), "WB");
    }
  }
  Args a = make(f, {"SRC"});
  int32_t nums = ints(f, {1}), types = ints(f, {4}), st = -1;
  odbcarg2_(f.W, f.L, 0, 1, a.ends, a.chars, a.count, a.endCap, a.charCap, nums, types, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(show(f, a), "SRC|S|P");
  EXPECT_EQ(iget(f.W, f.L, nums, 1), 1);
}

}  // namespace
