// The number text of the MPS import's model text: whole numbers as themselves up to 12
// digits, 12 significant digits in fixed form from 0.1 up, the E form beyond.
#include <gtest/gtest.h>

#include <string>

#include "reports/exchange.h"

namespace {

TEST(ImportNumbers, TextOfEachMagnitude) {
  struct Case {
    double v;
    const char* text;
  } cases[] = {
      {0.0, "0"},
      {1.0, "1"},
      {7.0, "7"},
      {10.0, "10"},
      {1000.0, "1000"},
      {123456789012.0, "123456789012"},
      {999999999999.0, "999999999999"},
      {1e12, "0.1E+13"},
      {1234567890123.0, "0.123456789012E+13"},
      {0.5, "0.5"},
      {1.5, "1.5"},
      {2.25, "2.25"},
      {0.1, "0.1"},
      {0.05, "0.5E-01"},
      {123.456, "123.456"},
      {1.0 / 3.0, "0.333333333333"},
      {999999999999.5, "0.1E+13"},
      {-3.0, "-3"},
      {-0.25, "-0.25"},
      // exact ties at the twelfth digit go to the even digit; a carry moves the exponent
      {1234567890125.0, "0.123456789012E+13"},
      {1234567890135.0, "0.123456789014E+13"},
      {9.9999999999996, "10"},
      {0.099999999999996, "0.1"},
      {0.000123456789012345, "0.123456789012E-03"},
      {2.5e-7, "0.25E-06"},
      {1e-300, "0.1E-299"},
      {1e100, "0.1E+101"},
      // a subnormal keeps its twelve digits although fewer would read back as it
      {4.9406564584124654e-324, "0.494065645841E-323"},
      {31.09, "31.09"},
      {-0.0625, "-0.625E-01"},
  };
  for (const Case& c : cases) EXPECT_EQ(prtnum_(c.v), c.text) << c.v;
}

}  // namespace
