// The model text reader: turns the stored lines, and the files they include, into the
// character stream of the scanner.
#include "language/reader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "store/io.h"
#include "store/store.h"
#include "store/upcalls.h"

namespace {

constexpr char NUL = '\0';

// Prints one trace line on the current output unit.
void trace(MasterRecord& L, const std::string& s) { lprint_(L, L.OUTUNIT, std::string_view(s)); }

// The escape's two number bytes as an unsigned 16-bit value.
int32_t lo16(char a, char b) { return (int32_t)(unsigned char)a | ((int32_t)(unsigned char)b << 8); }

// Upper-cases a letter.
char upc(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 32) : c; }

// Line of the stored text that holds position p, searching from line t on.
int32_t lineof(const Work& W, const MasterRecord& L, int32_t t, int32_t p) {
  if (t < 1) t = 1;
  while (t < L.MODLINES && lixget(W, L, t + 1) <= p) ++t;
  return t;
}

// Stores a caller's value in LINEMAP at the current source line.
void mapline(Work& W, MasterRecord& L, int32_t value) {
  if (value < 0 || L.SRCLINE < 1 || L.SRCLINE > L.MODLINES || L.LINEMAP <= 0 || L.START[L.LINEMAP] < 1) return;
  wput(W, (int64_t)L.START[L.LINEMAP] + L.SRCLINE - 1, value);
}

// Next non-blank character of a buffer read through get(k), k = 1..len; a blank at the end.
// Comments run from comchr to the next ";"; escapes are decoded into SRCLINE and skipped.
template <class Get>
char nextnb(Work& W, MasterRecord& L, char comchr, Get get, int32_t& pos, int32_t len, int32_t value,
            bool scanbuf) {
  if (pos < 0) pos = 0;
  if (pos > len) pos = len;
  for (;;) {
    ++pos;
    if (pos > len) {
      pos = len;
      return ' ';
    }
    char c = get(pos);
    if (c == ' ') continue;
    if (comchr != ' ' && c == comchr) {
      while (pos < len && get(pos + 1) != ';') ++pos;
      if (pos >= len) {
        pos = len;
        return ' ';
      }
      ++pos;  // the ";" ends the comment
      continue;
    }
    if (c == NUL) {
      char a = pos + 1 <= len ? get(pos + 1) : NUL;
      char b = pos + 2 <= len ? get(pos + 2) : NUL;
      if (scanbuf) {
        L.SRCLINE = escline_(L, pos);
      } else {
        char two[2] = {a, b};
        i2xtr_(two, L.SRCLINE);
      }
      mapline(W, L, value);
      pos = pos + 3 > len ? len : pos + 3;
      continue;
    }
    return c;
  }
}

// Makes the current-line block of the include reader hold at least n characters.
bool inclroom(Work& W, MasterRecord& L, int32_t n) {
  if (L.INCLBLK > 0 && L.INCLCAP >= n) return true;
  int32_t want = n < 256 ? 256 : n;
  if (L.INCLCAP > 0 && want < 2 * L.INCLCAP && L.INCLCAP < (1 << 29)) want = 2 * L.INCLCAP;
  int32_t count = want, st = 0;
  setblk_(1, count, W, L, L.INCLBLK, st);
  if (st != 0 || count < n) return false;
  L.INCLCAP = count;
  return true;
}

// Character k (1-based) of the include reader's current line.
char inclget(const Work& W, const MasterRecord& L, int64_t k) { return cget(W, wbyte(L.START[L.INCLBLK]) + k - 1); }

// Reads the next line of include slot s whole into the current-line block: TABs and NUL
// bytes become blanks and the line feed a blank. Result 1 a line was read, 0 end of file, -1 a read
// error, -2 no room.
int32_t readincl(Work& W, MasterRecord& L, int32_t s) {
  std::string line;
  char chunk[4096];
  for (;;) {
    int32_t n = 0;
    if (FGETLN_(chunk, (int32_t)sizeof chunk, L.INCUNIT[s], n) == 0) {
      if (!line.empty()) break;
      return FEOF_(L.INCUNIT[s]) ? 0 : -1;
    }
    line.append(chunk, (size_t)n);
    if (chunk[n - 1] == '\n') break;
  }
  if (!line.empty() && line.back() == '\n') line.back() = ' ';
  if (line.size() > (size_t)0x3fffffff) return -2;
  int32_t n = (int32_t)line.size();
  if (!inclroom(W, L, n)) return -2;
  int64_t base = wbyte(L.START[L.INCLBLK]);
  for (int32_t i = 0; i < n; ++i) {
    char c = line[(size_t)i];
    cput(W, base + i, c == '\t' || c == 0 ? ' ' : c);  // a NUL would read as a line-number escape
  }
  L.INCLEN[s] = n;
  L.INCPOS[s] = 0;
  return 1;
}

// Unlinks slot s from the open list and puts it at the head of the free list.
void freeslot(MasterRecord& L, int32_t s) {
  int32_t p = L.INCPREV[s], n = L.INCNEXT[s];
  if (p > 0) L.INCNEXT[p] = n; else L.INCHEAD = n;
  if (n > 0) L.INCPREV[n] = p;
  L.INCNEXT[s] = L.INCFREE;
  L.INCPREV[s] = 0;
  if (L.INCFREE > 0) L.INCPREV[L.INCFREE] = s;
  L.INCFREE = s;
  L.INCNAME[s][0] = NUL;
}

void seterrstr(MasterRecord& L, const char* s, size_t n) {
  if (n > 200) n = 200;
  std::memset(L.ERRSTR, ' ', 200);
  std::memcpy(L.ERRSTR, s, n);
  L.ERRSTR[n < 200 ? n : 200] = NUL;
}

// Next character of the current include file. Result 1 with ch delivered; 0 when the file
// ended or was suspended (reading goes on in the model text); status 2 or 4 on failure.
int32_t inclchar(Work& W, MasterRecord& L, char& ch, int32_t& status) {
  int32_t s = L.INCCUR;
  bool sep = false;
  for (;;) {
    int32_t p = L.INCPOS[s], p0 = p;
    char c = ' ';
    if (L.INCLBLK > 0 && L.INCLEN[s] > 0)
      c = nextnb(W, L, '!', [&](int64_t k) { return inclget(W, L, k); }, p, L.INCLEN[s], -1, false);
    if (c == ' ') {  // end of the line: the next one
      int32_t r = readincl(W, L, s);
      if (r == 1) {
        sep = true;
        continue;
      }
      if (r < 0) {
        seterrstr(L, L.INCNAME[s], std::strlen(L.INCNAME[s]));
        status = r == -1 ? 4 : 2;
        return 0;
      }
      FCLOSE_(L.INCUNIT[s]);
      L.INCUNIT[s] = 0;
      rlsblk_(L, L.INCSAVE[s]);
      L.INCLEN[s] = L.INCPOS[s] = 0;
      freeslot(L, s);
      L.INCCUR = 0;
      return 0;
    }
    L.INCPOS[s] = p;
    if (c == L.TILCHR || c == '~') {  // end of a section: suspend the file
      int32_t n = L.INCLEN[s], count = n > 0 ? n : 1, st = 0;
      rlsblk_(L, L.INCSAVE[s]);
      setblk_(1, count, W, L, L.INCSAVE[s], st);
      if (st != 0) {
        rlsblk_(L, L.INCSAVE[s]);
        seterrstr(L, L.INCNAME[s], std::strlen(L.INCNAME[s]));
        status = 2;
        return 0;
      }
      int64_t from = wbyte(L.START[L.INCLBLK]), to = wbyte(L.START[L.INCSAVE[s]]);
      for (int32_t i = 0; i < n; ++i) cput(W, to + i, cget(W, from + i));
      L.INCCUR = 0;
      return 0;
    }
    if (sep || p - p0 > 1) {
      ch = ' ';
      L.PENDQ[1] = c;
      L.PENDLEN = L.PENDCNT = 1;
      L.PENDSRC = 2;
    } else {
      ch = c;
    }
    return 1;
  }
}

// Opens or resumes the file of an "@FILE(" reference whose "@" stands at position pos of
// the text. Result 0 when no reference stands there (nothing consumed), 1 when the file is
// current and pos is on the closing ")"; status 1 to 3 on failure.
int32_t atfile(Work& W, MasterRecord& L, int32_t text, int32_t& pos, int32_t len, int32_t& status) {
  auto at = [&](int32_t k) { return cget(W, wbyte(L.START[text]) + k - 1); };
  int32_t q = pos;
  for (const char* w = "FILE("; *w; ++w) {
    do ++q; while (q <= len && at(q) == ' ');
    if (q > len || upc(at(q)) != *w) return 0;
  }
  do ++q; while (q <= len && at(q) == ' ');
  std::string name;
  int32_t scanned = 0;
  bool bad = false;
  if (q <= len && (at(q) == '\'' || at(q) == '"')) {
    char quote = at(q);
    bool closed = false;
    while (++q <= len && ++scanned <= 257) {
      if (at(q) == quote) { closed = true; break; }
      name += at(q);
    }
    if (!closed) bad = true;
    if (!bad) {
      do ++q; while (q <= len && at(q) == ' ');
      if (q > len || at(q) != ')') bad = true;
    }
  } else {
    bool closed = false;
    for (; q <= len && ++scanned <= 257; ++q) {
      if (at(q) == ')') { closed = true; break; }
      name += at(q);
    }
    if (!closed) bad = true;
  }
  if (!bad && (name.empty() || name.size() > 255)) bad = true;
  seterrstr(L, name.data(), name.size());
  if (bad) {
    status = 1;
    return 0;
  }
  // The file is known in the table by its full path; an absolute name is that already. The
  // directory does not change during a compilation, so a full path too long for the table
  // is replaced by the name as written, which names the same file every time.
  char path[1024 + 260];
  if (name[0] == '/') {
    std::strcpy(path, name.c_str());
  } else if (FULLPATH_(path, name.c_str()) == nullptr) {
    status = 1;
    return 0;
  }
  if (std::strlen(path) > (size_t)INCNAMELEN - 1) std::strcpy(path, name.c_str());
  int32_t s = isfileopen_(L, path);
  if (s > 0) {
    if (L.INCSAVE[s] > 0) {
      int32_t n = L.INCLEN[s];
      if (!inclroom(W, L, n > 0 ? n : 1)) {
        status = 2;
        return 0;
      }
      int64_t from = wbyte(L.START[L.INCSAVE[s]]), to = wbyte(L.START[L.INCLBLK]);
      for (int32_t i = 0; i < n; ++i) cput(W, to + i, cget(W, from + i));
      rlsblk_(L, L.INCSAVE[s]);
    } else {
      L.INCLEN[s] = L.INCPOS[s] = 0;
    }
    L.INCCUR = s;
  } else {
    if (L.INCFREE <= 0) {
      status = 2;
      return 0;
    }
    int32_t h = FOPEN_(path, "rt");
    if (h == 0) {
      status = 3;
      return 0;
    }
    if (addfiletolist_(L, path, h) != 0) {
      FCLOSE_(h);
      status = 2;
      return 0;
    }
  }
  pos = q;
  return 1;
}

}  // namespace

// A 16-bit signed number to two bytes, low byte first.
void i2put_(int32_t n, char out[2]) {
  uint32_t u = (uint32_t)n & 0xffffu;
  out[0] = (char)(u & 0xff);
  out[1] = (char)(u >> 8);
}

// Two bytes, low byte first, to a 16-bit signed number.
void i2xtr_(const char in[2], int32_t& n) {
  int32_t v = lo16(in[0], in[1]);
  n = v >= 32768 ? v - 65536 : v;
}

int32_t escline_(const MasterRecord& L, int32_t k) {
  if (k < 1 || k > SCANMAX + 4) return 0;
  char a = L.SCANBUF[k + 1], b = L.SCANBUF[k + 2];
  return (int32_t)(((uint32_t)L.SCANHI[k] << 16) | (uint32_t)lo16(a, b));
}

// Next character of the stored text; comments of the modelling language are skipped.
void getkx3_(const Work& W, MasterRecord& L, char comchr, char& quote, int32_t text, int32_t& pos, int32_t len,
             int32_t blank, char& out) {
  if (pos < 0) pos = 0;
  if (pos > len) pos = len;
  out = ' ';
  int64_t base = wbyte(L.START[text]) - 1;
  for (;;) {
    ++pos;
    if (pos > len) break;
    char c = cget(W, base + pos);
    if (c == ' ') {
      if (blank == 1) break;
      continue;
    }
    if (L.SYNTAX == 1 || comchr == ' ' || c != comchr || quote != NUL) {
      if (quote != NUL) {
        if (c == quote) quote = NUL;
      } else if (c == '\'' || c == '"') {
        quote = c;
      }
      out = c;
      break;
    }
    while (pos < len && cget(W, base + pos + 1) != ';') ++pos;
    if (pos >= len) {
      pos = len + 1;
      break;
    }
    ++pos;
  }
  if (L.TRACELV >= 6) trace(L, std::string(" EXIT GETKX3 - KHR: ") + out);
}

void getkf2_(Work& W, MasterRecord& L, char comchr, int32_t text, int32_t& pos, int32_t len, int32_t& pendcnt,
             char& ch, int32_t& endflag, int32_t& status) {
  status = 0;
  endflag = 0;
  if (L.PENDCNT > 0) {
    int32_t k = L.PENDLEN - L.PENDCNT + 1;
    ch = L.PENDQ[k < 1 ? 1 : (k > 5 ? 5 : k)];
    --L.PENDCNT;
    pendcnt = L.PENDCNT;
    if (L.PENDCNT > 0 || L.PENDSRC != 1 || ch != '@' || L.INCON < 0) return;
    if (atfile(W, L, text, pos, len, status) == 0) return;
  }
  for (;;) {
    if (L.INCCUR > 0) {
      int32_t r = inclchar(W, L, ch, status);
      pendcnt = L.PENDCNT;
      if (status != 0 || r == 1) return;
    }
    if (text <= 0 || L.START[text] < 1) {
      endflag = -1;
      pendcnt = 0;
      return;
    }
    int32_t p0 = pos;
    char c;
    for (;;) {
      getkx3_(W, L, comchr, L.QUOTECH, text, pos, len, 0, c);
      if (pos > len || L.SYNTAX != 1 || c != comchr) break;
      // a row-syntax comment runs to the end of its line
      int32_t t = lineof(W, L, L.TEXTLINE, pos);
      int32_t last = lixget(W, L, t + 1) - 1;
      if (last > pos) pos = last;
    }
    if (pos > len || L.MODLINES < 1) {
      pos = len;
      endflag = -1;
      pendcnt = 0;
      return;
    }
    if (L.TEXTLINE < 0) L.TEXTLINE = 0;
    if (L.TEXTLINE < L.MODLINES + 1 && pos >= lixget(W, L, L.TEXTLINE + 1)) {
      while (L.TEXTLINE <= L.MODLINES && lixget(W, L, L.TEXTLINE + 1) <= pos) ++L.TEXTLINE;
      if (L.TEXTLINE > L.MODLINES) {
        endflag = -1;
        pendcnt = 0;
        return;
      }
      char two[2];
      i2put_(L.TEXTLINE, two);
      ch = NUL;
      L.PENDQ[1] = two[0];
      L.PENDQ[2] = two[1];
      L.PENDQ[3] = NUL;
      L.PENDQ[4] = ' ';
      L.PENDQ[5] = c;
      L.PENDLEN = L.PENDCNT = 5;
      L.PENDSRC = 1;
      L.PENDHI = (int32_t)((uint32_t)L.TEXTLINE >> 16);
      pendcnt = 5;
      return;
    }
    if (pos - p0 > 1) {
      ch = ' ';
      L.PENDQ[1] = c;
      L.PENDLEN = L.PENDCNT = 1;
      L.PENDSRC = 1;
      pendcnt = 1;
      return;
    }
    ch = c;
    pendcnt = 0;
    if (c != '@' || L.INCON < 0) return;
    if (atfile(W, L, text, pos, len, status) == 0) return;
  }
}

namespace {

// Puts the plain characters of the stored text that follow pos straight into SCANBUF, as
// getkf2_ would deliver them one by one: runs of blanks become one blank before the next
// character, and the first character of a new line comes after its line-number escape.
// Stops before a comment mark, a quote, "@", the end of the text, or anything else the
// character reader must see itself; false when it put nothing.
bool fastchars(const Work& W, MasterRecord& L, int32_t text, int32_t& pos, int32_t len) {
  if (L.PENDCNT > 0 || L.INCCUR > 0 || L.SYNTAX == 1 || L.QUOTECH != NUL || L.TRACELV >= 6 || text <= 0 ||
      L.START[text] < 1 || L.MODLINES < 1 || L.TEXTLINE < 0 || pos < 0 || pos >= len)
    return false;
  // the first position of the next line: a character there starts a line-number escape
  auto nextline = [&]() {
    return L.TEXTLINE < L.MODLINES + 1 ? std::min(len + 1, lixget(W, L, L.TEXTLINE + 1)) : len + 1;
  };
  int32_t stop = nextline();
  const int64_t base = wbyte(L.START[text]) - 1;
  const int32_t room = L.SCANCAP - 8;
  static constexpr auto PLAIN = [] {
    std::array<bool, 256> t{};
    for (int c = '!' + 1; c < 127; ++c) t[(size_t)c] = c != '@' && c != '\'' && c != '"';
    return t;
  }();
  auto plain = [](char c) { return PLAIN[(unsigned char)c]; };
  // the text, the buffer and its line numbers through locals (nothing is allocated here): the
  // stores of characters would otherwise reload the work array and the master record
  QUIRN_WCHECK(base + len <= (int64_t)(W.w.size() - 1) * 4);
  const char* const src = reinterpret_cast<const char*>(&W.w[1]) + base - 1;
  char* const buf = L.SCANBUF;
  int32_t* const bufhi = L.SCANHI;
  auto at = [src](int32_t k) { return src[k]; };
  auto put = [buf, bufhi](int32_t& k, char c, int32_t hi) {
    buf[++k] = c;
    bufhi[k] = hi;
  };
  // the buffer's length and the text position in locals: the stores of characters into the
  // master record would otherwise reload them at every step
  const int32_t start = L.SCANLEN;
  int32_t n = start, p = pos;
  while (n < room && p < len) {
    char c = at(p + 1);
    if (p + 1 < stop && plain(c)) {
      put(n, c, 0);
      ++p;
      continue;
    }
    if (p + 1 < stop && c != ' ') break;
    // blanks, or a line's start: the next character that is not a blank
    int32_t r = p + 1;
    while (r <= len && at(r) == ' ') ++r;
    if (r > len) break;
    const char d = at(r);
    if (!plain(d)) break;
    if (r < stop) {
      // the blank comes first and the character after it waits in the queue
      put(n, ' ', 0);
      put(n, d, 0);
      L.PENDQ[1] = d;
      L.PENDLEN = 1;
    } else {
      int32_t t = L.TEXTLINE;
      while (t <= L.MODLINES && lixget(W, L, t + 1) <= r) ++t;
      if (t > L.MODLINES) break;
      // the escape of line t (NUL, its low 16 bits, NUL, a blank), then the character
      L.TEXTLINE = t;
      char two[2];
      i2put_(t, two);
      L.PENDHI = (int32_t)((uint32_t)t >> 16);
      put(n, NUL, L.PENDHI);
      put(n, two[0], 0);
      put(n, two[1], 0);
      put(n, NUL, 0);
      put(n, ' ', 0);
      put(n, d, 0);
      L.PENDQ[1] = two[0];
      L.PENDQ[2] = two[1];
      L.PENDQ[3] = NUL;
      L.PENDQ[4] = ' ';
      L.PENDQ[5] = d;
      L.PENDLEN = 5;
      stop = nextline();
    }
    L.PENDSRC = 1;
    p = r;
  }
  L.SCANLEN = n;
  pos = p;
  return n > start;
}

}  // namespace

void filbuf_(Work& W, MasterRecord& L, int32_t text, int32_t& pos, int32_t len, int32_t& status) {
  status = 0;
  if (L.SCANCAP < 16 || L.SCANCAP > SCANMAX) L.SCANCAP = SCANMAX;
  if (L.SCANPOS < 0) L.SCANPOS = 0;
  if (L.SCANLEN < 0 || L.SCANLEN > L.SCANCAP) L.SCANLEN = 0;
  if (L.SCANPOS > L.SCANLEN) L.SCANPOS = L.SCANLEN;
  int32_t keep = L.SCANLEN - L.SCANPOS;
  if (keep > L.SCANCAP - 12) return;  // nothing to make room for
  std::memmove(&L.SCANBUF[5], &L.SCANBUF[L.SCANPOS + 1], (size_t)keep);
  std::memmove(&L.SCANHI[5], &L.SCANHI[L.SCANPOS + 1], sizeof(int32_t) * (size_t)keep);
  char two[2];
  i2put_(L.SRCLINE, two);
  L.SCANBUF[1] = NUL;
  L.SCANBUF[2] = two[0];
  L.SCANBUF[3] = two[1];
  L.SCANBUF[4] = NUL;
  L.SCANHI[1] = (int32_t)((uint32_t)L.SRCLINE >> 16);
  L.SCANHI[2] = L.SCANHI[3] = L.SCANHI[4] = 0;
  L.SCANPOS = 0;
  L.SCANLEN = 4 + keep;
  int32_t pend = 0, end = 0;
  char c;
  while (L.SCANLEN < L.SCANCAP - 8) {
    if (fastchars(W, L, text, pos, len)) continue;
    getkf2_(W, L, '!', text, pos, len, pend, c, end, status);
    if (status > 0 || end != 0) break;
    L.SCANBUF[++L.SCANLEN] = c;
    L.SCANHI[L.SCANLEN] = (c == NUL && pend == 5) ? L.PENDHI : 0;
    while (pend > 0 && L.SCANLEN < L.SCANCAP) {
      getkf2_(W, L, '!', text, pos, len, pend, c, end, status);
      if (status > 0 || end != 0) break;
      L.SCANBUF[++L.SCANLEN] = c;
      L.SCANHI[L.SCANLEN] = 0;
    }
    if (status > 0 || end != 0) break;
  }
  if (L.TRACELV > 5) {
    trace(L, " LEAVING FILBUF:");
    for (int32_t i = 1; i <= L.SCANLEN; i += 80) {
      std::string s;
      for (int32_t k = i; k < i + 80 && k <= L.SCANLEN; ++k) {
        unsigned char u = (unsigned char)L.SCANBUF[k];
        s += u == 0 ? 'o' : (u < 32 || u >= 128) ? '?' : (char)u;
      }
      trace(L, s);
    }
  }
}

void filbuf_(Work& W, MasterRecord& L, int32_t& status) {
  filbuf_(W, L, L.TEXTBLK, L.TEXTPOS, textlen_(W, L), status);
}

void getkx2_(Work& W, MasterRecord& L, char comchr, const char* buf, int32_t& pos, int32_t len, int32_t value,
             char& ch) {
  if (L.TRACELV > 5) {
    trace(L, " ENTER GETKX2");
    trace(L, " KPTR, KLEN:" + std::to_string(pos) + " " + std::to_string(len));
    std::string s = " KTEXT:";
    for (int32_t k = pos + 1; k <= len && k <= pos + 60; ++k) s += buf[k];
    trace(L, s);
  }
  bool scan = buf == L.SCANBUF;
  ch = nextnb(W, L, comchr, [&](int64_t k) { return buf[k]; }, pos, len, value, scan);
  if (L.TRACELV > 5) trace(L, std::string(" EXIT GETKX2 - KHR: ") + ch);
}

void getkxb_(Work& W, MasterRecord& L, char comchr, const char* buf, int32_t& pos, int32_t len, int32_t value,
             int32_t& status) {
  bool scan = buf == L.SCANBUF;
  if (pos < 0) pos = 0;
  if (pos > len) pos = len;
  for (;;) {
    ++pos;
    if (pos > len) {
      pos = len;
      status = 1;
      return;
    }
    char c = buf[pos];
    if (c == ' ') {
      status = 0;
      return;
    }
    if (comchr != ' ' && c == comchr) {
      while (pos < len && buf[pos + 1] != ';') ++pos;
      if (pos >= len) {
        pos = len;
        status = 1;
        return;
      }
      ++pos;
      continue;
    }
    if (c == NUL) {
      if (scan) {
        L.SRCLINE = escline_(L, pos);
      } else {
        char two[2] = {pos + 1 <= len ? buf[pos + 1] : NUL, pos + 2 <= len ? buf[pos + 2] : NUL};
        i2xtr_(two, L.SRCLINE);
      }
      mapline(W, L, value);
      pos = pos + 3 > len ? len : pos + 3;
    }
  }
}

void getkx4_(Work& W, MasterRecord& L, const char* buf, int32_t& pos, int32_t len, int32_t value, char& ch) {
  if (pos < 0) pos = 0;
  if (pos >= len) {
    pos = len;
    ch = NUL;
    return;
  }
  ++pos;
  ch = buf[pos];
  if (ch != NUL) return;
  if (buf == L.SCANBUF) {
    L.SRCLINE = escline_(L, pos);
  } else {
    char two[2] = {pos + 1 <= len ? buf[pos + 1] : NUL, pos + 2 <= len ? buf[pos + 2] : NUL};
    i2xtr_(two, L.SRCLINE);
  }
  mapline(W, L, value);
  pos = pos + 3 > len ? len : pos + 3;
}

int32_t isfileopen_(MasterRecord& L, const char* path) {
  int guard = 0;
  for (int32_t s = L.INCHEAD; s > 0 && s <= INCSLOTS && guard <= INCSLOTS; s = L.INCNEXT[s], ++guard)
    if (std::strncmp(L.INCNAME[s], path, INCNAMELEN) == 0) return s;
  return 0;
}

int32_t addfiletolist_(MasterRecord& L, const char* path, int32_t& unit) {
  int32_t s = L.INCFREE;
  if (s <= 0 || s > INCSLOTS) {
    unit = 0;
    return 1;
  }
  L.INCFREE = L.INCNEXT[s];
  if (L.INCFREE > 0) L.INCPREV[L.INCFREE] = 0;
  L.INCNEXT[s] = L.INCHEAD;
  L.INCPREV[s] = 0;
  if (L.INCHEAD > 0) L.INCPREV[L.INCHEAD] = s;
  L.INCHEAD = s;
  L.INCCUR = s;
  size_t n = strnlen(path, INCNAMELEN);  // a longer path is cut to the slot
  std::memcpy(L.INCNAME[s], path, n);
  L.INCNAME[s][n] = NUL;
  L.INCUNIT[s] = unit;
  L.INCLEN[s] = 0;
  L.INCPOS[s] = 1;
  L.INCSAVE[s] = 0;
  return 0;
}

void rdrforget_(MasterRecord& L) {
  for (int32_t s = 1; s <= INCSLOTS; ++s) L.INCSAVE[s] = 0;
  L.INCLBLK = L.INCLCAP = 0;
}

void initfi_(MasterRecord& L) {
  shutfi_(L);  // files and saved lines left by a run that did not close them
  for (int32_t s = 1; s <= INCSLOTS; ++s) {
    L.INCNEXT[s] = s < INCSLOTS ? s + 1 : 0;
    L.INCPREV[s] = s - 1;
    L.INCUNIT[s] = 0;
    L.INCSAVE[s] = 0;
    L.INCLEN[s] = L.INCPOS[s] = 0;
  }
  L.INCFREE = 1;
  L.INCON = 1;
  L.INCCUR = 0;
  L.INCHEAD = 0;
  L.TEXTLINE = 0;
  L.PENDLEN = 0;
  L.PENDCNT = 0;
  L.SRCLINE = 1;
  L.QUOTECH = NUL;
}

void shutfi_(MasterRecord& L) {
  L.INCCUR = 0;
  int guard = 0;
  for (int32_t s = L.INCHEAD; s > 0 && s <= INCSLOTS && guard <= INCSLOTS; s = L.INCNEXT[s], ++guard) {
    rlsblk_(L, L.INCSAVE[s]);
    FCLOSE_(L.INCUNIT[s]);
    L.INCUNIT[s] = 0;
  }
  L.INCHEAD = 0;
  rlsblk_(L, L.INCLBLK);
  L.INCLCAP = 0;
}

QUIRN_UPCALL(escline, escline_);  // line numbers in messages

QUIRN_UPCALL(rdrforget, rdrforget_);  // the include table goes with the model text
