// Master-record fields owned by the language subsystem.
#pragma once
#include <cstdint>
#include "language/pending_frontend.h"

// ---- front end: name tables, set table, compiled code, compiler working state ----
constexpr int OPSTKMAX = 256;  // room of the operator stack (OPLIMIT is the limit in force)
constexpr int LOOPMAX = 64;    // room of the set-loop stack
constexpr int NDXMAX = 48;     // room of the index stack and largest set dimension

struct FrontendFields {
  // name tables: block handle, count, capacity, hash block handle, hash size
  int32_t KSNAME = 0, SETCAP = 0, SETHSH = 0, SETHSZ = 0;  // sets (count NSETS)
  int32_t KANAME = 0, NATTRS = 0, ATTRCAP = 0, ATTHSH = 0, ATTHSZ = 0;
  int32_t KPNAME = 0, NPRIMEL = 0, PRIMCAP = 0, PRMHSH = 0, PRMHSZ = 0;
  int32_t SCLNAM = 0, NSCALAR = 0, SCLCAP = 0, SCLHSH = 0, SCLHSZ = 0;
  int32_t ROWNAM = 0, NROWNM = 0, ROWNMCAP = 0, ROWHSH = 0, ROWHSZ = 0;
  int32_t ROWNDIM = 0;  // index positions of each named row (capacity ROWNMCAP)

  // per-set tables (SETCAP entries each)
  int32_t LXSTUB = 0, LASTUB = 0, INXNTR = 0, SETORD = 0, INANTR = 0, NNTRYS = 0;
  int32_t SETPST = 0, SETALC = 0, SETCST = 0;
  // shared set lists
  int32_t IDOWNR = 0;                               // owner of each attribute (ATTRCAP)
  int32_t NDXSTB = 0, NDXSTBN = 0, NDXSTBCAP = 0;   // primitive set of each index position
  int32_t SETPAR = 0, SETPARN = 0, SETPARCAP = 0;   // immediate parents
  int32_t NDRVEL = 0, NDRVUSE = 0, NDRVCAP = 0;     // derived set member tuples
  int32_t CNDBLK = 0, CNDCAP = 0;                   // set condition code

  // compiled code and statement list
  int32_t CODEBLK = 0, CODELEN = 0, CODECAP = 0;
  int32_t STMTIX = 0, STMTCNT = 0, STMTCAP = 0;

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
  int32_t SETBUILT = 0;  // sets allocated by the last allocset_ (for the trace)

  // generated names
  int32_t VNAMEWD = 0, RNAMEWD = 0;
};

struct LangFields : FrontendFields, PendingFrontendFields {};
