// Routines the solver library calls back while it loads and solves: the generation and
// solve callbacks, the simple callback, the user-function callback, and the integer and
// linear progress logs that the solve callback writes to standard output.
#include <cstdio>
#include <cstring>

#include "generate/eval.h"
#include "session/params.h"
#include "solver/solver.h"
#include "store/hooks.h"
#include "store/io.h"

namespace {
MasterRecord& master(void* user) { return *static_cast<MasterRecord*>(user); }

// The callbacks' answer to the library: non-zero stops it, on request or after Ctrl-C.
int stopanswer(MasterRecord& L) {
  int32_t intr = 0;
  userinterrupt_(intr);
  if (intr != 0) L.CBINTR = 1;
  return -L.CBINTR;
}
}  // namespace

// Loading progress: the generation counts, the value and the stage.
int quircallbackgen_(BRmodel* model, int location, void* user) {
  MasterRecord& L = master(user);
  windoz_();
  if (model != modelptr_(L.MODELHANDLE)) return 0;
  int32_t v = 0;
  if (FBRGETCALLBACKINFOI_(model, location, 1801, v) == 0) L.CBGEN[0] = v - L.SLDUMMY < 0 ? 0 : v - L.SLDUMMY;
  for (int32_t k = 1; k < 4; ++k)
    if (FBRGETCALLBACKINFOI_(model, location, 1801 + k, v) == 0) L.CBGEN[k] = v;
  double d = 0.0;
  if (FBRGETCALLBACKINFOD_(model, location, 1800, d) == 0) L.CBGENVAL = d;
  brbupdt_();
  L.CBSTAGE = location == 7 ? 1 : location == 8 ? 2 : location == 9 ? 3 : 0;
  watsupgen_();
  L.CBSTAGE = 0;
  return stopanswer(L);
}

// Solve progress: the callback record, the debug line and the progress log.
int quircallbacksolve_(BRmodel* model, int location, void* user) {
  MasterRecord& L = master(user);
  L.CBSOLVER = L.SLVUSE;
  int32_t i = 0;
  double d = 0.0;
  if (FBRGETQUICKBACKINFOI_(model, location, 1705, i) == 0) {
    L.CBSTATUS = i;
    L.MODSTAT = i;
  }
  if (FBRGETQUICKBACKINFOI_(model, location, 1703, i) == 0) L.CBITER = i;
  if (FBRGETQUICKBACKINFOD_(model, location, 1701, d) == 0) L.CBINFEAS = d;
  if (L.OBJROW > 0 && FBRGETQUICKBACKINFOD_(model, location, 1700, d) == 0) L.CBOBJ = d;
  switch (L.SLVUSE) {
    case 1:
    case 2:
    case 3:
      if (FBRGETQUICKBACKINFOI_(model, location, 1707, i) == 0) L.CBSTEPS = i;
      if (FBRGETQUICKBACKINFOD_(model, location, 1702, d) == 0) L.CBBEST = d;
      if (FBRGETQUICKBACKINFOD_(model, location, 1704, d) == 0) L.CBBOUND = d;
      if (L.SLVUSE != 2 && FBRGETQUICKBACKINFOI_(model, location, 1708, i) == 0) L.CBACTIVE = i;
      break;
    case 5: {
      int32_t item = 1854;
      if (BRgetInfo(model, item, &i) == 0) L.CBSTEPS = i;
      if (BRgetInfo(model, 1853, &i) == 0) L.CBACTIVE = i;
      if (FBRGETQUICKBACKINFOD_(model, location, 1704, d) == 0) L.CBBOUND = d;
      if (FBRGETQUICKBACKINFOD_(model, location, 1702, d) == 0) L.CBBEST = d;
      break;
    }
    default:
      L.CBBEST = L.CBBOUND = 0.0;
      L.CBSTEPS = L.CBACTIVE = -1;
      break;
  }
  if (L.CBCLASS == 1 && L.MODCLS > 0) L.CBOBJ = L.CBBEST;
  nwatsupc_();
  if (L.TRACELV > 0) {
    int32_t s = L.CBSTATUS >= 1 && L.CBSTATUS <= 14 ? L.CBSTATUS : 12;
    char f[4][32], line[256];
    fmtgen_(L.CBOBJ, 9, 3, f[0]);
    fmtgen_(L.CBINFEAS, 9, 3, f[1]);
    fmtgen_(L.CBBEST, 9, 3, f[2]);
    fmtgen_(L.CBBOUND, 9, 3, f[3]);
    std::snprintf(line, sizeof line, " itr:%7d stp:%6d act:%6d sts: %.16s obj:%s inf:%s bst:%s bnd:%s",
                  L.CBITER, L.CBSTEPS, L.CBACTIVE, KSTATUS[s - 1], f[0], f[1], f[2], f[3]);
    lprint_(L, L.OUTUNIT, line, (int32_t)std::strlen(line));
  }
  // a re-solve adds nothing to the log of the solve that asked for it
  if (L.LOGOFF & 1) return -L.CBINTR;
  if (L.SLVUSE == 3) WRITEMIPLOG_(model, location, &L.LOGTAB[0][0]);
  else if (L.SLVUSE != 1) WRITELPLOG_(model, location, &L.LOGTAB[0][0]);
  return stopanswer(L);
}

// Installed while solutions and ranges are read: yields and never stops the library.
int quircallbacksimple_(BRmodel*, int, void*) {
  windoz_();
  return 0;
}

// The user function: @USER evaluated for the library.
static int userinstruct(BRmodel*, int nargs, double* args, void* user, double* result) {
  *result = user_(master(user), nargs, args);
  return 0;
}

// Registers the user function with the model.
int32_t SETUSERINSTRUCTCALLBACK_(int32_t& model, MasterRecord* user) {
  return BRsetUsercalc(modelptr_(model), userinstruct, user);
}

// One line of the integer progress log (location 5 only).
int32_t WRITEMIPLOG_(BRmodel* model, int32_t location, int32_t* log) {
  if (location != 5) return 0;
  int32_t status = 0, event = 0, kind = 0, lps = 0, it[3] = {}, progress = 0, nodes = 0, cuts = 0;
  double best = 0.0, bound = 0.0;
  FBRGETMIPCALLBACKINFOI_(model, 1300, status);
  FBRGETMIPCALLBACKINFOI_(model, 1307, event);
  if (event == 1) FBRGETMIPCALLBACKINFOI_(model, 1310, kind);
  bool hasobj = status == 1 || status == 5;
  if (hasobj) FBRGETMIPCALLBACKINFOD_(model, 1301, best);
  FBRGETMIPCALLBACKINFOI_(model, 1308, lps);
  for (int32_t k = 0; k < 3; ++k) FBRGETMIPCALLBACKINFOI_(model, 1303 + k, it[k]);
  FBRGETMIPCALLBACKINFOI_(model, 1306, progress);
  FBRGETMIPCALLBACKINFOI_(model, 1309, nodes);
  FBRGETMIPCALLBACKINFOD_(model, 1302, bound);
  FBRGETMIPCALLBACKINFOI_(model, 1312, cuts);
  if (event != 1 && event != 11 && (int64_t)progress - log[1] < 25) return 0;
  log[1] = progress;
  if (log[0] % 25 == 0) {
    std::printf("\n%8s %6s %13s %13s %8s %6s\n\n", "Iters", it[2] != 0 ? "N/LPs" : "LPs",
                "Best Bound", "Best Obj", "Nodes", "Cuts");
    std::fflush(stdout);
  }
  uint32_t iters = (uint32_t)it[0] + (uint32_t)it[1] + (uint32_t)it[2];
  if (hasobj) {
    char mark[16] = "";
    if (event == 1) {
      static const char* marks[] = {"(*)", "(*)", "(*K)", "(*SB)", "(*SRH)", "(*T)", "(*C)", "(*AH)", "(*AB)", ""};
      int32_t a = kind < 0 ? -kind : kind;
      std::strcpy(mark, a >= 2 && a <= 9 ? marks[a] : "(*)");
      size_t n = std::strlen(mark);
      if (kind < 0 && n > 0) {  // a hyphen before the closing parenthesis
        mark[n - 1] = '-';
        mark[n] = ')';
        mark[n + 1] = 0;
      }
    } else if (event == 11) {
      std::strcpy(mark, "(CP)");
    }
    std::printf("%8u %6u %+13.4e %+13.4e %8u %6u %s\n", iters, (uint32_t)lps, bound, best,
                (uint32_t)nodes, (uint32_t)cuts, mark);
  } else {
    std::printf("%8u %6u %+13.4e %13s %8u %6u\n", iters, (uint32_t)lps, bound, "", (uint32_t)nodes,
                (uint32_t)cuts);
  }
  std::fflush(stdout);
  log[0] += 1;
  return 0;
}

// One line of the linear and nonlinear progress log.
int32_t WRITELPLOG_(BRmodel* model, int32_t location, int32_t* log) {
  int32_t n1 = 0, n2 = 0;
  BRgetInfo(model, 1208, &n1);
  BRgetInfo(model, 1207, &n2);
  bool nonlinear = n1 + n2 > 0;
  char letter = 0;
  if (!nonlinear && location >= 0 && location <= 2) letter = "PDB"[location];
  if (nonlinear && location == 4) letter = 'N';
  if (!letter) return 0;
  if (log[0] % 25 == 0) {
    std::printf("\n%8s  %18s  %18s\n\n", "Iters", "Objective", "Infeasibility");
    log[0] += 1;
  }
  int32_t a = 0, b = 0, c = 0;
  FBRGETCALLBACKINFOI_(model, location, 1260, a);
  FBRGETCALLBACKINFOI_(model, location, 1259, b);
  FBRGETCALLBACKINFOI_(model, location, 1261, c);
  int64_t iters = (int64_t)a + b + c;
  if (iters - log[1] < 25) {
    std::fflush(stdout);
    return 0;
  }
  double pobj = 0, dobj = 0, pinf = 0, dinf = 0;
  FBRGETCALLBACKINFOD_(model, location, 1251, pobj);
  FBRGETCALLBACKINFOD_(model, location, 1252, dobj);
  FBRGETCALLBACKINFOD_(model, location, 1253, pinf);
  FBRGETCALLBACKINFOD_(model, location, 1254, dinf);
  double obj = pobj, inf = pinf;
  if (letter == 'D') obj = dobj, inf = dinf;
  if (letter == 'B') obj = (pobj + dobj) / 2, inf = (pinf + dinf) / 2;
  std::printf("%8u  %+18.8e  %18.8e (%c)\n", (uint32_t)iters, obj, inf, letter);
  std::fflush(stdout);
  log[1] = (int32_t)iters;
  log[0] += 1;
  return 0;
}
