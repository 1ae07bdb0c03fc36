// Start-up defaults of the master record.
#include <cmath>
#include <cstring>
#include "store/hooks.h"
#include "store/upcalls.h"
#include "store/store.h"

// Sets every built-in default; reads no file and cannot fail.
void init_(MasterRecord& L) {
  L.TOTHND = NHANDLES;
  L.IOMODE = 10;
  L.CMPLIM1 = 40;
  L.ENVHANDLE = 0;
  L.CMPLIM2 = 12;
  L.MODELHANDLE = 0;
  L.TAKEMX = 10;
  L.MAXLIN = 200;
  L.DIVMX = 10;
  L.INTLIM1 = 60;
  L.CMPLIM3 = 48;
  L.CMPLIM4 = 48;
  L.STKMAX = 512;
  L.INTLIM2 = 80;
  L.TXTBUF = 800;
  L.DBMAXL = 127;

  cumtim_(L.START_TIME);
  brgtdt_(L.RUN_DATE);

  L.BIGNUM = 1e307;
  L.BIGNUM6 = 1e306;
  L.NAMEWD = 4;
  std::memcpy(L.PROMPT1, "? ", 3);
  std::memcpy(L.PROMPT2, ": ", 3);
  std::memcpy(L.PROMPT3, ": ", 3);
  L.COMCHR = '!';

  L.TRACELV = 0;
  L.TRMOUT = 0;
  L.LINEND = 0;
  L.TRMIN = 0;
  L.INUNIT = 0;
  L.BATMOD = 0;

  L.TABCHR = 9;
  L.RBRCHR = ']';
  L.STARCHR = '*';
  L.CRCHR = 13;
  L.EOSCHR = 0;
  L.NULCHR = 0;
  L.TILCHR = '~';
  L.LFCHR = 10;

  L.BIGLOG = std::log(L.BIGNUM);

  L.WORD0 = 0;
  L.NSETS = 0;
  L.MODSTAT = 12;  // UNKNOWN
  L.TAKELV = 0;
  L.DBLWD = 2;
  L.DIVLV = 0;
  L.SCANMD = 11;
  L.HIDDEN = 0;
  L.USRFN[0] = 0;

  const Upcalls& up = upcalls_();
  if (up.clrdbs) {
    up.clrdbs(L.DBPASS, L.DBPASSLEN, L.DBMAXL);
    up.clrdbs(L.DBUSER, L.DBUSERLEN, L.DBMAXL);
  }

  if (up.defparam) up.defparam(L);

  L.INUNIT = 0;
  L.OUTUNIT = 0;
  L.DBUSER[0] = 0;
  L.DBPASS[0] = 0;
  std::memcpy(L.PROMPT3, L.PROMPT2, 3);
  L.TRMIN = 0;
  L.TRMOUT = 0;
  L.PTRTAB[0] = 0;

  if (up.resetsolverstatus) up.resetsolverstatus(L);

  L.PTRTAB[3] = 4096;
  L.PTRTAB[1] = 0;
  L.NEGBIG = -L.BIGNUM;
  L.PTRTAB[2] = 0;
  L.MSGOFF = 0;
  L.HEAP_SWITCH = -1;  // scalar model lists in heap blocks
  L.INTMODE = -1;

  getuserfncptr_(L.USRFN[1], L.USRFN[0]);
}
