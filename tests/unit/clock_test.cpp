// The clock and the date behind the platform hooks: what they read, the TIME command's
// elapsed time across midnight, and the time limit of a generation.
#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "generate/eval.h"
#include "session/session.h"
#include "solver/bindings.h"
#include "solver/solve_test_fixture.h"
#include "store/hooks.h"

namespace {

// A clock the test sets: time of day in hundredths, date; each reading may move it on.
struct FakeClock {
  static inline int32_t now = 0, day = 1, month = 1, year = 2000, step = 0;
  static void read(int32_t& h, int32_t& d, int32_t& m, int32_t& y) {
    h = now;
    d = day;
    m = month;
    y = year;
    now += step;
  }
  static void set(int32_t h, int32_t d, int32_t m, int32_t y, int32_t s = 0) {
    now = h;
    day = d;
    month = m;
    year = y;
    step = s;
  }
};

// Installs the fake clock for one test and restores the system's afterwards.
struct ClockTest : testing::Test {
  ClockTest() { setclocksource_(FakeClock::read); }
  ~ClockTest() override { setclocksource_(nullptr); }
};

int32_t dayno(int32_t d, int32_t m, int32_t y) {
  int32_t n = 0, wd = 0;
  dmy2d_(d, m, y, n, wd);
  return n;
}

TEST(Clock, SystemClockGivesTheLocalTimeOfDayAndDate) {
  setclocksource_(nullptr);
  int32_t clock = -1, day = -1;
  double secs = -1.0;
  getime_(clock);
  cumtim_(secs);
  brgtdt_(day);
  time_t t = time(nullptr);
  tm lt{};
  localtime_r(&t, &lt);
  const int32_t want = (lt.tm_hour * 3600 + lt.tm_min * 60 + lt.tm_sec) * 100;
  if (want < 500 || want > 8640000 - 500) GTEST_SKIP() << "too close to midnight";
  EXPECT_NEAR(clock, want, 200);
  EXPECT_NEAR(secs, want * 0.01, 2.0);
  EXPECT_EQ(day, dayno(lt.tm_mday, lt.tm_mon + 1, lt.tm_year + 1900));
  EXPECT_GT(day, 70000);  // a date of this century, never the day 0 of an unknown date
}

TEST_F(ClockTest, HooksReadTheInstalledSourceAndTheTimerRestarts) {
  FakeClock::set(4567890, 1, 1, 2000);
  int32_t clock = 0, day = -1;
  double secs = 0.0;
  getime_(clock);
  cumtim_(secs);
  brgtdt_(day);
  EXPECT_EQ(clock, 4567890);
  EXPECT_NEAR(secs, 45678.90, 0.01);
  EXPECT_EQ(day, 72990);
  FakeClock::set(0, 1, 1, 1799);  // a date the calendar does not know
  brgtdt_(day);
  EXPECT_EQ(day, 0);

  // the time limit counts from the last restart, across midnight
  auto rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  L.TIMLIM = 2;
  FakeClock::set(8640000 - 100, 1, 1, 2000);
  clrsolvetime_(L);
  int32_t result = 0;
  for (int32_t now : {8640000 - 50, 50, 99}) {
    FakeClock::now = now;
    timeout_(L, result);
    EXPECT_EQ(result, 0) << now;
  }
  FakeClock::now = 101;
  timeout_(L, result);
  EXPECT_EQ(result, -1);
}

// TIME shows the time since start-up, also when midnight passed in between.
TEST_F(ClockTest, TimeShowsTheElapsedSessionTime) {
  struct Case {
    int32_t start, startday, later, laterday;
    const char* shown;
  } cases[] = {
      {8 * 360000, 10, 9 * 360000 + 2 * 6000 + 525, 10, " Cumulative HR:MIN:SEC =   1: 2: 5.25"},
      {8640000 - 1000, 31, 6550, 1, " Cumulative HR:MIN:SEC =   0: 1:15.50"},
  };
  for (const Case& c : cases) {
    FakeClock::set(c.start, c.startday, 12, 2025);
    FrontFixture s;  // start-up reads the clock and the date
    FakeClock::set(c.later, c.laterday, c.laterday == 1 ? 1 : 12, c.laterday == 1 ? 2026 : 2025);
    std::string in = "TIME\nQUIT\n";
    FILE* fin = fmemopen(in.data(), in.size(), "r");
    FILE* fout = std::tmpfile();
    trmstreams_(fin, fout, fout);
    s.L.BATMOD = 1;
    int32_t st = 0;
    commnd_(s.W, s.L, st);
    trmstreams_(nullptr, nullptr, nullptr);
    std::fclose(fin);
    std::rewind(fout);
    std::string out;
    for (int ch; (ch = std::getc(fout)) != EOF;) out += (char)ch;
    std::fclose(fout);
    EXPECT_NE(out.find(c.shown), std::string::npos) << out;
  }
}

// TIMLIM stops a generation that runs past it, and only such a one.
TEST_F(ClockTest, TimeLimitStopsALongGenerationOnly) {
  const std::string model =
      "SETS: S /1..20/: X; ENDSETS\n"
      "MIN = @SUM(S(I): X(I));\n"
      "@FOR(S(I): X(I) >= I);\n"
      "@FOR(S(I): X(I) <= 100);\n"
      "END\n";
  struct Case {
    int32_t step;  // hundredths the clock moves on at each reading
    bool stopped;
  } cases[] = {{0, false}, {60, true}};
  for (const Case& c : cases) {
    FakeClock::set(12 * 360000, 5, 6, 2026, c.step);  // noon: long past the clock's zero
    SolveSession s;
    s.text(model);
    s.L.TIMLIM = 1;
    s.L.MSGOFF = 0;
    std::string out = s.go();
    EXPECT_EQ(out.find("Solver time limit exceeded.") != std::string::npos, c.stopped) << out;
    EXPECT_EQ(s.L.GENFLAG, c.stopped ? 0 : 1) << out;
    if (!c.stopped) {
      EXPECT_EQ(s.L.MODSTAT, 1) << out;
    }
  }
}

// @QRAND() without a seed takes the clock's reading as its seed; midnight's reading of 0,
// which would draw nothing but zeros, counts as seed 1.
TEST_F(ClockTest, UnseededQrandDrawsFromTheClock) {
  auto draws = [](const char* rhs, int32_t clock) {
    FakeClock::set(clock, 1, 1, 2026);
    FrontFixture f;
    f.text(std::string("SETS: S /1..6/: P; ENDSETS DATA: P = ") + rhs + "; ENDDATA");
    f.go(0);
    EXPECT_EQ(f.L.LASTERR, 0) << rhs;
    std::vector<double> v;
    int32_t first = iget(f.W, f.L, f.L.INANTR, 1);
    for (int32_t k = 0; k < 6; ++k) v.push_back(dget(f.W, f.L.START[f.L.VARVAL] + 2 * (int64_t)(first + k - 1)));
    return v;
  };
  EXPECT_EQ(draws("@QRAND()", 4321987), draws("@QRAND(4321987)", 0));
  EXPECT_NE(draws("@QRAND()", 4321987), draws("@QRAND()", 1234567));
  EXPECT_EQ(draws("@QRAND()", 0), draws("@QRAND(1)", 0));
  std::vector<double> v = draws("@QRAND()", 0);
  EXPECT_GT(*std::max_element(v.begin(), v.end()), 0.0);
}

}  // namespace
