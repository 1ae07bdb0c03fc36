// The scrambled form of a hidden model's listing: each line enciphered with a key
// character and a chain value carried from line to line, the key character itself hidden
// in the line at a position that moves with the line count.
#include <ctime>

#include "session/modeltext.h"

namespace {

// The process CPU clock in seconds.
double realclock() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}
double (*g_clock)() = realclock;

// v reduced into 0..225.
int32_t wrap226(int32_t v) {
  while (v >= 226) v -= 226;
  while (v < 0) v += 226;
  return v;
}

}  // namespace

double cpusec_() { return g_clock(); }

void setcpuclock_(double (*clock)()) { g_clock = clock ? clock : realclock; }

// Scrambles a 200-character line (room for 202) in place with key character k.
void lkrypt_(unsigned char* line, int32_t k, int32_t& chain, int32_t n) {
  int32_t len = 200;
  while (len > 0 && line[len - 1] == ' ') --len;
  int32_t c0 = chain, c = chain;
  for (int32_t i = 0; i < len; ++i) {
    line[i] = (unsigned char)(wrap226(k + c + line[i] - 30) + 30);
    c = (c + line[i]) % 256;
  }
  int32_t p = len * ((n - 1) % 7) / 7 + 1;
  line[len] = line[p - 1];
  line[p - 1] = (unsigned char)(wrap226(k + c0 - 30) + 30);
  c = (c + line[p - 1]) % 256;
  chain = c;
  line[len + 1] = (unsigned char)((int64_t)(100.0 * cpusec_() + 7 * len + 37 * c) % 223 + 33);
}

// Unscrambles a line of m characters in place; k gets the key character it carried.
void ldkryp_(unsigned char* line, int32_t m, int32_t& chain, int32_t& k, int32_t n) {
  if (m < 2) {
    k = ' ';
    return;
  }
  int32_t c = chain;
  int32_t p = ((n - 1) % 7) * (m - 2) / 7 + 1;
  int32_t e = line[p - 1];
  k = wrap226(e - c - 30) + 30;
  line[p - 1] = line[m - 2];
  for (int32_t i = 0; i < m - 2; ++i) {
    int32_t s = line[i];
    line[i] = (unsigned char)(wrap226(s - (k + c) - 30) + 30);
    c = (c + s) % 256;
  }
  chain = (c + e) % 256;
  line[m - 2] = line[m - 1] = ' ';
}
