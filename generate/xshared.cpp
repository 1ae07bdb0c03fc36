// The set-loop frames and the numeric operators shared by the interpreters.
#include "generate/xshared.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "generate/blk.h"
#include "generate/probfn.h"
#include "generate/randfn.h"
#include "language/lang.h"
#include "language/opcodes.h"
#include "store/io.h"
#include "store/store.h"

namespace {
constexpr int32_t UNSETREG = -2147483640;  // index register not yet set
}

int32_t xstklim(const MasterRecord& L) {
  return L.STKMAX > 0 && L.STKMAX <= XSTKLIM ? L.STKMAX : XSTKLIM;
}
int32_t xirlim(const MasterRecord& L) {
  return L.INTLIM1 > 0 && L.INTLIM1 <= XIRLIM ? L.INTLIM1 : XIRLIM;
}
int32_t xlflim(const MasterRecord& L) {
  return L.INTLIM2 > 0 && L.INTLIM2 <= XLFLIM ? L.INTLIM2 : XLFLIM;
}

int32_t xsetup(const Work& A, MasterRecord& L, XLoops& F, int32_t s, const int32_t* cw, int64_t clen,
               int64_t ip) {
  if (s < 1 || s > L.NSETS) return XBADOP;
  if (L.LFDEPTH + 4 > xlflim(L)) return 8;
  const int32_t d = setdim(A, L, s);
  const int32_t dd = d > 0 ? d : 1;
  if (L.IRCNT + dd > xirlim(L)) return 8;
  const int32_t n = bgeti(A, L, L.NNTRYS, s);
  if (n < 0 || d < 0) return XBADOP;
  int64_t cur, step, lst;
  if (d == 0) {
    cur = 0; step = -1; lst = n;
  } else {
    cur = (int64_t)bgeti(A, L, L.INXNTR, s) - d;
    step = d;
    lst = cur + (int64_t)d * n;
    // the member tuples must lie inside the member list
    if (n > 0 && (cur + d < 1 || lst + d - 1 > bcap(L, L.NDRVEL, 4))) return XBADOP;
  }
  if (n == 0) lst -= 1;
  if (lst + dd > 2147483000 || cur < -2147483000) return XBADOP;
  const int32_t f = L.LFDEPTH + 1;
  L.LFDEPTH += 4;
  L.LFRAME[f] = s;
  L.LFRAME[f + 1] = (int32_t)lst;
  L.LFRAME[f + 2] = (int32_t)step;
  L.LFRAME[f + 3] = (int32_t)cur;
  F.setupat[++F.nframes] = (int32_t)ip;
  F.exited[F.nframes] = false;
  for (int32_t j = 0; j < dd; ++j) L.IREG[++L.IRCNT] = UNSETREG;
  xnarrow(A, L, cw, clen, ip);
  return 0;
}

void xnarrow(const Work& A, MasterRecord& L, const int32_t* cw, int64_t clen, int64_t ip) {
  const int32_t fno = L.LFDEPTH >> 2, f = L.LFDEPTH - 3;
  L.LFLIST[fno] = 0;
  // GETNEXT, BEGCND, then only tests PUSHX a, PUSHX b, CMPEQ (ANDed after the first), then
  // ENDCND and an IFGOTO back to the GETNEXT
  const int64_t g = ip + 2;
  if (cw == nullptr || g + 10 > clen || cw[g] != OP_GETNEXT || cw[g + 2] != OP_BEGCND) return;
  const int32_t step = L.LFRAME[f + 2], d = step < 0 ? 1 : step;
  const int32_t base = L.IRCNT - d;  // registers of this frame: base + 1 .. base + d
  int32_t outer = 0, pos = 0;       // the first test of a position against an enclosing index
  int64_t k = g + 3;
  for (int32_t t = 0;; ++t) {
    if (k + 4 > clen || cw[k] != OP_PUSHX || cw[k + 2] != OP_PUSHX || cw[k + 4] != OP_CMPEQ) return;
    const int32_t a = cw[k + 1], b = cw[k + 3];
    k += 5;
    if (t > 0) {
      if (k > clen || cw[k] != OP_AND) return;
      ++k;
    }
    if (outer == 0) {
      if (a >= 1 && a <= base && b > base && b <= base + d) outer = a, pos = b - base;
      else if (b >= 1 && b <= base && a > base && a <= base + d) outer = b, pos = a - base;
    }
    if (k + 2 > clen) return;
    if (cw[k] == OP_ENDCND) break;
  }
  if (cw[k + 1] != OP_IFGOTO || k + 2 + (int64_t)cw[k + 2] != g || outer == 0) return;
  const int32_t v = L.IREG[outer];
  if (step < 0) {
    // a primitive set: only member v can agree
    const int32_t n = L.LFRAME[f + 1] < 0 ? 0 : L.LFRAME[f + 1];
    L.LFRAME[f + 3] = v >= 1 && v <= n ? v - 1 : 0;
    L.LFRAME[f + 1] = v >= 1 && v <= n ? v : 0;
    return;
  }
  // a derived set: its list by position, when the set is large enough to gain from one
  const int32_t s = L.LFRAME[f];
  const int32_t n = bgeti(A, L, L.NNTRYS, s);
  if (n < 32) return;
  const int32_t list = spxget_(A, L, s, pos);
  if (list == 0) return;
  int32_t cur = 0, last = 0;
  spxrange_(list, v, cur, last);
  L.LFLIST[fno] = list;
  L.LFRAME[f + 3] = cur;
  L.LFRAME[f + 1] = last;
}

int32_t xpopset(MasterRecord& L, XLoops& F) {
  if (L.LFDEPTH < 4 || F.nframes < 1) return XBADOP;
  const int32_t step = L.LFRAME[L.LFDEPTH - 1];
  const int32_t as = step < 0 ? -step : step;
  if (L.IRCNT < as) return XBADOP;
  L.IRCNT -= as;
  L.LFDEPTH -= 4;
  --F.nframes;
  return 0;
}

void xbadop(MasterRecord& L, int32_t op) {
  char line[64];
  std::snprintf(line, sizeof line, "? FATAL ERROR - ILLEGAL OP CODE: %d", op);
  lprint_(L, L.TRMOUT, line, (int32_t)std::strlen(line));
}

void xregsets(const Work& A, const MasterRecord& L, int32_t* out) {
  int32_t k = 0;
  for (int32_t f = 1; f + 3 <= L.LFDEPTH; f += 4) {
    const int32_t s = L.LFRAME[f];
    const int32_t d = setdim(A, L, s);
    if (d <= 0) {
      if (k < L.IRCNT) out[++k] = s;
    } else {
      const int32_t stub = bgeti(A, L, L.LXSTUB, s);
      for (int32_t j = 0; j < d && k < L.IRCNT; ++j) out[++k] = bgeti(A, L, L.NDXSTB, stub + j);
    }
  }
  while (k < L.IRCNT) out[++k] = 0;
}

int32_t xnum2op(const MasterRecord& L, int32_t op, double a, double b, double& r, double& err) {
  const double biglog = L.BIGLOG > 0.0 ? L.BIGLOG : 706.893623549172;
  r = 0.0;
  err = 0.0;
  switch (op) {
    case OP_DIV:
      if (!(std::fabs(b) >= 1e-30)) { err = std::fabs(b) + 1.0; return 5; }
      r = a / b;
      break;
    case OP_POW:
    case OP_POWF: {
      // 0 to a power, a negative base, and results beyond BIGNUM
      double base = a;
      bool neg = false;
      if (b != b) { err = 1.0; return 5; }
      if (!(std::fabs(a) > 1e-30)) {
        if (!(std::fabs(b) > 1e-30) || b < 0.0) { err = std::fabs(b) + 1.0; return 5; }
        r = a;
        break;
      }
      if (a < 0.0) {
        base = -a;
        const double m = std::fabs(std::fmod(b, 2.0));
        if (m == 1.0) neg = true;
        else if (m != 0.0) { err = std::fabs(b) + 1.0; return 5; }
      }
      if (std::fabs(b) <= 1.0) {
        r = std::pow(base, b);
      } else {
        const double t = base < 1.0 ? 1.0 / base : base;
        if ((0.25 * t + 1.0) * std::fabs(b) <= biglog || std::log(t) * std::fabs(b) <= biglog) {
          r = std::pow(base, b);
        } else if (std::log(base) * b > 0.0) {
          err = std::fabs(std::log(base) * b);  // overflow
          return 5;
        } else {
          r = 0.0;  // underflow
        }
      }
      if (!(std::isfinite(r))) { err = std::fabs(b) + 1.0; return 5; }
      if (neg) r = -r;
      break;
    }
    case OP_CMPEQ: r = a == b; break;
    case OP_CMPNE: r = a != b; break;
    case OP_CMPLE: r = a <= b; break;
    case OP_CMPGE: r = a >= b; break;
    case OP_CMPLT: r = a < b; break;
    case OP_CMPGT: r = a > b; break;
    case OP_AND: r = (a != 0.0 && b != 0.0) ? 1.0 : 0.0; break;
    case OP_OR: r = (a != 0.0 || b != 0.0) ? 1.0 : 0.0; break;
    case OP_MAX: r = a > b ? a : b; break;
    case OP_MIN: r = a < b ? a : b; break;
    case OP_WRAP:
      if (!(b >= 1e-30)) { err = std::fabs(b) + 1.0; return 5; }
      r = std::fmod(a - 1.0, b) + 1.0;
      if (r < 1.0) r += b;
      break;
    case OP_MOD:
      if (!(std::fabs(b) >= 1e-30)) { err = std::fabs(b) + 1.0; return 5; }
      if (std::fabs(a) < 9007199254740992.0 && std::fabs(b) < 9007199254740992.0) {
        // whole numbers (the usual case): the same exact remainder, in integers
        const int64_t ia = (int64_t)a, ib = (int64_t)b;
        if ((double)ia == a && (double)ib == b) {
          r = std::copysign((double)(ia % ib), a);
          break;
        }
      }
      r = std::fmod(a, b);
      break;
    case OP_FPA:
    case OP_FPL: {
      if (!(a >= 0.0) || !(b >= 0.0)) { err = std::fabs(a) + std::fabs(b) + 1.0; return 5; }
      const double v = std::pow(1.0 + a, -b);
      r = op == OP_FPL ? v : (a == 0.0 ? b : (1.0 - v) / a);
      break;
    }
    default: return XBADOP;
  }
  return 0;
}

int32_t xnum1(const MasterRecord& L, int32_t op, double x, double& r, double& err) {
  const double bignum = L.BIGNUM > 0.0 ? L.BIGNUM : 1e307;
  const double biglog = L.BIGLOG > 0.0 ? L.BIGLOG : 706.893623549172;
  r = 0.0;
  err = 0.0;
  switch (op) {
    case OP_NEGATE: r = -x; break;
    case OP_NOT: r = x == 0.0 ? 1.0 : 0.0; break;
    case OP_ABS: r = std::fabs(x); break;
    case OP_SIN: r = std::sin(x); break;
    case OP_COS: r = std::cos(x); break;
    case OP_TAN: r = std::tan(x); break;
    case OP_LOG:
      if (!(x >= 1e-30)) { err = std::fabs(x) + 1.0; return 5; }
      r = std::log(x);
      break;
    case OP_EXP:
      r = x <= -biglog ? 1.0 / bignum : x >= biglog ? bignum : std::exp(x);
      break;
    case OP_PSN: r = psnval(x); break;
    case OP_PSL: r = 0.3989422803 * std::exp(-x * x / 2.0) - x * (1.0 - psnval(x)); break;
    case OP_LGM: {
      if (!(x >= 1e-30)) { err = std::fabs(x) + 1.0; return 5; }
      double flag;
      logama_(x, r, flag);
      break;
    }
    case OP_SIGN: r = x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0; break;
    case OP_FLOOR: r = std::fabs(x) <= 2147483640.0 ? std::trunc(x) : x; break;
    case OP_RAND: {
      double seed = x;
      randlf_(seed, r);
      break;
    }
    case OP_SQRT:
      if (!(x >= 0.0)) { err = std::fabs(x) + 1.0; return 5; }
      r = std::sqrt(x);
      break;
    case OP_SQR: r = x * x; break;
    default: return XBADOP;
  }
  return 0;
}

int32_t xprobargs(int32_t op) {
  switch (op) {
    case OP_PHG: return 4;
    case OP_PBN: case OP_PFS: case OP_PFD: return 3;
    case OP_PEL: case OP_PEB: case OP_PPS: case OP_PPL: case OP_PTD: case OP_PCX: return 2;
    default: return 0;
  }
}

int32_t xnumprob(int32_t op, const double* g, double& r, double& err) {
  const int32_t na = xprobargs(op);
  const double g0 = g[0], g1 = g[1], g2 = na > 2 ? g[2] : 0.0, g3 = na > 3 ? g[3] : 0.0;
  // arguments the distribution cannot take
  double bad = 0.0;
  bool fail = false;
  auto test = [&](double v, double lim) { if (!fail && v < lim) { fail = true; bad = v; } };
  double s = 0.0;
  r = 0.0;
  err = 0.0;
  switch (op) {
    case OP_PBN: test(g0, 0.0); test(g1, 0.0); if (!fail) cumbin_(g1, g0, g2, r, s); break;
    case OP_PEL: erlngl_(g0, g1, r, s); break;
    case OP_PEB: test(g0, -1e-30); test(g1, -1e-30); if (!fail) erlngb_(g0, g1, r, s); break;
    case OP_PPS:
    case OP_PPL: {
      test(g0, -1e-30);
      double p = 0.0, r1, r2, loss = 0.0;
      if (!fail) cumpoi_(g0, g1, p, r1, r2, loss, s);
      r = op == OP_PPS ? p : loss;
      break;
    }
    case OP_PFS: test(g0, 0.0); test(g1, 0.0); test(g2, 0.0); if (!fail) finsrc_(g1, g2, g0, r, s); break;
    case OP_PTD: test(g0, -1e-30); if (!fail) brrptd_(g1, g0, r, s); break;
    case OP_PCX: test(g0, -1e-30); if (!fail) brrpcx_(g0, g1, r, s); break;
    case OP_PFD: test(g0, 0.0); test(g1, 0.0); if (!fail) brrpfd_(g0, g1, g2, r, s); break;
    case OP_PHG: test(g0, -1e-30); test(g1, -1e-30); test(g2, -1e-30); if (!fail) cumhyg_(g0, g1, g2, g3, r, s); break;
    default: return XBADOP;
  }
  // a negative value is a kernel's penalty for arguments it cannot take
  if (!fail && (r < 0.0 || r != r)) { fail = true; bad = g0; }
  if (fail) { err = std::fabs(bad) + 1.0; return 5; }
  return 0;
}
