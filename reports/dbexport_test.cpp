// Database and spreadsheet exports on this platform: each ends with its message and moves
// nothing; the summaries keep their layout; the small list helpers.
#include <gtest/gtest.h>

#include "reports/exchange_fixture.h"

namespace {

TEST(DbExport, LinksThatCannotOpenEndWithTheirMessage) {
  Import s;
  int32_t st = 0;
  odbcexp_(s.W, s.L, 1, "SRC", 3, "TAB", 3, "X\0\0", "COLX\0\0", st);
  EXPECT_EQ(st, 1);
  std::string t = s.terminal();
  EXPECT_NE(t.find("The ODBC server returned the following error message:"), std::string::npos) << t;
  EXPECT_NE(t.find("Could not create database object."), std::string::npos) << t;
  EXPECT_EQ(t.find("Export Summary Report"), std::string::npos);
  Import o;
  exportx_(o.W, o.L, "book.xls", st);
  EXPECT_EQ(st, 1);
  t = o.terminal();
  EXPECT_NE(t.find("Unable to initialize workbook for OLE transfers."), std::string::npos) << t;
}

TEST(DbExport, TraceLinesPrecedeTheMessageAtDebugLevelFive) {
  Import s;
  s.L.TRACELV = 5;
  int32_t st = 0;
  odbcexp_(s.W, s.L, 2, "SRCX", 3, "TABY", 3, "ATTRIBUTEONE\0B\0\0", "C1\0C2\0\0", st);
  std::string t = s.terminal();
  const char* want =
      " ENTER ODBCEXP, NPAIRS=2\n KODBC=SRC\n ICHAR(KODBC(LENODBC+1)):88\n KTABLE=TAB\n"
      " ICHAR(KTABLE(LENTAB+1)):89\n KATTR=ATTRIBUTEO\n KCOL=C1\n";
  EXPECT_EQ(t.rfind(want, 0), 0u) << t;
}

TEST(DbExport, SummariesAndListHelpers) {
  Import s;
  olerep2_(s.L, "book.xls", "RANGEA", 6, 3, 3, 0);
  s.L.TERSEO = 1;
  odbcrep_(s.L, "SRC", 3, "TAB", 3, 1, "C\0\0", 1, 1);  // terse: nothing
  EXPECT_EQ(s.terminal(),  // blank lines are printed as one blank
            " \n"
            "    Export Summary Report\n"
            "    ---------------------\n"
            "    Transfer Method:       OLE BASED\n"
            "    Workbook:              book.xls\n"
            "    Range Name:            RANGEA\n"
            "    Cells in Range:                 3\n"
            "    Values Transferred:             3\n"
            " \n");
  int32_t list[] = {3, 0, 5, 6, 0, 0};
  EXPECT_EQ(nrangelistcount_(list, 1), 2);
  EXPECT_EQ(nrangelistcount_(list, 3), 1);
  char out[8] = "zzzz";
  int32_t len = -1;
  xtrstr_("", out, len);
  EXPECT_EQ(len, 0);
  EXPECT_STREQ(out, "zzzz");
  int32_t ends[] = {3, 7};
  loadname_(2, "abcdefg", ends, out, len);
  EXPECT_EQ(len, 4);
  EXPECT_STREQ(out, "DEFG");
}

}  // namespace
