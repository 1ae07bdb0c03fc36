// MPS import (RMPS, FRMPS): the solver library reads the file into its model object; the
// model is read back and written as model text in the modelling language, one statement
// per row, then installed as the current model.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "language/lang.h"
#include "language/reader.h"
#include "reports/exchange.h"
#include "session/session.h"
#include "solver/bindings.h"
#include "solver/rowload.h"
#include "solver/solver.h"
#include "store/decimal.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/phasetime.h"
#include "store/store.h"
#include "store/upcalls.h"

namespace {

constexpr double INF = 1.0e30;

// The model text being written: finished lines and, after them, the line being built.
struct TextOut {
  int32_t width = 76;  // working LINLEN
  std::string text;    // the finished lines end to end, then the line being built
  std::vector<int32_t> ends;  // end position (in text) of each finished line
  size_t linestart = 0;       // where the line being built starts in text

  int32_t linelen() const { return (int32_t)(text.size() - linestart); }
  bool lineempty() const { return text.size() == linestart; }
  void store() {
    ends.push_back((int32_t)text.size());
    linestart = text.size();
  }
  // Appends a piece (the texts a and b); the length p decides whether the line is stored first.
  void piece(std::string_view a, int32_t p, std::string_view b = {}) {
    if (!lineempty() && p + linelen() >= width - 12) store();
    text += a;
    if (!b.empty()) text += b;
  }
  // Appends a name piece: a blank and the name.
  void namepiece(const std::string& name) {
    int32_t p = (int32_t)name.size() + 1;
    if (!lineempty() && p + linelen() >= width - 12) store();
    text += ' ';
    text += name;
  }
  // Appends without the width test.
  void add(const std::string& s) { text += s; }
  void endstatement() {
    if (!lineempty()) store();
  }
};

// One linear or quadratic term: sign and number, " *" and the name piece.
void term(TextOut& out, double c, bool first, const std::string& name) {
  double a = std::fabs(c);
  std::string_view sign = c < 0 ? " - " : (first ? " " : " + ");
  if (a == 1.0) {
    out.piece(sign, 2);
  } else {
    std::string num = prtnum_(a);
    out.piece(sign, (int32_t)num.size() + 3, num);
    out.piece(" *", 2);
  }
  out.namepiece(name);
}

// A set of names: open addressing over views of its own copies, which a deque keeps in
// place, so that an entry costs no node of its own.
struct NameSet {
  std::deque<std::string> names;
  std::vector<std::string_view> slots;  // an empty view marks a free slot

  static size_t hash(std::string_view s) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return (size_t)(h ^ (h >> 29));
  }
  void reserve(size_t n) {
    if (2 * n <= slots.size()) return;
    size_t size = 64;
    while (size < 2 * n) size *= 2;
    std::vector<std::string_view> old = std::move(slots);
    slots.assign(size, std::string_view());
    for (std::string_view v : old)
      if (!v.empty()) slots[free_slot(v)] = v;
  }
  // The slot that holds the name or the free one where it would go.
  size_t free_slot(std::string_view s) const {
    const size_t mask = slots.size() - 1;
    size_t k = hash(s) & mask;
    while (!slots[k].empty() && slots[k] != s) k = (k + 1) & mask;
    return k;
  }
  // Adds a name (never empty); false when it is there already.
  bool insert(std::string_view s) {
    reserve(names.size() + 1);
    const size_t k = free_slot(s);
    if (!slots[k].empty()) return false;
    names.emplace_back(s);
    slots[k] = names.back();
    return true;
  }
};

// Names of the model after repair: every name a legal name of the language, and no two
// names of one kind equal (a name that would meet another gets a numbered suffix).
struct NameFix {
  NameSet taken;
  // per wanted name, the last suffix handed out: the search for the next free one resumes
  // there, so that many names cut to one stem cost no more than as many distinct names
  std::unordered_map<std::string, int64_t> lastsuffix;
  int32_t changed = 0;

  static std::string repaired(const std::string& raw, bool& unchanged) {
    char buf[300];
    int32_t len = (int32_t)std::min<size_t>(raw.size(), 256);
    std::memcpy(buf, raw.data(), (size_t)len);
    buf[len] = 0;
    while (len > 0 && buf[len - 1] == ' ') --len;
    unchanged = fixaname2_(buf, len, NAMECH, true);
    return std::string(buf, (size_t)(len > 0 ? len : 0));
  }
  // A name not yet taken: the repaired name, or it with "_k" so that it is unique.
  std::string unique(const std::string& want) {
    if (!want.empty() && taken.insert(want)) return want;
    int64_t& last = lastsuffix[want];
    for (int64_t k = last + 1;; ++k) {
      last = k;
      std::string suf = "_" + std::to_string(k);
      std::string base = want.empty() ? "X" : want;
      if (base.size() + suf.size() > (size_t)NAMECH) base.resize((size_t)NAMECH - suf.size());
      std::string cand = base + suf;
      if (taken.insert(cand)) return cand;
    }
  }
  // Repairs a list of names; unchanged legal names are kept first so that repaired ones
  // give way to them.
  void run(std::vector<std::string>& names) {
    taken.reserve(taken.names.size() + names.size());
    std::vector<std::string> fixed(names.size());
    std::vector<char> same(names.size());
    for (size_t k = 0; k < names.size(); ++k) {
      bool u = true;
      fixed[k] = repaired(names[k], u);
      same[k] = u && !fixed[k].empty();
    }
    std::vector<char> done(names.size(), 0);
    for (size_t k = 0; k < names.size(); ++k)
      if (same[k] && taken.insert(fixed[k])) {
        names[k] = std::move(fixed[k]);  // the set holds its own copy
        done[k] = 1;
      }
    for (size_t k = 0; k < names.size(); ++k)
      if (!done[k]) {
        names[k] = unique(fixed[k]);
        ++changed;
      }
  }
};

// The model as read back from the library.
struct MpsModel {
  int32_t nvars = 0, ncons = 0, nnz = 0;
  std::string title, objname;
  std::vector<std::string> vnames, rnames;
  int32_t sense = 1;
  double objconst = 0.0;
  std::vector<double> cost, rhs, lb, ub;
  std::vector<char> ctype, vtype;
  // the rows: entries of row i at rowend[i]..rowend[i+1]-1
  std::vector<int32_t> rowend, rcol;
  std::vector<double> rval;
};

// True when every number read back is finite (bounds stand at +-1e30 when infinite).
bool finitedata(const MpsModel& m) {
  auto finite = [](const std::vector<double>& v) {
    for (double x : v)
      if (!std::isfinite(x)) return false;
    return true;
  };
  return std::isfinite(m.objconst) && finite(m.cost) && finite(m.rhs) && finite(m.rval) && finite(m.lb) &&
         finite(m.ub);
}

// The rows' linear entries, row by row as the library keeps them (ascending columns, one
// entry per column); false when the library refuses a row or they exceed the count given.
bool readrows_(BRmodel* lib, MpsModel& m) {
  m.rowend.assign((size_t)m.ncons + 1, 0);
  m.rcol.resize((size_t)m.nnz);
  m.rval.resize((size_t)m.nnz);
  int32_t pos = 0;
  for (int32_t i = 0; i < m.ncons; ++i) {
    int n = 0;
    if (BRgetLPConstraintDatai(lib, i, nullptr, nullptr, &n, nullptr, nullptr) != 0 || n < 0 || n > m.nnz - pos)
      return false;
    if (n > 0 && BRgetLPConstraintDatai(lib, i, nullptr, nullptr, &n, m.rcol.data() + pos, m.rval.data() + pos) != 0)
      return false;
    pos += n;
    m.rowend[(size_t)i + 1] = pos;
  }
  return true;
}

// The title statement: chunks ending at blanks; ";" and the characters that would end or
// break the title statement ("(", ")", ",", the comment mark) are written as "-".
void wrttitle(TextOut& out, std::string t, char comment) {
  for (char& c : t)
    if (c == ';' || c == '(' || c == ')' || c == ',' || c == comment) c = '-';
  out.add(" TITLE ");
  size_t pos = 0;
  while (pos < t.size()) {
    size_t b = t.find(' ', pos);
    size_t end = b == std::string::npos ? t.size() : b + 1;
    std::string chunk = t.substr(pos, end - pos);
    pos = end;
    out.piece("", (int32_t)chunk.size() + 1);
    if (out.lineempty() && (int32_t)chunk.size() > out.width - 12) chunk.resize((size_t)(out.width - 12));
    out.add(chunk);
  }
  out.piece(";", 1);
  out.endstatement();
}

// One row; row -1 is the objective. Status 5 when its quadratic terms cannot be read.
void writearow_(BRmodel* lib, MasterRecord& L, TextOut& out, const MpsModel& m, int32_t row,
                int32_t& status) {
  status = 0;
  int32_t nq = 0;
  std::vector<int32_t> qi, qj;
  std::vector<double> qv;
  if (int32_t r = BRgetQCDatai(lib, row, &nq, nullptr, nullptr, nullptr); r != 0) {
    L.ERRARG = r;
    status = 5;
    return;
  }
  if (nq > 0) {
    qi.resize((size_t)nq);
    qj.resize((size_t)nq);
    qv.resize((size_t)nq);
    if (int32_t r = BRgetQCDatai(lib, row, &nq, qi.data(), qj.data(), qv.data()); r != 0) {
      L.ERRARG = r;
      status = 5;
      return;
    }
  }
  bool anyq = false;
  for (int32_t k = 0; k < nq; ++k) {
    if (!std::isfinite(qv[(size_t)k])) {
      status = 5;
      return;
    }
    anyq = anyq || qv[(size_t)k] != 0.0;
  }
  bool anylin = false;
  if (row < 0) {
    for (double c : m.cost) anylin = anylin || c != 0.0;
    if (!anylin && !anyq) return;
  } else {
    int32_t b = m.rowend[(size_t)row], e = m.rowend[(size_t)row + 1];
    for (int32_t k = b; k < e; ++k) anylin = anylin || m.rval[(size_t)k] != 0.0;
    // a constraint without entries is left out only when 0 satisfies it: one that 0
    // violates keeps the model infeasible, as the file states it
    double r = m.rhs[(size_t)row];
    char t = m.ctype[(size_t)row];
    bool holds = (t == 'L' && 0 <= r) || (t == 'G' && 0 >= r) || (t == 'E' && r == 0) ||
                 (t != 'L' && t != 'G' && t != 'E');
    if (e == b && nq == 0 && holds) return;
  }
  const std::string& name = row < 0 ? m.objname : m.rnames[(size_t)row];
  out.add(" [");
  out.namepiece(name);
  out.add("]");
  if (row < 0) out.piece(m.sense == 1 ? " MIN =" : " MAX =", 6);
  bool first = true;
  if (row < 0) {
    for (int32_t j = 0; j < m.nvars; ++j)
      if (m.cost[(size_t)j] != 0.0) {
        term(out, m.cost[(size_t)j], first, m.vnames[(size_t)j]);
        first = false;
      }
  } else {
    for (int32_t k = m.rowend[(size_t)row]; k < m.rowend[(size_t)row + 1]; ++k)
      if (m.rval[(size_t)k] != 0.0) {
        term(out, m.rval[(size_t)k], first, m.vnames[(size_t)m.rcol[(size_t)k]]);
        first = false;
      }
  }
  for (int32_t k = nq - 1; k >= 0; --k) {
    double v = qv[(size_t)k];
    if (v == 0.0) continue;
    int32_t a = qi[(size_t)k], b = qj[(size_t)k];
    if (a == b) v /= 2.0;
    double mag = std::fabs(v);
    std::string num = prtnum_(mag);
    std::string_view sign = v < 0 ? " - " : (first ? " " : " + ");
    out.piece(sign, (int32_t)num.size() + 3, num);
    out.piece(" *", 2);
    out.namepiece(m.vnames[(size_t)a]);
    out.piece(" *", 2);
    out.namepiece(m.vnames[(size_t)b]);
    first = false;
  }
  // a constraint whose entries are all zero keeps its relation with a zero left side
  if (first && row >= 0) out.piece(" 0", 2);
  if (row >= 0) {
    char t = m.ctype[(size_t)row];
    if (t == 'L') out.piece(" <=", 3);
    else if (t == 'G') out.piece(" >=", 3);
    else if (t == 'E') out.piece(" =", 2);
    double r = m.rhs[(size_t)row];
    out.piece(" ", 1);
    if (r < 0) out.piece("- ", 2);
    std::string num = prtnum_(std::fabs(r));
    out.piece(num, (int32_t)num.size());
  } else if (m.objconst != 0.0) {
    out.piece(" ", 1);
    out.piece(m.objconst < 0 ? "- " : "+ ", 2);
    std::string num = prtnum_(std::fabs(m.objconst));
    out.piece(num, (int32_t)num.size());
  }
  out.piece(";", 1);
  out.endstatement();
}

// The @GIN and @BIN statements, on running lines.
void wrtintr_(TextOut& out, const MpsModel& m) {
  for (int32_t j = 0; j < m.nvars; ++j) {
    char t = m.vtype[(size_t)j];
    if (t != 'B' && t != 'I') continue;
    out.piece(t == 'B' ? " @BIN(" : " @GIN(", 6);
    const std::string& nm = m.vnames[(size_t)j];
    out.namepiece(nm);
    out.piece(");", 2);
  }
  out.endstatement();
}

// The @FREE and @BND statements of variables whose bounds are not [0, infinity).
void wrtbnds_(TextOut& out, const MpsModel& m) {
  for (int32_t j = 0; j < m.nvars; ++j) {
    double lo = m.lb[(size_t)j], hi = m.ub[(size_t)j];
    const std::string& nm = m.vnames[(size_t)j];
    int32_t len = (int32_t)nm.size();
    if (lo == 0.0 && hi >= INF) continue;
    if (lo <= -INF && hi >= INF) {
      out.piece(" @FREE( " + nm + ");", len + 10);
      continue;
    }
    lo = std::min(std::max(lo, -INF), INF);
    hi = std::min(std::max(hi, -INF), INF);
    std::string a = prtnum_(std::fabs(lo)), b = prtnum_(std::fabs(hi));
    std::string s = " @BND( " + std::string(lo < 0 ? "-" : "") + a + ", " + nm + ", " +
                    std::string(hi < 0 ? "-" : "") + b + ");";
    out.piece(s, (int32_t)(a.size() + b.size()) + len + 14 + (lo < 0) + (hi < 0));
  }
  out.endstatement();
}

// Puts the new text in place of the stored model text; false when the store is full.
bool install(Work& W, MasterRecord& L, const TextOut& out) {
  int32_t n = (int32_t)out.ends.size();
  int32_t chars = (int32_t)out.linestart;  // the finished lines
  int32_t tb = 0, lx = 0, lm = 0, st = 0;
  int32_t c1 = chars < 1 ? 1 : chars, c2 = n + 2, c3 = n + 2;
  setblk_(1, c1, W, L, tb, st);
  if (st == 0) setblk_(2, c2, W, L, lx, st);
  if (st == 0) setblk_(2, c3, W, L, lm, st);
  if (st != 0) {
    rlsblk_(L, tb);
    rlsblk_(L, lx);
    rlsblk_(L, lm);
    return false;
  }
  int64_t tstart = wbyte(L.START[tb]);
  cputs(W, tstart, out.text.data(), chars);
  int64_t ls = L.START[lx], ms = L.START[lm];
  wput(W, ls, 1);
  for (int32_t k = 0; k < n; ++k) {
    wput(W, ls + k + 1, out.ends[(size_t)k] + 1);
    wput(W, ms + k, 0);
  }
  wput(W, ms + n, 0);
  wput(W, ms + n + 1, 0);
  L.MODSTAT = 12;
  recovr_(W, L);
  rlsblk_(L, L.TEXTBLK);
  rlsblk_(L, L.LINEIX);
  rlsblk_(L, L.LINEMAP);
  rlsblk_(L, L.TITLBLK);
  L.TITLEN = 0;
  L.TEXTBLK = tb;
  L.LINEIX = lx;
  L.LINEMAP = lm;
  L.TEXTCAP = c1;
  L.LINECAP = c2 < c3 ? c2 : c3;
  L.MODLINES = n;
  L.SYNTAX = 0;
  L.HIDDEN = 0;  // the text read from the file replaces a hidden model, as MODEL does
  return true;
}

// Copies at most n characters of a NUL-terminated text into a message field.
void msgtext(char* field, size_t cap, const char* s) {
  size_t k = 0;
  while (k + 1 < cap && s[k]) {
    field[k] = s[k];
    ++k;
  }
  field[k] = 0;
}

}  // namespace

// Number text of a magnitude: 12 significant digits, fixed from 0.1 up to 10^12, else a
// 0.ddd mantissa with E and a signed exponent; trailing zeros of the fraction removed.
void prtnum_(double value, char* text, int32_t& length) {
  std::string s = prtnum_(value);
  std::memcpy(text, s.data(), s.size());
  for (size_t k = s.size(); k < 32; ++k) text[k] = ' ';
  length = (int32_t)s.size();
}

std::string prtnum_(double value) {
  if (value == 0.0) return "0";
  char buf[64];
  char* const end = buf + sizeof buf;
  // a whole number below 10^12 has at most 12 digits: it prints as itself
  // (below 10^12 a value is whole when it survives the round trip through an integer)
  if (value >= 1.0 && value < 1e12 && static_cast<double>(static_cast<int64_t>(value)) == value) {
    return std::string(buf, std::to_chars(buf, end, static_cast<int64_t>(value)).ptr);
  }
  if (!std::isfinite(value)) {  // the import never writes one
    std::snprintf(buf, sizeof buf, "%.11E", value);
    return buf;
  }
  // The significant digits rounded to 12, exactly (ties to even), and the exponent of the
  // 0.ddd form. A decimal N / 10^k of at most 12 digits that reads back as the magnitude is
  // that rounding (a normal double carries more than 15 digits): most coefficients are such
  // short decimals, found with a few products. The others go through the exact conversion.
  const double a = std::fabs(value);
  char digits[32];
  int32_t nd = 0, ex = 0;
  if (a >= std::numeric_limits<double>::min()) {
    for (int32_t k = 0; k < 23; ++k) {
      const double n = a * POW10[k];
      if (n >= 1e12) break;
      if (n >= 1.0 && static_cast<double>(static_cast<int64_t>(n)) == n && n / POW10[k] == a) {
        nd = (int32_t)(std::to_chars(digits, digits + sizeof digits, static_cast<int64_t>(n)).ptr - digits);
        ex = nd - k;
        break;
      }
    }
  }
  if (nd == 0) {
    // [-]d.ddddddddddde[+-]xx
    char* const sci = std::to_chars(buf, end, a, std::chars_format::scientific, 11).ptr;
    const char* e = std::find(buf, sci, 'e');
    for (const char* p = buf; p < e; ++p)
      if (*p != '.') digits[nd++] = *p;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), sci, ex);
    ++ex;
  }
  while (nd > 1 && digits[nd - 1] == '0') --nd;
  // the text, built in buf (at most a sign, 13 digits or zeros, a point, 12 digits)
  char* o = buf;
  if (value < 0) *o++ = '-';
  if (ex >= 0 && ex <= 12) {
    // fixed: the first ex digits (zeros where they run out), then the rest after a point
    if (ex == 0) *o++ = '0';
    for (int32_t k = 0; k < ex; ++k) *o++ = k < nd ? digits[k] : '0';
    if (nd > ex) {
      *o++ = '.';
      for (int32_t k = ex; k < nd; ++k) *o++ = digits[k];
    }
    return std::string(buf, o);
  }
  // mantissa digits d.ddddddddddd become 0.dddddddddddd, then E, the sign and two or more digits
  *o++ = '0';
  *o++ = '.';
  for (int32_t k = 0; k < nd; ++k) *o++ = digits[k];
  *o++ = 'E';
  *o++ = ex < 0 ? '-' : '+';
  const int32_t ax = ex < 0 ? -ex : ex;
  if (ax < 10) *o++ = '0';
  o = std::to_chars(o, end, ax).ptr;
  return std::string(buf, o);
}

// Default name k of n: the prefix and k zero-padded to the width log10(n) + 2.
std::string usendx_(char prefix, int32_t n, int32_t k) {
  int32_t w = (int32_t)std::log10((float)(n < 1 ? 1 : n)) + 2;
  char buf[40];
  std::snprintf(buf, sizeof buf, "%c%0*d", prefix, w - 1, k);
  return buf;
}

// Reads the file name after the command word, prompting when the line holds none.
void getcomfil_(MasterRecord& L, char* name, int32_t& length) {
  length = 0;
  name[0] = 0;
  nxblnk_(L, 1);
  getrsp_(L, "File name?", 5);
  int32_t p = L.LINCUR < 1 ? 1 : L.LINCUR;
  int32_t end = L.LINEND < 200 ? L.LINEND : 200;
  while (p <= end && (rawc(L, p) == ' ' || rawc(L, p) == L.EOSCHR)) ++p;
  while (p <= end && length < 200) name[length++] = rawc(L, p++);
  while (length > 0 && name[length - 1] == ' ') --length;
  name[length] = 0;
  L.LINCUR = L.LINEND + 1;
}

// The import driver.
void loadmps_(Work& W, MasterRecord& L, const char* name, int32_t format, int32_t& status) {
  status = 0;
  brbupdt_(L, "Loading MPS file ...");  // the status pane
  struct Done {
    MasterRecord& L;
    ~Done() { brbremv_(L, 0); }
  } done{L};
  if (clearmodel_(L) != 0) {
    errmsh_(W, L, 180);
    status = 1;
    return;
  }
  // the library's model is emptied here, whatever the import's outcome: the next GO must
  // generate the stored text anew even when that text is the one generated last
  clearsolvermodel_(W, L);
  passparamstoapi_(W, L);
  passapisetparams_(W, L);
  BRmodel* lib = modelptr_(L.MODELHANDLE);
  phasetime_("MPS file opened");
  int32_t r = BRreadMPSFile(lib, name, format);
  phasetime_("MPS file read");
  if (r == BRERR_FILE_NOT_FOUND || r == BRERR_FILE_OPEN) {
    msgtext(L.ERRSTR, sizeof L.ERRSTR, name);
    errmsh_(W, L, 7);
    status = 4;
    return;
  }
  if (r != 0) {
    int line = 0;
    char text[256] = {};
    BRgetFileError(lib, &line, text);
    L.ERRARG = line;
    msgtext(L.ERRTXT, sizeof L.ERRTXT, text);
    errmsh_(W, L, 182);
    status = 3;
    return;
  }
  brbpost_(L, 0, "Generating QUIRN equivalent ...");
  MpsModel m;
  int nl = 0, nn = 0, nq = 0, no = 0, ni = 0, nr = 0;
  int nv = 0, nc = 0;
  auto fail2 = [&]() {
    errmsh_(W, L, 181);
    status = 2;
  };
  if (BRgetDimensions(lib, &nv, &nc, &nl, &nn, &nq, &no, &ni, &nr) != 0) return fail2();
  m.nvars = nv;
  m.ncons = nc;
  m.nnz = nl;
  // names: every file name is at most its own length in the file, and defaults are short
  {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(name, ec);  // the file is not opened again
    int64_t room = ec ? 0 : (int64_t)size;
    room += 16 * ((int64_t)nv + nc) + 512;
    std::unique_ptr<char[]> rbuf(new char[(size_t)room]), vbuf(new char[(size_t)room]);
    std::vector<char*> rptr((size_t)nc + 1), vptr((size_t)nv + 1);
    char title[300] = {}, obj[300] = {}, rhs[300] = {}, rng[300] = {}, bnd[300] = {};
    if (BRgetNameData(lib, title, obj, rhs, rng, bnd, rptr.data(), rbuf.get(), vptr.data(), vbuf.get()) != 0)
      return fail2();
    m.title = title;
    m.objname = obj;
    m.rnames.resize((size_t)nc);
    m.vnames.resize((size_t)nv);
    for (int32_t i = 0; i < nc; ++i) m.rnames[(size_t)i] = rptr[(size_t)i];
    for (int32_t j = 0; j < nv; ++j) m.vnames[(size_t)j] = vptr[(size_t)j];
  }
  int32_t vpatched = 0, rpatched = 0;
  if (L.RCMPSN == 1) {
    for (int32_t j = 0; j < nv; ++j) m.vnames[(size_t)j] = usendx_('C', nv, j + 1);
    for (int32_t i = 0; i < nc; ++i) m.rnames[(size_t)i] = usendx_('R', nc, i + 1);
    m.objname = "ROBJ";
  }
  m.cost.resize((size_t)nv);
  m.rhs.resize((size_t)nc);
  m.ctype.resize((size_t)nc + 1);
  m.lb.resize((size_t)nv);
  m.ub.resize((size_t)nv);
  m.vtype.resize((size_t)nv + 1);
  if (BRgetLPData(lib, &m.sense, &m.objconst, m.cost.data(), m.rhs.data(), m.ctype.data(), nullptr, nullptr,
                  nullptr, nullptr, m.lb.data(), m.ub.data()) != 0)
    return fail2();
  if (BRgetVarType(lib, m.vtype.data()) != 0) return fail2();
  if (!readrows_(lib, m) || !finitedata(m)) return fail2();
  if (L.RCMPSN != 1) {
    // rows and variables share one name space in the model text: variables keep their
    // names first, and a row that meets one of them gives way
    NameFix nf;
    nf.run(m.vnames);
    vpatched = nf.changed;
    std::vector<std::string> rows = std::move(m.rnames);
    rows.push_back(m.objname);
    nf.changed = 0;
    nf.run(rows);
    rpatched = nf.changed;
    m.objname = rows.back();
    rows.pop_back();
    m.rnames = std::move(rows);
  }
  TextOut out;
  out.width = L.LINLEN;
  if (!m.title.empty()) wrttitle(out, m.title, L.COMCHR);
  int32_t st = 0;
  for (int32_t row = -1; row < nc; ++row) {
    writearow_(lib, L, out, m, row, st);
    if (st != 0) {
      errmsh_(W, L, 0);
      status = 5;
      return;
    }
    windoz_(L);
  }
  wrtintr_(out, m);
  wrtbnds_(out, m);
  if (!install(W, L, out)) {
    errmsh_(W, L, 0);
    status = 5;
    return;
  }
  phasetime_("model text installed");
  if (vpatched + rpatched > 0) {
    L.ERRARG = vpatched;
    L.ERRARG2 = rpatched;
    errmsh_(W, L, 179);
  }
}

// RMPS and FRMPS: the file name from the command line, then the import.
void dormps_(MasterRecord& L, Work& W, int32_t fixed) {
  char name[204];
  int32_t len = 0;
  getcomfil_(L, name, len);
  if (len == 0) return;
  if (!FEXISTS_(name)) {
    msgtext(L.ERRSTR, sizeof L.ERRSTR, name);
    errmsh_(W, L, 7);
    return;
  }
  int32_t status = 0;
  loadmps_(W, L, name, fixed, status);
}

QUIRN_UPCALL(readmps, dormps_);  // RMPS and FRMPS
