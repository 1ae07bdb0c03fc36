// Front-end benchmark: compiles a model with a primitive set of 1,000,000 members from an
// implicit range and a dense 1,000 x 1,000 derived set with a value over all its elements,
// builds the sets, and reports the time and the peak memory. Argument: megabytes of work array
// (default 256); run it with 32 to see the out-of-memory message of the default store.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/model_text.h"
#include "generate/genmod.h"
#include "language/lang.h"

int main(int argc, char** argv) {
  int mb = argc > 1 ? std::atoi(argv[1]) : 256;
  auto rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  init_(L);
  int64_t words = (int64_t)mb * 262144;
  W.w.assign((size_t)words + 1, 0);
  L.TOTWRD = (int32_t)words;
  intmem_(W, L);
  const std::vector<std::string> lines = {
      "MODEL:",
      "SETS:",
      " P /1..1000000/: X;",
      " A /1..1000/;",
      " B /1..1000/;",
      " D(A, B): V, Y;",
      "ENDSETS",
      "DATA:",
      " V = 5;",
      "ENDDATA",
      "MAX = @SUM(P(I): X(I)) + @SUM(D(I, J): V(I, J) * Y(I, J));",
      "@FOR(D(I, J): Y(I, J) <= 1);",
      "END"};
  storemodel(W, L, lines);
  L.BATMOD = 1;
  auto t0 = std::chrono::steady_clock::now();
  gencompile_(W, L);
  auto t1 = std::chrono::steady_clock::now();
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  int32_t members = 0;
  for (int32_t s = 1; s <= L.NSETS; ++s) members += iget(W, L, L.NNTRYS, s);
  std::printf("work array %d MB: sets %d, members %d, variables %d, code words %d\n", mb, L.NSETS, members,
              L.NSCALAR + L.VARTOP, L.CODELEN);
  std::printf("compile and set building: %.3f s, peak memory %.1f MB\n",
              std::chrono::duration<double>(t1 - t0).count(), ru.ru_maxrss / 1024.0);
  return 0;
}
