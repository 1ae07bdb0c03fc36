// Feeds arbitrary model text and include files to the model text entry and the reader: the
// first byte chooses the syntax, the hidden form and the trace, the rest is the model's lines, then,
// after a NUL, up to three include files a, b and c separated by NULs. The text is entered
// through the model entry, listed in both forms, and read through the scanner's buffer to
// its end, taking characters in the three ways the compilers do.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "language/reader.h"
#include "session/modeltext.h"
#include "store/io.h"
#include "store/store.h"
#include "tests/fuzz/scratch.h"

namespace {
void writefile(const char* name, const std::string& text) {
  FILE* f = std::fopen(name, "wb");
  if (!f) std::abort();
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // include names stay inside the scratch directory
  if (std::memchr(data, '/', size) || std::memchr(data, '\\', size)) return 0;
  fuzz_enterscratch("/tmp/quirn_fuzzrd_XXXXXX");
  fuzz_emptydir();
  uint8_t flags = data[0];
  std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<std::string> parts;
  size_t p = 0;
  for (;;) {
    size_t q = rest.find('\0', p);
    parts.push_back(rest.substr(p, q == std::string::npos ? std::string::npos : q - p));
    if (q == std::string::npos || parts.size() == 4) break;
    p = q + 1;
  }
  const char* names[3] = {"a", "b", "c"};
  for (size_t i = 1; i < parts.size(); ++i) writefile(names[i - 1], parts[i]);

  auto Lp = std::make_unique<MasterRecord>();
  MasterRecord& L = *Lp;
  init_(L);
  Work W;
  W.w.assign(300001, 0);
  L.TOTWRD = 300000;
  intmem_(W, L);
  L.LINLEN = 64 + flags % 137;

  std::string model = parts[0] + "\nEND\n";
  FILE* in = fmemopen(model.data(), model.size(), "r");
  FILE* out = std::fopen("/dev/null", "w");
  if (!in || !out) std::abort();
  trmstreams_(in, out, out);
  L.LINEND = 0;
  L.LINCUR = 1;
  char key[9] = "        ";
  getmod_(0, W, L, (flags & 2) ? 1 : 0, 8, flags & 1, 0, key);
  std::memcpy(L.KPASSW, key, 8);
  look2_(W, L, 1, L.MODLINES, 0, L.KPASSW, 0);
  look2_(W, L, 1, L.MODLINES, 1, L.KPASSW, 0);

  shutfi_(L);
  initfi_(L);
  if (flags & 4) L.TRACELV = 6;  // the reader's trace lines
  L.TEXTPOS = 0;
  L.SCANPOS = 1;
  L.SCANLEN = 0;
  L.PENDCNT = 0;
  int32_t st = 0;
  int32_t len = textlen_(W, L);
  for (int32_t guard = 0; guard < 200000; ++guard) {
    bool left = L.TEXTPOS < len || L.INCCUR > 0 || L.PENDCNT > 0;
    if (L.SCANLEN - L.SCANPOS <= L.MAXLIN + 9 && left) filbuf_(W, L, st);
    if (st != 0) break;
    if (L.SCANPOS >= L.SCANLEN && !left) break;
    char c = ' ';
    int32_t way = (guard + flags) % 3;
    if (way == 0) {
      getkx2_(W, L, '!', L.SCANBUF, L.SCANPOS, L.SCANLEN, guard, c);
    } else if (way == 1) {
      getkx4_(W, L, L.SCANBUF, L.SCANPOS, L.SCANLEN, guard, c);
    } else {
      int32_t s = 0;
      getkxb_(W, L, ' ', L.SCANBUF, L.SCANPOS, L.SCANLEN, -1, s);
    }
  }
  shutfi_(L);
  trmstreams_(nullptr, nullptr, nullptr);
  std::fclose(in);
  std::fclose(out);
  return 0;
}
