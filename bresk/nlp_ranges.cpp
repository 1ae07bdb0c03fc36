// Ranges of a nonlinear model: cost and right-hand-side ranges of its linearisation at the
// local optimum, from the simplex basis of that linear model (in Clp's module).
#include "bresk/modules.h"
#include "bresk/nlp.h"

#include <coin/ClpSimplex.hpp>

#include <algorithm>
#include <cmath>

using namespace bresk;

namespace {

double outInf(double v) { return v >= kInf ? kInf : (v <= -kInf ? -kInf : v); }
double coinInf(double v) { return v >= kInf ? COIN_DBL_MAX : (v <= -kInf ? -COIN_DBL_MAX : v); }

// Builds and solves the linearisation at x; false when it has no optimal basis.
bool linearise(BRmodel* m, const std::vector<double>& x, ClpSimplex& lp) {
  int n = m->nvars, rows = m->ncons;
  std::vector<std::vector<std::pair<int, double>>> cols(n);
  std::vector<double> cost(n, 0.0), rl(rows), ru(rows), cl(n), cu(n), grad;
  for (int r = -1; r < rows; r++) {
    const Row& row = row_of(m, r);
    grad.assign(row.var_end - row.var_begin + 1, 0.0);
    double g;
    if (!eval_grad(m, r, x.data(), &g, grad.data())) return false;
    double jx = 0.0;
    for (int k = row.var_begin; k < row.var_end; k++) {
      int j = row_vars(m, row)[k - row.var_begin];
      double d = grad[k - row.var_begin];
      if (!std::isfinite(d)) return false;
      if (r < 0) { cost[j] += d; continue; }
      if (d != 0.0) cols[j].push_back({r, d});
      jx += d * x[j];
    }
    if (r < 0) continue;
    double rhs = jx - g;
    rl[r] = row.type == 'L' ? -COIN_DBL_MAX : rhs;
    ru[r] = row.type == 'G' ? COIN_DBL_MAX : rhs;
  }
  std::vector<int> start(1, 0), index;
  std::vector<double> value;
  for (int j = 0; j < n; j++) {
    for (auto& e : cols[j]) { index.push_back(e.first); value.push_back(e.second); }
    start.push_back(static_cast<int>(index.size()));
    cl[j] = coinInf(m->lb[j]);
    cu[j] = coinInf(m->ub[j]);
  }
  lp.setLogLevel(0);
  lp.messageHandler()->setLogLevel(0);
  lp.loadProblem(n, rows, start.data(), index.data(), value.data(), cl.data(), cu.data(), cost.data(),
                 rl.data(), ru.data());
  lp.setOptimizationDirection(m->sense < 0 ? -1.0 : 1.0);
  lp.setColSolution(x.data());
  lp.setMaximumIterations(1000000);
  lp.primal();
  return lp.status() == 0;
}

}  // namespace

// Ranges of the linearised model at the local optimum (the caller has checked that there is
// one); any pair may be NULL.
int bresk::clp_nlp_ranges(BRmodel* m, double* rowdec, double* rowinc, double* vardec, double* varinc,
                          double* x1, double* x2) {
  const Result& r = m->res;
  ClpSimplex lp;
  if (!linearise(m, r.x, lp)) return static_cast<int>(BRERR_NOT_AVAILABLE);
  int n = m->nvars, rows = m->ncons;
  // One ranging pass over count sequence numbers from first: increases to up, decreases to down.
  auto ranging = [&](bool dual, int count, int first, double* up, double* down) {
    if (!up && !down) return;
    std::vector<int> which(count), si(count), sd(count);
    std::vector<double> inc(count), dec(count);
    for (int k = 0; k < count; k++) which[k] = first + k;
    if (count && dual) lp.dualRanging(count, which.data(), inc.data(), si.data(), dec.data(), sd.data());
    if (count && !dual) lp.primalRanging(count, which.data(), inc.data(), si.data(), dec.data(), sd.data());
    for (int k = 0; k < count; k++) {
      if (up) up[k] = outInf(inc[k]);
      if (down) down[k] = outInf(dec[k]);
    }
  };
  ranging(true, n, 0, varinc, vardec);
  ranging(false, rows, n, rowinc, rowdec);
  ranging(false, n, 0, x2, x1);
  return 0;
}
