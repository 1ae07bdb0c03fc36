// The generation driver: compiles the stored model, allocates its sets, asks for open
// values, runs the structural analysis and orders the variables for loading.
#pragma once
#include <cstdint>
#include "store/master.h"
#include "store/work.h"

// Makes the generated model ready for loading. True when a generated model is in place:
// kept because nothing changed (GENLOADP 0), or generated now and waiting to be loaded
// into the solver library (GENLOADP 1). False after a message when generation failed
// (GENLOADP -1 when the previous generated model was already given up).
int32_t genmod_(Work& W, MasterRecord& L);
// The compile steps alone (compile and allocate the sets), for tools and tests.
int32_t gencompile_(Work& W, MasterRecord& L);
// True when a generation-critical option or the custom library parameters changed since
// the last generation.
int32_t criticalgenoptschanged_(const MasterRecord& L);
void savecriticalgenopts_(Work& W, MasterRecord& L);
// Full clean-up after a failed generation: the saved copy, the compiler and every block of
// the generated model.
void genfail_(Work& W, MasterRecord& L);
// The common end of every generation: files opened while generating are closed.
void genend_(Work& W, MasterRecord& L);
// Records the code from position `from` to the end as the next statement; false when no storage.
bool recordstatement_(Work& W, MasterRecord& L, int32_t from);
