// Exact decimal conversion shared by the number readers and writers: the powers of ten a
// double holds exactly, and the value of a short decimal computed from them.
#pragma once
#include <cstdint>

// 10^0 .. 10^22, each exact in a double.
inline constexpr double POW10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value of m x 10^e10 when m is below 2^53 and |e10| at most 22: one correctly rounded
// operation on exact values, so the value strtod finds. False, v untouched, otherwise.
inline bool exact_decimal(uint64_t m, int32_t e10, double& v) {
  if (m >= (uint64_t(1) << 53) || e10 < -22 || e10 > 22) return false;
  v = e10 >= 0 ? static_cast<double>(m) * POW10[e10] : static_cast<double>(m) / POW10[-e10];
  return true;
}
