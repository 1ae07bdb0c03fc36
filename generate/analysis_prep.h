// What the generation driver does to a stored model text before the analysis, for the
// tests and benchmarks of the analysis: compile statement by statement (a CALC statement
// runs at once with the symbolic executor and is taken back out), build the sets, move the
// attribute variables down behind the scalar ones, and give every variable the bounds 0
// and BIG.
#pragma once
#include <algorithm>

#include "generate/analysis.h"
#include "generate/genmod.h"
#include "generate/rows.h"
#include "language/compiler.h"
#include "language/lang.h"
#include "language/reader.h"

// Compiles the stored model and builds its sets; false on a compile error or a failed
// CALC statement (its symxec_ status in calcstatus).
inline bool compileforanalysis(Work& W, MasterRecord& L, int32_t& calcstatus) {
  int32_t st = 0;
  calcstatus = 0;
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
      if (!recordstatement_(W, L, before + 1)) return false;
      if (L.CALCON == 1) {
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
inline void slideforanalysis(Work& W, MasterRecord& L) {
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
