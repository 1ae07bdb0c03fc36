// Reading MPS files: fixed format by columns (names may hold blanks) and free
// format by tokens; objective constant, OBJSENSE, ranges (split into a second
// row), every bound type, integer markers and quadratic sections.  The first
// bad line stops the reader and is kept for BRgetFileError.
#include "bresk/internal.h"
#include "store/decimal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace bresk {

namespace {

enum Section { S_NONE, S_NAME, S_ROWS, S_COLUMNS, S_RHS, S_RANGES, S_BOUNDS, S_OBJSENSE,
               S_QUADOBJ, S_QMATRIX, S_QCMATRIX, S_END };

struct Entry {
  int row, col;
  double v;
};
struct QEntry {
  int row, i, j;  // row -1 = objective; i >= j
  double q;       // 1/2 x'Qx convention
};
// Key of a quadratic entry: row + 1, i and j packed in one word.
struct QKey {
  uint64_t operator()(const QEntry& e) const {
    return (static_cast<uint64_t>(static_cast<uint32_t>(e.row + 1)) * 0x9E3779B97F4A7C15ull) ^
           (static_cast<uint64_t>(static_cast<uint32_t>(e.i)) << 32) ^ static_cast<uint32_t>(e.j);
  }
};
struct QSame {
  bool operator()(const QEntry& a, const QEntry& b) const { return a.row == b.row && a.i == b.i && a.j == b.j; }
};

// Names and their numbers: open addressing over the entries, the names kept end to end in
// one string of the index's own, so that a lookup allocates nothing and a new name adds its
// characters and one entry.
struct NameIndex {
  struct Name {
    size_t at;  // first character in text
    int len;
    int v;
  };
  std::string text;
  std::vector<Name> entries;
  std::vector<int32_t> slots;  // entry number + 1; 0 for an empty slot

  std::string_view name(size_t e) const { return {text.data() + entries[e].at, static_cast<size_t>(entries[e].len)}; }
  static uint64_t hash(std::string_view s) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return h ^ (h >> 29);
  }
  // The slot that holds the name or the empty one where it would go.
  size_t slot(std::string_view s) const {
    const size_t mask = slots.size() - 1;
    for (size_t k = hash(s) & mask;; k = (k + 1) & mask) {
      const int32_t e = slots[k];
      if (e == 0 || name(static_cast<size_t>(e - 1)) == s) return k;
    }
  }
  // The number of a name; -3 when it is not there.
  int find(std::string_view s) const {
    if (slots.empty()) return -3;
    const int32_t e = slots[slot(s)];
    return e == 0 ? -3 : entries[static_cast<size_t>(e - 1)].v;
  }
  // Adds a name with its number unless it is there; the name's number and whether it is new.
  std::pair<int, bool> add(std::string_view s, int v) {
    if (2 * (entries.size() + 1) > slots.size()) {
      slots.assign(std::max<size_t>(64, 4 * slots.size()), 0);
      for (size_t e = 0; e < entries.size(); ++e) slots[slot(name(e))] = static_cast<int32_t>(e + 1);
    }
    const size_t k = slot(s);
    if (slots[k] != 0) return {entries[static_cast<size_t>(slots[k] - 1)].v, false};
    entries.push_back({text.size(), static_cast<int>(s.size()), v});
    text.append(s);
    slots[k] = static_cast<int32_t>(entries.size());
    return {v, true};
  }
};

// Everything read from the file before the model is built.
struct MpsData {
  std::string title, rhsname, rngname, bndname;
  std::string objname;
  bool have_obj = false;
  int sense = 1;
  double objconst = 0.0;
  std::vector<std::string> rownames;  // constraints
  std::vector<char> rowtype;
  std::vector<double> rhs, range;
  std::vector<char> ranged;
  NameIndex rowindex;  // -1 objective, -2 dropped free row
  std::vector<std::string> colnames;
  std::vector<char> coltype;
  std::vector<double> lb, ub;
  NameIndex colindex;
  std::vector<Entry> entries;
  std::vector<int> entrycol, entrypos;  // per row: column and position of its last entry
  std::vector<double> cost;
  std::vector<QEntry> quad;
  std::unordered_map<QEntry, size_t, QKey, QSame> quadpos;  // position of each entry in quad
};

// The reader's state: the file, read a piece at a time into buf, the current line (a view
// into buf, good until the next line is read) and the error found.
struct Reader {
  std::FILE* fp;
  std::string buf;
  const char* p = nullptr;    // the text not yet taken: p up to end, in buf
  const char* end = nullptr;
  bool eof = false;
  bool bad = false;           // the file could not be read to its end
  int lineno = 0;
  std::string_view line;
  bool fixed;
  int err = 0;
  int err_line = 0;
  std::string err_text;
};

// Pieces of the file are read this size at a time; a longer line widens the buffer.
constexpr size_t kReadPiece = 16384;

// Moves the part of a line left at the end of buf to its start and reads the file after it,
// widening buf when the part fills it; at the end of the file (or an error) sets eof.
void refill(Reader& r) {
  const size_t keep = r.buf.empty() ? 0 : static_cast<size_t>(r.end - r.p);
  if (keep > 0 && r.p != r.buf.data()) std::memmove(r.buf.data(), r.p, keep);
  if (r.buf.size() < kReadPiece) r.buf.resize(kReadPiece);
  else if (keep == r.buf.size()) r.buf.resize(2 * r.buf.size());
  const size_t got = std::fread(r.buf.data() + keep, 1, r.buf.size() - keep, r.fp);
  if (got == 0) {
    r.eof = true;
    r.bad = std::ferror(r.fp) != 0;
  }
  r.p = r.buf.data();
  r.end = r.buf.data() + keep + got;
}

bool next_line(Reader& r) {
  const char* e;
  while (!(e = r.p ? static_cast<const char*>(std::memchr(r.p, '\n', r.end - r.p)) : nullptr) && !r.eof)
    refill(r);
  if (!e) {
    if (r.p >= r.end) return false;
    e = r.end;
  }
  const char* s = r.p;
  r.p = e < r.end ? e + 1 : r.end;
  size_t n = e - s;
  if (n > 0 && s[n - 1] == '\r') --n;
  r.line = std::string_view(s, n);
  ++r.lineno;
  return true;
}

int fail(Reader& r) {
  if (!r.err) {
    r.err = BRERR_MPS_SYNTAX;
    r.err_line = r.lineno;
    r.err_text = std::string(r.line);
  }
  return r.err;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Blank- or tab-separated tokens of a line.
void tokens(std::string_view s, std::vector<std::string_view>& out) {
  out.clear();
  size_t k = 0;
  while (k < s.size()) {
    while (k < s.size() && (s[k] == ' ' || s[k] == '\t')) ++k;
    size_t b = k;
    while (k < s.size() && s[k] != ' ' && s[k] != '\t') ++k;
    if (k > b) out.push_back(s.substr(b, k - b));
  }
}

// The six fields of a fixed-format data line.
using Fields = std::array<std::string_view, 6>;

// Columns [a, b] (1-based, inclusive) of a line, trimmed of blanks (a data line in fixed
// format holds no tab).
std::string_view field(std::string_view s, size_t a, size_t b) {
  if (s.size() < a) return {};
  size_t e = std::min(b, s.size());
  size_t p = a - 1;
  while (p < e && s[p] == ' ') ++p;
  while (e > p && s[e - 1] == ' ') --e;
  return s.substr(p, e - p);
}

// Fixed-format fields of a data line, or false when the line does not keep to
// the columns (a tab, or text in the gaps between fields).
bool fixed_fields(std::string_view s, Fields& f) {
  if (s.find('\t') != std::string_view::npos) return false;
  static constexpr size_t gaps[] = {1, 4, 13, 14, 23, 24, 37, 38, 39, 48, 49};
  for (size_t c : gaps)
    if (s.size() >= c && s[c - 1] != ' ') return false;
  if (s.size() > 61 && !trim(s.substr(61)).empty()) return false;
  static constexpr size_t cols[6][2] = {{2, 3}, {5, 12}, {15, 22}, {25, 36}, {40, 47}, {50, 61}};
  for (size_t k = 0; k < 6; ++k) f[k] = field(s, cols[k][0], cols[k][1]);
  return true;
}

// A finite number: infinities and values beyond the range of a double ("inf", "1e400") are
// refused, as are NaNs.
// A decimal [-]ddd[.ddd][E[+-]dd] of at most 15 digits whose exponent, with the digits after
// the point, stays within 22: a whole number times or over an exact power of ten, one
// correctly rounded operation on exact values, so the value strtod finds. False for any
// other text.
bool short_decimal(std::string_view t, double* v) {
  size_t k = 0, n = t.size();
  const bool neg = n > 0 && t[0] == '-';
  k += neg;
  uint64_t m = 0;
  int digits = 0, after = 0;
  bool point = false;
  for (; k < n; ++k) {
    const char c = t[k];
    if (c >= '0' && c <= '9') {
      if (++digits > 15) return false;
      m = m * 10 + static_cast<uint64_t>(c - '0');
      after += point;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  int e = 0;
  if (k < n) {
    if (t[k] != 'e' && t[k] != 'E') return false;
    ++k;
    const bool eneg = k < n && t[k] == '-';
    if (k < n && (t[k] == '-' || t[k] == '+')) ++k;
    if (k == n || n - k > 3) return false;
    for (; k < n; ++k) {
      if (t[k] < '0' || t[k] > '9') return false;
      e = e * 10 + (t[k] - '0');
    }
    if (eneg) e = -e;
  }
  double x;
  if (!exact_decimal(m, e - after, x)) return false;
  *v = neg ? -x : x;
  return true;
}

bool number(std::string_view t, double* v) {
  if (t.empty() || t.size() > 64) return false;
  if (short_decimal(t, v)) return true;
  // a plain decimal number converts in place, correctly rounded as strtod does; a leading
  // "+", hexadecimal and values out of range take strtod's path
  double y;
  const auto [q, ec] = std::from_chars(t.data(), t.data() + t.size(), y);
  if (ec == std::errc() && q == t.data() + t.size()) {
    if (!std::isfinite(y)) return false;
    *v = y;
    return true;
  }
  char buf[72];
  std::memcpy(buf, t.data(), t.size());
  buf[t.size()] = '\0';
  char* e;
  errno = 0;
  double x = std::strtod(buf, &e);
  if (e != buf + t.size() || !std::isfinite(x)) return false;
  *v = x;
  return true;
}

// A bound value: as a number, except that an infinite one is the library's infinity, as
// every value from 1e30 on is.
bool bound_number(std::string_view t, double* v) {
  if (number(t, v)) return true;
  if (t.empty() || t.size() > 64) return false;
  char buf[72];
  std::memcpy(buf, t.data(), t.size());
  buf[t.size()] = '\0';
  char* e;
  double x = std::strtod(buf, &e);
  if (e != buf + t.size() || std::isnan(x)) return false;
  *v = clamp_inf(x);
  return true;
}

int col_of(MpsData& d, std::string_view name) {
  return d.colindex.find(name);
}

int row_of_name(MpsData& d, std::string_view name) {
  return d.rowindex.find(name);
}

// Adds one (row, value) pair of a column; false on an unknown row or bad number.
bool add_entry(MpsData& d, int col, std::string_view row, std::string_view val) {
  double v;
  if (!number(val, &v)) return false;
  int r = row_of_name(d, row);
  if (r == -3) return false;
  if (r == -2) return true;
  if (r == -1) {
    d.cost[col] += v;
    return std::isfinite(d.cost[col]);
  }
  // a second entry of the column in the same row adds to the first
  if (d.entrycol.size() <= static_cast<size_t>(r)) {
    d.entrycol.resize(d.rownames.size(), -1);
    d.entrypos.resize(d.rownames.size(), 0);
  }
  if (d.entrycol[r] == col) {
    double& w = d.entries[d.entrypos[r]].v;
    w += v;
    return std::isfinite(w);
  }
  d.entrycol[r] = col;
  d.entrypos[r] = static_cast<int>(d.entries.size());
  d.entries.push_back({r, col, v});
  return true;
}

// Adds right-hand-side or range pairs.
bool add_rhs(MpsData& d, std::string_view row, std::string_view val, bool range) {
  double v;
  if (!number(val, &v)) return false;
  int r = row_of_name(d, row);
  if (r == -3) return false;
  if (r == -2) return true;
  if (r == -1) {
    if (!range) d.objconst = -v;
    return true;
  }
  if (range) {
    d.range[r] = v;
    d.ranged[r] = 1;
  } else {
    d.rhs[r] = v;
  }
  return true;
}

bool is_section(std::string_view line, Section* s, std::string_view* rest) {
  if (line.empty() || line[0] == ' ' || line[0] == '\t') return false;
  std::vector<std::string_view> t;
  tokens(line, t);
  static const struct { const char* name; Section s; } names[] = {
      {"NAME", S_NAME},       {"ROWS", S_ROWS},         {"COLUMNS", S_COLUMNS},
      {"RHS", S_RHS},         {"RANGES", S_RANGES},     {"BOUNDS", S_BOUNDS},
      {"OBJSENSE", S_OBJSENSE}, {"QUADOBJ", S_QUADOBJ}, {"QMATRIX", S_QMATRIX},
      {"QCMATRIX", S_QCMATRIX}, {"ENDATA", S_END}};
  for (auto& n : names) {
    if (t[0] == n.name) {
      *s = n.s;
      *rest = trim(line.substr(t[0].size()));
      return true;
    }
  }
  return false;
}

// Parses the whole text into d; 0 or 2003 with the line in r.
int parse(Reader& r, MpsData& d) {
  Section sec = S_NONE;
  int qcrow = -1;
  bool integer = false;
  Fields f;
  std::vector<std::string_view> t;
  int lastcol = -1;  // the column of the last line, whose name a line of the same column repeats
  while (next_line(r)) {
    std::string_view line = r.line;
    if (line.find('\0') != std::string_view::npos) return fail(r);  // not a text line
    if (trim(line).empty() || line[0] == '*') continue;
    Section ns;
    std::string_view rest;
    if (is_section(line, &ns, &rest)) {
      sec = ns;
      if (sec == S_NAME) {
        d.title = std::string(rest);
        if (d.title.size() > 4 && d.title.substr(d.title.size() - 4) == "FREE" &&
            (d.title.size() == 4 || d.title[d.title.size() - 5] == ' ')) {
          d.title = std::string(trim(std::string_view(d.title).substr(0, d.title.size() - 4)));
          r.fixed = false;
        } else if (d.title == "FREE") {
          d.title.clear();
          r.fixed = false;
        }
      } else if (sec == S_OBJSENSE && !rest.empty()) {
        if (rest == "MAX" || rest == "MAXIMIZE") d.sense = -1;
        else if (rest == "MIN" || rest == "MINIMIZE") d.sense = 1;
        else return fail(r);
      } else if (sec == S_QCMATRIX) {
        int row = row_of_name(d, rest);
        if (row < 0) return fail(r);
        qcrow = row;
      } else if (sec == S_COLUMNS) {
        d.cost.assign(d.colnames.size(), 0.0);
      } else if (sec == S_END) {
        return 0;
      } else if (!rest.empty() && sec != S_RHS && sec != S_RANGES && sec != S_BOUNDS) {
        return fail(r);
      }
      continue;
    }
    if (line[0] != ' ' && line[0] != '\t') return fail(r);  // unknown section
    // the blank-separated tokens are split only where the fixed fields do not serve
    const bool use_fixed = r.fixed && fixed_fields(line, f);
    if (!use_fixed) tokens(line, t);
    switch (sec) {
      case S_ROWS: {
        std::string_view type, name;
        if (use_fixed) {
          type = f[0];
          name = f[1];
        } else {
          if (t.size() < 2) return fail(r);
          type = t[0];
          name = trim(line.substr(line.find(t[0]) + t[0].size()));
          if (!r.fixed) {
            if (t.size() != 2) return fail(r);
            name = t[1];
          }
        }
        if (type.size() != 1 || name.empty()) return fail(r);
        char c = type[0];
        if (c != 'N' && c != 'L' && c != 'G' && c != 'E') return fail(r);
        if (!d.rowindex.add(name, c != 'N' ? static_cast<int>(d.rownames.size()) : d.have_obj ? -2 : -1).second)
          return fail(r);
        if (c == 'N') {
          if (!d.have_obj) d.objname = std::string(name);
          d.have_obj = true;
        } else if (c == 'L' || c == 'G' || c == 'E') {
          d.rownames.emplace_back(name);
          d.rowtype.push_back(c);
          d.rhs.push_back(0.0);
          d.range.push_back(0.0);
          d.ranged.push_back(0);
        } else {
          return fail(r);
        }
        break;
      }
      case S_COLUMNS: {
        if (line.find("'MARKER'") != std::string_view::npos) {
          if (line.find("'INTORG'") != std::string_view::npos) integer = true;
          else if (line.find("'INTEND'") != std::string_view::npos) integer = false;
          else return fail(r);
          break;
        }
        // Fixed by columns first; a line that does not fit falls back to tokens.
        for (int attempt = 0; attempt < 2; ++attempt) {
          std::array<std::string_view, 5> g;  // column, row, value[, row, value]
          size_t ng = 3;
          if (attempt == 0) {
            if (!use_fixed) continue;
            if (f[1].empty() || f[2].empty() || !f[0].empty()) continue;
            g = {f[1], f[2], f[3], f[4], f[5]};
            if (!f[4].empty() || !f[5].empty()) ng = 5;
          } else {
            if (use_fixed) tokens(line, t);
            if (t.size() != 3 && t.size() != 5) return fail(r);
            ng = t.size();
            std::copy(t.begin(), t.end(), g.begin());
          }
          int col;
          if (lastcol >= 0 && g[0] == d.colnames[static_cast<size_t>(lastcol)]) {
            col = lastcol;
          } else {
            const std::string_view key = g[0];
            auto [at, fresh] = d.colindex.add(key, static_cast<int>(d.colnames.size()));
            if (fresh) {
              col = at;
              d.colnames.emplace_back(key);
              d.coltype.push_back(integer ? 'I' : 'C');
              d.lb.push_back(0.0);
              d.ub.push_back(kInf);
              d.cost.push_back(0.0);
            } else {
              // a column's entries stand together: one that comes back after another
              // column is refused
              if (attempt == 1 || !r.fixed) return fail(r);
              continue;
            }
            lastcol = col;
          }
          bool ok = add_entry(d, col, g[1], g[2]) && (ng < 5 || add_entry(d, col, g[3], g[4]));
          if (ok) break;
          if (attempt == 1 || !r.fixed) return fail(r);
        }
        break;
      }
      case S_RHS:
      case S_RANGES: {
        const bool range = sec == S_RANGES;
        bool done = false;
        if (use_fixed && f[0].empty() && !f[2].empty()) {
          std::string_view set = f[1];
          bool ok = add_rhs(d, f[2], f[3], range) && (f[4].empty() || add_rhs(d, f[4], f[5], range));
          if (ok) {
            std::string& nm = range ? d.rngname : d.rhsname;
            if (nm.empty()) nm = std::string(set);
            done = true;
          }
        }
        if (!done) {
          if (use_fixed) tokens(line, t);
          if (t.size() < 2 || t.size() > 5) return fail(r);
          for (size_t k = t.size() % 2; k + 1 < t.size(); k += 2)
            if (!add_rhs(d, t[k], t[k + 1], range)) return fail(r);
          std::string& nm = range ? d.rngname : d.rhsname;
          if (nm.empty() && t.size() % 2 == 1) nm = std::string(t[0]);
        }
        break;
      }
      case S_BOUNDS: {
        std::string_view type, set, col, val;
        bool ok = false;
        if (use_fixed && !f[0].empty() && !f[2].empty()) {
          type = f[0];
          set = f[1];
          col = f[2];
          val = f[3];
          ok = col_of(d, col) >= 0;
        }
        if (!ok) {
          if (use_fixed) tokens(line, t);
          if (t.size() < 2) return fail(r);
          type = t[0];
          const bool needs = !(type == "FR" || type == "MI" || type == "PL" || type == "BV");
          size_t n = t.size();
          if (needs ? n == 4 : (n == 3 || n == 4)) {
            if (!needs && n == 3 && col_of(d, t[2]) < 0 && col_of(d, t[1]) >= 0) {
              col = t[1];  // "BV X 1": no set name, a value
            } else {
              set = t[1];
              col = t[2];
              val = n == 4 ? t[3] : std::string_view();
            }
          } else if (needs ? n == 3 : n == 2) {
            col = t[1];
            val = needs ? t[2] : std::string_view();
          } else {
            return fail(r);
          }
        }
        int j = col_of(d, col);
        if (j < 0) return fail(r);
        if (d.bndname.empty()) d.bndname = std::string(set);
        double v = 0.0;
        const bool needs = !(type == "FR" || type == "MI" || type == "PL" || type == "BV");
        if (needs && !bound_number(val, &v)) return fail(r);
        if (type == "UP") {
          d.ub[j] = clamp_inf(v);
          if (v < 0 && d.lb[j] == 0.0) d.lb[j] = -kInf;
        } else if (type == "LO") {
          d.lb[j] = clamp_inf(v);
        } else if (type == "FX") {
          d.lb[j] = d.ub[j] = clamp_inf(v);
        } else if (type == "FR") {
          d.lb[j] = -kInf;
          d.ub[j] = kInf;
        } else if (type == "MI") {
          d.lb[j] = -kInf;
        } else if (type == "PL") {
          d.ub[j] = kInf;
        } else if (type == "BV") {
          d.coltype[j] = 'B';
          d.lb[j] = 0.0;
          d.ub[j] = 1.0;
        } else if (type == "LI") {
          d.coltype[j] = 'I';
          d.lb[j] = clamp_inf(v);
        } else if (type == "UI") {
          d.coltype[j] = 'I';
          d.ub[j] = clamp_inf(v);
          if (v < 0 && d.lb[j] == 0.0) d.lb[j] = -kInf;
        } else {
          return fail(r);
        }
        break;
      }
      case S_OBJSENSE: {
        if (use_fixed) tokens(line, t);
        if (t.size() != 1) return fail(r);
        if (t[0] == "MAX" || t[0] == "MAXIMIZE") d.sense = -1;
        else if (t[0] == "MIN" || t[0] == "MINIMIZE") d.sense = 1;
        else return fail(r);
        break;
      }
      case S_QUADOBJ:
      case S_QMATRIX:
      case S_QCMATRIX: {
        std::string_view n1, n2, nv;
        if (use_fixed) tokens(line, t);
        if (use_fixed && f[0].empty() && !f[1].empty() && !f[2].empty() && f[4].empty()) {
          n1 = f[1];
          n2 = f[2];
          nv = f[3];
        } else if (t.size() == 3) {
          n1 = t[0];
          n2 = t[1];
          nv = t[2];
        } else {
          return fail(r);
        }
        int a = col_of(d, n1), b = col_of(d, n2);
        double v;
        if (a < 0 || b < 0 || !number(nv, &v)) return fail(r);
        const int row = sec == S_QCMATRIX ? qcrow : -1;
        const int i = std::max(a, b), j = std::min(a, b);
        double q;
        if (sec == S_QUADOBJ) q = v;                   // one triangle, 1/2 x'Qx
        else if (sec == S_QMATRIX) q = i == j ? v : v / 2;  // both triangles, 1/2 x'Qx
        else q = i == j ? 2 * v : v;                   // both triangles, x'Qx
        // entries of one pair add up; a sum beyond the range of a double is refused
        const QEntry e{row, i, j, q};
        auto [it, fresh] = d.quadpos.emplace(e, d.quad.size());
        if (fresh) d.quad.push_back(e);
        else d.quad[it->second].q += q;
        if (!std::isfinite(d.quad[it->second].q)) return fail(r);
        break;
      }
      default:
        return fail(r);
    }
  }
  return 0;
}

// True for the name of the column that carries the objective's constant in the files the
// library writes: "OBJCONST", or "OBJCONST_" and digits when a column took that name.
bool constant_column_name(const std::string& s) {
  if (s.compare(0, 8, "OBJCONST") != 0) return false;
  if (s.size() == 8) return true;
  if (s.size() < 10 || s[8] != '_') return false;
  for (size_t k = 9; k < s.size(); ++k)
    if (s[k] < '0' || s[k] > '9') return false;
  return true;
}

// Folds constant columns (continuous, fixed at 1, with a cost and no other entry) into the
// objective's constant and drops them; the other columns keep their order.
void fold_constant_columns(MpsData& d) {
  const int n = static_cast<int>(d.colnames.size());
  std::vector<char> fold(n, 0);
  bool any = false;
  for (int j = 0; j < n; ++j) {
    fold[j] = d.coltype[j] == 'C' && d.lb[j] == 1.0 && d.ub[j] == 1.0 && constant_column_name(d.colnames[j]);
    any = any || fold[j];
  }
  if (!any) return;
  for (const Entry& e : d.entries) fold[e.col] = 0;
  for (const QEntry& q : d.quad) fold[q.i] = fold[q.j] = 0;
  std::vector<int> to(n, -1);
  int k = 0;
  for (int j = 0; j < n; ++j) {
    if (fold[j] && std::isfinite(d.objconst + d.cost[j])) {
      d.objconst += d.cost[j];
      continue;
    }
    to[j] = k;
    if (k != j) d.colnames[k] = std::move(d.colnames[j]);
    d.coltype[k] = d.coltype[j];
    d.lb[k] = d.lb[j];
    d.ub[k] = d.ub[j];
    d.cost[k] = d.cost[j];
    ++k;
  }
  if (k == n) return;
  d.colnames.resize(k);
  d.coltype.resize(k);
  d.lb.resize(k);
  d.ub.resize(k);
  d.cost.resize(k);
  for (Entry& e : d.entries) e.col = to[e.col];
  for (QEntry& q : d.quad) {
    q.i = to[q.i];
    q.j = to[q.j];
  }
}

// Builds the model from the parsed data.
void build(BRmodel* m, MpsData& d) {
  fold_constant_columns(d);
  clear_model(m);
  const int n = static_cast<int>(d.colnames.size());
  // Ranged rows become a second row with the other side.
  const int base = static_cast<int>(d.rownames.size());
  std::vector<int> extra_of;  // original row of each extra row
  std::vector<double> lo(base), hi(base);
  for (int i = 0; i < base; ++i) {
    if (!d.ranged[i]) continue;
    double b = d.rhs[i], rg = d.range[i];
    char t = d.rowtype[i];
    if (t == 'E' && rg == 0.0) continue;
    if (t == 'L') { lo[i] = b - std::fabs(rg); hi[i] = b; }
    else if (t == 'G') { lo[i] = b; hi[i] = b + std::fabs(rg); }
    else if (rg > 0) { lo[i] = b; hi[i] = b + rg; }
    else { lo[i] = b + rg; hi[i] = b; }
    // a side that runs past the range of a double is an infinite one
    lo[i] = clamp_inf(lo[i]);
    hi[i] = clamp_inf(hi[i]);
    extra_of.push_back(i);
  }
  const int nr = base + static_cast<int>(extra_of.size());
  m->nvars = n;
  m->vtype = d.coltype;
  m->lb.assign(d.lb);
  m->ub.assign(d.ub);
  m->start.assign(n, 0.0);
  for (int j = 0; j < n; ++j) m->start.set(j, std::min(std::max(0.0, m->lb[j]), m->ub[j]));
  m->ncons = nr;
  m->sense = d.sense;
  m->rows.assign(nr, Row());
  // Entries per row, in column order (columns arrive in order).
  std::vector<int> start(nr + 1, 0);
  std::vector<int> extra_index(base, -1);
  for (size_t k = 0; k < extra_of.size(); ++k) extra_index[extra_of[k]] = base + static_cast<int>(k);
  for (const Entry& e : d.entries) {
    ++start[e.row + 1];
    if (extra_index[e.row] >= 0) ++start[extra_index[e.row] + 1];
  }
  for (int i = 0; i < nr; ++i) start[i + 1] += start[i];
  const int nobj = static_cast<int>(std::count_if(d.cost.begin(), d.cost.end(), [](double c) { return c != 0.0; }));
  m->lin_col.resize(start[nr] + nobj);
  m->lin_val.resize(start[nr] + nobj);
  std::vector<int> fill(start.begin(), start.end() - 1);
  for (const Entry& e : d.entries) {
    int p = fill[e.row]++;
    m->lin_col[p] = e.col;
    m->lin_val[p] = e.v;
    if (int x = extra_index[e.row]; x >= 0) {
      p = fill[x]++;
      m->lin_col[p] = e.col;
      m->lin_val[p] = e.v;
    }
  }
  std::vector<Entry>().swap(d.entries);  // in the rows now: its memory serves what follows
  // Sort and merge each row's entries when columns came back out of order.
  std::vector<std::pair<int, double>> tmp;
  int out = 0;
  std::vector<int> rb(nr), re(nr);
  for (int i = 0; i < nr; ++i) {
    tmp.clear();
    bool sorted = true;
    for (int p = start[i]; p < start[i + 1]; ++p) {
      if (!tmp.empty() && m->lin_col[p] <= tmp.back().first) sorted = false;
      tmp.push_back({m->lin_col[p], m->lin_val[p]});
    }
    if (!sorted) std::sort(tmp.begin(), tmp.end());
    rb[i] = out;
    for (size_t k = 0; k < tmp.size();) {
      auto e = tmp[k++];
      while (k < tmp.size() && tmp[k].first == e.first) e.second += tmp[k++].second;
      if (e.second == 0.0) continue;
      m->lin_col[out] = e.first;
      m->lin_val[out] = e.second;
      ++out;
    }
    re[i] = out;
  }
  // Objective entries after the rows.
  Row& o = m->obj;
  o = Row();
  o.type = 'N';
  o.constant = d.objconst;
  o.lin_begin = out;
  for (int j = 0; j < n; ++j) {
    if (d.cost[j] != 0.0) {
      m->lin_col[out] = j;
      m->lin_val[out] = d.cost[j];
      ++out;
    }
  }
  o.lin_end = out;
  m->lin_col.resize(out);
  m->lin_val.resize(out);
  // Quadratic terms grouped by row, merged.
  std::sort(d.quad.begin(), d.quad.end(), [](const QEntry& a, const QEntry& b) {
    return a.row != b.row ? a.row < b.row : (a.i != b.i ? a.i < b.i : a.j < b.j);
  });
  std::vector<int> qb(nr + 1, -1), qe(nr + 1, -1);
  for (size_t k = 0; k < d.quad.size();) {
    QEntry q = d.quad[k++];
    while (k < d.quad.size() && d.quad[k].row == q.row && d.quad[k].i == q.i && d.quad[k].j == q.j)
      q.q += d.quad[k++].q;
    if (q.q == 0.0) continue;
    int slot = q.row + 1;
    if (qb[slot] < 0) qb[slot] = static_cast<int>(m->quad_q.size());
    m->quad_i.push_back(q.i);
    m->quad_j.push_back(q.j);
    m->quad_q.push_back(q.q);
    qe[slot] = static_cast<int>(m->quad_q.size());
  }
  // Rows: types, constants, variable lists.
  for (int i = -1; i < nr; ++i) {
    Row& w = i < 0 ? m->obj : m->rows[i];
    if (i >= 0) {
      int orig = i < base ? i : extra_of[i - base];
      w.lin_begin = rb[i];
      w.lin_end = re[i];
      double b = d.rhs[orig];
      char t = d.rowtype[orig];
      if (orig != i) {  // the second row of a range: the other side
        t = (d.rowtype[orig] == 'G') ? 'L' : (d.rowtype[orig] == 'L' ? 'G' : 'L');
        b = t == 'L' ? hi[orig] : lo[orig];
      } else if (extra_index[i] >= 0) {
        if (t == 'E') {
          t = 'G';
          b = lo[i];
        }
      }
      w.type = t;
      w.constant = -b;
    }
    int slot = i + 1;
    if (qb[slot] >= 0) {
      w.kind = ROW_QUADRATIC;
      w.nlcode = NL_QUAD;
      w.quad_begin = qb[slot];
      w.quad_end = qe[slot];
    } else {
      w.quad_begin = w.quad_end = 0;
    }
    if (w.kind == ROW_QUADRATIC) {
      w.var_begin = static_cast<int32_t>(m->row_var.size());
      std::vector<int> v =
          quad_row_vars(m, w, std::vector<int>(m->lin_col.begin() + w.lin_begin, m->lin_col.begin() + w.lin_end));
      m->row_var.insert(m->row_var.end(), v.begin(), v.end());
      w.var_end = static_cast<int32_t>(m->row_var.size());
    } else {
      // a linear row's variables are its entries' columns, sorted: not kept twice
      w.var_begin = w.lin_begin;
      w.var_end = w.lin_end;
      w.vars_lin = true;
    }
  }
  // Names.
  m->title = d.title;
  m->objname = d.objname;
  m->rhsname = d.rhsname;
  m->rngname = d.rngname;
  m->bndname = d.bndname;
  m->rownames = std::move(d.rownames);
  for (int x : extra_of) m->rownames.push_back(m->rownames[x] + "_RNG");
  m->varnames = std::move(d.colnames);
  m->loaded = true;
  m->res.status = m->res.solstatus = BR_LOADED;
}

} // namespace

} // namespace bresk

using namespace bresk;

extern "C" {

int BRreadMPSFile(BRmodel* model, const char* file, int format) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    if (!file) return BRERR_BAD_ARGUMENT;
    m->file_line = 0;
    m->file_text.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> fp(std::fopen(file, "rb"), std::fclose);
    if (!fp) return errno == ENOENT ? BRERR_FILE_NOT_FOUND : BRERR_FILE_OPEN;
    // The file is read a piece at a time as the lines are taken: the text is never held whole.
    Reader r;
    r.fp = fp.get();
    r.fixed = format == 1;
    MpsData d;
    const int e = parse(r, d);
    if (r.bad) return BRERR_FILE_OPEN;
    if (e) {
      clear_model(m);
      m->file_line = r.err_line;
      m->file_text = r.err_text;
      return r.err;
    }
    // The reader's buffer and the name indexes are past their last use: the model's arrays
    // take their memory.
    fp.reset();
    std::string().swap(r.buf);
    d.rowindex = NameIndex();
    d.colindex = NameIndex();
    d.entrycol = std::vector<int>();
    d.entrypos = std::vector<int>();
    build(m, d);
    return 0;
  });
}

int BRgetFileError(BRmodel* model, int* line, char* text) {
  return api_call(model, true, [&]() -> int {
    if (line) *line = model->file_line;
    if (text) std::snprintf(text, 200, "%s", model->file_text.c_str());
    return 0;
  });
}

} // extern "C"
