// Master-record fields owned by the generate subsystem.
#pragma once
#include <cstdint>

struct GenFields {
  int32_t GEN_RESERVED = 0;
};
