// Line output and paging: every line of the system leaves through lprint_.
#include <cstring>

#include "store/hooks.h"
#include "store/io.h"
#include "store/master.h"
#include "store/work.h"

namespace {
// Writes n characters and a line feed on a unit (0 = terminal).
int32_t writeln(MasterRecord& L, int32_t unit, const char* text, int32_t n) {
  if (unit == L.TRMOUT) {
    hitcr_(L, 1);
    return PUTLN_(text, n);
  }
  return FWRITELN_(text, n, unit);
}
}  // namespace

// Prints one line cut to LINLEN without its trailing blanks (a blank line as one blank).
int32_t lprint_(MasterRecord& L, int32_t unit, const char* line, int32_t len) {
  int32_t k = L.LINLEN;
  if (len >= 0 && k > len) k = len;
  while (k > 0 && line[k - 1] == ' ') --k;
  int32_t r = k > 0 ? writeln(L, unit, line, k) : writeln(L, unit, " ", 1);
  return r < 0 ? r : 32;
}

// The same for a text of known length.
int32_t lprint_(MasterRecord& L, int32_t unit, std::string_view line) {
  return lprint_(L, unit, line.data(), (int32_t)line.size());
}

// Identical to lprint_.
int32_t lprintlf_(MasterRecord& L, int32_t unit, const char* line, int32_t len) {
  return lprint_(L, unit, line, len);
}

// Prints n blank lines; 1 when nothing was printed.
int32_t blankl_(MasterRecord& L, int32_t unit, int32_t n) {
  int32_t r = 1;
  for (int32_t i = 0; i < n; ++i) r = lprint_(L, unit, " ", 1);
  return r;
}

// Counts n terminal lines and pauses with the Enter prompt when a page is full.
void hitcr_(MasterRecord& L, int32_t n) {
  int32_t c = L.LINCNT + n;
  int32_t page = L.LENPAG;
  if (page == 0 || c < page || L.OUTUNIT != L.TRMOUT || L.BATMOD > 0) {
    L.LINCNT = c;
    return;
  }
  PUTSNOCR_(" --- Press <Enter> ---");
  char reply[4];
  int32_t st = 0;
  FGETSTD_(reply, 1, &st);
  if (st == 1) FSKIPSTD_();  // the reply is ignored, all of it
  L.LINCNT = n;
}

// Prints a notice (up to its NUL, at most 200 or MAXLIN characters) on the terminal in
// list form: a blank, a blank character, then the text.
void brbpost_(MasterRecord& L, int32_t, const char* text) {
  char buf[203];
  int32_t n = (int32_t)strnlen(text, 200);
  if (n == 200 && L.MAXLIN < 200) n = L.MAXLIN < 0 ? 0 : L.MAXLIN;
  buf[0] = ' ';
  buf[1] = ' ';
  std::memcpy(buf + 2, text, (size_t)n);
  lprint_(L, L.TRMOUT, buf, n + 2);
}

// Beeps and prints n characters of the work array (from byte first) between blank lines.
void dmpstr_(MasterRecord& L, const Work& W, int32_t first, int32_t n, int32_t& status) {
  status = 0;
  beeper_();
  blankl_(L, L.TRMOUT, 1);
  int32_t m = L.LINLEN;
  if (n < m) m = n;
  char buf[202];
  buf[0] = ' ';
  int32_t k = 0;
  int64_t limit = ((int64_t)W.w.size() - 1) * 4;  // bytes in the work array
  for (; k < m && first + (int64_t)k <= limit && first + k >= 1; ++k) buf[1 + k] = cget(W, first + k);
  lprint_(L, L.TRMOUT, buf, k + 1);
  blankl_(L, L.TRMOUT, 1);
}

// Writes the decimal digits of |value| left-aligned in a 10-character field.
void int2txt_(int32_t value, char* text, int32_t& len, int32_t) {
  int64_t v = value < 0 ? -(int64_t)value : (int64_t)value;
  char d[12];
  int32_t k = 0;
  do {
    d[k++] = (char)('0' + v % 10);
    v /= 10;
  } while (v > 0 && k < 10);
  len = k;
  for (int32_t i = 0; i < k; ++i) text[i] = d[k - 1 - i];
  for (int32_t i = k; i < 10; ++i) text[i] = ' ';
}
