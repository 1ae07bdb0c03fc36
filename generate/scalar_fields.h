// Master-record fields of the scalar model lists: the per-row code handed to the solver
// library (instruction list, constant pool, row starts, lengths and types, variable types
// and bounds) and the counts of the generated model that they are built from.
#pragma once
#include <cstdint>

struct ScalarFields {
  // ---- counts of the generated model (written by generation, read by the lists) ----
  int32_t NEXPVAR = 0;   // variables handed to the solver library
  int32_t NPARVAR = 0;   // parameters (kinds 5 and 6) placed after the explicit variables
  int32_t JSLIDE = 0;    // distance the attribute variables moved down after compilation

  // ---- scalar model lists: handles (heap ids or work-store handles by HEAP_SWITCH bit 0) ----
  int32_t SLINS = 0, SLINSN = 0, SLINSCAP = 0;   // instruction list (int32)
  int32_t SLCON = 0, SLCONN = 0, SLCONCAP = 0;   // constant pool (reals)
  int32_t SLRST = 0;    // constraint starts, 0-based offsets in the instruction list
  int32_t SLRLN = 0;    // constraint lengths in words
  int32_t SLRTY = 0;    // constraint types 'G', 'L', 'E' (characters)
  int32_t SLVTY = 0;    // variable types 'C', 'I', 'B' (characters)
  int32_t SLVLB = 0;    // lower bounds of the explicit variables (reals)
  int32_t SLVUB = 0;    // upper bounds (reals)
  int32_t SLRMAP = 0;   // solver row map (int32)
  int32_t SLNCON = 0;   // constraints in the lists (the dummy one included)
  int32_t SLOBJST = 0, SLOBJLN = 0;  // objective's start (0-based) and length
  int32_t SLSENSE = 0;  // objective sense: -1 maximise, +1 minimise, 0 unset
  int32_t SLDUMMY = 0;  // dummy rows added to the load (0 or 1)
  int32_t SLCOFF = 0;   // added to every constant index written
  int32_t SLNINT = 0;   // integer variables found while typing the variables
};
