#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include <string>
#include "store/hooks.h"
#include "store/store_test_fixture.h"

TEST(Init, StartUpDefaults) {
  auto rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  // a clock at midnight of an unknown date: the start time and the run date read 0
  setclocksource_([](int32_t& h, int32_t&, int32_t&, int32_t&) { h = 0; });
  init_(L);
  setclocksource_(nullptr);
  EXPECT_EQ(L.TOTHND, 480);
  EXPECT_EQ(L.MODSTAT, 12);
  EXPECT_EQ(L.ENVHANDLE, 0);
  EXPECT_EQ(L.MODELHANDLE, 0);
  EXPECT_TRUE(qtest(L.HEAP_SWITCH));
  EXPECT_FALSE(qtest(L.MSGOFF));
  EXPECT_EQ(L.INTMODE, -1);
  EXPECT_EQ(L.IOMODE, 10);
  EXPECT_EQ(L.TXTBUF, 800);
  EXPECT_EQ(L.DBMAXL, 127);
  EXPECT_EQ(L.STKMAX, 512);
  EXPECT_EQ(L.NAMEWD, 4);
  EXPECT_EQ(L.SCANMD, 11);
  EXPECT_EQ(L.PTRTAB[3], 4096);
  EXPECT_DOUBLE_EQ(L.BIGLOG, 706.893623549172);
  EXPECT_EQ(L.NEGBIG, -1e307);
  EXPECT_EQ(std::string(L.PROMPT1), "? ");
  EXPECT_EQ(std::string(L.PROMPT3), std::string(L.PROMPT2));
  EXPECT_EQ(L.DBUSER[0], '\0');
  EXPECT_EQ(L.DBPASS[0], '\0');
  EXPECT_EQ(L.DBUSERLEN, 0);
  EXPECT_EQ(L.START_TIME, 0.0);
  EXPECT_EQ(L.RUN_DATE, 0);
  EXPECT_EQ(L.USRFN[0], 0);
}

TEST(Mem, ReportOfAFreshStoreAndAfterMoving) {
  {
    TestStore s(8388608);  // 32 MB
    testing::internal::CaptureStdout();
    mem_(s.L);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " \n"
              " Total generator memory          33554432\n"
              " Peak generator memory usage            0\n"
              " Current generator memory usage         0\n"
              " \n"
              " Total handles                        480\n"
              " Peak handle usage                      2\n"
              " Current handle usage                   2\n"
              " \n"
              " Total bytes moved                      0\n"
              " Total blocks moved                     0\n"
              " Total heap compacts                    0\n"
              " \n"
              " Fragmentation ratio                0.000\n"
              " \n");
  }
  TestStore s(40);
  s.take(10);
  int32_t b = s.take(10);
  s.take(10);
  rlsblk_(s.L, b);
  s.take(12);  // compacts: 10 words move down
  testing::internal::CaptureStdout();
  mem_(s.L);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(" Total generator memory               160\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" Peak generator memory usage          128\n"), std::string::npos);
  EXPECT_NE(out.find(" Current generator memory usage       128\n"), std::string::npos);
  EXPECT_NE(out.find(" Peak handle usage                      5\n"), std::string::npos);
  EXPECT_NE(out.find(" Current handle usage                   5\n"), std::string::npos);
  EXPECT_NE(out.find(" Total bytes moved                     40\n"), std::string::npos);
  EXPECT_NE(out.find(" Total blocks moved                     1\n"), std::string::npos);
  EXPECT_NE(out.find(" Total heap compacts                    1\n"), std::string::npos);
  // 8 free words, all above the last block: 1 - 7/8
  EXPECT_NE(out.find(" Fragmentation ratio                0.125\n"), std::string::npos);
}

// The last block ends at the top of the store, so no free word lies above it: the ratio
// is 1 (the free words are all in a hole below).
TEST(Mem, RatioIsOneWhenTheLastBlockEndsTheStore) {
  TestStore s(40);
  int32_t a = s.take(8);
  s.take(8);
  s.take(24);
  ASSERT_EQ(s.L.FREEWD, 0);
  rlsblk_(s.L, a);
  testing::internal::CaptureStdout();
  mem_(s.L);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(" Fragmentation ratio                1.000\n"), std::string::npos) << out;
}
