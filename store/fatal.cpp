// The one fatal stop of the program.
#include <cstdio>
#include <cstdlib>
#include "store/store.h"

// Flushes output, lets the session close its divert files, prints the text and stops.
void fatal_(MasterRecord& L, const char* text) {
  static bool stopping = false;
  std::fflush(stdout);
  if (!stopping) {
    stopping = true;
    if (L.FATALHK != nullptr) L.FATALHK(L);
  }
  std::fprintf(stdout, " %s\n", text);
  std::fflush(stdout);
  std::fflush(nullptr);
  std::exit(1);
}
