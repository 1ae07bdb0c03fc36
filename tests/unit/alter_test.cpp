#include <gtest/gtest.h>

#include "tests/unit/modeltext_fixture.h"

using Lines = std::vector<std::string>;

// Runs ALTER on the command line (after the command word) with the model's lines.
static std::string alter(TextSession& t, const std::string& args, const std::string& input = "") {
  std::string line = "ALT " + args;
  std::memset(t.L.LINBUF, ' ', 200);
  std::memset(t.L.LINRAW, ' ', 200);
  std::memcpy(t.L.LINRAW, line.data(), line.size());
  for (size_t i = 0; i < line.size(); ++i)
    t.L.LINBUF[i] = (char)std::toupper((unsigned char)line[i]);
  t.L.LINEND = (int32_t)line.size();
  while (t.L.LINEND > 0 && line[(size_t)t.L.LINEND - 1] == ' ') --t.L.LINEND;
  t.L.LINCUR = 1;
  return onterminal(input, [&] { altbos_(t.W, t.L); });
}

TEST(Alter, ReplacesInTheRangeAndListsChangedLines) {
  struct Case {
    Lines model;
    std::string args;
    Lines want;
    std::string printed;
  } cases[] = {
      {{"x + X < 3;", "y;"}, "1 'x'y'", {"y + y < 3;", "y;"}, " \n   1]y + y < 3;\n \n"},
      {{"a'b = 1;", "A'B;"}, "ALL \"a'b\"c\"", {"c = 1;", "c;"}, " \n   1]c = 1;\n   2]c;\n \n"},
      {{"abab"}, "1 'ab'abab'", {"abababab"}, " \n MODEL:\n   1]abababab\n END\n \n"},
      {{"whole"}, "1 'whole''", {"whole"}, ""},             // an empty result leaves the line
      {{"abc"}, "1 'abcd'x'", {"abc"}, ""},                  // longer than the line: no match
      {{"A;", "B;", "C;"}, "2 3 'b'Q R'", {"A;", "Q R;", "C;"}, " \n   2]Q R;\n \n"},
      {{"A;", "B;", "C;"}, "2 'b' ' '", {"A;", " ;", "C;"}, " \n   2] ;\n \n"},
      {{std::string(150, 'z')}, "1 'z'yy'", {std::string(150, 'z')}, ""},  // result over 297
  };
  for (auto& c : cases) {
    TextSession t;
    t.store(c.model);
    EXPECT_EQ(alter(t, c.args), c.printed) << c.args;
    EXPECT_EQ(t.lines(), c.want) << c.args;
    EXPECT_LE((int64_t)t.L.TEXTCAP, (int64_t)t.L.LEN[t.L.TEXTBLK] * 4);
  }
}

// The strings asked for on a line of their own: the prompt shown is printable text, the
// odd length made up with a blank rather than the text's terminator.
TEST(Alter, PromptForTheStringsIsPrintable) {
  TextSession t;
  t.store({"x;"});
  std::string out = alter(t, "1", "'x'y'\n");
  EXPECT_EQ(out.find('\0'), std::string::npos);
  EXPECT_EQ(out.substr(0, 28), "'Old string'New string'?' \r\n");
  EXPECT_EQ(t.lines(), Lines({"y;"}));
}

TEST(Alter, SyntaxErrorsChangeNothing) {
  for (std::string args : {"0 'a'b'", "1 'a", "1 x", "1 ''b'", "1 'a'b"}) {
    TextSession t;
    t.store({"a;"});
    t.L.LASTERR = 0;
    alter(t, args, "\n");
    EXPECT_EQ(t.L.LASTERR, 61) << args;
    EXPECT_EQ(t.lines(), Lines({"a;"})) << args;
  }
}

TEST(Alter, HiddenModelIsAlteredButNotListed) {
  TextSession t;
  t.store({"secret x;"});
  t.L.HIDDEN = 1;
  EXPECT_EQ(alter(t, "1 'x'y'"), "");
  EXPECT_EQ(t.lines(), Lines({"secret y;"}));
}

TEST(Alter, InsertLine) {
  TextSession t;
  t.store({"one", "three", "five"});  // room for 6 line starts
  int32_t st = -1;
  insrtl_(t.W, t.L, "two", 3, 2, st);
  EXPECT_EQ(st, 0);
  insrtl_(t.W, t.L, "six", 3, 5, st);  // appended without moving text
  EXPECT_EQ(st, 0);
  EXPECT_EQ(t.lines(), Lines({"one", "two", "three", "five", "six"}));
  for (auto [len, at] : {std::pair{0, 1}, std::pair{1, 7}, std::pair{1, 0}}) {
    insrtl_(t.W, t.L, "x", len, at, st);
    EXPECT_EQ(st, 1);
  }
  insrtl_(t.W, t.L, "x", 1, 1, st);  // the line list is full
  EXPECT_EQ(st, 2);
  EXPECT_EQ(t.lines(), Lines({"one", "two", "three", "five", "six"}));
  EXPECT_LE((int64_t)t.L.TEXTCAP, (int64_t)t.L.LEN[t.L.TEXTBLK] * 4);
}

TEST(Alter, NoRoomLeavesTheLineAndSaysSo) {
  TextSession t(4096);
  t.store({"ab;", "cd;"});
  // fill the store so that the text block cannot grow
  int32_t h = 0, st = 0, n = 4096 * 4;
  setblk_(1, n, t.W, t.L, h, st);
  EXPECT_NE(alter(t, "1 'a'" + std::string(100, 'q') + "'").find("Error Code:    0"), std::string::npos);
  EXPECT_EQ(t.lines(), Lines({"ab;", "cd;"}));
}

TEST(Alter, LineByLineWhenTheTextCannotBeCopied) {
  TextSession t(4096);
  Lines model(10, std::string(99, 'a') + ";");
  t.store(model);
  // leave room for the lines to grow but not for a second copy of the text
  int32_t h = 0, st = 0, n = t.L.FREEWD - 100;
  setblk_(2, n, t.W, t.L, h, st);
  ASSERT_EQ(st, 0);
  t.L.LINLEN = 200;
  EXPECT_EQ(alter(t, "2 3 ';'!;'"), " \n   2]" + std::string(99, 'a') + "!;\n   3]" + std::string(99, 'a') + "!;\n \n");
  model[1] = model[2] = std::string(99, 'a') + "!;";
  EXPECT_EQ(t.lines(), model);
  EXPECT_LE((int64_t)t.L.TEXTCAP, (int64_t)t.L.LEN[t.L.TEXTBLK] * 4);
}
