// Unit tests of the command table matching, the work array sizing rule and the parameter
// table.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "session/session.h"

namespace {
int32_t match(const char* w, bool& exact) { return cmdmatch_(w, (int32_t)std::strlen(w), exact); }
}  // namespace

TEST(CommandTable, MatchingByKeywordAndAbbreviation) {
  struct Case {
    const char* word;
    int32_t want;  // entry, 0 unknown, -1 ambiguous
    bool exact;
  } cases[] = {
      {"GO", CMD_GO, true},          {"GOTO", CMD_GO, true},       {"G", -1, false},
      {"GE", -1, false},             {"GEN", CMD_GEN, true},       {"GENERATE", CMD_GEN, true},
      {"GENL", CMD_GENL, true},      {"FRE", -1, false},           {"FREE", CMD_FREE, true},
      {"FREEZER", CMD_FREEZE, true}, {"FREEZ", CMD_FREE, true}, {"DE", -1, false},
      {"S", -1, false},              {"DIVERT", CMD_DIV, true},    {"XYZZY", 0, false},
      {"APIS", CMD_APISET, false},   {"PIC", CMD_PICTURE, false},  {"QUIT", CMD_QUIT, true},
  };
  for (const Case& c : cases) {
    bool exact = false;
    EXPECT_EQ(match(c.word, exact), c.want) << c.word;
    EXPECT_EQ(exact, c.exact) << c.word;
  }
}

TEST(CommandTable, PackedKeywordsAndCategories) {
  EXPECT_EQ(NCMDS, 54);
  EXPECT_EQ(std::string(cmdkeys()).substr(0, 13), "MODELLOOKQUIT");
  EXPECT_EQ(cmdkeyend(1), 5);
  EXPECT_EQ(cmdkeyend(NCMDS), (int32_t)std::strlen(cmdkeys()));
  EXPECT_STREQ(cmddef(CMD_APISET).key, "APISET");
  EXPECT_EQ(cmddef(CMD_LOOK).hidden, 0);
  EXPECT_EQ(cmddef(CMD_FREEZE).category, 8);
}

namespace {
int64_t g_limit = 0;  // largest allocation the fake probe grants (words)
int g_calls = 0;
bool fakeprobe(int64_t words) {
  ++g_calls;
  return words <= g_limit;
}
}  // namespace

TEST(WorkSizing, TargetBisectionAndFailure) {
  // Enough memory: the target itself, no 0.9 factor.
  g_limit = INT64_MAX;
  EXPECT_EQ(worksize_(memtarget_(32), fakeprobe), 8388608);
  // Not enough: 0.9 (single precision) of the largest size found within 10,000 words.
  g_limit = 1000003;
  g_calls = 0;
  int64_t got = worksize_(memtarget_(32), fakeprobe);
  EXPECT_EQ(got % 8, 0);
  EXPECT_LE(got, (int64_t)(1000003 * (double)0.9f));
  EXPECT_GE(got, (int64_t)((1000003 - 10000) * (double)0.9f) - 8);
  EXPECT_LT(g_calls, 40);
  // Not even the 64,000-word probe: no store.
  g_limit = 63999;
  EXPECT_EQ(worksize_(memtarget_(32), fakeprobe), 0);
}

TEST(WorkSizing, ProductsInSixtyFourBitsAndHugeSettingsCapped) {
  EXPECT_EQ(memtarget_(1), 262144);
  EXPECT_EQ(memtarget_(0), 0);
  EXPECT_EQ(memtarget_(8192), 536870904);  // 262,144 x 8192 overflows 32 bits
  EXPECT_EQ(memtarget_(2147483640), 536870904);
  g_limit = INT64_MAX;
  int64_t w = worksize_(memtarget_(2147483640), fakeprobe);
  EXPECT_EQ(w, 536870904);
  EXPECT_LT(w + 1, (int64_t)INT32_MAX);
}

TEST(Parameters, TableDefaultsAndCopies) {
  MasterRecord L;
  defparam_(L);
  EXPECT_STREQ(paramdef(P_LINLEN).key, "LINLEN");
  EXPECT_EQ(std::string(paramkeys()).substr(0, 12), "ILFTOLFLFTOL");
  EXPECT_EQ(L.LINLEN, 76);
  EXPECT_EQ(L.MXMEMB, 32);
  EXPECT_EQ(L.ILFTOL, 3e-6);
  EXPECT_EQ(L.HURDLE_SET, 0);
  EXPECT_EQ(L.GLBVBD, 1e10);
  L.LENPAG = 24;
  loadpvector_(L);
  EXPECT_EQ(L.IPVAL[P_LENPAG], 24);
  int32_t i = 0;
  getparamx_(L, "TERSEO", i);
  EXPECT_EQ(i, 23);
  getparamx_(L, "TERSEX", i);
  EXPECT_EQ(i, 0);
  // An outside caller's count is clamped to the table.
  double r[200] = {};
  int32_t n[200] = {};
  for (int k = 0; k < 200; ++k) n[k] = 7;
  rectols_(L, 200, r, n);
  EXPECT_EQ(L.LINLEN, 7);
}

TEST(Parameters, GeneralNumberField) {
  struct Case {
    double v;
    int w, d;
    const char* want;
  } cases[] = {
      {3e-6, 16, 8, "  0.30000000E-05"}, {0.0001, 14, 6, "  0.100000E-03"},
      {100.0, 16, 8, "   100.00000    "}, {0.75, 14, 6, "  0.750000    "},
      {1e10, 16, 8, "  0.10000000E+11"}, {-5.0, 20, 8, "      -5.0000000    "},
      {1e307, 16, 8, "  0.10000000+308"}, {2383656.0, 18, 7, "      2383656.    "},
      {123456.4, 14, 6, "   123456.    "},
  };
  for (const Case& c : cases) {
    char out[64];
    fmtgen_(c.v, c.w, c.d, out);
    EXPECT_STREQ(out, c.want) << c.v;
  }
}

namespace {
// Runs a whole session in process on a script; result its terminal output.
std::string runsession(const std::string& script) {
  std::string in = script;
  FILE* fin = fmemopen(in.data(), in.size() ? in.size() : 1, "r");
  if (in.empty()) std::fgetc(fin);
  FILE* fout = std::tmpfile();
  trmstreams_(fin, fout, fout);
  MAIN__();
  trmstreams_(nullptr, nullptr, nullptr);
  std::fclose(fin);
  std::rewind(fout);
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, fout)) > 0) out.append(buf, n);
  std::fclose(fout);
  return out;
}
bool refuseall(int64_t) { return false; }
// The process's peak resident size in kilobytes.
long peakkb() {
  std::ifstream f("/proc/self/status");
  std::string key;
  long kb = 0;
  while (f >> key)
    if (key == "VmHWM:" && f >> kb) break;
  return kb;
}
bool upto300k(int64_t words) { return words <= 300000; }
}  // namespace

TEST(Driver, SessionsRunInProcessAndMemoryFailureIsMessageZero) {
  char dir[] = "/tmp/quirn_driver_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(dir), 0);

  // End of input without QUIT ends the session and closes the divert file.
  setallocprobe_(upto300k);
  std::string out = runsession("DIV x.txt\nMEM\n");
  EXPECT_NE(out.find("  QUIRN  9.0.2.13 (26 JUL 05)"), std::string::npos);
  FILE* f = std::fopen("x.txt", "r");
  ASSERT_NE(f, nullptr);
  char line[200] = {};
  std::fgets(line, sizeof line, f);
  std::fgets(line, sizeof line, f);
  std::fclose(f);
  // 0.9 x the largest size found, a multiple of 8 words, as bytes.
  int64_t words = worksize_(memtarget_(32), upto300k);
  char want[80];
  std::snprintf(want, sizeof want, " Total generator memory      %12lld\n", (long long)(4 * words));
  EXPECT_STREQ(line, want);

  // Not even the probe can be had: the banner, then message 0, and the program ends.
  setallocprobe_(refuseall);
  out = runsession("MEM\n");
  setallocprobe_(nullptr);
  EXPECT_NE(out.find(" [Error Code:    0]"), std::string::npos);
  EXPECT_NE(out.find(" The model generator ran out of memory."), std::string::npos);
  EXPECT_EQ(out.find("Total generator memory"), std::string::npos);

  std::remove("x.txt");
  ASSERT_EQ(chdir(old), 0);
  rmdir(dir);
}

// A large store costs only what its blocks use: a session with 4,096 megabytes of work
// array starts and quits within a few megabytes and milliseconds, and MEM reports its size.
TEST(Driver, LargeStoreIsBackedOnlyAsItIsUsed) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory makes resident size and start-up time meaningless";
#endif
  char dir[] = "/tmp/quirn_bigstore_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  char old[4096];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(dir), 0);
  { std::ofstream("QUIRN.CNF") << "MXMEMB=  4096\n"; }
  runsession("QUIT\n");  // the solver library's first start is not the store's cost
  { std::ofstream("/proc/self/clear_refs") << "5\n"; }  // peak resident size starts again here
  long before = peakkb();
  auto t0 = std::chrono::steady_clock::now();
  std::string out = runsession("MEM\nQUIT\n");
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  long peak = peakkb();
  EXPECT_NE(out.find(" Total generator memory        2147483616\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" Current generator memory usage         0\n"), std::string::npos) << out;
  EXPECT_LT(peak - before, 50 * 1024) << "kilobytes";
  EXPECT_LT(ms, 50.0);
  std::remove("QUIRN.CNF");
  ASSERT_EQ(chdir(old), 0);
  rmdir(dir);
}

namespace {
// Puts a line into the command line buffers as the line reader would (upper-cased copy
// in LINBUF, as typed in LINRAW) with the cursor at position cur.
void setline(MasterRecord& L, const char* text, int32_t cur) {
  std::memset(L.LINBUF, ' ', 200);
  std::memset(L.LINRAW, ' ', 200);
  int32_t n = (int32_t)std::strlen(text);
  std::memcpy(L.LINBUF, text, n);
  ushift_(L.LINBUF, n, L.LINRAW);
  L.LINEND = n;
  while (L.LINEND > 0 && L.LINBUF[L.LINEND - 1] == ' ') --L.LINEND;
  L.LINCUR = cur;
}
}  // namespace

TEST(CommandLine, QuotedTextsWordsAndTokens) {
  MasterRecord L;
  init_(L);
  struct Case {
    const char* line;
    const char* text;  // expected quoted text
    int32_t count;
    int32_t cursor;  // cursor afterwards
  } cases[] = {
      {"SOLU 'abc' X", "abc", 3, 10}, {"SOLU 'abc", "", 0, 1}, {"SOLU ''", "", 0, 7},
      {"SOLU \"a'b\"", "a'b", 3, 10}, {"SOLU abc", "", 0, 1},  {"SOLU '", "", 0, 1},
  };
  for (const Case& c : cases) {
    setline(L, c.line, 1);
    char text[204] = {};
    int32_t n = -1;
    getcst_(L, text, n);
    EXPECT_EQ(n, c.count) << c.line;
    EXPECT_EQ(std::string(text, n > 0 ? n : 0), c.text) << c.line;
    EXPECT_EQ(L.LINCUR, c.cursor) << c.line;
  }
  // The rest of the line without blanks, up to a comment.
  setline(L, "NONZ x (1) ! note", 1);
  char name[204] = {};
  int32_t n = 0;
  getcvn_(L, name, n);
  EXPECT_EQ(std::string(name, n), "X(1)");
  // A token of at most 32 characters; the cursor ends after the word.
  setline(L, "APISET 1001 INT", 8);
  char tok[33] = {};
  gettoken_(L, tok);
  EXPECT_EQ(std::string(tok, 32), "1001" + std::string(28, ' '));
  EXPECT_EQ(L.LINCUR, 12);
  EXPECT_EQ(nxblnk_(L, 0), 12);
  // A response on the same line needs no new line.
  setline(L, "PAGE 24", 1);
  getrsp_(L, "Page length?", 6);
  EXPECT_EQ(L.LINCUR, 6);
  EXPECT_EQ(L.LINEND, 7);
}

TEST(Parameters, CheckedStoreOfOneValue) {
  MasterRecord L;
  init_(L);
  Work W;
  FILE* sink = std::tmpfile();
  trmstreams_(nullptr, sink, sink);
  struct Case {
    const char* key;
    int32_t ival;
    double rval;
    int32_t status;
  } cases[] = {
      {"LINLEN", 64, 0, 0},      {"LINLEN", 200, 0, 0},  {"LINLEN", 63, 0, 2},
      {"LINLEN", 201, 0, 2},     {"ITRLIM", -5, 0, 2},   {"ITRLIM", 2147483640, 0, 0},
      {"RELINT", 0, 1.0, 0},     {"RELINT", 0, 1.0000001, 2}, {"ILFTOL", 0, 1e307, 0},
      {"ILFTOL", 0, 1e-17, 2},   {"HURDLE", 1, -1e30, 0}, {"HURDLE", 2, 5.0, 2},
      {"XYZXYZ", 1, 1.0, 1},     {"DEFAULTS", 0, 0, 0},
  };
  for (const Case& c : cases) {
    int32_t st = -1;
    setpam_(W, L, c.key, c.ival, c.rval, st);
    EXPECT_EQ(st, c.status) << c.key << " " << c.ival << " " << c.rval;
  }
  EXPECT_EQ(L.LASTERR, 130);
  EXPECT_EQ(L.LINLEN, 76);  // DEFAULTS came last
  int32_t st = -1;
  setpam_(W, L, "HURDLE", 1, -1e30, st);
  EXPECT_EQ(L.HURDLE_SET, 1);
  EXPECT_EQ(L.HURDLE, -1e30);
  trmstreams_(nullptr, nullptr, nullptr);
  std::fclose(sink);
}
