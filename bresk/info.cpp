// Callback installation, information items, callback queries, status and
// solution vectors.
#include "bresk/internal.h"

#include <algorithm>

using namespace bresk;

namespace {

int put_i(void* out, int v) {
  if (!out) return BRERR_BAD_ARGUMENT;
  *static_cast<int*>(out) = v;
  return 0;
}

int put_d(void* out, double v) {
  if (!out) return BRERR_BAD_ARGUMENT;
  *static_cast<double*>(out) = v;
  return 0;
}

// Variables of one integer type.
int integers(const BRmodel* m, char type) {
  return static_cast<int>(std::count(m->vtype.begin(), m->vtype.end(), type));
}

// Copies a result vector or reports that there is none.
int copy_out(const std::vector<double>& v, bool have, double* out) {
  if (!out) return BRERR_BAD_ARGUMENT;
  if (!have) return BRERR_NO_SOLUTION;
  std::copy(v.begin(), v.end(), out);
  return 0;
}

} // namespace

extern "C" {

int BRsetCallback(BRmodel* model, BRcallback cb, void* user) {
  return api_call(model, false, [&]() -> int {
    model->callback = cb;
    model->cbdata = user;
    return 0;
  });
}

int BRsetUsercalc(BRmodel* model, BRusercalc f, void* user) {
  return api_call(model, false, [&]() -> int {
    model->usercalc = f;
    model->userdata = user;
    return 0;
  });
}

int BRgetCallbackInfo(BRmodel* model, int location, int item, void* out) {
  return api_call(model, true, [&]() -> int {
    const Progress& p = model->prog;
    if (location >= BR_LOC_LOAD_PARSE && location <= BR_LOC_LOAD_BUILD) {
      switch (item) {
        case 1800: return put_d(out, p.load_seconds);
        case 1801: return put_i(out, p.load_rows);
        case 1802: return put_i(out, p.load_vars);
        case 1803: return put_i(out, p.load_words);
        case 1804: return put_i(out, p.load_nlrows);
      }
      return BRERR_UNKNOWN_ITEM;
    }
    if (location < 0 || location > BR_LOC_IIS) return BRERR_UNKNOWN_ITEM;
    switch (item) {
      case 1251: return put_d(out, p.primal_obj);
      case 1252: return put_d(out, p.dual_obj);
      case 1253: return put_d(out, p.primal_inf);
      case 1254: return put_d(out, p.dual_inf);
      case 1259: return put_i(out, p.simplex_iters);
      case 1260: return put_i(out, p.barrier_iters);
      case 1261: return put_i(out, p.nlp_iters);
    }
    return BRERR_UNKNOWN_ITEM;
  });
}

int BRgetQuickbackInfo(BRmodel* model, int location, int item, void* out) {
  return api_call(model, true, [&]() -> int {
    const Progress& p = model->prog;
    if (location < 0 || location > BR_LOC_IIS) return BRERR_UNKNOWN_ITEM;
    switch (item) {
      case 1700: return put_d(out, p.q_obj);
      case 1701: return put_d(out, p.q_inf);
      case 1702: return put_d(out, p.q_best);
      case 1703: return put_i(out, p.q_iters);
      case 1704: return put_d(out, p.q_bound);
      case 1705: return put_i(out, p.q_status);
      case 1707: return put_i(out, p.q_steps);
      case 1708: return put_i(out, p.q_active);
    }
    return BRERR_UNKNOWN_ITEM;
  });
}

int BRgetMIPCallbackInfo(BRmodel* model, int item, void* out) {
  return api_call(model, true, [&]() -> int {
    const Progress& p = model->prog;
    switch (item) {
      case 1300: return put_i(out, p.mip_status);
      case 1301: return put_d(out, p.mip_best);
      case 1302: return put_d(out, p.mip_bound);
      case 1303: return put_i(out, p.mip_simplex);
      case 1304: return put_i(out, p.mip_barrier);
      case 1305: return put_i(out, p.mip_nlp);
      case 1306: return put_i(out, p.mip_progress);
      case 1307: return put_i(out, p.mip_event);
      case 1308: return put_i(out, p.mip_lps);
      case 1309: return put_i(out, p.mip_nodes);
      case 1310: return put_i(out, p.mip_kind);
      case 1311: return put_i(out, p.mip_active);
      case 1312: return put_i(out, p.mip_cuts);
    }
    return BRERR_UNKNOWN_ITEM;
  });
}

int BRgetInfo(BRmodel* model, int item, void* out) {
  return api_call(model, true, [&]() -> int {
    const BRmodel* m = model;
    const Result& r = m->res;
    const int* d = model_dims(model);
    switch (item) {
      case 1201: return put_i(out, m->nvars);
      case 1202: return put_i(out, d[2]);
      case 1203: return put_i(out, integers(m, 'I'));
      case 1204: return put_i(out, integers(m, 'B'));
      case 1206: return put_i(out, d[4]);
      case 1207: return put_i(out, d[3]);
      case 1208: return put_i(out, d[5]);
      case 1251: return put_d(out, r.has_mip ? r.mip_obj : r.obj);
      case 1253: return put_d(out, r.bound);
      case 1255: return put_i(out, r.status);
      case 1259: return put_i(out, r.simplex_iters);
      case 1260: return put_i(out, r.barrier_iters);
      case 1261: return put_i(out, r.nlp_iters);
      case 1300: return put_i(out, r.mip_status);
      case 1353:
      case 1354: return put_d(out, r.mip_bound);
      case 1853: return put_i(out, r.iis_candidates);
      case 1854: return put_i(out, r.iis_lps);
    }
    return BRERR_UNKNOWN_ITEM;
  });
}

int BRgetSolutionStatus(BRmodel* model, int* status) {
  return api_call(model, true, [&]() -> int { return put_i(status, model->res.solstatus); });
}

int BRgetPrimalSolution(BRmodel* model, double* x) {
  return api_call(model, false, [&]() -> int { return copy_out(model->res.x, model->res.has_primal, x); });
}

int BRgetSlacks(BRmodel* model, double* slacks) {
  return api_call(model, false, [&]() -> int {
    return copy_out(model->res.slack, model->res.has_primal, slacks);
  });
}

int BRgetDualSolution(BRmodel* model, double* duals) {
  return api_call(model, false, [&]() -> int {
    return copy_out(model->res.dual, model->res.has_dual, duals);
  });
}

int BRgetReducedCosts(BRmodel* model, double* redcosts) {
  return api_call(model, false, [&]() -> int {
    return copy_out(model->res.redcost, model->res.has_dual, redcosts);
  });
}

// Calls the program binds but does not use: the plain answers.
BRenv* BRcreateEnv(int* err) { return BRcreateEnvProdCode(0, err); }

int BRgetConstraintDatai(BRmodel* model, int row, char* type, double* rhs, int* n, int* col,
                         double* val) {
  return BRgetLPConstraintDatai(model, row, type, rhs, n, col, val);
}

int BRsetMIPCallback(BRmodel* model, BRcallback cb, void* user) {
  return BRsetCallback(model, cb, user);
}

int BRgetMIPSolutionStatus(BRmodel* model, int* status) {
  return api_call(model, true, [&]() -> int { return put_i(status, model->res.mip_status); });
}

int BRgetSolutionInfo(BRmodel* model, int* status, double* obj, double* bound, int* iterations) {
  return api_call(model, true, [&]() -> int {
    const Result& r = model->res;
    if (status) *status = r.status;
    if (obj) *obj = r.has_mip ? r.mip_obj : r.obj;
    if (bound) *bound = r.has_mip ? r.mip_bound : r.bound;
    if (iterations) *iterations = r.simplex_iters + r.barrier_iters + r.nlp_iters;
    return 0;
  });
}

int BRgetObjective(BRmodel* model, double* obj) {
  return api_call(model, true, [&]() -> int {
    return put_d(obj, model->res.has_mip ? model->res.mip_obj : model->res.obj);
  });
}

int BRgetLPObjectiveNZCount(BRmodel* model, int* n) {
  return api_call(model, true, [&]() -> int {
    int c = 0;
    for (int k = model->obj.lin_begin; k < model->obj.lin_end; ++k) c += lin_coef(model, model->obj, k) != 0.0;
    return put_i(n, c);
  });
}

int BRgetNLPObjectiveNZCount(BRmodel* model, int* n) {
  return api_call(model, true, [&]() -> int {
    const Row& o = model->obj;
    return put_i(n, o.kind == ROW_NONLINEAR ? o.nl_end - o.nl_begin : 0);
  });
}

} // extern "C"
