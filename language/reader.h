// The model text store and its reader: the stored lines (TEXTBLK, LINEIX, LINEMAP), the
// character stream that the scanner reads (comments removed, blanks folded, a line-number
// escape at every change of source line, "@FILE(" includes spliced in), the scanner's
// look-ahead buffer and the table of open include files.
//
// A line-number escape is four characters: NUL, the low and the high byte of the low 16
// bits of the line number, NUL. The high 16 bits of an escape that stands in SCANBUF are
// kept beside it in SCANHI, so line numbers are carried in 32 bits: escline_ gives them.
#pragma once
#include <cstdint>
#include "store/master.h"
#include "store/work.h"
#include "session/modeltext.h"

// ---- character readers ----
void i2put_(int32_t n, char out[2]);
void i2xtr_(const char in[2], int32_t& n);
// Next character of the text block text (a handle); blank flag 1 returns blanks, 0 skips them.
void getkx3_(const Work& W, MasterRecord& L, char comchr, char& quote, int32_t text, int32_t& pos, int32_t len,
             int32_t blank, char& out);
// Next character of the combined stream (model text and include files).
void getkf2_(Work& W, MasterRecord& L, char comchr, int32_t text, int32_t& pos, int32_t len, int32_t& pendcnt,
             char& ch, int32_t& endflag, int32_t& status);
// Refills SCANBUF from the reader.
void filbuf_(Work& W, MasterRecord& L, int32_t text, int32_t& pos, int32_t len, int32_t& status);
// The same over the stored text at TEXTPOS.
void filbuf_(Work& W, MasterRecord& L, int32_t& status);
// Buffer readers; buf is 1-based (buf[1] is the first character).
void getkx2_(Work& W, MasterRecord& L, char comchr, const char* buf, int32_t& pos, int32_t len, int32_t value,
             char& ch);
void getkxb_(Work& W, MasterRecord& L, char comchr, const char* buf, int32_t& pos, int32_t len, int32_t value,
             int32_t& status);
void getkx4_(Work& W, MasterRecord& L, const char* buf, int32_t& pos, int32_t len, int32_t value, char& ch);
// The 32-bit line number of the escape whose marker stands at position k of SCANBUF.
int32_t escline_(const MasterRecord& L, int32_t k);

// ---- include table ----
int32_t isfileopen_(MasterRecord& L, const char* path);
int32_t addfiletolist_(MasterRecord& L, const char* path, int32_t& unit);
void initfi_(MasterRecord& L);
void shutfi_(MasterRecord& L);
// Forgets the include table's blocks (the work store forgets all its blocks).
void rdrforget_(MasterRecord& L);
