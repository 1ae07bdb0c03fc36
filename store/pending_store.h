// Routines of other subsystems that the work store calls. Each declaration moves to its
// owner's header as soon as that owner lands.
#pragma once
#include <cstdint>

struct Work;
struct MasterRecord;

void freesort_(Work& a, MasterRecord& L);            // sorted set order blocks
void freescalarlists_(MasterRecord& L);              // scalar model lists
void freematrix_(MasterRecord& L);                   // coefficient matrix blocks
void defparam_(MasterRecord& L);                     // parameter defaults
void resetsolverstatus_(MasterRecord& L);            // solver status region
void clrdbs_(char* text, int32_t& len, int32_t width);  // database login text
void dmy2d_(int32_t& day, int32_t& month, int32_t& year, int32_t& dayno, int32_t& weekday);
void timeout_(MasterRecord& L, int32_t& result);     // time limit reached: bit 0 set
#include "store/io.h"  // lprint_
