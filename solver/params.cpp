// The program's parameters handed to the solver library before loading and before every
// solve, and the start point of the solve.
#include <cmath>
#include <cstring>
#include <vector>

#include "session/modeltext.h"
#include "solver/bindings.h"
#include "solver/solver.h"
#include "store/store.h"
#include "store/io.h"
#include "store/upcalls.h"

// Reports the first failing parameter call of a sequence by message 191.
void paramerror_(Work& W, MasterRecord& L, int32_t code, int32_t& reported) {
  if (code > 0 && !reported) {
    L.ERRARG = code;
    errmsh_(W, L, 191);
    reported = 1;
  }
}

namespace {
// One pass of the parameter sequence: E environment, M model.
struct Pass {
  Work& W;
  MasterRecord& L;
  int32_t reported = 0;
  void ie(int32_t id, int32_t v) { paramerror_(W, L, FBRSETENVINTPARAMETER_(L.ENVHANDLE, id, v), reported); }
  void im(int32_t id, int32_t v) { paramerror_(W, L, FBRSETMODELINTPARAMETER_(L.MODELHANDLE, id, v), reported); }
  void de(int32_t id, double v) { paramerror_(W, L, FBRSETENVDOUPARAMETER_(L.ENVHANDLE, id, v), reported); }
  void dm(int32_t id, double v) { paramerror_(W, L, FBRSETMODELDOUPARAMETER_(L.MODELHANDLE, id, v), reported); }
  void ib(int32_t id, int32_t v) { ie(id, v); im(id, v); }
  void db(int32_t id, double v) { de(id, v); dm(id, v); }
};

// Maps a value through a small table, with a fallback outside it.
int32_t pick(int32_t v, std::initializer_list<int32_t> table, int32_t other) {
  return v >= 0 && v < (int32_t)table.size() ? table.begin()[v] : other;
}
constexpr double APIMAXINT = 2147483640.0;  // largest integer value of a custom parameter

}  // namespace

// Hands the parameters to the environment and the current model in one fixed sequence;
// at most one failure is reported and the sequence always runs to its end.
void passparamstoapi_(Work& W, MasterRecord& L) {
  std::strcpy(L.ERRSTR, "BRsetEnvDouPointer");
  Pass p{W, L};
  p.ib(212, 126);
  p.ib(201, 9);
  p.ib(51, 1);
  p.db(54, L.FLFTOL);
  p.db(206, L.FNFTOL);
  p.db(306, L.RELINT);
  p.dm(207, L.NOPTOL);
  p.ib(220, pick(L.DERCMP, {2, 2, 1, 0, 0}, 0));
  p.ib(205, pick(L.DERCMP, {0, 0, 0, 3, 1}, 0));
  int32_t itr = L.ITRLIM == 0 ? 2147483640 : L.ITRLIM;
  p.im(30, itr);
  p.im(342, itr);
  p.im(213, itr);
  int32_t tim = L.TIMLIM < 1 ? -1 : L.TIMLIM;
  p.ib(300, tim);
  p.im(52, tim);
  p.ib(317, L.CUTAPP == 0 || L.CUTAPP == 1 ? 0 : 8);
  p.ib(318, L.CUTAPP == 0 ? 0 : L.CUTAPP == 1 ? 1 : 10);
  p.db(305, L.ABSINT);
  p.ib(319, L.HEURIS);
  if (L.HURDLE_SET) p.dm(322, L.HURDLE);
  else p.im(323, 0);
  p.db(307, L.IPTOLA);
  p.db(308, L.IPTOLR);
  p.ib(301, L.TIM2RL);
  p.ib(304, L.NODESL >= 1 && L.NODESL <= 6 ? L.NODESL : 4);
  p.ib(209, L.NSTEEP);
  p.ib(208, L.NCRASH);
  p.ib(210, L.NSLPDR);
  p.ib(211, L.SELCON);
  p.ib(303, L.PRBLVL == 0 ? 510 : L.PRBLVL == 1 ? 0 : L.PRBLVL == 7 ? 638 : L.PRBLVL * L.PRBLVL + 62);
  p.ib(28, L.REDUCE != 0 ? 2 : 0);
  p.ib(29, L.SCALEM);
  p.ib(31, 0);
  p.ib(326, L.BRANDR);
  p.ib(335, L.BRANPR != 0 ? 4 : 0);
  p.ib(324, L.STRONG);
  p.ib(328, L.REOPTB);
  p.ib(327, L.REOPTX);
  p.ib(309, L.MAXCTP);
  p.db(311, L.RCTLIM);
  int32_t mask = L.GUBCTS * 2 + L.FLWCTS * 4 + L.LFTCTS * 8 + L.PLOCTS * 16 + L.DISCTS * 32 +
                 L.KNPCTS * 64 + L.LATCTS * 128 + L.GOMCTS * 256 + L.COFCTS * 512 +
                 L.GCDCTS * 1024 + L.OBJCTS * 2048;
  p.ib(314, mask + L.BASCTS * 4096);
  p.ib(315, mask);
  // multistart word: only a nonlinear model starts from more than one point
  int32_t multi = 1;
  if (L.NLVARS > 0) multi = L.MULTIS != 0 ? L.MULTIS : (L.SLVROWS + L.SLVCOLS < 13 ? 5 : 1);
  p.ib(221, multi);
  p.im(219, L.USEQPR);
  p.im(214, L.GLOBAL == 1 ? 1 : L.LNRISE);
  p.dm(338, L.LNBIGM);
  p.dm(339, L.LNDLTA);
  p.im(310, L.MAXCTR);
  p.im(334, L.HUMNTM);
  p.im(334, L.DECOMP == 1 ? 0 : 2);
  p.db(400, L.GLBOPT);
  p.db(404, L.GLBDLT);
  p.db(405, L.GLBVBD);
  p.ib(417, L.GLBUBD);
  p.ib(408, L.GLBBRN);
  p.ib(412, L.GLBBXS);
  p.ib(414, pick(L.GLBREF, {0, 2, 6, 18}, 0));
  p.ib(223, L.NLPVER == 1 ? 2 : 3);
  p.ib(552, pick(L.DBGCLD, {0, 1, 2, 3}, 0));
  p.ib(553, pick(L.DBGWRM, {0, 1, 2, 3}, 0));
  p.ib(224, L.LCRASH);
  p.ib(56, 1 - L.BCROSS);
}

// Gives the library the current variable values as the start point; status 1 when the
// block cannot be had.
void passpointtoapi_(Work& W, MasterRecord& L, int32_t& status) {
  status = 0;
  if (!L.HASSTART && L.NINTVAR <= 0 && L.SLVINT <= 0) return;
  int32_t n = L.SLVCOLS;
  if (n <= 0) return;
  std::vector<double> x;
  x.resize((size_t)n);
  int32_t vmap = varixmap_(L);
  int32_t last = n - L.SLDUMMY;
  for (int32_t i = 1; i <= last; ++i) {
    double v = 1.2345678806304932;  // marker of a variable without a start value
    if (i <= L.NEXPVAR && vmap > 0) {
      int32_t var = IGET_(W, L.START[vmap], i + L.NFIXED);
      v = DGET_(W, L.START[L.VARVAL], var);
      // a value still unset (never asked, or left open) is no start value
      if (!(std::fabs(v) < L.BIGNUM)) v = UNSETVAL;
    }
    x[(size_t)(i - 1)] = v;
  }
  if (L.SLDUMMY) x[(size_t)(n - 1)] = 0.0;
  FBRLOADVARSTARTPOINT_(L.MODELHANDLE, x.data());
}

// 1 when the library knows parameter id: asked of the current model, or of a model made
// for the question when there is none; nothing is set.
int32_t apiknown_(MasterRecord& L, int32_t id) {
  int32_t model = L.MODELHANDLE, err = 0, v = 0;
  bool own = model == 0;
  if (own) model = FBRCREATEMODEL_(L.ENVHANDLE, err);
  if (model == 0) return 1;  // no model to ask: the replay judges the entry
  int32_t r = FBRGETMODELINTPARAMETER_(model, id, v);
  if (own) FBRDELETEMODEL_(model);
  return r == BRERR_UNKNOWN_PARAM ? 0 : 1;
}
QUIRN_UPCALL(apiknown, apiknown_);  // APISET refuses an identifier the library does not know

// Hands the custom parameters of APISET to the library's environment and model; a value the
// library refuses prints 231 and 191, once per command (generation and solve both replay).
void passapisetparams_(Work& W, MasterRecord& L) {
  const bool quiet = (L.APIRPTD & 1) != 0;
  for (int32_t e = 1; e <= L.APICNT && L.APIBLK > 0; ++e) {
    double rid = apiget(W, L, 3 * e - 2), rtype = apiget(W, L, 3 * e - 1), v = apiget(W, L, 3 * e);
    int32_t id = (int32_t)rid, type = (int32_t)rtype;
    int32_t env = L.ENVHANDLE, model = L.MODELHANDLE, r1 = 0, r2 = 0, iv = 0;
    if (type == 1) {
      r1 = FBRSETENVDOUPARAMETER_(env, id, v);
      r2 = FBRSETMODELDOUPARAMETER_(model, id, v);
    } else {
      iv = v > APIMAXINT ? (int32_t)APIMAXINT : v < -APIMAXINT ? -(int32_t)APIMAXINT : (int32_t)v;
      r1 = FBRSETENVINTPARAMETER_(env, id, iv);
      r2 = FBRSETMODELINTPARAMETER_(model, id, iv);
    }
    if (r1 == 0 || r2 == 0 || quiet) continue;
    L.APIRPTD = QTRUE;
    L.ERRARG = id;
    L.ERRARG2 = type;
    if (type == 1) L.ERRDBL = v; else L.ERRARG3 = iv;
    errmsh_(W, L, 231);
    L.ERRARG = r2;
    std::memset(L.ERRSTR, ' ', 200);
    std::memcpy(L.ERRSTR, "BRset*Parameter", 16);
    errmsh_(W, L, 191);
  }
}
