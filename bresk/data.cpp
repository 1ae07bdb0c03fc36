// Model data back out: linear data by column, nonlinear entries, quadratic
// terms, one row's linear data, variable types.
#include "bresk/internal.h"

#include <algorithm>

using namespace bresk;

namespace {

// Returns 2010 unless a model is loaded.
int need_model(const BRmodel* m) { return m->loaded ? 0 : BRERR_NOT_LOADED; }

// Variables in the nonlinear or quadratic part of the objective, sorted.
std::vector<int> objective_nl_vars(const BRmodel* m) {
  const Row& o = m->obj;
  return quad_row_vars(m, o, std::vector<int>(m->nl_var.begin() + o.nl_begin, m->nl_var.begin() + o.nl_end));
}

} // namespace

extern "C" {

int BRgetLPData(BRmodel* model, int* sense, double* objconst, double* cost, double* rhs,
                char* contype, int* colstart, int* collen, double* value, int* rowidx,
                double* lb, double* ub) {
  return api_call(model, true, [&]() -> int {
    const BRmodel* m = model;
    if (int e = need_model(m)) return e;
    if (sense) *sense = m->sense;
    if (objconst) *objconst = m->obj.constant;
    if (cost) {
      std::fill(cost, cost + m->nvars, 0.0);
      for (int k = m->obj.lin_begin; k < m->obj.lin_end; ++k) cost[m->lin_col[k]] = lin_coef(m, m->obj, k);
    }
    for (int i = 0; i < m->ncons; ++i) {
      if (rhs) rhs[i] = -m->rows[i].constant;
      if (contype) contype[i] = m->rows[i].type;
    }
    if (colstart || collen || value || rowidx) {
      // column starts counted from the rows' linear entries, then the entries dealt out
      // straight into the caller's arrays, the starts serving as the fill positions and
      // shifted back afterwards
      const int n = m->nvars;
      std::vector<int> own;
      int* start = colstart;
      if (!start) {
        own.resize(static_cast<size_t>(n) + 1);
        start = own.data();
      }
      std::fill(start, start + n + 1, 0);
      for (const Row& r : m->rows)
        for (int k = r.lin_begin; k < r.lin_end; ++k) ++start[m->lin_col[k] + 1];
      for (int j = 0; j < n; ++j) start[j + 1] += start[j];
      if (collen)
        for (int j = 0; j < n; ++j) collen[j] = start[j + 1] - start[j];
      if (value || rowidx) {
        for (int i = 0; i < m->ncons; ++i) {
          const Row& r = m->rows[i];
          for (int k = r.lin_begin; k < r.lin_end; ++k) {
            int p = start[m->lin_col[k]]++;
            if (rowidx) rowidx[p] = i;
            if (value) value[p] = lin_coef(m, r, k);
          }
        }
        for (int j = n; j > 0; --j) start[j] = start[j - 1];
        start[0] = 0;
      }
    }
    for (int j = 0; j < m->nvars; ++j) {
      if (lb) lb[j] = m->lb[j];
      if (ub) ub[j] = m->ub[j];
    }
    return 0;
  });
}

int BRgetNLPData(BRmodel* model, int* colstart, int* collen, int* rowidx, int* rowcode,
                 char* rowflag, int* rowstart, int* rowvars) {
  return api_call(model, true, [&]() -> int {
    const BRmodel* m = model;
    if (int e = need_model(m)) return e;
    const int n = m->nvars;
    std::vector<int> start(n + 1, 0);
    for (const Row& r : m->rows) {
      if (r.kind != ROW_NONLINEAR) continue;
      for (int k = r.nl_begin; k < r.nl_end; ++k) ++start[m->nl_var[k] + 1];
    }
    for (int j = 0; j < n; ++j) start[j + 1] += start[j];
    if (colstart) std::copy(start.begin(), start.end(), colstart);
    if (collen)
      for (int j = 0; j < n; ++j) collen[j] = start[j + 1] - start[j];
    if (rowidx) {
      std::vector<int> fill(start.begin(), start.end() - 1);
      for (int i = 0; i < m->ncons; ++i) {
        const Row& r = m->rows[i];
        if (r.kind != ROW_NONLINEAR) continue;
        for (int k = r.nl_begin; k < r.nl_end; ++k) rowidx[fill[m->nl_var[k]]++] = i;
      }
    }
    int pos = 0;
    for (int i = 0; i < m->ncons; ++i) {
      const Row& r = m->rows[i];
      if (rowcode) rowcode[i] = r.nlcode;
      if (rowflag) rowflag[i] = r.kind != ROW_LINEAR ? 1 : 0;
      if (rowstart) rowstart[i] = pos;
      if (r.kind == ROW_NONLINEAR) {
        if (rowvars) std::copy(m->nl_var.begin() + r.nl_begin, m->nl_var.begin() + r.nl_end, rowvars + pos);
        pos += r.nl_end - r.nl_begin;
      }
    }
    if (rowstart) rowstart[m->ncons] = pos;
    return 0;
  });
}

int BRgetNLPObjectiveData(BRmodel* model, int* n, int* vars) {
  return api_call(model, true, [&]() -> int {
    if (int e = need_model(model)) return e;
    std::vector<int> v = objective_nl_vars(model);
    if (n) *n = static_cast<int>(v.size());
    if (vars) std::copy(v.begin(), v.end(), vars);
    return 0;
  });
}

int BRgetQCData(BRmodel* model, int* n, int* row, int* i, int* j, double* q) {
  return api_call(model, true, [&]() -> int {
    const BRmodel* m = model;
    if (int e = need_model(m)) return e;
    int c = 0;
    for (int r = -1; r < m->ncons; ++r) {
      const Row& w = row_of(m, r);
      if (w.kind != ROW_QUADRATIC) continue;
      for (int k = w.quad_begin; k < w.quad_end; ++k, ++c) {
        if (row) row[c] = r;
        if (i) i[c] = m->quad_i[k];
        if (j) j[c] = m->quad_j[k];
        if (q) q[c] = m->quad_q[k];
      }
    }
    if (n) *n = c;
    return 0;
  });
}

int BRgetQCDatai(BRmodel* model, int row, int* n, int* i, int* j, double* q) {
  return api_call(model, true, [&]() -> int {
    const BRmodel* m = model;
    if (int e = need_model(m)) return e;
    if (row < -1 || row >= m->ncons) return BRERR_BAD_ARGUMENT;
    const Row& w = row_of(m, row);
    int c = 0;
    if (w.kind == ROW_QUADRATIC) {
      for (int k = w.quad_begin; k < w.quad_end; ++k, ++c) {
        if (i) i[c] = m->quad_i[k];
        if (j) j[c] = m->quad_j[k];
        if (q) q[c] = m->quad_q[k];
      }
    }
    if (n) *n = c;
    return 0;
  });
}

int BRgetLPConstraintDatai(BRmodel* model, int row, char* type, double* rhs, int* n, int* col,
                           double* val) {
  return api_call(model, true, [&]() -> int {
    const BRmodel* m = model;
    if (int e = need_model(m)) return e;
    if (row < 0 || row >= m->ncons) return BRERR_BAD_ARGUMENT;
    const Row& w = m->rows[row];
    if (type) *type = w.type;
    if (rhs) *rhs = -w.constant;
    if (n) *n = w.lin_end - w.lin_begin;
    if (col) std::copy(m->lin_col.begin() + w.lin_begin, m->lin_col.begin() + w.lin_end, col);
    if (val)
      for (int k = w.lin_begin; k < w.lin_end; ++k) val[k - w.lin_begin] = lin_coef(m, w, k);
    return 0;
  });
}

int BRgetVarType(BRmodel* model, char* types) {
  return api_call(model, true, [&]() -> int {
    if (int e = need_model(model)) return e;
    if (!types) return BRERR_BAD_ARGUMENT;
    std::copy(model->vtype.begin(), model->vtype.end(), types);
    return 0;
  });
}

} // extern "C"
