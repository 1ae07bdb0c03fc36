// Feeds arbitrary bytes as an MPS file to the import of a whole session, in process: the
// first byte chooses RMPS or FRMPS (bit 0), default names (bit 1), the narrowest line width
// (bit 2) and whether the model read is then generated, written with SMPS and read back
// with FRMPS (bit 3); the rest is the file. No model is solved: the solves of the library
// have their own target. Every run starts in an empty scratch directory with
// a small work array; the terminal's output goes nowhere.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "session/session.h"
#include "tests/fuzz/scratch.h"

namespace {
// The work array of a fuzz run: at most 300,000 words.
bool smallprobe(int64_t words) { return words <= 300000; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  fuzz_enterscratch("/tmp/quirn_fuzz_rmps_XXXXXX");
  fuzz_emptydir();
  const uint8_t opt = data[0];
  if (std::FILE* f = std::fopen("in.mps", "wb")) {
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);
  } else {
    std::abort();
  }
  std::string script;
  if (opt & 2) script += "SET RCMPSN 1\n";
  if (opt & 4) script += "SET LINLEN 64\n";
  script += (opt & 1) ? "FRMPS in.mps\n" : "RMPS in.mps\n";
  script += "LOOK ALL\n";
  if (opt & 8) script += "SMPS out.mps\nFRMPS out.mps\nLOOK ALL\n";
  script += "QUIT\n";
  FILE* in = fmemopen(script.data(), script.size(), "r");
  FILE* out = std::fopen("/dev/null", "w");
  if (!in || !out) std::abort();
  trmstreams_(in, out, out);
  setallocprobe_(smallprobe);
  MAIN__();
  trmstreams_(nullptr, nullptr, nullptr);
  std::fclose(in);
  std::fclose(out);
  return 0;
}
