// A compiled model ready for the analysis: compiled statement by statement as the
// generation driver does (CALC statements run at once with the symbolic executor), sets
// built, the attribute variables moved down behind the scalar ones, default bounds.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "generate/analysis.h"
#include "generate/rows.h"
#include "generate/analysis_prep.h"
#include "language/lang_test_fixture.h"

struct Analysed : FrontFixture {
  int32_t calcstatus = 0;  // symxec_ status of a failed CALC statement
  int32_t status = -1;     // struck_ status
  std::string printed;     // what the analysis printed

  // Compiles the model text; false on a compile error or a failed CALC statement.
  bool build(const std::string& t) {
    text(t);
    testing::internal::CaptureStdout();
    const bool ok = compileforanalysis(W, L, calcstatus);
    std::fflush(stdout);
    printed = testing::internal::GetCapturedStdout();
    if (ok) slideforanalysis(W, L);
    return ok;
  }
  // Runs the analysis; returns its status.
  int32_t analyse() {
    testing::internal::CaptureStdout();
    struck_(W, L, status);
    std::fflush(stdout);
    printed += testing::internal::GetCapturedStdout();
    return status;
  }

  // Number of scalar variable `name`, or of element k (1-based) of attribute `name`.
  int32_t var(const char* name, int32_t k = 0) {
    char nm[33];
    std::snprintf(nm, sizeof nm, "%-32s", name);
    int32_t kind = 0, idx = 0;
    fndnmm_(W, L, nm, kind, idx);
    if (k == 0) return idx;
    const int32_t owner = iget(W, L, L.IDOWNR, idx);
    const int32_t a = idx - iget(W, L, L.LASTUB, owner) + 1;
    const int32_t na = iget(W, L, L.LASTUB, owner + 1) - iget(W, L, L.LASTUB, owner);
    return iget(W, L, L.INANTR, owner) + (k - 1) * na + a - 1;
  }
  double value(int32_t v) { return bgetd(W, L, L.VARVAL, v); }
  int32_t kind(int32_t v) { return bgeti(W, L, L.VARKND, v); }
  int32_t fixpass(int32_t v) { return bgeti(W, L, L.VARFIX, v); }

};
