// The symbolic executor and the linearity check on hand-built instruction streams.
#include <gtest/gtest.h>

#include "generate/analysis.h"
#include "generate/eval_test_fixture.h"
#include "generate/rows.h"
#include "generate/xshared.h"
#include "store/store.h"

namespace {

// The evaluation model with variable kinds and fixing passes: variables 1..50 unknown,
// except 7 (a value from DATA).
struct SymModel : EvalModel {
  SymRun run;
  SymModel() {
    L.VARKND = iblock(std::vector<int32_t>(50, 0));
    L.VARFIX = iblock(std::vector<int32_t>(50, UNFIXED));
    L.VARINT = iblock(std::vector<int32_t>(50, 0));
    bputi(A, L, L.VARKND, 7, VK_DEFINED);
    bputi(A, L, L.VARFIX, 7, 0);
    L.NROWS = 0;
    L.ROWCAP = 0;
  }
  // Makes the assembled code the model's code block.
  void load() {
    int32_t n = (int32_t)c.size() + 1, st = 0;
    setblk_(2, n, A, L, code, st);
    for (size_t k = 0; k < c.size(); ++k) bputi(A, L, code, (int64_t)k + 1, c[k]);
    L.CODEBLK = code;
    L.CODELEN = (int32_t)c.size();
  }
  // Runs the assembled code symbolically: flags 1 a generation run.
  int32_t runsym(int32_t flags, int32_t pass = 1) {
    load();
    run.flags = flags;
    run.pass = pass;
    if (!(flags & 1) && run.marks == 0) {
      run.marks = iblock(std::vector<int32_t>(50, 0));
      run.rowvars = iblock({0});
    }
    xecutes_(A, L, 1, L.CODELEN, run, status);
    return status;
  }
};

}  // namespace

TEST(Xecutes, InstructionsItCannotRunEndTheRunNotTheProgram) {
  for (int32_t op : std::vector<int32_t>{1070, OP_DUAL, OP_STATUS, OP_WRITEFOR, OP_PUSHSETN, OP_RIM, OP_CLASS, 17, -18}) {
    SymModel m;
    m.op(OP_BEGROW).num(1).op(op, 1).op(OP_ENDROW, RT_LE);
    testing::internal::CaptureStdout();
    EXPECT_EQ(m.runsym(0), XBADOP) << op;
    EXPECT_NE(testing::internal::GetCapturedStdout().find("ILLEGAL OP CODE"), std::string::npos) << op;
  }
}

TEST(Xecutes, OutcomesOfShortStreams) {
  struct Case {
    const char* name;
    std::function<void(SymModel&)> code;
    int32_t flags, status;
  };
  const Case cases[] = {
      {"32 @FOR levels", [](SymModel& m) { for (int k = 0; k < 31; ++k) m.op(OP_BEGFOR); }, 0, 0},
      {"33 @FOR levels", [](SymModel& m) { for (int k = 0; k < 32; ++k) m.op(OP_BEGFOR); }, 0, 13},
      {"an attribute of a set not built", [](SymModel& m) { m.num(1).op(OP_PUSHS, 1, 6); }, 0, 9},
      {"@IN of a set not built", [](SymModel& m) { m.num(1).op(OP_IN, 6); }, 0, 9},
      {"a text as a number", [](SymModel& m) { m.str("AB").num(1).op(OP_ADD); }, 0, 4},
      {"two objectives", [](SymModel& m) {
         m.op(OP_BEGROW).op(OP_PUSHV, 1).op(OP_ENDROW, RT_MAX).op(OP_BEGROW).op(OP_PUSHV, 2).op(OP_ENDROW, RT_MIN);
       }, 0, 15},
      {"an element that does not exist, used by a row", [](SymModel& m) {
         m.op(OP_BEGROW).num(9).op(OP_PUSHS, 1, 1).op(OP_ENDROW, RT_LE);
       }, 0, 2},
      {"a division by zero in a CALC row", [](SymModel& m) {
         m.op(OP_BEGROW).op(OP_PUSHV, 1).num(1).num(0).op(OP_DIV).op(OP_SUB).op(OP_ENDROW, RT_EQ);
       }, 1, 5},
      {"a division by zero in a CALC branch not taken", [](SymModel& m) {
         m.op(OP_BEGROW).op(OP_PUSHV, 1).num(1).num(4).num(1).num(0).op(OP_DIV).op(OP_IF).op(OP_SUB).op(OP_ENDROW, RT_EQ);
       }, 1, 0},
      {"a division by zero in an analysis row", [](SymModel& m) {
         m.op(OP_BEGROW).op(OP_PUSHV, 1).num(1).num(0).op(OP_DIV).op(OP_SUB).op(OP_ENDROW, RT_EQ);
       }, 0, 0},
      {"a bound in CALC", [](SymModel& m) { m.op(OP_BEGROW).op(OP_PUSHV, 1).op(OP_GIN).op(OP_ENDROW, RT_BOUND); }, 1, 18},
      {"bounds the wrong way round", [](SymModel& m) {
         m.op(OP_BEGROW).num(5).op(OP_PUSHV, 1).num(1).op(OP_BND).op(OP_ENDROW, RT_BOUND);
       }, 0, 12},
  };
  for (const Case& c : cases) {
    SymModel m;
    c.code(m);
    EXPECT_EQ(m.runsym(c.flags), c.status) << c.name;
  }
}

TEST(Xecutes, BareVariablesAndDefinitions) {
  // x alone stays the variable itself; negated or scaled it is an expression
  SymModel m;
  m.op(OP_PUSHV, 3).op(OP_PUSHV, 4).op(OP_NEGATE).num(2).op(OP_PUSHV, 5).op(OP_MUL).op(OP_PUSHV, 7);
  EXPECT_EQ(m.runsym(0), 0);
  ASSERT_EQ(m.L.STKTOP, 4);
  EXPECT_EQ(m.L.STKTAG[1], 3);
  EXPECT_EQ(m.L.STKTAG[2], 0);
  EXPECT_EQ(m.L.STKTAG[3], 0);
  EXPECT_EQ(m.L.STKTAG[4], -1);  // known: from DATA
  EXPECT_EQ(m.L.STKVAL[4], 107);
  // CALC: x - 5 = 0 fixes x to 5 at once, with the first fixing pass
  SymModel d;
  d.op(OP_BEGROW).op(OP_PUSHV, 2).num(5).op(OP_SUB).op(OP_ENDROW, RT_EQ);
  EXPECT_EQ(d.runsym(1), 0);
  EXPECT_EQ(bgetd(d.A, d.L, d.L.VARVAL, 2), 5);
  EXPECT_EQ(bgeti(d.A, d.L, d.L.VARKND, 2), VK_DEFINED);
  EXPECT_EQ(bgeti(d.A, d.L, d.L.VARFIX, 2), 0);
}

TEST(Xecutes, AnalysisRowRecordsItsVariablesAndIndexWords) {
  // @FOR(A(I): [R] X(I) + Y(2) >= 1) over set 1 (members 1..3), X = attribute 1 of set 1
  SymModel m;
  m.op(OP_BEGFOR).op(OP_SETUP, 1);
  const int32_t next = m.here();
  m.op(OP_GETNEXT, 0);
  m.op(OP_BEGROW).op(OP_ROWNAME, 1).op(OP_PUSHX, 1).op(OP_PUSHS, 1, 1).op(OP_PUSHV, 2).op(OP_ADD).op(OP_PUSHV, 2);
  m.op(OP_ADD).num(1).op(OP_SUB).op(OP_ENDROW, RT_GE);
  m.op(OP_GOTO, next - m.here() - 1);
  m.c[next] = m.here() - next - 1;  // the exit offset of GETNEXT
  m.op(OP_POPSET).op(OP_ENDFOR);
  ASSERT_EQ(m.runsym(0), 0);
  ASSERT_EQ(m.L.NROWS, 3);
  for (int32_t r = 1; r <= 3; ++r) {
    EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWTYPES, r), RT_GE);
    EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWRNM, r), 1);
    EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWSTP, r), 9);  // after the ROWNAME operand
    // index words: the set of the register, then the member
    const int32_t s = bgeti(m.A, m.L, m.L.ROWIXS, r);
    EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWIXS, r + 1) - s, 2);
    EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWIXW, s), 1);
    EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWIXW, s + 1), r);
    // variables: X(r) and Y once
    const int32_t v = bgeti(m.A, m.L, m.L.ROWVST, r);
    ASSERT_EQ(bgeti(m.A, m.L, m.L.ROWVST, r + 1) - v, 2);
    EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWVAR, v), 9 + r);
    EXPECT_EQ(bgeti(m.A, m.L, m.L.ROWVAR, v + 1), 2);
    EXPECT_EQ(rowregs(m.A, m.L, r), 1);
    EXPECT_EQ(m.L.IREG[1], r);
  }
  // a re-run of the statement in pass 2 generates nothing new
  m.run = SymRun{};
  EXPECT_EQ(m.runsym(0, 2), 0);
  EXPECT_EQ(m.L.NROWS, 3);
}

TEST(Lincheck, InstructionsItCannotRunEndTheCheck) {
  for (int32_t op : std::vector<int32_t>{1070, OP_PUSHSTR, OP_DUAL, OP_RIM, OP_PUSHSR}) {
    SymModel m;
    m.op(OP_BEGROW).op(OP_PUSHV, 1).op(op, 1).op(OP_ENDROW, RT_LE);
    m.load();
    int32_t st = 0;
    grwrow_(m.A, m.L, 4, st);
    m.L.NROWS = 1;
    bputi(m.A, m.L, m.L.ROWSTP, 1, 1);
    bputi(m.A, m.L, m.L.ROWIXS, 1, 1);
    bputi(m.A, m.L, m.L.ROWIXS, 2, 1);
    int32_t res = -1;
    xecute_lincheck_(m.A, m.L, 1, 1, res);
    EXPECT_EQ(res, XBADOP) << op;
  }
}
