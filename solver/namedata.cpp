// Names read back from the solver library, packed without their NULs, and the model
// counts that the generation driver gathers from several library calls.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "solver/bindings.h"

namespace {
// n elements from the heap (none for n < 1); nullptr only when the heap refuses.
template <class T>
std::unique_ptr<T[]> take(int64_t n) {
  return std::unique_ptr<T[]>(new (std::nothrow) T[n < 1 ? 1 : n]());
}

// Rows and variables of the loaded model.
int32_t dims(int32_t& model, int32_t& nvars, int32_t& ncons) {
  int32_t d[6];
  return FBRGETDIMENSIONS_(model, nvars, ncons, d[0], d[1], d[2], d[3], d[4], d[5]);
}
}  // namespace

// Copies the names one after another to the front of the buffer, dropping their NULs.
void Strip0s_(int32_t n, char** ptr, char* buf, int32_t* ends) {
  int32_t total = 0;
  for (int32_t i = 0; i < n; ++i) {
    int32_t len = (int32_t)std::strlen(ptr[i]);
    std::memmove(buf + total, ptr[i], (size_t)len);  // names lie in order, so never overlap ahead
    total += len;
    ends[i] = total;
  }
}

// Reads the names of the model back and packs them; 9001 without dimensions, 9002 when
// the pointer arrays cannot be had, else the library's result.
int32_t FBRGETNAMEDATA_(int32_t& model, char* title, char* objname, char* rhsname, char* rngname,
                        char* bndname, int32_t* rowends, char* rowbuf, int32_t* varends,
                        char* varbuf) {
  int32_t nvars = 0, ncons = 0;
  if (dims(model, nvars, ncons) != 0) return BRQ_NODIMS;
  std::unique_ptr<char*[]> vp, rp;
  if (nvars > 0 && !(vp = take<char*>(nvars))) return BRQ_NOMEM_NAMES;
  if (ncons > 0 && !(rp = take<char*>(ncons))) return BRQ_NOMEM_NAMES;
  int32_t r = BRgetNameData(modelptr_(model), title, objname, rhsname, rngname, bndname,
                            rp.get(), rowbuf, vp.get(), varbuf);
  if (r == 0) {
    if (nvars > 0) Strip0s_(nvars, vp.get(), varbuf, varends);
    if (ncons > 0) Strip0s_(ncons, rp.get(), rowbuf, rowends);
  }
  return r;
}

// Constraints with nonlinear entries: their flag byte is set and they list nonlinear
// variables (a recognised quadratic row is flagged too but is counted with the quadratic
// rows).
int32_t FBRGETNLPCONSTRAINTCOUNT_(int32_t& model, int32_t& count) {
  count = 0;
  int32_t nvars = 0, ncons = 0, d[6];
  int32_t r = FBRGETDIMENSIONS_(model, nvars, ncons, d[0], d[1], d[2], d[3], d[4], d[5]);
  if (r != 0) return r;
  if (d[1] <= 0) return 0;
  auto flags = take<char>(ncons);
  auto rowstart = take<int32_t>(ncons + 1), rowvars = take<int32_t>(d[1]);
  if (!flags || !rowstart || !rowvars) return BRQ_NOMEM_COUNT;
  r = FBRGETNLPDATA_(model, nullptr, nullptr, nullptr, nullptr, flags.get(), rowstart.get(),
                     rowvars.get());
  if (r != 0) return r;
  rowstart[ncons] = d[1];
  for (int32_t i = 0; i < ncons; ++i) count += flags[i] != 0 && rowstart[i + 1] > rowstart[i];
  return 0;
}

// Variables that occur nonlinearly in a constraint or in the objective.
int32_t FBRGETNLPVARCOUNT_(int32_t& model, int32_t& count) {
  count = 0;
  int32_t nvars = 0, ncons = 0, d[6];
  int32_t r = FBRGETDIMENSIONS_(model, nvars, ncons, d[0], d[1], d[2], d[3], d[4], d[5]);
  if (r != 0) return r;
  if (d[1] <= 0 && d[3] <= 0) return 0;
  auto colstart = take<int32_t>(nvars + 1), rowstart = take<int32_t>(ncons + 1);
  auto rowvars = take<int32_t>(d[1]), rowidx = take<int32_t>(d[1]);  // (at least one element)
  auto mark = take<char>(nvars);
  if (!colstart || !rowstart || !rowvars || !rowidx || !mark) return BRQ_NOMEM_COUNT;
  r = FBRGETNLPDATA_(model, colstart.get(), nullptr, rowidx.get(), nullptr, nullptr,
                     rowstart.get(), rowvars.get());
  if (r != 0) return r;
  for (int32_t j = 0; j < nvars; ++j)
    if (colstart[j + 1] > colstart[j]) mark[j] = 1;
  for (int32_t k = 0; k < d[1]; ++k)
    if (rowvars[k] >= 0 && rowvars[k] < nvars) mark[rowvars[k]] = 1;
  // the library lists the objective's nonlinear variables apart
  auto objvars = take<int32_t>(nvars);
  if (!objvars) return BRQ_NOMEM_COUNT;
  int32_t n = 0;
  if ((r = FBRGETNLPOBJECTIVEDATA_(model, n, objvars.get())) != 0) return r;
  for (int32_t k = 0; k < n && k < nvars; ++k)
    if (objvars[k] >= 0 && objvars[k] < nvars) mark[objvars[k]] = 1;
  for (int32_t j = 0; j < nvars; ++j) count += mark[j] != 0;
  return 0;
}

// Variables that appear in a quadratic term.
int32_t FBRGETQCVARCOUNT_(int32_t& model, int32_t& count) {
  count = 0;
  int32_t nq = 0, nvars = 0, item = 1206;
  int32_t r = FBRGETINFOI_(model, item, nq);
  if (r != 0) return r;
  item = 1201;
  if ((r = FBRGETINFOI_(model, item, nvars)) != 0) return r;
  if (nq <= 0) return 0;
  auto row = take<int32_t>(nq), ii = take<int32_t>(nq), jj = take<int32_t>(nq);
  auto q = take<double>(nq);
  auto mark = take<char>(nvars);
  if (!row || !ii || !jj || !q || !mark) return BRQ_NOMEM_COUNT;
  int32_t n = 0;
  if ((r = FBRGETQCDATA_(model, n, row.get(), ii.get(), jj.get(), q.get())) != 0) return r;
  for (int32_t k = 0; k < n && k < nq; ++k) {
    if (ii[k] >= 0 && ii[k] < nvars) mark[ii[k]] = 1;
    if (jj[k] >= 0 && jj[k] < nvars) mark[jj[k]] = 1;
  }
  for (int32_t j = 0; j < nvars; ++j) count += mark[j] != 0;
  return 0;
}

// Distinct rows holding a quadratic term, the objective counted as one.
int32_t FBRGETQCEXPRESSIONCOUNT_(int32_t& model, int32_t& count) {
  count = 0;
  int32_t nq = 0, item = 1206;
  int32_t r = FBRGETINFOI_(model, item, nq);
  if (r != 0) return r;
  if (nq <= 0) return 0;
  auto row = take<int32_t>(nq), ii = take<int32_t>(nq), jj = take<int32_t>(nq);
  auto q = take<double>(nq);
  if (!row || !ii || !jj || !q) return BRQ_NOMEM_COUNT;
  int32_t n = 0;
  if ((r = FBRGETQCDATA_(model, n, row.get(), ii.get(), jj.get(), q.get())) != 0) return r;
  int32_t nvars = 0, ncons = 0;
  if ((r = dims(model, nvars, ncons)) != 0) return r;
  auto mark = take<char>(ncons + 1);  // element 0 the objective (row -1)
  if (!mark) return BRQ_NOMEM_COUNT;
  for (int32_t k = 0; k < n && k < nq; ++k)
    if (row[k] >= -1 && row[k] < ncons) mark[row[k] + 1] = 1;
  for (int32_t i = 0; i <= ncons; ++i) count += mark[i] != 0;
  return 0;
}

// Variables with a cost other than 0 (a cost that is not a number counts) or in the
// nonlinear part of the objective.
int32_t FBRGETOBJECTIVENZCOUNT_(int32_t& model, int32_t& count) {
  count = 0;
  int32_t nvars = 0, ncons = 0;
  int32_t r = dims(model, nvars, ncons);
  if (r != 0) return r;
  auto cost = take<double>(nvars);
  if (!cost) return BRQ_NOMEM_COUNT;
  int32_t sense = 0;
  double objconst = 0.0;
  if ((r = FBRGETOBJECTIVEDATA_(model, sense, objconst, cost.get())) != 0) return r;
  int32_t n = 0;
  if ((r = FBRGETNLPOBJECTIVEDATA_(model, n, nullptr)) != 0) return r;
  if (n <= 0) {  // a linear objective: its costs say it all, no marks needed
    for (int32_t j = 0; j < nvars; ++j) count += !(cost[j] == 0.0);
    return 0;
  }
  auto vars = take<int32_t>(std::max(n, nvars));
  auto mark = take<char>(nvars);
  if (!vars || !mark) return BRQ_NOMEM_COUNT;
  if ((r = FBRGETNLPOBJECTIVEDATA_(model, n, vars.get())) != 0) return r;
  for (int32_t j = 0; j < nvars; ++j)
    if (!(cost[j] == 0.0)) mark[j] = 1;
  for (int32_t k = 0; k < n && k < nvars; ++k)
    if (vars[k] >= 0 && vars[k] < nvars) mark[vars[k]] = 1;
  for (int32_t j = 0; j < nvars; ++j) count += mark[j] != 0;
  return 0;
}
