// Loading the generated model into the solver library: the replacement of the library's
// model object and the row-by-row linear load.
#pragma once
#include <cstdint>

#include "store/master.h"
#include "store/work.h"

// Deletes the solver model object (when one exists) and creates a new one; result the
// library's code (0 success; a failed delete is returned at once and the handle kept).
int32_t clearmodel_(MasterRecord& L);
// Loads the explicit rows one at a time through the library's row-wise linear loader.
// error: 0 success; 1 work store short; 6 heap short; 2-5 and 9 the emitter's status for
// the row in ERRARG; 7 a library call failed (its code in ERRARG, its name in ERRSTR);
// 8 a row is not linear (its name in ERRSTR).
void genlprowbyrow_(Work& W, MasterRecord& L, int32_t& error);
