// The scalar code emitter: runs the instruction stream of one generated row and writes the
// row's scalar code. Outside BEGCND..ENDCND each operator becomes one scalar code, each
// number a PUSHNUM with a pooled constant and each model variable a PUSHVAR; inside, the
// instructions are evaluated at once on the value stack (subscripts, conditions, @IN).
#include <algorithm>
#include <cmath>

#include "generate/eval.h"
#include "generate/probfn.h"
#include "generate/randfn.h"
#include "generate/scalar.h"
#include "generate/xshared.h"
#include "language/lang.h"
#include "language/opcodes.h"
#include "store/heap.h"
#include "store/store.h"

namespace {

constexpr double TINY = 1e-30;
constexpr int32_t UNSETREG = -2147483640;
constexpr int32_t MAXLOOPS = 20;

// Scalar code of each operator and function opcode 21..84 (0: none).
int32_t sccode(int32_t op) {
  switch (op) {
    case OP_NEGATE: return 1017;
    case OP_NOT: return 1014;
    case OP_ADD: return 1001;
    case OP_SUB: return 1002;
    case OP_MUL: return 1003;
    case OP_DIV: return 1004;
    case OP_POW: case OP_POWF: return 1005;
    case OP_CMPEQ: return 1006;
    case OP_CMPNE: return 1007;
    case OP_CMPLE: return 1008;
    case OP_CMPGE: return 1009;
    case OP_CMPLT: return 1010;
    case OP_CMPGT: return 1011;
    case OP_AND: return 1012;
    case OP_OR: return 1013;
    case OP_ABS: return 1018;
    case OP_SIN: return 1023;
    case OP_COS: return 1024;
    case OP_TAN: return 1025;
    case OP_LOG: return 1021;
    case OP_EXP: return 1030;
    case OP_FPA: return 1040;
    case OP_FPL: return 1041;
    case OP_PSN: return 1035;
    case OP_PSL: return 1036;
    case OP_PBN: return 1049;
    case OP_PEL: return 1042;
    case OP_PEB: return 1043;
    case OP_PPS: return 1044;
    case OP_PPL: return 1045;
    case OP_PFS: return 1050;
    case OP_PTD: return 1046;
    case OP_PCX: return 1047;
    case OP_PFD: return 1051;
    case OP_LGM: return 1037;
    case OP_SIGN: return 1038;
    case OP_FLOOR: return 1039;
    case OP_PHG: return 1052;
    case OP_WRAP: return 1048;
    case OP_SMAX: return SC_MAX;
    case OP_SMIN: return SC_MIN;
    case OP_RAND: return 1053;
    case OP_USER: return SC_USER;
    case OP_IF: return 1034;
    case OP_SQRT: return 1019;
    case OP_SQR: return SC_SQR;
    case OP_MOD: return 1031;
    default: return 0;
  }
}

// Operands taken by a fixed-arity operator or function (0 for the others).
int32_t arity(int32_t op) {
  switch (op) {
    case OP_NEGATE: case OP_NOT: case OP_ABS: case OP_SIN: case OP_COS: case OP_TAN:
    case OP_LOG: case OP_EXP: case OP_PSN: case OP_PSL: case OP_LGM: case OP_SIGN:
    case OP_FLOOR: case OP_RAND: case OP_SQRT: case OP_SQR:
      return 1;
    case OP_PBN: case OP_PFS: case OP_PFD: case OP_IF:
      return 3;
    case OP_PHG:
      return 4;
    case OP_ADD: case OP_SUB: case OP_MUL: case OP_DIV: case OP_POW: case OP_POWF:
    case OP_CMPEQ: case OP_CMPNE: case OP_CMPLE: case OP_CMPGE: case OP_CMPLT: case OP_CMPGT:
    case OP_AND: case OP_OR: case OP_FPA: case OP_FPL: case OP_PEL: case OP_PEB: case OP_PPS:
    case OP_PPL: case OP_PTD: case OP_PCX: case OP_WRAP: case OP_MOD:
      return 2;
    default:
      return 0;
  }
}

// a^b by the power rule: false when the result is undefined or overflows; a result that
// only underflows is 0 or a tiny number, never a failure.
bool power(double a, double b, double lnbig, double& r) {
  if (b != b || a != a) return false;
  if (std::fabs(a) <= TINY) {
    if (b > TINY) {
      r = 0.0;
      return true;
    }
    return false;
  }
  bool neg = false;
  double m = a;
  if (a < 0.0) {
    m = -a;
    const double q = std::fabs(std::fmod(b, 2.0));
    if (q == 1.0) neg = true;
    else if (q != 0.0) return false;
  }
  if (std::fabs(b) > 1.0) {
    const double ap = std::max(m, 1.0 / m);
    if ((ap / 4.0 + 1.0) * std::fabs(b) > lnbig && b * std::log(m) > lnbig) return false;
  }
  r = std::pow(m, b);
  if (!std::isfinite(r)) return false;
  if (neg) r = -r;
  return true;
}

// Folds one operator or function over its operands g[0..n-1] (first argument deepest);
// false when the fold fails.
bool fold(MasterRecord& L, int32_t op, const double* g, int32_t n, double lnbig, double& r) {
  const double a = n >= 2 ? g[n - 2] : 0.0, b = g[n - 1];
  double s = 0.0;
  switch (op) {
    case OP_NEGATE: r = -b; return true;
    case OP_NOT: r = b == 0.0 ? 1.0 : 0.0; return true;
    case OP_ADD: r = a + b; return true;
    case OP_SUB: r = a - b; return true;
    case OP_MUL: r = a * b; return true;
    case OP_DIV:
      if (!(std::fabs(b) >= TINY)) return false;
      r = a / b;
      return true;
    case OP_POW: case OP_POWF: return power(a, b, lnbig, r);
    case OP_CMPEQ: r = a == b; return true;
    case OP_CMPNE: r = a != b; return true;
    case OP_CMPLE: r = a <= b; return true;
    case OP_CMPGE: r = a >= b; return true;
    case OP_CMPLT: r = a < b; return true;
    case OP_CMPGT: r = a > b; return true;
    case OP_AND: r = (a != 0.0 && b != 0.0) ? 1.0 : 0.0; return true;
    case OP_OR: r = (a != 0.0 || b != 0.0) ? 1.0 : 0.0; return true;
    case OP_ABS: r = std::fabs(b); return true;
    case OP_SIN: r = std::sin(b); return true;
    case OP_COS: r = std::cos(b); return true;
    case OP_TAN: r = std::tan(b); return true;
    case OP_LOG:
      if (!(b >= TINY)) return false;
      r = std::log(b);
      return true;
    case OP_EXP:
      if (!(b > -lnbig && b < lnbig)) return false;
      r = std::exp(b);
      return true;
    case OP_FPA:
    case OP_FPL: {
      if (!(a >= 0.0) || !(b >= 0.0)) return false;
      const double v = std::pow(1.0 + a, -b);
      r = op == OP_FPL ? v : (a == 0.0 ? b : (1.0 - v) / a);
      return std::isfinite(r);
    }
    case OP_PSN: r = psnval(b); return true;
    case OP_PSL: r = 0.3989422803 * std::exp(-b * b / 2.0) - (1.0 - psnval(b)) * b; return true;
    case OP_PBN:
      if (!(g[0] >= 0.0) || !(g[1] >= 0.0)) return false;
      cumbin_(g[1], g[0], g[2], r, s);
      return r >= 0.0;
    case OP_PEL: erlngl_(a, b, r, s); return r > -TINY;
    case OP_PEB:
      if (!(a >= -TINY) || !(b >= -TINY)) return false;
      erlngb_(a, b, r, s);
      return r > -TINY;
    case OP_PPS:
    case OP_PPL: {
      if (!(a >= -TINY)) return false;
      double p, r1, r2, loss;
      cumpoi_(a, b, p, r1, r2, loss, s);
      r = op == OP_PPS ? p : loss;
      return r > -TINY;
    }
    case OP_PFS:
      if (!(g[0] >= 0.0) || !(g[1] >= 0.0) || !(g[2] >= 0.0)) return false;
      finsrc_(g[1], g[2], g[0], r, s);
      return r >= 0.0;
    case OP_PTD:
      if (!(a >= -TINY)) return false;
      brrptd_(b, a, r, s);
      return r > -TINY;
    case OP_PCX:
      if (!(a >= -TINY)) return false;
      brrpcx_(a, b, r, s);
      return r > -TINY;
    case OP_PFD:
      if (!(g[0] >= 0.0) || !(g[1] >= 0.0)) return false;
      brrpfd_(g[0], g[1], g[2], r, s);
      return r >= 0.0;
    case OP_LGM: {
      if (!(b >= TINY)) return false;
      double flag = 0.0;
      logama_(b, r, flag);
      return flag == 0.0;
    }
    case OP_SIGN: r = b > 0.0 ? 1.0 : b < 0.0 ? -1.0 : 0.0; return true;
    case OP_FLOOR:
      if (!(std::fabs(b) <= 2147483640.0)) return false;
      r = std::trunc(b);
      return true;
    case OP_PHG:
      if (!(g[0] >= -TINY) || !(g[1] >= -TINY) || !(g[2] >= -TINY)) return false;
      cumhyg_(g[0], g[1], g[2], g[3], r, s);
      return r > -TINY;
    case OP_WRAP:
      if (!(b >= TINY)) return false;
      r = std::fmod(a - 1.0, b) + 1.0;
      if (r < 1.0) r += b;
      return true;
    case OP_RAND: {
      double seed = b;
      randlf_(seed, r);
      return true;
    }
    case OP_IF: r = g[0] != 0.0 ? g[1] : g[2]; return true;
    case OP_SQRT:
      if (!(b >= 0.0)) return false;
      r = std::sqrt(b);
      return true;
    case OP_SQR: r = b * b; return std::isfinite(r);
    case OP_MOD:
      if (!(std::fabs(b) >= TINY)) return false;
      r = std::fmod(a, b);
      return true;
    default: {
      (void)L;
      return false;
    }
  }
}

}  // namespace

void exec_(Work& W, MasterRecord& L, const int32_t& start, const int32_t& limit, int32_t& status,
           VxSet* held) {
  (void)limit;
  const bool heap = slheap_(L);
  const int32_t code = L.CODEBLK;
  const int64_t clen = (code >= 1 && code <= NHANDLES && L.START[code] > 0) ? std::max(L.CODELEN, 0) : 0;
  const int32_t stkmax = L.STKMAX > 0 && L.STKMAX <= XSTKLIM ? L.STKMAX : XSTKLIM;
  const int32_t irlim = L.INTLIM1 > 0 && L.INTLIM1 <= XIRLIM ? L.INTLIM1 : XIRLIM;
  const int32_t lflim = std::min(L.INTLIM2 > 0 && L.INTLIM2 <= XLFLIM ? L.INTLIM2 : XLFLIM, 4 * MAXLOOPS);
  const double bignum = L.BIGNUM > 0.0 ? L.BIGNUM : 1e307;
  const double lnbig = L.BIGLOG > 0.0 ? L.BIGLOG : std::log(bignum);
  double* const V = L.STKVAL;
  int32_t* const T = L.STKTAG;

  VxSet own[VXSLOTS];   // the sets of the latest index look-ups, set s in slot s % VXSLOTS
  VxSet* const vq = held ? held : own;
  int32_t sp = 0;       // value-stack depth
  int32_t fdepth = 0;   // BEGCND nesting: 0 emit mode, above 0 fold mode
  int32_t fbase = 0;    // value-stack depth when the outermost BEGCND opened
  int32_t nfr = 0;      // open loop frames
  int32_t pend[MAXLOOPS + 2] = {};   // pending MAX (> 0) / MIN (< 0) argument count per frame
  int32_t pinf[MAXLOOPS + 2] = {};   // +1 / -1: the frame is an @MIN / @MAX (its start value)
  int32_t infnext = 0;  // start value of the @MAX / @MIN whose loop opens next
  int64_t ip = start;
  int32_t st = 0;
  L.LFDEPTH = 0;

  // Word k of the code: cb is the code block's offset; room the free words of the scalar
  // list (-1 with no list). Both are taken again after every call that can allocate or
  // add to the list (rebase).
  int64_t cb = 0, room = 0;
  auto rebase = [&]() {
    if (clen > 0) cb = (int64_t)L.START[code] - 1;
    room = L.SLINS == 0 ? -1 : (int64_t)L.SLINSCAP - L.SLINSN;
  };
  rebase();
  auto word = [&](int64_t k) -> int32_t { return (uint64_t)(k - 1) < (uint64_t)clen ? W.w[(size_t)(cb + k)] : 1 << 30; };
  auto put = [&](int32_t w) {
    ++L.SLINSN;
    --room;
    if (heap) IPUTCM_(L.SLINS, L.SLINSN, w);
    else W.w[(size_t)(L.START[L.SLINS] + L.SLINSN - 1)] = w;
  };
  // A number: pushed in fold mode, a pooled constant in emit mode. False on failure (st set).
  auto number = [&](double v) __attribute__((always_inline)) -> bool {
    if (fdepth > 0) {
      if (sp >= stkmax) { st = 2; return false; }
      ++sp;
      V[sp] = v;
      T[sp] = TAGNUM;
      return true;
    }
    put(SC_PUSHNUM);
    int32_t e = 0;
    addconsttolist_(W, L, v, e);
    if (e != 0) --L.SLINSN;
    rebase();
    if (e != 0) { st = e == 1 ? 1 : 6; return false; }
    return true;
  };
  // A model variable: its value when known or fixed, else its column.
  auto variable = [&](int32_t v) __attribute__((always_inline)) -> bool {
    if (v < 1 || v > L.NVARS) { st = SCST_UNSUPPORTED; return false; }
    const bool known = bgeti(W, L, L.VARKND, v) >= 4;
    const int32_t pos = known || fdepth > 0 ? 0 : varpos_(W, L, v);
    if (known || fdepth > 0 || pos <= L.NFIXED) return number(bgetd(W, L, L.VARVAL, v));
    put(SC_PUSHVAR);
    put(pos - L.NFIXED - 1);
    return true;
  };

  for (;;) {
    if (room < 8) {  // fewer than 8 free words, or no list yet
      int32_t e = 0;
      checkfreeins_(W, L, 8, e);
      rebase();
      if (e != 0) { st = e == 1 ? 1 : 6; goto fail; }
    }
    const int32_t op = word(ip);
    switch (op) {
      case OP_ENDROW:
        st = 0;
        goto done;
      case OP_BEGROW: case OP_ENDFOR: case OP_BEGFOR:
      case OP_GIN: case OP_ROWNAME: case OP_BND: case OP_IMPORT: case OP_FREE: case OP_BIN:
      case OP_STOP: case OP_SLBND: case OP_SUBND:
        ip += 1;
        continue;
      case OP_BEGCND:
        if (fdepth++ == 0) fbase = sp;
        ip += 1;
        continue;
      case OP_ENDCND: {
        if (fdepth < 1) { st = SCST_UNSUPPORTED; goto fail; }
        ip += 1;
        if (--fdepth > 0) continue;
        // folded values that no subscript, membership test or condition takes become
        // constants of the row
        const int32_t nx = word(ip);
        if (nx == OP_PUSHS || nx == OP_IN || nx == OP_IFGOTO) continue;
        for (int32_t k = fbase + 1; k <= sp; ++k) {
          int32_t e = 0;
          checkfreeins_(W, L, 2, e);
          rebase();
          if (e != 0) { st = e == 1 ? 1 : 6; goto fail; }
          if (!number(V[k])) goto fail;
        }
        sp = fbase;
        continue;
      }
      case OP_NOPCOMMA:
        put(SC_BRACKET);
        put(2);
        ip += 1;
        continue;
      case OP_NOPCLOSE:
        put(SC_BRACKET);
        put(1);
        put(SC_BRACKET);
        put(word(ip + 1));
        ip += 2;
        continue;
      case OP_GOTO:
      case OP_IFGOTO: {
        bool jump = true;
        if (op == OP_IFGOTO) {
          if (sp < 1) { st = SCST_UNSUPPORTED; goto fail; }
          jump = V[sp--] == 0.0;
        }
        if (!jump) {
          ip += 2;
          continue;
        }
        // a jump backward lands on the GETNEXT of an open loop, so every row ends
        const int64_t to = ip + 1 + word(ip + 1);
        if (to <= ip && (nfr < 1 || word(to) != OP_GETNEXT)) { st = SCST_UNSUPPORTED; goto fail; }
        ip = to;
        continue;
      }
      case OP_PUSHINF:
        // the start value of an @MAX (after a NEGATE) or @MIN: its loop counts the arguments
        ip += 1;
        infnext = 1;
        if (word(ip) == OP_NEGATE) {
          infnext = -1;
          ip += 1;
        }
        continue;
      case OP_SETUP: {
        const int32_t s = word(ip + 1);
        if (s < 1 || s > L.NSETS) { st = SCST_UNSUPPORTED; goto fail; }
        if (nfr >= MAXLOOPS || L.LFDEPTH + 4 > lflim) { st = 3; goto fail; }
        const int32_t n = bgeti(W, L, L.NNTRYS, s), d = setdim(W, L, s), dd = std::max(d, 1);
        int64_t cur, step, last;
        if (d > 0) {
          step = d;
          cur = (int64_t)bgeti(W, L, L.INXNTR, s) - d;
          last = cur + (int64_t)d * n;
        } else {
          step = -1;
          cur = 0;
          last = n;
        }
        if (n <= 0) last -= 1;
        if (L.IRCNT + dd > irlim) { st = 4; goto fail; }
        ++nfr;
        pend[nfr] = 0;
        pinf[nfr] = infnext;
        infnext = 0;
        const int32_t f = L.LFDEPTH + 1;
        L.LFDEPTH += 4;
        L.LFRAME[f] = s;
        L.LFRAME[f + 1] = (int32_t)last;
        L.LFRAME[f + 2] = (int32_t)step;
        L.LFRAME[f + 3] = (int32_t)cur;
        for (int32_t j = 0; j < dd; ++j) L.IREG[++L.IRCNT] = UNSETREG;
        xnarrow(W, L, clen > 0 ? W.w.data() + cb : nullptr, clen, ip);
        ip += 2;
        continue;
      }
      case OP_GETNEXT: {
        if (nfr < 1) { st = SCST_UNSUPPORTED; goto fail; }
        const int32_t f = L.LFDEPTH - 3;
        const int32_t step = L.LFRAME[f + 2], as = step < 0 ? -step : step;
        const int32_t list = L.LFLIST[L.LFDEPTH >> 2];
        const int32_t cur = L.LFRAME[f + 3] + (list != 0 ? 1 : as);
        L.LFRAME[f + 3] = cur;
        if (cur > L.LFRAME[f + 1]) {
          const int64_t to = ip + 1 + word(ip + 1);
          if (to <= ip) { st = SCST_UNSUPPORTED; goto fail; }
          ip = to;
          continue;
        }
        if (list != 0) {
          const int32_t at = IGETCM_(list, cur);
          for (int32_t j = 0; j < step; ++j) L.IREG[L.IRCNT - step + 1 + j] = bgeti(W, L, L.NDRVEL, (int64_t)at + j);
        } else if (step < 0) L.IREG[L.IRCNT] = cur;
        else
          for (int32_t j = 0; j < step; ++j) L.IREG[L.IRCNT - step + 1 + j] = bgeti(W, L, L.NDRVEL, (int64_t)cur + j);
        ip += 2;
        continue;
      }
      case OP_POPSET: {
        if (nfr < 1) { st = SCST_UNSUPPORTED; goto fail; }
        const int32_t step = L.LFRAME[L.LFDEPTH - 1];
        L.IRCNT -= step < 0 ? -step : step;
        L.LFDEPTH -= 4;
        const int32_t c = pend[nfr], inf = pinf[nfr];
        --nfr;
        ip += 1;
        if (c == 0) {
          // an @MAX or @MIN over no member gives its start value, -BIG or +BIG
          if (inf != 0 && !number(inf * bignum)) goto fail;
          continue;
        }
        const int32_t m = c < 0 ? -c : c;
        if (fdepth > 0) {
          if (sp < m) { st = SCST_UNSUPPORTED; goto fail; }
          double r = V[sp - m + 1];
          for (int32_t k = sp - m + 2; k <= sp; ++k) r = c > 0 ? (V[k] > r ? V[k] : r) : (V[k] < r ? V[k] : r);
          sp -= m - 1;
          V[sp] = r;
          T[sp] = TAGNUM;
        } else {
          put(c > 0 ? SC_MAX : SC_MIN);
          put(m);
        }
        continue;
      }
      case OP_MAX:
      case OP_MIN: {
        if (nfr < 1) { st = SCST_UNSUPPORTED; goto fail; }
        int32_t& c = pend[nfr];
        const int32_t dir = op == OP_MAX ? 1 : -1;
        if (fdepth == 0 && (c < 0 ? -c : c) >= SC_MAXARGS) {
          put(c > 0 ? SC_MAX : SC_MIN);
          put(SC_MAXARGS);
          c = c > 0 ? 1 : -1;
        }
        c += dir;
        ip += 1;
        continue;
      }
      case OP_PUSHX: {
        const int32_t j = word(ip + 1);
        if (j < 1 || j > XIRLIM) { st = SCST_UNSUPPORTED; goto fail; }
        if (!number((double)L.IREG[j])) goto fail;
        ip += 2;
        continue;
      }
      case OP_PUSHZ:
        if (word(ip + 1) != 1) { st = SCST_UNSUPPORTED; goto fail; }
        if (!number(0.0)) goto fail;
        ip += 2;
        continue;
      case OP_PUSHATX: {
        const int32_t k = word(ip + 1);
        if (k < 1 || k > NDXMAX) { st = SCST_UNSUPPORTED; goto fail; }
        if (!number((double)L.CURTUP[k])) goto fail;
        ip += 2;
        continue;
      }
      case OP_PUSHN: {
        if (ip + 2 > clen) { st = SCST_UNSUPPORTED; goto fail; }
        const int32_t w[2] = {word(ip + 1), word(ip + 2)};
        double v;
        int2dp_(L, w, v);
        if (!number(v)) goto fail;
        ip += 1 + (L.DBLWD > 0 ? L.DBLWD : 2);
        continue;
      }
      case OP_PUSHV:
        if (!variable(word(ip + 1))) goto fail;
        ip += 2;
        continue;
      case OP_PUSHS:
      case OP_IN: {
        const int32_t s = op == OP_PUSHS ? word(ip + 2) : word(ip + 1);
        if (s < 1 || s > L.NSETS) { st = SCST_UNSUPPORTED; goto fail; }
        const int32_t dd = std::max(setdim(W, L, s), 1);
        if (sp < dd) { st = SCST_UNSUPPORTED; goto fail; }
        L.STKTOP = sp;
        int32_t var = 0;
        getvx2q_(W, L, vq[s & (VXSLOTS - 1)], op == OP_PUSHS ? word(ip + 1) : 0, s, 1, var);
        sp -= dd;
        if (op == OP_IN) {
          if (!number(var > 0 ? 1.0 : 0.0)) goto fail;
          ip += 2;
        } else {
          if (!(var > 0 ? variable(var) : number(0.0))) goto fail;
          ip += 3;
        }
        continue;
      }
      case OP_SMAX:
      case OP_SMIN:
      case OP_USER: {
        const int32_t n = word(ip + 1);
        if (n < (op == OP_USER ? 0 : 1) || n > XSTKLIM) { st = SCST_UNSUPPORTED; goto fail; }
        if (fdepth == 0) {
          put(sccode(op));
          put(n);
        } else {
          if (sp < n) { st = SCST_UNSUPPORTED; goto fail; }
          double r = 0.0;
          if (op == OP_USER) {
            L.STKTOP = sp;
            r = user_(L, n, V + sp - n + 1);
            rebase();
          } else {
            r = V[sp - n + 1];
            for (int32_t k = sp - n + 2; k <= sp; ++k) r = op == OP_SMAX ? (V[k] > r ? V[k] : r) : (V[k] < r ? V[k] : r);
          }
          sp -= n;
          if (sp >= stkmax) { st = 2; goto fail; }
          ++sp;
          V[sp] = r;
          T[sp] = TAGNUM;
        }
        ip += 2;
        continue;
      }
      default: {
        const int32_t n = (op >= OP_NEGATE && op <= OP_MOD) ? arity(op) : 0;
        const int32_t sc = n > 0 ? sccode(op) : 0;
        if (sc == 0) { st = SCST_UNSUPPORTED; goto fail; }
        if (fdepth == 0) {
          put(sc);
          ip += 1;
          continue;
        }
        if (sp < n) { st = SCST_UNSUPPORTED; goto fail; }
        double r = 0.0;
        if (!fold(L, op, V + sp - n + 1, n, lnbig, r) || !std::isfinite(r)) {
          sp = 1;
          L.ERRARG3 = (int32_t)ip;
          st = 5;
          goto fail;
        }
        sp -= n - 1;
        V[sp] = r;
        T[sp] = TAGNUM;
        ip += 1;
        continue;
      }
    }
  }
fail:
done:
  L.STKTOP = sp;
  L.XIP = (int32_t)ip;
  status = st;
}
