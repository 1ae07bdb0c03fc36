// A pool of term slots for building linear forms: each slot holds a coefficient, a
// variable id, a flag and a link; a linear form is a chain of slots ordered by falling
// variable id. The four slot arrays belong to the caller and are indexed from 1
// (element i of each array is slot i).
#pragma once
#include <cstdint>
#include "store/master.h"

// Clears n slots and chains them all into the free list.
void lfinit_(MasterRecord& L, int32_t n, double* coef, int32_t* var, int32_t* link, int32_t* flag);
// Takes the first free slot (its link becomes 0); slot <= 0 when the pool is empty.
void lfgtsp_(MasterRecord& L, int32_t& slot, int32_t* link);
// Gives a slot back to the pool.
void lfrtsp_(MasterRecord& L, int32_t slot, int32_t* link);
// Sets the flag of every slot of the chain to 1.
void gfnonl_(int32_t first, int32_t* flag, const int32_t* link);
// Merges two chains into one ordered by falling variable id, summing equal terms.
void lfmerg1_(MasterRecord& L, int32_t first, int32_t second, int32_t& result, double* coef,
              const int32_t* var, int32_t* flag, int32_t* link);
// Lists the pool on the current output unit.
void lfdump_(MasterRecord& L, const double* coef, const int32_t* var, const int32_t* link);
