// The duals at an integer point. When every column is integer, or every column left free by
// fixing the integer ones costs nothing, the LP left by fixing them has a constant objective;
// where the point is certainly feasible for it, its duals are settled here without Clp.
// Otherwise Clp's dual solve of the fixed LP gives them, in Clp's module.
#include "bresk/modules.h"

#include <algorithm>
#include <cmath>

namespace brmip {

bool integerPointDuals(const LinearProblem& p, const std::vector<double>& x, std::vector<double>& duals,
                       std::vector<double>& redcost) {
  // Without matrix entries Clp settles the LP by another path, which for a maximisation gives
  // the reduced costs with the opposite sign: left to Clp.
  if (static_cast<int>(x.size()) < p.ncols || p.start[p.ncols] == 0) return false;
  constexpr double kMargin = 1e-9;
  constexpr double kLargest = 1e15;   // beyond this a rounded value is left to Clp
  std::vector<double> act(p.nrows, 0.0), least(p.nrows, 1.0);
  for (int j = 0; j < p.ncols; j++) {
    double v;
    if (p.integer[j]) {
      v = std::round(x[j]);
    } else {
      // a continuous column that costs nothing, at its value inside its bounds
      v = x[j];
      if (p.cost[j] != 0.0 || !(v >= p.collb[j] - kMargin && v <= p.colub[j] + kMargin)) return false;
    }
    if (!(std::fabs(v) < kLargest)) return false;
    for (int k = p.start[j]; k < p.start[j + 1]; k++) {
      act[p.index[k]] += p.value[k] * v;
      least[p.index[k]] = std::min(least[p.index[k]], std::fabs(p.value[k]));
    }
  }
  // Clp scales a row by up to the inverse of its smallest coefficient: a violation within the
  // margin times that coefficient stays far inside its feasibility tolerance.
  for (int i = 0; i < p.nrows; i++) {
    const double tol = kMargin * least[i];
    if (!(act[i] >= p.rowlb[i] - tol && act[i] <= p.rowub[i] + tol)) return false;
  }
  // The objective is constant over the fixed LP and the point is feasible for it, so a zero
  // price on every row is optimal. Clp's dual simplex, from the slack start, ends there too:
  // a column that costs nothing enters at a zero step and a fixed column never enters, so no
  // row is priced. Clp reports a row's price negated (-0.0 when minimising, 0.0 when
  // maximising, its zero negated by the sense); each column's reduced cost is its cost.
  duals.assign(p.nrows, p.sense < 0 ? 0.0 : -0.0);
  redcost.assign(p.cost.begin(), p.cost.begin() + p.ncols);
  return true;
}

bool fixedLpDuals(const LinearProblem& p, const std::vector<double>& x, std::vector<double>& duals,
                  std::vector<double>& redcost) {
  if (integerPointDuals(p, x, duals, redcost)) return true;
  const bresk::ClpEngine* e = bresk::clpEngine();
  return e && e->fixedLpDuals(p, x, duals, redcost);
}

}  // namespace brmip
