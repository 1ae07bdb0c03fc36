// Integer models with nonlinear parts on Bonmin (NLP-based branch and bound).
#include "bresk/nlp.h"
#include "bresk/quiet.h"

#include <coin/BonBonminSetup.hpp>
#include <coin/BonCbc.hpp>
#include <coin/BonTMINLP.hpp>
#include <coin/CbcEventHandler.hpp>
#include <coin/CbcModel.hpp>

#include <algorithm>
#include <cmath>
#include <memory>

namespace bresk {

namespace {

using Ipopt::Index;
using Ipopt::Number;

// The model as Bonmin sees it; evaluation through the shared core.
class QMinlp : public Bonmin::TMINLP {
 public:
  QMinlp(NlpCore& core, const std::vector<double>& x0, const int* stop) : c_(core), x0_(x0), stop_(stop) {}
  // True once the search has been asked to stop or its time is up: evaluations then fail, so
  // that a long subproblem ends at once.
  bool halted() const {
    if (*stop_) return true;
    double lim = time_limit(c_.model());
    return lim >= 0 && elapsed(c_.model()) > lim;
  }
  bool get_nlp_info(Index& n, Index& m, Index& nnz_jac, Index& nnz_h,
                    Ipopt::TNLP::IndexStyleEnum& style) override {
    c_.sizes(n, m, nnz_jac, nnz_h);
    style = Ipopt::TNLP::C_STYLE;
    return true;
  }
  bool get_variables_types(Index n, VariableType* t) override {
    const BRmodel* m = c_.model();
    for (int j = 0; j < n; j++) {
      char v = m->vtype[j];
      t[j] = v == 'I' ? INTEGER : (v == 'B' ? BINARY : CONTINUOUS);
    }
    return true;
  }
  bool get_variables_linearity(Index n, Ipopt::TNLP::LinearityType* t) override {
    std::fill(t, t + n, Ipopt::TNLP::NON_LINEAR);
    return true;
  }
  bool get_constraints_linearity(Index m, Ipopt::TNLP::LinearityType* t) override {
    for (int i = 0; i < m; i++)
      t[i] = c_.model()->rows[c_.modelRow(i)].kind == ROW_LINEAR ? Ipopt::TNLP::LINEAR : Ipopt::TNLP::NON_LINEAR;
    return true;
  }
  bool get_bounds_info(Index n, Number* xl, Number* xu, Index, Number* gl, Number* gu) override {
    c_.bounds(xl, xu, gl, gu);
    const BRmodel* md = c_.model();
    for (int j = 0; j < n; j++)
      if (md->vtype[j] == 'B') { xl[j] = std::max(xl[j], 0.0); xu[j] = std::min(xu[j], 1.0); }
    return true;
  }
  bool get_starting_point(Index n, bool init_x, Number* x, bool, Number*, Number*, Index, bool,
                          Number*) override {
    if (init_x) std::copy(x0_.begin(), x0_.end(), x);
    return true;
  }
  bool eval_f(Index, const Number* x, bool, Number& v) override { return !halted() && c_.f(x, v); }
  bool eval_grad_f(Index, const Number* x, bool, Number* g) override { return !halted() && c_.gradF(x, g); }
  bool eval_g(Index, const Number* x, bool, Index, Number* g) override { return !halted() && c_.g(x, g); }
  bool eval_jac_g(Index, const Number* x, bool, Index, Index, Index* r, Index* c, Number* v) override {
    if (v && halted()) return false;
    return c_.jacobian(x, r, c, v);
  }
  bool eval_h(Index, const Number*, bool, Number sigma, Index, const Number* lambda, bool, Index,
              Index* r, Index* c, Number* v) override {
    return c_.hessian(sigma, lambda, r, c, v);
  }
  void finalize_solution(TMINLP::SolverReturn st, Index n, const Number* x, Number) override {
    ret = st;
    if (x) this->x.assign(x, x + n);
  }
  const BranchingInfo* branchingInfo() const override { return nullptr; }
  const SosInfo* sosConstraints() const override { return nullptr; }

  TMINLP::SolverReturn ret = MINLP_ERROR;
  std::vector<double> x;

 private:
  NlpCore& c_;
  std::vector<double> x0_;
  const int* stop_;
};

// Shared state of the solve and the cloned event handler.
struct BabState {
  BRmodel* m = nullptr;
  NlpCore* core = nullptr;
  int reason = 0;
  long long itlimit = -1;
  std::vector<double> best;     // incumbent seen in the events
  double bestObj = 0.0;
};

// Forwards branch-and-bound events to the caller's callback and keeps the incumbent.
class BabEvents : public CbcEventHandler {
 public:
  explicit BabEvents(BabState* st) : st_(st) {}
  CbcEventHandler* clone() const override { return new BabEvents(*this); }
  CbcAction event(CbcEvent e) override {
    const CbcModel* cm = getModel();
    if (!cm || !st_) return noAction;
    BRmodel* m = st_->m;
    Progress& p = m->prog;
    int n = m->nvars;
    const double* b = cm->bestSolution();
    bool fresh = false;
    if (b && cm->getNumCols() >= n) {
      std::vector<double> x(b, b + n);
      double z;
      if (st_->core->violation(x.data()) <= 1e-5 && eval_row(m, -1, x.data(), &z) &&
          (st_->best.empty() || m->sense * z < m->sense * st_->bestObj - 1e-12)) {
        st_->best = x;
        st_->bestObj = z;
        fresh = true;
      }
    }
    p.mip_status = p.q_status = st_->best.empty() ? BR_UNKNOWN : BR_FEASIBLE;
    if (!st_->best.empty()) p.mip_best = p.q_best = p.q_obj = st_->bestObj;
    double bound = cm->getBestPossibleObjValue();
    if (std::fabs(bound) < 1e49) p.mip_bound = p.q_bound = m->sense * bound;
    auto* nlp = dynamic_cast<Bonmin::OsiTMINLPInterface*>(cm->solver());
    p.mip_nlp = p.nlp_iters = p.q_iters = std::max(cm->getIterationCount(), nlp ? nlp->totalIterations() : 0);
    p.mip_nodes = p.q_steps = cm->getNodeCount();
    p.mip_progress = p.mip_lps = cm->getNodeCount() + 1;
    p.mip_active = p.q_active = 0;
    p.mip_cuts = 0;
    p.mip_event = fresh || e == solution || e == heuristicSolution ? (fresh ? 1 : 2) : 2;
    p.mip_kind = fresh ? (e == heuristicSolution ? 7 : 1) : 0;
    if (st_->itlimit >= 0 && cm->getIterationCount() >= st_->itlimit) { st_->reason = BRERR_ITER_LIMIT; return stop; }
    double lim = time_limit(m);
    if (lim >= 0 && elapsed(m) > lim) { st_->reason = BRERR_TIME_LIMIT; return stop; }
    if (call_back(m, BR_LOC_MIP)) { st_->reason = BRERR_INTERRUPTED; return stop; }
    return noAction;
  }

 private:
  BabState* st_;
};

}  // namespace

int bonminSolve(BRmodel* m, int resolves) {
  if (!modelHasIntegers(m)) {
    // Nothing to branch on: one nonlinear solve, reported as the integer result too.
    int code = solve_nlp(m, resolves);
    Result r = m->res;
    int nlp = r.nlp_iters;
    storeMipResult(m, r.status, r.has_primal ? r.x : std::vector<double>(), r.obj, r.bound);
    m->res.nlp_iters = nlp;
    if (r.has_dual) { m->res.dual = r.dual; m->res.redcost = r.redcost; m->res.has_dual = true; }
    return code;
  }
  clear_result(m);
  m->t0 = std::chrono::steady_clock::now();
  m->error_row_set = false;
  // A row without variables is true or false once and for all.
  for (int i = 0; i < m->ncons; i++) {
    const Row& row = m->rows[i];
    if (row.var_end > row.var_begin) continue;
    double g = 0.0;
    std::vector<double> any(m->nvars, 0.0);
    bool ok = eval_row(m, i, any.data(), &g);
    bool holds = ok && (row.type == 'L' ? g <= 1e-9 : row.type == 'G' ? g >= -1e-9 : std::fabs(g) <= 1e-9);
    if (!holds) {
      storeMipResult(m, ok ? BR_INFEASIBLE : BR_NUMERICAL_ERROR, {}, 0.0, m->sense > 0 ? -kInf : kInf);
      return 0;
    }
  }
  NlpCore core(m, true);
  std::vector<double> x0 = startPoint(m, core.lb, core.ub);
  for (int j = 0; j < m->nvars; j++)
    if (m->vtype[j] != 'C') x0[j] = std::round(x0[j]);
  BabState st;
  st.m = m;
  st.core = &core;
  Ipopt::SmartPtr<QMinlp> tminlp = new QMinlp(core, x0, &st.reason);

  // Bonmin's objects cannot always be destroyed after it has thrown, so they live on the heap
  // and are given up (not freed) on that path.
  auto* setupp = new Bonmin::BonminSetup;
  Bonmin::BonminSetup& setup = *setupp;
  setup.initializeOptionsAndJournalist();
  auto o = setup.options();
  o->SetStringValue("bonmin.algorithm", "B-BB");
  for (const char* k : {"bonmin.bb_log_level", "bonmin.nlp_log_level", "bonmin.lp_log_level",
                        "bonmin.milp_log_level", "bonmin.oa_log_level", "bonmin.fp_log_level"})
    o->SetIntegerValue(k, 0);
  o->SetIntegerValue("print_level", 0);
  o->SetStringValue("sb", "yes");
  // Bounds are infinite from the library's infinity on, as in the continuous solves.
  o->SetNumericValue("nlp_lower_bound_inf", -kInf);
  o->SetNumericValue("nlp_upper_bound_inf", kInf);
  // MUMPS's workspace as in the continuous solves: the default one is taken from and given
  // back to the system at every factorization of every node.
  o->SetIntegerValue("mumps_mem_percent", 100);
  o->SetStringValue("hessian_approximation", core.exactHessian() ? "exact" : "limited-memory");
  double lim = time_limit(m);
  if (lim >= 0) o->SetNumericValue("bonmin.time_limit", std::max(1e-3, lim));
  double it = par(m, P_ABSINT);
  if (it > 0) o->SetNumericValue("bonmin.integer_tolerance", it);
  double ga = par(m, P_IPTOLA), gr = par(m, P_IPTOLR);
  if (ga > 0) o->SetNumericValue("bonmin.allowable_gap", ga);
  if (gr > 0) o->SetNumericValue("bonmin.allowable_fraction_gap", gr);
  if (ipar(m, P_NOHURDLE) != 0) o->SetNumericValue("bonmin.cutoff", m->sense * par(m, P_HURDLE));
  if (resolves > 1) o->SetIntegerValue("bonmin.num_resolve_at_root", resolves);
  double ftol = par(m, P_FNFTOL);
  if (ftol > 0) o->SetNumericValue("constr_viol_tol", ftol);
  int itl = iteration_limit(m, P_ITRLIM_MIP);
  st.itlimit = itl > 0 && itl < 2147483640 ? itl : -1;
  BabEvents ev(&st);
  auto* bbp = new Bonmin::Bab;
  Bonmin::Bab& bb = *bbp;
  // Bonmin writes some failures straight to the standard streams.
  StdoutMute mute;
  StderrMute emute;
  try {
    setup.initialize(Ipopt::GetRawPtr(tminlp));
    bb.model().passInEventHandler(&ev);
    bb(setup);
  } catch (...) {
    // Bonmin gives up by throwing: after a stop or the time limit (the incumbent seen so far
    // stands), or when a row could not be evaluated.
    double none = m->sense > 0 ? -kInf : kInf;
    if (!st.reason && tminlp->halted()) st.reason = BRERR_TIME_LIMIT;
    if (st.reason) {
      storeMipResult(m, st.best.empty() ? BR_UNKNOWN : BR_FEASIBLE, st.best, st.bestObj, none);
      return st.reason;
    }
    if (!m->error_row_set) return static_cast<int>(BRERR_INTERNAL);
    storeMipResult(m, BR_NUMERICAL_ERROR, {}, 0.0, none);
    return 0;
  }
  std::unique_ptr<Bonmin::BonminSetup> setupOwner(setupp);
  std::unique_ptr<Bonmin::Bab> bbOwner(bbp);   // freed first, as Bonmin expects

  const double* bx = bb.bestSolution();
  std::vector<double> x;
  if (bx) x.assign(bx, bx + m->nvars);
  else if (!st.best.empty()) x = st.best;
  double z = 0.0;
  if (!x.empty()) {
    for (int j = 0; j < m->nvars; j++)
      if (m->vtype[j] != 'C') x[j] = std::round(x[j]);
    if (!eval_row(m, -1, x.data(), &z)) z = m->sense * bb.bestObj();
  }
  bool convex = modelIsConvex(m);
  int status;
  switch (bb.mipStatus()) {
    case Bonmin::Bab::FeasibleOptimal: status = convex ? BR_OPTIMAL : BR_LOCAL_OPTIMAL; break;
    case Bonmin::Bab::ProvenInfeasible: status = convex ? BR_INFEASIBLE : BR_LOCAL_INFEASIBLE; break;
    case Bonmin::Bab::Feasible: status = BR_FEASIBLE; break;
    case Bonmin::Bab::UnboundedOrInfeasible: status = BR_INFORUNB; break;
    default: status = x.empty() ? BR_UNKNOWN : BR_FEASIBLE; break;
  }
  int code = st.reason;
  if (code && status != BR_INFEASIBLE && status != BR_LOCAL_INFEASIBLE)
    status = x.empty() ? BR_UNKNOWN : BR_FEASIBLE;
  if (!code && bb.mipStatus() == Bonmin::Bab::Feasible && lim >= 0 && elapsed(m) >= lim) code = BRERR_TIME_LIMIT;
  if (!x.empty() && std::fabs(z) > 1e20 && status != BR_INFORUNB) status = BR_UNBOUNDED;
  if (status == BR_INFEASIBLE || status == BR_LOCAL_INFEASIBLE || status == BR_INFORUNB) x.clear();
  double bound = status == BR_OPTIMAL ? z : (m->sense > 0 ? -kInf : kInf);
  double bb_bound = bb.bestBound();
  if (status != BR_OPTIMAL && std::fabs(bb_bound) < 1e49 && convex) bound = m->sense * bb_bound;
  storeMipResult(m, status, x, z, bound);
  Result& r = m->res;
  // The search's solver counts the interior-point iterations of every node, the root's too
  // (the search's own count leaves the root out).
  auto* nlp = dynamic_cast<Bonmin::OsiTMINLPInterface*>(bb.model().solver());
  r.nlp_iters = std::max(bb.iterationCount(), nlp ? nlp->totalIterations() : 0);
  r.nodes = bb.numNodes();
  r.lps = r.nodes + 1;
  r.solutions = x.empty() ? 0 : 1;
  Progress& p = m->prog;
  p.mip_nlp = p.nlp_iters = p.q_iters = r.nlp_iters;
  p.mip_nodes = p.q_steps = r.nodes;
  p.mip_event = 2;
  p.mip_kind = 0;
  call_back(m, BR_LOC_MIP);   // final counters
  return code;
}

}  // namespace bresk
