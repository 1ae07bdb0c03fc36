// Values asked at generation: which variables are asked, what an answer stores, and how
// an empty answer or the end of input stops the asking.
#include <gtest/gtest.h>

#include <cstdio>

#include "generate/scalar_test_fixture.h"
#include "language/lang.h"
#include "store/io.h"

namespace {

// Scalar variables X, Y, Z (1..3) and the attribute X over set A (variables 10..12), with
// the terminal reading the given input.
struct AskModel : ScalarModel {
  FILE* in = std::tmpfile();
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  explicit AskModel(const std::string& input) {
    std::fputs(input.c_str(), in);
    std::rewind(in);
    trmstreams_(in, out, err);
    L.MSGOFF = 0;
    int32_t n = 3 * 32, st = 0;
    setblk_(1, n, A, L, L.SCLNAM, st);
    for (int32_t v = 1; v <= 3; ++v) putnam_(A, L, L.SCLNAM, v, &"XYZ"[v - 1], 1);
    n = 3 * 32;
    setblk_(1, n, A, L, L.KANAME, st);
    putnam_(A, L, L.KANAME, 1, "PRICE", 5);
    L.NSCALAR = 3;
    for (int32_t v = 1; v <= 50; ++v) setval(v, 1e307);  // nothing is known yet
    L.LINEND = L.LINCUR = 0;
  }
  ~AskModel() {
    trmstreams_(nullptr, nullptr, nullptr);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
  }
  std::string output() {
    std::fflush(out);
    std::rewind(out);
    std::string s;
    for (int c; (c = std::getc(out)) != EOF;) s += (char)c;
    return s;
  }
  int32_t ask(const std::vector<int32_t>& list, int32_t mode = 1) {
    int32_t& h = mode == 1 ? L.VREF1 : L.VREF2;
    h = iblock(list);
    (mode == 1 ? L.VREF1N : L.VREF2N) = (int32_t)list.size();
    int32_t e = -1;
    getrti_(A, L, mode, e);
    return e;
  }
};

TEST(AskedValues, AnswersAreStoredInOrderAndOnlyOpenValuesAreAsked) {
  AskModel m("-2.5\nabc\n7\n");
  m.setval(1, 5.0);  // given already
  EXPECT_EQ(m.ask({1, 2, 3}), 0);
  EXPECT_EQ(m.val(1), 5.0);
  EXPECT_EQ(m.val(2), -2.5);
  EXPECT_EQ(m.val(3), 7.0);
  const std::string out = m.output();
  EXPECT_NE(out.find(" Please input data values for the following variables:"), std::string::npos);
  EXPECT_EQ(out.find("X ?"), std::string::npos);
  const size_t y = out.find("Y ?"), bad = out.find("Invalid number, please retry!");
  ASSERT_NE(y, std::string::npos);
  ASSERT_NE(bad, std::string::npos);
  EXPECT_LT(y, bad);
  EXPECT_NE(out.find("Z ?", bad), std::string::npos);  // asked again after the bad answer
}

TEST(AskedValues, AnEmptyAnswerOrTheEndOfInputStopsTheAsking) {
  for (const char* input : {"\n4\n", "", "abc\n"}) {
    AskModel m(input);
    EXPECT_EQ(m.ask({1, 2}), 1) << input;
    EXPECT_EQ(m.val(1), 1e307) << input;  // nothing half-filled
    EXPECT_EQ(m.val(2), 1e307) << input;
  }
}

TEST(AskedValues, AttributeEntriesFollowTheSlideAndStartValuesSkipKnownVariables) {
  AskModel m("1\n2\n3\n");
  m.L.JSLIDE = 1;      // the attribute block moved down by one: entry 11 is variable 10
  EXPECT_EQ(m.ask({2, 11}), 0);
  EXPECT_EQ(m.val(2), 1.0);  // a scalar entry is never moved
  EXPECT_EQ(m.val(10), 2.0);
  EXPECT_NE(m.output().find("PRICE( A1) ?"), std::string::npos) << m.output();
  m.L.JSLIDE = 0;
  bputi(m.A, m.L, m.L.VARKND, 3, 5);  // a parameter has no start value
  EXPECT_EQ(m.ask({3, 4}, 2), 0);
  EXPECT_EQ(m.val(3), 1e307);
  EXPECT_EQ(m.val(4), 3.0);
  EXPECT_NE(m.output().find(" Please input starting values for the following variables:"), std::string::npos);
}

}  // namespace
