// The library's engine modules: shared objects beside the library, each mapped at the first
// solve that needs its engine, so that a session maps only the packages its models use.
#ifndef BRESK_MODULES_H
#define BRESK_MODULES_H
#include "bresk/bresk.h"
#include "bresk/mip.h"

class ClpSimplex;

namespace bresk {

// Loads the module `file` from this library's own folder and returns the table that its
// extern "C" routine `entry` gives, or null when the module or the routine cannot be had.
const void* moduleTable(const char* file, const char* entry);

// GLPK's branch-and-cut: libbresk_glpk.so, entry bresk_glpk_engine.
struct GlpkEngine {
  decltype(&brmip::solveMipGlpk) solve;
};
// Cbc's branch-and-cut: libbresk_cbc.so, entry bresk_cbc_engine.
struct CbcEngine {
  decltype(&brmip::solveMipCbc) solve;
};

// Clp's linear solves and everything built on them: libbresk_clp.so, entry bresk_clp_engine.
// The module's routines (their names differ from the library's dispatchers, which take them
// through this table): the linear and convex quadratic solve, the two rangings on the kept
// basis, its release, the infeasible and unbounded sets, the ranges of a nonlinear optimum,
// the duals at an integer point and the eigenvalues of a symmetric matrix.
struct ClpEngine {
  int (*solve)(BRmodel* m, int method);
  int (*objectiveRanges)(BRmodel* m, double* dec, double* inc);
  int (*constraintRanges)(BRmodel* m, double* dec, double* inc);
  void (*release)(ClpSimplex* s);
  int (*findIis)(BRmodel* m, int level);
  int (*findIus)(BRmodel* m);
  int (*nlpRanges)(BRmodel* m, double* rowdec, double* rowinc, double* vardec, double* varinc,
                   double* x1, double* x2);
  decltype(&brmip::fixedLpDuals) fixedLpDuals;
  int (*eigenvalues)(int n, double* h, double* w);
};
// Clp's module, loaded at the first call that needs it; null when it cannot be loaded.
const ClpEngine* clpEngine();

// In the module.
int clp_solve_lp(BRmodel* m, int method);
int clp_objective_ranges(BRmodel* m, double* dec, double* inc);
int clp_constraint_ranges(BRmodel* m, double* dec, double* inc);
int clp_find_iis(BRmodel* m, int level);
int clp_find_ius(BRmodel* m);
int clp_nlp_ranges(BRmodel* m, double* rowdec, double* rowinc, double* vardec, double* varinc,
                   double* x1, double* x2);
// The eigenvalues of the symmetric n x n matrix h (its lower triangle read, h overwritten)
// into w, ascending; LAPACK's info (0 when they were found).
int lapack_eigenvalues(int n, double* h, double* w);

}  // namespace bresk

namespace brmip {
// In the module: the duals at an integer point by Clp's dual simplex.
bool clpFixedLpDuals(const LinearProblem& p, const std::vector<double>& x, std::vector<double>& duals,
                     std::vector<double>& redcost);
}  // namespace brmip
#endif
