// Name tables, hashing, object names and the scanner's conversions.
#include <cstring>
#include "language/lang_test_fixture.h"

TEST(Names, HashAndPrimes) {
  EXPECT_EQ(hash_funk_("abc", 3, 67), 6u);
  EXPECT_EQ(hash_funk_("ABC", 3, 67), 62u);
  EXPECT_EQ(hash_funk_("abc", 3, 137), 40u);
  EXPECT_EQ(hash_funk_("ABC", 3, 137), 103u);
  EXPECT_EQ(hash_funk_("", 0, 67), 1u);
  const int32_t primes[][2] = {{4, 5}, {9, 11}, {25, 29}, {64, 67}, {3, 3}, {134, 137}, {274, 277}};
  for (auto& p : primes) EXPECT_EQ(fprime_(p[0]), p[1]) << p[0];
}

TEST(Names, TrimmedLength) {
  // blanks before, inside and after the text, across and within eight-character words
  const std::pair<std::string, int32_t> cases[] = {
      {"", 0},          {"        ", 0},  {std::string(32, ' '), 0}, {"A", 1},      {"A       ", 1},
      {"       A", 8},  {"ABCDEFGH", 8},  {"ABCDEFGH ", 8},          {"ABCDEFGHI", 9}, {"A B     ", 3},
      {std::string(31, ' ') + "Z", 32},   {"X" + std::string(31, ' '), 1},  {"ABCDEFG         Q       ", 17}};
  for (const auto& [text, want] : cases)
    EXPECT_EQ(trimlen(text.data(), (int32_t)text.size()), want) << '"' << text << '"';
}

TEST(Names, TableGrowsAndFinds) {
  FrontFixture f;
  NameTable t = nt_scalar(f.L);
  EXPECT_EQ(find_name_hash_(f.W, f.L, t, "X", 1), 0);  // no names yet
  int32_t st = 0;
  for (int i = 1; i <= 70; ++i) {
    std::string n = "N" + std::to_string(i);
    add_name_hash_(f.W, f.L, t, n.data(), (int32_t)n.size(), st);
    ASSERT_EQ(st, 0);
    if (i == 33) {
      EXPECT_EQ(f.L.SCLHSZ, 67);
    } else if (i == 34) {
      EXPECT_EQ(f.L.SCLHSZ, 137);
    } else if (i == 69) {
      EXPECT_EQ(f.L.SCLHSZ, 277);
    }
  }
  for (int i = 1; i <= 70; ++i) {
    std::string n = "N" + std::to_string(i);
    EXPECT_EQ(find_name_hash_(f.W, f.L, t, n.data(), (int32_t)n.size()), i);
  }
  int32_t r = find_name_hash_(f.W, f.L, t, "abc", 3);
  EXPECT_LT(r, 0);
  EXPECT_EQ(iget(f.W, f.L, f.L.SCLHSH, -r), 0);
  EXPECT_LT(find_name_rng_hash_(f.W, f.L, t, "N5", 2, 10, 20), 1);
  EXPECT_EQ(find_name_rng_hash_(f.W, f.L, t, "N15", 3, 10, 20), 15);
  std::string full(32, 'Q');
  add_name_hash_(f.W, f.L, t, full.data(), 32, st);
  EXPECT_EQ(find_name_hash_(f.W, f.L, t, full.data(), 32), 71);
  // a name is found only with the same characters and nothing but blanks after them
  EXPECT_LT(find_name_hash_(f.W, f.L, t, full.data(), 31), 1);
  EXPECT_EQ(find_name_hash_(f.W, f.L, t, "N12       ", 3), 12);
  EXPECT_EQ(namestr(f.W, f.L, f.L.SCLNAM, 71), full);
}

// Room taken for many names at once leaves the table as the names added one by one do:
// the same capacity, hash size and slots, whatever was in the table before and however
// many come; where the store cannot give the room, the additions grow it as they go.
TEST(Names, RoomForManyNamesLeavesTheTableAsOneByOne) {
  const struct { int32_t before, n, words; } cases[] = {
      {0, 1, 4000000},  {0, 33, 4000000},  {3, 31, 4000000},  {0, 5000, 4000000},
      {40, 2000, 4000000}, {200, 3, 4000000}, {10, 20000, 400000},
  };
  for (const auto& c : cases) {
    FrontFixture one(c.words), many(c.words);
    int32_t st = 0;
    auto add = [&](FrontFixture& f, int32_t i) {
      const std::string n = "M" + std::to_string(i);
      add_name_hash_(f.W, f.L, nt_prim(f.L), n.data(), (int32_t)n.size(), st);
      ASSERT_EQ(st, 0) << c.before << " + " << c.n << " at " << i;
    };
    for (int32_t i = 1; i <= c.before; ++i) {
      add(one, i);
      add(many, i);
    }
    reserve_names_(many.W, many.L, nt_prim(many.L), c.n);
    for (int32_t i = c.before + 1; i <= c.before + c.n; ++i) {
      add(one, i);
      add(many, i);
    }
    const std::string name = std::to_string(c.before) + " + " + std::to_string(c.n);
    ASSERT_EQ(many.L.PRMHSZ, one.L.PRMHSZ) << name;
    ASSERT_EQ(many.L.PRIMCAP, one.L.PRIMCAP) << name;
    for (int32_t k = 1; k <= one.L.PRMHSZ; ++k)
      ASSERT_EQ(iget(many.W, many.L, many.L.PRMHSH, k), iget(one.W, one.L, one.L.PRMHSH, k)) << name << " slot " << k;
    for (int32_t i = 1; i <= c.before + c.n; i += 7) {
      const std::string n = "M" + std::to_string(i);
      EXPECT_EQ(find_name_hash_(many.W, many.L, nt_prim(many.L), n.data(), (int32_t)n.size()), i) << name;
    }
  }
  // room beyond the store is not taken: with no room for the names the free store stays
  // as it was, with room for the names alone the hash block does; the table still grows
  FrontFixture f(150000);
  int32_t st = 0;
  add_name_hash_(f.W, f.L, nt_prim(f.L), "A", 1, st);
  const int32_t free = f.L.FREEWD, hsize = f.L.PRMHSZ;
  reserve_names_(f.W, f.L, nt_prim(f.L), 50000);
  EXPECT_EQ(f.L.FREEWD, free);
  reserve_names_(f.W, f.L, nt_prim(f.L), 12000);
  EXPECT_EQ(f.L.PRIMCAP, 16384);
  EXPECT_EQ(f.L.PRMHSZ, hsize);
  for (const char* n : {"B", "C"}) add_name_hash_(f.W, f.L, nt_prim(f.L), n, 1, st);
  ASSERT_EQ(st, 0);
  EXPECT_EQ(f.L.NPRIMEL, 3);
  EXPECT_EQ(find_name_hash_(f.W, f.L, nt_prim(f.L), "A", 1), 1);
  EXPECT_EQ(find_name_hash_(f.W, f.L, nt_prim(f.L), "C", 1), 3);
}

TEST(Names, NumbersAsTextAndNameRepair) {
  char t[16];
  int32_t n;
  const std::pair<double, const char*> nums[] = {
      {-2.5, "2.5"}, {123456789, "1.2345679e+08"}, {0.0001, "0.0001"}, {0.00001, "1e-05"}, {12, "12"}};
  for (auto& c : nums) {
    std::memset(t, ' ', 16);
    nm2txt_(c.first, t, n);
    EXPECT_EQ(std::string(t + 15 - n, n), c.second);
  }
  char a[40] = "  ab-c";
  int32_t len = 6;
  EXPECT_FALSE(fixaname2_(a, len, 32, false));
  EXPECT_EQ(std::string(a, len), "AB_C");
  char b[40] = "9X";
  len = 2;
  fixaname2_(b, len, 32, true);
  EXPECT_EQ(std::string(b, len), "_9X");
  char c[40] = "  9ab-c";
  EXPECT_EQ(fixaname_(c, 7, 1), 0);
  EXPECT_EQ(std::string(c, 7), "_9AB_C ");
  char d[10];
  ndx2nm_("R", 1, 12, d);
  EXPECT_EQ(std::string(d, 8), "R0000012");
}

// Every character class at its edges: letters are upper-cased, digits and '_' kept, anything
// else (the neighbours of the ranges, high bytes) becomes '_' and makes the repair a change.
TEST(Names, RepairKeepsNameCharactersAndMarksTheRest) {
  struct Case { const char* in; const char* out; bool unchanged; };
  const Case cases[] = {
      {"  azAZ09_", "AZAZ09_", true}, {"a.b", "A_B", false},      {"@[`{", "____", false},
      {"/:x", "__X", false},          {"x\xe9y", "X_Y", false},   {"m n", "M_N", false},
  };
  for (const Case& c : cases) {
    char buf[40] = {};
    std::strcpy(buf, c.in);
    int32_t len = (int32_t)std::strlen(c.in);
    EXPECT_EQ(fixaname2_(buf, len, 32, false), c.unchanged) << c.in;
    EXPECT_EQ(std::string(buf, (size_t)len), c.out) << c.in;
  }
}

TEST(Scanner, NumbersAndIntegers) {
  struct C {
    const char* text;
    int syntax;
    int err;
    double val;
    int end;  // position left on
  };
  const C cases[] = {
      {" 1.5E3 ", 0, 0, 1500, 6},  {"1.5E3", 1, 0, 1.5, 3},     {"2E", 0, 0, 2, 1},
      {"2E+", 0, 0, 2, 1},         {"2EX", 0, 0, 2, 1},         {"1e400", 0, 2, 1e307, 5},
      {"1.2.3", 0, 0, 1.2, 3},     {"1..5", 0, 1, 0, 0},        {"+1", 0, 1, 0, 0},
      {"0.1", 0, 0, 0.1, 3},       {"12;", 0, 0, 12, 2},        {"1E-400", 0, 0, 0, 6},
      {"5.", 0, 0, 5, 2},          {".25", 0, 0, 0.25, 3},
  };
  MasterRecord* L = new MasterRecord;
  init_(*L);
  for (const C& c : cases) {
    std::string s = std::string(" ") + c.text;  // 1-based
    int32_t pos = 0;
    double v = -1;
    EXPECT_EQ(txt2np_(*L, s.data(), pos, (int32_t)s.size() - 1, c.syntax, v), c.err) << c.text;
    if (c.err != 1) {
      EXPECT_DOUBLE_EQ(v, c.val) << c.text;
      EXPECT_EQ(pos, c.end) << c.text;
    }
  }
  // exactly the double nearest each decimal, on either side of the short path's limits
  const std::pair<const char*, double> exact[] = {
      {"0.3", 0.3},       {"123.456e-3", 0.123456}, {"9007199254740993", 9007199254740992.0},
      {"1e23", 1e23},     {"0.1e-25", 1e-26},       {"12345678901234567890", 12345678901234567890.0},
      {"31.09", 31.09},   {"4.35e22", 4.35e22},
  };
  for (const auto& [text, want] : exact) {
    std::string s = std::string(" ") + text;
    int32_t pos = 0;
    double v = -1;
    EXPECT_EQ(txt2np_(*L, s.data(), pos, (int32_t)s.size() - 1, 0, v), 0) << text;
    EXPECT_EQ(v, want) << text;
  }
  delete L;
  std::string s = " 12345678901";
  int32_t pos = 0, iv = 0;
  EXPECT_EQ(txt2int_(s.data(), pos, 11, iv), 0);
  EXPECT_EQ(iv, 1234567890);
  EXPECT_EQ(pos, 10);
}

TEST(Scanner, KeywordsSkipBlanksAndNamesStopAt32) {
  FrontFixture f;
  f.text("X < = 3;");
  f.go(0);
  EXPECT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(f.code(), "BEGROW | PUSHV X | PUSHN 3 | SUB | ENDROW LT");
  f.text("ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDEFGHIJ >= 1;");
  f.go(0);
  EXPECT_EQ(f.L.LASTERR, 11);
  EXPECT_EQ(std::string(f.L.SCANBUF + f.L.ERRARG, 8), "CDEFGHIJ");
}
