// Input of DATA values from the memory of an embedding program (@POINTER), and the
// column-to-row reordering of a block of names.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>
#include "language/values.h"
#include "store/hooks.h"

// Values of the targets from the memory of an embedding program through the pointer hook.
// The pointer texts are held one after the other in the character block ptrText, ptrEnds
// giving the end of each. index and kinds (not in the work array) name the targets. Status 0
// done; 1 bad arguments or the hook failed; 2 no storage; 3 one pointer for targets of
// different sets.
void getpntrd_(Work& W, MasterRecord& L, int32_t targets, int32_t ptrEnds, int32_t ptrText, int32_t ptrCount,
               const int32_t* index, const int32_t* kinds, int32_t& values, int32_t& status) {
  status = 0;
  if (ptrCount < 1 || targets < 1 || (ptrCount != 1 && ptrCount != targets)) {
    status = 1;
    return;
  }
  std::vector<int32_t> ptr((size_t)ptrCount);
  int32_t prev = 0;
  for (int32_t p = 1; p <= ptrCount; ++p) {
    int32_t end = iget(W, L, ptrEnds, p);
    std::string t = " ";
    for (int32_t k = prev + 1; k <= end; ++k) {
      char c = cget(W, wbyte(L.START[ptrText]) + k - 1);
      if (c == 0) break;
      t += c;
    }
    prev = end;
    int32_t pos = 0, n = (int32_t)t.size() - 1;
    while (pos < n && t[(size_t)pos + 1] == ' ') ++pos;
    double v = 0.0;
    if (txt2np_(L, t.data(), pos, n, 0, v) != 0) {
      status = 1;
      return;
    }
    while (pos < n && t[(size_t)pos + 1] == ' ') ++pos;
    double tr = v < 0 ? -std::floor(-v) : std::floor(v);
    if (pos != n || std::fabs(v) > 2147483640.0 || v - tr > 1e-8) {
      status = 1;
      return;
    }
    ptr[(size_t)p - 1] = (int32_t)tr;
  }
  auto owner = [&](int32_t t) { return kinds[t] >= 4 ? iget(W, L, L.IDOWNR, index[t]) : 0; };
  auto count = [&](int32_t t) { return kinds[t] >= 4 ? iget(W, L, L.NNTRYS, owner(t)) : 1; };
  int64_t total = 0;
  for (int32_t t = 0; t < targets; ++t) total += count(t);
  int32_t cap = values > 0 ? L.LEN[values] / 2 : 0;
  if (!growto(W, L, 6, values, cap, std::max<int64_t>(total, 1), 1)) {
    status = 2;
    return;
  }
  std::vector<double> buf;
  if (ptrCount > 1) {
    int64_t at = 0;
    for (int32_t t = 0; t < targets; ++t) {
      int32_t n = count(t), res = 0;
      buf.assign((size_t)std::max(n, 1), 0.0);
      if (getptrvals_(res, ptr[(size_t)t], n, buf.data()) > 0) {
        status = 1;
        return;
      }
      for (int32_t k = 0; k < n; ++k) rput(W, L, values, ++at, buf[(size_t)k]);
    }
    return;
  }
  for (int32_t t = 1; t < targets; ++t)
    if (owner(t) != owner(0)) {
      status = 3;
      return;
    }
  int32_t n = count(0);
  int64_t all = (int64_t)targets * n;
  if (all > 2147483640LL / 8) {
    status = 2;
    return;
  }
  int32_t stage = 0, scnt = (int32_t)std::max<int64_t>(all, 1), st = 0;
  setblk_(6, scnt, W, L, stage, st);
  if (st != 0) {
    if (stage > 0) rlsblk_(L, stage);
    status = 2;
    return;
  }
  buf.assign((size_t)std::max<int64_t>(all, 1), 0.0);
  int32_t res = 0, cnt = (int32_t)all;
  if (getptrvals_(res, ptr[0], cnt, buf.data()) > 0) {
    rlsblk_(L, stage);
    status = 1;
    return;
  }
  for (int64_t k = 0; k < all; ++k) rput(W, L, stage, k + 1, buf[(size_t)k]);
  for (int32_t j = 1; j <= targets; ++j)
    for (int32_t m = 1; m <= n; ++m)
      rput(W, L, values, (int64_t)(j - 1) * n + m, rget(W, L, stage, (int64_t)(m - 1) * targets + j));
  rlsblk_(L, stage);
}

// Reorders groups of names: name i of group j moves to position j + (i-1) x groups.
void txtpose_(Work& W, MasterRecord& L, int32_t& names, int32_t groupLen, int32_t groups, int32_t& status) {
  status = 0;
  int64_t n = (int64_t)groupLen * groups;
  if (n < 1) return;
  if (n * 8 > 2147483640LL / 4) {
    status = 1;
    return;
  }
  int32_t nb = 0, cnt = (int32_t)(n * 8), st = 0;
  setblk_(2, cnt, W, L, nb, st);
  if (st != 0) {
    if (nb > 0) rlsblk_(L, nb);
    status = 1;
    return;
  }
  int64_t out = 0;
  for (int32_t i = 1; i <= groupLen; ++i)
    for (int32_t j = 1; j <= groups; ++j) {
      char nm[NAMELEN];
      int32_t len = 0;
      getnam_(W, L, names, i + (int64_t)(j - 1) * groupLen, nm, len);
      putnam_(W, L, nb, ++out, nm, len);
    }
  rlsblk_(L, names);
  names = nb;
}
