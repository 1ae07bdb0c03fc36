// ALTER: replaces every occurrence of one string by another in a range of model lines,
// ignoring the case of letters when it looks for the old string; and the insertion of one
// line into the stored text.
#include <cstring>
#include <string>
#include <vector>

#include "store/io.h"
#include "store/store.h"
#include "session/modeltext.h"
#include "session/session.h"

namespace {
constexpr int32_t WORKAREA = 300;  // old string, new string and result line together
}  // namespace

// The character upper-cased ("a".."z" only).
void shiftk_(char& out, int32_t, char c) { out = (c >= 'a' && c <= 'z') ? (char)(c - 32) : c; }

// A string between two delimiters at the cursor of the command line, as typed.
void getstr_(MasterRecord& L, char* out, char delim, int32_t& length) {
  int32_t p = L.LINCUR;
  if (p < 1 || p > L.LINEND || L.LINBUF[p - 1] != delim) {
    length = -1;
    return;
  }
  int32_t q = p;
  for (;;) {
    ++q;
    while (q <= L.LINEND && L.LINBUF[q - 1] == ' ') ++q;
    if (q > L.LINEND) {
      length = -1;
      return;
    }
    if (L.LINBUF[q - 1] == delim) break;
  }
  length = q - p - 1;
  if (length > WORKAREA) length = WORKAREA;
  std::memcpy(out, L.LINRAW + p, (size_t)length);
  L.LINCUR = q;
}

void txtswp_(const Work& W, const MasterRecord& L, const char* old, int32_t oldlen, const char* neu, int32_t newlen,
             int32_t text, int32_t offset, int32_t linelen, char* result, int32_t limit, int32_t& reslen,
             int32_t& count, int32_t& overflow) {
  count = reslen = overflow = 0;
  int64_t base = wbyte(L.START[text]) + offset - 1;  // character p of the line is at base + p - 1
  auto at = [&](int32_t p) { return cget(W, base + p - 1); };
  int32_t p = 1;
  while (p <= linelen) {
    int32_t k = 0;
    if (oldlen > 0 && p + oldlen - 1 <= linelen) {
      for (; k < oldlen; ++k) {
        char a, b;
        shiftk_(a, 1, old[k]);
        shiftk_(b, 1, at(p + k));
        if (a != b) break;
      }
    }
    if (oldlen > 0 && k == oldlen) {
      ++count;
      if (reslen + newlen > limit) {
        overflow = 1;
        return;
      }
      std::memcpy(result + reslen, neu, (size_t)newlen);
      reslen += newlen;
      p += oldlen;
    } else {
      if (reslen + 1 > limit) {
        overflow = 1;
        return;
      }
      result[reslen++] = at(p);
      ++p;
    }
  }
}

void insrtl_(Work& W, MasterRecord& L, const char* text, int32_t length, int32_t lnum, int32_t& status) {
  bool blocks = L.TEXTBLK > 0 && L.LINEIX > 0 && L.START[L.TEXTBLK] > 0 && L.START[L.LINEIX] > 0;
  if (length < 1 || lnum < 1 || lnum > L.MODLINES + 1 || !blocks || L.MODLINES < 0) {
    status = 1;
    return;
  }
  if (L.MODLINES + 2 > L.LINECAP) {
    status = 2;
    return;
  }
  int32_t e = lixget(W, L, L.MODLINES + 1);
  if ((int64_t)e >= (int64_t)L.TEXTCAP - length) {
    if ((int64_t)e >= 2147483640LL - length) {
      status = 3;
      return;
    }
    int32_t cap = e + length + 1, st = 0;
    setblk_(1, cap, W, L, L.TEXTBLK, st);
    if (st == 0 || st == 1) L.TEXTCAP = cap;  // the capacity is what the block holds
    if (st != 0 || (int64_t)e + length - 1 > (int64_t)L.TEXTCAP) {
      status = 3;
      return;
    }
  }
  if (lnum <= L.MODLINES) {
    int32_t from = lixget(W, L, lnum);
    for (int32_t p = e - 1; p >= from; --p) txtput(W, L, p + length, txtget(W, L, p));
    for (int32_t j = L.MODLINES + 1; j >= lnum; --j) lixput(W, L, j + 1, lixget(W, L, j) + length);
  }
  int32_t s = lixget(W, L, lnum);
  for (int32_t i = 0; i < length; ++i) txtput(W, L, s + i, text[i]);
  lixput(W, L, lnum + 1, s + length);
  ++L.MODLINES;
  status = 0;
}

void alter_(Work& W, MasterRecord& L, int32_t line, const char* old, int32_t oldlen, const char* neu, int32_t newlen,
            char* result, int32_t limit, int32_t& count, int32_t& status) {
  count = 0;
  if (!hasmodel_(L) || line < 1 || line > L.MODLINES) {
    status = 4;
    return;
  }
  status = 0;
  int32_t a = lixget(W, L, line), n = lixget(W, L, line + 1) - a;
  int32_t reslen = 0, overflow = 0;
  txtswp_(W, L, old, oldlen, neu, newlen, L.TEXTBLK, a, n, result, limit, reslen, count, overflow);
  if (overflow) {
    status = 3;
    return;
  }
  if (count == 0) return;
  if (reslen == 0) {
    status = 2;
    return;
  }
  // the old line is kept so that a failed insertion can put it back
  std::string saved;
  for (int32_t p = a; p < a + n; ++p) saved += txtget(W, L, p);
  deline_(W, L, line, line);
  int32_t st = 0;
  insrtl_(W, L, result, reslen, line, st);
  if (st != 0) {
    int32_t st2 = 0;
    insrtl_(W, L, saved.data(), (int32_t)saved.size(), line, st2);
    count = 0;
    status = 5;  // no room: the line is left as it was
  }
}

namespace {

// Alters lines first..last by writing the whole text once into a new block, so that a
// range of many lines costs one pass over the text. The lines changed go to changed.
// False when the new block cannot be had; the text is then as it was.
bool alterall(Work& W, MasterRecord& L, int32_t first, int32_t last, const char* old, int32_t oldlen,
              const char* neu, int32_t newlen, int32_t limit, std::vector<int32_t>& changed) {
  int32_t n = textlen_(W, L), st = 0, fresh = 0;
  int32_t cap = n + 64;
  setblk_(1, cap, W, L, fresh, st);
  if (st != 0) {
    rlsblk_(L, fresh);
    return false;
  }
  std::vector<int32_t> starts((size_t)L.MODLINES + 2);
  char result[WORKAREA + 1];
  int32_t out = 0;  // characters written to the new block
  for (int32_t k = 1; k <= L.MODLINES; ++k) {
    int32_t a = lixget(W, L, k), len = lixget(W, L, k + 1) - a;
    starts[(size_t)k] = out + 1;
    int32_t reslen = 0, count = 0, overflow = 0;
    if (k >= first && k <= last)
      txtswp_(W, L, old, oldlen, neu, newlen, L.TEXTBLK, a, len, result, limit, reslen, count, overflow);
    bool take = count > 0 && overflow == 0 && reslen > 0;
    int32_t m = take ? reslen : len;
    if ((int64_t)out + m > (int64_t)cap) {
      int32_t want = cap + (cap / 2 > m ? cap / 2 : m) + 64;
      if (want <= cap || want >= 1073741820) want = out + m;
      setblk_(1, want, W, L, fresh, st);
      if (st != 0 || want < out + m) {
        rlsblk_(L, fresh);
        return false;
      }
      cap = want;
    }
    int64_t to = wbyte(L.START[fresh]) + out, from = wbyte(L.START[L.TEXTBLK]) + a - 1;
    for (int32_t i = 0; i < m; ++i) cput(W, to + i, take ? result[i] : cget(W, from + i));
    out += m;
    if (take) changed.push_back(k);
  }
  starts[(size_t)L.MODLINES + 1] = out + 1;
  for (int32_t k = 2; k <= L.MODLINES + 1; ++k) lixput(W, L, k, starts[(size_t)k]);
  rlsblk_(L, L.TEXTBLK);
  L.TEXTBLK = fresh;
  L.TEXTCAP = cap;
  return true;
}

}  // namespace

void altbos_(Work& W, MasterRecord& L) {
  int32_t first = 0, last = 0;
  read2h_(W, L, first, last);
  if (first < 1) return errmsh_(W, L, 61);
  if (last > L.MODLINES) last = L.MODLINES;
  if (last < first) return;
  if (L.LINCUR > 1) --L.LINCUR;
  for (int32_t p = 1; p < L.LINCUR && p <= L.MAXLIN; ++p) L.LINBUF[p - 1] = ' ';
  // 25 characters shown as 13 pairs: the last pair ends in a blank, never in the terminator
  getrsp_(L, "'Old string'New string'?' ", 13);
  if (L.LINEND == 0 || L.LINCUR > L.LINEND) return errmsh_(W, L, 61);
  char old[WORKAREA + 1], neu[WORKAREA + 1];
  int32_t oldlen = 0, newlen = 0;
  int32_t cur = L.LINCUR, end = L.LINEND;
  char delim = '\'';
  getstr_(L, old, delim, oldlen);
  if (oldlen < 1) {
    L.LINCUR = cur;
    L.LINEND = end;
    delim = '"';
    getstr_(L, old, delim, oldlen);
    if (oldlen < 1) return errmsh_(W, L, 61);
  }
  getstr_(L, neu, delim, newlen);
  if (newlen < 0) return errmsh_(W, L, 61);
  char result[WORKAREA + 1];
  int32_t limit = WORKAREA - oldlen - newlen;
  bool nomem = false;
  std::vector<int32_t> changed;
  if (!alterall(W, L, first, last, old, oldlen, neu, newlen, limit, changed)) {
    // no room for a second copy of the text: line by line
    for (int32_t k = first; k <= last; ++k) {
      int32_t count = 0, status = 0;
      alter_(W, L, k, old, oldlen, neu, newlen, result, limit, count, status);
      if (status == 5) nomem = true;
      if (status == 0 && count > 0) changed.push_back(k);
    }
  }
  bool listed = false;
  for (int32_t k : changed) {
    if (L.HIDDEN == 1) break;
    if (!listed) blankl_(L, L.OUTUNIT, 1);
    listed = true;
    look2_(W, L, k, k, 0, L.KPASSW, QFALSE);
  }
  if (listed) blankl_(L, L.OUTUNIT, 1);
  int32_t st = 0;
  cuttxt_(W, L, st);
  if (nomem) errmsh_(W, L, 0);
}
