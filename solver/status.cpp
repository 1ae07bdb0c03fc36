// The solution status and the result summary: status reading and mapping, the summary
// printed after a solve, iteration counts, linearization counts and small helpers.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "solver/solver.h"
#include "session/params.h"
#include "store/io.h"
#include "store/upcalls.h"

const char KSTATUS[14][17] = {"OPTIMAL         ", "BASIC_OPTIMAL   ", "INFEASIBLE      ",
                              "UNBOUNDED       ", "FEASIBLE        ", "INFORUNB        ",
                              "NEAR_OPTIMAL    ", "LOCAL_OPTIMAL   ", "LOCAL_INFEASIBLE",
                              "CUTOFF          ", "NUMERICAL_ERROR ", "UNKNOWN         ",
                              "UNLOADED        ", "LOADED          "};

// A line on the output unit, and on the terminal when output goes elsewhere.
void sumline_(MasterRecord& L, const char* text) {
  lprint_(L, L.OUTUNIT, text, (int32_t)std::strlen(text));
  if (L.OUTUNIT != L.TRMOUT) lprint_(L, L.TRMOUT, text, (int32_t)std::strlen(text));
}

// A label padded to the column, then an integer right-aligned in 18 characters.
static void countline(MasterRecord& L, const char* label, int32_t pad, int32_t n) {
  char line[96];
  std::snprintf(line, sizeof line, "%-*s%18d", pad, label, n);
  sumline_(L, line);
}

// The steps of the extended solvers and the total iterations.
void printiterations_(Work&, MasterRecord& L) {
  // -1 (no count reported) shows as 0
  if (L.SLVUSE >= 1 && L.SLVUSE <= 3) countline(L, "   Extended solver steps:", 39, L.CBSTEPS < 0 ? 0 : L.CBSTEPS);
  countline(L, "   Total solver iterations:", 39, L.CBITER);
}

// The objective line: the label padded to 43 characters and the value in G18.7.
static void objline(MasterRecord& L) {
  char f[32], line[96];
  fmtgen_(L.OBJVAL, 18, 7, f);
  std::snprintf(line, sizeof line, "%-43s%s", "   Objective value:", f);
  sumline_(L, line);
}

// The short summary of the last solve.
void resultsummary_(Work& W, MasterRecord& L) {
  if (L.SLVROWS <= 0 && L.SLVCOLS <= 0) return;
  bool obj = L.OBJROW > 0;
  bool nodual = L.DUALCO > 0 && !qtest(L.DUALOK) && L.NINTVAR <= 0;
  switch (L.MODSTAT) {
    case 3:
      errmsh_(W, L, 81);
      sumline_(L, "   No feasible solution found.");
      printiterations_(W, L);
      if (nodual) errmsh_(W, L, 196);
      break;
    case 9:
      errmsh_(W, L, 201);
      sumline_(L, "   Solution is locally infeasible");
      printiterations_(W, L);
      if (nodual) errmsh_(W, L, 196);
      break;
    case 4:
      errmsh_(W, L, 82);
      sumline_(L, "   Model is unbounded");
      break;
    case 5:
    case 10:
      sumline_(L, "   Feasible solution found.");
      if (obj) objline(L);
      printiterations_(W, L);
      if (nodual && obj) errmsh_(W, L, 196);
      break;
    case 1:
    case 8:
      sumline_(L, L.MODSTAT == 1 ? "   Global optimal solution found." : "   Local optimal solution found.");
      if (obj) objline(L);
      printiterations_(W, L);
      if (nodual) errmsh_(W, L, 196);
      break;
    case 6:
      errmsh_(W, L, 193);
      break;
    case 11: {
      // The library numbers constraints from 0 and gives the objective as -1: name the row as
      // the reports number it.
      int32_t row = -2;
      if (FBRGETROWINDEXNUMERICERROR_(L.MODELHANDLE, row) == 0 && row >= -1) {
        L.ERRARG = row < 0 ? L.OBJROW : apirndx2qrnndx_(W, L, row);
        errmsh_(W, L, 69);
      } else {
        errmsh_(W, L, 172);
      }
      break;
    }
    case 12:
      if (!qtest(L.INTRPTD)) errmsh_(W, L, 172);
      break;
    default:
      break;
  }
  blankl_(L, L.OUTUNIT, 1);
  if (L.OUTUNIT != L.TRMOUT) blankl_(L, L.TRMOUT, 1);
}

// Reads the library's status of the loaded model into the solution status (and its copy),
// mapped to the program's codes; the library's result (nothing changes on failure).
int32_t setmodelstatus_(MasterRecord& L) {
  int32_t item = L.NINTVAR > 0 || L.SLVINT > 0 ? 1300 : 1255, s = 0;
  int32_t r = FBRGETINFOI_(L.MODELHANDLE, item, s);
  if (r != 0) return r;
  if (s == 13 || s == 14) s = 12;
  if (s == 2 || s == 7) s = 1;
  if ((s == 1 || s == 8) && L.OBJROW <= 0) s = 5;
  if (s < 1 || s > 14) s = 12;
  L.MODSTAT = s;
  L.MODSTAT2 = s;
  return 0;
}

// Reads the final status after a solve.
void updatefinalsolutionstatus_(MasterRecord& L) {
  L.CBCLASS = 1;
  L.CBSOLVING = 0;
  setmodelstatus_(L);
  if (L.SLVUSE >= 1 && L.SLVUSE <= 3) L.CBOBJ = L.CBBEST;
  L.CBCLASS = 0;
}

// True for the statuses that carry a feasible point.
int32_t modelisfeasible_(const MasterRecord& L) {
  int32_t s = L.MODSTAT;
  return (s == 1 || s == 4 || s == 5 || s == 8 || s == 10) ? QTRUE : QFALSE;
}

// True for the library's interrupt codes.
int32_t userinterrupted_(int32_t code) {
  return (code == 2016 || code == 2017 || code == 2023) ? QTRUE : QFALSE;
}

// Rows, variables and integers that linearization added to the loaded model.
void getlinearizationcounts_(const MasterRecord& L, int32_t& rows, int32_t& vars, int32_t& ints) {
  rows = vars = ints = 0;
  if (L.SLVROWS <= 0 && L.SLVCOLS <= 0) return;
  rows = L.SLVROWS - (L.NROWS + L.SLDUMMY - L.NFIXED - (L.OBJROW > 0 ? 1 : 0)) - 1;
  vars = L.SLVCOLS - (L.NEXPVAR + L.SLDUMMY);
  ints = L.SLVINT - L.NINTVAR;
}

// Sets a[0..n-1] to 0.0.
void zerooutd_(double* a, int32_t n) {
  for (int32_t i = 0; i < n; ++i) a[i] = 0.0;
}

QUIRN_UPCALL(summary, resultsummary_);  // the summary before SOLU and NONZ
