// Small shared helpers: number and version texts, string lengths under the two text
// conventions, byte copies, and a max-heap over an index array.
#pragma once
#include <cstdint>

struct MasterRecord;

// Text to number: pos is the position before the text (text counted from 1); on success
// it is left on the last character of the number. 0, or 1 no number, or 2 the number
// exceeded BIGNUM (val is BIGNUM then). syntax 1 reads no exponent.
int32_t txt2np_(const MasterRecord& L, const char* text, int32_t& pos, int32_t len, int32_t syntax, double& val);
void ushift_(char* line, int32_t n, char* raw);  // raw = line as typed, line upper-cased

void ERRMESS234_(int32_t count, double value, char* buf);  // "n large number(s) were ..."
void APPINTTOSTR_(char* buf, int32_t value);                // appends " value"
void APPVERTOSTR_(char* buf, int32_t a, int32_t b, int32_t c, int32_t d, const char* text);
void FLOAT2TXT_(double value, char* buf);                   // "%.8g"
void DOUBLE2TXT_(double value, char* buf);                  // "%.16g"
// Address of a variable or table, as a full-width integer.
inline intptr_t GETPTR_(const void* p) { return reinterpret_cast<intptr_t>(p); }
inline intptr_t GETPTRL_(const void* p) { return reinterpret_cast<intptr_t>(p); }
inline void COPRESENT(int32_t& flag) { flag = 1; }
// Copies an environment variable with its NUL into buf: 0, or 1 when it is not set.
int32_t GETCENV_(char* buf, const char* name);
// Takes the largest heap block up to size bytes (see ALLOCHEAP in util.cpp).
void ALLOCHEAP(int64_t size, int64_t& got, void*& ptr);
void RELEASEHEAP(void* ptr);

int32_t strlen_(const char* field200);  // last non-blank position of a 200-character field
int32_t strlen0_(const char* s);        // characters before the terminator (NUL)
void cpack_(int32_t n, const void* src, void* dst);    // copies n bytes upward
void cunpack_(int32_t n, const void* src, void* dst);  // copies n bytes upward

// Max-heap of index[1..n] on key[index[i]] (both arrays 1-based: index[0], key[0] unused).
void heapit_(int32_t n, int32_t unused, int32_t* index, const int32_t* key);
// Moves the top to position n and restores the heap on 1..n-1.
void heapfr_(int32_t n, int32_t unused, int32_t* index, const int32_t* key);
