// Master-record fields of the work store and common services: session words, the block
// table of the work array, console and input/output state, message arguments, numeric
// constants, solver handles and the special characters.
#pragma once
#include <cstdint>

struct MasterRecord;
using ResetHook = void (*)(MasterRecord& L);  // run when the block table is forgotten
using FatalHook = void (*)(MasterRecord& L);  // run before a fatal stop (closes divert files)
constexpr int NRESETHOOKS = 8;

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
  int32_t LOWWRD = 0, LOWHND = 0, NCOMPACT = 0, NBMOVED = 0, NFREEH = 0;
  int64_t NWMOVED = 0;  // words moved over the session (can pass 2^31 in a long session)

  // subsystems whose own handle fields must be cleared when the block table is forgotten
  // (model text, saved copies, APISET list, ...) register here; see addresethook_
  ResetHook RESETHK[NRESETHOOKS] = {};
  int32_t NRESETHK = 0;
  FatalHook FATALHK = nullptr;  // closes divert files before a fatal stop

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

  // ---- catalogue of the compiled and generated model's blocks (handles, counts, capacities);
  // released together by recovr_, forgotten by intmem_ ----
  // name tables: name block, count, capacity, hash block, hash size
  int32_t KSNAME = 0, SETCAP = 0, SETHSH = 0, SETHSZ = 0;  // sets (count NSETS)
  int32_t KANAME = 0, NATTRS = 0, ATTRCAP = 0, ATTHSH = 0, ATTHSZ = 0;
  int32_t KPNAME = 0, NPRIMEL = 0, PRIMCAP = 0, PRMHSH = 0, PRMHSZ = 0;
  int32_t SCLNAM = 0, NSCALAR = 0, SCLCAP = 0, SCLHSH = 0, SCLHSZ = 0;
  int32_t ROWNAM = 0, NROWNM = 0, ROWNMCAP = 0, ROWHSH = 0, ROWHSZ = 0;
  int32_t ROWNDIM = 0;  // index positions of each named row (capacity ROWNMCAP)
  // per-set tables (SETCAP entries each, grown together by grwset_)
  int32_t LXSTUB = 0, LASTUB = 0, INXNTR = 0, SETORD = 0, INANTR = 0, NNTRYS = 0;
  int32_t SETPST = 0, SETALC = 0, SETCST = 0;
  // shared set lists
  int32_t IDOWNR = 0;                              // owner of each attribute (ATTRCAP)
  int32_t NDXSTB = 0, NDXSTBN = 0, NDXSTBCAP = 0;  // primitive set of each index position
  int32_t SETPAR = 0, SETPARN = 0, SETPARCAP = 0;  // immediate parents
  int32_t NDRVEL = 0, NDRVUSE = 0, NDRVCAP = 0;    // derived set member tuples
  int32_t CNDBLK = 0, CNDCAP = 0;                  // set condition code
  // compiled code and its statement list
  int32_t CODEBLK = 0, CODELEN = 0, CODECAP = 0;
  int32_t STMTIX = 0, STMTCNT = 0, STMTCAP = 0;
  // row code of the generated rows
  int32_t RCODE = 0, RCODEN = 0, RCODECAP = 0;
  // per-variable arrays (VARCAP entries; attribute-block variables, VARTOP of them, at the top)
  int32_t VARFIX = 0;  // fixing pass, 2147483640 = never fixed
  int32_t VARKND = 0;  // variable kind
  int32_t VARINT = 0;  // further integer per variable
  int32_t VARVAL = 0;  // values (reals); new entries hold UNSETVAL
  int32_t VARRDC = 0;  // reduced costs (reals), the second real per variable; 0.0 until solved
  int32_t VARLB = 0, VARUB = 0;    // bound arrays (reals)
  int32_t VARCAP = 0, NVARS = 0, VARTOP = 0;
  // variable reference lists written by the compiler
  int32_t VREF1 = 0, VREF1N = 0, VREF1CAP = 0;
  int32_t VREF2 = 0, VREF2N = 0, VREF2CAP = 0;
  // per-row arrays (ROWCAP entries, grown together by grwrow_): the handles of the generated
  // rows are in generate/gen_fields.h and their layout in generate/rows.h
  int32_t ROWTYPES = 0, ROWMAP = 0;
  int32_t ROWD2 = 0;
  int32_t ROWCAP = 0, NROWS = 0;
  // structural analyser blocks
  int32_t STRUCTN = 0;
  int32_t STRBLK2 = 0;
  int32_t UNIQBLK = 0, NUNIQ = 0;  // fixed rows whose root is not unique (row, variable pairs)
  int32_t XTRBLK = 0, NXTR = 0;    // a further generated-model block with its count
  // range blocks (reals): two per variable, two per row
  int32_t RNGV1 = 0, RNGV2 = 0, RNGR1 = 0, RNGR2 = 0;
  // output-operation lists of the DATA sections
  int32_t OUTOPS = 0, OUTOPN = 0, OUTOPCAP = 0;
  int32_t OUTENDS = 0, OUTENDN = 0, OUTENDCAP = 0;
  int32_t OUTTXT = 0, OUTTXTN = 0, OUTTXTCAP = 0;
  int32_t OUTCODE = 0, OUTCODN = 0, OUTCODECAP = 0;
  int32_t OUTCODST = 0, OUTCODSTCAP = 0;
  // database output block
  int32_t DBOBLK = 0, DBOBLKN = 0, DBOBLKCAP = 0;
  // output result buffers: text store with its seven companion words, item kinds, item
  // positions, number store (reals), and a further integer buffer: the item count after
  // each flush of the interpreter's stack (ORBFLUSHN entries), so that every flush is
  // written as one record whatever its size
  int32_t ORBTXT = 0, ORBTXTN = 0, ORBTXTCAP = 0, ORBITEMS = 0, ORBITEMCAP = 0, ORBWRITES = 0,
          ORBNUMN = 0, ORBNUMCAP = 0;
  int32_t ORBKND = 0, ORBPOS = 0, ORBNUM = 0, ORBAUX = 0, ORBFLUSHN = 0;
};
