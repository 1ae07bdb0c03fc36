// Row evaluation: the operation table, scalar semantics, values and gradients
// by reverse-mode automatic differentiation over each row's tape, model class
// tests, column-wise linear arrays and the convexity test of quadratic rows.
#include "bresk/modules.h"
#include "bresk/ops.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace bresk {

namespace {

const double kLnBig = std::log(kBigNum);

// Every operation the library accepts.
const OpInfo kOps[] = {
    {OP_PLUS, "PLUS", 2, OC_SMOOTH},          {OP_MINUS, "MINUS", 2, OC_SMOOTH},
    {OP_MULTIPLY, "MULTIPLY", 2, OC_SMOOTH},  {OP_DIVIDE, "DIVIDE", 2, OC_SMOOTH},
    {OP_POWER, "POWER", 2, OC_SMOOTH},        {OP_EQUAL, "EQUAL", 2, OC_NONSMOOTH},
    {OP_NOTEQUAL, "NOTEQUAL", 2, OC_NONSMOOTH}, {OP_LTOREQ, "LTOREQ", 2, OC_NONSMOOTH},
    {OP_GTOREQ, "GTOREQ", 2, OC_NONSMOOTH},   {OP_LTHAN, "LTHAN", 2, OC_NONSMOOTH},
    {OP_GTHAN, "GTHAN", 2, OC_NONSMOOTH},     {OP_AND, "AND", 2, OC_NONSMOOTH},
    {OP_OR, "OR", 2, OC_NONSMOOTH},           {OP_NOT, "NOT", 1, OC_NONSMOOTH},
    {OP_NEGATE, "NEGATE", 1, OC_SMOOTH},      {OP_ABS, "ABS", 1, OC_NONSMOOTH},
    {OP_SQRT, "SQRT", 1, OC_SMOOTH},          {OP_LN, "LN", 1, OC_SMOOTH},
    {OP_SIN, "SIN", 1, OC_SMOOTH},            {OP_COS, "COS", 1, OC_SMOOTH},
    {OP_TAN, "TAN", 1, OC_SMOOTH},            {OP_EXP, "EXP", 1, OC_SMOOTH},
    {OP_MOD, "MOD", 2, OC_NONSMOOTH},         {OP_IF, "IF", 3, OC_NONSMOOTH},
    {OP_PSN, "PSN", 1, OC_KERNEL},            {OP_PSL, "PSL", 1, OC_KERNEL},
    {OP_LGM, "LGM", 1, OC_KERNEL},            {OP_SIGN, "SIGN", 1, OC_NONSMOOTH},
    {OP_FLOOR, "FLOOR", 1, OC_NONSMOOTH},     {OP_FPA, "FPA", 2, OC_SMOOTH},
    {OP_FPL, "FPL", 2, OC_SMOOTH},            {OP_PEL, "PEL", 2, OC_KERNEL},
    {OP_PEB, "PEB", 2, OC_KERNEL},            {OP_PPS, "PPS", 2, OC_KERNEL},
    {OP_PPL, "PPL", 2, OC_KERNEL},            {OP_PTD, "PTD", 2, OC_KERNEL},
    {OP_PCX, "PCX", 2, OC_KERNEL},            {OP_WRAP, "WRAP", 2, OC_NONSMOOTH},
    {OP_PBN, "PBN", 3, OC_KERNEL},            {OP_PFS, "PFS", 3, OC_KERNEL},
    {OP_PFD, "PFD", 3, OC_KERNEL},            {OP_PHG, "PHG", 4, OC_KERNEL},
    {OP_RAND, "RAND", 1, OC_RANDOM},          {OP_USER, "USER", kArityCounted, OC_RANDOM},
    {OP_MIN, "MIN", kArityCounted, OC_NONSMOOTH}, {OP_MAX, "MAX", kArityCounted, OC_NONSMOOTH},
    {OP_PUSHNUM, "PUSHNUM", kArityPush, OC_PUSH}, {OP_PUSHVAR, "PUSHVAR", kArityPush, OC_PUSH},
    {OP_PUSHNUM2, "PUSHNUM", kArityPush, OC_PUSH}, {OP_PUSHVAR2, "PUSHVAR", kArityPush, OC_PUSH},
    {OP_SQR, "SQR", 1, OC_SMOOTH},
};

constexpr int kFirstCode = 1000, kLastCode = 1077;
const OpInfo* kOpIndex[kLastCode - kFirstCode + 1];

// Builds the code index of the operation table once.
bool index_ops() {
  for (const OpInfo& o : kOps) kOpIndex[o.code - kFirstCode] = &o;
  return true;
}
const bool kOpsIndexed = index_ops();

// Records a failing row.
void fail_row(BRmodel* m, int r) {
  m->error_row = r;
  m->error_row_set = true;
}

// The standard normal density.
double phi(double b) { return 0.3989422804014327 * std::exp(-0.5 * b * b); }

} // namespace

const OpInfo* op_info(int code) {
  (void)kOpsIndexed;
  if (code < kFirstCode || code > kLastCode) return nullptr;
  const OpInfo* o = kOpIndex[code - kFirstCode];
  if (o && o->cls == OC_KERNEL && !kernel_available(code)) return nullptr;
  if (o && o->code == OP_RAND && !kernel_available(code)) return nullptr;
  return o;
}

bool power_rule(double a, double b, double* out) {
  double r;
  if (std::fabs(a) <= kTiny) {
    if (b > kTiny) {
      *out = 0.0;
      return true;
    }
    return false;
  }
  if (a < 0) {
    double q = std::fabs(std::fmod(b, 2.0));
    if (q == 0.0) r = std::pow(-a, b);
    else if (q == 1.0) r = -std::pow(-a, b);
    else return false;
  } else if (std::fabs(b) <= 1.0) {
    r = std::pow(a, b);
  } else {
    double ap = std::max(a, 1.0 / a);
    if ((ap / 4 + 1) * std::fabs(b) > kLnBig && std::fabs(b) * std::log(ap) > kLnBig) {
      if (std::log(a) * b > 0.0) return false;  // overflow
      r = 0.0;                                  // underflow
    } else {
      r = std::pow(a, b);
    }
  }
  *out = r;
  return std::isfinite(r);
}

bool apply_op(BRmodel* m, int op, const double* a, int n, double* out) {
  double r = 0.0;
  const double x = n >= 1 ? a[0] : 0.0;
  const double y = n >= 2 ? a[1] : 0.0;
  const double b = n >= 1 ? a[n - 1] : 0.0;  // the top operand of a unary operation
  switch (op) {
    case OP_PLUS: r = x + y; break;
    case OP_MINUS: r = x - y; break;
    case OP_MULTIPLY: r = x * y; break;
    case OP_DIVIDE:
      if (std::fabs(y) < kTiny) return false;
      r = x / y;
      break;
    case OP_POWER: return power_rule(x, y, out);
    case OP_EQUAL: r = x == y; break;
    case OP_NOTEQUAL: r = x != y; break;
    case OP_LTOREQ: r = x <= y; break;
    case OP_GTOREQ: r = x >= y; break;
    case OP_LTHAN: r = x < y; break;
    case OP_GTHAN: r = x > y; break;
    case OP_AND: r = (x != 0.0 && y != 0.0); break;
    case OP_OR: r = (x != 0.0 || y != 0.0); break;
    case OP_NOT: r = (b == 0.0); break;
    case OP_NEGATE: r = -b; break;
    case OP_ABS: r = std::fabs(b); break;
    case OP_SQRT:
      if (b < 0) return false;
      r = std::sqrt(b);
      break;
    case OP_LN:
      if (b < kTiny) return false;
      r = std::log(b);
      break;
    case OP_SIN: r = std::sin(b); break;
    case OP_COS: r = std::cos(b); break;
    case OP_TAN: r = std::tan(b); break;
    case OP_EXP:
      // Underflow gives the smallest value the program uses, overflow the largest (which
      // the solves take for an overflow).
      r = b <= -kLnBig ? 1.0 / kBigNum : (b >= kLnBig ? kBigNum : std::exp(b));
      break;
    case OP_MOD:
      if (!(std::fabs(y) >= kTiny)) return false;
      r = std::fmod(x, y);
      break;
    case OP_IF:
      if (std::isnan(a[0])) return false;  // a failed condition fails the choice
      r = a[0] != 0.0 ? a[1] : a[2];
      break;
    case OP_SIGN: r = b > 0 ? 1.0 : (b < 0 ? -1.0 : 0.0); break;
    case OP_FLOOR: r = std::fabs(b) <= 2147483640.0 ? std::trunc(b) : b; break;
    case OP_FPA:
      if (x < 0 || y < 0) return false;
      r = x == 0.0 ? y : (1.0 - std::pow(1.0 + x, -y)) / x;
      break;
    case OP_FPL:
      if (x < 0 || y < 0) return false;
      r = std::pow(1.0 + x, -y);
      break;
    case OP_WRAP:
      if (y < kTiny) return false;
      r = std::fmod(x - 1.0, y) + 1.0;
      if (r < 1.0) r += y;
      break;
    case OP_MIN:
    case OP_MAX: {
      if (n < 1) return false;
      r = a[0];
      for (int i = 1; i < n; ++i) {
        if (op == OP_MAX ? a[i] > r : a[i] < r) r = a[i];
      }
      break;
    }
    case OP_SQR: r = b * b; break;
    case OP_USER: {
      if (!m || !m->usercalc) {
        r = 0.0;
        break;
      }
      bool was = m->in_callback;
      m->in_callback = true;
      int rc = 1;
      try {
        rc = m->usercalc(m, n, const_cast<double*>(a), m->userdata, &r);
      } catch (...) {
        rc = 1;
      }
      m->in_callback = was;
      if (rc != 0) return false;
      break;
    }
    default:
      if (!kernel_eval(op, a, &r)) return false;
      break;
  }
  *out = r;
  return std::isfinite(r);
}

bool model_is_linear(const BRmodel* m) {
  if (m->obj.kind != ROW_LINEAR) return false;
  for (const Row& r : m->rows) {
    if (r.kind != ROW_LINEAR) return false;
  }
  return true;
}

bool model_has_integers(const BRmodel* m) {
  for (char t : m->vtype) {
    if (t == 'B' || t == 'I') return true;
  }
  return false;
}

bool model_is_quadratic(const BRmodel* m) {
  if (m->obj.kind == ROW_NONLINEAR) return false;
  for (const Row& r : m->rows) {
    if (r.kind == ROW_NONLINEAR) return false;
  }
  return true;
}

namespace {

// Value of a linear or quadratic row from its data.
double eval_data_row(const BRmodel* m, const Row& row, const double* x) {
  double v = row.constant;
  for (int k = row.lin_begin; k < row.lin_end; ++k) v += lin_coef(m, row, k) * x[m->lin_col[k]];
  for (int k = row.quad_begin; k < row.quad_end; ++k) {
    int i = m->quad_i[k], j = m->quad_j[k];
    v += i == j ? 0.5 * m->quad_q[k] * x[i] * x[i] : m->quad_q[k] * x[i] * x[j];
  }
  return v;
}

// Value of a failed operation on the tape.
constexpr double kFault = std::numeric_limits<double>::quiet_NaN();

// Forward sweep over a row's tape; values left in m->ev_val.
bool forward(BRmodel* m, const Row& row, const double* x, double* value) {
  const int nb = row.node_begin, ne = row.node_end;
  if (static_cast<int>(m->ev_val.size()) < ne - nb) m->ev_val.resize(ne - nb);
  double* val = m->ev_val.data() - nb;
  double args[256];
  std::vector<double> big;
  for (int k = nb; k < ne; ++k) {
    const Node& nd = m->nodes[k];
    switch (nd.op) {
      case OP_PUSHNUM: val[k] = nd.val; break;
      case OP_PUSHVAR: val[k] = x[nd.var]; break;
      case OP_PLUS: val[k] = val[m->kids[nd.kid]] + val[m->kids[nd.kid + 1]]; break;
      case OP_MINUS: val[k] = val[m->kids[nd.kid]] - val[m->kids[nd.kid + 1]]; break;
      case OP_MULTIPLY: val[k] = val[m->kids[nd.kid]] * val[m->kids[nd.kid + 1]]; break;
      case OP_NEGATE: val[k] = -val[m->kids[nd.kid]]; break;
      default: {
        double* a = args;
        if (nd.nkid > 256) {
          big.resize(nd.nkid);
          a = big.data();
        }
        // a failed operation leaves NaN, which every later operation passes on, so that an
        // @IF that does not take it keeps the row's value; the row fails when it reaches
        // the result
        bool failed = false;
        for (int i = 0; i < nd.nkid; ++i) {
          a[i] = val[m->kids[nd.kid + i]];
          failed = failed || (std::isnan(a[i]) && (nd.op != OP_IF || i == 0));
        }
        if (failed || !apply_op(m, nd.op, a, nd.nkid, &val[k])) val[k] = kFault;
      }
    }
  }
  *value = val[ne - 1];
  return std::isfinite(*value);
}

// Central-difference partial derivative of a kernel-like operation in operand i.
double numeric_partial(BRmodel* m, int op, const double* a, int n, int i) {
  std::vector<double> t(a, a + n);
  double h = 1e-6 * (1.0 + std::fabs(a[i]));
  double fp, fm;
  t[i] = a[i] + h;
  bool okp = apply_op(m, op, t.data(), n, &fp);
  t[i] = a[i] - h;
  bool okm = apply_op(m, op, t.data(), n, &fm);
  double f0;
  bool ok0 = apply_op(m, op, a, n, &f0);
  if (okp && okm) return (fp - fm) / (2 * h);
  if (okp && ok0) return (fp - f0) / h;
  if (okm && ok0) return (f0 - fm) / h;
  return 0.0;
}

// Reverse sweep: adjoints of the tape, accumulated into grad by variable position.
void reverse(BRmodel* m, const Row& row, double* grad) {
  const int nb = row.node_begin, ne = row.node_end;
  if (static_cast<int>(m->ev_adj.size()) < ne - nb) m->ev_adj.resize(ne - nb);
  double* adj = m->ev_adj.data() - nb;
  const double* val = m->ev_val.data() - nb;
  std::fill(adj + nb, adj + ne, 0.0);
  adj[ne - 1] = 1.0;
  std::vector<double> args;
  for (int k = ne - 1; k >= nb; --k) {
    const Node& nd = m->nodes[k];
    const double w = adj[k];
    if (nd.op == OP_PUSHVAR) {
      if (nd.kid >= 0) grad[nd.kid] += w;
      continue;
    }
    if (w == 0.0 || nd.nkid == 0) continue;
    const int* kd = &m->kids[nd.kid];
    const double a = val[kd[0]];
    const double b = nd.nkid >= 2 ? val[kd[1]] : 0.0;
    switch (nd.op) {
      case OP_PLUS: adj[kd[0]] += w; adj[kd[1]] += w; break;
      case OP_MINUS: adj[kd[0]] += w; adj[kd[1]] -= w; break;
      case OP_MULTIPLY: adj[kd[0]] += w * b; adj[kd[1]] += w * a; break;
      case OP_DIVIDE: adj[kd[0]] += w / b; adj[kd[1]] -= w * a / (b * b); break;
      case OP_POWER:
        if (b != 0.0) adj[kd[0]] += w * b * std::pow(a, b - 1.0);
        if (a > 0) adj[kd[1]] += w * val[k] * std::log(a);
        break;
      case OP_NEGATE: adj[kd[0]] -= w; break;
      case OP_ABS: adj[kd[0]] += a > 0 ? w : (a < 0 ? -w : 0.0); break;
      case OP_SQRT: adj[kd[0]] += val[k] > 0 ? w / (2 * val[k]) : 0.0; break;
      case OP_LN: adj[kd[0]] += w / a; break;
      case OP_SIN: adj[kd[0]] += w * std::cos(a); break;
      case OP_COS: adj[kd[0]] -= w * std::sin(a); break;
      case OP_TAN: adj[kd[0]] += w * (1.0 + val[k] * val[k]); break;
      case OP_EXP: adj[kd[0]] += w * val[k]; break;
      case OP_SQR: adj[kd[0]] += w * 2 * a; break;
      case OP_MOD: adj[kd[0]] += w; adj[kd[1]] -= w * std::trunc(a / b); break;
      case OP_IF: adj[val[kd[0]] != 0.0 ? kd[1] : kd[2]] += w; break;
      case OP_MIN:
      case OP_MAX: {
        int best = 0;
        for (int i = 1; i < nd.nkid; ++i) {
          double v = val[kd[i]];
          if (nd.op == OP_MAX ? v > val[kd[best]] : v < val[kd[best]]) best = i;
        }
        adj[kd[best]] += w;
        break;
      }
      case OP_PSN: adj[kd[0]] += w * phi(a); break;
      case OP_PSL: {
        double p;
        double t[1] = {a};
        if (kernel_eval(OP_PSN, t, &p)) adj[kd[0]] += w * (p - 1.0);
        break;
      }
      case OP_FLOOR: case OP_SIGN: case OP_EQUAL: case OP_NOTEQUAL: case OP_LTOREQ:
      case OP_GTOREQ: case OP_LTHAN: case OP_GTHAN: case OP_AND: case OP_OR: case OP_NOT:
      case OP_RAND: case OP_USER:
        break;
      default: {  // kernels, FPA, FPL, WRAP: central differences per operand
        args.resize(nd.nkid);
        for (int i = 0; i < nd.nkid; ++i) args[i] = val[kd[i]];
        for (int i = 0; i < nd.nkid; ++i)
          adj[kd[i]] += w * numeric_partial(m, nd.op, args.data(), nd.nkid, i);
      }
    }
  }
}

// Gradient by finite differences over the row's variables (forward or central).
bool numeric_gradient(BRmodel* m, int r, const Row& row, const double* x, double f0,
                      bool central, double* grad) {
  // A full-length copy of the point made once; only the row's own variables
  // are refreshed per call, so the cost stays proportional to the row.
  static thread_local std::vector<double> xx;
  if (static_cast<int>(xx.size()) < m->nvars) xx.resize(m->nvars);
  for (int k = row.node_begin; k < row.node_end; ++k)
    if (m->nodes[k].op == OP_PUSHVAR) xx[m->nodes[k].var] = x[m->nodes[k].var];
  for (int k = row.var_begin; k < row.var_end; ++k) {
    int j = row_vars(m, row)[k - row.var_begin];
    double h = (central ? 1e-6 : 1e-7) * (1.0 + std::fabs(x[j]));
    double fp, fm;
    xx[j] = x[j] + h;
    bool okp = eval_row(m, r, xx.data(), &fp);
    if (central) {
      xx[j] = x[j] - h;
      bool okm = eval_row(m, r, xx.data(), &fm);
      if (okp && okm) grad[k - row.var_begin] = (fp - fm) / (2 * h);
      else if (okp) grad[k - row.var_begin] = (fp - f0) / h;
      else if (okm) grad[k - row.var_begin] = (f0 - fm) / h;
      else return false;
    } else {
      if (!okp) {
        xx[j] = x[j] - h;
        if (!eval_row(m, r, xx.data(), &fm)) return false;
        grad[k - row.var_begin] = (f0 - fm) / h;
      } else {
        grad[k - row.var_begin] = (fp - f0) / h;
      }
    }
    xx[j] = x[j];
  }
  return true;
}

} // namespace

bool eval_row(BRmodel* m, int r, const double* x, double* value) {
  const Row& row = row_of(m, r);
  if (row.kind != ROW_NONLINEAR || row.node_begin == row.node_end) {
    *value = eval_data_row(m, row, x);
    if (std::isfinite(*value)) return true;
    fail_row(m, r);
    return false;
  }
  if (forward(m, row, x, value)) return true;
  fail_row(m, r);
  return false;
}

bool eval_grad(BRmodel* m, int r, const double* x, double* value, double* grad) {
  const Row& row = row_of(m, r);
  const int nv = row.var_end - row.var_begin;
  std::fill(grad, grad + nv, 0.0);
  if (row.kind != ROW_NONLINEAR || row.node_begin == row.node_end) {
    *value = eval_data_row(m, row, x);
    if (!std::isfinite(*value)) {
      fail_row(m, r);
      return false;
    }
    const int32_t* vb = row_vars(m, row);
    const int32_t* ve = vb + nv;
    auto pos = [&](int j) { return static_cast<int>(std::lower_bound(vb, ve, j) - vb); };
    if (row.quad_begin == row.quad_end && row.lin_end - row.lin_begin == nv) {
      for (int k = row.lin_begin; k < row.lin_end; ++k) grad[k - row.lin_begin] = lin_coef(m, row, k);
    } else {
      for (int k = row.lin_begin; k < row.lin_end; ++k) grad[pos(m->lin_col[k])] += lin_coef(m, row, k);
    }
    for (int k = row.quad_begin; k < row.quad_end; ++k) {
      int i = m->quad_i[k], j = m->quad_j[k];
      double q = m->quad_q[k];
      if (i == j) {
        grad[pos(i)] += q * x[i];
      } else {
        grad[pos(i)] += q * x[j];
        grad[pos(j)] += q * x[i];
      }
    }
    return true;
  }
  if (!forward(m, row, x, value)) {
    fail_row(m, r);
    return false;
  }
  int mode = ipar(m, P_DERCMP);
  bool ok = true;
  if (mode == 3 || mode == 1) {
    double f0 = *value;
    ok = numeric_gradient(m, r, row, x, f0, mode == 3, grad);
    *value = f0;
  } else {
    reverse(m, row, grad);
  }
  for (int k = 0; ok && k < nv; ++k) ok = std::isfinite(grad[k]);
  if (!ok) fail_row(m, r);
  return ok;
}

bool eval_slacks(BRmodel* m, const double* x, double* slack) {
  for (int i = 0; i < m->ncons; ++i) {
    double g;
    if (!eval_row(m, i, x, &g)) return false;
    slack[i] = -g;
  }
  return true;
}

void lp_arrays(const BRmodel* m, LpArrays& a) {
  const int n = m->nvars, nr = m->ncons;
  a.colstart.assign(n + 1, 0);
  for (const Row& r : m->rows)
    for (int k = r.lin_begin; k < r.lin_end; ++k) ++a.colstart[m->lin_col[k] + 1];
  for (int j = 0; j < n; ++j) a.colstart[j + 1] += a.colstart[j];
  a.rowidx.resize(a.colstart[n]);
  a.value.resize(a.colstart[n]);
  std::vector<int> fill(a.colstart.begin(), a.colstart.end() - 1);
  for (int i = 0; i < nr; ++i) {
    const Row& r = m->rows[i];
    for (int k = r.lin_begin; k < r.lin_end; ++k) {
      int p = fill[m->lin_col[k]]++;
      a.rowidx[p] = i;
      a.value[p] = lin_coef(m, r, k);
    }
  }
  auto coin = [](double v) { return v >= kInf ? DBL_MAX : (v <= -kInf ? -DBL_MAX : v); };
  a.collb.resize(n);
  a.colub.resize(n);
  for (int j = 0; j < n; ++j) {
    a.collb[j] = coin(m->lb[j]);
    a.colub[j] = coin(m->ub[j]);
  }
  a.cost.assign(n, 0.0);
  for (int k = m->obj.lin_begin; k < m->obj.lin_end; ++k) a.cost[m->lin_col[k]] += lin_coef(m, m->obj, k);
  a.objconst = m->obj.constant;
  a.rowlb.resize(nr);
  a.rowub.resize(nr);
  for (int i = 0; i < nr; ++i) {
    const Row& r = m->rows[i];
    double b = coin(-r.constant);
    a.rowlb[i] = r.type == 'L' ? -DBL_MAX : b;
    a.rowub[i] = r.type == 'G' ? DBL_MAX : b;
  }
}

namespace {

// Coefficients and integer bounds from this magnitude on stop the simplex codes and mean nothing.
constexpr double kCoefLimit = 1e25;

// True when a bound or a right-hand side at the library's infinity asks what no point can
// give: a lower bound at +infinity, an upper bound at -infinity, or a row that must be at
// most -infinity, at least +infinity, or equal to either.
bool bounds_unattainable(const BRmodel* m) {
  for (int j = 0; j < m->nvars; ++j)
    if (m->lb[j] >= kInf || m->ub[j] <= -kInf) return true;
  for (const Row& r : m->rows) {
    const double b = -r.constant;
    if ((r.type != 'G' && b <= -kInf) || (r.type != 'L' && b >= kInf)) return true;
  }
  return false;
}

// Records an outcome reached without running a solver: the status (for the integer search too
// when mip), no solution, and the progress record's status.
Result& store_settled(BRmodel* m, int status, bool mip) {
  clear_result(m);
  m->t0 = std::chrono::steady_clock::now();
  Result& r = m->res;
  r.status = status;
  if (mip) r.mip_status = status;
  r.solstatus = BR_UNLOADED;
  r.seconds = elapsed(m);
  m->prog.q_status = m->prog.mip_status = status;
  return r;
}

// Records the outcome of such a model: infeasible; a continuous solve leaves vectors.
void store_unattainable(BRmodel* m, bool mip) {
  Result& r = store_settled(m, BR_INFEASIBLE, mip);
  r.obj = r.bound = r.mip_obj = r.mip_bound = 0.0;
  if (!mip) {
    // A continuous solve leaves vectors: each variable at the finite bound nearest zero.
    const int n = m->nvars, nr = m->ncons;
    r.x.assign(n, 0.0);
    for (int j = 0; j < n; ++j) {
      if (m->lb[j] > 0.0 && m->lb[j] < kInf) r.x[j] = m->lb[j];
      if (m->ub[j] < 0.0 && m->ub[j] > -kInf) r.x[j] = m->ub[j];
    }
    r.slack.assign(nr, 0.0);
    r.dual.assign(nr, 0.0);
    r.redcost.assign(n, 0.0);
    double z = 0.0;
    if (eval_slacks(m, r.x.data(), r.slack.data()) && eval_row(m, -1, r.x.data(), &z)) r.obj = r.bound = z;
    r.has_primal = r.has_dual = true;
    r.solstatus = BR_INFEASIBLE;
    r.seconds = elapsed(m);
  }
}

// The first row (-1 the objective, -2 none) with a linear or quadratic coefficient of
// magnitude 1e25 or more, or one that is not finite.
int oversized_row(const BRmodel* m) {
  auto big = [m](const Row& r) {
    for (int k = r.lin_begin; k < r.lin_end; ++k)
      if (!(std::fabs(lin_coef(m, r, k)) < kCoefLimit)) return true;
    for (int k = r.quad_begin; k < r.quad_end; ++k)
      if (!(std::fabs(m->quad_q[k]) < kCoefLimit)) return true;
    return false;
  };
  if (big(m->obj)) return -1;
  for (int i = 0; i < m->ncons; ++i)
    if (big(m->rows[i])) return i;
  return -2;
}

// True when an integer variable has a finite bound of magnitude 1e25 or more: integrality
// means nothing there, and the integer search's heuristics can loop on it.
bool integer_bound_oversized(const BRmodel* m) {
  auto big = [](double b) { return std::fabs(b) >= kCoefLimit && std::fabs(b) < kInf; };
  for (size_t j = 0; j < m->vtype.size(); ++j)
    if (m->vtype[j] != 'C' && (big(m->lb[j]) || big(m->ub[j]))) return true;
  return false;
}

// Records the outcome of such a model: a numerical error in that row.
void store_oversized(BRmodel* m, int row, bool mip) {
  store_settled(m, BR_NUMERICAL_ERROR, mip);
  m->error_row = row;
  m->error_row_set = true;
}

}  // namespace

bool settled_without_solve(BRmodel* m, bool mip) {
  if (bounds_unattainable(m)) {
    store_unattainable(m, mip);
    return true;
  }
  if (int row = oversized_row(m); row > -2) {
    store_oversized(m, row, mip);
    return true;
  }
  if (mip && integer_bound_oversized(m)) {
    store_oversized(m, -2, true);
    return true;
  }
  return false;
}

std::vector<int> quad_row_vars(const BRmodel* m, const Row& row, std::vector<int> v) {
  for (int k = row.quad_begin; k < row.quad_end; ++k) {
    v.push_back(m->quad_i[k]);
    v.push_back(m->quad_j[k]);
  }
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  return v;
}

bool row_is_convex(const BRmodel* m, int r) {
  const Row& row = row_of(m, r);
  if (row.kind == ROW_LINEAR) return true;
  if (row.kind != ROW_QUADRATIC) return false;
  if (row.quad_begin == row.quad_end) return true;
  int want;  // +1 positive semidefinite, -1 negative semidefinite
  if (r < 0) want = m->sense < 0 ? -1 : 1;
  else if (row.type == 'L') want = 1;
  else if (row.type == 'G') want = -1;
  else return false;
  std::vector<int> vars = quad_row_vars(m, row);
  const int n = static_cast<int>(vars.size());
  if (n > 4000) return false;
  std::vector<double> h(static_cast<size_t>(n) * n, 0.0);
  auto at = [&](int j) { return static_cast<int>(std::lower_bound(vars.begin(), vars.end(), j) - vars.begin()); };
  for (int k = row.quad_begin; k < row.quad_end; ++k) {
    int i = at(m->quad_i[k]), j = at(m->quad_j[k]);
    h[static_cast<size_t>(i) * n + j] += m->quad_q[k];
    if (i != j) h[static_cast<size_t>(j) * n + i] += m->quad_q[k];
  }
  std::vector<double> w(n);
  const ClpEngine* e = clpEngine();
  if (!e || e->eigenvalues(n, h.data(), w.data()) != 0) return false;
  double scale = 1.0;
  for (double e : w) scale = std::max(scale, std::fabs(e));
  double tol = 1e-9 * scale;
  for (double e : w) {
    if (want > 0 && e < -tol) return false;
    if (want < 0 && e > tol) return false;
  }
  return true;
}

} // namespace bresk
