// Benchmarks of the solver library.
//   1. Reading and solving each netlib problem: the brsolve tool against the
//      `clp FILE -solve` command, both as whole processes (median CPU time of
//      several runs, which a busy machine disturbs less than wall time), the
//      same less each program's own start-up (brsolve's maps no solver
//      package: the library loads Clp's module, with Clp, at the first solve,
//      so that load counts with the solve here), and our in-process read+solve
//      time.
//   2. Loading an instruction list of 1,000,000 linear terms and detecting its
//      structure.
// Usage: bench_bresk [NETLIB_DIR] [RUNS]
#include "bresk/bresk.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// CPU seconds (user + system) used by finished child processes so far.
double child_cpu() {
  rusage u;
  getrusage(RUSAGE_CHILDREN, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + 1e-6 * (u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

// CPU time of one command run directly (no shell), output discarded.
double run_command(const std::string& cmd) {
  double before = child_cpu();
  int rc = std::system(("exec " + cmd + " >/dev/null 2>&1").c_str());
  (void)rc;
  return child_cpu() - before;
}

// In-process read and solve; returns CPU seconds, objective through z.
double read_and_solve(const std::string& file, double* z) {
  std::clock_t t = std::clock();
  int err;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* m = BRcreateModel(env, &err);
  BRreadMPSFile(m, file.c_str(), 1);
  BRoptimize(m, 0);
  BRgetInfo(m, 1251, z);
  BRdeleteEnv(&env);
  return static_cast<double>(std::clock() - t) / CLOCKS_PER_SEC;
}

std::string tool_path() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  std::string self = n > 0 ? std::string(buf, n) : std::string("./bench_bresk");
  std::string dir = self.substr(0, self.rfind('/'));
  return dir + "/../tools/brsolve";
}

void bench_netlib(const std::string& dir, int runs) {
  const std::string brsolve = tool_path();
  // The larger problems of the set, by file size.
  const char* names[] = {"degen2", "agg", "standata", "bandm", "e226", "israel", "capri",
                         "scorpion", "brandy"};
  // Each program's own start-up (loading its shared libraries, no file read).
  std::vector<double> s1, s2;
  for (int r = 0; r < runs; ++r) {
    s1.push_back(run_command(brsolve + " /nonexistent.mps"));
    s2.push_back(run_command("clp /nonexistent.mps"));
  }
  const double start_ours = median(s1), start_clp = median(s2);
  std::printf("start-up: brsolve %.4f s, clp %.4f s (CPU)\n", start_ours, start_clp);
  std::printf("%-10s %10s %10s %7s %10s %10s %7s %11s\n", "problem", "brsolve", "clp", "ratio",
              "brsolve-su", "clp-su", "ratio", "in-process");
  double worst = 0, worst_net = 0;
  for (const char* name : names) {
    std::string file = dir + "/" + name + ".mps";
    if (!std::ifstream(file)) {
      std::fprintf(stderr, "bench_bresk: %s not found\n", file.c_str());
      std::exit(1);
    }
    std::vector<double> ours, theirs, inproc;
    double z = 0;
    for (int r = 0; r < runs; ++r) {
      ours.push_back(run_command(brsolve + " " + file + " -quiet"));
      theirs.push_back(run_command("clp " + file + " -solve"));
      inproc.push_back(read_and_solve(file, &z));
    }
    double a = median(ours), b = median(theirs);
    double na = std::max(1e-6, a - start_ours), nb = std::max(1e-6, b - start_clp);
    worst = std::max(worst, a / b);
    worst_net = std::max(worst_net, na / nb);
    std::printf("%-10s %10.4f %10.4f %7.2f %10.4f %10.4f %7.2f %11.4f\n", name, a, b, a / b, na, nb,
                na / nb, median(inproc));
  }
  std::printf("worst ratio: whole processes %.2f, less each program's start-up %.2f\n", worst,
              worst_net);
}

void bench_load() {
  // 1000 rows of 1000 terms a*x: "PUSHNUM k PUSHVAR j MULTIPLY PLUS".
  const int rows = 1000, terms = 1000, nvars = 5000;
  std::vector<int> code;
  std::vector<double> pool;
  std::vector<int> start, len;
  code.reserve(static_cast<size_t>(rows + 1) * terms * 6);
  unsigned seed = 1;
  auto rnd = [&] { seed = seed * 1103515245u + 12345u; return seed >> 8; };
  for (int r = 0; r <= rows; ++r) {
    start.push_back(static_cast<int>(code.size()));
    for (int t = 0; t < terms; ++t) {
      code.insert(code.end(), {1062, static_cast<int>(pool.size()), 1063, static_cast<int>(rnd() % nvars), 1003});
      pool.push_back(1 + rnd() % 100);
      if (t) code.push_back(1001);
    }
    len.push_back(static_cast<int>(code.size()) - start.back());
  }
  std::vector<char> rowtype(rows, 'L'), vartype(nvars, 'C');
  std::vector<double> lb(nvars, 0), ub(nvars, 1e307), st(nvars, 0);
  int sense = 1;
  int err;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* m = BRcreateModel(env, &err);
  auto t = Clock::now();
  std::clock_t c = std::clock();
  int rc = BRloadNLPCode(m, rows, 1, nvars, static_cast<int>(pool.size()), &sense, rowtype.data(),
                         vartype.data(), code.data(), static_cast<int>(code.size()), nullptr,
                         pool.data(), st.data(), &start[rows], &len[rows], start.data(), len.data(),
                         lb.data(), ub.data());
  double secs = seconds_since(t);
  double cpu = static_cast<double>(std::clock() - c) / CLOCKS_PER_SEC;
  int nv, nc, nz, d4, d5, d6, ni, d8;
  BRgetDimensions(m, &nv, &nc, &nz, &d4, &d5, &d6, &ni, &d8);
  std::printf("instruction list: %d rows x %d terms (%zu words): result %d, %.3f s CPU (%.3f s wall),"
              " %d linear entries, linear: %s\n",
              rows + 1, terms, code.size(), rc, cpu, secs, nz, d4 + d5 + d6 == 0 ? "yes" : "no");
  BRdeleteEnv(&env);
}

} // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : QUIRN_NETLIB_DIR;
  int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  bench_netlib(dir, std::max(1, runs));
  bench_load();
  return 0;
}
