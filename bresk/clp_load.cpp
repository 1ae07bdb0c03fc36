// Clp's module: mapped at the first call that needs Clp (a linear or quadratic solve, ranging,
// an infeasible or unbounded set, the duals at an integer point that only Clp can give), so
// that a session that never needs Clp never maps it with CoinUtils and LAPACK. A call whose
// module cannot be loaded ends with "not available".
#include "bresk/modules.h"
#include "bresk/nlp.h"

namespace bresk {

const ClpEngine* clpEngine() {
  static const ClpEngine* e = static_cast<const ClpEngine*>(moduleTable("libbresk_clp.so", "bresk_clp_engine"));
  return e;
}

int solve_lp(BRmodel* m, int method) {
  const ClpEngine* e = clpEngine();
  return e ? e->solve(m, method) : BRERR_NOT_AVAILABLE;
}

void release_clp(BRmodel* m) {
  // A kept model means the module that made it is loaded.
  if (m->clp) clpEngine()->release(m->clp);
  m->clp = nullptr;
}

namespace {

// Ranging needs the basis of a finished linear solve.
int need_basis(BRmodel* m) {
  if (!m->loaded) return BRERR_NOT_LOADED;
  if (!m->clp || !model_is_linear(m)) return BRERR_NOT_AVAILABLE;
  if (m->res.status == BR_INFEASIBLE || m->res.status == BR_UNBOUNDED ||
      m->res.status == BR_NUMERICAL_ERROR || m->res.status == BR_UNKNOWN)
    return BRERR_NOT_AVAILABLE;
  return 0;
}

}  // namespace
}  // namespace bresk

using namespace bresk;

extern "C" {

int BRgetObjectiveRanges(BRmodel* model, double* dec, double* inc) {
  return api_call(model, false, [&]() -> int {
    if (int e = need_basis(model)) return e;
    return clpEngine()->objectiveRanges(model, dec, inc);
  });
}

int BRgetConstraintRanges(BRmodel* model, double* dec, double* inc) {
  return api_call(model, false, [&]() -> int {
    if (int e = need_basis(model)) return e;
    return clpEngine()->constraintRanges(model, dec, inc);
  });
}

// Ranges of the linearised model at the local optimum; any pair may be NULL.
int BRgetNLPRanges(BRmodel* m, double* rowdec, double* rowinc, double* vardec, double* varinc,
                   double* x1, double* x2) {
  return api_call(m, false, [&]() -> int {
    if (!m->loaded) return BRERR_NOT_LOADED;
    const Result& r = m->res;
    if (!r.has_primal || !r.has_dual || r.x.size() != static_cast<size_t>(m->nvars))
      return BRERR_NOT_AVAILABLE;
    const ClpEngine* e = clpEngine();
    return e ? e->nlpRanges(m, rowdec, rowinc, vardec, varinc, x1, x2) : BRERR_NOT_AVAILABLE;
  });
}

}  // extern "C"
