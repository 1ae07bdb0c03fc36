// Default names of rows and variables that have none of their own: a prefix and the
// number padded with zeros to a width.
#include <cstring>

#include "language/lang.h"

// name = prefix, zeros up to width, the number's digits, NUL; never cut.
void wrtrcnam_(MasterRecord&, const char* prefix, int32_t width, int32_t number, char* name) {
  size_t p = std::strlen(prefix);
  std::memcpy(name, prefix, p);
  char t[16];
  int32_t n = 0;
  nm2txt_((double)number, t, n);
  int32_t zeros = width - (int32_t)p - n;
  for (int32_t k = 0; k < zeros; ++k) name[p++] = '0';
  std::memcpy(name + p, t + 15 - n, (size_t)n);
  name[p + n] = 0;
}
