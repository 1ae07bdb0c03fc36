// DATA and INIT statements: the column table of a data statement, values placed across its
// columns, values asked at run time, member lists of sets defined in DATA, the interface
// functions that supply values (@TEXT, @POINTER, @QRAND, @IMPORT), and the output statements
// recorded in the output-operation list (OUTOPS, OUTENDS, OUTTXT, OUTCODE).
#include <algorithm>
#include <cmath>
#include <cstring>
#include "language/compiler.h"
#include "language/datasect.h"
#include "language/vocab.h"
#include "generate/randfn.h"
#include "store/hooks.h"

namespace {

bool is_setcol(const DataColumn& c) { return c.kind == NTSETP || c.kind == NTSETD; }

// Blank-padded copy of a name.
void pad(char* out, const char* name, int32_t len) {
  std::memset(out, ' ', NAMELEN);
  std::memcpy(out, name, (size_t)std::clamp(len, 0, NAMELEN));
}

// The set's build status as a compiler error (0 when built).
int32_t build(Work& W, MasterRecord& L, int32_t s) {
  int32_t st = 0;
  L.SETMSG = 0;
  allocset_(W, L, s, st);
  if (st == 0) return 0;
  return L.SETMSG ? CMPERR_REPORTED : 167;
}

// A work-store integer block holding the values; 0 when none can be had.
int32_t int_block(Work& W, MasterRecord& L, const std::vector<int32_t>& v) {
  int32_t h = 0, n = std::max<int32_t>((int32_t)v.size(), 1), st = 0;
  setblk_(2, n, W, L, h, st);
  if (st != 0) {
    if (h > 0) rlsblk_(L, h);
    return 0;
  }
  for (size_t i = 0; i < v.size(); ++i) iput(W, L, h, (int64_t)i + 1, v[i]);
  return h;
}

void release(MasterRecord& L, std::initializer_list<int32_t*> hs) {
  for (int32_t* h : hs)
    if (*h > 0) rlsblk_(L, *h);
}

}  // namespace

// A new data statement.
void DataSection::begin() {
  cols.clear();
  defsets.clear();
  parent = 0;
  mixed = false;
  expected = 0;
  nvals = 0;
  minus = 0;
  supplied = ranged = false;
  heldnames.clear();
  held.clear();
  infunc = 0;
  args.clear();
}

int32_t DataSection::new_scalar(const char* name, int32_t len, int32_t& v) {
  int32_t st = 0;
  add_name_hash_(W, L, nt_scalar(L), name, len, st);
  if (st) return 41;
  if ((int64_t)L.NSCALAR + L.VARTOP >= L.VARCAP) {
    grwvr3_(W, L, L.VARCAP > 256 ? L.VARCAP : 256, st);
    if (st) return 41;
  }
  v = L.NSCALAR;
  setvkind(W, L, v, 0);
  return 0;
}

// A name on the left of "=": one column for a variable or attribute, one per index position
// for a set that the statement gives members.
int32_t DataSection::lhs_name(const char* name, int32_t len) {
  char nm[NAMELEN + 1];
  pad(nm, name, len);
  nm[NAMELEN] = 0;
  int32_t kind = 0, idx = 0, set = 0;
  fndnmm_(W, L, nm, kind, idx);
  DataColumn c;
  switch (kind) {
    case 0: {
      int32_t e = new_scalar(nm, trimlen(nm, NAMELEN), idx);
      if (e) return e;
    }
      [[fallthrough]];
    case 5:
      c.obj = c.var = idx;
      c.objkind = 5;
      c.nelem = 1;
      cols.push_back(c);
      break;
    case 4:
      c.obj = idx;
      c.objkind = 4;
      c.pset = set = iget(W, L, L.IDOWNR, idx);
      cols.push_back(c);
      break;
    case 1: {
      if (init) return 143;
      if (iget(W, L, L.SETALC, idx) > 0 || iget(W, L, L.NNTRYS, idx) > 0) return 114;
      set = idx;
      int32_t d = setdim(W, L, idx);
      c.obj = idx;
      c.objkind = 1;
      if (d == 0) {
        c.kind = NTSETP;
        c.pset = idx;
        cols.push_back(c);
      } else {
        c.kind = NTSETD;
        for (int32_t k = 0; k < d; ++k) {
          c.pset = iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, idx) + k);
          cols.push_back(c);
        }
      }
      defsets.push_back(idx);
      break;
    }
    case 2: return 18;
    default: return 1;
  }
  if (cols.size() == 1 || (kind == 1 && cols.size() == (size_t)std::max(setdim(W, L, idx), 1))) {
    parent = set;
  } else if (set != parent) {
    mixed = true;
    if (kind == 4) parent = 0;
  }
  return 0;
}

// "=": the columns' first variables, strides and element counts.
int32_t DataSection::equals() {
  expected = 0;
  bool open = false;
  for (DataColumn& c : cols) {
    if (is_setcol(c)) {
      open = true;
      continue;
    }
    if (c.objkind != 4) continue;
    int32_t o = c.pset;
    if (std::find(defsets.begin(), defsets.end(), o) != defsets.end()) {
      open = true;
      continue;
    }
    if (iget(W, L, L.SETALC, o) == 0) {
      int32_t e = build(W, L, o);
      if (e) return e;
    }
    if (setdim(W, L, o) > 0 && iget(W, L, L.NNTRYS, o) < 1) return 114;
    c.var = iget(W, L, L.INANTR, o) + c.obj - iget(W, L, L.LASTUB, o);
    c.stride = setnattr(W, L, o);
    c.nelem = iget(W, L, L.NNTRYS, o);
    expected += c.nelem;
  }
  if (open || expected > BIGCOUNT) expected = BIGCOUNT;
  return 0;
}

// Appends variable v to the run-time list of the section.
int32_t DataSection::runtime(int32_t v) {
  int32_t& h = init ? L.VREF2 : L.VREF1;
  int32_t& n = init ? L.VREF2N : L.VREF1N;
  int32_t& cap = init ? L.VREF2CAP : L.VREF1CAP;
  if (!growto(W, L, 2, h, cap, (int64_t)n + 1, 64)) return 41;
  iput(W, L, h, ++n, v);
  ++L.NRUNTM;
  return 0;
}

// Places the column's next element: vk 1 the number v, 2 asked at run time, 3 skipped.
int32_t DataSection::place(DataColumn& c, int32_t vk, double v) {
  if (c.got >= c.nelem) {
    L.ERRARG2 = (int32_t)std::min<int64_t>(expected, BIGCOUNT);
    return 19;
  }
  if (c.got == 0) {
    c.firstkind = vk;
    c.firstval = v;
  }
  int32_t var = c.var, k = vkind(W, L, var);
  if (vk == 1) {
    if (!init) {
      if (k == 5 || k == 6) return 204;
      setvkind(W, L, var, 6);
      setvfix(W, L, var, 0);
      setvvalue(W, L, var, v);
    } else if (k < 4) {
      setvvalue(W, L, var, v);
    }
  } else if (vk == 2) {
    if (!init) {
      if (k == 5 || k == 6) return 204;
      setvkind(W, L, var, 5);
      setvfix(W, L, var, 0);
      setvvalue(W, L, var, L.BIGNUM);
    } else if (k < 4) {
      setvvalue(W, L, var, L.BIGNUM);
    }
    int32_t e = runtime(var);
    if (e) return e;
  }
  c.var += c.stride;
  ++c.got;
  return 0;
}

// A number in the value list (after its signs).
int32_t DataSection::number(double v) {
  if (minus & 1) v = -v;
  minus = 0;
  if (cols.empty()) return 1;
  DataColumn& c = cols[(size_t)(nvals % (int64_t)cols.size())];
  if (is_setcol(c)) {
    if (!(v >= 1.0 && v <= 2147483640.0 && v == std::floor(v))) return 1;
    std::string t = std::to_string((int64_t)v);
    return member(t.data(), (int32_t)t.size());
  }
  ++nvals;
  if (!defsets.empty()) {
    held.push_back({1, v});
    return 0;
  }
  if (nvals > expected) {
    L.ERRARG2 = (int32_t)expected;
    return 19;
  }
  return place(c, 1, v);
}

// "?": a value asked at run time.
int32_t DataSection::question() {
  if (cols.empty()) return 1;
  DataColumn& c = cols[(size_t)(nvals % (int64_t)cols.size())];
  if (is_setcol(c)) return 159;
  ++nvals;
  if (!defsets.empty()) {
    held.push_back({2, 0.0});
    return 0;
  }
  if (nvals > expected) {
    L.ERRARG2 = (int32_t)expected;
    return 19;
  }
  return place(c, 2, 0.0);
}

// An empty place between "," and "," or right after "=".
int32_t DataSection::skip() {
  if (cols.empty()) return 1;
  DataColumn& c = cols[(size_t)(nvals % (int64_t)cols.size())];
  if (is_setcol(c)) return 159;
  ++nvals;
  if (!defsets.empty()) {
    held.push_back({3, 0.0});
    return 0;
  }
  if (nvals > expected) {
    L.ERRARG2 = (int32_t)expected;
    return 19;
  }
  return place(c, 3, 0.0);
}

// A member name in a set column.
int32_t DataSection::member(const char* name, int32_t len) {
  if (cols.empty()) return 1;
  DataColumn& c = cols[(size_t)(nvals % (int64_t)cols.size())];
  if (!is_setcol(c)) return 1;
  if (mixed) return 6;
  ++nvals;
  heldnames.emplace_back(name, (size_t)std::clamp(len, 0, NAMELEN));
  return 0;
}

// first".."last: the members of a primitive set as an implicit range.
int32_t DataSection::range_end(const char* name, int32_t len) {
  if (cols.size() != 1 || cols[0].kind != NTSETP || heldnames.size() != 1 || nvals != 1) return 180;
  int32_t s = cols[0].obj, st = 0;
  const std::string& first = heldnames[0];
  add_name_hash_(W, L, nt_prim(L), first.data(), (int32_t)first.size(), st);
  if (st) return 41;
  iput(W, L, L.INXNTR, s, L.NPRIMEL);
  iput(W, L, L.NNTRYS, s, 1);
  char last[NAMELEN + 1];
  pad(last, name, len);
  last[NAMELEN] = 0;
  implset_(W, L, s, last, len, st);
  if (st == 1) return 180;
  if (st == 2) return 41;
  if (st != 0) return 167;
  ranged = true;
  return build(W, L, s);
}

// The members and held values of the set defined by the statement.
int32_t DataSection::finish_defined() {
  if (defsets.size() > 1) return 150;
  int32_t s = defsets[0];
  int64_t nc = (int64_t)cols.size();
  if (nvals % nc != 0) {
    L.ERRARG2 = (int32_t)nc;
    L.ERRARG3 = (int32_t)std::min<int64_t>(nvals, BIGCOUNT);
    L.ERRARG4 = s;
    return 146;
  }
  int64_t rows = nvals / nc;
  if (rows > BIGCOUNT / 8) return 41;
  std::vector<int32_t> id, step, kind, pset;
  for (const DataColumn& c : cols) {
    if (!is_setcol(c)) {
      if (c.objkind != 4 || c.pset != s) return 6;
      continue;
    }
    id.push_back(c.obj);
    step.push_back(0);
    kind.push_back(c.kind);
    pset.push_back(c.pset);
  }
  int32_t hid = int_block(W, L, id), hstep = int_block(W, L, step), hkind = int_block(W, L, kind);
  int32_t hset = int_block(W, L, pset), hnames = 0, hvals = 0;
  int32_t ncap = 0, vcap = 0;
  bool ok = hid && hstep && hkind && hset && growto(W, L, 2, hnames, ncap, std::max<int64_t>((int64_t)heldnames.size() * 8, 8), 8) &&
            growto(W, L, 6, hvals, vcap, 1, 1);
  int32_t st = 1;
  if (ok) {
    for (size_t i = 0; i < heldnames.size(); ++i)
      putnam_(W, L, hnames, (int64_t)i + 1, heldnames[i].data(), (int32_t)heldnames[i].size());
    loademx_(W, L, hid, hstep, hkind, hset, hnames, hvals, (int32_t)rows, (int32_t)id.size(), init ? 0 : 1,
             init ? 1 : 0, st);
  }
  release(L, {&hid, &hstep, &hkind, &hset, &hnames, &hvals});
  switch (st) {
    case 0: break;
    case 2: return 149;
    case 3: return L.SETMSG ? CMPERR_REPORTED : 167;
    case 4: return 204;
    default: return 41;
  }
  int32_t na = setnattr(W, L, s);
  for (DataColumn& c : cols) {
    if (is_setcol(c)) continue;
    c.var = iget(W, L, L.INANTR, s) + c.obj - iget(W, L, L.LASTUB, s);
    c.stride = na;
    c.nelem = rows;
    c.got = 0;
  }
  size_t hv = 0;
  for (int64_t r = 0; r < rows; ++r)
    for (DataColumn& c : cols) {
      if (is_setcol(c)) continue;
      if (hv >= held.size()) return 1;
      auto [k, v] = held[hv++];
      int32_t e = place(c, k, v);
      if (e) return e;
    }
  return build(W, L, s);
}

// ";": the end of a data statement.
int32_t DataSection::end() {
  if (supplied || ranged || cols.empty()) return 0;
  if (!defsets.empty()) return finish_defined();
  if (nvals == expected) return 0;
  int64_t nc = (int64_t)cols.size();
  if (nvals != nc) {
    L.ERRARG2 = (int32_t)std::min<int64_t>(expected, BIGCOUNT);
    return 19;
  }
  // one value per column: it stands for every element of its column
  for (DataColumn& c : cols)
    while (c.got < c.nelem) {
      int32_t e = place(c, c.firstkind, c.firstval);
      if (e) return e;
    }
  return 0;
}

// Answers the availability of an interface function on this platform: 0 or its error.
int32_t DataSection::gate(int32_t tok) {
  switch (tok) {
    case T_OLE: return 138;
    case T_ODBC: return 140;
    case T_POINTER: return L.IOMODE == 13 ? 0 : 141;
    case T_WKX: return (L.IOMODE == 13 || L.IOMODE == 12) ? 182 : 139;
    default: return 0;
  }
}

// An interface function on the right of "=".
int32_t DataSection::in_open(int32_t tok) {
  int32_t e = gate(tok);
  if (e) return e;
  if (tok == T_TEXT) {
    if (defsets.size() > 1) return 150;
    if (mixed) return 6;
  }
  if (tok == T_POINTER && mixed && !defsets.empty()) return 6;
  infunc = tok;
  args.clear();
  return 0;
}

int32_t DataSection::in_arg(const char* text, int32_t len) {
  args.emplace_back(text, (size_t)std::max(len, 0));
  return 0;
}

int32_t DataSection::in_empty_first() { return 1; }

// ")": the function supplies the statement's values.
int32_t DataSection::in_close() {
  ++L.NRUNTM;
  int32_t e = 0;
  if (infunc == T_TEXT) e = text_input();
  else if (infunc == T_POINTER) e = pointer_input();
  else return 0;  // @IMPORT supplies nothing
  if (e == 0) supplied = true;
  return e;
}

int32_t DataSection::text_input() {
  if (args.size() != 1) return 50;
  std::string file = args[0].substr(0, 202);
  int32_t nc = (int32_t)cols.size();
  if (nc < 1) return 1;
  std::vector<int32_t> kinds, id, step, kind, pset;
  for (const DataColumn& c : cols) {
    kinds.push_back(c.kind);
    id.push_back(is_setcol(c) ? c.obj : c.var);
    step.push_back(c.stride);
    kind.push_back(c.kind);
    pset.push_back(is_setcol(c) ? c.pset : (c.objkind == 4 ? c.obj : 0));
  }
  int32_t numbers = 0, names = 0, count = 0, st = 0;
  int32_t exp = defsets.empty() ? (int32_t)std::min<int64_t>(expected, BIGCOUNT) : BIGCOUNT;
  getextd2_(W, L, file.c_str(), nc, exp, kinds.data(), numbers, names, count, st);
  if (st != 0) {
    release(L, {&numbers, &names});
    switch (st) {
      case 4:
        if (exp < BIGCOUNT) {
          L.ERRARG2 = exp;
          return 19;
        }
        L.ERRARG2 = nc;
        L.ERRARG3 = count;
        L.ERRARG4 = parent;
        return 146;
      case 6: return 41;
      default:
        std::memset(L.ERRSTR, ' ', sizeof L.ERRSTR - 1);
        L.ERRSTR[sizeof L.ERRSTR - 1] = 0;
        std::memcpy(L.ERRSTR, file.data(), std::min(file.size(), sizeof L.ERRSTR - 1));
        return st == 1 ? 45 : st == 2 ? 46 : st == 3 ? 47 : 49;
    }
  }
  int32_t hid = int_block(W, L, id), hstep = int_block(W, L, step), hkind = int_block(W, L, kind);
  int32_t hset = int_block(W, L, pset);
  st = 1;
  if (hid && hstep && hkind && hset)
    loademx_(W, L, hid, hstep, hkind, hset, names, numbers, count / nc, nc, init ? 0 : 1, init ? 1 : 0, st);
  release(L, {&hid, &hstep, &hkind, &hset, &numbers, &names});
  switch (st) {
    case 0: return 0;
    case 2: return 149;
    case 3: return L.SETMSG ? CMPERR_REPORTED : 167;
    case 4: return 204;
    default: return 41;
  }
}

int32_t DataSection::pointer_input() {
  std::vector<int32_t> index, kinds;
  for (const DataColumn& c : cols) {
    if (is_setcol(c)) return 134;
    index.push_back(c.obj);
    kinds.push_back(c.objkind == 4 ? 4 : 0);
  }
  int32_t hend = 0, htxt = 0, used = 0, cap = 0, st = 0;
  std::vector<int32_t> ends;
  for (const std::string& a : args) {
    storelt_(W, L, htxt, used, cap, a.data(), (int32_t)a.size(), st);
    if (st) break;
    ends.push_back(used);
  }
  int32_t values = 0;
  if (st == 0) {
    hend = int_block(W, L, ends);
    if (!hend) st = 2;
  }
  if (st != 0) {
    release(L, {&hend, &htxt});
    return 41;
  }
  getpntrd_(W, L, (int32_t)cols.size(), hend, htxt, (int32_t)args.size(), index.data(), kinds.data(), values, st);
  int32_t e = st == 1 ? 134 : st == 2 ? 41 : st == 3 ? 6 : 0;
  if (e == 0) {
    int32_t hix = int_block(W, L, index), hk = int_block(W, L, kinds);
    if (hix && hk) {
      loadem2_(W, L, values, hix, hk, (int32_t)cols.size(), init ? 0 : 1, init ? 1 : 0, st);
      if (st) e = 204;
    } else {
      e = 41;
    }
    release(L, {&hix, &hk});
  }
  release(L, {&hend, &htxt, &values});
  return e;
}

// @QRAND( with the seed from the clock.
int32_t DataSection::qrand_open() {
  int32_t clock = 0;
  getime_(clock);
  seed = clock;
  infunc = T_QRAND;
  return 0;
}

int32_t DataSection::qrand_int(double v) {
  seed = (int32_t)std::clamp(v, -2147483640.0, 2147483640.0);
  return 0;
}

// A seed named by a scalar variable fixed in DATA.
int32_t DataSection::qrand_name(const char* name) {
  int32_t kind = 0, idx = 0;
  fndnmm_(W, L, name, kind, idx);
  if (kind != 5 || vkind(W, L, idx) != 6) return 179;
  double v = std::clamp(vvalue(W, L, idx), -2147483640.0, 2147483640.0);
  seed = (int32_t)std::trunc(v);
  return 0;
}

// ")": the stratified sample becomes the attribute's values.
int32_t DataSection::qrand_close() {
  if (!defsets.empty()) return 176;
  if (cols.size() != 1) return 177;
  const DataColumn& c = cols[0];
  if (c.objkind != 4 || iget(W, L, L.SETORD, c.pset) != -1) return 178;
  int32_t s = c.pset, d = setdim(W, L, s), n = iget(W, L, L.NNTRYS, s);
  int32_t rows = n, ncol = 1;
  if (d > 0) {
    rows = iget(W, L, L.NNTRYS, iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s)));
    ncol = rows > 0 ? n / rows : 0;
  }
  if (rows < 1 || ncol < 1) return 0;
  std::vector<double> vals((size_t)rows * ncol), scratch((size_t)rows);
  std::vector<int32_t> strata((size_t)ncol);
  BRQRANDF_(&rows, &ncol, vals.data(), &seed, strata.data(), scratch.data());
  vals.resize((size_t)std::max(n, 1));
  int32_t st = 0;
  loadattr_(W, L, c.obj, 0, vals.data(), init ? 0 : 1, st);
  if (st) return 204;
  supplied = true;
  return 0;
}

// An interface function that opens an output statement.
int32_t DataSection::out_open(int32_t tok) {
  if (init) return 1;
  int32_t e = gate(tok);
  if (e) return e;
  okind = tok == T_TEXT ? 1 : tok == T_POINTER ? 5 : 0;
  if (okind == 0) return 1;
  args.clear();
  onum.clear();
  otype.clear();
  oowner.clear();
  okindl.clear();
  modifier = nfunc = 0;
  return 0;
}

int32_t DataSection::out_empty_first() { return 1; }

int32_t DataSection::out_args_done() {
  if (okind == 5 && args.size() != 1) return 134;
  return 0;
}

void DataSection::out_equals() {
  modifier = 0;
  nfunc = 0;
  codestart = L.CODELEN;
}

// A name in the output list.
int32_t DataSection::out_name(const char* name) {
  int32_t kind = 0, idx = 0;
  fndnmm_(W, L, name, kind, idx);
  int32_t type = 0, owner = 0, ck = 0;
  switch (kind) {
    case 5: type = modifier; break;
    case 4: type = 4 + modifier; owner = iget(W, L, L.IDOWNR, idx); break;
    case 2: type = 8 + modifier; break;
    case 1:
      if (modifier) return 158;
      if (okind == 5) return 155;
      type = 12;
      owner = idx;
      ck = setdim(W, L, idx) == 0 ? NTSETP : NTSETD;
      break;
    default: return 25;
  }
  onum.push_back(idx);
  otype.push_back(type);
  oowner.push_back(owner);
  okindl.push_back(ck);
  return 0;
}

int32_t DataSection::out_modifier(int32_t tok) {
  if (modifier) return 1;
  modifier = tok == T_DUAL ? 1 : tok == 78 ? 2 : 3;  // 78 @RANGEU(, 79 @RANGED(
  return 0;
}

int32_t DataSection::out_modifier_close() {
  if (!modifier) return 2;
  modifier = 0;
  return 0;
}

// A quoted text in the output list: kept in OUTTXT, named by its first position.
int32_t DataSection::out_quoted(const char* text, int32_t len) {
  int32_t pos = L.OUTTXTN + 1, st = 0;
  storelt_(W, L, L.OUTTXT, L.OUTTXTN, L.OUTTXTCAP, text, len, st);
  if (st == 1) fatal_(L, "Storelt err 2");
  if (st) return 41;
  onum.push_back(pos);
  otype.push_back(13);
  oowner.push_back(0);
  okindl.push_back(13);
  return 0;
}

int32_t DataSection::ops_room(int64_t need) {
  if ((int64_t)L.OUTOPN + need <= L.OUTOPCAP && L.OUTOPS > 0) return 0;
  int64_t want = std::max<int64_t>({2 * (int64_t)L.OUTOPCAP, 256, (int64_t)L.OUTOPN + need + 256});
  if (want > 2147483640LL / 4) return 41;
  int32_t cnt = (int32_t)want, st = 0;
  setblk_(2, cnt, W, L, L.OUTOPS, st);
  if (st) return 41;
  L.OUTOPCAP = cnt;
  return 0;
}

int32_t DataSection::put(int32_t w) {
  if (int32_t e = ops_room(1)) return e;
  iput(W, L, L.OUTOPS, ++L.OUTOPN, w);
  return 0;
}

// The characters of a text, one per word, and its terminator.
int32_t DataSection::put_text(const std::string& t) {
  if (int32_t e = ops_room((int64_t)t.size() + 1)) return e;
  for (char c : t) iput(W, L, L.OUTOPS, ++L.OUTOPN, (int32_t)(unsigned char)c);
  iput(W, L, L.OUTOPS, ++L.OUTOPN, 0);
  return 0;
}

// The argument part of @TEXT: the file name and the write mode (W unless given).
int32_t DataSection::text_args(bool) {
  int32_t e = 0;
  if (args.empty()) {
    if ((e = put(0)) || (e = put('W'))) return e;
  } else if (args.size() == 1) {
    if ((e = put_text(args[0])) || (e = put('W'))) return e;
  } else {
    if ((e = put_text(args[0])) || (e = put_text(args[1]))) return e;
  }
  return 0;
}

// The end entry of the record just written.
int32_t DataSection::record_end() {
  if (!growto(W, L, 2, L.OUTENDS, L.OUTENDCAP, (int64_t)L.OUTENDN + 1, 64)) return 41;
  iput(W, L, L.OUTENDS, ++L.OUTENDN, L.OUTOPN);
  return 0;
}

// ";" of an output statement with output functions: its code becomes a piece of OUTCODE and
// the code record is written.
int32_t DataSection::out_code(int32_t lastargs) {
  if (okind == 1 && (args.size() > 2 || (args.size() == 2 && args[1].size() != 1))) return 21;
  int32_t n = L.CODELEN - codestart;
  if (n < 1) return 1;
  int32_t old = L.OUTCODN > 0 ? iget(W, L, L.OUTCODST, L.OUTCODN + 1) - 1 : 0;
  int32_t st = 0, cnt = old + n;
  setblk_(2, cnt, W, L, L.OUTCODE, st);
  if (st) return 41;
  L.OUTCODECAP = cnt;
  if (!growto(W, L, 2, L.OUTCODST, L.OUTCODSTCAP, (int64_t)L.OUTCODN + 2, 2)) return 41;
  for (int32_t k = 1; k <= n; ++k) iput(W, L, L.OUTCODE, old + k, iget(W, L, L.CODEBLK, codestart + k));
  if (L.OUTCODN == 0) iput(W, L, L.OUTCODST, 1, 1);
  ++L.OUTCODN;
  iput(W, L, L.OUTCODST, L.OUTCODN + 1, old + n + 1);
  L.CODELEN = codestart;
  int32_t e = 0;
  if ((e = put(okind)) || (e = put(lastargs)) || (e = put(-2)) || (e = put(L.OUTCODN))) return e;
  for (const std::string& a : args)
    if ((e = put_text(a))) return e;
  if ((e = put(0))) return e;
  if (okind == 1 && args.size() < 2 && (e = put('W'))) return e;
  return record_end();
}

// ";" of an output statement that names objects and texts.
int32_t DataSection::out_end() {
  if (modifier) return 2;
  if (okind == 1 && (args.size() > 2 || (args.size() == 2 && args[1].size() != 1))) return 21;
  int32_t n = (int32_t)onum.size(), e = 0;
  if ((e = ops_room(2 + 2 * (int64_t)n))) return e;
  put(okind);
  put(n);
  for (int32_t v : onum) put(v);
  for (int32_t v : otype) put(v);
  if (okind == 1) e = text_args(true);
  else e = put_text(args.empty() ? std::string() : args[0]);
  if (e) return e;
  return record_end();
}

// @STATUS() on the right: the status record.
int32_t DataSection::out_status() {
  if (okind == 1 && (args.size() > 2 || (args.size() == 2 && args[1].size() != 1))) return 21;
  int32_t e = 0;
  if ((e = put(okind)) || (e = put(-1))) return e;
  if (okind == 1) e = text_args(true);
  else e = put_text(args.empty() ? std::string() : args[0]);
  if (e) return e;
  return record_end();
}

// ENDDATA: the group mark, once any output statement exists in the model.
int32_t DataSection::section_end() {
  if (init || L.OUTENDN < 1) return 0;
  if (int32_t e = put(0)) return e;
  return record_end();
}
