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
  switch (op) {
    case OP_PSN:
      psnrml_(a[0], v, z);
      break;
    case OP_PSL:
      psnrml_(a[0], v, z);
      v = 0.3989422803 * std::exp(-a[0] * a[0] / 2) - (1.0 - v) * a[0];
      break;
    case OP_LGM:
      logama_(a[0], v, s);
      if (s != 0.0) return false;
      break;
    case OP_PBN:  // (p, n, x)
      cumbin_(a[1], a[0], a[2], v, s);
      if (v < 0) return false;
      break;
    case OP_PEL:
      erlngl_(a[0], a[1], v, s);
      if (v <= -kTiny) return false;
      break;
    case OP_PEB:
      erlngb_(a[0], a[1], v, s);
      if (v <= -kTiny) return false;
      break;
    case OP_PPS:
    case OP_PPL: {
      double p, r1, r2, loss;
      cumpoi_(a[0], a[1], p, r1, r2, loss, s);
      v = op == OP_PPS ? p : loss;
      if (v <= -kTiny) return false;
      break;
    }
    case OP_PTD:  // (n, x)
      brrptd_(a[1], a[0], v, s);
      if (v <= -kTiny) return false;
      break;
    case OP_PCX:  // (n, x)
      brrpcx_(a[0], a[1], v, s);
      if (v <= -kTiny) return false;
      break;
    case OP_PFS:  // (r, S, K)
      finsrc_(a[1], a[2], a[0], v, s);
      if (v < 0) return false;
      break;
    case OP_PFD:
      brrpfd_(a[0], a[1], a[2], v, s);
      if (v < 0) return false;
      break;
    case OP_PHG:
      cumhyg_(a[0], a[1], a[2], a[3], v, s);
      if (s != 0.0) return false;
      break;
    case OP_RAND: {
      double seed = a[0];
      randlf_(seed, v);
      break;
    }
    default:
      return false;
  }
  *out = v;
  return std::isfinite(v);
}

} // namespace bresk
