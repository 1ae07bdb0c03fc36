// Environment and model lifecycle, parameters, version and error texts, dimensions.
#include "bresk/internal.h"
#include "bresk/mute.h"

#include <ClpConfig.h>
#include <CbcConfig.h>
#include <CoinUtilsConfig.h>
#include <IpoptConfig.h>
#include <BonminConfig.h>

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace bresk {

namespace {

constexpr double kIntMax = 2147483647.0;

// Every parameter the library knows: id, double?, default, lowest, highest.
const ParamDef kParams[] = {
    {28, false, 2, 0, 3},                  // presolve: 0 off, else on
    {29, false, 1, 0, 3},                  // scaling
    {30, false, 2147483640, 0, kIntMax},   // simplex iteration limit
    {31, false, 0, -kIntMax, kIntMax},
    {39, false, 0, 0, 1},                  // instruction-list file generation flag
    {51, false, 1, -kIntMax, kIntMax},
    {52, false, -1, -1, kIntMax},          // time limit (model), seconds
    {54, true, 1e-7, 0, 1e30},                // primal feasibility tolerance
    {56, false, 0, 0, 1},                  // 1 = no crossover after barrier
    {201, false, 9, -kIntMax, kIntMax},
    {205, false, 0, 0, 4},                 // derivative computation
    {206, true, 1e-6, 0, 1e30},               // nonlinear feasibility tolerance
    {207, true, 1e-7, 0, 1},               // nonlinear optimality tolerance
    {208, false, 0, -kIntMax, kIntMax},
    {209, false, 0, -kIntMax, kIntMax},
    {210, false, 0, -kIntMax, kIntMax},
    {211, false, 0, -kIntMax, kIntMax},
    {212, false, 126, -kIntMax, kIntMax},
    {213, false, 2147483640, 0, kIntMax},  // integer solver iteration limit
    {214, false, 0, 0, 3},                 // linearization
    {219, false, 0, 0, 1},                 // quadratic recognition
    {220, false, 2, 0, 4},
    {221, false, 1, 0, kIntMax},           // multistart word
    {223, false, 3, -kIntMax, kIntMax},
    {224, false, 0, -kIntMax, kIntMax},
    {300, false, -1, -1, kIntMax},         // time limit, seconds
    {301, false, 100, -1, kIntMax},        // seconds before the relative gap applies
    {303, false, 0, 0, kIntMax},           // probing level
    {304, false, 4, 0, 6},                 // node selection
    {305, true, 1e-6, 0, 1},             // absolute integrality tolerance
    {306, true, 1e-6, 0, 1},             // relative integrality tolerance
    {307, true, 0, 0, 1e30},               // absolute optimality gap
    {308, true, 1e-8, 0, 1},               // relative optimality gap
    {309, false, 200, 0, kIntMax},         // cut passes at the root
    {310, false, 2, 0, kIntMax},           // cut passes in the tree
    {311, true, 0.75, 0, 1e30},            // relative cut limit
    {314, false, 0, 0, 8191},              // cut mask, root
    {315, false, 0, 0, 8191},              // cut mask, tree
    {317, false, 0, 0, kIntMax},
    {318, false, 0, 0, kIntMax},
    {319, false, 3, 0, 100},               // heuristics level
    {322, true, 0, -1e308, 1e308},         // objective hurdle
    {323, false, 0, 0, 1},                 // hurdle in use
    {324, false, 10, 0, kIntMax},          // strong branching
    {326, false, 0, -kIntMax, kIntMax},                 // branch direction
    {327, false, 0, -kIntMax, kIntMax},
    {328, false, 0, -kIntMax, kIntMax},
    {334, false, 0, -kIntMax, kIntMax},
    {335, false, 0, 0, kIntMax},           // binary priority
    {338, true, 1e5, 0, 1e308},            // linearization big M
    {339, true, 1e-6, 0, 1e308},           // linearization delta
    {342, false, 2147483640, 0, kIntMax},  // nonlinear iteration limit
    {400, true, 1e-6, 0, 1e308},
    {404, true, 1e-7, 0, 1e308},
    {405, true, 1e10, 0, 1e308},           // variable bound cap for sampled starts
    {408, false, 0, -kIntMax, kIntMax},
    {412, false, 0, -kIntMax, kIntMax},
    {414, false, 0, -kIntMax, kIntMax},
    {417, false, 0, -kIntMax, kIntMax},
    {552, false, 0, -kIntMax, kIntMax},
    {553, false, 0, -kIntMax, kIntMax},
};

const ParamDef* kParamIndex[kMaxParamId];

// Builds the id index of the parameter table once.
bool index_params() {
  for (const ParamDef& d : kParams) kParamIndex[d.id] = &d;
  return true;
}
const bool kIndexed = index_params();

// Texts of the error codes.
struct ErrorText { int code; const char* text; };
const ErrorText kErrors[] = {
    {2002, "Unable to open file: file not found."},
    {2003, "Syntax error in MPS file (see line reported)."},
    {2004, "Out of memory."},
    {2005, "Invalid or null environment or model handle."},
    {2006, "Invalid argument (null pointer or index out of range)."},
    {2007, "Unknown parameter id."},
    {2008, "Parameter value out of range."},
    {2009, "Unknown information item for this call or location."},
    {2010, "No model is loaded."},
    {2011, "No solution is available."},
    {2012, "Operation not available for this model (nonlinear, integer, or no optimal basis)."},
    {2013, "Unable to open file."},
    {2014, "Invalid instruction code in instruction list."},
    {2015, "Malformed instruction list (stack error)."},
    {2016, "Solver interrupted by the caller."},
    {2017, "Solver time limit reached."},
    {2018, "Quadratic model is not convex."},
    {2019, "Arithmetic error evaluating a row."},
    {2020, "Call not allowed inside a callback."},
    {2021, "Error writing file."},
    {2022, "Internal solver failure (exception in solver package)."},
    {2023, "Solver iteration limit reached."},
    {2024, "Model is not a linear continuous infeasible/unbounded model."},
    {2025, "Row-wise load calls out of order or counts do not match."},
    {2040, "Row is not linear."},
};

} // namespace

const ParamDef* find_param(int id) {
  (void)kIndexed;
  if (id < 0 || id >= kMaxParamId) return nullptr;
  return kParamIndex[id];
}

Params::Params() {
  std::fill(std::begin(v), std::end(v), 0.0);
  for (const ParamDef& d : kParams) v[d.id] = d.def;
}

int set_param(Params& p, int id, double value, bool from_int) {
  const ParamDef* d = find_param(id);
  if (!d) return BRERR_UNKNOWN_PARAM;
  if (std::isnan(value)) return BRERR_PARAM_RANGE;
  if (!d->is_double && !from_int && value != std::trunc(value)) return BRERR_PARAM_RANGE;
  if (value < d->lo || value > d->hi) return BRERR_PARAM_RANGE;
  p.v[id] = value;
  if (id == P_HURDLE) p.v[P_NOHURDLE] = 1;   // a hurdle value puts the hurdle in use
  return 0;
}

void clear_result(BRmodel* m) {
  release_clp(m);
  bool loaded = m->loaded;
  m->res = Result();
  m->res.status = m->res.solstatus = loaded ? BR_LOADED : BR_UNLOADED;
  m->prog = Progress();
}

void* big_map(size_t bytes) {
  // a 2 MiB stretch more than asked, then the parts before the first boundary and after
  // the array given back
  constexpr uintptr_t huge = uintptr_t{2} << 20;
  if (bytes > SIZE_MAX - huge) return nullptr;
  void* q = ::mmap(nullptr, bytes + huge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (q == MAP_FAILED) return nullptr;
  const uintptr_t a = reinterpret_cast<uintptr_t>(q), b = (a + huge - 1) & ~(huge - 1);
  if (b > a) ::munmap(q, b - a);
  if (a + huge > b) ::munmap(reinterpret_cast<void*>(b + bytes), a + huge - b);
  void* p = reinterpret_cast<void*>(b);
#ifdef MADV_HUGEPAGE
  ::madvise(p, bytes, MADV_HUGEPAGE);
#endif
  return p;
}

void big_unmap(void* p, size_t bytes) { ::munmap(p, bytes); }

void clear_model(BRmodel* m) {
  clear_result(m);
  m->loaded = false;
  m->dims_ok = false;
  m->res.status = m->res.solstatus = BR_UNLOADED;
  m->nvars = m->ncons = 0;
  m->sense = 1;
  m->vtype.clear(); m->lb.clear(); m->ub.clear(); m->start.clear();
  m->rows.clear(); m->obj = Row(); m->obj.type = 'N';
  m->lin_col.clear(); m->lin_val.clear();
  m->quad_i.clear(); m->quad_j.clear(); m->quad_q.clear();
  m->nl_var.clear(); m->row_var.clear();
  m->nodes.clear(); m->kids.clear(); m->words.clear(); m->nwords = 0; m->pool.clear();
  m->title.clear(); m->objname.clear(); m->rhsname.clear(); m->rngname.clear(); m->bndname.clear();
  m->rownames.clear(); m->varnames.clear();
  m->error_row = -1; m->error_row_set = false;
  m->file_line = 0; m->file_text.clear();
  m->rowwise = RowWise();
}

const int* model_dims(BRmodel* m) {
  if (m->dims_ok) return m->dims;
  int lin = 0, nlc = 0, qc = 0, nlo = 0, ni = 0, nlr = 0;
  for (const Row& r : m->rows) {
    lin += r.lin_end - r.lin_begin;
    if (r.kind == ROW_NONLINEAR) nlc += r.nl_end - r.nl_begin;
    if (r.kind == ROW_QUADRATIC) qc += r.quad_end - r.quad_begin;
    if (r.kind != ROW_LINEAR) ++nlr;
  }
  if (m->obj.kind == ROW_NONLINEAR) nlo = m->obj.nl_end - m->obj.nl_begin;
  if (m->obj.kind == ROW_QUADRATIC) qc += m->obj.quad_end - m->obj.quad_begin;
  for (char t : m->vtype) ni += (t == 'B' || t == 'I');
  const int d[8] = {m->nvars, m->ncons, lin, nlc, qc, nlo, ni, nlr};
  std::copy(d, d + 8, m->dims);
  m->dims_ok = m->loaded;  // a load in progress is counted afresh each time
  return m->dims;
}

double elapsed(const BRmodel* m) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - m->t0).count();
}

double time_limit(const BRmodel* m) {
  double a = par(m, P_TIMLIM), b = par(m, P_TIMLIM_MODEL);
  double t = -1;
  if (a > 0) t = a;
  if (b > 0 && (t < 0 || b < t)) t = b;
  return t;
}

int iteration_limit(const BRmodel* m, int id) {
  int v = ipar(m, id);
  return v <= 0 ? 2147483640 : v;
}

bool call_back(BRmodel* m, int location) {
  if (!m->callback || m->in_callback) return false;
  m->in_callback = true;
  StdoutMute* mute = StdoutMute::active();
  if (mute) mute->pause(true);
  int r = 0;
  try {
    r = m->callback(m, location, m->cbdata);
  } catch (...) {
    r = 0;
  }
  if (mute) mute->pause(false);
  m->in_callback = false;
  return r != 0;
}

} // namespace bresk

using namespace bresk;

extern "C" {

BRenv* BRcreateEnvProdCode(int, int* err) {
  BRenv* e = new (std::nothrow) BRenv();
  if (err) *err = e ? 0 : BRERR_NO_MEMORY;
  return e;
}

int BRdeleteEnv(BRenv** env) {
  if (!env || !*env) return BRERR_BAD_HANDLE;
  BRenv* e = *env;
  for (BRmodel* m : e->models) {
    if (m->in_callback) return BRERR_IN_CALLBACK;
  }
  for (BRmodel* m : e->models) {
    clear_model(m);
    delete m;
  }
  delete e;
  *env = nullptr;
  return 0;
}

BRmodel* BRcreateModel(BRenv* env, int* err) {
  if (!env) {
    if (err) *err = BRERR_BAD_HANDLE;
    return nullptr;
  }
  BRmodel* m = nullptr;
  try {
    m = new BRmodel();
    m->env = env;
    m->params = env->params;
    m->obj.type = 'N';
    m->t0 = std::chrono::steady_clock::now();
    env->models.push_back(m);
  } catch (...) {
    delete m;
    if (err) *err = BRERR_NO_MEMORY;
    return nullptr;
  }
  if (err) *err = 0;
  return m;
}

int BRdeleteModel(BRmodel** model) {
  if (!model || !*model) return BRERR_BAD_HANDLE;
  BRmodel* m = *model;
  if (m->in_callback) return BRERR_IN_CALLBACK;
  if (m->env) {
    auto& v = m->env->models;
    v.erase(std::remove(v.begin(), v.end(), m), v.end());
  }
  clear_model(m);
  delete m;
  *model = nullptr;
  return 0;
}

// The version and build texts are short enough for one line of a banner; the versions of
// the components come from BRgetComponentVersions.
int BRgetVersionInfo(char* ver, char* build) {
  if (ver) std::snprintf(ver, 200, "%s", "3.0.0");
  if (build) std::snprintf(build, 200, "%s", "COIN-OR Clp/Cbc/Ipopt/Bonmin");
  return 0;
}

int BRgetComponentVersions(char* text) {
  if (!text) return BRERR_BAD_ARGUMENT;
  std::snprintf(text, 256, "Clp %s, Cbc %s, Ipopt %s, Bonmin %s, CoinUtils %s", CLP_VERSION,
                CBC_VERSION, IPOPT_VERSION, BONMIN_VERSION, COINUTILS_VERSION);
  return 0;
}

int BRgetErrorMessage(BRenv*, int code, char* text) {
  if (!text) return BRERR_BAD_ARGUMENT;
  const char* t = "Unknown error code.";
  for (const ErrorText& e : kErrors) {
    if (e.code == code) t = e.text;
  }
  std::snprintf(text, 256, "%s", t);
  return 0;
}

int BRsetEnvIntParameter(BRenv* env, int id, int value) {
  if (!env) return BRERR_BAD_HANDLE;
  return set_param(env->params, id, value, true);
}

int BRsetEnvDouParameter(BRenv* env, int id, double value) {
  if (!env) return BRERR_BAD_HANDLE;
  return set_param(env->params, id, value, false);
}

int BRsetModelIntParameter(BRmodel* model, int id, int value) {
  return api_call(model, false, [&]() -> int { return set_param(model->params, id, value, true); });
}

int BRsetModelDouParameter(BRmodel* model, int id, double value) {
  return api_call(model, false, [&]() -> int { return set_param(model->params, id, value, false); });
}

int BRgetModelIntParameter(BRmodel* model, int id, int* value) {
  return api_call(model, true, [&]() -> int {
    if (!find_param(id)) return BRERR_UNKNOWN_PARAM;
    if (value) *value = ipar(model, id);
    return 0;
  });
}

int BRgetModelDouParameter(BRmodel* model, int id, double* value) {
  return api_call(model, true, [&]() -> int {
    if (!find_param(id)) return BRERR_UNKNOWN_PARAM;
    if (value) *value = par(model, id);
    return 0;
  });
}

int BRgetDimensions(BRmodel* model, int* nvars, int* ncons, int* nlin, int* nnlcon, int* nqc,
                    int* nnlobj, int* nint, int* nnlrows) {
  return api_call(model, true, [&]() -> int {
    const int* d = model_dims(model);
    int* out[8] = {nvars, ncons, nlin, nnlcon, nqc, nnlobj, nint, nnlrows};
    for (int k = 0; k < 8; ++k)
      if (out[k]) *out[k] = d[k];
    return 0;
  });
}

} // extern "C"
