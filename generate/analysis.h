// Model analysis: the symbolic executor, the linearity check, the structural analyser and
// the section solver with its root finder. The rows and variables they read and write are
// described in generate/rows.h.
#pragma once
#include <cstdint>

#include "store/master.h"
#include "store/work.h"

// ---- symbolic executor ----
// The caller's side of one run of xecutes_.
struct SymRun {
  int32_t flags = 0;        // bit 0: generation run (CALC): faults are pending errors, an
                            // equality "variable - number" fixes the variable
  int32_t pass = 1;         // analysis pass (a generation run uses 1)
  int32_t cnddepth = 0;     // condition depth (in/out)
  bool undecided = false;   // out: a condition could not be decided
  bool rowmade = false;     // out: a row (or a bound statement) was generated
  bool stopundec = false;   // out: a @WARN condition depends on unfixed variables
  int32_t marks = 0;        // per-variable marks (1 = in the current row's list); 0 in a
  int32_t rowvars = 0;      //   generation run, as the current row's variable list
  int32_t nrowvars = 0;     // length of that list
  int32_t stmtpos = 0;      // out: statement position of the current row
  int32_t rowname = 0;      // out: row-name number of the current row
  int32_t objrow = 0;       // out: the objective row generated in this run (0 none)
};
// Runs code positions first..last symbolically. Status 0 done; otherwise the codes of the
// executor (1 malformed @WARN, 2/5 a fault became real, 3 malformed bound, 4 text as a
// number, 8 stack overflow, 9 set not built, 10 time limit, 11/12 bounds refused, 13 @FOR
// too deep, 14 no storage, 15 second objective, 16 bad @IN, 17 an opcode the executor
// cannot run, 18 not allowed in CALC).
void xecutes_(Work& W, MasterRecord& L, int32_t first, int32_t last, SymRun& run,
              int32_t& status);

// ---- linearity check ----
// How row `row` depends on variable `var`: 0 linear with a usable coefficient, 1 linear but
// mixed with other unfixed variables, 2 undecidable, 3 nonlinear, 4 no effect, 5 undefined,
// 11 stack limit, 17 an opcode the check cannot run.
void xecute_lincheck_(Work& W, MasterRecord& L, int32_t row, int32_t var, int32_t& result);
// The same, with the coefficient of the variable when the row is linear in it (results 0
// and 1; for 1 the coefficient at the current values of the other variables).
void xecute_lincheck_(Work& W, MasterRecord& L, int32_t row, int32_t var, int32_t& result,
                      double& coef);

// ---- structural analyser ----
// Result of the symbolic execution of one statement.
struct SymResult {
  bool unfinished = false;  // the statement must run again in a later pass
  bool rerun = false;       // a @WARN condition waits for the completion pass
  int32_t objrow = 0;       // the objective row found (0 none)
  int32_t detail = 0;       // detail for messages
};
// Symbolic execution of statement e (entry e of the statement-start table). Status: 0 done;
// 6 a fault that an unfinished statement may clear in a later pass; otherwise the analysis
// status less 2 (2 malformed @WARN, 3 no storage, 4 text as a number, 5 second objective,
// 7 missing attribute element, 8 bad bound, 9 set not built, 10 time limit, 11/12 bounds
// refused, 13 stack overflow, 14 bad opcode, 16 bad @IN, 18 not allowed in CALC, 1 @FOR
// too deep). The generation driver runs CALC statements with runflags 1 and pass 1.
void symxec_(Work& W, MasterRecord& L, int32_t e, int32_t pass, int32_t runflags,
             SymResult& res, int32_t& status);
// The whole analysis: generates the rows of every statement, solves what the equalities
// determine, leaves rows and variables permuted with the solved pairs first. Status 0
// success, 5 non-unique roots (a warning), otherwise the code whose message the
// generation driver prints (struckmsg_).
void struck_(Work& W, MasterRecord& L, int32_t& status);
// Message number the generation driver prints for a struck_ status (0: none).
int32_t struckmsg_(int32_t status);

// Eligibility of a (row, column) pair for the transversal: 0 eligible, 1 not, 2 not and
// undecidable.
using TrnElig = int32_t (*)(void* ctx, int32_t row, int32_t col);
// Maximum transversal of rows 1..nr to columns 1..nc: row i holds the columns
// cols[rowst[i] .. rowst[i+1]-1] (arrays indexed from 1; rowst has nr + 2 entries).
// colrow[c] receives the row of column c (0 none), rowcol[i] the column of row i. elig may
// be null (all eligible). Returns the number of pairs; -1 when interrupted.
int32_t trnrec_(int32_t nc, int32_t nr, const int32_t* cols, const int64_t* rowst,
                int32_t* colrow, int32_t* rowcol, TrnElig elig, void* ctx, bool& undecided);
// Strong components of the graph of nodes 1..n, node k pointing to adj[st[k] .. st[k+1]-1],
// in an order in which every block points only to itself or earlier blocks: perm[1..n] the
// nodes block after block, blk[1..nb+1] the block starts. Returns nb.
int32_t bumps_(int32_t n, const int32_t* adj, const int64_t* st, int32_t* perm, int32_t* blk);
// Reorders the blocks: one-node blocks that no larger block needs to the front or the tail.
void minbmp_(int32_t n, const int32_t* adj, const int64_t* st, int32_t nb, int32_t* perm,
             int32_t* blk);

// ---- section solver and root finder ----
// Solves row `row` for variable `var` (writes the variable's value and ROWVAL(row)).
// arith = evaluations that failed arithmetically; status 0 unique root, -1 not unique,
// 1 no root.
void secslv_(Work& W, MasterRecord& L, int32_t row, int32_t var, int32_t& arith,
             int32_t& status);
// Evaluates row `row` at the current variable values: value, the evaluator's status (0
// success) and the hint.
void gcomp2_(Work& W, MasterRecord& L, int32_t row, double& value, int32_t& status,
             double& aux);
// One step of the root finder on the state arrays (1..4).
void rooter_(double* XV, double* FV, double* HINT, int32_t* ISFZ);
double roundup_(double x);
double rounddown_(double x);
double nearestint_(double x);
