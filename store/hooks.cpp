// Platform hooks that answer by a rule: clock, date, time limit, pointer input.
#include <csignal>

#include "store/hooks.h"

#include <time.h>

#include <algorithm>

#include "store/master.h"
#include "store/upcalls.h"

void getuserfncptr_(int32_t& companion, int32_t& entry) { companion = entry = 0; }

namespace {
volatile std::sig_atomic_t g_interrupt = 0;  // set by Ctrl-C, cleared as each command starts

// Ctrl-C: only notes the request; the work in progress polls for it.
extern "C" void oninterrupt(int) { g_interrupt = 1; }

// Installs the interrupt handler, restarting interrupted calls or not.
void catchinterrupt(bool restart) {
  struct sigaction sa {};
  sa.sa_handler = oninterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = restart ? SA_RESTART : 0;
  sigaction(SIGINT, &sa, nullptr);
}
}  // namespace

// 1 when the user has pressed Ctrl-C since the current command began.
void userinterrupt_(int32_t& flag) { flag = g_interrupt ? 1 : 0; }

// Forgets an interrupt: a new command begins.
void clearinterrupt_() { g_interrupt = 0; }

// Signal set-up of the program: Ctrl-C asks the work in progress to stop instead of ending
// the program; a closed output pipe and a file-size limit make writes fail instead of
// killing the program, so every writer sees and reports its failure.
void sigsetup_() {
  catchinterrupt(true);
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

// While the terminal is read, Ctrl-C breaks off the read (the line typed is abandoned);
// elsewhere interrupted calls resume. on = true as a terminal read begins, false after it.
void interruptibleread_(bool on) { catchinterrupt(!on); }

namespace {
// The system's local clock.
void systemclock(int32_t& hundredths, int32_t& day, int32_t& month, int32_t& year) {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  time_t secs = ts.tv_sec;
  tm t{};
  localtime_r(&secs, &t);
  hundredths = ((t.tm_hour * 60 + t.tm_min) * 60 + std::min(t.tm_sec, 59)) * 100 +
               (int32_t)(ts.tv_nsec / 10000000);
  day = t.tm_mday;
  month = t.tm_mon + 1;
  year = t.tm_year + 1900;
}
ClockSource clocksource = systemclock;
}  // namespace

void setclocksource_(ClockSource source) { clocksource = source ? source : systemclock; }

void getime_(int32_t& clock) {
  int32_t d = 0, m = 0, y = 0;
  clock = 0;
  clocksource(clock, d, m, y);
}

void cumtim_(double& seconds) {
  int32_t c = 0;
  getime_(c);
  seconds = (double)c * (double)0.01f;  // in double, so that late in the day hundredths still show
}

void brgtdt_(int32_t& dayno) {
  int32_t t = 0, d = 1, m = 1, y = 1, wd = 0;
  clocksource(t, d, m, y);
  dayno = 0;
  if (upcalls_().dmy2d) upcalls_().dmy2d(d, m, y, dayno, wd);
}

void clrsolvetime_(MasterRecord& L) {
  getime_(L.TMSTART);
  L.TMPREV = L.TMSTART;
  L.TMDAYOFF = 0;
}

void stsgn2_(MasterRecord& L, int32_t unused, int32_t& status) {
  int32_t t = 0;
  if (upcalls_().timeout) upcalls_().timeout(L, t);
  status = (t & 1) ? 2 : (g_interrupt ? 1 : 0);
}

int32_t getptrvals_(int32_t& result, int32_t ptrno, int32_t n, double* dest) {
  for (int32_t i = 1; i <= n; ++i) dest[i - 1] = (double)i;
  result = n < 1 ? 1 : (n < INT32_MAX ? n + 1 : n);
  return result;
}

void freelibrary_(MasterRecord& L) { freelibc_(L.USRFN[1]); }

namespace {
PtrReceiver ptrreceiver = nullptr;  // the embedding program's receiver of pointer output
}

void setptrreceiver_(PtrReceiver receiver) { ptrreceiver = receiver; }

int32_t putptrvals_(int32_t* ptrtab, int32_t ptrno, int32_t n, const double* values) {
  (void)ptrtab;
  return ptrreceiver ? ptrreceiver(ptrno, n, values) : 0;
}
