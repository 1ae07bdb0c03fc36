// Parameter table routines: defaults, copies between current values and working fields,
// look-up, checked store, the SET dialogue and the entries for an outside caller.
#pragma once
#include <cstdint>
#include "session/param_table.h"

struct MasterRecord;
struct Work;

// One row of the parameter table. kind: 0 real or NONE (HURDLE), 1 integer, 2 real.
struct ParamDef {
  char key[7];
  int32_t kind;
  double rdef, rmin, rmax;  // real default, minimum, maximum (-1.0 = no upper limit)
  int32_t idef, imin, imax;  // integer default, minimum, maximum (-1 = no upper limit)
};
constexpr int32_t PKIND_HURDLE = 0, PKIND_INT = 1, PKIND_REAL = 2;
constexpr int32_t PARAM_INTMAX = 2147483640;  // stands for "no upper limit" of an integer

// Row i (1..NPARAMS) of the table; row 0 and rows past the count are blank.
const ParamDef& paramdef(int32_t i);
// Every key packed without separators in table order (6 characters each).
const char* paramkeys();

void defparam_(MasterRecord& L);
void loadpscalar_(MasterRecord& L);
void loadpvector_(MasterRecord& L);
void getparamx_(MasterRecord& L, const char* key, int32_t& index);
void setpam_(Work& W, MasterRecord& L, const char* key, int32_t intval, double realval,
             int32_t& status);
void setpcom_(Work& W, MasterRecord& L);
void rettols_(MasterRecord& L, int32_t& n, int32_t* kinds, double* realcur, double* realdef,
              double* realmin, double* realmax, int32_t* intcur, int32_t* intdef,
              int32_t* intmin, int32_t* intmax);
void rectols_(MasterRecord& L, int32_t n, const double* realvals, const int32_t* intvals);

bool paramlimits_(MasterRecord& L, int32_t i, int32_t& kind, int32_t& imin, int32_t& imax,
                  double& rmin, double& rmax);
// Fortran-style general number field Gw.d (right-aligned in w columns, NUL-terminated).
void fmtgen_(double v, int w, int d, char* out);
