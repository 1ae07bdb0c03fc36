// Linear and convex quadratic models with Clp (in Clp's module): the solve with its
// limits and progress callbacks, status mapping, solution vectors in the
// library's sign conventions, and objective and right-hand-side ranging.
#include "bresk/internal.h"
#include "bresk/modules.h"
#include "bresk/quiet.h"

#include <ClpEventHandler.hpp>
#include <ClpSimplex.hpp>
#include <ClpSolve.hpp>
#include <CoinHelperFunctions.hpp>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <optional>

namespace bresk {

namespace {

// State shared by the event handler and its clones inside Clp's presolve.
struct LpRun {
  BRmodel* m;
  int iters = 0;
  int stop = 0;           // 2016 or 2017 when the handler stopped the solve
  int location = BR_LOC_DUAL;
  double limit = -1;
};

// Counts iterations, updates the progress snapshot, calls the progress
// callback and enforces the wall-clock time limit.
class LpEvents : public ClpEventHandler {
 public:
  explicit LpEvents(LpRun* run) : run_(run) {}
  ClpEventHandler* clone() const override { return new LpEvents(*this); }
  int event(Event e) override {
    if (e != endOfIteration) return -1;
    LpRun* r = run_;
    ++r->iters;
    // A stopped solve stays stopped: the sprint passes of the primal path each start their
    // own simplex, and each is ended at its first iteration without another callback.
    if (r->stop) return 0;
    BRmodel* m = r->m;
    if (r->limit > 0 && elapsed(m) > r->limit) {
      r->stop = BRERR_TIME_LIMIT;
      return 0;
    }
    if (!m->callback) return -1;
    ClpSimplex* s = model_;
    Progress& p = m->prog;
    // A barrier solve reports its crossover at the barrier location too.
    const bool primal = s && s->algorithm() > 0;
    const int loc = r->location == BR_LOC_BARRIER ? BR_LOC_BARRIER : (primal ? BR_LOC_PRIMAL : BR_LOC_DUAL);
    if (s) {
      p.primal_obj = p.dual_obj = s->objectiveValue();
      p.primal_inf = s->sumPrimalInfeasibilities();
      p.dual_inf = s->sumDualInfeasibilities();
    }
    p.simplex_iters = r->iters;
    p.q_obj = p.primal_obj;
    p.q_inf = p.primal_inf;
    p.q_iters = r->iters;
    p.q_status = p.primal_inf <= 0.0 ? BR_FEASIBLE : BR_UNKNOWN;
    p.q_steps = -1;
    p.q_active = -1;
    r->location = loc;
    if (call_back(m, loc)) {
      r->stop = BRERR_INTERRUPTED;
      return 0;
    }
    return -1;
  }

 private:
  LpRun* run_;
};

// Clp's status turned into the model status and the solve's return code.
void map_status(const ClpSimplex& s, const LpRun& run, bool feasible, int* status, int* code) {
  *code = 0;
  switch (s.status()) {
    case 0: *status = BR_OPTIMAL; break;
    case 1: *status = BR_INFEASIBLE; break;
    case 2: *status = BR_UNBOUNDED; break;
    case 3:
      *status = feasible ? BR_FEASIBLE : BR_UNKNOWN;
      *code = s.secondaryStatus() == 9 ? BRERR_TIME_LIMIT : BRERR_ITER_LIMIT;
      break;
    case 4: *status = BR_NUMERICAL_ERROR; break;
    case 5:
      *status = feasible ? BR_FEASIBLE : BR_UNKNOWN;
      *code = run.stop ? run.stop : BRERR_INTERRUPTED;
      break;
    default: *status = BR_UNKNOWN; break;
  }
}

// True when Clp's verdict holds on the model's own arrays: an infeasible one by its dual
// ray, an unbounded one by its ray and a point that meets the rows; other outcomes are
// judged by the status mapping.
bool verdict_holds(const ClpSimplex& s, const LpArrays& a, double sense) {
  if (s.status() == 1) {
    std::unique_ptr<double[]> ray(s.infeasibilityRay());
    return ray && lp_farkas_holds(a, ray.get());
  }
  if (s.status() == 2) {
    std::unique_ptr<double[]> ray(s.unboundedRay());
    return ray && lp_unbounded_ray_holds(a, ray.get(), sense) &&
           lp_point_feasible(a, s.primalColumnSolution());
  }
  return true;
}

// Asks the question of feasibility alone from where the simplex stands: with no costs the
// primal simplex minimises the sum of infeasibilities, and at its end that sum's row prices
// (or the ray it keeps) are a certificate, whatever path the solve took to its verdict.  It
// takes a few iterations, counted with the solve's.  1 when the certificate holds on the
// model's own rows; -1 when a point that meets them was found, the simplex moved there; 0
// otherwise.
int feasibility_certificate(ClpSimplex& s, const LpArrays& a) {
  ClpSimplex q(s);
  const int n = q.numberColumns();
  for (int j = 0; j < n; ++j) q.setObjectiveCoefficient(j, 0.0);
  q.setOptimizationDirection(1.0);
  q.primal();
  if (q.status() == 1) {
    std::unique_ptr<double[]> ray(q.infeasibilityRay());
    return (ray && lp_farkas_holds(a, ray.get())) || lp_farkas_holds(a, q.dualRowSolution()) ? 1 : 0;
  }
  if (q.status() != 0) return 0;
  s.setColSolution(q.primalColumnSolution());
  s.copyinStatus(q.statusArray());
  return -1;
}

// Solves again, without presolve and from where the simplex stands, until the verdict
// holds: an infeasible verdict by the question of feasibility, then by the dual simplex
// and the primal one, an unbounded one by the primal simplex (which reaches it from a
// feasible point).  False when no verdict could be confirmed.
bool confirm_verdict(ClpSimplex& s, const LpArrays& a, double sense) {
  if (verdict_holds(s, a, sense)) return true;
  if (s.status() == 1) {
    const int c = feasibility_certificate(s, a);
    if (c > 0) return true;
    if (c < 0) {
      s.primal(1);
      return verdict_holds(s, a, sense) && s.status() != 1;
    }
  }
  if (s.status() == 1) {
    s.dual();
    if (verdict_holds(s, a, sense)) return true;
  }
  if (s.status() == 1 || s.status() == 2) {
    s.primal();
    if (verdict_holds(s, a, sense)) return true;
  }
  if (s.status() == 1) {
    // Without a ray from the solve itself (Clp hands some maximisations to the primal
    // simplex, which keeps none): the question of feasibility alone, with no costs, is
    // dual feasible from the start, and the dual simplex answers it with a ray or a point.
    ClpSimplex q(s);
    ClpEventHandler plain;  // a check, not part of the solve's count
    q.passInEventHandler(&plain);
    const int n = q.numberColumns();
    for (int j = 0; j < n; ++j) q.setObjectiveCoefficient(j, 0.0);
    q.setOptimizationDirection(1.0);
    q.allSlackBasis(true);
    q.dual();
    if (q.status() == 1) {
      std::unique_ptr<double[]> ray(q.infeasibilityRay());
      if (ray && lp_farkas_holds(a, ray.get())) return true;
    } else if (q.status() == 0) {
      s.setColSolution(q.primalColumnSolution());
      s.copyinStatus(q.statusArray());
      s.primal(1);
      return verdict_holds(s, a, sense) && s.status() != 1;
    }
  }
  return s.status() != 1 && s.status() != 2;
}

} // namespace

int clp_solve_lp(BRmodel* m, int method) {
  const int n = m->nvars, nr = m->ncons;
  LpArrays a;
  lp_arrays(m, a);
  const bool quad = m->obj.kind == ROW_QUADRATIC && m->obj.quad_end > m->obj.quad_begin;
  // Quadratic objectives are solved as minimisations; f turns values back.
  const double f = (quad && m->sense < 0) ? -1.0 : 1.0;
  if (f < 0)
    for (double& c : a.cost) c = -c;
  // Columns in no row with an improving cost: the rest of the model is solved for a
  // feasible point (they take no cost there), and with one the model is unbounded.
  const std::vector<int> runaway = quad ? std::vector<int>{} : lp_runaway_columns(a, m->sense);
  for (int j : runaway) a.cost[j] = 0.0;

  // Clp's presolve merges identical columns in time that grows as the square of their
  // rows' length: large groups of them are merged here, in n log n.
  Twins twins;
  const bool merged = !quad && ipar(m, P_REDUCE) != 0 && merge_twin_columns(a, twins);
  const LpArrays& la = merged ? twins.merged : a;

  auto s = std::make_unique<ClpSimplex>();
  s->passInMessageHandler(quiet_handler());
  s->setLogLevel(0);
  s->loadProblem(static_cast<int>(la.cost.size()), nr, la.colstart.data(), la.rowidx.data(), la.value.data(),
                 la.collb.data(), la.colub.data(), la.cost.data(), la.rowlb.data(), la.rowub.data());
  s->setOptimizationDirection(quad ? 1.0 : static_cast<double>(m->sense));
  if (quad) {
    std::vector<CoinBigIndex> start(n + 1, 0);
    const Row& o = m->obj;
    for (int k = o.quad_begin; k < o.quad_end; ++k) ++start[m->quad_j[k] + 1];
    for (int j = 0; j < n; ++j) start[j + 1] += start[j];
    std::vector<int> col(start[n]);
    std::vector<double> el(start[n]);
    std::vector<CoinBigIndex> fill(start.begin(), start.end() - 1);
    for (int k = o.quad_begin; k < o.quad_end; ++k) {
      CoinBigIndex p = fill[m->quad_j[k]]++;
      col[p] = m->quad_i[k];
      el[p] = f * m->quad_q[k];
    }
    s->loadQuadraticObjective(n, start.data(), col.data(), el.data());
  }
  s->setPrimalTolerance(std::max(1e-10, par(m, P_FLFTOL)));
  s->scaling(ipar(m, P_SCALEM) ? 3 : 0);
  // A small perturbation of the costs keeps the simplex off long runs of degenerate
  // pivots (transportation and assignment models need 2 to 3 times fewer iterations);
  // with many ties on a dense row it is forced, which Clp's own choice (50) may leave out.
  const LpShape shape = lp_shape(la);
  s->setPerturbation(!quad && shape.tied ? -20 : 50);
  // Over such a row the dual simplex on Clp's presolved model runs with a dual tolerance
  // of 1e-6 unless one is set, and its ratio test then passes few of the perturbed columns
  // in each iteration: the iterations grow with the row's length (269 at a million
  // columns), each a pass over the row. At 1e-8 they stay under a dozen at any length.
  if (!quad && shape.tied) s->setDualTolerance(1e-8);
  int itlim = iteration_limit(m, P_ITRLIM);
  const double tlim = time_limit(m);
  if (quad) itlim = std::min(itlim, std::max(100000, 50 * (n + nr)));  // Clp's QP can cycle
  s->setMaximumIterations(itlim);
  if (tlim > 0) s->setMaximumSeconds(tlim);

  LpRun run{m};
  run.limit = tlim;
  run.location = method == 1 ? BR_LOC_PRIMAL : (method == 3 ? BR_LOC_BARRIER : BR_LOC_DUAL);
  // The first progress call, before any iteration.
  m->prog.q_status = BR_UNKNOWN;
  m->prog.q_steps = m->prog.q_active = -1;
  if (call_back(m, run.location)) {
    m->res.status = m->res.solstatus = BR_UNKNOWN;
    return BRERR_INTERRUPTED;
  }
  LpEvents events(&run);
  s->passInEventHandler(&events);

  const bool presolve = ipar(m, P_REDUCE) != 0 && !quad && presolve_fits(a);
  bool confirmed = true;
  if (quad) {
    StdoutMute mute;
    if (method == 3) s->barrier(true);
    else s->primal();
  } else {
    ClpSolve opt;
    opt.setPresolveType(presolve ? ClpSolve::presolveOn : ClpSolve::presolveOff);
    // Over a dense row Clp's duplicate-column pass takes the square of the row's length;
    // large groups of identical columns are merged above in n log n, small ones stay.
    if (dense_row(shape.longest)) opt.setDoDupcol(false);
    switch (method) {
      case 1: opt.setSolveType(ClpSolve::usePrimal); break;
      case 2: opt.setSolveType(ClpSolve::useDual); break;
      case 3:
        opt.setSolveType(ClpSolve::useBarrier);
        // Ranging needs a basis, so crossover runs even when it is switched off.
        opt.setSpecialOption(4, 0);
        break;
      // The library's choice is the dual simplex, except on a large model far wider than
      // tall without a dense row (a transportation model), where the primal simplex started on samples of the
      // columns ("sprint", without a crash) needs a third fewer instructions.  Clp's own
      // automatic choice is not taken: it starts such a model with its approximate "idiot"
      // crash, which on a wide transportation model is ten times slower.
      default:
        if (wide_model(static_cast<int>(la.cost.size()), nr, shape.longest)) {
          opt.setSolveType(ClpSolve::usePrimalorSprint);
          opt.setSpecialOption(1, 7);
        } else {
          opt.setSolveType(ClpSolve::useDual);
        }
        break;
    }
    // Clp solves its own copy: the model's arrays, unless the merged columns are to be spread
    // over them, give their memory to the solve and are built again for the checks after it.
    if (!merged) a = LpArrays();
    {
      // Clp's sprint passes print to standard output when a pass is stopped.
      std::optional<StdoutMute> mute;
      if (opt.getSolveType() == ClpSolve::usePrimalorSprint) mute.emplace();
      s->initialSolve(opt);
    }
    if (!merged) {
      lp_arrays(m, a);
      for (int j : runaway) a.cost[j] = 0.0;
    }
    confirmed = confirm_verdict(*s, la, m->sense);
    if (merged) s = spread_twin_columns(*s, a, twins);
  }
  ClpEventHandler plain;
  s->passInEventHandler(&plain);

  Result& r = m->res;
  const double* x = s->primalColumnSolution();
  const double* act = s->primalRowSolution();
  const double* y = s->dualRowSolution();
  const double* d = s->dualColumnSolution();
  r.x.assign(x, x + n);
  r.slack.resize(nr);
  r.dual.resize(nr);
  for (int i = 0; i < nr; ++i) {
    r.slack[i] = -m->rows[i].constant - act[i];
    r.dual[i] = -f * y[i];
  }
  r.redcost.resize(n);
  for (int j = 0; j < n; ++j) r.redcost[j] = f * d[j];
  double z = 0.0;
  if (!eval_row(m, -1, r.x.data(), &z)) z = 0.0;
  r.obj = z;
  r.bound = z;
  // A stopped simplex leaves a point that is a solution only when it meets the rows.
  const bool feasible = s->status() != 1 && lp_point_feasible(a, r.x.data());
  int code;
  map_status(*s, run, feasible, &r.status, &code);
  if (!confirmed) {
    r.status = BR_UNKNOWN;
  } else if (!runaway.empty() &&
             (r.status == BR_OPTIMAL || r.status == BR_UNBOUNDED || r.status == BR_FEASIBLE)) {
    r.status = BR_UNBOUNDED;
    code = 0;
  }
  if (quad && (r.status == BR_OPTIMAL || r.status == BR_FEASIBLE || r.status == BR_UNKNOWN)) {
    // Clp's quadratic solver can stop "optimal" at a point pushed to its
    // infinity along an unbounded ray.
    bool ray = !std::isfinite(z) || std::fabs(z) >= 1e20;
    for (int j = 0; j < n && !ray; ++j)
      ray = std::fabs(r.x[j]) >= 1e20;
    if (ray) {
      r.status = BR_UNBOUNDED;
      code = 0;
    }
  }
  r.simplex_iters = run.iters > 0 ? run.iters : s->numberIterations();
  r.has_primal = r.has_dual = true;
  r.solstatus = r.status;
  // An infeasible verdict is confirmed on the model's own rows and leaves the simplex's point
  // of the whole model, with or without presolve; an unbounded one after presolve leaves none.
  if (presolve && r.status == BR_UNBOUNDED && runaway.empty()) {
    r.solstatus = BR_UNLOADED;
    r.has_primal = r.has_dual = false;
  }
  if (r.status == BR_NUMERICAL_ERROR || r.status == BR_UNKNOWN) r.has_dual = false;
  if (r.status == BR_UNKNOWN) r.has_primal = false;
  r.seconds = elapsed(m);

  // The final progress call carries the final counters.
  Progress& p = m->prog;
  p.primal_obj = p.dual_obj = p.q_obj = p.q_best = p.q_bound = r.obj;
  p.primal_inf = p.q_inf = s->sumPrimalInfeasibilities();
  p.dual_inf = s->sumDualInfeasibilities();
  p.simplex_iters = p.q_iters = r.simplex_iters;
  p.q_status = r.status;
  p.q_steps = 0;   // a finished simplex or barrier solve took no extended (search) steps
  p.q_active = -1;
  const int loc = method == 3 ? BR_LOC_BARRIER : run.location;
  if (run.stop != BRERR_INTERRUPTED) call_back(m, loc);

  if (!quad) m->clp = s.release();
  return code;
}

namespace {

double out_inf(double v) { return v >= 1e30 ? kInf : (v <= -1e30 ? -kInf : v); }

// Runs one of Clp's ranging calls on the kept basis.  Clp ranks only a model
// it calls optimal; after an interrupted simplex the basis is primal feasible,
// so it is ranked as it stands.
template <class F>
int on_basis(ClpSimplex* s, F f) {
  const int saved = s->status();
  const int itlim = s->maximumIterations();
  const double tlim = s->maximumSeconds();
  if (saved == 3 || saved == 5) {
    s->setProblemStatus(0);
    s->setMaximumIterations(s->numberIterations() + 1000000);
    s->setMaximumSeconds(-1.0);
  }
  // Clp widens each range by its feasibility tolerances; rank with tight ones so that the
  // ranges are those of the basis itself.
  const double dtol = s->dualTolerance(), ptol = s->primalTolerance();
  s->setDualTolerance(1e-12);
  s->setPrimalTolerance(1e-12);
  int rc = f();
  s->setDualTolerance(dtol);
  s->setPrimalTolerance(ptol);
  s->setProblemStatus(saved);
  s->setMaximumIterations(itlim);
  s->setMaximumSeconds(tlim);
  return rc;
}

} // namespace

// The cost ranges of the kept basis (the caller has checked that there is one).
int clp_objective_ranges(BRmodel* m, double* dec, double* inc) {
  const int n = m->nvars;
  if (n == 0) return 0;
  std::vector<int> which(n), seqi(n), seqd(n);
  for (int j = 0; j < n; ++j) which[j] = j;
  std::vector<double> ci(n), cd(n);
  if (m->ncons == 0) {
    // Without rows every variable sits at a bound: its cost may move until
    // its reduced cost changes sign.
    for (int j = 0; j < n; ++j) {
      double d = m->res.redcost[j] * m->sense;
      ci[j] = d >= 0 ? kInf : -d;
      cd[j] = d >= 0 ? d : kInf;
      if (is_inf(m->lb[j]) && is_inf(m->ub[j])) ci[j] = cd[j] = 0.0;
    }
  } else if (on_basis(m->clp, [&] {
               return m->clp->dualRanging(n, which.data(), ci.data(), seqi.data(), cd.data(),
                                          seqd.data());
             }) != 0) {
    return BRERR_NOT_AVAILABLE;
  }
  for (int j = 0; j < n; ++j) {
    if (dec) dec[j] = out_inf(cd[j]);
    if (inc) inc[j] = out_inf(ci[j]);
  }
  return 0;
}

// The right-hand-side ranges of the kept basis, likewise.
int clp_constraint_ranges(BRmodel* m, double* dec, double* inc) {
  const int n = m->nvars, nr = m->ncons;
  if (nr == 0) return 0;
  ClpSimplex* s = m->clp;
  std::vector<int> which, at;
  for (int i = 0; i < nr; ++i) {
    if (s->getRowStatus(i) != ClpSimplex::basic) {
      which.push_back(n + i);
      at.push_back(i);
    }
  }
  std::vector<double> vi(which.size()), vd(which.size());
  std::vector<int> si(which.size()), sd(which.size());
  if (!which.empty()) {
    int rc = on_basis(s, [&] {
      return s->primalRanging(static_cast<int>(which.size()), which.data(), vi.data(), si.data(),
                              vd.data(), sd.data());
    });
    if (rc != 0) return BRERR_NOT_AVAILABLE;
  }
  std::vector<double> rdec(nr), rinc(nr);
  const double* act = s->primalRowSolution();
  for (int i = 0; i < nr; ++i) {
    // A row off its bound can move its right-hand side freely towards the
    // slack side, and up to the row activity the other way.
    double slack = -m->rows[i].constant - act[i];
    char t = m->rows[i].type;
    rinc[i] = t == 'G' ? std::fabs(slack) : kInf;
    rdec[i] = t == 'G' ? kInf : std::fabs(slack);
    if (t == 'E') rinc[i] = rdec[i] = 0.0;
  }
  for (size_t k = 0; k < which.size(); ++k) {
    int i = at[k];
    // Clp gives the distances the row activity can move with the basis kept.
    rinc[i] = out_inf(std::fabs(vi[k]));
    rdec[i] = out_inf(std::fabs(vd[k]));
  }
  for (int i = 0; i < nr; ++i) {
    if (dec) dec[i] = rdec[i];
    if (inc) inc[i] = rinc[i];
  }
  return 0;
}

} // namespace bresk
