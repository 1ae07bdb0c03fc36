/* The BRESK solver library: C interface.
 *
 * Handles: one environment per session, models created in it.  Every call
 * returns 0 on success or an error code whose text BRgetErrorMessage gives.
 * Conventions: rows and variables are numbered from 0; |v| >= 1e30 is
 * infinite on input, infinite outputs are reported as +-1e30; objective sense
 * -1 maximise, +1 minimise; a row's code computes g(x) and its type says
 * g <= 0 ('L'), g >= 0 ('G') or g = 0 ('E').  Output arrays may be NULL. */
#ifndef BRESK_H
#define BRESK_H
#ifdef __cplusplus
extern "C" {
#endif

typedef struct BRenv BRenv;
typedef struct BRmodel BRmodel;

/* Progress callback: (model, location, user data); nonzero asks to stop. */
typedef int (*BRcallback)(BRmodel* model, int location, void* user);
/* User function: (model, argument count, arguments, user data, result). */
typedef int (*BRusercalc)(BRmodel* model, int nargs, double* args, void* user, double* result);

/* Model statuses. */
enum {
  BR_OPTIMAL = 1, BR_BASIC_OPTIMAL = 2, BR_INFEASIBLE = 3, BR_UNBOUNDED = 4,
  BR_FEASIBLE = 5, BR_INFORUNB = 6, BR_NEAR_OPTIMAL = 7, BR_LOCAL_OPTIMAL = 8,
  BR_LOCAL_INFEASIBLE = 9, BR_CUTOFF = 10, BR_NUMERICAL_ERROR = 11, BR_UNKNOWN = 12,
  BR_UNLOADED = 13, BR_LOADED = 14
};

/* Callback locations. */
enum {
  BR_LOC_PRIMAL = 0, BR_LOC_DUAL = 1, BR_LOC_BARRIER = 2, BR_LOC_PRESOLVE = 3, BR_LOC_NLP = 4,
  BR_LOC_MIP = 5, BR_LOC_GLOBAL = 6, BR_LOC_LOAD_PARSE = 7, BR_LOC_LOAD_STRUCT = 8,
  BR_LOC_LOAD_BUILD = 9, BR_LOC_IIS = 10
};

/* Error codes. */
enum {
  BRERR_FILE_NOT_FOUND = 2002, BRERR_MPS_SYNTAX = 2003, BRERR_NO_MEMORY = 2004,
  BRERR_BAD_HANDLE = 2005, BRERR_BAD_ARGUMENT = 2006, BRERR_UNKNOWN_PARAM = 2007,
  BRERR_PARAM_RANGE = 2008, BRERR_UNKNOWN_ITEM = 2009, BRERR_NOT_LOADED = 2010,
  BRERR_NO_SOLUTION = 2011, BRERR_NOT_AVAILABLE = 2012, BRERR_FILE_OPEN = 2013,
  BRERR_BAD_CODE = 2014, BRERR_STACK = 2015, BRERR_INTERRUPTED = 2016, BRERR_TIME_LIMIT = 2017,
  BRERR_NOT_CONVEX = 2018, BRERR_ARITHMETIC = 2019, BRERR_IN_CALLBACK = 2020,
  BRERR_FILE_WRITE = 2021, BRERR_INTERNAL = 2022, BRERR_ITER_LIMIT = 2023,
  BRERR_NOT_INFEAS_UNBND = 2024, BRERR_ROWWISE_ORDER = 2025, BRERR_NOT_LINEAR = 2040
};

/* ---- Lifecycle, version, errors ---- */
BRenv* BRcreateEnvProdCode(int prodcode, int* err);
int BRdeleteEnv(BRenv** env);
BRmodel* BRcreateModel(BRenv* env, int* err);
int BRdeleteModel(BRmodel** model);
/* Fills ver and build (at least 200 characters each) with NUL-terminated texts. */
int BRgetVersionInfo(char* ver, char* build);
/* Fills text (at least 256 characters) with the versions of the components the library is
   built on, NUL-terminated. */
int BRgetComponentVersions(char* text);
/* Text of an error code, NUL-terminated, at most 255 characters. */
int BRgetErrorMessage(BRenv* env, int code, char* text);

/* ---- Parameters ---- */
int BRsetEnvIntParameter(BRenv* env, int id, int value);
int BRsetEnvDouParameter(BRenv* env, int id, double value);
int BRsetModelIntParameter(BRmodel* model, int id, int value);
int BRsetModelDouParameter(BRmodel* model, int id, double value);
int BRgetModelIntParameter(BRmodel* model, int id, int* value);
int BRgetModelDouParameter(BRmodel* model, int id, double* value);

/* ---- Dimensions: variables, constraints, linear constraint entries, nonlinear
 * constraint entries, quadratic terms, nonlinear objective entries, integer
 * variables, nonlinear rows. ---- */
int BRgetDimensions(BRmodel* model, int* nvars, int* ncons, int* nlin, int* nnlcon,
                    int* nqc, int* nnlobj, int* nint, int* nnlrows);

/* ---- Loading ---- */
/* The whole model as instruction lists: every row's code in postfix words
 * (codes 1000+k) with constants from a pool; see the library's notes. */
int BRloadNLPCode(BRmodel* model, int ncons, int nobj, int nvars, int nconst,
                  const int* objsense, const char* rowtype, const char* vartype,
                  const int* code, int ncode, const int* varindex, const double* consts,
                  const double* start, const int* objstart, const int* objlen,
                  const int* rowstart, const int* rowlen, const double* lb, const double* ub);
/* Row-wise linear load: open, add pool numbers and rows, build. */
int BRloadLPInstRowWise(BRmodel* model, int ncons, int nobj, int nvars, const char* vartype,
                        const void* unused1, const void* unused2, const double* lb,
                        const double* ub);
int BRaddLRWNumbers(BRmodel* model, int n, const double* values, const void* unused);
int BRaddLRWobjective(BRmodel* model, int sense, int nwords, const int* words, int* result);
int BRaddLRWconstraint(BRmodel* model, char type, int nwords, const int* words, int* result);
int BRbuildLRWModel(BRmodel* model);
/* Failing row of the last load or evaluation: -1 objective, >= 0 constraint. */
int BRgetErrorRowIndex(BRmodel* model, int* row);
int BRloadVarStartPoint(BRmodel* model, const double* x);
/* Names; a NULL argument keeps the old value. */
int BRloadNameData(BRmodel* model, const char* title, const char* objname, const char* rhsname,
                   const char* rngname, const char* bndname, const char** rownames,
                   const char** varnames);
/* Names back: NUL-terminated names written one after another into the buffers,
 * the pointer arrays pointing at them. */
int BRgetNameData(BRmodel* model, char* title, char* objname, char* rhsname, char* rngname,
                  char* bndname, char** rowptr, char* rowbuf, char** varptr, char* varbuf);
/* MPS files: format 1 fixed columns, 0 free. */
int BRreadMPSFile(BRmodel* model, const char* file, int format);
int BRgetFileError(BRmodel* model, int* line, char* text);

/* ---- Callbacks ---- */
int BRsetCallback(BRmodel* model, BRcallback cb, void* user);
int BRsetUsercalc(BRmodel* model, BRusercalc f, void* user);
/* out points to an int or a double according to the item. */
int BRgetCallbackInfo(BRmodel* model, int location, int item, void* out);
int BRgetQuickbackInfo(BRmodel* model, int location, int item, void* out);
int BRgetMIPCallbackInfo(BRmodel* model, int item, void* out);
int BRgetInfo(BRmodel* model, int item, void* out);

/* ---- Solving ---- */
/* method: 0 automatic, 1 primal simplex, 2 dual simplex, 3 barrier. */
int BRoptimize(BRmodel* model, int method);
int BRsolveMIP(BRmodel* model);
int BRsolveGOP(BRmodel* model);

/* ---- Status and solution ---- */
int BRgetSolutionStatus(BRmodel* model, int* status);
int BRgetPrimalSolution(BRmodel* model, double* x);
int BRgetSlacks(BRmodel* model, double* slacks);
int BRgetDualSolution(BRmodel* model, double* duals);
int BRgetReducedCosts(BRmodel* model, double* redcosts);
int BRgetMIPSolution(BRmodel* model, double* x);
int BRgetMIPSlacks(BRmodel* model, double* slacks);
int BRgetDualMIPsolution(BRmodel* model, double* duals, double* redcosts);
/* Outputs in order: status, objective, best bound, simplex iterations, barrier
 * iterations, nonlinear iterations, LPs, nodes, active nodes, cuts, solutions
 * found, elapsed seconds, then 13 reserved outputs set to 0. */
int BRgetCurrentMIPSolutionInfo(BRmodel* model, int* status, double* obj, double* bound,
                                int* simplex, int* barrier, int* nlp, int* lps, int* nodes,
                                int* active, int* cuts, int* sols, double* seconds,
                                int* r1, int* r2, int* r3, int* r4, int* r5, int* r6, int* r7,
                                double* r8, double* r9, double* r10, double* r11, double* r12,
                                double* r13);

/* ---- Ranges ---- */
int BRgetObjectiveRanges(BRmodel* model, double* dec, double* inc);
int BRgetConstraintRanges(BRmodel* model, double* dec, double* inc);
int BRgetNLPRanges(BRmodel* model, double* rowdec, double* rowinc, double* vardec,
                   double* varinc, double* x1, double* x2);

/* ---- Model data ---- */
/* Column-wise linear data; infinite bounds as +-1e30; rhs = -row constant. */
int BRgetLPData(BRmodel* model, int* sense, double* objconst, double* cost, double* rhs,
                char* contype, int* colstart, int* collen, double* value, int* rowidx,
                double* lb, double* ub);
/* Nonlinear entries of the constraints by column (colstart has nvars+1
 * entries), each row's nonlinearity code (0 linear, 1 quadratic, 2 smooth,
 * 3 nonsmooth, 4 user function or random draw), a flag byte per row, and the
 * nonlinear variables of each row (rowstart has ncons+1 entries). */
int BRgetNLPData(BRmodel* model, int* colstart, int* collen, int* rowidx, int* rowcode,
                 char* rowflag, int* rowstart, int* rowvars);
int BRgetNLPObjectiveData(BRmodel* model, int* n, int* vars);
/* Quadratic terms in the convention 1/2 x'Qx, lower triangle (i >= j): a
 * diagonal q means q/2 x_i^2, an off-diagonal q means q x_i x_j.  Row -1 is the
 * objective. */
int BRgetQCData(BRmodel* model, int* n, int* row, int* i, int* j, double* q);
int BRgetQCDatai(BRmodel* model, int row, int* n, int* i, int* j, double* q);
int BRgetLPConstraintDatai(BRmodel* model, int row, char* type, double* rhs, int* n, int* col,
                           double* val);
int BRgetVarType(BRmodel* model, char* types);

/* ---- Infeasible and unbounded sets ---- */
int BRfindIIS(BRmodel* model, int level);
int BRgetIIS(BRmodel* model, int* nsufrows, int* nrows, int* rows, int* nsufbnds, int* nbnds,
             int* vars, int* bndtype);
int BRfindIUS(BRmodel* model, int level);
int BRgetIUS(BRmodel* model, int* nsuf, int* n, int* vars);

/* ---- Calls the program binds but does not use ---- */
BRenv* BRcreateEnv(int* err);
int BRgetConstraintDatai(BRmodel* model, int row, char* type, double* rhs, int* n, int* col,
                         double* val);
int BRsetMIPCallback(BRmodel* model, BRcallback cb, void* user);
int BRgetMIPSolutionStatus(BRmodel* model, int* status);
int BRgetSolutionInfo(BRmodel* model, int* status, double* obj, double* bound, int* iterations);
int BRgetObjective(BRmodel* model, double* obj);
int BRgetLPObjectiveNZCount(BRmodel* model, int* n);
int BRgetNLPObjectiveNZCount(BRmodel* model, int* n);

/* ---- Files ---- */
int BRwriteMPSFile(BRmodel* model, const char* file, int format);
int BRwriteMPIFile(BRmodel* model, const char* file);
int BRwriteBRESKFile(BRmodel* model, const char* file);

#ifdef __cplusplus
}
#endif
#endif
