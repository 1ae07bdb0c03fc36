// The choices for a linear solve that follow from the shape of the matrix: Clp's presolve,
// its duplicate-column pass, the cost perturbation and the method.
#include "bresk/internal.h"

#include <algorithm>

namespace bresk {

// Clp's presolve drops a row it finds redundant from each of its columns by a search of
// the column's list, so a column in L rows that fall away one by one (a bound written
// again in every row, the same row many times) costs it L * L steps before any pivot: a
// million such rows would take hours. The simplex without presolve takes one pass over
// such a model, and no model short of this length is affected.
bool presolve_fits(const LpArrays& a) {
  constexpr int kLongestColumn = 20000;
  const int n = static_cast<int>(a.colstart.size()) - 1;
  for (int j = 0; j < n; ++j)
    if (a.colstart[j + 1] - a.colstart[j] > kLongestColumn) return false;
  return true;
}

// The longest row of the matrix and, when it is dense, whether a thousand or more of its
// columns share one ratio of cost to coefficient.
LpShape lp_shape(const LpArrays& a) {
  LpShape sh;
  std::vector<int> len(a.rowlb.size(), 0);
  for (int i : a.rowidx) ++len[i];
  if (len.empty()) return sh;
  const auto top = std::max_element(len.begin(), len.end());
  sh.longest = *top;
  if (!dense_row(sh.longest)) return sh;
  const int r = static_cast<int>(top - len.begin());
  const int n = static_cast<int>(a.colstart.size()) - 1;
  std::vector<double> ratio;
  ratio.reserve(static_cast<size_t>(sh.longest));
  for (int j = 0; j < n; ++j)
    for (int p = a.colstart[j]; p < a.colstart[j + 1]; ++p)
      if (a.rowidx[p] == r && a.value[p] != 0.0) ratio.push_back(a.cost[j] / a.value[p]);
  std::sort(ratio.begin(), ratio.end());
  constexpr size_t kTiedColumns = 1000;
  for (size_t g = 0; g < ratio.size() && !sh.tied;) {
    size_t e = g + 1;
    while (e < ratio.size() && ratio[e] == ratio[g]) ++e;
    sh.tied = e - g >= kTiedColumns;
    g = e;
  }
  return sh;
}

// True for a row of 20,000 entries or more. On such a row the dual simplex meets the
// columns that share a ratio of cost to coefficient (a few distinct costs, or columns that
// differ by a factor) a dozen at a time unless their costs are perturbed, which Clp's own
// choice leaves out: n / 15 iterations of n steps each. Clp's duplicate-column pass removes
// each duplicate from such a row by a search of the row.
bool dense_row(int longest) { return longest >= 20000; }

// True for a model the primal simplex with sprint solves faster than the dual: at least
// 50,000 columns, ten times as many columns as rows, and no dense row (over a dense row
// each sprint pass prices nearly every column, and the primal takes tens of thousands of
// iterations where the dual takes a few).
bool wide_model(int ncols, int nrows, int longest) {
  return ncols >= 50000 && static_cast<int64_t>(ncols) >= 10 * static_cast<int64_t>(nrows) &&
         !dense_row(longest);
}

} // namespace bresk
