#include <gtest/gtest.h>

#include "session/outside.h"
#include "tests/unit/modeltext_fixture.h"

TEST(Outside, ModelTextSizeAndCopy) {
  struct Case {
    std::vector<std::string> lines;
    std::string text;
    int32_t size;
  } cases[] = {
      {{"A", "XY"}, std::string("A\r\nXY\r\n", 7), 10},
      {std::vector<std::string>(10, ""), std::string(20, ' '), 21},
      {{}, "", 2},
  };
  cases[1].text.clear();
  for (int i = 0; i < 10; ++i) cases[1].text += "\r\n";
  for (auto& c : cases) {
    TextSession t;
    if (!c.lines.empty()) t.store(c.lines);
    int32_t size = -1;
    getmodelsize_(&t.W, &t.L, &size);
    EXPECT_EQ(size, c.size);
    std::string buf((size_t)size + 8, 'Z');
    getmodel_(&t.W, &t.L, buf.data());
    EXPECT_EQ(buf.substr(0, c.text.size() + 1), c.text + std::string(1, '\0'));
  }
}

TEST(Outside, ModelRowToSolverRow) {
  TextSession t;
  t.L.NROWS = 3;
  int32_t st = 0, n = 3;
  setblk_(2, n, t.W, t.L, t.L.ROWMAP, st);
  const int32_t map[3] = {-1, 20, 30};
  for (int k = 1; k <= 3; ++k) wput(t.W, (int64_t)t.L.START[t.L.ROWMAP] + k - 1, map[k - 1]);
  // no rows removed and no objective row: the map entry plus 1
  EXPECT_EQ(mod2lp_(&t.W, &t.L, 0), -1);
  EXPECT_EQ(mod2lp_(&t.W, &t.L, 4), -1);
  EXPECT_EQ(mod2lp_(&t.W, &t.L, 1), -1);
  EXPECT_EQ(mod2lp_(&t.W, &t.L, 2), 21);
  EXPECT_EQ(mod2lp_(&t.W, &t.L, 3), 31);
}

TEST(Outside, GetAndSetByCode) {
  TextSession t;
  t.store({"A", "XY"});
  double r = 0;
  int32_t v = 0;
  // gets of computed codes
  EXPECT_EQ(linktoquir_(&t.W, &t.L, 0, 11, &r, &v), LINK_DONE);
  EXPECT_EQ(v, t.L.TOTWRD);
  linktoquir_(&t.W, &t.L, 0, 10, &r, &v);
  EXPECT_EQ(v, t.L.TOTWRD - t.L.FREEWD);
  linktoquir_(&t.W, &t.L, 0, 22, &r, &v);
  EXPECT_EQ(v, t.L.START[t.L.TEXTBLK]);
  v = 99;
  linktoquir_(&t.W, &t.L, 0, 26, &r, &v);
  EXPECT_EQ(v, 0);
  linktoquir_(&t.W, &t.L, 0, 30, &r, &v);
  EXPECT_EQ(v, 3);
  v = 77;
  linktoquir_(&t.W, &t.L, 2, 30, &r, &v);  // the text length only with mode 0
  EXPECT_EQ(v, 77);
  // working fields: integer and real
  v = 100;
  EXPECT_EQ(linktoquir_(&t.W, &t.L, 1, 16, &r, &v), LINK_DONE);
  EXPECT_EQ(t.L.LINLEN, 100);
  r = 0.25;
  linktoquir_(&t.W, &t.L, 1, 2, &r, &v);
  EXPECT_EQ(t.L.IPTOLR, 0.25);
  r = 0;
  linktoquir_(&t.W, &t.L, 0, 2, &r, &v);
  EXPECT_EQ(r, 0.25);
  // a get-only code ignores a set; fields only the system sets are refused
  v = 5;
  EXPECT_EQ(linktoquir_(&t.W, &t.L, 1, 26, &r, &v), LINK_DONE);
  int32_t start = t.L.START[t.L.TEXTBLK], tot = t.L.TOTWRD;
  for (int32_t code : {10, 11, 21, 22, 52, 53, 54}) {
    v = 1;
    EXPECT_EQ(linktoquir_(&t.W, &t.L, 1, code, &r, &v), LINK_REFUSED) << code;
  }
  EXPECT_EQ(t.L.START[t.L.TEXTBLK], start);
  EXPECT_EQ(t.L.TOTWRD, tot);
  // codes that do not exist are refused instead of stopping the program
  for (int32_t code : {0, 9, 12, 44, 70, 74, -1}) {
    EXPECT_EQ(linktoquir_(&t.W, &t.L, 0, code, &r, &v), LINK_BADCODE) << code;
    EXPECT_EQ(linktoquir_(&t.W, &t.L, 1, code, &r, &v), LINK_BADCODE) << code;
  }
}
