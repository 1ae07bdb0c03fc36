// The linearity check: replays one generated row to tell how it depends on one variable.
// Every entry carries a class (1 constant, 2 other unknowns only, 3 linear in the chosen
// variable, 4 linear but mixed with other unknowns, 5 nonlinear, 6 undefined), a value
// and the derivative with respect to the chosen variable.
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "generate/analysis.h"
#include "generate/eval.h"
#include "generate/rows.h"
#include "generate/xshared.h"
#include "language/lang.h"
#include "language/opcodes.h"

namespace {
constexpr int32_t K_CONST = 1, K_OTHER = 2, K_LIN = 3, K_MIXED = 4, K_NONLIN = 5, K_UNDEF = 6;
constexpr double TINY = 1e-30;

// Class of a two-operand result when no special case applies.
int32_t binrule(int32_t c1, int32_t c2) {
  const int32_t c = std::max(c1, c2);
  return c == K_LIN && std::min(c1, c2) == K_OTHER ? K_MIXED : c;
}
bool inlin(int32_t c) { return c >= K_LIN && c <= K_NONLIN; }

// The verdict for a variable of class k in the row's final entry.
int8_t verdict(int32_t k, double d) {
  switch (k) {
    case K_LIN: return std::fabs(d) >= TINY ? 0 : 4;
    case K_MIXED: return 1;
    case K_NONLIN: return 3;
    case K_UNDEF: return 5;
    default: return 4;
  }
}

// Starts the replay of a row: the stack and loop frames emptied, its index registers set,
// ip at its first instruction; the code words cw[1..clen], null when there is no code.
const int32_t* replaystart(Work& W, MasterRecord& L, int32_t row, int64_t& ip, int64_t& clen) {
  L.STKTOP = 0;
  L.LFDEPTH = 0;
  rowregs(W, L, row);
  ip = bgeti(W, L, L.ROWSTP, row);
  const int32_t code = L.CODEBLK;
  if (code < 1 || code > NHANDLES || L.START[code] <= 0) return nullptr;
  clen = std::min<int64_t>(L.LEN[code], std::max(L.CODELEN, 0));
  return W.w.data() + L.START[code] - 1;  // nothing in a replay allocates
}
}  // namespace

void xecute_lincheck_(Work& W, MasterRecord& L, int32_t row, int32_t var, int32_t& result,
                      double& coef) {
  result = 2;
  coef = 0.0;
  double* const V = L.STKVAL;
  int32_t* const C = L.STKTAG;
  double D[XSTKLIM + 2];
  const int32_t stkmax = xstklim(L);
  XLoops F;
  int32_t sp = 0;
  int64_t ip = 0, clen = 0;
  const int32_t* const cw = replaystart(W, L, row, ip, clen);
  if (!cw) { result = XBADOP; return; }
#define PUSHC(v) { ++sp; V[sp] = (v); D[sp] = 0.0; C[sp] = K_CONST; }
  auto pushvar = [&](int32_t k, int32_t v) {
    D[k] = 0.0;
    if (v == var) { C[k] = K_LIN; V[k] = 0.0; D[k] = 1.0; }
    else if (bgeti(W, L, L.VARKND, v) < 4) { C[k] = K_OTHER; V[k] = 0.0; }
    else { C[k] = K_CONST; V[k] = bgetd(W, L, L.VARVAL, v); }
  };
  // class of the top n entries: all constant, or the largest class (5 for any x-term)
  auto topclass = [&](int32_t n) {
    int32_t c = n > 0 ? 0 : K_CONST;
    for (int32_t j = sp - n + 1; j <= sp; ++j) c = std::max(c, C[j]);
    return c;
  };
  for (;;) {
    if (sp >= stkmax) { result = 11; break; }
    if (ip < 1 || ip > clen) { result = XBADOP; break; }
    const int32_t op = cw[ip];
    double num;  // a pushed number
    switch (op) {
      case OP_ENDROW:
        if (sp != 1) { result = 2; goto out; }
        result = verdict(C[1], D[1]);
        if (C[1] == K_LIN || C[1] == K_MIXED) coef = D[1];
        goto out;
      case OP_NOPCLOSE: case OP_ROWNAME:
        ip += 2;
        continue;
      case OP_NOPCOMMA: case OP_NOPOPEN: case OP_IMPORT: case OP_BEGROW: case OP_BEGCND:
      case OP_ENDCND: case OP_BEGFOR: case OP_ENDFOR:
        ip += 1;
        continue;
      case OP_PUSHN: xfetchn(L, cw, ip, num); PUSHC(num); continue;
      case OP_PUSHX: if (!xfetchreg(L.IREG, XIRLIM, cw, ip, num)) { result = XBADOP; goto out; } PUSHC(num); continue;
      case OP_PUSHZ:
        if (cw[ip + 1] < 0 || (int64_t)sp + cw[ip + 1] > stkmax) { result = 11; goto out; }
        for (int32_t j = 0; j < cw[ip + 1]; ++j) PUSHC(0.0);
        ip += 2;
        continue;
      case OP_PUSHATX: if (!xfetchreg(L.CURTUP, NDXMAX, cw, ip, num)) { num = 0.0; ip += 2; } PUSHC(num); continue;
      case OP_PUSHINF: PUSHC(L.BIGNUM); ip += 1; continue;
      case OP_PUSHV: {
        const int32_t v = cw[ip + 1];
        if (v < 1 || v > L.NVARS) { result = XBADOP; goto out; }
        ++sp;
        pushvar(sp, v);
        ip += 2;
        continue;
      }
      case OP_PUSHS: {
        const int32_t a = cw[ip + 1], s = cw[ip + 2];
        const int32_t d = xsetwidth(W, L, s);
        if (d == 0 || sp < d) { result = XBADOP; goto out; }
        int32_t v = 0;
        if (topclass(d) == K_CONST) {
          L.STKTOP = sp;
          getvx2_(W, L, a, s, 0, v);
        }
        sp -= d - 1;
        if (v > 0 && v <= L.NVARS) pushvar(sp, v);
        else { C[sp] = K_UNDEF; V[sp] = D[sp] = 0.0; }
        ip += 3;
        continue;
      }
      case OP_SETUP:
        if (int32_t r = xsetupat(W, L, F, cw, clen, ip)) { result = r == 8 ? 11 : XBADOP; goto out; }
        continue;
      case OP_GETNEXT:
        if (xgetnext(W, L, F, ip, cw[ip + 1]) != 0) { result = XBADOP; goto out; }
        continue;
      case OP_POPSET:
        if (!xpopsetat(L, F, ip)) { result = XBADOP; goto out; }
        continue;
      case OP_GOTO:
      case OP_IFGOTO: {
        bool jump = true;
        if (op == OP_IFGOTO) {
          if (sp < 1) { result = XBADOP; goto out; }
          if (inlin(C[sp])) { result = 3; goto out; }
          if (C[sp] != K_CONST) { result = 2; goto out; }
          jump = V[sp] == 0.0;
          --sp;
        }
        if (!xjump(F, cw, clen, ip, jump)) { result = XBADOP; goto out; }
        continue;
      }
      case OP_SUB:
      case OP_ADD: {
        if (sp < 2) { result = XBADOP; goto out; }
        if (op == OP_SUB && (C[sp] == K_CONST || C[sp] == K_LIN)) { V[sp] = -V[sp]; D[sp] = -D[sp]; }
        const int32_t c1 = C[sp - 1], c2 = C[sp];
        --sp;
        if (c1 == K_CONST && c2 == K_CONST) {
          V[sp] += V[sp + 1];
        } else if ((c1 == K_LIN && (c2 == K_CONST || c2 == K_LIN)) || (c2 == K_LIN && c1 == K_CONST)) {
          V[sp] += V[sp + 1];
          D[sp] += D[sp + 1];
          C[sp] = D[sp] == 0.0 ? K_CONST : K_LIN;
        } else {
          C[sp] = binrule(c1, c2);
          D[sp] += D[sp + 1];
        }
        ip += 1;
        continue;
      }
      case OP_MUL: {
        if (sp < 2) { result = XBADOP; goto out; }
        const int32_t c1 = C[sp - 1], c2 = C[sp];
        --sp;
        if (c1 == K_CONST && c2 == K_CONST) {
          V[sp] *= V[sp + 1];
        } else if ((c1 == K_CONST && c2 == K_LIN) || (c1 == K_LIN && c2 == K_CONST)) {
          const double k = c1 == K_CONST ? V[sp] : V[sp + 1];
          const int j = c1 == K_LIN ? sp : sp + 1;
          V[sp] = V[j] * k;
          D[sp] = D[j] * k;
          C[sp] = D[sp] == 0.0 ? K_CONST : K_LIN;
        } else if (inlin(c1) && inlin(c2)) {
          C[sp] = K_NONLIN;
        } else {
          C[sp] = binrule(c1, c2);
        }
        ip += 1;
        continue;
      }
      case OP_DIV: {
        if (sp < 2) { result = XBADOP; goto out; }
        const int32_t c1 = C[sp - 1], c2 = C[sp];
        const double b = V[sp];
        --sp;
        if ((c1 == K_CONST || c1 == K_LIN) && c2 == K_CONST) {
          if (!(std::fabs(b) >= TINY)) {
            C[sp] = K_UNDEF;
          } else {
            V[sp] /= b;
            D[sp] /= b;
          }
        } else if (c2 == K_LIN || c2 == K_MIXED) {
          C[sp] = K_NONLIN;
        } else {
          C[sp] = binrule(c1, c2);
        }
        ip += 1;
        continue;
      }
      case OP_POW: case OP_POWF:
      case OP_MOD: case OP_WRAP:
      case OP_MAX: case OP_MIN: case OP_CMPEQ: case OP_CMPNE: case OP_CMPLE: case OP_CMPGE:
      case OP_CMPLT: case OP_CMPGT: case OP_AND: case OP_OR: case OP_FPA: case OP_FPL: {
        if (sp < 2) { result = XBADOP; goto out; }
        const int32_t c1 = C[sp - 1], c2 = C[sp];
        const double a = V[sp - 1], b = V[sp];
        --sp;
        if (c1 == K_CONST && c2 == K_CONST) {
          double r, err;
          if (xnum2(L, op, a, b, r, err) == 0) V[sp] = r;
          else C[sp] = K_UNDEF;
        } else if ((op == OP_POW || op == OP_POWF) && (c1 == K_LIN || c1 == K_MIXED) &&
                   c2 == K_CONST && b == 1.0) {
          // x ^ 1 is x
        } else if (op == OP_MOD || op == OP_WRAP) {
          C[sp] = (c2 == K_LIN || c2 == K_MIXED || c1 == K_LIN) ? K_NONLIN : binrule(c1, c2);
        } else if (inlin(c1) || inlin(c2)) {
          C[sp] = K_NONLIN;
        } else {
          C[sp] = binrule(c1, c2);
        }
        ip += 1;
        continue;
      }
      case OP_NEGATE:
        if (sp < 1) { result = XBADOP; goto out; }
        if (C[sp] == K_CONST || C[sp] == K_LIN) { V[sp] = -V[sp]; D[sp] = -D[sp]; }
        ip += 1;
        continue;
      case OP_NOT: case OP_ABS: case OP_SIN: case OP_COS: case OP_TAN: case OP_LOG:
      case OP_EXP: case OP_SQRT: case OP_FLOOR: case OP_SIGN: case OP_LGM: case OP_RAND:
      case OP_PSN: case OP_PSL: case OP_SQR:
        if (sp < 1) { result = XBADOP; goto out; }
        if (C[sp] == K_CONST) {
          double r, err;
          if (xnum1(L, op, V[sp], r, err) == 0) V[sp] = r;
          else C[sp] = K_UNDEF;
        } else if (inlin(C[sp])) {
          C[sp] = K_NONLIN;
        }
        ip += 1;
        continue;
      case OP_PBN: case OP_PEL: case OP_PEB: case OP_PPS: case OP_PPL: case OP_PFS:
      case OP_PTD: case OP_PCX: case OP_PFD: case OP_PHG: {
        const int32_t na = xprobargs(op);
        if (sp < na) { result = XBADOP; goto out; }
        const int32_t c = topclass(na);
        double g[4];
        for (int32_t j = 0; j < na; ++j) g[j] = V[sp - na + 1 + j];
        sp -= na - 1;
        D[sp] = 0.0;
        if (c == K_CONST) {
          double r, err;
          C[sp] = K_CONST;
          if (xnumprob(op, g, r, err) == 0) V[sp] = r;
          else C[sp] = K_UNDEF;
        } else {
          C[sp] = inlin(c) ? K_NONLIN : c;
          V[sp] = 0.0;
        }
        ip += 1;
        continue;
      }
      case OP_SMAX: case OP_SMIN: case OP_USER: case OP_IN: {
        const int32_t n = op == OP_IN ? std::max(setdim(W, L, cw[ip + 1]), 1) : cw[ip + 1];
        if (n < 0 || n > sp || (n == 0 && op != OP_USER)) { result = XBADOP; goto out; }
        const int32_t c = topclass(n);
        double r = 0.0;
        if (c == K_CONST) {
          if (op == OP_IN) {
            L.STKTOP = sp;
            int32_t loc = 0;
            getvx2_(W, L, 0, cw[ip + 1], 0, loc);
            r = loc > 0 ? 1.0 : 0.0;
          } else if (op == OP_USER) {
            r = user_(L, n, V + sp - n + 1);
          } else {
            r = xextreme(op, V + sp - n + 1, n);
          }
        }
        sp = sp - n + 1;
        C[sp] = c == K_CONST ? K_CONST : inlin(c) ? K_NONLIN : c;
        V[sp] = r;
        D[sp] = 0.0;
        ip += 2;
        continue;
      }
      case OP_IF: {
        if (sp < 3) { result = XBADOP; goto out; }
        if (C[sp - 2] == K_CONST) {
          const int32_t pick = V[sp - 2] != 0.0 ? sp - 1 : sp;
          V[sp - 2] = V[pick]; D[sp - 2] = D[pick]; C[sp - 2] = C[pick];
        } else {
          C[sp - 2] = K_NONLIN;
        }
        sp -= 2;
        ip += 1;
        continue;
      }
      default:
        // texts, output and row references, the report functions, unused numbers
        result = XBADOP;
        goto out;
    }
  }
out:
#undef PUSHC
  L.STKTOP = 0;
  L.LFDEPTH = 0;
}

void xecute_lincheck_(Work& W, MasterRecord& L, int32_t row, int32_t var, int32_t& result) {
  double coef;
  xecute_lincheck_(W, L, row, var, result, coef);
}

// ---- every variable of a row in one replay ----
// Each entry holds, for every variable x at once, the class the single-variable check
// would give it: a default class for the variables it does not list, the exceptions in a
// map, the count of each class among them, and the value and derivative that belong to
// its one variable of class 1 or 3 (sv), or to the entry itself when it is constant.
namespace {

struct LForm {
  int32_t dflt = K_CONST;
  std::unordered_map<int32_t, int8_t> m;
  int32_t cnt[8] = {};
  int32_t sv = 0;
  double c = 0.0, d = 0.0;
  void clear(int32_t k) {
    dflt = k;
    m.clear();
    for (int32_t& n : cnt) n = 0;
    sv = 0;
    c = d = 0.0;
  }
  int32_t cls(int32_t x) const {
    auto it = m.find(x);
    return it == m.end() ? dflt : it->second;
  }
  // Sets x's class, kept as an exception only when it differs from the default.
  void set(int32_t x, int32_t k) {
    auto it = m.find(x);
    if (it != m.end()) {
      --cnt[it->second];
      if (k == dflt) { m.erase(it); return; }
      it->second = (int8_t)k;
    } else {
      if (k == dflt) return;
      m.emplace(x, (int8_t)k);
    }
    ++cnt[k];
  }
};

// Class of a two-operand result for one variable whose operand classes are c1 (deeper)
// and c2, with the operands' values a, b and derivatives da, db: the rules of the
// single-variable check.
int32_t lrule2(const MasterRecord& L, int32_t op, int32_t c1, int32_t c2, double a, double da,
               double b, double db) {
  if (c1 != K_LIN) da = 0.0;
  if (c2 != K_LIN) db = 0.0;
  switch (op) {
    case OP_ADD:
    case OP_SUB: {
      if (op == OP_SUB) db = -db;
      if (c1 == K_CONST && c2 == K_CONST) return K_CONST;
      if ((c1 == K_LIN && (c2 == K_CONST || c2 == K_LIN)) || (c2 == K_LIN && c1 == K_CONST))
        return da + db == 0.0 ? K_CONST : K_LIN;
      return binrule(c1, c2);
    }
    case OP_MUL:
      if (c1 == K_CONST && c2 == K_CONST) return K_CONST;
      if (c1 == K_CONST && c2 == K_LIN) return db * a == 0.0 ? K_CONST : K_LIN;
      if (c1 == K_LIN && c2 == K_CONST) return da * b == 0.0 ? K_CONST : K_LIN;
      if (inlin(c1) && inlin(c2)) return K_NONLIN;
      return binrule(c1, c2);
    case OP_DIV:
      if ((c1 == K_CONST || c1 == K_LIN) && c2 == K_CONST) return std::fabs(b) >= TINY ? c1 : K_UNDEF;
      if (c2 == K_LIN || c2 == K_MIXED) return K_NONLIN;
      return binrule(c1, c2);
    default: {
      if (c1 == K_CONST && c2 == K_CONST) {
        double r, err;
        return xnum2(L, op, a, b, r, err) == 0 ? K_CONST : K_UNDEF;
      }
      if ((op == OP_POW || op == OP_POWF) && (c1 == K_LIN || c1 == K_MIXED) && c2 == K_CONST && b == 1.0) return c1;
      if (op == OP_MOD || op == OP_WRAP)
        return (c2 == K_LIN || c2 == K_MIXED || c1 == K_LIN) ? K_NONLIN : binrule(c1, c2);
      if (inlin(c1) || inlin(c2)) return K_NONLIN;
      return binrule(c1, c2);
    }
  }
}

// Value and derivative of a two-operand result (meaningful when it is constant or linear
// in one variable).
void lvalue2(const MasterRecord& L, int32_t op, double a, double da, double b, double db, double& c,
             double& d) {
  switch (op) {
    case OP_SUB: c = a - b; d = da - db; return;
    case OP_ADD: c = a + b; d = da + db; return;
    case OP_MUL: c = a * b; d = da * b + a * db; return;
    case OP_DIV:
      c = std::fabs(b) >= TINY ? a / b : 0.0;
      d = std::fabs(b) >= TINY ? da / b : 0.0;
      return;
    default: {
      double r, err;
      c = xnum2(L, op, a, b, r, err) == 0 ? r : a;
      d = (op == OP_POW || op == OP_POWF) && b == 1.0 ? da : 0.0;
      return;
    }
  }
}

}  // namespace

void xecute_lincheck_row_(Work& W, MasterRecord& L, int32_t row, std::vector<int8_t>& res) {
  const int32_t v0 = bgeti(W, L, L.ROWVST, row), v1 = bgeti(W, L, L.ROWVST, row + 1);
  const int32_t nv = v1 - v0;
  res.assign((size_t)std::max(nv, 0), 2);
  auto all = [&](int8_t r) { std::fill(res.begin(), res.end(), r); };
  // An entry keeps the value and derivative of one variable only; a variable the analysis
  // fixed may stand beside another of class 1 or 3, so such a row is checked variable by
  // variable.
  auto onebyone = [&]() {
    for (int32_t j = 0; j < nv; ++j) {
      int32_t r = 2;
      xecute_lincheck_(W, L, row, bgeti(W, L, L.ROWVAR, v0 + j), r);
      res[j] = (int8_t)r;
    }
  };
  for (int32_t k = 0; k < nv; ++k)
    if (bgeti(W, L, L.VARKND, bgeti(W, L, L.ROWVAR, v0 + k)) == VK_FIXED) {
      onebyone();
      return;
    }
  // The same holds for a variable whose terms cancel (class 1 while others see it as an
  // unknown): it sees values of its own. Such a row is checked again one by one.
  bool cancelled = false;
  const int32_t stkmax = xstklim(L);
  std::vector<LForm> S((size_t)stkmax + 2);
  XLoops F;
  int32_t sp = 0;
  int64_t ip = 0, clen = 0;
  const int32_t* const cw = replaystart(W, L, row, ip, clen);
  if (!cw) { all(XBADOP); return; }
  auto pushconst = [&](double v) {
    S[++sp].clear(K_CONST);
    S[sp].c = v;
  };
  auto pushvar = [&](LForm& e, int32_t v) {
    if (bgeti(W, L, L.VARKND, v) < 4) {
      e.clear(K_OTHER);
      e.set(v, K_LIN);
      e.sv = v;
      e.d = 1.0;
    } else if (bgeti(W, L, L.VARKND, v) != VK_FIXED) {
      e.clear(K_CONST);  // a parameter: a number to every variable of the row
      e.c = bgetd(W, L, L.VARVAL, v);
    } else {
      // a variable the analysis fixed is a number to every other variable, itself to
      // itself
      e.clear(K_CONST);
      e.set(v, K_LIN);
      e.sv = v;
      e.c = bgetd(W, L, L.VARVAL, v);
      e.d = 1.0;
    }
  };
  // per variable: the verdict of a replay that ended early for it (-1 not ended)
  std::unordered_map<int32_t, int8_t> ended;
  // truly constant: every variable sees class 1
  auto isconst = [](const LForm& e) { return e.dflt == K_CONST && e.m.empty(); };
  // applies a per-class map T (classes 1..6) to every listed variable and the default
  auto remap = [](LForm& e, const int32_t* T) {
    bool change = false;
    for (int32_t k = 1; k <= 6; ++k) change = change || (e.cnt[k] > 0 && T[k] != k);
    const int32_t nd = T[e.dflt];
    if (change || nd != e.dflt) {
      std::vector<std::pair<int32_t, int32_t>> upd;
      upd.reserve(e.m.size());
      for (auto& [x, k] : e.m) upd.push_back({x, T[k]});
      e.m.clear();
      for (int32_t& n : e.cnt) n = 0;
      e.dflt = nd;
      for (auto& [x, k] : upd) e.set(x, k);
    }
    if (e.sv && e.cls(e.sv) != K_CONST && e.cls(e.sv) != K_LIN) e.sv = 0;
  };
  // the final verdicts from an entry (or from a condition that ends the replay)
  auto finish = [&](const LForm& e, bool cond) {
    for (int32_t k = 0; k < nv; ++k) {
      const int32_t x = bgeti(W, L, L.ROWVAR, v0 + k);
      auto it = ended.find(x);
      if (it != ended.end()) {
        res[k] = it->second;
        continue;
      }
      const int32_t c = e.cls(x);
      if (cond) res[k] = inlin(c) ? 3 : 2;
      else res[k] = verdict(c, x == e.sv ? e.d : 0.0);
    }
  };
  for (;;) {
    if (sp >= stkmax) { all(11); break; }
    if (ip < 1 || ip > clen) { all(XBADOP); break; }
    const int32_t op = cw[ip];
    double num;  // a pushed number
    switch (op) {
      case OP_ENDROW:
        if (sp != 1) all(2);
        else finish(S[1], false);
        goto out;
      case OP_NOPCLOSE: case OP_ROWNAME:
        ip += 2;
        continue;
      case OP_NOPCOMMA: case OP_NOPOPEN: case OP_IMPORT: case OP_BEGROW: case OP_BEGCND:
      case OP_ENDCND: case OP_BEGFOR: case OP_ENDFOR:
        ip += 1;
        continue;
      case OP_PUSHN: xfetchn(L, cw, ip, num); pushconst(num); continue;
      case OP_PUSHX: if (!xfetchreg(L.IREG, XIRLIM, cw, ip, num)) { all(XBADOP); goto out; } pushconst(num); continue;
      case OP_PUSHZ:
        if (cw[ip + 1] < 0 || (int64_t)sp + cw[ip + 1] > stkmax) { all(11); goto out; }
        for (int32_t j = 0; j < cw[ip + 1]; ++j) pushconst(0.0);
        ip += 2;
        continue;
      case OP_PUSHATX: if (!xfetchreg(L.CURTUP, NDXMAX, cw, ip, num)) { num = 0.0; ip += 2; } pushconst(num); continue;
      case OP_PUSHINF: pushconst(L.BIGNUM); ip += 1; continue;
      case OP_PUSHV: {
        const int32_t v = cw[ip + 1];
        if (v < 1 || v > L.NVARS) { all(XBADOP); goto out; }
        pushvar(S[++sp], v);
        ip += 2;
        continue;
      }
      case OP_PUSHS: {
        const int32_t a = cw[ip + 1], s = cw[ip + 2];
        const int32_t d = xsetwidth(W, L, s);
        if (d == 0 || sp < d) { all(XBADOP); goto out; }
        bool known = true;
        std::vector<int32_t> listed;  // variables to which a subscript is not a number
        for (int32_t j = sp - d + 1; j <= sp; ++j) {
          known = known && S[j].dflt == K_CONST;
          for (auto& [x, k] : S[j].m)
            if (k != K_CONST) listed.push_back(x);
          L.STKVAL[j] = S[j].c;
        }
        int32_t v = 0;
        if (known) {
          L.STKTOP = sp;
          getvx2_(W, L, a, s, 0, v);
        }
        sp -= d - 1;
        if (v > 0 && v <= L.NVARS) pushvar(S[sp], v);
        else S[sp].clear(K_UNDEF);
        for (int32_t x : listed) S[sp].set(x, K_UNDEF);
        if (!listed.empty()) S[sp].sv = 0;
        ip += 3;
        continue;
      }
      case OP_SETUP:
        if (int32_t r = xsetupat(W, L, F, cw, clen, ip)) { all(r == 8 ? 11 : XBADOP); goto out; }
        continue;
      case OP_GETNEXT:
        if (xgetnext(W, L, F, ip, cw[ip + 1]) != 0) { all(XBADOP); goto out; }
        continue;
      case OP_POPSET:
        if (!xpopsetat(L, F, ip)) { all(XBADOP); goto out; }
        continue;
      case OP_GOTO:
      case OP_IFGOTO: {
        bool jump = true;
        if (op == OP_IFGOTO) {
          if (sp < 1) { all(XBADOP); goto out; }
          if (S[sp].dflt != K_CONST) { finish(S[sp], true); goto out; }
          // the listed variables end here; for every other one the condition is a number
          for (auto& [x, k] : S[sp].m)
            if (k != K_CONST && !ended.count(x)) ended[x] = inlin(k) ? 3 : 2;
          jump = S[sp].c == 0.0;
          --sp;
        }
        if (!xjump(F, cw, clen, ip, jump)) { all(XBADOP); goto out; }
        continue;
      }
      case OP_ADD: case OP_SUB: case OP_MUL: case OP_DIV: case OP_POW: case OP_POWF:
      case OP_MOD: case OP_WRAP: case OP_MAX: case OP_MIN: case OP_CMPEQ: case OP_CMPNE:
      case OP_CMPLE: case OP_CMPGE: case OP_CMPLT: case OP_CMPGT: case OP_AND: case OP_OR:
      case OP_FPA: case OP_FPL: {
        if (sp < 2) { all(XBADOP); goto out; }
        LForm& A = S[sp - 1];
        LForm& B = S[sp];
        const double a = A.c, da = A.d, b = B.c, db = B.d;
        auto rule = [&](int32_t c1, int32_t c2) { return lrule2(L, op, c1, c2, a, da, b, db); };
        // the variable whose value and derivative the result keeps
        const int32_t sv = A.sv ? A.sv : B.sv;
        const int32_t ca = sv ? A.cls(sv) : A.dflt, cb = sv ? B.cls(sv) : B.dflt;
        double c, d;
        lvalue2(L, op, a, (ca == K_LIN ? da : 0.0), b, (cb == K_LIN ? db : 0.0), c, d);
        const int32_t nd = rule(A.dflt, B.dflt);
        // merge the smaller exception list into the larger: the larger list's classes
        // change only where the rule moves a class it holds (counted per class)
        const bool alarge = A.m.size() >= B.m.size();
        LForm& G = alarge ? A : B;
        LForm& H = alarge ? B : A;
        int32_t T[8] = {};
        for (int32_t k = 1; k <= 6; ++k) T[k] = alarge ? rule(k, H.dflt) : rule(H.dflt, k);
        std::vector<std::pair<int32_t, int32_t>> small;
        small.reserve(H.m.size());
        for (auto& [x, k] : H.m) small.push_back({x, alarge ? rule(G.cls(x), k) : rule(k, G.cls(x))});
        remap(G, T);
        for (auto& [x, r] : small) G.set(x, r);
        G.c = c;
        G.d = d;
        G.sv = sv && (G.cls(sv) == K_CONST || G.cls(sv) == K_LIN) && G.cls(sv) != G.dflt ? sv : 0;
        if (!alarge) std::swap(A, B);
        (void)nd;
        cancelled = cancelled || A.cnt[K_CONST] > 0;
        --sp;
        ip += 1;
        continue;
      }
      case OP_NEGATE:
        if (sp < 1) { all(XBADOP); goto out; }
        S[sp].c = -S[sp].c;
        S[sp].d = -S[sp].d;
        ip += 1;
        continue;
      case OP_NOT: case OP_ABS: case OP_SIN: case OP_COS: case OP_TAN: case OP_LOG:
      case OP_EXP: case OP_SQRT: case OP_FLOOR: case OP_SIGN: case OP_LGM: case OP_RAND:
      case OP_PSN: case OP_PSL: case OP_SQR: {
        if (sp < 1) { all(XBADOP); goto out; }
        LForm& E = S[sp];
        double r = 0.0, err;
        const bool fault = xnum1(L, op, E.c, r, err) != 0;
        int32_t T[8] = {0, fault ? K_UNDEF : K_CONST, K_OTHER, K_NONLIN, K_NONLIN, K_NONLIN, K_UNDEF, 0};
        remap(E, T);
        E.c = r;
        E.d = 0.0;
        cancelled = cancelled || E.cnt[K_CONST] > 0;
        ip += 1;
        continue;
      }
      case OP_PBN: case OP_PEL: case OP_PEB: case OP_PPS: case OP_PPL: case OP_PFS:
      case OP_PTD: case OP_PCX: case OP_PFD: case OP_PHG:
      case OP_SMAX: case OP_SMIN: case OP_USER: case OP_IN: {
        const bool counted = op == OP_SMAX || op == OP_SMIN || op == OP_USER || op == OP_IN;
        const int32_t n = op == OP_IN ? std::max(setdim(W, L, cw[ip + 1]), 1)
                          : counted ? cw[ip + 1] : xprobargs(op);
        if (n < 0 || n > sp || (n == 0 && op != OP_USER)) { all(XBADOP); goto out; }
        bool known = true;
        for (int32_t j = sp - n + 1; j <= sp; ++j) known = known && isconst(S[j]);
        if (known) {
          double g[XSTKLIM + 1];
          for (int32_t j = 0; j < n; ++j) g[j] = S[sp - n + 1 + j].c;
          double r = 0.0, err;
          bool undef = false;
          if (op == OP_IN) {
            for (int32_t j = 0; j < n; ++j) L.STKVAL[sp - n + 1 + j] = g[j];
            L.STKTOP = sp;
            int32_t loc = 0;
            getvx2_(W, L, 0, cw[ip + 1], 0, loc);
            r = loc > 0 ? 1.0 : 0.0;
          } else if (op == OP_USER) {
            r = user_(L, n, g);
          } else if (op == OP_SMAX || op == OP_SMIN) {
            r = xextreme(op, g, n);
          } else {
            undef = xnumprob(op, g, r, err) != 0;
          }
          sp = sp - n + 1;
          S[sp].clear(undef ? K_UNDEF : K_CONST);
          S[sp].c = r;
        } else {
          // the largest class, nonlinear when that involves the variable
          auto nrule = [](int32_t c1, int32_t c2) {
            const int32_t c = std::max(c1, c2);
            return inlin(c) ? K_NONLIN : c;
          };
          LForm& R = S[sp - n + 1];
          double g[XSTKLIM + 1];
          for (int32_t j = 0; j < n; ++j) g[j] = S[sp - n + 1 + j].c;
          for (int32_t j = sp - n + 2; j <= sp; ++j) {
            LForm& E = S[j];
            int32_t T[8] = {};
            for (int32_t k = 1; k <= 6; ++k) T[k] = nrule(k, E.dflt);
            std::vector<std::pair<int32_t, int32_t>> small;
            for (auto& [x, k] : E.m) small.push_back({x, nrule(R.cls(x), k)});
            remap(R, T);
            for (auto& [x, r] : small) R.set(x, r);
          }
          // the value that a variable of class 1 (or any, when all are numbers) sees
          const int32_t keep = R.sv && R.cls(R.sv) == K_CONST ? R.sv : 0;
          R.sv = keep;
          R.c = R.d = 0.0;
          if (op != OP_IN && op != OP_USER) {
            double r = 0.0, err;
            if (op == OP_SMAX || op == OP_SMIN) {
              r = xextreme(op, g, n);
            } else if (xnumprob(op, g, r, err) != 0) {
              r = 0.0;
            }
            R.c = r;
          }
          cancelled = cancelled || R.cnt[K_CONST] > 0;
          sp = sp - n + 1;
        }
        ip += counted ? 2 : 1;
        continue;
      }
      case OP_IF: {
        if (sp < 3) { all(XBADOP); goto out; }
        if (S[sp - 2].dflt == K_CONST) {
          std::vector<int32_t> listed;
          for (auto& [x, k] : S[sp - 2].m)
            if (k != K_CONST) listed.push_back(x);
          const int32_t pick = S[sp - 2].c != 0.0 ? sp - 1 : sp;
          std::swap(S[sp - 2], S[pick]);
          for (int32_t x : listed) S[sp - 2].set(x, K_NONLIN);
          cancelled = cancelled || !listed.empty();
          if (!listed.empty() && S[sp - 2].sv && S[sp - 2].cls(S[sp - 2].sv) == K_NONLIN) S[sp - 2].sv = 0;
        } else {
          S[sp - 2].clear(K_NONLIN);
        }
        sp -= 2;
        ip += 1;
        continue;
      }
      default:
        all(XBADOP);
        goto out;
    }
  }
out:
  L.STKTOP = 0;
  L.LFDEPTH = 0;
  if (cancelled) onebyone();
}
