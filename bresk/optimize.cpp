// BRoptimize: a continuous model goes to Clp when it is linear or a convex quadratic with
// linear rows, else to Ipopt.
#include "bresk/modules.h"
#include "bresk/nlp.h"

#include <algorithm>

using namespace bresk;

extern "C" int BRoptimize(BRmodel* model, int method) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    if (!m->loaded) return BRERR_NOT_LOADED;
    if (method < 0 || method > 3) method = 0;
    clear_result(m);
    m->error_row_set = false;
    m->t0 = std::chrono::steady_clock::now();
    if (settled_without_solve(m, false)) return 0;
    if (model_is_linear(m)) return solve_lp(m, method);
    bool constraints_linear = true;
    for (const Row& r : m->rows) constraints_linear = constraints_linear && r.kind == ROW_LINEAR;
    if (model_is_quadratic(m)) {
      // The convexity test takes its eigenvalues from Clp's module.
      if (!clpEngine()) return BRERR_NOT_AVAILABLE;
      for (int i = -1; i < m->ncons; ++i)
        if (!row_is_convex(m, i)) return BRERR_NOT_CONVEX;
      if (constraints_linear) return solve_lp(m, method);
      return solve_nlp(m, 1);
    }
    return solve_nlp(m, std::max(1, ipar(m, P_MULTISTART)));
  });
}
