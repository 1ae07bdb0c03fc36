// Nonlinear, integer-nonlinear and global solving: the pieces the solver files share.
#ifndef BRESK_NLP_H
#define BRESK_NLP_H
#include "bresk/internal.h"
#include "bresk/mip.h"

#include <vector>

namespace bresk {

// Sends the process's standard error to /dev/null while a package that may print there runs.
class StderrMute {
 public:
  StderrMute();
  ~StderrMute();
  StderrMute(const StderrMute&) = delete;
  StderrMute& operator=(const StderrMute&) = delete;

 private:
  int saved_ = -1;
};

// Evaluation of a loaded model for the interior-point and branch-and-bound codes: sizes,
// sparsity, bounds (with optional overrides) and values in the minimising sense.
class NlpCore {
 public:
  // skipEmpty leaves out rows without variables (the caller has checked them).
  explicit NlpCore(BRmodel* m, bool skipEmpty = false);
  BRmodel* model() const { return m_; }
  int modelRow(int i) const { return rows_[i]; }
  bool exactHessian() const { return exact_; }
  std::vector<double> lb, ub;            // variable bounds used by the solve (user may narrow)
  // Sizes as the interior-point code asks for them (no Hessian entries without exact Hessian).
  void sizes(int& n, int& m, int& nnzJac, int& nnzHess) const;
  // Variable bounds (lb, ub) and row bounds, infinite ones in the interior-point code's terms.
  void bounds(double* xl, double* xu, double* gl, double* gu) const;
  bool f(const double* x, double& v);          // sense * objective
  bool gradF(const double* x, double* g);      // dense gradient of sense * objective
  bool g(const double* x, double* v);          // constraint values
  // Jacobian of the rows: its pattern into r, c when v is null, else its values at x.
  bool jacobian(const double* x, int* r, int* c, double* v);
  // Hessian of the Lagrangian, likewise pattern or values; false without exact Hessian.
  bool hessian(double sigma, const double* lambda, int* r, int* c, double* v) const;
  // Largest violation of rows and bounds at x (user's rows), or +inf when a row fails.
  double violation(const double* x);
  // Largest component of the gradient of the Lagrangian at x with the interior-point code's
  // row multipliers lambda and bound multipliers zl, zu (minimising sense, unscaled), each
  // relative to the largest of its terms and 1; +inf when a row fails.
  double stationarity(const double* x, const double* lambda, const double* zl, const double* zu);
  // A row (-1 the objective) whose value has reached the program's overflow value: the last
  // one met, and whether one was met since the flag was last cleared. Such a value is an
  // evaluation failure for the solver.
  int overflowRow = -2;
  bool overflowSeen = false;

 private:
  BRmodel* m_;
  int n_, nrows_;
  std::vector<int> rows_;                 // model row of each row given to the solver
  std::vector<int> jrow_, jcol_;
  std::vector<double> grad_;
  bool exact_ = false;
  std::vector<int> hi_, hj_;
  std::vector<std::vector<std::pair<int, double>>> hterms_;   // objective, then rows_: slot, q
};

// Outcome of one local nonlinear solve, in the library's conventions.
struct NlpOutcome {
  int status = BR_UNKNOWN;
  int code = 0;
  bool feasible = false;
  std::vector<double> x, dual, redcost;
  double obj = 0.0, violation = 1e30;
  int iterations = 0;
  bool stationary = false;   // the gradient of the Lagrangian vanishes at x (checked)
  bool overflow = false;     // the run was ended because its rows stayed at overflow
};

// Bounds are infinite from the library's own infinity on, for Ipopt too (its default takes
// 1e19 and beyond as none, which made a bound of 1e20 finite to the library and to the
// multistart sampling but not to the local solve).
constexpr double kIpInf = kInf;
constexpr double kRunaway = 1e20;  // a feasible objective past this in the improving direction: unbounded
// Iterations in a row whose steps meet a row at overflow before the run ends as a numerical error.
constexpr int kOverflowIters = 10;
// Largest relative component of the gradient of the Lagrangian at a confirmed local optimum.
constexpr double kStationaryTol = 1e-5;

// The nonlinear engines (Ipopt, Bonmin) live in a module of their own, libbresk_nl.so beside
// this library, mapped at the first nonlinear solve: a linear session never loads them.
struct NlEngines {
  void (*ipopt)(NlpCore& core, const std::vector<double>& x0, int location, NlpOutcome& out);
  int (*bonmin)(BRmodel* m, int resolves);
};
// The engines' entry table, the module loaded at the first call; null when it cannot be loaded.
const NlEngines* nlEngines();
// In the module: one Ipopt run from x0 (nl_engines.cpp), one Bonmin solve (minlp_bonmin.cpp).
void ipoptRun(NlpCore& core, const std::vector<double>& x0, int location, NlpOutcome& out);
int bonminSolve(BRmodel* m, int resolves);

// One Ipopt run from x0 with the core's bounds; location = callback location for progress.
void runIpopt(NlpCore& core, const std::vector<double>& x0, int location, NlpOutcome& out);

// The model's start point projected into the bounds.
std::vector<double> startPoint(const BRmodel* m, const std::vector<double>& lb, const std::vector<double>& ub);

// Start k (k >= 1) of a seeded, stratified multistart sample in the box of the bounds.
void samplePoint(const BRmodel* m, int k, int count, const std::vector<double>& x0, std::vector<double>& x);

// True when every row is linear.
bool modelIsLinear(const BRmodel* m);
// True when every row is linear or a quadratic the row's sense makes convex.
bool modelIsConvex(const BRmodel* m);
// True when the model has integer or binary variables.
bool modelHasIntegers(const BRmodel* m);

// Solves a continuous nonlinear model: `starts` local solves (the first from the start point);
// fills the model's result and returns 0 or a stop code.
int solve_nlp(BRmodel* m, int starts);
// Duals and reduced costs of the model with its integer variables fixed at x (local solve).
bool fixedNlpDuals(BRmodel* m, const std::vector<double>& x, std::vector<double>& duals,
                   std::vector<double>& redcost);
// Solves an integer model with nonlinear parts on Bonmin; returns 0 or a stop code.
int solveMinlp(BRmodel* m, int resolves);
// Solves a linear or convex quadratic continuous model with Clp (the linear path).
int solve_lp(BRmodel* m, int method);
// Solves a linear integer model on Cbc; returns 0 or a stop code.
int solveMipLinear(BRmodel* m);
// The linear model as arrays for the simplex-based codes.
void linearProblem(const BRmodel* m, brmip::LinearProblem& p);
// Stores a finished integer solve into the model's result.
void storeMipResult(BRmodel* m, int status, const std::vector<double>& x, double obj, double bound);

}  // namespace bresk
#endif
