// Feeds arbitrary bytes as a command script to a whole session, in process: the terminal's
// input is a memory stream, its output goes nowhere, and every run starts in an empty
// scratch directory with a small work array.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "session/session.h"
#include "tests/fuzz/scratch.h"

namespace {
// The work array of a fuzz run: at most 300,000 words.
bool smallprobe(int64_t words) { return words <= 300000; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // File names with a directory part could reach devices or other files; the session's
  // own files stay in the scratch directory.
  if (std::memchr(data, '/', size) || std::memchr(data, '\\', size)) return 0;
  fuzz_enterscratch("/tmp/quirn_fuzz_XXXXXX");
  fuzz_emptydir();
  std::vector<char> buf(data, data + size);
  buf.push_back(0);
  FILE* in = fmemopen(buf.data(), size ? size : 1, "r");
  FILE* out = std::fopen("/dev/null", "w");
  if (!in || !out) std::abort();
  if (size == 0) std::fgetc(in);  // an empty script: input already at its end
  trmstreams_(in, out, out);
  setallocprobe_(smallprobe);
  MAIN__();
  trmstreams_(nullptr, nullptr, nullptr);
  std::fclose(in);
  std::fclose(out);
  return 0;
}
