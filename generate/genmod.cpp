// The generation driver: decides whether the model generated last time can be kept, else
// compiles the model text statement by statement, allocates the sets, slides the attribute
// variables down, asks for open values, runs the structural analysis and orders the
// variables (fixed, explicit, parameters) for the loader.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>
#include "generate/analysis.h"
#include "generate/blk.h"
#include "generate/scalar.h"
#include "generate/genmod.h"
#include "store/phasetime.h"
#include "language/compiler.h"
#include "language/lang.h"
#include "language/reader.h"
#include "session/modeltext.h"
#include "session/params.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/upcalls.h"
#include "store/store.h"

namespace {
// The generation-critical options by parameter number, in list order.
constexpr int32_t glbl19_[11] = {10, P_CHKDUP, P_USEPNM, P_USEQPR, P_LNRISE, P_LNBIGM,
                                 P_LNDLTA, P_SUBOUT, P_MULTIS, P_GLOBAL, P_UNARYM};

// A trace line: the text and each number after a blank, built only when traces are on.
template <class... N>
void trace(MasterRecord& L, std::string_view s, N... nums) {
  if (L.TRACELV <= 1) return;
  std::string line = " ";
  line += s;
  ((line += ' ', line += std::to_string(nums)), ...);
  outline(L, line);
}

// Polls for an interrupt or the time limit; true (after its message) when generation must stop.
bool stopped(Work& W, MasterRecord& L) {
  int32_t st = 0;
  stsgn2_(L, 0, st);
  if (st == 1) errmsh_(W, L, 90);
  if (st == 2) errmsh_(W, L, 135);
  return st != 0;
}

// The message of a failed CALC statement; false always.
bool calcfail(Work& W, MasterRecord& L, int32_t c, int32_t line) {
  // running out of storage and an arithmetic fault have messages of their own
  int32_t m = c == 3 ? 62
              : c == 6 ? 77
              : c >= 1 && c <= 12 ? c + 63
              : c == 13       ? 85
              : c == 14       ? 135
              : c == 15       ? 147
              : c == 16       ? 87
              : c == 17       ? 75
              : c == 18       ? 225
              : c == 145      ? 226
                              : 172;
  if (c == 18) L.ERRARG = line;
  errmsh_(W, L, m);
  return false;
}

// Runs a statement of a CALC section at once and takes it back out of the code.
bool runcalc(Work& W, MasterRecord& L, int32_t before, int32_t line) {
  SymResult res;
  int32_t st = 0;
  symxec_(W, L, L.STMTCNT, 1, 1, res, st);
  if (st != 0) return calcfail(W, L, st, line);
  L.STMTCNT -= 1;
  L.CODELEN = before;
  return true;
}

// Compiles the model text; false after its message.
bool compile_model(Work& W, MasterRecord& L) {
  int32_t total = bgeti(W, L, L.LINEIX, L.MODLINES + 1) - 1;
  static const char KMAWDL[] = "MODEL:";
  int32_t k = 0;
  while (k < 6 && k < total && kshift_(cget(W, wbyte(L.START[L.TEXTBLK]) + k)) == KMAWDL[k]) ++k;
  L.TEXTPOS = k == 6 ? 6 : 0;
  L.TEXTLINE = 0;
  L.SRCLINE = 1;
  int32_t st = 0;
  for (int32_t state = 1;;) {
    trace(L, "BEGIN COMPILATION AT BUFFPTR, NUMINS:", L.SCANPOS, L.CODELEN);
    int32_t before = L.CODELEN, errarg = 0, nerr = 0;
    if (L.SYNTAX != 0) cmpexpbrk_(W, L, state, errarg, nerr);
    else cmpexpqrn_(W, L, state, errarg, nerr);
    trace(L, "BACK FROM COMPILER, NERR, NUMINS, VARS=", nerr, L.CODELEN, L.NSCALAR + L.VARTOP);
    if (nerr <= 0 && stopped(W, L)) return false;
    if (nerr > 0) {
      if (nerr < CMPERR_REPORTED) {
        L.ERRARG = errarg;
        errmsh_(W, L, nerr + 10);
      }
      cinit_(W, L, st);
      return false;
    }
    if (nerr == 0 && L.CODELEN > before) {
      trace(L, "HAVE A NEW EXPRESSION, NUMEXP=", L.STMTCNT + 1);
      if (!recordstatement_(W, L, before + 1)) {
        errmsh_(W, L, 0);
        return false;
      }
      if (L.CALCON & 1 && L.GENSTOP != 1 && !runcalc(W, L, before, errarg)) return false;
    }
    if (nerr < 0 || state == 15) break;
    if (sbpeek_(W, L) == ' ' && !textleft(W, L)) break;
  }
  trace(L, "COMPILATION COMPLETE...");
  if (L.BIGCNT > 0) {
    L.ERRARG = L.BIGCNT;
    L.ERRDBL = L.BIGNUM;
    errmsh_(W, L, 234);
  }
  for (int32_t s = 1; s <= L.NSETS; ++s) {
    trace(L, "ALLOCATE SET: " + namestr(W, L, L.KSNAME, s));
    L.SETMSG = 0;
    allocset_(W, L, s, st);
    if (st) {
      if (!L.SETMSG) {
        L.ERRARG2 = s;
        errmsh_(W, L, 177);
      }
      return false;
    }
    trace(L, "NUMBER OF VARS:", L.NSCALAR + L.VARTOP);
  }
  trace(L, "FINAL VAR COUNT, SC, VC, TTL:", L.NSCALAR, L.VARTOP, L.NVARS);
  return !stopped(W, L);
}

// The sets and code listed when tracing, and the check for duplicate names.
void listings(Work& W, MasterRecord& L) {
  if (L.TRACELV > 0) {
    shoset_(W, L);
    shoins_(W, L);
    blankl_(L, L.OUTUNIT, 1);
  }
  if (L.CHKDUP == 1) {
    trace(L, "CHECK FOR DUPE NAMES...");
    chkdup_(W, L);
  }
}

// Moves the attribute variables from the top of the per-variable arrays down behind the
// scalar variables and sizes every per-variable array to the variable count.
bool slide_variables(Work& W, MasterRecord& L) {
  int32_t sc = L.NSCALAR, vc = L.VARTOP, cap = L.VARCAP, ttl = sc + vc;
  int32_t js = vc > 0 ? cap - vc - sc : 0;
  trace(L, "SLIDE VECTORS DOWN IN MEM, FROM, TO:", cap - vc + 1, sc + 1);
  if (js > 0) {
    // entries cap - vc + 1 .. cap go to sc + 1 .. sc + vc, one block move per array
    for (int32_t h : {L.VARFIX, L.VARKND, L.VARINT})
      movblk_(W, (int64_t)L.START[h] + sc, (int64_t)L.START[h] + (cap - vc), vc);
    for (int32_t h : {L.VARVAL, L.VARRDC})
      movblk_(W, (int64_t)L.START[h] + 2LL * sc, (int64_t)L.START[h] + 2LL * (cap - vc), 2LL * vc);
    trace(L, "ADJUSTING ARRAY PTRS, JSLIDE:", js);
    for (int32_t s = 1; s <= L.NSETS; ++s) {
      int32_t v = bgeti(W, L, L.INANTR, s);
      if (v > 0) bputi(W, L, L.INANTR, s, v - js);
    }
  }
  L.JSLIDE = std::max(js, 0);
  int32_t n = std::max(ttl, 1), st = 0;
  setvarblocks_(W, L, n, st);
  if (st) return false;
  L.VARCAP = n;
  L.NVARS = ttl;
  for (int32_t* h : {&L.VARLB, &L.VARUB}) {
    int32_t c = n;
    setblk_(6, c, W, L, *h, st);
    if (st) return false;
  }
  for (int32_t* h : {&L.VARORD, &L.VARPOS}) {
    int32_t c = n;
    setblk_(2, c, W, L, *h, st);
    if (st) return false;
  }
  for (int32_t i = 1; i <= ttl; ++i) {
    bputi(W, L, L.VARORD, i, i);
    bputi(W, L, L.VARPOS, i, i);
    bputd(W, L, L.VARUB, i, L.BIGNUM);
    bputd(W, L, L.VARLB, i, 0.0);
    bputd(W, L, L.VARRDC, i, 0.0);
  }
  return true;
}

// The message of the structural analysis' result; true when generation goes on.
bool analysis_result(Work& W, MasterRecord& L, int32_t c, bool& full) {
  full = false;
  if (c == 0) return true;
  if (c > 20) {  // a set used before it was built, or code the analysis cannot run
    errmsh_(W, L, struckmsg_(c));
    full = true;
    return false;
  }
  if (c <= 14) {
    errmsh_(W, L, c + 61);
    if (c + 61 == 72 && L.ERRARG4 > 0) errmsh_(W, L, 86);
    if (c + 61 == 66) return true;
    full = true;
    return false;
  }
  if (c == 16) {
    errmsh_(W, L, 135);
    return true;
  }
  errmsh_(W, L, c == 15 ? 85 : c == 17 ? 147 : c == 18 ? 87 : c == 19 ? 75 : 225);
  return false;
}

// Keeps in each row's variable list only the fixed variables, rebuilding the row starts.
void separate_fixed(Work& W, MasterRecord& L) {
  trace(L, "SEPARATING EXP & FIXED COL LISTS...");
  if (L.ROWVST <= 0 || L.ROWVAR <= 0 || L.VARPOS <= 0) return;
  int32_t kept = 0, a = bgeti(W, L, L.ROWVST, 1);
  for (int32_t r = 1; r <= L.NROWS; ++r) {
    int32_t b = bgeti(W, L, L.ROWVST, r + 1);
    bputi(W, L, L.ROWVST, r, kept + 1);
    for (int32_t k = a; k < b; ++k) {
      int32_t v = bgeti(W, L, L.ROWVAR, k);
      if (v >= 1 && v <= L.NVARS && bgeti(W, L, L.VARPOS, v) <= L.NFIXED) bputi(W, L, L.ROWVAR, ++kept, v);
    }
    a = b;
  }
  bputi(W, L, L.ROWVST, L.NROWS + 1, kept + 1);
  int32_t n = std::max(kept, 1), st = 0;
  setblk_(2, n, W, L, L.ROWVAR, st);
  for (int32_t p = 1; p <= L.NFIXED; ++p) bputd(W, L, L.VARRDC, bgeti(W, L, L.VARORD, p), 0.0);
}

// Orders the variables after the fixed ones: explicit variables in order of appearance,
// then the parameters (kinds 5 and 6) in reverse order.
bool permute_params(Work& W, MasterRecord& L) {
  trace(L, "PERMUTING PARAMS TO END OF VAR LISTS...");
  L.NEXPVAR = L.NPARVAR = 0;
  int32_t n = L.NVARS - L.NFIXED;
  if (n <= 0) return true;
  std::vector<int32_t> list((size_t)n);
  int32_t front = 0, back = n;
  for (int32_t p = L.NFIXED + 1; p <= L.NVARS; ++p) {
    int32_t v = bgeti(W, L, L.VARORD, p), kind = bgeti(W, L, L.VARKND, v);
    if (kind == 5 || kind == 6) {
      list[(size_t)--back] = v;
      ++L.NPARVAR;
    } else {
      list[(size_t)front++] = v;
      ++L.NEXPVAR;
    }
  }
  for (int32_t k = 0; k < n; ++k) {
    int32_t p = L.NFIXED + 1 + k, v = list[(size_t)k];
    bputi(W, L, L.VARORD, p, v);
    bputi(W, L, L.VARPOS, v, p);
  }
  return true;
}
}  // namespace

// True when an option of the list or the custom library parameters changed.
int32_t criticalgenoptschanged_(const MasterRecord& L) {
  if (L.APICHG & 1) return QTRUE;
  for (int32_t j = 1; j <= glbl19_[0]; ++j) {
    int32_t p = glbl19_[j];
    int32_t kind = paramdef(p).kind;
    if (kind == PKIND_INT && L.IPVAL[p] != L.CRITI[j - 1]) return QTRUE;
    if (kind == PKIND_REAL && L.RPVAL[p] < L.CRITD[j - 1]) return QTRUE;
    if (kind == PKIND_REAL && L.RPVAL[p] > L.CRITD[j - 1]) return QTRUE;
  }
  return QFALSE;
}

// Stores the current value of every critical option.
void savecriticalgenopts_(Work&, MasterRecord& L) {
  loadpvector_(L);
  for (int32_t j = 1; j <= glbl19_[0]; ++j) {
    int32_t p = glbl19_[j];
    if (paramdef(p).kind == PKIND_INT) L.CRITI[j - 1] = L.IPVAL[p];
    else if (paramdef(p).kind == PKIND_REAL) L.CRITD[j - 1] = L.RPVAL[p];
  }
}

void genend_(Work&, MasterRecord& L) {
  shutfi_(L);
  initfi_(L);
  brbremv_();
  windoz_();
}

void genfail_(Work& W, MasterRecord& L) {
  rlsblk_(L, L.GENCPY);
  L.GENLEN = 0;
  int32_t st = 0;
  cinit_(W, L, st);
  recovr_(W, L);
  L.NFIXED = L.NEXPVAR = L.NPARVAR = L.OBJROW = 0;
  genend_(W, L);
}

// The compile steps of the generation driver alone: the previous model is released, the
// text compiled and the sets allocated; true when that succeeded.
int32_t gencompile_(Work& W, MasterRecord& L) {
  L.GENSTOP = 1;
  L.GENCPY > 0 ? rlsblk_(L, L.GENCPY) : void();
  L.GENLEN = 0;
  int32_t r = genmod_(W, L);
  L.GENSTOP = 0;
  L.GENLOADP = 0;
  return r;
}

// The generation driver (see genmod.h).
int32_t genmod_(Work& W, MasterRecord& L) {
  L.GENLOADP = 0;
  getime_(L.GENTIME);
  if (L.MODLINES < 1) {
    errmsh_(W, L, 5);
    return QFALSE;
  }
  L.SHOWPOS = 1;  // errors in the model text show the line and a caret
  if (L.GLOBAL == 1 && L.LNRISE > 1) errmsh_(W, L, 206);
  if (L.MREGEN != 2) {
    loadpvector_(L);
    if (L.GENCPY > 0 && qtest(criticalgenoptschanged_(L))) rlsblk_(L, L.GENCPY);
    if (L.LOWMEM > 0) rlsblk_(L, L.GENCPY);
    if (L.GENCPY > 0) {
      bool same = qtest(compare_(W, L, L.GENCPY, L.GENLEN)) && (L.MREGEN == 0 || L.NRUNTM <= 0);
      if (same) {
        trace(L, "MODELS COMPARE ... SKIPPING MODEL GENERATION...");
        genend_(W, L);
        return QTRUE;
      }
      rlsblk_(L, L.GENCPY);
      L.GENLEN = 0;
    } else {
      L.GENLEN = 0;
    }
    trace(L, "BEGIN MODEL GENERATION...");
  }
  clrsolvetime_(L);
  if (stopped(W, L)) return genfail_(W, L), QFALSE;
  // a new model: every block of the previous one goes back to the store first
  brbupdt_(" Compiling model ...");
  recovr_(W, L);
  L.NFIXED = L.NEXPVAR = L.NPARVAR = L.OBJROW = 0;
  L.SLVROWS = L.SLVCOLS = L.SLVINT = L.NINTVAR = L.NLVARS = L.NLROWS = L.QPFLAG = 0;
  if (upcalls_().freematrix) upcalls_().freematrix(L);
  L.GENLOADP = -1;  // past the skip decision: the library's model object is replaced
  savecriticalgenopts_(W, L);
  int32_t st = 0;
  cinit_(W, L, st);
  if (st) {
    errmsh_(W, L, 0);
    return genfail_(W, L), QFALSE;
  }
  L.APICHG = QFALSE;
  shutfi_(L);
  initfi_(L);
  if (L.STMTCAP > 0) bputi(W, L, L.STMTIX, 1, 1);
  L.STMTCNT = 0;
  L.CODELEN = 0;
  phasetime_("generation starts");
  if (!compile_model(W, L)) return genfail_(W, L), QFALSE;
  phasetime_("compiled");
  if (L.GENSTOP == 1) {
    listings(W, L);
    return genend_(W, L), QTRUE;
  }
  trace(L, "FREEING UP UNUSED COMPILATION SPACE...");
  if (L.CODELEN > 0) {
    int32_t n = L.CODELEN;
    setblk_(2, n, W, L, L.CODEBLK, st);
    if (st == 0) L.CODECAP = n;
  }
  if (!slide_variables(W, L)) {
    errmsh_(W, L, 0);
    return genfail_(W, L), QFALSE;
  }
  if (L.VREF1N > 0) {
    int32_t err = 0;
    getrti_(W, L, 1, err);
    rlsblk_(L, L.VREF1);
    L.VREF1N = L.VREF1CAP = 0;
    if (err) return genfail_(W, L), QFALSE;
  }
  listings(W, L);
  trace(L, "CALL STRUCTURAL ANALYZER...");
  int32_t c = 0;
  phasetime_("variables laid out");
  struck_(W, L, c);
  phasetime_("analysed");
  trace(L, "BACK FROM STRUCTURAL ANALYZER, NERR:", c);
  trace(L, "FIXED VARIABLE COUNT:", L.NFIXED);
  bool full = false;
  if (!analysis_result(W, L, c, full)) {
    if (full) genfail_(W, L);
    else genend_(W, L);
    return QFALSE;
  }
  trace(L, "FREEING UP UNUSED CONSTRAINT SPACE...");
  setrowblocks_(W, L, L.NROWS + 1, st);
  L.ROWCAP = L.NROWS + 1;
  for (int32_t* h : {&L.ROWSLK, &L.ROWDUL}) {
    int32_t c = L.NROWS + 1;
    if (st == 0) setblk_(6, c, W, L, *h, st);
    for (int32_t r = 1; st == 0 && r <= c; ++r) bputd(W, L, *h, r, 0.0);
  }
  if (st) {
    errmsh_(W, L, 0);
    return genfail_(W, L), QFALSE;
  }
  separate_fixed(W, L);
  if (!permute_params(W, L)) {
    errmsh_(W, L, 0);
    genend_(W, L);
    return QFALSE;
  }
  if (stopped(W, L)) return genfail_(W, L), QFALSE;
  trace(L, "FINAL EXPLICIT VAR COUNT:", L.NEXPVAR);
  trace(L, "FINAL EXPLICIT ROW COUNT:", L.NROWS - L.NFIXED);
  trace(L, "CALL MATRIX GENERATOR...");
  L.GENLOADP = 1;
  return QTRUE;
}

// Records the code of a compiled statement in the statement list; false when no storage.
bool recordstatement_(Work& W, MasterRecord& L, int32_t from) {
  if (L.STMTCNT + 2 > L.STMTCAP) {
    int32_t want = std::max(2 * L.STMTCAP, 64), st = 0;
    setblk_(2, want, W, L, L.STMTIX, st);
    if (st) return false;
    L.STMTCAP = want;
  }
  L.STMTCNT += 1;
  bputi(W, L, L.STMTIX, L.STMTCNT, from);
  bputi(W, L, L.STMTIX, L.STMTCNT + 1, L.CODELEN + 1);
  return true;
}
