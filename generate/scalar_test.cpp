// The scalar model lists: building them for a small model in either storage mode, the
// dummy row and the objective stand-in, variable types and bounds, and their listing.
#include <gtest/gtest.h>

#include "generate/scalar_test_fixture.h"
#include "language/lang.h"

namespace {

TEST(ScalarLists, ObjectiveMovesFirstAndBothStorageModesGiveTheSameLists) {
  std::vector<int32_t> words[2];
  std::vector<double> pools[2];
  for (int32_t heap = 0; heap <= 1; ++heap) {
    ListModel m;
    m.L.HEAP_SWITCH = heap;
    const int32_t blocks = heapcount_(), freewords = m.L.FREEWD;
    ASSERT_EQ(m.build(), 0);
    // the objective now stands first after the fixed rows, and the permutations agree
    EXPECT_EQ(rowatpos_(m.A, m.L, 1), 2);
    for (int32_t p = 1; p <= 3; ++p) EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWMAP, rowatpos_(m.A, m.L, p)), p);
    EXPECT_EQ(m.L.SLSENSE, -1);
    EXPECT_EQ(m.L.SLNCON, 2);
    EXPECT_EQ(m.L.SLDUMMY, 0);
    EXPECT_EQ(m.types(), "LG");
    EXPECT_EQ(m.row(0), (std::vector<int32_t>{SC_PUSHNUM, 0, SC_PUSHVAR, 0, 1003, SC_PUSHVAR, 1, 1001}));
    EXPECT_EQ(m.row(2), (std::vector<int32_t>{SC_PUSHVAR, 1, SC_SQR, SC_PUSHNUM, 2, 1001}));
    EXPECT_EQ(m.L.SLINSCAP, m.L.SLINSN);
    EXPECT_EQ(m.L.SLCONCAP, m.L.SLCONN);
    // every list lives in the storage of the mode, none in the other
    if (heap) EXPECT_EQ(m.L.FREEWD, freewords);
    else EXPECT_EQ(heapcount_(), blocks);
    words[heap] = m.words();
    pools[heap] = m.pool();
    // a second build keeps the lists
    EXPECT_EQ(m.build(), 0);
    EXPECT_EQ(m.words(), words[heap]);
  }
  EXPECT_EQ(words[0], words[1]);
  EXPECT_EQ(pools[0], pools[1]);
  EXPECT_EQ(pools[0], (std::vector<double>{3, 4, -2.5}));
}

// A model without constraints gets the dummy 'E' row on the dummy variable; a model
// without an objective gets PUSHNUM 0.0 with sense +1.
TEST(ScalarLists, DummyRowAndObjectiveStandIn) {
  {
    ListModel m(2);
    bputi(m.A, m.L, m.L.ROWTYPES, 1, 3);  // row 1 solved by the analysis: fixed
    m.L.NFIXED = 1;
    ASSERT_EQ(m.build(), 0);
    EXPECT_EQ(m.L.SLDUMMY, 1);
    EXPECT_EQ(m.types(), "E");
    EXPECT_EQ(m.row(1), (std::vector<int32_t>{SC_PUSHVAR, 3}));
    EXPECT_EQ(slgetc_(m.A, m.L, m.L.SLVTY, 4), 'C');
    EXPECT_EQ(slgetd_(m.A, m.L, m.L.SLVLB, 4), 0.0);
    EXPECT_EQ(slgetd_(m.A, m.L, m.L.SLVUB, 4), 1e307);
  }
  {
    ListModel m(3, -1);
    ASSERT_EQ(m.build(), 0);
    EXPECT_EQ(m.L.SLSENSE, 1);
    EXPECT_EQ(m.row(0), (std::vector<int32_t>{SC_PUSHNUM, 0}));
    EXPECT_EQ(m.pool().at(0), 0.0);
    EXPECT_EQ(m.types(), "LGG");
    EXPECT_EQ(m.L.SLDUMMY, 0);
  }
}

TEST(ScalarLists, VariableTypesAndBounds) {
  ListModel m;
  const double big = 1e307;
  bputd(m.A, m.L, m.L.VARUB, 1, -big);  // free before any bound was set
  bputi(m.A, m.L, m.L.VARINT, 2, 1);
  bputd(m.A, m.L, m.L.VARUB, 2, 1.0);   // binary
  bputi(m.A, m.L, m.L.VARINT, 3, 1);
  bputd(m.A, m.L, m.L.VARUB, 3, 5.0);   // general integer
  ASSERT_EQ(m.build(), 0);
  EXPECT_EQ(std::string({slgetc_(m.A, m.L, m.L.SLVTY, 1), slgetc_(m.A, m.L, m.L.SLVTY, 2),
                         slgetc_(m.A, m.L, m.L.SLVTY, 3)}), "CBI");
  EXPECT_EQ(slgetd_(m.A, m.L, m.L.SLVLB, 1), -big);
  EXPECT_EQ(slgetd_(m.A, m.L, m.L.SLVUB, 1), big);
  EXPECT_EQ(m.L.SLNINT, 2);
}

TEST(ScalarLists, AFailingRowLeavesNoList) {
  ListModel m;
  bputi(m.A, m.L, m.L.CODEBLK, bgeti(m.A, m.L, m.L.ROWSTP, 3) + 1, OP_NOPOPEN);
  const int32_t blocks = heapcount_();
  EXPECT_EQ(m.build(), SCST_UNSUPPORTED);
  EXPECT_EQ(m.L.SLINS, 0);
  EXPECT_EQ(m.L.SLINSN, 0);
  EXPECT_EQ(heapcount_(), blocks);
}

TEST(ScalarLists, Listing) {
  ListModel m(2);
  bputi(m.A, m.L, m.L.ROWTYPES, 1, 3);
  m.L.NFIXED = 1;
  ASSERT_EQ(m.build(), 0);
  testing::internal::CaptureStdout();
  dispscalarinslists_(m.A, m.L);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find(" *** OBJECTIVE FUNCTION SCALAR LIST ***\n QUIRN INTERNAL ROW: 2\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" ROW TYPE          : G\n"), std::string::npos);
  EXPECT_NE(out.find("  QUIRN INTERNAL ROW: <Dummy Constraint>\n ROW TYPE          : E\n"), std::string::npos);
  // X is fixed (position 1): its value stands in the code
  EXPECT_NE(out.find("   PUSHNUM                     101\n   MULTIPLY\n   PUSHVAR                Y\n"),
            std::string::npos) << out;
  EXPECT_NE(out.find(" CONSTRAINT: 1\n   9)   1063\n   10)   3\n"), std::string::npos) << out;
  EXPECT_EQ(m.L.LINLEN, ListModel().L.LINLEN);
}

TEST(ScalarLists, ListingNamesEveryCodeAndMarksNegativeConstants) {
  ListModel m;
  ASSERT_EQ(m.build(), 0);
  testing::internal::CaptureStdout();
  translatescalarlist_(m.A, m.L, sligeti_(m.A, m.L, m.L.SLRST, 2), sligeti_(m.A, m.L, m.L.SLRLN, 2));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "   PUSHVAR                Y\n"
            "   SQR\n"
            "   PUSHNUM                    -2.5\n"
            "   PLUS\n");
}

}  // namespace
