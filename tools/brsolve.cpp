// brsolve: reads an MPS file with the BRESK library, solves it and prints the
// status, objective, values, duals and ranges.
//   brsolve FILE [-free] [-method N] [-print] [-ranges] [-noreduce] [-quiet]
#include "bresk/bresk.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int usage() {
  std::fprintf(stderr, "usage: brsolve FILE [-free] [-method N] [-print] [-ranges] [-noreduce] [-quiet]\n");
  return 2;
}

// Prints the library's text for a failing call and returns 1.
int failed(BRenv* env, const char* call, int code) {
  char text[256];
  BRgetErrorMessage(env, code, text);
  std::printf("%s failed: %d %s\n", call, code, text);
  return 1;
}

} // namespace

int main(int argc, char** argv) {
  const char* file = nullptr;
  int format = 1, method = 0;
  bool print = false, ranges = false, reduce = true, quiet = false;
  for (int k = 1; k < argc; ++k) {
    std::string a = argv[k];
    if (a == "-free") format = 0;
    else if (a == "-method" && k + 1 < argc) method = std::atoi(argv[++k]);
    else if (a == "-print") print = true;
    else if (a == "-ranges") ranges = true;
    else if (a == "-noreduce") reduce = false;
    else if (a == "-quiet") quiet = true;
    else if (a[0] == '-' || file) return usage();
    else file = argv[k];
  }
  if (!file) return usage();
  int err = 0;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* m = env ? BRcreateModel(env, &err) : nullptr;
  if (!m) return failed(env, "BRcreateModel", err);
  if (!reduce) BRsetModelIntParameter(m, 28, 0);
  int rc = BRreadMPSFile(m, file, format);
  if (rc) {
    int line = 0;
    char text[256] = "";
    BRgetFileError(m, &line, text);
    failed(env, "BRreadMPSFile", rc);
    if (line) std::printf("line %d: %s\n", line, text);
    BRdeleteEnv(&env);
    return 1;
  }
  int nv, nc, nz, d4, d5, d6, ni, d8;
  BRgetDimensions(m, &nv, &nc, &nz, &d4, &d5, &d6, &ni, &d8);
  rc = ni > 0 ? BRsolveMIP(m) : BRoptimize(m, method);
  int status = 0, iters = 0;
  double obj = 0;
  BRgetInfo(m, 1255, &status);
  BRgetInfo(m, 1251, &obj);
  BRgetInfo(m, 1259, &iters);
  if (rc) failed(env, ni > 0 ? "BRsolveMIP" : "BRoptimize", rc);
  std::printf("status %d objective %.12g iterations %d\n", status, obj, iters);
  if (quiet) {
    BRdeleteEnv(&env);
    return rc ? 1 : 0;
  }
  std::vector<char*> rp(nc), vp(nv);
  std::vector<char> rb(static_cast<size_t>(nc) * 256 + 1), vb(static_cast<size_t>(nv) * 256 + 1);
  BRgetNameData(m, nullptr, nullptr, nullptr, nullptr, nullptr, rp.data(), rb.data(), vp.data(), vb.data());
  if (print) {
    std::vector<double> x(nv), d(nv), s(nc), y(nc);
    bool have = ni > 0 ? BRgetMIPSolution(m, x.data()) == 0 : BRgetPrimalSolution(m, x.data()) == 0;
    bool duals = ni == 0 && BRgetDualSolution(m, y.data()) == 0 && BRgetReducedCosts(m, d.data()) == 0;
    if (ni == 0) BRgetSlacks(m, s.data());
    if (have) {
      std::printf("variable value reduced-cost\n");
      for (int j = 0; j < nv; ++j) std::printf("%s %.10g %.10g\n", vp[j], x[j], duals ? d[j] : 0.0);
      std::printf("row slack dual\n");
      for (int i = 0; i < nc; ++i) std::printf("%s %.10g %.10g\n", rp[i], s[i], duals ? y[i] : 0.0);
    }
  }
  if (ranges) {
    std::vector<double> dec(nv), inc(nv), rdec(nc), rinc(nc);
    int a = BRgetObjectiveRanges(m, dec.data(), inc.data());
    int b = BRgetConstraintRanges(m, rdec.data(), rinc.data());
    if (a || b) {
      failed(env, "ranging", a ? a : b);
    } else {
      std::printf("variable cost-increase cost-decrease\n");
      for (int j = 0; j < nv; ++j) std::printf("%s %.10g %.10g\n", vp[j], inc[j], dec[j]);
      std::printf("row rhs-increase rhs-decrease\n");
      for (int i = 0; i < nc; ++i) std::printf("%s %.10g %.10g\n", rp[i], rinc[i], rdec[i]);
    }
  }
  BRdeleteEnv(&env);
  return rc ? 1 : 0;
}
