// Names handed to the solver library, the sensitivity ranges fetched after a solve, and
// the maps between the library's numbering and the model's rows and variables.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "language/lang.h"
#include "solver/solver.h"
#include "store/store.h"

// The row index map: position -> model row (the structural analysis' row order).
int32_t rowixmap_(const MasterRecord& L) { return L.ROWORD; }
// The variable index map: position -> model variable.
int32_t varixmap_(const MasterRecord& L) { return L.VARORD; }
// The variable position list: model variable -> position.
int32_t varposlist_(const MasterRecord& L) { return L.VARPOS; }

// Position in the row index map of the row that follows the fixed rows at offset k
// (k = 1 the first), passing over the objective row.
static int32_t rowpos(const MasterRecord& L, int32_t k) {
  int32_t p = L.NFIXED + k;
  if (L.OBJROW > 0 && L.OBJPOS > 0 && p >= L.OBJPOS) ++p;
  return p;
}

// Model row of library row r (counted from 0). A dummy row, when the loader added one,
// is the library's last row and has no model row (the position past the rows results).
int32_t apirndx2qrnndx_(const Work& W, const MasterRecord& L, int32_t r) {
  int32_t p = rowpos(L, r + 1);
  int32_t h = rowixmap_(L);
  if (h <= 0 || p < 1 || p > L.NROWS) return p;
  return IGET_(W, L.START[h], p);
}

// Model variable of library variable v (counted from 0).
int32_t apivndx2qrnndx_(const Work& W, const MasterRecord& L, int32_t v) {
  int32_t p = L.NFIXED + v + 1;
  int32_t h = varixmap_(L);
  if (h <= 0 || p < 1 || p > L.NVARS) return p;
  return IGET_(W, L.START[h], p);
}

namespace {
// A model name as the library takes it: blanks and ")" left out.
std::string clean(const char* s, int32_t n) {
  std::string out;
  for (int32_t k = 0; k < n; ++k)
    if (s[k] != ' ' && s[k] != ')' && s[k] != 0) out += s[k];
  return out;
}
std::string genname(MasterRecord& L, const char* prefix, int32_t width, int32_t n) {
  char buf[64];
  wrtrcnam_(L, prefix, width, n, buf);
  return buf;
}
std::vector<const char*> ptrs(const std::vector<std::string>& v) {
  std::vector<const char*> p(v.size());
  for (size_t k = 0; k < v.size(); ++k) p[k] = v[k].c_str();
  return p;
}
}  // namespace

// Gives the library the names of the title, objective, rows and variables: mode 1 the
// generated names, else the model's. Status 0, 1 out of storage, 2 library error.
void loadnames_(Work& W, MasterRecord& L, int32_t mode, int32_t& status) {
  status = 0;
  int32_t nv = 0, nc = 0, d[6];
  int32_t r = FBRGETDIMENSIONS_(L.MODELHANDLE, nv, nc, d[0], d[1], d[2], d[3], d[4], d[5]);
  auto fail = [&](const char* name, int32_t code) {
    std::strcpy(L.ERRSTR, name);
    L.ERRARG = code;
    status = 2;
  };
  if (r != 0) return fail("BRgetDimensions", r);
  bool gen = mode == 1;
  if (L.TITLEN > 0 && L.TITLBLK > 0) {
    std::string t;
    int32_t n = std::min(L.TITLEN, 199);
    for (int32_t k = 1; k <= n; ++k) {
      char c = C1GET_(W, L.START[L.TITLBLK], k);
      t += c == ' ' ? '_' : c;
    }
    if ((r = FBRLOADNAMEDATATTL_(L.MODELHANDLE, t.c_str())) != 0) return fail("BRloadNameData", r);
  }
  char buf[208];
  std::vector<std::string> names;
  names.reserve((size_t)nv);
  int32_t vmap = varixmap_(L);
  for (int32_t i = 1; i <= nv - L.SLDUMMY; ++i) {
    if (gen) {
      names.push_back(genname(L, "C", L.CWIDTH, i));
      continue;
    }
    int32_t var = i;
    if (i <= L.NVARS - L.NFIXED && vmap > 0) var = IGET_(W, L.START[vmap], i + L.NFIXED);
    int32_t len = 199;
    vdx2nh_(W, L, var, buf, len);
    names.push_back(clean(buf, len));
  }
  if (L.SLDUMMY) names.push_back(gen ? genname(L, "C", L.CWIDTH, nv) : "<Dummy_Variable>");
  if ((r = FBRLOADNAMEDATAVAR_(L.MODELHANDLE, ptrs(names).data())) != 0)
    return fail("BRloadNameData", r);
  std::string obj = "ROBJ";
  if (!gen) {
    if (L.OBJROW > 0) {
      int32_t len = 199;
      rdx2nh_(W, L, L.OBJROW, buf, len);
      obj = clean(buf, len);
    } else {
      obj = "<Dummy_Objective>";
    }
  }
  if ((r = FBRLOADNAMEDATAOBJ_(L.MODELHANDLE, obj.c_str())) != 0) return fail("BRloadNameData", r);
  names.clear();
  int32_t k = 0;
  for (int32_t lr = 0; lr < nc - L.SLDUMMY; ++lr) {
    if (gen) {
      names.push_back(genname(L, "R", L.RWIDTH, ++k));
      continue;
    }
    int32_t row = apirndx2qrnndx_(W, L, lr);
    int32_t len = 199;
    rdx2nh_(W, L, row, buf, len);
    names.push_back(clean(buf, len));
  }
  if (L.SLDUMMY) names.push_back(gen ? genname(L, "R", L.RWIDTH, ++k) : "<Dummy_Constraint>");
  if ((r = FBRLOADNAMEDATAROW_(L.MODELHANDLE, ptrs(names).data())) != 0)
    return fail("BRloadNameData", r);
}

// Fetches the sensitivity ranges into the four range blocks; status 0 (also when nothing
// is fetched), 1 out of storage, 3 library error. Result that of removing the callback.
int32_t loadranges_(Work& W, MasterRecord& L, int32_t& status) {
  status = 0;
  FBRSETCALLBACK_(L.MODELHANDLE, quircallbacksimple_, &L);
  int32_t nv = std::max(L.SLVCOLS, 1), nr = std::max(L.SLVROWS, 1) + 1;
  int32_t* h[4] = {&L.RNGV1, &L.RNGV2, &L.RNGR1, &L.RNGR2};
  int32_t n[4] = {nv, nv, nr, nr};
  auto release = [&]() {
    for (int32_t* p : h) rlsblk_(L, *p);
  };
  for (int32_t k = 0; k < 4; ++k) {
    int32_t cnt = n[k], st = 0;
    setblk_(6, cnt, W, L, *h[k], st);
    if (st) {
      status = 1;
      release();
      return FBRSETCALLBACK_(L.MODELHANDLE, nullptr, nullptr);
    }
    for (int32_t e = 1; e <= cnt; ++e) DPUT_(W, L.START[*h[k]], e, 0.0);
  }
  std::vector<double> vdec(nv), vinc(nv), rdec(nr), rinc(nr);
  int32_t r = 0;
  const char* name = "";
  bool fetched = false;
  if (L.NLVARS > 0) {
    if (L.QPFLAG <= 0) {
      int32_t yes = 1, no = 0;
      r = FBRGETNLPRANGES_(L.MODELHANDLE, yes, rdec.data() + 1, rinc.data() + 1, yes, vdec.data(),
                           vinc.data(), no, nullptr, nullptr);
      name = "BRgetNLPRanges";
      fetched = true;
    }
  } else {
    r = FBRGETOBJECTIVERANGES_(L.MODELHANDLE, vdec.data(), vinc.data());
    name = "BRgetObjectiveRanges";
    if (r == 0) {
      r = FBRGETCONSTRAINTRANGES_(L.MODELHANDLE, rdec.data() + 1, rinc.data() + 1);
      name = "BRgetConstraintRanges";
    }
    fetched = true;
  }
  if (fetched && r != 0) {
    std::strcpy(L.ERRSTR, name);
    L.ERRARG = r;
    status = 3;
    release();
  } else if (fetched) {
    for (int32_t e = 1; e <= nv; ++e) {
      DPUT_(W, L.START[L.RNGV1], e, vinc[e - 1]);
      DPUT_(W, L.START[L.RNGV2], e, vdec[e - 1]);
    }
    for (int32_t e = 2; e <= nr; ++e) {
      DPUT_(W, L.START[L.RNGR1], e, rinc[e - 1]);
      DPUT_(W, L.START[L.RNGR2], e, rdec[e - 1]);
    }
  }
  return FBRSETCALLBACK_(L.MODELHANDLE, nullptr, nullptr);
}
