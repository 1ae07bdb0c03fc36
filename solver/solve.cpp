// The solve driver behind GO, GEN, SMPS, STATS, PICTURE and SMPI, and one solve in the
// solver library: parameters, start point, method, status, values, duals and ranges.
#include <algorithm>
#include <cstring>
#include <vector>

#include "language/reader.h"
#include "session/modeltext.h"
#include "session/session.h"
#include "generate/scalar.h"
#include "solver/reporthooks.h"
#include "solver/solver.h"
#include "store/hooks.h"
#include "store/phasetime.h"
#include "store/io.h"
#include "store/phasetime.h"
#include "store/store.h"
#include "store/upcalls.h"

// Forgets what the library holds of the model: the saved text copy, the solver-side
// counts and the matrix copy.
void clearsolvermodel_(Work& W, MasterRecord& L) {
  rlsblk_(L, L.GENCPY);
  L.GENLEN = 0;
  L.SLVROWS = L.SLVCOLS = L.SLVINT = 0;
  L.NINTVAR = L.NLVARS = L.NLROWS = L.QPFLAG = 0;
  L.GENFLAG = 0;
  freematrix_(L);
}

namespace {
// Reports a library failure of the named routine by message 191 and drops the status.
void libfail(Work& W, MasterRecord& L, const char* name, int32_t code) {
  std::strcpy(L.ERRSTR, name);
  L.ERRARG = code;
  errmsh_(W, L, 191);
  L.MODSTAT = 12;
}

// The duals of the rows that the structural analysis solved, from the solver rows' duals
// through the rows' partial derivatives. False when an interrupt ended the computation.
bool fixedduals(Work& W, MasterRecord& L, double sense) {
  int32_t F = L.NFIXED, rmap = rowixmap_(L), vmap = varixmap_(L), vpos = varposlist_(L);
  if (rmap <= 0 || vmap <= 0 || vpos <= 0 || L.ROWVST <= 0 || L.ROWVAR <= 0) return true;
  auto dual = [&](int32_t row) { return DGET_(W, L.START[L.ROWDUL], row); };
  auto setdual = [&](int32_t row, double v) { DPUT_(W, L.START[L.ROWDUL], row, v); };
  // row start list (ROWVST) and row variable list (ROWVAR): the fixed variables of each row
  auto vars = [&](int32_t row, int32_t& a, int32_t& b) {
    a = IGET_(W, L.START[L.ROWVST], row);
    b = IGET_(W, L.START[L.ROWVST], row + 1);
  };
  auto poll = [&]() {
    int32_t st = 0;
    stsgn2_(L, 0, st);
    return st == 0 && L.CBINTR == 0;
  };
  // the partial derivative of a row by one variable; the row's value at the point is taken
  // once per row (baserow) and reused, since every variable is put back after its quotient
  int32_t baserow = 0;
  double base = 0.0;
  auto partial = [&](int32_t row, int32_t x, double& d, int32_t& st) {
    if (baserow != row) {
      double aux = 0.0;
      int32_t sb = 0;
      gcomp2_(W, L, row, base, sb, aux);
      baserow = sb == 0 ? row : 0;
      if (sb != 0) {
        st = 1;
        return;
      }
    }
    cmprtlat_(W, L, row, x, base, d, st);
  };
  brbupdt_(" Computing duals, step 1 ...");
  setdual(L.OBJROW, (L.MODSTAT == 3 || L.MODSTAT == 9) ? 0.0 : -sense);
  for (int32_t r = F + 1; r <= L.NROWS; ++r) {
    int32_t R = IGET_(W, L.START[rmap], r), a = 0, b = 0;
    vars(R, a, b);
    double y = dual(R);
    for (int32_t k = a; k < b; ++k) {
      int32_t x = IGET_(W, L.START[L.ROWVAR], k);
      double d = 0.0;
      int32_t st = 0;
      partial(R, x, d, st);
      if (!poll()) return false;
      if (st) continue;
      int32_t K = IGET_(W, L.START[rmap], IGET_(W, L.START[vpos], x));
      setdual(K, dual(K) - d * y);
    }
  }
  brbupdt_(" Computing duals, step 2 ...");
  for (int32_t k = F; k >= 1; --k) {
    int32_t K = IGET_(W, L.START[rmap], k), v = IGET_(W, L.START[vmap], k), st = 0, a = 0, b = 0;
    double d = 0.0;
    partial(K, v, d, st);
    if (!poll()) return false;
    double yk = (st == 0 && d != 0.0) ? dual(K) / d : L.BIGNUM;
    setdual(K, yk);
    vars(K, a, b);
    for (int32_t e = a; e < b; ++e) {
      int32_t x = IGET_(W, L.START[L.ROWVAR], e);
      if (x == v) continue;
      double d2 = 0.0;
      partial(K, x, d2, st);
      if (!poll()) return false;
      if (st) continue;
      int32_t J = IGET_(W, L.START[rmap], IGET_(W, L.START[vpos], x));
      // the same balance as step 1: the stored duals are already turned for the sense
      setdual(J, dual(J) - d2 * yk);
    }
  }
  return true;
}
}  // namespace

// One solve of the loaded model; result that of removing the callback at the end.
int32_t solveit_(Work& W, MasterRecord& L) {
  resetsolverstatus_(L);
  L.RTASK2 = 0;
  // values within this of zero (the solver's rounding noise) print as zero
  if (L.ZEROTOL <= 0.0) L.ZEROTOL = 1e-12;
  int32_t M = L.MODELHANDLE;
  bool runops = L.QUIETLV == 0;  // a nested quiet solve leaves the output operations to its caller
  std::vector<double> vals, duals;
  auto finish = [&]() {
    L.CBSOLVING = 0;
    return FBRSETCALLBACK_(M, nullptr, nullptr);
  };
  auto outputs = [&]() {
    if (runops) {
      if (auto f = reporthooks_().outputops) f(W, L);
      shutfi_(L);
      initfi_(L);
    }
    brbremv_();
    stsmem_();
    return finish();
  };
  if (L.SLVROWS <= 0 && L.SLVCOLS <= 0) {
    // nothing was loaded: every row was solved by the analysis
    L.MODSTAT = L.MODSTAT2 = 5;
    sumline_(L, "   Feasible solution found.");
    printiterations_(W, L);
    L.PRIMOK = L.DUALOK = QTRUE;
    savmod_(W, L, L.SOLCPY, L.SOLLEN);
    L.HAVESOL = QTRUE;
    brbremv_();
    return outputs();
  }
  L.MODSTAT = 12;
  L.PRIMOK = L.DUALOK = QFALSE;
  int32_t nv = 0, nc = 0, d[6];
  int32_t r = FBRGETDIMENSIONS_(M, nv, nc, d[0], d[1], d[2], d[3], d[4], d[5]);
  if (r != 0) libfail(W, L, "BRgetDimensions", r);
  if (L.MODLINES == 0) return finish();
  int32_t poll = 0;
  stsgn2_(L, 0, poll);
  if (poll == 1 || poll == 2) {
    errmsh_(W, L, poll == 1 ? 90 : 135);
    return outputs();
  }
  if (L.VREF2N > 0) {
    // start values left to be asked. An empty answer abandons the command: nothing is
    // solved, so no solution is claimed and no output operation writes its files; the
    // list stays for the next solve.
    int32_t err = 0;
    getrti_(W, L, 2, err);
    if (err) {
      L.RTASK2 = 1;
      L.HAVESOL = QFALSE;
      rlsblk_(L, L.SOLCPY);
      L.SOLLEN = 0;
      return finish();
    }
    rlsblk_(L, L.VREF2);
    L.VREF2N = L.VREF2CAP = 0;
    L.HASSTART = 1;
  }
  savmod_(W, L, L.SOLCPY, L.SOLLEN);
  L.OBJSNS = 0;
  if (L.OBJROW > 0 && L.ROWTYPES > 0) L.OBJSNS = IGET_(W, L.START[L.ROWTYPES], L.OBJROW) / 2 == 1 ? 1 : 0;
  double turn = L.OBJSNS == 1 ? -1.0 : 1.0;
  passparamstoapi_(W, L);
  passapisetparams_(W, L);
  int32_t st = 0;
  passpointtoapi_(W, L, st);
  if (st) {
    errmsh_(W, L, 0);
    L.MODSTAT = 12;
    clearsolvermodel_(W, L);
    return outputs();
  }
  if (L.TRACELV > 0) {
    int32_t fmt = 1;
    FBRWRITEMPSFILE_(M, "quirn.mps", fmt);
    FBRWRITEBRESKFILE_(M, "quirn.bkx");
    FBRWRITEMPIFILE_(M, "quirn.mpi");
  }
  r = FBRSETCALLBACK_(M, quircallbacksolve_, &L);
  if (r > 0) libfail(W, L, "BRsetCallback", r);
  // method: integer or continuous, global or multistart for a nonlinear model
  bool integer = L.SLVINT > 0;
  L.SLVUSE = integer ? 3 : 4;
  if (L.NLVARS > 0) {
    if (L.GLOBAL > 0) L.SLVUSE = 1;
    else if (L.MULTIS > 1) L.SLVUSE = integer ? 3 : 2;
    else if (L.MULTIS == 0 && !integer && nv <= 5) L.SLVUSE = 2;
  }
  brbupdt_(" Solving model ...");
  L.INTRPTD = QFALSE;
  if (!integer) {
    int32_t method = L.NLVARS > 0 ? 0 : L.SOLVEL;
    bool gop = L.NLVARS > 0 && L.SLVUSE == 1;
    phasetime_("solve starts");
    r = gop ? FBRSOLVEGOP_(M) : FBROPTIMIZE_(M, method);
    updatefinalsolutionstatus_(L);
    L.INTRPTD = userinterrupted_(r);
    if (r != 0) {
      if (qtest(L.INTRPTD)) {
        errmsh_(W, L, 95);
      } else if (r == 2018) {
        errmsh_(W, L, 198);
        L.MODSTAT = 12;
        clearsolvermodel_(W, L);
        return outputs();
      } else {
        libfail(W, L, gop ? "BRsolveGOP" : "BRoptimize", r);
      }
    }
    int32_t sol = 0;
    r = FBRGETSOLUTIONSTATUS_(M, sol);
    if (r == 0 && (L.MODSTAT == 3 || L.MODSTAT == 4) && sol == 13) {
      // proved infeasible or unbounded without solution vectors: once more without reduction
      if (L.QUIETLV == 0) {
        L.QUIETLV += 1;
        L.LOGOFF = QTRUE;
        solvequiet_(W, L);
        L.LOGOFF = QFALSE;
        L.QUIETLV -= 1;
        if ((r = setmodelstatus_(L)) != 0) libfail(W, L, "BRgetInfoI", r);
        r = FBRGETSOLUTIONSTATUS_(M, sol);
      }
      if (r != 0 || sol == 13) {
        errmsh_(W, L, 172);
        return finish();
      }
    }
    int32_t item = 1251;
    if ((r = FBRGETINFOD_(M, item, L.OBJVAL)) != 0) libfail(W, L, "BRgetInfo", r);
    int32_t ms = 0;
    item = 1255;
    if ((r = FBRGETINFOI_(M, item, ms)) != 0) libfail(W, L, "BRgetInfoI", r);
    // the result summary names the row that failed to evaluate
    if (L.MODSTAT == 11) return outputs();
  } else {
    bool gop = L.SLVUSE == 1;
    r = gop ? FBRSOLVEGOP_(M) : FBRSOLVEMIP_(M);
    updatefinalsolutionstatus_(L);
    int32_t rc = FBRSETCALLBACK_(M, nullptr, nullptr);
    if (rc != 0) libfail(W, L, "BRsetCallback", rc);
    L.INTRPTD = userinterrupted_(r);
    if (r != 0) {
      if (qtest(L.INTRPTD)) errmsh_(W, L, 95);
      else libfail(W, L, gop ? "BRsolveGOP" : "BRsolveMIP", r);
    }
    int32_t s = 0;
    double bound = 0.0;
    if ((r = FBRGETCURRENTMIPSOLUTIONINFO_(M, s, L.OBJVAL, bound)) != 0)
      libfail(W, L, "BRgetCurrentMipSolutionInfo", r);
  }
  phasetime_("solved");
  // values, reduced costs, slacks and duals
  int32_t keep = L.MODSTAT;
  updatefinalsolutionstatus_(L);
  if (L.MODSTAT == 12 && keep != 12) L.MODSTAT = L.MODSTAT2 = keep;  // a reported failure stays
  if ((r = FBRGETDIMENSIONS_(M, nv, nc, d[0], d[1], d[2], d[3], d[4], d[5])) != 0)
    libfail(W, L, "BRgetDimensions", r);
  vals.assign((size_t)std::max(nv, nc + 1) + 1, 0.0);
  duals.assign(vals.size(), 0.0);
  if ((r = FBRSETCALLBACK_(M, quircallbacksimple_, &L)) != 0) libfail(W, L, "BRsetCallback", r);
  bool wantd = L.DUALCO > 0;
  if (!integer) {
    L.PRIMOK = FBRGETPRIMALSOLUTION_(M, vals.data()) == 0 ? QTRUE : QFALSE;
    L.DUALOK = wantd && FBRGETREDUCEDCOSTS_(M, duals.data()) == 0 ? QTRUE : QFALSE;
  } else {
    if (FBRGETMIPSOLUTION_(M, vals.data()) == 0) {
      L.PRIMOK = QTRUE;
    } else {
      L.PRIMOK = QFALSE;
      L.OBJVAL = 0.0;
    }
    L.DUALOK = QFALSE;
    if (wantd && qtest(L.PRIMOK)) {
      FBRSETCALLBACK_(M, nullptr, nullptr);
      brbupdt_("Running dual solver ...");
      L.DUALOK = FBRGETMIPREDUCEDCOSTS_(M, duals.data()) == 0 ? QTRUE : QFALSE;
    }
  }
  if (!qtest(L.DUALOK)) zerooutd_(duals.data(), (int32_t)duals.size());
  int32_t vmap = varixmap_(L);
  for (int32_t i = 1; i <= L.NEXPVAR && i <= nv; ++i) {
    int32_t var = i;
    if (i <= L.NVARS - L.NFIXED && vmap > 0) var = IGET_(W, L.START[vmap], i + L.NFIXED);
    if (var < 1 || var > L.NVARS) continue;
    DPUT_(W, L.START[L.VARVAL], var, vals[(size_t)(i - 1)]);
    if (L.VARRDC > 0) DPUT_(W, L.START[L.VARRDC], var, turn * duals[(size_t)(i - 1)]);
  }
  zerooutd_(vals.data(), (int32_t)vals.size());
  zerooutd_(duals.data(), (int32_t)duals.size());
  bool slk = false, dok = qtest(L.DUALOK);
  if (!integer) {
    slk = qtest(L.PRIMOK) && FBRGETSLACKS_(M, vals.data()) == 0;
    if (wantd) dok = dok && FBRGETDUALSOLUTION_(M, duals.data()) == 0;
  } else {
    slk = FBRGETMIPSLACKS_(M, vals.data()) == 0;
    if (wantd && dok) {
      brbupdt_("Running dual solver ...");
      dok = FBRGETMIPDUALS_(M, duals.data()) == 0;
    } else {
      dok = false;
    }
  }
  L.DUALOK = dok ? QTRUE : QFALSE;
  if (!dok) zerooutd_(duals.data(), (int32_t)duals.size());
  if (!slk) zerooutd_(vals.data(), (int32_t)vals.size());
  int32_t rmap = rowixmap_(L);
  if (L.ROWSLK > 0 && L.ROWDUL > 0) {
    for (int32_t k = 1; k <= L.NFIXED && k <= L.NROWS; ++k) {
      int32_t row = rmap > 0 ? IGET_(W, L.START[rmap], k) : k;
      DPUT_(W, L.START[L.ROWDUL], row, 0.0);
    }
    for (int32_t lr = 0; lr < nc - L.SLDUMMY; ++lr) {
      int32_t row = apirndx2qrnndx_(W, L, lr);
      if (row < 1 || row > L.NROWS) continue;
      DPUT_(W, L.START[L.ROWSLK], row, vals[(size_t)lr]);
      DPUT_(W, L.START[L.ROWDUL], row, turn * duals[(size_t)lr]);
    }
    if (L.OBJROW > 0 && L.NFIXED >= 1 && (L.DUALCO == 1 || L.DUALCO == 2))
      if (!fixedduals(W, L, L.OBJSNS == 1 ? 1.0 : -1.0)) L.DUALOK = QFALSE;
    if (L.OBJROW > 0) {
      DPUT_(W, L.START[L.ROWDUL], L.OBJROW, L.OBJSNS == 1 ? 1.0 : -1.0);
      DPUT_(W, L.START[L.ROWSLK], L.OBJROW, L.OBJVAL);  // the objective row shows its value
    }
    // the sense code by which the reports turn a slack into a slack or surplus
    if (L.ROWSNS > 0 && L.ROWTYPES > 0)
      for (int32_t row = 1; row <= L.NROWS; ++row) {
        int32_t t = IGET_(W, L.START[L.ROWTYPES], row);
        IPUT_(W, L.START[L.ROWSNS], row, t >= -1 && t <= 1 ? t : 1);
      }
  }
  phasetime_("solution read");
  L.SOLKND = qtest(L.DUALOK) ? 1 : 0;
  vals.clear();
  duals.clear();
  if (!integer && L.DUALCO == 2 && (L.MODSTAT == 1 || L.MODSTAT == 5 || L.MODSTAT == 8)) {
    int32_t rs = 0;
    loadranges_(W, L, rs);
    if (rs == 1 || rs == 2) {
      errmsh_(W, L, rs == 1 ? 0 : 104);
      L.MODSTAT = 12;
      clearsolvermodel_(W, L);
      return outputs();
    }
    if (rs == 0 && qtest(L.DUALOK)) L.SOLKND = 2;
    if (rs == 3) {
      // the solve's status and solution stand; only the ranges are missing
      int32_t keepst = L.MODSTAT;
      errmsh_(W, L, 191);
      L.MODSTAT = keepst;
    }
  }
  L.CBSOLVING = 1;
  if (!L.TERSEO) {
    if (L.QPFLAG > 0) {
      sumline_(L, "  Model is quadratic.");
      blankl_(L, L.OUTUNIT, 1);
    }
    if (L.LNRISE != 1) {
      int32_t a = 0, b = 0, c = 0;
      getlinearizationcounts_(L, a, b, c);
      if (a + b + c > 0) {
        lprint_(L, L.OUTUNIT, "  Linearization components added:");
        const char* lab[3] = {"     Constraints:", "     Variables:  ", "     Integers:   "};
        int32_t n[3] = {a, b, c};
        for (int32_t k = 0; k < 3; ++k)
          if (n[k] > 0) {
            char line[64];
            std::snprintf(line, sizeof line, "%s%d", lab[k], n[k]);
            lprint_(L, L.OUTUNIT, line);
          }
        blankl_(L, L.OUTUNIT, 1);
      }
    }
  }
  keep = L.MODSTAT;
  if (setmodelstatus_(L) == 0 && keep == 12) L.MODSTAT = L.MODSTAT2 = 12;
  int32_t item = integer ? 1353 : 1253;
  double b1 = 0.0, b2 = 0.0;
  if (FBRGETINFOD_(M, item, b1) != 0) b1 = -L.BIGNUM;
  if (integer) {
    item = 1354;
    if (FBRGETINFOD_(M, item, b2) != 0) b2 = -L.BIGNUM;
    b1 = std::max(b1, b2);
  }
  L.OBJBND = b1;
  if (L.MODSTAT == 1 || L.MODSTAT == 8 || (L.MODSTAT == 5 && L.OBJROW <= 0)) {
    savmod_(W, L, L.SOLCPY, L.SOLLEN);
    L.HAVESOL = QTRUE;
  } else {
    rlsblk_(L, L.SOLCPY);
    L.SOLLEN = 0;
    L.HAVESOL = QFALSE;
  }
  return outputs();
}

// The solve driver: has the model generated, then solves and reports it (mode 0) or hands
// it to a display or writer (1 GEN, 3 SMPS, 4 STATS, 6 PICTURE, 7 SMPI; 5 generates only).
// Result the generation's: true when a generated model is in place.
int32_t solver_(Work& W, MasterRecord& L, int32_t mode, const char* fname) {
  if (L.MODLINES == 0) {
    errmsh_(W, L, 5);
    return QFALSE;
  }
  int32_t lnrise = L.LNRISE;
  brbremv_();
  clrsolvetime_(L);
  // Displays and writers see the model without linearisation; 0 (the program's choice) adds
  // none either, so it is left alone and an unchanged model is not generated again.
  if ((mode == 1 || mode == 3 || mode == 6 || mode == 7) && L.TRACELV == 0 && L.LNRISE > 1)
    L.LNRISE = 1;
  int32_t ok = generate_(W, L, mode);
  if (L.LOWMEM > 0 && mode != 1) {
    // without its lists the generated model cannot be displayed: once LOWMEM is off
    // again, the next command generates anew instead of keeping this model
    freescalarlists_(L);
    rlsblk_(L, L.GENCPY);
    L.GENLEN = 0;
  }
  if (qtest(ok) && mode != 5) {
    L.LINEND = 0;
    L.LINCUR = 0;
    switch (mode) {
      case 0:
        solveit_(W, L);
        if (!(L.MSGOFF & 1) && L.RTASK2 == 0) resultsummary_(W, L);
        if (L.MODSTAT != 12 && L.MODSTAT != 6 && L.MODSTAT != 11 && L.TERSEO != 1)
          if (auto f = reporthooks_().solution) f(W, L, 1, "", 0, "", 0);  // no heading, no key
        phasetime_("reported");
        break;
      case 1:
        if (auto f = reporthooks_().genmodel; f && (L.SLVROWS > 0 || L.SLVCOLS > 0)) f(W, L);
        break;
      case 3:
        if (auto f = reporthooks_().modelfile) f(W, L, fname, 1);
        if (L.LOWMEM > 0) freescalarlists_(L);
        break;
      case 4:
        if (auto f = reporthooks_().stats) f(W, L);
        break;
      case 6:
        if (auto f = reporthooks_().picture) f(W, L);
        break;
      case 7:
        if (auto f = reporthooks_().modelfile) f(W, L, fname, 2);
        break;
      default:
        break;
    }
    stsmem_();
  }
  L.LNRISE = lnrise;
  return ok;
}

QUIRN_UPCALL(solve, solver_);  // GO, GEN, SMPS, STATS, PICTURE, SMPI
