// Helpers for the library's tests: instruction lists written as postfix text,
// and whole models loaded from such rows.
#ifndef BRESK_TEST_UTIL_H
#define BRESK_TEST_UTIL_H

#include "bresk/bresk.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace brtest {

// Words and constants of rows written as postfix text: "x0 5 * x1 4 * +".
// Tokens: xN variable N; a number; an operator name; name:n for counted
// operators (min, max, user); #N a raw word.
struct Code {
  std::vector<int> words;
  std::vector<double> pool;

  // Appends one row's words; returns its start.
  int add(const std::string& text) {
    static const std::map<std::string, int> ops = {
        {"+", 1001}, {"-", 1002}, {"*", 1003}, {"/", 1004}, {"^", 1005}, {"==", 1006},
        {"!=", 1007}, {"<=", 1008}, {">=", 1009}, {"<", 1010}, {">", 1011}, {"and", 1012},
        {"or", 1013}, {"not", 1014}, {"neg", 1017}, {"abs", 1018}, {"sqrt", 1019},
        {"ln", 1021}, {"sin", 1023}, {"cos", 1024}, {"tan", 1025}, {"exp", 1030},
        {"mod", 1031}, {"if", 1034}, {"sign", 1038}, {"floor", 1039}, {"fpa", 1040},
        {"fpl", 1041}, {"wrap", 1048}, {"sqr", 1077}, {"noop", 1000}, {"min", 1057},
        {"max", 1058}, {"user", 1054}, {"psn", 1035}, {"rand", 1053}, {"psl", 1036},
        {"lgm", 1037}, {"pel", 1042}, {"peb", 1043}, {"pps", 1044}, {"ppl", 1045}, {"ptd", 1046},
        {"pcx", 1047}, {"pbn", 1049}, {"pfs", 1050}, {"pfd", 1051}, {"phg", 1052}};
    int start = static_cast<int>(words.size());
    std::istringstream in(text);
    std::string t;
    while (in >> t) {
      if (t[0] == 'x' && t.size() > 1) {
        words.push_back(1063);
        words.push_back(std::atoi(t.c_str() + 1));
      } else if (t[0] == '#') {
        words.push_back(std::atoi(t.c_str() + 1));
      } else if (auto c = t.find(':'); c != std::string::npos) {
        words.push_back(ops.at(t.substr(0, c)));
        words.push_back(std::atoi(t.c_str() + c + 1));
      } else if (ops.count(t)) {
        words.push_back(ops.at(t));
      } else {
        words.push_back(1062);
        words.push_back(static_cast<int>(pool.size()));
        pool.push_back(std::strtod(t.c_str(), nullptr));
      }
    }
    return start;
  }
};

// A model description: objective, constraints with types, variable data.
struct Spec {
  int sense = 1;
  std::string obj;
  std::vector<std::pair<char, std::string>> rows;
  int nvars = 0;
  std::vector<double> lb, ub;   // empty: [0, 1e30]
  std::string types;            // empty: all 'C'
  std::vector<double> start;    // empty: all 0
};

// Loads a model through BRloadNLPCode; returns the loader's code.
inline int load(BRmodel* m, const Spec& s) {
  Code c;
  int os = c.add(s.obj);
  int ol = static_cast<int>(c.words.size()) - os;
  std::vector<int> rs, rl;
  std::string rt;
  for (auto& [t, text] : s.rows) {
    rs.push_back(c.add(text));
    rl.push_back(static_cast<int>(c.words.size()) - rs.back());
    rt.push_back(t);
  }
  std::vector<double> lb = s.lb, ub = s.ub, st = s.start;
  if (st.empty()) st.assign(s.nvars, 0.0);
  if (lb.empty()) lb.assign(s.nvars, 0.0);
  if (ub.empty()) ub.assign(s.nvars, 1e307);
  std::string types = s.types.empty() ? std::string(s.nvars, 'C') : s.types;
  return BRloadNLPCode(m, static_cast<int>(s.rows.size()), 1, s.nvars,
                       static_cast<int>(c.pool.size()), &s.sense, rt.data(), types.data(),
                       c.words.data(), static_cast<int>(c.words.size()), nullptr, c.pool.data(),
                       st.data(), &os, &ol, rs.data(), rl.data(), lb.data(), ub.data());
}

// One environment and model per test.
struct Fixture {
  BRenv* env = nullptr;
  BRmodel* m = nullptr;
  Fixture() {
    int e;
    env = BRcreateEnvProdCode(0, &e);
    m = BRcreateModel(env, &e);
  }
  ~Fixture() { BRdeleteEnv(&env); }
};

} // namespace brtest

#endif
