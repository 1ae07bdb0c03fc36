// The program's entry and the session driver: banner, solver environment, configuration
// file, sizing of the work array, start-up script, command loop and shutdown.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "session/session.h"
#include "store/upcalls.h"
#include "store/store.h"

namespace {
constexpr int64_t WORDS_PER_MB = 262144;   // 1,048,576 bytes / 4
constexpr int64_t PROBE_WORDS = 64000;     // must be had or the session cannot start
constexpr int64_t BISECT_GAP = 10000;      // bisection stops at this gap
constexpr int64_t MAX_WORDS = 536870904;   // largest store whose byte count fits a request

// The real probe: true when a block of that many words can be allocated.
bool realprobe(int64_t words) {
  if (words < 0) return false;
  void* p = std::malloc((size_t)(words > 0 ? words : 1) * 4);
  if (!p) return false;
  std::free(p);
  return true;
}
AllocProbe g_probe = realprobe;

// Closes every divert file before a fatal stop.
void revertall(MasterRecord& L) {
  for (int32_t n = L.DIVLV; n > 0; --n) dorvrt_(L);
}
}  // namespace

// Replaces the allocation probe of the sizing rule (nullptr restores the real one).
void setallocprobe_(AllocProbe probe) { g_probe = probe ? probe : realprobe; }

// Words wanted for a working-memory setting in megabytes, capped to a valid store size.
int64_t memtarget_(int32_t megabytes) {
  if (megabytes < 1) return 0;
  int64_t words = WORDS_PER_MB * (int64_t)megabytes;
  return words > MAX_WORDS ? MAX_WORDS : words;
}

// The sizing rule of the work array (see session.h).
int64_t worksize_(int64_t target, AllocProbe probe) {
  if (!probe(PROBE_WORDS)) return 0;
  if (target > MAX_WORDS) target = MAX_WORDS;
  int64_t size;
  if (target >= 0 && probe(target)) {
    size = target;
  } else {
    int64_t good = PROBE_WORDS, bad = target;
    while (bad - good > BISECT_GAP) {
      int64_t mid = (good + bad) / 2;
      if (probe(mid))
        good = mid;
      else
        bad = mid;
    }
    size = (int64_t)((double)good * (double)0.9f);
  }
  if (size < PROBE_WORDS) size = PROBE_WORDS;  // a store too small to hold anything is no use
  return size / 8 * 8;
}

// Appends the NUL-terminated text b to a; result the position of the new terminator.
int32_t strapp_(char* a, const char* b) {
  size_t n = std::strlen(a);
  size_t m = std::strlen(b);
  std::memmove(a + n, b, m);
  a[n + m] = 0;
  return (int32_t)(n + m);
}

// The session driver; result 1 after a normal end, 0 when the work array could not be had.
int32_t quirn_(MasterRecord& L, Work& W, int32_t& status) {
  char line[420] = "  QUIRN ";
  std::snprintf(line + std::strlen(line), 200, " %d.%d.%d.%d (%s)", 9, 0, 2, 13, "26 JUL 05");
  lprint_(L, L.OUTUNIT, std::string_view(line));
  blankl_(L, L.OUTUNIT, 1);
  char ver[256] = {}, build[256] = {};
  if (upcalls_().libversion) upcalls_().libversion(ver, build);
  line[0] = 0;
  strapp_(line, "  BRESK API ");
  strapp_(line, ver);
  strapp_(line, " (");
  strapp_(line, build);
  strapp_(line, ")");
  lprint_(L, L.OUTUNIT, std::string_view(line));
  blankl_(L, L.OUTUNIT, 1);

  if (upcalls_().createenv) upcalls_().createenv(L);
  L.MODELHANDLE = 0;
  int32_t found = QFALSE, errors = 0;
  getconfig_(W, L, "", "", 0, found, errors);
  if (errors > 0) errmsh_(W, L, 132);
  L.INUNIT = L.TRMIN;

  int64_t size = worksize_(memtarget_(L.MXMEMB), g_probe);
  if (size == 0) return 0;
  try {
    W.fresh((size_t)size + 1);  // pages are only backed by memory as blocks are used
  } catch (const std::bad_alloc&) {
    W.w.clear();
    W.w.shrink_to_fit();
    return 0;
  }
  L.TOTWRD = (int32_t)size;
  intmem_(W, L);
  if (upcalls_().matforget) addresethook_(L, upcalls_().matforget);
  L.FATALHK = revertall;

  autolg_(L);
  commnd_(W, L, status);

  for (int32_t n = L.DIVLV; n > 0; --n)
    if (dorvrt_(L) != 0) errmsh_(W, L, 195);
  closetakefiles_(L);
  recovr_(W, L);
  freelibrary_(L);
  L.FATALHK = nullptr;
  W.w.clear();
  W.w.shrink_to_fit();
  return 1;
}

// Runs one whole session: defaults, the driver, then the environment is deleted.
int32_t MAIN__() {
  sigsetup_();
  // default-initialised: each field takes its initial value, and the fields without one (the
  // include names) stay untouched until they are written
  std::unique_ptr<MasterRecord> L(new MasterRecord);
  init_(*L);
  Work W;
  int32_t status = 0;
  int32_t r = quirn_(*L, W, status);
  if (r != 1) errmsh_(W, *L, r);
  if (upcalls_().deleteenv) upcalls_().deleteenv(*L);
  FFLUSHALL_();
  return 0;
}
