// The solver interface: parameters and start point, callbacks and progress logs, the
// solve sequence, status and result summary, names, ranges, index maps and the matrix copy.
#pragma once
#include <cstdint>

#include "generate/analysis.h"
#include "generate/scalar.h"
#include "solver/bindings.h"
#include "solver/rowload.h"
#include "store/heap.h"
#include "store/master.h"
#include "store/work.h"

// ---- status and summary ----
// True when the model loaded into the library is linear; failed = 1 when the call failed.
int32_t isitlinear_(MasterRecord& L, int32_t& failed);
extern const char KSTATUS[14][17];  // status names 1..14, 16 characters each
void resultsummary_(Work& W, MasterRecord& L);
void printiterations_(Work& W, MasterRecord& L);
int32_t setmodelstatus_(MasterRecord& L);
void updatefinalsolutionstatus_(MasterRecord& L);
int32_t modelisfeasible_(const MasterRecord& L);
int32_t userinterrupted_(int32_t code);
void getlinearizationcounts_(const MasterRecord& L, int32_t& rows, int32_t& vars, int32_t& ints);
void zerooutd_(double* a, int32_t n);
// Prints a line on the output unit and, when that is not the terminal, on the terminal too.
void sumline_(MasterRecord& L, const char* text);

// ---- parameters and start point ----
void passapisetparams_(Work& W, MasterRecord& L);
void passparamstoapi_(Work& W, MasterRecord& L);
void paramerror_(Work& W, MasterRecord& L, int32_t code, int32_t& reported);
void passpointtoapi_(Work& W, MasterRecord& L, int32_t& status);

// ---- callbacks and progress logs ----
int quircallbackgen_(BRmodel* model, int location, void* user);
int quircallbacksolve_(BRmodel* model, int location, void* user);
int quircallbacksimple_(BRmodel* model, int location, void* user);
int32_t WRITEMIPLOG_(BRmodel* model, int32_t location, int32_t* log);
int32_t WRITELPLOG_(BRmodel* model, int32_t location, int32_t* log);

// ---- names, ranges and index maps ----
void loadnames_(Work& W, MasterRecord& L, int32_t mode, int32_t& status);
int32_t loadranges_(Work& W, MasterRecord& L, int32_t& status);
int32_t apirndx2qrnndx_(const Work& W, const MasterRecord& L, int32_t row);
int32_t apivndx2qrnndx_(const Work& W, const MasterRecord& L, int32_t var);
// Handles of the index maps (position -> model row, position -> model variable) and the
// variable position list (model variable -> position) of the generated model.
int32_t rowixmap_(const MasterRecord& L);
int32_t varixmap_(const MasterRecord& L);
int32_t varposlist_(const MasterRecord& L);

// ---- matrix copy ----
void buildmatrix_(Work& W, MasterRecord& L, int32_t& status);
void setblda_(Work& W, MasterRecord& L, int32_t length, int32_t& scr1, int32_t& scr2,
              int32_t& status);
void cmprtl_(Work& W, MasterRecord& L, int32_t row, int32_t var, double& deriv, int32_t& status);
void cmprtlat_(Work& W, MasterRecord& L, int32_t row, int32_t var, double base, double& deriv,
               int32_t& status);

// ---- the solve sequence ----
int32_t solver_(Work& W, MasterRecord& L, int32_t mode, const char* fname);
int32_t solveit_(Work& W, MasterRecord& L);
// The DEBUG command: the infeasible or unbounded set of a linear model.
int32_t dodebug_(Work& W, MasterRecord& L);
// Clears what the library holds of the model and the solver-side counts.
void clearsolvermodel_(Work& W, MasterRecord& L);

// ---- generation and loading ----
// Has the model generated (genmod_) and, when it was generated anew, loads it into the
// solver library and reads its statistics; true when a loaded model is in place. mode is
// the solve driver's (1 GEN keeps the scalar lists that LOWMEM otherwise frees after loading).
int32_t generate_(Work& W, MasterRecord& L, int32_t mode = 0);
