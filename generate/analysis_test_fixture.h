// A compiled model ready for the analysis: compiled statement by statement as the
// generation driver does (CALC statements run at once with the symbolic executor), sets
// built, the attribute variables moved down behind the scalar ones, default bounds.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "generate/analysis.h"
#include "generate/rows.h"
#include "language/compiler.h"
#include "language/lang_test_fixture.h"
#include "language/reader.h"

struct Analysed : FrontFixture {
  int32_t calcstatus = 0;  // symxec_ status of a failed CALC statement
  int32_t status = -1;     // struck_ status
  std::string printed;     // what the analysis printed

  // Compiles the model text; false on a compile error or a failed CALC statement.
  bool build(const std::string& t) {
    text(t);
    testing::internal::CaptureStdout();
    const bool ok = compile();
    std::fflush(stdout);
    printed = testing::internal::GetCapturedStdout();
    if (ok) slide();
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

 private:
  bool record(int32_t from) {
    if (L.STMTCNT + 2 > L.STMTCAP) {
      int32_t want = std::max(2 * L.STMTCAP, 64), st = 0;
      setblk_(2, want, W, L, L.STMTIX, st);
      if (st) return false;
      L.STMTCAP = want;
    }
    L.STMTCNT += 1;
    iput(W, L, L.STMTIX, L.STMTCNT, from);
    iput(W, L, L.STMTIX, L.STMTCNT + 1, L.CODELEN + 1);
    return true;
  }
  bool compile() {
    int32_t st = 0;
    shutfi_(L);
    initfi_(L);
    cinit_(W, L, st);
    L.SHOWPOS = 1;
    L.TEXTPOS = 0;
    L.TEXTLINE = 0;
    L.SRCLINE = 1;
    int32_t state = 1;
    for (;;) {
      int32_t before = L.CODELEN, errarg = 0, nerr = 0;
      cmpexpqrn_(W, L, state, errarg, nerr);
      if (nerr > 0) return false;
      if (L.CODELEN > before) {
        if (!record(before + 1)) return false;
        if (L.CALCON == 1) {
          // a CALC statement runs now and is taken back out
          SymResult res;
          symxec_(W, L, L.STMTCNT, 1, 1, res, st);
          if (st != 0) {
            calcstatus = st;
            return false;
          }
          L.STMTCNT -= 1;
          L.CODELEN = before;
        }
      }
      if (nerr < 0 || state == 15) break;
      if (sbpeek_(W, L) == ' ' && !textleft(W, L)) break;
    }
    for (int32_t s = 1; s <= L.NSETS; ++s) {
      allocset_(W, L, s, st);
      if (st) return false;
    }
    return true;
  }
  // Moves the attribute variables down behind the scalars; bounds 0 and BIG.
  void slide() {
    const int32_t sc = L.NSCALAR, vc = L.VARTOP, cap = L.VARCAP, js = cap - vc - sc;
    for (int32_t k = 1; k <= vc && js > 0; ++k) {
      const int32_t from = cap - vc + k, to = sc + k;
      for (int32_t h : {L.VARKND, L.VARFIX, L.VARINT}) bputi(W, L, h, to, bgeti(W, L, h, from));
      bputd(W, L, L.VARVAL, to, bgetd(W, L, L.VARVAL, from));
    }
    for (int32_t s = 1; s <= L.NSETS && js > 0; ++s) {
      const int32_t v = iget(W, L, L.INANTR, s);
      if (v > 0) iput(W, L, L.INANTR, s, v - js);
    }
    L.NVARS = sc + vc;
    int32_t n = std::max(L.NVARS, 1), st = 0;
    setblk_(6, n, W, L, L.VARLB, st);
    n = std::max(L.NVARS, 1);
    setblk_(6, n, W, L, L.VARUB, st);
    for (int32_t v = 1; v <= L.NVARS; ++v) {
      bputd(W, L, L.VARLB, v, 0.0);
      bputd(W, L, L.VARUB, v, L.BIGNUM);
    }
  }
};
