// Fuzz target: the solver library's instruction-list loader (validation,
// structure detection), evaluation with gradients, data read-back, the
// row-wise loader and the instruction-list writer.
#include "bresk/bresk.h"
#include "bresk/internal.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Turns the input into instruction words: mostly plausible codes and operands.
std::vector<int> words_of(const uint8_t* p, size_t n) {
  std::vector<int> w;
  for (size_t k = 0; k + 1 < n; k += 2) {
    int a = p[k], b = p[k + 1];
    switch (a & 7) {
      case 0: w.push_back(1062); w.push_back(b % 8); break;      // PUSHNUM
      case 1: w.push_back(1063); w.push_back(b % 5); break;      // PUSHVAR
      case 2: w.push_back(1000 + b % 80); break;                 // any code
      case 3: w.push_back(1054 + 3 * (b % 2) + (b % 3 == 2 ? 4 : 0)); w.push_back(b % 4); break;
      case 4: w.push_back(1070); w.push_back(b % 3); break;      // markers
      default: w.push_back(1001 + (b % 5)); break;               // arithmetic
    }
  }
  return w;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  const int nvars = 1 + data[0] % 4, ncons = data[1] % 4;
  double pool[8];
  for (int k = 0; k < 8; ++k) pool[k] = (static_cast<int>(data[2 + k % 8]) - 100) / 7.0;
  std::vector<int> words = words_of(data + 10, size - 10);
  const int nw = static_cast<int>(words.size());
  // Row boundaries from the data: the objective first, then the constraints.
  std::vector<int> start(ncons + 1), len(ncons + 1);
  int at = 0;
  for (int r = 0; r <= ncons; ++r) {
    int want = r == ncons ? nw - at : (data[r % 10] % 9) + 1;
    start[r] = at;
    len[r] = want < nw - at ? want : nw - at;
    at += len[r];
  }
  const char types[] = "LGE";
  std::vector<char> rowtype(ncons + 1), vartype(nvars, 'C');
  for (int r = 0; r < ncons; ++r) rowtype[r] = types[data[r + 2] % 3];
  if (data[3] & 1) vartype[0] = 'I';
  std::vector<double> lb(nvars, -10), ub(nvars, 10), st(nvars, 0.5);
  int sense = data[4] & 1 ? -1 : 1;
  int err;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* m = BRcreateModel(env, &err);
  BRsetModelIntParameter(m, 219, data[5] & 1);
  BRsetModelIntParameter(m, 205, (data[5] & 2) ? 3 : 0);
  // Iteration limits for the linear and the nonlinear solves: an input is a test of the code's
  // safety, and a hopeless nonlinear model must not run to the solver's own cap of thousands.
  BRsetModelIntParameter(m, 30, 100);
  BRsetModelIntParameter(m, 342, 100);
  int rc = BRloadNLPCode(m, ncons, 1, nvars, 8, &sense, rowtype.data(), vartype.data(), words.data(),
                         nw, nullptr, pool, st.data(), &start[ncons], &len[ncons], start.data(),
                         len.data(), lb.data(), ub.data());
  if (rc == 0) {
    double x[4], g[4], v;
    for (int t = 0; t < 3; ++t) {
      for (int j = 0; j < 4; ++j) x[j] = (data[(6 + t + j) % size] - 128) / 13.0;
      for (int r = -1; r < ncons; ++r) {
        bresk::eval_grad(m, r, x, &v, g);
        bresk::eval_row(m, r, x, &v);
      }
    }
    int nv, nc, nz, d4, d5, d6, ni, d8;
    BRgetDimensions(m, &nv, &nc, &nz, &d4, &d5, &d6, &ni, &d8);
    std::vector<int> cs(nv + 1), cl(nv + 1), ri(nz + d4 + 1), rc2(nc + 1), rs(nc + 2), rv(d4 + 1);
    std::vector<char> fl(nc + 1);
    std::vector<double> val(nz + 1), cost(nv), rhs(nc + 1);
    std::vector<char> ct(nc + 1);
    BRgetLPData(m, nullptr, nullptr, cost.data(), rhs.data(), ct.data(), cs.data(), cl.data(),
                val.data(), ri.data(), nullptr, nullptr);
    BRgetNLPData(m, cs.data(), cl.data(), ri.data(), rc2.data(), fl.data(), rs.data(), rv.data());
    int nq = 0;
    BRgetQCData(m, &nq, nullptr, nullptr, nullptr, nullptr);
    std::vector<int> qa(nq + 1), qb(nq + 1), qc(nq + 1);
    std::vector<double> qv(nq + 1);
    BRgetQCData(m, &nq, qa.data(), qb.data(), qc.data(), qv.data());
    BRwriteMPIFile(m, "fuzz_out.mpi");
    BRwriteMPSFile(m, "fuzz_out.mps", 0);
    if (ni == 0 && d4 == 0 && d5 == 0 && d6 == 0) BRoptimize(m, 0);
  }
  // The same rows through the row-wise loader.
  if (BRloadLPInstRowWise(m, ncons, 1, nvars, vartype.data(), nullptr, nullptr, lb.data(), ub.data()) == 0) {
    int res;
    BRaddLRWNumbers(m, 8, pool, nullptr);
    BRaddLRWobjective(m, sense, len[ncons], words.data() + start[ncons], &res);
    for (int r = 0; r < ncons; ++r)
      BRaddLRWconstraint(m, rowtype[r], len[r], words.data() + start[r], &res);
    BRbuildLRWModel(m);
  }
  BRdeleteEnv(&env);
  return 0;
}
