// Fuzz target: the solver library's MPS reader, writer and a short solve of
// whatever model the reader accepts.
#include "bresk/bresk.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int format = data[0] & 1;
  std::FILE* f = std::fopen("fuzz_in.mps", "wb");
  if (!f) return 0;
  std::fwrite(data + 1, 1, size - 1, f);
  std::fclose(f);
  int err;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* m = BRcreateModel(env, &err);
  BRsetModelIntParameter(m, 30, 200);
  BRsetModelIntParameter(m, 300, 1);
  if (BRreadMPSFile(m, "fuzz_in.mps", format) == 0) {
    int nv, nc, nz, d4, d5, d6, ni, d8;
    BRgetDimensions(m, &nv, &nc, &nz, &d4, &d5, &d6, &ni, &d8);
    if (BRwriteMPSFile(m, "fuzz_out.mps", data[0] & 2 ? 1 : 0) == 0) {
      // What was written reads back as the same model.
      BRmodel* again = BRcreateModel(env, &err);
      if (BRreadMPSFile(again, "fuzz_out.mps", data[0] & 2 ? 1 : 0) != 0) __builtin_trap();
      int d2[8];
      BRgetDimensions(again, &d2[0], &d2[1], &d2[2], &d2[3], &d2[4], &d2[5], &d2[6], &d2[7]);
      const int d1[8] = {nv, nc, nz, d4, d5, d6, ni, d8};
      for (int k = 0; k < 8; ++k)
        if (d1[k] != d2[k]) __builtin_trap();
      int s1, s2;
      double c1, c2;
      BRgetLPData(m, &s1, &c1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
      BRgetLPData(again, &s2, &c2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
      if (s1 != s2 || !(c1 == c2 || (c1 != c1 && c2 != c2))) __builtin_trap();
      BRdeleteModel(&again);
    }
    BRwriteMPIFile(m, "fuzz_out.mpi");
    if (nv < 200 && nc < 200) {
      BRoptimize(m, (data[0] >> 2) & 3);
      std::vector<double> a(nv + 1), b(nv + 1), c(nc + 1), d(nc + 1);
      BRgetPrimalSolution(m, a.data());
      BRgetDualSolution(m, c.data());
      BRgetObjectiveRanges(m, a.data(), b.data());
      BRgetConstraintRanges(m, c.data(), d.data());
    }
  } else {
    int line;
    char text[256];
    BRgetFileError(m, &line, text);
  }
  BRdeleteEnv(&env);
  return 0;
}
