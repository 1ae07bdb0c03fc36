// A compiled small model with a solution put in place by hand, for the reports' tests:
//   SETS: S /A B/: X;  MAX = 20*P + 30*Q + @SUM(S: X);  [LAB] P + 2*Q <= 120;  P <= 60;
// Variables P, Q, X( A), X( B); rows 1 (objective), LAB, 3.
#pragma once
#include <string>
#include <vector>
#include "generate/blk.h"
#include "language/lang_test_fixture.h"
#include "reports/reports.h"
#include "session/modeltext.h"

struct ReportFixture : FrontFixture {
  int32_t xa = 0, xb = 0;  // the variables X( A) and X( B)
  ReportFixture() {
    text("MODEL:\nSETS: S /A B/: X; ENDSETS\nMAX = 20*P + 30*Q + @SUM(S: X);\n"
         "[LAB] P + 2*Q <= 120;\nP <= 60;\nEND");
    go(0);
    L.NVARS = L.VARCAP;
    xa = iget(W, L, L.INANTR, 1);
    xb = xa + 1;
    int32_t n = L.VARCAP + 1, st = 0;
    setblk_(6, n, W, L, L.VARRDC, st);
    rows(3);
    L.OBJROW = 1;
    L.ZEROTOL = 1e-9;
    L.DUALCO = 1;
    L.DUALOK = QTRUE;
    L.SOLKND = 1;
    solved();
  }
  // n unnamed rows with sense 1; row 2 is named LAB.
  void rows(int32_t n) {
    L.NROWS = n;
    int32_t m = n + 2, st = 0;
    setblk_(6, m, W, L, L.ROWSLK, st);
    setblk_(6, m, W, L, L.ROWDUL, st);
    setblk_(2, m, W, L, L.ROWSNS, st);
    setblk_(2, m, W, L, L.ROWRNM, st);
    for (int32_t r = 1; r <= n; ++r) {
      bputi(W, L, L.ROWSNS, r, 1);
      bputi(W, L, L.ROWRNM, r, r == 2 ? 1 : 0);
    }
  }
  // Marks the solution as that of the current text.
  void solved() {
    L.MODSTAT = 1;
    L.HAVESOL = QTRUE;
    savmod_(W, L, L.SOLCPY, L.SOLLEN);
  }
  void var(int32_t v, double value, double rc) {
    bputd(W, L, L.VARVAL, v, value);
    bputd(W, L, L.VARRDC, v, rc);
  }
  void row(int32_t r, double slack, double dual) {
    bputd(W, L, L.ROWSLK, r, slack);
    bputd(W, L, L.ROWDUL, r, dual);
  }
  // A real block of n elements holding the values.
  int32_t reals(const std::vector<double>& v) {
    int32_t h = 0, n = (int32_t)v.size() + 1, st = 0;
    setblk_(6, n, W, L, h, st);
    for (size_t i = 0; i < v.size(); ++i) bputd(W, L, h, (int64_t)i + 1, v[i]);
    return h;
  }
  int32_t ints(const std::vector<int32_t>& v) {
    int32_t h = 0, n = (int32_t)v.size() + 1, st = 0;
    setblk_(2, n, W, L, h, st);
    for (size_t i = 0; i < v.size(); ++i) bputi(W, L, h, (int64_t)i + 1, v[i]);
    return h;
  }
};

// Runs a report and returns what it printed.
template <class F>
std::string printed(F&& f) {
  testing::internal::CaptureStdout();
  f();
  return testing::internal::GetCapturedStdout();
}

inline std::string sp(int n) { return std::string((size_t)n, ' '); }
