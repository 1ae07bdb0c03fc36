// A linear problem given to Clp and Cbc: its bounds in their terms and its loading.
#ifndef BRESK_MIP_COIN_H
#define BRESK_MIP_COIN_H
#include "bresk/mip.h"

#include <coin/ClpSimplex.hpp>

namespace brmip {

// Infinite bounds (+-1e30 or beyond) as Cbc's infinity.
inline double clampInf(double v) {
  if (v >= 1e30) return COIN_DBL_MAX;
  if (v <= -1e30) return -COIN_DBL_MAX;
  return v;
}

// The problem's column and row bounds with infinite ones as Cbc's infinity.
struct CoinBounds {
  std::vector<double> cl, cu, rl, ru;
  explicit CoinBounds(const LinearProblem& p) : cl(p.ncols), cu(p.ncols), rl(p.nrows), ru(p.nrows) {
    for (int j = 0; j < p.ncols; j++) { cl[j] = clampInf(p.collb[j]); cu[j] = clampInf(p.colub[j]); }
    for (int i = 0; i < p.nrows; i++) { rl[i] = clampInf(p.rowlb[i]); ru[i] = clampInf(p.rowub[i]); }
  }
};

// Loads the problem with bounds b into a Clp model or an Osi solver.
template <class Solver>
void loadCoin(Solver& s, const LinearProblem& p, const CoinBounds& b) {
  s.loadProblem(p.ncols, p.nrows, p.start.data(), p.index.data(), p.value.data(), b.cl.data(), b.cu.data(),
                p.cost.data(), b.rl.data(), b.ru.data());
}

// Loads the problem with bounds b into a Clp model that prints nothing, in the problem's sense.
inline void loadQuietClp(ClpSimplex& lp, const LinearProblem& p, const CoinBounds& b) {
  lp.setLogLevel(0);
  lp.messageHandler()->setLogLevel(0);
  loadCoin(lp, p, b);
  lp.setOptimizationDirection(p.sense < 0 ? -1.0 : 1.0);
}

}  // namespace brmip
#endif
