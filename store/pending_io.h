// Temporary: fields of other subsystems read by the line and message routines, reached
// through these accessors until the fields exist in the master record. Each accessor
// returns the master-record field when it exists, else a fallback variable.
#pragma once
#include <cstdint>

#define QUIRN_PENDING_FIELD(NAME, TYPE, DEF)                       \
  template <class R>                                                \
  TYPE& pf_##NAME(R& L) {                                           \
    if constexpr (requires { L.NAME; }) {                           \
      return L.NAME;                                                \
    } else {                                                        \
      static TYPE fallback = DEF;                                   \
      return fallback;                                              \
    }                                                               \
  }

QUIRN_PENDING_FIELD(BIGCNT, int32_t, 0)
struct MasterRecord;
struct Work;
// Routines of other subsystems, defined weakly in pending_io.cpp until they land.
void txt2nm_(MasterRecord& L, const char* text, int32_t& pos, int32_t& len, int32_t& err, double& value);
// Printable name of generated variable (kind 5) or row (kind 6) i; false when unknown.
bool msgvarrow_(Work& W, MasterRecord& L, int32_t kind, int32_t i, char* text, int32_t& len);
