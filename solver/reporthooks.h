// The reports that the solve driver prints after its work. The reports sit above the solver,
// so they enter their routines here when the program starts; an entry left empty prints
// nothing.
#pragma once
#include <cstdint>

struct MasterRecord;
struct Work;

struct ReportHooks {
  // solution report: all values or nonzeros only, heading text, name key
  void (*solution)(Work& W, MasterRecord& L, int32_t allvalues, const char* text, int32_t textlen,
                   const char* name, int32_t namelen) = nullptr;
  void (*outputops)(Work& W, MasterRecord& L) = nullptr;  // the DATA section's output operations
  void (*genmodel)(Work& W, MasterRecord& L) = nullptr;   // the generated model (GEN)
  // one row of the generated model as GEN shows it; status nonzero when it cannot be shown
  void (*genrow)(Work& W, MasterRecord& L, int32_t row, int32_t& status) = nullptr;
  void (*stats)(Work& W, MasterRecord& L) = nullptr;      // model statistics (STATS)
  void (*picture)(Work& W, MasterRecord& L) = nullptr;    // matrix picture (PICTURE)
  // MPS (kind 1) or MPI (kind 2) file of the generated model
  int32_t (*modelfile)(Work& W, MasterRecord& L, const char* fname, int32_t kind) = nullptr;
};

// The one table of report entries.
ReportHooks& reporthooks_();
