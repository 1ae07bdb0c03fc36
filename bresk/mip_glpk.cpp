// Linear integer models on GLPK's branch-and-cut under a budget of simplex iterations.
#include "bresk/mip.h"

#include <coin/CoinTime.hpp>
#include <glpk.h>

#include <algorithm>
#include <csetjmp>
#include <cmath>

namespace brmip {
namespace {

// Why the search was stopped from its callback.
enum class Stop { none, budget, root, caller, seconds, iterations, gap };

// State shared with GLPK's callback.
struct GlpkState {
  const LinearProblem* p = nullptr;
  const MipSettings* s = nullptr;
  const MipCallback* cb = nullptr;
  long long budget = 0;           // most simplex iterations, all stages together
  int nodeBudget = 0;             // most nodes, all stages together
  long long stageBudget = 0;      // most simplex iterations by the end of this stage
  int stageNodes = 0;             // most nodes by the end of this stage
  long long doneIterations = 0;   // spent by the stages before this one
  int doneNodes = 0;
  bool plain = false;             // this stage is the plain search
  double stallBound = 0;          // the plain search's best bound since it had an incumbent ...
  long long stallFrom = -1;       // ... and the iteration count when it was reached (-1: none yet)
  double t0 = 0;
  Stop stop = Stop::none;
  MipProgress prog;
  bool reported = false;          // an incumbent has been reported as found
  double reportedBest = 0;        // ... with this objective
  std::vector<double> start;      // a checked point offered to the search at its first node (1-based)
  glp_iocp* io = nullptr;         // the settings GLPK searches with, read by it at each node
  bool rootMir = false;           // rounding cuts at the root only
  double roundBound = 0;          // the root LP's bound at the last round of cuts ...
  int flatRounds = -1;            // ... and the rounds since it last rose (-1: no round yet)
  bool rootCutsHeld = false;      // the cuts are held back for the rest of the root ...
  int heldGmi = 0, heldMir = 0, heldClq = 0;  // ... and come back at the nodes as they were
  std::jmp_buf escape;            // where a fault inside GLPK returns to
};

// GLPK's error hook: a fault inside the library abandons its solve instead of ending the program.
void onGlpkFault(void* info) { std::longjmp(static_cast<GlpkState*>(info)->escape, 1); }

// True when GLPK can take the problem as it stands: finite entries and bounds, row indices in
// range and none twice in a column (which GLPK would reject by ending the program).
bool glpkCanLoad(const LinearProblem& p) {
  std::vector<int> seen(p.nrows, -1);
  for (int j = 0; j < p.ncols; j++) {
    if (std::isnan(p.collb[j]) || std::isnan(p.colub[j]) || !std::isfinite(p.cost[j])) return false;
    for (int k = p.start[j]; k < p.start[j + 1]; k++) {
      int i = p.index[k];
      if (i < 0 || i >= p.nrows || seen[i] == j || !std::isfinite(p.value[k])) return false;
      seen[i] = j;
    }
  }
  for (int i = 0; i < p.nrows; i++)
    if (std::isnan(p.rowlb[i]) || std::isnan(p.rowub[i])) return false;
  return std::isfinite(p.objconst);
}

// Bounds lo..hi (+-1e30 or beyond: none) as GLPK's bound type.
int boundType(double lo, double hi) {
  bool l = lo > -1e30, u = hi < 1e30;
  if (l && u) return lo == hi ? GLP_FX : GLP_DB;
  return l ? GLP_LO : u ? GLP_UP : GLP_FR;
}

// Loads the problem into a GLPK problem object; the objective constant is its constant term.
void loadGlpk(glp_prob* g, const LinearProblem& p) {
  glp_set_obj_dir(g, p.sense < 0 ? GLP_MAX : GLP_MIN);
  glp_set_obj_coef(g, 0, p.objconst);
  if (p.nrows > 0) glp_add_rows(g, p.nrows);
  for (int i = 0; i < p.nrows; i++) glp_set_row_bnds(g, i + 1, boundType(p.rowlb[i], p.rowub[i]), p.rowlb[i], p.rowub[i]);
  glp_add_cols(g, p.ncols);
  std::vector<int> ind;
  std::vector<double> val;
  for (int j = 0; j < p.ncols; j++) {
    glp_set_col_bnds(g, j + 1, boundType(p.collb[j], p.colub[j]), p.collb[j], p.colub[j]);
    glp_set_obj_coef(g, j + 1, p.cost[j]);
    if (p.integer[j]) glp_set_col_kind(g, j + 1, GLP_IV);
    // GLPK's arrays are 1-based: element 0 is unused.
    ind.assign(1, 0);
    val.assign(1, 0.0);
    for (int k = p.start[j]; k < p.start[j + 1]; k++) {
      if (p.value[k] == 0.0) continue;
      ind.push_back(p.index[k] + 1);
      val.push_back(p.value[k]);
    }
    glp_set_mat_col(g, j + 1, static_cast<int>(ind.size()) - 1, ind.data(), val.data());
  }
}

// Fills the progress counts from the search tree.
void readProgress(glp_tree* t, GlpkState& st) {
  glp_prob* g = glp_ios_get_prob(t);
  MipProgress& q = st.prog;
  int active = 0, current = 0, total = 0;
  glp_ios_tree_size(t, &active, &current, &total);
  q.active = active;
  q.nodes = st.doneNodes + total - current;        // nodes taken off the tree
  q.lps = q.nodes + 1;
  q.iterations = st.doneIterations + glp_get_it_cnt(g);
  // A later run's incumbent counts once it improves on an earlier run's.
  if (glp_mip_status(g) == GLP_FEAS &&
      (q.status != 5 || (glp_mip_obj_val(g) - q.best) * st.p->sense < 0)) {
    q.status = 5;
    q.best = glp_mip_obj_val(g);
  }
  int best = glp_ios_best_node(t);
  if (best) q.bound = glp_ios_node_bound(t, best);
}

// Marks an incumbent better than the last reported as found (event 1); true when there is one.
bool newIncumbent(GlpkState& st) {
  MipProgress& q = st.prog;
  if (q.status != 5 || (st.reported && (q.best - st.reportedBest) * st.p->sense >= 0)) return false;
  st.reported = true;
  st.reportedBest = q.best;
  q.solutions++;
  q.event = 1;
  q.kind = 1;
  return true;
}

// Simplex iterations the plain search may spend holding an incumbent without raising its
// bound before the search with cuts takes over. Such a search is walking a level plateau of
// the relaxation that only cuts lift: on the generalised assignment and graph colouring models
// of the integer benchmark the bound stands from the first nodes on, while on the knapsacks it
// moves at least every 40 iterations until the search ends.
constexpr long long kPlainStall = 100;

// True when the plain search holds an incumbent and its best bound has not improved in its
// last kPlainStall iterations.
bool plainStalled(GlpkState& st) {
  const MipProgress& q = st.prog;
  if (!st.plain || q.status != 5 || std::fabs(q.bound) >= 1e30) return false;
  if (st.stallFrom < 0 || (q.bound - st.stallBound) * st.p->sense > 1e-9 * std::max(1.0, std::fabs(q.bound))) {
    st.stallBound = q.bound;
    st.stallFrom = q.iterations;
    return false;
  }
  return q.iterations - st.stallFrom >= kPlainStall;
}

// Rounds of cuts at the root in a row that leave its bound level, after which the root takes
// no more cuts. GLPK adds rounds for as long as they find cuts: on the travelling-salesman model
// with order rows of the integer benchmark the bound stands at 292 from the third round to the
// sixth and then rises by less than a unit in four more rounds, while on the lot-sizing model
// every round raises it and on the scheduling model no two level rounds come in a row. The cuts
// at the nodes stay as they were.
constexpr int kFlatRounds = 2;

// At a round of cuts at the root: counts the rounds in a row that left the bound level, and
// holds the cuts back for the rest of the root once there are kFlatRounds of them.
void rootRound(glp_tree* t, GlpkState& st) {
  glp_prob* g = glp_ios_get_prob(t);
  double z = glp_get_obj_val(g) * (st.p->sense < 0 ? -1 : 1);
  if (st.flatRounds < 0 || z - st.roundBound > 1e-9 * std::max(1.0, std::fabs(z))) st.flatRounds = 0;
  else st.flatRounds++;
  st.roundBound = z;
  if (st.flatRounds < kFlatRounds || st.rootCutsHeld) return;
  glp_iocp& io = *st.io;
  st.heldGmi = io.gmi_cuts; st.heldMir = io.mir_cuts; st.heldClq = io.clq_cuts;
  io.gmi_cuts = io.mir_cuts = io.clq_cuts = GLP_OFF;
  st.rootCutsHeld = true;
}

// GLPK's callback: progress to the caller, and the budget, limits and stops enforced. GLPK
// does not tell of every incumbent it records, so a changed one is reported at the first
// event after it; other events are reported once per node.
void onEvent(glp_tree* t, void* info) {
  GlpkState& st = *static_cast<GlpkState*>(info);
  if (st.stop != Stop::none) return;
  // An earlier run's point prunes this search from its first node on.
  if (glp_ios_reason(t) == GLP_IHEUR && !st.start.empty()) {
    glp_ios_heur_sol(t, st.start.data());
    st.start.clear();
  }
  readProgress(t, st);
  MipProgress& q = st.prog;
  q.event = 2;
  q.kind = 0;
  // A root whose cut rounds alone take a third of the budget: there GLPK's cuts cost more
  // than Cbc's whole search (a travelling-salesman model with flow rows spends a second on
  // them), so the model goes to Cbc before the search starts.
  int curr = glp_ios_curr_node(t);
  if (curr && glp_ios_node_level(t, curr) == 0 && q.iterations - st.doneIterations > st.budget / 3) {
    st.stop = Stop::root;
    glp_ios_terminate(t);
    return;
  }
  // GLPK reads its settings through the pointer it was given while it searches: cuts held back
  // at the root come back at the nodes, and the rounding cuts end once the search leaves the root.
  if (st.rootCutsHeld && curr && glp_ios_node_level(t, curr) > 0) {
    st.io->gmi_cuts = st.heldGmi; st.io->mir_cuts = st.heldMir; st.io->clq_cuts = st.heldClq;
    st.rootCutsHeld = false;
  }
  if (st.rootMir && curr && glp_ios_node_level(t, curr) > 0) st.io->mir_cuts = GLP_OFF;
  if (glp_ios_reason(t) == GLP_ICUTGEN && curr && glp_ios_node_level(t, curr) == 0) rootRound(t, st);
  if (!newIncumbent(st) && glp_ios_reason(t) != GLP_ISELECT) return;
  // The processor time is a system call: read only for the events that report or may stop,
  // not for each of GLPK's several events per node.
  q.seconds = CoinCpuTime() - st.t0;
  const MipSettings& s = *st.s;
  if (s.iterations >= 0 && q.iterations >= s.iterations) st.stop = Stop::iterations;
  else if (s.seconds >= 0 && q.seconds > s.seconds + 0.5) st.stop = Stop::seconds;
  else if (*st.cb && (*st.cb)(q)) st.stop = Stop::caller;
  else if (q.status == 5 && std::fabs(q.bound) < 1e30 &&
           std::fabs(q.best - q.bound) <= s.absgap) st.stop = Stop::gap;
  else if (q.iterations > st.stageBudget || q.nodes > st.stageNodes || plainStalled(st)) st.stop = Stop::budget;
  if (st.stop != Stop::none) glp_ios_terminate(t);
}

// True when x (integer columns rounded) lies within the column bounds and rows, to a tolerance
// relative to each bound, and every integer column was within the integrality tolerance.
bool pointHolds(const LinearProblem& p, const MipSettings& s, const std::vector<double>& raw,
                std::vector<double>& x) {
  auto off = [](double v, double b) { return v - b > 1e-6 * std::max(1.0, std::fabs(b)); };
  x = raw;
  for (int j = 0; j < p.ncols; j++) {
    if (p.integer[j]) {
      x[j] = std::round(raw[j]);
      if (std::fabs(x[j] - raw[j]) > std::max(s.inttol, 1e-9)) return false;
    }
    if (off(p.collb[j], x[j]) || off(x[j], p.colub[j])) return false;
  }
  std::vector<double> act(p.nrows, 0.0);
  for (int j = 0; j < p.ncols; j++)
    for (int k = p.start[j]; k < p.start[j + 1]; k++) act[p.index[k]] += p.value[k] * x[j];
  for (int i = 0; i < p.nrows; i++)
    if ((p.rowlb[i] > -1e30 && off(p.rowlb[i], act[i])) || (p.rowub[i] < 1e30 && off(act[i], p.rowub[i])))
      return false;
  return true;
}

// Reads GLPK's answer after the search into r; true when it settles the solve.
bool readAnswer(glp_prob* g, int ret, const GlpkState& st, MipResult& r) {
  const LinearProblem& p = *st.p;
  int ms = glp_mip_status(g);
  bool proven = ret == 0 || ret == GLP_EMIPGAP || (ret == GLP_ESTOP && st.stop == Stop::gap);
  bool stopped = ret == GLP_ESTOP && st.stop != Stop::budget && st.stop != Stop::root && st.stop != Stop::gap;
  if (ret == 0 && ms == GLP_NOFEAS) {
    r.status = 3;                    // the whole tree searched without an integer point
    return true;
  }
  if (ms == GLP_OPT || ms == GLP_FEAS) {
    std::vector<double> raw(p.ncols);
    for (int j = 0; j < p.ncols; j++) raw[j] = glp_mip_col_val(g, j + 1);
    // A point that fails the check is not reported: Cbc solves the model instead.
    if (!pointHolds(p, *st.s, raw, r.x)) {
      r.x.clear();
      return false;
    }
    r.objective = p.objconst;
    for (int j = 0; j < p.ncols; j++) r.objective += p.cost[j] * r.x[j];
    if (proven) {
      r.status = 1;
      r.bound = r.objective;
      return true;
    }
    if (stopped) {
      r.status = 5;
      return true;
    }
    r.status = 5;                    // a checked point for Cbc to start from
    return false;
  }
  if (stopped) r.status = 12;
  return stopped;
}

// How a run of GLPK ended.
enum class Outcome { settled, handOver, fault };

// One run of GLPK's branch-and-cut on a fresh copy of the model up to the stage's budget in st,
// either with cuts or as a plain search (no cuts, best bound first, most fractional column
// branched on); the answer goes to r.
Outcome runStage(bool plain, GlpkState& st, MipResult& r) {
  const LinearProblem& p = *st.p;
  const MipSettings& s = *st.s;
  st.plain = plain;
  glp_prob* g = glp_create_prob();
  loadGlpk(g, p);
  glp_iocp io;
  glp_init_iocp(&io);
  io.msg_lev = GLP_MSG_OFF;
  // GLPK's own presolve also solves the root LP; a relaxation it finds infeasible or unbounded
  // (an error return) is left to Cbc.
  io.presolve = GLP_ON;
  // By default the next node is the one whose projected integer objective is best: on the
  // integer benchmark it halves the search of the scheduling and magic-square models and costs
  // none of the others more than a few per cent.
  io.bt_tech = s.nodeStrategy == 1 ? GLP_BT_DFS : s.nodeStrategy == 3 || plain ? GLP_BT_BLB : GLP_BT_BPH;
  if (plain) io.br_tech = GLP_BR_MFV;
  io.tol_int = std::clamp(s.inttol, 1e-9, 1e-5);
  io.mip_gap = s.relgap;
  // Gomory, mixed-integer rounding and clique cuts at the nodes.
  io.gmi_cuts = io.mir_cuts = io.clq_cuts = plain ? GLP_OFF : GLP_ON;
  // A search with cuts after a plain one leaves out the Gomory cuts: on the generalised assignment and
  // graph colouring models of the integer benchmark they cost more than the nodes they save.
  if (st.doneNodes > 0) io.gmi_cuts = GLP_OFF;
  // A model with continuous columns, searched with cuts from the start, gets its rounding cuts at
  // the root only: there they settle the lot-sizing and big-M sequencing rows, while at the
  // nodes they cost more than the nodes they save (a quarter of the instructions of the
  // scheduling and lot-sizing models of the integer benchmark). After a plain search they stay
  // at the nodes, where they save half the nodes of the generalised assignment model.
  st.io = &io;
  st.rootMir = !plain && st.doneNodes == 0;
  st.flatRounds = -1;
  st.rootCutsHeld = false;
  io.cb_func = onEvent;
  io.cb_info = &st;
  // A fault inside GLPK (its internal checks end the program otherwise) leaves the model to
  // Cbc; GLPK's memory, the problem object included, goes with its environment.
  glp_error_hook(onGlpkFault, &st);
  if (setjmp(st.escape)) {
    glp_error_hook(nullptr, nullptr);
    st.io = nullptr;
    glp_free_env();
    return Outcome::fault;
  }
  // The search with cuts runs on the model as loaded, its root LP solved here within the
  // budget: on the facility and scheduling models of the integer benchmark that takes half the
  // iterations of a search after the presolve, and an earlier run's point, in the model's own
  // columns, can be offered to it. A root LP not solved to optimality keeps the presolve.
  if (!plain) {
    glp_smcp sm;
    glp_init_smcp(&sm);
    sm.msg_lev = GLP_MSG_OFF;
    sm.it_lim = static_cast<int>(std::clamp<long long>(st.stageBudget - st.doneIterations, 1, 1000000000));
    glp_scale_prob(g, GLP_SF_AUTO);
    if (glp_simplex(g, &sm) == 0 && glp_get_status(g) == GLP_OPT) io.presolve = GLP_OFF;
  }
  if (io.presolve == GLP_ON) st.start.clear();
  int ret = glp_intopt(g, &io);
  glp_error_hook(nullptr, nullptr);
  st.io = nullptr;
  st.rootMir = false;
  r = MipResult();
  bool settled = readAnswer(g, ret, st, r);
  st.prog.iterations = std::max<long long>(st.prog.iterations, st.doneIterations + glp_get_it_cnt(g));
  glp_delete_prob(g);
  return settled ? Outcome::settled : Outcome::handOver;
}

// Simplex iterations and nodes of the plain search tried first on a model of integer columns
// only. There the cuts at the nodes cost several times the iterations of a plain search and
// save no node on a knapsack or a magic square; a model the plain search does not settle
// within these is searched again with cuts. A model with continuous columns is searched with
// cuts at once: on lot-sizing, flow and big-M sequencing rows the rounding cuts settle it in
// a fraction of the plain search.
constexpr long long kPlainIterations = 3000;
constexpr int kPlainNodes = 300;

// True when every column is an integer one.
bool allInteger(const LinearProblem& p) {
  return std::all_of(p.integer.begin(), p.integer.end(), [](auto v) { return v != 0; });
}

}  // namespace

bool solveMipGlpk(const LinearProblem& p, const MipSettings& s, const MipCallback& cb, long long budget,
                  int nodeBudget, MipResult& r) {
  r = MipResult();
  GlpkState st;
  st.p = &p; st.s = &s; st.cb = &cb; st.budget = budget; st.nodeBudget = nodeBudget; st.t0 = CoinCpuTime();
  st.prog.best = p.sense < 0 ? -1e30 : 1e30;
  st.prog.bound = -st.prog.best;
  if (!glpkCanLoad(p)) return false;
  glp_term_out(GLP_OFF);
  bool plain = allInteger(p);
  st.stageBudget = plain ? std::min(budget, kPlainIterations) : budget;
  st.stageNodes = plain ? std::min(nodeBudget, kPlainNodes) : nodeBudget;
  Outcome o = runStage(plain, st, r);
  if (plain && o == Outcome::handOver && st.stop == Stop::budget && st.prog.iterations <= budget &&
      st.prog.nodes <= nodeBudget) {
    // The plain search ran out of its share: search again with cuts, keeping its point when
    // the second run ends on none or a worse one (a gap closed against the plain point's
    // objective proves that point, not the second run's).
    MipResult first = std::move(r);
    st.doneIterations = st.prog.iterations;
    st.doneNodes = st.prog.nodes;
    st.stop = Stop::none;
    st.stageBudget = budget;
    st.stageNodes = nodeBudget;
    if (!first.x.empty()) {
      st.start.assign(1, 0.0);
      st.start.insert(st.start.end(), first.x.begin(), first.x.end());
    }
    o = runStage(false, st, r);
    bool better = !first.x.empty() && (r.x.empty() || (first.objective - r.objective) * p.sense < 0);
    if (o != Outcome::fault && r.status == 3 && better) {
      // The second run calls the model infeasible though the first found a checked point: the
      // runs disagree, so neither verdict is reported and Cbc solves it from that point.
      o = Outcome::handOver;
      r.status = 12;
    }
    if (o != Outcome::fault && better) {
      r.x = std::move(first.x);
      r.objective = first.objective;
      if (r.status == 12) r.status = 5;
      if (st.stop == Stop::gap) {
        o = Outcome::settled;
        r.status = 1;
      }
      if (r.status == 1) r.bound = r.objective;
    }
  }
  if (o == Outcome::fault) {
    r = MipResult();
    r.last = st.prog;
    r.last.seconds = CoinCpuTime() - st.t0;
    return false;
  }
  bool settled = o == Outcome::settled;
  // An incumbent the search ended on without an event after it is reported now; a stop asked
  // for then leaves it as a feasible point.
  if (settled && !r.x.empty() && (st.stop == Stop::none || st.stop == Stop::gap)) {
    st.prog.status = 5;
    st.prog.best = r.objective;
    st.prog.event = 2;
    st.prog.kind = 0;
    if (newIncumbent(st) && cb && cb(st.prog)) {
      st.stop = Stop::caller;
      r.status = 5;
      r.bound = st.prog.bound;
    }
  }
  if (settled && r.status != 1) r.bound = st.prog.bound;
  if (settled && (r.status == 5 || r.status == 12))
    r.code = st.stop == Stop::caller ? 2016 : st.stop == Stop::seconds ? 2017 : 2023;
  r.last = st.prog;
  r.last.status = r.status;
  if (!r.x.empty()) r.last.best = r.objective;
  r.last.bound = r.bound;
  r.last.seconds = CoinCpuTime() - st.t0;
  glp_free_env();
  return settled;
}

}  // namespace brmip
