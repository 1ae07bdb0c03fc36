// Temporary declarations of routines and fields that other parts of the system provide.
// Each goes away as soon as its real owner lands.
#pragma once
#include <cstdint>

struct Work;
struct MasterRecord;

struct PendingFrontendFields {};

void xecute_(Work& W, MasterRecord& L, int32_t code, int32_t first, int32_t last, int32_t& status, double& out);
double xecute_top_(MasterRecord& L);    // value at the top of the evaluation stack
double xecute_first_(MasterRecord& L);  // first entry of the evaluation stack
void xecute_reset_(MasterRecord& L);  // clears the stack-control words
void savet_(Work& W, MasterRecord& L, const char* text, int32_t len, int32_t& status);
