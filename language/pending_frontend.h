// Temporary declarations of routines and fields that other parts of the system provide.
// Each goes away as soon as its real owner lands.
#pragma once
#include <cstdint>

struct Work;
struct MasterRecord;

struct PendingFrontendFields {
  // model text reader and its look-ahead buffer
  char SCANBUF[808] = {};  // 1-based: SCANBUF[1..SCANCAP]
  int32_t SCANPOS = 0, SCANLEN = 0, SCANCAP = 800;
  int32_t TEXTPOS = 0, MODLINES = 0, TEXTBLK = 0, LINEIX = 0, LINEMAP = 0, SYNTAX = 0;
  int32_t SRCLINE = 1, TEXTLINE = 0;
  // parameter working values
  int32_t UNARYM = 1, USEPNM = 0, CHKDUP = 0, LINLEN = 76;
  // per-variable lists and model counts
  int32_t VARCAP = 0, VARTOP = 0, VARKND = 0, VARVAL = 0, NVARS = 0, NROWS = 0;
  int32_t TITLBLK = 0, TITLEN = 0;
};

void setblk_(int32_t type, int32_t& count, Work& W, MasterRecord& L, int32_t& handle, int32_t& status);
void rlsblk_(MasterRecord& L, int32_t& handle);
int32_t lprint_(MasterRecord& L, int32_t& unit, char* line, int32_t len);
void errmsh_(Work& W, MasterRecord& L, int32_t n);
void filbuf_(Work& W, MasterRecord& L, int32_t& status);
void xecute_(Work& W, MasterRecord& L, int32_t code, int32_t first, int32_t last, int32_t& status, double& out);
double xecute_top_(MasterRecord& L);    // value at the top of the evaluation stack
double xecute_first_(MasterRecord& L);  // first entry of the evaluation stack
void xecute_reset_(MasterRecord& L);  // clears the stack-control words
void grwset_(Work& W, MasterRecord& L, int32_t& status);
void grwvr3_(Work& W, MasterRecord& L, int32_t n, int32_t& status);
void savet_(Work& W, MasterRecord& L, const char* text, int32_t len, int32_t& status);
