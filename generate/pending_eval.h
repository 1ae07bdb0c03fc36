// Routines of other subsystems that the evaluation core calls. Each declaration moves to
// its owner's header as soon as that owner lands (the stand-ins are in
// language/pending_eval.cpp).
#pragma once
#include <cstdint>

#include "store/io.h"

struct Work;
struct MasterRecord;

// printable names of a variable and of a generated row (length: field width in, length out)
void vdx2nh_(Work& a, MasterRecord& L, int32_t v, char* buf, int32_t& length);
void rdx2nh_(Work& a, MasterRecord& L, int32_t r, char* buf, int32_t& length);
