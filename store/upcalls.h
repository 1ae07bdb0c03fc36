// Routines of higher layers that the message printer calls. Each layer enters its own
// routine once at start, from the file that defines it; an entry left empty means the
// service is not linked in, and the printer does without it (a name falls back to its
// number, a line number to the current one, a library text to nothing).
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
};

// The one table of entries.
Upcalls& upcalls_();

// Enters a routine from a file's static initialiser: QUIRN_UPCALL(escline, escline_);
#define QUIRN_UPCALL(field, fn) \
  static const bool quirn_upcall_##field = (upcalls_().field = fn, true)
