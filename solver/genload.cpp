// Loading the generated model into the solver library (row by row, or as one scalar
// instruction list) and reading the loaded model's dimensions and statistics back.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "generate/genmod.h"
#include "store/phasetime.h"
#include "language/lang.h"
#include "session/modeltext.h"
#include "solver/solver.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/store.h"

namespace {
// free bytes in the allocator from which they are handed back to the system after the load
constexpr size_t TRIMFREE = size_t(4) << 20;

bool heapmode(const MasterRecord& L) { return (L.HEAP_SWITCH & 1) != 0; }

// n elements of a scalar list as a contiguous array: the heap block itself, or a copy of
// the work-store block in buf.
template <class T>
const T* listdata(const Work& W, const MasterRecord& L, int32_t h, int32_t n, std::vector<T>& buf) {
  if (h <= 0 || n <= 0) {
    buf.assign(1, T());
    return buf.data();
  }
  if (heapmode(L)) return reinterpret_cast<const T*>(heapbase_(h, 0, (int64_t)n * (int64_t)sizeof(T)));
  buf.resize((size_t)n);
  const int64_t s = L.START[h];
  for (int32_t k = 1; k <= n; ++k) {
    if constexpr (sizeof(T) == 8) buf[(size_t)(k - 1)] = DGET_(W, s, k);
    else if constexpr (sizeof(T) == 4) buf[(size_t)(k - 1)] = IGET_(W, s, k);
    else buf[(size_t)(k - 1)] = C1GET_(W, s, k);
  }
  return buf.data();
}

// Reports a library failure of the routine (message 191) and cleans up fully.
int32_t loadfail(Work& W, MasterRecord& L, const char* name, int32_t code) {
  if (name) std::strcpy(L.ERRSTR, name);
  L.ERRARG = code;
  errmsh_(W, L, 191);
  return QFALSE;
}

// Messages of the loaders' error codes; true when there was none.
bool loaderror(Work& W, MasterRecord& L, int32_t e, bool rowwise) {
  switch (e) {
    case 0: return true;
    case 1: errmsh_(W, L, 0); break;
    case 2:
    case 3:
    case 4:
      L.ERRARG = L.IRCNT;
      L.ERRARG2 = L.STKTOP;
      L.ERRARG3 = L.LFDEPTH;
      errmsh_(W, L, 85);
      break;
    case 5: errmsh_(W, L, 77); break;
    case 6: errmsh_(W, L, 175); break;
    case 8:
      if (rowwise) {
        errmsh_(W, L, 235);
        break;
      }
      [[fallthrough]];
    default: errmsh_(W, L, 172); break;
  }
  return false;
}

// Hands the scalar lists to the library; result its code.
int32_t loadlists(Work& W, MasterRecord& L) {
  int32_t nexp = L.NEXPVAR, nvars = nexp + L.SLDUMMY, st = 0;
  // start values: the current values of the explicit variables, 0 for the dummy one
  std::vector<double> start((size_t)std::max(nvars, 1), 0.0);
  L.HASSTART = 0;
  for (int32_t f = 1; f <= nexp; ++f) {
    int32_t v = IGET_(W, L.START[L.VARORD], L.NFIXED + f);
    double x = DGET_(W, L.START[L.VARVAL], v);
    if (x != UNSETVAL && std::fabs(x) < L.BIGNUM) L.HASSTART = 1;
    start[(size_t)(f - 1)] = x;
  }
  (void)st;
  brbupdt_(" Generating nonzero matrix ...");
  std::vector<int32_t> ibuf[3];
  std::vector<double> dbuf[3];
  std::vector<char> cbuf[2];
  int32_t ncons = L.SLNCON, nobj = 1, nconst = L.SLCONN, ncode = L.SLINSN, novix = 0, yes = 1;
  int32_t sense[1] = {L.SLSENSE == 0 ? 1 : L.SLSENSE};
  int32_t objst[1] = {L.SLOBJST}, objln[1] = {L.SLOBJLN};
  const int32_t* code = listdata(W, L, L.SLINS, ncode, ibuf[0]);
  const double* consts = listdata(W, L, L.SLCON, nconst, dbuf[0]);
  const int32_t* rst = listdata(W, L, L.SLRST, ncons, ibuf[1]);
  const int32_t* rln = listdata(W, L, L.SLRLN, ncons, ibuf[2]);
  const char* rty = listdata(W, L, L.SLRTY, ncons, cbuf[0]);
  const char* vty = listdata(W, L, L.SLVTY, nvars, cbuf[1]);
  const double* lb = listdata(W, L, L.SLVLB, nvars, dbuf[1]);
  const double* ub = listdata(W, L, L.SLVUB, nvars, dbuf[2]);
  int32_t r = FBRLOADNLPCODE_(L.MODELHANDLE, ncons, nobj, nvars, nconst, sense, rty, vty, code, ncode,
                              novix, nullptr, consts, yes, start.data(), objst, objln, rst, rln, lb, ub);
  if (r != 0) std::strcpy(L.ERRSTR, "BRLoadNLPCode");
  return r;
}

// Dimensions and statistics of the loaded model; false after message 191.
// Position of the objective row in the row order, 0 when there is none.
int32_t objpos(const Work& W, const MasterRecord& L) {
  if (L.OBJROW <= 0 || L.ROWORD <= 0) return 0;
  for (int32_t p = L.NFIXED + 1; p <= L.NROWS; ++p)
    if (IGET_(W, L.START[L.ROWORD], p) == L.OBJROW) return p;
  return 0;
}

bool statistics(Work& W, MasterRecord& L) {
  int32_t M = L.MODELHANDLE, nv = 0, nc = 0, d[6];
  int32_t r = FBRGETDIMENSIONS_(M, nv, nc, d[0], d[1], d[2], d[3], d[4], d[5]);
  if (r != 0) return loadfail(W, L, "BRgetDimensions", r);
  L.NZFIRST = d[1];  // nonlinear constraint entries
  L.SLVROWS = L.NROWOUT = nc + 1;
  L.SLVCOLS = L.NCOLOUT = nv;
  L.RWIDTH = (int32_t)std::log10((double)nc + 2) + 3;
  L.CWIDTH = nv > 0 ? (int32_t)std::log10((double)nv) + 3 : 3;
  L.NZLIN = d[2] + d[3] + L.NZFIRST;
  int32_t item = 1202, n1202 = 0, objnz = 0;
  if ((r = FBRGETINFOI_(M, item, n1202)) != 0) return loadfail(W, L, "BRgetInfoI", r);
  if ((r = FBRGETOBJECTIVENZCOUNT_(M, objnz)) != 0) return loadfail(W, L, "BRgetObjectiveNZCount", r);
  L.NZTOT = n1202 + objnz + L.NZFIRST;
  int32_t a = 0, b = 0;
  item = 1203;
  if ((r = FBRGETINFOI_(M, item, a)) != 0) return loadfail(W, L, "BRgetInfoI", r);
  item = 1204;
  if ((r = FBRGETINFOI_(M, item, b)) != 0) return loadfail(W, L, "BRgetInfoI", r);
  L.NINTVAR = L.SLVINT = a + b;
  int32_t nlc = 0, qce = 0, nlv = 0, qcv = 0;
  if ((r = FBRGETNLPCONSTRAINTCOUNT_(M, nlc)) != 0) return loadfail(W, L, "BRgetNLPConstraintCount", r);
  if ((r = FBRGETQCEXPRESSIONCOUNT_(M, qce)) != 0) return loadfail(W, L, "BRgetQCExpressionCount", r);
  L.NLROWS = (L.OBJROW > 0 && d[3] > 0 ? 1 : 0) + nlc + qce;
  if ((r = FBRGETNLPVARCOUNT_(M, nlv)) != 0) return loadfail(W, L, "BRgetNLPVarCount", r);
  if ((r = FBRGETQCVARCOUNT_(M, qcv)) != 0) return loadfail(W, L, "BRgetQCVarCount", r);
  L.NLVARS = nlv + qcv;
  // quadratic: quadratic terms loaded and no general nonlinear entry anywhere
  L.QPFLAG = d[2] > 0 && d[1] == 0 && d[3] == 0 ? 1 : 0;
  int32_t base = (L.NZLIN < 1 && L.NZFIRST < 1) ? 1 : L.NZFIRST >= 1 ? 4 : 7;
  L.MODCLS = base + (L.NINTVAR <= 0 ? 0 : L.NINTVAR >= nv ? 1 : 2);
  // the solver row map: 0 for the objective, else the constraint number
  int32_t n = std::max(L.NROWS - L.NFIXED + L.SLDUMMY, 1), st = 0;
  L.OBJPOS = 0;
  if (heapmode(L)) setblkcm_(2, n, L.SLRMAP, st);
  else setblk_(2, n, W, L, L.SLRMAP, st);
  if (st) {
    errmsh_(W, L, heapmode(L) ? 175 : 0);
    return false;
  }
  int32_t k = 0, e = 0;
  for (int32_t p = L.NFIXED + 1; p <= L.NROWS + L.SLDUMMY; ++p) {
    int32_t row = p <= L.NROWS ? IGET_(W, L.START[L.ROWORD], p) : -1;
    int32_t v = row == L.OBJROW && row > 0 ? 0 : ++k;
    if (v == 0) L.OBJPOS = p;
    ++e;
    if (heapmode(L)) IPUTCM_(L.SLRMAP, e, v);
    else IPUT_(W, L.START[L.SLRMAP], e, v);
  }
#if defined(__GLIBC__)
  // a large load's staging buffers go back to the system before the matrix copy is built; a
  // small one's are kept, as the solve would only fault the same pages in again
  if (mallinfo2().fordblks >= TRIMFREE) malloc_trim(0);
#endif
  phasetime_("dimensions read");
  buildmatrix_(W, L, st);
  phasetime_("matrix copied");
  if (st == 1) {
    errmsh_(W, L, 0);
    return false;
  }
  if (st == 2) {
    errmsh_(W, L, 191);
    return false;
  }
  windoz_();
  L.DUMMYF = L.SLDUMMY;
  L.NEMPTY = 0;
  int32_t prev = 1;
  for (int32_t j = 1; j <= nv; ++j) {
    int32_t s = IGET_(W, L.START[L.MATCOLST], j + 1);
    if (s == IGET_(W, L.START[L.MATCOLST], j)) ++L.NEMPTY;
    prev = s;
  }
  (void)prev;
  return true;
}

// Loads the generated model; true on success. keeplists: the scalar lists outlive the load
// even with LOWMEM set.
bool loadgen(Work& W, MasterRecord& L, bool keeplists) {
  windoz_();
  // nothing of a previous model's statistics survives into this one
  L.NLVARS = L.NLROWS = L.NZFIRST = L.NZLIN = L.NZTOT = L.NEMPTY = L.MODCLS = 0;
  L.NROWOUT = L.NCOLOUT = L.NINTVAR = L.SLVINT = L.QPFLAG = L.DUMMYF = 0;
  int32_t r = clearmodel_(L);
  if (r != 0) {
    errmsh_(W, L, 180);
    return false;
  }
  r = SETUSERINSTRUCTCALLBACK_(L.MODELHANDLE, &L);
  if (r != 0) {
    L.ERRARG = r;
    errmsh_(W, L, 191);
  }
  passparamstoapi_(W, L);
  passapisetparams_(W, L);
  int32_t explicitrows = L.NROWS - L.NFIXED;
  if (L.OBJROW > 0 && L.ROWTYPES > 0)
    L.SLSENSE = IGET_(W, L.START[L.ROWTYPES], L.OBJROW) > 0 ? -1 : 1;
  r = FBRSETCALLBACK_(L.MODELHANDLE, quircallbackgen_, &L);
  if (r != 0) return loadfail(W, L, "BRsetCallback", r);
  windoz_();
  int32_t id = 39;
  FBRSETMODELINTPARAMETER_(L.MODELHANDLE, id, L.MPIGEN);
  if (explicitrows <= 0) return true;
  // a row the library refuses while loading is named through the row map, which passes
  // over the objective
  L.OBJPOS = objpos(W, L);
  int32_t e = 0;
  if (L.LINEAR > 0) {
    genlprowbyrow_(W, L, e);
    if (e == 7) {
      r = L.ERRARG;
      e = 0;
    }
    if (!loaderror(W, L, e, true)) return false;
  } else {
    phasetime_("loading starts");
    scalarizemodel_(W, L, e);
    phasetime_("scalar lists built");
    if (L.TRACELV > 0) {
      outline(L, " BACK FROM SCALARIZEMODEL, NERR= " + std::to_string(e));
      dispscalarinslists_(W, L);
    }
    if (e == 8) e = 9;
    if (!loaderror(W, L, e, false)) return false;
    r = loadlists(W, L);
    // the library holds its own copy: with LOWMEM the lists go before the matrix is copied
    if (r == 0 && L.LOWMEM > 0 && !keeplists) freescalarlists_(L);
    phasetime_("library loaded");
  }
  if (r == 2019) {
    int32_t row = 0;
    if (FBRGETROWINDEXNUMERICERROR_(L.MODELHANDLE, row) == 0) {
      int32_t model = row < 0 ? L.OBJROW : apirndx2qrnndx_(W, L, row);
      L.ERRARG = model;
      errmsh_(W, L, 86);
      return false;
    }
    return loadfail(W, L, "BRgetRowIndexNumericError", r);
  }
  if (r != 0) return loadfail(W, L, nullptr, r);
  return statistics(W, L);
}
}  // namespace

// Generation and loading (see solver.h).
int32_t generate_(Work& W, MasterRecord& L, int32_t mode) {
  int32_t ok = genmod_(W, L);
  if (!qtest(ok)) {
    if (L.GENLOADP != 0) clearmodel_(L);
    L.GENFLAG = 0;
    return QFALSE;
  }
  if (L.GENLOADP != 1) {
    L.GENCNT += 1;  // the model generated last time is kept
    return QTRUE;
  }
  L.GENFLAG = 0;
  L.GENLOADP = 0;
  L.OBJPOS = 0;
  L.SLVROWS = L.SLVCOLS = 0;
  if (!loadgen(W, L, mode == 1)) {
    FBRSETCALLBACK_(L.MODELHANDLE, nullptr, nullptr);
    genfail_(W, L);
    freescalarlists_(L);
    clearsolvermodel_(W, L);
    clearmodel_(L);
    return QFALSE;
  }
  L.GENNUM += 1;
  L.GENCNT += 1;
  L.GENFLAG = 1;
  FBRSETCALLBACK_(L.MODELHANDLE, nullptr, nullptr);
  brbremv_();
  phasetime_("loaded");
  savmod_(W, L, L.GENCPY, L.GENLEN);
  genend_(W, L);
  return QTRUE;
}
