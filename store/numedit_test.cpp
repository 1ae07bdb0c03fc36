#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "store/numedit.h"

namespace {
struct GCase {
  double x;
  int w, d;
  const char* want;
};
}  // namespace

TEST(NumberEditing, GeneralFieldsFixedInsideTheirRangeExponentOutside) {
  const GCase cases[] = {
      {1.5, 20, 7, "        1.500000    "},
      {0.75, 20, 7, "       0.7500000    "},
      {-2.5, 20, 7, "       -2.500000    "},
      {-1234.5678, 20, 7, "       -1234.568    "},
      {0.0, 20, 7, "       0.0000000E+00"},
      {1e7, 20, 7, "       0.1000000E+08"},
      {9999999.4, 20, 7, "        9999999.    "},    // rounds inside: no digits after the point
      {9999999.6, 20, 7, "       0.1000000E+08"},    // rounds up out of the fixed range
      {0.0999999996, 20, 7, "       0.1000000    "}, // rounds up into the fixed range
      {0.09999994, 20, 7, "       0.9999994E-01"},
      {-0.05, 20, 7, "      -0.5000000E-01"},
      {1e-100, 20, 7, "       0.1000000E-99"},
      {1e-101, 20, 7, "       0.1000000-100"},   // three-digit exponents drop the E
      {1e300, 20, 7, "       0.1000000+301"},
      {0.5, 17, 7, "    0.5000000    "},
      {1e30, 17, 7, "    0.1000000E+31"},
      {1e6, 14, 6, "  0.100000E+07"},
      {123456.0, 14, 6, "   123456.    "},
      {1.0 / 3, 16, 8, "  0.33333333    "},
      {-123456789.0, 16, 8, " -0.12345679E+09"},
      {12.0, 5, 2, "*****"},  // too wide for the field
      {12345.125, 20, 7, "        12345.13    "},  // an exact tie rounds away from zero
      {-0.5, 12, 1, "    -0.5    "},
      {-1e-5, 12, 7, "************"},
  };
  for (const GCase& c : cases) {
    char out[64];
    gedit_(c.x, c.w, c.d, out);
    EXPECT_EQ(std::string(out), c.want) << c.x << " G" << c.w << "." << c.d;
  }
}

TEST(NumberEditing, FixedAndIntegerFields) {
  char out[64];
  const GCase fixed[] = {
      {0.5, 6, 3, " 0.500"}, {1.0, 5, 3, "1.000"},   {12.5, 5, 3, "*****"},
      {-0.0001, 6, 3, " 0.000"}, {2.5, 4, 0, "  3."}, {-7.25, 7, 2, "  -7.25"},
      {0.125, 5, 2, " 0.13"}, {99.5, 4, 0, "100."}, {-9.96, 6, 1, " -10.0"},
  };
  for (const GCase& c : fixed) {
    fedit_(c.x, c.w, c.d, out);
    EXPECT_EQ(std::string(out), c.want) << c.x << " F" << c.w << "." << c.d;
  }
  iedit_(42, 8, out);
  EXPECT_EQ(std::string(out), "      42");
  iedit_(-7, 3, out);
  EXPECT_EQ(std::string(out), " -7");
  iedit_(123456, 5, out);
  EXPECT_EQ(std::string(out), "*****");
  gedit_(1.0 / 0.0, 10, 3, out);
  EXPECT_EQ(std::string(out), "  Infinity");
}

TEST(NumberEditing, ExponentZeroBlankedWithinTheGivenLength) {
  std::string line = "A 0.0000000E+00 B 0.1E+01 0.5E+00";
  stripe00_(line.data(), 26);  // the last one starts beyond the limit
  EXPECT_EQ(line, "A 0.0000000     B 0.1E+01 0.5E+00");
  stripe00_(line.data(), (int32_t)line.size());
  EXPECT_EQ(line, "A 0.0000000     B 0.1E+01 0.5    ");
}

// Digits of |x| rounded half away from zero to d significant digits, from the exact
// decimal expansion: the reference for the general form's digits.
static std::string refdigits(double x, int d, int& k) {
  char e[128];
  std::snprintf(e, sizeof e, "%.60e", std::fabs(x));
  k = std::atoi(std::strchr(e, 'e') + 1) + 1;
  std::string dig = std::string(1, e[0]) + std::string(e + 2, 60);
  std::string keep = dig.substr(0, (size_t)d);
  if (dig[(size_t)d] >= '5') {
    int i = d - 1;
    while (i >= 0 && keep[(size_t)i] == '9') keep[(size_t)i--] = '0';
    if (i < 0) {
      keep = "1" + keep.substr(0, (size_t)d - 1);
      ++k;
    } else {
      ++keep[(size_t)i];
    }
  }
  return keep;
}

TEST(NumberEditing, DigitsAgreeWithTheExactExpansion) {
  uint64_t s = 12345;
  auto next = [&] { return s = s * 6364136223846793005ULL + 1442695040888963407ULL; };
  for (int i = 0; i < 200000; ++i) {
    const int d = 6 + (int)(next() % 3);  // 6, 7, 8 as the reports use
    double x;
    switch (i % 4) {
      case 0: x = (double)(next() % 100000000) / 1000.0; break;                // short decimals
      case 1: x = (double)(next() >> 11) / 9007199254740992.0 * 1e6; break;   // any bits
      case 2: x = (double)(next() % 2000001) / 8.0; break;                     // exact ties
      default: x = std::ldexp((double)(next() >> 11), -(int)(next() % 80)); break;
    }
    if (x == 0.0) continue;
    int k = 0;
    const std::string want = refdigits(x, d, k);
    char out[64];
    gedit_(x, 30, d, out);
    std::string got;
    for (const char* p = out; *p && *p != 'E' && !(*p == '+' || (*p == '-' && p != out && p[-1] != ' ')); ++p)
      if (*p >= '0' && *p <= '9') got += *p;
    // fixed form: leading zero of 0.x dropped; exponent form: "0." dropped
    while (got.size() > (size_t)d && got[0] == '0') got.erase(0, 1);
    ASSERT_EQ(got, want) << x << " d=" << d << " out=" << out;
  }
}
