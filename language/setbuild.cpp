// Set building: members of derived sets from their parents and conditions, the sorted member
// order, attribute variables, and membership questions.
#include <cstring>
#include <algorithm>
#include <vector>
#include "language/lang.h"
#include "store/upcalls.h"

static int32_t nparents(const Work& W, const MasterRecord& L, int32_t s) {
  return iget(W, L, L.SETPST, s + 1) - iget(W, L, L.SETPST, s);
}
static int32_t parent(const Work& W, const MasterRecord& L, int32_t s, int32_t j) {
  return iget(W, L, L.SETPAR, iget(W, L, L.SETPST, s) + j - 1);
}

// Compares n entries: -1 a smaller, 1 a larger, 0 equal.
int32_t cmptup_(const int32_t* a, const int32_t* b, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (a[i] < b[i]) return -1;
    if (a[i] > b[i]) return 1;
  }
  return 0;
}

bool prntsparse_(const Work& W, const MasterRecord& L, int32_t s) {
  for (int32_t j = 1; j <= nparents(W, L, s); ++j)
    if (iget(W, L, L.SETORD, parent(W, L, s, j)) != -1) return true;
  return false;
}

// Sift-down of the heap of tuple start positions pos(1..n) (max-heap).
static void sift(const int32_t* base, int32_t d, std::vector<int32_t>& pos, int32_t k, int32_t n) {
  int32_t item = pos[(size_t)k];
  for (;;) {
    int32_t c = 2 * k;
    if (c > n) break;
    if (c + 1 <= n && cmptup_(base + pos[(size_t)c + 1], base + pos[(size_t)c], d) > 0) ++c;
    if (cmptup_(base + item, base + pos[(size_t)c], d) >= 0) break;
    pos[(size_t)k] = pos[(size_t)c];
    k = c;
  }
  pos[(size_t)k] = item;
}

// Member number (1-based) of tuple tup in built set s, 0 when it is not a member.
int32_t setmember_(const Work& W, const MasterRecord& L, int32_t s, const int32_t* tup) {
  int32_t d = setdim(W, L, s), n = iget(W, L, L.NNTRYS, s);
  if (n < 1) return 0;
  if (d == 0) return (tup[0] >= 1 && tup[0] <= n) ? tup[0] : 0;
  const int32_t* base = &W.w[(size_t)L.START[L.NDRVEL]] - 1;  // base[k] = NDRVEL(k)
  int32_t first = iget(W, L, L.INXNTR, s);
  int32_t ord = iget(W, L, L.SETORD, s);
  if (ord == -1) {
    // dense: every combination in ascending order; position by mixed radix over the parents
    int64_t k = 0;
    int32_t c = 0;
    for (int32_t j = 1; j <= nparents(W, L, s); ++j) {
      int32_t p = parent(W, L, s, j);
      int32_t dp = setdim(W, L, p), m;
      if (dp == 0) {
        m = (tup[c] >= 1 && tup[c] <= iget(W, L, L.NNTRYS, p)) ? tup[c] : 0;
      } else {
        m = setmember_(W, L, p, tup + c);
      }
      if (m == 0) return 0;
      k = k * iget(W, L, L.NNTRYS, p) + (m - 1);
      c += dp == 0 ? 1 : dp;
    }
    return (int32_t)(k + 1);
  }
  if (ord == 0) {
    for (int32_t k = 1; k <= n; ++k)
      if (cmptup_(base + first + (int64_t)(k - 1) * d, tup, d) == 0) return k;
    return 0;
  }
  int32_t lo = 1, hi = n;
  while (lo <= hi) {
    int32_t mid = lo + (hi - lo) / 2;
    int32_t k = iget(W, L, ord, mid);
    int32_t r = cmptup_(base + first + (int64_t)(k - 1) * d, tup, d);
    if (r == 0) return k;
    if (r < 0) lo = mid + 1;
    else hi = mid - 1;
  }
  return 0;
}

// True when the tuple stored in NDRVEL from pos on is a member of the parents of s.
bool validmember_(const Work& W, const MasterRecord& L, int32_t s, int32_t pos) {
  if (setdim(W, L, s) == 0) {
    int32_t v = iget(W, L, L.NDRVEL, pos);
    return v >= 1 && v <= iget(W, L, L.NNTRYS, s);
  }
  int32_t c = 0;
  for (int32_t j = 1; j <= nparents(W, L, s); ++j) {
    int32_t p = parent(W, L, s, j);
    int32_t dp = setdim(W, L, p);
    int32_t w = dp == 0 ? 1 : dp;
    int32_t tup[NDXMAX + 1];
    for (int32_t i = 0; i < w && i < NDXMAX; ++i) tup[i] = iget(W, L, L.NDRVEL, pos + c + i);
    if (iget(W, L, L.SETORD, p) == -1) {
      for (int32_t i = 0; i < w; ++i) {
        int32_t prim = dp == 0 ? p : iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, p) + i);
        if (tup[i] < 1 || tup[i] > iget(W, L, L.NNTRYS, prim)) return false;
      }
    } else if (setmember_(W, L, p, tup) == 0) {
      return false;
    }
    c += w;
  }
  return true;
}

// Member number of the name within primitive set s (s < 1: the first primitive set holding it).
int32_t psendx_(const Work& W, const MasterRecord& L, const char* name, int32_t s) {
  if (L.NSETS < 1 || L.NPRIMEL < 1 || s > L.NSETS) return 0;
  int32_t len = trimlen(name, NAMELEN);
  MasterRecord& LL = const_cast<MasterRecord&>(L);
  for (int32_t t = s > 0 ? s : 1; t <= (s > 0 ? s : L.NSETS); ++t) {
    if (setdim(W, L, t) != 0) continue;
    int32_t n = iget(W, L, L.NNTRYS, t), first = iget(W, L, L.INXNTR, t);
    if (n < 1) continue;
    int32_t r = find_name_rng_hash_(W, L, nt_prim(LL), name, len, first, first + n - 1);
    if (r > 0) return r - first + 1;
  }
  return 0;
}

// Builds each immediate parent of s.
void defprnt_(Work& W, MasterRecord& L, int32_t s, int32_t& status) {
  status = 0;
  for (int32_t j = 1; j <= nparents(W, L, s); ++j) {
    allocset_(W, L, parent(W, L, s, j), status);
    if (status) return;
  }
}

static void fail(Work& W, MasterRecord& L, int32_t msg, int32_t set, int32_t& status) {
  status = 1;
  L.ERRARG2 = set;
  if (set > 0) {
    std::string nm = namestr(W, L, L.KSNAME, set);
    std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
    std::memcpy(L.ERRTXT, nm.data(), nm.size());
  }
  if (msg >= 0) {
    errmsh_(W, L, msg);
    L.SETMSG = 1;
  }
}

// Sizes NDRVEL to want words (at most the largest request); false when no storage.
static bool sizetuples(Work& W, MasterRecord& L, int64_t want) {
  if (want > 2147483640LL / 4) return false;
  int32_t cnt = (int32_t)want, st = 0;
  setblk_(2, cnt, W, L, L.NDRVEL, st);
  if (st != 0) {
    if (L.NDRVEL > 0) L.NDRVCAP = L.LEN[L.NDRVEL];
    return false;
  }
  L.NDRVCAP = cnt;
  return true;
}

// Appends the tuple of d entries to NDRVEL; false when no storage.
static bool append_tuple(Work& W, MasterRecord& L, const int32_t* tup, int32_t d) {
  if ((int64_t)L.NDRVUSE + d > L.NDRVCAP && !sizetuples(W, L, 2 * (int64_t)L.NDRVCAP + 64 + d)) return false;
  int32_t* dst = &W.w[(size_t)L.START[L.NDRVEL]] + L.NDRVUSE;
  std::memcpy(dst, tup, sizeof(int32_t) * (size_t)d);
  L.NDRVUSE += d;
  return true;
}

// Room in NDRVEL for every combination of the parents of t (d words each), taken at once
// at the capacity the appends one by one would double it to; false when the store cannot
// give it.
static bool reserve_tuples(Work& W, MasterRecord& L, int32_t t, int32_t d) {
  int64_t all = 1;
  for (int32_t j = 1; j <= nparents(W, L, t); ++j) {
    all *= iget(W, L, L.NNTRYS, parent(W, L, t, j));
    if (all > 2147483640LL / 4) return true;  // append_tuple meets the limit
  }
  const int64_t want = L.NDRVUSE + all * d;
  int64_t cap = L.NDRVCAP;
  while (cap < want) cap = 2 * cap + 64 + d;
  if (cap == L.NDRVCAP || cap > 2147483640LL / 4) return true;
  return sizetuples(W, L, cap);
}

// Builds the members of t (its parents are built). 0 done, 1 failed, 9 needs set *need first.
static int32_t build_one(Work& W, MasterRecord& L, int32_t t, int32_t& need) {
  int32_t d = setdim(W, L, t);
  if (iget(W, L, L.NNTRYS, t) < 1) {
    if (d == 0) {
      iput(W, L, L.SETALC, t, 1);
      return 0;
    }
    int32_t np = nparents(W, L, t);
    int32_t first = L.NDRVUSE, count = 0;
    bool dense = !prntsparse_(W, L, t);
    iput(W, L, L.SETORD, t, dense ? -1 : 0);
    bool empty = false;
    for (int32_t j = 1; j <= np; ++j) {
      L.ODOMTR[j] = 1;
      if (iget(W, L, L.NNTRYS, parent(W, L, t, j)) < 1) empty = true;
    }
    int32_t c0 = iget(W, L, L.SETCST, t), c1 = iget(W, L, L.SETCST, t + 1);
    bool cond = c0 < c1;
    if (!cond && !empty && !reserve_tuples(W, L, t, d)) {
      int32_t dummy = 0;
      fail(W, L, 0, 0, dummy);
      return 1;
    }
    while (!empty && np > 0) {
      int32_t c = 1;
      for (int32_t j = 1; j <= np; ++j) {
        int32_t p = parent(W, L, t, j), dp = setdim(W, L, p);
        if (dp == 0) {
          L.CURTUP[c++] = L.ODOMTR[j];
        } else {
          int32_t at = iget(W, L, L.INXNTR, p) + (L.ODOMTR[j] - 1) * dp;
          for (int32_t i = 0; i < dp; ++i) L.CURTUP[c++] = iget(W, L, L.NDRVEL, at + i);
        }
      }
      bool keep = true;
      if (cond) {
        L.STKTOP = 0;
        L.LFDEPTH = 0;
        L.IRCNT = 0;
        int32_t st = 0, last = c1 - 1;
        double out = 0.0;
        L.CURSET = t;
        // every variable of the model is addressable while a condition runs
        int32_t nvars = L.NVARS;
        if (L.NVARS < L.VARCAP) L.NVARS = L.VARCAP;
        if (upcalls_().xecute) upcalls_().xecute(W, L, L.CNDBLK, c0, last, st, out);
        else st = 17;
        L.NVARS = nvars;
        if (st == 0) {
          keep = L.STKTOP >= 1 && L.STKVAL[L.STKTOP] != 0.0;
          if (!keep) iput(W, L, L.SETORD, t, 0);
        } else if (st == 9) {
          double v = L.STKVAL[1];
          need = (v >= 1.0 && v <= (double)L.NSETS) ? (int32_t)v : 0;
          return 9;
        } else {
          int32_t msg = st == -1 ? 42 : (st == 1 || st == 5) ? 43 : st == 2 ? 70 : -1;
          if (msg == 70) {
            // the evaluator left the attribute's set and position for the message
            errmsh_(W, L, 70);
            L.SETMSG = 1;
            return 1;
          }
          int32_t dummy = 0;
          fail(W, L, msg, t, dummy);
          return 1;
        }
      }
      if (keep) {
        if (!append_tuple(W, L, L.CURTUP + 1, d)) {
          int32_t dummy = 0;
          fail(W, L, 0, 0, dummy);
          return 1;
        }
        ++count;
      }
      int32_t j = np;
      for (; j >= 1; --j) {
        if (L.ODOMTR[j] < iget(W, L, L.NNTRYS, parent(W, L, t, j))) {
          L.ODOMTR[j]++;
          break;
        }
        L.ODOMTR[j] = 1;
      }
      if (j < 1) break;
    }
    iput(W, L, L.NNTRYS, t, count);
    if (count > 0) iput(W, L, L.INXNTR, t, first + 1);
  }
  int32_t n = iget(W, L, L.NNTRYS, t);
  if (iget(W, L, L.SETORD, t) == 0 && n > 0 && d > 0) {
    int32_t h = 0, cnt = n, st = 0;
    setblk_(2, cnt, W, L, h, st);
    if (st != 0) {
      if (h > 0) rlsblk_(L, h);
      int32_t dummy = 0;
      fail(W, L, 0, 0, dummy);
      return 1;
    }
    int32_t first = iget(W, L, L.INXNTR, t);
    std::vector<int32_t> pos((size_t)n + 1);
    for (int32_t k = 1; k <= n; ++k) pos[(size_t)k] = first + (k - 1) * d;
    const int32_t* base = &W.w[(size_t)L.START[L.NDRVEL]] - 1;
    // members made in ascending order (parents walked in their own sorted order) keep it
    bool ascending = true;
    for (int32_t k = 2; k <= n && ascending; ++k)
      ascending = cmptup_(base + pos[(size_t)k - 1], base + pos[(size_t)k], d) < 0;
    for (int32_t k = ascending ? 0 : n / 2; k >= 1; --k) sift(base, d, pos, k, n);
    for (int32_t m = ascending ? 1 : n; m >= 2; --m) {
      int32_t top = pos[1];
      pos[1] = pos[(size_t)m];
      pos[(size_t)m] = top;
      sift(base, d, pos, 1, m - 1);
    }
    for (int32_t k = 1; k <= n; ++k) iput(W, L, h, k, (pos[(size_t)k] - first) / d + 1);
    iput(W, L, L.SETORD, t, h);
  }
  if (iget(W, L, L.INANTR, t) < 1) {
    int64_t v = (int64_t)setnattr(W, L, t) * n;
    if (v > 0) {
      if ((int64_t)L.VARCAP <= (int64_t)L.NSCALAR + v + L.VARTOP) {
        iput(W, L, L.INANTR, t, 0);
        // room for this set's attributes, and at least half again, so that many sets
        // grow the arrays geometrically while one large set gets what it needs
        int64_t g = std::max({(int64_t)L.NSCALAR + v + L.VARTOP - L.VARCAP + 1, (int64_t)L.VARCAP / 2,
                              (int64_t)256});
        int32_t st = 0;
        if (g > 2147483640LL / 8) st = 2;
        else grwvr3_(W, L, (int32_t)g, st);
        if (st != 0) {
          int32_t dummy = 0;
          fail(W, L, 0, 0, dummy);
          return 1;
        }
      }
      L.VARTOP += (int32_t)v;
      iput(W, L, L.INANTR, t, L.VARCAP - L.VARTOP + 1);
      for (int64_t k = 0; k < v; ++k) iput(W, L, L.VARKND, L.VARCAP - L.VARTOP + 1 + k, 0);
    }
  }
  iput(W, L, L.SETALC, t, 1);
  return 0;
}

// Builds set s and what it needs. Status 0 built, 1 failed (the message printed).
void allocset_(Work& W, MasterRecord& L, int32_t s, int32_t& status) {
  status = 0;
  if (s < 1 || s > L.NSETS) {
    status = 1;
    return;
  }
  if (iget(W, L, L.SETALC, s) > 0) return;
  std::vector<int32_t> stack;
  stack.push_back(s);
  while (!stack.empty()) {
    int32_t t = stack.back();
    bool pushed = false;
    for (int32_t j = 1; j <= nparents(W, L, t); ++j) {
      int32_t p = parent(W, L, t, j);
      if (iget(W, L, L.SETALC, p) > 0) continue;
      if (stack.size() >= 256) {
        fail(W, L, 178, t, status);
        return;
      }
      stack.push_back(p);
      pushed = true;
    }
    if (pushed) continue;
    stack.pop_back();
    if (iget(W, L, L.SETALC, t) > 0) continue;
    int32_t need = 0;
    int32_t r = build_one(W, L, t, need);
    if (r == 1) {
      status = 1;
      return;
    }
    if (r == 9) {
      if (need < 1 || need > L.NSETS || need == t || iget(W, L, L.SETALC, need) > 0) {
        L.ERRARG2 = t;
        fail(W, L, 43, t, status);
        return;
      }
      if (stack.size() + 2 > 256) {
        fail(W, L, 178, t, status);
        return;
      }
      stack.push_back(t);
      stack.push_back(need);
    }
  }
}
