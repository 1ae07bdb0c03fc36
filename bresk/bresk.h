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

#ifdef __cplusplus
}
#endif
#endif
