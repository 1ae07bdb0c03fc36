// Command line reading: responses to prompts, the cursor, words, quoted texts, line
// numbers and ranges, and the PAUS command.
#include <cmath>
#include <cstring>

#include "session/session.h"

namespace {
// Position of the first non-blank character at or after p (LINEND + 1 when none).
int32_t skipblanks(MasterRecord& L, int32_t p) {
  if (p < 1) p = 1;
  while (p <= L.LINEND && linc(L, p) == ' ') ++p;
  return p;
}
}  // namespace

// Reads the response to a prompt: the next word of the current line when there is one,
// otherwise a new line (prompt shown on the terminal only); a blank line gives LINEND 0.
void getrsp_(MasterRecord& L, const char* prompt, int32_t npairs) {
  gettxt_(L, prompt, npairs, L.LINBUF, L.MAXLIN, L.LINCUR, L.LINEND, 1);
}

// Moves the cursor to the next non-blank character, reading new lines with the current
// prompt while the line is used up or holds only a comment; stops at end of input.
void nxchar_(MasterRecord& L) {
  for (;;) {
    int32_t p = skipblanks(L, L.LINCUR);
    if (p <= L.LINEND && linc(L, p) != L.COMCHR) {
      L.LINCUR = p;
      return;
    }
    L.LINEND = 0;
    L.LINCUR = 0;
    gettxt_(L, L.PROMPT3, 1, L.LINBUF, L.MAXLIN, L.LINCUR, L.LINEND, 1);
    if (L.LINEND == 0 && L.INPEOF && L.INUNIT == L.TRMIN) return;
  }
}

// End of the word under the cursor: the first blank after it, or LINEND + 1; with bit 0
// of flag set the cursor moves there.
int32_t nxblnk_(MasterRecord& L, int32_t flag) {
  int32_t p = L.LINCUR < 1 ? 1 : L.LINCUR;
  while (p <= L.LINEND && linc(L, p) != ' ') ++p;
  if (flag & 1) L.LINCUR = p;
  return p;
}

// Copies the word at the cursor into a 32-character blank-padded field; the cursor
// moves to the end of the word.
void gettoken_(MasterRecord& L, char* field) {
  std::memset(field, ' ', 32);
  int32_t p = L.LINCUR < 1 ? 1 : L.LINCUR;
  int32_t k = 0;
  while (p <= L.LINEND && linc(L, p) != ' ') {
    if (k < 32) field[k++] = linc(L, p);
    ++p;
  }
  L.LINCUR = p;
}

// Moves past the current word and collects the non-blank characters that follow, up to
// the line end or a "!"; count is their number.
void getcvn_(MasterRecord& L, char* text, int32_t& count) {
  count = 0;
  int32_t p = nxblnk_(L, 1);
  for (; p <= L.LINEND; ++p) {
    char c = linc(L, p);
    if (c == L.COMCHR) break;
    if (c != ' ') text[count++] = c;
  }
  L.LINCUR = p;
}

// Moves past the current word and reads a text in single or double quotes (as typed);
// count 0 and the cursor put back when there is no complete quoted text.
void getcst_(MasterRecord& L, char* text, int32_t& count) {
  count = 0;
  int32_t save = L.LINCUR;
  int32_t p = skipblanks(L, nxblnk_(L, 0));
  if (p + 1 > L.LINEND) {
    L.LINCUR = save;
    return;
  }
  char q = linc(L, p);
  if (q != '\'' && q != '"') {
    L.LINCUR = save;
    return;
  }
  int32_t e = p + 1;
  while (e <= L.LINEND && linc(L, e) != q) ++e;
  if (e > L.LINEND) {
    L.LINCUR = save;
    return;
  }
  for (int32_t k = p + 1; k < e; ++k) text[count++] = rawc(L, k);
  L.LINCUR = e;
}

// One line number of the current model at the cursor: the number, or 0 (cursor put back)
// when no whole number from 1 to MODLINES stands there.
int32_t read1r_(MasterRecord& L) {
  int32_t save = L.LINCUR;
  int32_t st = 1;
  double v = 0.0;
  getnum_(L, st, v);
  if (st == 0 && v >= 1.0 && v <= (double)L.MODLINES && v == std::trunc(v)) {
    L.LINCUR += 1;
    return (int32_t)v;
  }
  L.LINCUR = save;
  return 0;
}

// Reads a line range (a line, two lines, or ALL) for LOOK, DEL and ALTER; first = 0
// when no response was given.
void read2h_(Work& W, MasterRecord& L, int32_t& first, int32_t& last) {
  for (;;) {
    first = last = 0;
    getrsp_(L, "Row?", 2);
    if (L.LINEND == 0) return;
    int32_t c = L.LINCUR;
    if (L.LINEND - c + 1 >= 3 && std::memcmp(&linc(L, c), "ALL", 3) == 0) {
      first = 1;
      last = L.MODLINES;
      L.LINCUR = c + 3;
      return;
    }
    int32_t n1 = read1r_(L);
    if (n1 > 0) {
      first = last = n1;
      L.LINCUR = skipblanks(L, L.LINCUR);
      if (L.LINCUR > L.LINEND) return;
      // the two numbers may stand apart by blanks or by a comma (LOOK 3,7 as the help shows)
      int32_t after1 = L.LINCUR;
      if (linc(L, L.LINCUR) == ',') L.LINCUR = skipblanks(L, L.LINCUR + 1);
      int32_t n2 = L.LINCUR > L.LINEND ? 0 : read1r_(L);
      if (n2 == 0) {
        L.LINCUR = after1;
        return;
      }
      last = n2;
      if (n2 >= first) return;
    }
    errmsh_(W, L, 4);
    L.LINEND = 0;
  }
}

// Sets the interaction mode word.
void duincm_(MasterRecord& L, int32_t mode) {
  L.INTMODE = mode;
  setquirnstabilityflag_();
}

// PAUS: shows the rest of the line (if any) as a prompt and waits for one terminal line.
void pause_(MasterRecord& L) {
  int32_t saved = L.INUNIT;
  L.INUNIT = L.TRMIN;
  int32_t p = L.LINCUR < 1 ? 1 : L.LINCUR;
  static const char word[] = "PAUSE";
  int32_t m = 0;
  while (m < 5 && p + m <= L.LINEND && linc(L, p + m) == word[m]) ++m;
  int32_t from = p + m;
  char text[204];
  int32_t len = 0;
  for (int32_t k = from; k <= L.LINEND && len < 200; ++k) text[len++] = linc(L, k);
  if (len % 2) text[len++] = ' ';
  text[len] = 0;
  paws_(L, text, len);
  L.INUNIT = saved;
}

// Opens the file named by the rest of the command line (or asked for): mode 1 reads, and
// when the name as typed does not open, tries it upper-cased; any other mode writes a new
// version of the file named exactly as typed, which replaces it only when it is closed
// whole (FOPENNEW_).
void lunget2_(MasterRecord& L, int32_t& h, int32_t mode) {
  h = 0;
  nxblnk_(L, 1);
  getrsp_(L, "FILE NAME=", 5);
  if (L.LINEND < 1) return;
  int32_t end = L.LINEND < 200 ? L.LINEND : 200;
  int32_t cur = L.LINCUR < 1 ? 1 : L.LINCUR;
  L.LINRAW[end] = 0;
  L.LINBUF[end] = 0;
  L.LINEND = 0;
  if (cur > end) {
    PUTS_(" Unable to open file");
    return;
  }
  if (mode == 1) {
    h = FOPEN_(L.LINRAW + cur - 1, "rt");
    if (h == 0) h = FOPEN_(L.LINBUF + cur - 1, "rt");
  } else {
    h = FOPENNEW_(L.LINRAW + cur - 1);
  }
  if (h == 0) PUTS_(" Unable to open file");
}
