// Day numbers of calendar dates, and the default @USER function.
#include <cstdio>
#include <cstring>

#include "generate/eval.h"
#include "language/lang.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/upcalls.h"

namespace {

// Day of the count year (March first) on which each month starts; entry 12 = 365.
constexpr int32_t kMonthStart[13] = {0, 31, 61, 92, 122, 153, 184, 214, 245, 275, 306, 337, 365};

// Prints text as one line on the unit.
void say(MasterRecord& L, int32_t unit, const char* text) {
  char line[201];
  std::memset(line, ' ', 200);
  size_t n = std::strlen(text);
  std::memcpy(line, text, n > 200 ? 200 : n);
  line[200] = '\0';
  lprint_(L, unit, line, 200);
}

}  // namespace

void dmy2d_(int32_t& day, int32_t& month, int32_t& year, int32_t& dayno, int32_t& weekday) {
  // Before 1 March 1800, a month outside 1..12, a day below 1 or a year too far ahead to
  // count in 32 bits: not a date.
  if (year < 1800 || month < 1 || month > 12 || day < 1 || year > 5000000 ||
      (year == 1800 && month < 3)) {
    dayno = 0;
    return;
  }
  const int64_t y = month <= 2 ? year - 1801 : year - 1800;
  int32_t m = month - 2;
  if (m < 1) m += 12;
  const int32_t len = kMonthStart[m] - kMonthStart[m - 1];
  if (day > len) {
    const bool leap = (year % 4 == 0) && (year % 100 != 0 || year % 400 == 0);
    if (!(month == 2 && day == 29 && leap)) {
      dayno = 0;
      return;
    }
  }
  const int64_t n = kMonthStart[m - 1] + (int64_t)day + 365 * y + y / 4 - y / 100 + (y + 200) / 400;
  dayno = (int32_t)n;
  weekday = (int32_t)((n + 4) % 7 + 1);
}

double user_(MasterRecord& L, int32_t count, const double* values) {
  if (L.USRFN[0] != 0) {
    double r = 0.0;
    calluser_(L.USRFN[0], count, values, r);
    return r;
  }
  if (L.USRASK != 0) return L.USRANS;
  if (L.TERSEO != 1) {
    const int32_t u = L.TRMOUT;
    char buf[64];
    say(L, u, "");
    say(L, u, "  Call To @USER Function");
    say(L, u, "  ----------------------");
    say(L, u, "  The  @USER function may be replaced by a function of your");
    say(L, u, "  own design.  This  provides  you  with the ability to add");
    say(L, u, "  your own custom functions to the QUIRN language. For more");
    say(L, u, "  information, please see the QUIRN documentation.");
    say(L, u, "");
    std::snprintf(buf, sizeof buf, "   Number of arguments: %d", count);
    say(L, u, buf);
    say(L, u, "");
    say(L, u, "  Argument Values:");
    for (int32_t i = 0; i < count; ++i) {
      std::snprintf(buf, sizeof buf, "    %.8g", values[i]);
      say(L, u, buf);
    }
    say(L, u, "");
  }
  L.USRPST = -1;
  static const char prompt[] = "Please input a value for @USER to return for this run:";
  int32_t plen = (int32_t)sizeof prompt - 1;
  paws_(L, prompt, plen);
  double sign = 0.0, v = 0.0;
  int32_t st = 1;
  getsgn_(L, sign);
  if (sign == 0.0) sign = 1.0;
  getnum_(L, st, v);
  const double r = st < 1 ? sign * v : 0.0;
  L.USRANS = r;
  L.USRPST = 0;
  L.USRASK = 1;
  return r;
}

QUIRN_UPCALL(dmy2d, dmy2d_);  // day numbers for the library's date service
