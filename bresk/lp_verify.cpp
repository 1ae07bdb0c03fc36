// Checks of a linear solve's outcome against the model's own data, each one pass over the
// matrix: that a point meets the rows and bounds, that a dual ray proves the rows and
// bounds contradictory, that a column direction improves the objective without end, and
// the columns that alone make a model unbounded.
#include "bresk/internal.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

namespace bresk {

namespace {

bool finite(double v) { return v > -1e30 && v < 1e30 && v != DBL_MAX && v != -DBL_MAX; }

}  // namespace

bool lp_point_feasible(const LpArrays& a, const double* x) {
  const int n = static_cast<int>(a.collb.size()), nr = static_cast<int>(a.rowlb.size());
  // The primal simplex moves bounds by up to about 1e-5 of their size to leave degenerate
  // vertices (its perturbation): its points meet the rows within that.
  constexpr double tol = 1e-5;
  std::vector<double> act(nr, 0.0), mag(nr, 0.0);
  for (int j = 0; j < n; ++j) {
    const double v = x[j];
    if (!std::isfinite(v)) return false;
    if (finite(a.collb[j]) && v < a.collb[j] - tol * (1.0 + std::fabs(a.collb[j]))) return false;
    if (finite(a.colub[j]) && v > a.colub[j] + tol * (1.0 + std::fabs(a.colub[j]))) return false;
    for (int p = a.colstart[j]; p < a.colstart[j + 1]; ++p) {
      const double t = a.value[p] * v;
      act[a.rowidx[p]] += t;
      mag[a.rowidx[p]] += std::fabs(t);
    }
  }
  for (int i = 0; i < nr; ++i) {
    const double slack = 1e-9 * mag[i];
    if (finite(a.rowlb[i]) && act[i] < a.rowlb[i] - tol * (1.0 + std::fabs(a.rowlb[i])) - slack) return false;
    if (finite(a.rowub[i]) && act[i] > a.rowub[i] + tol * (1.0 + std::fabs(a.rowub[i])) + slack) return false;
  }
  return true;
}

bool lp_farkas_holds(const LpArrays& a, const double* ray) {
  const int n = static_cast<int>(a.collb.size()), nr = static_cast<int>(a.rowlb.size());
  double big = 0.0;
  for (int i = 0; i < nr; ++i) big = std::max(big, std::fabs(ray[i]));
  if (!(big > 0.0) || !std::isfinite(big)) return false;
  // The ray's sign convention differs between Clp's algorithms: either sign may prove it.
  for (double sign : {1.0, -1.0}) {
    // w: the ray scaled to 1 at most, noise on a row side that is infinite dropped
    std::vector<double> w(nr);
    double rowmin = 0.0, magr = 0.0;
    bool ok = true;
    for (int i = 0; i < nr && ok; ++i) {
      double v = sign * ray[i] / big;
      const double side = v > 0 ? a.rowlb[i] : a.rowub[i];
      if (!finite(side)) {
        if (std::fabs(v) > 1e-9) ok = false;
        v = 0.0;
      }
      w[i] = v;
      if (v != 0.0) {
        rowmin += v * side;
        magr += std::fabs(v * side);
      }
    }
    if (!ok) continue;
    // every point of the bounds gives w'Ax at most colmax; every row activity allowed gives
    // at least rowmin
    double colmax = 0.0, magc = 0.0;
    for (int j = 0; j < n && ok; ++j) {
      double z = 0.0, zabs = 0.0;
      for (int p = a.colstart[j]; p < a.colstart[j + 1]; ++p) {
        const double t = w[a.rowidx[p]] * a.value[p];
        z += t;
        zabs += std::fabs(t);
      }
      if (std::fabs(z) <= 1e-11 * zabs || z == 0.0) continue;
      const double side = z > 0 ? a.colub[j] : a.collb[j];
      if (!finite(side)) {
        if (std::fabs(z) > 1e-9 * std::max(1.0, zabs)) ok = false;
        continue;
      }
      colmax += z * side;
      magc += std::fabs(z * side);
    }
    if (!ok) continue;
    if (rowmin - colmax > 1e-9 * (1.0 + magr + magc)) return true;
  }
  return false;
}

bool lp_unbounded_ray_holds(const LpArrays& a, const double* ray, double sense) {
  const int n = static_cast<int>(a.collb.size()), nr = static_cast<int>(a.rowlb.size());
  double big = 0.0;
  for (int j = 0; j < n; ++j) big = std::max(big, std::fabs(ray[j]));
  if (!(big > 0.0) || !std::isfinite(big)) return false;
  std::vector<double> act(nr, 0.0), mag(nr, 0.0);
  double gain = 0.0, gmag = 0.0;
  for (int j = 0; j < n; ++j) {
    double d = ray[j] / big;
    if ((d < 0 && finite(a.collb[j])) || (d > 0 && finite(a.colub[j]))) {
      if (std::fabs(d) > 1e-9) return false;
      d = 0.0;
    }
    if (d == 0.0) continue;
    gain += sense * a.cost[j] * d;
    gmag += std::fabs(a.cost[j] * d);
    for (int p = a.colstart[j]; p < a.colstart[j + 1]; ++p) {
      const double t = a.value[p] * d;
      act[a.rowidx[p]] += t;
      mag[a.rowidx[p]] += std::fabs(t);
    }
  }
  // minimising sense * c'x: the direction must lower it
  if (!(gain < -1e-9 * std::max(1.0, gmag))) return false;
  for (int i = 0; i < nr; ++i) {
    const double tol = 1e-9 * std::max(1.0, mag[i]);
    if (finite(a.rowlb[i]) && act[i] < -tol) return false;
    if (finite(a.rowub[i]) && act[i] > tol) return false;
  }
  return true;
}

std::vector<int> lp_runaway_columns(const LpArrays& a, double sense) {
  const int n = static_cast<int>(a.collb.size());
  std::vector<int> out;
  for (int j = 0; j < n; ++j) {
    if (a.colstart[j + 1] != a.colstart[j]) continue;
    const double c = sense * a.cost[j];
    if ((c < 0 && !finite(a.colub[j])) || (c > 0 && !finite(a.collb[j]))) out.push_back(j);
  }
  return out;
}

}  // namespace bresk
