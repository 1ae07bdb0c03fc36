// Thin bindings to the solver library's solving, information, loading, data, name, file,
// range and diagnosis calls: ids become library handles, scalars pass by value, arrays
// pass through, and the library's result comes back unchanged.
#include <vector>

#include "solver/bindings.h"

namespace {
BRmodel* M(int32_t id) { return modelptr_(id); }

// Runs a library getter on a local T and copies it to out only when the call succeeds.
template <class T, class Out, class Get>
int32_t getok(Out& out, Get get) {
  T v{};
  const int32_t r = get(&v);
  if (r == 0) out = v;
  return r;
}
// Runs a library getter on a local int and copies it to out whatever the call returns.
template <class Get>
int32_t getint(int32_t& out, Get get) {
  int v = 0;
  const int32_t r = get(&v);
  out = v;
  return r;
}
}  // namespace

int32_t FBROPTIMIZE_(int32_t& model, int32_t& method) { return BRoptimize(M(model), method); }
int32_t FBRSOLVEMIP_(int32_t& model) { return BRsolveMIP(M(model)); }
int32_t FBRSOLVEGOP_(int32_t& model) { return BRsolveGOP(M(model)); }

// A real information item; the value is written only on success.
int32_t FBRGETINFOD_(int32_t& model, int32_t& item, double& value) {
  return getok<double>(value, [&](void* v) { return BRgetInfo(M(model), item, v); });
}
// An integer information item; the value is written only on success.
int32_t FBRGETINFOI_(int32_t& model, int32_t& item, int32_t& value) {
  return getok<int>(value, [&](void* v) { return BRgetInfo(M(model), item, v); });
}
int32_t FBRGETSOLUTIONSTATUS_(int32_t& model, int32_t& status) {
  return getint(status, [&](int* p) { return BRgetSolutionStatus(M(model), p); });
}
int32_t FBRGETROWINDEXNUMERICERROR_(int32_t& model, int32_t& row) {
  return getint(row, [&](int* p) { return BRgetErrorRowIndex(M(model), p); });
}
int32_t FBRGETPRIMALSOLUTION_(int32_t& model, double* x) { return BRgetPrimalSolution(M(model), x); }
int32_t FBRGETSLACKS_(int32_t& model, double* s) { return BRgetSlacks(M(model), s); }
int32_t FBRGETDUALSOLUTION_(int32_t& model, double* y) { return BRgetDualSolution(M(model), y); }
int32_t FBRGETREDUCEDCOSTS_(int32_t& model, double* d) { return BRgetReducedCosts(M(model), d); }
int32_t FBRGETMIPSOLUTION_(int32_t& model, double* x) { return BRgetMIPSolution(M(model), x); }
int32_t FBRGETMIPSLACKS_(int32_t& model, double* s) { return BRgetMIPSlacks(M(model), s); }
int32_t FBRGETMIPDUALS_(int32_t& model, double* y) { return BRgetDualMIPsolution(M(model), y, nullptr); }
int32_t FBRGETMIPREDUCEDCOSTS_(int32_t& model, double* d) {
  return BRgetDualMIPsolution(M(model), nullptr, d);
}

// Status, objective and bound of the integer solve; the other outputs are read and dropped.
int32_t FBRGETCURRENTMIPSOLUTIONINFO_(int32_t& model, int32_t& status, double& obj, double& bound) {
  int s = 0, i[13] = {};
  double d[7] = {};
  int32_t r = BRgetCurrentMIPSolutionInfo(M(model), &s, &obj, &bound, &i[0], &i[1], &i[2], &i[3],
                                          &i[4], &i[5], &i[6], &i[7], &d[0], &i[8], &i[9], &i[10],
                                          &i[11], &i[12], &i[0], &i[1], &d[1], &d[2], &d[3], &d[4],
                                          &d[5], &d[6]);
  status = s;
  return r;
}

int32_t FBRSETCALLBACK_(int32_t& model, QuirnCallback cb, MasterRecord* user) {
  return BRsetCallback(M(model), cb, user);
}
int32_t FBRGETCALLBACKINFOD_(BRmodel* model, int32_t location, int32_t item, double& value) {
  return getok<double>(value,
                       [&](void* v) { return BRgetCallbackInfo(model, location, item, v); });
}
int32_t FBRGETCALLBACKINFOI_(BRmodel* model, int32_t location, int32_t item, int32_t& value) {
  return getok<int>(value, [&](void* v) { return BRgetCallbackInfo(model, location, item, v); });
}
int32_t FBRGETQUICKBACKINFOD_(BRmodel* model, int32_t location, int32_t item, double& value) {
  return getok<double>(value,
                       [&](void* v) { return BRgetQuickbackInfo(model, location, item, v); });
}
int32_t FBRGETQUICKBACKINFOI_(BRmodel* model, int32_t location, int32_t item, int32_t& value) {
  return getok<int>(value, [&](void* v) { return BRgetQuickbackInfo(model, location, item, v); });
}
int32_t FBRGETMIPCALLBACKINFOD_(BRmodel* model, int32_t item, double& value) {
  return getok<double>(value, [&](void* v) { return BRgetMIPCallbackInfo(model, item, v); });
}
int32_t FBRGETMIPCALLBACKINFOI_(BRmodel* model, int32_t item, int32_t& value) {
  return getok<int>(value, [&](void* v) { return BRgetMIPCallbackInfo(model, item, v); });
}
int32_t FBRLOADVARSTARTPOINT_(int32_t& model, const double* x) {
  return BRloadVarStartPoint(M(model), x);
}


int32_t FBRLOADNLPCODE_(int32_t& model, int32_t& ncons, int32_t& nobj, int32_t& nvars,
                        int32_t& nconst, const int32_t* objsense, const char* rowtype,
                        const char* vartype, const int32_t* code, int32_t& ncode,
                        int32_t& hasvix, const int32_t* varindex, const double* consts,
                        int32_t& hasstart, const double* start, const int32_t* objstart,
                        const int32_t* objlen, const int32_t* rowstart, const int32_t* rowlen,
                        const double* lb, const double* ub) {
  return BRloadNLPCode(M(model), ncons, nobj, nvars, nconst, objsense, rowtype, vartype, code,
                       ncode, hasvix ? varindex : nullptr, consts, hasstart ? start : nullptr,
                       objstart, objlen, rowstart, rowlen, lb, ub);
}

int32_t FBRGETLPDATA_(int32_t& model, int32_t& sense, double& objconst, double* cost, double* rhs,
                      char* contype, int32_t* colstart, int32_t* collen, double* value,
                      int32_t* rowidx, double* lb, double* ub) {
  return getint(sense, [&](int* p) {
    return BRgetLPData(M(model), p, &objconst, cost, rhs, contype, colstart, collen, value, rowidx,
                       lb, ub);
  });
}
int32_t FBRGETLPBOUNDS_(int32_t& model, double* lb, double* ub) {
  return BRgetLPData(M(model), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, lb, ub);
}
int32_t FBRGETOBJECTIVEDATA_(int32_t& model, int32_t& sense, double& objconst, double* cost) {
  return getint(sense, [&](int* p) {
    return BRgetLPData(M(model), p, &objconst, cost, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr);
  });
}
int32_t FBRGETNLPDATA_(int32_t& model, int32_t* colstart, int32_t* collen, int32_t* rowidx,
                       int32_t* rowcode, char* rowflag, int32_t* rowstart, int32_t* rowvars) {
  return BRgetNLPData(M(model), colstart, collen, rowidx, rowcode, rowflag, rowstart, rowvars);
}
int32_t FBRGETNLPOBJECTIVEDATA_(int32_t& model, int32_t& n, int32_t* vars) {
  return getint(n, [&](int* p) { return BRgetNLPObjectiveData(M(model), p, vars); });
}
int32_t FBRGETQCDATA_(int32_t& model, int32_t& n, int32_t* row, int32_t* i, int32_t* j, double* q) {
  return getint(n, [&](int* p) { return BRgetQCData(M(model), p, row, i, j, q); });
}
int32_t FBRGETQCDATAI_(int32_t& model, int32_t& row, int32_t& n, int32_t* i, int32_t* j, double* q) {
  return getint(n, [&](int* p) { return BRgetQCDatai(M(model), row, p, i, j, q); });
}
int32_t FBRGETLPCONSTRAINTDATAI_(int32_t& model, int32_t& row, char* type, double& rhs,
                                 int32_t& n, int32_t* col, double* val) {
  return getint(n, [&](int* p) {
    return BRgetLPConstraintDatai(M(model), row, type, &rhs, p, col, val);
  });
}
int32_t FBRGETLPCONSTRAINTNZCOUNT_(int32_t& model, int32_t& row, int32_t& n) {
  return getint(n, [&](int* p) {
    return BRgetLPConstraintDatai(M(model), row, nullptr, nullptr, p, nullptr, nullptr);
  });
}
int32_t FBRGETVARTYPE_(int32_t& model, char* types) { return BRgetVarType(M(model), types); }

int32_t FBRLOADNAMEDATATTL_(int32_t& model, const char* title) {
  return BRloadNameData(M(model), title, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}
int32_t FBRLOADNAMEDATAOBJ_(int32_t& model, const char* name) {
  return BRloadNameData(M(model), nullptr, name, nullptr, nullptr, nullptr, nullptr, nullptr);
}
int32_t FBRLOADNAMEDATAROW_(int32_t& model, const char** names) {
  return BRloadNameData(M(model), nullptr, nullptr, nullptr, nullptr, nullptr, names, nullptr);
}
int32_t FBRLOADNAMEDATAVAR_(int32_t& model, const char** names) {
  return BRloadNameData(M(model), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, names);
}
int32_t FBRREADMPSFILE_(int32_t& model, const char* file, int32_t& format) {
  return BRreadMPSFile(M(model), file, format);
}
int32_t FBRGETFILEERROR_(int32_t& model, int32_t& line, char* text) {
  return getint(line, [&](int* p) { return BRgetFileError(M(model), p, text); });
}
int32_t FBRWRITEMPSFILE_(int32_t& model, const char* file, int32_t& format) {
  return BRwriteMPSFile(M(model), file, format);
}
int32_t FBRWRITEMPIFILE_(int32_t& model, const char* file) { return BRwriteMPIFile(M(model), file); }
int32_t FBRWRITEBRESKFILE_(int32_t& model, const char* file) {
  return BRwriteBRESKFile(M(model), file);
}
int32_t FBRGETOBJECTIVERANGES_(int32_t& model, double* dec, double* inc) {
  return BRgetObjectiveRanges(M(model), dec, inc);
}
int32_t FBRGETCONSTRAINTRANGES_(int32_t& model, double* dec, double* inc) {
  return BRgetConstraintRanges(M(model), dec, inc);
}
int32_t FBRGETNLPRANGES_(int32_t& model, int32_t& wantrows, double* rowdec, double* rowinc,
                         int32_t& wantvars, double* vardec, double* varinc, int32_t& wantx,
                         double* x1, double* x2) {
  return BRgetNLPRanges(M(model), wantrows ? rowdec : nullptr, wantrows ? rowinc : nullptr,
                        wantvars ? vardec : nullptr, wantvars ? varinc : nullptr,
                        wantx ? x1 : nullptr, wantx ? x2 : nullptr);
}

// Finds the irreducible infeasible set at the level and reads it.
int32_t FBRFINDIIS_(int32_t& model, int32_t& nsufrows, int32_t& nrows, int32_t* rows,
                    int32_t& nsufbnds, int32_t& nbnds, int32_t* vars, int32_t* bndtype,
                    int32_t& level) {
  int32_t r = BRfindIIS(M(model), level);
  if (r != 0) return r;
  int a = 0, b = 0, c = 0, d = 0;
  r = BRgetIIS(M(model), &a, &b, rows, &c, &d, vars, bndtype);
  nsufrows = a;
  nrows = b;
  nsufbnds = c;
  nbnds = d;
  return r;
}
// Finds the irreducible unbounded set at the level and reads it.
int32_t FBRFINDIUS_(int32_t& model, int32_t& nsuf, int32_t& n, int32_t* vars, int32_t& level) {
  int32_t r = BRfindIUS(M(model), level);
  if (r != 0) return r;
  int a = 0, b = 0;
  r = BRgetIUS(M(model), &a, &b, vars);
  nsuf = a;
  n = b;
  return r;
}

int32_t FBRGETCONSTRAINTDATAI_(int32_t& model, int32_t& row, char* type, double& rhs, int32_t& n,
                               int32_t* col, double* val) {
  return getint(n, [&](int* p) {
    return BRgetConstraintDatai(M(model), row, type, &rhs, p, col, val);
  });
}
int32_t FBRSETMIPCALLBACK_(int32_t& model, QuirnCallback cb, MasterRecord* user) {
  return BRsetMIPCallback(M(model), cb, user);
}
int32_t FBRGETMODELINTPARAMETER_(int32_t& model, int32_t& id, int32_t& value) {
  return getint(value, [&](int* p) { return BRgetModelIntParameter(M(model), id, p); });
}
int32_t FBRGETMIPSOLUTIONSTATUS_(int32_t& model, int32_t& status) {
  return getint(status, [&](int* p) { return BRgetMIPSolutionStatus(M(model), p); });
}
int32_t FBRGETSOLUTIONINFO_(int32_t& model, int32_t& status, double& obj, double& bound,
                            int32_t& iterations) {
  int s = 0, it = 0;
  int32_t r = BRgetSolutionInfo(M(model), &s, &obj, &bound, &it);
  status = s;
  iterations = it;
  return r;
}
int32_t FBRGETOBJECTIVE_(int32_t& model, double& obj) { return BRgetObjective(M(model), &obj); }
int32_t FBRCREATEENV_(int32_t& err) {
  int e = 0;
  BRenv* env = BRcreateEnv(&e);
  err = e;
  if (!env) return 0;
  int32_t id = envid_(env);
  if (!id) {
    BRdeleteEnv(&env);
    err = BRERR_NO_MEMORY;
  }
  return id;
}
int32_t FBRGETLPOBJECTIVENZCOUNT_(int32_t& model, int32_t& n) {
  return getint(n, [&](int* p) { return BRgetLPObjectiveNZCount(M(model), p); });
}
int32_t FBRGETNLPOBJECTIVENZCOUNT_(int32_t& model, int32_t& n) {
  return getint(n, [&](int* p) { return BRgetNLPObjectiveNZCount(M(model), p); });
}
