// The scalar model lists: building them for a small model in either storage mode, the
// dummy row and the objective stand-in, variable types and bounds, and their listing.
#include <gtest/gtest.h>

#include "generate/scalar_test_fixture.h"
#include "language/lang.h"

namespace {

// Three rows over the scalar variables X, Y, Z (1..3):
//   row 1   X + Y - 4        <=
//   row 2   3X + Y           objective (MAX), or a >= row
//   row 3   Y^2 - 1          >=
// Rows may be left out from the end; the objective row and variable kinds are set by the test.
struct ListModel : ScalarModel {
  explicit ListModel(int32_t rows = 3, int32_t objtype = 2) {
    int32_t n = 3 * 32, st = 0;
    setblk_(1, n, A, L, L.SCLNAM, st);
    for (int32_t v = 1; v <= 3; ++v) putnam_(A, L, L.SCLNAM, v, &"XYZ"[v - 1], 1);
    L.NSCALAR = 3;
    L.NEXPVAR = 3;
    std::vector<int32_t> at;
    at.push_back(here());
    op(OP_BEGROW).op(OP_PUSHV, 1).op(OP_PUSHV, 2).op(OP_ADD).num(4).op(OP_SUB).op(OP_ENDROW, 1);
    at.push_back(here());
    op(OP_BEGROW).num(3).op(OP_PUSHV, 1).op(OP_MUL).op(OP_PUSHV, 2).op(OP_ADD).op(OP_ENDROW, objtype);
    at.push_back(here());
    op(OP_BEGROW).op(OP_PUSHV, 2).op(OP_SQR).num(-2.5).op(OP_ADD).op(OP_ENDROW, -1);
    install();
    const std::vector<int32_t> types{1, objtype, -1};
    L.NROWS = rows;
    L.ROWSTP = iblock(at);
    L.ROWTYPES = iblock(types);
    L.ROWORD = iblock({1, 2, 3});
    L.ROWMAP = iblock({1, 2, 3});
    L.ROWIXS = iblock({1, 1, 1, 1});
    L.ROWRNM = iblock({0, 0, 0});
    L.OBJROW = (objtype == 2 || objtype == -2) && rows >= 2 ? 2 : 0;
  }
  int32_t build() {
    int32_t e = -1;
    scalarizemodel_(A, L, e);
    return e;
  }
  // The words of constraint k, or of the objective for k = 0.
  std::vector<int32_t> row(int32_t k) const {
    const auto w = words();
    const int32_t st = k ? sligeti_(A, L, L.SLRST, k) : L.SLOBJST;
    const int32_t n = k ? sligeti_(A, L, L.SLRLN, k) : L.SLOBJLN;
    return std::vector<int32_t>(w.begin() + st, w.begin() + st + n);
  }
  std::string types() const {
    std::string s;
    for (int32_t k = 1; k <= L.SLNCON; ++k) s += slgetc_(A, L, L.SLRTY, k);
    return s;
  }
};

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
