// Loading instruction lists: decoding and validating each row's words into a
// tape, detecting the row's structure (constant, linear, quadratic or
// nonlinear with its linear part split off), and storing the result in the
// model.  Serves the whole-model loader and the row-wise linear loader.
#include "bresk/load.h"
#include "bresk/ops.h"

#include <algorithm>
#include <cmath>

namespace bresk {

namespace {

constexpr size_t kMaxQuadProduct = 200000;  // larger products of sums stay nonlinear

struct Term {
  int32_t j;
  double a;
};
struct QTerm {
  int32_t i, j;  // i >= j
  double a;      // coefficient of the monomial x_i x_j
};

enum SymKind : uint8_t { S_CONST = 0, S_LIN = 1, S_QUAD = 2, S_NONLIN = 3 };

// Symbolic form of a subexpression.
struct Sym {
  uint8_t k = S_CONST;
  bool bad = false;  // a constant part failed to fold; the row fails unless an @IF drops it
  double c = 0.0;
  std::vector<Term> lin;
  std::vector<QTerm> quad;
};

void scale(Sym& s, double f) {
  s.c *= f;
  for (Term& t : s.lin) t.a *= f;
  for (QTerm& t : s.quad) t.a *= f;
}

// a += sign * b, merging the smaller list into the larger.
void add_into(Sym& a, Sym& b, double sign) {
  if (a.k == S_NONLIN || b.k == S_NONLIN) {
    a.k = S_NONLIN;
    a.lin.clear();
    a.quad.clear();
    return;
  }
  if (sign < 0) scale(b, -1.0);
  a.k = std::max(a.k, b.k);
  a.c += b.c;
  if (b.lin.size() > a.lin.size()) std::swap(a.lin, b.lin);
  a.lin.insert(a.lin.end(), b.lin.begin(), b.lin.end());
  if (b.quad.size() > a.quad.size()) std::swap(a.quad, b.quad);
  a.quad.insert(a.quad.end(), b.quad.begin(), b.quad.end());
}

void make_nonlin(Sym& s) {
  s.k = S_NONLIN;
  s.lin.clear();
  s.quad.clear();
}

// a = a * b for two linear forms (result quadratic).
void multiply_lin(Sym& a, const Sym& b) {
  if (a.lin.size() * b.lin.size() > kMaxQuadProduct) {
    make_nonlin(a);
    return;
  }
  std::vector<QTerm> q;
  q.reserve(a.lin.size() * b.lin.size());
  for (const Term& s : a.lin)
    for (const Term& t : b.lin) q.push_back({std::max(s.j, t.j), std::min(s.j, t.j), s.a * t.a});
  std::vector<Term> lin;
  lin.reserve(a.lin.size() + b.lin.size());
  for (const Term& s : a.lin) lin.push_back({s.j, s.a * b.c});
  for (const Term& t : b.lin) lin.push_back({t.j, t.a * a.c});
  a.c *= b.c;
  a.lin.swap(lin);
  a.quad.swap(q);
  a.k = a.quad.empty() ? S_LIN : S_QUAD;
}

// The decoded tape of the row being loaded, before it is stored.
struct Tape {
  std::vector<Node> nodes;
  std::vector<int32_t> kids;
  std::vector<int32_t> first;  // first node of each node's subtree
};

} // namespace

// One stack item of the fast linear pass.
struct FastItem {
  bool lin;
  double c;
  size_t begin;
};

struct Loader {
  BRmodel* m;
  std::vector<FastItem> items;
  Tape t;
  std::vector<Sym> stack;
  std::vector<int32_t> st;        // decode stack of node indices
  std::vector<Term> lin;          // scratch for the split
  std::vector<QTerm> quad;
  std::vector<int32_t> nlvars;
};

Loader* loader_new(BRmodel* m) {
  Loader* L = new Loader();
  L->m = m;
  return L;
}

void loader_delete(Loader* L) { delete L; }

namespace {

// Decodes words[0..n) into L->t; 0 or 2014 / 2015.
int decode(Loader* L, const int32_t* w, int n, const double* pool, int npool) {
  Tape& t = L->t;
  t.nodes.clear();
  t.kids.clear();
  t.first.clear();
  t.nodes.reserve(n);
  t.first.reserve(n);
  t.kids.reserve(n);
  auto& st = L->st;
  st.clear();
  const int nvars = L->m->nvars;
  for (int p = 0; p < n;) {
    const int code = w[p];
    if (code == OP_NOOP) {
      ++p;
      continue;
    }
    if (code == OP_MARKER) {
      if (p + 1 >= n) return BRERR_BAD_CODE;
      p += (w[p + 1] == 2) ? 2 : 4;
      if (p > n) return BRERR_BAD_CODE;
      continue;
    }
    const OpInfo* o = op_info(code);
    if (!o) return BRERR_BAD_CODE;
    Node nd{};
    nd.op = code;
    const int self = static_cast<int>(t.nodes.size());
    int first = self;
    if (o->arity == kArityPush) {
      if (p + 1 >= n) return BRERR_BAD_CODE;
      int k = w[p + 1];
      if (code == OP_PUSHNUM || code == OP_PUSHNUM2) {
        if (k < 0 || k >= npool) return BRERR_BAD_CODE;
        nd.op = OP_PUSHNUM;
        nd.val = pool[k];
      } else {
        if (k < 0 || k >= nvars) return BRERR_BAD_CODE;
        nd.op = OP_PUSHVAR;
        nd.var = k;
      }
      nd.kid = -1;
      p += 2;
    } else {
      int nargs = o->arity;
      if (nargs == kArityCounted) {
        if (p + 1 >= n) return BRERR_BAD_CODE;
        nargs = w[p + 1];
        if (nargs < 1) return BRERR_BAD_CODE;
        p += 2;
      } else {
        p += 1;
      }
      if (static_cast<int>(st.size()) < nargs) return BRERR_STACK;
      nd.nkid = nargs;
      nd.kid = static_cast<int32_t>(t.kids.size());
      const size_t base = st.size() - nargs;
      for (int i = 0; i < nargs; ++i) {
        int c = st[base + i];
        t.kids.push_back(c);
        first = std::min(first, t.first[c]);
      }
      st.resize(base);
    }
    t.nodes.push_back(nd);
    t.first.push_back(first);
    st.push_back(self);
  }
  if (st.size() != 1) return BRERR_STACK;
  return 0;
}

// Symbolic pass over nodes [from, to] of the tape; the form of node `to`
// is left in out.  0, or 2019 when a constant subexpression fails to fold.
int analyse(Loader* L, int from, int to, Sym& out) {
  Tape& t = L->t;
  auto& stack = L->stack;
  const size_t base = stack.size();
  // Symbolic stack positions: node k's form is pushed when k is reached; the
  // operands of a node are the top nkid entries (postfix order).
  for (int k = from; k <= to; ++k) {
    const Node& nd = t.nodes[k];
    if (nd.op == OP_PUSHNUM) {
      Sym s;
      s.c = nd.val;
      stack.push_back(std::move(s));
      continue;
    }
    if (nd.op == OP_PUSHVAR) {
      Sym s;
      s.k = S_LIN;
      s.lin.push_back({nd.var, 1.0});
      stack.push_back(std::move(s));
      continue;
    }
    const int na = nd.nkid;
    Sym* a = &stack[stack.size() - na];
    bool all_const = true, anybad = false;
    for (int i = 0; i < na; ++i) {
      all_const = all_const && a[i].k == S_CONST;
      anybad = anybad || a[i].bad;
    }
    Sym r;
    if (nd.op == OP_IF && a[0].k == S_CONST && !a[0].bad) {
      // a known condition takes one branch; a fault in the other is no fault of the row
      r = std::move(a[0].c != 0.0 ? a[1] : a[2]);
    } else if (nd.op == OP_IF && !a[0].bad) {
      // the branch taken is known only at a point; the evaluation judges it there
      make_nonlin(r);
    } else if (anybad) {
      r.bad = true;
      make_nonlin(r);
    } else if (all_const && nd.op != OP_RAND && nd.op != OP_USER) {
      double args[256];
      std::vector<double> big;
      double* v = args;
      if (na > 256) {
        big.resize(na);
        v = big.data();
      }
      for (int i = 0; i < na; ++i) v[i] = a[i].c;
      // A failed fold, or a constant at the overflow value (exp of 706.9 and beyond), is
      // pending: an enclosing @IF may not take this value.
      if (!apply_op(L->m, nd.op, v, na, &r.c) || std::fabs(r.c) >= kBigNum) {
        r.bad = true;
        r.c = 0.0;
      }
    } else {
      switch (nd.op) {
        case OP_PLUS:
        case OP_MINUS:
          r = std::move(a[0]);
          add_into(r, a[1], nd.op == OP_PLUS ? 1.0 : -1.0);
          break;
        case OP_NEGATE:
          r = std::move(a[0]);
          scale(r, -1.0);
          break;
        case OP_MULTIPLY:
          if (a[0].k == S_CONST && a[1].k != S_NONLIN) {
            r = std::move(a[1]);
            scale(r, a[0].c);
          } else if (a[1].k == S_CONST && a[0].k != S_NONLIN) {
            r = std::move(a[0]);
            scale(r, a[1].c);
          } else if (a[0].k <= S_LIN && a[1].k <= S_LIN) {
            r = std::move(a[0]);
            multiply_lin(r, a[1]);
          } else {
            make_nonlin(r);
          }
          break;
        case OP_DIVIDE:
          if (a[1].k == S_CONST && std::fabs(a[1].c) >= kTiny && a[0].k != S_NONLIN) {
            r = std::move(a[0]);
            scale(r, 1.0 / a[1].c);
          } else {
            make_nonlin(r);
          }
          break;
        case OP_POWER:
          if (a[1].k == S_CONST && a[0].k == S_LIN && (a[1].c == 1.0 || a[1].c == 2.0)) {
            r = std::move(a[0]);
            if (a[1].c == 2.0) {
              Sym copy = r;
              multiply_lin(r, copy);
            }
          } else if (a[1].k == S_CONST && a[1].c == 0.0 && a[0].k != S_NONLIN) {
            r.k = S_CONST;
            r.c = 1.0;
          } else if (a[1].k == S_CONST && a[1].c == 1.0 && a[0].k != S_NONLIN) {
            r = std::move(a[0]);
          } else {
            make_nonlin(r);
          }
          break;
        case OP_SQR:
          if (a[0].k == S_LIN) {
            r = std::move(a[0]);
            Sym copy = r;
            multiply_lin(r, copy);
          } else {
            make_nonlin(r);
          }
          break;
        case OP_IF:
          if (a[0].k == S_CONST) r = std::move(a[0].c != 0.0 ? a[1] : a[2]);
          else make_nonlin(r);
          break;
        default:
          make_nonlin(r);
      }
    }
    stack.resize(stack.size() - na);
    stack.push_back(std::move(r));
  }
  out = std::move(stack.back());
  stack.resize(base);
  return out.bad ? BRERR_ARITHMETIC : 0;
}

// The common linear row in one pass without allocation: every stack item is a
// constant plus a run of terms, and the runs lie in stack order at the end of the
// model's linear arrays, so a sum only joins two neighbouring runs.  Returns 0 with
// the row's terms appended to the model's linear arrays and its constant in c, or 1
// when the row needs the general analysis (which also reports errors); the caller
// then drops what was appended.
int fast_linear(Loader* L, const int32_t* w, int n, const double* pool, int npool, double& c) {
  using Item = FastItem;  // begin: first term of the run; the run ends where the next item's begins
  BRmodel* m = L->m;
  auto& col = m->lin_col;
  auto& val = m->lin_val;
  // the stack: st[0 .. top - 1] in the loader's items, which grow only when a row stacks
  // deeper than any before
  Item* st = L->items.data();
  size_t top = 0;
  auto push = [&](const Item& x) {
    if (top == L->items.size()) {
      L->items.resize(2 * top + 16);
      st = L->items.data();
    }
    st[top++] = x;
  };
  const int nvars = m->nvars;
  auto scale = [&](size_t from, double f) {
    for (size_t k = from; k < val.size(); ++k) val[k] *= f;
  };
  for (int p = 0; p < n;) {
    const int code = w[p];
    int na;
    switch (code) {
      case OP_PUSHNUM:
      case OP_PUSHNUM2: {
        if (p + 1 >= n || w[p + 1] < 0 || w[p + 1] >= npool) return 1;
        push({false, pool[w[p + 1]], val.size()});
        p += 2;
        continue;
      }
      case OP_PUSHVAR:
      case OP_PUSHVAR2: {
        if (p + 1 >= n || w[p + 1] < 0 || w[p + 1] >= nvars) return 1;
        push({true, 0.0, val.size()});
        col.push_back(w[p + 1]);
        val.push_back(1.0);
        p += 2;
        continue;
      }
      case OP_NOOP:
        ++p;
        continue;
      case OP_MARKER:  // a marker and its operand words carry no value
        if (p + 1 >= n) return 1;
        p += (w[p + 1] == 2) ? 2 : 4;
        if (p > n) return 1;
        continue;
      case OP_PLUS: case OP_MINUS: case OP_MULTIPLY: case OP_DIVIDE:
        na = 2;
        ++p;
        break;
      case OP_NEGATE:
        na = 1;
        ++p;
        break;
      default:
        return 1;
    }
    if (top < static_cast<size_t>(na)) return 1;
    const int op = code;
    Item* a = st + (top - na);
    bool all_const = true;
    for (int i = 0; i < na; ++i) all_const = all_const && !a[i].lin;
    if (all_const) {
      double args[2] = {a[0].c, na == 2 ? a[1].c : 0.0};
      double v;
      if (!apply_op(m, op, args, na, &v) || std::fabs(v) >= kBigNum) return 1;  // the general pass reports it
      size_t begin = a[0].begin;
      top -= na;
      push({false, v, begin});
      continue;
    }
    switch (op) {
      case OP_PLUS:
        a[0] = {true, a[0].c + a[1].c, a[0].begin};
        break;
      case OP_MINUS:
        scale(a[1].begin, -1.0);
        a[0] = {true, a[0].c - a[1].c, a[0].begin};
        break;
      case OP_NEGATE:
        scale(a[0].begin, -1.0);
        a[0].c = -a[0].c;
        break;
      case OP_MULTIPLY:
        if (!a[0].lin) {
          scale(a[1].begin, a[0].c);
          a[0] = {true, a[0].c * a[1].c, a[0].begin};
        } else if (!a[1].lin) {
          scale(a[0].begin, a[1].c);
          a[0].c *= a[1].c;
        } else {
          return 1;
        }
        break;
      case OP_DIVIDE:
        if (a[1].lin || std::fabs(a[1].c) < kTiny) return 1;
        scale(a[0].begin, 1.0 / a[1].c);
        a[0].c /= a[1].c;
        break;
      default:
        return 1;
    }
    if (na == 2) --top;
  }
  if (top != 1) return 1;
  c = st[0].c;
  return 0;
}

// Position of the first column smaller than its predecessor, n when there is none.
size_t first_descent(const int32_t* c, size_t n) {
  size_t k = 1;
  while (k < n && c[k - 1] <= c[k]) ++k;
  return k;
}

// True when the n columns are two ascending runs and the second's last lies below the first's
// first, so that every column of the second run is smaller than every column of the first.
bool rotated_runs(const int32_t* c, size_t n) {
  const size_t k = first_descent(c, n);
  if (k >= n || c[n - 1] >= c[0]) return false;
  return first_descent(c + k, n - k) == n - k;
}

// Sorts by column, merges and drops zero the linear entries that a row appended to the
// model's arrays, its columns from position cb on and its coefficients from vb on.
void tidy_stored(BRmodel* m, size_t cb, size_t vb) {
  auto& col = m->lin_col;
  auto& val = m->lin_val;
  const size_t n = col.size() - cb;
  int32_t* c = col.data() + cb;
  double* v = val.data() + vb;
  bool sorted = true;
  for (size_t k = 1; k < n && sorted; ++k) sorted = c[k - 1] <= c[k];
  if (!sorted && n <= 32) {
    // a short row: an insertion sort in place, which keeps equal columns in their order
    for (size_t k = 1; k < n; ++k) {
      const int32_t j = c[k];
      const double a = v[k];
      size_t p = k;
      for (; p > 0 && c[p - 1] > j; --p) {
        c[p] = c[p - 1];
        v[p] = v[p - 1];
      }
      c[p] = j;
      v[p] = a;
    }
  } else if (!sorted && rotated_runs(c, n)) {
    // two ascending runs, the second wholly before the first (a sum over one set's
    // variables, then over a set laid out earlier): the stable order is the rotation
    const size_t k = first_descent(c, n);
    std::rotate(c, c + k, c + n);
    std::rotate(v, v + k, v + n);
  } else if (!sorted) {
    std::vector<Term> t(n);
    for (size_t k = 0; k < n; ++k) t[k] = {c[k], v[k]};
    std::stable_sort(t.begin(), t.end(), [](const Term& x, const Term& y) { return x.j < y.j; });
    for (size_t k = 0; k < n; ++k) {
      c[k] = t[k].j;
      v[k] = t[k].a;
    }
  }
  size_t o = 0;
  for (size_t k = 0; k < n;) {
    const int32_t j = c[k];
    double a = v[k++];
    while (k < n && c[k] == j) a += v[k++];
    if (a != 0.0) {
      c[o] = j;
      v[o++] = a;
    }
  }
  col.resize(cb + o);
  val.resize(vb + o);
}

// Sorts, merges and drops zero linear terms.
void tidy_lin(std::vector<Term>& v) {
  if (!std::is_sorted(v.begin(), v.end(), [](const Term& x, const Term& y) { return x.j < y.j; }))
    std::sort(v.begin(), v.end(), [](const Term& x, const Term& y) { return x.j < y.j; });
  size_t o = 0;
  for (size_t k = 0; k < v.size();) {
    Term t = v[k++];
    while (k < v.size() && v[k].j == t.j) t.a += v[k++].a;
    if (t.a != 0.0) v[o++] = t;
  }
  v.resize(o);
}

void tidy_quad(std::vector<QTerm>& v) {
  std::sort(v.begin(), v.end(),
            [](const QTerm& x, const QTerm& y) { return x.i != y.i ? x.i < y.i : x.j < y.j; });
  size_t o = 0;
  for (size_t k = 0; k < v.size();) {
    QTerm t = v[k++];
    while (k < v.size() && v[k].i == t.i && v[k].j == t.j) t.a += v[k++].a;
    if (t.a != 0.0) v[o++] = t;
  }
  v.resize(o);
}

// Nonlinearity code of a row from the operations on its tape.
uint8_t nl_code(const Tape& t) {
  uint8_t c = NL_SMOOTH;
  for (const Node& nd : t.nodes) {
    const OpInfo* o = op_info(nd.op);
    if (nd.op == OP_RAND || nd.op == OP_USER) return NL_USER;
    if (o && o->cls == OC_NONSMOOTH) c = NL_NONSMOOTH;
  }
  return c;
}

// Stores the linear data of a row.
void store_lin(BRmodel* m, Row& row, const std::vector<Term>& lin) {
  row.lin_begin = static_cast<int32_t>(m->lin_col.size());
  row.val_shift = static_cast<int32_t>(m->lin_col.size() - m->lin_val.size());
  row.has_common = false;
  for (const Term& t : lin) {
    m->lin_col.push_back(t.j);
    m->lin_val.push_back(t.a);
  }
  row.lin_end = static_cast<int32_t>(m->lin_col.size());
}

// Splits a nonlinear row at its top-level sums: constant, linear entries of
// variables that occur only linearly, and the nonlinear variable set.
int split_nonlinear(Loader* L, Row& row) {
  BRmodel* m = L->m;
  Tape& t = L->t;
  L->lin.clear();
  L->nlvars.clear();
  double c = 0.0;
  std::vector<std::pair<int, double>> todo{{static_cast<int>(t.nodes.size()) - 1, 1.0}};
  std::vector<std::pair<int, double>> leaves;
  while (!todo.empty()) {
    auto [k, s] = todo.back();
    todo.pop_back();
    const Node& nd = t.nodes[k];
    if (nd.op == OP_PLUS || nd.op == OP_MINUS) {
      todo.push_back({t.kids[nd.kid], s});
      todo.push_back({t.kids[nd.kid + 1], nd.op == OP_PLUS ? s : -s});
    } else if (nd.op == OP_NEGATE) {
      todo.push_back({t.kids[nd.kid], -s});
    } else {
      leaves.push_back({k, s});
    }
  }
  Sym f;
  for (auto [k, s] : leaves) {
    if (int e = analyse(L, t.first[k], k, f)) return e;
    if (f.k == S_NONLIN) {
      for (int q = t.first[k]; q <= k; ++q)
        if (t.nodes[q].op == OP_PUSHVAR) L->nlvars.push_back(t.nodes[q].var);
      continue;
    }
    c += s * f.c;
    for (const Term& x : f.lin) L->lin.push_back({x.j, s * x.a});
    for (const QTerm& q : f.quad) {
      L->nlvars.push_back(q.i);
      L->nlvars.push_back(q.j);
    }
  }
  std::sort(L->nlvars.begin(), L->nlvars.end());
  L->nlvars.erase(std::unique(L->nlvars.begin(), L->nlvars.end()), L->nlvars.end());
  tidy_lin(L->lin);
  std::vector<Term> keep;
  keep.reserve(L->lin.size());
  for (const Term& x : L->lin)
    if (!std::binary_search(L->nlvars.begin(), L->nlvars.end(), x.j)) keep.push_back(x);
  row.constant = c;
  store_lin(m, row, keep);
  row.nl_begin = static_cast<int32_t>(m->nl_var.size());
  m->nl_var.insert(m->nl_var.end(), L->nlvars.begin(), L->nlvars.end());
  row.nl_end = static_cast<int32_t>(m->nl_var.size());
  // Gradient layout: union of the linear and nonlinear variables.
  row.var_begin = static_cast<int32_t>(m->row_var.size());
  size_t a = 0, b = 0;
  while (a < keep.size() || b < L->nlvars.size()) {
    int j;
    if (b == L->nlvars.size() || (a < keep.size() && keep[a].j < L->nlvars[b])) j = keep[a++].j;
    else j = L->nlvars[b++];
    m->row_var.push_back(j);
  }
  row.var_end = static_cast<int32_t>(m->row_var.size());
  // Keep the tape, operands re-based, variables mapped to gradient positions.
  const int32_t nb = static_cast<int32_t>(m->nodes.size());
  const int32_t kb = static_cast<int32_t>(m->kids.size());
  const int32_t* vb = m->row_var.data() + row.var_begin;
  const int32_t* ve = m->row_var.data() + row.var_end;
  for (Node nd : t.nodes) {
    if (nd.op == OP_PUSHVAR) {
      const int32_t* p = std::lower_bound(vb, ve, nd.var);
      nd.kid = (p != ve && *p == nd.var) ? static_cast<int32_t>(p - vb) : -1;
    } else if (nd.nkid > 0) {
      nd.kid += kb;
    }
    m->nodes.push_back(nd);
  }
  for (int32_t k : t.kids) m->kids.push_back(k + nb);
  row.node_begin = nb;
  row.node_end = static_cast<int32_t>(m->nodes.size());
  row.kind = ROW_NONLINEAR;
  return 0;
}

} // namespace

void pack_words(BRmodel* m, const int32_t* w, int n) {
  auto& out = m->words;
  uint8_t buf[4096];  // packed in runs, appended a run at a time
  size_t len = 0;
  for (int k = 0; k < n; ++k) {
    if (len > sizeof buf - 5) {
      out.insert(out.end(), buf, buf + len);
      len = 0;
    }
    const int64_t v = static_cast<int64_t>(w[k]) - 1000;
    uint64_t z = (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
    while (z >= 0x80) {
      buf[len++] = static_cast<uint8_t>(z | 0x80);
      z >>= 7;
    }
    buf[len++] = static_cast<uint8_t>(z);
  }
  out.insert(out.end(), buf, buf + len);
}

void unpack_words(const BRmodel* m, const Row& r, std::vector<int32_t>& out) {
  out.clear();
  const uint8_t* p = m->words.data() + r.word_begin;
  const uint8_t* e = m->words.data() + r.word_end;
  while (p < e) {
    uint64_t z = 0;
    int shift = 0;
    while (p < e && (*p & 0x80)) {
      z |= static_cast<uint64_t>(*p++ & 0x7f) << shift;
      shift += 7;
    }
    if (p < e) z |= static_cast<uint64_t>(*p++) << shift;
    const int64_t v = static_cast<int64_t>(z >> 1) ^ -static_cast<int64_t>(z & 1);
    out.push_back(static_cast<int32_t>(v + 1000));
  }
}

int load_row(Loader* L, Row& row, int rowno, const int32_t* w, int n, const double* pool,
             int npool, bool linear_only) {
  BRmodel* m = L->m;
  row.word_begin = row.word_end = static_cast<int64_t>(m->words.size());
  m->nwords += n;
  row.lin_begin = row.lin_end = static_cast<int32_t>(m->lin_col.size());
  row.val_shift = static_cast<int32_t>(m->lin_col.size() - m->lin_val.size());
  row.has_common = false;
  row.quad_begin = row.quad_end = static_cast<int32_t>(m->quad_q.size());
  row.nl_begin = row.nl_end = static_cast<int32_t>(m->nl_var.size());
  row.var_begin = row.var_end = static_cast<int32_t>(m->row_var.size());
  row.vars_lin = false;
  row.node_begin = row.node_end = static_cast<int32_t>(m->nodes.size());
  row.kind = ROW_LINEAR;
  row.nlcode = NL_NONE;
  row.constant = 0.0;
  // A row that the one-pass reading takes is linear, and its data say all its words did: the
  // words are kept only of the rows that need the general analysis.
  const size_t base = m->lin_col.size(), vbase = m->lin_val.size();
  double c = 0.0;
  if (fast_linear(L, w, n, pool, npool, c) == 0) {
    bool finite = std::isfinite(c);
    for (size_t k = vbase; k < m->lin_val.size(); ++k) finite = finite && std::isfinite(m->lin_val[k]);
    if (!finite) return BRERR_ARITHMETIC;
    tidy_stored(m, base, vbase);
    row.constant = c;
    row.lin_begin = row.var_begin = static_cast<int32_t>(base);
    row.lin_end = row.var_end = static_cast<int32_t>(m->lin_col.size());
    row.val_shift = static_cast<int32_t>(base - vbase);
    row.vars_lin = true;
    // a sum of variables with one coefficient keeps that coefficient once
    const double* v = m->lin_val.data() + vbase;
    const size_t nv = m->lin_val.size() - vbase;
    bool same = nv > 1;
    for (size_t k = 1; k < nv && same; ++k) same = v[k] == v[0];
    if (same) {
      row.has_common = true;
      row.common = v[0];
      m->lin_val.resize(vbase);
    }
    return 0;
  }
  m->lin_col.resize(base);
  m->lin_val.resize(vbase);
  pack_words(m, w, n);
  row.word_end = static_cast<int64_t>(m->words.size());
  Sym f;
  if (int e = decode(L, w, n, pool, npool)) return e;
  const int root = static_cast<int>(L->t.nodes.size()) - 1;
  if (int e = analyse(L, 0, root, f)) return e;
  // A constant that is not a finite number cannot stand in a row.
  bool finite = std::isfinite(f.c);
  for (const Term& x : f.lin) finite = finite && std::isfinite(x.a);
  for (const QTerm& q : f.quad) finite = finite && std::isfinite(q.a);
  if (!finite) return BRERR_ARITHMETIC;
  const bool useqp = ipar(m, P_USEQPR) == 1;
  if (f.k == S_QUAD) {
    tidy_quad(f.quad);
    if (f.quad.empty()) f.k = S_LIN;
  }
  if (f.k <= S_LIN || (f.k == S_QUAD && useqp)) {
    tidy_lin(f.lin);
    row.constant = f.c;
    store_lin(m, row, f.lin);
    row.var_begin = static_cast<int32_t>(m->row_var.size());
    if (f.k == S_QUAD) {
      row.kind = ROW_QUADRATIC;
      row.nlcode = NL_QUAD;
      row.quad_begin = static_cast<int32_t>(m->quad_q.size());
      L->nlvars.clear();
      for (const QTerm& q : f.quad) {
        m->quad_i.push_back(q.i);
        m->quad_j.push_back(q.j);
        m->quad_q.push_back(q.i == q.j ? 2.0 * q.a : q.a);  // 1/2 x'Qx convention
        L->nlvars.push_back(q.i);
        L->nlvars.push_back(q.j);
      }
      row.quad_end = static_cast<int32_t>(m->quad_q.size());
      for (const Term& x : f.lin) L->nlvars.push_back(x.j);
      std::sort(L->nlvars.begin(), L->nlvars.end());
      L->nlvars.erase(std::unique(L->nlvars.begin(), L->nlvars.end()), L->nlvars.end());
      m->row_var.insert(m->row_var.end(), L->nlvars.begin(), L->nlvars.end());
      row.var_end = static_cast<int32_t>(m->row_var.size());
    } else {
      // a linear row's variables are its linear entries' columns, already sorted
      row.var_begin = row.lin_begin;
      row.var_end = row.lin_end;
      row.vars_lin = true;
    }
    L->lin.swap(f.lin);  // the next row's scratch keeps this one's room
    if (linear_only && row.kind != ROW_LINEAR) return BRERR_NOT_LINEAR;
    return 0;
  }
  if (linear_only) return BRERR_NOT_LINEAR;
  row.nlcode = f.k == S_QUAD ? static_cast<uint8_t>(NL_SMOOTH) : nl_code(L->t);
  (void)rowno;
  return split_nonlinear(L, row);
}

} // namespace bresk
