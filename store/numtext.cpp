// Text to number: the number syntax shared by the command reader and the model scanner.
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/decimal.h"
#include "store/master.h"
#include "store/util.h"

namespace {
bool isdig(char c) { return c >= '0' && c <= '9'; }
double bignum(const MasterRecord& L) { return L.BIGNUM > 0 ? L.BIGNUM : 1e307; }
}  // namespace

// Text to number: pos is the position before the text; on success it is left on the last
// character of the number. Errors: 1 no number, 2 the number exceeded the largest number.
int32_t txt2np_(const MasterRecord& L, const char* text, int32_t& pos, int32_t len, int32_t syntax, double& val) {
  val = 0.0;
  int32_t i = pos + 1;
  while (i <= len && text[i] == ' ') ++i;
  // the digits, point and exponent gathered for the conversion (at most 128 digits)
  char digits[160];
  int32_t nd = 0;
  int32_t ndig = 0, last = 0;
  bool frac = false;
  int32_t exp = 0, esign = 1;
  bool hasexp = false;
  // the digits as a whole number while it stays exact, and the digits after the point
  uint64_t mant = 0;
  int32_t nfrac = 0;
  bool exact = true;
  for (; i <= len; ++i) {
    char c = text[i];
    if (isdig(c)) {
      if (++ndig > 128) return 1;
      digits[nd++] = c;
      last = i;
      if (mant >= (1ull << 53) / 10) exact = false;
      mant = mant * 10 + (uint64_t)(c - '0');
      nfrac += frac ? 1 : 0;
    } else if (c == '.') {
      if (i + 1 <= len && text[i + 1] == '.') {
        if (ndig == 0 || !frac) return 1;
        break;
      }
      if (frac) break;  // a second point ends the number before it
      frac = true;
      digits[nd++] = c;
      if (ndig > 0) last = i;
    } else if ((c == 'E' || c == 'e') && syntax == 0 && ndig > 0 && i < len) {
      int32_t j = i + 1, s = 1;
      if (text[j] == '+' || text[j] == '-') {
        s = text[j] == '-' ? -1 : 1;
        ++j;
      }
      if (j > len || !isdig(text[j])) break;
      for (; j <= len && isdig(text[j]); ++j) {
        if (exp < 100000) exp = exp * 10 + (text[j] - '0');
        last = j;
      }
      esign = s;
      hasexp = true;
      break;
    } else {
      break;
    }
  }
  if (ndig == 0) return 1;
  if (hasexp) {
    digits[nd++] = 'e';
    if (esign < 0) digits[nd++] = '-';
    nd = (int32_t)(std::to_chars(digits + nd, digits + sizeof digits, exp).ptr - digits);
  }
  double v = 0.0;
  // A whole number below 2^53 times or over an exact power of ten is one correctly rounded
  // operation on exact values: the value strtod finds. Otherwise from_chars, and strtod for
  // what from_chars does not take (out of range).
  const int32_t e10 = (hasexp ? esign * exp : 0) - nfrac;
  if (!exact || !exact_decimal(mant, e10, v)) {
    const auto [q, ec] = std::from_chars(digits, digits + nd, v);
    if (ec != std::errc() || q != digits + nd) {
      digits[nd] = 0;
      v = std::strtod(digits, nullptr);
    }
  }
  int32_t err = 0;
  if (!(v <= bignum(L))) {
    v = bignum(L);
    err = 2;
  }
  val = v;
  pos = last;
  return err;
}

// Copies n characters of the line to raw unchanged and upper-cases the line.
void ushift_(char* line, int32_t n, char* raw) {
  for (int32_t i = 0; i < n; ++i) {
    raw[i] = line[i];
    if (line[i] >= 'a' && line[i] <= 'z') line[i] = (char)(line[i] - 'a' + 'A');
  }
}
