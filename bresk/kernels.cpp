// Probability kernels and the uniform draw used by instruction lists: the
// program's own routines (generate/probfn.cpp, generate/randfn.cpp, compiled
// into this library as well) with the failure rules of folding.
#include "bresk/ops.h"
#include "generate/probfn.h"
#include "generate/randfn.h"

#include <cmath>

namespace bresk {

bool kernel_available(int op) {
  switch (op) {
    case OP_PSN: case OP_PSL: case OP_LGM: case OP_PBN: case OP_PEL: case OP_PEB:
    case OP_PPS: case OP_PPL: case OP_PTD: case OP_PCX: case OP_PFS: case OP_PFD:
    case OP_PHG: case OP_RAND:
      return true;
  }
  return false;
}

bool kernel_eval(int op, const double* a, double* out) {
  double v = 0.0, s = 0.0, z = 0.0;
  // Arguments a distribution cannot take fail before its kernel runs, as in the program's
  // interpreter; a negative value is a kernel's penalty for the others.
  auto below = [](double x, double lim) { return x < lim; };
  switch (op) {
    case OP_PSN:
      psnrml_(a[0], v, z);
      break;
    case OP_PSL:
      psnrml_(a[0], v, z);
      v = 0.3989422803 * std::exp(-a[0] * a[0] / 2) - (1.0 - v) * a[0];
      break;
    case OP_LGM:
      // Arguments near zero take the routine's own limit value.
      if (!(a[0] >= kTiny)) return false;
      logama_(a[0], v, s);
      break;
    case OP_PBN:  // (p, n, x)
      if (below(a[0], 0.0) || below(a[1], 0.0)) return false;
      cumbin_(a[1], a[0], a[2], v, s);
      break;
    case OP_PEL:
      erlngl_(a[0], a[1], v, s);
      break;
    case OP_PEB:
      if (below(a[0], -kTiny) || below(a[1], -kTiny)) return false;
      erlngb_(a[0], a[1], v, s);
      break;
    case OP_PPS:
    case OP_PPL: {
      if (below(a[0], -kTiny)) return false;
      double p, r1, r2, loss;
      cumpoi_(a[0], a[1], p, r1, r2, loss, s);
      v = op == OP_PPS ? p : loss;
      break;
    }
    case OP_PTD:  // (n, x)
      if (below(a[0], -kTiny)) return false;
      brrptd_(a[1], a[0], v, s);
      break;
    case OP_PCX:  // (n, x)
      if (below(a[0], -kTiny)) return false;
      brrpcx_(a[0], a[1], v, s);
      break;
    case OP_PFS:  // (r, S, K)
      if (below(a[0], 0.0) || below(a[1], 0.0) || below(a[2], 0.0)) return false;
      finsrc_(a[1], a[2], a[0], v, s);
      break;
    case OP_PFD:
      if (below(a[0], 0.0) || below(a[1], 0.0)) return false;
      brrpfd_(a[0], a[1], a[2], v, s);
      break;
    case OP_PHG:
      if (below(a[0], -kTiny) || below(a[1], -kTiny) || below(a[2], -kTiny)) return false;
      cumhyg_(a[0], a[1], a[2], a[3], v, s);
      break;
    case OP_RAND: {
      double seed = a[0];
      randlf_(seed, v);
      *out = v;
      return std::isfinite(v);
    }
    default:
      return false;
  }
  if (op != OP_PSN && op != OP_PSL && op != OP_LGM && !(v >= 0.0)) return false;
  *out = v;
  return std::isfinite(v);
}

} // namespace bresk
