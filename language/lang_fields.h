// Master-record fields owned by the language subsystem.
#pragma once
#include <cstdint>

struct LangFields {
  int32_t LANG_RESERVED = 0;
};
