#include <gtest/gtest.h>

#include "tests/unit/modeltext_fixture.h"

TEST(Reader, TwoLinesReachTheScannerAsEscapeBlankText) {
  TextSession t;
  t.store({"MAX  =   X;", "   X  <     3;"});
  EXPECT_EQ(t.stream(), esc(1) + " MAX = X;" + esc(2) + " X < 3;");
}

TEST(Reader, CommentsAndQuotes) {
  struct Case {
    std::vector<std::string> lines;
    int syntax;
    std::string want;
  } cases[] = {
      // modelling language: "!" to the next ";", across lines, consumed with the ";"
      {{"A ! note; B", "C"}, 0, esc(1) + " A B" + esc(2) + " C"},
      {{"A ! runs on", "and on; B"}, 0, esc(1) + " A" + esc(2) + " B"},
      {{"'x!y' Z"}, 0, esc(1) + " 'x!y' Z"},
      {{"A ! no end"}, 0, esc(1) + " A"},
      // row syntax: "!" to the end of the line, quotes not tracked
      {{"A ! x; y", "B"}, 1, esc(1) + " A" + esc(2) + " B"},
      {{"'x!y' Z", "W"}, 1, esc(1) + " 'x" + esc(2) + " W"},
      {{"!whole line", "B"}, 1, esc(2) + " B"},
  };
  for (auto& c : cases) {
    TextSession t;
    t.store(c.lines, c.syntax);
    EXPECT_EQ(t.stream(), c.want) << c.lines[0];
  }
}

TEST(Reader, IncludeSectionsContinueAtTheNextReference) {
  ScratchDir d;
  d.write("nums.txt", "1 2\n~\n3  4\n");
  d.write("empty.txt", "");
  TextSession t;
  t.store({"A = @FILE(nums.txt);", "B = @ file ( 'nums.txt' ) ; C = @FILE(empty.txt);"});
  int32_t st = -1;
  EXPECT_EQ(t.stream(&st), esc(1) + " A =  1 2;" + esc(2) + " B =  3 4 ; C = ;");
  EXPECT_EQ(st, 0);
  // a section that ends inside a line continues there
  d.write("mid.txt", "7 ~8~ 9");
  t.store({"@FILE(mid.txt)@FILE(mid.txt)@FILE(mid.txt)@FILE(mid.txt)"});
  EXPECT_EQ(t.stream(&st), esc(1) + "  78 9 7");  // the end of the file frees it: the fourth opens it anew
}

TEST(Reader, IncludeSlotsAreFreedAtTheEndOfTheFile) {
  ScratchDir d;
  d.write("a.txt", "7\n");
  d.write("b.txt", "8 ~ 9\n");
  TextSession t;
  t.store({"@FILE(a.txt) @FILE(b.txt) X"});
  initfi_(t.L);
  std::string out;
  int32_t pend = 0, end = 0, st = 0;
  char c;
  for (;;) {
    getkf2_(t.W, t.L, '!', t.L.TEXTBLK, t.L.TEXTPOS, textlen_(t.W, t.L), pend, c, end, st);
    if (st || end) break;
    out += c;
  }
  EXPECT_EQ(out, esc(1) + "  7  8 X");
  // a.txt ended and was freed; b.txt is suspended and still open
  ASSERT_GT(t.L.INCHEAD, 0);
  EXPECT_EQ(t.L.INCNEXT[t.L.INCHEAD], 0);
  EXPECT_NE(std::string(t.L.INCNAME[t.L.INCHEAD]).find("b.txt"), std::string::npos);
  int32_t s = t.L.INCHEAD, unit = t.L.INCUNIT[s];
  EXPECT_GT(t.L.INCSAVE[s], 0);
  EXPECT_GT(unit, 0);
  // a new run closes what the last one left open and frees its blocks
  int32_t handles = t.L.NFREEH;
  initfi_(t.L);
  EXPECT_EQ(t.L.INCHEAD, 0);
  EXPECT_EQ(t.L.INCFREE, 1);
  EXPECT_EQ(t.L.NFREEH, handles + 2);  // the saved line and the current line
  EXPECT_EQ(FCLOSE_(unit), -1);        // already closed
}

// The 255-character limit is on the name as written: a short name in a deep directory and
// an absolute name are read, and a second reference continues the same file.
TEST(Reader, IncludeNamesInADeepDirectoryAndAbsoluteNames) {
  ScratchDir d;
  std::filesystem::path deep = d.dir;
  for (int i = 0; i < 6; ++i) deep /= std::string(60, (char)('a' + i));
  std::filesystem::create_directories(deep);
  std::ofstream(deep / "n.txt") << "1 ~ 2";
  std::filesystem::current_path(deep);
  std::string abs = (d.dir / "abs.txt").string();
  d.write("abs.txt", "5 ~ 6");
  TextSession t;
  t.store({"A = @FILE(n.txt); B = @FILE(n.txt);", "C = @FILE(" + abs + "); D = @FILE(" + abs + ");"});
  int32_t st = -1;
  EXPECT_EQ(t.stream(&st), esc(1) + " A =  1; B =  2;" + esc(2) + " C =  5; D =  6;");
  EXPECT_EQ(st, 0);
  std::filesystem::current_path(d.dir);
}

TEST(Reader, IncludeFailures) {
  ScratchDir d;
  struct Case {
    std::string line;
    int32_t status;
    std::string name;
  } cases[] = {
      {"X = @FILE(missing.txt);", 3, "missing.txt"},
      {"X = @FILE('a.txt' ;", 1, "a.txt"},
      {"X = @FILE(a.txt", 1, "a.txt"},
      {"X = @FILE();", 1, ""},
      {"X = @FILE(" + std::string(300, 'n') + ");", 1, ""},
  };
  for (auto& c : cases) {
    TextSession t;
    t.store({c.line});
    int32_t st = 0;
    t.stream(&st);
    EXPECT_EQ(st, c.status) << c.line;
    if (!c.name.empty()) {
      EXPECT_EQ(std::string(t.L.ERRSTR).substr(0, c.name.size()), c.name);
    }
  }
  // with every slot taken a new reference reports a full table
  TextSession t;
  t.store({"@FILE(x.txt)"});
  initfi_(t.L);
  for (int i = 0; i < INCSLOTS; ++i) {
    int32_t unit = 0;
    ASSERT_EQ(addfiletolist_(t.L, ("/nowhere/" + std::to_string(i)).c_str(), unit), 0);
  }
  int32_t unit = 5;
  EXPECT_EQ(addfiletolist_(t.L, "/nowhere/more", unit), 1);
  EXPECT_EQ(unit, 0);
  t.L.INCCUR = 0;
  int32_t pend = 0, end = 0, st = 0;
  char c;
  for (int i = 0; i < 10 && !st && !end; ++i)
    getkf2_(t.W, t.L, '!', t.L.TEXTBLK, t.L.TEXTPOS, textlen_(t.W, t.L), pend, c, end, st);
  EXPECT_EQ(st, 2);
  EXPECT_EQ(isfileopen_(t.L, "/nowhere/17"), 18);
  EXPECT_EQ(isfileopen_(t.L, "/nowhere/NOPE"), 0);
  shutfi_(t.L);
}

TEST(Reader, LongIncludeLinesAreReadWhole) {
  ScratchDir d;
  std::string line;
  while (line.size() < 195) line += "1 ";
  line += "123456789 " + std::string(3000, 'x') + "\n";
  d.write("long.txt", line);
  TextSession t;
  t.store({"@FILE(long.txt)"});
  std::string s = t.stream();
  EXPECT_NE(s.find(" 123456789 x"), std::string::npos);
  EXPECT_EQ(s.size(), esc(1).size() + 2 + line.size() - 1);
}

// A NUL byte in an included file reads as a blank: the rest of its line and the next
// line stay as they were.
TEST(Reader, NulBytesInAnIncludeAreBlanks) {
  ScratchDir d;
  d.write("nul.txt", std::string("1 2\0 3\n4 5\n", 11));
  TextSession t;
  t.store({"@FILE(nul.txt)"});
  EXPECT_EQ(t.stream(), esc(1) + "  1 2 3 4 5");
}

// Reads the text through the scanner's buffer and returns SRCLINE when the first character
// of the given kind is taken.
static int32_t lineof(TextSession& t, char want) {
  initfi_(t.L);
  t.L.TEXTPOS = 0;
  t.L.SCANPOS = 1;
  t.L.SCANLEN = 0;
  t.L.PENDCNT = 0;
  int32_t st = 0;
  for (;;) {
    if (t.L.SCANLEN - t.L.SCANPOS <= 209) filbuf_(t.W, t.L, st);
    if (st) return -st;
    char c;
    getkx2_(t.W, t.L, ' ', t.L.SCANBUF, t.L.SCANPOS, t.L.SCANLEN, 0, c);
    if (c == want) return t.L.SRCLINE;
    if (c == ' ') return 0;
  }
}

TEST(Reader, LineNumbersPast65535AreCarried) {
  TextSession t(1 << 22);
  std::vector<std::string> lines(70000, "A;");
  lines[69999] = "Z;";
  lines[65535] = "Q;";
  t.store(lines);
  EXPECT_EQ(lineof(t, 'Z'), 70000);
  EXPECT_EQ(lineof(t, 'Q'), 65536);
  // the caller's value is stored per line
  EXPECT_EQ(wget(t.W, (int64_t)t.L.START[t.L.LINEMAP] + 69999), 0);
  // the message printer names the right line under an error at the Z
  lineof(t, 'Z');
  t.L.SHOWPOS = 1;
  std::string shown = onterminal("", [&] { pt2err_(t.L, t.L.TRMOUT, t.L.SCANPOS); });
  EXPECT_EQ(shown.substr(0, shown.find('\n')), "  70000]  Z;");
}

TEST(Reader, IncludedTextKeepsTheLineOfTheReference) {
  ScratchDir d;
  d.write("inc.txt", "1\n2\n3\nZ\n");
  TextSession t;
  t.store({"A;", "B = @FILE(inc.txt);", "C;"});
  EXPECT_EQ(lineof(t, 'Z'), 2);
  EXPECT_EQ(lineof(t, 'C'), 3);
}

// The scanner's buffer holds the same characters as the reader's stream, character by
// character: blank runs, line ends, comments, quotes, includes, buffer refills.
TEST(Reader, BufferFillsMatchTheCharacterStream) {
  ScratchDir d;
  d.write("inc.txt", "1   2\n~\n 3\n");
  std::string wide;
  for (int k = 0; k < 300; ++k) wide += "X" + std::to_string(k) + (k % 3 ? "   " : " ");
  const std::vector<std::vector<std::string>> texts = {
      {"MAX  =   X;", "   X  <     3;   ", "Y"},
      {"A ! note; B  C", "  D ! on", "and; E 'a  b!c'  F"},
      {"A = @FILE(inc.txt); B", " C = @ FILE( 'inc.txt' )  D"},
      {"\"q  ;!\" Z  ", "", "   ", "W!"},
      {wide, "  " + wide, "END"},
  };
  for (const auto& lines : texts) {
    TextSession t;
    t.store(lines);
    std::string want = t.stream();
    initfi_(t.L);
    t.L.TEXTPOS = 0;
    t.L.PENDCNT = 0;
    t.L.SCANPOS = t.L.SCANLEN = 0;
    std::string got;
    int32_t st = 0;
    for (int guard = 0; guard < 100000; ++guard) {
      t.L.SCANPOS = t.L.SCANLEN;
      filbuf_(t.W, t.L, st);
      if (st != 0 || t.L.SCANLEN <= 4) break;
      got.append(&t.L.SCANBUF[5], (size_t)(t.L.SCANLEN - 4));
    }
    shutfi_(t.L);
    EXPECT_EQ(st, 0);
    EXPECT_EQ(got, want) << lines[0];
  }
}
