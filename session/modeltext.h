// The model text commands of the session: entry (MODEL, EXT, MIN/MAX, INT and its
// relatives, HMODEL), listing (LOOK, SAVE), deletion (DEL), ALTER, HIDE, the saved copies
// of the text, the custom solver-library parameters (APISET), the command catalogue and
// the help texts.
#pragma once
#include <cstdint>

#include "store/master.h"
#include "store/work.h"

// ---- the stored text ----
// Character k (1-based) of the text block.
inline char txtget(const Work& W, const MasterRecord& L, int64_t k) {
  return cget(W, wbyte(L.START[L.TEXTBLK]) + k - 1);
}
inline void txtput(Work& W, const MasterRecord& L, int64_t k, char c) {
  cput(W, wbyte(L.START[L.TEXTBLK]) + k - 1, c);
}
// Entry k (1-based) of the line-start index.
inline int32_t lixget(const Work& W, const MasterRecord& L, int64_t k) {
  return wget(W, (int64_t)L.START[L.LINEIX] + k - 1);
}
inline void lixput(Work& W, const MasterRecord& L, int64_t k, int32_t v) {
  wput(W, (int64_t)L.START[L.LINEIX] + k - 1, v);
}
// True when a model text is stored.
inline bool hasmodel_(const MasterRecord& L) {
  return L.MODLINES > 0 && L.TEXTBLK > 0 && L.LINEIX > 0 && L.START[L.TEXTBLK] > 0 && L.START[L.LINEIX] > 0;
}
// Characters of the stored text (0 with no model).
int32_t textlen_(const Work& W, const MasterRecord& L);

// Element k (1-based) of the custom parameter list (APIBLK): identifier, type, value by entry.
inline double apiget(const Work& W, const MasterRecord& L, int32_t k) {
  return dget(W, (int64_t)L.START[L.APIBLK] + 2 * (int64_t)(k - 1));
}

// ---- entry, listing, deletion, copies (modeltext.cpp) ----
// Reads model lines: mode 1 appends, any other value starts a new text; hidden 1 reads
// scrambled lines and fills key (keylen characters); oneline stores the command line only.
void getmod_(int32_t mode, Work& W, MasterRecord& L, int32_t hidden, int32_t keylen, int32_t syntax,
             int32_t oneline, char* key);
// Lists lines first..last on OUTUNIT; hidden 1 writes the scrambled form with the 8-character key.
void look2_(Work& W, MasterRecord& L, int32_t first, int32_t last, int32_t hidden, const char* key,
            int32_t heading);
// Writes the line number right-aligned in width characters and "]" into out.
void prtlnm_(MasterRecord& L, int32_t line, int32_t width, char* out, int32_t flag);
void deline_(Work& W, MasterRecord& L, int32_t first, int32_t last);
void savmod_(Work& W, MasterRecord& L, int32_t& handle, int32_t& length);
int32_t compare_(const Work& W, const MasterRecord& L, int32_t handle, int32_t length);
// True when the held solution belongs to the text as it stands.
int32_t tstopt_(Work& W, MasterRecord& L);
// Forgets every block handle of the model text, its copies and the custom parameters
// (the work store forgets all its blocks).
void txtforget_(MasterRecord& L);
// Cuts the text block to the text and the line blocks to MODLINES+2 entries, keeping
// TEXTCAP and LINECAP equal to the blocks' sizes. Status 0, or the store's status.
void cuttxt_(Work& W, MasterRecord& L, int32_t& status);

// ---- ALTER (alter.cpp) ----
void altbos_(Work& W, MasterRecord& L);
void getstr_(MasterRecord& L, char* out, char delim, int32_t& length);
void alter_(Work& W, MasterRecord& L, int32_t line, const char* old, int32_t oldlen, const char* neu, int32_t newlen,
            char* result, int32_t limit, int32_t& count, int32_t& status);
void txtswp_(const Work& W, const MasterRecord& L, const char* old, int32_t oldlen, const char* neu, int32_t newlen,
             int32_t text, int32_t offset, int32_t linelen, char* result, int32_t limit, int32_t& reslen,
             int32_t& count, int32_t& overflow);
void shiftk_(char& out, int32_t n, char c);
// Inserts a line of the given length as line lnum of the text.
void insrtl_(Work& W, MasterRecord& L, const char* text, int32_t length, int32_t lnum, int32_t& status);

// ---- hidden text (hide.cpp) ----
void lkrypt_(unsigned char* line, int32_t key, int32_t& chain, int32_t count);
void ldkryp_(unsigned char* line, int32_t length, int32_t& chain, int32_t& key, int32_t count);
// The process CPU time in seconds; tests may install their own clock.
double cpusec_();
void setcpuclock_(double (*clock)());

// ---- custom solver-library parameters (apiset.cpp) ----
void clearapiparams_(MasterRecord& L);
void storeapiparam_(Work& W, MasterRecord& L, int32_t id, int32_t type, double value, int32_t& status);
void dispapiparams_(Work& W, MasterRecord& L);
void setapicom_(Work& W, MasterRecord& L);

// ---- command catalogue and help (help.cpp) ----
void lstcat_(Work& W, MasterRecord& L, int32_t unit, int32_t mode);
void lstcmd_(MasterRecord& L, int32_t unit, int32_t category);
void help_(Work& W, MasterRecord& L, int32_t topic, int32_t unit);
