// A session for the data-exchange tests: a master record, a work array, a solver
// environment and the terminal in a file; and the library's own optimum of an MPS file.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
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
#include "tests/unit/modeltext_fixture.h"

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
  std::vector<std::string> lines() const { return storedlines(W, L); }
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


// The model that a text of the import states, read by the tests' own reader.
struct TextModel {
  bool minimise = true, hasobj = false;
  double objconst = 0.0;
  std::vector<std::string> vars;
  std::map<std::string, int> vix;
  std::map<int, double> cost;
  struct Row {
    std::map<int, double> a;
    std::string rel;
    double rhs = 0.0;
  };
  std::vector<Row> rows;
  std::map<int, std::pair<double, double>> bounds;
  std::map<int, char> types;
  std::string error;

  int var(const std::string& n) {
    auto it = vix.find(n);
    if (it != vix.end()) return it->second;
    vars.push_back(n);
    return vix[n] = (int)vars.size() - 1;
  }
};

inline std::vector<std::string> tokens(const std::string& s) {
  std::vector<std::string> t;
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (c == ' ') {
      ++i;
    } else if ((c == '<' || c == '>') && i + 1 < s.size() && s[i + 1] == '=') {
      t.push_back(s.substr(i, 2));
      i += 2;
    } else if (std::strchr("[];,()*+-=", c)) {
      t.push_back(std::string(1, c));
      ++i;
    } else if ((c >= '0' && c <= '9') || c == '.') {
      size_t j = i;
      while (j < s.size() && ((s[j] >= '0' && s[j] <= '9') || s[j] == '.')) ++j;
      if (j < s.size() && s[j] == 'E') j += 2;  // exponent sign
      while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
      t.push_back(s.substr(i, j - i));
      i = j;
    } else {
      size_t j = i;
      while (j < s.size() && !std::strchr(" [];,()*+-=<>", s[j])) ++j;
      t.push_back(s.substr(i, j - i));
      i = j;
    }
  }
  return t;
}

inline bool isnum(const std::string& t) { return !t.empty() && ((t[0] >= '0' && t[0] <= '9') || t[0] == '.'); }

// Reads the text; error names the first statement it could not read.
inline TextModel readtext(const std::vector<std::string>& lines) {
  std::string all;
  for (auto& s : lines) all += s;
  TextModel m;
  auto t = tokens(all);
  size_t k = 0;
  auto fail = [&](const std::string& why) {
    if (m.error.empty()) m.error = why + " at token " + std::to_string(k);
  };
  auto signednum = [&]() {
    double sg = 1;
    if (t[k] == "-") {
      sg = -1;
      ++k;
    }
    return sg * std::stod(t[k++]);
  };
  while (k < t.size() && m.error.empty()) {
    if (t[k] == "TITLE") {
      while (k < t.size() && t[k] != ";") ++k;
      ++k;
    } else if (t[k] == "[") {
      k += 3;  // "[", name, "]"
      bool obj = false;
      if (t[k] == "MIN" || t[k] == "MAX") {
        obj = true;
        m.hasobj = true;
        m.minimise = t[k] == "MIN";
        k += 2;
      }
      TextModel::Row r;
      std::map<int, double>& a = obj ? m.cost : r.a;
      while (t[k] != ";" && t[k] != "<=" && t[k] != ">=" && t[k] != "=") {
        double sg = 1;
        if (t[k] == "+" || t[k] == "-") sg = t[k++] == "-" ? -1 : 1;
        double c = 1;
        if (isnum(t[k])) {
          c = std::stod(t[k++]);
          if (t[k] != "*") {  // the objective's constant
            m.objconst = sg * c;
            continue;
          }
          ++k;
        }
        if (t[k + 1] == "*") return fail("quadratic term"), m;
        a[m.var(t[k++])] += sg * c;
      }
      if (!obj) {
        r.rel = t[k++];
        r.rhs = signednum();
        m.rows.push_back(r);
      }
      if (t[k] != ";") return fail("row end"), m;
      ++k;
    } else if (t[k] == "@BIN" || t[k] == "@GIN") {
      m.types[m.var(t[k + 2])] = t[k] == "@BIN" ? 'B' : 'I';
      k += 5;
    } else if (t[k] == "@FREE") {
      m.bounds[m.var(t[k + 2])] = {-1e30, 1e30};
      k += 5;
    } else if (t[k] == "@BND") {
      k += 2;
      double lo = signednum();
      int v = m.var(t[k + 1]);
      k += 3;
      double hi = signednum();
      m.bounds[v] = {lo, hi};
      k += 2;
    } else {
      fail("statement " + t[k]);
    }
  }
  return m;
}

// The text's model as a free MPS file (objective constant left out).
inline void writemps(const TextModel& m, const std::filesystem::path& file) {
  std::ofstream o(file);
  o << "NAME T\nROWS\n N OBJ\n";
  for (size_t i = 0; i < m.rows.size(); ++i)
    o << " " << (m.rows[i].rel == "<=" ? 'L' : m.rows[i].rel == ">=" ? 'G' : 'E') << " R" << i << "\n";
  std::vector<std::vector<std::pair<std::string, double>>> col(m.vars.size());
  for (auto [j, c] : m.cost) col[(size_t)j].push_back({"OBJ", c});
  for (size_t i = 0; i < m.rows.size(); ++i)
    for (auto [j, c] : m.rows[i].a) col[(size_t)j].push_back({"R" + std::to_string(i), c});
  o.precision(17);
  o << "COLUMNS\n";
  for (size_t j = 0; j < m.vars.size(); ++j) {
    bool gin = m.types.count((int)j) && m.types.at((int)j) == 'I';
    if (gin) o << " M1 'MARKER' 'INTORG'\n";
    o << " V" << j << " OBJ 0\n";
    for (auto& [r, c] : col[j]) o << " V" << j << " " << r << " " << c << "\n";
    if (gin) o << " M2 'MARKER' 'INTEND'\n";
  }
  o << "RHS\n";
  for (size_t i = 0; i < m.rows.size(); ++i) o << " RHS R" << i << " " << m.rows[i].rhs << "\n";
  o << "BOUNDS\n";
  for (auto [j, b] : m.bounds) {
    o << (b.first <= -1e30 ? " MI BND V" : " LO BND V") << j;
    if (b.first > -1e30) o << " " << b.first;
    o << "\n";
    if (b.second < 1e30) o << " UP BND V" << j << " " << b.second << "\n";
  }
  for (auto [j, t] : m.types)
    if (t == 'B') o << " BV BND V" << j << "\n";
  o << "ENDATA\n";
}

// The optimum of the model that the import's text states (its constant included).
inline double textoptimum(const std::vector<std::string>& lines, int& status, std::string& error) {
  TextModel m = readtext(lines);
  error = m.error;
  if (!error.empty()) return NAN;
  std::filesystem::path f =
      std::filesystem::path(testing::TempDir()) / ("rmps_text_" + std::to_string(getpid()) + ".mps");
  writemps(m, f);
  if (!m.minimise) {  // the written file minimises: turn the objective
    for (auto& [j, c] : m.cost) c = -c;
    writemps(m, f);
  }
  double z = optimum(f, 0, status);
  return (m.minimise ? z : -z) + m.objconst;
}

