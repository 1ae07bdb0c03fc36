// The value loaders: set members from a name list, attribute and scalar values from number
// lists, and mixed tables of member names and attribute values. They never print; each
// answers with a small status that the compiler turns into its error.
#include <algorithm>
#include <cstring>
#include "language/values.h"

bool growto(Work& W, MasterRecord& L, int32_t type, int32_t& h, int32_t& cap, int64_t need, int64_t floor) {
  if (h > 0 && need <= cap) return true;
  int64_t want = std::max<int64_t>(2 * need, floor);
  int64_t limit = 2147483640LL / std::max(typsiz_(type), 1);
  if (want > limit) want = need;
  if (want > limit) return false;
  int32_t cnt = (int32_t)want, st = 0;
  setblk_(type, cnt, W, L, h, st);
  if (st != 0) return false;
  cap = cnt;
  return true;
}

static void name_to_errtxt(MasterRecord& L, const char* name, int32_t len) {
  std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
  L.ERRTXT[sizeof L.ERRTXT - 1] = 0;
  std::memcpy(L.ERRTXT, name, (size_t)std::clamp(len, 0, NAMELEN));
}

// Appends one member tuple component to NDRVEL; false when the list cannot grow.
static bool append_ndrvel(Work& W, MasterRecord& L, int32_t v) {
  if ((int64_t)L.NDRVUSE + 1 > L.NDRVCAP) {
    int64_t want = 2 * (int64_t)L.NDRVCAP + 64;
    if (want > 2147483640LL / 4) return false;
    int32_t cnt = (int32_t)want, st = 0;
    setblk_(2, cnt, W, L, L.NDRVEL, st);
    if (st != 0) return false;
    L.NDRVCAP = cnt;
  }
  iput(W, L, L.NDRVEL, ++L.NDRVUSE, v);
  return true;
}

// Member number within primitive set p of the name, 0 when it is not one of p's members.
static int32_t member_of(Work& W, MasterRecord& L, int32_t p, const char* name, int32_t len) {
  int32_t n = iget(W, L, L.NNTRYS, p), first = iget(W, L, L.INXNTR, p);
  if (n < 1 || first < 1) return 0;
  int32_t r = find_name_rng_hash_(W, L, nt_prim(L), name, len, first, first + n - 1);
  return r > 0 ? r - first + 1 : 0;
}

// Stores one derived-set component found among the members of the primitive set p; the
// set's first member and explicit order are recorded on the first. 0, 1 storage, 2 not found.
static int32_t derived_component(Work& W, MasterRecord& L, int32_t set, int32_t p, char* name, int32_t len) {
  int32_t m = member_of(W, L, p, name, len);
  if (m == 0) {
    name_to_errtxt(L, name, len);
    return 2;
  }
  if (!append_ndrvel(W, L, m)) return 1;
  if (iget(W, L, L.INXNTR, set) == 0) {
    iput(W, L, L.INXNTR, set, L.NDRVUSE);
    iput(W, L, L.SETORD, set, 0);
  }
  return 0;
}

// Gives set its members from count names of the name block starting at name first.
void loadset_(Work& W, MasterRecord& L, int32_t set, int32_t names, int32_t first, int32_t count, int32_t& status) {
  status = 0;
  if (iget(W, L, L.NNTRYS, set) > 0) {
    status = 2;
    return;
  }
  int32_t d = setdim(W, L, set);
  if (d != 0) {
    if (count % d != 0) {
      status = 3;
      return;
    }
    L.SETMSG = 0;
    int32_t st = 0;
    defprnt_(W, L, set, st);
    if (st != 0) {
      status = 5;
      return;
    }
  }
  int32_t dd = d == 0 ? 1 : d;
  int32_t n = count / dd;
  bool sparse = d != 0 && prntsparse_(W, L, set);
  for (int32_t k = 1; k <= n; ++k) {
    for (int32_t c = 1; c <= dd; ++c) {
      char nm[NAMELEN];
      int32_t len = 0;
      getnam_(W, L, names, (k - 1) * dd + first + c - 1, nm, len);
      if (d == 0) {
        int32_t st = 0;
        add_name_hash_(W, L, nt_prim(L), nm, len, st);
        if (st != 0) {
          status = 1;
          return;
        }
        if (k == 1) iput(W, L, L.INXNTR, set, L.NPRIMEL);
      } else {
        int32_t p = iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, set) + c - 1);
        int32_t r = derived_component(W, L, set, p, nm, len);
        if (r != 0) {
          status = r == 1 ? 1 : 4;
          return;
        }
      }
    }
    if (sparse && !validmember_(W, L, set, L.NDRVUSE - d + 1)) {
      char nm[NAMELEN];
      int32_t len = 0;
      getnam_(W, L, names, (k - 1) * dd + first, nm, len);
      name_to_errtxt(L, nm, len);
      status = 4;
      return;
    }
  }
  iput(W, L, L.NNTRYS, set, std::max(n, 0));
  int32_t st = 0;
  L.SETMSG = 0;
  allocset_(W, L, set, st);
  if (st != 0) status = 5;
}

// Stores one DATA (bit 0 of dataFlag) or INIT value. A DATA value for a variable that
// already holds one is refused: status 1, its number in ERRARG2.
void putval_(Work& W, MasterRecord& L, int32_t v, double value, int32_t dataFlag, int32_t& status) {
  status = 0;
  int32_t k = vkind(W, L, v);
  if (dataFlag & 1) {
    if (k == 5 || k == 6) {
      L.ERRARG2 = v;
      status = 1;
      return;
    }
    setvkind(W, L, v, 6);
    setvfix(W, L, v, 0);
    setvvalue(W, L, v, value);
  } else if (k < 4) {
    setvvalue(W, L, v, value);
  }
}

// Values of one scalar variable or of every member of one attribute, in member order.
void loadattr_(Work& W, MasterRecord& L, int32_t index, int32_t scalarFlag, const double* values, int32_t dataFlag,
               int32_t& status) {
  status = 0;
  if (scalarFlag & 1) {
    putval_(W, L, index, values[0], dataFlag, status);
    return;
  }
  int32_t s = iget(W, L, L.IDOWNR, index);
  int32_t na = setnattr(W, L, s), n = iget(W, L, L.NNTRYS, s);
  int64_t v = (int64_t)iget(W, L, L.INANTR, s) - iget(W, L, L.LASTUB, s) + index;
  for (int32_t k = 0; k < n; ++k, v += na) {
    putval_(W, L, (int32_t)v, values[k], dataFlag, status);
    if (status != 0) return;
  }
}

// Values of several targets (scalars, kind below 4, or attributes) one after the other.
void loadem2_(Work& W, MasterRecord& L, int32_t values, int32_t index, int32_t kinds, int32_t count, int32_t dataFlag,
              int32_t initFlag, int32_t& status) {
  status = 0;
  if (dataFlag <= 0 && initFlag <= 0) return;
  int64_t pos = 0;
  for (int32_t t = 1; t <= count; ++t) {
    int32_t a = iget(W, L, index, t), kind = iget(W, L, kinds, t);
    int64_t v = a, step = 0, n = 1;
    if (kind >= 4) {
      int32_t s = iget(W, L, L.IDOWNR, a);
      v = (int64_t)iget(W, L, L.INANTR, s) + a - iget(W, L, L.LASTUB, s);
      step = setnattr(W, L, s);
      n = iget(W, L, L.NNTRYS, s);
    }
    for (int64_t k = 0; k < n; ++k, v += step) {
      double x = rget(W, L, values, ++pos);
      putval_(W, L, (int32_t)v, x, dataFlag > 0 ? 1 : 0, status);
      if (status != 0) return;
    }
  }
}

// Stores a table of member-name columns (kinds 4 and 5) and value columns, row by row. The
// set of the first name column gets rowCount members and a new attribute block; value
// columns of an attribute (column set above 0) then start at its first member's variable.
// Status 0; 1 no storage; 2 a name or tuple not among the members (name in ERRTXT);
// 3 the parents of the derived set could not be built; 4 a DATA value for a variable that
// already holds one (its number in ERRARG2).
void loademx_(Work& W, MasterRecord& L, int32_t colId, int32_t colStep, int32_t colKind, int32_t colSet, int32_t names,
              int32_t values, int32_t rows, int32_t cols, int32_t dataFlag, int32_t initFlag, int32_t& status) {
  status = 0;
  int32_t s = 0;
  for (int32_t c = 1; c <= cols && s == 0; ++c) {
    int32_t k = iget(W, L, colKind, c);
    if (k == NTSETP || k == NTSETD) s = iget(W, L, colId, c);
  }
  if (s > 0) {
    int32_t na = setnattr(W, L, s);
    int64_t v = (int64_t)na * std::max(rows, 0);
    if (setdim(W, L, s) != 0) {
      int32_t st = 0;
      L.SETMSG = 0;
      defprnt_(W, L, s, st);
      if (st != 0) {
        status = 3;
        return;
      }
    }
    iput(W, L, L.NNTRYS, s, std::max(rows, 0));
    if (v > 0) {
      int64_t need = (int64_t)L.NSCALAR + L.VARTOP + v;
      if (need >= L.VARCAP) {
        // room for this set's attributes, and at least half again, so that many sets
        // grow the arrays geometrically while one large set gets what it needs
        int64_t g = std::max({need - L.VARCAP + 1, (int64_t)L.VARCAP / 2, (int64_t)256});
        int32_t st = 0;
        if (g > 2147483640LL / 8) st = 2;
        else grwvr3_(W, L, (int32_t)g, st);
        if (st != 0) {
          status = 1;
          return;
        }
      }
      L.VARTOP += (int32_t)v;
      iput(W, L, L.INANTR, s, L.VARCAP - L.VARTOP + 1);
      for (int64_t k = 0; k < v; ++k) setvkind(W, L, (int32_t)(L.VARCAP - L.VARTOP + 1 + k), 0);
    }
    for (int32_t c = 1; c <= cols; ++c) {
      int32_t k = iget(W, L, colKind, c), a = iget(W, L, colSet, c);
      if (k == NTSETP || k == NTSETD || a <= 0) continue;
      int32_t o = iget(W, L, L.IDOWNR, a);
      iput(W, L, colId, c, iget(W, L, L.INANTR, o) + a - iget(W, L, L.LASTUB, o));
      iput(W, L, colStep, c, setnattr(W, L, o));
    }
  }
  int32_t d = s > 0 ? setdim(W, L, s) : 0;
  bool sparse = d > 0 && prntsparse_(W, L, s);
  int64_t nextname = 0, nextval = 0;
  bool pending = false;
  for (int32_t r = 1; r <= rows; ++r) {
    for (int32_t c = 1; c <= cols; ++c) {
      int32_t k = iget(W, L, colKind, c);
      if (k == NTSETP || k == NTSETD) {
        char nm[NAMELEN];
        int32_t len = 0;
        getnam_(W, L, names, ++nextname, nm, len);
        int32_t set = iget(W, L, colId, c);
        if (k == NTSETP) {
          fixaname2_(nm, len, NAMELEN, false);
          int32_t st = 0;
          add_name_hash_(W, L, nt_prim(L), nm, len, st);
          if (st != 0) {
            status = 1;
            return;
          }
          if (iget(W, L, L.INXNTR, set) == 0) iput(W, L, L.INXNTR, set, L.NPRIMEL);
        } else {
          fixaname2_(nm, len, NAMELEN, false);
          int32_t rr = derived_component(W, L, set, iget(W, L, colSet, c), nm, len);
          if (rr != 0) {
            status = rr;
            return;
          }
          pending = true;
        }
        continue;
      }
      if (pending && sparse && !validmember_(W, L, s, L.NDRVUSE - d + 1)) {
        status = 2;
        return;
      }
      pending = false;
      int32_t v = iget(W, L, colId, c);
      if (v < 1 || v > L.VARCAP) {
        status = 1;
        return;
      }
      double x = rget(W, L, values, ++nextval);
      int32_t kind = vkind(W, L, v);
      if (dataFlag > 0) {
        if (kind == 5 || kind == 6) {
          L.ERRARG2 = v;
          status = 4;
          return;
        }
        setvkind(W, L, v, 6);
        setvfix(W, L, v, 0);
        setvvalue(W, L, v, x);
      } else if (initFlag > 0 && kind < 4) {
        setvvalue(W, L, v, x);
      }
      iput(W, L, colId, c, v + iget(W, L, colStep, c));
    }
    if (pending && sparse && !validmember_(W, L, s, L.NDRVUSE - d + 1)) {
      status = 2;
      return;
    }
    pending = false;
  }
}
