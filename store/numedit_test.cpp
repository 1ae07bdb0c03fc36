#include <gtest/gtest.h>
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
