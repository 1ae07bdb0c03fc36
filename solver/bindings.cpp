// Bindings to the solver library: handle tables for environments and models, and one
// thin call per library function.
#include "solver/bindings.h"

#include <cstring>

#include "store/slots.h"
#include "store/upcalls.h"

namespace {
constexpr int32_t MAXENVS = 8;
constexpr int32_t MAXMODELS = 64;
BRenv* g_envs[MAXENVS + 1] = {};        // slot 0 unused: id 0 is no environment
BRmodel* g_models[MAXMODELS + 1] = {};  // slot 0 unused: id 0 is no model

// Enters a newly created handle in its table; when no slot is free the handle is deleted
// again and err says so. Result the id (0 on failure).
template <class T, size_t N>
int32_t keep(T* (&table)[N], T* p, int (*del)(T**), int32_t& err) {
  if (!p) return 0;
  int32_t id = slotid(table, p);
  if (!id) {
    del(&p);
    err = BRERR_NO_MEMORY;
  }
  return id;
}

// Deletes the handle behind an id and clears the slot and the id.
template <class T, size_t N>
int32_t release(T* (&table)[N], int32_t& id, int (*del)(T**)) {
  T* p = slotptr(table, id);
  if (!p) return id == 0 ? 0 : BRERR_BAD_HANDLE;
  int r = del(&p);
  table[id] = nullptr;
  id = 0;
  return r;
}
}  // namespace

// The environment behind an id.
BRenv* envptr_(int32_t id) { return slotptr(g_envs, id); }

// The model behind an id.
BRmodel* modelptr_(int32_t id) { return slotptr(g_models, id); }

// Enters an environment in the first free slot.
int32_t envid_(BRenv* env) { return slotid(g_envs, env); }

// Enters a model in the first free slot.
int32_t modelid_(BRmodel* model) { return slotid(g_models, model); }

// Creates an environment; result its id (0 on failure, err the library's code).
int32_t FBRCREATEENVPRODCODE_(int32_t& prodcode, int32_t& err) {
  int e = 0;
  BRenv* env = BRcreateEnvProdCode(prodcode, &e);
  err = e;
  return keep(g_envs, env, BRdeleteEnv, err);
}

// Deletes an environment; the id is cleared.
int32_t FBRDELETEENV_(int32_t& env) {
  return release(g_envs, env, BRdeleteEnv);
}

// Creates a model in an environment; result its id (0 on failure).
int32_t FBRCREATEMODEL_(int32_t& env, int32_t& err) {
  int e = 0;
  BRmodel* m = BRcreateModel(envptr_(env), &e);
  err = e;
  return keep(g_models, m, BRdeleteModel, err);
}

// Deletes a model; the id is cleared.
int32_t FBRDELETEMODEL_(int32_t& model) {
  return release(g_models, model, BRdeleteModel);
}

// Version and build texts of the library (200 characters each).
int32_t FBRGETVERSIONINFO_(char* ver, char* build) { return BRgetVersionInfo(ver, build); }

// Message text of a library error code; the buffer is cleared first so that a failed
// look-up leaves nothing stale in it.
int32_t FBRGETERRORMESSAGE_(int32_t& env, int32_t& code, char* text) {
  if (!text) return BRERR_BAD_ARGUMENT;
  text[0] = 0;
  return BRgetErrorMessage(envptr_(env), code, text);
}

int32_t FBRSETENVINTPARAMETER_(int32_t& env, int32_t& id, int32_t& value) {
  return BRsetEnvIntParameter(envptr_(env), id, value);
}
int32_t FBRSETENVDOUPARAMETER_(int32_t& env, int32_t& id, double& value) {
  return BRsetEnvDouParameter(envptr_(env), id, value);
}
int32_t FBRSETMODELINTPARAMETER_(int32_t& model, int32_t& id, int32_t& value) {
  return BRsetModelIntParameter(modelptr_(model), id, value);
}
int32_t FBRSETMODELDOUPARAMETER_(int32_t& model, int32_t& id, double& value) {
  return BRsetModelDouParameter(modelptr_(model), id, value);
}

// Dimensions of the loaded model (eight counts).
int32_t FBRGETDIMENSIONS_(int32_t& model, int32_t& nvars, int32_t& ncons, int32_t& nlin,
                          int32_t& nnlcon, int32_t& nqc, int32_t& nnlobj, int32_t& nint,
                          int32_t& nnlrows) {
  int v[8] = {};
  int r = BRgetDimensions(modelptr_(model), &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6], &v[7]);
  nvars = v[0];
  ncons = v[1];
  nlin = v[2];
  nnlcon = v[3];
  nqc = v[4];
  nnlobj = v[5];
  nint = v[6];
  nnlrows = v[7];
  return r;
}

// Opens a row-wise linear load; the two lists the library does not use are absent.
int32_t FBRLOADLPINSTROWWISE_(int32_t& model, int32_t& ncons, int32_t& nobj, int32_t& nvars,
                              const char* vartype, const double* lb, const double* ub) {
  return BRloadLPInstRowWise(modelptr_(model), ncons, nobj, nvars, vartype, nullptr, nullptr, lb, ub);
}
// Appends numbers to the pool of the row-wise load.
int32_t FBRADDLRWNUMBERS_(int32_t& model, int32_t& n, const double* values) {
  return BRaddLRWNumbers(modelptr_(model), n, values, nullptr);
}
int32_t FBRADDLRWOBJECTIVE_(int32_t& model, int32_t& sense, int32_t& nwords, const int32_t* words,
                            int32_t& result) {
  int r = 0;
  int32_t rc = BRaddLRWobjective(modelptr_(model), sense, nwords, words, &r);
  result = r;
  return rc;
}
int32_t FBRADDLRWCONSTRAINT_(int32_t& model, char& type, int32_t& nwords, const int32_t* words,
                             int32_t& result) {
  int r = 0;
  int32_t rc = BRaddLRWconstraint(modelptr_(model), type, nwords, words, &r);
  result = r;
  return rc;
}
// Closes the row-wise load.
int32_t FBRBUILDLRWMODEL_(int32_t& model) { return BRbuildLRWModel(modelptr_(model)); }

QUIRN_UPCALL(libtext, FBRGETERRORMESSAGE_);  // the library's text in message 191
QUIRN_UPCALL(libversion, FBRGETVERSIONINFO_);  // the version line at start
