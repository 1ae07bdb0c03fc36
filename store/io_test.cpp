// Line output, line input and the message printer, driven through redirected terminal
// streams and real files.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <cstring>
#include <memory>
#include <string>

#include "store/io.h"
#include "store/master.h"
#include "store/store.h"
#include "store/work.h"

namespace {

// Message 3 as it follows a prompt.
const std::string kOverlength =
    " \n [Error Code:    3]\n \n  Overlength line, characters may have been lost off end.\n"
    "  Use  carriage  return  to  break  up over several input\n  lines.\n \n \n";

// A master record with the console defaults and the terminal on temporary files.
struct Console {
  std::unique_ptr<MasterRecord> rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  FILE* in = std::tmpfile();
  FILE* out = std::tmpfile();
  FILE* err = std::tmpfile();
  explicit Console(const std::string& input = "") {
    std::fputs(input.c_str(), in);
    std::rewind(in);
    trmstreams_(in, out, err);
    L.MAXLIN = 200;
    L.COMCHR = '!';
    L.TABCHR = '\t';
    L.BIGNUM = 1e307;
    L.LINLEN = 76;
    L.LENPAG = 0;
    L.ECHOIN = 0;
    W.w.assign(64, 0);
  }
  ~Console() {
    trmstreams_(nullptr, nullptr, nullptr);
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
  }
  static std::string slurp(FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string s;
    int c;
    while ((c = std::getc(f)) != EOF) s += (char)c;
    return s;
  }
  std::string output() { return slurp(out); }
  std::string echo() { return slurp(err); }
  // Reads one line the way the command reader does.
  std::string read(int32_t mode = 1) {
    L.LINEND = 0;
    L.LINCUR = 0;
    gettxt_(L, ": ", 1, L.LINBUF, 200, L.LINCUR, L.LINEND, mode);
    return std::string(L.LINBUF, (size_t)L.LINEND);
  }
};

std::string file_text(const char* name) {
  FILE* f = std::fopen(name, "r");
  if (!f) return "<none>";
  std::string s = Console::slurp(f);
  std::fclose(f);
  return s;
}

TEST(Int2txt, DigitsOfTheAbsoluteValueLeftAligned) {
  struct Case {
    int32_t v;
    const char* text;
    int32_t len;
  } cases[] = {{-305, "305       ", 3}, {0, "0         ", 1}, {2147483647, "2147483647", 10},
               {-2147483647 - 1, "2147483648", 10}, {7, "7         ", 1}};
  for (const Case& c : cases) {
    char t[11] = {};
    int32_t len = -1;
    int2txt_(c.v, t, len);
    EXPECT_EQ(std::string(t, 10), c.text) << c.v;
    EXPECT_EQ(len, c.len) << c.v;
  }
}

TEST(Lprint, CutsToWidthDropsTrailingBlanksAndKeepsTheBuffer) {
  Console t;
  char line[201];
  std::memset(line, 'x', 200);
  line[200] = 0;
  line[70] = line[71] = line[72] = line[73] = line[74] = line[75] = ' ';
  EXPECT_EQ(lprint_(t.L, 0, line, 200), 32);
  std::string blank(200, ' ');
  lprint_(t.L, 0, blank.data(), 200);
  lprint_(t.L, 0, "  two  ", 7);
  t.L.LINLEN = 64;
  lprint_(t.L, 0, line, 200);
  EXPECT_EQ(t.output(), std::string(70, 'x') + "\n \n  two\n" + std::string(64, 'x') + "\n");
  EXPECT_EQ(line[76], 'x');  // the caller's buffer is untouched
  EXPECT_EQ(t.L.LINCNT, 4);
  EXPECT_EQ(blankl_(t.L, 0, 0), 1);
}

TEST(Lprint, WritesToAFileUnitWithoutPaging) {
  Console t;
  int32_t h = FOPEN_("io_test_unit.txt", "wt");
  ASSERT_GT(h, 0);
  t.L.OUTUNIT = h;
  t.L.LENPAG = 2;
  for (int i = 0; i < 3; ++i) lprint_(t.L, h, "line", 4);
  blankl_(t.L, h, 2);
  EXPECT_EQ(FCLOSE_(h), 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(FCLOSE_(h), -1);
  EXPECT_EQ(file_text("io_test_unit.txt"), "line\nline\nline\n \n \n");
  EXPECT_EQ(t.output(), "");
  std::remove("io_test_unit.txt");
}

TEST(Lprint, NoticeAndTextDumpFromTheWorkArray) {
  Console t;
  brbpost_(t.L, 0, "Structural analysis, pass 1 ...");
  const char* stop = "STOP: limit reached";
  t.W.w.assign(64, 0x20202020);  // blanks
  for (int i = 0; stop[i]; ++i) cput(t.W, wbyte(3) + i, stop[i]);
  int32_t st = 9;
  dmpstr_(t.L, t.W, (int32_t)wbyte(3), 4, st);
  EXPECT_EQ(st, 0);
  dmpstr_(t.L, t.W, (int32_t)wbyte(3), 1000, st);  // cut to the width and to the array
  EXPECT_EQ(t.output(), "  Structural analysis, pass 1 ...\n \n STOP\n \n \n STOP: limit reached\n \n");
}

TEST(Paging, PausesBeforeTheLastLineOfEachPage) {
  Console t("\nanything\n");
  t.L.LENPAG = 3;
  for (int i = 1; i <= 5; ++i) lprint_(t.L, 0, std::to_string(i));
  EXPECT_EQ(t.output(), "1\n2\n --- Press <Enter> ---3\n4\n --- Press <Enter> ---5\n");
  EXPECT_EQ(t.L.LINCNT, 1);
  t.L.BATMOD = 1;  // batch mode never pauses
  for (int i = 0; i < 5; ++i) lprint_(t.L, 0, "b", 1);
  EXPECT_EQ(t.output().find("---", 60), std::string::npos);
}

TEST(Gettxt, LinesTabsCommentsAndOverlongLines) {
  std::string longline = std::string(199, 'a') + "bcdefg";  // 205 characters
  Console t("  go\tnow\n" + longline + "\n   ! a comment\nnext one\n\n" + std::string(300, 'z') + "\nlast");
  EXPECT_EQ(t.read(), "  GO NOW");
  EXPECT_EQ(std::string(t.L.LINRAW, 8), "  go now");
  EXPECT_EQ(t.L.LINCUR, 3);
  EXPECT_EQ(t.read(), std::string(199, 'A') + "B");
  EXPECT_EQ(t.read(), "NEXT ONE");  // the rest of the long line and the comment are gone
  EXPECT_EQ(t.read(), "");
  EXPECT_EQ(t.L.INPEOF, 0);
  EXPECT_EQ(t.read(0), std::string(200, 'z'));
  EXPECT_EQ(t.read(0), "last");
  EXPECT_EQ(t.L.INPEOF, 0);
  EXPECT_EQ(t.read(), "");
  EXPECT_EQ(t.L.INPEOF, 1);
  EXPECT_EQ(t.read(), "");
  EXPECT_EQ(t.L.INPEOF, 1);
  // The comment line is prompted for too; each cut line is reported once.
  EXPECT_EQ(t.output(), ": : " + kOverlength + ": : : : " + kOverlength + ": : : ");
}

// A line is reported as cut only when more than blanks were lost off its end.
TEST(Gettxt, OverlengthLinesAreReportedWhenCharactersAreLost) {
  struct Case {
    std::string line;
    bool script, reported;
  } cases[] = {
      {std::string(200, 'a'), false, false},
      {std::string(200, 'a') + "     \t", false, false},
      {std::string(200, 'a') + "\r", true, false},
      {std::string(200, 'a') + "b", false, true},
      {std::string(200, 'a') + "b", true, true},
      {std::string(200, 'a') + "  " + std::string(300, ' ') + "b", true, true},
      {std::string(200, 'a') + "  " + std::string(300, ' ') + "b", false, true},
  };
  for (const Case& c : cases) {
    FILE* f = std::fopen("io_cut.txt", "w");
    std::fputs((c.line + "\nnext\n").c_str(), f);
    std::fclose(f);
    Console t(c.script ? "" : c.line + "\nnext\n");
    if (c.script) {
      t.L.TAKELV = 1;
      t.L.TAKSTK[1] = t.L.INUNIT = FOPEN_("io_cut.txt", "rt");
    }
    EXPECT_EQ(t.read(0), std::string(200, 'a')) << c.line.size();
    EXPECT_EQ(t.read(0), "next") << c.line.size();
    bool reported = t.output().find("[Error Code:    3]") != std::string::npos;
    EXPECT_EQ(reported, c.reported) << c.line.size() << (c.script ? " script" : " terminal");
    int32_t h = t.L.TAKSTK[1];
    FCLOSE_(h);
  }
  std::remove("io_cut.txt");
}

TEST(Gettxt, ModeZeroKeepsCommentsAndCaseAndAWordLeftOnTheLineIsNotRead) {
  Console t("   ! kept\n");
  EXPECT_EQ(t.read(0), "   ! kept");
  EXPECT_EQ(t.L.LINCUR, 4);
  std::memcpy(t.L.LINBUF, "SET LINLEN", 10);
  t.L.LINEND = 10;
  t.L.LINCUR = 1;
  gettxt_(t.L, ": ", 1, t.L.LINBUF, 200, t.L.LINCUR, t.L.LINEND, 1);
  EXPECT_EQ(t.L.LINCUR, 5);
  EXPECT_EQ(t.output(), ": ");
}

TEST(Gettxt, ScriptsEndIntoTheEnclosingLevelThenTheTerminal) {
  {
    FILE* f = std::fopen("io_outer.txt", "w");
    std::fputs("outer1\nouter2", f);  // no final line feed
    std::fclose(f);
    f = std::fopen("io_inner.txt", "w");
    std::fputs(("inner1\nx" + std::string(250, 'y') + "\nafter\n").c_str(), f);
    std::fclose(f);
  }
  Console t("typed\n");
  t.L.BATMOD = 1;
  t.L.TAKELV = 2;
  t.L.TAKSTK[1] = FOPEN_("io_outer.txt", "rt");
  t.L.TAKSTK[2] = FOPEN_("io_inner.txt", "rt");
  t.L.INUNIT = t.L.TAKSTK[2];
  EXPECT_EQ(t.read(), "INNER1");
  EXPECT_EQ(t.read(), "X" + std::string(199, 'Y'));
  EXPECT_EQ(t.read(), "AFTER");
  EXPECT_EQ(t.read(), "OUTER1");
  EXPECT_EQ(t.L.TAKELV, 1);
  EXPECT_EQ(t.read(), "OUTER2");
  EXPECT_EQ(t.read(), "");  // the outermost script ended: no line, input is the terminal
  EXPECT_EQ(t.L.TAKELV, 0);
  EXPECT_EQ(t.L.INUNIT, 0);
  EXPECT_EQ(t.L.INPEOF, 0);
  EXPECT_EQ(t.read(), "TYPED");
  EXPECT_EQ(t.output(), kOverlength + ": ");  // prompts only at the terminal
  EXPECT_EQ(t.echo().substr(0, 12), " : inner1\n :");
  std::remove("io_outer.txt");
  std::remove("io_inner.txt");
}

TEST(CommandLineReaders, SignCharacterAndPause) {
  Console t("reply\n");
  std::memcpy(t.L.LINBUF, "X   -5  +", 9);
  t.L.LINEND = 9;
  t.L.LINCUR = 2;
  double s = 9;
  getsgn_(t.L, s);
  EXPECT_EQ(s, -1.0);
  EXPECT_EQ(t.L.LINCUR, 6);
  getsgn_(t.L, s);
  EXPECT_EQ(s, 0.0);
  EXPECT_EQ(t.L.LINCUR, 6);
  char c = 0;
  getch_(t.L, c);
  EXPECT_EQ(c, '+');
  EXPECT_EQ(t.L.LINCUR, 9);
  getch_(t.L, c);
  EXPECT_EQ(c, ' ');
  EXPECT_EQ(t.L.LINCUR, 10);
  int32_t plen = 7;
  paws_(t.L, "Go on? ", plen);
  EXPECT_EQ(plen, 8);
  EXPECT_EQ(t.output(), "Go on?  \r\n");
  EXPECT_EQ(t.L.LINEND, 5);
}

TEST(Files, PrimitivesAndTheHandleTable) {
  int32_t h = FOPEN_("io_prim.txt", "wt");
  ASSERT_GT(h, 0);
  EXPECT_EQ(FPUTS_("", h), 0);
  EXPECT_EQ(FPUTSNOLF("ab", h), 0);
  EXPECT_EQ(FCLOSE_(h), 0);
  EXPECT_EQ(FEXISTS_("io_prim.txt"), 1);
  EXPECT_EQ(file_text("io_prim.txt"), "\nab");
  EXPECT_EQ(FOPEN_("no/such/dir/file", "rt"), 0);
  EXPECT_EQ(FEXISTS_("no/such/dir/file"), 0);
  EXPECT_EQ(STRCMP_("A", "a"), -1);
  EXPECT_EQ(STRCMP_("\xe9", "a"), 1);
  char buf[1100];
  ASSERT_NE(FULLPATH_(buf, ""), nullptr);
  EXPECT_EQ(buf[std::strlen(buf) - 1], '/');
  EXPECT_NE(std::string(buf).find("/"), std::string::npos);
  // Handles are small table slots; the table refuses when full, and slots are reused.
  int32_t hs[MAXFILES + 1];
  int32_t opened = 0;
  for (int i = 0; i <= MAXFILES; ++i) {
    hs[i] = FOPEN_("io_prim.txt", "rt");
    if (hs[i] > 0) ++opened;
    EXPECT_LE(hs[i], MAXFILES);
  }
  EXPECT_LT(opened, MAXFILES + 1);
  for (int i = 0; i <= MAXFILES; ++i) FCLOSE_(hs[i]);
  std::remove("io_prim.txt");
  Console t("q\nrest\n");
  char s[4];
  int32_t st = 9;
  FGETSTD_(s, 1, &st);
  EXPECT_EQ(std::string(s), "q");
  EXPECT_EQ(st, 1);
  FGETSTD_(s, 3, &st);
  EXPECT_EQ(std::string(s), "");
  EXPECT_EQ(st, 0);
}

}  // namespace

namespace {

// Message layout for a table of numbers: the exact terminal output.
TEST(Messages, LayoutOfATableOfNumbers) {
  struct Case {
    int32_t n;
    const char* out;
  } cases[] = {
      {117, " \n [Error Code:  117]\n \n Invalid command: XYZZY\n Type 'COM' to see valid commands.\n \n \n"},
      {9, " \n [Error Code:    9]\n \n"},
      {-4, " \n [Error Code:   -4]\n \n"},
      {239, " \n [Error Code:  239]\n \n"},
      {83, " \n [Error Code:   70]\n \n Subscript out of range on attribute:\n   7\n \n \n"},
      {99999, " \n [Error Code:99999]\n \n  The optimizer failed due to a serious error.  Please refer\n"
              "  to your documentation under Appendix B, \"Error Messages\".\n \n \n"},
      {12, " \n [Error Code:   12]\n \n  Missing right parenthesis.\n \n \n"},
      {29, " \n [Error Code:   29]\n \n  Invalid number of initialization values in a DATA: or an INIT:\n"
           "  statement.  The required number of values is:           7.\n \n \n"},
      {4, " \n [Error Code:    4]\n \n Valid lines are 1 to     0. Type 'ALL' to reference all lines.\n \n \n"},
      {54, " \n [Error Code:   54]\n \n Error (7) reading spreadsheet.\n \n \n"},
      {69, " \n [Error Code:   69]\n \n Undefined arithmetic operation in expression:      12.\n \n \n"},
      {74, " \n [Error Code:   74]\n \n Magnitude of bound exceeds:  0.1000D+308\n on variable: 12\n \n \n"},
      {146, " \n [Error Code:  146]\n \n The following names appeared in the model and the data:\n    12\n    7\n \n"},
      {231, " \n [Error Code:  231]\n \n  Unable to set Bresk API paramter:\n       id:           12\n"
            "     type:       DOUBLE\n    value:    2.50000000000000\n \n \n"},
      {234, " \n [Error Code:  234]\n \n0 large number(s) were truncated to a value of: 1e+307\n \n \n"},
      {236, " \n [Error Code:  236]\n \n  Incorrect @FORMAT() usage in output statement: 12\n \n"
            "  @FORMAT() requires one text argument (the format template) and\n"
            "  one numeric argument (the value to be formatted).\n \n \n"},
      {63, " \n [Error Code:   63]\n \n Model is ill defined.\n \n"
           "  Check for undefined indices and/or conditions in expression:\n    12\n \n"
           "  Note: setting the Fixed Var Reduction option to 'Always' may\n"
           "  eliminate this error.  You may set this option on the General\n"
           "  Solver tab of the QUIRN | Options command.\n \n \n"},
  };
  for (const Case& c : cases) {
    Console t;
    std::strcpy(t.L.ERRSTR, "XYZZY");
    t.L.ERRARG = 12;
    t.L.ERRARG2 = 7;
    t.L.ERRARG3 = 0;
    t.L.ERRDBL = 2.5;
    t.L.SHOWPOS = 0;
    t.L.LASTERR = -1;
    if (c.n == 146) t.L.ERRARG2 = 0, t.L.ERRARG3 = 7;
    if (c.n == 63) t.L.ERRARG2 = 0;
    errmsh_(t.W, t.L, c.n);
    EXPECT_EQ(t.output(), c.out) << "message " << c.n;
    EXPECT_EQ(t.L.LASTERR, c.n == 83 ? 70 : c.n);
  }
}

TEST(Messages, DivertedTwiceSilencedAndCutToWidth) {
  Console t;
  int32_t h = FOPEN_("io_divert.txt", "wt");
  ASSERT_GT(h, 0);
  t.L.OUTUNIT = h;
  errmsh_(t.W, t.L, 61);
  const char* once = " \n [Error Code:   61]\n \n Command disregarded.\n \n \n";
  t.L.OUTUNIT = 0;
  FCLOSE_(h);
  EXPECT_EQ(t.output(), once);
  EXPECT_EQ(file_text("io_divert.txt"), once);
  std::remove("io_divert.txt");

  Console q;
  q.L.MSGOFF = -1;
  q.L.LASTERR = 5;
  errmsh_(q.W, q.L, 117);
  EXPECT_EQ(q.output(), "");
  EXPECT_EQ(q.L.LASTERR, 5);

  Console w;
  w.L.LINLEN = 63;  // the 64-character line loses its full stop
  errmsh_(w.W, w.L, 8);
  EXPECT_EQ(w.output(), " \n [Error Code:    8]\n \n  Too many consecutive command errors. Revert to terminal input\n \n \n");
}

TEST(Messages, ModelLineWithCaret) {
  Console t;
  // Line 3 of the model, a short one, then line 300 of 300 characters (positions 1-based).
  const char esc3[4] = {0, 3, 0, 0}, esc300[4] = {0, (char)(300 & 255), (char)(300 >> 8), 0};
  std::string text = std::string(esc3, 4) + "MAX = 2*X + ;" + std::string(esc300, 4);
  for (int i = 0; i < 300; ++i) text += (char)('a' + i % 26);
  std::string ext = text.substr(0, 350);  // what the buffer holds
  std::memcpy(t.L.SCANBUF + 1, ext.data(), ext.size());
  t.L.SCANLEN = (int32_t)ext.size();
  t.L.SHOWPOS = 1;
  pt2err_(t.L, 0, 16);       // the '+' of line 3
  pt2err_(t.L, 0, 22 + 150);  // character 151 of the long line
  std::string out = t.output();
  std::string l1 = "      3] MAX = 2*X + ;\n" + std::string(16 - 5 + 9, ' ') + "^\n";
  ASSERT_EQ(out.substr(0, l1.size()), l1);
  std::string rest = out.substr(l1.size());
  size_t nl = rest.find('\n');
  std::string line = rest.substr(0, nl), caret = rest.substr(nl + 1);
  EXPECT_EQ(line.substr(0, 9), "    300] ");
  EXPECT_LE(line.size(), 76u);
  size_t col = caret.find('^');
  ASSERT_LT(col, line.size());
  EXPECT_EQ(line[col], (char)('a' + 150 % 26));
  EXPECT_EQ(caret.size(), col + 2);
  t.L.HIDDEN = 1;
  pt2err_(t.L, 0, 16);
  t.L.HIDDEN = 0;
  t.L.SHOWPOS = 0;
  pt2err_(t.L, 0, 16);
  EXPECT_EQ(t.output(), out);
}

// Messages that name a model object check the index against its table and print the
// number when it lies outside.
TEST(Messages, NamesLookedUpByIndexWithFallbackToTheNumber) {
  Console t;
  init_(t.L);
  t.W.w.assign(4097, 0);
  t.L.TOTWRD = 4096;
  intmem_(t.W, t.L);
  auto names = [&](int32_t& h, std::initializer_list<const char*> list) {
    int32_t n = (int32_t)list.size() * t.L.NAMEWD, st = -1;
    setblk_(7, n, t.W, t.L, h, st);
    ASSERT_EQ(st, 0);
    int32_t i = 0;
    for (const char* nm : list) {
      for (int k = 0; k < 32; ++k)
        cput(t.W, wbyte(t.L.START[h]) + 32 * i + k, k < (int)std::strlen(nm) ? nm[k] : ' ');
      ++i;
    }
  };
  names(t.L.KSNAME, {"PLANTS", "CITIES"});
  t.L.NSETS = 2;
  names(t.L.KANAME, {"CAP", "DEMAND", "COST"});
  t.L.NATTRS = 3;
  int32_t n = 3, st = -1;
  setblk_(2, n, t.W, t.L, t.L.LASTUB, st);
  wput(t.W, t.L.START[t.L.LASTUB], 1);      // set 1: attribute 1
  wput(t.W, t.L.START[t.L.LASTUB] + 1, 2);  // set 2: attributes 2 and 3
  wput(t.W, t.L.START[t.L.LASTUB] + 2, 4);
  struct Case {
    int32_t msg, a, b;
    const char* line;
  } cases[] = {
      {125, 2, 0, "  The following set contains no members: CITIES\n"},
      {125, 3, 0, "  The following set contains no members: 3\n"},
      {125, -1, 0, "  The following set contains no members: -1\n"},
      {42, 0, 1, "\n    PLANTS\n"},
      {177, 0, 0, "\n    0\n"},
      {70, 2, 2, "\n   COST\n"},
      {70, 2, 5, "\n   5\n"},
      {70, 9, 1, "\n   1\n"},
      {86, 4, 0, "\n    4\n"},  // no generated model: the row number
  };
  for (const Case& c : cases) {
    Console o;
    o.L = t.L;
    o.W = t.W;
    o.L.ERRARG = c.a;
    o.L.ERRARG2 = c.b;
    errmsh_(o.W, o.L, c.msg);
    EXPECT_NE(o.output().find(c.line), std::string::npos) << c.msg << " " << c.a << " " << c.b << "\n"
                                                          << o.output();
  }
}

}  // namespace

TEST(Files, DirectoryIsNotOpened) {
  // Reading a directory would fail at the first line and stop the session.
  EXPECT_EQ(FOPEN_(".", "rt"), 0);
  EXPECT_EQ(FOPEN_("/", "wt"), 0);
}

namespace {

// Runs f with the process's file size limit at `bytes` (writes past it fail with EFBIG).
template <class F>
void with_size_limit(rlim_t bytes, F f) {
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  void (*was)(int) = std::signal(SIGXFSZ, SIG_IGN);
  rlimit lim = old;
  lim.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &lim);
  f();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, was);
}

// A new version replaces its file only when it was written and closed whole; a failed or
// dropped one leaves the old file (and no scratch file) behind.
TEST(Files, NewVersionReplacesTheFileOnlyWhenWrittenWhole) {
  const std::string big(100000, 'x');
  struct Case {
    const char* what;
    bool fail, drop;
    const char* want;
  } cases[] = {
      {"written whole", false, false, "new\n"},
      {"write fails", true, false, "old\n"},
      {"dropped", false, true, "old\n"},
  };
  for (const Case& c : cases) {
    { std::ofstream("io_new.txt") << "old\n"; }
    chmod("io_new.txt", 0640);
    int32_t h = FOPENNEW_("io_new.txt");
    ASSERT_GT(h, 0) << c.what;
    EXPECT_EQ(file_text("io_new.txt"), "old\n") << c.what;  // untouched while written
    int32_t rc = 0;
    if (c.fail) {
      with_size_limit(4096, [&] {
        FPUTS_(big.c_str(), h);
        rc = FCLOSE_(h);
      });
      EXPECT_NE(rc, 0) << c.what;
      FDROP_(h);
    } else {
      FPUTS_("new", h);
      if (c.drop) {
        FDROP_(h);
      } else {
        EXPECT_EQ(FCLOSE_(h), 0) << c.what;
      }
    }
    EXPECT_EQ(h, 0) << c.what;
    EXPECT_EQ(file_text("io_new.txt"), c.want) << c.what;
    struct stat st;
    ASSERT_EQ(stat("io_new.txt", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << c.what;
    // Nothing else is left beside the file.
    int others = 0;
    if (DIR* d = opendir(".")) {
      while (dirent* e = readdir(d))
        if (std::strstr(e->d_name, "io_new.txt") && std::strcmp(e->d_name, "io_new.txt")) ++others;
      closedir(d);
    }
    EXPECT_EQ(others, 0) << c.what;
  }
  std::remove("io_new.txt");
  // A device is written in place and a failed close is reported; a directory is refused.
  int32_t h = FOPENNEW_("/dev/full");
  ASSERT_GT(h, 0);
  FPUTS_("text", h);
  EXPECT_NE(FCLOSE_(h), 0);
  FDROP_(h);
  struct stat st;
  ASSERT_EQ(stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  EXPECT_EQ(FOPENNEW_("."), 0);
  EXPECT_EQ(FOPENNEW_("no/such/dir/file"), 0);
}

}  // namespace
