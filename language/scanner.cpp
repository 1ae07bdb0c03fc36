// Symbol scanner: finds the first symbol of a candidate list at the scanner buffer's position,
// and the text-to-number and name conversions.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "language/lang.h"
#include "language/reader.h"

static constexpr bool isletter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
static constexpr bool isdig(char c) { return c >= '0' && c <= '9'; }

// Model text that the reader has not yet put into the buffer.
bool textleft(const Work& W, const MasterRecord& L) {
  if (L.MODLINES < 1 || L.LINEIX <= 0) return false;
  return L.TEXTPOS < iget(W, L, L.LINEIX, L.MODLINES + 1) - 1;
}

// Steps over a line-number escape at position p (its first NUL), recording the line.
static int32_t over_escape(MasterRecord& L, int32_t p) {
  if (p + 3 <= L.SCANLEN) {
    L.SRCLINE = escline_(L, p);
    return p + 3;
  }
  return L.SCANLEN;
}

// Copies the scanner's characters from position p up to the first of the stop characters
// (copying ends at a line-number escape, which is stepped over); returns the stop's position,
// or 0 when none comes or the text passes MAXLIN (then n = -1).
static int32_t copytext(MasterRecord& L, int32_t p, const char* stops, char* text, int32_t& n) {
  bool copying = true;
  n = 0;
  for (; p <= L.SCANLEN; ++p) {
    char d = L.SCANBUF[p];
    if (d != 0 && std::strchr(stops, d)) return p;
    if (d == 0) {
      copying = false;
      p = over_escape(L, p);
      continue;
    }
    if (copying) {
      if (n >= L.MAXLIN && L.MAXLIN > 0) { n = -1; return 0; }
      text[n++] = d;
    }
  }
  return 0;
}

// Next non-blank character (escapes passed over); a blank at the end of the buffer.
char sbnext_(Work& W, MasterRecord& L) {
  int32_t p = L.SCANPOS < 0 ? 0 : L.SCANPOS;
  for (;;) {
    if (p >= L.SCANLEN) {
      L.SCANPOS = L.SCANLEN;
      return ' ';
    }
    ++p;
    char c = L.SCANBUF[p];
    if (c == ' ') continue;
    if (c == 0) {
      p = over_escape(L, p);
      continue;
    }
    L.SCANPOS = p;
    return c;
  }
}

// sbnext_ with its common case in line: blanks, then a character before any escape.
static inline char nextnb(Work& W, MasterRecord& L) {
  if (L.SCANPOS >= 0) {
    for (int32_t p = L.SCANPOS + 1; p <= L.SCANLEN; ++p) {
      const char c = L.SCANBUF[p];
      if (c == ' ') continue;
      if (c == 0) break;
      L.SCANPOS = p;
      return c;
    }
  }
  return sbnext_(W, L);
}

char sbpeek_(Work& W, MasterRecord& L) {
  int32_t save = L.SCANPOS, line = L.SRCLINE;
  char c = sbnext_(W, L);
  L.SCANPOS = save;
  L.SRCLINE = line;
  return c;
}

// Next character exactly as stored; NUL at an escape (passed over) or at the end.
char sbexact_(Work& W, MasterRecord& L) {
  if (L.SCANPOS >= L.SCANLEN) return 0;
  int32_t p = L.SCANPOS + 1;
  char c = L.SCANBUF[p];
  if (c == 0) {
    L.SCANPOS = over_escape(L, p);
    return 0;
  }
  L.SCANPOS = p;
  return c;
}

// Moves to the next blank of the buffer: 0 found, 1 at the end (position restored).
int32_t getblank_(Work& W, MasterRecord& L) {
  if (refilldue(W, L)) {
    int32_t st = 0;
    filbuf_(W, L, st);
  }
  int32_t save = L.SCANPOS;
  for (int32_t p = L.SCANPOS + 1; p <= L.SCANLEN; ++p) {
    char c = L.SCANBUF[p];
    if (c == 0) {
      p = over_escape(L, p);
      continue;
    }
    if (c == ' ') {
      L.SCANPOS = p - 1;
      return 0;
    }
  }
  L.SCANPOS = save;
  return 1;
}

// Number at the scanner buffer's position (with the syntax switch of the model).
int32_t txt2nm_(Work& W, MasterRecord& L, int32_t& pos, double& val) {
  return txt2np_(L, L.SCANBUF, pos, L.SCANLEN, L.SYNTAX, val);
}

// Text to integer, positions as for numbers. Error 1 when no digit.
int32_t txt2int_(const char* text, int32_t& pos, int32_t len, int32_t& val) {
  val = 0;
  if (pos < 0) return 1;
  int32_t i = pos + 1;
  while (i <= len && text[i] == ' ') ++i;
  int32_t n = 0, last = 0;
  for (; i <= len && isdig(text[i]); ++i) {
    int32_t d = text[i] - '0';
    if (val > (2147483640 - d) / 10) break;
    val = val * 10 + d;
    ++n;
    last = i;
  }
  if (n == 0) return 1;
  pos = last;
  return 0;
}

// Reads a name at the buffer's position into name (32 characters, blank padded); its length.
int32_t enkody_(Work& W, MasterRecord& L, char* name) {
  int32_t save = L.SCANPOS, line = L.SRCLINE;
  std::memset(name, ' ', NAMELEN);
  char c = kshift_(nextnb(W, L));
  if (!(isletter(c) || c == '_' || (L.SCANMD == 1 && isdig(c))) || L.SCANPOS == save) {
    L.SCANPOS = save;
    L.SRCLINE = line;
    return 0;
  }
  int32_t n = 0;
  name[n++] = c;
  int32_t p = L.SCANPOS;  // in a local: the stores into name would reload it at every step
  const int32_t end = L.SCANLEN;
  while (n < NAMELEN && p < end) {
    const char u = NAMEUP[(unsigned char)L.SCANBUF[p + 1]];
    if (u == 0) break;
    name[n++] = u;
    ++p;
  }
  L.SCANPOS = p;
  return n;
}

static void trace(MasterRecord& L, const std::string& s) { outline(L, s); }

// The place of the first candidate of the list that the lead filter lets through for a symbol
// beginning with kfirst (ncand when none), noted in from when first asked.
static int32_t first_through(const Vocab& v, const int16_t* cand, int32_t ncand, CandStart& from, char kfirst) {
  uint8_t& at = from.at[(unsigned char)kfirst];
  if (at == 0) {
    int32_t k = 0;
    while (k < ncand && v.lead[cand[k]] != 0 && v.lead[cand[k]] != kfirst) ++k;
    at = (uint8_t)(k + 1);
  }
  return at - 1;
}

// The first symbol of the candidate list at the buffer's position: its 1-based place in the
// list, 0 when none is there, -1 at the end of the model text.
int32_t getsym_(Work& W, MasterRecord& L, const Vocab& v, const int16_t* cand, int32_t ncand, int32_t blanksym,
                SymOut& out, CandStart* from) {
  out.status = 0;
  if (L.TRACELV > 3) trace(L, " ENTER GETSYM, MODPTR =" + std::to_string(L.SCANPOS));
  if (refilldue(W, L)) {
    int32_t st = 0;
    filbuf_(W, L, st);
    if (st > 0) {
      out.status = st;
      return 0;
    }
  }
  char first = nextnb(W, L);
  if (first == ' ' && L.SCANPOS >= L.SCANLEN) {
    out.start = L.SCANLEN;
    return -1;
  }
  int32_t before = L.SCANPOS - 1;
  int32_t line = L.SRCLINE;
  out.start = L.SCANPOS;
  // a word or sign must begin with the first character: the others are passed over unread
  const char kfirst = kshift_(first);
  const bool quiet = L.TRACELV <= 3;
  // the candidates before the first one the lead filter lets through are passed over at once
  const int32_t k0 =
      quiet && from != nullptr && v.lead != nullptr && ncand < 255 ? first_through(v, cand, ncand, *from, kfirst) : 0;
  for (int32_t k = k0; k < ncand; ++k) {
    int32_t tok = cand[k];
    if (quiet && v.lead != nullptr && v.lead[tok] != 0 && v.lead[tok] != kfirst) continue;
    const char* t = v.text + v.start[tok - 1] - 1;
    int32_t tl = v.start[tok] - v.start[tok - 1];
    bool symclass = t[0] == '!' && tl == 2;
    if (quiet && !symclass && tl > 0 && t[0] != kfirst) continue;
    L.SCANPOS = before;
    L.SRCLINE = line;
    bool ok = false;
    if (symclass) {
      char cls = t[1];
      if (cls == '2') {
        out.namelen = enkody_(W, L, out.name);
        out.name[NAMELEN] = 0;
        ok = out.namelen > 0;
        if (L.TRACELV > 3) trace(L, " BACK FROM ENKODE - NBYTES, KNAME:" + std::to_string(out.namelen));
      } else if (cls == '3' || cls == '4') {
        char c = sbnext_(W, L);
        if (L.SCANPOS >= L.SCANLEN && c == ' ') {
          ok = false;
        } else if (c == '\'' || c == '"') {
          const char stop[2] = {c, 0};
          int32_t n = 0;
          int32_t p = copytext(L, L.SCANPOS + 1, stop, out.text, n);
          ok = p > 0;
          if (ok) L.SCANPOS = p;
          out.textlen = n < 0 ? 0 : n;
        } else if (cls == '4') {
          ok = false;
        } else {
          int32_t n = 0;
          int32_t p = copytext(L, L.SCANPOS, ");,", out.text, n);
          ok = p > 0;
          if (ok) L.SCANPOS = p - 1;
          out.textlen = n < 0 ? 0 : trimlen(out.text, n);
        }
      } else if (cls == '5') {
        ok = txt2int_(L.SCANBUF, L.SCANPOS, L.SCANLEN, out.ival) == 0;
        if (L.TRACELV > 3) trace(L, " BACK FROM TXT2INT - NOLUCK, IVAL:" + std::to_string(out.ival));
      } else {
        int32_t e = txt2nm_(W, L, L.SCANPOS, out.val);
        if (e == 2) L.BIGCNT++;
        ok = e != 1;
        if (L.TRACELV > 3) trace(L, " BACK FROM TXT2NM - NOLUCK, VAL:" + std::to_string(out.val));
      }
    } else {
      ok = true;
      for (int32_t j = 0; j < tl; ++j) {
        char c = kshift_(nextnb(W, L));
        if (L.TRACELV > 3) trace(L, std::string(" COMPARE: ") + c + " " + t[j]);
        if (c != t[j] || (c == ' ' && L.SCANPOS >= L.SCANLEN)) {
          ok = false;
          break;
        }
      }
    }
    if (!ok) continue;
    if (tok == blanksym) {
      char nx = L.SCANPOS < L.SCANLEN ? L.SCANBUF[L.SCANPOS + 1] : ' ';
      if (!(nx == ' ' || nx == 0)) continue;
    }
    if (L.TRACELV > 3) trace(L, " EXIT GETSYM, SUCCESS: NDXKOD, MODPTR =" + std::to_string(k + 1) + " " +
                                    std::to_string(L.SCANPOS));
    return k + 1;
  }
  L.SCANPOS = before;
  L.SRCLINE = line;
  if (L.TRACELV > 3) trace(L, " EXIT GETSYM, NO VALID SYM");
  return 0;
}

// getsym_'s common case in few steps, for a list with its CandStart: the symbol that the first
// candidate the lead filter lets through takes at once (a sign of one character, a number, a
// name, or a name where a number failed). The same result, symbol and scanner state as
// getsym_; -2, with nothing changed but what getsym_ changes again, when getsym_ must decide.
int32_t getsym_quick_(Work& W, MasterRecord& L, const Vocab& v, const int16_t* cand, int32_t ncand,
                      int32_t blanksym, SymOut& out, CandStart& from) {
  if (L.TRACELV > 3 || v.lead == nullptr || ncand >= 255 || L.SCANPOS < 0) return -2;
  if (refilldue(W, L)) return -2;
  int32_t esc = 0;
  const int32_t p = nextnbat_(L, L.SCANPOS, esc);
  if (p == 0) return -2;
  int32_t k = first_through(v, cand, ncand, from, kshift_(L.SCANBUF[p]));
  if (k >= ncand) return -2;
  const int32_t line = esc > 0 ? escline_(L, esc) : L.SRCLINE;
  auto text = [&](int32_t kk, int32_t& tl) {
    const int32_t tok = cand[kk];
    tl = v.start[tok] - v.start[tok - 1];
    return v.text + v.start[tok - 1] - 1;
  };
  int32_t tl = 0;
  const char* t = text(k, tl);
  const bool symclass = t[0] == '!' && tl == 2;
  auto found = [&](int32_t pos) {
    out.status = 0;
    out.start = p;
    L.SCANPOS = pos;
    L.SRCLINE = line;
    return k + 1;
  };
  if (!symclass) return tl == 1 && cand[k] != blanksym ? found(p) : -2;
  if (t[1] == '1') {
    int32_t pos = p - 1;
    const int32_t e = txt2np_(L, L.SCANBUF, pos, L.SCANLEN, L.SYNTAX, out.val);
    if (e != 1) {
      if (cand[k] == blanksym) return -2;
      if (e == 2) L.BIGCNT++;
      return found(pos);
    }
    // no number: a name may come next
    if (++k >= ncand) return -2;
    t = text(k, tl);
    if (v.lead[cand[k]] != 0 || t[0] != '!' || tl != 2) return -2;
  }
  if (t[1] != '2' || cand[k] == blanksym) return -2;
  const int32_t save = L.SCANPOS, saveline = L.SRCLINE;
  L.SCANPOS = p - 1;
  L.SRCLINE = line;
  out.namelen = enkody_(W, L, out.name);
  out.name[NAMELEN] = 0;
  if (out.namelen > 0) {
    out.status = 0;
    out.start = p;
    return k + 1;
  }
  L.SCANPOS = save;
  L.SRCLINE = saveline;
  return -2;
}

// Normalises a name in place: -1 unchanged, 0 changed.
int32_t fixaname_(char* name, int32_t len, int32_t flags) {
  int32_t n = trimlen(name, len);
  if (n == 0) return -1;
  int32_t result = -1;
  int32_t lead = 0;
  while (lead < len && name[lead] == ' ') ++lead;
  if (lead > 0) {
    std::memmove(name, name + lead, (size_t)(len - lead));
    std::memset(name + len - lead, ' ', (size_t)lead);
  }
  n = trimlen(name, len);
  if (n > NAMELEN) {
    std::memset(name + NAMELEN, ' ', (size_t)(len - NAMELEN));
    n = NAMELEN;
    result = 0;
  }
  if ((flags & 1) && isdig(name[0])) {
    if (n == NAMELEN) n = NAMELEN - 1;
    if (n + 1 <= len) {
      std::memmove(name + 1, name, (size_t)n);
      name[0] = '_';
      ++n;
      result = 0;
    }
  }
  for (int32_t i = 0; i < n; ++i) {
    name[i] = kshift_(name[i]);
    if (!(isletter(name[i]) || isdig(name[i]))) {
      name[i] = '_';
      result = 0;
    }
  }
  return result;
}
