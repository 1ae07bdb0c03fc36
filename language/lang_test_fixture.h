// A session with a model text for the front end's unit tests.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>
#include "language/compiler.h"
#include "language/lang.h"
#include "generate/genmod.h"

struct FrontFixture {
  std::unique_ptr<MasterRecord> rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work W;
  explicit FrontFixture(int32_t words = 4000000) {
    init_(L);
    W.w.assign((size_t)words + 1, 0);
    L.TOTWRD = words;
    intmem_(W, L);
  }
  // Stores the model text, one line per '\n'.
  void text(const std::string& t, int32_t syntax = 0) {
    std::vector<std::string> lines;
    std::istringstream in(t);
    for (std::string s; std::getline(in, s);) lines.push_back(s);
    int32_t total = 0;
    for (auto& s : lines) total += (int32_t)s.size();
    int32_t n = total + 8, st = 0;
    setblk_(1, n, W, L, L.TEXTBLK, st);
    int32_t m = (int32_t)lines.size() + 2;
    setblk_(2, m, W, L, L.LINEIX, st);
    int32_t pos = 1;
    for (size_t i = 0; i < lines.size(); ++i) {
      iput(W, L, L.LINEIX, (int64_t)i + 1, pos);
      for (char c : lines[i]) cput(W, wbyte(L.START[L.TEXTBLK]) + pos++ - 1, c);
    }
    iput(W, L, L.LINEIX, (int64_t)lines.size() + 1, pos);
    L.MODLINES = (int32_t)lines.size();
    L.SYNTAX = syntax;
  }
  // Runs the compile steps of the generation driver; returns what was printed.
  std::string go(int32_t trace = 1) {
    L.TRACELV = trace;
    testing::internal::CaptureStdout();
    gencompile_(W, L);
    return testing::internal::GetCapturedStdout();
  }
  // Mnemonics (and operands) of the compiled statements, one instruction per item.
  std::string code() {
    testing::internal::CaptureStdout();
    for (int32_t i = 1; i <= L.STMTCNT; ++i)
      intran_(W, L, L.CODEBLK, iget(W, L, L.STMTIX, i), iget(W, L, L.STMTIX, i + 1) - 1);
    std::string out = testing::internal::GetCapturedStdout(), r;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
      std::string item = line.size() > 14 ? line.substr(14) : line;
      std::istringstream ws(item);
      std::string w, joined;
      while (ws >> w) joined += (joined.empty() ? "" : " ") + w;
      r += (r.empty() ? "" : " | ") + joined;
    }
    return r;
  }
};
