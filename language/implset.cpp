// Implicit set members: the ranges first..last of numbers, days, months, month-years and
// prefix-number names.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include "language/lang.h"

static const char* const DAYS[7] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
static const char* const MONTHS[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                       "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
static const int64_t MAXMEMBERS = 2147483640LL;

static int isday(const std::string& t) {
  for (int i = 0; i < 7; ++i)
    if (t == DAYS[i]) return i;
  return -1;
}
static int ismonth(const std::string& t) {
  for (int i = 0; i < 12; ++i)
    if (t.compare(0, 3, MONTHS[i]) == 0 && t.size() >= 3) return i;
  return -1;
}
static bool alldigits(const std::string& t, size_t from, size_t to) {
  if (from >= to) return false;
  for (size_t i = from; i < to; ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}
static std::string upper(const char* s) {
  std::string t(s);
  for (char& c : t) c = kshift_(c);
  return t;
}

// Walks the members of the range; returns the count, -1 when the pair is no valid range.
// With emit set each member is handed over in order (emit returns false to stop).
static int64_t walkrange(const std::string& a, const std::string& b, int64_t* bytes,
                         const std::function<bool(const std::string&)>& emit) {
  size_t L1 = a.size(), L2 = b.size();
  int d1 = isday(a), d2 = isday(b);
  if (L1 == 3 && L2 == 3 && d1 >= 0 && d2 >= 0) {
    int64_t n = ((d2 - d1 + 7) % 7) + 1;
    if (bytes) *bytes = 4 * n;
    for (int64_t i = 0; emit && i < n; ++i)
      if (!emit(DAYS[(d1 + i) % 7])) break;
    return n;
  }
  int m1 = ismonth(a), m2 = ismonth(b);
  if (L1 == 3 && L2 == 3 && m1 >= 0 && m2 >= 0) {
    int64_t n = ((m2 - m1 + 12) % 12) + 1;
    if (bytes) *bytes = 4 * n;
    for (int64_t i = 0; emit && i < n; ++i)
      if (!emit(MONTHS[(m1 + i) % 12])) break;
    return n;
  }
  if (L1 == 7 && L2 == 7 && m1 >= 0 && m2 >= 0 && alldigits(a, 3, 7) && alldigits(b, 3, 7)) {
    int y1 = std::stoi(a.substr(3)), y2 = std::stoi(b.substr(3));
    if (y1 < y2 || (y1 == y2 && m1 <= m2)) {
      int64_t n = (int64_t)(y2 - y1) * 12 + (m2 - m1) + 1;
      if (bytes) *bytes = 8 * n;
      int m = m1, y = y1;
      char buf[16];
      for (int64_t i = 0; emit && i < n; ++i) {
        std::snprintf(buf, sizeof buf, "%s%04d", MONTHS[m], y % 10000);
        if (!emit(buf)) break;
        if (++m == 12) { m = 0; ++y; }
      }
      return n;
    }
  }
  auto lastdig = [](const std::string& t) { return !t.empty() && t.back() >= '0' && t.back() <= '9'; };
  if (lastdig(a) && lastdig(b)) {
    size_t p1 = L1, p2 = L2;
    while (p1 > 0 && a[p1 - 1] >= '0' && a[p1 - 1] <= '9') --p1;
    while (p2 > 0 && b[p2 - 1] >= '0' && b[p2 - 1] <= '9') --p2;
    if (p1 != p2 || a.compare(0, p1, b, 0, p2) != 0) return -1;
    // trailing digits beyond 18 places are no range this system can hold
    if (L1 - p1 > 18 || L2 - p2 > 18) return -1;
    int64_t x = std::stoll(a.substr(p1)), y = std::stoll(b.substr(p2));
    int64_t n = (x >= y ? x - y : y - x) + 1;
    if (n > MAXMEMBERS) return -1;
    if (bytes) *bytes = (int64_t)((x >= y ? L1 : L2) + 1) * n;
    int64_t step = x <= y ? 1 : -1;
    // each member: the prefix, then the number's digits written over the last member's
    std::string m = a.substr(0, p1);
    char digits[24];
    for (int64_t i = 0; emit && i < n; ++i) {
      const auto r = std::to_chars(digits, digits + sizeof digits, x + step * i);
      m.replace(p1, std::string::npos, digits, (size_t)(r.ptr - digits));
      if (!emit(m)) break;
    }
    return n;
  }
  if (a == b) {
    if (bytes) *bytes = (int64_t)L1 + 1;
    if (emit) emit(a);
    return 1;
  }
  return -1;
}

// Bytes the member list of first..last needs, -1 when the pair is no valid range.
int32_t validset_(char* first, char* last) {
  std::string a = upper(first), b = upper(last);
  std::memcpy(first, a.data(), a.size());
  std::memcpy(last, b.data(), b.size());
  int64_t bytes = 0;
  int64_t n = walkrange(a, b, &bytes, nullptr);
  if (n < 0 || bytes > 2147483640LL) return -1;
  return (int32_t)bytes;
}

// Writes the members, each NUL-terminated, into list; their count.
int32_t makeset_(char* first, char* last, char* list) {
  std::string a = upper(first), b = upper(last);
  size_t off = 0;
  return (int32_t)walkrange(a, b, nullptr, [&](const std::string& m) {
    std::memcpy(list + off, m.c_str(), m.size() + 1);
    off += m.size() + 1;
    return true;
  });
}

// Replaces the members of primitive set s by the range from its first member to last.
// Status 0 done, 1 invalid range, 2 no storage.
void implset_(Work& W, MasterRecord& L, int32_t s, char* last, int32_t len, int32_t& status) {
  status = 0;
  std::string a = namestr(W, L, L.KPNAME, iget(W, L, L.INXNTR, s));
  std::string b(last, (size_t)trimlen(last, len));
  char nm[NAMELEN];
  std::memset(nm, ' ', NAMELEN);
  std::memcpy(nm, b.data(), b.size() < NAMELEN ? b.size() : NAMELEN);
  int32_t kind = 0, idx = 0;
  fndnmm_(W, L, nm, kind, idx);
  if (kind == 5 && L.VARKND > 0 && idx <= L.VARCAP && iget(W, L, L.VARKND, idx) == 6 && L.VARVAL > 0) {
    double v = dget(W, L.START[L.VARVAL] + 2 * (int64_t)(idx - 1));
    // a size must be a positive whole number, written out in full
    if (!(v >= 1.0 && v <= 2147483640.0 && v == (double)(int64_t)v)) {
      status = 1;
      return;
    }
    b = std::to_string((int64_t)v);
  }
  if (a.find_first_not_of("0123456789") == std::string::npos && a != "1") {
    status = 1;
    return;
  }
  if (a.find_first_not_of("0123456789") == std::string::npos) {
    // 1..N needs N a positive whole number
    if (b.find_first_not_of("0123456789") != std::string::npos || b.empty() ||
        b.find_first_not_of('0') == std::string::npos) {
      status = 1;
      return;
    }
  }
  std::string ua = upper(a.c_str()), ub = upper(b.c_str());
  int64_t bytes = 0;
  int64_t n = walkrange(ua, ub, &bytes, nullptr);
  if (n < 0) {
    status = 1;
    return;
  }
  iput(W, L, L.INXNTR, s, L.NPRIMEL + 1);
  reserve_names_(W, L, nt_prim(L), n);
  int32_t st = 0;
  walkrange(ua, ub, nullptr, [&](const std::string& m) {
    add_name_hash_(W, L, nt_prim(L), m.data(), (int32_t)m.size(), st);
    return st == 0;
  });
  if (st != 0) {
    status = 2;
    return;
  }
  iput(W, L, L.NNTRYS, s, (int32_t)n);
}
