// The entry of Clp's module (libbresk_clp.so), looked up by the library after loading it.
#include "bresk/modules.h"

#include <coin/ClpSimplex.hpp>

namespace {

// Deletes the simplex model kept for ranging.
void releaseClp(ClpSimplex* s) { delete s; }

}  // namespace

// The module's engine table.
extern "C" const void* bresk_clp_engine() {
  static const bresk::ClpEngine e = {bresk::clp_solve_lp,   bresk::clp_objective_ranges,
                                     bresk::clp_constraint_ranges, releaseClp,
                                     bresk::clp_find_iis,   bresk::clp_find_ius,
                                     bresk::clp_nlp_ranges, brmip::clpFixedLpDuals,
                                     bresk::lapack_eigenvalues};
  return &e;
}
