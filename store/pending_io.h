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

QUIRN_PENDING_FIELD(LINLEN, int32_t, 76)
QUIRN_PENDING_FIELD(LENPAG, int32_t, 0)
QUIRN_PENDING_FIELD(ECHOIN, int32_t, 0)
QUIRN_PENDING_FIELD(FILFMT, int32_t, 1)
QUIRN_PENDING_FIELD(MODLINES, int32_t, 0)
QUIRN_PENDING_FIELD(NUNIQ, int32_t, 0)
QUIRN_PENDING_FIELD(BIGCNT, int32_t, 0)
QUIRN_PENDING_FIELD(SCANLEN, int32_t, 0)
QUIRN_PENDING_FIELD(SRCLINE, int32_t, 1)

// The scanner buffer (at least 800 characters), 1-based positions through [p - 1].
template <class R>
char* pf_SCANBUF(R& L) {
  if constexpr (requires { L.SCANBUF; }) {
    return L.SCANBUF;
  } else {
    static char fallback[804] = {};
    return fallback;
  }
}
template <class R>
int32_t pf_SCANCAP(R& L) {
  if constexpr (requires { L.SCANBUF; }) {
    return (int32_t)sizeof(L.SCANBUF);
  } else {
    return 804;
  }
}

struct MasterRecord;
struct Work;
// Routines of other subsystems, defined weakly in pending_io.cpp until they land.
void ushift_(char* line, int32_t len, char* raw);
void getrsp_(MasterRecord& L, const char* prompt, int32_t npairs);
int32_t nxblnk_(MasterRecord& L, int32_t flag);
void txt2nm_(MasterRecord& L, const char* text, int32_t& pos, int32_t& len, int32_t& err, double& value);
int32_t FBRGETERRORMESSAGE_(int32_t& env, int32_t& code, char* text);
// Name of entry i of a model name table for a message (kind: 1 set, 2 attribute, 3 member,
// 4 row name table, 5 generated variable, 6 generated row); false when there is none.
// Kind 7: attribute j of the attributes of set i (the first attribute entry of set i, plus
// j - 1). The text gets at most 200 characters.
bool msgname_(Work& W, MasterRecord& L, int32_t kind, int32_t i, int32_t j, char* text, int32_t& len);
// Kind (0 real or NONE, 1 integer, 2 real) and limits of parameter i; false when unknown.
bool paramlimits_(MasterRecord& L, int32_t i, int32_t& kind, int32_t& imin, int32_t& imax, double& rmin,
                  double& rmax);
// Row and variable of the k-th fixed row with a non-unique root; false when unknown.
bool nuniqpair_(Work& W, MasterRecord& L, int32_t k, int32_t& row, int32_t& var);
