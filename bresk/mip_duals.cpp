// The duals at an integer point: Clp's dual solve of the problem with its integer columns fixed
// at the incumbent, in Clp's module.
#include "bresk/modules.h"

namespace brmip {

bool fixedLpDuals(const LinearProblem& p, const std::vector<double>& x, std::vector<double>& duals,
                  std::vector<double>& redcost) {
  const bresk::ClpEngine* e = bresk::clpEngine();
  return e && e->fixedLpDuals(p, x, duals, redcost);
}

}  // namespace brmip
