// The catalogue of the compiled and generated model's blocks: growth of the set, variable
// and row tables, release of the whole model, forgetting every handle.
#include <algorithm>
#include <initializer_list>
#include "store/upcalls.h"
#include "store/store.h"

namespace {
using F = int32_t MasterRecord::*;

// the nine integer set tables grown beside the set names, in growth order
constexpr F SETTABS[] = {&MasterRecord::LXSTUB, &MasterRecord::LASTUB, &MasterRecord::INXNTR,
                         &MasterRecord::SETORD, &MasterRecord::INANTR, &MasterRecord::NNTRYS,
                         &MasterRecord::SETPST, &MasterRecord::SETALC, &MasterRecord::SETCST};
// the eight integer and two real row arrays, in growth order
constexpr F ROWINTS[] = {&MasterRecord::ROWTYPES, &MasterRecord::ROWMAP, &MasterRecord::ROWORD,
                         &MasterRecord::ROWSTP,   &MasterRecord::ROWRNM, &MasterRecord::ROWIXS,
                         &MasterRecord::ROWVST,   &MasterRecord::ROWSNS};
constexpr F ROWDBLS[] = {&MasterRecord::ROWVAL, &MasterRecord::ROWD2};

// Every handle of the catalogue, in the order recovr_ releases them. A 0 entry marks the
// place where the next release routine of another subsystem runs.
constexpr F RELEASE[] = {
    // compiled code and its statement list
    &MasterRecord::CODEBLK, &MasterRecord::STMTIX, nullptr /* scalar model lists */,
    // row code, scalar names
    &MasterRecord::RCODE, &MasterRecord::SCLNAM, nullptr /* sorted set orders */,
    // set tables and set lists
    &MasterRecord::KSNAME, &MasterRecord::LXSTUB, &MasterRecord::LASTUB, &MasterRecord::INXNTR,
    &MasterRecord::SETORD, &MasterRecord::INANTR, &MasterRecord::NNTRYS, &MasterRecord::SETPST,
    &MasterRecord::SETALC, &MasterRecord::SETCST, &MasterRecord::NDXSTB, &MasterRecord::SETPAR,
    &MasterRecord::KANAME, &MasterRecord::IDOWNR, &MasterRecord::KPNAME, &MasterRecord::NDRVEL,
    // variable arrays and bounds
    &MasterRecord::VARFIX, &MasterRecord::VARKND, &MasterRecord::VARINT, &MasterRecord::VARVAL,
    &MasterRecord::VARRDC, &MasterRecord::VARORD, &MasterRecord::VARLB, &MasterRecord::VARUB,
    &MasterRecord::ROWSLK, &MasterRecord::ROWDUL,
    // ranges
    &MasterRecord::RNGV1, &MasterRecord::RNGV2, &MasterRecord::RNGR1, &MasterRecord::RNGR2,
    // rows, row names, structural analysis, reference lists, name hashes
    &MasterRecord::ROWTYPES, &MasterRecord::ROWMAP, &MasterRecord::ROWORD, &MasterRecord::ROWSTP,
    &MasterRecord::ROWRNM, &MasterRecord::ROWIXS, &MasterRecord::ROWVST, &MasterRecord::ROWSNS,
    &MasterRecord::ROWVAL, &MasterRecord::ROWD2, &MasterRecord::ROWNAM, &MasterRecord::ROWNDIM,
    &MasterRecord::ROWIXW, &MasterRecord::ROWVAR, &MasterRecord::UNIQBLK, &MasterRecord::XTRBLK,
    &MasterRecord::VREF1, &MasterRecord::VREF2, &MasterRecord::VARPOS, &MasterRecord::SETHSH,
    &MasterRecord::ATTHSH, &MasterRecord::PRMHSH, &MasterRecord::SCLHSH, &MasterRecord::ROWHSH,
    nullptr /* coefficient matrix */,
    // output operations, second structure block, compiled sections
    &MasterRecord::OUTOPS, &MasterRecord::OUTENDS, &MasterRecord::OUTTXT, &MasterRecord::STRBLK2,
    &MasterRecord::CNDBLK, &MasterRecord::OUTCODE, &MasterRecord::OUTCODST,
    // database output, output result buffers
    &MasterRecord::DBOBLK, &MasterRecord::ORBTXT, &MasterRecord::ORBKND, &MasterRecord::ORBPOS,
    &MasterRecord::ORBNUM, &MasterRecord::ORBAUX};

// Counts and capacities that go with the catalogue's handles.
constexpr F WORDS[] = {
    &MasterRecord::CODELEN,   &MasterRecord::CODECAP,    &MasterRecord::STMTCNT,
    &MasterRecord::STMTCAP,   &MasterRecord::RCODEN,     &MasterRecord::RCODECAP,
    &MasterRecord::NSCALAR,   &MasterRecord::SCLCAP,     &MasterRecord::NSETS,
    &MasterRecord::SETCAP,    &MasterRecord::NDXSTBN,    &MasterRecord::NDXSTBCAP,
    &MasterRecord::SETPARN,   &MasterRecord::SETPARCAP,  &MasterRecord::NATTRS,
    &MasterRecord::ATTRCAP,   &MasterRecord::NPRIMEL,    &MasterRecord::PRIMCAP,
    &MasterRecord::NDRVUSE,   &MasterRecord::NDRVCAP,    &MasterRecord::VARCAP,
    &MasterRecord::NVARS,     &MasterRecord::VARTOP,     &MasterRecord::ROWCAP,
    &MasterRecord::NROWS,     &MasterRecord::NROWNM,     &MasterRecord::ROWNMCAP,
    &MasterRecord::NROWIX,    &MasterRecord::ROWIXCAP,   &MasterRecord::STRUCTN,
    &MasterRecord::NROWVAR,   &MasterRecord::ROWVARCAP,  &MasterRecord::NUNIQ,
    &MasterRecord::NXTR,      &MasterRecord::OBJROW,     &MasterRecord::NFIXED,
    &MasterRecord::VREF1N,    &MasterRecord::VREF1CAP,   &MasterRecord::VREF2N,
    &MasterRecord::VREF2CAP,  &MasterRecord::SETHSZ,     &MasterRecord::ATTHSZ,
    &MasterRecord::PRMHSZ,    &MasterRecord::SCLHSZ,     &MasterRecord::ROWHSZ,
    &MasterRecord::OUTOPN,    &MasterRecord::OUTOPCAP,   &MasterRecord::OUTENDN,
    &MasterRecord::OUTENDCAP, &MasterRecord::OUTTXTN,    &MasterRecord::OUTTXTCAP,
    &MasterRecord::OUTCODN,   &MasterRecord::OUTCODECAP, &MasterRecord::OUTCODSTCAP,
    &MasterRecord::CNDCAP,    &MasterRecord::DBOBLKN,    &MasterRecord::DBOBLKCAP,
    &MasterRecord::ORBTXTN,   &MasterRecord::ORBTXTCAP,  &MasterRecord::ORBITEMS,
    &MasterRecord::ORBITEMCAP, &MasterRecord::ORBWRITES, &MasterRecord::ORBNUMN,
    &MasterRecord::ORBNUMCAP};

// resizes one block, keeping the worst status
void resize(Work& a, MasterRecord& L, int32_t type, int32_t n, F h, int32_t& status) {
  int32_t c = n, st = 0;
  setblk_(type, c, a, L, L.*h, st);
  if (st != 0 && status == 0) status = st;
}
}  // namespace

// Grows the set names and the nine set tables by 32 entries.
void grwset_(Work& a, MasterRecord& L, int32_t& status) {
  status = 0;
  int32_t s = L.SETCAP + 32;
  resize(a, L, 7, s * L.NAMEWD, &MasterRecord::KSNAME, status);
  for (F t : SETTABS) resize(a, L, 2, s, t, status);
  if (status == 0) L.SETCAP = s;
}

// Resizes the five variable arrays to n entries.
void setvarblocks_(Work& a, MasterRecord& L, int32_t n, int32_t& status) {
  status = 0;
  resize(a, L, 2, n, &MasterRecord::VARFIX, status);
  resize(a, L, 2, n, &MasterRecord::VARKND, status);
  resize(a, L, 2, n, &MasterRecord::VARINT, status);
  resize(a, L, 6, n, &MasterRecord::VARVAL, status);
  resize(a, L, 6, n, &MasterRecord::VARRDC, status);
}

// Grows the variable arrays by max(n, 256) entries; the attribute-block variables at the top
// move up with the top, and the references to them follow.
void grwvr3_(Work& a, MasterRecord& L, int32_t n, int32_t& status) {
  int64_t p = L.VARCAP, q = p + std::max<int64_t>(n, 256);
  if (q > MAXREQ / 8) {
    status = 2;
    return;
  }
  int32_t st = 0;
  setvarblocks_(a, L, (int32_t)q, st);
  if (st != 0) {
    status = 2;
    return;
  }
  status = 0;
  L.VARCAP = (int32_t)q;
  int64_t fix = L.START[L.VARFIX], knd = L.START[L.VARKND], iv = L.START[L.VARINT];
  int64_t val = L.START[L.VARVAL], rdc = L.START[L.VARRDC];
  for (int64_t k = p + 1; k <= q; ++k) {
    wput(a, fix + k - 1, UNFIXED);
    wput(a, knd + k - 1, 0);
    wput(a, iv + k - 1, 0);
    dput(a, val + 2 * (k - 1), UNSETVAL);
    dput(a, rdc + 2 * (k - 1), 0.0);
  }
  if (p <= 0) return;
  int64_t t = std::min<int64_t>(std::max(L.VARTOP, 0), p);
  for (int64_t k = 1; k <= t; ++k) {
    int64_t from = p - k + 1, to = q - k + 1;
    wput(a, knd + to - 1, wget(a, knd + from - 1));
    wput(a, fix + to - 1, wget(a, fix + from - 1));
    dput(a, val + 2 * (to - 1), dget(a, val + 2 * (from - 1)));
    dput(a, val + 2 * (from - 1), UNSETVAL);
    wput(a, fix + from - 1, UNFIXED);
    wput(a, knd + from - 1, 0);
    dput(a, rdc + 2 * (from - 1), 0.0);
  }
  int32_t d = (int32_t)(q - p);
  if (L.INANTR > 0) {
    int64_t s0 = L.START[L.INANTR];
    for (int64_t s = 1; s <= std::min(L.NSETS, L.SETCAP); ++s) {
      int32_t v = wget(a, s0 + s - 1);
      if (v > 0) wput(a, s0 + s - 1, v + d);
    }
  }
  for (auto [h, cnt] : {std::pair{L.VREF1, L.VREF1N}, std::pair{L.VREF2, L.VREF2N}}) {
    if (h <= 0) continue;
    int64_t s0 = L.START[h];
    int64_t m = std::min<int64_t>(cnt, (int64_t)L.LEN[h]);
    // only the variables of the moved top region change their numbers
    for (int64_t i = 1; i <= m; ++i) {
      int32_t v = wget(a, s0 + i - 1);
      if (v > p - t) wput(a, s0 + i - 1, v + d);
    }
  }
}

// Resizes the eight integer and two real row arrays to n entries.
void setrowblocks_(Work& a, MasterRecord& L, int32_t n, int32_t& status) {
  status = 0;
  for (F h : ROWINTS) resize(a, L, 2, n, h, status);
  for (F h : ROWDBLS) resize(a, L, 6, n, h, status);
}

// Sets the row arrays to max(n, 256) entries, never fewer than the rows in use.
void grwrow_(Work& a, MasterRecord& L, int32_t n, int32_t& status) {
  int32_t m = std::max({n, 256, L.NROWS});
  if (m >= MAXREQ / 8) {
    status = 2;
    return;
  }
  setrowblocks_(a, L, m, status);
  if (status != 0) return;
  int32_t old = L.ROWCAP;
  L.ROWCAP = m;
  for (F h : ROWDBLS) {
    int64_t s0 = L.START[L.*h];
    for (int64_t k = std::max(old, 0) + 1; k <= m; ++k) dput(a, s0 + 2 * (k - 1), 0.0);
  }
}

// Releases every block of the compiled and generated model and zeroes its counts.
void recovr_(Work& a, MasterRecord& L) {
  const Upcalls& up = upcalls_();
  int call = 0;
  for (F h : RELEASE) {
    if (h != nullptr) {
      rlsblk_(L, L.*h);
      continue;
    }
    switch (call++) {
      case 0: if (up.freescalarlists) up.freescalarlists(L); break;
      case 1: if (up.freesort) up.freesort(a, L); break;
      default: if (up.freematrix) up.freematrix(L); break;
    }
  }
  for (F w : WORDS) L.*w = 0;
}

// Zeroes every handle, count and capacity of the catalogue without releasing anything.
void clrcatalog_(MasterRecord& L) {
  for (F h : RELEASE)
    if (h != nullptr) L.*h = 0;
  for (F w : WORDS) L.*w = 0;
}

// The compiled code block's first element as an index of the work array.
void updateptrs_(const MasterRecord& L, int32_t& index) { index = L.START[L.CODEBLK]; }
