// Master-record fields owned by the session subsystem.
#pragma once
#include <cstdint>

struct SessionFields {
  int32_t SESSION_RESERVED = 0;
};
