// Services of the solver interface that the session uses: the environment's lifecycle,
// the cleared solver status, the time-limit poll and the release of the matrix copy.
#include "solver/bindings.h"
#include "store/master.h"
#include "store/hooks.h"
#include "store/store.h"
#include "store/upcalls.h"

// Deletes any earlier environment and creates a new one; 1 on success, 0 on failure
// (ENVHANDLE 0). The model is deleted first and MODELHANDLE is cleared: the library deletes
// an environment's models with it, and the model's slot in the handle table must not stay.
int32_t createbresk_(MasterRecord& L) {
  if (L.MODELHANDLE != 0) FBRDELETEMODEL_(L.MODELHANDLE);
  L.MODELHANDLE = 0;
  if (L.ENVHANDLE != 0) FBRDELETEENV_(L.ENVHANDLE);
  L.ENVHANDLE = 0;
  int32_t prodcode = 0, err = 0;
  L.ENVHANDLE = FBRCREATEENVPRODCODE_(prodcode, err);
  return L.ENVHANDLE != 0 ? 1 : 0;
}

// Deletes the model and the environment; 1 when the environment was deleted (a failed
// delete still clears the id).
int32_t deletebresk_(MasterRecord& L) {
  if (L.MODELHANDLE != 0) FBRDELETEMODEL_(L.MODELHANDLE);
  L.MODELHANDLE = 0;
  if (L.ENVHANDLE == 0) return 0;
  int32_t r = FBRDELETEENV_(L.ENVHANDLE);
  L.ENVHANDLE = 0;
  return r == 0 ? 1 : 0;
}

// Clears the solver status region: real status values to BIGNUM (the generation value
// to 0), counters to 0, steps and active count to -1, the progress log to zeros.
void resetsolverstatus_(MasterRecord& L) {
  L.CBINFEAS = L.BIGNUM;
  L.CBOBJ = L.BIGNUM;
  L.CBBOUND = L.BIGNUM;
  L.CBBEST = L.BIGNUM;
  L.CBGENVAL = 0.0;
  L.CBEXTRA = L.BIGNUM;
  L.CBSTATUS = 0;
  L.CBCLASS = 0;
  L.CBSOLVER = 0;
  L.CBITER = 0;
  L.CBSTEPS = -1;
  L.CBACTIVE = -1;
  L.CBINTR = 0;
  L.CBSTAGE = 0;
  for (int32_t& g : L.CBGEN) g = 0;
  L.CBSOLVING = 0;
  for (int32_t& w : L.CBSOLVW) w = 0;
  for (auto& rec : L.LOGTAB)
    for (int32_t& w : rec) w = 0;
}

// -1 when the solver time limit (working TIMLIM seconds, 0 = none) has passed since the
// solve started, else 0; the clock wraps at midnight and a day is added then.
void timeout_(MasterRecord& L, int32_t& result) {
  result = 0;
  if (L.TIMLIM < 1) return;
  int32_t now = 0;
  getime_(now);
  if (now < L.TMPREV) L.TMDAYOFF += 8640000;
  L.TMPREV = now;
  int64_t used = (int64_t)now + L.TMDAYOFF - L.TMSTART;
  result = used > (int64_t)L.TIMLIM * 100 ? -1 : 0;
}

// Releases the blocks of the program's copy of the loaded model's matrix.
void freematrix_(MasterRecord& L) {
  int32_t* blocks[] = {&L.MATCOEF, &L.MATROW, &L.MATCOLST, &L.MATRHS, &L.MATRTYP, &L.MATLB,
                       &L.MATUB,   &L.MATRFLG, &L.MATVFLG, &L.MATOBJ, &L.MATSCR};
  for (int32_t* h : blocks)
    if (*h > 0) rlsblk_(L, *h);
  for (int32_t* h : blocks) *h = 0;
  L.MATNZ = 0;
  matlink_(L);
}

// Copies the matrix copy's first three handles into the fields an outside caller reads.
void matlink_(MasterRecord& L) {
  L.MATBLK1 = L.MATCOEF;
  L.MATBLK2 = L.MATROW;
  L.MATBLK3 = L.MATCOLST;
}

// Forgets the matrix copy's handles when the work store forgets every block (CLRMEM).
void matforget_(MasterRecord& L) {
  L.MATCOEF = L.MATROW = L.MATCOLST = L.MATRHS = L.MATRTYP = L.MATLB = 0;
  L.MATUB = L.MATRFLG = L.MATVFLG = L.MATOBJ = L.MATSCR = 0;
  L.MATNZ = 0;
  matlink_(L);
}

// True when the model loaded into the solver library is linear; failed = 1 when the library's
// call failed (its code in ERRARG).
int32_t isitlinear_(MasterRecord& L, int32_t& failed) {
  int32_t d[8] = {};
  failed = 0;
  int32_t rc = FBRGETDIMENSIONS_(L.MODELHANDLE, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
  if (rc != 0) {
    failed = 1;
    L.ERRARG = rc;
    return QFALSE;
  }
  return (d[3] == 0 && d[4] == 0 && d[5] == 0) ? QTRUE : QFALSE;
}

QUIRN_UPCALL(freematrix, freematrix_);  // the matrix copy goes with the model's blocks
QUIRN_UPCALL(resetsolverstatus, resetsolverstatus_);  // the status region cleared at start
QUIRN_UPCALL(timeout, timeout_);  // the time limit for the library's stop test
QUIRN_UPCALL(createenv, createbresk_);  // the environment made at start
QUIRN_UPCALL(deleteenv, deletebresk_);  // and deleted at the end
QUIRN_UPCALL(matforget, matforget_);  // the matrix copy forgotten with the store
