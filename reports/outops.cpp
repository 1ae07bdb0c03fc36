// The output operations of the DATA sections, carried out after every solve: @TEXT tables
// of named objects and @WRITE/@WRITEFOR records to files or the current output unit, values
// handed to an embedding program (@POINTER), and the database and spreadsheet links.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "generate/blk.h"
#include "generate/eval.h"
#include "language/lang.h"
#include "language/reader.h"
#include "reports/exchange.h"
#include "session/session.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/numedit.h"
#include "store/store.h"

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
// run, or the file opened now (emptied unless append is asked). Files are written as new
// versions that replace the old ones when closed whole. 0 with the message printed when it
// cannot be had.
int32_t unitfor(Work& W, MasterRecord& L, const std::string& name, char access) {
  if (name.empty()) return L.OUTUNIT;
  if (int32_t s = isfileopen_(L, name.c_str())) {
    if (L.INCUNIT[s] > 0) return L.INCUNIT[s];
    // closed at the end of an earlier DATA section of this run: written on, not emptied
    int32_t h = FOPENNEW_(name.c_str(), true);
    if (h == 0) {
      std::snprintf(L.ERRSTR, sizeof L.ERRSTR, "%s", name.c_str());
      errmsh_(W, L, 48);
      return 0;
    }
    L.INCUNIT[s] = h;
    return h;
  }
  bool append = access == 'A' || access == 'a';
  int32_t h = FOPENNEW_(name.c_str(), append);
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

// Closes every file of the run; a failed close is reported. The slots keep their names
// until the run ends, so a file closed at the end of one DATA section is not emptied again
// by a later section that names it.
void closeunits(Work& W, MasterRecord& L) {
  int guard = 0;
  for (int32_t s = L.INCHEAD; s > 0 && s <= INCSLOTS && guard <= INCSLOTS; s = L.INCNEXT[s], ++guard)
    if (L.INCUNIT[s] > 0 && FCLOSE_(L.INCUNIT[s]) != 0) {
      L.INCUNIT[s] = 0;
      errmsh_(W, L, 195);
    }
}

// Closes every file of the run and empties the list of the files it named.
void closeall(Work& W, MasterRecord& L) {
  closeunits(W, L);
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
    std::vector<char> line((size_t)std::max(len, 202) + 1, ' ');
    std::memcpy(line.data(), rec.data() + s, (size_t)len);
    line.back() = 0;
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
  int32_t taken = 0, flush = 1;
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
    // a record ends where a flush of the interpreter ended (by the write count when the
    // flushes were not recorded); items left after the last complete record are written too
    bool last = L.ORBFLUSHN > 0 ? (flush <= L.ORBFLUSHN && i == bgeti(W, L, L.ORBAUX, flush)) : ++taken == L.ORBWRITES;
    if (last || i == L.ORBITEMS) {
      while (flush <= L.ORBFLUSHN && bgeti(W, L, L.ORBAUX, flush) <= i) ++flush;  // empty flushes too
      if (!writerecord(L, unit, rec)) return false;
      rec.clear();
      taken = 0;
    }
  }
  return true;
}

// One column of a @TEXT table: texts by line (one text on every line for a literal), or
// numbers by element.
struct Column {
  bool text = false, literal = false;
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
std::string objname(const Work& W, MasterRecord& L, int32_t num, int32_t type) {
  if (type == 13) {
    std::string s;
    for (int32_t i = num; i >= 1 && i <= L.OUTTXTN && bgetc(W, L, L.OUTTXT, i) != 0; ++i) s += bgetc(W, L, L.OUTTXT, i);
    return s;
  }
  if (type == 12) return namestr(W, L, L.KSNAME, num);
  if (type >= 8 && type <= 11) return namestr(W, L, L.ROWNAM, num);
  if (type >= 4 && type <= 7) return namestr(W, L, L.KANAME, num);
  if (type >= 0 && type <= 3) return namestr(W, L, L.SCLNAM, num);
  fatal_(L, "BAD NAME TYPE");
}

// The member names of set s, one text column per index position (one for a primitive set).
std::vector<Column> setcolumns(const Work& W, const MasterRecord& L, int32_t s) {
  const int32_t d = setdim(W, L, s), m = bgeti(W, L, L.NNTRYS, s), first = bgeti(W, L, L.INXNTR, s);
  auto member = [&](int64_t k) {  // entry k of the primitive-member names, trimmed
    int32_t n = 32;
    while (n > 0 && bgetc(W, L, L.KPNAME, (k - 1) * 32 + n) == ' ') --n;
    std::string t;
    for (int32_t c = 1; c <= n; ++c) t += bgetc(W, L, L.KPNAME, (k - 1) * 32 + c);
    return t;
  };
  std::vector<Column> cols((size_t)std::max(d, 1));
  for (Column& c : cols) {
    c.text = true;
    c.width = 0;
  }
  for (int32_t e = 1; e <= m; ++e) {
    if (d == 0) {
      cols[0].texts.push_back(member((int64_t)first + e - 1));
      continue;
    }
    const int32_t stub = bgeti(W, L, L.LXSTUB, s);
    for (int32_t j = 0; j < d; ++j) {
      const int32_t prim = bgeti(W, L, L.NDXSTB, stub + j);
      const int32_t pos = bgeti(W, L, L.NDRVEL, (int64_t)first + (int64_t)(e - 1) * d + j);
      cols[(size_t)j].texts.push_back(member((int64_t)bgeti(W, L, L.INXNTR, prim) + pos - 1));
    }
  }
  for (Column& c : cols)
    for (const std::string& t : c.texts) c.width = std::max(c.width, (int32_t)t.size());
  return cols;
}

// Reads a record's NUL-ended texts from word p up to an empty text (or the record's end).
std::vector<std::string> optexts(const Work& W, const MasterRecord& L, int64_t& p, int64_t end) {
  std::vector<std::string> out;
  while (p <= end && opw(W, L, p) != 0) out.push_back(optext(W, L, p, end));
  ++p;  // the empty text that ends the list
  return out;
}

// NUL-separated list of texts, ended by one more NUL.
std::string nullist(const std::vector<std::string>& texts) {
  std::string s;
  for (const std::string& t : texts) s += t + '\0';
  return s + '\0';
}

// The pointer number written in a @POINTER statement; false when it is not a whole number.
bool pointernumber(const std::string& text, int32_t& ptrno) {
  const char* b = text.c_str();
  while (*b == ' ') ++b;
  char* e = nullptr;
  double v = std::strtod(b, &e);
  if (e == b) return false;
  while (*e == ' ') ++e;
  if (*e != 0 || !(std::fabs(v) <= 2147483640.0) || v != std::trunc(v)) return false;
  ptrno = (int32_t)v;
  return true;
}

// A code statement to a spreadsheet range: the link is started and the workbook opened;
// on this platform the link fails at its start. False ends the run.
bool sheetitems(Work& W, MasterRecord& L, const std::string& workbook, const std::vector<std::string>& ranges) {
  int32_t book = XLXINIT_(L);
  if (book == 0) {
    errmsh_(W, L, 30);
    return false;
  }
  bool ok = XLXOPENFILE_(book, workbook.c_str()) != 0;
  if (!ok) {
    std::snprintf(L.ERRSTR, sizeof L.ERRSTR, "%s", workbook.c_str());
    errmsh_(W, L, 48);
  }
  const int32_t r = std::max<int32_t>((int32_t)ranges.size(), 1), share = L.ORBITEMS / r;
  for (size_t k = 0; ok && k < ranges.size(); ++k) {
    std::snprintf(L.ERRTXT, sizeof L.ERRTXT, "%s", ranges[k].c_str());
    int32_t kind = 0, cells = 0, written = 0;
    if (XLXGETCELLCOUNT_(book, ranges[k].c_str(), kind) == 0 && kind == 0) {
      errmsh_(W, L, 53);
      ok = false;
    } else if (XLXMIXEDRANGEWRITE_(book, ranges[k].c_str(), share, L.ORBKND, L.ORBPOS, L.FILOUT, cells, written) == 0) {
      errmsh_(W, L, 30);
      ok = false;
    } else if (cells < share) {
      L.ERRARG = cells;
      L.ERRARG2 = L.ORBITEMS;
      errmsh_(W, L, 224);
      ok = false;
    } else if (L.TERSEO != 1) {
      olerep2_(L, workbook.c_str(), ranges[k].c_str(), (int32_t)ranges[k].size(), cells, written,
               L.FILOUT != 0 ? std::max(cells - written, 0) : 0);
    }
  }
  XLXEXIT_(book);
  return ok;
}

// A code statement to a database table; on this platform the data source cannot be opened.
// False ends the run.
bool dbitems(Work& W, MasterRecord& L, const std::string& source, const std::string& table,
             const std::vector<std::string>& cols) {
  int32_t st = 0;
  initdbs_(W, L, source.c_str(), (int32_t)std::min<size_t>(source.size(), 202), st);
  // status 1 is also a database object that the link could not create: its text is then
  // the reason, which is no shortage of storage
  if (st == 1 && (L.ERRTXT[0] == ' ' || L.ERRTXT[0] == 0)) {
    errmsh_(W, L, 0);
    return false;
  }
  if (st != 0) {
    errmsh_(W, L, 38);
    return false;
  }
  std::string names = nullist(cols);
  int32_t rows = 0, cells = 0;
  const int32_t n = std::max<int32_t>((int32_t)cols.size(), 1);
  if (ODBCPUT_(L.DBHANDLE, table.c_str(), n, names.c_str(), L.ORBITEMS, L.ORBKND, L.ORBPOS, L.FILOUT, rows, cells,
               L.ERRTXT) == 0) {
    errmsh_(W, L, 38);
    return false;
  }
  if (L.TERSEO != 1)
    odbcrep_(L, source.c_str(), (int32_t)source.size(), table.c_str(), (int32_t)table.size(), n, names.c_str(),
             cells / n, rows);
  return true;
}

// A code statement: its code is run and the items it leaves go to the statement's
// destination. False ends the run (the message printed).
bool codestatement(Work& W, MasterRecord& L, int32_t i, int32_t kind, int64_t first, int64_t end) {
  const int32_t j = opw(W, L, first + 3);
  if (j < 1 || j > L.OUTCODN) return true;
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
    return false;
  }
  int64_t p = first + 4;
  if (kind == 1) {
    std::string file = optext(W, L, p, end);
    int32_t a = p <= end ? opw(W, L, p) : 0;
    if (a == 0 && p + 1 <= end) a = opw(W, L, p + 1);
    int32_t unit = unitfor(W, L, file, (char)a);
    if (unit == 0 && !file.empty()) return false;
    if (!writeitems(W, L, unit)) {
      errmsh_(W, L, 195);
      return false;
    }
    return true;
  }
  std::vector<std::string> texts = optexts(W, L, p, end);
  texts.resize(std::max<size_t>(texts.size(), kind == 3 ? 2 : 1));
  if (kind == 2) return sheetitems(W, L, texts[0], std::vector<std::string>(texts.begin() + 1, texts.end()));
  const int32_t n = opw(W, L, first + 1);
  std::vector<std::string> cols(texts.begin() + 2, texts.end());
  if (n >= 0 && (int64_t)cols.size() > n) cols.resize((size_t)n);
  return dbitems(W, L, texts[0], texts[1], cols);
}

// A @POINTER name statement. False ends the run.
bool pointerstatement(Work& W, MasterRecord& L, int32_t n, int64_t p, int64_t end) {
  std::vector<int32_t> nums, types;
  for (int32_t k = 0; k < n; ++k) nums.push_back(opw(W, L, p + k));
  for (int32_t k = 0; k < n; ++k) types.push_back(opw(W, L, p + n + k));
  int64_t q = p + (n > 0 ? 2 * (int64_t)n : 0);
  std::string text = optext(W, L, q, end);
  int32_t ptrno = 0;
  const bool whole = pointernumber(text, ptrno);
  if (n == -1) {
    if (!whole) {
      errmsh_(W, L, 144);
      return true;
    }
    int32_t st = 0;
    ptrput_(W, L, ptrno, "", -1, st);
    if (st > 0) {
      L.ERRARG = st;
      errmsh_(W, L, 145);
      return false;
    }
    return true;
  }
  int32_t block = 0, cap = 100, st = 0, count = 0;
  setblk_(6, cap, W, L, block, st);
  if (st != 0) {
    if (block > 0) rlsblk_(L, block);
    errmsh_(W, L, 0);
    return false;
  }
  for (int32_t e = 1; e <= cap; ++e) bputd(W, L, block, e, 0.0);
  int32_t status = 0;
  for (int32_t k = 1; k <= n && status <= 0; ++k) {
    std::string name = objname(W, L, nums[(size_t)k - 1], types[(size_t)k - 1]);
    int32_t placed = 0;
    ptrput2_(W, L, block, cap, name.c_str(), types[(size_t)k - 1], k, n, placed, status);
    count = std::max(count, placed);
  }
  bool ok = true;
  if (status > 0) {
    L.ERRARG = status;
    errmsh_(W, L, 145);
    ok = false;
  } else if (!whole) {
    errmsh_(W, L, 144);
  } else {
    if (n > 0 && count % n != 0) count += n - count % n;  // whole rows: places no object filled hold 0
    if (count > cap) count = cap;
    std::vector<double> vals((size_t)count);
    for (int32_t e = 1; e <= count; ++e) vals[(size_t)e - 1] = bgetd(W, L, block, e);
    if (putptrvals_(L.PTRTAB, ptrno, count, vals.data()) != 0) {
      L.ERRARG = ptrno;
      errmsh_(W, L, 107);
    }
  }
  rlsblk_(L, block);
  return ok;
}

// A @TEXT name statement. False ends the run.
bool textstatement(Work& W, MasterRecord& L, int32_t n, int64_t p, int64_t end) {
  std::vector<std::string> names;
  std::vector<int32_t> types;
  for (int32_t k = 0; k < n; ++k) types.push_back(opw(W, L, p + n + k));
  for (int32_t k = 0; k < n; ++k) names.push_back(objname(W, L, opw(W, L, p + k), types[(size_t)k]));
  int64_t q = p + (n > 0 ? 2 * (int64_t)n : 0);
  std::string file = optext(W, L, q, end);
  if (file.size() > 200) file.resize(200);
  int32_t a = q <= end ? opw(W, L, q) : 0;
  if (a == 0 && q + 1 <= end) a = opw(W, L, q + 1);
  int32_t status = 0;
  exportf_(W, L, file, n, names, types, (char)a, status);
  if (status > 0) {
    L.ERRARG = status;
    errmsh_(W, L, 136);
    return false;
  }
  return true;
}

// A database or spreadsheet name statement: its driver reports its own failure and the run
// goes on.
void linkstatement(Work& W, MasterRecord& L, int32_t kind, int32_t n, int64_t p, int64_t end) {
  std::vector<std::string> names;
  for (int32_t k = 0; k < n; ++k) names.push_back(objname(W, L, opw(W, L, p + k), opw(W, L, p + n + k)));
  int64_t q = p + (n > 0 ? 2 * (int64_t)n : 0);
  std::vector<std::string> texts = optexts(W, L, q, end);
  int32_t st = 0;
  cmpact_(W, L);
  if (kind == 3) {
    texts.resize(std::max<size_t>(texts.size(), 2));
    std::vector<std::string> cols(texts.begin() + 2, texts.end());
    std::string attrs = nullist(names), colnames = nullist(cols);
    odbcexp_(W, L, std::max(n, 0), texts[0].c_str(), (int32_t)texts[0].size(), texts[1].c_str(),
             (int32_t)texts[1].size(), attrs.c_str(), colnames.c_str(), st);
  } else {
    std::string workbook = kind == 4 && !texts.empty() ? texts[0] : std::string();
    exportx_(W, L, workbook.c_str(), st);
  }
}

// Releases the output result buffers of the interpreter.
void releaseitems(MasterRecord& L) {
  for (int32_t* h : {&L.ORBKND, &L.ORBPOS, &L.ORBTXT, &L.ORBNUM, &L.ORBAUX})
    if (*h > 0) rlsblk_(L, *h);
  L.ORBITEMS = L.ORBNUMN = L.ORBTXTN = L.ORBWRITES = L.ORBFLUSHN = 0;
  L.ORBITEMCAP = L.ORBTXTCAP = L.ORBNUMCAP = 0;
}

}  // namespace

// The @TEXT table of named objects: one line per element, one column per object.
void exportf_(Work& W, MasterRecord& L, const std::string& file, int32_t n, const std::vector<std::string>& names,
              const std::vector<int32_t>& types, char access, int32_t& status) {
  status = 0;
  std::vector<Column> cols;
  int64_t lines = -1;
  if (n == -1) {
    int32_t code = 0;
    status_(L, code);
    char out[40];
    iedit_(code, 16, out);
    Column c;
    c.text = c.literal = true;
    c.texts.push_back(out);
    c.width = 16;
    cols.push_back(c);
  }
  std::vector<std::string> objects;  // the names of the objects that are not literals
  for (int32_t k = 0; k < n && k < (int32_t)names.size() && k < (int32_t)types.size(); ++k) {
    const int32_t t = types[(size_t)k];
    const std::string& nm = names[(size_t)k];
    if (t == 13) {
      Column c;
      c.text = c.literal = true;
      c.texts.push_back(nm);
      c.width = (int32_t)nm.size();
      cols.push_back(c);
      continue;
    }
    std::string key = nm.substr(0, std::min<size_t>(nm.size(), 32));
    key.resize(32, ' ');
    int32_t kind = 0, index = 0;
    fndnmm_(W, L, key.c_str(), kind, index);
    int64_t m = 0;
    if (t == 12) {
      if (kind != 1) {
        unknownname_(W, L, nm);
        return;
      }
      std::vector<Column> sc = setcolumns(W, L, index);
      m = bgeti(W, L, L.NNTRYS, index);
      for (Column& c : sc) cols.push_back(std::move(c));
    } else {
      if (kind != 2 && kind != 4 && kind != 5) {
        unknownname_(W, L, nm);
        return;
      }
      Column c;
      bool removed = false;
      int32_t msg = outvalues_(W, L, kind, index, t & 3, c.nums, removed);
      if (msg >= 0) {
        errmsh_(W, L, msg);
        if (msg == 0) status = 2;
        if (msg == 142) status = 1;
        return;
      }
      m = (int64_t)c.nums.size();
      cols.push_back(std::move(c));
    }
    objects.push_back(nm);
    if (lines >= 0 && lines != m) {
      // the statement's objects, three blanks apart, at most 60 characters
      std::string list;
      for (int32_t j = 0; j < n && j < (int32_t)names.size(); ++j)
        if (types[(size_t)j] != 13) list += (list.empty() ? "" : "   ") + names[(size_t)j];
      if (list.size() > 60) list.resize(60);
      std::snprintf(L.ERRTXT, sizeof L.ERRTXT, "%s", list.c_str());
      errmsh_(W, L, 143);
      return;
    }
    lines = m;
  }
  if (lines < 0) lines = 1;  // only text literals (or the status code): one line
  if (lines == 0) return;
  int32_t unit = unitfor(W, L, file, access);
  if (unit == 0 && !file.empty()) return;
  for (int64_t e = 0; e < lines; ++e) {
    std::string line;
    for (const Column& c : cols) {
      std::string cell;
      if (c.text) {
        cell = c.literal ? c.texts[0] : c.texts[(size_t)e];
        cell.resize((size_t)c.width, ' ');
      } else {
        cell = numfield(c.nums[(size_t)e]);
      }
      if (!line.empty() && (int64_t)line.size() + 1 + (int64_t)cell.size() > L.LINLEN) {
        if (!tableline(L, unit, line)) {
          errmsh_(W, L, 195);
          return;
        }
        line.clear();
      }
      line += ' ';
      line += cell;
    }
    if (!tableline(L, unit, line)) {
      errmsh_(W, L, 195);
      return;
    }
  }
}

// Carries out every output statement of the model once, after a solve. Any failure ends
// the run with message 134; the solve is not affected.
void runoutops_(Work& W, MasterRecord& L) {
  releaseitems(L);
  L.SHOWPOS = 0;
  XLXEXIT_(L);
  bool ok = true, started = false;
  if (L.OUTENDN > 0 && L.OUTOPN > 0) {
    started = true;
    brbremv_(L);
    brbpost_(L, 0, " Running output operations ...");
    if (L.TERSEO == 0) blankl_(L, L.OUTUNIT, 1);
    initfi_(L);
  }
  for (int32_t i = 1; started && i <= L.OUTENDN && ok; ++i) {
    const int64_t first = i > 1 ? (int64_t)bgeti(W, L, L.OUTENDS, i - 1) + 1 : 1;
    const int64_t end = bgeti(W, L, L.OUTENDS, i);
    if (first > end) continue;
    const int32_t kind = opw(W, L, first);
    if (kind == 0) {
      closeunits(W, L);  // the slots stay taken until the next run
      continue;
    }
    if (end >= first + 3 && kind >= 1 && kind <= 3 && opw(W, L, first + 2) == -2) {
      ok = codestatement(W, L, i, kind, first, end);
      continue;
    }
    const int32_t n = end >= first + 1 ? opw(W, L, first + 1) : 0;
    if (n < -1 || first + 2 + 2 * (int64_t)std::max(n, 0) - 1 > end) continue;  // a malformed record
    switch (kind) {
      case 5: ok = pointerstatement(W, L, n, first + 2, end); break;
      case 1:
        if (!textstatement(W, L, n, first + 2, end)) ok = false;
        break;
      case 2: case 3: case 4: linkstatement(W, L, kind, n, first + 2, end); break;
      default: break;
    }
  }
  if (!ok) errmsh_(W, L, 134);
  // the end of the run, also when there was nothing to do
  releaseitems(L);
  if (started) {
    brbremv_(L);
    closeall(W, L);
  }
  L.SHOWPOS = 1;
  XLXEXIT_(L);
  if (L.DBHANDLE != 0) {  // the link is ended: no data source stays recorded as open
    odbcend_(L.DBHANDLE);
    L.DBHANDLE = 0;
    L.DBSRCLN = 0;
  }
}
