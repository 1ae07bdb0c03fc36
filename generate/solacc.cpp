// Solution accessors, the @STATUS code, set-member names and small stack and text helpers.
#include <cmath>
#include <cstring>

#include "generate/blk.h"
#include "generate/eval.h"
#include "store/store.h"

void chopoff_(const MasterRecord& L, double& x) {
  if (std::fabs(x) <= L.ZEROTOL) x = 0.0;
}

void getxval_(const Work& A, const MasterRecord& L, int32_t v, double& value, double& rc,
              int32_t flags) {
  value = L.VARVAL > 0 ? bgetd(A, L, L.VARVAL, v) : 0.0;
  rc = L.VARRDC > 0 ? bgetd(A, L, L.VARRDC, v) : 0.0;
  if (flags & 1) {
    chopoff_(L, value);
    chopoff_(L, rc);
  }
}

void getrval_(const Work& A, const MasterRecord& L, int32_t r, double& slack, double& dual,
              int32_t flags) {
  slack = 0.0;
  if (L.ROWSLK > 0) {
    slack = bgetd(A, L, L.ROWSLK, r);
    if (flags & 1) chopoff_(L, slack);
  }
  const int32_t sense = L.ROWSNS > 0 ? bgeti(A, L, L.ROWSNS, r) : 1;
  if (slack != 0.0) {  // a zero slack stays +0.0
    if (sense == 0) slack = -std::fabs(slack);
    else if (sense == -1) slack = -slack;
  }
  dual = 0.0;
  if (L.SOLKND != 0 && L.ROWDUL > 0) {
    dual = bgetd(A, L, L.ROWDUL, r);
    if (flags & 1) chopoff_(L, dual);
  }
}

void status_(const MasterRecord& L, int32_t& code) {
  switch (L.MODSTAT) {
    case 1: code = 0; break;   // optimal
    case 3: code = 1; break;   // infeasible
    case 4: code = 2; break;   // unbounded
    case 5: code = 4; break;   // feasible
    case 6: code = 5; break;   // infeasible or unbounded
    case 8: code = 6; break;   // local optimum
    case 9: code = 7; break;   // locally infeasible
    case 10: code = 8; break;  // cut off
    case 11: code = 9; break;  // numerical error
    default: code = 3; break;  // undetermined
  }
}

namespace {

// Trimmed length of the 32-character member name k of the primitive-member table.
int32_t mnamelen(const Work& A, const MasterRecord& L, int64_t k) {
  int32_t n = 32;
  while (n > 0 && bgetc(A, L, L.KPNAME, (k - 1) * 32 + n) == ' ') --n;
  return n;
}

}  // namespace

void printsetmembername_(Work& A, MasterRecord& L, int32_t s, int32_t mode, int32_t& handle,
                         int32_t& length, int32_t& status) {
  handle = 0;
  length = 0;
  int32_t loc = 0;
  getvx2_(A, L, 0, s, mode, loc);
  if (loc == -2) { status = 3; return; }
  if (loc <= 0) { status = 2; return; }
  const int32_t d = bgeti(A, L, L.LXSTUB, s + 1) - bgeti(A, L, L.LXSTUB, s);
  // the names that make up the member: one for a primitive set, one per component
  int64_t names[48];
  int32_t nn = 0;
  if (d == 0) {
    names[nn++] = loc;
  } else {
    const int32_t stub = bgeti(A, L, L.LXSTUB, s);
    for (int32_t j = 0; j < d; ++j) {
      const int32_t prim = bgeti(A, L, L.NDXSTB, stub + j);
      names[nn++] = (int64_t)bgeti(A, L, L.INXNTR, prim) + bgeti(A, L, L.NDRVEL, loc + j) - 1;
    }
  }
  int32_t total = 0;
  for (int32_t j = 0; j < nn; ++j) total += mnamelen(A, L, names[j]) + (j + 1 < nn ? 3 : 0);
  int32_t count = total + 1, st = 0;
  setblk_(1, count, A, L, handle, st);
  if (st != 0) {
    if (handle > 0) rlsblk_(L, handle);
    handle = 0;
    status = 1;
    return;
  }
  int32_t pos = 0;
  for (int32_t j = 0; j < nn; ++j) {
    const int32_t ln = mnamelen(A, L, names[j]);
    for (int32_t c = 1; c <= ln; ++c) bputc(A, L, handle, ++pos, bgetc(A, L, L.KPNAME, (names[j] - 1) * 32 + c));
    if (j + 1 < nn)
      for (int32_t c = 0; c < 3; ++c) bputc(A, L, handle, ++pos, ' ');
  }
  bputc(A, L, handle, pos + 1, '\0');
  length = total;
  status = 0;
}

int32_t heapstringlength_(const Work& A, const MasterRecord& L, int32_t handle) {
  const int64_t cap = bcap(L, handle, 1);
  int32_t n = 0;
  while (n < cap && bgetc(A, L, handle, n + 1) != '\0') ++n;
  return n;
}

void convstackelem_(const Work& A, MasterRecord& L, int32_t k) {
  double v = L.STKVAL[k], other = 0.0;
  if (L.STKTAG[k] == TAGVAR) getxval_(A, L, L.STKIDX[k], v, other, 0);
  else if (L.STKTAG[k] == TAGROW) getrval_(A, L, L.STKIDX[k], v, other, 0);
  else return;
  L.STKVAL[k] = v;
  L.STKIDX[k] = -1;
  L.STKTAG[k] = TAGNUM;
}

void kshft_(char& out, int32_t length, char c) { out = (c >= 'a' && c <= 'z') ? (char)(c - 32) : c; }
