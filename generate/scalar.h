// The scalar model: the per-row code in the solver library's instruction form (codes
// 1000 + k with a pool of constants), the emitter that writes it from the instruction
// stream, the listing of the lists, and the asking of values left open by the model.
#pragma once
#include <cstdint>

#include "generate/blk.h"
#include "store/master.h"
#include "store/work.h"

// ---- instruction codes of the scalar lists ----
constexpr int32_t SC_BASE = 1000;
constexpr int32_t SC_NAMES = 77;       // named codes 1000 .. 1076
constexpr int32_t SC_USER = 1054;
constexpr int32_t SC_MIN = 1057, SC_MAX = 1058;
constexpr int32_t SC_PUSHNUM = 1062, SC_PUSHVAR = 1063;
constexpr int32_t SC_BRACKET = 1070;   // followed by a sub-code: 0 "(", 1 ")", 2 ","
constexpr int32_t SC_SQR = 1077;
constexpr int32_t SC_MAXARGS = 128;    // largest count word of a MIN or MAX code
// The 16-character name of code c (1000 .. 1077; other codes get "?").
const char* scname_(int32_t c);

// ---- statuses of the emitter (exec_, scalarize_row_, scalarizemodel_) ----
// 0 done; 1 work store short; 2 value stack overflow; 3 more than 20 nested set loops;
// 4 index registers exhausted; 5 a folded part failed numerically; 6 heap short;
// 9 the row holds an instruction that scalar code cannot express (message 172).
constexpr int32_t SCST_UNSUPPORTED = 9;

// ---- the generated model as the lists read it ----
// Rows and variables are reached through their positions in the permutations: the fixed
// variables (and their rows) come first, NFIXED of them, then the explicit ones.
inline int32_t rowatpos_(const Work& W, const MasterRecord& L, int32_t p) { return bgeti(W, L, L.ROWORD, p); }
inline int32_t rowtype_(const Work& W, const MasterRecord& L, int32_t r) { return bgeti(W, L, L.ROWTYPES, r); }
inline int32_t rowstmt_(const Work& W, const MasterRecord& L, int32_t r) { return bgeti(W, L, L.ROWSTP, r); }
inline int32_t varatpos_(const Work& W, const MasterRecord& L, int32_t p) { return bgeti(W, L, L.VARORD, p); }
inline int32_t varpos_(const Work& W, const MasterRecord& L, int32_t v) { return bgeti(W, L, L.VARPOS, v); }
// Swaps the rows at positions p and q in both row permutations.
void swaprows_(Work& W, MasterRecord& L, int32_t p, int32_t q);

// ---- the lists ----
// Releases the nine lists and zeroes their counts, in the current storage mode.
void freescalarlists_(MasterRecord& L);
// Fills variable types and bounds of the explicit variables; error 0, 1 work store, 2 heap.
void buildvtypearray_(Work& W, MasterRecord& L, int32_t& error);
// Makes room for n more instruction words; error 0, 1 work store, 2 heap.
void checkfreeins_(Work& W, MasterRecord& L, int32_t n, int32_t& error);
// Appends one word (room reserved by checkfreeins_ first).
void addscalarins_(Work& W, MasterRecord& L, int32_t code);
// Appends a constant to the pool and its index word to the list; error 0, 1, 2.
void addconsttolist_(Work& W, MasterRecord& L, double value, int32_t& error);
struct VxSet;
// Emits the code of generated row r; error as the emitter's status. held: VXSLOTS set
// look-up tables kept from row to row by a caller that builds no set between the rows
// (nullptr: the emitter keeps its own for the row).
void scalarize_row_(Work& W, MasterRecord& L, int32_t r, int32_t& error, VxSet* held = nullptr);
// Builds every list of the explicit rows; error 0, 1 work store, 6 heap, or the emitter's.
void scalarizemodel_(Work& W, MasterRecord& L, int32_t& error);

// ---- the emitter ----
// Turns the code of one row from position start into scalar code; status as above. held
// as for scalarize_row_.
void exec_(Work& W, MasterRecord& L, const int32_t& start, const int32_t& limit, int32_t& status,
           VxSet* held = nullptr);

// ---- listing ----
void dispscalarinslists_(Work& W, MasterRecord& L);
void dumpscalarlists_(Work& W, MasterRecord& L);
void translatescalarlist_(Work& W, MasterRecord& L, int32_t start, int32_t length);

// ---- values asked at generation ----
// Mode 1 asks the data values left open, any other mode the start values; error 1 when
// the asking stopped on an empty answer.
void getrti_(Work& W, MasterRecord& L, int32_t mode, int32_t& error);
void getrtv_(Work& W, MasterRecord& L, int32_t v, int32_t& error);

// ---- element access in the lists' storage mode ----
inline bool slheap_(const MasterRecord& L) { return (L.HEAP_SWITCH & 1) != 0; }
int32_t sligeti_(const Work& W, const MasterRecord& L, int32_t h, int64_t k);
double slgetd_(const Work& W, const MasterRecord& L, int32_t h, int64_t k);
char slgetc_(const Work& W, const MasterRecord& L, int32_t h, int64_t k);
