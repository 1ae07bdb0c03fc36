// The transposition of a block of reals.
#include "language/values.h"

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
