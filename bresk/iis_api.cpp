// The calls for irreducible infeasible and unbounded sets: the searches run in Clp's module,
// the sets found are read back here.
#include "bresk/modules.h"
#include "bresk/nlp.h"

#include <algorithm>

namespace bresk {
namespace {

// The model must be linear, continuous and left with the status the search needs.
int checkModel(BRmodel* m, int status) {
  if (!m->loaded) return BRERR_NOT_LOADED;
  if (!modelIsLinear(m) || modelHasIntegers(m) || m->res.status != status) return BRERR_NOT_INFEAS_UNBND;
  return 0;
}

}  // namespace
}  // namespace bresk

using namespace bresk;

extern "C" {

// Finds an irreducible infeasible set of rows and bounds.
int BRfindIIS(BRmodel* m, int level) {
  return api_call(m, false, [&] {
    if (int e = checkModel(m, BR_INFEASIBLE)) return e;
    const ClpEngine* e = clpEngine();
    return e ? e->findIis(m, level) : static_cast<int>(BRERR_NOT_AVAILABLE);
  });
}

// The infeasible set found last, sufficient members first.
int BRgetIIS(BRmodel* m, int* nsufrows, int* nrows, int* rows, int* nsufbnds, int* nbnds, int* vars,
             int* bndtype) {
  return api_call(m, false, [&] {
    const Result& r = m->res;
    if (!r.has_iis) return static_cast<int>(BRERR_NO_SOLUTION);
    if (nsufrows) *nsufrows = r.iis_sufrows;
    if (nrows) *nrows = static_cast<int>(r.iis_rows.size());
    if (rows) std::copy(r.iis_rows.begin(), r.iis_rows.end(), rows);
    if (nsufbnds) *nsufbnds = r.iis_sufbnds;
    if (nbnds) *nbnds = static_cast<int>(r.iis_vars.size());
    if (vars) std::copy(r.iis_vars.begin(), r.iis_vars.end(), vars);
    if (bndtype) std::copy(r.iis_bndtype.begin(), r.iis_bndtype.end(), bndtype);
    return 0;
  });
}

// Finds an irreducible unbounded set of variables.
int BRfindIUS(BRmodel* m, int) {
  return api_call(m, false, [&] {
    if (int e = checkModel(m, BR_UNBOUNDED)) return e;
    const ClpEngine* e = clpEngine();
    return e ? e->findIus(m) : static_cast<int>(BRERR_NOT_AVAILABLE);
  });
}

// The unbounded set found last, sufficient members first.
int BRgetIUS(BRmodel* m, int* nsuf, int* n, int* vars) {
  return api_call(m, false, [&] {
    const Result& r = m->res;
    if (!r.has_ius) return static_cast<int>(BRERR_NO_SOLUTION);
    if (nsuf) *nsuf = r.iis_sufbnds;
    if (n) *n = static_cast<int>(r.iis_vars.size());
    if (vars) std::copy(r.iis_vars.begin(), r.iis_vars.end(), vars);
    return 0;
  });
}

}  // extern "C"
