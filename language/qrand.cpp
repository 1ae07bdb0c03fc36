// @QRAND input: a stratified quasi-random sample as the values of one attribute over a dense
// set.
#include <algorithm>
#include <cmath>
#include <vector>
#include "language/values.h"
#include "store/upcalls.h"

// The seed named by a scalar variable fixed in DATA: 0, or error 179 when the name is not one.
int32_t qrandseed_(Work& W, MasterRecord& L, const char* name, int32_t& seed) {
  int32_t kind = 0, idx = 0;
  fndnmm_(W, L, name, kind, idx);
  if (kind != 5 || vkind(W, L, idx) != 6) return 179;
  seed = (int32_t)std::trunc(std::clamp(vvalue(W, L, idx), -2147483640.0, 2147483640.0));
  return 0;
}

// The sample for the statement's one column (attr, 0 when it is not an attribute): 0, or the
// compiler error (176 a set defined, 177 more than one column, 178 a set that is not dense,
// 204 a value already given in DATA).
int32_t qrandin_(Work& W, MasterRecord& L, int32_t ncols, int32_t attr, bool setdefined, int32_t seed, bool init) {
  if (setdefined) return 176;
  if (ncols != 1) return 177;
  if (attr <= 0) return 178;
  int32_t s = iget(W, L, L.IDOWNR, attr);
  if (iget(W, L, L.SETORD, s) != -1) return 178;
  int32_t d = setdim(W, L, s), n = iget(W, L, L.NNTRYS, s);
  int32_t rows = n, cols = 1;
  if (d > 0) {
    rows = iget(W, L, L.NNTRYS, iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s)));
    cols = rows > 0 ? n / rows : 0;
  }
  if (rows < 1 || cols < 1) return 0;
  std::vector<double> vals((size_t)rows * cols), scratch((size_t)rows);
  std::vector<int32_t> strata((size_t)cols);
  if (upcalls_().qrand) upcalls_().qrand(&rows, &cols, vals.data(), &seed, strata.data(), scratch.data());
  vals.resize((size_t)std::max(n, 1));
  int32_t st = 0;
  loadattr_(W, L, attr, 0, vals.data(), init ? 0 : 1, st);
  return st ? 204 : 0;
}
