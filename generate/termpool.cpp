// The linear-form term pool: slots taken from and given back to a free chain, and the
// merge of two chains ordered by falling variable id.
#include "generate/termpool.h"

#include <cstdio>
#include "store/io.h"

// Slot i of a caller's array.
#define SLOT(a, i) (a)[(i) - 1]

// Clears n slots and chains them all into the free list.
void lfinit_(MasterRecord& L, int32_t n, double* coef, int32_t* var, int32_t* link, int32_t* flag) {
  for (int32_t i = 1; i <= n; ++i) {
    SLOT(coef, i) = 0.0;
    SLOT(var, i) = 0;
    SLOT(flag, i) = 0;
    SLOT(link, i) = i < n ? i + 1 : 0;
  }
  L.LFFREE = n >= 1 ? 1 : 0;
  L.LFSIZE = n;
}

// Takes the first free slot; an empty pool gives the free head and changes nothing.
void lfgtsp_(MasterRecord& L, int32_t& slot, int32_t* link) {
  slot = L.LFFREE;
  if (slot < 1) return;
  L.LFFREE = SLOT(link, slot);
  SLOT(link, slot) = 0;
}

// Gives a slot back to the pool.
void lfrtsp_(MasterRecord& L, int32_t slot, int32_t* link) {
  SLOT(link, slot) = L.LFFREE;
  L.LFFREE = slot;
}

// Sets the flag of every slot of the chain to 1.
void gfnonl_(int32_t first, int32_t* flag, const int32_t* link) {
  for (int32_t s = first; s >= 1; s = SLOT(link, s)) SLOT(flag, s) = 1;
}

// Merges two chains: the larger id goes first, equal ids are summed into the first
// chain's slot (a zero sum drops the term unless its flag keeps it with coefficient 1).
void lfmerg1_(MasterRecord& L, int32_t first, int32_t second, int32_t& result, double* coef,
              const int32_t* var, int32_t* flag, int32_t* link) {
  if (first <= 0 || second <= 0) {
    result = first > second ? first : second;
    return;
  }
  result = 0;
  int32_t p = first, q = second, last = 0;
  auto append = [&](int32_t s) {
    if (last == 0) result = s;
    else SLOT(link, last) = s;
    last = s;
  };
  while (p > 0 || q > 0) {
    if (p <= 0) {
      append(q);
      break;
    }
    if (q <= 0) {
      append(p);
      break;
    }
    int32_t ip = SLOT(var, p), iq = SLOT(var, q);
    if (ip > iq) {
      append(p);
      p = SLOT(link, p);
    } else if (iq > ip) {
      append(q);
      q = SLOT(link, q);
    } else {
      SLOT(coef, p) += SLOT(coef, q);
      if (SLOT(flag, q) > SLOT(flag, p)) SLOT(flag, p) = SLOT(flag, q);
      int32_t nq = SLOT(link, q);
      lfrtsp_(L, q, link);
      q = nq;
      if (SLOT(coef, p) == 0.0) {
        if (SLOT(flag, p) >= 1) {
          SLOT(coef, p) = 1.0;
        } else {
          if (last > 0) SLOT(link, last) = 0;
          int32_t np = SLOT(link, p);
          lfrtsp_(L, p, link);
          p = np;
        }
      }
    }
  }
}

// Lists the pool on the current output unit.
void lfdump_(MasterRecord& L, const double* coef, const int32_t* var, const int32_t* link) {
  blankl_(L, L.OUTUNIT, 2);
  lprint_(L, L.OUTUNIT, "  INDEX       COEFFICIENT        VAR ID     NEXT SLOT");
  char line[96];
  for (int32_t i = 1; i <= L.LFSIZE; ++i) {
    int n = std::snprintf(line, sizeof line, " %6d%18.8G%14d%14d", i, SLOT(coef, i), SLOT(var, i), SLOT(link, i));
    lprint_(L, L.OUTUNIT, line, n);
  }
  blankl_(L, L.OUTUNIT, 1);
  int n = std::snprintf(line, sizeof line, " NEXT FREE SLOT:%6d", L.LFFREE);
  lprint_(L, L.OUTUNIT, line, n);
}
