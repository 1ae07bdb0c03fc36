// Shared helpers of the model language front end: element access to work-store blocks,
// name slots, and the declarations of the front end's routines.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "store/master.h"
#include "store/work.h"
#include "store/store.h"
#include "store/util.h"
#include "store/io.h"

void errmsh_(Work& W, MasterRecord& L, int32_t n);  // the numbered message printer

constexpr int NAMELEN = 32;  // characters of a name slot

// Integer element k (1-based) of the type-2 block with handle h.
inline int32_t iget(const Work& W, const MasterRecord& L, int32_t h, int64_t k) {
  return wget(W, (int64_t)L.START[h] + k - 1);
}
inline void iput(Work& W, const MasterRecord& L, int32_t h, int64_t k, int32_t v) {
  wput(W, (int64_t)L.START[h] + k - 1, v);
}
// Byte j (1-based) of name slot i of the name block h.
inline int64_t nbyte(const MasterRecord& L, int32_t h, int64_t i) {
  return wbyte(L.START[h]) + (i - 1) * NAMELEN;
}

// ---- name tables (names.cpp) ----
struct NameTable {  // the master-record words of one name table
  int32_t* blk;
  int32_t* count;
  int32_t* cap;
  int32_t* hash;
  int32_t* hsize;
};
NameTable nt_sets(MasterRecord& L);
NameTable nt_attrs(MasterRecord& L);
NameTable nt_prim(MasterRecord& L);
NameTable nt_scalar(MasterRecord& L);
NameTable nt_rows(MasterRecord& L);
uint32_t hash_funk_(const char* text, int32_t len, int32_t n);
int32_t fprime_(int32_t n);
void add_name_hash_(Work& W, MasterRecord& L, NameTable t, const char* name, int32_t len, int32_t& status);
int32_t find_name_hash_(const Work& W, const MasterRecord& L, NameTable t, const char* name, int32_t len);
int32_t find_name_rng_hash_(const Work& W, const MasterRecord& L, NameTable t, const char* name, int32_t len,
                            int32_t lo, int32_t hi);
void grow_hash_table_(Work& W, MasterRecord& L, NameTable t, int32_t& status);
// Makes room in table t for n more names at once: the name and hash blocks at the sizes
// that n additions one by one would leave them, so that a long range of
// members neither moves the names nor rebuilds the hash again and again. Where the store
// cannot give it, the additions grow the table as they go.
void reserve_names_(Work& W, MasterRecord& L, NameTable t, int64_t n);
void getnam_(const Work& W, const MasterRecord& L, int32_t blk, int32_t i, char* text, int32_t& len);
std::string namestr(const Work& W, const MasterRecord& L, int32_t blk, int32_t i);  // trimmed
void putnam_(Work& W, const MasterRecord& L, int32_t blk, int32_t i, const char* name, int32_t len);
// Upper-cases a..z, leaves every other byte.
constexpr char kshift_(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }
// Per character: upper-cased when it may go on a name, else 0.
inline constexpr std::array<char, 256> NAMEUP = [] {
  std::array<char, 256> t{};
  for (int d = 0; d < 256; ++d)
    if ((d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z') || (d >= '0' && d <= '9') || d == '_')
      t[(size_t)d] = kshift_((char)d);
  return t;
}();
int32_t trimlen(const char* s, int32_t n);

// ---- scanner and text conversions (scanner.cpp) ----
struct Vocab {  // a vocabulary: token texts with 1-based start positions
  const char* text;
  const int32_t* start;
  int32_t ntok;
  // per token (1-based): the first character of a word or sign, 0 for a symbol class ("!k")
  const char* lead = nullptr;
};
struct SymOut {
  int32_t ival = 0;
  double val = 0.0;
  char name[NAMELEN + 1] = {};
  int32_t namelen = 0;
  char text[204] = {};
  int32_t textlen = 0;
  int32_t start = 0;   // buffer position of the symbol's first character
  int32_t status = 0;  // reader status of a failed refill
};
// Per candidate list, by a symbol's first character: 1 + the place of the first candidate
// the lead filter lets through, 0 until getsym_ first needs it.
struct CandStart {
  uint8_t at[256] = {};
};
int32_t getsym_(Work& W, MasterRecord& L, const Vocab& v, const int16_t* cand, int32_t ncand, int32_t blanksym,
                SymOut& out, CandStart* from = nullptr);
int32_t getsym_quick_(Work& W, MasterRecord& L, const Vocab& v, const int16_t* cand, int32_t ncand,
                      int32_t blanksym, SymOut& out, CandStart& from);  // its common case; -2 when undecided
char sbnext_(Work& W, MasterRecord& L);        // next non-blank character of the scanner buffer (taken)
char sbpeek_(Work& W, MasterRecord& L);        // the same without taking it
char sbexact_(Work& W, MasterRecord& L);       // next character exactly as stored (NUL at an escape or the end)
int32_t getblank_(Work& W, MasterRecord& L);  // moves to the next blank; 1 when none
bool textleft(const Work& W, const MasterRecord& L);  // model text not yet in the buffer
// Whether getsym_ refills the buffer before a symbol starting at the buffer's position.
inline bool refilldue(const Work& W, const MasterRecord& L) {
  return L.SCANLEN - L.SCANPOS <= L.MAXLIN + 9 && textleft(W, L);
}
// The position of the first character that is not a blank after q, past line-number escapes
// (esc: where the last one begins); 0 at the end of the buffer.
inline int32_t nextnbat_(const MasterRecord& L, int32_t q, int32_t& esc) {
  for (;;) {
    if (q >= L.SCANLEN) return 0;
    const char c = L.SCANBUF[++q];
    if (c == ' ') continue;
    if (c != 0) return q;
    if (q + 3 > L.SCANLEN) return 0;
    esc = q;
    q += 3;
  }
}
int32_t enkody_(Work& W, MasterRecord& L, char* name);
int32_t txt2nm_(Work& W, MasterRecord& L, int32_t& pos, double& val);  // on the scanner buffer
int32_t txt2int_(const char* text, int32_t& pos, int32_t len, int32_t& val);
int32_t fixaname_(char* name, int32_t len, int32_t flags);

// ---- set table and model object names ----
void cinit_(Work& W, MasterRecord& L, int32_t& status);
void shoset_(Work& W, MasterRecord& L);
void freesort_(Work& W, MasterRecord& L);
// Blanks a login text over width characters and sets its length to 0.
void clrdbs_(char* text, int32_t& len, int32_t width);
void fndnmm_(Work& W, MasterRecord& L, const char* name, int32_t& kind, int32_t& index);
void fndnmm_(Work& W, MasterRecord& L, const char* name, int32_t len, int32_t& kind, int32_t& index);
int32_t ndxfn2_(const char* name, const char (*list)[32], int32_t count);
void nm2txt_(double x, char* text, int32_t& len);
// Default name: prefix, the number zero-padded to width (never cut), NUL-terminated.
void wrtrcnam_(MasterRecord& L, const char* prefix, int32_t width, int32_t number, char* name);
void ndx2nm_(const char* prefix, int32_t plen, int32_t n, char* text);
bool fixaname2_(char* name, int32_t& len, int32_t maxlen, bool digitPrefix);
void vdx2nh_(Work& W, MasterRecord& L, int32_t v, char* text, int32_t& len);
inline int32_t setdim(const Work& W, const MasterRecord& L, int32_t s) {
  return iget(W, L, L.LXSTUB, s + 1) - iget(W, L, L.LXSTUB, s);
}
inline int32_t setnattr(const Work& W, const MasterRecord& L, int32_t s) {
  return iget(W, L, L.LASTUB, s + 1) - iget(W, L, L.LASTUB, s);
}

// ---- implicit members, set building (implset.cpp, setbuild.cpp) ----
int32_t validset_(char* first, char* last);
int32_t makeset_(char* first, char* last, char* list);
void implset_(Work& W, MasterRecord& L, int32_t s, char* last, int32_t len, int32_t& status);
void allocset_(Work& W, MasterRecord& L, int32_t s, int32_t& status);
void defprnt_(Work& W, MasterRecord& L, int32_t s, int32_t& status);
bool prntsparse_(const Work& W, const MasterRecord& L, int32_t s);
bool validmember_(const Work& W, const MasterRecord& L, int32_t s, int32_t pos);
int32_t psendx_(const Work& W, const MasterRecord& L, const char* name, int32_t s);
int32_t cmptup_(const int32_t* a, const int32_t* b, int32_t n);
int32_t setmember_(const Work& W, const MasterRecord& L, int32_t s, const int32_t* tup);  // member number or 0
int32_t setrepeat_(Work& W, MasterRecord& L, int32_t s);  // a member given twice (setrepeat.cpp)

// ---- members of a derived set by the value at one position (setindex.cpp) ----
// The list of the members of set s ordered by their entry at position c, storage order
// among equal entries (a heap block id, 0 when it cannot be had); built on first use and
// kept until spxfree_.
int32_t spxget_(const Work& W, MasterRecord& L, int32_t s, int32_t c);
// The members of list id whose entry equals v: their NDRVEL positions are the list's
// elements cur + 1 .. last (none when last <= cur).
void spxrange_(int32_t id, int32_t v, int32_t& cur, int32_t& last);
// Releases every list (a new model, or the store forgetting its blocks).
void spxfree_(MasterRecord& L);

// ---- compilers, listing, driver ----
void cmpexpqrn_(Work& W, MasterRecord& L, int32_t& state, int32_t& errarg, int32_t& nerr);
void cmpexpbrk_(Work& W, MasterRecord& L, int32_t& state, int32_t& errarg, int32_t& nerr);
void shoins_(Work& W, MasterRecord& L);
void intran_(Work& W, MasterRecord& L, int32_t blk, int32_t first, int32_t last);
void getrowdim_(const Work& W, const MasterRecord& L, int32_t& result);
void outline(MasterRecord& L, const std::string& s);  // one line on the output unit

void rdx2nh_(Work& W, MasterRecord& L, int32_t r, char* text, int32_t& len);

// ---- login texts, title, model checks (dbtitle.cpp) ----
void dbuser_(MasterRecord& L, int32_t mode, char* user, char* pass, int32_t& status);
int32_t itcomp_(Work& W, MasterRecord& L, const char* text, int32_t length);
void initdbs_(Work& W, MasterRecord& L, const char* src, int32_t length, int32_t& status);
void savet_(Work& W, MasterRecord& L, const char* text, int32_t len, int32_t& status);
void printt_(Work& W, MasterRecord& L, int32_t unit, int32_t mode);
void chkdup_(Work& W, MasterRecord& L);
