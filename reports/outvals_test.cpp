// Row-name information and pointer output on a solved model: rows removed by the structural
// analysis, the value table of several objects, the pointer service's answers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "generate/blk.h"
#include "language/lang.h"
#include "reports/exchange.h"
#include "reports/report_test_fixture.h"
#include "solver/solve_test_fixture.h"
#include "store/hooks.h"

namespace {

// CAP(A..D) fix X(A..D) once W(A..D) = 0 is known, so the analysis removes them; CAP(E) and
// T stay in the solver's model. Optimum: X = 10 20 30 40 42, W(E) = 8.
const char* kModel =
    "MODEL:\nSETS: S /A B C D E/: X, W; ENDSETS\nMAX = @SUM(S(I): X(I) + 2 * W(I));\n"
    "@FOR(S(I) | I #LE# 4: W(I) = 0);\n@FOR(S(I): [CAP] X(I) + W(I) = 10 * I);\n[T] W(5) <= 8;\n"
    "@FOR(S(I) | I #GT# 9: [NONE] X(I) <= 1);\nEND";

struct Solved : SolveSession {
  explicit Solved(int32_t dualco = 2) {
    text(kModel);
    L.DUALCO = dualco;
    go(0);
  }
  int32_t rowname(const char* n) {
    int32_t kind = 0, index = 0;
    std::string key(n);
    key.resize(32, ' ');
    fndnmm_(W, L, key.c_str(), kind, index);
    EXPECT_EQ(kind, 2) << n;
    return index;
  }
  std::string printed(std::function<void()> f) { return captured(f); }
};

// What the pointer service was handed last.
struct Received {
  int32_t ptrno = 0;
  std::vector<double> values;
  int32_t answer = 0;
};
Received received;
int32_t receiver(int32_t ptrno, int32_t n, const double* values) {
  received.ptrno = ptrno;
  received.values.assign(values, values + n);
  return received.answer;
}
struct Receiving {
  Receiving() {
    received = Received();
    setptrreceiver_(receiver);
  }
  ~Receiving() { setptrreceiver_(nullptr); }
};

TEST(RowNameInfo, RemovedRowsHaveNoRangesAndMarkTheResult) {
  Solved s;
  ASSERT_EQ(s.L.MODSTAT, 1);
  int32_t h[4] = {0, 0, 0, 0}, count = 0, cap = 0, st = -1;
  getrownameinfo_(s.W, s.L, s.rowname("CAP"), h[0], h[1], h[2], h[3], count, cap, st);
  EXPECT_EQ(st, 4);
  ASSERT_EQ(count, 5);
  EXPECT_EQ(cap, 5);  // shrunk to the count
  for (int32_t e = 1; e <= 4; ++e) {
    EXPECT_EQ(bgetd(s.W, s.L, h[2], e), 0.0) << e;
    EXPECT_EQ(bgetd(s.W, s.L, h[3], e), 0.0) << e;
  }
  EXPECT_GT(bgetd(s.W, s.L, h[2], 5), 0.0);  // CAP(E) was ranged by the solver
  for (int32_t& b : h) rlsblk_(s.L, b);
  cap = 0;

  // T alone: ranged, status 0; the 42 it may rise before W(E) falls to 0
  getrownameinfo_(s.W, s.L, s.rowname("T"), h[0], h[1], h[2], h[3], count, cap, st);
  EXPECT_EQ(st, 0);
  ASSERT_EQ(count, 1);
  EXPECT_NEAR(bgetd(s.W, s.L, h[2], 1), 42.0, 1e-7);
  EXPECT_NEAR(bgetd(s.W, s.L, h[3], 1), 8.0, 1e-7);
  for (int32_t& b : h) rlsblk_(s.L, b);
  cap = 0;

  // a row name without generated rows, and a number that is no row name
  getrownameinfo_(s.W, s.L, s.rowname("NONE"), h[0], h[1], h[2], h[3], count, cap, st);
  EXPECT_EQ(st, 0);
  EXPECT_EQ(count, 0);
  for (int32_t b : h) EXPECT_EQ(b, 0);
  getrownameinfo_(s.W, s.L, s.L.NROWNM + 1, h[0], h[1], h[2], h[3], count, cap, st);
  EXPECT_EQ(st, 1);
}

TEST(RowNameInfo, NoDualsWithoutDualComputation) {
  Solved s(0);
  int32_t h[4] = {0, 0, 0, 0}, count = 0, cap = 0, st = -1;
  getrownameinfo_(s.W, s.L, s.rowname("T"), h[0], h[1], h[2], h[3], count, cap, st);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(bgetd(s.W, s.L, h[1], 1), 0.0);
  EXPECT_EQ(bgetd(s.W, s.L, h[2], 1), 0.0);
  for (int32_t& b : h) rlsblk_(s.L, b);
}

TEST(RowNameInfo, MoreThan32SetIndicesIsRefused) {
  ReportFixture f;
  // row 2 (LAB) carries 33 set numbers and 33 member indices
  f.L.ROWIXS = f.ints({1, 1, 67, 67});
  int32_t h[4] = {0, 0, 0, 0}, count = 0, cap = 0, st = -1;
  getrownameinfo_(f.W, f.L, 1, h[0], h[1], h[2], h[3], count, cap, st);
  EXPECT_EQ(st, 3);
  EXPECT_EQ(count, 0);
}

TEST(PointerOutput, ValuesReachTheServiceInMemberOrder) {
  Solved s;
  Receiving r;
  struct Case {
    const char* name;
    int32_t type;
    std::vector<double> want;
  };
  const Case cases[] = {
      {"X", 4, {10, 20, 30, 40, 42}},
      {"T", 8, {0}},
      {"T", 10, {42}},
      {"CAP", 8, {0, 0, 0, 0, 0}},  // removed rows still have their slacks
      {"", -1, {0}},  // the status code of an optimal solve
  };
  for (const Case& c : cases) {
    int32_t st = -1;
    ptrput_(s.W, s.L, 7, c.name, c.type, st);
    EXPECT_EQ(st, 0) << c.name;
    EXPECT_EQ(received.ptrno, 7);
    ASSERT_EQ(received.values.size(), c.want.size()) << c.name;
    for (size_t k = 0; k < c.want.size(); ++k) EXPECT_NEAR(received.values[k], c.want[k], 1e-7) << c.name << k;
  }
}

TEST(PointerOutput, FailuresAndTheirStatuses) {
  Solved s;
  Receiving r;
  struct Case {
    const char* name;
    int32_t type;
    int32_t answer;  // of the pointer service
    int32_t status;
    const char* message;
  };
  const Case cases[] = {
      {"NOPE", 4, 0, 2, "Unrecognized variable name: NOPE"},
      {"X", 4, 1, 2, "Invalid @POINTER() index value:"},
      {"CAP", 10, 0, 5, "Range values were requested on a row that was"},
  };
  for (const Case& c : cases) {
    received.answer = c.answer;
    int32_t st = -1;
    std::string out = s.printed([&] { ptrput_(s.W, s.L, 3, c.name, c.type, st); });
    EXPECT_EQ(st, c.status) << c.name;
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
  }
  Solved p(0);
  int32_t st = -1;
  std::string out = p.printed([&] { ptrput_(p.W, p.L, 3, "X", 5, st); });
  EXPECT_EQ(st, 4);
  EXPECT_NE(out.find("Dual values were requested by an output function"), std::string::npos) << out;
}

TEST(PointerOutput, ObjectsOfOneStatementInterleaveByElement) {
  Solved s;
  int32_t block = 0, cap = 0, count = 0, st = 0;
  // X (5 elements) and T (1 element) as objects 1 and 2 of 2: places 2e - 1 and 2e
  ptrput2_(s.W, s.L, block, cap, "X", 4, 1, 2, count, st);
  EXPECT_EQ(count, 9);
  ptrput2_(s.W, s.L, block, cap, "T", 8, 2, 2, count, st);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(st, 0);
  int32_t other = 0, ocap = 0, ocount = 0;
  ptrput2_(s.W, s.L, other, ocap, "CAP", 8, 1, 1, ocount, st);  // removed rows, slacks asked
  EXPECT_EQ(st, 0);
  EXPECT_EQ(ocount, 5);
  ptrput2_(s.W, s.L, other, ocap, "CAP", 10, 1, 1, ocount, st);  // their ranges: message 141
  EXPECT_EQ(st, 4);
  rlsblk_(s.L, other);
  st = 0;
  const double want[10] = {10, 0, 20, 0, 30, 0, 40, 0, 42, 0};
  for (int32_t p = 1; p <= 10; ++p) EXPECT_NEAR(bgetd(s.W, s.L, block, p), want[p - 1], 1e-7) << p;
  // a dual while duals are off ends the object with its message; the status stays 0
  s.L.DUALCO = 0;
  std::string out = s.printed([&] { ptrput2_(s.W, s.L, block, cap, "X", 5, 1, 2, count, st); });
  EXPECT_EQ(st, 0);
  EXPECT_NE(out.find("Dual values were requested"), std::string::npos);
  rlsblk_(s.L, block);
}

TEST(PointerOutput, AStatementOfTheDataSectionHandsItsTableOver) {
  Receiving r;
  SolveSession s;
  std::string t = kModel;
  t.insert(t.rfind("END"), "DATA:\n@POINTER(5) = X, T;\n@POINTER(6) = @STATUS();\n@POINTER(7) = W;\nENDDATA\n");
  s.text(t);
  received.answer = 0;
  std::string out = s.go(0);
  EXPECT_EQ(out.find("Error Code"), std::string::npos) << out;
  // the last statement's values; then the first statement alone, rows of X and T
  EXPECT_EQ(received.ptrno, 7);
  EXPECT_EQ(received.values, (std::vector<double>{0, 0, 0, 0, 8}));
  s.text(t.substr(0, t.find("@POINTER(6)")) + "ENDDATA\nEND");
  s.go(0);
  EXPECT_EQ(received.ptrno, 5);
  EXPECT_EQ(received.values, (std::vector<double>{10, 0, 20, 0, 30, 0, 40, 0, 42, 0}));
}

}  // namespace
