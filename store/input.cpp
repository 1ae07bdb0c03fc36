// Console and script line input: the line reader gettxt_ and the small readers that work
// on the command line buffer.
#include <cstdlib>
#include <cstring>

#include "store/io.h"
#include "store/master.h"
#include "store/store.h"
#include "store/util.h"

namespace {
constexpr int32_t kLineMax = 200;  // most characters kept from one line

// Writes the prompt pieces on the terminal; CR LF after more than one piece.
void prompt_out(const char* prompt, int32_t npairs) {
  if (!prompt) return;
  for (int32_t i = 0; i < npairs; ++i) PUTP_(prompt + 2 * i);
  if (npairs > 1) PUTSNOCR_("\r\n");
}

// Reads one physical line from the current input into raw (NUL-terminated); result the
// number of characters, or -1 when the outermost script ended (the caller sees no line)
// and -2 at the end of terminal input. An over-long line keeps its first characters and
// loses the rest of the physical line; skipped is then true when more than blanks were lost.
int32_t read_line(MasterRecord& L, const char* prompt, int32_t npairs, char* raw, bool& skipped) {
  skipped = false;
  for (;;) {
    if (L.INUNIT == L.TRMIN) {
      prompt_out(prompt, npairs);
      int32_t st = 0;
      FGETSTD_(raw, kLineMax + 2, &st);
      if (st == 2) {  // Ctrl-C: the line typed is abandoned and the prompt shown again
        PUTS_("");
        continue;
      }
      int32_t n = (int32_t)std::strlen(raw);
      if (st == 1) skipped = FSKIPSTD_() == 1;
      if (st != 1 && n > 0 && raw[n - 1] == '\r') raw[--n] = 0;  // a CR LF line ending
      if (n == 0 && st == -1) return -2;
      return n;
    }
    int32_t n = 0;
    if (FGETLN_(raw, kLineMax + 2, L.INUNIT, n)) {
      if (raw[n - 1] == '\n') {
        --n;
        if (n > 0 && raw[n - 1] == '\r') --n;  // a script written with CR LF line endings
      } else if (!FEOF_(L.INUNIT)) {
        skipped = FSKIPLN_(L.INUNIT) == 1;
      } else if (raw[n - 1] == '\r') {
        --n;
      }
      raw[n] = 0;
      return n;
    }
    if (!FEOF_(L.INUNIT)) fatal_(L, "I/O ERROR");
    int32_t h = L.INUNIT;
    FCLOSE_(h);
    if (L.TAKELV >= 1 && L.TAKELV <= 10) L.TAKSTK[L.TAKELV] = 0;
    L.TAKELV = L.TAKELV > 0 ? L.TAKELV - 1 : 0;
    if (L.TAKELV == 0) {
      L.INUNIT = L.TRMIN;
      L.LINEND = 0;
      L.LINCUR = 0;
      return -1;
    }
    L.INUNIT = L.TAKSTK[L.TAKELV];  // no prompt while input still comes from a script
  }
}

// True when the characters of raw from position keep on (0-based) to got are more than
// blanks, or more than blanks were dropped unread.
bool lostchars(const MasterRecord& L, const char* raw, int32_t keep, int32_t got, bool skipped) {
  if (skipped) return true;
  for (int32_t i = keep; i < got; ++i)
    if (raw[i] != ' ' && raw[i] != L.TABCHR && raw[i] != '\r' && raw[i] != 0) return true;
  return false;
}
}  // namespace

// Reads the next line of input into line, unless a word remains after the one under pos.
void gettxt_(MasterRecord& L, const char* prompt, int32_t npairs, char* line, int32_t,
             int32_t& pos, int32_t& len, int32_t mode) {
  L.INPEOF = 0;
  int32_t p = pos < 1 ? 1 : pos;
  while (p <= len && line[p - 1] != ' ') ++p;
  while (p <= len && line[p - 1] == ' ') ++p;
  pos = p;
  if (p <= len && !(line[p - 1] == L.COMCHR && mode == 1)) return;

  int32_t maxlin = L.MAXLIN < kLineMax ? (L.MAXLIN < 0 ? 0 : L.MAXLIN) : kLineMax;
  char raw[kLineMax + 3];
  for (;;) {
    bool skipped = false;
    int32_t got = read_line(L, prompt, npairs, raw, skipped);
    if (got < 0) {
      if (got == -2) L.INPEOF = 1;
      len = 0;
      pos = 0;
      return;
    }
    int32_t n = got < maxlin ? got : maxlin;
    int32_t last = 0;
    for (int32_t i = 1; i <= n; ++i) {
      char c = raw[i - 1];
      if (c == L.TABCHR || c == 0) c = ' ';
      line[i - 1] = c;
      L.LINRAW[i - 1] = c;
      if (c != ' ') last = i;
    }
    for (int32_t i = n + 1; i <= maxlin; ++i) line[i - 1] = L.LINRAW[i - 1] = ' ';
    if (lostchars(L, raw, n, got, skipped)) {
      Work none;  // the message names nothing held in the work array
      errmsh_(none, L, 3);
    }
    len = last;
    if (last == 0) return;
    if (L.BATMOD > 0 || L.ECHOIN > 0) {
      FILE* e = trmerr_();
      std::fputs(" : ", e);
      std::fwrite(line, 1, (size_t)last, e);
      std::fputc('\n', e);
    }
    if (mode > 0) ushift_(line, last, L.LINRAW);
    p = 1;
    while (line[p - 1] == ' ') ++p;
    pos = p;
    if (!(line[p - 1] == L.COMCHR && mode == 1)) return;
  }
}

// The number at the cursor of the command line; a number above BIGNUM is refused with
// status 2, or read as BIGNUM when capok. The cursor moves past it on status 0 only.
static void readnum(MasterRecord& L, int32_t& status, double& value, bool capok) {
  int32_t e = L.LINEND < 200 ? L.LINEND : 200;
  char text[202];  // the line counted from 1
  text[0] = ' ';
  if (e > 0) std::memcpy(text + 1, L.LINBUF, (size_t)e);
  int32_t p = L.LINCUR - 1;
  double v = 0.0;
  int32_t err = txt2np_(L, text, p, e, L.SYNTAX, v);
  if (err == 2 && capok) err = 0;  // v is BIGNUM
  status = err;
  if (err == 0) {
    value = v;
    L.LINCUR = p;
  }
}

// Reads a number at the cursor of the command line; status 0 on success.
void getnum_(MasterRecord& L, int32_t& status, double& value) { readnum(L, status, value, false); }

// Reads a number at the cursor like getnum_, but a number above BIGNUM is read as BIGNUM.
void getnumcap_(MasterRecord& L, int32_t& status, double& value) { readnum(L, status, value, true); }

// Reads an optional sign at the cursor: 1.0, -1.0, or 0.0 when there is none.
void getsgn_(MasterRecord& L, double& sign) {
  int32_t p = L.LINCUR < 1 ? 1 : L.LINCUR;
  while (p <= L.LINEND && L.LINBUF[p - 1] == ' ') ++p;
  sign = 0.0;
  if (p > L.LINEND) return;
  if (L.LINBUF[p - 1] == '+')
    sign = 1.0;
  else if (L.LINBUF[p - 1] == '-')
    sign = -1.0;
  else
    return;
  L.LINCUR = p + 1;
}

// Moves the cursor to the next non-blank character and returns it (a blank past the end).
void getch_(MasterRecord& L, char& c) {
  c = ' ';
  if (L.LINCUR > L.LINEND) {
    L.LINCUR = L.LINEND + 1;
    return;
  }
  do ++L.LINCUR;
  while (L.LINCUR <= L.LINEND && L.LINBUF[L.LINCUR - 1] == ' ');
  if (L.LINCUR > L.LINEND) {
    L.LINCUR = L.LINEND + 1;
    return;
  }
  c = L.LINBUF[L.LINCUR - 1];
}

// Shows a prompt (its length made even) and waits for one line.
void paws_(MasterRecord& L, const char* prompt, int32_t& plen) {
  int32_t n = plen < 0 ? 0 : (plen > 200 ? 200 : plen);
  char buf[202];
  if (n > 0) std::memcpy(buf, prompt, (size_t)n);
  if (plen % 2 != 0) {
    ++plen;
    if (n < 200) buf[n++] = ' ';
  }
  L.LINEND = 0;
  gettxt_(L, buf, n / 2, L.LINBUF, L.MAXLIN, L.LINCUR, L.LINEND, 1);  // a command-line response
}
