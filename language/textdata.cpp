// Input of DATA values from outside the model text: @TEXT data files (names and numbers in
// fields) and @POINTER memory of an embedding program; and the column-to-row reordering of
// a block of names.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>
#include "language/values.h"
#include "store/io.h"

namespace {

// The two lists of getextd2_ with their counts and capacities.
struct Lists {
  Work& W;
  MasterRecord& L;
  int32_t& numbers;
  int32_t& names;
  int32_t ncap = 0, mcap = 0;
  int32_t nnum = 0, nname = 0;
  bool add_number(double v) {
    if (!growto(W, L, 6, numbers, ncap, (int64_t)nnum + 1, 64)) return false;
    rput(W, L, numbers, ++nnum, v);
    return true;
  }
  bool add_name(const char* nm, int32_t len) {
    if (!growto(W, L, 2, names, mcap, ((int64_t)nname + 1) * 8, 64 * 8)) return false;
    putnam_(W, L, names, ++nname, nm, len);
    return true;
  }
  // Resizes both lists to their counts; an empty list is released.
  void trim() {
    int32_t n = nnum, st = 0;
    if (numbers > 0) {
      if (n > 0) setblk_(6, n, W, L, numbers, st);
      else rlsblk_(L, numbers);
    }
    int32_t m = nname * 8;
    if (names > 0) {
      if (m > 0) setblk_(2, m, W, L, names, st);
      else rlsblk_(L, names);
    }
  }
};

bool isletter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isdigit_(char c) { return c >= '0' && c <= '9'; }

// Reads one whole line (without its line feed) of any length; false at the end of the file.
bool readline(int32_t h, std::string& line, bool& failed) {
  line.clear();
  failed = false;
  char buf[4096];
  bool any = false;
  for (;;) {
    if (FGETS_(buf, (int32_t)sizeof buf, h) == 0) {
      if (!FEOF_(h)) failed = true;
      return any && !failed;
    }
    any = true;
    size_t n = std::strlen(buf);
    line.append(buf, n);
    if (n > 0 && buf[n - 1] == '\n') {
      line.pop_back();
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return true;
    }
  }
}

}  // namespace

// Reads the tokens of a text file into a name list and a number list, assigning them to the
// fields in turn over the whole file. kinds[0..fields-1] are the field kinds (4 and 5 name
// fields) and must not point into the work array. Status 0 done; 1 the file cannot be
// opened; 2 a read failed; 3 a bad token; 4 the count does not fit (ERRARG2 the count read,
// ERRARG3 the expected count); 5 more tokens than expected; 6 a list cannot grow.
void getextd2_(Work& W, MasterRecord& L, const char* file, int32_t fields, int32_t expected, const int32_t* kinds,
               int32_t& numbers, int32_t& names, int32_t& countRead, int32_t& status) {
  status = 0;
  countRead = 0;
  Lists li{W, L, numbers, names};
  if (numbers > 0) li.ncap = L.LEN[numbers] / 2;
  if (names > 0) li.mcap = L.LEN[names];
  int32_t h = FEXISTS_(file) == 1 ? FOPEN_(file, "rt") : 0;
  if (h == 0 || fields < 1) {
    status = 1;
    li.trim();
    return;
  }
  std::string line;
  bool failed = false;
  int64_t tok = 0;
  while (status == 0 && readline(h, line, failed)) {
    std::string t = " " + line + " ";  // 1-based, a blank after the last character
    int32_t len = (int32_t)t.size() - 1;
    int32_t i = 1;
    for (;;) {
      while (i <= len && (t[(size_t)i] == ' ' || t[(size_t)i] == '\t')) ++i;
      if (i > len) break;
      int32_t kind = kinds[tok % fields];
      if (kind == NTSETP || kind == NTSETD) {
        char c = t[(size_t)i];
        if (!(isletter(c) || c == '_')) {
          status = 3;
          break;
        }
        char nm[NAMELEN];
        int32_t n = 0;
        while (i <= len && (isletter(t[(size_t)i]) || isdigit_(t[(size_t)i]) || t[(size_t)i] == '_')) {
          if (n >= NAMELEN) {
            n = NAMELEN + 1;
            break;
          }
          nm[n++] = kshift_(t[(size_t)i++]);
        }
        if (n > NAMELEN) {
          status = 3;
          break;
        }
        if (li.nname + li.nnum + 1 > expected) {
          status = 5;
          break;
        }
        if (!li.add_name(nm, n)) {
          status = 6;
          break;
        }
      } else {
        double sign = 1.0;
        if (t[(size_t)i] == '+' || t[(size_t)i] == '-') {
          if (t[(size_t)i] == '-') sign = -1.0;
          ++i;
        }
        if (i > len || !(isdigit_(t[(size_t)i]) || t[(size_t)i] == '.')) {
          status = 3;
          break;
        }
        int32_t pos = i - 1;
        double v = 0.0;
        if (txt2np_(L, t.data(), pos, len, 0, v) != 0 || pos < i) {
          status = 3;
          break;
        }
        i = pos + 1;
        if (li.nname + li.nnum + 1 > expected) {
          status = 5;
          break;
        }
        if (!li.add_number(sign * v)) {
          status = 6;
          break;
        }
      }
      ++tok;
      while (i <= len && (t[(size_t)i] == ' ' || t[(size_t)i] == '\t' || t[(size_t)i] == ',')) ++i;
    }
  }
  if (status == 3) {
    // the line read stays in the input line buffer for the message
    size_t n = std::min<size_t>(line.size(), 200);
    std::memset(L.LINBUF, ' ', 200);
    std::memcpy(L.LINBUF, line.data(), n);
    L.LINEND = (int32_t)n;
  }
  countRead = li.nname + li.nnum;
  if (status == 0 && failed) status = 2;
  if (status == 0) {
    bool fits = expected < BIGCOUNT ? countRead == expected : countRead % fields == 0;
    if (!fits) {
      L.ERRARG2 = countRead;
      L.ERRARG3 = expected;
      status = 4;
    }
  }
  FCLOSE_(h);
  li.trim();
}

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
