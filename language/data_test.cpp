// DATA and INIT sections: values placed across columns, repeated values, run-time values,
// set members, and their errors.
#include <unistd.h>
#include <cstdio>
#include "bresk/test_util.h"
#include "language/lang_test_fixture.h"
#include "solver/bindings.h"
#include "solver/solver.h"

namespace {

// Values of the attribute block of set s (member-major) and of the scalars, as text.
std::string values(FrontFixture& f) {
  std::string r;
  auto val = [&](int32_t v) {
    char b[32];
    int32_t k = iget(f.W, f.L, f.L.VARKND, v);
    if (k == 5) return std::string("?");
    if (k != 6) return std::string("-");
    std::snprintf(b, sizeof b, "%g", dget(f.W, f.L.START[f.L.VARVAL] + 2 * (int64_t)(v - 1)));
    return std::string(b);
  };
  for (int32_t v = f.L.VARCAP - f.L.VARTOP + 1; v <= f.L.VARCAP; ++v) r += (r.empty() ? "" : " ") + val(v);
  for (int32_t v = 1; v <= f.L.NSCALAR; ++v) r += (r.empty() ? "" : " ") + val(v);
  return r;
}

TEST(Data, ValuesArePlacedAcrossColumns) {
  const std::pair<const char*, const char*> cases[] = {
      {"SETS: S /A B C/: P, Q; ENDSETS DATA: P, Q = 1 2 3 4 5 6; ENDDATA", "1 2 3 4 5 6"},
      {"SETS: S /A B C/: P; ENDSETS DATA: P = 7; ENDDATA", "7 7 7"},
      {"SETS: S /A B C/: P; ENDSETS DATA: P = -1, - -2 +3; ENDDATA", "-1 2 3"},
      {"SETS: S /A B C/: P, Q; ENDSETS DATA: P, Q = 1, , 3 ,, 5 6; ENDDATA", "1 - 3 - 5 6"},
      {"SETS: S /A B C/: P; ENDSETS DATA: P = ?; ENDDATA", "? ? ?"},
      {"SETS: S: P; ENDSETS DATA: S, P = A 1 B 2 C 3; ENDDATA", "1 2 3"},
      {"DATA: X = 5; Y = ?; ENDDATA", "5 ?"},
      {"SETS: S /A B/: P; ENDSETS INIT: P = 1 2; ENDINIT", "- -"},
  };
  for (auto& c : cases) {
    FrontFixture f;
    f.text(c.first);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, 0) << c.first;
    EXPECT_EQ(values(f), c.second) << c.first;
  }
  FrontFixture f;
  f.text("DATA: X = ?; ENDDATA INIT: Y = ?; ENDINIT");
  f.go(0);
  EXPECT_EQ(f.L.NRUNTM, 2);
  EXPECT_EQ(f.L.VREF1N, 1);
  EXPECT_EQ(f.L.VREF2N, 1);
}

TEST(Data, RunTimeListsFollowTheirVariables) {
  // asked scalars stay where they are when the attribute blocks move up
  FrontFixture f;
  f.text("SETS: S /1..300/: P; ENDSETS DATA: X = ?; P = ?; ENDDATA SETS: T /1..600/: Q; ENDSETS");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  ASSERT_EQ(f.L.VREF1N, 301);
  EXPECT_EQ(iget(f.W, f.L, f.L.VREF1, 1), 1);  // X, the first scalar
  EXPECT_EQ(iget(f.W, f.L, f.L.VREF1, 2), iget(f.W, f.L, f.L.INANTR, 1));
  EXPECT_EQ(iget(f.W, f.L, f.L.VARKND, iget(f.W, f.L, f.L.VREF1, 301)), 5);
}

TEST(Data, SetsGetTheirMembers) {
  FrontFixture f;
  f.text("SETS: S; T(S, S); U; ENDSETS DATA: S = 1..4; T = 1 2, 3 4; U = X Y Z; ENDDATA");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 1), 4);
  EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 2), 2);
  EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 3), 3);
  EXPECT_EQ(namestr(f.W, f.L, f.L.KPNAME, iget(f.W, f.L, f.L.INXNTR, 3) + 2), "Z");
  EXPECT_EQ(iget(f.W, f.L, f.L.SETALC, 2), 1);
}

TEST(Data, Errors) {
  const std::pair<const char*, int> cases[] = {
      {"DATA: X = 5; ENDDATA DATA: X = 6; ENDDATA", 214},
      {"SETS: S /A B C/: P; ENDSETS DATA: P = 1 2; ENDDATA", 29},
      {"SETS: S /A B C/: P; ENDSETS DATA: P = 1 2 3 4; ENDDATA", 29},
      {"SETS: S: P; ENDSETS INIT: S = A B C; ENDINIT", 153},
      {"SETS: S /A B/; ENDSETS DATA: S = C D; ENDDATA", 124},
      {"SETS: S: P; ENDSETS DATA: S, P = A 1 B; ENDDATA", 156},
      {"SETS: S; ENDSETS DATA: S = ?; ENDDATA", 169},
      {"SETS: S /A B/: P; ENDSETS DATA: P = A B; ENDDATA", 11},
      {"SETS: S /A/; T(S, S); ENDSETS DATA: T = A B; ENDDATA", 39},
      {"DATA: X = @OLE(); ENDDATA", 148},
      {"SETS: S: P; ENDSETS DATA: S, S = A B; ENDDATA", 160},  // a set named twice
  };
  for (auto& c : cases) {
    FrontFixture f;
    f.text(c.first);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, c.second) << c.first;
  }
}

}  // namespace

namespace {

TEST(Title, KeptCutAndPrinted) {
  FrontFixture f;
  f.text("TITLE A small model; MAX = X;");
  f.go(0);
  ASSERT_EQ(f.L.TITLEN, 13);
  f.L.LINLEN = 20;
  testing::internal::CaptureStdout();
  printt_(f.W, f.L, f.L.TRMOUT, 1);
  printt_(f.W, f.L, f.L.TRMOUT, 3);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "  Model Title: A sma\nTITLE A small model;\n");
  char u[200], p[200];
  std::string lng(200, 'x');
  int32_t st = 0;
  dbuser_(f.L, 1, lng.data(), p, st);
  EXPECT_EQ(st, 1);  // longer than the field allows: refused
  std::strcpy(u, "scott");
  std::strcpy(p, "tiger");
  dbuser_(f.L, 1, u, p, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(f.L.DBUSERLEN, 5);
}

TEST(Title, DuplicateNamesWarn) {
  FrontFixture f;
  f.L.CHKDUP = 1;
  f.text("SETS: S /X Y P Q/: P; ENDSETS MAX = X + Y + Q;");
  std::string out = f.go(0);
  EXPECT_EQ(f.L.LASTERR, 146);
  EXPECT_EQ(f.L.ERRARG3, 3);
  // the first three clashing members are named, the fourth is not
  EXPECT_NE(out.find("data:\n    X\n    Y\n    P\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("    Q\n"), std::string::npos) << out;
}

TEST(ModelChecks, LinearityComesFromTheSolverLibrary) {
  FrontFixture f;
  const std::pair<const char*, int32_t> cases[] = {{"x0 2 * x1 +", QTRUE}, {"x0 x1 *", QFALSE}, {"x0 exp", QFALSE}};
  for (auto& [obj, linear] : cases) {
    brtest::Fixture b;
    brtest::Spec s;
    s.nvars = 2;
    s.obj = obj;
    s.rows = {{'L', "x0 x1 + 4 -"}};
    ASSERT_EQ(brtest::load(b.m, s), 0) << obj;
    f.L.MODELHANDLE = modelid_(b.m);
    int32_t failed = -1;
    EXPECT_EQ(isitlinear_(f.L, failed), linear) << obj;
    EXPECT_EQ(failed, 0) << obj;
    FBRDELETEMODEL_(f.L.MODELHANDLE);
  }
  int32_t failed = 0;
  EXPECT_EQ(isitlinear_(f.L, failed), QFALSE);  // no model loaded: the call fails
  EXPECT_EQ(failed, 1);
  EXPECT_NE(f.L.ERRARG, 0);
}

}  // namespace

namespace {

std::string tempfile(const std::string& body) {
  char name[] = "/tmp/quirn_text_XXXXXX";
  int fd = mkstemp(name);
  FILE* f = fdopen(fd, "w");
  std::fputs(body.c_str(), f);
  std::fclose(f);
  return name;
}

TEST(TextData, FieldsAreTakenInTurn) {
  std::string a = tempfile("A, 1\nB 2 ,,C\n3\n");
  std::string b = tempfile(std::string(197, ' ') + "123456 5 6\n");
  std::string c = tempfile("A 1 2 B 3\n");
  {
    FrontFixture f;
    f.text("SETS: S: P; ENDSETS DATA: S, P = @TEXT('" + a + "'); ENDDATA");
    f.go(0);
    ASSERT_EQ(f.L.LASTERR, 0);
    EXPECT_EQ(iget(f.W, f.L, f.L.NNTRYS, 1), 3);
    EXPECT_EQ(values(f), "1 2 3");
  }
  {
    FrontFixture f;  // a number too large is cut to the largest and reported
    std::string big = tempfile("1e999 -1e999\n");
    f.text("DATA: X, Y = @TEXT('" + big + "'); ENDDATA");
    f.go(0);
    std::remove(big.c_str());
    EXPECT_EQ(f.L.LASTERR, 234);
    EXPECT_EQ(f.L.BIGCNT, 2);
    EXPECT_EQ(values(f), "1e+307 -1e+307");
  }
  {
    FrontFixture f;  // a long line is read whole
    f.text("DATA: X, Y, Z = @TEXT(" + b + "); ENDDATA");
    f.go(0);
    ASSERT_EQ(f.L.LASTERR, 0);
    EXPECT_EQ(values(f), "123456 5 6");
  }
  const std::pair<std::string, int> errs[] = {
      {"SETS: S: P; ENDSETS DATA: S, P = @TEXT('" + a + "x'); ENDDATA", 55},
      {"DATA: X = @TEXT('/tmp'); ENDDATA", 56},  // opens, but cannot be read
      {"DATA: X = @TEXT('/dev/zero'); ENDDATA", 57},  // no line ends, no valid token
      {"DATA: X, Y = @TEXT('" + a + "'); ENDDATA", 57},
      {"SETS: S /A B C D/: P; ENDSETS DATA: P = @TEXT('" + b + "'); ENDDATA", 29},
      {"SETS: S: P, Q; ENDSETS DATA: S, P, Q = @TEXT('" + c + "'); ENDDATA", 156},
      {"SETS: S /A B/: P; ENDSETS DATA: P = @TEXT('" + b + "'); ENDDATA", 59},
  };
  for (auto& c : errs) {
    FrontFixture f;
    f.text(c.first);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, c.second) << c.first;
  }
  std::remove(a.c_str());
  std::remove(b.c_str());
  std::remove(c.c_str());
}

}  // namespace

namespace {

std::string outops(FrontFixture& f) {
  std::string r;
  for (int32_t e = 1, w = 1; e <= f.L.OUTENDN; ++e) {
    r += "[";
    for (; w <= iget(f.W, f.L, f.L.OUTENDS, e); ++w) {
      int32_t v = iget(f.W, f.L, f.L.OUTOPS, w);
      r += (r.back() == '[' ? "" : " ") + (v >= 'A' && v <= 'Z' && v != 'W' ? std::string(1, (char)v) : std::to_string(v));
    }
    r += "]";
  }
  return r;
}

TEST(Output, RecordsOfOutputStatements) {
  const std::pair<const char*, const char*> cases[] = {
      {"SETS: S /P Q R/: A, B; ENDSETS DATA: @TEXT('OUT.TXT') = A, B; ENDDATA", "[1 2 1 2 4 4 O U T 46 T X T 0 87][0]"},
      {"MAX = X; DATA: @TEXT() = X; ENDDATA", "[1 1 1 0 0 87][0]"},
      {"MAX = X; DATA: @TEXT('F', 'A') = X; ENDDATA", "[1 1 1 0 F 0 A 0][0]"},
      {"DATA: @TEXT() = @STATUS(); ENDDATA", "[1 -1 0 87][0]"},
      {"MAX = X; DATA: @TEXT() = @WRITE('X=', X); ENDDATA", "[1 2 -2 1 0 87][0]"},
      {"MAX = X; DATA: @TEXT() = @DUAL(X), 'T'; ENDDATA DATA: Y = 1; ENDDATA", "[1 2 1 1 1 13 0 87][0][0]"},
  };
  for (auto& c : cases) {
    FrontFixture f;
    f.text(c.first);
    std::string out = f.go(1);
    EXPECT_EQ(f.L.LASTERR, 0) << c.first;
    EXPECT_EQ(outops(f), c.second) << c.first;
    if (std::string(c.first).find("@WRITE") != std::string::npos) {
      EXPECT_EQ(f.L.OUTCODN, 1);
      EXPECT_NE(out.find("@WRITE() INS LIST:      1"), std::string::npos) << out;
      EXPECT_NE(out.find("WRITE          2"), std::string::npos) << out;
    }
  }
  const std::pair<const char*, int> errs[] = {
      {"MAX = X; DATA: @TEXT('F', 'AB') = X; ENDDATA", 31},
      {"SETS: S /A/; ENDSETS DATA: @TEXT() = @DUAL(S); ENDDATA", 168},
      {"DATA: @TEXT() = Q; ENDDATA", 35},
      {"DATA: X = @TEXT('F1', 'F2'); ENDDATA", 60},
      {"DATA: X, Y = @OLE('BOOK.XLS'); ENDDATA", 148},
      {"DATA: X = @ODBC(); ENDDATA", 150},
      {"INIT: @TEXT() = X; ENDINIT", 11},
  };
  for (auto& c : errs) {
    FrontFixture f;
    f.text(c.first);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, c.second) << c.first;
  }
}

}  // namespace
