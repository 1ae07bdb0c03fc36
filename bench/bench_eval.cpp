// Evaluation benchmark: a membership condition over a 1,000 x 1,000 derived set, first
// through the set builder (1,000,000 candidates), then the same condition code run alone.
// Prints nanoseconds per evaluated condition.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/model_text.h"
#include "generate/eval.h"
#include "generate/genmod.h"
#include "language/lang.h"
#include "store/store.h"

namespace {

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Stores a one-line model text in the modelling language.
void modeltext(Work& W, MasterRecord& L, const std::string& t) {
  storemodel(W, L, {t});
  L.SYNTAX = 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* cond = argc > 1 ? argv[1] : "&1 #LE# &2";
  auto rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  init_(L);
  const int32_t words = 40000000;
  W.w.assign((size_t)words + 1, 0);
  L.TOTWRD = words;
  intmem_(W, L);
  modeltext(W, L, std::string("SETS: A /1..1000/; B /1..1000/; C(A, B) | ") + cond + "; ENDSETS");

  double t0 = now();
  gencompile_(W, L);
  double t1 = now();
  if (L.NSETS < 3 || L.LASTERR != 0) {
    std::printf("the model did not compile (message %d)\n", L.LASTERR);
    return 1;
  }
  const int32_t kept = wget(W, L.START[L.NNTRYS] + 2);
  std::printf("condition: %s\n", cond);
  std::printf("set builder: %d of 1000000 candidates kept, %.1f ns per candidate (compile, "
              "enumeration, evaluation and sorting)\n", kept, (t1 - t0) * 1e9 / 1e6);

  // the condition code alone, as the builder runs it
  const int32_t c0 = wget(W, L.START[L.SETCST] + 2), c1 = wget(W, L.START[L.SETCST] + 3);
  const int32_t last = c1 - 1;
  int32_t st = 0, sum = 0;
  double out = 0;
  double t2 = now();
  for (int32_t a = 1; a <= 1000; ++a) {
    for (int32_t b = 1; b <= 1000; ++b) {
      L.CURTUP[1] = a;
      L.CURTUP[2] = b;
      L.STKTOP = 0;
      L.LFDEPTH = 0;
      L.IRCNT = 0;
      xecute_(W, L, L.CNDBLK, c0, last, st, out);
      sum += st == 0 && L.STKVAL[L.STKTOP] != 0.0;
    }
  }
  double t3 = now();
  std::printf("interpreter alone: %d kept, %.1f ns per evaluated condition (%d words of code)\n",
              sum, (t3 - t2) * 1e9 / 1e6, c1 - c0);
  return 0;
}
