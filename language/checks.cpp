// Model checks: member names that clash with model names, linearity of the loaded model, and
// the transposition of a block of reals.
#include <cstring>
#include "language/values.h"
#include "solver/bindings.h"

// Warns (message 146) with up to three member names that are also names of model objects.
void chkdup_(Work& W, MasterRecord& L) {
  int32_t hit[3] = {0, 0, 0}, nhit = 0;
  for (int32_t m = 1; m <= L.NPRIMEL && nhit < 3; ++m) {
    char nm[NAMELEN + 1];
    int32_t len = 0;
    getnam_(W, L, L.KPNAME, m, nm, len);
    nm[NAMELEN] = 0;
    int32_t kind = 0, idx = 0;
    fndnmm_(W, L, nm, kind, idx);
    if (kind != 0) hit[nhit++] = m;
  }
  if (nhit == 0) return;
  L.ERRARG = hit[0];
  L.ERRARG2 = hit[1];
  L.ERRARG3 = hit[2];
  errmsh_(W, L, 146);
}

// True (all bits) when the model loaded into the solver library is linear; failed = 1 when
// the library could not answer (its code in ERRARG).
int32_t isitlinear_(MasterRecord& L, int32_t& failed) {
  failed = 0;
  int32_t d[8] = {};
  int32_t model = L.MODELHANDLE;
  int32_t r = FBRGETDIMENSIONS_(model, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
  if (r != 0) {
    failed = 1;
    L.ERRARG = r;
    return QFALSE;
  }
  return (d[3] == 0 && d[4] == 0 && d[5] == 0) ? QTRUE : QFALSE;
}

// Turns the rows x cols block of reals from row order to column order.
void transpose_(Work& W, MasterRecord& L, int32_t& matrix, int32_t rows, int32_t cols, int32_t& status) {
  if (rows <= 1 || cols <= 1) return;
  int64_t n = (int64_t)rows * cols;
  if (n > 2147483640LL / 8) {
    status = 1;
    return;
  }
  int32_t nb = 0, cnt = (int32_t)n, st = 0;
  setblk_(6, cnt, W, L, nb, st);
  if (st != 0) {
    if (nb > 0) rlsblk_(L, nb);
    status = 1;
    return;
  }
  int64_t k = 0;
  for (int32_t i = 1; i <= rows; ++i)
    for (int32_t j = 1; j <= cols; ++j) rput(W, L, nb, (int64_t)(j - 1) * rows + i, rget(W, L, matrix, ++k));
  rlsblk_(L, matrix);
  matrix = nb;
  status = 0;
}
