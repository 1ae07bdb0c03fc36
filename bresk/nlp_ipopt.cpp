// Continuous nonlinear models: the model's functions for the local solver, the local solve
// with its confirming runs, multistart.
#include "bresk/nlp.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

namespace bresk {

namespace {
// Further runs from a converged point that fails the stationarity check.
constexpr int kConfirmRuns = 2;

double ipBound(double v) { return v >= kInf ? kIpInf : (v <= -kInf ? -kIpInf : v); }
}  // namespace

// ---------------------------------------------------------------- quiet standard error

StderrMute::StderrMute() {
  std::fflush(stderr);
  saved_ = dup(2);
  int null = open("/dev/null", O_WRONLY);
  if (saved_ >= 0 && null >= 0) dup2(null, 2);
  if (null >= 0) close(null);
}

StderrMute::~StderrMute() {
  std::fflush(stderr);
  if (saved_ >= 0) {
    dup2(saved_, 2);
    close(saved_);
  }
}

// ---------------------------------------------------------------- evaluation core

NlpCore::NlpCore(BRmodel* m, bool skipEmpty) : m_(m), n_(m->nvars) {
  lb = m->lb.vec();
  ub = m->ub.vec();
  for (int i = 0; i < m->ncons; i++)
    if (!skipEmpty || m->rows[i].var_end > m->rows[i].var_begin) rows_.push_back(i);
  nrows_ = static_cast<int>(rows_.size());
  size_t widest = m->obj.var_end - m->obj.var_begin;
  for (int p = 0; p < nrows_; p++) {
    const Row& row = m->rows[rows_[p]];
    widest = std::max(widest, static_cast<size_t>(row.var_end - row.var_begin));
    for (int k = row.var_begin; k < row.var_end; k++) {
      jrow_.push_back(p);
      jcol_.push_back(row_vars(m, row)[k - row.var_begin]);
    }
  }
  grad_.assign(widest + 1, 0.0);
  exact_ = true;
  for (int p = -1; p < nrows_ && exact_; p++)
    if (row_of(m, p < 0 ? -1 : rows_[p]).kind == ROW_NONLINEAR) exact_ = false;
  if (exact_) {
    std::map<std::pair<int, int>, int> slot;
    hterms_.assign(nrows_ + 1, {});
    for (int r = -1; r < nrows_; r++) {
      const Row& row = row_of(m, r < 0 ? -1 : rows_[r]);
      for (int k = row.quad_begin; k < row.quad_end; k++) {
        int i = m->quad_i[k], j = m->quad_j[k];
        if (i < j) std::swap(i, j);
        auto it = slot.find({i, j});
        int s;
        if (it == slot.end()) {
          s = static_cast<int>(hi_.size());
          slot[{i, j}] = s;
          hi_.push_back(i);
          hj_.push_back(j);
        } else {
          s = it->second;
        }
        hterms_[r + 1].push_back({s, m->quad_q[k]});
      }
    }
  }
}

void NlpCore::sizes(int& n, int& m, int& nnzJac, int& nnzHess) const {
  n = n_;
  m = nrows_;
  nnzJac = static_cast<int>(jrow_.size());
  nnzHess = exact_ ? static_cast<int>(hi_.size()) : 0;
}

void NlpCore::bounds(double* xl, double* xu, double* gl, double* gu) const {
  for (int j = 0; j < n_; j++) {
    xl[j] = ipBound(lb[j]);
    xu[j] = ipBound(ub[j]);
  }
  for (int i = 0; i < nrows_; i++) {
    char t = m_->rows[rows_[i]].type;
    gl[i] = t == 'L' ? -kIpInf : 0.0;
    gu[i] = t == 'G' ? kIpInf : 0.0;
  }
}

bool NlpCore::f(const double* x, double& v) {
  double z;
  if (!eval_row(m_, -1, x, &z) || !std::isfinite(z)) return false;
  if (std::fabs(z) >= kBigNum) {
    overflowRow = -1;
    overflowSeen = true;
    return false;
  }
  v = m_->sense * z;
  return true;
}

bool NlpCore::gradF(const double* x, double* g) {
  std::fill(g, g + n_, 0.0);
  double z;
  if (!eval_grad(m_, -1, x, &z, grad_.data())) return false;
  const Row& row = m_->obj;
  for (int k = row.var_begin; k < row.var_end; k++) {
    double d = grad_[k - row.var_begin];
    if (!std::isfinite(d)) return false;
    g[row_vars(m_, row)[k - row.var_begin]] += m_->sense * d;
  }
  return true;
}

bool NlpCore::g(const double* x, double* v) {
  for (int i = 0; i < nrows_; i++) {
    if (!eval_row(m_, rows_[i], x, &v[i]) || !std::isfinite(v[i])) return false;
    if (std::fabs(v[i]) >= kBigNum) {
      overflowRow = rows_[i];
      overflowSeen = true;
      return false;
    }
  }
  return true;
}

bool NlpCore::jacobian(const double* x, int* r, int* c, double* v) {
  if (!v) {
    std::copy(jrow_.begin(), jrow_.end(), r);
    std::copy(jcol_.begin(), jcol_.end(), c);
    return true;
  }
  size_t p = 0;
  for (int i = 0; i < nrows_; i++) {
    const Row& row = m_->rows[rows_[i]];
    double val;
    if (!eval_grad(m_, rows_[i], x, &val, grad_.data())) return false;
    for (int k = 0; k < row.var_end - row.var_begin; k++) {
      if (!std::isfinite(grad_[k])) return false;
      v[p++] = grad_[k];
    }
  }
  return true;
}

bool NlpCore::hessian(double sigma, const double* lambda, int* r, int* c, double* v) const {
  if (!exact_) return false;
  if (!v) {
    std::copy(hi_.begin(), hi_.end(), r);
    std::copy(hj_.begin(), hj_.end(), c);
    return true;
  }
  std::fill(v, v + hi_.size(), 0.0);
  for (size_t q = 0; q < hterms_.size(); q++) {
    double w = q == 0 ? sigma * m_->sense : (lambda ? lambda[q - 1] : 0.0);
    if (w == 0.0) continue;
    for (auto& t : hterms_[q]) v[t.first] += w * t.second;
  }
  return true;
}

double NlpCore::violation(const double* x) {
  double worst = 0.0;
  for (int j = 0; j < n_; j++) {
    if (lb[j] > -kInf) worst = std::max(worst, lb[j] - x[j]);
    if (ub[j] < kInf) worst = std::max(worst, x[j] - ub[j]);
  }
  for (int i = 0; i < m_->ncons; i++) {
    double v;
    if (!eval_row(m_, i, x, &v) || !std::isfinite(v)) return 1e30;
    char t = m_->rows[i].type;
    double e = t == 'L' ? std::max(0.0, v) : (t == 'G' ? std::max(0.0, -v) : std::fabs(v));
    worst = std::max(worst, e);
  }
  return worst;
}

double NlpCore::stationarity(const double* x, const double* lambda, const double* zl, const double* zu) {
  std::vector<double> grad(n_, 0.0), scale(n_, 1.0), jac(jrow_.size());
  if (!gradF(x, grad.data()) || !jacobian(x, nullptr, nullptr, jac.data())) return kInf;
  for (int j = 0; j < n_; j++) {
    scale[j] = std::max({1.0, std::fabs(grad[j]), std::fabs(zl[j]), std::fabs(zu[j])});
    grad[j] += zu[j] - zl[j];
  }
  for (size_t k = 0; k < jrow_.size(); k++) {
    double t = lambda[jrow_[k]] * jac[k];
    grad[jcol_[k]] += t;
    scale[jcol_[k]] = std::max(scale[jcol_[k]], std::fabs(t));
  }
  double worst = 0.0;
  for (int j = 0; j < n_; j++) worst = std::max(worst, std::fabs(grad[j]) / scale[j]);
  return worst;
}

namespace {
// One Ipopt run from x0 (see runIpopt), through the nonlinear engines' module.
void runIpoptOnce(NlpCore& core, const std::vector<double>& x0, int location, NlpOutcome& out) {
  const NlEngines* e = nlEngines();
  if (!e) {
    out = NlpOutcome();
    out.code = BRERR_NOT_AVAILABLE;
    return;
  }
  e->ipopt(core, x0, location, out);
}
}  // namespace

void runIpopt(NlpCore& core, const std::vector<double>& x0, int location, NlpOutcome& out) {
  BRmodel* m = core.model();
  runIpoptOnce(core, x0, location, out);
  // A converged run whose point fails the check goes on from that point; a point that
  // still fails is only feasible.
  int iterations = out.iterations;
  for (int k = 0; k < kConfirmRuns && out.status == BR_LOCAL_OPTIMAL && !out.stationary; k++) {
    NlpOutcome next;
    const std::vector<double> from = out.x;
    m->res.nlp_iters += iterations;
    runIpoptOnce(core, from, location, next);
    m->res.nlp_iters -= iterations;
    iterations += next.iterations;
    if (next.x.empty() || next.status == BR_NUMERICAL_ERROR) break;
    if (next.feasible || !out.feasible) out = next;
    if (next.code) break;
  }
  out.iterations = iterations;
  if (out.status == BR_LOCAL_OPTIMAL && !out.stationary) out.status = out.feasible ? BR_FEASIBLE : BR_UNKNOWN;
}

// ---------------------------------------------------------------- model tests and start points

bool modelIsLinear(const BRmodel* m) {
  for (int r = -1; r < m->ncons; r++)
    if (row_of(m, r).kind != ROW_LINEAR) return false;
  return true;
}

bool modelIsConvex(const BRmodel* m) {
  for (int r = -1; r < m->ncons; r++) {
    const Row& row = row_of(m, r);
    if (row.kind == ROW_LINEAR) continue;
    if (row.kind != ROW_QUADRATIC || !row_is_convex(m, r)) return false;
  }
  return true;
}

bool modelHasIntegers(const BRmodel* m) {
  for (char t : m->vtype)
    if (t == 'B' || t == 'I') return true;
  return false;
}

std::vector<double> startPoint(const BRmodel* m, const std::vector<double>& lb, const std::vector<double>& ub) {
  std::vector<double> x(m->nvars, 0.0);
  for (int j = 0; j < m->nvars; j++) {
    double v = m->start[j];
    if (!std::isfinite(v)) v = 0.0;
    if (lb[j] > -kInf) v = std::max(v, lb[j]);
    if (ub[j] < kInf) v = std::min(v, ub[j]);
    x[j] = v;
  }
  return x;
}

void samplePoint(const BRmodel* m, int k, int count, const std::vector<double>& x0, std::vector<double>& x) {
  double cap = par(m, P_GLBVBD);
  if (!(cap > 0)) cap = 1e10;
  std::mt19937_64 rng(0x5eed0000ULL + 7919ULL * static_cast<unsigned>(m->nvars));
  int strata = std::max(1, count - 1);
  x.assign(m->nvars, 0.0);
  for (int j = 0; j < m->nvars; j++) {
    // A shuffled stratum per variable (the same shuffle for every start of this model).
    std::vector<int> perm(strata);
    for (int s = 0; s < strata; s++) perm[s] = s;
    std::shuffle(perm.begin(), perm.end(), rng);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    double t = 0.0;
    for (int s = 0; s < k; s++) t = u(rng);
    double w = (perm[(k - 1) % strata] + t) / strata;
    double width = std::max(10.0, 10.0 * std::fabs(x0[j]));
    double lo = m->lb[j] > -kInf ? m->lb[j] : x0[j] - width;
    double hi = m->ub[j] < kInf ? m->ub[j] : x0[j] + width;
    lo = std::max(lo, -cap);
    hi = std::min(hi, cap);
    if (hi < lo) hi = lo;
    x[j] = lo + w * (hi - lo);
  }
}

// ---------------------------------------------------------------- the solve

namespace {

// Better outcome: feasible beats infeasible, then the objective in the user's sense.
bool better(const BRmodel* m, const NlpOutcome& a, const NlpOutcome& b) {
  if (a.x.empty()) return false;
  if (b.x.empty()) return true;
  if (a.feasible != b.feasible) return a.feasible;
  if (!a.feasible) return a.violation < b.violation;
  return m->sense * a.obj < m->sense * b.obj - 1e-9 * (1.0 + std::fabs(b.obj));
}

}  // namespace

int solve_nlp(BRmodel* m, int starts) {
  clear_result(m);
  m->t0 = std::chrono::steady_clock::now();
  m->error_row_set = false;
  NlpCore core(m);
  std::vector<double> x0 = startPoint(m, core.lb, core.ub), xs;
  NlpOutcome best, cur;
  int code = 0;
  starts = std::max(1, starts);
  int done = 0;
  // The objective or a row at overflow at the start point: the model cannot be solved from
  // there, and the solve ends at once as a numerical error in that row.
  {
    double z;
    std::vector<double> gv(m->ncons);
    core.overflowRow = -2;
    if ((!core.f(x0.data(), z) || !core.g(x0.data(), gv.data())) && core.overflowRow > -2) {
      cur = NlpOutcome();
      cur.status = BR_NUMERICAL_ERROR;
      cur.overflow = true;
      m->error_row = core.overflowRow;
      m->error_row_set = true;
      starts = 0;
      best = cur;
    }
  }
  for (int k = 0; k < starts; k++) {
    if (k == 0) xs = x0; else samplePoint(m, k, starts, x0, xs);
    runIpopt(core, xs, BR_LOC_NLP, cur);
    m->res.nlp_iters += cur.iterations;
    done++;
    if (k == 0 || better(m, cur, best)) best = cur;
    // Rows that stay at overflow end the solve as a numerical error in that row.
    if (cur.overflow) {
      best = cur;
      break;
    }
    if (cur.code == BRERR_INTERRUPTED || cur.code == BRERR_TIME_LIMIT || cur.code == BRERR_NOT_AVAILABLE) {
      code = cur.code;
      break;
    }
    // One start that runs away proves the model unbounded: the others cannot change that.
    if (cur.status == BR_UNBOUNDED) {
      best = cur;
      break;
    }
    // The iteration limit holds for the whole solve: a start that reaches it ends the solve
    // (a model whose runs creep along an unbounded direction would otherwise spend the
    // limit once per start).
    if (cur.code == BRERR_ITER_LIMIT) {
      code = cur.code;
      break;
    }
    if (starts > 1) {
      Progress& p = m->prog;
      p.q_steps = done;
      p.q_best = best.feasible ? best.obj : (m->sense > 0 ? kInf : -kInf);
      p.q_status = best.feasible ? BR_FEASIBLE : BR_UNKNOWN;
      if (call_back(m, BR_LOC_GLOBAL)) { code = BRERR_INTERRUPTED; break; }
    }
  }
  Result& r = m->res;
  int status = best.status;
  if (starts > 1 && !code) {
    // Several starts: a feasible best point is a local optimum when its run converged and
    // the point passes the stationarity check.
    if (best.feasible && status == BR_FEASIBLE && !best.code && best.stationary) status = BR_LOCAL_OPTIMAL;
  }
  if (!code && best.code) code = best.code;
  if (code == BRERR_INTERRUPTED || code == BRERR_TIME_LIMIT || code == BRERR_ITER_LIMIT)
    status = best.feasible ? BR_FEASIBLE : BR_UNKNOWN;
  bool convex = modelIsConvex(m);
  if (status == BR_LOCAL_OPTIMAL && convex) status = BR_OPTIMAL;
  r.status = status;
  r.solstatus = best.x.empty() ? BR_UNLOADED : status;
  if (!best.x.empty() && status != BR_NUMERICAL_ERROR) {
    r.has_primal = true;
    r.x = best.x;
    r.slack.assign(m->ncons, 0.0);
    eval_slacks(m, r.x.data(), r.slack.data());
    r.dual = best.dual;
    r.redcost = best.redcost;
    r.has_dual = true;
    r.obj = best.obj;
  }
  r.bound = status == BR_OPTIMAL ? r.obj : (m->sense > 0 ? -kInf : kInf);
  // The final progress call carries the final counters and the reported point, so the
  // progress log and the result agree (at the nonlinear location, where the log prints).
  Progress& p = m->prog;
  p.q_status = status;
  p.q_obj = r.obj;
  p.q_best = r.obj;
  p.q_steps = starts > 1 ? done : p.q_steps;
  if (!best.x.empty()) {
    p.primal_obj = p.dual_obj = r.obj;
    p.primal_inf = p.q_inf = best.violation;
  }
  p.nlp_iters = r.nlp_iters;
  p.q_iters = r.nlp_iters;
  if (code != BRERR_INTERRUPTED) call_back(m, BR_LOC_NLP);
  return code;
}

}  // namespace bresk

namespace bresk {

bool fixedNlpDuals(BRmodel* m, const std::vector<double>& x, std::vector<double>& duals,
                   std::vector<double>& redcost) {
  NlpCore core(m);
  std::vector<double> x0 = x;
  for (int j = 0; j < m->nvars; j++)
    if (m->vtype[j] != 'C') core.lb[j] = core.ub[j] = x0[j] = std::round(x[j]);
  NlpOutcome out;
  bool cb = m->callback != nullptr;
  BRcallback saved = m->callback;
  if (cb) m->callback = nullptr;   // a quiet re-solve: no progress reports
  int iters = m->res.nlp_iters;
  runIpopt(core, x0, BR_LOC_NLP, out);
  m->res.nlp_iters = iters;
  m->callback = saved;
  if (out.x.empty() || out.status == BR_NUMERICAL_ERROR || out.status == BR_LOCAL_INFEASIBLE) return false;
  duals = out.dual;
  redcost = out.redcost;
  return true;
}

}  // namespace bresk
