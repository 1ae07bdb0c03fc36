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
void displaygeneratedrow_(Work& W, MasterRecord& L, int32_t i, int32_t& status);
void dostats_(Work& W, MasterRecord& L);
void dopic_(Work& W, MasterRecord& L);
int32_t dosmp_(Work& W, MasterRecord& L, const char* fname, int32_t kind);

// Fields of later steps read by the session, reached through these accessors until they
// exist in the master record: the field when it exists, else a fallback variable.
#define QUIRN_SESSION_PENDING_FIELD(NAME, TYPE, DEF) \
  template <class R>                                 \
  TYPE& sf_##NAME(R& L) {                            \
    if constexpr (requires { L.NAME; }) {            \
      return L.NAME;                                 \
    } else {                                         \
      static TYPE fallback = DEF;                    \
      return fallback;                               \
    }                                                \
  }
QUIRN_SESSION_PENDING_FIELD(NINTVAR, int32_t, 0)   // integer variables of the generated model
QUIRN_SESSION_PENDING_FIELD(QPFLAG, int32_t, 0)    // quadratic model flag

#include "store/io.h"
