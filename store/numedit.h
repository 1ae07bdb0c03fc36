// Number editing for reports and exports: right-justified fields of general (Gw.d),
// fixed (Fw.d) and integer (Iw) form. Each routine writes exactly w characters into out
// followed by a NUL (out holds at least w + 1 characters); a value that does not fit is
// shown as w asterisks.
#pragma once
#include <cstdint>

// General form with d significant digits: fixed notation followed by four blanks when
// 0.1 <= |x| < 10^d after rounding, else 0.ddd...E+ee (a sign first when negative; an
// exponent beyond two digits drops the E). Zero is 0.000...E+00.
void gedit_(double x, int32_t w, int32_t d, char* out);
// Fixed form with d digits after the point.
void fedit_(double x, int32_t w, int32_t d, char* out);
// Integer form.
void iedit_(int64_t v, int32_t w, char* out);
// Blanks out every "E+00" that starts within the first n characters of line.
void stripe00_(char* line, int32_t n);
