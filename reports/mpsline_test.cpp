// MPS-style names and lines: compaction keeps names unique where it can and cuts to 8;
// data lines keep their columns and choose decimals by magnitude.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "reports/exchange.h"
#include "store/io.h"
#include "store/store.h"

namespace {

TEST(MpsLine, NameCompaction) {
  struct Case {
    const char* in;
    const char* out;
    int32_t shortened;
  } cases[] = {
      {"X( 1, 2)", "X(1,2", 0},
      {"FLOW( A, B, C)", "FLOWAB,C", 1},
      {"ABCD(EFG)", "ABCD(EFG", 0},  // 8 characters once ")" is dropped
      {"A  B", "AB", 0},
      {"LONGNAMEXYZ", "LONGNAME", 1},
      {"   ", "", 0},
  };
  for (auto& c : cases) {
    std::string s = c.in;
    int32_t len = (int32_t)s.size(), flag = -1;
    lcmptx_(s.data(), len, flag);
    EXPECT_EQ(s.substr(0, (size_t)len), c.out) << c.in;
    EXPECT_EQ(flag, c.shortened) << c.in;
    EXPECT_EQ(s.find_first_not_of(' ', (size_t)len), std::string::npos) << c.in;  // blank-filled
    EXPECT_EQ(s.size(), std::string(c.in).size());
  }
  int32_t len = 0, flag = 1;
  lcmptx_(nullptr, len, flag);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(flag, 0);
}

TEST(MpsLine, DataLineColumnsAndDecimals) {
  auto Lp = std::make_unique<MasterRecord>();
  MasterRecord& L = *Lp;
  init_(L);
  L.LINLEN = 200;
  std::string path = testing::TempDir() + "mpsline.txt";
  int32_t h = FOPEN_(path.c_str(), "w");
  ASSERT_GT(h, 0);
  char line[200];
  lotmps_(L, line, h, "UP", "BND     ", "X1      ", 2500, 0);
  lotmps_(L, line, h, "  ", "X1      ", "ROW1    ", 0.5, 0);
  lotmps_(L, line, h, "  ", "X1      ", "ROW1    ", -1e7, 0);
  lotmps_(L, line, h, "  ", "X1      ", "ROW2    ", 3, 0);
  lotmps_(L, line, h, "  ", "X2      ", "ROW2    ", 3, 1);
  FCLOSE_(h);
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  EXPECT_EQ(ss.str(),
            " UP BND       X1           2500.0000\n"
            "    X1        ROW1       0.500000000\n"
            "    X1        ROW1         -10000000\n"
            "    X1        ROW2         3.0000000\n"
            "    X2        ROW2      ?\n");
}

}  // namespace
