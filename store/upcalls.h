// Routines of higher layers that lower layers call: the message printer's names and texts,
// the store's releases and resets, and the session's commands that the solver and the
// reports carry out. Each layer enters its own routines once at start, from the file that
// defines them; an entry left empty means the service is not linked in, and the caller does
// without it (a name falls back to its number, a line number to the current one, a library
// text to nothing, a release or reset does nothing, a command prints nothing).
#pragma once
#include <cstdint>

struct MasterRecord;
struct Work;

struct Upcalls {
  // Line number of the line-number escape whose first NUL stands at position k of the
  // scanner buffer.
  int32_t (*escline)(const MasterRecord& L, int32_t k) = nullptr;
  // Kind and limits of parameter i; false when there is no such parameter.
  bool (*paramlimits)(MasterRecord& L, int32_t i, int32_t& kind, int32_t& imin, int32_t& imax,
                      double& rmin, double& rmax) = nullptr;
  // Names of generated variable v and row r (len in: room, out: length).
  void (*varname)(Work& W, MasterRecord& L, int32_t v, char* text, int32_t& len) = nullptr;
  void (*rowname)(Work& W, MasterRecord& L, int32_t r, char* text, int32_t& len) = nullptr;
  // The solver library's text for an error code.
  int32_t (*libtext)(int32_t& env, int32_t& code, char* text) = nullptr;

  // ---- the store's releases and resets ----
  void (*freesort)(Work& W, MasterRecord& L) = nullptr;   // sorted set order blocks
  void (*freescalarlists)(MasterRecord& L) = nullptr;     // scalar model lists
  void (*freematrix)(MasterRecord& L) = nullptr;          // the program's matrix copy
  void (*defparam)(MasterRecord& L) = nullptr;            // parameter defaults
  void (*resetsolverstatus)(MasterRecord& L) = nullptr;   // solver status region
  void (*clrdbs)(char* text, int32_t& len, int32_t width) = nullptr;  // database login text
  // day, month and year to a day number and weekday
  void (*dmy2d)(int32_t& day, int32_t& month, int32_t& year, int32_t& dayno,
                int32_t& weekday) = nullptr;
  void (*timeout)(MasterRecord& L, int32_t& result) = nullptr;  // -1 when the time limit passed
  void (*rdrforget)(MasterRecord& L) = nullptr;           // the include table's blocks
  void (*matforget)(MasterRecord& L) = nullptr;           // the matrix copy's handles

  // ---- the interpreter and the quasi-random points, for the sets and DATA sections ----
  // runs instructions first..last of a code block; status 0 on success, out the result
  void (*xecute)(Work& W, MasterRecord& L, const int32_t& code, const int32_t& first,
                 const int32_t& last, int32_t& status, double& out) = nullptr;
  // n stratified points of dimension dim in [0, 1)
  int32_t (*qrand)(const int32_t* n, const int32_t* dim, double* points, int32_t* seed,
                   int32_t* strata, double* scratch) = nullptr;

  // ---- the solver library's environment, for the session driver ----
  int32_t (*libversion)(char* ver, char* build) = nullptr;  // version and build texts
  int32_t (*createenv)(MasterRecord& L) = nullptr;        // 1 when a new environment was made
  int32_t (*deleteenv)(MasterRecord& L) = nullptr;        // 1 when the environment was deleted
  // 1 when the library knows parameter id, 0 when it does not
  int32_t (*apiknown)(MasterRecord& L, int32_t id) = nullptr;

  // ---- the session's commands carried out by the solver and the reports ----
  // the solve driver: mode 0 GO, 1 GEN, 3 SMPS, 4 STATS, 5 generate only, 6 PICTURE, 7 SMPI
  int32_t (*solve)(Work& W, MasterRecord& L, int32_t mode, const char* fname) = nullptr;
  void (*summary)(Work& W, MasterRecord& L) = nullptr;    // the result summary
  int32_t (*debug)(Work& W, MasterRecord& L) = nullptr;   // DEBUG
  // the solution report: all values or nonzeros only, heading text, name key
  void (*solution)(Work& W, MasterRecord& L, int32_t all, const char* text, int32_t textlen,
                   const char* name, int32_t namelen) = nullptr;
  void (*range)(Work& W, MasterRecord& L) = nullptr;      // the range report
  void (*readmps)(MasterRecord& L, Work& W, int32_t fixed) = nullptr;  // RMPS (1), FRMPS (0)
};

// The one table of entries.
Upcalls& upcalls_();

// Enters a routine from a file's static initialiser: QUIRN_UPCALL(escline, escline_);
#define QUIRN_UPCALL(field, fn) \
  static const bool quirn_upcall_##field = (upcalls_().field = fn, true)
