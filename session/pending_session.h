// Routines of later steps that the command loop calls, declared here until their own
// headers exist; placeholder bodies live in the pending_session.cpp files.
#pragma once
#include <cstdint>

struct MasterRecord;
struct Work;

// ---- model text (entry, listing, deletion, alteration, catalogue, help, APISET) ----
#include "session/modeltext.h"

// ---- solver interface ----
// The solve driver: mode 0 GO, 1 GEN, 3 SMPS, 4 STATS, 5 generate only, 6 PICTURE, 7 SMPI.
int32_t solver_(Work& W, MasterRecord& L, int32_t mode, const char* fname);
void resultsummary_(Work& W, MasterRecord& L);
int32_t dodebug_(Work& W, MasterRecord& L);

// ---- reports and data exchange ----
void outsol_(Work& W, MasterRecord& L, int32_t allvalues, const char* text, int32_t textlen,
             const char* name, int32_t namelen);
void range_(Work& W, MasterRecord& L);
void dormps_(MasterRecord& L, Work& W, int32_t fixed);
// the DATA section's output operations after a solve
void runoutops_(Work& W, MasterRecord& L);
// the generated model (GEN), statistics (STATS), picture (PICTURE), MPS/MPI files
void displaygeneratedmodel_(Work& W, MasterRecord& L);
// one generated row (1 = the objective, 2.. the constraints) in the layout of GEN
void dostats_(Work& W, MasterRecord& L);
void dopic_(Work& W, MasterRecord& L);
int32_t dosmp_(Work& W, MasterRecord& L, const char* fname, int32_t kind);


#include "store/io.h"
