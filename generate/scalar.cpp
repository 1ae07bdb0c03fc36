// The scalar model lists: their storage (heap or work store by HEAP_SWITCH bit 0), their
// growth, the typing of the variables, and the building of every explicit row's code.
#include <algorithm>
#include <cmath>

#include "generate/rows.h"
#include "generate/eval.h"
#include "generate/scalar.h"
#include "store/heap.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/store.h"
#include "store/upcalls.h"

namespace {

// Sizes list h to count elements of the type in the current storage mode; false on failure
// (the old list is then kept).
bool slsize(Work& W, MasterRecord& L, int32_t type, int32_t count, int32_t& h) {
  int32_t n = std::max(count, 1), st = 0;
  if (slheap_(L)) setblkcm_(type, n, h, st);
  else setblk_(type, n, W, L, h, st);
  return st == 0;
}

// In the heap, a large model's instruction and constant lists are taken at once at an
// estimate from its row entries, so that they are mapped on large pages from the start
// rather than passing through smaller blocks written page by page and copied; a small
// model's lists grow from small blocks as before. A refused estimate is no error: the
// lists then grow as usual.
void presize(Work& W, MasterRecord& L) {
  if (!slheap_(L)) return;
  const int64_t entries = std::max(L.NROWVAR, 0), rows = std::max(L.NROWS, 0);
  const int64_t ins = 5 * entries + 4 * rows, con = entries + rows;
  if (ins * 4 >= HEAPMAPFROM && ins < MAXREQ / 4 && slsize(W, L, 2, (int32_t)ins, L.SLINS))
    L.SLINSCAP = (int32_t)ins;
  if (con * 8 >= HEAPMAPFROM && con < MAXREQ / 8 && slsize(W, L, 6, (int32_t)con, L.SLCON))
    L.SLCONCAP = (int32_t)con;
}
// Releases list h in the current storage mode.
void slfree(MasterRecord& L, int32_t& h) {
  if (h == 0) return;
  if (slheap_(L)) rlsblkcm_(h);
  else rlsblk_(L, h);
  h = 0;
}

void slputi(Work& W, const MasterRecord& L, int32_t h, int64_t k, int32_t v) {
  if (slheap_(L)) IPUTCM_(h, k, v);
  else IPUT_(W, L.START[h], k, v);
}
void slputd(Work& W, const MasterRecord& L, int32_t h, int64_t k, double v) {
  if (slheap_(L)) DPUTCM_(h, k, v);
  else DPUT_(W, L.START[h], k, v);
}
void slputc(Work& W, const MasterRecord& L, int32_t h, int64_t k, char v) {
  if (slheap_(L)) C1PUTCM_(h, k, v);
  else C1PUT_(W, L.START[h], k, v);
}

// The storage shortage code of the current mode.
int32_t shortage(const MasterRecord& L, int32_t work, int32_t heap) { return slheap_(L) ? heap : work; }

}  // namespace

int32_t sligeti_(const Work& W, const MasterRecord& L, int32_t h, int64_t k) {
  return slheap_(L) ? IGETCM_(h, k) : IGET_(W, L.START[h], k);
}
double slgetd_(const Work& W, const MasterRecord& L, int32_t h, int64_t k) {
  return slheap_(L) ? DGETCM_(h, k) : DGET_(W, L.START[h], k);
}
char slgetc_(const Work& W, const MasterRecord& L, int32_t h, int64_t k) {
  return slheap_(L) ? C1GETCM_(h, k) : C1GET_(W, L.START[h], k);
}

void swaprows_(Work& W, MasterRecord& L, int32_t p, int32_t q) {
  const int32_t rp = rowatpos_(W, L, p), rq = rowatpos_(W, L, q);
  bputi(W, L, L.ROWORD, p, rq);
  bputi(W, L, L.ROWORD, q, rp);
  bputi(W, L, L.ROWMAP, rq, p);
  bputi(W, L, L.ROWMAP, rp, q);
}

void freescalarlists_(MasterRecord& L) {
  L.SLINSN = L.SLINSCAP = 0;
  L.SLCONN = L.SLCONCAP = 0;
  L.SLCOFF = 0;
  L.SLNCON = 0;
  for (int32_t* h : {&L.SLCON, &L.SLRTY, &L.SLVTY, &L.SLVLB, &L.SLVUB, &L.SLINS, &L.SLRST,
                     &L.SLRLN, &L.SLRMAP})
    slfree(L, *h);
}

void buildvtypearray_(Work& W, MasterRecord& L, int32_t& error) {
  L.SLNINT = 0;
  const int32_t n = L.NEXPVAR + 1;
  if (!slsize(W, L, 1, n, L.SLVTY) || !slsize(W, L, 6, n, L.SLVLB) || !slsize(W, L, 6, n, L.SLVUB)) {
    error = shortage(L, 1, 2);
    return;
  }
  const double big = L.BIGNUM;
  for (int32_t f = 1; f <= L.NEXPVAR; ++f) {
    const int32_t v = varatpos_(W, L, L.NFIXED + f);
    const bool integer = bgeti(W, L, L.VARINT, v) != 0;
    double lo = bgetd(W, L, L.VARLB, v), up = bgetd(W, L, L.VARUB, v);
    if (lo == 0.0 && up == -big) {  // declared free before any bound was set
      lo = -big;
      up = big;
    }
    char t = 'C';
    if (integer) {
      ++L.SLNINT;
      t = (lo == 0.0 && up == 1.0) ? 'B' : 'I';
    }
    slputc(W, L, L.SLVTY, f, t);
    slputd(W, L, L.SLVLB, f, lo);
    slputd(W, L, L.SLVUB, f, up);
  }
  slputc(W, L, L.SLVTY, n, 'C');
  slputd(W, L, L.SLVLB, n, 0.0);
  slputd(W, L, L.SLVUB, n, big);
  error = 0;
}

void checkfreeins_(Work& W, MasterRecord& L, int32_t n, int32_t& error) {
  error = 0;
  if ((int64_t)L.SLINSN + n <= L.SLINSCAP && L.SLINS != 0) return;
  const int64_t want = std::max<int64_t>(2 * ((int64_t)n + L.SLINSCAP), 1024);
  if (want > MAXREQ / 4 || !slsize(W, L, 2, (int32_t)want, L.SLINS)) {
    error = shortage(L, 1, 2);
    return;
  }
  L.SLINSCAP = (int32_t)want;
}

void addscalarins_(Work& W, MasterRecord& L, int32_t code) { slputi(W, L, L.SLINS, ++L.SLINSN, code); }

void addconsttolist_(Work& W, MasterRecord& L, double value, int32_t& error) {
  if (L.SLCONN >= L.SLCONCAP || L.SLCON == 0) {
    const int64_t want = std::max<int64_t>(2 * (int64_t)L.SLCONCAP, 1024);
    if (want > MAXREQ / 8 || !slsize(W, L, 6, (int32_t)want, L.SLCON)) {
      error = shortage(L, 1, 2);
      return;
    }
    L.SLCONCAP = (int32_t)want;
  }
  slputd(W, L, L.SLCON, ++L.SLCONN, value);
  slputi(W, L, L.SLINS, ++L.SLINSN, L.SLCONN + L.SLCOFF - 1);
  error = 0;
}

void scalarize_row_(Work& W, MasterRecord& L, int32_t r, int32_t& error, VxSet* held) {
  // the row's statement runs over the set members it was generated for
  if (rowregcount(W, L, r) > XIRLIM) {
    error = 4;
    return;
  }
  rowregs(W, L, r);
  const int32_t pos = rowstmt_(W, L, r);
  const int32_t limit = MAXREQ;
  exec_(W, L, pos, limit, error, held);
}

void scalarizemodel_(Work& W, MasterRecord& L, int32_t& error) {
  error = 0;
  if (L.SLINSN > 0) return;  // the lists of the previous call stand
  const int32_t first = L.NFIXED + 1;
  if (L.OBJROW > 0) {
    const int32_t p = bgeti(W, L, L.ROWMAP, L.OBJROW);
    if (p > first) swaprows_(W, L, p, first);
  }
  auto fail = [&](int32_t e) {
    brbremv_(L);
    freescalarlists_(L);
    error = e;
  };
  freescalarlists_(L);
  presize(W, L);
  int32_t e = 0;
  buildvtypearray_(W, L, e);
  if (e != 0) return fail(e == 1 ? 1 : 6);
  const int32_t nrows = L.NROWS - L.NFIXED + 1;
  if (!slsize(W, L, 2, nrows, L.SLRST) || !slsize(W, L, 2, nrows, L.SLRLN) ||
      !slsize(W, L, 1, nrows, L.SLRTY))
    return fail(shortage(L, 1, 6));
  L.SLOBJST = L.SLOBJLN = L.SLSENSE = 0;
  if (L.OBJROW <= 0) {
    L.SLSENSE = 1;
    L.SLOBJLN = 2;
    checkfreeins_(W, L, 256, e);
    if (e != 0) return fail(e == 1 ? 1 : 6);
    addscalarins_(W, L, SC_PUSHNUM);
    addconsttolist_(W, L, 0.0, e);
    if (e != 0) return fail(e == 1 ? 1 : 6);
  }
  brbupdt_(L, " Scalarizing model ...");  // the status display (a hook here)
  VxSet held[VXSLOTS];  // no set is built while the rows are emitted
  int32_t k = 0;
  for (int32_t p = first; p <= L.NROWS; ++p) {
    brbupdt_(L);
    const int32_t r = rowatpos_(W, L, p), t = rowtype_(W, L, r);
    const int32_t at = L.SLINSN;
    L.ERRARG = r;
    scalarize_row_(W, L, r, e, held);
    if (e != 0) return fail(e);
    if (r == L.OBJROW) {
      L.SLOBJST = at;
      L.SLOBJLN = L.SLINSN - at;
      L.SLSENSE = t == -2 ? 1 : -1;
    } else {
      ++k;
      slputi(W, L, L.SLRST, k, at);
      slputi(W, L, L.SLRLN, k, L.SLINSN - at);
      slputc(W, L, L.SLRTY, k, t == -1 ? 'G' : t == 1 ? 'L' : 'E');
    }
  }
  L.SLDUMMY = (L.NEXPVAR > 0 && k > 0) ? 0 : 1;
  if (L.SLDUMMY) {
    // the library always receives one constraint and one variable
    checkfreeins_(W, L, 2, e);
    if (e != 0) return fail(e == 1 ? 1 : 6);
    ++k;
    slputi(W, L, L.SLRST, k, L.SLINSN);
    slputi(W, L, L.SLRLN, k, 2);
    slputc(W, L, L.SLRTY, k, 'E');
    addscalarins_(W, L, SC_PUSHVAR);
    addscalarins_(W, L, L.NEXPVAR);
  }
  L.SLNCON = k;
  // the final lists hold exactly their counts
  if (L.SLCONN > 0) {
    if (!slsize(W, L, 6, L.SLCONN, L.SLCON)) return fail(shortage(L, 1, 6));
    L.SLCONCAP = L.SLCONN;
  }
  if (!slsize(W, L, 2, L.SLINSN, L.SLINS)) return fail(shortage(L, 1, 6));
  L.SLINSCAP = L.SLINSN;
  brbremv_(L);
}

QUIRN_UPCALL(freescalarlists, freescalarlists_);  // the lists go with the model's blocks
