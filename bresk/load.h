// The row loader shared by the instruction-list and row-wise loading calls.
#ifndef BRESK_LOAD_H
#define BRESK_LOAD_H

#include "bresk/internal.h"

namespace bresk {

struct Loader;

// A loader for model m (whose variables are already set).
Loader* loader_new(BRmodel* m);
void loader_delete(Loader* L);

// Decodes, validates and analyses one row's words and stores it in row and the
// model's flat arrays.  Returns 0, 2014 (bad word), 2015 (stack error), 2019 (a
// constant part fails to evaluate) or, with linear_only, 2040 for a row that
// is not linear.
int load_row(Loader* L, Row& row, int rowno, const int32_t* words, int n, const double* pool,
             int npool, bool linear_only);

} // namespace bresk

#endif
