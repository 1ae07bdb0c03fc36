#include <gtest/gtest.h>

#include "solver/bindings.h"
#include "solver/solver.h"
#include "tests/unit/modeltext_fixture.h"

TEST(Apiset, OneEntryPerIdentifierInFirstPlace) {
  TextSession t;
  int32_t st = -1;
  t.L.APICHG = QFALSE;
  clearapiparams_(t.L);  // an empty list is left as it is
  EXPECT_EQ(t.L.APICHG, QFALSE);
  storeapiparam_(t.W, t.L, 1001, 0, 5.0, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(t.L.APICHG, QTRUE);
  storeapiparam_(t.W, t.L, 7, 0, -7.0, st);
  storeapiparam_(t.W, t.L, 1001, 1, 0.5, st);
  EXPECT_EQ(t.L.APICNT, 2);
  std::string out = onterminal("", [&] { dispapiparams_(t.W, t.L); });
  EXPECT_EQ(out,
            " Custom Bresk API Parameter Settings:\n \n   Index    Type           Value\n"
            "     1001    double      0.500000\n        7    int               -7\n");
  t.L.APICHG = QFALSE;
  clearapiparams_(t.L);
  EXPECT_EQ(t.L.APICNT, 0);
  EXPECT_EQ(t.L.APIBLK, 0);
  EXPECT_EQ(t.L.APICHG, QTRUE);
  EXPECT_EQ(onterminal("", [&] { dispapiparams_(t.W, t.L); }), "");
}

TEST(Apiset, ReplayReportsOnlyWhenBothSettersRefuse) {
  TextSession t;
  ASSERT_EQ(createbresk_(t.L), 1);
  int32_t st = 0;
  storeapiparam_(t.W, t.L, 28, 0, 1.0, st);    // the environment takes it, the model is absent
  storeapiparam_(t.W, t.L, 999, 1, 2.5, st);   // nobody knows it
  storeapiparam_(t.W, t.L, 998, 0, -4.0, st);  // nobody knows it
  std::string out = onterminal("", [&] { passapisetparams_(t.W, t.L); });
  deletebresk_(t.L);
  size_t a = out.find("Unable to set Bresk API paramter:");
  ASSERT_NE(a, std::string::npos);
  EXPECT_NE(out.find("id:          999", a), std::string::npos);
  EXPECT_NE(out.find("DOUBLE", a), std::string::npos);
  EXPECT_NE(out.find("id:          998"), std::string::npos);
  EXPECT_NE(out.find("value:           -4"), std::string::npos);
  EXPECT_NE(out.find("BRset*Parameter"), std::string::npos);
  EXPECT_EQ(out.find("id:           28"), std::string::npos);
  EXPECT_EQ(t.L.LASTERR, 191);
}

// The library's own text in message 191 is wrapped at blanks to the line width, never cut.
TEST(Apiset, LibraryTextIsWrappedToTheLineWidth) {
  TextSession t;
  ASSERT_EQ(createbresk_(t.L), 1);
  for (int32_t width : {64, 76, 200}) {
    t.L.LINLEN = width;
    t.L.ERRARG = 2012;
    std::string out = onterminal("", [&] { errmsh_(t.W, t.L, 191); });
    std::string words;
    size_t p = 0;
    while (p < out.size()) {
      size_t e = out.find('\n', p);
      if (e == std::string::npos) e = out.size();
      std::string line = out.substr(p, e - p);
      EXPECT_LE((int32_t)line.size(), width) << line;
      if (line.rfind("  ", 0) == 0 && line.find("BRESK") == std::string::npos) words += line.substr(1);
      p = e + 1;
    }
    EXPECT_NE(words.find("(nonlinear, integer, or no optimal basis)."), std::string::npos) << out;
  }
  deletebresk_(t.L);
}
