// Range values of one variable or row for the range report and the language's range
// functions: the loaded column or row position through the index maps, then the cost or
// right-hand side and the two allowable changes that the last solve left.
#include "generate/blk.h"
#include "generate/eval.h"

namespace {

constexpr double RNGINF = 1e30;  // the solver library's infinity

}  // namespace

int32_t loadedcolumn_(const Work& W, const MasterRecord& L, int32_t v) {
  if (v < 1 || v > L.NVARS || L.VARPOS <= 0) return 0;
  const int32_t c = bgeti0(W, L, L.VARPOS, v) - L.NFIXED;
  return (c >= 1 && c <= L.SLVCOLS) ? c : 0;
}

int32_t getrangevar_(const Work& W, const MasterRecord& L, int32_t v, int32_t chop, double& current,
                     double& inc, double& dec) {
  const bool ch = (chop & 1) != 0;
  const int32_t c = loadedcolumn_(W, L, v);
  if (c == 0) {
    inc = dec = RNGINF;
    return 2;
  }
  inc = chopped(L, bgetd0(W, L, L.RNGV1, c), ch);
  dec = chopped(L, bgetd0(W, L, L.RNGV2, c), ch);
  if (bgeti0(W, L, L.MATVFLG, c) != 0) {
    current = 0.0;
    return 1;
  }
  current = chopped(L, bgetd0(W, L, L.MATOBJ, c), ch);
  return 0;
}

int32_t getrangerow_(const Work& W, const MasterRecord& L, int32_t r, int32_t chop, double& current,
                     double& inc, double& dec) {
  const bool ch = (chop & 1) != 0;
  // position in the loaded rows: 1 is the objective, so a model without one starts its
  // constraints at 2 as well
  int32_t p = 0;
  if (r >= 1 && r <= L.NROWS && L.ROWMAP > 0)
    p = bgeti0(W, L, L.ROWMAP, r) - L.NFIXED + (L.OBJROW > 0 ? 0 : 1);
  if (p < 1 || p > L.NROWS || p > L.SLVROWS) {
    inc = dec = RNGINF;
    return 2;
  }
  inc = chopped(L, bgetd0(W, L, L.RNGR1, p), ch);
  dec = chopped(L, bgetd0(W, L, L.RNGR2, p), ch);
  if (bgeti0(W, L, L.MATRFLG, p - 1) >= 1) {  // row flags are kept per constraint
    current = 0.0;
    return 1;
  }
  current = chopped(L, bgetd0(W, L, L.MATRHS, p), ch);
  return 0;
}

