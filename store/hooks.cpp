// Platform hooks that answer by a rule: clock, date, time limit, pointer input.
#include <csignal>

#include "store/hooks.h"
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

void getime_(int32_t& clock) { clock = 0; }

void cumtim_(double& seconds) {
  int32_t c = 0;
  getime_(c);
  seconds = c * 0.01f;
}

void brgtdt_(int32_t& dayno) {
  int32_t d = 1, m = 1, y = 1, wd = 0;
  dayno = 0;
  if (upcalls_().dmy2d) upcalls_().dmy2d(d, m, y, dayno, wd);
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
