// The global solve: proven optima where the model's class allows a proof, otherwise the best of
// several local solves, reported as a local optimum.
#include "bresk/nlp.h"

#include <algorithm>

using namespace bresk;

namespace {

// Local solves a global request makes for a model that cannot be proved.
int globalStarts(const BRmodel* m) { return std::max(ipar(m, P_MULTISTART), 8); }

// True when the quadratic parts, if any, are in the objective only.
bool quadraticObjectiveOnly(const BRmodel* m) {
  for (int i = 0; i < m->ncons; i++)
    if (m->rows[i].kind != ROW_LINEAR) return false;
  return m->obj.kind != ROW_NONLINEAR;
}

}  // namespace

// Global solve: a proof where the model allows one, else the best of several local solves.
extern "C" int BRsolveGOP(BRmodel* m) {
  return api_call(m, false, [&] {
    if (!m->loaded) return static_cast<int>(BRERR_NOT_LOADED);
    bool ints = modelHasIntegers(m);
    if (settled_without_solve(m, ints)) return 0;
    if (modelIsLinear(m)) return ints ? solveMipLinear(m) : solve_lp(m, 0);
    if (modelIsConvex(m)) {
      if (ints) return solveMinlp(m, 1);
      if (quadraticObjectiveOnly(m)) return solve_lp(m, 0);
      return solve_nlp(m, 1);
    }
    return ints ? solveMinlp(m, globalStarts(m)) : solve_nlp(m, globalStarts(m));
  });
}
