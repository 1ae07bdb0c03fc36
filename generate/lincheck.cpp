// The linearity check: replays one generated row to tell how it depends on one variable.
// Every entry carries a class (1 constant, 2 other unknowns only, 3 linear in the chosen
// variable, 4 linear but mixed with other unknowns, 5 nonlinear, 6 undefined), a value
// and the derivative with respect to the chosen variable.
#include <algorithm>
#include <cmath>

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
}  // namespace

void xecute_lincheck_(Work& W, MasterRecord& L, int32_t row, int32_t var, int32_t& result,
                      double& coef) {
  result = 2;
  coef = 0.0;
  double* const V = L.STKVAL;
  int32_t* const C = L.STKTAG;
  double D[XSTKLIM + 2];
  const int32_t stkmax = xstklim(L);
  L.STKTOP = 0;
  L.LFDEPTH = 0;
  rowregs(W, L, row);
  XLoops F;
  int32_t sp = 0;
  int64_t ip = bgeti(W, L, L.ROWSTP, row);
  const int32_t code = L.CODEBLK;
  if (code < 1 || code > NHANDLES || L.START[code] <= 0) { result = XBADOP; return; }
  const int64_t clen = std::min<int64_t>(L.LEN[code], std::max(L.CODELEN, 0));
  const int32_t* const cw = W.w.data() + L.START[code] - 1;  // nothing here allocates
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
    switch (op) {
      case OP_ENDROW:
        if (sp != 1) { result = 2; goto out; }
        switch (C[1]) {
          case K_LIN: result = std::fabs(D[1]) >= TINY ? 0 : 4; coef = D[1]; break;
          case K_MIXED: result = 1; coef = D[1]; break;
          case K_NONLIN: result = 3; break;
          case K_UNDEF: result = 5; break;
          default: result = 4; break;
        }
        goto out;
      case OP_NOPCLOSE: case OP_ROWNAME:
        ip += 2;
        continue;
      case OP_NOPCOMMA: case OP_NOPOPEN: case OP_IMPORT: case OP_BEGROW: case OP_BEGCND:
      case OP_ENDCND: case OP_BEGFOR: case OP_ENDFOR:
        ip += 1;
        continue;
      case OP_PUSHN: {
        double v;
        int2dp_(L, cw + ip + 1, v);
        PUSHC(v);
        ip += 3;
        continue;
      }
      case OP_PUSHX: {
        const int32_t k = cw[ip + 1];
        if (k < 1 || k > XIRLIM) { result = XBADOP; goto out; }
        PUSHC((double)L.IREG[k]);
        ip += 2;
        continue;
      }
      case OP_PUSHZ:
        if (cw[ip + 1] < 0 || (int64_t)sp + cw[ip + 1] > stkmax) { result = 11; goto out; }
        for (int32_t j = 0; j < cw[ip + 1]; ++j) PUSHC(0.0);
        ip += 2;
        continue;
      case OP_PUSHATX: {
        const int32_t k = cw[ip + 1];
        PUSHC(k >= 1 && k <= NDXMAX ? (double)L.CURTUP[k] : 0.0);
        ip += 2;
        continue;
      }
      case OP_PUSHINF:
        PUSHC(L.BIGNUM);
        ip += 1;
        continue;
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
        if (s < 1 || s > L.NSETS) { result = XBADOP; goto out; }
        const int32_t d = std::max(setdim(W, L, s), 1);
        if (sp < d) { result = XBADOP; goto out; }
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
      case OP_SETUP: {
        const int32_t r = xsetup(W, L, F, cw[ip + 1], ip);
        if (r != 0) { result = r == 8 ? 11 : XBADOP; goto out; }
        ip += 2;
        continue;
      }
      case OP_GETNEXT:
        if (xgetnext(W, L, F, ip, cw[ip + 1]) != 0) { result = XBADOP; goto out; }
        continue;
      case OP_POPSET:
        if (xpopset(L, F) != 0) { result = XBADOP; goto out; }
        ip += 1;
        continue;
      case OP_GOTO:
      case OP_IFGOTO: {
        const int64_t to = ip + 1 + (int64_t)cw[ip + 1];
        bool jump = true;
        if (op == OP_IFGOTO) {
          if (sp < 1) { result = XBADOP; goto out; }
          if (inlin(C[sp])) { result = 3; goto out; }
          if (C[sp] != K_CONST) { result = 2; goto out; }
          jump = V[sp] == 0.0;
          --sp;
        }
        if (!jump) { ip += 2; continue; }
        if (!xjumpok(F, cw, clen, ip, to)) { result = XBADOP; goto out; }
        ip = to;
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
            r = V[sp - n + 1];
            for (int32_t j = sp - n + 2; j <= sp; ++j) r = op == OP_SMAX ? std::max(r, V[j]) : std::min(r, V[j]);
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
