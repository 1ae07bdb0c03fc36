// Integer solving on Cbc and the linear-problem view shared by the MIP, IIS and dual re-solves.
#ifndef BRESK_MIP_H
#define BRESK_MIP_H
#include <functional>
#include <vector>

namespace brmip {

// A linear model, column-wise, in the user's objective sense; infinite bounds are +-1e30 or beyond.
struct LinearProblem {
  int ncols = 0, nrows = 0;
  std::vector<int> start, index;        // start has ncols + 1 entries
  std::vector<double> value;
  std::vector<double> collb, colub, cost;
  std::vector<double> rowlb, rowub;     // row activity range
  std::vector<char> integer;            // 1 for an integer or binary column
  double objconst = 0.0;
  int sense = 1;                        // +1 minimise, -1 maximise
};

// Settings of one integer solve, taken from the model parameters.
struct MipSettings {
  double seconds = -1;                  // < 0: none
  long long iterations = -1;            // simplex iteration cap, < 0: none
  double absgap = 0, relgap = 0;        // stop when within these gaps
  double inttol = 1e-6, primaltol = 1e-7;
  bool hurdle = false; double hurdleValue = 0; // cutoff in the user's sense
  bool presolve = true, heuristics = true, probing = true;
  bool treeCuts = true;                 // false: cuts at the root node only
  int strong = -1;                      // strong branching candidates, -1 default
  int rootPasses = 200;                 // most cut passes at the root
  int nodeStrategy = 4;                 // 1 depth first, 3 best bound, other default
  int maxNodes = -1;                    // node cap, < 0: none
  std::vector<double> start;            // a checked integer point to start from, empty: none
};

// Progress of a running integer solve, in the user's sense.
struct MipProgress {
  int status = 12;                      // 5 with an incumbent, else 12
  double best = 1e30, bound = -1e30;
  long long iterations = 0;
  int nodes = 0, active = 0, cuts = 0, lps = 0, solutions = 0;
  int event = 2;                        // 1 new incumbent, 2 node, 11 root cut passes done
  int kind = 0;                         // kind of the new incumbent
  double seconds = 0;
};

// Result of an integer solve; code 0, 2016 (stopped), 2017 (time), 2023 (iterations) or 2022.
struct MipResult {
  int status = 12;
  int code = 0;
  std::vector<double> x;
  double objective = 0, bound = 0;
  MipProgress last;
};

// Called on every solver event; returns true to stop the solve.
using MipCallback = std::function<bool(const MipProgress&)>;

// Solves a linear integer model with Cbc.
void solveMipCbc(const LinearProblem& p, const MipSettings& s, const MipCallback& cb, MipResult& r);

// Solves a linear integer model with GLPK's branch-and-cut while its simplex iterations and nodes
// stay within budget and nodeBudget. True when that settles the solve: a proven optimum (its point checked against the bounds,
// rows and integrality), a proven infeasibility, or a stop by the callback or a limit of s. False
// when the model is left to Cbc; r.last then holds the work spent, and r.x the best point found
// when it passed the same check (empty otherwise).
bool solveMipGlpk(const LinearProblem& p, const MipSettings& s, const MipCallback& cb, long long budget,
                  int nodeBudget, MipResult& r);

// Solves the LP with every integer column fixed at x; fills duals (library sign) and reduced costs.
// Returns false when the fixed LP has no optimal solution.
bool fixedLpDuals(const LinearProblem& p, const std::vector<double>& x, std::vector<double>& duals,
                  std::vector<double>& redcost);
// The same without Clp for a problem whose continuous columns, if any, cost nothing: true, with
// the values Clp gives, when the point (its integer columns rounded) meets every row and bound
// with a clear margin; false when that is not certain (the values are then untouched).
bool integerPointDuals(const LinearProblem& p, const std::vector<double>& x, std::vector<double>& duals,
                       std::vector<double>& redcost);

}  // namespace brmip
#endif
