// External text data read by @TEXT.
#pragma once
#include <string>
#include <vector>
#include "language/lang.h"

struct TextToken {
  bool isname = false;
  std::string name;
  double val = 0.0;
};
// Tokens of the file in reading order; kinds gives each field's kind (4 or 5 a name field).
// Status 0 done, 1 cannot open, 2 read failure, 3 a bad token, 4 the count does not fit,
// 5 more tokens than expected.
void getextd2_(MasterRecord& L, const char* fname, const std::vector<int32_t>& kinds, int64_t expected,
               std::vector<TextToken>& out, int64_t& count, int32_t& status);
