// Master-record fields owned by the language subsystem.
#pragma once
#include <cstdint>

struct LangFields {
  int32_t LANG_RESERVED = 0;

  // ---- added by the evaluation core (generate/); the front end keeps it ----
  int32_t CURTUP[49] = {};  // candidate member of the set being built, components 1..48
};
