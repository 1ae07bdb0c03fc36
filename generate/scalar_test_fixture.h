// A compiled model for the scalar-list tests: the evaluation core's sets and variables,
// variable kinds and order, and a reference evaluator of scalar code that follows the
// solver library's meaning of each code.
#pragma once
#include <cmath>
#include <functional>
#include <optional>
#include <vector>

#include "generate/eval_test_fixture.h"
#include "generate/probfn.h"
#include "generate/randfn.h"
#include "generate/rows.h"
#include "generate/scalar.h"
#include "language/lang.h"
#include "store/heap.h"

struct ScalarModel : EvalModel {
  // Variables 1..50 unfixed, in index order; the code block is the assembled code.
  ScalarModel() {
    L.BIGNUM = 1e307;
    L.BIGLOG = std::log(1e307);
    L.DBLWD = 2;
    L.HEAP_SWITCH = 1;
    std::vector<int32_t> ord, kind(50, 0);
    for (int v = 1; v <= 50; ++v) ord.push_back(v);
    L.VARKND = iblock(kind);
    L.VARORD = iblock(ord);
    L.VARPOS = iblock(ord);
    L.VARINT = iblock(kind);
    L.VARLB = dblock(std::vector<double>(50, 0.0));
    L.VARUB = dblock(std::vector<double>(50, 1e307));
    L.NEXPVAR = 50;
    L.NFIXED = 0;
  }
  ~ScalarModel() { freescalarlists_(L); }

  // Installs the assembled code as the model's code block.
  void install() {
    int32_t n = (int32_t)c.size() + 1, st = 0;
    setblk_(2, n, A, L, L.CODEBLK, st);
    for (size_t k = 0; k < c.size(); ++k) bputi(A, L, L.CODEBLK, (int64_t)k + 1, c[k]);
    L.CODELEN = (int32_t)c.size();
  }
  // Emits the code from word 1 as one row into fresh lists; the emitter's status.
  int32_t emit() {
    install();
    freescalarlists_(L);
    L.IRCNT = 0;
    int32_t e = 0;
    checkfreeins_(A, L, 8, e);
    int32_t st = -1, one = 1;
    exec_(A, L, one, MAXREQ, st);
    return st;
  }
  std::vector<int32_t> words() const {
    std::vector<int32_t> w;
    for (int32_t k = 1; k <= L.SLINSN; ++k) w.push_back(sligeti_(A, L, L.SLINS, k));
    return w;
  }
  std::vector<double> pool() const {
    std::vector<double> p;
    for (int32_t k = 1; k <= L.SLCONN; ++k) p.push_back(slgetd_(A, L, L.SLCON, k));
    return p;
  }
  // The value the interpreter computes for the assembled code.
  std::optional<double> interpret() {
    install();
    L.STKTOP = L.LFDEPTH = L.IRCNT = 0;
    double out = 0;
    int32_t st = -1;
    xecute_(A, L, L.CODEBLK, 1, L.CODELEN, st, out);
    if (st != 0 || L.STKTOP < 1) return std::nullopt;
    return L.STKVAL[L.STKTOP];
  }
  void setval(int32_t v, double x) { bputd(A, L, L.VARVAL, v, x); }
  double val(int32_t v) const { return bgetd(A, L, L.VARVAL, v); }

  // ---- assembly of set loops the way the compiler writes them ----
  // SETUP s, GETNEXT, the body, GOTO back, POPSET.
  EvalModel& loop(int32_t s, const std::function<void()>& body) {
    op(OP_SETUP, s);
    const int32_t getnext = here();
    op(OP_GETNEXT, 0);
    body();
    c.push_back(OP_GOTO);
    c.push_back(getnext - here());
    const int32_t popset = here();
    op(OP_POPSET);
    c[(size_t)getnext] = popset - (getnext + 1);  // the exit lands on POPSET
    return *this;
  }
  // A jump if false back to the GETNEXT at position to.
  void skipif(int32_t to) {
    c.push_back(OP_IFGOTO);
    c.push_back(to - here());
  }
  // The last GETNEXT position written (for conditions inside a loop body).
  int32_t lastgetnext() const {
    for (int32_t k = (int32_t)c.size() - 1; k >= 1; --k)
      if (c[(size_t)k - 1] == OP_GETNEXT) return k;
    return 0;
  }
};

// The value of scalar code under the solver library's meaning of each code: PUSHVAR j
// reads the value of the explicit variable j. Empty when an operation fails or the
// stack does not end with exactly one value.
inline std::optional<double> scalareval(const Work& A, const MasterRecord& L, const std::vector<int32_t>& w,
                                        const std::vector<double>& pool, size_t from, size_t n) {
  std::vector<double> s;
  auto pop = [&](int k) {
    std::vector<double> a(s.end() - k, s.end());
    s.resize(s.size() - (size_t)k);
    return a;
  };
  for (size_t i = from; i < from + n; ++i) {
    const int32_t c = w[i];
    if (c == SC_PUSHNUM) { s.push_back(pool.at((size_t)w[++i])); continue; }
    if (c == SC_PUSHVAR) { s.push_back(bgetd(A, L, L.VARVAL, varatpos_(A, L, L.NFIXED + w[++i] + 1))); continue; }
    if (c == SC_BRACKET) { ++i; continue; }
    if (c == SC_MAX || c == SC_MIN) {
      const int32_t k = w[++i];
      if (k < 1 || (size_t)k > s.size()) return std::nullopt;
      auto a = pop(k);
      double r = a[0];
      for (double x : a) r = c == SC_MAX ? std::max(r, x) : std::min(r, x);
      s.push_back(r);
      continue;
    }
    static const std::pair<int32_t, int> ar[] = {
        {1001, 2}, {1002, 2}, {1003, 2}, {1004, 2}, {1005, 2}, {1006, 2}, {1007, 2}, {1008, 2},
        {1009, 2}, {1010, 2}, {1011, 2}, {1012, 2}, {1013, 2}, {1014, 1}, {1017, 1}, {1018, 1},
        {1019, 1}, {1021, 1}, {1023, 1}, {1024, 1}, {1025, 1}, {1030, 1}, {1031, 2}, {1034, 3},
        {1035, 1}, {1036, 1}, {1037, 1}, {1038, 1}, {1039, 1}, {1040, 2}, {1041, 2}, {1042, 2},
        {1043, 2}, {1044, 2}, {1045, 2}, {1046, 2}, {1047, 2}, {1048, 2}, {1049, 3}, {1050, 3},
        {1051, 3}, {1052, 4}, {1053, 1}, {1077, 1}};
    int k = 0;
    for (auto& p : ar) if (p.first == c) k = p.second;
    if (k == 0 || s.size() < (size_t)k) return std::nullopt;
    const auto a = pop(k);
    const double x = a[0], y = k > 1 ? a[1] : 0.0;
    double r = 0, t = 0, u = 0, v2 = 0, loss = 0;
    switch (c) {
      case 1001: r = x + y; break;
      case 1002: r = x - y; break;
      case 1003: r = x * y; break;
      case 1004: if (std::fabs(y) < 1e-30) return std::nullopt; r = x / y; break;
      case 1005: {
        if (x < 0 && std::fmod(y, 1.0) != 0) return std::nullopt;
        r = std::pow(x, y);
        break;
      }
      case 1006: r = x == y; break;
      case 1007: r = x != y; break;
      case 1008: r = x <= y; break;
      case 1009: r = x >= y; break;
      case 1010: r = x < y; break;
      case 1011: r = x > y; break;
      case 1012: r = x != 0 && y != 0; break;
      case 1013: r = x != 0 || y != 0; break;
      case 1014: r = x == 0; break;
      case 1017: r = -x; break;
      case 1018: r = std::fabs(x); break;
      case 1019: if (x < 0) return std::nullopt; r = std::sqrt(x); break;
      case 1021: if (x < 1e-30) return std::nullopt; r = std::log(x); break;
      case 1023: r = std::sin(x); break;
      case 1024: r = std::cos(x); break;
      case 1025: r = std::tan(x); break;
      case 1030: r = std::exp(x); break;
      case 1031: r = std::fmod(x, y); break;
      case 1034: r = a[0] != 0 ? a[1] : a[2]; break;
      case 1035: r = psnval(x); break;
      case 1036: r = 0.3989422803 * std::exp(-x * x / 2) - (1 - psnval(x)) * x; break;
      case 1037: logama_(x, r, t); if (t != 0) return std::nullopt; break;
      case 1038: r = x > 0 ? 1 : x < 0 ? -1 : 0; break;
      case 1039: r = std::trunc(x); break;
      case 1040: r = x == 0 ? y : (1 - std::pow(1 + x, -y)) / x; break;
      case 1041: r = std::pow(1 + x, -y); break;
      case 1042: erlngl_(x, y, r, t); break;
      case 1043: erlngb_(x, y, r, t); break;
      case 1044: cumpoi_(x, y, r, u, v2, loss, t); break;
      case 1045: cumpoi_(x, y, u, v2, t, r, loss); break;
      case 1046: brrptd_(y, x, r, t); break;
      case 1047: brrpcx_(x, y, r, t); break;
      case 1048: r = std::fmod(x - 1, y) + 1; if (r < 1) r += y; break;
      case 1049: cumbin_(a[1], a[0], a[2], r, t); break;
      case 1050: finsrc_(a[1], a[2], a[0], r, t); break;
      case 1051: brrpfd_(a[0], a[1], a[2], r, t); break;
      case 1052: cumhyg_(a[0], a[1], a[2], a[3], r, t); break;
      case 1053: { double seed = x; randlf_(seed, r); break; }
      case 1077: r = x * x; break;
    }
    if (!std::isfinite(r)) return std::nullopt;
    s.push_back(r);
  }
  if (s.size() != 1) return std::nullopt;
  return s[0];
}

// Three rows over the scalar variables X, Y, Z (1..3):
//   row 1   X + Y - 4        <=
//   row 2   3X + Y           objective (MAX), or a >= row
//   row 3   Y^2 - 2.5 >= 0 (2Y - 2.5 when linear)
// Rows may be left out from the end; the objective row and variable kinds are set by the test.
struct ListModel : ScalarModel {
  explicit ListModel(int32_t rows = 3, int32_t objtype = 2, bool linear = false) {
    int32_t n = 3 * 32, st = 0;
    setblk_(1, n, A, L, L.SCLNAM, st);
    for (int32_t v = 1; v <= 3; ++v) putnam_(A, L, L.SCLNAM, v, &"XYZ"[v - 1], 1);
    L.NSCALAR = 3;
    L.NEXPVAR = 3;
    std::vector<int32_t> at;
    at.push_back(here());
    op(OP_BEGROW).op(OP_PUSHV, 1).op(OP_PUSHV, 2).op(OP_ADD).num(4).op(OP_SUB).op(OP_ENDROW, 1);
    at.push_back(here());
    op(OP_BEGROW).num(3).op(OP_PUSHV, 1).op(OP_MUL).op(OP_PUSHV, 2).op(OP_ADD).op(OP_ENDROW, objtype);
    at.push_back(here());
    op(OP_BEGROW).op(OP_PUSHV, 2);
    if (linear) num(2).op(OP_MUL);
    else op(OP_SQR);
    num(-2.5).op(OP_ADD).op(OP_ENDROW, -1);
    install();
    const std::vector<int32_t> types{1, objtype, -1};
    L.NROWS = rows;
    L.ROWSTP = iblock(at);
    L.ROWTYPES = iblock(types);
    L.ROWORD = iblock({1, 2, 3});
    L.ROWMAP = iblock({1, 2, 3});
    L.ROWIXS = iblock({1, 1, 1, 1});
    L.ROWRNM = iblock({0, 0, 0});
    L.OBJROW = (objtype == 2 || objtype == -2) && rows >= 2 ? 2 : 0;
  }
  int32_t build() {
    int32_t e = -1;
    scalarizemodel_(A, L, e);
    return e;
  }
  // The words of constraint k, or of the objective for k = 0.
  std::vector<int32_t> row(int32_t k) const {
    const auto w = words();
    const int32_t st = k ? sligeti_(A, L, L.SLRST, k) : L.SLOBJST;
    const int32_t n = k ? sligeti_(A, L, L.SLRLN, k) : L.SLOBJLN;
    return std::vector<int32_t>(w.begin() + st, w.begin() + st + n);
  }
  std::string types() const {
    std::string s;
    for (int32_t k = 1; k <= L.SLNCON; ++k) s += slgetc_(A, L, L.SLRTY, k);
    return s;
  }
};
