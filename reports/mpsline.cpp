// MPS-style names and data lines: a subscripted name compacted into 8 characters, and one
// line in the fixed columns of an MPS file.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "reports/exchange.h"
#include "store/io.h"

// Compacts the name in place: blanks go, a closing ")" goes, then "," and "(" from the
// left while more than 8 characters remain, then the name is cut to 8.
void lcmptx_(char* text, int32_t& len, int32_t& shortened) {
  shortened = 0;
  if (len <= 0) {
    len = 0;
    return;
  }
  int32_t orig = len, n = 0;
  for (int32_t i = 0; i < orig; ++i)
    if (text[i] != ' ') text[n++] = text[i];
  if (n > 0 && text[n - 1] == ')') --n;
  if (n >= 9) {
    shortened = 1;
    int32_t i = 0;
    while (n > 8 && i < n) {
      if (text[i] == ',' || text[i] == '(') {
        std::memmove(text + i, text + i + 1, (size_t)(n - i - 1));
        --n;
      } else {
        ++i;
      }
    }
    if (n > 8) n = 8;
  }
  for (int32_t i = n; i < orig; ++i) text[i] = ' ';
  len = n;
}

// Prints one MPS data line; the value's decimals follow its magnitude.
void lotmps_(MasterRecord& L, char* line, int32_t unit, const char* code, const char* name1,
             const char* name2, double value, int32_t nonlinear) {
  int n = std::snprintf(line, 200, " %-2.2s %-8.8s  %-8.8s  ", code, name1, name2);
  if (nonlinear & 1) {
    n += std::snprintf(line + n, (size_t)(200 - n), "?");
  } else {
    double a = std::fabs(value);
    int dec = a >= 1e6 ? 0 : a >= 1000 ? 4 : a >= 1 ? 7 : 9;
    n += std::snprintf(line + n, (size_t)(200 - n), "%12.*f", dec, value);
  }
  if (n > 199) n = 199;
  lprint_(L, unit, line, n);
}
