// Linear integer models on Cbc: arguments from the settings, events turned into progress reports.
#include "bresk/mip.h"
#include "bresk/mip_coin.h"
#include "bresk/nlp.h"
#include "bresk/quiet.h"

#include <coin/CbcEventHandler.hpp>
#include <coin/CbcModel.hpp>
#include <coin/CbcSolver.hpp>
#include <coin/CbcTree.hpp>
#include <coin/ClpEventHandler.hpp>
#include <coin/ClpSimplex.hpp>
#include <coin/CoinTime.hpp>
#include <coin/OsiClpSolverInterface.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace brmip {
namespace {

// Shared state between the solve and the (cloned) event handler.
struct EventState {
  const LinearProblem* p = nullptr;
  const MipSettings* s = nullptr;
  const MipCallback* cb = nullptr;
  double t0 = 0;
  int reason = 0;          // code of the stop we asked for
  MipProgress prog;
  bool ratioApplied = false;
  long long lpIterations = 0;   // simplex iterations of every LP of the search, root included
  bool reported = false;        // an incumbent has been reported as found
  double reportedBest = 0;      // ... with this objective
};

// Counts the simplex iterations of the search's LPs. Every copy of the LP solver that Cbc
// makes (preprocessing, the search, strong branching) clones it and counts into one total;
// Cbc's own count leaves out the root LP that its driver solves before the search.
class LpIterations : public ClpEventHandler {
 public:
  explicit LpIterations(long long* total) : total_(total) {}
  ClpEventHandler* clone() const override { return new LpIterations(*this); }
  int event(Event e) override {
    if (e == endOfIteration) ++*total_;
    return -1;
  }

 private:
  long long* total_;
};

// Forwards Cbc events to the caller's callback and enforces the limits Cbc has no switch for.
class Events : public CbcEventHandler {
 public:
  explicit Events(EventState* st) : st_(st) {}
  CbcEventHandler* clone() const override { return new Events(*this); }
  CbcAction event(CbcEvent e) override {
    const CbcModel* m = getModel();
    if (!m || !st_) return noAction;
    // A heuristic's own small search (a model with a parent) sends its events through a copy
    // of this handler: its counts and solutions are not the search's, so it only honours the
    // limits and a stop already asked for.
    if (m->parentModel()) {
      if (!st_->reason) limitsPassed();
      return st_->reason ? stop : noAction;
    }
    MipProgress& g = st_->prog;
    bool max = st_->p->sense < 0;
    // The model seen here minimises internally; turn values into the user's sense.
    auto user = [&](double v) {
      if (std::fabs(v) >= 1e49) return max ? -1e30 : 1e30;
      double w = v * m->getObjSense();
      return (max ? -w : w) + st_->p->objconst;
    };
    g.solutions = m->getSolutionCount();
    if (g.solutions > 0 || m->bestSolution()) g.status = 5;
    if (m->bestSolution()) g.best = user(m->getObjValue());
    double b = m->getBestPossibleObjValue();
    if (std::fabs(b) < 1e49) {
      double w = b * m->getObjSense();
      g.bound = (max ? -w : w) + st_->p->objconst;
    }
    g.iterations = std::max<long long>(m->getIterationCount(), st_->lpIterations);
    g.nodes = m->getNodeCount();
    g.lps = g.nodes + 1;
    g.active = m->tree() ? m->tree()->size() : 0;
    g.cuts = m->numberCutGenerators() > 0 ? m->getNumRows() - st_->p->nrows : 0;
    if (g.cuts < 0) g.cuts = 0;
    g.seconds = CoinCpuTime() - st_->t0;
    // Cbc does not honour a stop at every event (not after a heuristic's solution): once
    // asked, every later event asks again until it does; the counts above still follow the
    // search, so that the last report holds its final count.
    if (st_->reason) return stop;
    g.kind = 0;
    switch (e) {
      case solution: g.event = 1; g.kind = 1; break;
      case heuristicSolution: g.event = 1; g.kind = 7; break;
      case endSearch: g.event = 2; break;
      default: g.event = 2; break;
    }
    // Cbc tells of every solution it meets, also one no better than the incumbent it holds:
    // only a changed incumbent is reported as found.
    if (g.event == 1) {
      if (st_->reported && g.best == st_->reportedBest) {
        g.event = 2;
        g.kind = 0;
      } else {
        st_->reported = true;
        st_->reportedBest = g.best;
      }
    }
    if (limitsPassed()) return stop;
    if (*st_->cb && (*st_->cb)(g)) {
      st_->reason = 2016;
      return stop;
    }
    return noAction;
  }

 private:
  // Sets the stop reason when the iteration or time limit is passed.
  bool limitsPassed() {
    long long it = std::max<long long>(st_->prog.iterations, st_->lpIterations);
    if (st_->s->iterations >= 0 && it >= st_->s->iterations) st_->reason = 2023;
    else if (st_->s->seconds >= 0 && CoinCpuTime() - st_->t0 > st_->s->seconds + 0.5) st_->reason = 2017;
    return st_->reason != 0;
  }

  EventState* st_;
};

// Most cut passes at the root of the search, whatever larger cap the settings give.
constexpr int kRootPasses = 5;

// A number as an argument of Cbc's driver, exactly.
std::string num(double v) {
  char b[64];
  std::snprintf(b, sizeof b, "%.17g", v);
  return b;
}

// The hurdle as Cbc's cut-off (the user's sense, objective constant taken off); false when
// there is none or it cuts nothing off (a minimum below +infinity, a maximum above -infinity).
// Cbc's probing stops the program on a cut-off past its infinity, so one that cuts off every
// finite objective goes in as the library's infinity itself.
bool hurdleCutoff(const LinearProblem& p, const MipSettings& s, double& cut) {
  if (!s.hurdle || std::isnan(s.hurdleValue)) return false;
  cut = s.hurdleValue - p.objconst;
  if (p.sense < 0 ? cut <= -1e30 : cut >= 1e30) return false;
  cut = std::clamp(cut, -1e30, 1e30);
  return true;
}

}  // namespace

// A model without integer columns (Cbc's driver cannot take one): one simplex solve.
void solveWithoutIntegers(const LinearProblem& p, const MipSettings& s, MipResult& r) {
  ClpSimplex lp;
  loadQuietClp(lp, p, CoinBounds(p));
  if (s.iterations >= 0) lp.setMaximumIterations(static_cast<int>(std::min<long long>(s.iterations, 2147483647)));
  if (s.seconds >= 0) lp.setMaximumSeconds(s.seconds);
  lp.primal();
  int st = lp.status();
  r.last.iterations = lp.numberIterations();
  r.status = st == 0 ? 1 : st == 1 ? 3 : st == 2 ? 4 : 12;
  if (st == 3) r.code = lp.secondaryStatus() == 9 ? 2017 : 2023;
  if (st == 0) {
    r.x.assign(lp.primalColumnSolution(), lp.primalColumnSolution() + p.ncols);
    r.objective = p.objconst;
    for (int j = 0; j < p.ncols; j++) r.objective += p.cost[j] * r.x[j];
    r.bound = r.objective;
  }
  r.last.status = r.status;
}

// Settles a model whose relaxation Cbc found unbounded (status 6). With rational data such
// an integer model is unbounded as soon as it has one integer point, and infeasible
// otherwise; a search for any point (no objective, no hurdle) tells which. Over unbounded
// integers that search may never end (Cbc dives without end on 2x - 2y = 1), so it runs in a
// box of +-100 on every integer column without a finite bound, with a node and time budget:
// a point found proves the model unbounded, a box proven empty proves it infeasible only
// when no column was boxed, and anything else leaves status 6. Its progress reaches the
// caller as plain node reports, so that a stop still works.
void settleUnboundedRelaxation(const LinearProblem& p, const MipSettings& s, const MipCallback& cb,
                               MipResult& r) {
  LinearProblem f = p;
  std::fill(f.cost.begin(), f.cost.end(), 0.0);
  f.objconst = 0;
  bool boxed = false;
  for (int j = 0; j < f.ncols; j++) {
    if (!f.integer[j]) continue;
    if (f.collb[j] <= -1e30) { f.collb[j] = std::min(-100.0, f.colub[j]); boxed = true; }
    if (f.colub[j] >= 1e30) { f.colub[j] = std::max(100.0, f.collb[j]); boxed = true; }
  }
  MipSettings fs = s;
  fs.hurdle = false;
  fs.maxNodes = 1000;
  fs.seconds = s.seconds >= 0 ? std::min(s.seconds, 10.0) : 10.0;
  MipCallback fcb = [&](const MipProgress& g) {
    MipProgress q = g;
    q.status = 12;
    q.event = 2;
    q.kind = 0;
    q.best = p.sense < 0 ? -1e30 : 1e30;
    q.bound = -q.best;
    return cb && cb(q);
  };
  MipResult fr;
  solveMipCbc(f, fs, fcb, fr);
  if (fr.status == 1) r.status = 4;
  else if (fr.status == 3 && !boxed) r.status = 3;
  else if (fr.code == 2016) r.code = 2016;
  r.last.iterations += fr.last.iterations;
  r.last.nodes += fr.last.nodes;
  r.last.lps += fr.last.lps;
}

// True when a column without row entries improves the objective without end (an improving
// cost and an infinite bound in that direction): the model is then unbounded if it is feasible.
bool emptyImprovingColumn(const LinearProblem& p) {
  for (int j = 0; j < p.ncols; j++) {
    if (p.start[j + 1] > p.start[j]) continue;
    double c = p.sense < 0 ? -p.cost[j] : p.cost[j];   // as minimised
    if ((c < 0 && p.colub[j] >= 1e30) || (c > 0 && p.collb[j] <= -1e30)) return true;
  }
  return false;
}

// Status of the continuous relaxation by Clp's primal simplex without presolve: 0 optimal,
// 1 infeasible, 2 unbounded, other: not settled; z gets the optimum (objective constant left out).
int relaxationStatus(const LinearProblem& p, const MipSettings& s, double& z) {
  ClpSimplex lp;
  loadQuietClp(lp, p, CoinBounds(p));
  lp.setMaximumSeconds(s.seconds >= 0 ? std::min(s.seconds, 60.0) : 60.0);
  lp.primal();
  z = lp.objectiveValue();
  return lp.status();
}

// Confirms Cbc's verdict of infeasible (status 3), which its root solve can give wrongly on a
// model whose relaxation is unbounded. A relaxation found infeasible confirms it; one found
// unbounded (or a column that improves without end) goes to the unbounded-relaxation search;
// a feasible one keeps the verdict when the hurdle cuts off its optimum or when Cbc searched a tree, else the model is solved
// again without preprocessing and that verdict stands. Anything unsettled leaves status 12.
void confirmInfeasible(const LinearProblem& p, const MipSettings& s, const MipCallback& cb, int nodes,
                       MipResult& r) {
  double z = 0, cut = 0;
  int rel = emptyImprovingColumn(p) ? 2 : relaxationStatus(p, s, z);
  if (rel == 1) return;
  // A hurdle that the relaxation's optimum does not pass leaves no integer point to find.
  if (rel == 0 && hurdleCutoff(p, s, cut) && (p.sense < 0 ? z <= cut : z >= cut)) return;
  if (rel == 2) {
    r.status = 6;
    settleUnboundedRelaxation(p, s, cb, r);
    return;
  }
  if (rel == 0 && nodes > 0) return;
  if (!s.presolve) {
    if (rel != 0) r.status = 12;
    return;
  }
  MipSettings plain = s;
  plain.presolve = false;
  MipResult again;
  solveMipCbc(p, plain, cb, again);
  again.last.iterations += r.last.iterations;
  again.last.nodes += r.last.nodes;
  again.last.lps += r.last.lps;
  r = std::move(again);
}

void solveMipCbc(const LinearProblem& p, const MipSettings& s, const MipCallback& cb, MipResult& r) {
  r = MipResult();
  if (std::find(p.integer.begin(), p.integer.end(), 1) == p.integer.end()) {
    solveWithoutIntegers(p, s, r);
    return;
  }
  OsiClpSolverInterface osi;
  osi.messageHandler()->setLogLevel(0);
  osi.getModelPtr()->setLogLevel(0);
  loadCoin(osi, p, CoinBounds(p));
  osi.setObjSense(p.sense < 0 ? -1.0 : 1.0);
  for (int j = 0; j < p.ncols; j++)
    if (p.integer[j]) osi.setInteger(j);

  EventState st;
  LpIterations counter(&st.lpIterations);
  osi.getModelPtr()->passInEventHandler(&counter);
  CbcModel model(osi);
  model.messageHandler()->setLogLevel(0);
  // A point found before (already checked) is the search's first incumbent; Cbc checks it again.
  if (static_cast<int>(s.start.size()) == p.ncols) model.setBestSolution(s.start.data(), p.ncols, COIN_DBL_MAX, true);
  st.p = &p; st.s = &s; st.cb = &cb; st.t0 = CoinCpuTime();
  Events ev(&st);
  model.passInEventHandler(&ev);

  std::vector<std::string> a = {"bresk", "-log", "0", "-slog", "0"};
  auto add = [&](const std::string& k, const std::string& v) { a.push_back(k); a.push_back(v); };
  if (s.seconds >= 0) add("-sec", num(s.seconds));
  if (s.absgap > 0) add("-allowableGap", num(s.absgap));
  if (s.relgap > 0) add("-ratioGap", num(s.relgap));
  add("-integerTolerance", num(std::max(1e-20, std::min(0.5, s.inttol))));
  add("-primalTolerance", num(std::max(1e-20, s.primaltol)));
  if (double cut; hurdleCutoff(p, s, cut)) add("-cutoff", num(cut));
  if (!s.presolve) { add("-presolve", "off"); add("-preprocess", "off"); }
  if (!s.heuristics) add("-heuristicsOnOff", "off");
  if (!s.treeCuts) add("-passTree", "0");
  if (!s.probing) add("-probingCuts", "off");
  // Cbc's own default of five candidates comes with further tuning that an explicit count
  // switches off, so five is left to Cbc.
  if (s.strong >= 0 && s.strong != 5) add("-strongBranching", std::to_string(s.strong));
  // Root cut passes: Cbc's driver would force up to a hundred on a small model, which on
  // the integer benchmark costs several times the search and holds every pass's rows; a
  // few passes that stop once the bound stalls pay best. The setting caps them.
  add("-passCuts", std::to_string(std::min(s.rootPasses, kRootPasses)));
  if (s.nodeStrategy == 1) add("-nodeStrategy", "depth");
  if (s.maxNodes >= 0) add("-maxNodes", std::to_string(s.maxNodes));
  a.push_back("-solve");
  a.push_back("-quit");
  std::vector<const char*> argv;
  for (auto& x : a) argv.push_back(x.c_str());

  bresk::StdoutMute mute;   // Cbc's driver prints a few messages whatever its log level
  bresk::StderrMute emute;
  CbcSolverUsefulData data;
  CbcMain0(model, data);
  data.noPrinting_ = true;
  data.useSignalHandler_ = false;
  CbcMain1(static_cast<int>(argv.size()), argv.data(), model, nullptr, data);

  r.last = st.prog;
  const double* best = model.bestSolution();
  bool has = best && model.getSolutionCount() > 0;
  if (!has && best) has = model.getObjValue() < 1e49;
  if (has) {
    r.x.assign(best, best + p.ncols);
    double z = p.objconst;
    for (int j = 0; j < p.ncols; j++) {
      if (p.integer[j]) r.x[j] = std::round(r.x[j]);
      z += p.cost[j] * r.x[j];
    }
    r.objective = z;
  }
  double bnd = model.getBestPossibleObjValue();
  r.bound = std::fabs(bnd) < 1e49 ? bnd + p.objconst : (p.sense < 0 ? 1e30 : -1e30);
  if (model.isProvenOptimal() && has) {
    r.status = 1;
    r.bound = r.objective;
  } else if (model.isProvenInfeasible() && !has) {
    r.status = 3;
  } else if (model.isContinuousUnbounded()) {
    r.status = 6;
  } else if (has) {
    r.status = 5;
  } else {
    r.status = 12;
  }
  if (r.status == 5 || r.status == 12) {
    if (st.reason) r.code = st.reason;
    else if (model.secondaryStatus() == 4) r.code = 2017;
    else if (model.secondaryStatus() == 3 || model.secondaryStatus() == 8) r.code = 2023;
    else if (model.secondaryStatus() == 5) r.code = 2016;
    // A stop on the gap tolerances is an accepted optimum.
    if (has && model.secondaryStatus() == 2) { r.status = 1; r.code = 0; }
  }
  r.last.status = r.status;
  if (has) r.last.best = r.objective;
  r.last.bound = r.bound;
  r.last.iterations = std::max<long long>({r.last.iterations, model.getIterationCount(), st.lpIterations});
  r.last.nodes = std::max(r.last.nodes, model.getNodeCount());
  if (r.status == 6 && !st.reason) {
    settleUnboundedRelaxation(p, s, cb, r);
    r.last.status = r.status;
  } else if (r.status == 3 && !st.reason) {
    confirmInfeasible(p, s, cb, model.getNodeCount(), r);
    r.last.status = r.status;
  }
  r.last.seconds = CoinCpuTime() - st.t0;
}

}  // namespace brmip
