// The set table: starting a new model (cinit_), the diagnostic dump (shoset_), release of the
// sorted member orders (freesort_).
#include <cstdio>
#include <string>
#include "language/lang.h"
#include "store/upcalls.h"

static std::string I(int64_t v, int w) {
  char b[32];
  std::snprintf(b, sizeof b, "%*lld", w, (long long)v);
  return b;
}
static std::string X(int n) { return std::string((size_t)n, ' '); }
static std::string name8(const Work& W, const MasterRecord& L, int32_t blk, int32_t i) {
  char t[NAMELEN];
  int32_t n;
  getnam_(W, L, blk, i, t, n);
  return std::string(t, 8);
}

// Releases the sorted order blocks of the sets and their member lists by position.
void freesort_(Work& W, MasterRecord& L) {
  spxfree_(L);
  if (L.SETORD <= 0 || L.START[L.SETORD] < 1) return;
  for (int32_t s = 1; s <= L.NSETS && s <= L.SETCAP; ++s) {
    int32_t h = iget(W, L, L.SETORD, s);
    if (h > 0) {
      if (L.START[h] > 0) rlsblk_(L, h);
      iput(W, L, L.SETORD, s, 0);
    }
  }
}

// Starts a new model: clears the counts of the compiled model and makes the set tables ready.
void cinit_(Work& W, MasterRecord& L, int32_t& status) {
  freesort_(W, L);
  L.NSETS = L.NDRVUSE = L.NATTRS = L.NPRIMEL = L.NDXSTBN = L.SETPARN = 0;
  L.NSCALAR = L.NVARS = L.NROWS = L.NROWNM = L.VARTOP = L.NDXCNT = 0;
  L.CODELEN = L.STMTCNT = 0;
  L.VREF1N = L.VREF2N = 0;  // run-time value lists
  L.OUTOPN = L.OUTENDN = L.OUTTXTN = L.OUTCODN = 0;  // output-operation lists
  L.SETHSZ = L.ATTHSZ = L.PRMHSZ = L.SCLHSZ = L.ROWHSZ = 0;
  L.OPDEPTH = L.LOOPLV = L.CALCON = L.BIGCNT = L.NRUNTM = L.SETMODE = 0;
  L.CMPSTATE = 1;
  if (L.TITLBLK > 0) rlsblk_(L, L.TITLBLK);
  L.TITLEN = 0;
  L.SCANPOS = 1;
  L.SCANLEN = 0;
  L.VNAMEWD = 32;
  L.OPLIMIT = L.CMPLIM1 > 0 ? L.CMPLIM1 : 40;
  if (L.OPLIMIT > OPSTKMAX) L.OPLIMIT = OPSTKMAX;
  L.LOOPSET[0] = L.CMPLIM2 > 0 ? L.CMPLIM2 : 12;
  if (L.LOOPSET[0] > LOOPMAX) L.LOOPSET[0] = LOOPMAX;
  L.NDXLIMIT = L.CMPLIM3 > 0 ? L.CMPLIM3 : 48;
  if (L.NDXLIMIT > NDXMAX) L.NDXLIMIT = NDXMAX;
  L.MAXPARENTS = L.CMPLIM4 > 0 ? L.CMPLIM4 : 48;
  if (L.MAXPARENTS > NDXMAX) L.MAXPARENTS = NDXMAX;
  grwset_(W, L, status);
  if (L.SETCAP > 0) {
    iput(W, L, L.LXSTUB, 1, 1);
    iput(W, L, L.LASTUB, 1, 1);
    iput(W, L, L.INXNTR, 1, 1);
    iput(W, L, L.SETPST, 1, 1);
    iput(W, L, L.SETCST, 1, 1);
  }
  if (L.VARKND > 0)
    for (int32_t v = 1; v <= L.VARCAP; ++v) iput(W, L, L.VARKND, v, 0);
  if (L.VARFIX > 0)
    for (int32_t v = 1; v <= L.VARCAP; ++v) iput(W, L, L.VARFIX, v, UNFIXED);
}

// Prints the set table dump.
void shoset_(Work& W, MasterRecord& L) {
  int32_t N = L.NSETS;
  if (N <= 0) return;
  outline(L, "");
  outline(L, "");
  outline(L, "    SETS=" + I(N, 6) + " ATTRIBUTES=" + I(L.NATTRS, 6) + " VARS =" + I(L.NVARS, 8));
  outline(L, "");
  outline(L, "                     PTR TO      PTR TO      NO. OF   START OF  START OF");
  outline(L, "    INDEX  SET NAME  INDEX STUB  ATTR STUB   EnTRIES  INDX ENT  ATTR ENT");
  outline(L, X(11) + "(KSNAME)" + X(2) + "(LXSTUB)" + X(4) + "(LASTUB)" + X(4) + "(NNTRYS)" + X(1) + "(INXNTR)" +
                 X(2) + "(INANTR)");
  outline(L, X(4) + std::string(68, '-'));
  for (int32_t s = 1; s <= N; ++s)
    outline(L, I(s, 8) + ")" + X(3) + name8(W, L, L.KSNAME, s) + I(iget(W, L, L.LXSTUB, s), 8) +
                   I(iget(W, L, L.LASTUB, s), 12) + I(iget(W, L, L.NNTRYS, s), 10) + I(iget(W, L, L.INXNTR, s), 10) +
                   I(iget(W, L, L.INANTR, s), 10));
  outline(L, I(N + 1, 8) + ")" + X(3) + "---" + I(iget(W, L, L.LXSTUB, N + 1), 13) + I(iget(W, L, L.LASTUB, N + 1), 12));
  outline(L, "");
  outline(L, "    SET        PRIM SET ELEMENTS");
  outline(L, X(4) + "(KSNAME)" + X(3) + "(KPNAME)");
  outline(L, X(4) + std::string(28, '-'));
  int64_t sum = 0;
  for (int32_t s = 1; s <= N; ++s) {
    int32_t n = iget(W, L, L.NNTRYS, s);
    if (setdim(W, L, s) > 0) {
      sum += (int64_t)n * setdim(W, L, s);
      continue;
    }
    if (n < 1) continue;
    outline(L, X(4) + namestr(W, L, L.KSNAME, s));
    int32_t first = iget(W, L, L.INXNTR, s);
    for (int32_t k = 0; k < n; ++k) outline(L, X(15) + namestr(W, L, L.KPNAME, first + k));
  }
  if (sum > 0) {
    outline(L, "");
    outline(L, "    DERIVED SET ELEMENT LIST (NDRVEL)");
    outline(L, X(4) + std::string(33, '-'));
    for (int64_t i = 1; i <= sum && i <= L.NDRVUSE; ++i) outline(L, I(i, 8) + ")" + I(iget(W, L, L.NDRVEL, i), 8));
  }
  outline(L, "");
  outline(L, "    INDEX STUB LIST:");
  outline(L, "    INDEX     ID OF SET");
  outline(L, X(14) + "(NDXSTB)");
  outline(L, X(4) + std::string(19, '-'));
  for (int32_t i = 1; i <= iget(W, L, L.LXSTUB, N + 1) - 1; ++i)
    outline(L, I(i, 8) + ")" + I(iget(W, L, L.NDXSTB, i), 14));
  outline(L, "");
  outline(L, "    ATTRIBUTE STUB LIST:");
  outline(L, "    INDEX   NAME     ID OF OWNER");
  outline(L, X(12) + "(KANAME)" + X(4) + "(IDOWNR)");
  outline(L, X(4) + std::string(28, '-'));
  for (int32_t a = 1; a <= L.NATTRS; ++a)
    outline(L, I(a, 8) + ")" + X(3) + name8(W, L, L.KANAME, a) + I(iget(W, L, L.IDOWNR, a), 12));
  outline(L, "");
}

QUIRN_UPCALL(freesort, freesort_);  // sorted set orders go with the store's blocks
