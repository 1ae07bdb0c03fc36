// The memory report of the MEM command.
#include <cstdio>
#include <cstring>
#include "store/io.h"
#include "store/store.h"

namespace {
// prints a label and a value right-aligned in a field of the given width (blank line for a
// null label)
void memline(MasterRecord& L, const char* label, int width, int64_t value) {
  char buf[202];
  std::memset(buf, ' ', sizeof buf);
  if (label != nullptr) {
    int n = std::snprintf(buf, sizeof buf, "%s%*lld", label, width, (long long)value);
    buf[n] = ' ';
  }
  lprint_(L, L.OUTUNIT, buf, 200);
}
}  // namespace

// Prints the store's size, its peak and current use, the handles, the moving done and the
// fragmentation of the free space.
void mem_(MasterRecord& L) {
  int64_t tot = L.TOTWRD, frw = L.FREEWD;
  memline(L, nullptr, 0, 0);
  memline(L, " Total generator memory      ", 12, 4 * tot);
  memline(L, " Peak generator memory usage ", 12, 4 * (tot - L.LOWWRD));
  memline(L, " Current generator memory usage", 10, 4 * (tot - frw));
  memline(L, nullptr, 0, 0);
  memline(L, " Total handles       ", 20, L.TOTHND);
  memline(L, " Peak handle usage   ", 20, (int64_t)L.TOTHND - L.LOWHND);
  memline(L, " Current handle usage", 20, (int64_t)L.TOTHND - L.NFREEH);
  memline(L, nullptr, 0, 0);
  memline(L, " Total bytes moved   ", 20, 4 * L.NWMOVED);
  memline(L, " Total blocks moved  ", 20, L.NBMOVED);
  memline(L, " Total heap compacts ", 20, L.NCOMPACT);
  memline(L, nullptr, 0, 0);
  double ratio = 0.0;
  if (frw >= 1) {
    int32_t h = L.PREV[2];
    int64_t above = (int64_t)tot - L.START[h] - L.LEN[h];  // free words above the last block, less one
    if (above < 0) above = 0;  // the last block ends the store
    ratio = 1.0 - (double)above / (double)frw;
  }
  char buf[202];
  std::memset(buf, ' ', sizeof buf);
  int n = std::snprintf(buf, sizeof buf, " Fragmentation ratio           %10.3f", ratio);
  buf[n] = ' ';
  lprint_(L, L.OUTUNIT, buf, 200);
  memline(L, nullptr, 0, 0);
}
