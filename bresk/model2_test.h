// Test helpers for the integer, nonlinear and diagnosis solves: models written as postfix rows,
// loaded through BRloadNLPCode, and a guard that catches output on the standard streams.
#ifndef BRESK_MODEL2_TEST_H
#define BRESK_MODEL2_TEST_H

#include "bresk/bresk.h"
#include "bresk/test_util.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace br2 {

// A model: objective and rows as postfix text ("x0 x1 * 3 -": xN variable, numbers, operators).
struct Model {
  int sense = 1;                                   // +1 minimise, -1 maximise
  std::string obj;
  std::vector<std::pair<char, std::string>> rows;  // type 'L' (g <= 0), 'G', 'E'
  int n = 0;
  std::vector<double> lb, ub, start;               // empty: [0, 1e30], start 0
  std::string types;                               // empty: all 'C'
};

// A small integer nonlinear model: min (x - 1.3)^2 + (y - 2.6)^2 + exp(0.1 z) - z with
// x + y <= 3.5, x^2 + y <= 6, x and y integer, all three in [0, 5].
inline Model smallMinlp() {
  Model s;
  s.n = 3;
  s.types = "IIC";
  s.lb = {0, 0, 0};
  s.ub = {5, 5, 5};
  s.obj = "x0 1.3 - sqr x1 2.6 - sqr + 0.1 x2 * exp + x2 -";
  s.rows = {{'L', "x0 x1 + 3.5 -"}, {'L', "x0 sqr x1 + 6 -"}};
  return s;
}

// Loads the model; returns BRloadNLPCode's code.
inline int load(BRmodel* m, const Model& s) {
  brtest::Code c;
  c.add(s.obj);
  std::vector<int> rs, rl;
  int ol = static_cast<int>(c.words.size()), os = 0;
  std::string rt;
  for (auto& [t, text] : s.rows) {
    rs.push_back(c.add(text));
    rl.push_back(static_cast<int>(c.words.size()) - rs.back());
    rt.push_back(t);
  }
  std::vector<int>& code = c.words;
  std::vector<double>& pool = c.pool;
  std::vector<double> lb = s.lb, ub = s.ub, st = s.start;
  if (lb.empty()) lb.assign(s.n, 0.0);
  if (ub.empty()) ub.assign(s.n, 1e30);
  if (st.empty()) st.assign(s.n, 0.0);
  std::string types = s.types.empty() ? std::string(s.n, 'C') : s.types;
  int sense = s.sense;
  return BRloadNLPCode(m, static_cast<int>(s.rows.size()), 1, s.n, static_cast<int>(pool.size()),
                       &sense, rt.c_str(), types.c_str(), code.data(), static_cast<int>(code.size()),
                       nullptr, pool.data(), st.data(), &os, &ol, rs.data(), rl.data(), lb.data(),
                       ub.data());
}

// An environment and one model, deleted at the end of the test.
struct Fixture : ::testing::Test {
  BRenv* env = nullptr;
  BRmodel* m = nullptr;
  void SetUp() override {
    int err = 0;
    env = BRcreateEnvProdCode(0, &err);
    ASSERT_TRUE(env);
    m = BRcreateModel(env, &err);
    ASSERT_TRUE(m);
  }
  void TearDown() override { BRdeleteEnv(&env); }
  int status() {
    int s = 0;
    EXPECT_EQ(BRgetInfo(m, 1255, &s), 0);
    return s;
  }
  double objective() {
    double z = 0;
    EXPECT_EQ(BRgetInfo(m, 1251, &z), 0);
    return z;
  }
};

// Redirects descriptors 1 and 2 into a file while alive; text() gives what arrived.
class Capture {
 public:
  Capture() {
    std::fflush(stdout);
    std::fflush(stderr);
    f_ = std::tmpfile();
    o_ = dup(1);
    e_ = dup(2);
    dup2(fileno(f_), 1);
    dup2(fileno(f_), 2);
  }
  std::string text() {
    restore();
    std::string s;
    std::rewind(f_);
    int c;
    while ((c = std::fgetc(f_)) != EOF) s.push_back(static_cast<char>(c));
    return s;
  }
  ~Capture() {
    restore();
    std::fclose(f_);
  }

 private:
  void restore() {
    if (o_ < 0) return;
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(o_, 1);
    dup2(e_, 2);
    close(o_);
    close(e_);
    o_ = e_ = -1;
  }
  std::FILE* f_;
  int o_, e_;
};

}  // namespace br2
#endif
