// Integer solving entry points: BRsolveMIP, the incumbent, its slacks and duals, the summary.
#include "bresk/nlp.h"

#include <algorithm>
#include <cmath>

namespace bresk {

void linearProblem(const BRmodel* m, brmip::LinearProblem& p) {
  LpArrays a;
  lp_arrays(m, a);
  p.ncols = m->nvars;
  p.nrows = m->ncons;
  p.start = a.colstart;
  p.index = a.rowidx;
  p.value = a.value;
  p.collb = a.collb;
  p.colub = a.colub;
  p.cost = a.cost;
  p.rowlb = a.rowlb;
  p.rowub = a.rowub;
  p.objconst = a.objconst;
  p.sense = m->sense;
  p.integer.assign(p.ncols, 0);
  for (int j = 0; j < p.ncols; j++) {
    char t = m->vtype[j];
    if (t == 'B' || t == 'I') p.integer[j] = 1;
    if (t == 'B') {
      p.collb[j] = std::max(p.collb[j], 0.0);
      p.colub[j] = std::min(p.colub[j], 1.0);
    }
  }
}

void storeMipResult(BRmodel* m, int status, const std::vector<double>& x, double obj, double bound) {
  Result& r = m->res;
  r.status = r.mip_status = status;
  r.solstatus = x.empty() ? BR_UNLOADED : status;
  r.has_mip = !x.empty();
  r.mipx = x;
  r.mip_obj = r.obj = x.empty() ? 0.0 : obj;
  r.mip_bound = r.bound = bound;
  r.seconds = elapsed(m);
  if (!x.empty()) {
    r.mipslack.assign(m->ncons, 0.0);
    eval_slacks(m, x.data(), r.mipslack.data());
    // The incumbent is also the model's solution for the continuous queries.
    r.has_primal = true;
    r.x = x;
    r.slack = r.mipslack;
  }
  Progress& p = m->prog;
  p.mip_status = p.q_status = status;
  if (!x.empty()) p.mip_best = p.q_best = p.q_obj = obj;
  p.mip_bound = p.q_bound = bound;
}

namespace {

// Integer solve settings from the model parameters.
brmip::MipSettings mipSettings(const BRmodel* m) {
  brmip::MipSettings s;
  s.seconds = time_limit(m);
  int itl = iteration_limit(m, P_ITRLIM_MIP);
  s.iterations = itl > 0 && itl < 2147483640 ? itl : -1;
  s.absgap = std::max(0.0, par(m, P_IPTOLA));
  s.relgap = std::max(0.0, par(m, P_IPTOLR));
  double it = par(m, P_ABSINT);
  if (it > 0) s.inttol = it;
  double pt = par(m, P_FLFTOL);
  if (pt > 0) s.primaltol = pt;
  s.hurdle = ipar(m, P_NOHURDLE) != 0;
  s.hurdleValue = par(m, P_HURDLE);
  s.presolve = ipar(m, P_REDUCE) != 0;
  s.heuristics = ipar(m, P_HEURIS) != 0;
  s.probing = ipar(m, P_PRBLVL) != 0;                       // 0: no probing
  s.treeCuts = !(ipar(m, P_CUTROOT) == 0 && ipar(m, P_CUTTREE) == 0);   // 0 and 0: root only
  s.nodeStrategy = ipar(m, P_NODESL);
  // STRONG is a level, half of it the candidates: its default of 10 gives Cbc's own five, with
  // the tuning that comes with them, which takes the magic square in a twentieth of the nodes.
  int strong = std::max(0, ipar(m, P_STRONG));
  s.strong = strong / 2 + strong % 2;
  s.rootPasses = std::max(0, ipar(m, P_MAXCTP));
  return s;
}

// Simplex iterations and nodes GLPK may spend on a model before Cbc takes it over. GLPK settles most
// small models in a fraction of Cbc's time; Cbc's cuts win on the rest. Counting iterations, not
// seconds, keeps the choice of engine, and so the reported point and counts, the same every run.
constexpr long long kGlpkBudget = 10000;
constexpr int kGlpkNodes = 1000;
// Larger models go to Cbc at once: there GLPK's simplex iterations cost more than Clp's, and the
// budget could be spent on the relaxation alone.
constexpr size_t kGlpkMostNonzeros = 20000;

// Solves with GLPK first when the settings allow it, then with Cbc when GLPK leaves the model,
// from GLPK's best point when it has one, the limits reduced by what GLPK spent and its counts
// added to Cbc's.
void solveMipEngines(const brmip::LinearProblem& p, const brmip::MipSettings& s, const brmip::MipCallback& cb,
                     brmip::MipResult& r) {
  // A hurdle is a cut-off only Cbc takes; an iteration limit counts Cbc's iterations, which
  // find a first point sooner than GLPK's; a large model is Cbc's too.
  if (s.hurdle || s.iterations >= 0 || p.index.size() > kGlpkMostNonzeros) {
    brmip::solveMipCbc(p, s, cb, r);
    return;
  }
  brmip::MipResult first;
  if (brmip::solveMipGlpk(p, s, cb, kGlpkBudget, kGlpkNodes, first)) {
    r = std::move(first);
    return;
  }
  brmip::MipSettings rest = s;
  rest.start = std::move(first.x);
  if (s.seconds >= 0) rest.seconds = std::max(0.0, s.seconds - first.last.seconds);
  if (s.iterations >= 0) rest.iterations = std::max(0LL, s.iterations - first.last.iterations);
  brmip::solveMipCbc(p, rest, cb, r);
  r.last.iterations += first.last.iterations;
  r.last.nodes += first.last.nodes;
  r.last.lps += first.last.lps;
}

}  // namespace

int solveMipLinear(BRmodel* m) {
  clear_result(m);
  m->t0 = std::chrono::steady_clock::now();
  brmip::LinearProblem p;
  linearProblem(m, p);
  brmip::MipSettings s = mipSettings(m);
  brmip::MipCallback cb = [m](const brmip::MipProgress& g) {
    Progress& p = m->prog;
    p.mip_status = p.q_status = g.status;
    p.mip_best = p.q_best = g.best;
    p.mip_bound = p.q_bound = g.bound;
    p.q_obj = g.status == BR_FEASIBLE ? g.best : p.q_obj;
    p.mip_simplex = p.simplex_iters = p.q_iters = static_cast<int>(std::min<long long>(g.iterations, 2147483647));
    p.mip_progress = p.mip_lps = g.lps;
    p.mip_nodes = p.q_steps = g.nodes;
    p.mip_active = p.q_active = g.active;
    p.mip_cuts = g.cuts;
    p.mip_event = g.event;
    p.mip_kind = g.kind;
    return call_back(m, BR_LOC_MIP);
  };
  brmip::MipResult r;
  solveMipEngines(p, s, cb, r);
  storeMipResult(m, r.status, r.x, r.objective, r.bound);
  Result& res = m->res;
  res.simplex_iters = static_cast<int>(std::min<long long>(r.last.iterations, 2147483647));
  res.nodes = r.last.nodes;
  res.lps = r.last.lps;
  res.active = 0;
  res.cuts = r.last.cuts;
  res.solutions = r.last.solutions;
  Progress& pr = m->prog;
  pr.mip_simplex = pr.q_iters = pr.simplex_iters = res.simplex_iters;
  pr.mip_nodes = pr.q_steps = res.nodes;
  pr.mip_active = pr.q_active = 0;
  pr.mip_event = 2;
  pr.mip_kind = 0;
  call_back(m, BR_LOC_MIP);   // final counters
  return r.code;
}

}  // namespace bresk

using namespace bresk;

extern "C" {

// Solves an integer model: Cbc for linear ones, Bonmin when rows are quadratic or nonlinear.
int BRsolveMIP(BRmodel* m) {
  return api_call(m, false, [&] {
    if (!m->loaded) return static_cast<int>(BRERR_NOT_LOADED);
    if (settled_without_solve(m, true)) return 0;
    if (modelIsLinear(m)) return solveMipLinear(m);
    return solveMinlp(m, 1);
  });
}

// The incumbent of the last integer solve.
int BRgetMIPSolution(BRmodel* m, double* x) {
  return api_call(m, false, [&] {
    if (!m->res.has_mip) return static_cast<int>(BRERR_NO_SOLUTION);
    if (x) std::copy(m->res.mipx.begin(), m->res.mipx.end(), x);
    return 0;
  });
}

// Slacks of the rows at the incumbent.
int BRgetMIPSlacks(BRmodel* m, double* s) {
  return api_call(m, false, [&] {
    if (!m->res.has_mip) return static_cast<int>(BRERR_NO_SOLUTION);
    if (s) std::copy(m->res.mipslack.begin(), m->res.mipslack.end(), s);
    return 0;
  });
}

// Duals and reduced costs with the integers fixed at the incumbent (computed once per solve).
int BRgetDualMIPsolution(BRmodel* m, double* y, double* d) {
  return api_call(m, false, [&] {
    Result& r = m->res;
    if (!r.has_mip) return static_cast<int>(BRERR_NO_SOLUTION);
    if (!r.has_dual) {
      std::vector<double> duals, red;
      bool ok;
      if (modelIsLinear(m)) {
        brmip::LinearProblem p;
        linearProblem(m, p);
        ok = brmip::fixedLpDuals(p, r.mipx, duals, red);
      } else {
        ok = fixedNlpDuals(m, r.mipx, duals, red);
      }
      if (!ok) return static_cast<int>(BRERR_NOT_AVAILABLE);
      r.dual = duals;
      r.redcost = red;
      r.has_dual = true;
    }
    if (y) std::copy(r.dual.begin(), r.dual.end(), y);
    if (d) std::copy(r.redcost.begin(), r.redcost.end(), d);
    return 0;
  });
}

// Summary of the last integer solve; the reserved outputs are set to 0.
int BRgetCurrentMIPSolutionInfo(BRmodel* m, int* status, double* obj, double* bound, int* simplex,
                                int* barrier, int* nlp, int* lps, int* nodes, int* active, int* cuts,
                                int* sols, double* seconds, int* r1, int* r2, int* r3, int* r4,
                                int* r5, int* r6, int* r7, double* r8, double* r9, double* r10,
                                double* r11, double* r12, double* r13) {
  return api_call(m, false, [&] {
    const Result& r = m->res;
    if (status) *status = r.mip_status;
    if (obj) *obj = r.mip_obj;
    if (bound) *bound = r.mip_bound;
    if (simplex) *simplex = r.simplex_iters;
    if (barrier) *barrier = r.barrier_iters;
    if (nlp) *nlp = r.nlp_iters;
    if (lps) *lps = r.lps;
    if (nodes) *nodes = r.nodes;
    if (active) *active = r.active;
    if (cuts) *cuts = r.cuts;
    if (sols) *sols = r.solutions;
    if (seconds) *seconds = r.seconds;
    for (int* p : {r1, r2, r3, r4, r5, r6, r7})
      if (p) *p = 0;
    for (double* p : {r8, r9, r10, r11, r12, r13})
      if (p) *p = 0.0;
    return 0;
  });
}

}  // extern "C"
