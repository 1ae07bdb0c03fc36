// Values of the SETS, DATA and INIT sections: the value loaders, the @POINTER reader, the
// argument lists of the interface functions with their literal heap and parsers, @QRAND
// input, and the transposition of a block of reals.
#pragma once
#include <cstdint>
#include "language/lang.h"

constexpr int32_t BIGCOUNT = 2147483640;  // "count not known" and "not fixed"

// Column kinds of a data statement.
constexpr int32_t NTFIX = 1, NTRNT = 2, NTOPT = 3, NTSETP = 4, NTSETD = 5;

// ---- per-variable lists ----
inline int32_t vkind(const Work& W, const MasterRecord& L, int32_t v) { return iget(W, L, L.VARKND, v); }
inline void setvkind(Work& W, const MasterRecord& L, int32_t v, int32_t k) { iput(W, L, L.VARKND, v, k); }
inline double vvalue(const Work& W, const MasterRecord& L, int32_t v) {
  return dget(W, (int64_t)L.START[L.VARVAL] + 2 * ((int64_t)v - 1));
}
inline void setvvalue(Work& W, const MasterRecord& L, int32_t v, double x) {
  dput(W, (int64_t)L.START[L.VARVAL] + 2 * ((int64_t)v - 1), x);
}
inline void setvfix(Work& W, const MasterRecord& L, int32_t v, int32_t stage) { iput(W, L, L.VARFIX, v, stage); }
// Real element k (1-based) of the type-6 block with handle h.
inline double rget(const Work& W, const MasterRecord& L, int32_t h, int64_t k) {
  return dget(W, (int64_t)L.START[h] + 2 * (k - 1));
}
inline void rput(Work& W, const MasterRecord& L, int32_t h, int64_t k, double x) {
  dput(W, (int64_t)L.START[h] + 2 * (k - 1), x);
}
// Grows (or creates) block h of the type to hold at least need elements: the capacity becomes
// the larger of twice need and floor. False when the store cannot give it.
bool growto(Work& W, MasterRecord& L, int32_t type, int32_t& h, int32_t& cap, int64_t need, int64_t floor);

// ---- value loaders (loaders.cpp) ----
void loadset_(Work& W, MasterRecord& L, int32_t set, int32_t names, int32_t first, int32_t count, int32_t& status);
void putval_(Work& W, MasterRecord& L, int32_t v, double value, int32_t dataFlag, int32_t& status);
void loadattr_(Work& W, MasterRecord& L, int32_t index, int32_t scalarFlag, const double* values, int32_t dataFlag,
               int32_t& status);
void loadem2_(Work& W, MasterRecord& L, int32_t values, int32_t index, int32_t kinds, int32_t count, int32_t dataFlag,
              int32_t initFlag, int32_t& status);
void loademx_(Work& W, MasterRecord& L, int32_t colId, int32_t colStep, int32_t colKind, int32_t colSet, int32_t names,
              int32_t values, int32_t rows, int32_t cols, int32_t dataFlag, int32_t initFlag, int32_t& status);

// ---- @POINTER input and name reordering (ptrdata.cpp) ----
void getpntrd_(Work& W, MasterRecord& L, int32_t targets, int32_t ptrEnds, int32_t ptrText, int32_t ptrCount,
               const int32_t* index, const int32_t* kinds, int32_t& values, int32_t& status);
void txtpose_(Work& W, MasterRecord& L, int32_t& names, int32_t groupLen, int32_t groups, int32_t& status);

// ---- literal heap and argument lists (ifargs.cpp) ----
void storelt_(Work& W, MasterRecord& L, int32_t& heap, int32_t& used, int32_t& cap, const char* text, int32_t len,
              int32_t& status);
void strfrmhp_(const Work& W, const MasterRecord& L, int32_t heap, int32_t start, char* text, int32_t& len);
void heapstrcpy_(Work& W, MasterRecord& L, int32_t heap, int32_t& pos, int32_t& list, int32_t& listPos,
                 int32_t& listCap, int32_t& status);
void expandarglist_(Work& W, MasterRecord& L, int32_t count, int32_t& newCount, const int32_t* num, const int32_t* type,
                    const int32_t* owner, const int32_t* kind, int32_t& newNum, int32_t& newType, int32_t& newOwner,
                    int32_t& newKind, int32_t& status);

void ssargs_(Work& W, MasterRecord& L, int32_t setMode, int32_t objectCount, int32_t& ends, int32_t& chars,
             int32_t& count, int32_t& endCap, int32_t& charCap, int32_t setOrNumbers, int32_t types, int32_t extra,
             int32_t& status);
void odbcargs_(Work& W, MasterRecord& L, int32_t setMode, int32_t objectCount, int32_t& ends, int32_t& chars,
               int32_t& count, int32_t& endCap, int32_t& charCap, int32_t setOrNumbers, int32_t types,
               int32_t& status);
void odbcarg2_(Work& W, MasterRecord& L, int32_t setMode, int32_t objectCount, int32_t& ends, int32_t& chars,
               int32_t& count, int32_t& endCap, int32_t& charCap, int32_t setOrNumbers, int32_t types,
               int32_t& status);
void ssargs4_(Work& W, MasterRecord& L, int32_t& objectCount, int32_t& ends, int32_t& chars, int32_t& count,
              int32_t& endCap, int32_t& charCap, int32_t& numbers, int32_t& types, int32_t& owners, int32_t& kinds,
              int32_t& status);
void odbcarg3_(Work& W, MasterRecord& L, int32_t objectCount, int32_t& ends, int32_t& chars, int32_t& count,
               int32_t& endCap, int32_t& charCap, int32_t numbers, int32_t types, int32_t& status);

// ---- a block of reals from row order to column order (checks.cpp) ----
void transpose_(Work& W, MasterRecord& L, int32_t& matrix, int32_t rows, int32_t cols, int32_t& status);

// ---- @QRAND input (qrand.cpp) ----
int32_t qrandseed_(Work& W, MasterRecord& L, const char* name, int32_t& seed);
int32_t qrandin_(Work& W, MasterRecord& L, int32_t ncols, int32_t attr, bool setdefined, int32_t seed, bool init);
