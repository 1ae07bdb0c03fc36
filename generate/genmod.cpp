// The generation driver: compiles the stored model text statement by statement, lists the sets
// and the code when tracing, and builds the sets.
#include <algorithm>
#include <cstdio>
#include <string>
#include "language/compiler.h"
#include "language/lang.h"
#include "language/reader.h"
#include "generate/genmod.h"

// Records the code of a compiled statement in the statement list; false when no storage.
static bool record_statement(Work& W, MasterRecord& L, int32_t from) {
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

// Compiles the model and builds its sets; true when the model text compiled.
static bool compile_model(Work& W, MasterRecord& L) {
  int32_t st = 0;
  shutfi_(L);
  initfi_(L);
  cinit_(W, L, st);
  if (st) {
    errmsh_(W, L, 0);
    return false;
  }
  L.TEXTPOS = 0;
  // a text that begins with "MODEL:" is compiled from after it
  int32_t total = iget(W, L, L.LINEIX, L.MODLINES + 1) - 1;
  static const char KMAWDL[] = "MODEL:";
  int32_t k = 0;
  while (k < 6 && k < total && kshift_(cget(W, wbyte(L.START[L.TEXTBLK]) + k)) == KMAWDL[k]) ++k;
  if (k == 6) L.TEXTPOS = 6;
  L.TEXTLINE = 0;
  L.SRCLINE = 1;
  if (L.STMTCAP > 0) iput(W, L, L.STMTIX, 1, 1);
  int32_t state = 1;
  for (;;) {
    if (L.TRACELV > 1) outline(L, " BEGIN COMPILATION AT BUFFPTR, NUMINS: " + std::to_string(L.SCANPOS) + " " +
                                      std::to_string(L.CODELEN));
    int32_t before = L.CODELEN, errarg = 0, nerr = 0;
    if (L.SYNTAX != 0) cmpexpbrk_(W, L, state, errarg, nerr);
    else cmpexpqrn_(W, L, state, errarg, nerr);
    if (L.TRACELV > 1)
      outline(L, " BACK FROM COMPILER, NERR, NUMINS, VARS= " + std::to_string(nerr) + " " +
                     std::to_string(L.CODELEN) + " " + std::to_string(L.NSCALAR + L.VARTOP));
    if (nerr > 0) {
      if (nerr < CMPERR_REPORTED) {
        L.ERRARG = errarg;
        errmsh_(W, L, nerr + 10);
      }
      cinit_(W, L, st);
      return false;
    }
    if (nerr == 0 && L.CODELEN > before && !record_statement(W, L, before + 1)) {
      errmsh_(W, L, 0);
      cinit_(W, L, st);
      return false;
    }
    if (nerr < 0 || state == 15) break;
    if (sbpeek_(W, L) == ' ' && !textleft(W, L)) break;
  }
  if (L.TRACELV > 1) outline(L, " COMPILATION COMPLETE...");
  if (L.TRACELV > 0) {
    shoset_(W, L);
    shoins_(W, L);
  }
  if (L.BIGCNT > 0) {
    L.ERRARG = L.BIGCNT;
    L.ERRDBL = L.BIGNUM;
    errmsh_(W, L, 234);
  }
  if (L.CHKDUP == 1) {
    if (L.TRACELV > 1) outline(L, "CHECK FOR DUPE NAMES...");
    chkdup_(W, L);
  }
  for (int32_t s = 1; s <= L.NSETS; ++s) {
    if (L.TRACELV > 1) outline(L, " ALLOCATE SET: " + namestr(W, L, L.KSNAME, s));
    L.SETMSG = 0;
    allocset_(W, L, s, st);
    if (st) {
      if (!L.SETMSG) {
        L.ERRARG2 = s;
        errmsh_(W, L, 177);
      }
      return false;
    }
  }
  return true;
}

// The generation driver. Generation proper comes later; for now the model is compiled, its
// sets are built, and the listings are printed when tracing.
int32_t genmod_(Work& W, MasterRecord& L) {
  if (L.MODLINES < 1) {
    errmsh_(W, L, 5);
    return QFALSE;
  }
  L.SHOWPOS = 1;  // errors in the model text show the line and a caret
  compile_model(W, L);
  return QFALSE;
}
