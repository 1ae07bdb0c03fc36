// Master-record fields owned by the solver subsystem.
#pragma once
#include <cstdint>

struct SolverFields {
  int32_t SOLVER_RESERVED = 0;
};
