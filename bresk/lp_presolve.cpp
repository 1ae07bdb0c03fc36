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

// The number of entries of the matrix's longest row.
int longest_row(const LpArrays& a) {
  std::vector<int> len(a.rowlb.size(), 0);
  for (int i : a.rowidx) ++len[i];
  return len.empty() ? 0 : *std::max_element(len.begin(), len.end());
}

// True for a row of 20,000 entries or more. On such a row the dual simplex meets many
// columns at the same ratio of cost to coefficient (a few distinct costs, or columns that
// differ by a factor), and without perturbed costs it passes them a dozen at a time: n / 15
// iterations of n steps each. Clp's own choice leaves the costs alone there, and its
// duplicate-column pass removes each duplicate from the row by a search of the row.
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
