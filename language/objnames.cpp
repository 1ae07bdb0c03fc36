// Model object names: what a name stands for, printable names of variables, numbers as text,
// name repair.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include "language/lang.h"
#include "store/upcalls.h"

// Entry of list (1..count, width 32) matching the name, searched from the last; count+1 if none.
int32_t ndxfn2_(const char* name, const char (*list)[32], int32_t count) {
  for (int32_t i = count; i >= 1; --i) {
    const char* e = list[i];
    bool match = true;
    for (int j = 0; j < NAMELEN; ++j) {
      char a = name[j] == 0 ? ' ' : name[j];
      if (a != e[j]) {
        match = false;
        break;
      }
      if (a == ' ') break;
    }
    if (match) return i;
  }
  return count + 1;
}

// Classifies a name: kind 0 none, 1 set, 2 row name, 3 index variable, 4 attribute, 5 scalar.
void fndnmm_(Work& W, MasterRecord& L, const char* name, int32_t& kind, int32_t& index) {
  int32_t len = 0;
  while (len < NAMELEN && name[len] != ' ' && name[len] != 0) ++len;
  fndnmm_(W, L, name, len, kind, index);
}

// The same for a name of len characters, blank padded.
void fndnmm_(Work& W, MasterRecord& L, const char* name, int32_t len, int32_t& kind, int32_t& index) {
  kind = 0;
  index = 0;
  int32_t r;
  if (L.NSETS > 0 && (r = find_name_hash_(W, L, nt_sets(L), name, len)) > 0) {
    kind = 1;
    index = r;
    return;
  }
  if (L.NDXCNT > 0 && (r = ndxfn2_(name, L.NDXNAM, L.NDXCNT)) <= L.NDXCNT) {
    kind = 3;
    index = r;
    return;
  }
  if (L.NATTRS > 0 && (r = find_name_hash_(W, L, nt_attrs(L), name, len)) > 0) {
    kind = 4;
    index = r;
    return;
  }
  if (L.NSCALAR > 0 && (r = find_name_hash_(W, L, nt_scalar(L), name, len)) > 0) {
    kind = 5;
    index = r;
    return;
  }
  if (L.NROWNM > 0 && (r = find_name_hash_(W, L, nt_rows(L), name, len)) > 0) {
    kind = 2;
    index = r;
  }
}

// The magnitude of x with 8 significant digits, right-justified in text(1..15); len characters.
void nm2txt_(double x, char* text, int32_t& len) {
  double a = std::fabs(x);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.7e", a);
  int e = std::atoi(std::strchr(buf, 'e') + 1);
  std::string s;
  if (a == 0.0 || (e >= -4 && e <= 7)) {
    std::snprintf(buf, sizeof buf, "%.*f", a == 0.0 ? 0 : 7 - e, a);
    s = buf;
    if (s.find('.') != std::string::npos) {
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
    }
  } else {
    std::string m(buf, std::strchr(buf, 'e'));
    while (m.back() == '0') m.pop_back();
    if (m.back() == '.') m.pop_back();
    std::snprintf(buf, sizeof buf, "e%c%02d", e < 0 ? '-' : '+', std::abs(e));
    s = m + buf;
  }
  len = (int32_t)s.size();
  if (len > 15) len = 15;
  std::memcpy(text + 15 - len, s.data(), (size_t)len);
}

// An 8-character name: the prefix, zeros, and the digits of n ending in position 8.
void ndx2nm_(const char* prefix, int32_t plen, int32_t n, char* text) {
  std::string d = std::to_string(n);
  std::string s(prefix, (size_t)plen);
  while ((int)(s.size() + d.size()) < 8) s += '0';
  s += d;
  std::memcpy(text, s.data(), s.size() < 8 ? s.size() : 8);
}

// Repairs a name in place; true when only leading blanks went and letters were upper-cased.
bool fixaname2_(char* name, int32_t& len, int32_t maxlen, bool digitPrefix) {
  if (len < 1 || trimlen(name, len) == 0) return true;
  bool ok = true;
  int32_t lead = 0;
  while (lead < len && name[lead] == ' ') ++lead;
  if (lead > 0) {
    std::memmove(name, name + lead, (size_t)(len - lead));
    std::memset(name + len - lead, ' ', (size_t)lead);
    len -= lead;
  }
  if (len > maxlen) {
    len = maxlen;
    ok = false;
  }
  if (name[0] >= '0' && name[0] <= '9' && digitPrefix) {
    if (len == maxlen) len = maxlen - 1;
    std::memmove(name + 1, name, (size_t)len);
    name[0] = '_';
    ++len;
    ok = false;
  }
  for (int32_t i = 0; i < len; ++i) {
    const char c = NAMEUP[(unsigned char)name[i]];  // 0: not a name character
    ok = ok && c != 0;
    name[i] = c != 0 ? c : '_';
  }
  return ok;
}

// Printable name of variable v into text (capacity len on entry, characters written on return).
void vdx2nh_(Work& W, MasterRecord& L, int32_t v, char* text, int32_t& len) {
  int32_t cap = len;
  std::memset(text, ' ', (size_t)(cap > 0 ? cap : 0));
  std::string s;
  if (v > L.NVARS && L.NVARS > 0) {
    std::string d = std::to_string(v - L.NVARS);
    s = "_C";
    while ((int32_t)(s.size() + d.size()) < L.VNAMEWD) s += '0';
    s += d;
  } else if (v >= 1 && v <= L.NSCALAR) {
    s = namestr(W, L, L.SCLNAM, v);
  } else {
    for (int32_t t = 1; t <= L.NSETS; ++t) {
      int32_t a0 = iget(W, L, L.INANTR, t), nA = setnattr(W, L, t), n = iget(W, L, L.NNTRYS, t);
      if (a0 < 1 || nA < 1 || v < a0 || v > a0 + n * nA - 1) continue;
      int32_t off = v - a0, a = off % nA, k = off / nA + 1;
      s = namestr(W, L, L.KANAME, iget(W, L, L.LASTUB, t) + a) + "( ";
      int32_t d = setdim(W, L, t);
      if (d == 0) {
        s += namestr(W, L, L.KPNAME, iget(W, L, L.INXNTR, t) + k - 1);
      } else {
        for (int32_t c = 1; c <= d; ++c) {
          int32_t p = iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, t) + c - 1);
          int32_t m = iget(W, L, L.NDRVEL, iget(W, L, L.INXNTR, t) + (int64_t)(k - 1) * d + c - 1);
          if (c > 1) s += ", ";
          s += namestr(W, L, L.KPNAME, iget(W, L, L.INXNTR, p) + m - 1);
        }
      }
      s += ")";
      break;
    }
  }
  len = (int32_t)s.size() < cap ? (int32_t)s.size() : cap;
  if (len > 0) std::memcpy(text, s.data(), (size_t)len);
}

// Printable name of row r into text (capacity len on entry, characters written on return).
void rdx2nh_(Work& W, MasterRecord& L, int32_t r, char* text, int32_t& len) {
  int32_t cap = len;
  if (r < 1) {
    len = 0;
    return;
  }
  std::string s;
  int32_t nm = (L.ROWRNM > 0 && r <= L.NROWS) ? iget(W, L, L.ROWRNM, r) : 0;
  if (r > L.NROWS) {
    std::string d = std::to_string(r - L.NROWS);
    s = "_R";
    while ((int32_t)(s.size() + d.size()) < L.RNAMEWD) s += '0';
    s += d;
  } else if (nm < 1 || nm > L.NROWNM) {
    char t[16];
    int32_t n = 0;
    nm2txt_((double)r, t, n);
    s.assign(t + 15 - n, (size_t)n);
  } else {
    s = namestr(W, L, L.ROWNAM, nm);
    if (L.ROWIXS > 0 && L.ROWIXW > 0) {
      int32_t a = iget(W, L, L.ROWIXS, r), b = iget(W, L, L.ROWIXS, r + 1);
      int32_t ni = (b - a) / 2;
      if (ni > 0) {
        s += "( ";
        for (int32_t c = 0; c < ni; ++c) {
          int32_t set = iget(W, L, L.ROWIXW, a + c), m = iget(W, L, L.ROWIXW, a + ni + c);
          if (c > 0) s += ", ";
          if (set >= 1 && set <= L.NSETS) s += namestr(W, L, L.KPNAME, iget(W, L, L.INXNTR, set) + m - 1);
        }
        s += ")";
      }
    }
  }
  len = (int32_t)s.size() < cap ? (int32_t)s.size() : cap;
  if (cap > 0) std::memset(text, ' ', (size_t)cap);
  if (len > 0) std::memcpy(text, s.data(), (size_t)len);
}

// Names of generated variables and rows in messages.
QUIRN_UPCALL(varname, vdx2nh_);
QUIRN_UPCALL(rowname, rdx2nh_);
