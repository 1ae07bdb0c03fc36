// The numeric interpreter on hand-built instruction streams.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "generate/eval_test_fixture.h"

namespace {

struct Case {
  const char* name;
  std::function<void(EvalModel&)> code;
  int32_t status;
  double value;  // top of the stack when the status is 0 (NAN: not checked)
};

void runcases(const std::vector<Case>& cases) {
  for (const Case& k : cases) {
    EvalModel m;
    k.code(m);
    EXPECT_EQ(m.run(), k.status) << k.name;
    if (k.status == 0 && !std::isnan(k.value)) {
      EXPECT_DOUBLE_EQ(m.top(), k.value) << k.name;
    }
  }
}

}  // namespace

TEST(Xecute, ArithmeticAndFunctions) {
  const double nan = NAN;
  runcases({
      {"add", [](EvalModel& m) { m.num(2).num(3).op(OP_ADD); }, 0, 5},
      {"sub", [](EvalModel& m) { m.num(7).num(2).op(OP_SUB); }, 0, 5},
      {"div", [](EvalModel& m) { m.num(7).num(2).op(OP_DIV); }, 0, 3.5},
      {"div by zero", [](EvalModel& m) { m.num(1).num(0).op(OP_DIV); }, 5, 0},
      {"div by zero in the branch not taken", [](EvalModel& m) { m.num(1).num(4).num(1).num(0).op(OP_DIV).op(OP_IF); }, 0, 4},
      {"div by zero in the branch taken", [](EvalModel& m) { m.num(0).num(4).num(1).num(0).op(OP_DIV).op(OP_IF); }, 5, 0},
      {"error carried through later operators", [](EvalModel& m) { m.num(1).num(0).op(OP_DIV).num(5).op(OP_ADD).op(OP_SQRT); }, 5, 0},
      {"floor -2.5", [](EvalModel& m) { m.num(-2.5).op(OP_FLOOR); }, 0, -2},
      {"floor 3e9", [](EvalModel& m) { m.num(3e9).op(OP_FLOOR); }, 0, 3e9},
      {"(-8)^(1/3)", [](EvalModel& m) { m.num(-8).num(1.0 / 3).op(OP_POW); }, 5, 0},
      {"(-8)^3", [](EvalModel& m) { m.num(-8).num(3).op(OP_POWF); }, 0, -512},
      {"(-2)^4", [](EvalModel& m) { m.num(-2).num(4).op(OP_POW); }, 0, 16},
      {"0^-1", [](EvalModel& m) { m.num(0).num(-1).op(OP_POW); }, 5, 0},
      {"0^0", [](EvalModel& m) { m.num(0).num(0).op(OP_POW); }, 5, 0},
      {"0^2", [](EvalModel& m) { m.num(0).num(2).op(OP_POW); }, 0, 0},
      {"2^0.5", [](EvalModel& m) { m.num(2).num(0.5).op(OP_POW); }, 0, std::sqrt(2.0)},
      {"10^400 overflows", [](EvalModel& m) { m.num(10).num(400).op(OP_POW); }, 5, 0},
      {"0.5^2000 underflows", [](EvalModel& m) { m.num(0.5).num(2000).op(OP_POW); }, 0, 0},
      {"0.5^-2000 overflows", [](EvalModel& m) { m.num(0.5).num(-2000).op(OP_POW); }, 5, 0},
      {"log 0", [](EvalModel& m) { m.num(0).op(OP_LOG); }, 5, 0},
      {"sqrt -1", [](EvalModel& m) { m.num(-1).op(OP_SQRT); }, 5, 0},
      {"exp 1000", [](EvalModel& m) { m.num(1000).op(OP_EXP); }, 0, 1e307},
      {"exp -1000", [](EvalModel& m) { m.num(-1000).op(OP_EXP); }, 0, 1e-307},
      {"mod", [](EvalModel& m) { m.num(7).num(3).op(OP_MOD); }, 0, 1},
      {"mod 0", [](EvalModel& m) { m.num(7).num(0).op(OP_MOD); }, 5, 0},
      {"wrap 5 in 3", [](EvalModel& m) { m.num(5).num(3).op(OP_WRAP); }, 0, 2},
      {"wrap 0 in 3", [](EvalModel& m) { m.num(0).num(3).op(OP_WRAP); }, 0, 3},
      {"smax", [](EvalModel& m) { m.num(4).num(9).num(-1).op(OP_SMAX, 3); }, 0, 9},
      {"smin", [](EvalModel& m) { m.num(4).num(9).num(-1).op(OP_SMIN, 3); }, 0, -1},
      {"not", [](EvalModel& m) { m.num(0).op(OP_NOT); }, 0, 1},
      {"and", [](EvalModel& m) { m.num(2).num(0).op(OP_AND); }, 0, 0},
      {"or", [](EvalModel& m) { m.num(2).num(0).op(OP_OR); }, 0, 1},
      {"cmple", [](EvalModel& m) { m.num(2).num(2).op(OP_CMPLE); }, 0, 1},
      {"sign", [](EvalModel& m) { m.num(-3).op(OP_SIGN); }, 0, -1},
      {"sqr", [](EvalModel& m) { m.num(-3).op(OP_SQR); }, 0, 9},
      {"psn 0", [](EvalModel& m) { m.num(0).op(OP_PSN); }, 0, 0.5000000006519356},
      {"pcx 2 12", [](EvalModel& m) { m.num(2).num(12).op(OP_PCX); }, 0, 1},
      {"ptd 0.5 fails", [](EvalModel& m) { m.num(0.5).num(1).op(OP_PTD); }, 5, 0},
      {"pel -1 fails", [](EvalModel& m) { m.num(-1).num(2).op(OP_PEL); }, 5, 0},
      {"pps", [](EvalModel& m) { m.num(0).num(0).op(OP_PPS); }, 0, 1},
      {"lgm 0 fails", [](EvalModel& m) { m.num(0).op(OP_LGM); }, 5, 0},
      {"fpl", [](EvalModel& m) { m.num(0.1).num(2).op(OP_FPL); }, 0, 1 / 1.21},
      {"fpa rate 0", [](EvalModel& m) { m.num(0).num(5).op(OP_FPA); }, 0, 5},
      {"fpa negative", [](EvalModel& m) { m.num(-0.1).num(5).op(OP_FPA); }, 5, 0},
      {"psl", [](EvalModel& m) { m.num(0).op(OP_PSL); }, 0, 0.3989422803 - 0.0},
      {"rand", [](EvalModel& m) { m.num(2.25).op(OP_RAND); }, 0, 0.3364893994294107},
      {"push inf", [](EvalModel& m) { m.op(OP_PUSHINF).op(OP_NEGATE); }, 0, -1e307},
      {"pushz", [](EvalModel& m) { m.op(OP_PUSHZ, 3).op(OP_ADD).op(OP_ADD); }, 0, 0},
      {"status", [](EvalModel& m) { m.op(OP_STATUS); }, 0, 3},
      {"markers are skipped", [](EvalModel& m) { m.op(OP_BEGROW).op(OP_BEGCND).num(1).op(OP_NOPCLOSE, 41).op(OP_ENDCND); }, 0, 1},
      {"user", [](EvalModel& m) { m.num(1).num(2).op(OP_USER, 2); }, 0, 0},
      {"text in a numeric function", [](EvalModel& m) { m.str("ab").op(OP_SQRT); }, 4, nan},
  });
}

TEST(Xecute, ErrorDetailsAndEndOfRow) {
  EvalModel m;
  m.num(2).num(0).op(OP_DIV).num(1).op(OP_ADD);
  EXPECT_EQ(m.run(), 5);
  EXPECT_EQ(m.L.ERRARG3, 7);  // the DIV's position
  EXPECT_EQ(m.L.STKVAL[1], 1.0);  // the offending operand's magnitude plus 1
  EXPECT_EQ(xstatmsg_(5), 211);
  EXPECT_EQ(xstatmsg_(2), 70);
  EXPECT_EQ(xstatmsg_(16), 236);
  EvalModel e;
  e.num(1).op(OP_ENDROW, 0).num(2);
  EXPECT_EQ(e.run(), 0);
  EXPECT_EQ(e.L.STKTOP, 1);
  EXPECT_EQ(e.L.XIP, 6);
}

TEST(Xecute, Texts) {
  struct T { const char* name; std::function<void(EvalModel&)> code; int32_t status; const char* text; };
  const T cases[] = {
      {"literal", [](EvalModel& m) { m.str("hello"); }, 0, "hello"},
      {"concatenation", [](EvalModel& m) { m.str("ab").str("cde").op(OP_ADD); }, 0, "abcde"},
      {"repetition", [](EvalModel& m) { m.num(3).str("ab").op(OP_MUL); }, 0, "ababab"},
      {"repetition below 1", [](EvalModel& m) { m.num(0.5).str("ab").op(OP_MUL); }, 0, ""},
      {"repetition out of range", [](EvalModel& m) { m.num(1e12).str("ab").op(OP_MUL); }, 7, nullptr},
      {"text times number", [](EvalModel& m) { m.str("ab").num(3).op(OP_MUL); }, 15, nullptr},
      {"text times text", [](EvalModel& m) { m.str("ab").str("c").op(OP_MUL); }, 4, nullptr},
      {"text plus number", [](EvalModel& m) { m.str("ab").num(3).op(OP_ADD); }, 15, nullptr},
      {"negated text", [](EvalModel& m) { m.str("ab").op(OP_NEGATE); }, 15, nullptr},
      {"newline 0", [](EvalModel& m) { m.num(0).op(OP_NEWLINE); }, 0, ""},
      {"newline 2", [](EvalModel& m) { m.num(2.7).op(OP_NEWLINE); }, 0, "\r\n\r\n"},
      {"format", [](EvalModel& m) { m.str("8.3f").num(3.14159).op(OP_FORMAT); }, 0, "   3.142"},
      {"format number first", [](EvalModel& m) { m.num(42.7).str("d").op(OP_FORMAT); }, 0, "42"},
      {"format of a variable", [](EvalModel& m) { m.op(OP_PUSHV, 3).str("-6.1e").op(OP_FORMAT); }, 0, "1.0e+02"},
      {"format with text", [](EvalModel& m) { m.str("x=%5.1f").num(1).op(OP_FORMAT); }, 16, nullptr},
      {"format with %s", [](EvalModel& m) { m.str("s").num(1).op(OP_FORMAT); }, 16, nullptr},
      {"format with two conversions", [](EvalModel& m) { m.str("f%f").num(1).op(OP_FORMAT); }, 16, nullptr},
      {"format huge width", [](EvalModel& m) { m.str("9999f").num(1).op(OP_FORMAT); }, 16, nullptr},
      {"format two numbers", [](EvalModel& m) { m.num(2).num(1).op(OP_FORMAT); }, 16, nullptr},
      {"set member name", [](EvalModel& m) { m.num(2).num(1).op(OP_PUSHSETN, 3); }, 0, "A2   B1"},
      {"sorted set member name", [](EvalModel& m) { m.num(2).num(2).op(OP_PUSHSETN, 4); }, 0, "A2   B2"},
      {"not a member", [](EvalModel& m) { m.num(2).num(1).op(OP_PUSHSETN, 4); }, 10, nullptr},
      {"variable name", [](EvalModel& m) { m.op(OP_PUSHV, 11).op(OP_NAME); }, 0, nullptr},
      {"name of a number", [](EvalModel& m) { m.num(11).op(OP_NAME); }, 12, nullptr},
  };
  for (const T& k : cases) {
    EvalModel m;
    k.code(m);
    if (k.status == 0) m.op(OP_WRITE, 1);
    EXPECT_EQ(m.run(), k.status) << k.name;
    if (k.status == 0 && k.text) {
      EXPECT_EQ(written(m, 1), k.text) << k.name;
    }
  }
  // STRLEN, and NEWLINE(300) as 256 line ends
  EvalModel s;
  s.num(300).op(OP_NEWLINE).op(OP_STRLEN);
  EXPECT_EQ(s.run(), 0);
  EXPECT_EQ(s.top(), 512);
  EvalModel n;
  n.num(3).op(OP_STRLEN);
  EXPECT_EQ(n.run(), 3);
}

TEST(Xecute, WildcardComparison) {
  const struct { const char* a; const char* b; int32_t op; double r; } cases[] = {
      {"AB%D", "abcd", OP_CMPEQ, 1}, {"AB*", "ABXYZ", OP_CMPEQ, 1}, {"AB", "ABC", OP_CMPLT, 1},
      {"ABC", "AB", OP_CMPGT, 1},    {"abc", "ABD", OP_CMPNE, 1},  {"B", "A*", OP_CMPGE, 1},
  };
  for (auto k : cases) {
    EvalModel m;
    m.str(k.a).str(k.b).op(k.op);
    EXPECT_EQ(m.run(), 0) << k.a << " " << k.b;
    EXPECT_EQ(m.top(), k.r) << k.a << " " << k.b;
  }
  EvalModel m;
  m.str("a").num(1).op(OP_CMPEQ);
  EXPECT_EQ(m.run(), 15);
  EvalModel o;
  o.str("a").str("b").op(OP_AND);
  EXPECT_EQ(o.run(), 15);
}

TEST(Xecute, TextSlotsAndWriteBuffers) {
  EvalModel m;  // 64 texts in one run are fine, the 65th is not
  for (int k = 0; k < 64; ++k) m.str("t");
  EXPECT_EQ(m.run(), 0);
  EvalModel n;
  for (int k = 0; k < 65; ++k) n.str("t");
  EXPECT_EQ(n.run(), 6);
  // @WRITEFOR flushes each pass, so a loop writes more than 64 texts in all
  EvalModel w;
  w.op(OP_SETUP, 3);
  const int32_t g = w.here();
  w.op(OP_GETNEXT, 0);
  for (int k = 0; k < 6; ++k) w.str("x");
  w.num(7).op(OP_WRITEFOR, 7);
  w.op(OP_GOTO, g - (w.here() + 1));
  w.c[g] = w.here() - (g + 1);  // exit offset to the POPSET
  w.op(OP_POPSET);
  EXPECT_EQ(w.run(), 0);
  EXPECT_EQ(w.L.ORBITEMS, 12 * 7);
  EXPECT_EQ(w.L.ORBNUMN, 12);
  EXPECT_EQ(w.L.ORBWRITES, 7);
  ASSERT_EQ(w.L.ORBFLUSHN, 12);  // the end of every flush is kept
  for (int32_t f = 1; f <= 12; ++f) EXPECT_EQ(bgeti(w.A, w.L, w.L.ORBAUX, f), 7 * f);
  EXPECT_EQ(written(w, 1), "x");
  EXPECT_EQ(bgetd(w.A, w.L, w.L.ORBNUM, 12), 7.0);
  EXPECT_EQ(w.L.STKTOP, 0);
  // an item with a pending error ends the run with it
  EvalModel e;
  e.str("a").num(1).num(0).op(OP_DIV).op(OP_WRITE, 2);
  EXPECT_EQ(e.run(), 5);
}

namespace {

// @SUM over set s of the expression that body appends (index registers hold the member).
void sumloop(EvalModel& m, int32_t s, const std::function<void(EvalModel&)>& body) {
  m.op(OP_PUSHZ, 1).op(OP_SETUP, s);
  const int32_t g = m.here();
  m.op(OP_GETNEXT, 0);
  body(m);
  m.op(OP_ADD);
  m.op(OP_GOTO, g - (m.here() + 1));
  m.c[g] = m.here() - (g + 1);
  m.op(OP_POPSET);
}

}  // namespace

TEST(Xecute, SetLoopsAndLookups) {
  runcases({
      {"sum over a primitive set", [](EvalModel& m) { sumloop(m, 1, [](EvalModel& b) { b.op(OP_PUSHX, 1); }); }, 0, 6},
      {"sum over an empty set", [](EvalModel& m) { sumloop(m, 5, [](EvalModel& b) { b.op(OP_PUSHX, 1); }); }, 0, 0},
      {"sum over a dense set", [](EvalModel& m) { sumloop(m, 3, [](EvalModel& b) { b.op(OP_PUSHX, 1).op(OP_PUSHX, 2).op(OP_MUL); }); }, 0, 60},
      {"sum over a sorted set", [](EvalModel& m) { sumloop(m, 4, [](EvalModel& b) { b.num(10).op(OP_PUSHX, 1).op(OP_MUL).op(OP_PUSHX, 2).op(OP_ADD); }); }, 0, 65},
      {"sum of an attribute", [](EvalModel& m) { sumloop(m, 1, [](EvalModel& b) { b.op(OP_BEGCND).op(OP_PUSHX, 1).op(OP_ENDCND).op(OP_PUSHS, 1, 1); }); }, 0, 110 + 111 + 112},
      {"conditional sum", [](EvalModel& m) {
         m.op(OP_PUSHZ, 1).op(OP_SETUP, 1);
         const int32_t g = m.here();
         m.op(OP_GETNEXT, 0).op(OP_PUSHX, 1).num(2).op(OP_CMPNE);
         m.op(OP_IFGOTO, g - (m.here() + 1));
         m.op(OP_PUSHX, 1).op(OP_ADD);
         m.op(OP_GOTO, g - (m.here() + 1));
         m.c[g] = m.here() - (g + 1);
         m.op(OP_POPSET);
       }, 0, 4},
      {"attribute of a dense set", [](EvalModel& m) { m.num(2).num(1).op(OP_PUSHS, 2, 3); }, 0, 129},
      {"attribute outside its set", [](EvalModel& m) { m.num(1).num(5).op(OP_PUSHS, 2, 3); }, 2, 0},
      {"attribute index NaN", [](EvalModel& m) { m.num(0).num(0).op(OP_DIV).op(OP_PUSHS, 1, 1); }, 5, 0},
      {"attribute index 1e10", [](EvalModel& m) { m.num(1e10).op(OP_PUSHS, 1, 1); }, 2, 0},
      {"variable", [](EvalModel& m) { m.op(OP_PUSHV, 7); }, 0, 107},
      {"in a sorted set", [](EvalModel& m) { m.num(1).num(2).op(OP_IN, 4); }, 0, 1},
      {"not in a sorted set", [](EvalModel& m) { m.num(1).num(1).op(OP_IN, 4); }, 0, 0},
      {"in a set not built", [](EvalModel& m) { m.num(1).op(OP_IN, 6); }, 9, 0},
      {"candidate member", [](EvalModel& m) { m.L.CURTUP[2] = 7; m.op(OP_PUSHATX, 2); }, 0, 7},
      
      {"row that does not exist", [](EvalModel& m) { m.num(1).c.insert(m.c.end(), {OP_PUSHSR, 1, 1, 1}); }, 11, 0},
      {"scalar row", [](EvalModel& m) { m.op(OP_PUSHSR, 2, 0); }, 0, 7},
      {"dual without duals", [](EvalModel& m) { m.op(OP_PUSHSR, 2, 0).op(OP_DUAL); }, 13, 0},
      {"dual with duals", [](EvalModel& m) { m.L.SOLKND = 1; m.op(OP_PUSHSR, 2, 0).op(OP_DUAL); }, 0, 0.7},
      {"dual of a number", [](EvalModel& m) { m.L.SOLKND = 1; m.num(1).op(OP_DUAL); }, 12, 0},
      {"range without ranges", [](EvalModel& m) { m.L.SOLKND = 1; m.op(OP_PUSHV, 2).op(OP_RANGEU); }, 14, 0},
  });
  // the row found for member 3 of A is row 2, and its value is its slack
  EvalModel r;
  r.num(3).c.insert(r.c.end(), {OP_PUSHSR, 1, 1, 1});
  EXPECT_EQ(r.run(), 0);
  EXPECT_EQ(r.L.STKTAG[1], TAGROW);
  EXPECT_EQ(r.L.STKIDX[1], 2);
  EXPECT_EQ(r.top(), 6);
  // a set not yet built leaves its number in the first entry
  EvalModel b;
  b.num(1).op(OP_IN, 6);
  EXPECT_EQ(b.run(), 9);
  EXPECT_EQ(b.L.STKVAL[1], 6);
}

namespace {

// n nested loops over the one-member set 7, with an empty body.
void nest(EvalModel& m, int n) {
  std::vector<int32_t> g;
  for (int k = 0; k < n; ++k) {
    m.op(OP_SETUP, 7);
    g.push_back(m.here());
    m.op(OP_GETNEXT, 0);
  }
  m.num(1);
  for (int k = n - 1; k >= 0; --k) {
    m.op(OP_GOTO, g[k] - (m.here() + 1));
    m.c[g[k]] = m.here() - (g[k] + 1);
    m.op(OP_POPSET);
  }
}

}  // namespace

TEST(Xecute, Limits) {
  EvalModel a;
  nest(a, 20);
  EXPECT_EQ(a.run(), 0);
  EXPECT_EQ(a.L.LFDEPTH, 0);
  EXPECT_EQ(a.L.IRCNT, 0);
  EvalModel b;
  nest(b, 21);
  b.L.MSGOFF = 0;
  testing::internal::CaptureStdout();
  EXPECT_EQ(b.run(), 8);
  const std::string printed = testing::internal::GetCapturedStdout();
  EXPECT_EQ(b.L.LASTERR, 85);
  EXPECT_NE(printed.find("Stack overflow. Expression too complex."), std::string::npos) << printed;
  // the stack: 511 entries then one more instruction run; 512 entries stop the run
  EvalModel s;
  for (int k = 0; k < 511; ++k) s.num(1);
  for (int k = 0; k < 510; ++k) s.op(OP_ADD);
  EXPECT_EQ(s.run(), 0);
  EXPECT_EQ(s.top(), 511);
  EvalModel t;
  for (int k = 0; k < 512; ++k) t.num(1);
  t.op(OP_ADD);
  EXPECT_EQ(t.run(), 8);
  EXPECT_EQ(t.L.ERRARG2, 512);
  EvalModel z;
  z.op(OP_PUSHZ, 513);
  EXPECT_EQ(z.run(), 8);
}

TEST(Xecute, InstructionsThatCannotRun) {
  runcases({
      {"@RIM", [](EvalModel& m) { m.num(1).op(OP_RIM); }, 17, 0},
      {"@CLASS", [](EvalModel& m) { m.op(OP_CLASS); }, 17, 0},
      {"unused opcode", [](EvalModel& m) { m.num(1).op(17); }, 17, 0},
      {"opcode out of range", [](EvalModel& m) { m.op(1070); }, 17, 0},
      {"negative opcode", [](EvalModel& m) { m.op(-18); }, 17, 0},
      {"cut-off number", [](EvalModel& m) { m.op(OP_PUSHN, 5); }, 17, 0},
      {"operator on an empty stack", [](EvalModel& m) { m.op(OP_ADD); }, 17, 0},
      {"jump back to itself", [](EvalModel& m) { m.op(OP_GOTO, -1); }, 17, 0},
      {"loop exit backward", [](EvalModel& m) { m.op(OP_SETUP, 5).op(OP_GETNEXT, -2); }, 17, 0},
      {"loop run again after its exit", [](EvalModel& m) { m.op(OP_SETUP, 1).op(OP_GETNEXT, 4).num(1).op(OP_GOTO, -6); }, 17, 0},
      {"set out of range", [](EvalModel& m) { m.op(OP_SETUP, 99); }, 17, 0},
      {"POPSET without a loop", [](EvalModel& m) { m.op(OP_POPSET); }, 17, 0},
      {"text longer than the code", [](EvalModel& m) { m.op(OP_PUSHSTR, 400); }, 17, 0},
  });
}

TEST(Xecute, SetConditionsReadOnlyKnownValues) {
  // run as a membership condition: the code is the condition block
  for (int32_t kind : {0, 6}) {
    EvalModel m;
    std::vector<int32_t> kinds(50, 0);
    kinds[10] = kind;  // variable 11, element 2 of attribute X
    m.L.VARKND = m.iblock(kinds);
    m.num(2).op(OP_PUSHS, 1, 1);
    int32_t n = (int32_t)m.c.size() + 1, st = 0;
    setblk_(2, n, m.A, m.L, m.L.CNDBLK, st);
    for (size_t k = 0; k < m.c.size(); ++k) bputi(m.A, m.L, m.L.CNDBLK, (int64_t)k + 1, m.c[k]);
    m.L.STKTOP = 0;
    int32_t status = 0;
    double out;
    const int32_t first = 1, last = (int32_t)m.c.size();
    xecute_(m.A, m.L, m.L.CNDBLK, first, last, status, out);
    EXPECT_EQ(status, kind >= 4 ? 0 : -1) << kind;
    if (kind >= 4) {
      EXPECT_EQ(m.top(), 111);
    }
    EXPECT_EQ(m.run(), 0);  // the same code elsewhere reads any variable
  }
}
