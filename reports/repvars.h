// The order in which the reports list the variables: the scalars, then per set, per
// attribute, per member.
#pragma once
#include <cstdint>

#include "generate/blk.h"
#include "store/io.h"
#include "store/master.h"
#include "store/work.h"

// Calls f(v) for every variable in report order. False, after message 88 and a blank line,
// when the sets' attribute lists are missing.
template <class F>
bool eachrepvar(Work& W, MasterRecord& L, F&& f) {
  for (int32_t v = 1; v <= L.NSCALAR && v <= L.NVARS; ++v) f(v);
  if (L.NSETS > 0 && L.LASTUB <= 0) {
    errmsh_(W, L, 88);
    blankl_(L, L.OUTUNIT, 1);
    return false;
  }
  for (int32_t k = 1; k <= L.NSETS; ++k) {
    const int32_t na = bgeti(W, L, L.LASTUB, k + 1) - bgeti(W, L, L.LASTUB, k);
    const int32_t first = bgeti(W, L, L.INANTR, k);
    const int32_t members = bgeti(W, L, L.NNTRYS, k);
    for (int32_t a = 1; a <= na; ++a)
      for (int32_t j = 1; j <= members; ++j) {
        const int64_t v = (int64_t)first - 1 + a + (int64_t)(j - 1) * na;
        if (v >= 1 && v <= L.NVARS) f((int32_t)v);
      }
  }
  return true;
}
