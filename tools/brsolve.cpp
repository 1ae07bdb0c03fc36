// brsolve: reads a model with the BRESK library (an MPS file, or an
// instruction-list text file as BRwriteMPIFile writes it), solves it and
// prints the status, objective, values, duals and ranges.
//   brsolve FILE [-free] [-method N] [-global] [-useqp] [-print] [-ranges] [-noreduce] [-quiet]
//   brsolve -version    (the library's version and the versions of its components)
#include "bresk/bresk.h"
#include "bresk/ops.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

int usage() {
  std::fprintf(stderr, "usage: brsolve FILE [-free] [-method N] [-global] [-useqp] [-print] [-ranges]"
                       " [-noreduce] [-quiet]\n       brsolve -version\n");
  return 2;
}

// Loads an instruction-list text file (header "BRESK-MPI 1" or
// "BRESK-NATIVE 1"); returns the library's code, or 2003 for a bad file.
int load_code_file(BRmodel* m, const char* file) {
  std::ifstream in(file);
  if (!in) return 2002;
  std::map<std::string, int> code;
  for (int c = 1000; c <= 1077; ++c)
    if (const bresk::OpInfo* o = bresk::op_info(c)) code.emplace(o->name, c);
  std::string line, word, title;
  std::getline(in, line);
  if (line.rfind("BRESK-", 0) != 0) return 2003;
  std::getline(in, line);
  if (line.rfind("TITLE", 0) == 0) title = line.size() > 6 ? line.substr(6) : "";
  int n = -1;
  in >> word >> n;
  if (word != "VARIABLES" || n < 0) return 2003;
  std::map<std::string, int> var;
  std::string types;
  std::vector<std::string> names(n);
  std::vector<double> lb(n), ub(n), st(n);
  for (int j = 0; j < n; ++j) {
    char t;
    if (!(in >> names[j] >> t >> lb[j] >> ub[j] >> st[j])) return 2003;
    var[names[j]] = j;
    types.push_back(t);
  }
  int k = -1;
  in >> word >> k;
  if (word != "CONSTANTS" || k < 0) return 2003;
  std::vector<double> pool(k);
  for (double& v : pool)
    if (!(in >> v)) return 2003;
  std::getline(in, line);
  std::vector<int> words, starts, lens;
  std::vector<std::string> rownames;
  std::string rowtypes, objname;
  int sense = 1;
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string op, arg;
    if (!(ls >> op)) continue;
    ls >> arg;
    if (op == "OBJECTIVE" || op == "CONSTRAINT" || op == "END") {
      if (!starts.empty()) lens.push_back(static_cast<int>(words.size()) - starts.back());
      if (op == "END") break;
      starts.push_back(static_cast<int>(words.size()));
      if (op == "OBJECTIVE") {
        sense = arg == "MAX" ? -1 : 1;
        ls >> objname;
      } else {
        std::string t;
        ls >> t;
        rownames.push_back(arg);
        rowtypes += t.empty() ? '?' : t[0];
      }
    } else if (op == "PUSHVAR") {
      auto it = var.find(arg);
      if (it == var.end()) return 2003;
      words.insert(words.end(), {1063, it->second});
    } else if (op == "PUSHNUM") {
      words.insert(words.end(), {1062, static_cast<int>(pool.size())});
      pool.push_back(std::strtod(arg.c_str(), nullptr));
    } else if (code.count(op)) {
      words.push_back(code[op]);
      if (!arg.empty()) words.push_back(std::atoi(arg.c_str()));
    } else {
      return 2003;
    }
  }
  if (starts.empty() || lens.size() != starts.size()) return 2003;
  const int nc = static_cast<int>(rowtypes.size());
  int os = starts[0], ol = lens[0];
  int rc = BRloadNLPCode(m, nc, 1, n, static_cast<int>(pool.size()), &sense, rowtypes.data(),
                         types.data(), words.data(), static_cast<int>(words.size()), nullptr,
                         pool.data(), st.data(), &os, &ol, starts.data() + 1, lens.data() + 1,
                         lb.data(), ub.data());
  if (rc) return rc;
  std::vector<const char*> vp(n), rp(nc);
  for (int j = 0; j < n; ++j) vp[j] = names[j].c_str();
  for (int i = 0; i < nc; ++i) rp[i] = rownames[i].c_str();
  return BRloadNameData(m, title.c_str(), objname.c_str(), nullptr, nullptr, nullptr, rp.data(),
                        vp.data());
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
  bool print = false, ranges = false, reduce = true, quiet = false, global = false, useqp = false;
  if (argc == 2 && std::strcmp(argv[1], "-version") == 0) {
    char ver[200], build[200], parts[256];
    BRgetVersionInfo(ver, build);
    BRgetComponentVersions(parts);
    std::printf("BRESK API %s (%s)\n%s\n", ver, build, parts);
    return 0;
  }
  for (int k = 1; k < argc; ++k) {
    std::string a = argv[k];
    if (a == "-free") format = 0;
    else if (a == "-method" && k + 1 < argc) method = std::atoi(argv[++k]);
    else if (a == "-print") print = true;
    else if (a == "-ranges") ranges = true;
    else if (a == "-noreduce") reduce = false;
    else if (a == "-quiet") quiet = true;
    else if (a == "-global") global = true;
    else if (a == "-useqp") useqp = true;
    else if (a[0] == '-' || file) return usage();
    else file = argv[k];
  }
  if (!file) return usage();
  int err = 0;
  BRenv* env = BRcreateEnvProdCode(0, &err);
  BRmodel* m = env ? BRcreateModel(env, &err) : nullptr;
  if (!m) return failed(env, "BRcreateModel", err);
  if (!reduce) BRsetModelIntParameter(m, 28, 0);
  if (useqp) BRsetModelIntParameter(m, 219, 1);
  std::string head;
  std::getline(std::ifstream(file), head);
  const bool code_file = head.rfind("BRESK-", 0) == 0;
  int rc = code_file ? load_code_file(m, file) : BRreadMPSFile(m, file, format);
  if (rc && code_file) {
    failed(env, "loading the instruction list", rc);
    BRdeleteEnv(&env);
    return 1;
  }
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
  rc = global ? BRsolveGOP(m) : (ni > 0 ? BRsolveMIP(m) : BRoptimize(m, method));
  int status = 0, iters = 0;
  double obj = 0;
  BRgetInfo(m, 1255, &status);
  BRgetInfo(m, 1251, &obj);
  for (int item : {1259, 1260, 1261}) {
    int k = 0;
    BRgetInfo(m, item, &k);
    iters += k;
  }
  if (rc) failed(env, global ? "BRsolveGOP" : (ni > 0 ? "BRsolveMIP" : "BRoptimize"), rc);
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
