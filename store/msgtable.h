// The numbered message table (msgtable.cpp) as the message printer reads it.
#pragma once
#include <cstdint>

enum MsgEnd : uint8_t { E1, E2, POS };  // closing: one blank line, two, or caret display

struct MsgDef {
  int32_t num;
  MsgEnd end;
  const char* text;
};

constexpr int32_t MSGLAST = 238;  // highest numbered message below the optimizer's 9999

const MsgDef* msgdef_(int32_t n);
