// Internal records of the BRESK library, shared by its source files: the
// environment and model records, the parameter table, the instruction words,
// the analysed row structure, the solve state, the progress snapshot read by
// callback queries, and the row evaluator used by every backend.
#ifndef BRESK_INTERNAL_H
#define BRESK_INTERNAL_H

#include "bresk/bresk.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

class ClpSimplex;

namespace bresk {

// ---------------------------------------------------------------- constants

constexpr double kInf = 1e30;        // |v| >= kInf is infinite; infinite outputs are +-kInf
constexpr double kTiny = 1e-30;      // divisor / log argument / power base counted as zero
constexpr double kBigNum = 1e307;    // largest magnitude the program sends
constexpr double kNoStartMarker = 1.2345678806304932;  // start value meaning "keep load-time start"

// Normalises an input bound or value: |v| >= 1e30 becomes +-1e30.
inline double clamp_inf(double v) { return v >= kInf ? kInf : (v <= -kInf ? -kInf : v); }
inline bool is_inf(double v) { return v >= kInf || v <= -kInf; }

// ---------------------------------------------------------------- parameters

// Parameter ids the library knows.
enum ParamId {
  P_FIXED212 = 212, P_FIXED201 = 201, P_FIXED51 = 51, P_FIXED31 = 31,
  P_FLFTOL = 54,          // primal feasibility tolerance (double)
  P_FNFTOL = 206,         // nonlinear feasibility tolerance (double)
  P_NOPTOL = 207,         // nonlinear optimality tolerance (double)
  P_RELINT = 306,         // relative integrality tolerance (double)
  P_ABSINT = 305,         // absolute integrality tolerance (double)
  P_DERIV220 = 220,       // derivative option (accepted)
  P_DERCMP = 205,         // 0 automatic differentiation, 1 forward, 3 central differences
  P_ITRLIM = 30, P_ITRLIM_NLP = 342, P_ITRLIM_MIP = 213,
  P_TIMLIM = 300, P_TIMLIM_MODEL = 52,   // seconds, -1 none
  P_CUTROOT = 317, P_CUTTREE = 318,
  P_HEURIS = 319,
  P_HURDLE = 322,         // double
  P_NOHURDLE = 323,
  P_IPTOLA = 307, P_IPTOLR = 308,         // doubles
  P_TIM2RL = 301,
  P_NODESL = 304,
  P_NSTEEP = 209, P_NCRASH = 208, P_NSLPDR = 210, P_SELCON = 211,
  P_PRBLVL = 303,
  P_REDUCE = 28,          // 2 presolve on, 0 off
  P_SCALEM = 29,
  P_BRANDR = 326, P_BRANPR = 335, P_STRONG = 324,
  P_REOPTB = 328, P_REOPTX = 327,
  P_MAXCTP = 309, P_MAXCTR = 310,
  P_RCTLIM = 311,         // double
  P_CUTMASK_ROOT = 314, P_CUTMASK_TREE = 315,
  P_MULTISTART = 221,
  P_USEQPR = 219,
  P_LINEARIZE = 214,
  P_LNBIGM = 338, P_LNDLTA = 339,         // doubles
  P_HUMNTM = 334,
  P_GLBOPT = 400, P_GLBDLT = 404, P_GLBVBD = 405,   // doubles
  P_GLBUBD = 417, P_GLBBRN = 408, P_GLBBXS = 412, P_GLBREF = 414,
  P_NLPVER = 223,
  P_DBGCLD = 552, P_DBGWRM = 553,
  P_LCRASH = 224,
  P_NOCROSS = 56,         // 1 = barrier without crossover
  P_MPIGEN = 39
};

constexpr int kMaxParamId = 600;

// One row of the parameter table.
struct ParamDef {
  int id;
  bool is_double;
  double def, lo, hi;
};

// The parameter table entry of an id, or nullptr when the id is unknown.
const ParamDef* find_param(int id);

// Parameter values indexed by id; filled with the table's defaults.
struct Params {
  double v[kMaxParamId];
  Params();
  double get(int id) const { return v[id]; }
  int geti(int id) const { return static_cast<int>(v[id]); }
};

// Checks and stores one parameter value; returns 0, 2007 or 2008.
int set_param(Params& p, int id, double value, bool from_int);

// ---------------------------------------------------------------- instruction words

// Instruction codes (1000 + k).
enum Op {
  OP_NOOP = 1000, OP_PLUS = 1001, OP_MINUS = 1002, OP_MULTIPLY = 1003, OP_DIVIDE = 1004,
  OP_POWER = 1005, OP_EQUAL = 1006, OP_NOTEQUAL = 1007, OP_LTOREQ = 1008, OP_GTOREQ = 1009,
  OP_LTHAN = 1010, OP_GTHAN = 1011, OP_AND = 1012, OP_OR = 1013, OP_NOT = 1014,
  OP_NEGATE = 1017, OP_ABS = 1018, OP_SQRT = 1019, OP_LN = 1021, OP_SIN = 1023, OP_COS = 1024,
  OP_TAN = 1025, OP_EXP = 1030, OP_MOD = 1031, OP_IF = 1034, OP_PSN = 1035, OP_PSL = 1036,
  OP_LGM = 1037, OP_SIGN = 1038, OP_FLOOR = 1039, OP_FPA = 1040, OP_FPL = 1041, OP_PEL = 1042,
  OP_PEB = 1043, OP_PPS = 1044, OP_PPL = 1045, OP_PTD = 1046, OP_PCX = 1047, OP_WRAP = 1048,
  OP_PBN = 1049, OP_PFS = 1050, OP_PFD = 1051, OP_PHG = 1052, OP_RAND = 1053, OP_USER = 1054,
  OP_MIN = 1057, OP_MAX = 1058, OP_PUSHNUM = 1062, OP_PUSHVAR = 1063, OP_MARKER = 1070,
  OP_PUSHNUM2 = 1074, OP_PUSHVAR2 = 1075, OP_SQR = 1077
};

// One decoded instruction of a row's tape.  Operands of node k are earlier
// nodes listed in Model::kids[kid .. kid + nkid).
struct Node {
  int32_t op;     // Op code (aliases mapped to OP_PUSHNUM / OP_PUSHVAR)
  int32_t nkid;   // number of operands
  int32_t kid;    // first operand slot in kids
  int32_t var;    // variable of PUSHVAR
  double val;     // constant of PUSHNUM
};
// For PUSHVAR nodes kid holds the variable's position in the row's variable
// list (row_var), or -1 when the variable drops out of the row's gradient.

// ---------------------------------------------------------------- rows

enum RowKind : uint8_t { ROW_LINEAR = 0, ROW_QUADRATIC = 1, ROW_NONLINEAR = 2 };

// Nonlinearity codes of a row (shown as its flag).
enum NlCode : uint8_t { NL_NONE = 0, NL_QUAD = 1, NL_SMOOTH = 2, NL_NONSMOOTH = 3, NL_USER = 4 };

// One row: g(x) = constant + lin·x [+ ½xᵀQx] [+ nonlinear part].  Index ranges
// point into the model's flat arrays.
struct Row {
  double constant = 0.0;      // rhs = -constant
  double common = 0.0;        // the coefficient of every entry when has_common (see val_shift)
  int64_t word_begin = 0, word_end = 0;  // the row's instruction words as loaded, packed; none
                                         // for a row read in one linear pass (its data say it)
  int32_t lin_begin = 0, lin_end = 0;    // linear entries (sorted by column, merged, nonzero)
  // Entry k's coefficient is lin_val[k - val_shift], or common for a row whose entries all
  // have one coefficient (a sum of variables): such a row keeps no values (see lin_coef).
  int32_t val_shift = 0;
  int32_t quad_begin = 0, quad_end = 0;  // quadratic terms (i >= j), ½xᵀQx convention
  int32_t nl_begin = 0, nl_end = 0;      // variables in the nonlinear part (sorted)
  int32_t var_begin = 0, var_end = 0;    // every variable of the row (sorted): gradient layout
  int32_t node_begin = 0, node_end = 0;  // tape (root = node_end - 1); empty when built from data
  char type = 'E';            // 'L' g <= 0, 'G' g >= 0, 'E' g = 0; 'N' objective
  // The flags share one byte: a model of millions of rows keeps one Row each.
  uint8_t kind : 2 = ROW_LINEAR;
  uint8_t nlcode : 3 = NL_NONE;
  bool has_common : 1 = false;
  bool vars_lin : 1 = false;  // the layout is the row's linear entries (lin_col), not kept twice
};
static_assert(sizeof(Row) <= 80, "a Row is kept per row of the model: keep it small");

// Appends n instruction words to the model's packed words: each word w as the zigzag
// varint of w - 1000, so an operation takes one byte and a variable or constant number of
// a large model two or three.
void pack_words(BRmodel* m, const int32_t* w, int n);
// The instruction words of a row, unpacked into out.
void unpack_words(const BRmodel* m, const Row& r, std::vector<int32_t>& out);

// ---------------------------------------------------------------- solve state

// Results of the last solve, in the library's sign conventions.
struct Result {
  int status = BR_UNLOADED;      // model status 1..14
  int solstatus = BR_UNLOADED;   // 13 when no solution vectors
  bool has_primal = false, has_dual = false;
  std::vector<double> x, slack, dual, redcost;
  double obj = 0.0, bound = 0.0;
  int simplex_iters = 0, barrier_iters = 0, nlp_iters = 0;
  // Integer solve.
  bool has_mip = false;
  int mip_status = BR_UNKNOWN;
  std::vector<double> mipx, mipslack;
  double mip_obj = 0.0, mip_bound = 0.0;
  int lps = 0, nodes = 0, active = 0, cuts = 0, solutions = 0;
  double seconds = 0.0;
  // IIS / IUS.
  int iis_candidates = 0, iis_lps = 0;
  bool has_iis = false, has_ius = false;
  std::vector<int> iis_rows, iis_vars, iis_bndtype;   // sufficient members first
  int iis_sufrows = 0, iis_sufbnds = 0;               // IUS: iis_vars and iis_sufbnds
};

// Snapshot read by the callback information calls.
struct Progress {
  // Linear / nonlinear log (locations 0-4): items 1251-1254, 1259-1261.
  double primal_obj = 0.0, dual_obj = 0.0, primal_inf = 0.0, dual_inf = 0.0;
  int simplex_iters = 0, barrier_iters = 0, nlp_iters = 0;
  // Quick information 1700-1708.
  double q_obj = 0.0, q_inf = 0.0, q_best = 0.0, q_bound = 0.0;
  int q_iters = 0, q_status = BR_UNKNOWN, q_steps = 0, q_active = 0;
  // Integer log 1300-1312.
  int mip_status = BR_UNKNOWN;
  double mip_best = 0.0, mip_bound = 0.0;
  int mip_simplex = 0, mip_barrier = 0, mip_nlp = 0, mip_progress = 0, mip_event = 0;
  int mip_lps = 0, mip_nodes = 0, mip_kind = 0, mip_active = 0, mip_cuts = 0;
  // Load 1800-1804.
  double load_seconds = 0.0;
  int load_rows = 0, load_vars = 0, load_words = 0, load_nlrows = 0;
};

// State of an open row-wise load.
struct RowWise {
  bool open = false;
  int ncons = 0, nobj = 0;       // announced counts
  int got_cons = 0, got_obj = 0; // rows received (kept or refused)
};

} // namespace bresk

// ---------------------------------------------------------------- records

struct BRenv {
  bresk::Params params;
  std::vector<BRmodel*> models;
};

namespace bresk {
// Maps / unmaps the zeroed pages of a large array (nullptr when they cannot be had); the
// mapping starts on a 2 MiB boundary, so only its last part short of a whole large page is
// left to small pages.
void* big_map(size_t bytes);
void big_unmap(void* p, size_t bytes);
// Allocator of the model's large flat arrays: from 4 MiB on, an array is mapped on its own
// with large pages where the system offers them, since a big model writes it in one long
// run and each small page first touched costs a fault.
template <class T>
struct BigAlloc {
  using value_type = T;
  BigAlloc() = default;
  template <class U>
  BigAlloc(const BigAlloc<U>&) {}
  static constexpr size_t kMapFrom = size_t{4} << 20;
  static size_t mapped_bytes(size_t n) { return (n * sizeof(T) + 4095) / 4096 * 4096; }
  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    if (n * sizeof(T) < kMapFrom) return std::allocator<T>().allocate(n);
    void* p = big_map(mapped_bytes(n));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kMapFrom) std::allocator<T>().deallocate(p, n);
    else big_unmap(p, mapped_bytes(n));
  }
  template <class U>
  bool operator==(const BigAlloc<U>&) const { return true; }
  template <class U>
  bool operator!=(const BigAlloc<U>&) const { return false; }
};
template <class T>
using BigVec = std::vector<T, BigAlloc<T>>;
// Gives back the room an array reserved and did not fill, when the array is held in the
// heap: there its tail stays out of reach of the blocks that follow for as long as the
// array lives. A mapped array's untouched tail costs nothing and is kept.
template <class T>
void fit_heap_array(BigVec<T>& v) {
  if (v.capacity() > v.size() && v.capacity() * sizeof(T) < BigAlloc<T>::kMapFrom) v.shrink_to_fit();
}
}  // namespace bresk

namespace bresk {
// Per-variable reals that a large model often has alike for every variable (bounds, starts):
// kept as one value until some entry differs, then as one value per variable.
class VarReals {
 public:
  size_t size() const { return n_; }
  bool uniform() const { return v_.empty(); }
  double operator[](size_t j) const { return v_.empty() ? fill_ : v_[j]; }
  void assign(size_t n, double v) {
    n_ = n;
    fill_ = v;
    v_.clear();
    v_.shrink_to_fit();
  }
  void assign(const std::vector<double>& v) {
    assign(v.size(), v.empty() ? 0.0 : v[0]);
    for (size_t j = 1; j < v.size(); ++j) set(j, v[j]);
  }
  // Sets entry j; the first entry that differs from the common value spreads it out.
  void set(size_t j, double v) {
    if (v_.empty()) {
      if (std::memcmp(&v, &fill_, sizeof v) == 0) return;
      v_.assign(n_, fill_);
    }
    v_[j] = v;
  }
  std::vector<double> vec() const { return v_.empty() ? std::vector<double>(n_, fill_) : v_; }
  void clear() { assign(0, 0.0); }

 private:
  size_t n_ = 0;
  double fill_ = 0.0;
  std::vector<double> v_;
};
}  // namespace bresk

struct BRmodel {
  BRenv* env = nullptr;
  bresk::Params params;

  // Variables.
  int nvars = 0;
  std::vector<char> vtype;                // 'C', 'B', 'I'
  bresk::VarReals lb, ub;                 // bounds normalised to +-1e30
  bresk::VarReals start;                  // start values
  // Rows: constraints 0..ncons-1 and the objective.
  int ncons = 0;
  int sense = 1;                          // -1 maximise, +1 minimise
  std::vector<bresk::Row> rows;
  bresk::Row obj;
  // Flat arrays the rows point into.
  bresk::BigVec<int32_t> lin_col;  bresk::BigVec<double> lin_val;
  std::vector<int32_t> quad_i, quad_j; std::vector<double> quad_q;
  std::vector<int32_t> nl_var;
  bresk::BigVec<int32_t> row_var;
  std::vector<bresk::Node> nodes;
  std::vector<int32_t> kids;
  bresk::BigVec<uint8_t> words;           // every row's instruction words, packed (pack_words)
  int64_t nwords = 0;                     // instruction words loaded
  bresk::BigVec<double> pool;             // constant pool
  bool loaded = false;

  // Names (empty = default names).
  std::string title, objname, rhsname, rngname, bndname;
  std::vector<std::string> rownames, varnames;

  // Solve state.
  bresk::Result res;
  ClpSimplex* clp = nullptr;              // last linear solve, kept for ranging
  bresk::Progress prog;
  int error_row = -1;                     // last failing row (-1 objective)
  bool error_row_set = false;

  // Callbacks.
  BRcallback callback = nullptr;
  void* cbdata = nullptr;
  BRusercalc usercalc = nullptr;
  void* userdata = nullptr;
  bool in_callback = false;
  std::chrono::steady_clock::time_point t0;   // start of the current load or solve

  // Files.
  int file_line = 0;
  std::string file_text;
  std::string last_message;               // captured package message

  // Row-wise load.
  bresk::RowWise rowwise;

  // Evaluation scratch (values and adjoints per tape node).
  std::vector<double> ev_val, ev_adj;
  unsigned rand_state = 0;

  // Counts of the loaded model (BRgetDimensions order), kept once computed;
  // every change of the rows clears dims_ok.
  int dims[8] = {};
  bool dims_ok = false;
};

namespace bresk {

// ---------------------------------------------------------------- model helpers

// The variables of a row's gradient layout: element k - var_begin for k in [var_begin, var_end).
inline const int32_t* row_vars(const BRmodel* m, const Row& r) {
  return (r.vars_lin ? m->lin_col.data() : m->row_var.data()) + r.var_begin;
}

// The coefficient of linear entry k of row r.
inline double lin_coef(const BRmodel* m, const Row& r, int k) {
  return r.has_common ? r.common : m->lin_val[static_cast<size_t>(k - r.val_shift)];
}

// Row r of the model: r = -1 the objective, 0..ncons-1 a constraint.
inline const Row& row_of(const BRmodel* m, int r) { return r < 0 ? m->obj : m->rows[r]; }
inline double rhs_of(const Row& r) { return -r.constant; }

// Clears every loaded item and the solve state of a model (parameters and callbacks stay).
void clear_model(BRmodel* m);
// Clears the solve state (results, kept backend objects, progress).
void clear_result(BRmodel* m);
// Deletes the simplex model kept for ranging, if any.
void release_clp(BRmodel* m);
// The model's counts: variables, constraints, linear constraint entries,
// nonlinear constraint entries, quadratic terms, nonlinear objective entries,
// integer variables, nonlinear rows.
const int* model_dims(BRmodel* m);

// Value of parameter id for the model.
inline double par(const BRmodel* m, int id) { return m->params.get(id); }
inline int ipar(const BRmodel* m, int id) { return m->params.geti(id); }

// Seconds since m->t0.
double elapsed(const BRmodel* m);
// Time limit in seconds from the parameters, or a negative value for none.
double time_limit(const BRmodel* m);
// Iteration limit for the linear (30), nonlinear (342) or integer (213) solvers.
int iteration_limit(const BRmodel* m, int id);

// Calls the installed progress callback at a location; true when it asks to stop.
// While it runs, every call but the information queries returns 2020.
bool call_back(BRmodel* m, int location);

// ---------------------------------------------------------------- evaluation

// Value of row r (-1 objective) at x.  False on an arithmetic failure; the
// failing row is then recorded for BRgetErrorRowIndex.
bool eval_row(BRmodel* m, int r, const double* x, double* value);
// Value and gradient of row r at x; grad[k] belongs to variable
// m->row_var[row.var_begin + k].  Honours the derivative mode (parameter 205).
bool eval_grad(BRmodel* m, int r, const double* x, double* value, double* grad);
// Slacks (-g_i(x) per constraint) at x; false when a row fails.
bool eval_slacks(BRmodel* m, const double* x, double* slack);

// Column-wise linear data of the constraint rows, ready for a simplex solver.
struct LpArrays {
  std::vector<int> colstart;      // ncols + 1 entries (CoinBigIndex-compatible int)
  std::vector<int> rowidx;
  std::vector<double> value;
  std::vector<double> collb, colub, cost, rowlb, rowub;   // infinities as +-COIN_DBL_MAX
  double objconst = 0.0;
};
// Fills the arrays from the linear parts of the rows (quadratic and nonlinear parts left out).
void lp_arrays(const BRmodel* m, LpArrays& a);
// Checks of a linear solve's outcome against the arrays, one pass over the matrix each.
// The point meets every bound and row within the feasibility tolerance.
bool lp_point_feasible(const LpArrays& a, const double* x);
// The row vector (either sign) proves that no point meets the rows and bounds.
bool lp_farkas_holds(const LpArrays& a, const double* ray);
// The column direction keeps every row and bound and lowers sense * c'x without end.
bool lp_unbounded_ray_holds(const LpArrays& a, const double* ray, double sense);
// The columns in no row whose cost improves without a bound in that direction: with any
// feasible point they make the model unbounded.
std::vector<int> lp_runaway_columns(const LpArrays& a, double sense);
// Whether Clp's presolve may run on the matrix without taking time that grows as the
// square of a column's length.
bool presolve_fits(const LpArrays& a);
// The length of the matrix's longest row, and whether that row, when dense, has a large
// group of columns at one ratio of cost to coefficient.
struct LpShape {
  int longest = 0;
  bool tied = false;
};
LpShape lp_shape(const LpArrays& a);
// True when a row that long calls for the dual simplex without the duplicate-column pass.
bool dense_row(int longest);
// Large groups of identical columns of a linear model merged into one column each.
struct Twins {
  std::vector<int> to;  // the merged column of each of the model's columns
  LpArrays merged;      // the arrays with each group as one column
};
bool merge_twin_columns(const LpArrays& a, Twins& t);
// The model's own columns (arrays a) at the outcome of the merged solve s.
std::unique_ptr<ClpSimplex> spread_twin_columns(const ClpSimplex& s, const LpArrays& a,
                                                const Twins& t);
// Settles a model that no solver should be given by recording its outcome, without a solve;
// true when it did. A bound or right-hand side at the library's infinity that no point can
// meet makes it infeasible; a coefficient of 1e25 or more, or (for an integer solve, mip) an
// integer variable bounded there, is a numerical error in its row (-1 the objective, -2 none).
// The simplex codes stop the program on such data, and no solver gives it a meaning.
bool settled_without_solve(BRmodel* m, bool mip);

// True when row r's quadratic part is convex in the sense the row needs
// (objective: convex for min, concave for max; 'L' convex; 'G' concave; 'E'
// only when it has no quadratic terms).  Nonlinear rows give false.
bool row_is_convex(const BRmodel* m, int r);
// The variables of v and of the row's quadratic terms, ascending, each once.
std::vector<int> quad_row_vars(const BRmodel* m, const Row& row, std::vector<int> v = {});

// ---------------------------------------------------------------- model class

// True when every row (objective included) is linear.
bool model_is_linear(const BRmodel* m);
// True when the model has integer ('B' or 'I') variables.
bool model_has_integers(const BRmodel* m);
// True when no row is nonlinear beyond recognised quadratic terms.
bool model_is_quadratic(const BRmodel* m);

// ---------------------------------------------------------------- backends
//
// Entry points by file: env.cpp lifecycle and parameters; load*.cpp and
// eval*.cpp instruction lists, row-wise loads and evaluation; optimize.cpp
// BRoptimize; lp*.cpp Clp (solutions, ranges); info*.cpp status, information
// items and callback queries; data*.cpp model data out; mps*.cpp and write*.cpp
// files. mip*.cpp BRsolveMIP and the MIP solution calls; nlp*.cpp Ipopt and
// BRgetNLPRanges; minlp*.cpp Bonmin; gop*.cpp BRsolveGOP; iis*.cpp IIS/IUS.
// clp_load.cpp maps Clp's module (clp_entry.cpp, lp.cpp, lp_twins.cpp,
// iis.cpp, nlp_ranges.cpp, mip_duals_clp.cpp, eigen.cpp) at the first call
// that needs it and passes those calls on.

// True for a linear model the library's own choice solves with the primal simplex.
bool wide_model(int ncols, int nrows, int longest);
// Solves a linear or convex quadratic continuous model with Clp; 0, an
// interrupt code (2016, 2017, 2023) or a failure code.  Fills m->res.
int solve_lp(BRmodel* m, int method);
// Solves a continuous nonlinear model with Ipopt from `starts` start points
// (1 = one local solve from the given start); same results as solve_lp.
int solve_nlp(BRmodel* m, int starts);

// Runs f() as one library entry point: checks the handle and the callback
// guard, and turns exceptions into 2004 (memory) or 2022.
template <class F>
int api_call(BRmodel* m, bool info_query, F f) {
  if (!m) return BRERR_BAD_HANDLE;
  if (m->in_callback && !info_query) return BRERR_IN_CALLBACK;
  try {
    return f();
  } catch (const std::bad_alloc&) {
    return BRERR_NO_MEMORY;
  } catch (...) {
    return BRERR_INTERNAL;
  }
}

} // namespace bresk

#endif
