// The vocabulary and grammar tables: their sizes and the rows given in full.
#include <gtest/gtest.h>
#include "language/vocab.h"

TEST(Vocab, SizesOfTheTables) {
  const Vocab& v = qrn_vocab();
  EXPECT_EQ(v.ntok, 116);
  EXPECT_EQ(v.start[116] - 1, 537);
  const Grammar& g = qrn_grammar();
  EXPECT_EQ(g.nentries, 1230);
  EXPECT_EQ(g.nsinpt[101], 1231);
  for (int k = 1; k <= g.nentries; ++k) EXPECT_GT(g.nsintx[k], 0) << "entry " << k;
  const int counts[101] = {0,  65, 54, 23, 61, 46, 46, 63, 1, 3, 1, 2, 1, 2, 71, 1, 51, 62, 22, 1, 60,
                           1,  1,  54, 1,  8,  3,  61, 14, 2, 8, 4, 7, 2, 8,  2,  4, 1,  2,  1,  5, 2,
                           2,  1,  2,  3,  4,  1,  1,  3,  3, 1, 2, 1, 1, 61, 48, 17, 3, 1, 1, 1, 2,
                           3,  2,  1,  1,  8,  8,  8,  5,  1, 3, 2, 1, 2, 1,  1,  7,  8, 1, 2, 1, 1,
                           22, 8,  7,  1,  1,  3,  1,  1,  1, 1, 1, 8, 1, 1,  1,  57, 62};
  int total = 0;
  for (int s = 1; s <= 100; ++s) {
    EXPECT_EQ(g.nsinpt[s + 1] - g.nsinpt[s], counts[s]) << "state " << s;
    total += counts[s];
  }
  EXPECT_EQ(total, 1230);
  const BrkGrammar& b = brk_grammar();
  EXPECT_EQ(brk_vocab().ntok, 23);
  EXPECT_EQ(b.nentries, 82);
}

TEST(Vocab, LongerTokensComeFirstWithinARow) {
  const Vocab& v = qrn_vocab();
  const Grammar& g = qrn_grammar();
  auto text = [&](int t) { return std::string(v.text + v.start[t - 1] - 1, v.start[t] - v.start[t - 1]); };
  for (int s = 1; s <= 100; ++s)
    for (int a = g.nsinpt[s]; a < g.nsinpt[s + 1]; ++a)
      for (int b = a + 1; b < g.nsinpt[s + 1]; ++b) {
        std::string ta = text(g.nsintx[a]), tb = text(g.nsintx[b]);
        if (ta[0] == '!' || tb[0] == '!') continue;
        EXPECT_FALSE(tb.size() > ta.size() && tb.compare(0, ta.size(), ta) == 0 && ta != "END")
            << "state " << s << ": " << ta << " before " << tb;
      }
}
