// Master-record fields of the work store and common services: session words, the block
// table of the work array, console and input/output state, message arguments, numeric
// constants, solver handles and the special characters.
#pragma once
#include <cstdint>

constexpr int NHANDLES = 480;  // block handles 1..480; 1 and 2 are the chain sentinels

// ---- console input state of the line reader (files, terminal, messages) ----------------
struct StoreIoFields {
  int32_t INPEOF = 0;  // 1 after a terminal read that met end of input with nothing read
};

struct StoreFields : StoreIoFields {
  // session words
  int32_t WORD0 = 0;    // the session word 0
  int32_t MODSTAT = 0;  // model/solution status (1..14); 12 UNKNOWN at start

  // block table of the work array (indexed by handle 1..480; index 0 unused)
  int32_t START[NHANDLES + 1] = {};
  int32_t NEXT[NHANDLES + 1] = {};
  int32_t PREV[NHANDLES + 1] = {};
  int32_t LEN[NHANDLES + 1] = {};
  int32_t FREEHD = 0, CHAINHD = 0, TOTWRD = 0, TOTHND = 0, FREEWD = 0, PACKED = 0;
  int32_t LOWWRD = 0, LOWHND = 0, NCOMPACT = 0, NWMOVED = 0, NBMOVED = 0, NFREEH = 0;

  // console and input/output state
  int32_t TRACELV = 0;
  int32_t LINEND = 0;   // last non-blank position of the command line (0 = none)
  int32_t LINCUR = 0;   // cursor on the command line
  int32_t MAXLIN = 0;   // longest input line kept, 200
  int32_t TRMIN = 0, TRMOUT = 0;
  int32_t LINCNT = 0;
  int32_t BATMOD = 0;
  int32_t NAMEWD = 0;
  int32_t TAKELV = 0, TAKEMX = 0, DIVLV = 0, DIVMX = 0;
  int32_t IOMODE = 0;
  int32_t INUNIT = 0, OUTUNIT = 0;
  int32_t TAKSTK[11] = {};  // levels 1..10
  int32_t DIVSTK[11] = {};  // levels 1..10
  int32_t TXTBUF = 0;

  // command line buffers (200 characters, blank padded, plus room for a terminator)
  char LINBUF[204] = {};
  char LINRAW[204] = {};

  // message arguments and switches
  int32_t ERRARG = 0, ERRARG2 = 0, ERRARG3 = 0, ERRARG4 = 0;
  double ERRDBL = 0.0;
  char ERRSTR[201] = {};
  char ERRTXT[133] = {};
  int32_t LASTERR = 0;
  int32_t MSGOFF = 0;
  int32_t SHOWPOS = 0;
  int32_t HEAP_SWITCH = 0;

  // database login texts
  int32_t DBMAXL = 0;
  int32_t DBUSERLEN = 0, DBPASSLEN = 0;
  char DBUSER[129] = {};
  char DBPASS[129] = {};

  // numeric constants and limits
  double BIGNUM = 0.0, BIGNUM6 = 0.0, BIGLOG = 0.0, NEGBIG = 0.0;
  int32_t DBLWD = 0;
  int32_t STKMAX = 0;
  int32_t SCANMD = 0;
  int32_t CMPLIM1 = 0, CMPLIM2 = 0, CMPLIM3 = 0, CMPLIM4 = 0;  // compiler limit words 1..4
  int32_t INTLIM1 = 0, INTLIM2 = 0;                             // interpreter limit words 1..2
  int32_t NSETS = 0;

  // solver run state
  int32_t ENVHANDLE = 0, MODELHANDLE = 0;  // small ids into the solver bindings' tables
  int32_t HIDDEN = 0;
  int32_t INTMODE = 0;
  double START_TIME = 0.0;
  int32_t RUN_DATE = 0;
  int32_t USRFN[2] = {};
  int32_t PTRTAB[4] = {};

  // special characters
  char PROMPT1[3] = {}, PROMPT2[3] = {}, PROMPT3[3] = {};
  char TABCHR = 0, RBRCHR = 0, STARCHR = 0, COMCHR = 0, EOSCHR = 0, CRCHR = 0, LFCHR = 0, NULCHR = 0,
       TILCHR = 0;
};
