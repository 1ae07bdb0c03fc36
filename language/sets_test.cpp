// Sets: implicit member ranges, the SETS section, building derived sets and their order.
#include <cstring>
#include "language/lang_test_fixture.h"

namespace {

std::string members(FrontFixture& f, int32_t s) {
  std::string r;
  int32_t n = iget(f.W, f.L, f.L.NNTRYS, s), d = setdim(f.W, f.L, s), first = iget(f.W, f.L, f.L.INXNTR, s);
  for (int32_t k = 0; k < n; ++k) {
    if (!r.empty()) r += " ";
    if (d == 0) {
      r += namestr(f.W, f.L, f.L.KPNAME, first + k);
    } else {
      r += "(";
      for (int32_t c = 0; c < d; ++c) {
        if (c) r += ",";
        r += std::to_string(iget(f.W, f.L, f.L.NDRVEL, first + k * d + c));
      }
      r += ")";
    }
  }
  return r;
}

TEST(Sets, ImplicitRanges) {
  const std::pair<const char*, const char*> cases[] = {
      {"1..5", "1 2 3 4 5"},          {"T1..T3", "T1 T2 T3"},   {"T3..T1", "T3 T2 T1"},
      {"T01..T03", "T1 T2 T3"},       {"mon..wed", "MON TUE WED"}, {"SAT..SUN", "SAT SUN"},
      {"FRI..MON", "FRI SAT SUN MON"}, {"NOV..FEB", "NOV DEC JAN FEB"}, {"ABC..ABC", "ABC"},
      {"JAN2006..JAN2004", "JAN2006 JAN2005 JAN2004"},
  };
  for (auto& c : cases) {
    FrontFixture f;
    f.text(std::string("SETS: S /") + c.first + "/; ENDSETS");
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, 0) << c.first;
    EXPECT_EQ(members(f, 1), c.second) << c.first;
  }
  for (const char* bad : {"2..5", "0..5", "T1..S3", "ABC..ABD", "MAR2006..JAN2005", "1..N", "1..0"}) {
    FrontFixture f;
    f.text(std::string("SETS: S /") + bad + "/; ENDSETS");
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, 190) << bad;
  }
  FrontFixture f;
  f.text("SETS: A /JAN..DEC/; B /DEC..JAN/; C /JAN2005..MAR2006/; ENDSETS");
  f.go(0);
  EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 1), 12);
  EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 2), 2);
  EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 3), 15);
  EXPECT_EQ(namestr(f.W, f.L, f.L.KPNAME, iget(f.W, f.L, f.L.INXNTR, 3) + 14), "MAR2006");
}

TEST(Sets, SectionFillsTheTables) {
  FrontFixture f;
  f.text("SETS: S /A B C/: X; T /P Q/; L(S, S); M(S, T) /A P, C Q, B P/: Y, Z; N(M, S); ENDSETS");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  ASSERT_EQ(f.L.NSETS, 5);
  EXPECT_EQ(namestr(f.W, f.L, f.L.KPNAME, iget(f.W, f.L, f.L.INXNTR, 1)), "A");
  EXPECT_EQ(f.L.NATTRS, 3);
  EXPECT_EQ(iget(f.W, f.L, f.L.IDOWNR, 1), 1);
  EXPECT_EQ(iget(f.W, f.L, f.L.IDOWNR, 3), 4);
  EXPECT_EQ(setdim(f.W, f.L, 3), 2);
  EXPECT_EQ(setdim(f.W, f.L, 5), 3);  // flattened to primitive positions
  EXPECT_EQ(iget(f.W, f.L, f.L.SETORD, 3), -1);  // dense
  EXPECT_EQ(members(f, 3), "(1,1) (1,2) (1,3) (2,1) (2,2) (2,3) (3,1) (3,2) (3,3)");
  EXPECT_EQ(members(f, 4), "(1,1) (3,2) (2,1)");
  int32_t ord = iget(f.W, f.L, f.L.SETORD, 4);
  ASSERT_GT(ord, 0);  // an explicit list is sorted for lookup
  EXPECT_EQ(iget(f.W, f.L, ord, 1), 1);
  EXPECT_EQ(iget(f.W, f.L, ord, 2), 3);
  EXPECT_EQ(iget(f.W, f.L, ord, 3), 2);
  EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 5), 9);  // over a sparse parent
  EXPECT_GT(iget(f.W, f.L, f.L.SETORD, 5), 0);
  const int32_t tup[3] = {3, 2, 1};
  EXPECT_EQ(setmember_(f.W, f.L, 5, tup), 4);
  const int32_t no[3] = {3, 1, 1};
  EXPECT_EQ(setmember_(f.W, f.L, 5, no), 0);
  char name[40];
  int32_t len = 40;
  // variables of attribute Y over M: members are major, attributes of one member consecutive
  vdx2nh_(f.W, f.L, iget(f.W, f.L, f.L.INANTR, 4) + 2, name, len);
  EXPECT_EQ(std::string(name, len), "Y( C, Q)");
  len = 5;
  vdx2nh_(f.W, f.L, iget(f.W, f.L, f.L.INANTR, 4) + 2, name, len);
  EXPECT_EQ(std::string(name, len), "Y( C,");
  char b[32];
  std::memset(b, ' ', 32);
  b[0] = 'C';
  EXPECT_EQ(psendx_(f.W, f.L, b, 0), 3);
  EXPECT_EQ(psendx_(f.W, f.L, b, 3), 0);
}

TEST(Sets, IndexAndSizeCompileToNumbers) {
  FrontFixture f;
  f.text("SETS: S /A B C/; T(S, S); ENDSETS MAX = @INDEX(S, B) + @INDEX(C) + @SIZE(T);");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(f.code(), "BEGROW | PUSHN 2 | PUSHN 3 | ADD | PUSHN 9 | ADD | ENDROW MX");
  for (const char* bad : {"MAX = @INDEX(S, D);", "MAX = @INDEX(T, A);"}) {
    FrontFixture g;
    g.text(std::string("SETS: S /A B C/; T(S, S); ENDSETS ") + bad);
    g.go(0);
    EXPECT_EQ(g.L.LASTERR, 19) << bad;
  }
}

TEST(Sets, LoopsWriteTheirFrames) {
  FrontFixture f;
  f.text("SETS: S /A B/: X; LINKS(S, S): C; ENDSETS MAX = @SUM(S(I): X(I)); MIN = @SUM(LINKS(I, I): C(I, I));");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(f.code(),
            "BEGROW | PUSHZ 1 | SETUP S | GETNEXT 11 | BEGCND | PUSHX 1 | ENDCND | PUSHS X | ADD | GOTO -11 | "
            "POPSET | NOP ) 41 | ENDROW MX | "
            "BEGROW | PUSHZ 1 | SETUP LINKS | GETNEXT 22 | BEGCND | PUSHX 1 | PUSHX 2 | CMPEQ | ENDCND | IFGOTO -10 | "
            "BEGCND | PUSHX 2 | PUSHX 2 | ENDCND | PUSHS C | ADD | GOTO -22 | POPSET | NOP ) 41 | ENDROW MN");
}

}  // namespace

namespace {

TEST(Sets, ConditionsChooseTheMembers) {
  FrontFixture f;
  // E's size is needed while compiling; its condition needs F, which is then built first
  f.text("SETS: A /1..3/; B /X Y/; D(A, A) | &1 #EQ# &2: V; F(A) | &1 #GE# 2; E(A, B) | @IN(F, &1) #AND# "
         "&2 #EQ# 2; G(A, A) | &1 #LT# &2 : W; H(A) | @SIZE(B) #EQ# 2; ENDSETS MAX = @SIZE(E) * X;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(members(f, 3), "(1,1) (2,2) (3,3)");
  EXPECT_GT(iget(f.W, f.L, f.L.SETORD, 3), 0);  // filtered: sorted order
  EXPECT_EQ(members(f, 4), "(2) (3)");
  EXPECT_EQ(members(f, 5), "(2,2) (3,2)");
  EXPECT_EQ(f.code(), "BEGROW | PUSHN 2 | PUSHV X | MUL | ENDROW MX");
  EXPECT_EQ(members(f, 6), "(1,2) (1,3) (2,3)");
  EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 7), 3);
  // set loops inside a condition keep their own ":" (the condition's ":" starts the attributes)
  FrontFixture g;
  g.text("SETS: A /1..3/: V; F(A) | @SUM(A(I) | I #LE# &1: V(I)) #GT# 2 : W; G(A) | @SUM(A(I): I) #GT# 6 * &1 - 9; "
         "ENDSETS DATA: V = 1 2 3; ENDDATA MAX = @SIZE(F) * X + @SIZE(G);");
  g.go(0);
  ASSERT_EQ(g.L.LASTERR, 0);
  EXPECT_EQ(members(g, 2), "(2) (3)");
  EXPECT_EQ(members(g, 3), "(1) (2)");
  EXPECT_EQ(g.L.NATTRS, 2);
}

}  // namespace

namespace {

TEST(Sets, SoundLimitsAndMessages) {
  std::string many = "SETS: S /A/; T(S";
  for (int i = 0; i < 48; ++i) many += ", S";
  many += "); ENDSETS";
  const std::pair<std::string, int> cases[] = {
      {many, 41},  // 49 positions
      {"SETS: A /1..2/; F(A) | X #GT# 1; ENDSETS MAX = @SIZE(F);", 42},  // one message, not 177
      {"DATA: N = 2.5; ENDDATA SETS: S /1..N/; ENDSETS", 190},
      {"DATA: N = 100000000; ENDDATA SETS: S /1..N/; ENDSETS", 51},  // N exact, not 1e+08
      {"SETS: S /1..100000/; ENDSETS", 51},  // the small store runs out
  };
  for (auto& c : cases) {
    FrontFixture f(60000);
    f.text(c.first);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, c.second) << c.first.substr(0, 60);
  }
  FrontFixture f;
  f.text("DATA: N = 3; ENDDATA SETS: S /1..N/; A /1..3/: V; F(A) | V(&1) #GT# 1; ENDSETS DATA: V = 1 2 3; ENDDATA");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(members(f, 1), "1 2 3");
  EXPECT_EQ(members(f, 3), "(2) (3)");
}

TEST(Sets, ReportFunctionsCompileInOutputLists) {
  FrontFixture f;
  f.text("MAX = X; DATA: @TEXT() = @WRITE(@RIM(X), @NONZ(X), @TYPE(X), @CLASS(X)); ENDDATA");
  f.go(0);
  EXPECT_EQ(f.L.LASTERR, 0);
  ASSERT_EQ(f.L.OUTCODN, 1);
  int32_t n = iget(f.W, f.L, f.L.OUTCODST, 2) - 1;
  std::string ops;
  for (int32_t p = 1; p <= n; ++p) {
    int32_t w = iget(f.W, f.L, f.L.OUTCODE, p);
    if (w >= 95 && w <= 98) ops += std::to_string(w) + " ";
  }
  EXPECT_EQ(ops, "95 96 97 98 ");
}

}  // namespace

namespace {

// A set without a condition takes the room of all its members at once, one with a
// condition grows as it goes; sets after either still grow, and a store too small for
// the whole product stops the model as it did member by member.
TEST(Sets, DerivedMembersGetTheirRoom) {
  const struct { const char* text; int32_t words; bool fits; int32_t last; } cases[] = {
      {"SETS: A /1..300/; B /1..40/; D(A, B); E(D, B) | &2 #EQ# &3; F(B, B); ENDSETS", 4000000, true, 1600},
      {"SETS: A /1..300/; B /1..40/; E(A, B) | &2 #LT# 3; D(E, B); F(A, B); ENDSETS", 4000000, true, 12000},
      {"SETS: A /1..300/; B /1..40/; C(A) | &1 #GT# 1; D(C, B); ENDSETS", 4000000, true, 11960},
      {"SETS: A /1..300/; B /1..100/; D(A, B); ENDSETS", 60000, false, 0},
      {"SETS: A /1..300/; B /1..100/; D(A, B) | &1 #GT# 0; ENDSETS", 60000, false, 0},
  };
  for (auto& c : cases) {
    FrontFixture f(c.words);
    f.text(c.text);
    const std::string out = f.go(0);
    EXPECT_EQ(f.L.LASTERR, 0) << c.text;
    if (!c.fits) {
      EXPECT_NE(out.find("[Error Code:    0]"), std::string::npos) << c.text << out;
      EXPECT_EQ(f.L.NSETS, 0) << c.text;
      continue;
    }
    ASSERT_EQ(out, "") << c.text;
    EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, f.L.NSETS), c.last) << c.text;
    EXPECT_LE(f.L.NDRVUSE, f.L.NDRVCAP) << c.text;
    // every derived set's members are its parents' combinations in ascending order
    for (int32_t s = 1; s <= f.L.NSETS; ++s) {
      const int32_t d = setdim(f.W, f.L, s), n = iget(f.W, f.L, f.L.NNTRYS, s);
      if (d == 0) continue;
      const int32_t* base = &f.W.w[(size_t)f.L.START[f.L.NDRVEL]] - 1 + iget(f.W, f.L, f.L.INXNTR, s);
      for (int32_t k = 1; k < n; ++k)
        ASSERT_LT(cmptup_(base + (k - 1) * d, base + k * d, d), 0) << c.text << " set " << s;
    }
  }
}

}  // namespace
