// Master-record fields owned by the session subsystem.
#pragma once
#include <cstdint>

struct SessionFields {
  int32_t SESSION_RESERVED = 0;

  // ---- added by the evaluation core (generate/); the session keeps it ----
  int32_t TERSEO = 0;  // working value of the terse-output option (1: terse)
};
