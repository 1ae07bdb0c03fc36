// Version and build texts of the library.
#include "bresk/bresk.h"
#include <cstdio>

extern "C" int BRgetVersionInfo(char* ver, char* build) {
  if (ver) std::snprintf(ver, 200, "%s", "3.0.0");
  if (build) std::snprintf(build, 200, "%s", "COIN-OR");
  return 0;
}
