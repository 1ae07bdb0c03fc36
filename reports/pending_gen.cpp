// Placeholder for the scalar model lists until they land: no rows are held.
#include <vector>
#include "store/master.h"
#include "store/work.h"

bool scalarrow_(Work&, MasterRecord&, int32_t, std::vector<int32_t>&, std::vector<double>&, char&) {
  return false;
}
