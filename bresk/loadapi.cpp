// Loading calls: the whole model as instruction lists, the row-wise linear
// load, start points and the failing-row query.
#include "bresk/load.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace bresk {

namespace {

// Calls the load callback at a location with the current counts; true = stop.
// The nonlinear rows found so far are counted from the rows loaded since the
// last call.
bool load_progress(BRmodel* m, int location, int rows) {
  Progress& p = m->prog;
  if (rows < p.load_rows) p.load_rows = p.load_nlrows = 0;
  if (p.load_rows == 0) p.load_nlrows = m->obj.kind != ROW_LINEAR;
  for (int i = p.load_rows; i < rows && i < static_cast<int>(m->rows.size()); ++i)
    p.load_nlrows += m->rows[i].kind != ROW_LINEAR;
  p.load_seconds = elapsed(m);
  p.load_rows = rows;
  p.load_vars = m->nvars;
  p.load_words = static_cast<int>(m->nwords);
  if (!m->callback) return false;
  return call_back(m, location);
}

// Sets the variables of a new load; 0 or 2006 for a bad type.
int set_variables(BRmodel* m, int nvars, const char* vartype, const double* lb, const double* ub,
                  const double* start) {
  m->nvars = nvars;
  m->vtype.assign(nvars, 'C');
  m->lb.assign(nvars, lb && nvars > 0 && !std::isnan(lb[0]) ? clamp_inf(lb[0]) : 0.0);
  m->ub.assign(nvars, ub && nvars > 0 && !std::isnan(ub[0]) ? clamp_inf(ub[0]) : kInf);
  m->start.assign(nvars, start && nvars > 0 ? start[0] : 0.0);
  for (int j = 0; j < nvars; ++j) {
    if (vartype) {
      char t = vartype[j];
      if (t != 'C' && t != 'B' && t != 'I') return BRERR_BAD_ARGUMENT;
      m->vtype[j] = t;
    }
    double lo = lb && !std::isnan(lb[j]) ? clamp_inf(lb[j]) : 0.0;
    double up = ub && !std::isnan(ub[j]) ? clamp_inf(ub[j]) : kInf;
    if (m->vtype[j] == 'B') {
      lo = std::max(lo, 0.0);
      up = std::min(up, 1.0);
    }
    m->lb.set(j, lo);
    m->ub.set(j, up);
    double s = start ? start[j] : 0.0;
    m->start.set(j, std::isnan(s) ? std::min(std::max(0.0, lo), up) : s);
  }
  return 0;
}

// Fails a load: clears the model and records the failing row.
int fail_load(BRmodel* m, int code, int row) {
  clear_model(m);
  m->error_row = row;
  m->error_row_set = true;
  return code;
}

bool valid_slice(int start, int len, int n) {
  return start >= 0 && len >= 0 && static_cast<long long>(start) + len <= n;
}

} // namespace

} // namespace bresk

using namespace bresk;

extern "C" {

int BRloadNLPCode(BRmodel* model, int ncons, int nobj, int nvars, int nconst,
                  const int* objsense, const char* rowtype, const char* vartype,
                  const int* code, int ncode, const int* varindex, const double* consts,
                  const double* start, const int* objstart, const int* objlen,
                  const int* rowstart, const int* rowlen, const double* lb, const double* ub) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    if (ncons < 0 || nvars < 0 || nconst < 0 || ncode < 0 || nobj < 0 || nobj > 1)
      return BRERR_BAD_ARGUMENT;
    if ((ncons > 0 && (!rowtype || !rowstart || !rowlen)) || (ncode > 0 && !code) ||
        (nconst > 0 && !consts) || (nobj == 1 && (!objstart || !objlen)))
      return BRERR_BAD_ARGUMENT;
    (void)varindex;
    clear_model(m);
    m->t0 = std::chrono::steady_clock::now();
    if (int e = set_variables(m, nvars, vartype, lb, ub, start)) return fail_load(m, e, -1);
    // Room for an upper bound of the rows' linear entries (one per variable push, two words
    // each), so the flat arrays never move while rows load; capacity that stays unused is
    // never touched.
    size_t words = nobj == 1 && valid_slice(objstart[0], objlen[0], ncode) ? static_cast<size_t>(objlen[0]) : 0;
    for (int i = 0; i < ncons; ++i)
      if (valid_slice(rowstart[i], rowlen[i], ncode)) words += static_cast<size_t>(rowlen[i]);
    m->lin_col.reserve(words / 2 + 1);
    m->lin_val.reserve(words / 2 + 1);
    std::unique_ptr<Loader, void (*)(Loader*)> L(loader_new(m), loader_delete);
    m->sense = (nobj == 1 && objsense && objsense[0] < 0) ? -1 : 1;
    m->obj = Row();
    m->obj.type = 'N';
    if (nobj == 1) {
      if (!valid_slice(objstart[0], objlen[0], ncode)) return fail_load(m, BRERR_BAD_ARGUMENT, -1);
      int e = load_row(L.get(), m->obj, -1, code + objstart[0], objlen[0], consts, nconst, false);
      if (e) return fail_load(m, e, -1);
    }
    m->rows.resize(ncons);
    for (int i = 0; i < ncons; ++i) {
      Row& r = m->rows[i];
      r.type = rowtype[i];
      if (r.type != 'L' && r.type != 'G' && r.type != 'E') return fail_load(m, BRERR_BAD_ARGUMENT, i);
      if (!valid_slice(rowstart[i], rowlen[i], ncode)) return fail_load(m, BRERR_BAD_ARGUMENT, i);
      int e = load_row(L.get(), r, i, code + rowstart[i], rowlen[i], consts, nconst, false);
      if (e) return fail_load(m, e, i);
      m->ncons = i + 1;
      if ((i + 1) % 100 == 0 && load_progress(m, BR_LOC_LOAD_PARSE, i + 1))
        return fail_load(m, BRERR_INTERRUPTED, i);
    }
    m->ncons = ncons;
    // the room reserved above for the entries of every row, past what they took
    fit_heap_array(m->lin_col);
    fit_heap_array(m->lin_val);
    // the constants are read again only through the words that rows keep
    if (!m->words.empty()) m->pool.assign(consts, consts + nconst);
    if (load_progress(m, BR_LOC_LOAD_PARSE, ncons) || load_progress(m, BR_LOC_LOAD_STRUCT, ncons) ||
        load_progress(m, BR_LOC_LOAD_BUILD, ncons))
      return fail_load(m, BRERR_INTERRUPTED, -1);
    m->loaded = true;
    m->res.status = m->res.solstatus = BR_LOADED;
    return 0;
  });
}

int BRloadLPInstRowWise(BRmodel* model, int ncons, int nobj, int nvars, const char* vartype,
                        const void*, const void*, const double* lb, const double* ub) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    if (ncons < 0 || nvars < 0 || nobj < 0 || nobj > 1) return BRERR_BAD_ARGUMENT;
    clear_model(m);
    m->t0 = std::chrono::steady_clock::now();
    if (int e = set_variables(m, nvars, vartype, lb, ub, nullptr)) return fail_load(m, e, -1);
    m->rows.reserve(ncons);
    m->rowwise.open = true;
    m->rowwise.ncons = ncons;
    m->rowwise.nobj = nobj;
    return 0;
  });
}

int BRaddLRWNumbers(BRmodel* model, int n, const double* values, const void*) {
  return api_call(model, false, [&]() -> int {
    if (!model->rowwise.open) return BRERR_ROWWISE_ORDER;
    if (n < 0 || (n > 0 && !values)) return BRERR_BAD_ARGUMENT;
    model->pool.insert(model->pool.end(), values, values + n);
    return 0;
  });
}

int BRaddLRWobjective(BRmodel* model, int sense, int nwords, const int* words, int* result) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    if (!m->rowwise.open || m->rowwise.got_obj >= m->rowwise.nobj) return BRERR_ROWWISE_ORDER;
    if (nwords < 0 || (nwords > 0 && !words)) return BRERR_BAD_ARGUMENT;
    std::unique_ptr<Loader, void (*)(Loader*)> L(loader_new(m), loader_delete);
    Row r;
    r.type = 'N';
    int e = load_row(L.get(), r, -1, words, nwords, m->pool.data(),
                     static_cast<int>(m->pool.size()), true);
    if (result) *result = -1;
    if (e) {
      m->error_row = -1;
      m->error_row_set = true;
      return e;
    }
    m->obj = r;
    m->sense = sense < 0 ? -1 : 1;
    ++m->rowwise.got_obj;
    return 0;
  });
}

int BRaddLRWconstraint(BRmodel* model, char type, int nwords, const int* words, int* result) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    if (!m->rowwise.open || m->rowwise.got_cons >= m->rowwise.ncons) return BRERR_ROWWISE_ORDER;
    if (type != 'L' && type != 'G' && type != 'E') return BRERR_BAD_ARGUMENT;
    if (nwords < 0 || (nwords > 0 && !words)) return BRERR_BAD_ARGUMENT;
    std::unique_ptr<Loader, void (*)(Loader*)> L(loader_new(m), loader_delete);
    Row r;
    r.type = type;
    const int index = static_cast<int>(m->rows.size());
    int e = load_row(L.get(), r, index, words, nwords, m->pool.data(),
                     static_cast<int>(m->pool.size()), true);
    if (result) *result = index;
    if (e) {
      m->error_row = index;
      m->error_row_set = true;
      return e;
    }
    m->rows.push_back(r);
    m->ncons = index + 1;
    ++m->rowwise.got_cons;
    if (m->ncons % 100 == 0 && load_progress(m, BR_LOC_LOAD_PARSE, m->ncons))
      return fail_load(m, BRERR_INTERRUPTED, index);
    return 0;
  });
}

int BRbuildLRWModel(BRmodel* model) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    RowWise& w = m->rowwise;
    if (!w.open || w.got_cons != w.ncons || w.got_obj != w.nobj) return BRERR_ROWWISE_ORDER;
    w.open = false;
    m->ncons = static_cast<int>(m->rows.size());
    if (load_progress(m, BR_LOC_LOAD_PARSE, m->ncons) ||
        load_progress(m, BR_LOC_LOAD_STRUCT, m->ncons) ||
        load_progress(m, BR_LOC_LOAD_BUILD, m->ncons))
      return fail_load(m, BRERR_INTERRUPTED, -1);
    m->loaded = true;
    m->res.status = m->res.solstatus = BR_LOADED;
    return 0;
  });
}

int BRloadVarStartPoint(BRmodel* model, const double* x) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    if (!m->loaded) return BRERR_NOT_LOADED;
    if (!x) return BRERR_BAD_ARGUMENT;
    for (int j = 0; j < m->nvars; ++j) {
      double v = x[j];
      if (std::memcmp(&v, &kNoStartMarker, sizeof v) == 0) continue;
      if (std::isnan(v)) v = std::min(std::max(0.0, m->lb[j]), m->ub[j]);
      m->start.set(j, v);
    }
    return 0;
  });
}

int BRgetErrorRowIndex(BRmodel* model, int* row) {
  return api_call(model, true, [&]() -> int {
    if (!row) return BRERR_BAD_ARGUMENT;
    if (!model->error_row_set) return BRERR_NOT_AVAILABLE;
    *row = model->error_row;
    return 0;
  });
}

} // extern "C"
