// The literal heap of the interface functions' text arguments, the expansion of their object
// lists, and the parsers that check and rebuild the argument texts of the spreadsheet and
// database links.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "language/values.h"
#include "store/hooks.h"

// Appends len characters and a terminator to the literal heap. Status 1 on a negative length,
// handle, count or capacity; 2 when the heap cannot grow; else 0.
void storelt_(Work& W, MasterRecord& L, int32_t& heap, int32_t& used, int32_t& cap, const char* text, int32_t len,
              int32_t& status) {
  status = 0;
  if (len < 0 || heap < 0 || used < 0 || cap < 0) {
    status = 1;
    return;
  }
  if (heap == 0 || (int64_t)used + len + 1 > cap) {
    int64_t want = std::max<int64_t>(2 * ((int64_t)len + used) + 2, 256);
    if (want > 2147483640LL) {
      status = 2;
      return;
    }
    int32_t cnt = (int32_t)want, st = 0;
    setblk_(1, cnt, W, L, heap, st);
    if (st != 0) {
      status = 2;
      return;
    }
    cap = cnt;
  }
  int64_t b = wbyte(L.START[heap]) + used;
  for (int32_t i = 0; i < len; ++i) cput(W, b + i, text[i]);
  cput(W, b + len, 0);
  used += len + 1;
}

// Copies the text starting at position start of the heap (up to its terminator) into text;
// len is the number of characters before the terminator.
void strfrmhp_(const Work& W, const MasterRecord& L, int32_t heap, int32_t start, char* text, int32_t& len) {
  len = 0;
  int64_t b = wbyte(L.START[heap]);
  int64_t end = (int64_t)L.LEN[heap] * 4;
  for (int64_t k = start; k <= end; ++k) {
    char c = cget(W, b + k - 1);
    text[len] = c;
    if (c == 0) return;
    ++len;
  }
  text[len] = 0;
}

// Copies the text after position pos of the heap into the integer list, one character code
// per word, the terminator included; pos ends on the terminator, listPos on its word.
void heapstrcpy_(Work& W, MasterRecord& L, int32_t heap, int32_t& pos, int32_t& list, int32_t& listPos,
                 int32_t& listCap, int32_t& status) {
  status = 0;
  int64_t end = (int64_t)L.LEN[heap] * 4;
  for (;;) {
    if (list == 0 || (int64_t)listPos + 1 > listCap) {
      int32_t cnt = listCap + 256;
      setblk_(2, cnt, W, L, list, status);
      if (status != 0) return;
      listCap = cnt;
    }
    ++pos;
    char c = pos <= end ? cget(W, wbyte(L.START[heap]) + pos - 1) : 0;
    iput(W, L, list, ++listPos, (int32_t)(unsigned char)c);
    if (c == 0) return;
  }
}

// Expands each derived set of an object list (type 12, kind 5) into one entry per index
// position: that position's primitive set, type 12, owner the derived set, kind 5. The new
// lists are blocks of their own. Status 1 when they cannot be had.
void expandarglist_(Work& W, MasterRecord& L, int32_t count, int32_t& newCount, const int32_t* num, const int32_t* type,
                    const int32_t* owner, const int32_t* kind, int32_t& newNum, int32_t& newType, int32_t& newOwner,
                    int32_t& newKind, int32_t& status) {
  status = 0;
  newCount = 0;
  int32_t cap = 0;
  int32_t* lists[4] = {&newNum, &newType, &newOwner, &newKind};
  auto add = [&](int32_t a, int32_t b, int32_t c, int32_t d) {
    if (newCount + 1 > cap) {
      int32_t want = std::max(2 * count + 2, 8);
      while (want < newCount + 1) want *= 2;
      for (int32_t* h : lists) {
        int32_t cnt = want, st = 0;
        setblk_(2, cnt, W, L, *h, st);
        if (st != 0) return false;
      }
      cap = want;
    }
    ++newCount;
    iput(W, L, newNum, newCount, a);
    iput(W, L, newType, newCount, b);
    iput(W, L, newOwner, newCount, c);
    iput(W, L, newKind, newCount, d);
    return true;
  };
  for (int32_t i = 0; i < count; ++i) {
    bool ok = true;
    if (type[i] == 12 && kind[i] == NTSETD && setdim(W, L, num[i]) > 0) {
      int32_t s = num[i], first = iget(W, L, L.LXSTUB, s);
      for (int32_t c = 0; c < setdim(W, L, s) && ok; ++c) ok = add(iget(W, L, L.NDXSTB, first + c), 12, s, NTSETD);
    } else {
      ok = add(num[i], type[i], owner[i], kind[i]);
    }
    if (!ok) {
      status = 1;
      return;
    }
  }
}

// ---- argument text lists of the spreadsheet and database links ----

namespace {

// The texts of an argument list; a text that holds only its terminator, or whose end entry
// is 0, is not given.
struct ArgList {
  std::vector<std::string> text;
  std::vector<bool> given;
};

ArgList read_args(const Work& W, const MasterRecord& L, int32_t ends, int32_t chars, int32_t count) {
  ArgList a;
  int32_t prev = 0;
  for (int32_t i = 1; i <= count; ++i) {
    int32_t end = ends > 0 ? iget(W, L, ends, i) : 0;
    std::string t;
    bool given = end > 0 && end > prev + 1;
    if (given)
      for (int32_t k = prev + 1; k < end; ++k) t += cget(W, wbyte(L.START[chars]) + k - 1);
    if (end > 0) prev = end;
    a.text.push_back(t);
    a.given.push_back(given);
  }
  return a;
}

// Replaces the caller's list by the texts; false when the blocks cannot be had (the caller's
// list is then left as it was).
bool write_args(Work& W, MasterRecord& L, const std::vector<std::string>& texts, int32_t& ends, int32_t& chars,
                int32_t& count, int32_t& endCap, int32_t& charCap) {
  int64_t need = 0;
  for (const std::string& t : texts) need += (int64_t)t.size() + 1;
  int32_t ne = std::max<int32_t>((int32_t)texts.size() + 2, 8), nc = (int32_t)std::max<int64_t>(2 * need, 64), st = 0;
  if (need > 2147483640LL / 2) return false;
  int32_t he = 0, hc = 0;
  setblk_(2, ne, W, L, he, st);
  if (st == 0) setblk_(1, nc, W, L, hc, st);
  if (st != 0) {
    if (he > 0) rlsblk_(L, he);
    if (hc > 0) rlsblk_(L, hc);
    return false;
  }
  int32_t pos = 0;
  for (size_t i = 0; i < texts.size(); ++i) {
    for (char c : texts[i]) cput(W, wbyte(L.START[hc]) + pos++, c);
    cput(W, wbyte(L.START[hc]) + pos++, 0);
    iput(W, L, he, (int64_t)i + 1, pos);
  }
  if (ends > 0) rlsblk_(L, ends);
  if (chars > 0) rlsblk_(L, chars);
  ends = he;
  chars = hc;
  count = (int32_t)texts.size();
  endCap = ne;
  charCap = nc;
  return true;
}

// Name of an object by its type: 0..3 scalar variable, 4..7 attribute, 8..11 row, 12 set.
std::string object_name(const Work& W, const MasterRecord& L, int32_t num, int32_t type) {
  if (type >= 12) return namestr(W, L, L.KSNAME, num);
  if (type >= 8) return namestr(W, L, L.ROWNAM, num);
  if (type >= 4) return namestr(W, L, L.KANAME, num);
  return namestr(W, L, L.SCLNAM, num);
}

void trace_args(MasterRecord& L, const char* head, const std::vector<std::string>& texts) {
  if (L.TRACELV < 4) return;
  outline(L, std::string(head) + std::to_string(texts.size()));
  for (const std::string& t : texts) outline(L, "    STRING( I)=" + t);
}

// The active workbook's name from the spreadsheet link; false when there is none.
bool active_workbook(std::string& name) {
  char buf[256] = {};
  if (XLXINIT_() == 0) return false;
  int32_t r = XLXGETNAMEOFACTIVEWORKBOOK_(buf);
  XLXEXIT_();
  if (r == 0) return false;
  name = buf;
  return true;
}

}  // namespace

// Checks and rebuilds the texts of a spreadsheet link: the workbook (and with bit 0 of extra
// a second fixed text), then one range for all objects or one per object, missing ranges
// named after their objects (with setMode 1 the call names one set). Status 0; 1 no storage;
// 2 a wrong number of texts or an unnamed active workbook; 6 no active workbook.
void ssargs_(Work& W, MasterRecord& L, int32_t setMode, int32_t objectCount, int32_t& ends, int32_t& chars,
             int32_t& count, int32_t& endCap, int32_t& charCap, int32_t setOrNumbers, int32_t types, int32_t extra,
             int32_t& status) {
  status = 0;
  int32_t n = setMode == 1 ? std::max(setdim(W, L, setOrNumbers), 1) : objectCount;
  int32_t fixed = (extra & 1) ? 2 : 1;
  ArgList a = read_args(W, L, ends, chars, count);
  if (count == 0) {
    std::string wb;
    if (!active_workbook(wb)) {
      status = 6;
      return;
    }
    if (wb.empty()) {
      status = 2;
      return;
    }
    a.text = {wb};
    a.given = {true};
  }
  int32_t c = (int32_t)a.text.size();
  if (c != fixed && c != fixed + 1 && c != n + fixed) {
    status = 2;
    return;
  }
  std::vector<std::string> out(a.text.begin(), a.text.begin() + fixed);
  if (c == fixed + 1) {
    out.push_back(a.text[(size_t)fixed]);
  } else if (setMode == 1 && c < fixed + 2) {
    out.push_back(namestr(W, L, L.KSNAME, setOrNumbers));
  } else {
    for (int32_t i = 0; i < n; ++i) {
      size_t k = (size_t)(fixed + i);
      if (k < a.text.size() && a.given[k]) out.push_back(a.text[k]);
      else if (setMode == 1) out.push_back(namestr(W, L, L.KSNAME, setOrNumbers));
      else out.push_back(object_name(W, L, iget(W, L, setOrNumbers, i + 1), iget(W, L, types, i + 1)));
    }
  }
  if (!write_args(W, L, out, ends, chars, count, endCap, charCap)) {
    status = 1;
    return;
  }
  trace_args(L, " LEAVING SSARGS, NTXTLIT = ", out);
}

// Checks and rebuilds the texts of a database link: data source, table and one column per
// object; missing ones default to the model title, the owning set's name and the objects'
// names. With rows (odbcarg3_) rows are accepted and every object must have the same length.
// Status 0; 1 a wrong number of texts; 2 no storage; 3 objects of different lengths (the
// object's name in ERRTXT).
static void odbcargs(Work& W, MasterRecord& L, int32_t setMode, int32_t objectCount, int32_t& ends, int32_t& chars,
                     int32_t& count, int32_t& endCap, int32_t& charCap, int32_t setOrNumbers, int32_t types,
                     bool rows, const char* head, int32_t& status) {
  status = 0;
  std::vector<std::string> cols;
  std::vector<int32_t> num, typ;
  if (setMode == 1) {
    int32_t s = setOrNumbers, d = setdim(W, L, s);
    if (d == 0) cols.push_back(namestr(W, L, L.KSNAME, s));
    for (int32_t c = 0; c < d; ++c)
      cols.push_back(namestr(W, L, L.KSNAME, iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s) + c)));
  } else {
    for (int32_t i = 1; i <= objectCount; ++i) {
      num.push_back(iget(W, L, setOrNumbers, i));
      typ.push_back(iget(W, L, types, i));
    }
    int64_t len = -1;
    for (size_t i = 0; i < num.size(); ++i) {
      int32_t t = typ[i];
      if (t >= 8 && t < 12 && !rows) {
        status = 1;
        return;
      }
      if (rows) {
        int64_t l = t >= 12 ? iget(W, L, L.NNTRYS, num[i])
                    : t >= 8 ? -1
                    : t >= 4 ? iget(W, L, L.NNTRYS, iget(W, L, L.IDOWNR, num[i]))
                             : 1;
        if (l >= 0 && len >= 0 && l != len) {
          std::string nm = object_name(W, L, num[i], t);
          std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
          std::memcpy(L.ERRTXT, nm.data(), std::min(nm.size(), sizeof L.ERRTXT - 1));
          status = 3;
          return;
        }
        if (l >= 0) len = l;
      }
      if (t >= 12 && setdim(W, L, num[i]) > 0) {
        int32_t s = num[i];
        for (int32_t c = 0; c < setdim(W, L, s); ++c)
          cols.push_back(namestr(W, L, L.KSNAME, iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s) + c)));
      } else {
        cols.push_back(object_name(W, L, num[i], t));
      }
    }
  }
  int32_t n = (int32_t)cols.size();
  ArgList a = read_args(W, L, ends, chars, count);
  int32_t c = (int32_t)a.text.size();
  if (!(c < 3 || c == n + 2)) {
    status = 1;
    return;
  }
  std::vector<std::string> out;
  if (c == 0) {
    std::string title;
    for (int32_t i = 0; i < L.TITLEN && L.TITLBLK > 0; ++i) title += cget(W, wbyte(L.START[L.TITLBLK]) + i);
    out.push_back(title);
  } else {
    out.push_back(a.text[0]);
  }
  if (c >= 2 && a.given[1]) {
    out.push_back(a.text[1]);
  } else {
    int32_t owner = 0;
    if (setMode == 1) owner = setOrNumbers;
    else if (!num.empty()) owner = typ[0] >= 12 ? num[0] : typ[0] >= 4 && typ[0] < 8 ? iget(W, L, L.IDOWNR, num[0]) : 0;
    out.push_back(owner > 0 ? namestr(W, L, L.KSNAME, owner) : std::string());
  }
  for (int32_t i = 0; i < n; ++i) {
    size_t k = (size_t)i + 2;
    out.push_back(k < a.text.size() && a.given[k] ? a.text[k] : cols[(size_t)i]);
  }
  if (!write_args(W, L, out, ends, chars, count, endCap, charCap)) {
    status = 2;
    return;
  }
  trace_args(L, head, out);
}

void odbcargs_(Work& W, MasterRecord& L, int32_t setMode, int32_t objectCount, int32_t& ends, int32_t& chars,
               int32_t& count, int32_t& endCap, int32_t& charCap, int32_t setOrNumbers, int32_t types,
               int32_t& status) {
  odbcargs(W, L, setMode, objectCount, ends, chars, count, endCap, charCap, setOrNumbers, types, false,
           " LEAVING ODBCARGS, NTXTLIT = ", status);
}

void odbcarg3_(Work& W, MasterRecord& L, int32_t objectCount, int32_t& ends, int32_t& chars, int32_t& count,
               int32_t& endCap, int32_t& charCap, int32_t numbers, int32_t types, int32_t& status) {
  odbcargs(W, L, 0, objectCount, ends, chars, count, endCap, charCap, numbers, types, true,
           " LEAVING ODBCARG3, NTXTLIT = ", status);
}

// odbcargs_ on copies of the caller's object lists, which stay as they were.
void odbcarg2_(Work& W, MasterRecord& L, int32_t setMode, int32_t objectCount, int32_t& ends, int32_t& chars,
               int32_t& count, int32_t& endCap, int32_t& charCap, int32_t setOrNumbers, int32_t types,
               int32_t& status) {
  int32_t nums = setOrNumbers, typs = types, st = 0;
  if (setMode != 1) {
    nums = typs = 0;
    cloneb_(W, L, setOrNumbers, nums, st);
    if (st == 0) cloneb_(W, L, types, typs, st);
    if (st != 0) {
      if (nums > 0) rlsblk_(L, nums);
      if (typs > 0) rlsblk_(L, typs);
      status = 2;
      return;
    }
  }
  odbcargs_(W, L, setMode, objectCount, ends, chars, count, endCap, charCap, nums, typs, status);
  if (setMode != 1) {
    rlsblk_(L, nums);
    rlsblk_(L, typs);
  }
}

// The spreadsheet link of an output statement or of @OLE input: the object lists are shown
// at trace level 4, derived sets are expanded into their index positions (the lists are
// replaced), then the texts are checked and rebuilt as by ssargs_. Status 0; 1 no storage;
// 2 a wrong number of texts; 4 no active workbook; 7 the workbook cannot be opened (its name
// in ERRSTR) when one range is to be split among several objects.
void ssargs4_(Work& W, MasterRecord& L, int32_t& objectCount, int32_t& ends, int32_t& chars, int32_t& count,
              int32_t& endCap, int32_t& charCap, int32_t& numbers, int32_t& types, int32_t& owners, int32_t& kinds,
              int32_t& status) {
  status = 0;
  std::vector<int32_t> num, typ, own, knd;
  for (int32_t i = 1; i <= objectCount; ++i) {
    num.push_back(iget(W, L, numbers, i));
    typ.push_back(iget(W, L, types, i));
    own.push_back(iget(W, L, owners, i));
    knd.push_back(iget(W, L, kinds, i));
  }
  if (L.TRACELV >= 4) {
    std::string t = " ON ENTRY-> ";
    for (size_t i = 0; i < num.size(); ++i) t += " " + std::to_string(num[i]) + "/" + std::to_string(typ[i]);
    outline(L, t);
  }
  int32_t n = 0, a = 0, b = 0, c = 0, d = 0;
  expandarglist_(W, L, objectCount, n, num.data(), typ.data(), own.data(), knd.data(), a, b, c, d, status);
  if (status != 0) {
    for (int32_t* h : {&a, &b, &c, &d})
      if (*h > 0) rlsblk_(L, *h);
    return;
  }
  for (auto [h, nh] : {std::pair{&numbers, a}, std::pair{&types, b}, std::pair{&owners, c}, std::pair{&kinds, d}}) {
    if (*h > 0) rlsblk_(L, *h);
    *h = nh;
  }
  objectCount = n;
  ArgList args = read_args(W, L, ends, chars, count);
  if (count == 0) {
    std::string wb;
    if (!active_workbook(wb) || wb.empty()) {
      status = 4;
      return;
    }
  }
  if (count != 1 && count != 2 && count != n + 1) {
    status = 2;
    return;
  }
  if (count == 2 && n > 1) {
    // one range for several objects: its shape comes from the workbook
    std::string wb = args.text[0];
    if (XLXOPENFILE_(wb.c_str()) == 0) {
      std::memset(L.ERRSTR, ' ', sizeof L.ERRSTR - 1);
      L.ERRSTR[sizeof L.ERRSTR - 1] = 0;
      std::memcpy(L.ERRSTR, wb.data(), std::min(wb.size(), sizeof L.ERRSTR - 1));
      status = 7;
      return;
    }
  }
  ssargs_(W, L, 0, n, ends, chars, count, endCap, charCap, numbers, types, 0, status);
}
