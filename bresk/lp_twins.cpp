// Large groups of identical columns merged into one column before a linear solve, and the
// merged solution spread back over the model's own columns.
#include "bresk/internal.h"

#include <ClpEventHandler.hpp>
#include <ClpSimplex.hpp>

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstring>
#include <numeric>

namespace bresk {

namespace {

// Groups smaller than this are left to Clp's presolve, which removes each duplicate from
// its rows by a search of the row: fine for a few, the square of the row's length for a
// row over a great many.
constexpr int kTwinGroup = 1000;

// Three-way comparison of columns i and j of the arrays: cost, length, rows, values.
int compare_columns(const LpArrays& a, int i, int j) {
  if (a.cost[i] != a.cost[j]) return a.cost[i] < a.cost[j] ? -1 : 1;
  const int li = a.colstart[i + 1] - a.colstart[i], lj = a.colstart[j + 1] - a.colstart[j];
  if (li != lj) return li < lj ? -1 : 1;
  for (int k = 0; k < li; ++k) {
    const int p = a.colstart[i] + k, q = a.colstart[j] + k;
    if (a.rowidx[p] != a.rowidx[q]) return a.rowidx[p] < a.rowidx[q] ? -1 : 1;
    if (a.value[p] != a.value[q]) return a.value[p] < a.value[q] ? -1 : 1;
  }
  return 0;
}

// Whether column j may join a group: a finite lower bound, so the group's lower bound
// is finite and its value splits from the bottom.
bool twin_candidate(const LpArrays& a, int j) {
  return a.collb[j] > -1e30 && a.colstart[j + 1] > a.colstart[j];
}

// A 64-bit digest of column j's cost, rows and values: equal columns have equal digests.
uint64_t column_digest(const LpArrays& a, int j) {
  auto bits = [](double v) {
    uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
  };
  constexpr uint64_t kMul = 0x9e3779b97f4a7c15ULL;
  uint64_t h = (bits(a.cost[j] + 0.0) ^ 0x5bd1e995ULL) * kMul;
  for (int p = a.colstart[j]; p < a.colstart[j + 1]; ++p)
    h = (h ^ (h >> 29) ^ bits(a.value[p] + 0.0) ^ (static_cast<uint64_t>(a.rowidx[p]) << 32)) * kMul;
  return h ^ (h >> 32);
}

} // namespace

// Merges each group of at least kTwinGroup identical columns (same rows, coefficients and
// cost, finite lower bounds) into one column whose bounds are the sums of the members';
// true when it merged any. n log n comparisons of columns.
bool merge_twin_columns(const LpArrays& a, Twins& t) {
  const int n = static_cast<int>(a.colstart.size()) - 1;
  // Digests first, counted in buckets: only columns in a bucket of kTwinGroup or more are
  // compared in full, so a model without such groups pays one pass over its matrix.
  std::vector<uint64_t> dig(n);
  size_t nb = 1024;
  while (nb < static_cast<size_t>(n)) nb *= 2;
  std::vector<int> count(nb, 0);
  int candidates = 0;
  for (int j = 0; j < n; ++j) {
    if (!twin_candidate(a, j)) continue;
    dig[j] = column_digest(a, j);
    ++count[dig[j] & (nb - 1)];
    ++candidates;
  }
  if (candidates < kTwinGroup) return false;
  std::vector<int> order;
  for (int j = 0; j < n; ++j)
    if (twin_candidate(a, j) && count[dig[j] & (nb - 1)] >= kTwinGroup) order.push_back(j);
  if (order.empty()) return false;
  std::stable_sort(order.begin(), order.end(),
                   [&](int i, int j) { return compare_columns(a, i, j) < 0; });
  // head[j]: the first column of j's merged group, j itself when it stays alone
  std::vector<int> head(n);
  std::iota(head.begin(), head.end(), 0);
  bool any = false;
  for (size_t g = 0; g < order.size();) {
    size_t e = g + 1;
    while (e < order.size() && compare_columns(a, order[g], order[e]) == 0) ++e;
    if (e - g >= static_cast<size_t>(kTwinGroup)) {
      const int first = *std::min_element(order.begin() + static_cast<long>(g),
                                          order.begin() + static_cast<long>(e));
      for (size_t k = g; k < e; ++k) head[order[k]] = first;
      any = true;
    }
    g = e;
  }
  if (!any) return false;
  // The merged arrays keep the columns in their order, a group at its first member.
  t.to.assign(n, -1);
  LpArrays& b = t.merged;
  b = LpArrays{};
  b.rowlb = a.rowlb;
  b.rowub = a.rowub;
  b.objconst = a.objconst;
  b.colstart.push_back(0);
  for (int j = 0; j < n; ++j) {
    if (head[j] != j) continue;
    t.to[j] = static_cast<int>(b.cost.size());
    b.cost.push_back(a.cost[j]);
    b.collb.push_back(a.collb[j]);
    b.colub.push_back(a.colub[j]);
    for (int p = a.colstart[j]; p < a.colstart[j + 1]; ++p) {
      b.rowidx.push_back(a.rowidx[p]);
      b.value.push_back(a.value[p]);
    }
    b.colstart.push_back(static_cast<int>(b.rowidx.size()));
  }
  for (int j = 0; j < n; ++j) {
    if (head[j] == j) continue;
    const int k = t.to[head[j]];
    t.to[j] = k;
    b.collb[k] += a.collb[j];
    b.colub[k] = (b.colub[k] >= 1e30 || a.colub[j] >= 1e30) ? DBL_MAX : b.colub[k] + a.colub[j];
  }
  return true;
}

// The model's own columns at the merged solve's outcome: each group's value is spread over
// its members from their lower bounds up, in column order, so at most one member lies
// strictly between its bounds (the basic one when the group is basic); duals and reduced
// costs carry over, members sharing the group's reduced cost. An optimal outcome is
// settled again on the model's own matrix from that basis (no pivots when nothing is
// lost), so ranging reads the model's own columns; any other outcome is copied as it
// stands.
std::unique_ptr<ClpSimplex> spread_twin_columns(const ClpSimplex& s, const LpArrays& a,
                                                const Twins& t) {
  const int n = static_cast<int>(a.colstart.size()) - 1;
  const int nr = static_cast<int>(a.rowlb.size());
  auto o = std::make_unique<ClpSimplex>();
  o->passInMessageHandler(s.messageHandler());
  o->setLogLevel(0);
  o->loadProblem(n, nr, a.colstart.data(), a.rowidx.data(), a.value.data(), a.collb.data(),
                 a.colub.data(), a.cost.data(), a.rowlb.data(), a.rowub.data());
  o->setOptimizationDirection(s.optimizationDirection());
  o->setPrimalTolerance(s.primalTolerance());
  o->setDualTolerance(s.dualTolerance());
  o->scaling(s.scalingFlag());
  o->setPerturbation(s.perturbation());
  o->setMaximumIterations(s.maximumIterations());
  o->setMaximumSeconds(s.maximumSeconds());
  const double* xm = s.primalColumnSolution();
  const double* dm = s.dualColumnSolution();
  double* x = o->primalColumnSolution();
  double* d = o->dualColumnSolution();
  // left[k]: what group k still has to hand out above its members' lower bounds
  std::vector<double> left(xm, xm + s.numberColumns());
  for (int j = 0; j < n; ++j) left[t.to[j]] -= a.collb[j];
  std::vector<char> basic_given(s.numberColumns(), 0);
  std::vector<int> last(s.numberColumns(), -1);
  for (int j = 0; j < n; ++j) {
    const int k = t.to[j];
    const double room = a.colub[j] >= 1e30 ? DBL_MAX : a.colub[j] - a.collb[j];
    const double give = std::clamp(left[k], 0.0, room);
    left[k] -= give;
    x[j] = a.collb[j] + give;
    d[j] = dm[k];
    last[k] = j;
    ClpSimplex::Status st = s.getColumnStatus(k);
    if (st == ClpSimplex::basic) {
      // one member is basic: the one inside its bounds, else the one the value ran out at
      if (!basic_given[k] && ((give > 0.0 && give < room) || left[k] <= 0.0)) basic_given[k] = 1;
      else st = give >= room ? ClpSimplex::atUpperBound : ClpSimplex::atLowerBound;
    } else if (st == ClpSimplex::atUpperBound && give < room) {
      st = ClpSimplex::atLowerBound;
    } else if (st == ClpSimplex::atLowerBound && room < DBL_MAX && give >= room) {
      st = ClpSimplex::atUpperBound;
    }
    o->setColumnStatus(j, st);
  }
  for (int k = 0; k < s.numberColumns(); ++k)
    if (s.getColumnStatus(k) == ClpSimplex::basic && !basic_given[k] && last[k] >= 0)
      o->setColumnStatus(last[k], ClpSimplex::basic);
  for (int i = 0; i < nr; ++i) o->setRowStatus(i, s.getRowStatus(i));
  std::copy(s.primalRowSolution(), s.primalRowSolution() + nr, o->primalRowSolution());
  std::copy(s.dualRowSolution(), s.dualRowSolution() + nr, o->dualRowSolution());
  if (s.status() == 0) {
    ClpEventHandler plain;
    o->passInEventHandler(&plain);
    o->primal();
  } else {
    o->setProblemStatus(s.status());
    o->setSecondaryStatus(s.secondaryStatus());
  }
  o->setNumberIterations(s.numberIterations() + o->numberIterations());
  return o;
}

} // namespace bresk
