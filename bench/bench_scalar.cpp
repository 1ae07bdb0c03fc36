// Scalar code benchmark: the 1,000 x 1,000 transportation model (1,000,000 shipments,
// 1,000 supply rows, 1,000 demand rows and the cost objective), its rows as the symbolic
// executor leaves them. Times the emission of every row's scalar code (heap lists, then
// work-store lists) and the row-by-row linear load of the same model into the library.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "generate/blk.h"
#include "generate/rows.h"
#include "generate/scalar.h"
#include "language/opcodes.h"
#include "solver/bindings.h"
#include "solver/rowload.h"
#include "store/heap.h"
#include "store/store.h"

namespace {

constexpr int32_t N = 1000;  // warehouses and customers

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
long maxrss_mb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

struct Model {
  std::unique_ptr<MasterRecord> rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  std::vector<int32_t> c;  // the code being assembled

  int32_t block(int32_t type, int64_t n) {
    int32_t h = 0, st = 0, cnt = (int32_t)n + 1;
    setblk_(type, cnt, W, L, h, st);
    if (st != 0) {
      std::printf("work store too small\n");
      std::exit(1);
    }
    return h;
  }
  int32_t iblock(const std::vector<int32_t>& v) {
    int32_t h = block(2, (int64_t)v.size());
    for (size_t k = 0; k < v.size(); ++k) bputi(W, L, h, (int64_t)k + 1, v[k]);
    return h;
  }
  int32_t here() const { return (int32_t)c.size() + 1; }
  void op(int32_t o) { c.push_back(o); }
  void op(int32_t o, int32_t a) { c.push_back(o); c.push_back(a); }
  void op(int32_t o, int32_t a, int32_t b) { c.push_back(o); c.push_back(a); c.push_back(b); }
  void num(double v) {
    int32_t w[2];
    std::memcpy(w, &v, 8);
    op(OP_PUSHN, w[0], w[1]);
  }
  // SETUP s ... GOTO, POPSET, "NOP )" of a @SUM.
  template <class F>
  void sum(int32_t s, F body) {
    op(OP_PUSHZ, 1);
    op(OP_SETUP, s);
    const int32_t g = here();
    op(OP_GETNEXT, 0);
    body();
    op(OP_ADD);
    c.push_back(OP_GOTO);
    c.push_back(g - here());
    c[(size_t)g] = here() - (g + 1);
    op(OP_POPSET);
    op(OP_NOPCLOSE, 41);
  }
  // Attribute a of LINKS at (register i, register j).
  void link(int32_t a, int32_t i, int32_t j) {
    op(OP_BEGCND);
    op(OP_PUSHX, i);
    op(OP_PUSHX, j);
    op(OP_ENDCND);
    op(OP_PUSHS, a, 3);
  }

  Model() {
    init_(L);
    const int32_t words = 60000000;
    W.w.assign((size_t)words + 1, 0);
    L.TOTWRD = words;
    intmem_(W, L);
    L.MSGOFF = 1;
    // sets: 1 WH, 2 CUST, 3 LINKS = WH x CUST (dense) with attributes COST and X
    L.NSETS = 3;
    L.LXSTUB = iblock({1, 1, 1, 3});
    L.NDXSTB = iblock({1, 2});
    L.LASTUB = iblock({1, 1, 1, 3});
    L.NNTRYS = iblock({N, N, N * N});
    L.INXNTR = iblock({1, N + 1, 1});
    L.SETORD = iblock({-1, -1, -1});
    L.INANTR = iblock({0, 0, 1});
    L.SETALC = iblock({1, 1, 1});
    // variables: COST(p) = 2p - 1 (data), X(p) = 2p; the shipments are the explicit ones
    const int64_t nv = 2LL * N * N;
    L.NVARS = (int32_t)nv;
    L.VARKND = block(2, nv);
    L.VARVAL = block(6, nv);
    L.VARINT = block(2, nv);
    L.VARLB = block(6, nv);
    L.VARUB = block(6, nv);
    L.VARORD = block(2, nv);
    L.VARPOS = block(2, nv);
    for (int64_t p = 1; p <= (int64_t)N * N; ++p) {
      const int32_t cost = (int32_t)(2 * p - 1), x = (int32_t)(2 * p);
      bputi(W, L, L.VARKND, cost, 6);
      bputd(W, L, L.VARVAL, cost, 1.0 + (double)(p % 17));
      bputd(W, L, L.VARUB, cost, 1e307);
      bputd(W, L, L.VARUB, x, 1e307);
      bputi(W, L, L.VARORD, p, x);
      bputi(W, L, L.VARPOS, x, (int32_t)p);
      bputi(W, L, L.VARORD, N * N + p, cost);
      bputi(W, L, L.VARPOS, cost, (int32_t)(N * N + p));
    }
    L.NEXPVAR = N * N;
    L.NFIXED = 0;
    L.BIGNUM = 1e307;
    L.DBLWD = 2;
    // MIN = @SUM(WH(i): @SUM(CUST(j): COST(i, j) * X(i, j)));
    const int32_t obj = here();
    op(OP_BEGROW);
    sum(1, [&] { sum(2, [&] { link(1, 1, 2); link(2, 1, 2); op(OP_MUL); }); });
    op(OP_ENDROW, -2);
    // @FOR(WH(i): @SUM(CUST(j): X(i, j)) <= 1000);
    const int32_t sup = here();
    op(OP_BEGROW);
    sum(2, [&] { link(2, 1, 2); });
    num(1000.0);
    op(OP_SUB);
    op(OP_ENDROW, 1);
    // @FOR(CUST(j): @SUM(WH(i): X(i, j)) >= 900);
    const int32_t dem = here();
    op(OP_BEGROW);
    sum(1, [&] { link(2, 2, 1); });
    num(900.0);
    op(OP_SUB);
    op(OP_ENDROW, -1);
    L.CODEBLK = iblock(c);
    L.CODELEN = (int32_t)c.size();
    // the rows: objective, supply rows over WH, demand rows over CUST
    const int32_t nr = 2 * N + 1;
    L.NROWS = nr;
    L.OBJROW = 1;
    std::vector<int32_t> stp, typ, ord, ixs, ixw;
    for (int32_t r = 1; r <= nr; ++r) {
      ixs.push_back((int32_t)ixw.size() + 1);
      ord.push_back(r);
      if (r == 1) {
        stp.push_back(obj);
        typ.push_back(-2);
      } else if (r <= N + 1) {
        stp.push_back(sup);
        typ.push_back(1);
        ixw.insert(ixw.end(), {1, r - 1});
      } else {
        stp.push_back(dem);
        typ.push_back(-1);
        ixw.insert(ixw.end(), {2, r - N - 1});
      }
    }
    ixs.push_back((int32_t)ixw.size() + 1);
    L.ROWSTP = iblock(stp);
    L.ROWTYPES = iblock(typ);
    L.ROWORD = iblock(ord);
    L.ROWMAP = iblock(ord);
    L.ROWIXS = iblock(ixs);
    L.ROWIXW = iblock(ixw);
    L.ROWRNM = iblock(std::vector<int32_t>((size_t)nr, 0));
  }
};

}  // namespace

int main() {
  Model m;
  MasterRecord& L = m.L;
  std::printf("model: %d variables, %d rows\n", L.NEXPVAR, L.NROWS);
  for (int32_t heap : {1, 0}) {
    freescalarlists_(L);  // in the mode the lists were made in
    L.HEAP_SWITCH = heap;
    const long rss0 = maxrss_mb();
    const double t0 = now();
    int32_t e = 0;
    scalarizemodel_(m.W, L, e);
    const double t1 = now();
    if (e != 0) {
      std::printf("emission failed: %d\n", e);
      return 1;
    }
    const double mb = ((double)L.SLINSN * 4 + (double)L.SLCONN * 8) / 1048576.0;
    std::printf("emit (%s lists): %.3f s, %d words, %d constants (%.0f MB of lists; peak memory "
                "grew by %ld MB)\n", heap ? "heap" : "work-store", t1 - t0, L.SLINSN, L.SLCONN, mb,
                maxrss_mb() - rss0);
  }
  freescalarlists_(L);  // work-store lists
  {
    // what the machine charges for the first touch of fresh memory of the lists' size:
    // the heap lists pay it, the work store was touched when it was sized
    const size_t bytes = (size_t)12025006 * 4 + (size_t)1005001 * 8;
    const double t0 = now();
    char* p = static_cast<char*>(std::malloc(bytes));
    for (size_t k = 0; k < bytes; k += 4096) p[k] = 1;
    const double t1 = now();
    std::printf("first touch of %zu MB of fresh memory on this machine: %.3f s\n", bytes >> 20, t1 - t0);
    std::free(p);
  }

  createbresk_(L);
  if (clearmodel_(L) != 0) {
    std::printf("no model object\n");
    return 1;
  }
  L.HEAP_SWITCH = 1;
  const long rss0 = maxrss_mb();
  const double t0 = now();
  int32_t e = 0;
  genlprowbyrow_(m.W, L, e);
  const double t1 = now();
  if (e != 0) {
    std::printf("row-by-row load failed: %d (%d)\n", e, L.ERRARG);
    return 1;
  }
  int32_t d[8];
  FBRGETDIMENSIONS_(L.MODELHANDLE, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
  std::printf("row-by-row linear load: %.3f s, %d variables, %d constraints, %d constraint "
              "coefficients (peak memory grew by %ld MB)\n", t1 - t0, d[0], d[1], d[2], maxrss_mb() - rss0);
  FBRDELETEMODEL_(L.MODELHANDLE);
  deletebresk_(L);
  return 0;
}
