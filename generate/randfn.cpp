// Random and quasi-random numbers.
#include "generate/randfn.h"

#include <cmath>

namespace {

// Two Schrage multiplications modulo 2^31 - 1 (by 21309, then by 34865).
int32_t rstep(int32_t s) {
  constexpr int32_t M = 2147483647;
  int32_t k = s / 100778;
  s = 21309 * (s - k * 100778) - 5245 * k;
  if (s < 0) s += M;
  k = s / 61594;
  s = 34865 * (s - k * 61594) - 8837 * k;
  if (s < 0) s += M;
  return s;
}

}  // namespace

double BRrand(int32_t* seed) {
  *seed = rstep(*seed);
  return (double)*seed * 4.656612875e-10;
}

void randlf_(double& seed, double& result) {
  double s = std::fabs(seed);
  if (!std::isfinite(s)) s = 0.0;  // NaN and infinity hold no fraction
  seed = s - std::trunc(s);
  int64_t k = (int64_t)(seed * 2147483648.0);
  if (k < 1 || k >= 2147483647) k = 1;
  int32_t k32 = rstep((int32_t)k);
  result = (double)k32 * 4.656612873077393e-10;
}

int32_t BRqrand(int32_t n, int32_t dim, double* points, int32_t* seed, int32_t* strata,
                double* scratch) {
  if (n < 1 || dim < 1) return 0;
  int64_t placed = 0;
  for (int32_t batch = 0; batch < n && placed < n; ++batch) {
    const int64_t R = n - placed;
    for (int32_t j = 0; j < dim; ++j) strata[j] = 1;
    int64_t K = 1;
    // Balanced grid: raise one dimension at a time while the cell count stays within R.
    for (int32_t pass = 0; pass < 2 * dim - 2; ++pass) {
      bool beyond_first = false;
      for (int32_t j = 0; j < dim; ++j) {
        int64_t nk = K / strata[j] * (strata[j] + 1);
        if (nk <= R) {
          ++strata[j];
          K = nk;
          if (j > 0) beyond_first = true;
        }
      }
      if (!beyond_first) break;
    }
    if (dim >= 2 && strata[1] > 2) {
      int64_t k1 = strata[0], k2 = strata[1];
      int64_t nk = K / (k1 * k2) * (k2 - 1) * (k1 + 2);
      if (nk > K && nk <= R) {
        strata[0] += 2;
        strata[1] -= 1;
        K = nk;
      }
    }
    double* out = points + placed * dim;
    int64_t stride = 1;  // product of the strata of the dimensions before d
    for (int32_t d = 0; d < dim; ++d) {
      const int64_t kd = strata[d];
      const int64_t run = K / kd;
      for (int64_t i = 0; i < K; ++i) scratch[i] = (BRrand(seed) + (double)i) / (double)K;
      for (int64_t p = 0; p < K; ++p) {
        const int64_t j = (p / stride) % kd;
        const int64_t taken = (p / (stride * kd)) * stride + p % stride;
        const int64_t remaining = run - taken;
        double* r = scratch + j * run;
        int64_t idx = (int64_t)(BRrand(seed) * (double)remaining);
        if (idx >= remaining) idx = remaining - 1;
        if (idx < 0) idx = 0;
        out[p * dim + d] = r[idx];
        r[idx] = r[remaining - 1];
      }
      stride *= kd;
    }
    placed += K;
    if (K == R) break;
  }
  return 0;
}

int32_t BRQRANDF_(const int32_t* n, const int32_t* dim, double* points, int32_t* seed,
                  int32_t* strata, double* scratch) {
  return BRqrand(*n, *dim, points, seed, strata, scratch);
}
