// MPS import: the model text written for an MPS file states the same optimisation
// problem. The tests read the text back with a small reader of their own, hand that model
// to the solver library and compare its optimum with the library's optimum of the file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "reports/exchange_fixture.h"
#include "reports/exchange.h"
#include "solver/bindings.h"
#include "store/io.h"
#include "store/store.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(__FILE__).parent_path().parent_path() / "tests" / "data";

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

std::vector<std::string> tokens(const std::string& s) {
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

bool isnum(const std::string& t) { return !t.empty() && ((t[0] >= '0' && t[0] <= '9') || t[0] == '.'); }

// Reads the text; error names the first statement it could not read.
TextModel readtext(const std::vector<std::string>& lines) {
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
void writemps(const TextModel& m, const fs::path& file) {
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
double textoptimum(const std::vector<std::string>& lines, int& status, std::string& error) {
  TextModel m = readtext(lines);
  error = m.error;
  if (!error.empty()) return NAN;
  fs::path f = fs::path(testing::TempDir()) / "rmps_text.mps";
  writemps(m, f);
  if (!m.minimise) {  // the written file minimises: turn the objective
    for (auto& [j, c] : m.cost) c = -c;
    writemps(m, f);
  }
  double z = optimum(f, 0, status);
  return (m.minimise ? z : -z) + m.objconst;
}

TEST(MpsImport, NetlibTextsReachThePublishedOptima) {
  std::ifstream opt(kData / "netlib" / "optimal.tsv");
  std::string name;
  double want;
  int checked = 0;
  while (opt >> name >> want) {
    Import s;
    ASSERT_EQ(s.load(kData / "netlib" / (name + ".mps"), 1), 0) << name << s.terminal();
    auto lines = s.lines();
    for (auto& ln : lines) EXPECT_LE((int)ln.size(), 76 + 40) << name;
    int st = 0;
    std::string err;
    double got = textoptimum(lines, st, err);
    ASSERT_EQ(err, "") << name;
    // e226 gives its objective row a right-hand side, which becomes the constant of the
    // objective: the published value is the optimum without it.
    TextModel m = readtext(lines);
    // every row label is a name of its own, apart from every variable's
    std::set<std::string> labels;
    size_t nlabels = 0;
    {
      std::string all;
      for (auto& l : lines) all += l;
      auto tk = tokens(all);
      for (size_t k = 0; k + 2 < tk.size(); ++k)
        if (tk[k] == "[" && tk[k + 2] == "]") {
          ++nlabels;
          labels.insert(tk[k + 1]);
          EXPECT_EQ(m.vix.count(tk[k + 1]), 0u) << name << " " << tk[k + 1];
        }
    }
    EXPECT_EQ(labels.size(), nlabels) << name;
    if (name == "e226") {
      EXPECT_NEAR(m.objconst, 7.113, 1e-3);
      got -= m.objconst;
    } else {
      EXPECT_EQ(m.objconst, 0.0) << name;
    }
    EXPECT_TRUE(st == BR_OPTIMAL || st == BR_BASIC_OPTIMAL) << name << " status " << st;
    EXPECT_NEAR(got, want, 1e-6 * std::fabs(want)) << name;
    ++checked;
  }
  EXPECT_EQ(checked, 25);
}

}  // namespace
