// Integer models through the library (read the MPS file, BRsolveMIP) side by side with the `cbc`
// command on the same file; prints both times and their ratio per model.
//   bench_mip [directory for the generated files]   (default /tmp)
#include "bresk/bresk.h"

#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A small generated integer model: rows of (column, value) pairs, costs, bounds, kinds.
struct Mip {
  std::string name;
  int sense = 1;                                       // -1 maximise (written negated)
  int ncols = 0;
  std::vector<double> cost, lb, ub;
  std::vector<char> integer;
  std::vector<char> rowtype;                           // 'L', 'G', 'E'
  std::vector<double> rhs;
  std::vector<std::vector<std::pair<int, double>>> rows;
};

unsigned seed = 20261210;
int rnd(int lo, int hi) {
  seed = seed * 1103515245u + 12345u;
  return lo + static_cast<int>((seed >> 16) % static_cast<unsigned>(hi - lo + 1));
}

int addCol(Mip& p, double cost, double lb, double ub, bool integer) {
  p.cost.push_back(cost);
  p.lb.push_back(lb);
  p.ub.push_back(ub);
  p.integer.push_back(integer);
  return p.ncols++;
}

Mip knapsack(int n, int m) {
  Mip p;
  p.name = "multi-knapsack " + std::to_string(n) + "x" + std::to_string(m);
  p.sense = -1;
  for (int j = 0; j < n; j++) addCol(p, rnd(10, 100), 0, 1, true);
  for (int i = 0; i < m; i++) {
    std::vector<std::pair<int, double>> r;
    double sum = 0;
    for (int j = 0; j < n; j++) { int w = rnd(5, 60); r.push_back({j, double(w)}); sum += w; }
    p.rows.push_back(r);
    p.rowtype.push_back('L');
    p.rhs.push_back(std::floor(sum / 2));
  }
  return p;
}

Mip facility(int f, int c) {
  Mip p;
  p.name = "facility location " + std::to_string(f) + "x" + std::to_string(c);
  std::vector<int> y(f);
  std::vector<std::vector<int>> x(f, std::vector<int>(c));
  std::vector<int> demand(c);
  for (int j = 0; j < c; j++) demand[j] = rnd(5, 35);
  for (int i = 0; i < f; i++) y[i] = addCol(p, rnd(300, 700), 0, 1, true);
  for (int i = 0; i < f; i++)
    for (int j = 0; j < c; j++) x[i][j] = addCol(p, rnd(1, 40) * demand[j] / 10.0, 0, 1, false);
  for (int j = 0; j < c; j++) {
    std::vector<std::pair<int, double>> r;
    for (int i = 0; i < f; i++) r.push_back({x[i][j], 1.0});
    p.rows.push_back(r); p.rowtype.push_back('E'); p.rhs.push_back(1);
  }
  for (int i = 0; i < f; i++) {   // capacity, opened only when y_i = 1
    std::vector<std::pair<int, double>> r;
    for (int j = 0; j < c; j++) r.push_back({x[i][j], double(demand[j])});
    r.push_back({y[i], -double(rnd(120, 220))});
    p.rows.push_back(r); p.rowtype.push_back('L'); p.rhs.push_back(0);
  }
  return p;
}

Mip assignment(int agents, int jobs) {
  Mip p;
  p.name = "generalised assignment " + std::to_string(agents) + "x" + std::to_string(jobs);
  std::vector<std::vector<int>> x(agents, std::vector<int>(jobs));
  std::vector<std::vector<int>> w(agents, std::vector<int>(jobs));
  for (int a = 0; a < agents; a++)
    for (int j = 0; j < jobs; j++) { x[a][j] = addCol(p, rnd(10, 50), 0, 1, true); w[a][j] = rnd(5, 25); }
  for (int j = 0; j < jobs; j++) {
    std::vector<std::pair<int, double>> r;
    for (int a = 0; a < agents; a++) r.push_back({x[a][j], 1.0});
    p.rows.push_back(r); p.rowtype.push_back('E'); p.rhs.push_back(1);
  }
  for (int a = 0; a < agents; a++) {
    std::vector<std::pair<int, double>> r;
    double sum = 0;
    for (int j = 0; j < jobs; j++) { r.push_back({x[a][j], double(w[a][j])}); sum += w[a][j]; }
    p.rows.push_back(r); p.rowtype.push_back('L'); p.rhs.push_back(std::floor(0.8 * sum / agents));
  }
  return p;
}

Mip covering(int n, int m) {
  Mip p;
  p.name = "set covering " + std::to_string(n) + "x" + std::to_string(m);
  for (int j = 0; j < n; j++) addCol(p, rnd(1, 20), 0, 1, true);
  for (int i = 0; i < m; i++) {
    std::vector<std::pair<int, double>> r;
    for (int j = 0; j < n; j++)
      if (rnd(0, 99) < 6) r.push_back({j, 1.0});
    if (r.empty()) r.push_back({rnd(0, n - 1), 1.0});
    p.rows.push_back(r); p.rowtype.push_back('G'); p.rhs.push_back(1);
  }
  return p;
}

// Writes the model as a fixed-format MPS file (a maximisation is written as the minimisation of
// the negated costs, which every reader understands).
void writeMps(const Mip& p, const std::string& file) {
  std::FILE* o = std::fopen(file.c_str(), "w");
  if (!o) return;
  auto line = [&](const char* f1, const std::string& f2, const std::string& f3, double v) {
    std::fprintf(o, " %-2s %-8s  %-8s  %12.6g\n", f1, f2.c_str(), f3.c_str(), v);
  };
  std::fprintf(o, "NAME          BENCH\nROWS\n N  OBJ\n");
  for (size_t i = 0; i < p.rows.size(); i++) std::fprintf(o, " %c  R%zu\n", p.rowtype[i], i);
  std::vector<std::vector<std::pair<int, double>>> cols(p.ncols);
  for (size_t i = 0; i < p.rows.size(); i++)
    for (auto& e : p.rows[i]) cols[e.first].push_back({static_cast<int>(i), e.second});
  std::fprintf(o, "COLUMNS\n");
  bool inInt = false;
  int marker = 0;
  for (int j = 0; j < p.ncols; j++) {
    if (p.integer[j] != inInt) {
      std::fprintf(o, "    M%-7d  'MARKER'                 %s\n", marker++, p.integer[j] ? "'INTORG'" : "'INTEND'");
      inInt = p.integer[j];
    }
    std::string c = "C" + std::to_string(j);
    line("", c, "OBJ", p.sense < 0 ? -p.cost[j] : p.cost[j]);
    for (auto& e : cols[j]) line("", c, "R" + std::to_string(e.first), e.second);
  }
  if (inInt) std::fprintf(o, "    M%-7d  'MARKER'                 'INTEND'\n", marker++);
  std::fprintf(o, "RHS\n");
  for (size_t i = 0; i < p.rows.size(); i++)
    if (p.rhs[i] != 0) line("", "RHS", "R" + std::to_string(i), p.rhs[i]);
  std::fprintf(o, "BOUNDS\n");
  for (int j = 0; j < p.ncols; j++) line("UP", "BND", "C" + std::to_string(j), p.ub[j]);
  std::fprintf(o, "ENDATA\n");
  std::fclose(o);
}

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Processor seconds of this process (self) or of its finished children.
double cpu(bool children) {
  rusage u;
  getrusage(children ? RUSAGE_CHILDREN : RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + 1e-6 * (u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

struct Timing {
  double wall = 1e30, cpu = 1e30;
  void keep(double w, double c) { wall = std::min(wall, w); cpu = std::min(cpu, c); }
};

// Solves the file through the library; records the times, sets the status and objective.
void viaLibrary(const std::string& file, Timing& t, int& status, double& z, int& nodes) {
  int err = 0;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* m = BRcreateModel(env, &err);
  // The command's own settings: cuts and probing where the solver chooses, five strong
  // branching candidates.
  BRsetModelIntParameter(m, 317, 8);
  BRsetModelIntParameter(m, 318, 10);
  BRsetModelIntParameter(m, 303, 510);
  BRsetModelIntParameter(m, 324, 5);
  double w0 = now(), c0 = cpu(false);
  int rc = BRreadMPSFile(m, file.c_str(), 1);
  if (rc == 0) rc = BRsolveMIP(m);
  t.keep(now() - w0, cpu(false) - c0);
  status = 0;
  z = 0;
  BRgetInfo(m, 1300, &status);
  BRgetInfo(m, 1251, &z);
  BRgetCurrentMIPSolutionInfo(m, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nodes,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr);
  if (rc) status = -rc;
  BRdeleteEnv(&env);
}

// Solves the file with the cbc command; records the times, sets the objective it printed.
void viaCommand(const std::string& file, const std::string& out, Timing& t, double& z, int& nodes) {
  std::string cmd = "cbc " + file + " -solve -quit > " + out + " 2>&1";
  double w0 = now(), c0 = cpu(true);
  int rc = std::system(cmd.c_str());
  t.keep(now() - w0, cpu(true) - c0);
  z = std::nan("");
  std::ifstream in(out);
  std::string line;
  while (std::getline(in, line)) {
    auto k = line.find("Objective value:");
    if (k != std::string::npos) z = std::strtod(line.c_str() + k + 16, nullptr);
    k = line.find("Enumerated nodes:");
    if (k != std::string::npos) nodes = std::atoi(line.c_str() + k + 17);
  }
  if (rc != 0) z = std::nan("");
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : "/tmp";
  std::vector<Mip> models = {knapsack(90, 8), facility(14, 50), assignment(8, 36), covering(400, 200)};
  std::printf("Best of five runs each; the ratio compares processor time (the machine is shared).\n");
  std::printf("%-30s %9s %9s %9s %9s %7s %12s %12s %6s %6s\n", "model", "lib cpu", "cbc cpu",
              "lib wall", "cbc wall", "ratio", "library obj", "cbc obj", "nodes", "nodes");
  int worse = 0;
  for (auto& p : models) {
    std::string file = dir + "/bench_mip_" + std::to_string(&p - models.data()) + ".mps";
    writeMps(p, file);
    Timing tl, tc;
    double zl = 0, zc = 0;
    int st = 0, nl = 0, nc = 0;
    for (int rep = 0; rep < 5; rep++) {
      viaLibrary(file, tl, st, zl, nl);
      viaCommand(file, file + ".out", tc, zc, nc);
    }
    double ratio = tl.cpu / std::max(1e-9, tc.cpu);
    if (ratio > 1.2) worse++;
    std::printf("%-30s %9.3f %9.3f %9.3f %9.3f %7.2f %12.4f %12.4f %6d %6d%s\n", p.name.c_str(), tl.cpu,
                tc.cpu, tl.wall, tc.wall, ratio, zl, zc, nl, nc,
                st == 1 && std::fabs(zl - zc) <= 1e-6 * (1 + std::fabs(zc)) ? "" : "  (results differ)");
  }
  std::printf("models above 1.2 times the command: %d\n", worse);
  return 0;
}
