// Number editing: general, fixed and integer fields, and the blanking of "E+00".
#include "store/numedit.h"
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Right-justifies the text body (length n) in w characters, or fills them with '*'.
static void place(const char* body, int32_t n, int32_t w, char* out) {
  if (w < 0) w = 0;
  if (n > w) {
    std::memset(out, '*', (size_t)w);
  } else {
    std::memset(out, ' ', (size_t)(w - n));
    std::memcpy(out + (w - n), body, (size_t)n);
  }
  out[w] = 0;
}

// Text of a value that has no digits to show (infinite or not a number).
static bool nonfinite(double x, int32_t w, char* out) {
  if (std::isfinite(x)) return false;
  const char* t = std::isnan(x) ? "NaN" : (x > 0 ? "Infinity" : "-Infinity");
  place(t, (int32_t)std::strlen(t), w, out);
  return true;
}

// Drops the minus sign of a fixed text whose digits are all zero ("-0.00" -> "0.00").
static int32_t unsignzero(char* t, int32_t n) {
  if (n == 0 || t[0] != '-') return n;
  for (int32_t i = 1; i < n; ++i)
    if (t[i] >= '1' && t[i] <= '9') return n;
  std::memmove(t, t + 1, (size_t)n);
  return n - 1;
}


// Adds one unit in the last place to the digit text t[0..n-1] (a '.' is passed over);
// true when the carry runs out of the front.
static bool carry(char* t, int32_t n) {
  for (int32_t i = n - 1; i >= 0; --i) {
    if (t[i] == '.') continue;
    if (t[i] < '9') {
      ++t[i];
      return false;
    }
    t[i] = '0';
  }
  return true;
}

// The d significant digits of ax > 0, rounded half away from zero, and k with
// ax ~ 0.digits * 10^k. Three further digits decide the rounding unless they read "500";
// then 25 further digits decide every tie exactly: a double near a tie but not on it
// differs from it within its first 17 digits.
// Exact powers of ten 10^0 .. 10^22.
static const double P10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common case without text conversion: ax * 10^(d-k) formed with its exact rounding
// error (fma), so the rounding is decided exactly; false when the value lies outside the
// exact powers or too near a tie to tell.
static bool fastdigits(double ax, int32_t d, char* dig, int32_t& k) {
  if (d > 15 || !(ax >= 1e-15 && ax < 1e15)) return false;
  k = (int32_t)std::floor(std::log10(ax)) + 1;
  if (k >= 0 && k <= 22 && ax >= P10[k]) ++k;
  else if (k < 0 && -k <= 22 && ax * P10[-k] >= 1.0) ++k;
  const int32_t sh = d - k;  // 0.1 <= ax / 10^k < 1 expected
  if (sh < 0 || sh > 22) return false;
  const double m = ax * P10[sh];
  const double err = std::fma(ax, P10[sh], -m);  // ax * 10^sh == m + err exactly
  const double fl = std::floor(m);
  const double t = m - fl;  // exact
  bool up;
  if (t == 0.5) up = err >= 0.0;
  else if (std::fabs(t - 0.5) > 4 * std::fabs(err)) up = t > 0.5;
  else return false;
  int64_t n = (int64_t)fl + (up ? 1 : 0);
  const int64_t lo = (int64_t)P10[d - 1], hi = (int64_t)P10[d];
  if (n >= hi) {  // 99.9 -> 100
    n /= 10;
    ++k;
  }
  if (n < lo) return false;  // the estimate of k was off: let the text conversion decide
  for (int32_t i = d - 1; i >= 0; --i) {
    dig[i] = (char)('0' + n % 10);
    n /= 10;
  }
  return true;
}

static void sigdigits(double ax, int32_t d, char* dig, int32_t& k) {
  if (fastdigits(ax, d, dig, k)) return;
  char e[128];
  std::snprintf(e, sizeof e, "%.*e", (int)(d + 2), ax);  // D.DDD...e+XX
  const char* tail = e + d + 1;                            // the three further digits
  if (tail[0] == '5' && tail[1] == '0' && tail[2] == '0')
    std::snprintf(e, sizeof e, "%.*e", (int)(d + 24), ax);
  k = std::atoi(std::strchr(e, 'e') + 1) + 1;
  dig[0] = e[0];
  std::memcpy(dig + 1, e + 2, (size_t)(d - 1));
  const char next = e[d + 1];
  if (next >= '5' && carry(dig, d)) {
    dig[0] = '1';  // 99.9 -> 100: all others are zeros already
    ++k;
  }
}

// Fixed text of x with dec digits after the point, rounded half away from zero; its length.
static int32_t fixedtext(double x, int32_t dec, char* t, int32_t cap) {
  char f[512];
  int32_t n = std::snprintf(f, sizeof f, "%.*f", (int)(dec + 25), std::fabs(x));
  if (n < 0 || n >= (int32_t)sizeof f || n + 3 > cap) return -1;
  int32_t keep = n - 25 - (dec == 0 ? 1 : 0);  // through the last kept digit (or the point)
  bool up = f[n - 25] >= '5';
  int32_t m = 0;
  if (x < 0) t[m++] = '-';
  t[m++] = '0';  // room for a carry out of the front
  std::memcpy(t + m, f, (size_t)keep);
  m += keep;
  int32_t lead = x < 0 ? 1 : 0;
  if (up) carry(t + lead, m - lead);
  if (t[lead] == '0' && t[lead + 1] != '.') {  // no carry: drop the spare digit
    std::memmove(t + lead, t + lead + 1, (size_t)(m - lead - 1));
    --m;
  }
  if (dec == 0) t[m++] = '.';  // the point is always shown
  return unsignzero(t, m);
}

void fedit_(double x, int32_t w, int32_t d, char* out) {
  if (nonfinite(x, w, out)) return;
  if (d < 0) d = 0;
  if (d > 60) d = 60;
  char t[512];
  int32_t n = fixedtext(x, d, t, (int32_t)sizeof t);
  if (n < 0) n = w + 1;  // far too wide for any field
  place(t, n, w, out);
}

void gedit_(double x, int32_t w, int32_t d, char* out) {
  if (nonfinite(x, w, out)) return;
  if (d < 1) d = 1;
  if (d > 40) d = 40;
  char body[80];
  int32_t n;
  if (x == 0.0) {
    // 0.000...E+00
    body[0] = '0';
    body[1] = '.';
    std::memset(body + 2, '0', (size_t)d);
    std::memcpy(body + 2 + d, "E+00", 4);
    n = d + 6;
    place(body, n, w, out);
    return;
  }
  char dig[48];
  int32_t k;
  sigdigits(std::fabs(x), d, dig, k);
  n = 0;
  if (x < 0) body[n++] = '-';
  if (k >= 0 && k <= d) {
    // fixed: k digits before the point (a 0 when none), d - k after, then four blanks
    if (k == 0) body[n++] = '0';
    std::memcpy(body + n, dig, (size_t)k);
    n += k;
    body[n++] = '.';
    std::memcpy(body + n, dig + k, (size_t)(d - k));
    n += d - k;
    n = unsignzero(body, n);
    std::memset(body + n, ' ', 4);
    place(body, n + 4, w, out);
    return;
  }
  body[n++] = '0';
  body[n++] = '.';
  std::memcpy(body + n, dig, (size_t)d);
  n += d;
  int32_t a = k < 0 ? -k : k;
  if (a <= 99) n += std::snprintf(body + n, 8, "E%c%02d", k < 0 ? '-' : '+', (int)a);
  else n += std::snprintf(body + n, 8, "%c%03d", k < 0 ? '-' : '+', (int)a);
  place(body, n, w, out);
}

void iedit_(int64_t v, int32_t w, char* out) {
  char t[32];
  int32_t n = std::snprintf(t, sizeof t, "%lld", (long long)v);
  place(t, n, w, out);
}

void stripe00_(char* line, int32_t n) {
  for (int32_t i = 0; i + 3 < n; ++i)
    if (line[i] == 'E' && line[i + 1] == '+' && line[i + 2] == '0' && line[i + 3] == '0')
      std::memset(line + i, ' ', 4);
}
