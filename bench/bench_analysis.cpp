// Analysis benchmark: the N x N transportation model (N = 1,000 by default: 1,000,000
// variables, 2,000 rows, 2,000,000 nonzeros, its data computed in a CALC section) is
// compiled with its CALC statements run at once, then the symbolic execution and the
// structural analysis generate its rows. Reports both times and the peak memory.
// Arguments: N, megabytes of work array (default 512).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/model_text.h"
#include "generate/analysis_prep.h"

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int mb = argc > 2 ? std::atoi(argv[2]) : 512;
  auto rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  init_(L);
  const int64_t words = (int64_t)mb * 262144;
  W.w.assign((size_t)words + 1, 0);
  L.TOTWRD = (int32_t)words;
  intmem_(W, L);
  const std::string N = std::to_string(n);
  const std::vector<std::string> lines = {
      "SETS:",
      "  PLANTS /1.." + N + "/: CAP;",
      "  CUSTS /1.." + N + "/: DEM;",
      "  ROUTES(PLANTS, CUSTS): COST, FLOW;",
      "ENDSETS",
      "CALC:",
      "  @FOR(PLANTS(P): CAP(P) = 1000 + @MOD(P, 7));",
      "  @FOR(CUSTS(C): DEM(C) = 900 + @MOD(C, 5));",
      "  @FOR(ROUTES(P, C): COST(P, C) = 1 + @MOD(P * 7 + C * 13, 97));",
      "ENDCALC",
      "MIN = @SUM(ROUTES(P, C): COST(P, C) * FLOW(P, C));",
      "@FOR(PLANTS(P): [SUPPLY] @SUM(CUSTS(C): FLOW(P, C)) <= CAP(P));",
      "@FOR(CUSTS(C): [DEMAND] @SUM(PLANTS(P): FLOW(P, C)) >= DEM(C));"};
  storemodel(W, L, lines);
  L.BATMOD = 1;
  auto t0 = std::chrono::steady_clock::now();
  int32_t calc = 0;
  if (!compileforanalysis(W, L, calc)) {
    std::printf("compilation failed (CALC status %d)\n", calc);
    return 1;
  }
  slideforanalysis(W, L);
  auto t1 = std::chrono::steady_clock::now();
  int32_t status = 0;
  struck_(W, L, status);
  auto t2 = std::chrono::steady_clock::now();
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  std::printf("transportation %d x %d: variables %d, rows %d, row variables %d, status %d\n", n, n, L.NVARS,
              L.NROWS, L.NROWVAR, status);
  std::printf("compile with CALC: %.3f s\n", std::chrono::duration<double>(t1 - t0).count());
  std::printf("symbolic execution and analysis: %.3f s, peak memory %.1f MB\n",
              std::chrono::duration<double>(t2 - t1).count(), ru.ru_maxrss / 1024.0);
  return status == 0 ? 0 : 1;
}
