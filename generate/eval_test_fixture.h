// A small compiled model for the evaluation core's tests: sets, attributes, variables,
// generated rows, and an assembler for hand-built instruction streams.
#pragma once
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "generate/blk.h"
#include "generate/eval.h"
#include "language/opcodes.h"
#include "store/store.h"

struct EvalModel {
  std::unique_ptr<MasterRecord> rec = std::make_unique<MasterRecord>();
  MasterRecord& L = *rec;
  Work A;

  // An integer block holding the values.
  int32_t iblock(const std::vector<int32_t>& v) {
    int32_t h = 0, st = 0, n = (int32_t)v.size() + 1;
    setblk_(2, n, A, L, h, st);
    for (size_t k = 0; k < v.size(); ++k) bputi(A, L, h, (int64_t)k + 1, v[k]);
    return h;
  }
  int32_t dblock(const std::vector<double>& v) {
    int32_t h = 0, st = 0, n = (int32_t)v.size() + 1;
    setblk_(6, n, A, L, h, st);
    for (size_t k = 0; k < v.size(); ++k) bputd(A, L, h, (int64_t)k + 1, v[k]);
    return h;
  }

  // Sets: 1 A = {A1,A2,A3} with attribute X (variables 10..12); 2 B = {B1..B4};
  // 3 dense A x B with two attributes (variables 20..43); 4 sorted {(3,1),(1,2),(2,2)};
  // 5 empty; 6 {C1,C2} not yet built; 7 {A1} a one-member set.
  // Variables 1..50 hold 100 + k. Rows: 1 and 2 of row name 1 over A at members 2 and 3,
  // row 3 of the scalar row name 2; slacks 5, 6, 7; duals 0.5, 0.6, 0.7.
  explicit EvalModel(int32_t words = 400000) {
    init_(L);
    A.w.assign((size_t)words + 1, 0);
    L.TOTWRD = words;
    intmem_(A, L);
    L.MSGOFF = 1;
    L.TERSEO = 1;
    L.NSETS = 7;
    L.LXSTUB = iblock({1, 1, 1, 3, 5, 5, 5, 5});
    L.NDXSTB = iblock({1, 2, 1, 2});
    L.LASTUB = iblock({1, 2, 2, 4, 4, 4, 4, 4});
    L.NNTRYS = iblock({3, 4, 12, 3, 0, 2, 1});
    L.INXNTR = iblock({1, 4, 1, 25, 8, 8, 1});
    const int32_t ord = iblock({2, 3, 1});
    L.SETORD = iblock({-1, -1, -1, ord, -1, -1, -1});
    L.INANTR = iblock({10, 0, 20, 0, 0, 0, 0});
    L.SETALC = iblock({1, 1, 1, 1, 1, 0, 1});
    std::vector<int32_t> drv;
    for (int a = 1; a <= 3; ++a)
      for (int b = 1; b <= 4; ++b) { drv.push_back(a); drv.push_back(b); }
    for (int v : {3, 1, 1, 2, 2, 2}) drv.push_back(v);
    L.NDRVEL = iblock(drv);
    L.NDRVUSE = (int32_t)drv.size();
    const char* names[] = {"A1", "A2", "A3", "B1", "B2", "B3", "B4", "C1", "C2"};
    int32_t n = 9 * 32, st = 0;
    setblk_(1, n, A, L, L.KPNAME, st);
    for (int k = 0; k < 9; ++k)
      for (int c = 0; c < 32; ++c)
        bputc(A, L, L.KPNAME, k * 32 + c + 1, c < (int)std::strlen(names[k]) ? names[k][c] : ' ');
    L.NPRIMEL = 9;
    L.NVARS = 50;
    std::vector<double> vals;
    for (int k = 1; k <= 50; ++k) vals.push_back(100 + k);
    L.VARVAL = dblock(vals);
    L.NROWS = 3;
    L.NROWNM = 2;
    L.ROWNDIM = iblock({1, 0});
    L.ROWRNM = iblock({1, 1, 2});
    L.ROWIXS = iblock({1, 3, 5, 5});
    L.ROWIXW = iblock({1, 2, 1, 3});
    L.ROWSLK = dblock({5, 6, 7});
    L.ROWSNS = iblock({1, 1, 1});
    L.ROWDUL = dblock({0.5, 0.6, 0.7});
  }

  // ---- assembler ----
  std::vector<int32_t> c;
  EvalModel& op(int32_t o) { c.push_back(o); return *this; }
  EvalModel& op(int32_t o, int32_t a) { c.push_back(o); c.push_back(a); return *this; }
  EvalModel& op(int32_t o, int32_t a, int32_t b) { c.push_back(o); c.push_back(a); c.push_back(b); return *this; }
  EvalModel& num(double v) {
    int32_t w[2];
    std::memcpy(w, &v, 8);
    c.push_back(OP_PUSHN);
    c.push_back(w[0]);
    c.push_back(w[1]);
    return *this;
  }
  EvalModel& str(const std::string& s) {
    c.push_back(OP_PUSHSTR);
    c.push_back((int32_t)s.size());
    for (size_t k = 0; k < s.size(); k += 4) {
      int32_t w = 0;
      std::memcpy(&w, s.data() + k, s.size() - k < 4 ? s.size() - k : 4);
      c.push_back(w);
    }
    return *this;
  }
  int32_t here() const { return (int32_t)c.size() + 1; }  // position of the next word

  int32_t status = -1;
  int32_t code = 0;
  // Runs the assembled code from word 1 to its last word with an empty stack.
  int32_t run() {
    int32_t n = (int32_t)c.size() + 1, st = 0;
    setblk_(2, n, A, L, code, st);
    for (size_t k = 0; k < c.size(); ++k) bputi(A, L, code, (int64_t)k + 1, c[k]);
    L.STKTOP = 0;
    L.LFDEPTH = 0;
    L.IRCNT = 0;
    double out = 0;
    const int32_t last = (int32_t)c.size();
    xecute_(A, L, code, 1, last, status, out);
    return status;
  }
  double top() const { return L.STKVAL[L.STKTOP]; }
  // The text of the top entry (read before the next run releases nothing: texts live on
  // until the run ends, so tests read the characters out of the @WRITE buffer instead).
};

// Text of @WRITE item i (1-based) of the last run.
inline std::string written(const EvalModel& m, int32_t i) {
  std::string s;
  if (i > m.L.ORBITEMS || bgeti(m.A, m.L, m.L.ORBKND, i) != 1) return "<not a text>";
  for (int32_t p = bgeti(m.A, m.L, m.L.ORBPOS, i); bgetc(m.A, m.L, m.L.ORBTXT, p) != '\0'; ++p)
    s += bgetc(m.A, m.L, m.L.ORBTXT, p);
  return s;
}
