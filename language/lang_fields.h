// Master-record fields owned by the language subsystem.
#pragma once
#include <cstdint>
#include "language/pending_frontend.h"

// ---- front end: name tables, set table, compiled code, compiler working state ----
constexpr int OPSTKMAX = 256;  // room of the operator stack (OPLIMIT is the limit in force)
constexpr int LOOPMAX = 64;    // room of the set-loop stack
constexpr int NDXMAX = 48;     // room of the index stack and largest set dimension

struct FrontendFields {
  // compiler working state kept between calls
  int32_t OPDEPTH = 0, OPLIMIT = 0;
  int32_t OPVAL[OPSTKMAX + 1] = {}, OPTAG[OPSTKMAX + 1] = {};
  int32_t NDXCNT = 0, NDXLIMIT = 0;  // index stack (the index name list of the name lookup)
  char NDXNAM[NDXMAX + 1][32] = {};
  int32_t NDXREP[NDXMAX + 1] = {};
  int32_t LOOPLV = 0;
  int32_t LOOPSET[LOOPMAX + 1] = {}, LOOPJMP[LOOPMAX + 1] = {}, LOOPPAR[LOOPMAX + 1] = {};
  int32_t CALCON = 0, BIGCNT = 0, NRUNTM = 0, SETMODE = 0;
  int32_t MAXPARENTS = 0;  // parents of one set (compiler limit word 4)
  int32_t CMPSTATE = 0;    // state handed between compiler calls

  // set builder
  int32_t CURTUP[NDXMAX + 1] = {};
  int32_t ODOMTR[NDXMAX + 1] = {};
  int32_t CURSET = 0;  // set whose condition is being run
  int32_t SETMSG = 0;  // 1 when the set builder has printed its message

  // generated names
  int32_t VNAMEWD = 0, RNAMEWD = 0;
};

struct LangFields : FrontendFields, PendingFrontendFields {};
