// The section solver: finds the value of one variable that makes one row zero, within the
// variable's bounds (among integers for an integer variable), with the reverse-
// communication root finder rooter_, then probes near the root for its uniqueness.
#include <algorithm>
#include <cmath>

#include "generate/analysis.h"
#include "generate/eval.h"
#include "generate/rows.h"
#include "language/lang.h"
#include "store/store.h"

namespace {

// Single-precision literals of the root finder, widened to double.
const double ZEROTL = (double)1.0e-12f;  // zero tolerance of the section solver
const double ROOTTOL = (double)1.0e-17f;
const double WIDTHF = (double)1.0e-14f;
const double NUDGE = (double)1.0e-6f;
const double HINT0 = (double)1.0e-6f;
const double STEP2 = (double)0.01f;
const double GROW2 = (double)1.1f;
constexpr double INTLIM = 2147483640.0;
// Distance (relative to the magnitude, at least 1) from an integer within which a trial
// point of an integer variable is tried at that integer.
constexpr double INTSNAP = 1.0e-6;
constexpr int32_t MAXSTEPS = 120;

int32_t sgn(double f) { return f >= 0.0 ? 1 : -1; }
double signof(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }

// The zero of the line through (x1, h1) and (x2, h2).
double linezero(double x1, double h1, double x2, double h2) {
  return x1 - h1 * (x2 - x1) / (h2 - h1);
}

void copypt(double* XV, double* FV, double* HINT, int32_t* ISFZ, int to, int from) {
  XV[to] = XV[from];
  FV[to] = FV[from];
  HINT[to] = HINT[from];
  ISFZ[to] = ISFZ[from];
}

}  // namespace

double nearestint_(double x) {
  if (x >= INTLIM) return INTLIM;
  if (x <= -INTLIM) return -INTLIM;
  return std::trunc(x >= 0.0 ? x + 0.5 : x - 0.5);
}
double roundup_(double x) {
  if (x >= INTLIM) return INTLIM;
  if (x <= -INTLIM) return -INTLIM;
  const double n = nearestint_(x);
  return n < x ? n + 1.0 : n;
}
double rounddown_(double x) {
  if (x >= INTLIM) return INTLIM;
  if (x <= -INTLIM) return -INTLIM;
  const double n = nearestint_(x);
  return n > x ? n - 1.0 : n;
}

void gcomp2_(Work& W, MasterRecord& L, int32_t row, double& value, int32_t& status, double& aux) {
  L.STKTOP = 0;
  L.LFDEPTH = 0;
  rowregs(W, L, row);
  const int32_t first = bgeti(W, L, L.ROWSTP, row);
  const int32_t last = L.CODELEN;
  double out = 0.0;
  int32_t st = 0;
  xecute_(W, L, L.CODEBLK, first, last, st, out);
  value = L.STKTOP >= 1 ? L.STKVAL[1] : 0.0;
  status = st < 0 ? 0 : st;
  aux = value;  // a usable value is its own hint
  L.STKTOP = 0;
}

void rooter_(double* XV, double* FV, double* HINT, int32_t* ISFZ) {
  const double tol = ROOTTOL;
  const int32_t s = ISFZ[1], t = ISFZ[2], p = s * t;
  // converged
  if (s != 0 && std::fabs(FV[1]) <= (std::fabs(XV[1]) + 1.0) * tol && std::fabs(FV[1]) <= 1.0e-14) {
    ISFZ[4] = 0;
    return;
  }
  const int32_t phase = ISFZ[4];
  double next = XV[1];
  enum Step { NONE, BACK1, BACK2, HINTS, EXTRA, BRACKET } step = NONE;
  if (phase == 0) {
    XV[4] = XV[2];
    FV[4] = FV[2];
    HINT[3] = HINT[4] = HINT[2];
    if (t != 0 && std::fabs(FV[2]) <= tol) {
      XV[1] = XV[3] = XV[2];
      ISFZ[4] = 0;
      return;
    }
    if (p == 1) {
      copypt(XV, FV, HINT, ISFZ, 3, 2);
      step = EXTRA;
    } else if (p == -1) {
      step = BRACKET;
    } else if (s != 0) {
      step = BACK1;
    } else if (t != 0) {
      step = BACK2;
    } else {
      ISFZ[4] = 1;
      step = HINTS;
    }
  } else if (phase == 1) {
    step = s != 0 ? BACK1 : HINTS;
  } else if (phase == 2 || phase == 3) {
    if (p == -1) {
      step = BRACKET;
    } else if (p == 1) {
      step = EXTRA;
    } else if (phase == 3 && std::fabs(HINT[1]) + tol < std::fabs(HINT[3])) {
      next = linezero(XV[1], HINT[1], XV[3], HINT[3]);
      XV[3] = XV[1];
      HINT[3] = HINT[1];
    } else {
      XV[3] = XV[1];
      HINT[3] = HINT[1];
      ISFZ[4] = 3;
      next = 0.75 * XV[2] + 0.25 * XV[1];
    }
  } else {
    // bracketed: XV(2) the lower end, XV(3) the upper end, ISFZ(2) the previous sign
    if (s == 0) {
      next = 0.5 * (XV[2] + XV[3]);
    } else {
      const int32_t slo = sgn(FV[2]);
      const int opp = slo != s ? 2 : 3, same = opp == 2 ? 3 : 2;
      bool have = false;
      if (s == ISFZ[2]) {
        next = 0.5 * (XV[1] + XV[opp]);
        have = true;
      } else {
        const int e = std::fabs(FV[2]) < std::fabs(FV[3]) ? 2 : 3;
        if (FV[1] != FV[e]) {
          next = linezero(XV[1], FV[1], XV[e], FV[e]);
          have = true;
        }
      }
      XV[same] = XV[1];
      FV[same] = FV[1];
      HINT[same] = HINT[1];
      if (have && !(next > XV[2] && next < XV[3])) have = false;
      if (!have) next = linezero(XV[2], FV[2], XV[3], FV[3]);
    }
    if ((std::fabs(next) < tol && std::fabs(next - XV[3]) <= tol) ||
        XV[3] - XV[2] <= WIDTHF * std::fabs(next))
      ISFZ[4] = 0;
    ISFZ[2] = s;
    XV[1] = next;
    return;
  }

  switch (step) {
    case BACK1:
    case BACK2: {
      // keep point k, step back beyond it from the other point j
      const int k = step == BACK1 ? 1 : 2, j = 3 - k;
      const double xk = XV[k], fk = FV[k], hk = HINT[k], xj = XV[j], fj = FV[j], hj = HINT[j];
      const int32_t sk = ISFZ[k];
      XV[3] = xj; FV[3] = fj; HINT[3] = hj; ISFZ[3] = 0;
      XV[2] = xk; FV[2] = fk; HINT[2] = hk; ISFZ[2] = sk;
      next = 1.0078125 * xk - 0.0078125 * xj;
      ISFZ[4] = 2;
      break;
    }
    case EXTRA: {
      ISFZ[4] = 3;
      if (phase != 0 && std::fabs(FV[1]) < std::fabs(FV[2])) FV[2] = 0.5 * (FV[1] + FV[2]);
      if (std::fabs(FV[1] - FV[2]) <= tol) {
        step = HINTS;
        break;
      }
      next = linezero(XV[1], FV[1], XV[2], FV[2]);
      if (std::fabs(FV[1]) < std::fabs(FV[2])) {
        if (phase != 0) next += (next >= XV[2] ? 1.0 : -1.0) * NUDGE * std::fabs(XV[1]);
        copypt(XV, FV, HINT, ISFZ, 2, 1);
      } else if (phase != 0) {
        next -= (next >= XV[2] ? 1.0 : -1.0) * NUDGE * std::fabs(XV[2]);
      }
      break;
    }
    case BRACKET: {
      ISFZ[4] = 4;
      if (XV[1] > XV[2]) {
        copypt(XV, FV, HINT, ISFZ, 3, 1);
      } else {
        copypt(XV, FV, HINT, ISFZ, 3, 2);
        copypt(XV, FV, HINT, ISFZ, 2, 1);
      }
      ISFZ[2] = 0;
      next = linezero(XV[2], FV[2], XV[3], FV[3]);
      XV[1] = next;
      return;
    }
    default:
      break;
  }
  if (step == HINTS) {
    if (HINT[1] == 0.0 && HINT[2] != 0.0) HINT[1] = signof(HINT0, HINT[2]);
    if (HINT[2] == 0.0) HINT[2] = signof(HINT0, HINT[1]);
    if (std::fabs(HINT[1] - HINT[2]) > tol) {
      next = linezero(XV[1], HINT[1], XV[2], HINT[2]);
      if (std::fabs(HINT[1]) < std::fabs(HINT[2])) copypt(XV, FV, HINT, ISFZ, 2, 1);
    } else {
      next = -4.0 * XV[1];
      if (next == 0.0) next = 16.0;
    }
  }
  if (phase == 3 && ((XV[1] <= XV[3] && next > XV[3]) || (XV[1] > XV[3] && next < XV[2])))
    next = 0.5 * (XV[2] + XV[3]);
  XV[1] = next;
}

void secslv_(Work& W, MasterRecord& L, int32_t row, int32_t var, int32_t& arith, int32_t& status) {
  double* XV = L.SSXV;
  double* FV = L.SSFV;
  double* HINT = L.SSHINT;
  int32_t* ISFZ = L.SSISFZ;
  arith = 0;
  status = 0;
  const double big = L.BIGNUM > 0.0 ? L.BIGNUM : 1e307;
  double lo = bgetd(W, L, L.VARLB, var), hi = bgetd(W, L, L.VARUB, var);
  if (lo == 0.0 && hi == -big) {
    lo = -big;
    hi = big;
  }
  const bool isint = L.VARINT > 0 && bgeti(W, L, L.VARINT, var) == 1;
  if (isint) {
    lo = roundup_(lo);
    hi = rounddown_(hi);
  }
  if (lo > hi) {
    status = 1;
    return;
  }
  // evaluates the row with the variable at x
  double aux = 0.0;
  auto eval = [&](double x, double& f) {
    bputd(W, L, L.VARVAL, var, x);
    int32_t st = 0;
    gcomp2_(W, L, row, f, st, aux);
    if (st == 5) ++arith;
    return st == 0;
  };
  auto inside = [&](double x) { return x >= lo && x <= hi; };
  // For an integer variable the root is sought among all numbers, and one within INTSNAP of
  // an integer n is n when the row is zero there (points off the integers carry no sign for
  // the finder, which then cannot close in on the root).
  auto introot = [&](double x, double& n) {
    n = nearestint_(x);
    if (n == x) return inside(n);
    if (std::fabs(x - n) > INTSNAP * std::max(1.0, std::fabs(n)) || !inside(n)) return false;
    double fn;
    return eval(n, fn) && std::fabs(fn) <= ZEROTL;
  };
  double x0 = bgetd(W, L, L.VARVAL, var);
  if (isint) x0 = nearestint_(x0);
  x0 = std::min(std::max(x0, lo), hi);
  XV[1] = x0;
  double f = 0.0, root = x0;
  bool ok = eval(x0, FV[1]);
  bool found = ok && std::fabs(FV[1]) <= ZEROTL;
  if (!found) {
    if (ok) {
      ISFZ[1] = sgn(FV[1]);
      HINT[1] = aux;
    } else {
      ISFZ[1] = 0;
      HINT[1] = FV[1];
    }
    // the value at 0 as a guess
    double v;
    if (eval(0.0, v)) {
      if (std::fabs(v - XV[1]) <= 1.0e-11) v += STEP2;
      if (eval(v, f) && std::fabs(f) <= ZEROTL && inside(v) && (!isint || v == nearestint_(v))) {
        found = true;
        root = v;
      }
    }
  }
  if (!found) {
    XV[2] = GROW2 * XV[1] + STEP2;
    if (std::fabs(XV[2] - XV[1]) <= 1.0e-11) XV[2] = XV[1] + STEP2;
    if (!eval(XV[2], FV[2]) || !inside(XV[2])) {
      ISFZ[2] = 0;
      HINT[2] = FV[2];
    } else {
      ISFZ[2] = sgn(FV[2]);
      HINT[2] = aux;
    }
    ISFZ[3] = 0;
    ISFZ[4] = 0;
    // The finder's own test asks for a row value that double arithmetic may never reach
    // (the terms of a row round to a few units of their last place): the best point whose
    // value is within the zero tolerance is the root once the finder comes back to it
    // without moving, or when its steps run out.
    bool havebest = false;
    double bestx = 0.0, bestf = 0.0;
    auto keepbest = [&](int k) {
      if (ISFZ[k] == 0 || std::fabs(FV[k]) > ZEROTL || !inside(XV[k])) return;
      if (isint && std::fabs(XV[k] - nearestint_(XV[k])) > ZEROTL) return;
      if (!havebest || std::fabs(FV[k]) < bestf) {
        havebest = true;
        bestx = XV[k];
        bestf = std::fabs(FV[k]);
      }
    };
    if (ok) keepbest(1);
    keepbest(2);
    for (int32_t n = 0; n < MAXSTEPS && !found; ++n) {
      rooter_(XV, FV, HINT, ISFZ);
      if (ISFZ[4] == 0) {
        found = true;
        root = XV[1];
        break;
      }
      const double x = XV[1];
      if (havebest && x == bestx) {
        found = true;
        root = bestx;
        break;
      }
      if (!eval(x, FV[1])) {
        HINT[1] = x - 1.0;
        ISFZ[1] = 0;
      } else if (!inside(x)) {
        ISFZ[1] = 0;
        HINT[1] = x >= lo ? x - 1.0 - lo : lo + 1.0 - x;
      } else {
        HINT[1] = aux;
        ISFZ[1] = sgn(FV[1]);
        keepbest(1);
      }
    }
    if (!found && havebest) {
      found = true;
      root = bestx;
    }
    if (found && isint && !introot(root, root)) found = false;
    if (!found) {
      status = 1;
      bputd(W, L, L.VARVAL, var, XV[1]);
      bputd(W, L, L.ROWVAL, row, FV[1]);
      return;
    }
  }
  // uniqueness: a second point of the row near the root that is also a zero
  int32_t decided = 0;  // 0 not yet, 1 unique, -1 not unique
  auto probe = [&](double t) {
    if (decided || std::fabs(t - root) <= ZEROTL) return;
    double ft;
    if (eval(t, ft)) decided = std::fabs(ft) <= ZEROTL ? -1 : 1;
  };
  if (!isint && std::fabs(root) > ZEROTL) {
    probe(std::min(std::max(root * 1.1, lo), hi));
    probe(std::min(std::max(root / 1.1, lo), hi));
  }
  const double d = isint ? 1.0 : 0.1;
  probe(std::max(lo, std::min(hi, root + d)));
  probe(std::max(lo, std::min(hi, root - d)));
  status = decided == -1 ? -1 : 0;
  eval(root, f);
  bputd(W, L, L.ROWVAL, row, f);
}
