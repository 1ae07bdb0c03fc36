// Master-record fields owned by the session subsystem.
#pragma once
#include <cstdint>
#include "session/param_table.h"

#define QUIRN_PARAM_FIELD_I(key, def) int32_t key = (int32_t)(def);
#define QUIRN_PARAM_FIELD_R(key, def) double key = (def);
#define QUIRN_PARAM_FIELD_H(key, def) int32_t key##_SET = 0; double key = (def);
#define QUIRN_PARAM_FIELD(no, key, kind, def, lo, hi) QUIRN_PARAM_FIELD_##kind(key, def)

// ---- model text copies and custom solver-library parameters (modeltext.cpp, apiset.cpp) ----
struct ModelTextFields {
  int32_t GENCPY = 0, GENLEN = 0;  // copy of the text taken at the last generation
  int32_t SOLCPY = 0, SOLLEN = 0;  // copy taken after the last solve that gave a solution
  int32_t HAVESOL = 0;             // logical: the solution of the last solve is held
  int32_t APICNT = 0;              // custom solver-library parameters stored
  int32_t APIBLK = 0;              // their block: id, type, value per entry (8-byte reals)
  int32_t APICHG = -1;             // logical: the list changed since the last generation (true at start)
  int32_t APIRPTD = 0;             // logical: a refused entry was reported in this command
};

struct SessionFields : ModelTextFields {
  // --- parameter table: current values and working fields ---
  // Current values by table position 1..97 (index 0 unused): an integer parameter uses
  // IPVAL, a real one RPVAL, HURDLE both (IPVAL = 1 while a hurdle is set).
  int32_t IPVAL[NPARAMS_DECL + 1] = {};
  double RPVAL[NPARAMS_DECL + 1] = {};
  // Working fields, one per parameter named by its key (HURDLE: HURDLE_SET flag and
  // HURDLE value); the rest of the system reads and writes these.
  QUIRN_PARAMS(QUIRN_PARAM_FIELD)

  // --- command loop ---
  char KPASSW[9] = "        ";  // password of the hidden model, blank padded to 8
};

#undef QUIRN_PARAM_FIELD
#undef QUIRN_PARAM_FIELD_I
#undef QUIRN_PARAM_FIELD_R
#undef QUIRN_PARAM_FIELD_H
