// Formatted one-line output of the session through the line printer.
#include <cstdarg>
#include <cstdio>

#include "session/session.h"

// Prints one formatted line (at most 200 characters) on a unit.
void sayf_(MasterRecord& L, int32_t unit, const char* fmt, ...) {
  char buf[256];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n < 0) n = 0;
  if (n > 200) n = 200;
  lprint_(L, unit, std::string_view(buf, (size_t)n));
}

void notice_(MasterRecord& L, const char* text) {
  blankl_(L, L.TRMOUT, 1);
  sayf_(L, L.TRMOUT, "%s", text);
  blankl_(L, L.TRMOUT, 1);
}
