// Irreducible infeasible and unbounded sets of linear continuous models, found with Clp:
// an elastic filter and a deletion filter for infeasibility, the unbounded ray and a
// deletion filter over boxed variables for unboundedness (in Clp's module).
#include "bresk/modules.h"
#include "bresk/nlp.h"

#include <coin/ClpSimplex.hpp>

#include <algorithm>
#include <cmath>

namespace bresk {

namespace {

constexpr int kRows = 1, kBounds = 2, kElastic = 8;

double coinInf(double v) { return v >= kInf ? COIN_DBL_MAX : (v <= -kInf ? -COIN_DBL_MAX : v); }

// One candidate: a row (var < 0) or one side of a variable's bounds.
struct Member {
  int row = -1, var = -1, side = 0;   // side -1 lower bound, +1 upper bound
};

// The search: the model's linear data, the candidates and the progress reporting.
class Search {
 public:
  Search(BRmodel* m) : m_(m) { linearProblem(m, p_); }
  const brmip::LinearProblem& problem() const { return p_; }

  // Reports progress at location 10; true when the caller asks to stop.
  bool report(int candidates) {
    Result& r = m_->res;
    r.iis_lps = ++lps_;
    r.iis_candidates = candidates;
    Progress& p = m_->prog;
    p.q_steps = lps_;
    p.q_active = candidates;
    p.q_iters = lps_;
    return call_back(m_, BR_LOC_IIS);
  }

  // Solves an LP over the model's matrix with the given row sides and column bounds and extra
  // elastic columns; returns Clp's status (0 optimal, 1 infeasible, 2 unbounded, other failure).
  int solve(const std::vector<double>& rl, const std::vector<double>& ru, const std::vector<double>& cl,
            const std::vector<double>& cu, const std::vector<double>& cost, int sense,
            ClpSimplex* keep = nullptr) {
    ClpSimplex own;
    ClpSimplex& lp = keep ? *keep : own;
    lp.setLogLevel(0);
    lp.messageHandler()->setLogLevel(0);
    std::vector<double> a(rl.size()), b(ru.size()), c(cl.size()), d(cu.size());
    for (size_t i = 0; i < rl.size(); i++) { a[i] = coinInf(rl[i]); b[i] = coinInf(ru[i]); }
    for (size_t j = 0; j < cl.size(); j++) { c[j] = coinInf(cl[j]); d[j] = coinInf(cu[j]); }
    lp.loadProblem(p_.ncols, p_.nrows, p_.start.data(), p_.index.data(), p_.value.data(), c.data(),
                   d.data(), cost.data(), a.data(), b.data());
    lp.setOptimizationDirection(sense < 0 ? -1.0 : 1.0);
    lp.setMaximumIterations(10000000);
    lp.setMaximumSeconds(3600);
    lp.primal();
    return lp.status();
  }

 protected:
  BRmodel* m_;
  brmip::LinearProblem p_;
  int lps_ = 0;
};

// Irreducible infeasible set.
class IisSearch : public Search {
 public:
  IisSearch(BRmodel* m, int level) : Search(m) {
    bool rows = level & kRows, bounds = level & kBounds;
    if (!rows && !bounds) rows = bounds = true;
    for (int i = 0; rows && i < p_.nrows; i++) cand_.push_back({i, -1, 0});
    for (int j = 0; bounds && j < p_.ncols; j++) {
      if (p_.collb[j] > -kInf) cand_.push_back({-1, j, -1});
      if (p_.colub[j] < kInf) cand_.push_back({-1, j, +1});
    }
    elastic_ = level & kElastic;
    // Sides and bounds at infinity that no point can meet; Clp cannot take them.
    for (int i = 0; i < p_.nrows; i++)
      if (p_.rowlb[i] >= kInf || p_.rowub[i] <= -kInf) lost_.push_back({i, -1, 0});
    for (int j = 0; j < p_.ncols; j++) {
      if (p_.collb[j] >= kInf) lost_.push_back({-1, j, -1});
      if (p_.colub[j] <= -kInf) lost_.push_back({-1, j, +1});
    }
  }

  // Runs the filters; returns 0 or 2016 when stopped (the set then holds the remaining candidates).
  int run() {
    if (!lost_.empty()) return alone();
    std::vector<char> in(cand_.size(), 1);
    if (elastic_ && elasticFilter(in)) return finish(in, false);
    // Deletion filter: drop each member for good when the rest stays infeasible.
    for (size_t k = 0; k < cand_.size(); k++) {
      if (!in[k]) continue;
      in[k] = 0;
      int st = feasibility(in);
      if (report(count(in) + 1)) { in[k] = 1; return finish(in, false); }
      if (st != 1) in[k] = 1;
    }
    return finish(in, true);
  }

  std::vector<Member> rows, bounds;   // sufficient members first
  int sufRows = 0, sufBounds = 0;

 private:
  static int count(const std::vector<char>& in) {
    return static_cast<int>(std::count(in.begin(), in.end(), 1));
  }

  // Sides and bounds with the members outside `in` relaxed; non-candidates stay.
  void sides(const std::vector<char>& in, std::vector<double>& rl, std::vector<double>& ru,
             std::vector<double>& cl, std::vector<double>& cu) const {
    rl = p_.rowlb; ru = p_.rowub; cl = p_.collb; cu = p_.colub;
    for (size_t k = 0; k < cand_.size(); k++) {
      if (in[k]) continue;
      const Member& c = cand_[k];
      if (c.row >= 0) { rl[c.row] = -kInf; ru[c.row] = kInf; }
      else if (c.side < 0) cl[c.var] = -kInf;
      else cu[c.var] = kInf;
    }
  }

  int feasibility(const std::vector<char>& in) {
    std::vector<double> rl, ru, cl, cu, cost(p_.ncols, 0.0);
    sides(in, rl, ru, cl, cu);
    return solve(rl, ru, cl, cu, cost, 1);
  }

  // Elastic filter: members whose elastic variables are needed become hard until the hard set
  // alone is infeasible; `in` then marks that set.  True when stopped (`in` then marks every
  // candidate, the set known to hold an irreducible one).
  bool elasticFilter(std::vector<char>& in) {
    std::vector<char> hard(cand_.size(), 0);
    for (int round = 0; round <= static_cast<int>(cand_.size()); round++) {
      ClpSimplex lp;
      lp.setLogLevel(0);
      lp.messageHandler()->setLogLevel(0);
      // Base: the model with the hard members; the elastic members get e+ / e- columns.
      std::vector<double> rl, ru, cl, cu, cost(p_.ncols, 0.0);
      sides(hard, rl, ru, cl, cu);
      std::vector<int> start = p_.start, index = p_.index;
      std::vector<double> value = p_.value;
      int ncols = p_.ncols, nrows = p_.nrows;
      std::vector<std::pair<int, int>> owner;   // elastic column -> candidate
      auto addCol = [&](int row, double coef, int k) {
        index.push_back(row); value.push_back(coef);
        start.push_back(static_cast<int>(index.size()));
        cl.push_back(0.0); cu.push_back(kInf); cost.push_back(1.0);
        owner.push_back({ncols, k});
        ncols++;
      };
      std::vector<int> brow;                     // bound members as rows x_j (side) bound
      std::vector<double> brl, bru;
      for (size_t k = 0; k < cand_.size(); k++) {
        if (hard[k]) continue;
        const Member& c = cand_[k];
        if (c.row >= 0) {
          rl[c.row] = p_.rowlb[c.row]; ru[c.row] = p_.rowub[c.row];
          if (p_.rowlb[c.row] > -kInf) addCol(c.row, 1.0, static_cast<int>(k));
          if (p_.rowub[c.row] < kInf) addCol(c.row, -1.0, static_cast<int>(k));
        } else {
          int r = nrows++;
          brow.push_back(c.var);
          brl.push_back(c.side < 0 ? p_.collb[c.var] : -kInf);
          bru.push_back(c.side > 0 ? p_.colub[c.var] : kInf);
          addCol(r, c.side < 0 ? 1.0 : -1.0, static_cast<int>(k));
        }
      }
      // Rebuild with the bound rows: they hold one entry in their variable's column.
      std::vector<std::vector<std::pair<int, double>>> cols(ncols);
      for (int j = 0; j < ncols; j++)
        for (int q = start[j]; q < start[j + 1]; q++) cols[j].push_back({index[q], value[q]});
      for (size_t b = 0; b < brow.size(); b++) cols[brow[b]].push_back({p_.nrows + static_cast<int>(b), 1.0});
      std::vector<int> s2(1, 0), i2;
      std::vector<double> v2;
      for (int j = 0; j < ncols; j++) {
        for (auto& e : cols[j]) { i2.push_back(e.first); v2.push_back(e.second); }
        s2.push_back(static_cast<int>(i2.size()));
      }
      rl.insert(rl.end(), brl.begin(), brl.end());
      ru.insert(ru.end(), bru.begin(), bru.end());
      std::vector<double> a(nrows), b(nrows), c(ncols), d(ncols);
      for (int i = 0; i < nrows; i++) { a[i] = coinInf(rl[i]); b[i] = coinInf(ru[i]); }
      for (int j = 0; j < ncols; j++) { c[j] = coinInf(cl[j]); d[j] = coinInf(cu[j]); }
      lp.loadProblem(ncols, nrows, s2.data(), i2.data(), v2.data(), c.data(), d.data(), cost.data(),
                     a.data(), b.data());
      lp.setMaximumIterations(10000000);
      lp.primal();
      int st = lp.status();
      if (report(static_cast<int>(cand_.size()) - round)) { in.assign(cand_.size(), 1); return true; }
      if (st == 1) break;                       // the hard members alone are infeasible
      bool grew = false;
      if (st == 0 && lp.objectiveValue() > 1e-9) {
        const double* x = lp.primalColumnSolution();
        for (auto& o : owner)
          if (x[o.first] > 1e-9 && !hard[o.second]) { hard[o.second] = 1; grew = true; }
      }
      if (!grew) { hard.assign(cand_.size(), 1); break; }   // no progress: keep every candidate
    }
    in = hard;
    return false;
  }

  // Orders the set and classifies sufficient members; returns 0, or 2016 for a partial set.
  int finish(const std::vector<char>& in, bool complete) {
    std::vector<Member> sr, nr, sb, nb;
    for (size_t k = 0; k < cand_.size(); k++) {
      if (!in[k]) continue;
      bool suf = false;
      if (complete) {
        std::vector<char> all(cand_.size(), 1);
        all[k] = 0;
        suf = feasibility(all) == 0;
        if (report(count(in))) complete = false;
      }
      const Member& c = cand_[k];
      if (c.row >= 0) (suf ? sr : nr).push_back(c);
      else (suf ? sb : nb).push_back(c);
    }
    sufRows = static_cast<int>(sr.size());
    sufBounds = static_cast<int>(sb.size());
    rows = sr; rows.insert(rows.end(), nr.begin(), nr.end());
    bounds = sb; bounds.insert(bounds.end(), nb.begin(), nb.end());
    return complete ? 0 : BRERR_INTERRUPTED;
  }

  // A side or bound that no point can meet is an infeasible set by itself; it is also
  // sufficient when it is the only one and the model without it is feasible.
  int alone() {
    const Member& c = lost_[0];
    bool suf = false;
    if (lost_.size() == 1) {
      std::vector<double> rl = p_.rowlb, ru = p_.rowub, cl = p_.collb, cu = p_.colub, cost(p_.ncols, 0.0);
      if (c.row >= 0) { rl[c.row] = -kInf; ru[c.row] = kInf; }
      else if (c.side < 0) cl[c.var] = -kInf;
      else cu[c.var] = kInf;
      suf = solve(rl, ru, cl, cu, cost, 1) == 0;
      report(1);
    }
    (c.row >= 0 ? rows : bounds).push_back(c);
    sufRows = suf && c.row >= 0 ? 1 : 0;
    sufBounds = suf && c.row < 0 ? 1 : 0;
    return 0;
  }

  std::vector<Member> cand_, lost_;
  bool elastic_ = false;
};

// Irreducible unbounded set.
class IusSearch : public Search {
 public:
  explicit IusSearch(BRmodel* m) : Search(m) {
    cap_ = par(m, P_GLBVBD);
    if (!(cap_ > 0) || cap_ >= kInf) cap_ = 1e10;
  }

  int run() {
    std::vector<char> boxed(p_.ncols, 0);
    ClpSimplex lp;
    int st = unbounded(boxed, &lp);
    std::vector<char> cand(p_.ncols, 1);
    if (st == 2) {
      double* ray = lp.unboundedRay();
      if (ray) {
        for (int j = 0; j < p_.ncols; j++) cand[j] = std::fabs(ray[j]) > 1e-9;
        delete[] ray;
      }
    }
    // Variables outside the ray's support are boxed from the start.
    for (int j = 0; j < p_.ncols; j++) boxed[j] = !cand[j];
    if (unbounded(boxed) != 2) boxed.assign(p_.ncols, 0);
    bool stopped = report(static_cast<int>(std::count(cand.begin(), cand.end(), 1)));
    for (int j = 0; j < p_.ncols && !stopped; j++) {
      if (boxed[j]) continue;
      boxed[j] = 1;
      int s = unbounded(boxed);
      stopped = report(static_cast<int>(std::count(boxed.begin(), boxed.end(), 0)));
      if (s != 2) boxed[j] = 0;   // boxing it ends the unboundedness: it belongs to the set
    }
    std::vector<int> suf, nec;
    for (int j = 0; j < p_.ncols; j++) {
      if (boxed[j]) continue;
      bool s = false;
      if (!stopped) {
        std::vector<char> one(p_.ncols, 0);
        one[j] = 1;
        s = unbounded(one) != 2;
        stopped = report(static_cast<int>(std::count(boxed.begin(), boxed.end(), 0)));
      }
      (s ? suf : nec).push_back(j);
    }
    nsuf = static_cast<int>(suf.size());
    vars = suf;
    vars.insert(vars.end(), nec.begin(), nec.end());
    return stopped ? BRERR_INTERRUPTED : 0;
  }

  std::vector<int> vars;
  int nsuf = 0;

 private:
  int unbounded(const std::vector<char>& boxed, ClpSimplex* keep = nullptr) {
    std::vector<double> cl = p_.collb, cu = p_.colub;
    for (int j = 0; j < p_.ncols; j++)
      if (boxed[j]) { cl[j] = std::max(cl[j], -cap_); cu[j] = std::min(cu[j], cap_); }
    // A column in no row that improves without a bound makes any feasible model unbounded;
    // the simplex is asked only whether the rest has a feasible point.
    std::vector<double> cost = p_.cost;
    bool runaway = false;
    for (int j = 0; j < p_.ncols; j++) {
      if (p_.start[j] != p_.start[j + 1]) continue;
      const double c = p_.sense * cost[j];
      if ((c < 0 && cu[j] >= kInf) || (c > 0 && cl[j] <= -kInf)) {
        runaway = true;
        cost[j] = 0.0;
      }
    }
    int st = solve(p_.rowlb, p_.rowub, cl, cu, cost, p_.sense, keep);
    return runaway && st == 0 ? 2 : st;
  }
  double cap_;
};

}  // namespace

// Finds an irreducible infeasible set of rows and bounds of the model Clp found infeasible.
int clp_find_iis(BRmodel* m, int level) {
  Result& r = m->res;
  r.iis_rows.clear(); r.iis_vars.clear(); r.iis_bndtype.clear();
  r.iis_lps = 0;
  IisSearch s(m, level);
  int code = s.run();
  for (auto& c : s.rows) r.iis_rows.push_back(c.row);
  for (auto& c : s.bounds) { r.iis_vars.push_back(c.var); r.iis_bndtype.push_back(c.side); }
  r.iis_sufrows = s.sufRows;
  r.iis_sufbnds = s.sufBounds;
  r.has_iis = true;
  return code;
}

// Finds an irreducible unbounded set of variables of the model Clp found unbounded.
int clp_find_ius(BRmodel* m) {
  Result& r = m->res;
  r.iis_vars.clear();
  r.iis_lps = 0;
  IusSearch s(m);
  int code = s.run();
  r.iis_vars = s.vars;
  r.iis_sufbnds = s.nsuf;
  r.has_ius = true;
  return code;
}

}  // namespace bresk
