#include <gtest/gtest.h>

#include "tests/unit/modeltext_fixture.h"

using Lines = std::vector<std::string>;

// Enters a model through getmod_ with the given command line and input lines.
static void enter(TextSession& t, int32_t mode, int32_t syntax, const std::string& input,
                  const std::string& cmdline = "") {
  std::memset(t.L.LINRAW, ' ', 200);
  std::memcpy(t.L.LINRAW, cmdline.data(), cmdline.size());
  t.L.LINEND = (int32_t)cmdline.size();
  t.L.LINCUR = cmdline.empty() ? 1 : 1;
  if (cmdline.empty()) t.L.LINEND = 0;
  onterminal(input, [&] { getmod_(mode, t.W, t.L, 0, 8, syntax, 0, t.L.KPASSW); });
}

// The store's invariants: capacities equal the blocks' sizes, line starts ascend.
static void invariants(const TextSession& t) {
  ASSERT_GT(t.L.TEXTBLK, 0);
  EXPECT_LE((int64_t)t.L.TEXTCAP, (int64_t)t.L.LEN[t.L.TEXTBLK] * 4);
  EXPECT_LE((int64_t)t.L.LINECAP, (int64_t)t.L.LEN[t.L.LINEIX]);
  EXPECT_LE((int64_t)t.L.LINECAP, (int64_t)t.L.LEN[t.L.LINEMAP]);
  EXPECT_GE(t.L.LINECAP, t.L.MODLINES + 2);
  EXPECT_EQ(lixget(t.W, t.L, 1), 1);
  for (int k = 1; k <= t.L.MODLINES; ++k) EXPECT_LE(lixget(t.W, t.L, k), lixget(t.W, t.L, k + 1));
  EXPECT_GE(t.L.TEXTCAP, textlen_(t.W, t.L));
}

TEST(ModelText, EntryEndsAtTheEndKeywordAndDropsListingNumbers) {
  struct Case {
    std::string input;
    Lines want;
  } cases[] = {
      {"MAX = X;\nX < 5;\nend\n", {"MAX = X;", "X < 5;"}},
      {"A;\n E n D \nB;\n", {"A;"}},
      {"A;\nEND;\nENDS\nend\n", {"A;", "END;", "ENDS"}},
      {"   12]  X < 5;\n12]\n12 X < 5;\n]Y;\nEND\n", {"  X < 5;", "", "12 X < 5;", "Y;"}},
      {"A;\n\n   \nB;\nEND\n", {"A;", "", "", "B;"}},
      {"A;\nB;\n", {"A;", "B;"}},  // end of input ends the entry
  };
  for (auto& c : cases) {
    TextSession t;
    enter(t, 0, 0, c.input);
    EXPECT_EQ(t.lines(), c.want) << c.input;
    invariants(t);
  }
}

TEST(ModelText, ExtendAppendsAndRowSyntaxKeepsItsEnd) {
  TextSession t;
  enter(t, 1, 0, "A;\nEND\n");  // EXT on an empty store starts a new text
  EXPECT_EQ(t.lines(), Lines({"A;"}));
  for (int i = 0; i < 40; ++i) enter(t, 1, 0, "B" + std::to_string(i) + ";\nEND\n");
  EXPECT_EQ(t.L.MODLINES, 41);
  EXPECT_EQ(t.lines()[40], "B39;");
  invariants(t);
  invariants(t);
  // lines appended to a hidden model are typed in clear
  onterminal("C;\nEND\n", [&] { getmod_(1, t.W, t.L, 1, 8, 0, 0, t.L.KPASSW); });
  EXPECT_EQ(t.lines().back(), "C;");
  // the row syntax: the command line is the first line and the end keyword is stored
  TextSession r;
  enter(r, 0, 1, "ST\nX < 3\nEnd\n", "MAX 2X + 3Y");
  EXPECT_EQ(r.lines(), Lines({"MAX 2X + 3Y", "ST", "X < 3", "End"}));
  EXPECT_EQ(r.L.SYNTAX, 1);
  // a one-line command appends the command line as typed
  std::memcpy(r.L.LINRAW, "gin x   ", 8);
  r.L.LINEND = 5;
  getmod_(1, r.W, r.L, 0, 8, r.L.SYNTAX, 1, r.L.KPASSW);
  EXPECT_EQ(r.lines().back(), "gin x");
  invariants(r);
}

TEST(ModelText, LongModelsGrowTheStore) {
  TextSession t;
  std::string in;
  for (int i = 0; i < 3000; ++i) in += std::string(150, 'a' + i % 26) + "\n";
  enter(t, 0, 0, in + "END\n");
  EXPECT_EQ(t.L.MODLINES, 3000);
  EXPECT_EQ(textlen_(t.W, t.L), 450000);
  invariants(t);
}

// The listing of lines first..last as printed.
static std::string listing(TextSession& t, int first, int last, int heading = 0) {
  return onterminal("", [&] { look2_(t.W, t.L, first, last, 0, t.L.KPASSW, heading); });
}

TEST(ModelText, ListingNumberWidthFollowsTheLastLine) {
  TextSession t;
  Lines nine(9, "X;");
  t.store(nine);
  EXPECT_EQ(listing(t, 1, 1, 0), "   1]X;\n");
  EXPECT_EQ(listing(t, 1, 9).substr(0, 16), " MODEL:\n   1]X;\n");
  Lines ten(10, "X;");
  t.store(ten);
  std::string all = listing(t, 1, 10);
  EXPECT_EQ(all.substr(0, 16), " MODEL:\n    1]X;");
  EXPECT_NE(all.find("\n   10]X;\n END\n"), std::string::npos);
  EXPECT_EQ(listing(t, 5, 3), "");
  EXPECT_EQ(listing(t, 2, 3), "   2]X;\n   3]X;\n");
  EXPECT_EQ(listing(t, 9, 10), "    9]X;\n   10]X;\n");
  EXPECT_EQ(listing(t, 3, 3, 1), " MODEL:\n   3]X;\n END\n");
  t.store({"MAX 2X", "END"}, 1);
  EXPECT_EQ(listing(t, 1, 2), " MAX 2X\n END\n");
}

TEST(ModelText, LineTooLongForTheWidthStopsTheListing) {
  TextSession t;
  // width 1: the prefix takes 4 characters, LINLEN 76 leaves 71 for the text
  t.store({"A;", std::string(71, 'x'), std::string(72, 'y'), "B;"});
  std::string out = listing(t, 1, 4);
  EXPECT_NE(out.find("   2]" + std::string(71, 'x') + "\n"), std::string::npos);
  EXPECT_EQ(out.find("yyy"), std::string::npos);
  EXPECT_EQ(out.find("B;"), std::string::npos);
  EXPECT_EQ(t.L.LASTERR, 113);
  EXPECT_EQ(t.L.ERRARG, 3);
}

TEST(ModelText, DeleteMovesLinesUpAndKeepsTheStoreTight) {
  struct Case {
    int first, last;
    Lines want;
  } cases[] = {
      {3, 3, {"one", "two"}},       {2, 2, {"one", "three"}}, {0, 1, {"two", "three"}},
      {2, 9, {"one"}},              {3, 2, {"one", "two", "three"}}, {1, 3, {}},
  };
  for (auto& c : cases) {
    TextSession t;
    t.store({"one", "two", "three"});
    deline_(t.W, t.L, c.first, c.last);
    EXPECT_EQ(t.lines(), c.want) << c.first << ".." << c.last;
    invariants(t);
  }
}

TEST(ModelText, CopiesTellWhetherTheTextChanged) {
  TextSession t;
  t.store({"MAX = X;", "X < 5;"});
  int32_t h = 0, n = 0;
  savmod_(t.W, t.L, h, n);
  EXPECT_EQ(n, 14);
  EXPECT_EQ(compare_(t.W, t.L, h, n), QTRUE);
  txtput(t.W, t.L, 1, 'm');  // same length, one character differs
  EXPECT_EQ(compare_(t.W, t.L, h, n), QFALSE);
  txtput(t.W, t.L, 1, 'M');
  EXPECT_EQ(compare_(t.W, t.L, h, n), QTRUE);
  deline_(t.W, t.L, 2, 2);
  EXPECT_EQ(compare_(t.W, t.L, h, n), QFALSE);
  EXPECT_EQ(compare_(t.W, t.L, 0, 0), QFALSE);
  // the solution check needs a held solution of a good status and the same text
  int32_t s = 0, sn = 0;
  savmod_(t.W, t.L, s, sn);
  t.L.SOLCPY = s;
  t.L.SOLLEN = sn;
  t.L.HAVESOL = QTRUE;
  for (int st : {1, 5, 8, 10}) {
    t.L.MODSTAT = st;
    EXPECT_EQ(tstopt_(t.W, t.L), QTRUE);
  }
  t.L.MODSTAT = 3;
  EXPECT_EQ(tstopt_(t.W, t.L), QFALSE);
  t.L.MODSTAT = 1;
  t.L.HAVESOL = QFALSE;
  EXPECT_EQ(tstopt_(t.W, t.L), QFALSE);
  // with no text the copy is empty and its block released
  TextSession e;
  int32_t h2 = 0, n2 = 5;
  savmod_(e.W, e.L, h2, n2);
  EXPECT_EQ(h2, 0);
  EXPECT_EQ(n2, 0);
}

TEST(ModelText, CopiesSeeLineBreaks) {
  // the same characters split into other lines are another text (a row-syntax comment
  // runs to the end of its line); a text of empty lines is a text that can be compared
  struct Case { std::vector<std::string> saved, now; int32_t same; };
  const Case cases[] = {
      {{"X < 4 !", "Y < 1"}, {"X < 4 !Y < 1"}, QFALSE},
      {{"ab", "c"}, {"a", "bc"}, QFALSE},
      {{"ab", "c"}, {"ab", "c"}, QTRUE},
      {{""}, {""}, QTRUE},
      {{"", ""}, {""}, QFALSE},
  };
  for (const Case& c : cases) {
    TextSession t;
    t.store(c.saved);
    int32_t h = 0, n = 0;
    savmod_(t.W, t.L, h, n);
    t.store(c.now);
    EXPECT_EQ(compare_(t.W, t.L, h, n), c.same) << c.saved.size() << " lines saved";
  }
}

static double g_now = 1.23;
static double fakeclock() { return g_now; }

TEST(HiddenText, SavedScrambledAndReadBack) {
  setcpuclock_(fakeclock);
  TextSession t;
  Lines model = {"MAX = 20*X + 30*Y;", "X < 50; ! \xe9t\xe9 caf\xc3\xa9", "", "Y < 60;"};
  t.store(model);
  std::memcpy(t.L.KPASSW, "s3Cr\xf1t  ", 8);
  g_now = 1.23;
  std::string a = onterminal("", [&] { look2_(t.W, t.L, 1, 4, 1, t.L.KPASSW, 0); });
  g_now = 7.89;
  std::string b = onterminal("", [&] { look2_(t.W, t.L, 1, 4, 1, t.L.KPASSW, 0); });
  setcpuclock_(nullptr);
  ASSERT_EQ(a.substr(0, 9), " HMODEL:\n");
  ASSERT_EQ(a.substr(a.size() - 5), " END\n");
  int nlines = 0;
  for (char c : a) nlines += c == '\n';
  EXPECT_EQ(nlines, 11);  // heading, 9 scrambled lines (4 and padding), end
  EXPECT_NE(a, b);
  EXPECT_EQ(a.find("MAX"), std::string::npos);
  for (const std::string& file : {a, b}) {
    TextSession r;
    char key[9] = "        ";
    std::string in = file.substr(9);  // the command loop has read the heading
    onterminal(in, [&] { getmod_(0, r.W, r.L, 1, 8, 0, 0, key); });
    EXPECT_EQ(r.lines(), model);
    EXPECT_EQ(std::string(key, 8), "s3Cr\xf1t  ");
  }
  // a line removed from the file garbles the lines after it
  TextSession r;
  char key[9] = "        ";
  std::string in = a.substr(9);
  in.erase(0, in.find('\n') + 1);
  onterminal(in, [&] { getmod_(0, r.W, r.L, 1, 8, 0, 0, key); });
  EXPECT_NE(r.lines(), model);
}

TEST(HiddenText, TooLongForTheScrambledForm) {
  TextSession t;
  t.L.LINLEN = 200;
  // width 1: 4 + 193 = 197 fits, 4 + 194 = 198 reaches LINLEN - 2
  t.store({std::string(193, 'a'), std::string(194, 'b')});
  std::string out = onterminal("", [&] { look2_(t.W, t.L, 1, 2, 1, t.L.KPASSW, 0); });
  EXPECT_EQ(t.L.LASTERR, 113);
  EXPECT_EQ(t.L.ERRARG, 2);
  t.L.LASTERR = 0;
  onterminal("", [&] { look2_(t.W, t.L, 1, 2, 0, t.L.KPASSW, 0); });
  EXPECT_EQ(t.L.LASTERR, 0);
}
