#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "store/hooks.h"
#include "store/store_test_fixture.h"
#include "store/util.h"

TEST(Utilities, TextsOfNumbersAndVersions) {
  char buf[200];
  std::strcpy(buf, "ABC");
  APPINTTOSTR_(buf, 7);
  EXPECT_STREQ(buf, "ABC 7");
  buf[0] = 0;
  APPINTTOSTR_(buf, 7);
  EXPECT_STREQ(buf, " 7");
  buf[0] = 0;
  APPVERTOSTR_(buf, 3, 0, 1, 2, "x");
  EXPECT_STREQ(buf, " 3.0.1.2 (x)");
  FLOAT2TXT_(1.0 / 3, buf);
  EXPECT_STREQ(buf, "0.33333333");
  DOUBLE2TXT_(1.0 / 3, buf);
  EXPECT_STREQ(buf, "0.3333333333333333");
  FLOAT2TXT_(0.1, buf);
  EXPECT_STREQ(buf, "0.1");
  DOUBLE2TXT_(0.1, buf);
  EXPECT_STREQ(buf, "0.1");
  ERRMESS234_(3, 1e30, buf);
  EXPECT_STREQ(buf, "3 large number(s) were truncated to a value of: 1e+30");
}

TEST(Utilities, StringLengthsAndCopies) {
  std::string f(200, ' ');
  EXPECT_EQ(strlen_(f.c_str()), 0);
  f[199] = 'Z';
  EXPECT_EQ(strlen_(f.c_str()), 200);
  f[199] = ' ';
  f[4] = 'A';
  EXPECT_EQ(strlen_(f.c_str()), 5);
  EXPECT_EQ(strlen0_(""), 0);
  EXPECT_EQ(strlen0_("ab\0cd"), 2);
  int32_t packed[2] = {0, 0};
  cpack_(5, "HELLO", packed);
  char out[6] = {};
  cunpack_(5, packed, out);
  EXPECT_STREQ(out, "HELLO");
  cpack_(-1, "X", out);
  EXPECT_STREQ(out, "HELLO");
}

TEST(Utilities, HeapGivesKeysInDecreasingOrder) {
  const int32_t key[] = {0, 5, 9, 9, 1};  // 1-based
  int32_t index[] = {0, 1, 2, 3, 4};
  heapit_(4, 0, index, key);
  EXPECT_EQ(key[index[1]], 9);
  std::vector<int32_t> got;
  for (int32_t n = 4; n >= 1; --n) {
    heapfr_(n, 0, index, key);
    got.push_back(key[index[n]]);
  }
  EXPECT_EQ(got, (std::vector<int32_t>{9, 9, 5, 1}));
}

TEST(Hooks, FixedAnswersOfThisPlatform) {
  int32_t a = -1, b = -1;
  getuserfncptr_(a, b);
  EXPECT_EQ(a + b, 0);
  double dest[3] = {};
  int32_t r = 0;
  EXPECT_EQ(getptrvals_(r, 1, 3, dest), 4);
  EXPECT_EQ(r, 4);
  EXPECT_EQ(dest[2], 3.0);
  EXPECT_EQ(getptrvals_(r, 1, 0, dest), 1);
  TestStore s(100);
  int32_t st = -1;
  stsgn2_(s.L, 0, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(XLXEXPORT2_(), 1);
  EXPECT_EQ(setquirnstabilityflag_(), 1);
  EXPECT_EQ(XLXGETRANGEINFO_(a, b, "x"), 0);
  stsmem_(a, b);
}
