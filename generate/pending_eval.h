// Routines of other subsystems that the evaluation core calls. Each declaration moves to
// its owner's header as soon as that owner lands (the stand-ins are in
// store/pending_eval.cpp and language/pending_eval.cpp).
#pragma once
#include <cstdint>

struct Work;
struct MasterRecord;

// numbered message printer
void errmsh_(Work& a, MasterRecord& L, int32_t n);
// pause-and-read: shows the prompt and reads one answer line into the command line
void paws_(MasterRecord& L, const char* prompt, int32_t& length);
// optional sign (-1.0, 1.0, or 0.0 when none) and a number from the answer line
void getsgn_(MasterRecord& L, double& sign);
void getnum_(MasterRecord& L, int32_t& status, double& value);
// printable names of a variable and of a generated row (length: field width in, length out)
void vdx2nh_(Work& a, MasterRecord& L, int32_t v, char* buf, int32_t& length);
void rdx2nh_(Work& a, MasterRecord& L, int32_t r, char* buf, int32_t& length);
