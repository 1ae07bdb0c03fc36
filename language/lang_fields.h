// Master-record fields owned by the language subsystem.
#pragma once
#include <cstdint>

// ---- front end: name tables, set table, compiled code, compiler working state ----
constexpr int OPSTKMAX = 256;  // room of the operator stack (OPLIMIT is the limit in force)
constexpr int LOOPMAX = 64;    // room of the set-loop stack
constexpr int NDXMAX = 48;     // room of the index stack and largest set dimension
constexpr int SPXSLOTS = 8;    // member lists by position kept at once

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
  int32_t CURTUP[NDXMAX + 1] = {};  // candidate member of the set being built, components 1..48
  int32_t ODOMTR[NDXMAX + 1] = {};
  int32_t CURSET = 0;  // set whose condition is being run
  int32_t SETMSG = 0;  // 1 when the set builder has printed its message

  // members of derived sets by the value at one position (setindex.cpp): heap block ids
  // of the lists built so far, 0 = free slot, and the slot the next list takes
  int32_t SPXID[SPXSLOTS] = {};
  int32_t SPXNXT = 0;

  // generated names
  int32_t VNAMEWD = 0, RNAMEWD = 0;

  // model title and the open database object
  int32_t DBHANDLE = 0;             // database object, 0 = none
  int32_t DBSRC = 0, DBSRCLN = 0;   // data-source name of the open object

};

// ---- model text store and reader (reader.cpp) -------------------------------------------
// The stored model text, the reader that turns it into the scanner's character stream,
// the scanner's look-ahead buffer and the table of include files.
constexpr int SCANMAX = 800;   // characters of the scanner's look-ahead buffer
constexpr int INCSLOTS = 256;  // include slots
constexpr int INCNAMELEN = 256;

struct ReaderFields {
  // model text store
  int32_t MODLINES = 0;  // stored lines, 0 = no model
  int32_t TEXTBLK = 0;   // character block: all lines, no separators
  int32_t LINEIX = 0;    // integer block: start of line k, entry MODLINES+1 one past the end
  int32_t LINEMAP = 0;   // integer block: a caller's value per source line
  int32_t SYNTAX = 0;    // 0 modelling language, 1 row-by-row syntax
  int32_t TEXTCAP = 0;   // characters TEXTBLK holds
  int32_t LINECAP = 0;   // entries LINEIX and LINEMAP hold
  int32_t TEXTPOS = 0;   // characters of the text the reader has consumed
  int32_t TITLBLK = 0, TITLEN = 0;  // the model title's block and length

  // reader state
  int32_t TEXTLINE = 0;  // line of the text the reader is in
  int32_t SRCLINE = 1;   // last source line decoded from an escape (32 bits)
  char PENDQ[6] = {};    // queued characters, 1-based
  int32_t PENDLEN = 0, PENDCNT = 0;
  int32_t PENDSRC = 0;   // 1 when the queued characters came from the model text
  int32_t PENDHI = 0;    // high 16 bits of the line of a queued escape
  char QUOTECH = 0;      // open quote character of the model text, NUL outside quotes

  // scanner look-ahead buffer: SCANBUF[1..SCANCAP]; SCANHI[k] holds the high 16 bits of
  // the line number of an escape that starts at position k
  char SCANBUF[SCANMAX + 8] = {};
  int32_t SCANHI[SCANMAX + 8] = {};
  int32_t SCANCAP = SCANMAX, SCANPOS = 0, SCANLEN = 0;

  // include table: slots 1..256 on the open list (INCHEAD, newest first) or the free list.
  // A slot's name is written when the slot opens and read only while it is open: the table
  // has no initial value, so that a session that includes no file never touches its pages.
  char INCNAME[INCSLOTS + 1][INCNAMELEN + 1];
  int32_t INCUNIT[INCSLOTS + 1] = {};  // file handle, 0 = closed
  int32_t INCLEN[INCSLOTS + 1] = {};   // characters of the current line
  int32_t INCPOS[INCSLOTS + 1] = {};   // characters of it consumed
  int32_t INCNEXT[INCSLOTS + 1] = {}, INCPREV[INCSLOTS + 1] = {};
  int32_t INCSAVE[INCSLOTS + 1] = {};  // saved-line block of a suspended file
  int32_t INCHEAD = 0, INCFREE = 0, INCCUR = 0, INCON = 1;
  int32_t INCLBLK = 0, INCLCAP = 0;    // character block holding the current file's line
};

// ---- values of the data sections (values.h) ----------------------------------------
struct ValueFields {
  int32_t PTRARG = 0;  // word handed to the pointer hook
};

struct LangFields : FrontendFields, ReaderFields, ValueFields {};
