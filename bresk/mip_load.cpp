// The integer engines' modules: GLPK's (libbresk_glpk.so) and Cbc's (libbresk_cbc.so) are
// mapped at the first integer solve that needs each, so that a session that solves only
// linear models maps neither GLPK nor Cbc, Cgl and Osi. An engine whose module cannot be
// loaded ends its solve with the status "not available".
#include "bresk/internal.h"
#include "bresk/modules.h"

namespace bresk {
namespace {

// GLPK's engine, its module loaded at the first call; null when it cannot be loaded.
const GlpkEngine* glpkEngine() {
  static const GlpkEngine* e = static_cast<const GlpkEngine*>(moduleTable("libbresk_glpk.so", "bresk_glpk_engine"));
  return e;
}

// Cbc's engine, likewise.
const CbcEngine* cbcEngine() {
  static const CbcEngine* e = static_cast<const CbcEngine*>(moduleTable("libbresk_cbc.so", "bresk_cbc_engine"));
  return e;
}

// The result of a solve whose engine is missing.
void notAvailable(brmip::MipResult& r) {
  r = brmip::MipResult();
  r.code = BRERR_NOT_AVAILABLE;
}

}  // namespace
}  // namespace bresk

namespace brmip {

// Cbc's solve, in its module.
void solveMipCbc(const LinearProblem& p, const MipSettings& s, const MipCallback& cb, MipResult& r) {
  if (const bresk::CbcEngine* e = bresk::cbcEngine()) return e->solve(p, s, cb, r);
  bresk::notAvailable(r);
}

// GLPK's solve, in its module; a missing module settles the solve as not available.
bool solveMipGlpk(const LinearProblem& p, const MipSettings& s, const MipCallback& cb, long long budget,
                  int nodeBudget, MipResult& r) {
  if (const bresk::GlpkEngine* e = bresk::glpkEngine()) return e->solve(p, s, cb, budget, nodeBudget, r);
  bresk::notAvailable(r);
  return true;
}

}  // namespace brmip
