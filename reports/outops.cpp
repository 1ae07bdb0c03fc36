// The output operations of the DATA sections, carried out after every solve: @TEXT tables
// of named objects and @WRITE/@WRITEFOR records, to files or the current output unit.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "generate/blk.h"
#include "generate/eval.h"
#include "language/lang.h"
#include "language/reader.h"
#include "session/session.h"
#include "store/io.h"
#include "store/numedit.h"

namespace {

// Word k of the output-operation list.
int32_t opw(const Work& W, const MasterRecord& L, int64_t k) { return bgeti(W, L, L.OUTOPS, k); }

// A NUL-ended text of the list starting at word p; p is left after its NUL.
std::string optext(const Work& W, const MasterRecord& L, int64_t& p, int64_t end) {
  std::string s;
  while (p <= end && opw(W, L, p) != 0) s += (char)opw(W, L, p++);
  ++p;
  return s;
}

// The unit a statement writes to: the current output unit, a file already named in this
// run, or the file opened now (emptied unless append is asked). 0 with the message
// printed when it cannot be had.
int32_t unitfor(Work& W, MasterRecord& L, const std::string& name, char access) {
  if (name.empty()) return L.OUTUNIT;
  if (int32_t s = isfileopen_(L, name.c_str())) return L.INCUNIT[s];
  bool append = access == 'A' || access == 'a';
  int32_t h = append ? FOPEN_(name.c_str(), "a") : FOPENNEW_(name.c_str());
  std::snprintf(L.ERRSTR, sizeof L.ERRSTR, "%s", name.c_str());
  if (h == 0) {
    errmsh_(W, L, 48);
    return 0;
  }
  if (addfiletolist_(L, name.c_str(), h) != 0) {
    FDROP_(h);  // a full table: the file just opened is not kept
    errmsh_(W, L, 47);
    return 0;
  }
  return h;
}

// Closes every file of the run; a failed close is reported.
void closeall(Work& W, MasterRecord& L) {
  int guard = 0;
  for (int32_t s = L.INCHEAD; s > 0 && s <= INCSLOTS && guard <= INCSLOTS; s = L.INCNEXT[s], ++guard)
    if (L.INCUNIT[s] > 0 && FCLOSE_(L.INCUNIT[s]) != 0) {
      L.INCUNIT[s] = 0;
      errmsh_(W, L, 195);
    }
  shutfi_(L);
}

// Prints one line of a record, cut into pieces where it is longer than a line.
bool writepiece(MasterRecord& L, int32_t unit, const std::string& rec) {
  const int32_t n = (int32_t)rec.size();
  const int32_t maxlin = 200;
  int32_t s = 0;
  do {
    int32_t len = n - s;
    if (len > maxlin) {
      int32_t e = std::min(s + L.LINLEN, n);  // one past the stretch
      int32_t b = e - 1;
      while (b >= s && rec[b] != ' ') --b;
      len = (b >= s ? b + 1 : e) - s;
    }
    std::vector<char> line(203, ' ');
    std::memcpy(line.data(), rec.data() + s, (size_t)len);
    line[202] = 0;
    int32_t keep = L.LINLEN;
    L.LINLEN = maxlin;
    int32_t r = lprintlf_(L, unit, line.data(), std::max(len, 1));
    L.LINLEN = keep;
    if (r < 0) return false;
    s += len;
  } while (s < n);
  return true;
}

// Writes one record of a code statement: its line breaks end lines, and a break at its
// end ends the last line rather than adding an empty one.
bool writerecord(MasterRecord& L, int32_t unit, const std::string& rec) {
  size_t s = 0;
  while (s < rec.size()) {
    size_t e = rec.find('\n', s);
    size_t stop = e == std::string::npos ? rec.size() : e;
    size_t cut = stop > s && rec[stop - 1] == '\r' ? stop - 1 : stop;
    if (!writepiece(L, unit, rec.substr(s, cut - s))) return false;
    if (e == std::string::npos) break;
    s = e + 1;
  }
  return true;
}

// Writes the items the interpreter left, one record per flush. False when a write failed.
bool writeitems(Work& W, MasterRecord& L, int32_t unit) {
  std::string rec;
  int32_t taken = 0;
  for (int32_t i = 1; i <= L.ORBITEMS; ++i) {
    int32_t pos = bgeti(W, L, L.ORBPOS, i);
    if (bgeti(W, L, L.ORBKND, i) == 1) {
      for (int32_t c = pos; c <= L.ORBTXTN && bgetc(W, L, L.ORBTXT, c) != 0; ++c) rec += bgetc(W, L, L.ORBTXT, c);
    } else {
      double x = bgetd(W, L, L.ORBNUM, pos);
      if (x < 0.0) rec += '-';
      char t[64];
      int32_t len = 0;
      nm2txt_(x < 0.0 ? -x : x, t, len);
      len = std::max(0, std::min(len, 15));
      rec.append(t + 15 - len, (size_t)len);
    }
    if (++taken == L.ORBWRITES || i == L.ORBITEMS) {  // a last incomplete record is written too
      if (!writerecord(L, unit, rec)) return false;
      rec.clear();
      taken = 0;
    }
  }
  return true;
}

// One column of a @TEXT table: texts, or numbers by element.
struct Column {
  bool text = false;
  std::vector<std::string> texts;
  std::vector<double> nums;
  int32_t width = 16;
};

// The 16-character general field of a table value.
std::string numfield(double x) {
  char out[40];
  if (x == 0.0) {
    fedit_(0.0, 12, 7, out);
    return std::string(out) + "    ";
  }
  gedit_(x, 16, 8, out);
  return out;
}

// Prints one line of a table with its "E+00" exponents blanked.
bool tableline(MasterRecord& L, int32_t unit, const std::string& line) {
  std::vector<char> b(std::max<size_t>(line.size(), (size_t)std::max(L.LINLEN, 0)) + 8, ' ');
  std::memcpy(b.data(), line.data(), line.size());
  b.back() = 0;
  stripe00_(b.data(), L.LINLEN);
  return lprint_(L, unit, b.data(), (int32_t)line.size()) >= 0;
}

// Name of an object by its name type.
std::string objname(const Work& W, const MasterRecord& L, int32_t num, int32_t type) {
  if (type >= 12) return namestr(W, L, L.KSNAME, num);
  if (type >= 8) return namestr(W, L, L.ROWNAM, num);
  if (type >= 4) return namestr(W, L, L.KANAME, num);
  return namestr(W, L, L.SCLNAM, num);
}

// A name statement to a text destination. False ends the run.
bool textnames(Work& W, MasterRecord& L, int32_t n, int64_t p, int64_t end) {
  std::vector<Column> cols;
  std::vector<int32_t> nums, types;
  for (int32_t k = 0; k < n; ++k) nums.push_back(opw(W, L, p + k));
  for (int32_t k = 0; k < n; ++k) types.push_back(opw(W, L, p + n + k));
  int64_t q = p + (n > 0 ? 2 * (int64_t)n : 0);
  std::string file = optext(W, L, q, end);
  int32_t a = q <= end ? opw(W, L, q) : 0;
  if (a == 0 && q + 1 <= end) a = opw(W, L, q + 1);
  if (n == -1) {
    int32_t code = 0;
    status_(L, code);
    char out[40];
    iedit_(code, 16, out);
    int32_t unit = unitfor(W, L, file, (char)a);
    if (unit == 0 && !file.empty()) return true;
    std::string line = std::string(" ") + out;
    return lprint_(L, unit, line) >= 0;
  }
  int64_t lines = -1;
  bool anyobj = false;
  for (int32_t k = 0; k < n; ++k) {
    Column c;
    const int32_t t = types[k], idx = nums[k], mod = t & 3;
    if (t == 13) {
      c.text = true;
      std::string s;
      for (int32_t i = idx; i <= L.OUTTXTN && bgetc(W, L, L.OUTTXT, i) != 0; ++i) s += bgetc(W, L, L.OUTTXT, i);
      c.texts.push_back(s);
      c.width = (int32_t)s.size();
      cols.push_back(c);
      continue;
    }
    std::vector<int32_t> vars;
    if (t >= 0 && t <= 3) {
      vars.push_back(idx);
    } else if (t >= 4 && t <= 7) {
      for (int32_t s = 1; s <= L.NSETS; ++s) {
        int32_t lo = bgeti(W, L, L.LASTUB, s), hi = bgeti(W, L, L.LASTUB, s + 1);
        if (idx < lo || idx >= hi) continue;  // the set's attributes are numbered lo .. hi - 1
        int32_t na = hi - lo, first = bgeti(W, L, L.INANTR, s), m = bgeti(W, L, L.NNTRYS, s);
        for (int32_t j = 1; j <= m; ++j) vars.push_back(first + (idx - lo) + (j - 1) * na);
        break;
      }
    } else {
      return true;  // row and set columns are not written by this destination yet
    }
    if (mod != 0 && L.DUALCO < 1) {
      errmsh_(W, L, 140);
      return true;
    }
    if (mod >= 2 && L.DUALCO < 2) {
      errmsh_(W, L, 184);
      return true;
    }
    for (int32_t v : vars) {
      double value = 0.0, rc = 0.0;
      getxval_(W, L, v, value, rc, 1);
      if (mod == 1) value = rc;
      if (mod >= 2) {
        double cur = 0.0, inc = 1e30, dec = 1e30;
        getrangevar_(W, L, v, 1, cur, inc, dec);
        value = mod == 2 ? inc : dec;
      }
      chopoff_(L, value);
      c.nums.push_back(value);
    }
    if (lines >= 0 && lines != (int64_t)vars.size()) {
      // the statement's objects, three blanks apart, at most 60 characters
      std::string list;
      for (int32_t m = 0; m < n; ++m) {
        if (types[m] == 13) continue;
        list += (list.empty() ? "" : "   ") + objname(W, L, nums[m], types[m]);
      }
      if (list.size() > 60) list.resize(60);
      std::snprintf(L.ERRTXT, sizeof L.ERRTXT, "%s", list.c_str());
      errmsh_(W, L, 143);
      return true;
    }
    lines = (int64_t)vars.size();
    anyobj = true;
    cols.push_back(c);
  }
  if (!anyobj) lines = 1;
  int32_t unit = unitfor(W, L, file, (char)a);
  if (unit == 0 && !file.empty()) return true;
  for (int64_t e = 0; e < lines; ++e) {
    std::string line;
    for (const Column& c : cols) {
      std::string cell = c.text ? c.texts[0] : numfield(c.nums[(size_t)e]);
      if (c.text) cell.resize((size_t)c.width, ' ');
      if (!line.empty() && (int64_t)line.size() + 1 + c.width > L.LINLEN) {
        if (!tableline(L, unit, line)) return false;
        line.clear();
      }
      line += ' ';
      line += cell;
    }
    if (!tableline(L, unit, line)) return false;
  }
  return true;
}

}  // namespace

// Carries out every output statement of the model once, after a solve.
void runoutops_(Work& W, MasterRecord& L) {
  if (L.OUTENDN <= 0 || L.OUTOPN <= 0) return;
  brbpost_(L, 0, " Running output operations ...");
  if (L.TERSEO == 0) blankl_(L, L.OUTUNIT, 1);
  initfi_(L);
  bool ok = true;
  for (int32_t i = 1; i <= L.OUTENDN && ok; ++i) {
    const int64_t first = i > 1 ? (int64_t)bgeti(W, L, L.OUTENDS, i - 1) + 1 : 1;
    const int64_t end = bgeti(W, L, L.OUTENDS, i);
    const int32_t kind = opw(W, L, first);
    if (kind == 0) {
      closeall(W, L);  // the slots stay taken until the next run
      continue;
    }
    if (kind != 1) continue;
    if (end >= first + 2 && opw(W, L, first + 2) == -2) {
      const int32_t j = opw(W, L, first + 3);
      const int32_t lo = bgeti(W, L, L.OUTCODST, j), hi = bgeti(W, L, L.OUTCODST, j + 1) - 1;
      int32_t status = 0;
      double out = 0.0;
      // a fresh stack, no open loops and no index registers: a set loop of the statement
      // must see its own registers, not those a generation pass left behind
      L.STKTOP = 0;
      L.LFDEPTH = 0;
      L.IRCNT = 0;
      xecute_(W, L, L.OUTCODE, lo, hi, status, out);
      if (status != 0) {
        int32_t m = xstatmsg_(status);
        if (status == 16) L.ERRARG = i;
        if (m >= 0) errmsh_(W, L, m);
        ok = false;
        break;
      }
      int64_t p = first + 4;
      std::string file = optext(W, L, p, end);
      int32_t a = p <= end ? opw(W, L, p) : 0;
      if (a == 0 && p + 1 <= end) a = opw(W, L, p + 1);
      int32_t unit = unitfor(W, L, file, (char)a);
      if (unit == 0 && !file.empty()) {
        ok = false;
        break;
      }
      if (!writeitems(W, L, unit)) {
        errmsh_(W, L, 195);
        ok = false;
      }
    } else {
      if (!textnames(W, L, opw(W, L, first + 1), first + 2, end)) {
        errmsh_(W, L, 195);
        ok = false;
      }
    }
  }
  if (!ok) errmsh_(W, L, 134);
  L.ORBITEMS = L.ORBNUMN = L.ORBTXTN = 0;
  closeall(W, L);
}
