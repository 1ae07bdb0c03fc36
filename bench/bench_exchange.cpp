// Data-exchange benchmark. (1) The ten largest Netlib problems: the MPS import into model
// text followed by a solve of the model the library read, side by side with the `clp`
// command on the same file; the ratio per problem and its geometric mean. (2) SMPS of the
// 1,000 x 1,000 transportation model (2,000,000 coefficients): the time to write it.
// Arguments: none. Needs `clp` on the path for part (1). bench_exchange.sh times RMPS + GO in
// the program itself, start-up, generation and analysis included.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "reports/exchange.h"
#include "solver/bindings.h"
#include "store/io.h"
#include "store/store.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// A session with a 256-megabyte work array, a solver environment and a silent terminal.
struct Session {
  std::unique_ptr<MasterRecord> rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  FILE* sink = std::fopen("/dev/null", "w");
  Session() {
    init_(L);
    int64_t words = 256LL * 262144;
    W.w.assign((size_t)words + 1, 0);
    L.TOTWRD = (int32_t)words;
    intmem_(W, L);
    L.MAXLIN = 200;
    L.LINLEN = 76;
    trmstreams_(nullptr, sink, sink);
    createbresk_(L);
  }
  ~Session() {
    if (L.MODELHANDLE) FBRDELETEMODEL_(L.MODELHANDLE);
    deletebresk_(L);
    trmstreams_(nullptr, nullptr, nullptr);
    std::fclose(sink);
  }
};

void netlib() {
  std::vector<fs::path> files;
  for (auto& e : fs::directory_iterator(QUIRN_NETLIB_DIR))
    if (e.path().extension() == ".mps") files.push_back(e.path());
  std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
    return fs::file_size(a) > fs::file_size(b);
  });
  if (files.size() > 10) files.resize(10);
  std::printf("%-10s %10s %10s %8s\n", "problem", "ours (s)", "clp (s)", "ratio");
  double logsum = 0;
  int n = 0;
  for (auto& f : files) {
    double ours = 0;
    {
      Session s;  // the program's start-up is not part of the import
      auto t0 = Clock::now();
      int32_t st = 0;
      loadmps_(s.W, s.L, f.c_str(), 1, st);
      if (st == 0) BRoptimize(modelptr_(s.L.MODELHANDLE), 0);
      ours = since(t0);
    }
    auto t1 = Clock::now();
    std::string cmd = "clp " + f.string() + " -solve > /dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) {
      std::printf("%-10s clp failed\n", f.stem().c_str());
      continue;
    }
    double clp = since(t1);
    std::printf("%-10s %10.4f %10.4f %8.2f\n", f.stem().c_str(), ours, clp, ours / clp);
    logsum += std::log(ours / clp);
    ++n;
  }
  if (n > 0) std::printf("geometric mean of the ratios: %.2f\n", std::exp(logsum / n));
}

void transport() {
  const int n = 1000;
  fs::path dir = fs::temp_directory_path() / "quirn_bench_exchange";
  fs::create_directories(dir);
  fs::path in = dir / "transport.mps", out = dir / "transport_out.mps";
  {
    std::ofstream o(in);
    o << "NAME TRANSPORT\nROWS\n N COST\n";
    for (int i = 0; i < n; ++i) o << " L S" << i << "\n";
    for (int j = 0; j < n; ++j) o << " G D" << j << "\n";
    o << "COLUMNS\n";
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
        o << " X" << i << "_" << j << " COST " << (i * 7 + j * 13) % 100 + 1 << " S" << i << " 1\n X" << i
          << "_" << j << " D" << j << " 1\n";
    o << "RHS\n";
    for (int i = 0; i < n; ++i) o << " RHS S" << i << " 1000\n";
    for (int j = 0; j < n; ++j) o << " RHS D" << j << " 999\n";
    o << "ENDATA\n";
  }
  Session s;
  int32_t st = 0;
  auto t0 = Clock::now();
  loadmps_(s.W, s.L, in.c_str(), 0, st);
  std::printf("transportation %d x %d: FRMPS %.2f s (status %d)\n", n, n, since(t0), st);
  auto t1 = Clock::now();
  int32_t r = dosmp_(s.W, s.L, out.c_str(), 1);
  std::printf("transportation %d x %d: SMPS of %d coefficients %.2f s (result %d)\n", n, n, 2 * n * n,
              since(t1), r);
  fs::remove_all(dir);
}

}  // namespace

int main() {
  netlib();
  transport();
  return 0;
}
