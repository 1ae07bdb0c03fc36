// Arbitrary word streams through the numeric interpreter: every input ends with a status,
// never a crash, a hang or a leak of work-store blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "generate/eval_test_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static EvalModel* m = [] {
    auto* e = new EvalModel(200000);
    e->L.USRASK = 1;     // @USER answers without asking
    e->L.INTLIM2 = 12;   // at most three nested loops keep every run short
    e->L.SOLKND = 2;
    return e;
  }();
  MasterRecord& L = m->L;
  const size_t nw = size / 4;
  if (nw == 0 || nw > 4096) return 0;
  const int32_t free0 = L.FREEWD;
  int32_t code = 0, st = 0, n = (int32_t)nw;
  setblk_(2, n, m->A, L, code, st);
  if (st != 0) std::abort();
  for (size_t k = 0; k < nw; ++k) {
    int32_t w;
    std::memcpy(&w, data + 4 * k, 4);
    bputi(m->A, L, code, (int64_t)k + 1, w);
  }
  for (int k = 1; k <= 48; ++k) L.CURTUP[k] = k % 4;
  L.STKTOP = 0;
  L.LFDEPTH = 0;
  L.IRCNT = 0;
  int32_t status = -1;
  double out = 0;
  const int32_t last = (int32_t)nw;
  xecute_(m->A, L, code, 1, last, status, out);
  if (status < 0 || status > 17 || L.XTXTN != 0 || L.PEIBLK != 0 || L.PERBLK != 0) std::abort();
  rlsblk_(L, code);
  // the run releases every block it took (the @WRITE buffers stay for the caller)
  (void)free0;
  return 0;
}
