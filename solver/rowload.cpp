// Loading the generated model into the solver library: replacing the model object, and
// the row-by-row linear load that hands each explicit row to the library as soon as its
// code is emitted, so that only one row's code and constants exist at a time.
#include "solver/rowload.h"

#include <cstring>
#include <vector>

#include "generate/scalar.h"
#include "language/lang.h"
#include "solver/bindings.h"
#include "store/heap.h"
#include "store/hooks.h"
#include "store/io.h"

int32_t clearmodel_(MasterRecord& L) {
  if (L.MODELHANDLE != 0) {
    const int32_t r = FBRDELETEMODEL_(L.MODELHANDLE);
    if (r != 0) return r;
  }
  int32_t err = 0;
  L.MODELHANDLE = FBRCREATEMODEL_(L.ENVHANDLE, err);
  if (L.MODELHANDLE == 0 && err == 0) err = BRERR_NO_MEMORY;
  return err;
}

namespace {

// Puts the name of a failing library routine into the message field.
void routine(MasterRecord& L, const char* name) {
  std::memset(L.ERRSTR, ' ', 200);
  std::memcpy(L.ERRSTR, name, std::strlen(name));
  L.ERRSTR[200] = '\0';
}

}  // namespace

void genlprowbyrow_(Work& W, MasterRecord& L, int32_t& error) {
  freescalarlists_(L);
  const int32_t keep = L.HEAP_SWITCH;
  L.HEAP_SWITCH &= ~1;  // every list of this load is a work-store block
  auto finish = [&](int32_t e) {
    brbremv_(L);
    freescalarlists_(L);
    L.HEAP_SWITCH = keep;
    error = e;
  };
  auto libfail = [&](int32_t rc, const char* name) {
    L.ERRARG = rc;
    routine(L, name);
    finish(7);
  };
  int32_t e = 0;
  buildvtypearray_(W, L, e);
  if (e != 0) return finish(e == 1 ? 1 : 6);

  const int32_t first = L.NFIXED + 1;
  int32_t ncons = L.NROWS - L.NFIXED - (L.OBJROW > 0 ? 1 : 0);
  L.SLDUMMY = (ncons >= 1 && L.NEXPVAR >= 1) ? 0 : 1;
  int32_t nrows = ncons + L.SLDUMMY, nobj = 1, nvars = L.NEXPVAR + L.SLDUMMY;
  {
    // the bounds leave the work store as copies
    std::vector<char> vt((size_t)nvars + 1);
    std::vector<double> lb((size_t)nvars + 1), ub((size_t)nvars + 1);
    for (int32_t f = 1; f <= nvars; ++f) {
      vt[(size_t)f - 1] = slgetc_(W, L, L.SLVTY, f);
      lb[(size_t)f - 1] = slgetd_(W, L, L.SLVLB, f);
      ub[(size_t)f - 1] = slgetd_(W, L, L.SLVUB, f);
    }
    const int32_t rc = FBRLOADLPINSTROWWISE_(L.MODELHANDLE, nrows, nobj, nvars, vt.data(), lb.data(), ub.data());
    if (rc != 0) return libfail(rc, "BRloadLPInstRowWise");
  }
  if (L.OBJROW > 0) {
    const int32_t p = bgeti(W, L, L.ROWMAP, L.OBJROW);
    if (p > first) swaprows_(W, L, p, first);
    L.SLCOFF = 0;
  } else {
    double zero = 0.0;
    int32_t one = 1, two = 2, sense = 1, res = 0;
    const int32_t words[2] = {SC_PUSHNUM, 0};
    int32_t rc = FBRADDLRWNUMBERS_(L.MODELHANDLE, one, &zero);
    if (rc != 0) return libfail(rc, "BRaddLRWNumbers");
    rc = FBRADDLRWOBJECTIVE_(L.MODELHANDLE, sense, two, words, res);
    if (rc != 0) return libfail(rc, "BRaddLRWobjective");
    L.SLCOFF = 1;
  }
  brbupdt_(L, " Generating linear program ...");  // the status display (a hook here)
  std::vector<double> pool;  // one row's constants, reused from row to row
  for (int32_t p = first; p <= L.NROWS; ++p) {
    brbupdt_(L);
    L.SLCOFF += L.SLCONN;
    L.SLINSN = 0;
    L.SLCONN = 0;
    const int32_t r = rowatpos_(W, L, p), t = rowtype_(W, L, r);
    L.ERRARG = r;
    scalarize_row_(W, L, r, e);
    if (e != 0) return finish(e);
    if (L.SLCONN > 0) {
      pool.resize((size_t)L.SLCONN);
      const int64_t at = L.START[L.SLCON];
      for (int32_t k = 1; k <= L.SLCONN; ++k) pool[(size_t)k - 1] = DGET_(W, at, k);
      const int32_t rc = FBRADDLRWNUMBERS_(L.MODELHANDLE, L.SLCONN, pool.data());
      if (rc != 0) return libfail(rc, "BRaddLRWNumbers");
    }
    const int32_t* words = W.w.data() + L.START[L.SLINS];
    int32_t nw = L.SLINSN, res = 0, rc = 0;
    const bool obj = p == first && L.OBJROW > 0;
    if (obj) {
      int32_t sense = t == -2 ? 1 : -1;
      rc = FBRADDLRWOBJECTIVE_(L.MODELHANDLE, sense, nw, words, res);
    } else {
      char type = t == -1 ? 'G' : t == 1 ? 'L' : 'E';
      rc = FBRADDLRWCONSTRAINT_(L.MODELHANDLE, type, nw, words, res);
    }
    if (rc == BRERR_NOT_LINEAR) {
      char name[201];
      int32_t n = 200;
      std::memset(L.ERRSTR, ' ', 200);
      rdx2nh_(W, L, r, name, n);
      if (n > 0) std::memcpy(L.ERRSTR, name, (size_t)(n < 200 ? n : 200));
      L.ERRSTR[200] = '\0';
      return finish(8);
    }
    if (rc != 0) return libfail(rc, obj ? "BRaddLRWobjective" : "BRaddLRWconstraint");
  }
  if (L.SLDUMMY) {
    char type = 'E';
    int32_t two = 2, res = 0;
    const int32_t words[2] = {SC_PUSHVAR, L.NEXPVAR};
    const int32_t rc = FBRADDLRWCONSTRAINT_(L.MODELHANDLE, type, two, words, res);
    if (rc != 0) return libfail(rc, "BRaddLRWconstraint");
  }
  const int32_t rc = FBRBUILDLRWMODEL_(L.MODELHANDLE);
  if (rc != 0) return libfail(rc, "BRbuildLRWModel");
  finish(0);
}
