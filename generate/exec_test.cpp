// The scalar code emitter: the code it writes for a row, run under the solver library's
// meaning of each code, equals what the interpreter computes for the same row; folded
// parts, set loops, @MAX/@MIN batching and the failures of a row.
#include <gtest/gtest.h>

#include <random>

#include "generate/scalar_test_fixture.h"

namespace {

// A row of the emitter table: its code (variables 1..3 are the point), the range the
// point is drawn from, and a name.
struct RowCase {
  const char* name;
  double lo, hi;
  std::function<void(ScalarModel&)> code;
};

using M = ScalarModel;
void x(M& m, int v) { m.op(OP_PUSHV, v); }
void un(M& m, int op) { x(m, 1); m.op(op); }
void bin(M& m, int op) { x(m, 1); x(m, 2); m.op(op); }
// X(i) of attribute 1 of set 1 inside a loop over set 1 (register 1)
void attr(M& m) {
  m.op(OP_BEGCND).op(OP_PUSHX, 1).op(OP_ENDCND).op(OP_PUSHS, 1, 1);
}

const std::vector<RowCase>& rowcases() {
  static const std::vector<RowCase> t = {
      {"negate", -5, 5, [](M& m) { un(m, OP_NEGATE); }},
      {"not", -1, 1, [](M& m) { x(m, 1); m.num(0.5).op(OP_CMPGT).op(OP_NOT); }},
      {"add", -5, 5, [](M& m) { bin(m, OP_ADD); }},
      {"sub", -5, 5, [](M& m) { bin(m, OP_SUB); }},
      {"mul", -5, 5, [](M& m) { bin(m, OP_MUL); }},
      {"div", 1, 5, [](M& m) { bin(m, OP_DIV); }},
      {"pow", 0.5, 3, [](M& m) { bin(m, OP_POW); }},
      {"pow-fn", 0.5, 3, [](M& m) { bin(m, OP_POWF); }},
      {"negative base", -3, -0.5, [](M& m) { x(m, 1); m.num(3).op(OP_POW); }},
      {"cmpeq", -1, 1, [](M& m) { x(m, 1); x(m, 1); m.op(OP_CMPEQ); x(m, 2); m.op(OP_MUL); }},
      {"cmpne", -1, 1, [](M& m) { bin(m, OP_CMPNE); }},
      {"cmple", -1, 1, [](M& m) { bin(m, OP_CMPLE); }},
      {"cmpge", -1, 1, [](M& m) { bin(m, OP_CMPGE); }},
      {"cmplt", -1, 1, [](M& m) { bin(m, OP_CMPLT); }},
      {"cmpgt", -1, 1, [](M& m) { bin(m, OP_CMPGT); }},
      {"and", -1, 1, [](M& m) { x(m, 1); m.num(0).op(OP_CMPGT); x(m, 2); m.num(0).op(OP_CMPLT).op(OP_AND); }},
      {"or", -1, 1, [](M& m) { x(m, 1); m.num(0).op(OP_CMPGT); x(m, 2); m.num(0).op(OP_CMPLT).op(OP_OR); }},
      {"abs", -5, 5, [](M& m) { un(m, OP_ABS); }},
      {"sin", -5, 5, [](M& m) { un(m, OP_SIN); }},
      {"cos", -5, 5, [](M& m) { un(m, OP_COS); }},
      {"tan", -1, 1, [](M& m) { un(m, OP_TAN); }},
      {"log", 0.1, 9, [](M& m) { un(m, OP_LOG); }},
      {"exp", -5, 5, [](M& m) { un(m, OP_EXP); }},
      {"sqrt", 0, 9, [](M& m) { un(m, OP_SQRT); }},
      {"sqr", -5, 5, [](M& m) { un(m, OP_SQR); }},
      {"sign", -2, 2, [](M& m) { un(m, OP_SIGN); }},
      {"floor", -5, 5, [](M& m) { un(m, OP_FLOOR); }},
      {"mod", 1, 9, [](M& m) { bin(m, OP_MOD); }},
      {"wrap", 1, 9, [](M& m) { bin(m, OP_WRAP); }},
      {"fpa", 0.01, 0.5, [](M& m) { x(m, 1); x(m, 2); m.num(10).op(OP_MUL).op(OP_FPA); }},
      {"fpl", 0.01, 0.5, [](M& m) { x(m, 1); x(m, 2); m.num(10).op(OP_MUL).op(OP_FPL); }},
      {"if", -1, 1, [](M& m) { x(m, 1); m.num(0).op(OP_CMPGT); x(m, 2); x(m, 3); m.op(OP_IF); }},
      {"smax", -5, 5, [](M& m) { x(m, 1); x(m, 2); x(m, 3); m.op(OP_SMAX, 3); }},
      {"smin", -5, 5, [](M& m) { x(m, 1); x(m, 2); x(m, 3); m.op(OP_SMIN, 3); }},
      {"rand", 0.01, 0.99, [](M& m) { un(m, OP_RAND); }},
      {"psn", -3, 3, [](M& m) { un(m, OP_PSN); }},
      {"psl", -3, 3, [](M& m) { un(m, OP_PSL); }},
      {"lgm", 0.5, 6, [](M& m) { un(m, OP_LGM); }},
      {"pbn", 0, 10, [](M& m) { m.num(0.3).num(10); x(m, 1); m.op(OP_PBN); }},
      {"pel", 0.5, 5, [](M& m) { x(m, 1); m.num(3).op(OP_PEL); }},
      {"peb", 0.5, 2.5, [](M& m) { x(m, 1); m.num(3).op(OP_PEB); }},
      {"pps", 0.5, 5, [](M& m) { x(m, 1); m.num(3).op(OP_PPS); }},
      {"ppl", 0.5, 5, [](M& m) { x(m, 1); m.num(3).op(OP_PPL); }},
      {"pfs", 0.1, 1, [](M& m) { x(m, 1); m.num(2).num(5).op(OP_PFS); }},
      {"ptd", -2, 2, [](M& m) { m.num(5); x(m, 1); m.op(OP_PTD); }},
      {"pcx", 0.1, 5, [](M& m) { m.num(4); x(m, 1); m.op(OP_PCX); }},
      {"pfd", 0.1, 3, [](M& m) { m.num(3).num(5); x(m, 1); m.op(OP_PFD); }},
      {"phg", 0, 5, [](M& m) { m.num(20).num(8).num(5); x(m, 1); m.op(OP_PHG); }},
      {"row of a relation", -5, 5, [](M& m) { bin(m, OP_MUL); x(m, 3); m.num(2).op(OP_MUL).op(OP_SUB); }},
      {"known variable", -5, 5, [](M& m) { x(m, 1); x(m, 5); m.op(OP_MUL); }},
      {"folded constant", -5, 5, [](M& m) {
         x(m, 1);
         m.op(OP_BEGCND).num(2).num(3).op(OP_POW).op(OP_ENDCND).op(OP_ADD);
       }},
      {"sum over a set", -5, 5, [](M& m) {
         m.op(OP_PUSHZ, 1);
         m.loop(1, [&] { attr(m); x(m, 1); m.op(OP_MUL).op(OP_ADD); });
         m.op(OP_NOPCLOSE, 41);
       }},
      {"sum over a derived set", -5, 5, [](M& m) {
         m.op(OP_PUSHZ, 1);
         m.loop(3, [&] {
           m.op(OP_BEGCND).op(OP_PUSHX, 1).op(OP_PUSHX, 2).op(OP_ENDCND).op(OP_PUSHS, 2, 3);
           m.op(OP_PUSHX, 2).op(OP_MUL).op(OP_ADD);
         });
       }},
      {"sum with a condition", -5, 5, [](M& m) {
         m.op(OP_PUSHZ, 1);
         m.loop(2, [&] {
           const int32_t g = m.lastgetnext();
           m.op(OP_BEGCND).op(OP_PUSHX, 1).num(2).op(OP_CMPGT).op(OP_ENDCND);
           m.skipif(g);
           x(m, 1);
           m.op(OP_PUSHX, 1).op(OP_MUL).op(OP_ADD);
         });
       }},
      {"max over a set", -5, 5, [](M& m) {
         m.op(OP_PUSHINF).op(OP_NEGATE);
         m.loop(1, [&] { attr(m); x(m, 1); m.op(OP_SUB).op(OP_MAX); });
         m.op(OP_NOPCLOSE, 66);
       }},
      {"min over a set", -5, 5, [](M& m) {
         m.op(OP_PUSHINF);
         m.loop(1, [&] { attr(m); x(m, 2); m.op(OP_MUL).op(OP_MIN); });
         m.op(OP_NOPCLOSE, 66);
       }},
      {"max over an empty set", -5, 5, [](M& m) {
         m.op(OP_PUSHINF).op(OP_NEGATE);
         m.loop(5, [&] { x(m, 1); m.op(OP_MAX); });
         m.num(1e-300).op(OP_MUL);
         x(m, 1);
         m.op(OP_ADD);
       }},
      {"membership", -5, 5, [](M& m) {
         m.op(OP_BEGCND).num(2).op(OP_ENDCND).op(OP_IN, 1);
         m.op(OP_BEGCND).num(9).op(OP_ENDCND).op(OP_IN, 1).op(OP_ADD);
         x(m, 1);
         m.op(OP_MUL);
       }},
      {"bracket markers", -5, 5, [](M& m) {
         x(m, 1);
         m.op(OP_NOPCOMMA);
         x(m, 2);
         m.op(OP_ADD).op(OP_NOPCLOSE, 41);
       }},
  };
  return t;
}

// The emitted code of every row of the table, run under the library's meaning of the
// codes, equals the interpreter's value of the row at random points.
TEST(ScalarEmitter, EmittedCodeMatchesInterpreterAtRandomPoints) {
  std::mt19937 gen(12345);
  for (const RowCase& rc : rowcases()) {
    for (int32_t heap = 0; heap <= 1; ++heap) {
      ScalarModel m;
      m.L.HEAP_SWITCH = heap;
      bputi(m.A, m.L, m.L.VARKND, 5, 6);  // variable 5 is a parameter given in DATA
      m.setval(5, 2.5);
      m.op(OP_BEGROW);
      rc.code(m);
      m.op(OP_ENDROW, 0);
      std::uniform_real_distribution<double> d(rc.lo, rc.hi);
      for (int k = 0; k < 6; ++k) {
        for (int v : {1, 2, 3, 10, 11, 12, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31})
          m.setval(v, d(gen));
        ASSERT_EQ(m.emit(), 0) << rc.name;
        const auto got = scalareval(m.A, m.L, m.words(), m.pool(), 0, m.words().size());
        const auto want = m.interpret();
        ASSERT_TRUE(want.has_value()) << rc.name;
        ASSERT_TRUE(got.has_value()) << rc.name;
        EXPECT_NEAR(*got, *want, 1e-9 * (1 + std::fabs(*want))) << rc.name << " heap " << heap;
      }
    }
  }
}

// A row's emitted words, with the row's code built by f.
std::vector<int32_t> emitted(ScalarModel& m, const std::function<void(ScalarModel&)>& f, int32_t want = 0) {
  m.op(OP_BEGROW);
  f(m);
  m.op(OP_ENDROW, 0);
  EXPECT_EQ(m.emit(), want);
  return m.words();
}

TEST(ScalarEmitter, MaxOverManyMembersIsEmittedInBatchesOf128) {
  ScalarModel m;
  bputi(m.A, m.L, m.L.NNTRYS, 2, 300);  // set 2 gets 300 members
  const auto w = emitted(m, [](M& m) {
    m.op(OP_PUSHINF).op(OP_NEGATE);
         m.loop(2, [&] { x(m, 1); m.op(OP_PUSHX, 1).op(OP_MUL).op(OP_MAX); });
  });
  std::vector<int32_t> counts;
  for (size_t i = 0; i < w.size(); ++i) {
    if (w[i] == SC_PUSHNUM || w[i] == SC_PUSHVAR) ++i;
    else if (w[i] == SC_MAX) counts.push_back(w[++i]);
  }
  EXPECT_EQ(counts, (std::vector<int32_t>{128, 128, 46}));
  m.setval(1, 0.5);
  const auto v = scalareval(m.A, m.L, w, m.pool(), 0, w.size());  // exactly one value is left
  ASSERT_TRUE(v.has_value());
  EXPECT_DOUBLE_EQ(*v, 150.0);
}

TEST(ScalarEmitter, VariablesBecomeColumnsOrValues) {
  ScalarModel m;
  // variable 7 is fixed by the analysis (position 1); the others follow it
  std::vector<int32_t> ord{7};
  for (int v = 1; v <= 50; ++v) if (v != 7) ord.push_back(v);
  for (int k = 1; k <= 50; ++k) {
    bputi(m.A, m.L, m.L.VARORD, k, ord[(size_t)k - 1]);
    bputi(m.A, m.L, m.L.VARPOS, ord[(size_t)k - 1], k);
  }
  m.L.NFIXED = 1;
  m.L.NEXPVAR = 49;
  bputi(m.A, m.L, m.L.VARKND, 7, 4);
  m.setval(7, -3.25);
  const auto w = emitted(m, [](M& m) { x(m, 7); x(m, 9); m.op(OP_ADD); });
  ASSERT_EQ(w.size(), 5u);
  EXPECT_EQ(w[0], SC_PUSHNUM);
  EXPECT_EQ(m.pool().at((size_t)w[1]), -3.25);
  EXPECT_EQ(w[2], SC_PUSHVAR);
  EXPECT_EQ(w[3], 7);  // position 8 less the fixed one, from 0
  EXPECT_EQ(w[4], 1001);
}

bool arity_of_binary(int32_t op) {
  return op != OP_SIGN && op != OP_FLOOR && op != OP_LOG && op != OP_SQRT && op != OP_EXP && op != OP_LGM;
}

// Constant parts fold at generation: the value, or status 5 where the fold fails.
TEST(ScalarEmitter, FoldedValuesAndFailures) {
  const double big = 1e307;
  struct Fold { const char* name; double a, b; int32_t op; std::optional<double> want; };
  const std::vector<Fold> t = {
      {"(-2)^3", -2, 3, OP_POW, -8.0},      {"(-2)^2", -2, 2, OP_POW, 4.0},
      {"(-2)^0.5", -2, 0.5, OP_POW, {}},    {"0^2", 0, 2, OP_POW, 0.0},
      {"0^0", 0, 0, OP_POW, {}},            {"10^400", 10, 400, OP_POW, {}},
      {"10^-400", 10, -400, OP_POW, 0.0},   {"0.5^2000", 0.5, 2000, OP_POW, 0.0},
      {"2^10", 2, 10, OP_POWF, 1024.0},     {"wrap(0,3)", 0, 3, OP_WRAP, 3.0},
      {"wrap(4,3)", 4, 3, OP_WRAP, 1.0},    {"wrap(1,0)", 1, 0, OP_WRAP, {}},
      {"fpa(0,7)", 0, 7, OP_FPA, 7.0},      {"fpa(-1,7)", -1, 7, OP_FPA, {}},
      {"mod(7,3)", 7, 3, OP_MOD, 1.0},      {"mod(7,0)", 7, 0, OP_MOD, {}},
      {"7/0", 7, 0, OP_DIV, {}},            {"sign(0)", 1, 0, OP_SIGN, 0.0},
      {"floor(-2.7)", 1, -2.7, OP_FLOOR, -2.0}, {"floor(3e9)", 1, 3e9, OP_FLOOR, {}},
      {"log(0)", 1, 0, OP_LOG, {}},         {"sqrt(-1)", 1, -1, OP_SQRT, {}},
      {"exp(800)", 1, 800, OP_EXP, {}},     {"lgm(0)", 1, 0, OP_LGM, {}},
      {"pel(-1,2)", -1, 2, OP_PEL, {}},     {"big*big", big, big, OP_MUL, {}},
  };
  for (const Fold& f : t) {
    ScalarModel m;
    m.op(OP_BEGROW).op(OP_BEGCND);
    if (arity_of_binary(f.op)) m.num(f.a);
    m.num(f.b).op(f.op).op(OP_ENDCND).op(OP_ENDROW, 0);
    const int32_t st = m.emit();
    if (!f.want) {
      EXPECT_EQ(st, 5) << f.name;
      EXPECT_EQ(m.L.STKTOP, 1) << f.name;
      continue;
    }
    ASSERT_EQ(st, 0) << f.name;
    ASSERT_EQ(m.words().size(), 2u) << f.name;  // one PUSHNUM of the folded value
    EXPECT_EQ(m.pool().at(0), *f.want) << f.name;
  }
}

// A draw whose count lies past the sample size is certain: its value folds although the
// kernel reports saturation; arguments the kernel cannot take still fail.
TEST(ScalarEmitter, FoldedDrawsWithoutReplacementTestTheValue) {
  for (double x : {10.0, 3.0, -5.0}) {
    ScalarModel m;
    m.op(OP_BEGROW).op(OP_BEGCND).num(20).num(8).num(5).num(x).op(OP_PHG).op(OP_ENDCND).op(OP_ENDROW, 0);
    double want = 0, sat = 0;
    cumhyg_(20, 8, 5, x, want, sat);
    if (want <= -1e-30) {
      EXPECT_EQ(m.emit(), 5) << x;
      continue;
    }
    ASSERT_EQ(m.emit(), 0) << x;
    EXPECT_EQ(m.pool().at(0), want) << x;
    if (x == 10.0) {
      EXPECT_NE(sat, 0.0);
    }
  }
}

TEST(ScalarEmitter, RowsThatCannotBeEmittedEndWithAStatus) {
  struct Bad { const char* name; int32_t status; std::function<void(ScalarModel&)> f; };
  const std::vector<Bad> t = {
      {"text", SCST_UNSUPPORTED, [](M& m) { m.str("ab"); }},
      {"NOP (", SCST_UNSUPPORTED, [](M& m) { m.op(OP_NOPOPEN); }},
      {"PUSHZ 2", SCST_UNSUPPORTED, [](M& m) { m.op(OP_PUSHZ, 2); }},
      {"word 1070", SCST_UNSUPPORTED, [](M& m) { m.op(SC_BRACKET); x(m, 1); }},
      {"@DUAL", SCST_UNSUPPORTED, [](M& m) { x(m, 1); m.op(OP_DUAL); }},
      {"row reference", SCST_UNSUPPORTED, [](M& m) { m.op(OP_PUSHSR, 2, 0); }},
      {"21 nested loops", 3, [](M& m) { for (int k = 0; k < 21; ++k) m.op(OP_SETUP, 7); }},
      {"20 nested loops", SCST_UNSUPPORTED, [](M& m) { for (int k = 0; k < 20; ++k) m.op(OP_SETUP, 7); m.op(OP_DUAL); }},
      {"stack", 2, [](M& m) { m.op(OP_BEGCND); for (int k = 0; k < 513; ++k) m.num(1); }},
      {"condition without a value", SCST_UNSUPPORTED, [](M& m) { m.op(OP_IFGOTO, 2); }},
      {"jump back outside a loop", SCST_UNSUPPORTED, [](M& m) { x(m, 1); m.op(OP_GOTO, -3); }},
  };
  for (const Bad& b : t) {
    ScalarModel m;
    emitted(m, b.f, b.status);
  }
}

TEST(ScalarEmitter, ALoopBeyondTheIndexRegistersEndsWithStatus4) {
  ScalarModel m;
  m.op(OP_BEGROW).op(OP_SETUP, 3).op(OP_ENDROW, 0);
  m.install();
  int32_t e = 0, st = -1, one = 1;
  checkfreeins_(m.A, m.L, 8, e);
  m.L.IRCNT = 59;  // the row's own registers leave one free; the loop needs two
  exec_(m.A, m.L, one, MAXREQ, st);
  EXPECT_EQ(st, 4);
}

TEST(ScalarEmitter, UserFunctionAndBracketsKeepTheirOperandWords) {
  ScalarModel m;
  const auto w = emitted(m, [](M& m) {
    x(m, 1);
    x(m, 2);
    m.op(OP_USER, 2).op(OP_NOPCOMMA).op(OP_NOPCLOSE, 66).op(OP_SQR);
  });
  EXPECT_EQ(w, (std::vector<int32_t>{SC_PUSHVAR, 0, SC_PUSHVAR, 1, SC_USER, 2, SC_BRACKET, 2,
                                     SC_BRACKET, 1, SC_BRACKET, 66, SC_SQR}));
}

}  // namespace
