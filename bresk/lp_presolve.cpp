// The choice of Clp's presolve for a linear solve from the shape of the matrix.
#include "bresk/internal.h"

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

} // namespace bresk
