// Model text for the benchmark programs, stored straight into the work store as the
// model entry would leave it: the text block and the line index.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "language/lang.h"
#include "store/store.h"

// Stores the lines as the model text; MODLINES becomes their count.
inline void storemodel(Work& W, MasterRecord& L, const std::vector<std::string>& lines) {
  std::string text;
  std::vector<int32_t> starts;
  for (const std::string& s : lines) {
    starts.push_back((int32_t)text.size() + 1);
    text += s;
  }
  starts.push_back((int32_t)text.size() + 1);
  int32_t n = (int32_t)text.size() + 8, st = 0;
  setblk_(1, n, W, L, L.TEXTBLK, st);
  int32_t m = (int32_t)starts.size() + 1;
  setblk_(2, m, W, L, L.LINEIX, st);
  for (size_t i = 0; i < text.size(); ++i) cput(W, wbyte(L.START[L.TEXTBLK]) + (int64_t)i, text[i]);
  for (size_t k = 0; k < starts.size(); ++k) iput(W, L, L.LINEIX, (int64_t)k + 1, starts[k]);
  L.MODLINES = (int32_t)lines.size();
}
