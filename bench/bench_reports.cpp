// Reports benchmark: the solution report of a 1,000 x 1,000 transportation model
// (1,000,000 variables, 2,000 rows) written to a file, NONZ and SOLU with a name key, and the
// statistics of its matrix copy. Prints the time of each.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/model_text.h"
#include "generate/blk.h"
#include "generate/genmod.h"
#include "reports/reports.h"
#include "session/modeltext.h"
#include "store/io.h"
#include "store/numedit.h"
#include "language/lang.h"

namespace {

template <class F>
double timed(F&& f) {
  auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

int32_t block(Work& W, MasterRecord& L, int32_t type, int64_t n) {
  int32_t h = 0, c = (int32_t)n + 1, st = 0;
  setblk_(type, c, W, L, h, st);
  if (st != 0) {
    std::printf("no room for a block of %lld\n", (long long)n);
    std::exit(1);
  }
  return h;
}

}  // namespace

int main() {
  auto rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  init_(L);
  const int64_t words = 256LL * 262144;
  W.w.assign((size_t)words + 1, 0);
  L.TOTWRD = (int32_t)words;
  intmem_(W, L);
  storemodel(W, L, {"MODEL:", "SETS:", " WH /1..1000/;", " CU /1..1000/;", " LINKS(WH, CU): X;",
                    "ENDSETS", "END"});
  L.BATMOD = 1;
  gencompile_(W, L);
  const int32_t n = 1000, nv = n * n, nr = 2 * n + 1;
  L.NVARS = L.VARCAP;
  const int32_t first = iget(W, L, L.INANTR, 3);
  L.VARRDC = block(W, L, 6, L.VARCAP);
  for (int32_t k = 0; k < nv; ++k) {
    bputd(W, L, L.VARVAL, first + k, k % 1000 == k / 1000 ? 1.5 : 0.0);
    bputd(W, L, L.VARRDC, first + k, 0.25);
  }
  L.NROWS = nr;
  L.ROWSLK = block(W, L, 6, nr);
  L.ROWDUL = block(W, L, 6, nr);
  for (int32_t r = 1; r <= nr; ++r) bputd(W, L, L.ROWSLK, r, r % 2 ? 0.0 : 3.0);
  L.OBJROW = 1;
  L.MODSTAT = 1;
  L.SOLKND = 1;
  L.DUALOK = QTRUE;
  L.HAVESOL = QTRUE;
  savmod_(W, L, L.SOLCPY, L.SOLLEN);

  const double names = timed([&] {
    char buf[256];
    for (int32_t k = 0; k < nv; ++k) {
      int32_t len = 30;
      vdx2nh_(W, L, first + k, buf, len);
    }
  });
  const double edits = timed([&] {
    char buf[32];
    for (int32_t k = 0; k < nv; ++k) {
      gedit_(0.25, 20, 7, buf);
      gedit_(k * 0.5, 20, 7, buf);
    }
  });
  std::printf("names alone: %.3f s, number editing alone: %.3f s\n", names, edits);
  int32_t h = FOPEN_("bench_reports.out", "w");
  L.OUTUNIT = h;
  const double all = timed([&] { outsol_(W, L, 1, "", 0, "", 0); });
  const double nonz = timed([&] { outsol_(W, L, 0, "", 0, "X", 1); });
  // a key that one name matches: every variable's name is built and compared, once
  const double solukey = timed([&] { outsol_(W, L, 1, "", 0, "x(7,9)", 6); });
  FCLOSE_(h);
  L.OUTUNIT = 0;

  // matrix copy: each column in its supply row and its demand row, and the objective
  L.SLVROWS = nr;
  L.SLVCOLS = nv;
  L.MATCOLST = block(W, L, 2, (int64_t)nv + 1);
  L.MATROW = block(W, L, 2, 3LL * nv);
  L.MATCOEF = block(W, L, 6, 3LL * nv);
  L.MATRTYP = block(W, L, 2, nr + 1);
  L.MATRHS = block(W, L, 6, nr + 1);
  L.MATRFLG = block(W, L, 2, nr);
  for (int32_t j = 0; j < nv; ++j) {
    bputi(W, L, L.MATCOLST, j + 1, 3 * j + 1);
    const int32_t rows[3] = {1, 2 + j / n, 2 + n + j % n};
    for (int32_t e = 0; e < 3; ++e) {
      bputi(W, L, L.MATROW, 3 * j + e + 1, rows[e]);
      bputd(W, L, L.MATCOEF, 3 * j + e + 1, e == 0 ? 1.0 + j % 7 : 1.0);
    }
  }
  bputi(W, L, L.MATCOLST, nv + 1, 3 * nv + 1);
  const double stats = timed([&] { dostats_(W, L); });
  std::printf("solution report of %d variables and %d rows to a file: %.3f s\n", nv, nr, all);
  std::printf("NONZ with a name key: %.3f s\n", nonz);
  std::printf("SOLU with a name key over every variable: %.3f s\n", solukey);
  std::printf("statistics over %d entries: %.3f s\n", 3 * nv, stats);
  std::remove("bench_reports.out");
  return 0;
}
