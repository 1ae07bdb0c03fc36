// The command table: keywords with their category and hidden-model flag, defined once,
// and the matching of a typed word against it.
#include <cstring>

#include "session/session.h"

namespace {
const CommandDef TABLE[NCMDS + 1] = {
    {"", 0, 0},
#define QUIRN_CMD_ROW(key, cat, hid) {#key, cat, hid},
    QUIRN_COMMANDS(QUIRN_CMD_ROW)
#undef QUIRN_CMD_ROW
};
static_assert(NCMDS == 54);

// The packed keyword text and the end position of each keyword, derived from the table.
struct Packed {
  char text[NCMDS * 8 + 1] = {};
  int32_t ends[NCMDS + 1] = {};
  Packed() {
    int32_t n = 0;
    for (int k = 1; k <= NCMDS; ++k) {
      size_t len = std::strlen(TABLE[k].key);
      std::memcpy(text + n, TABLE[k].key, len);
      n += (int32_t)len;
      ends[k] = n;
    }
    text[n] = 0;
  }
};
const Packed PACKED;
}  // namespace

// Entry k of the command table (entry 0 is blank).
const CommandDef& cmddef(int32_t k) { return TABLE[(k >= 1 && k <= NCMDS) ? k : 0]; }

// The keywords packed end to end without separators.
const char* cmdkeys() { return PACKED.text; }

// End position (1-based) of keyword k in the packed text.
int32_t cmdkeyend(int32_t k) { return (k >= 1 && k <= NCMDS) ? PACKED.ends[k] : 0; }

// Matches a word against the table in order: a keyword that matches in full wins at once
// (even when the word is longer); otherwise a single entry that the word abbreviates.
// Result: the entry, 0 when none matches, -1 when the abbreviation is ambiguous.
int32_t cmdmatch_(const char* word, int32_t n, bool& exact) {
  exact = false;
  int32_t cand = 0;
  bool ambiguous = false;
  for (int32_t k = 1; k <= NCMDS; ++k) {
    const char* key = TABLE[k].key;
    int32_t klen = (int32_t)std::strlen(key);
    int32_t i = 0;
    while (i < klen && i < n && key[i] == word[i]) ++i;
    if (i == klen) {
      exact = true;
      return k;
    }
    if (i == n) {
      if (cand) ambiguous = true;
      else cand = k;
    }
  }
  return ambiguous ? -1 : cand;
}
