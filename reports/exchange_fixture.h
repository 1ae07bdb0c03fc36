// A session for the data-exchange tests: a master record, a work array, a solver
// environment and the terminal in a file; and the library's own optimum of an MPS file.
#pragma once
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "language/reader.h"
#include "reports/exchange.h"
#include "solver/bindings.h"
#include "store/io.h"
#include "store/store.h"

// A session with a solver environment and the terminal in a file.
struct Import {
  std::unique_ptr<MasterRecord> Lp = std::make_unique<MasterRecord>();
  MasterRecord& L = *Lp;
  Work W;
  FILE* term = std::tmpfile();
  Import() {
    init_(L);
    W.w.assign((size_t)(1 << 22) + 1, 0);
    L.TOTWRD = 1 << 22;
    intmem_(W, L);
    L.MAXLIN = 200;
    L.LINLEN = 76;
    trmstreams_(nullptr, term, term);
    createbresk_(L);
  }
  ~Import() {
    if (L.MODELHANDLE) FBRDELETEMODEL_(L.MODELHANDLE);
    deletebresk_(L);
    trmstreams_(nullptr, nullptr, nullptr);
    std::fclose(term);
  }
  int32_t load(const std::filesystem::path& file, int32_t format) {
    int32_t st = -1;
    loadmps_(W, L, file.c_str(), format, st);
    return st;
  }
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    for (int32_t k = 1; k <= L.MODLINES; ++k) {
      std::string s;
      for (int32_t p = lixget(W, L, k); p < lixget(W, L, k + 1); ++p) s += txtget(W, L, p);
      out.push_back(s);
    }
    return out;
  }
  std::string terminal() {
    std::fflush(term);
    std::rewind(term);
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, term)) > 0) out.append(buf, n);
    return out;
  }
};

// The optimum the library finds for an MPS file; status out.
inline double optimum(const std::filesystem::path& file, int format, int& status) {
  int err = 0;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* md = BRcreateModel(env, &err);
  double obj = NAN;
  status = -1;
  if (BRreadMPSFile(md, file.c_str(), format) == 0) {
    int nint = 0, d = 0;
    BRgetDimensions(md, &d, &d, &d, &d, &d, &d, &nint, &d);
    int r = nint > 0 ? BRsolveMIP(md) : BRoptimize(md, 0);
    if (r == 0) {
      BRgetSolutionStatus(md, &status);
      BRgetObjective(md, &obj);
    }
  }
  BRdeleteModel(&md);
  BRdeleteEnv(&env);
  return obj;
}

