// Master-record fields owned by the solver subsystem.
#pragma once
#include <cstdint>

struct SolverFields {
  // ---- solver status region: the callback record, cleared by resetsolverstatus_ ----
  int32_t CBSTATUS = 0;    // library status during the solve
  int32_t CBCLASS = 0;     // 1 while the final status is read
  int32_t CBSOLVER = 0;    // solver in use
  int32_t CBITER = 0;      // iteration count
  int32_t CBSTEPS = -1;    // steps of the global, multistart or integer solver (-1 none)
  int32_t CBINTR = 0;      // nonzero asks the library to stop
  int32_t CBGEN[4] = {};   // generation counts reported while loading
  int32_t CBSTAGE = 0;     // generation stage 1..3 while loading, else 0
  int32_t CBACTIVE = -1;   // active count (-1 none)
  int32_t CBSOLVING = 0;   // 1 while a solve runs
  int32_t CBSOLVW[3] = {};  // the three words after the solving flag
  double CBINFEAS = 0.0;   // infeasibility
  double CBOBJ = 0.0;      // objective
  double CBBOUND = 0.0;    // bound
  double CBBEST = 0.0;     // best bound
  double CBGENVAL = 0.0;   // generation value
  double CBEXTRA = 0.0;    // further real status value
  int32_t LOGTAB[20][5] = {};  // progress-log table: 20 records of 20 bytes

  // ---- time limit polling ----
  int32_t TMSTART = 0;   // clock (hundredths of a second) when the solve started
  int32_t TMPREV = 0;    // previous clock reading
  int32_t TMDAYOFF = 0;  // hundredths added for each midnight passed

  // ---- the program's copy of the loaded model's matrix (released by freematrix_) ----
  int32_t MATCOEF = 0;   // coefficients, column by column (reals)
  int32_t MATROW = 0;    // row of each stored entry
  int32_t MATCOLST = 0;  // column starts
  int32_t MATRHS = 0;    // right-hand sides (reals)
  int32_t MATRTYP = 0;   // row types
  int32_t MATLB = 0;     // lower bounds (reals)
  int32_t MATUB = 0;     // upper bounds (reals)
  int32_t MATRFLG = 0;   // row flags
  int32_t MATVFLG = 0;   // variable flags
  int32_t MATOBJ = 0;    // objective coefficients (reals)
  int32_t MATSCR = 0;    // scratch block of the matrix build
  int32_t MATNZ = 0;     // stored entries
  // the coefficients, entry rows and column starts again, as an outside caller reads them
  // (matlink_ keeps them equal to the three handles above)
  int32_t MATBLK1 = 0, MATBLK2 = 0, MATBLK3 = 0;
  int32_t SLVROWS = 0, SLVCOLS = 0;  // rows and columns of the model in the solver library

  // ---- the solve and its results ----
  int32_t MODSTAT2 = 12;   // second copy of the solution status
  int32_t SLVUSE = 0;      // solver in use: 1 global, 2 multistart, 3 integer, 4 continuous, 5 debug
  int32_t PRIMOK = 0;      // logical: primal values of the last solve were fetched
  int32_t DUALOK = 0;      // logical: dual values of the last solve were fetched
  double OBJVAL = 0.0;     // objective of the last solve
  double OBJBND = 0.0;     // bound reported with it
  int32_t INTRPTD = 0;     // logical: the last solve ended by an interrupt
  int32_t SLVINT = 0;      // integer variables of the model in the library
  int32_t OBJSNS = 0;      // 1 maximise (duals turned over), else 0
  int32_t QUIETLV = 0;     // depth of quiet re-solves in progress
  int32_t LOGOFF = 0;      // logical: the progress log is silent (a re-solve inside a solve)
  int32_t RTASK2 = 0;      // values still to be asked at solve time

  // ---- the generated model as loaded (written by the generation driver) ----
  int32_t QPFLAG = 0;      // > 0 when the model was recognised as quadratic
  int32_t NINTVAR = 0;     // integer variables of the loaded model
  int32_t NLVARS = 0;      // variables that occur nonlinearly
  int32_t NLROWS = 0;      // nonlinear rows
  int32_t MPIGEN = 0;      // 1 while the MPI writer forces a generation
  int32_t HASSTART = 0;    // 1 when variables carry start values
  int32_t MODCLS = 0;      // model class code
  int32_t NROWOUT = 0;     // row count + 1 of the loaded model
  int32_t NCOLOUT = 0;     // column count of the loaded model
  int32_t NZFIRST = 0;     // first nonzero count of the dimensions
  int32_t NZLIN = 0;       // linear nonzero total
  int32_t NZTOT = 0;       // total nonzero count
  int32_t NEMPTY = 0;      // columns without entries
  int32_t CRITI[10] = {};  // saved generation-critical options (integer kind)
  double CRITD[10] = {};   // saved generation-critical options (real kind)
  int32_t GENTIME = 0;     // clock at the start of the generation
  int32_t RWIDTH = 0;      // print width of row numbers
  int32_t CWIDTH = 0;      // print width of column numbers
  int32_t OBJPOS = 0;      // position of the objective row in the row index map, 0 none

  int32_t GENNUM = 0;    // generations done in this session (kept models not counted)
  int32_t GENCNT = 0;    // generation requests that left a model in place, kept ones counted
  int32_t GENFLAG = 0;   // 1 while a generated model is in place in the solver library

  int32_t GENSTOP = 0;   // 1: the generation driver stops after the compile steps
  int32_t GENLOADP = 0;  // 1 a generated model waits to be loaded, -1 a generation failed
  int32_t DUMMYF = 0;    // 1 when loading added a dummy row and variable
};
