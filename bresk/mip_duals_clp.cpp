// The duals at an integer point: a Clp solve of the problem with its integer columns fixed,
// in Clp's module, so that a solve that GLPK settles never maps Cbc for its report.
#include "bresk/mip_coin.h"
#include "bresk/modules.h"

#include <cmath>

namespace brmip {

// Duals of the LP left when the integer columns are fixed at the incumbent.
bool clpFixedLpDuals(const LinearProblem& p, const std::vector<double>& x, std::vector<double>& duals,
                     std::vector<double>& redcost) {
  CoinBounds b(p);
  for (int j = 0; j < p.ncols; j++)
    if (p.integer[j] && j < static_cast<int>(x.size())) b.cl[j] = b.cu[j] = std::round(x[j]);
  ClpSimplex lp;
  loadQuietClp(lp, p, b);
  lp.setMaximumIterations(1000000);
  lp.setMaximumSeconds(60);
  lp.dual();
  if (lp.status() != 0) return false;
  duals.assign(p.nrows, 0.0);
  redcost.assign(p.ncols, 0.0);
  const double* y = lp.dualRowSolution();
  const double* d = lp.dualColumnSolution();
  for (int i = 0; i < p.nrows; i++) duals[i] = -y[i];
  for (int j = 0; j < p.ncols; j++) redcost[j] = d[j];
  return true;
}

}  // namespace brmip
