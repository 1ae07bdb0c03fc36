// Master-record fields owned by the session subsystem.
#pragma once
#include <cstdint>

// ---- model text copies and custom solver-library parameters (modeltext.cpp, apiset.cpp) ----
struct ModelTextFields {
  int32_t GENCPY = 0, GENLEN = 0;  // copy of the text taken at the last generation
  int32_t SOLCPY = 0, SOLLEN = 0;  // copy taken after the last solve that gave a solution
  int32_t HAVESOL = 0;             // logical: the solution of the last solve is held
  int32_t APICNT = 0;              // custom solver-library parameters stored
  int32_t APIBLK = 0;              // their block: id, type, value per entry (8-byte reals)
  int32_t APICHG = -1;             // logical: the list changed since the last generation (true at start)
};

struct SessionFields : ModelTextFields {
  int32_t SESSION_RESERVED = 0;
};
