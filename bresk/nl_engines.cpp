// The nonlinear engines, loaded only when a model needs one: Ipopt for a continuous model
// (the model as a TNLP, one local run) and Bonmin for an integer one (minlp_bonmin.cpp).
// The program's start-up and its linear solves do not pay for mapping these libraries.
#include "bresk/nlp.h"

#include <coin/IpIpoptApplication.hpp>
#include <coin/IpTNLP.hpp>

#include <algorithm>
#include <cmath>

namespace bresk {

namespace {

using Ipopt::Index;
using Ipopt::Number;

class QNlp : public Ipopt::TNLP {
 public:
  QNlp(NlpCore& core, const std::vector<double>& x0, int location, int base)
      : c_(core), x0_(x0), location_(location), base_(base) {}

  bool get_nlp_info(Index& n, Index& m, Index& nnz_jac, Index& nnz_h, IndexStyleEnum& style) override {
    c_.sizes(n, m, nnz_jac, nnz_h);
    style = C_STYLE;
    return true;
  }
  bool get_bounds_info(Index, Number* xl, Number* xu, Index, Number* gl, Number* gu) override {
    c_.bounds(xl, xu, gl, gu);
    return true;
  }
  bool get_starting_point(Index n, bool init_x, Number* x, bool, Number*, Number*, Index, bool,
                          Number*) override {
    if (init_x) std::copy(x0_.begin(), x0_.end(), x);
    return true;
  }
  bool eval_f(Index, const Number* x, bool, Number& v) override { return c_.f(x, v); }
  bool eval_grad_f(Index, const Number* x, bool, Number* g) override { return c_.gradF(x, g); }
  bool eval_g(Index, const Number* x, bool, Index, Number* g) override { return c_.g(x, g); }
  bool eval_jac_g(Index, const Number* x, bool, Index, Index, Index* r, Index* c, Number* v) override {
    return c_.jacobian(x, r, c, v);
  }
  bool eval_h(Index, const Number*, bool, Number sigma, Index, const Number* lambda, bool, Index,
              Index* r, Index* c, Number* v) override {
    return c_.hessian(sigma, lambda, r, c, v);
  }
  void finalize_solution(Ipopt::SolverReturn st, Index n, const Number* x, const Number* zl,
                         const Number* zu, Index m, const Number*, const Number* lambda, Number obj,
                         const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*) override {
    done = true;
    ret = st;
    if (x) this->x.assign(x, x + n);
    if (lambda) this->lambda.assign(lambda, lambda + m); else this->lambda.assign(m, 0.0);
    this->zl.assign(n, 0.0);
    this->zu.assign(n, 0.0);
    if (zl) this->zl.assign(zl, zl + n);
    if (zu) this->zu.assign(zu, zu + n);
    fval = obj;
  }
  bool intermediate_callback(Ipopt::AlgorithmMode, Index iter, Number obj, Number inf_pr,
                             Number inf_du, Number, Number, Number, Number, Number, Index,
                             const Ipopt::IpoptData*, Ipopt::IpoptCalculatedQuantities*) override {
    BRmodel* m = c_.model();
    iters = iter;
    Progress& p = m->prog;
    double z = m->sense * obj;
    p.primal_obj = z;
    p.dual_obj = z;
    p.primal_inf = inf_pr;
    p.dual_inf = inf_du;
    p.nlp_iters = base_ + iter;
    p.q_obj = z;
    p.q_inf = inf_pr;
    p.q_iters = base_ + iter;
    p.q_status = inf_pr <= par(m, P_FNFTOL) ? BR_FEASIBLE : BR_UNKNOWN;
    p.q_bound = m->sense > 0 ? -kInf : kInf;
    double lim = time_limit(m);
    if (lim >= 0 && elapsed(m) > lim) { stopCode = BRERR_TIME_LIMIT; return false; }
    if (call_back(m, location_)) { stopCode = BRERR_INTERRUPTED; return false; }
    // Steps that keep meeting a row at overflow: the model cannot be evaluated where the
    // run is heading, and more iterations will not change that.
    if (c_.overflowSeen) {
      c_.overflowSeen = false;
      if (++overflowIters_ >= kOverflowIters) {
        overflow = true;
        return false;
      }
    } else {
      overflowIters_ = 0;
    }
    // A feasible point whose objective has run past 1e20 in the improving direction shows
    // the model unbounded: the run stops there instead of climbing to its iteration cap.
    if (obj < -kRunaway && inf_pr <= feasTol_) {
      runaway = true;
      return false;
    }
    return true;
  }

  bool done = false;
  Ipopt::SolverReturn ret = Ipopt::UNASSIGNED;
  std::vector<double> x, lambda, zl, zu;
  double fval = 0.0;
  int iters = 0, stopCode = 0;
  bool runaway = false, overflow = false;

 private:
  int overflowIters_ = 0;
  NlpCore& c_;
  const std::vector<double>& x0_;
  int location_, base_;
  double feasTol_ = std::max(1e-6, par(c_.model(), P_FNFTOL));
};

}  // namespace

// One Ipopt run from x0 (see runIpopt).
void ipoptRun(NlpCore& core, const std::vector<double>& x0, int location, NlpOutcome& out) {
  BRmodel* m = core.model();
  out = NlpOutcome();
  core.overflowSeen = false;
  Ipopt::SmartPtr<QNlp> nlp = new QNlp(core, x0, location, m->res.nlp_iters);
  Ipopt::SmartPtr<Ipopt::IpoptApplication> app = new Ipopt::IpoptApplication(false, false);
  app->RethrowNonIpoptException(false);
  auto opt = app->Options();
  opt->SetIntegerValue("print_level", 0);
  opt->SetStringValue("sb", "yes");
  opt->SetNumericValue("nlp_lower_bound_inf", -kIpInf);
  opt->SetNumericValue("nlp_upper_bound_inf", kIpInf);
  double tol = par(m, P_NOPTOL);
  if (!(tol > 0) || tol > 1e-8) tol = 1e-8;
  opt->SetNumericValue("tol", tol);
  double ftol = par(m, P_FNFTOL);
  if (ftol > 0) opt->SetNumericValue("constr_viol_tol", ftol);
  // Without a limit of the caller's, Ipopt's own cap keeps a hopeless run finite.
  int itl = iteration_limit(m, P_ITRLIM_NLP);
  opt->SetIntegerValue("max_iter", itl > 0 && itl < 2147483640 ? itl : 3000);
  double lim = time_limit(m);
  if (lim >= 0) opt->SetNumericValue("max_cpu_time", std::max(1e-3, lim - elapsed(m)));
  opt->SetStringValue("hessian_approximation", core.exactHessian() ? "exact" : "limited-memory");
  // MUMPS's workspace: twice its estimate instead of eleven times (Ipopt enlarges it when a
  // factorization asks for more). The larger one is taken from and given back to the
  // system at every factorization, which costs a small model most of its solve time.
  opt->SetIntegerValue("mumps_mem_percent", 100);
  if (app->Initialize() != Ipopt::Solve_Succeeded) { out.code = BRERR_INTERNAL; return; }
  app->OptimizeTNLP(nlp);

  out.iterations = nlp->iters;
  if (nlp->overflow) {
    out.status = BR_NUMERICAL_ERROR;
    out.overflow = true;
    m->error_row = core.overflowRow;
    m->error_row_set = true;
    if (!nlp->x.empty()) out.x = nlp->x;
    return;
  }
  if (!nlp->done || nlp->x.empty()) {
    out.status = nlp->ret == Ipopt::INVALID_NUMBER_DETECTED || m->error_row_set ? BR_NUMERICAL_ERROR
                                                                                 : BR_UNKNOWN;
    out.code = nlp->stopCode;
    return;
  }
  out.x = nlp->x;
  out.violation = core.violation(out.x.data());
  double ftolc = ftol > 0 ? std::max(ftol, 1e-6) : 1e-6;
  out.feasible = out.violation <= ftolc * 10;
  double z;
  if (eval_row(m, -1, out.x.data(), &z)) out.obj = z; else out.obj = m->sense * nlp->fval;
  out.dual.resize(nlp->lambda.size());
  for (size_t i = 0; i < nlp->lambda.size(); i++) out.dual[i] = m->sense * nlp->lambda[i];
  out.redcost.resize(out.x.size());
  for (size_t j = 0; j < out.x.size(); j++) out.redcost[j] = m->sense * (nlp->zl[j] - nlp->zu[j]);
  // A local optimum is confirmed in the unscaled model: feasible, and the gradient of the
  // Lagrangian with the multipliers reported vanishes (Ipopt's own test is on its scaled
  // model and its acceptable-point rule).
  out.stationary = out.feasible && nlp->lambda.size() == out.dual.size() &&
                   core.stationarity(out.x.data(), nlp->lambda.data(), nlp->zl.data(), nlp->zu.data()) <=
                       kStationaryTol;
  switch (nlp->ret) {
    case Ipopt::SUCCESS:
    case Ipopt::STOP_AT_ACCEPTABLE_POINT:
      out.status = BR_LOCAL_OPTIMAL;
      break;
    case Ipopt::LOCAL_INFEASIBILITY:
      out.status = BR_LOCAL_INFEASIBLE;
      break;
    case Ipopt::DIVERGING_ITERATES:
      out.status = out.feasible && m->sense * out.obj < -kRunaway ? BR_UNBOUNDED : BR_UNKNOWN;
      break;
    case Ipopt::USER_REQUESTED_STOP:
      out.status = out.feasible ? BR_FEASIBLE : BR_UNKNOWN;
      out.code = nlp->runaway ? 0 : (nlp->stopCode ? nlp->stopCode : BRERR_INTERRUPTED);
      break;
    case Ipopt::MAXITER_EXCEEDED:
      out.status = out.feasible ? BR_FEASIBLE : BR_UNKNOWN;
      out.code = BRERR_ITER_LIMIT;
      break;
    case Ipopt::CPUTIME_EXCEEDED:
      out.status = out.feasible ? BR_FEASIBLE : BR_UNKNOWN;
      out.code = BRERR_TIME_LIMIT;
      break;
    case Ipopt::INVALID_NUMBER_DETECTED:
      out.status = BR_NUMERICAL_ERROR;
      break;
    default:
      out.status = out.feasible ? BR_FEASIBLE : BR_UNKNOWN;
      if (m->error_row_set && !out.feasible) out.status = BR_NUMERICAL_ERROR;
      break;
  }
  // A feasible point whose objective has run away in the improving direction: the model
  // is unbounded (a huge objective the other way says nothing of the kind).
  if (out.feasible && m->sense * out.obj < -kRunaway && out.status != BR_NUMERICAL_ERROR) {
    out.status = BR_UNBOUNDED;
    out.code = 0;
  }
}

// The entry table that the library looks up after loading this module.
extern "C" const void* bresk_nl_engines() {
  static const NlEngines e = {ipoptRun, bonminSolve};
  return &e;
}

}  // namespace bresk
