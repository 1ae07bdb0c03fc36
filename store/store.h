// The work store: block allocation by handle over the work array, the catalogue of the
// model's blocks, start-up defaults, the memory report and the one fatal stop.
#pragma once
#include <cstdint>
#include "store/master.h"
#include "store/work.h"

// Element types of blocks: 1 characters, 2 integers (the word type), 3 2-byte items,
// 4 and 5 4-byte items, 6 reals, 7 8-byte items.
constexpr int32_t MAXREQ = 2147483640;  // largest request in bytes
constexpr int32_t UNFIXED = 2147483640; // fixing pass of a variable that is never fixed
constexpr double UNSETVAL = (double)1.2345679f;  // value of a variable not yet set
int32_t typsiz_(int32_t type);  // element size in bytes of a block type (0 when unknown)

// start-up defaults of the master record
void init_(MasterRecord& L);

// block allocator
void getblk_(int32_t type, int32_t& count, Work& a, MasterRecord& L, int32_t& handle,
             int32_t& status);
void setblk_(int32_t type, int32_t& count, Work& a, MasterRecord& L, int32_t& handle,
             int32_t& status);
void rlsblk_(MasterRecord& L, int32_t& handle);
void cmpact_(Work& a, MasterRecord& L);
void movblk_(Work& a, int64_t to, int64_t from, int64_t n);
void movbdn_(Work& a, int64_t toEnd, int64_t fromEnd, int64_t n);
void intmem_(Work& a, MasterRecord& L);
void idoub_(int32_t& n);
void cloneb_(Work& a, MasterRecord& L, int32_t src, int32_t& dst, int32_t& status);
int32_t compb_(const Work& a, const MasterRecord& L, int32_t h1, int32_t h2);
void rput_(void* array, int32_t k, float value);
void rget_(const void* array, int32_t k, float& value);
// Registers a routine that clears a subsystem's own block handles when intmem_ forgets
// every block (CLRMEM); registering the same routine twice keeps one entry.
void addresethook_(MasterRecord& L, ResetHook fn);

// start word of the block of handle h (0 when it has none); fetch again after any allocation
inline int32_t blkstart_(const MasterRecord& L, int32_t h) { return L.START[h]; }

// catalogue of the compiled and generated model
void grwset_(Work& a, MasterRecord& L, int32_t& status);
void setvarblocks_(Work& a, MasterRecord& L, int32_t n, int32_t& status);
void grwvr3_(Work& a, MasterRecord& L, int32_t n, int32_t& status);
void setrowblocks_(Work& a, MasterRecord& L, int32_t n, int32_t& status);
void grwrow_(Work& a, MasterRecord& L, int32_t n, int32_t& status);
void recovr_(Work& a, MasterRecord& L);
void updateptrs_(const MasterRecord& L, int32_t& index);
void clrcatalog_(MasterRecord& L);  // zeroes every catalogue handle, count and capacity

// memory report (MEM)
void mem_(MasterRecord& L);

// The fatal stop: flushes output, closes divert files through FATALHK, prints the text on
// the terminal and ends the program with exit status 1. Used only for impossible states.
[[noreturn]] void fatal_(MasterRecord& L, const char* text);

constexpr int32_t NAMECH = 32;   // characters of a name slot
constexpr int32_t WORDTYPE = 2;  // block type of the 4-byte word
