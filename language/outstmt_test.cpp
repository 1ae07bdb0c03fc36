// Output statements of DATA sections as recorded in the output-operation list, the
// interface functions' availability, @QRAND and @IMPORT input, and their errors.
#include <string>
#include "language/lang_test_fixture.h"

namespace {

// The words of OUTOPS, characters shown as 'c'.
std::string ops(FrontFixture& f) {
  std::string r;
  for (int32_t k = 1; k <= f.L.OUTOPN; ++k) {
    int32_t w = iget(f.W, f.L, f.L.OUTOPS, k);
    r += k > 1 ? " " : "";
    r += ((w >= 'A' && w <= 'Z') || w == '.') && w != 'W' ? std::string("'") + (char)w + "'" : std::to_string(w);
  }
  return r;
}
std::string ends(FrontFixture& f) {
  std::string r;
  for (int32_t e = 1; e <= f.L.OUTENDN; ++e) r += (e > 1 ? " " : "") + std::to_string(iget(f.W, f.L, f.L.OUTENDS, e));
  return r;
}

const char* SETS = "SETS: S /A B C/: P, Q; ENDSETS DATA: X = 1; ENDDATA ";

TEST(Output, RecordsOfTheOutputOperationList) {
  struct Case {
    const char* data;
    const char* words;
    const char* ends;
  };
  const Case cases[] = {
      {"DATA: @TEXT('OUT.TXT') = P, Q; ENDDATA", "1 2 1 2 4 4 'O' 'U' 'T' '.' 'T' 'X' 'T' 0 87 0", "15 16"},
      {"DATA: @TEXT() = X; ENDDATA", "1 1 1 0 0 87 0", "6 7"},
      {"DATA: @TEXT('F', 'A') = @DUAL(X), @RANGEU(P), S; ENDDATA", "1 3 1 1 1 1 6 12 'F' 0 'A' 0 0", "12 13"},
      {"DATA: @TEXT() = @WRITE('X=', X); ENDDATA", "1 2 -2 1 0 87 0", "6 7"},
      {"DATA: @TEXT('F') = @WRITEFOR(S(I): P(I)); ENDDATA", "1 1 -2 1 'F' 0 0 87 0", "8 9"},
      {"DATA: @TEXT() = @STATUS(); ENDDATA", "1 -1 0 87 0", "4 5"},
      {"DATA: @TEXT() = 'HI', X; ENDDATA", "1 2 1 1 13 0 0 87 0", "8 9"},
      {"DATA: @TEXT() = X; ENDDATA DATA: Y = 2; ENDDATA", "1 1 1 0 0 87 0 0", "6 7 8"},
      {"DATA: Y = 2; ENDDATA", "", ""},
      // the spreadsheet, database and pointer links: their outputs are recorded
      {"DATA: @POINTER(7) = P, X; ENDDATA", "5 2 1 1 4 0 55 0 0", "8 9"},
      {"DATA: @POINTER(2) = @STATUS(); ENDDATA", "5 -1 50 0 0", "4 5"},
      {"DATA: @ODBC('SRC', 'TAB', 'CP') = P; ENDDATA", "3 1 1 4 'S' 'R' 'C' 0 'T' 'A' 'B' 0 'C' 'P' 0 0 0",
       "16 17"},
      {"DATA: @ODBC() = P; ENDDATA", "3 1 1 4 0 'S' 0 'P' 0 0 0", "10 11"},
      {"DATA: @ODBC('D', 'T', 'C') = @STATUS(); ENDDATA", "3 -1 'D' 0 'T' 0 'C' 0 0 0", "9 10"},
      {"DATA: @OLE('B.XLS') = P, Q; ENDDATA", "4 2 1 2 4 4 'B' '.' 'X' 'L' 'S' 0 'P' 0 'Q' 0 0 0", "17 18"},
      {"DATA: @OLE('B.XLS') = @STATUS(); ENDDATA",
       "4 -1 'B' '.' 'X' 'L' 'S' 0 'Q' 'U' 'I' 'R' 'N' 95 'S' 'T' 'A' 'T' 'U' 'S' 0 0 0", "22 23"},
      {"DATA: @OLE('B.XLS', 'R1') = @WRITEFOR(S(I): P(I)); ENDDATA", "2 1 -2 1 'B' '.' 'X' 'L' 'S' 0 'R' 49 0 0 0",
       "14 15"},
      {"DATA: @ODBC('D', 'T', 'C') = @WRITE(X); ENDDATA", "3 1 -2 1 'D' 0 'T' 0 'C' 0 0 0", "11 12"},
      {"DATA: @OLE('B', 'R') = @WRITE('T', X); ENDDATA", "2 2 -2 1 'B' 0 'R' 0 0 0", "9 10"},
  };
  for (const Case& c : cases) {
    FrontFixture f;
    f.text(std::string(SETS) + c.data);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, 0) << c.data;
    EXPECT_EQ(ops(f), c.words) << c.data;
    EXPECT_EQ(ends(f), c.ends) << c.data;
  }
}

TEST(Output, CodeOfOutputFunctionsIsSetAside) {
  FrontFixture f;
  f.text(std::string(SETS) + "DATA: @TEXT() = @WRITE('X=', X); @TEXT() = @WRITE(X); ENDDATA MAX = X;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  ASSERT_EQ(f.L.OUTCODN, 2);
  EXPECT_EQ(iget(f.W, f.L, f.L.OUTCODST, 1), 1);
  EXPECT_EQ(iget(f.W, f.L, f.L.OUTCODST, 2), 8);  // PUSH STR 2 "X=", PUSHV X, WRITE 2
  EXPECT_EQ(iget(f.W, f.L, f.L.OUTCODST, 3), 12);  // PUSHV X, WRITE 1
  EXPECT_EQ(f.L.OUTTXTN, 0);
  EXPECT_EQ(f.code(), "BEGROW | PUSHV X | ENDROW MX");  // the statement stream holds no output code
}

TEST(Output, QuotedTextsAreNumberedByPosition) {
  FrontFixture f;
  f.text(std::string(SETS) + "DATA: @TEXT() = 'AB', X, 'CDE'; ENDDATA");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(ops(f), "1 3 1 1 4 13 0 13 0 87 0");
  EXPECT_EQ(f.L.OUTTXTN, 7);
  EXPECT_EQ(cget(f.W, wbyte(f.L.START[f.L.OUTTXT]) + 3), 'C');
}

TEST(Output, Errors) {
  const std::pair<const char*, int> cases[] = {
      {"DATA: @TEXT('F', 'AB') = X; ENDDATA", 31},
      {"DATA: @TEXT('F', 'A', 'B') = X; ENDDATA", 31},
      {"DATA: @TEXT('F', 'AB') = @WRITE(X); ENDDATA", 31},
      {"DATA: @TEXT() = @DUAL(S); ENDDATA", 168},
      {"DATA: @TEXT() = Z; ENDDATA", 35},
      {"DATA: @TEXT() = @DUAL(X; ENDDATA", 12},
      {"DATA: @TEXT() = X); ENDDATA", 12},
      {"DATA: @TEXT() = @DUAL(@DUAL(X)); ENDDATA", 11},
      {"DATA: @TEXT() = @STATUS() X; ENDDATA", 11},
      {"DATA: @TEXT() = @WRITE(X) >= 1; ENDDATA", 209},
      {"INIT: @TEXT() = X; ENDINIT", 11},
      {"DATA: P = @ODBC(); ENDDATA", 150},
      {"DATA: P = @POINTER(1); ENDDATA", 151},
      {"DATA: @POINTER(1, 2) = X; ENDDATA", 144},
      {"DATA: @POINTER(1) = S; ENDDATA", 165},
      {"DATA: @POINTER(1) = @WRITE(X); ENDDATA", 11},
      {"DATA: @POINTER(1) = X, 'T'; ENDDATA", 11},
      {"DATA: @ODBC('D', 'T', 'C') = 'T'; ENDDATA", 11},
      {"DATA: @OLE() = @STATUS(); ENDDATA", 33},
      {"DATA: @OLE(, 'R') = X; ENDDATA", 226},
      {"DATA: @TEXT(, 'A') = X; ENDDATA", 11},
      {"DATA: @OLE('B.XLS') = @WRITE(X); ENDDATA", 33},
      {"DATA: @ODBC('D', 'T') = @WRITE(X); ENDDATA", 45},
      {"DATA: @ODBC('D', 'T', 'C') = @STATUS(X); ENDDATA", 11},
      {"DATA: @WKX() = X; ENDDATA", 149},
      {"DATA: X, Y = @OLE('BOOK.XLS'); ENDDATA", 148},
      {"DATA: P = @TEXT(); ENDDATA", 60},
      {"DATA: P = @TEXT('F1', 'F2'); ENDDATA", 60},
      {"DATA: Y = @IMPORT(); ENDDATA", 29},
      {"DATA: X, P = @TEXT('F.TXT'); ENDDATA", 16},
  };
  for (auto& c : cases) {
    FrontFixture f;
    f.text(std::string(SETS) + c.first);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, c.second) << c.first;
  }
}

TEST(Output, TextsThatOutgrowTheStoreEndTheCompilation) {
  std::string t = "DATA: @TEXT() = 'A'";
  for (int i = 0; i < 1450; ++i) t += ", '" + std::string(100, 'T') + "'";
  FrontFixture f(60000);
  f.text(t + "; ENDDATA");
  const std::string out = f.go(0);
  EXPECT_EQ(f.L.LASTERR, 51);
  EXPECT_NE(out.find("Ran out of generator memory compiling model."), std::string::npos);
}

TEST(Qrand, FillsADenseAttribute) {
  FrontFixture f;
  f.text("SETS: S /1..4/; T /1..3/; D(S, T): R; ENDSETS DATA: R = @QRAND(7); ENDDATA");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  int32_t first = iget(f.W, f.L, f.L.INANTR, 3);
  ASSERT_GT(first, 0);
  for (int32_t k = 0; k < 12; ++k) {
    EXPECT_EQ(iget(f.W, f.L, f.L.VARKND, first + k), 6);
    double v = dget(f.W, f.L.START[f.L.VARVAL] + 2 * (int64_t)(first + k - 1));
    EXPECT_GE(v, 0.0);
    EXPECT_LT(v, 1.0);
  }
  const std::pair<const char*, int> errs[] = {
      {"SETS: S: P; ENDSETS DATA: S, P = @QRAND(); ENDDATA", 186},
      {"SETS: S /1..4/: P, Q; ENDSETS DATA: P, Q = @QRAND(); ENDDATA", 187},
      {"SETS: S /1..4/; D(S) | &1 #GT# 2: P; ENDSETS DATA: P = @QRAND(); ENDDATA", 188},
      {"SETS: S /1..4/: P; ENDSETS DATA: P = @QRAND(Z); ENDDATA", 189},
      {"SETS: S /1..4/: P; ENDSETS DATA: Z = ?; P = @QRAND(Z); ENDDATA", 189},
  };
  for (auto& c : errs) {
    FrontFixture g;
    g.text(c.first);
    g.go(0);
    EXPECT_EQ(g.L.LASTERR, c.second) << c.first;
  }
  FrontFixture h;  // the seed may come from a DATA-fixed scalar
  h.text("SETS: S /1..4/: P; ENDSETS DATA: Z = 3; P = @QRAND(Z); ENDDATA");
  h.go(0);
  EXPECT_EQ(h.L.LASTERR, 0);
}

TEST(Output, ANewCompilationStartsTheListsAfresh) {
  FrontFixture f;
  f.text(std::string(SETS) + "DATA: Y = ?; @TEXT() = @WRITE(X); @TEXT() = 'T', X; ENDDATA");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  std::string first = ops(f);
  f.go(0);
  EXPECT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(ops(f), first);
  EXPECT_EQ(f.L.OUTCODN, 1);
  EXPECT_EQ(f.L.OUTTXTN, 2);
  EXPECT_EQ(f.L.VREF1N, 1);
}

TEST(RunTimeList, EntriesFollowOnlyTheVariablesThatMove) {
  FrontFixture f;
  f.text("SETS: S /A B/: P; ENDSETS DATA: X = ?; P = ?; ENDDATA SETS: T /1..2000/: Q; ENDSETS DATA: Q = 1; ENDDATA");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  ASSERT_EQ(f.L.VREF1N, 3);
  int32_t p = iget(f.W, f.L, f.L.INANTR, 1);
  EXPECT_GT(f.L.VARCAP, 2000);  // the lists grew after the run-time values were listed
  EXPECT_EQ(iget(f.W, f.L, f.L.VREF1, 1), 1);  // the scalar X did not move
  EXPECT_EQ(iget(f.W, f.L, f.L.VREF1, 2), p);
  EXPECT_EQ(iget(f.W, f.L, f.L.VREF1, 3), p + 1);
  EXPECT_EQ(iget(f.W, f.L, f.L.VARKND, p + 1), 5);
}

TEST(DataValues, AValueForAColumnWithNoElementLeftIsRefused) {
  // a scalar and an attribute side by side: the third value would fall to the scalar again
  for (const char* m : {"SETS: S /A B C/: P; ENDSETS DATA: X, P = 1 2 3 4; ENDDATA",
                        "SETS: S /A B C/: P; ENDSETS DATA: P, X = 1 2 3 4; ENDDATA"}) {
    FrontFixture f;
    f.text(m);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, 29) << m;
    EXPECT_EQ(f.L.ERRARG2, 4) << m;
  }
}

TEST(DataValues, StartingValuesAskedAtRunTimeAreUnset) {
  FrontFixture f;
  f.text("DATA: Y = 2; ENDDATA INIT: X = ?; Y = ?; ENDINIT");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  ASSERT_EQ(f.L.VREF2N, 2);
  auto value = [&](int32_t v) { return dget(f.W, f.L.START[f.L.VARVAL] + 2 * (int64_t)(v - 1)); };
  EXPECT_GE(value(iget(f.W, f.L, f.L.VREF2, 1)), f.L.BIGNUM);  // X is asked before solving
  EXPECT_EQ(value(1), 2.0);  // Y keeps its DATA value
}

}  // namespace
