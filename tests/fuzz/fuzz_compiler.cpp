// Feeds arbitrary bytes as model text, in either syntax, through the reader to the compilers,
// the set builder and the listings; a small data file is there for @TEXT input. The first byte picks the syntax, the trace level and two options.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "generate/genmod.h"
#include "language/lang.h"
#include "tests/fuzz/scratch.h"

namespace {
void setup_once() {
  static bool done = false;
  if (done) return;
  done = true;
  fuzz_enterscratch("/tmp/quirn_fuzzc_XXXXXX");
  if (!std::freopen("/dev/null", "w", stdout)) std::abort();
  // a data file for @TEXT input
  if (FILE* f = std::fopen("D.TXT", "w")) {
    std::fputs("A 1, B 2\nC 3 D 4 E\n5\n", f);
    std::fclose(f);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || std::memchr(data, '/', size) || std::memchr(data, '\\', size)) return 0;
  setup_once();
  auto rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  init_(L);
  const int32_t words = 200000;
  W.w.assign((size_t)words + 1, 0);
  L.TOTWRD = words;
  intmem_(W, L);
  // lines of the model text
  std::vector<int32_t> starts;
  std::vector<char> text;
  starts.push_back(1);
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == '\n') {
      starts.push_back((int32_t)text.size() + 1);
    } else {
      text.push_back((char)data[i]);
    }
  }
  starts.push_back((int32_t)text.size() + 1);
  int32_t nlines = (int32_t)starts.size() - 1;
  int32_t n = (int32_t)text.size() + 8, st = 0;
  setblk_(1, n, W, L, L.TEXTBLK, st);
  int32_t m = nlines + 2;
  setblk_(2, m, W, L, L.LINEIX, st);
  for (size_t i = 0; i < text.size(); ++i) cput(W, wbyte(L.START[L.TEXTBLK]) + (int64_t)i, text[i]);
  for (int32_t k = 0; k <= nlines; ++k) iput(W, L, L.LINEIX, k + 1, starts[(size_t)k]);
  L.MODLINES = nlines;
  L.SYNTAX = data[0] & 1;
  L.TRACELV = (data[0] & 0x30) ? ((data[0] >> 4) & 3) * 2 : (data[0] >> 1) & 1;
  L.UNARYM = (data[0] >> 2) & 1;
  L.USEPNM = (data[0] >> 3) & 1;
  L.BATMOD = 1;
  gencompile_(W, L);
  return 0;
}
