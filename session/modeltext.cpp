// Model text entry (MODEL, EXT, the row-syntax and one-line commands, HMODEL), listing
// (LOOK, SAVE), deletion (DEL) and the saved copies that tell whether the text changed.
#include "session/modeltext.h"

#include <cstring>
#include <string>

#include "store/io.h"
#include "store/store.h"
#include "store/upcalls.h"

namespace {

constexpr int32_t MAXLINES = 2147483639;   // most lines a model may have
constexpr int32_t MAXCHARS = 1073741820;   // the text stays below this many characters
constexpr int32_t LINEBUF = 204;

// Used characters of the stored text.
int32_t used(const Work& W, const MasterRecord& L) { return lixget(W, L, L.MODLINES + 1) - 1; }

// Resizes a block to count elements; the count it now holds is written back, also when
// the store could give only part of the growth (the result is then false).
bool resize(Work& W, MasterRecord& L, int32_t type, int32_t& handle, int32_t& cap, int32_t count) {
  int32_t c = count < 1 ? 1 : count, st = 0;
  setblk_(type, c, W, L, handle, st);
  if (st == 1) cap = c;
  if (st != 0) return false;
  cap = c;
  return true;
}

// Makes room for one more line of up to n characters: the line blocks keep more than two
// entries free, the text block more than MAXLIN (and n) characters. Blocks grow by
// doubling; when the store cannot hold that, they grow by what it can give.
bool makeroom(Work& W, MasterRecord& L, int32_t n) {
  int32_t need = n > L.MAXLIN ? n : L.MAXLIN;
  if (L.LINECAP - L.MODLINES <= 2) {
    int32_t cap = L.LINECAP < 4 ? 4 : L.LINECAP, c1 = L.LINECAP, c2 = L.LINECAP;
    idoub_(cap);
    if (cap <= L.LINECAP || !resize(W, L, 2, L.LINEIX, c1, cap) || !resize(W, L, 2, L.LINEMAP, c2, cap)) {
      // the text block gives back its free part, and the line blocks take one more line
      int32_t keep = used(W, L) + need + 1;
      if (keep < L.TEXTCAP) resize(W, L, 1, L.TEXTBLK, L.TEXTCAP, keep);
      cap = L.MODLINES + 3;
      bool ok = resize(W, L, 2, L.LINEIX, c1, cap) && resize(W, L, 2, L.LINEMAP, c2, cap);
      L.LINECAP = c1 < c2 ? c1 : c2;
      if (!ok) return false;
    }
    L.LINECAP = c1 < c2 ? c1 : c2;
  }
  while ((int64_t)L.TEXTCAP - used(W, L) <= need) {
    int32_t cap = L.TEXTCAP < 8 ? 8 : L.TEXTCAP;
    idoub_(cap);
    if (cap <= L.TEXTCAP) return false;
    if (!resize(W, L, 1, L.TEXTBLK, L.TEXTCAP, cap)) return (int64_t)L.TEXTCAP - used(W, L) > need;
  }
  return true;
}

// Stores one line after the last; messages 1 and 2 refuse it, message 0 when no room.
bool storeline(Work& W, MasterRecord& L, const char* s, int32_t n) {
  if (L.MODLINES >= MAXLINES) {
    errmsh_(W, L, 1);
    return false;
  }
  int32_t u = used(W, L);
  if ((int64_t)u + n >= MAXCHARS) {
    errmsh_(W, L, 2);
    return false;
  }
  if (!makeroom(W, L, n)) {
    errmsh_(W, L, 0);
    return false;
  }
  for (int32_t i = 0; i < n; ++i) txtput(W, L, u + 1 + i, s[i]);
  lixput(W, L, L.MODLINES + 2, u + 1 + n);
  if (L.LINEMAP > 0) wput(W, (int64_t)L.START[L.LINEMAP] + L.MODLINES, 0);
  ++L.MODLINES;
  return true;
}

// True when the line is the end keyword: E, N, D in either case, blanks between the
// letters allowed, nothing else; the three letters as typed go to endkw.
bool isend(const char* s, int32_t n, char* endkw) {
  int32_t k = 0;
  const char* want = "END";
  for (int32_t i = 0; i < n; ++i) {
    if (s[i] == ' ') continue;
    if (k >= 3) return false;
    char c = s[i];
    char u = (c >= 'a' && c <= 'z') ? (char)(c - 32) : c;
    if (u != want[k]) return false;
    endkw[k++] = c;
  }
  return k == 3;
}

// Digits of n.
int32_t ndigits(int32_t n) {
  int32_t d = 1;
  while (n >= 10) {
    n /= 10;
    ++d;
  }
  return d;
}

// After a line could not be stored: the rest of the entry, up to the end keyword or the
// end of input, is read and dropped, so that no model line is taken as a command.
void skiprest(MasterRecord& L) {
  char line[LINEBUF], endkw[3];
  for (;;) {
    int32_t pos = 0, len = 0;
    gettxt_(L, L.PROMPT1, 1, line, L.MAXLIN, pos, len, 0);
    if (len <= 0 && L.INPEOF == 1) return;
    if (len > 0 && isend(line, len > 200 ? 200 : len, endkw)) return;
  }
}

}  // namespace

// Characters of the stored text (0 with no model).
int32_t textlen_(const Work& W, const MasterRecord& L) {
  if (!hasmodel_(L)) return 0;
  int32_t e = lixget(W, L, L.MODLINES + 1);
  return e > 0 ? e - 1 : 0;
}

void txtforget_(MasterRecord& L) {
  L.MODLINES = 0;
  L.TEXTBLK = L.LINEIX = L.LINEMAP = 0;
  L.TEXTCAP = L.LINECAP = 0;
  L.GENCPY = L.GENLEN = L.SOLCPY = L.SOLLEN = 0;
  L.APIBLK = L.APICNT = 0;
  L.TITLBLK = L.TITLEN = 0;
  if (upcalls_().rdrforget) upcalls_().rdrforget(L);
}

void cuttxt_(Work& W, MasterRecord& L, int32_t& status) {
  status = 0;
  if (L.TEXTBLK <= 0 || L.LINEIX <= 0 || L.LINEMAP <= 0) return;
  int32_t c1 = 0, c2 = 0;
  if (!resize(W, L, 1, L.TEXTBLK, L.TEXTCAP, used(W, L)) || !resize(W, L, 2, L.LINEIX, c1, L.MODLINES + 2) ||
      !resize(W, L, 2, L.LINEMAP, c2, L.MODLINES + 2))
    status = 2;
  if (c1 > 0 && c2 > 0) L.LINECAP = c1 < c2 ? c1 : c2;
}

void getmod_(int32_t mode, Work& W, MasterRecord& L, int32_t hidden, int32_t keylen, int32_t syntax,
             int32_t oneline, char* key) {
  addresethook_(L, txtforget_);
  if (mode == 1) hidden = 0;  // scrambled text always starts a new model: appended lines are clear
  L.SYNTAX = syntax;
  rlsblk_(L, L.TITLBLK);
  L.TITLEN = 0;
  if (!(mode == 1 && hasmodel_(L))) {
    recovr_(W, L);
    L.MODLINES = 0;
    rlsblk_(L, L.TEXTBLK);
    rlsblk_(L, L.LINEIX);
    rlsblk_(L, L.LINEMAP);
    L.TEXTCAP = L.LINECAP = 0;
    int32_t c1 = 0, c2 = 0;
    if (!resize(W, L, 1, L.TEXTBLK, L.TEXTCAP, 512) || !resize(W, L, 2, L.LINEIX, c1, 32) ||
        !resize(W, L, 2, L.LINEMAP, c2, 32)) {
      rlsblk_(L, L.TEXTBLK);
      rlsblk_(L, L.LINEIX);
      rlsblk_(L, L.LINEMAP);
      L.TEXTCAP = L.LINECAP = 0;
      errmsh_(W, L, 0);
      return;
    }
    L.LINECAP = c1 < c2 ? c1 : c2;
    lixput(W, L, 1, 1);
  }
  char endkw[3] = {'E', 'N', 'D'};
  bool ended = false;
  int32_t st = 0;
  if ((mode != 1 && L.LINCUR >= 1 && L.LINCUR <= L.LINEND) || oneline) {
    int32_t n = L.LINEND < 0 ? 0 : (L.LINEND > 200 ? 200 : L.LINEND);
    storeline(W, L, L.LINRAW, n);
    if (oneline) {
      cuttxt_(W, L, st);
      if (st != 0) errmsh_(W, L, 0);
      return;
    }
  }
  char line[LINEBUF];
  std::memset(line, ' ', sizeof line);
  int32_t chain = 0, nscr = 0;
  int32_t rowform = -1;  // hidden entry: 1 when its first line came without a number prefix
  for (;;) {
    int32_t pos = 0, len = 0;
    gettxt_(L, L.PROMPT1, 1, line, L.MAXLIN, pos, len, 0);
    if (len <= 0) {
      if (L.INPEOF == 1) break;  // no more input: the entry ends
      if (!storeline(W, L, line, 0)) break;
      continue;
    }
    if (len > 200) len = 200;
    if (isend(line, len, endkw)) {
      ended = true;
      break;
    }
    const char* s = line;
    int32_t n = len;
    if (hidden == 1) {
      if (len < 2) continue;
      ++nscr;
      int32_t k = 0;
      ldkryp_(reinterpret_cast<unsigned char*>(line), len, chain, k, nscr);
      n = len - 2;
      if (nscr >= 2 && keylen > 0 && key) key[(nscr - 2) % keylen] = (char)k;
      while (n > 0 && line[n - 1] == ' ') --n;
      if (n <= 0) continue;
    }
    // a listing's line number prefix is dropped
    int32_t i = 0;
    while (i < n && s[i] == ' ') ++i;
    int32_t j = i;
    while (j < n && s[j] >= '0' && s[j] <= '9') ++j;
    if (hidden == 1 && rowform < 0) rowform = (j < n && s[j] == ']') ? 0 : 1;
    if (rowform == 1 && n > 0 && s[0] == ' ') {  // the blank the listing puts before each line
      ++s;
      --n;
    }
    if (j < n && s[j] == ']') {
      s += j + 1;
      n -= j + 1;
      int32_t m = n;
      while (m > 0 && s[m - 1] == ' ') --m;
      if (m == 0) n = 0;
    }
    if (!storeline(W, L, s, n)) {
      skiprest(L);
      break;
    }
  }
  if (ended && L.SYNTAX == 1 && mode != 1) storeline(W, L, endkw, 3);
  // a hidden row-syntax model is saved without line numbers (and with its own END line)
  if (rowform == 1) L.SYNTAX = 1;
  cuttxt_(W, L, st);
  if (st != 0) errmsh_(W, L, 0);
}

void prtlnm_(MasterRecord&, int32_t line, int32_t width, char* out, int32_t) {
  std::string d = std::to_string(line);
  int32_t k = 0;
  for (int32_t i = (int32_t)d.size(); i < width; ++i) out[k++] = ' ';
  for (char c : d) out[k++] = c;
  out[k] = ']';
}

void look2_(Work& W, MasterRecord& L, int32_t first, int32_t last, int32_t hidden, const char* key,
            int32_t heading) {
  if (!hasmodel_(L)) return;
  if (first < 1) first = 1;
  if (last > L.MODLINES) last = L.MODLINES;
  if (first > last) return;
  // the hidden form always has its heading and end line: only HMODEL can read it back
  bool head = (L.SYNTAX != 1 || hidden == 1) && (heading != 0 || (first == 1 && last == L.MODLINES));
  if (head) lprint_(L, L.OUTUNIT, std::string_view(hidden == 1 ? " HMODEL:" : " MODEL:"));
  int32_t width = ndigits(last);
  int32_t prefix = L.SYNTAX == 1 ? 0 : width + 3;
  int32_t room = L.LINLEN - (hidden == 1 ? 2 : 0);
  int32_t chain = 0, nscr = 0, seed = 0;
  if (hidden == 1) seed = (int32_t)((int64_t)(100.0 * cpusec_()) % 225) + 30;
  unsigned char buf[LINEBUF + 8];
  // scrambles one output line (held in buf, n characters) and prints it
  auto emit = [&](int32_t n) {
    if (hidden == 1) {
      std::memset(buf + n, ' ', sizeof buf - (size_t)n);
      ++nscr;
      int32_t k = nscr == 1 ? seed : (unsigned char)key[(nscr - 2) % 8];
      while (n > 0 && buf[n - 1] == ' ') --n;
      lkrypt_(buf, k, chain, nscr);
      n += 2;
    }
    lprint_(L, L.OUTUNIT, std::string_view(reinterpret_cast<const char*>(buf), (size_t)n));
  };
  for (int32_t k = first; k <= last; ++k) {
    int32_t a = lixget(W, L, k), b = lixget(W, L, k + 1);
    int32_t n = b - a;
    if (prefix + n >= room || 1 + prefix + n > LINEBUF) {
      L.ERRARG = k;
      errmsh_(W, L, 113);
      return;
    }
    int32_t m = 0;
    buf[m++] = ' ';
    if (L.SYNTAX != 1) {
      buf[m++] = ' ';
      buf[m++] = ' ';
      prtlnm_(L, k, width, reinterpret_cast<char*>(buf) + m, 1);
      m += width + 1;
    }
    for (int32_t p = a; p < b; ++p) buf[m++] = (unsigned char)txtget(W, L, p);
    emit(m);
  }
  if (!head) return;
  if (hidden == 1)
    while (nscr < 9) {
      buf[0] = ' ';
      emit(1);
    }
  lprint_(L, L.OUTUNIT, std::string_view(" END"));
}

void deline_(Work& W, MasterRecord& L, int32_t first, int32_t last) {
  if (!hasmodel_(L)) return;
  if (first < 1) first = 1;
  if (last > L.MODLINES) last = L.MODLINES;
  if (first > last) return;
  if (last < L.MODLINES) {
    int32_t to = lixget(W, L, first), from = lixget(W, L, last + 1), end = lixget(W, L, L.MODLINES + 1);
    for (int32_t p = from; p < end; ++p) txtput(W, L, to + (p - from), txtget(W, L, p));
    int32_t gone = last - first + 1, shift = from - to;
    for (int32_t k = first + 1; k <= L.MODLINES - gone + 1; ++k) lixput(W, L, k, lixget(W, L, k + gone) - shift);
    if (L.LINEMAP > 0)
      for (int32_t k = first; k <= L.MODLINES - gone; ++k)
        wput(W, (int64_t)L.START[L.LINEMAP] + k - 1, wget(W, (int64_t)L.START[L.LINEMAP] + k - 1 + gone));
    L.MODLINES -= gone;
  } else {
    L.MODLINES = first - 1;
  }
  int32_t st = 0;
  cuttxt_(W, L, st);
}

void savmod_(Work& W, MasterRecord& L, int32_t& handle, int32_t& length) {
  addresethook_(L, txtforget_);
  int32_t n = textlen_(W, L);
  // the characters, then the line count and each line's end, 4 bytes each: the lines
  // hold no terminators, so a line break moved within the same characters is a change
  int64_t bytes = (int64_t)n + 4 * ((int64_t)L.MODLINES + 1);
  if (L.MODLINES <= 0 || n < 0 || bytes > 2147483640LL) {
    length = 0;
    rlsblk_(L, handle);
    return;
  }
  int32_t c = (int32_t)bytes, st = 0;
  setblk_(1, c, W, L, handle, st);
  if (st != 0) {
    length = 0;
    rlsblk_(L, handle);
    return;
  }
  int64_t to = wbyte(L.START[handle]), from = wbyte(L.START[L.TEXTBLK]);
  cmove(W, to, from, n);
  for (int32_t k = 0; k <= L.MODLINES; ++k) {
    uint32_t v = (uint32_t)(k == 0 ? L.MODLINES : lixget(W, L, k + 1));
    const char b[4] = {(char)(v & 0xffu), (char)((v >> 8) & 0xffu), (char)((v >> 16) & 0xffu), (char)(v >> 24)};
    cputs(W, to + n + 4 * (int64_t)k, b, 4);
  }
  length = n;
}

int32_t compare_(const Work& W, const MasterRecord& L, int32_t handle, int32_t length) {
  if (handle <= 0 || L.START[handle] < 1 || L.MODLINES <= 0) return QFALSE;
  if (length != textlen_(W, L)) return QFALSE;
  if ((int64_t)L.LEN[handle] * 4 < (int64_t)length + 4 * ((int64_t)L.MODLINES + 1)) return QFALSE;
  int64_t a = wbyte(L.START[handle]), b = wbyte(L.START[L.TEXTBLK]);
  for (int32_t i = 0; i < length; ++i)
    if (cget(W, a + i) != cget(W, b + i)) return QFALSE;
  for (int32_t k = 0; k <= L.MODLINES; ++k) {
    uint32_t v = 0;
    for (int32_t j = 3; j >= 0; --j) v = (v << 8) | (uint8_t)cget(W, a + length + 4 * (int64_t)k + j);
    if ((int32_t)v != (k == 0 ? L.MODLINES : lixget(W, L, k + 1))) return QFALSE;
  }
  return QTRUE;
}

int32_t tstopt_(Work& W, MasterRecord& L) {
  if (!qtest(L.HAVESOL)) return QFALSE;
  int32_t s = L.MODSTAT;
  if (s != 1 && s != 5 && s != 8 && s != 10) return QFALSE;  // OPTIMAL, FEASIBLE, LOCAL_OPTIMAL, CUTOFF
  return compare_(W, L, L.SOLCPY, L.SOLLEN);
}
