// The statement compiler: the code of expressions, statements and set loops, and its errors.
#include <algorithm>
#include "language/lang_test_fixture.h"

namespace {

struct Case {
  const char* model;
  const char* code;
};

TEST(Compiler, ExpressionsCompileToPostfix) {
  const Case cases[] = {
      {"MAX = X;", "BEGROW | PUSHV X | ENDROW MX"},
      {"X - Y - Z >= 0;", "BEGROW | PUSHV X | PUSHV Y | SUB | PUSHV Z | SUB | PUSHN 0 | SUB | ENDROW GT"},
      {"X ^ Y ^ Z = 1;", "BEGROW | PUSHV X | PUSHV Y | POW | PUSHV Z | POW | PUSHN 1 | SUB | ENDROW EQ"},
      {"X + Y * Z <= 1;", "BEGROW | PUSHV X | PUSHV Y | PUSHV Z | MUL | ADD | PUSHN 1 | SUB | ENDROW LT"},
      {"-X^2 <= 1;", "BEGROW | PUSHV X | NEGATE | PUSHN 2 | POW | PUSHN 1 | SUB | ENDROW LT"},
      {"X > 2;", "BEGROW | PUSHV X | PUSHN 2 | SUB | ENDROW GT"},
      {"X < 2;", "BEGROW | PUSHV X | PUSHN 2 | SUB | ENDROW LT"},
      {"MIN = @SMAX(X, Y, Z);", "BEGROW | PUSHV X | PUSHV Y | PUSHV Z | SMAX 3 | NOP ) 66 | ENDROW MN"},
      {"MIN = (X + 1) * 2;", "BEGROW | PUSHV X | PUSHN 1 | ADD | NOP ) 41 | PUSHN 2 | MUL | ENDROW MN"},
      {"@GIN(X);", "BEGROW | PUSHV X | GIN | ENDROW VT"},
      {"MAX = @POW(X, 2);", "BEGROW | PUSHV X | PUSHN 2 | POW | NOP ) 73 | ENDROW MX"},
      {"MAX = X #AND# #NOT# Y;", "BEGROW | PUSHV X | PUSHV Y | NOT | AND | ENDROW MX"},
      {"TITLE demo; MAX = X; ;", "BEGROW | PUSHV X | ENDROW MX"},
      {"@WARN('big', X #GT# 1);", "BEGROW | PUSH STR 3 | PUSHV X | PUSHN 1 | CMPGT | STOP | ENDROW VT"},
      {"CALC: X = 2; ENDCALC MAX = X;",
       "BEGROW | PUSHV X | PUSHN 2 | SUB | ENDROW EQ | BEGROW | PUSHV X | ENDROW MX"},
  };
  for (const Case& c : cases) {
    FrontFixture f;
    f.text(c.model);
    f.go(0);
    EXPECT_EQ(f.code(), c.code) << c.model;
  }
}

TEST(Compiler, UnaryMinusPrecedenceFollowsTheOption) {
  FrontFixture f;
  f.L.UNARYM = 0;
  f.text("-X^2 <= 1;");
  f.go(0);
  EXPECT_EQ(f.code(), "BEGROW | PUSHV X | PUSHN 2 | POW | NEGATE | PUSHN 1 | SUB | ENDROW LT");
}

struct ErrCase {
  const char* model;
  int msg;
  const char* at;  // the text from the caret on
};

TEST(Compiler, ErrorsCarryTheirNumberAndPosition) {
  const ErrCase cases[] = {
      {"X + Y;", 15, ";"},
      {"X <= 3 <= 4;", 22, "<= 4;"},
      {"MAX = @POW(X,2,3);", 23, ",3);"},
      {"MAX = @POW(X);", 23, ");"},
      {"MAX = @ABS();", 23, ");"},
      {"MAX = @SMAX();", 23, ");"},
      {"MAX = ( );", 23, ");"},
      {"MAX = (X + 1;", 12, ";"},
      {"MAX = X); ", 207, ");"},
      {"MAX = @DUAL(X);", 11, "@DUAL(X);"},
      {"SETS: S /A B/: C; S; ENDSETS", 37, "S; ENDSETS"},
      {"SETS: S /A B/: C; ENDSETS MAX = C;", 21, "C;"},
      {"ENDCALC", 11, "ENDCALC"},
      {"MAX = 1.2.3;", 11, ".3;"},
      {"X <= 3 END", 11, "END"},
      {"SETS: S /A B/; T(S,S) /A B, B/; ENDSETS", 40, "/; ENDSETS"},
      {"SETS: S /A B/; T(S,S) /A C/; ENDSETS", 39, "C/; ENDSETS"},
      {"SETS: S /1..0/; ENDSETS", 190, "0/; ENDSETS"},
      {"SETS: S /A B/; ENDSETS @FOR(S(I, J): X >= 1);", 26, ", J)"},
      {"SETS: S(S); ENDSETS", 24, "S); ENDSETS"},  // a set is never its own parent
      {"SETS: S /A B/; T(S, T); ENDSETS", 24, "T); ENDSETS"},
      {"SETS: S /A B/: C; ENDSETS MAX = @SUM(S: @FOR(S: C <= 1));", 50, "@FOR(S: C"},
      {"SETS: S /A/; ENDSETS MAX = @SUM(T: X);", 24, "T: X);"},
      {"[R] X >= 1; [R] Y >= 1;", 37, "R] Y"},
      {"X + 'text' >= 1;", 213, "'text'"},
      {"MAX = X; @GIN(Y) <= 1;", 22, "<= 1;"},
  };
  for (const ErrCase& c : cases) {
    FrontFixture f;
    f.text(c.model);
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, c.msg) << c.model;
    int32_t p = f.L.ERRARG;
    ASSERT_GE(p, 1) << c.model;
    EXPECT_EQ(std::string(f.L.SCANBUF + p, std::strlen(c.at)), c.at) << c.model;
  }
}

}  // namespace

namespace {

TEST(Compiler, NestedLoopsNameTheirRows) {
  FrontFixture f;
  f.text("SETS: S /A B/; T /C D/; ENDSETS @FOR(S(I): @FOR(T(J) | J #NE# 1: [R] X >= 1)); [Z] Y <= 2;");
  f.go(0);
  ASSERT_EQ(f.L.LASTERR, 0);
  EXPECT_EQ(iget(f.W, f.L, f.L.ROWNDIM, 1), 2);
  EXPECT_EQ(iget(f.W, f.L, f.L.ROWNDIM, 2), 0);
  EXPECT_EQ(f.code(),
            "BEGFOR | SETUP S | GETNEXT 33 | BEGFOR | SETUP T | GETNEXT 24 | BEGCND | PUSHX 2 | PUSHN 1 | CMPNE | "
            "ENDCND | IFGOTO -11 | BEGROW | ROWNAME R | PUSHV X | PUSHN 1 | SUB | ENDROW GT | GOTO -24 | POPSET | "
            "ENDFOR | GOTO -33 | POPSET | ENDFOR | BEGROW | ROWNAME Z | PUSHV Y | PUSHN 2 | SUB | ENDROW LT");
}

}  // namespace

namespace {

// Names, code and set tables that outgrow a small store end the compilation with a message.
TEST(Compiler, StorageFailuresEndTheCompilation) {
  std::string names = "MAX = X0", code = "MAX = X", sets = "SETS:";
  for (int i = 1; i < 6000; ++i) names += " + X" + std::to_string(i);
  for (int i = 1; i < 20000; ++i) code += " + X";
  for (int i = 1; i < 3000; ++i) sets += " S" + std::to_string(i) + " /A B/: V" + std::to_string(i) + ";";
  for (const std::string& t : {names + ";", code + ";", sets + " ENDSETS"}) {
    FrontFixture f(60000);
    f.text(t);
    const std::string out = f.go(0);
    EXPECT_EQ(f.L.LASTERR, 51) << t.substr(0, 40);
    EXPECT_NE(out.find("Ran out of generator memory compiling model."), std::string::npos) << t.substr(0, 40);
  }
}

}  // namespace

namespace {

// Each function takes its own number of arguments; one more or one fewer is message 23.
TEST(Compiler, FunctionsTakeTheirArgumentCounts) {
  const std::pair<const char*, int> funcs[] = {
      {"ABS", 1}, {"SIN", 1},  {"COS", 1},   {"TAN", 1},  {"LOG", 1},  {"EXP", 1},  {"FPA", 2},
      {"FPL", 2}, {"PSN", 1},  {"PSL", 1},   {"PBN", 3},  {"PEL", 2},  {"PEB", 2},  {"PPS", 2},
      {"PPL", 2}, {"PFS", 3},  {"PTD", 2},   {"PCX", 2},  {"PFD", 3},  {"LGM", 1},  {"SIGN", 1},
      {"FLOOR", 1}, {"PHG", 4}, {"WRAP", 2}, {"RAND", 1}, {"IF", 3},   {"SQRT", 1}, {"POW", 2},
      {"SQR", 1}, {"MOD", 2},  {"GIN", 1},   {"BND", 3},  {"BIN", 1},  {"FREE", 1},
  };
  auto model = [](const std::string& f, int n) {
    std::string a;
    for (int k = 1; k <= n; ++k) a += (k > 1 ? ", X" : "X") + std::to_string(k);
    bool stmt = f == "GIN" || f == "BND" || f == "BIN" || f == "FREE";
    return (stmt ? "MAX = X1; @" : "MAX = @") + f + "(" + a + ");";
  };
  for (auto& [f, n] : funcs) {
    for (int k : {n - 1, n, n + 1}) {
      if (k < 1) continue;
      FrontFixture t;
      t.text(model(f, k));
      t.go(0);
      EXPECT_EQ(t.L.LASTERR, k == n ? 0 : 23) << model(f, k);
    }
  }
  for (const char* f : {"SMAX", "SMIN", "USER"}) {
    for (int k : {1, 2, 7}) {
      FrontFixture t;
      t.text(model(f, k));
      t.go(0);
      EXPECT_EQ(t.L.LASTERR, 0) << model(f, k);
    }
  }
}

}  // namespace

namespace {

// Rows of numbers, names, signs, + - * and one relation, and the bounds @BND, @FREE, @GIN and
// @BIN (the MPS import's statements) are read past the grammar's symbol loop; what they compile to, the errors with their lines and carets and
// the scanner's place must be those of the loop itself (traced compilation takes the loop and
// the full symbol search).
TEST(Compiler, FlatRowsCompileAsTheSymbolLoopCompilesThem) {
  std::string wide = "[W] 0.5 * Y0";
  for (int i = 1; i < 3000; ++i) wide += (i % 5 == 0 ? "\n - " : " + ") + std::to_string(i) + " * Y" + std::to_string(i);
  const char* const rows[] = {
      "[R1] - 1.06 * X01 + X04 - 2 * X05 <= 80;\n[R2] X01 + .5*X04 >= - 3;\n[C] MIN = - 0.4 * X02 - X14 + 10 * X39;",
      "[C] MAX = 2 * X - Y;\n[R] X + Y < 4; [S] X - Y > -1; [T] 3*X = 1.5E+02; [U] X * Y * 2 - - X <= 0.1E-01;",
      "[R] X +\nY <\n= 3;\n[S]\nX\n>=\n1;",
      "[R] MAXI + M >= 1; [S] M A\n X = Y; [T] MIN=X; [u] x + y >= 1;",
      "; [R] X >= 1; TITLE T; [S] Y <= 2;",
      "[R] X >= 1; [R] Y >= 1;",
      "[R] R + X >= 1;",
      "[R] X Y >= 1;",
      "[R] X >= 1 >= 2;",
      "[R] X + 1;",
      "[C] MIN = X >= 1;",
      "[R] X >= ;",
      "[R] X(1) >= 2;",
      "SETS: S /A B/: C; ENDSETS [R] C >= 1;",
      "[R] X <= 1E400; [S] 2 >= X;",
      "[R] ABCDEFGHIJKLMNOPQRSTUVWXYZ01234567 + Y >= 1;",
      "[ABCDEFGHIJKLMNOPQRSTUVWXYZ012345] Y >= 1; [ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456] Y >= 1;",
      "[R] X +\nY <\n= 3 3;",
      "[S] M A\n X = Y 2;",
      "[R]\nX\n>=\n1 2;",
      "[R] X + Y >= 1; @BND( -100, X, 5); @FREE( Y); @GIN( Z); @BIN(W); @B ND(\n0, V, - 0.5E+02);",
      "@BND( 1, X, 2, 3);",
      "@BND( 1, X);",
      "@FREE(X, Y);",
      "@FREE();",
      "@GIN(X) + 1;",
      "@BND(1, X, 2) <= 3;",
  };
  std::vector<std::string> models(std::begin(rows), std::end(rows));
  // a row longer than the scanner buffer, and an error listed from a later refill of it
  models.push_back(wide + " >= 1;\n[E] X >= 1;\n[V" + wide.substr(2) + " >= 1 2;");
  // the same on one line: the refilled buffer's first line number is the scanner's
  std::string line = wide;
  std::replace(line.begin(), line.end(), '\n', ' ');
  models.push_back("[A] X >= 1;\n[B] X +\n Y >= 1;\n" + line + " >= 1 2;");
  for (int unarym : {1, 0}) {
    for (const std::string& m : models) {
      {
        FrontFixture flat, loop;
        flat.L.UNARYM = loop.L.UNARYM = unarym;
        flat.text(m);
        loop.text(m);
        const std::string printed = flat.go(0), traced = loop.go(4);
        const std::string at = m.substr(0, 40);
        // the messages (with the line and the caret of an error) stand whole in the traced output
        EXPECT_NE(traced.find(printed), std::string::npos) << at << printed;
        EXPECT_EQ(flat.code(), loop.code()) << at;
        EXPECT_EQ(flat.L.LASTERR, loop.L.LASTERR) << at;
        EXPECT_EQ(flat.L.ERRARG, loop.L.ERRARG) << at;
        EXPECT_EQ(flat.L.NSCALAR, loop.L.NSCALAR) << at;
        EXPECT_EQ(flat.L.NROWNM, loop.L.NROWNM) << at;
        EXPECT_EQ(flat.L.BIGCNT, loop.L.BIGCNT) << at;
        EXPECT_EQ(flat.L.SCANPOS, loop.L.SCANPOS) << at;
        EXPECT_EQ(flat.L.SRCLINE, loop.L.SRCLINE) << at;
      }
    }
  }
}

}  // namespace
