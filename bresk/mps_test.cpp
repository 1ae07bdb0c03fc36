// Tests of MPS reading and writing, the instruction-list text files, the
// netlib problems and the same LP loaded three ways.
#include "bresk/internal.h"
#include "bresk/test_util.h"

#include <CoinMpsIO.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <unistd.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using brtest::Fixture;
using brtest::Spec;

namespace {

std::string temp_file(const std::string& name, const std::string& text) {
  std::string path = ::testing::TempDir() + "/" + name;
  std::ofstream(path) << text;
  return path;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Everything the program reads back from a linear or quadratic model.
struct Data {
  int nv = 0, nc = 0, sense = 0;
  double objconst = 0;
  std::vector<double> cost, rhs, lb, ub;
  std::string types, rowtypes;
  std::vector<std::map<int, double>> rows;
  std::map<std::tuple<int, int, int>, double> quad;
  std::vector<std::string> rownames, varnames;
  std::string title, objname;
  bool operator==(const Data&) const = default;
};

Data data_of(BRmodel* m) {
  Data d;
  int nz, d4, d5, d6, ni, d8;
  EXPECT_EQ(BRgetDimensions(m, &d.nv, &d.nc, &nz, &d4, &d5, &d6, &ni, &d8), 0);
  d.cost.resize(d.nv);
  d.lb.resize(d.nv);
  d.ub.resize(d.nv);
  d.rhs.resize(d.nc);
  d.rowtypes.resize(d.nc);
  d.types.resize(d.nv);
  EXPECT_EQ(BRgetLPData(m, &d.sense, &d.objconst, d.cost.data(), d.rhs.data(), d.rowtypes.data(),
                        nullptr, nullptr, nullptr, nullptr, d.lb.data(), d.ub.data()), 0);
  EXPECT_EQ(BRgetVarType(m, d.types.data()), 0);
  for (int i = 0; i < d.nc; ++i) {
    int n = 0;
    char t;
    double b;
    BRgetLPConstraintDatai(m, i, &t, &b, &n, nullptr, nullptr);
    std::vector<int> col(n + 1);
    std::vector<double> val(n + 1);
    BRgetLPConstraintDatai(m, i, &t, &b, &n, col.data(), val.data());
    std::map<int, double> r;
    for (int k = 0; k < n; ++k) r[col[k]] = val[k];
    d.rows.push_back(r);
  }
  int nq = 0;
  BRgetQCData(m, &nq, nullptr, nullptr, nullptr, nullptr);
  std::vector<int> qr(nq + 1), qi(nq + 1), qj(nq + 1);
  std::vector<double> qv(nq + 1);
  BRgetQCData(m, &nq, qr.data(), qi.data(), qj.data(), qv.data());
  for (int k = 0; k < nq; ++k) d.quad[{qr[k], qi[k], qj[k]}] = qv[k];
  char title[256], obj[256];
  std::vector<char*> rp(d.nc), vp(d.nv);
  std::vector<char> rb(d.nc * 256 + 1), vb(d.nv * 256 + 1);
  EXPECT_EQ(BRgetNameData(m, title, obj, nullptr, nullptr, nullptr, rp.data(), rb.data(), vp.data(),
                          vb.data()), 0);
  d.title = title;
  d.objname = obj;
  for (char* p : rp) d.rownames.push_back(p);
  for (char* p : vp) d.varnames.push_back(p);
  return d;
}

TEST(BreskMps, NetlibProblemsReachPublishedOptima) {
  std::ifstream tsv(std::string(BRESK_NETLIB_DIR) + "/optimal.tsv");
  ASSERT_TRUE(tsv.good()) << "netlib data not found at " << BRESK_NETLIB_DIR;
  std::string name;
  double published;
  int count = 0;
  while (tsv >> name >> published) {
    Fixture f;
    std::string file = std::string(BRESK_NETLIB_DIR) + "/" + name + ".mps";
    ASSERT_EQ(BRreadMPSFile(f.m, file.c_str(), 1), 0) << name;
    ASSERT_EQ(BRoptimize(f.m, 0), 0) << name;
    int st = 0;
    double z = 0, objconst = 0;
    BRgetInfo(f.m, 1255, &st);
    BRgetInfo(f.m, 1251, &z);
    BRgetLPData(f.m, nullptr, &objconst, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                nullptr, nullptr, nullptr);
    EXPECT_EQ(st, 1) << name;
    // The published optima leave out the objective constant that an objective
    // right-hand side gives (only e226 has one: rhs -7.113, constant +7.113).
    EXPECT_NEAR(z - objconst, published, 1e-6 * std::fabs(published)) << name;
    if (name == "e226") {
      EXPECT_NEAR(objconst, 7.113, 1e-12);
      EXPECT_NEAR(z, -11.638929066, 1e-6 * 11.64);
    }
    ++count;
  }
  EXPECT_EQ(count, 25);
}

// Equal up to the last bits (CoinMpsIO parses numbers its own way).
bool near_eq(double a, double b) { return std::fabs(a - b) <= 1e-14 * std::max(1.0, std::fabs(a)); }
bool near_eq(const std::map<int, double>& a, const std::map<int, double>& b) {
  if (a.size() != b.size()) return false;
  for (auto ia = a.begin(), ib = b.begin(); ia != a.end(); ++ia, ++ib)
    if (ia->first != ib->first || !near_eq(ia->second, ib->second)) return false;
  return true;
}

TEST(BreskMps, NetlibFilesReadAsCoinMpsIOReadsThem) {
  std::ifstream tsv(std::string(BRESK_NETLIB_DIR) + "/optimal.tsv");
  ASSERT_TRUE(tsv.good()) << "netlib data not found at " << BRESK_NETLIB_DIR;
  std::string name;
  double published;
  int count = 0;
  while (tsv >> name >> published) {
    ++count;
    std::string file = std::string(BRESK_NETLIB_DIR) + "/" + name + ".mps";
    Fixture f;
    ASSERT_EQ(BRreadMPSFile(f.m, file.c_str(), 1), 0) << name;
    Data d = data_of(f.m);
    CoinMpsIO io;
    io.messageHandler()->setLogLevel(0);
    io.setInfinity(1e30);
    ASSERT_EQ(io.readMps(file.c_str(), ""), 0) << name;
    ASSERT_EQ(io.getNumCols(), d.nv) << name;
    const int base = io.getNumRows();  // ranged rows come first, their second rows after
    ASSERT_GE(d.nc, base) << name;
    for (int j = 0; j < d.nv; ++j) {
      EXPECT_TRUE(near_eq(io.getColLower()[j], d.lb[j])) << name << " col " << j;
      EXPECT_TRUE(near_eq(io.getColUpper()[j], d.ub[j])) << name << " col " << j;
      EXPECT_TRUE(near_eq(io.getObjCoefficients()[j], d.cost[j])) << name << " col " << j;
    }
    const CoinPackedMatrix* a = io.getMatrixByRow();
    int ranged = 0;
    for (int i = 0; i < base; ++i) {
      std::map<int, double> r;
      CoinShallowPackedVector v = a->getVector(i);
      for (int k = 0; k < v.getNumElements(); ++k)
        if (v.getElements()[k] != 0.0) r[v.getIndices()[k]] = v.getElements()[k];
      EXPECT_TRUE(near_eq(r, d.rows[i])) << name << " row " << i;
      const char sense = io.getRowSense()[i];
      if (sense == 'R') {
        EXPECT_EQ(d.rows[base + ranged], d.rows[i]) << name << " row " << i;
        double lo = io.getRowLower()[i], hi = io.getRowUpper()[i];
        double b1 = d.rhs[i], b2 = d.rhs[base + ranged];
        EXPECT_TRUE(near_eq(std::min(b1, b2), lo)) << name << " row " << i;
        EXPECT_TRUE(near_eq(std::max(b1, b2), hi)) << name << " row " << i;
        ++ranged;
      } else {
        EXPECT_EQ(sense, d.rowtypes[i]) << name << " row " << i;
        EXPECT_TRUE(near_eq(io.getRightHandSide()[i], d.rhs[i])) << name << " row " << i;
      }
    }
    EXPECT_EQ(d.nc, base + ranged) << name;
    EXPECT_TRUE(near_eq(io.objectiveOffset(), -d.objconst)) << name;
  }
  EXPECT_EQ(count, 25);
}

// A small model using every section: ranges, each bound type, markers,
// objective constant, OBJSENSE, a quadratic objective and a quadratic row.
const char* kFixed =
    "NAME          SMALL ONE\n"
    "* a comment line\n"
    "OBJSENSE\n"
    "    MAX\n"
    "ROWS\n"
    " N  PROFIT\n"
    " L  MY ROW\n"
    " G  R2\n"
    " E  R3\n"
    " N  SPARE\n"
    "COLUMNS\n"
    "    X 1       PROFIT             1.5   MY ROW             1.0\n"
    "    X 1       R2                 2.0   SPARE              9.0\n"
    "    MARKER                 'MARKER'                 'INTORG'\n"
    "    Y         PROFIT              -1   R3                 1.0\n"
    "    MARKER                 'MARKER'                 'INTEND'\n"
    "    Z         MY ROW               1   R2                  -1\n"
    "    W         R3                   1\n"
    "    V         PROFIT               1\n"
    "RHS\n"
    "    RHS       PROFIT              -5   MY ROW               4\n"
    "    RHS       R2                   1   R3                   2\n"
    "RANGES\n"
    "    RNG       MY ROW               3   R3                  -1\n"
    "BOUNDS\n"
    " UP BND       X 1                  8\n"
    " MI BND       Z\n"
    " UP BND       Z                    6\n"
    " FR BND       W\n"
    " BV BND       V\n"
    " LI BND       Y                    2\n"
    " UI BND       Y                    9\n"
    "ENDATA\n";

TEST(BreskMps, FixedFormatSectionsAndNamesWithBlanks) {
  Fixture f;
  std::string path = temp_file("small.mps", kFixed);
  ASSERT_EQ(BRreadMPSFile(f.m, path.c_str(), 1), 0);
  Data d = data_of(f.m);
  EXPECT_EQ(d.title, "SMALL ONE");
  EXPECT_EQ(d.objname, "PROFIT");
  EXPECT_EQ(d.varnames, (std::vector<std::string>{"X 1", "Y", "Z", "W", "V"}));
  EXPECT_EQ(d.rownames, (std::vector<std::string>{"MY ROW", "R2", "R3", "MY ROW_RNG", "R3_RNG"}));
  EXPECT_EQ(d.sense, -1);
  EXPECT_EQ(d.objconst, 5);
  EXPECT_EQ(d.cost, (std::vector<double>{1.5, -1, 0, 0, 1}));
  EXPECT_EQ(d.types, "CICCB");
  // MY ROW <= 4 with range 3: second row >= 1; R3 = 2 with range -1: [1, 2].
  EXPECT_EQ(d.rowtypes, "LGGGL");
  EXPECT_EQ(d.rhs, (std::vector<double>{4, 1, 1, 1, 2}));
  EXPECT_EQ(d.rows[0], (std::map<int, double>{{0, 1}, {2, 1}}));
  EXPECT_EQ(d.rows[3], d.rows[0]);
  EXPECT_EQ(d.rows[4], d.rows[2]);
  EXPECT_EQ(d.lb, (std::vector<double>{0, 2, -1e30, -1e30, 0}));
  EXPECT_EQ(d.ub, (std::vector<double>{8, 9, 6, 1e30, 1}));
}

TEST(BreskMps, WriteReadRoundTripAndOracle) {
  Fixture f;
  std::string quad = std::string(kFixed);
  quad.replace(quad.find("ENDATA"), 6,
               "QUADOBJ\n    X 1       X 1                  2\n    X 1       Z                  0.5\n"
               "QCMATRIX   R2\n    Z         Z                  1\n    Z         W                  3\n"
               "    W         Z                  3\nENDATA");
  std::string path = temp_file("quad.mps", quad);
  ASSERT_EQ(BRreadMPSFile(f.m, path.c_str(), 1), 0);
  Data d = data_of(f.m);
  // Objective 1/2 x'Qx: Q(X,X) = 2, Q(Z,X) = 0.5; R2 holds z^2 + 6 z w as 1/2 x'Qx.
  std::map<std::tuple<int, int, int>, double> want = {
      {{-1, 0, 0}, 2}, {{-1, 2, 0}, 0.5}, {{1, 2, 2}, 2}, {{1, 3, 2}, 6}};
  EXPECT_EQ(d.quad, want);
  for (int format : {0, 1}) {
    std::string out = ::testing::TempDir() + "/round" + std::to_string(format) + ".mps";
    ASSERT_EQ(BRwriteMPSFile(f.m, out.c_str(), format), 0);
    Fixture g;
    ASSERT_EQ(BRreadMPSFile(g.m, out.c_str(), format), 0) << slurp(out);
    Data e = data_of(g.m);
    // Free layout cannot hold blanks in names: they come back as underscores.
    Data want = d;
    for (auto* names : {&want.rownames, &want.varnames})
      for (std::string& nm : *names)
        for (char& ch : nm)
          if (ch == ' ') ch = '_';
    EXPECT_EQ(e.quad, want.quad);
    EXPECT_EQ(e.rows, want.rows);
    EXPECT_EQ(e.rownames, want.rownames);
    EXPECT_EQ(e.varnames, want.varnames);
    EXPECT_EQ(e, want) << slurp(out);
    if (format == 1) {
      EXPECT_NE(slurp(out).find("FREE"), std::string::npos);  // names with blanks
    }
  }
  // A linear model written free is read alike by CoinMpsIO.
  Fixture h;
  ASSERT_EQ(BRreadMPSFile(h.m, temp_file("lin.mps", kFixed).c_str(), 1), 0);
  std::string out = ::testing::TempDir() + "/oracle.mps";
  ASSERT_EQ(BRwriteMPSFile(h.m, out.c_str(), 0), 0);
  Data lin = data_of(h.m);
  CoinMpsIO io;
  io.messageHandler()->setLogLevel(0);
  io.setInfinity(1e30);
  ASSERT_EQ(io.readMps(out.c_str(), ""), 0);
  // the objective's constant is the cost of one more column, fixed at 1
  ASSERT_NE(lin.objconst, 0.0);
  ASSERT_EQ(io.getNumCols(), lin.nv + 1);
  EXPECT_STREQ(io.columnName(lin.nv), "OBJCONST");
  EXPECT_FALSE(io.isInteger(lin.nv));
  EXPECT_EQ(io.getColLower()[lin.nv], 1.0);
  EXPECT_EQ(io.getColUpper()[lin.nv], 1.0);
  EXPECT_EQ(io.getObjCoefficients()[lin.nv], lin.objconst);
  ASSERT_EQ(io.getNumRows(), lin.nc);
  for (int j = 0; j < lin.nv; ++j) {
    EXPECT_EQ(io.isInteger(j), lin.types[j] != 'C') << j;
    EXPECT_EQ(io.getColLower()[j], lin.lb[j]) << j;
    EXPECT_EQ(io.getColUpper()[j], lin.ub[j]) << j;
    EXPECT_EQ(io.getObjCoefficients()[j], lin.cost[j]) << j;
  }
  for (int i = 0; i < lin.nc; ++i) {
    EXPECT_EQ(io.getRowSense()[i], lin.rowtypes[i]) << i;
    EXPECT_EQ(io.getRightHandSide()[i], lin.rhs[i]) << i;
  }
  const CoinPackedMatrix* a = io.getMatrixByRow();
  for (int i = 0; i < lin.nc; ++i) {
    std::map<int, double> r;
    CoinShallowPackedVector v = a->getVector(i);
    for (int k = 0; k < v.getNumElements(); ++k) r[v.getIndices()[k]] = v.getElements()[k];
    EXPECT_EQ(r, lin.rows[i]) << i;
  }
  EXPECT_EQ(io.objectiveOffset(), 0.0);
}

TEST(BreskMps, ErrorsGiveLineAndText) {
  struct Case {
    const char* text;
    int format, line;
    const char* bad;
  };
  const std::string head = "NAME T\nROWS\n N OBJ\n L R1\nCOLUMNS\n";
  const Case cases[] = {
      {"    X OBJ 1 R1 1x\n", 0, 6, "    X OBJ 1 R1 1x"},
      {"    X OBJ 1 NOROW 1\n", 0, 6, "    X OBJ 1 NOROW 1"},
      {"    X OBJ 1\nRHS\n    RHS R1 abc\n", 0, 8, "    RHS R1 abc"},
      {"    X OBJ 1\nBOUNDS\n SC BND X 4\n", 0, 8, " SC BND X 4"},
      {"    X OBJ 1\nBOUNDS\n UP BND NOCOL 4\n", 0, 8, " UP BND NOCOL 4"},
      {"    X OBJ 1\nSOMETHING\n", 0, 7, "SOMETHING"},
      {"    X OBJ\n", 0, 6, "    X OBJ"},
      {"    X         OBJ       1.0.0\n", 1, 6, "    X         OBJ       1.0.0"},
      // values that read as infinite or NaN, and sums that run past the range of a double
      {"    X OBJ inf R1 1\n", 0, 6, "    X OBJ inf R1 1"},
      {"    X OBJ 1 R1 -Infinity\n", 0, 6, "    X OBJ 1 R1 -Infinity"},
      {"    X OBJ 1\nRHS\n    RHS R1 nan\n", 0, 8, "    RHS R1 nan"},
      {"    X         OBJ                  1\nRHS\n    RHS       R1               1e400\n", 1, 8,
       "    RHS       R1               1e400"},
      {"    X OBJ 1\nRANGES\n    RNG R1 -inf\n", 0, 8, "    RNG R1 -inf"},
      {"    X OBJ 1e308 R1 1\n    X OBJ 1e308\n", 0, 7, "    X OBJ 1e308"},
      {"    X R1 1e308 R1 1e308\n", 0, 6, "    X R1 1e308 R1 1e308"},
      {"    X OBJ 1\nQUADOBJ\n    X X 1e308\n    X X 1e308\n", 0, 9, "    X X 1e308"},
      {"    X OBJ 1\nBOUNDS\n UP BND X nan\n", 0, 8, " UP BND X nan"},
      // a column's entries stand together: one that comes back after another is refused
      {"    X OBJ 1\n    Y R1 1\n    X R1 2\n", 0, 8, "    X R1 2"},
      {"    X         OBJ                  1\n    Y         R1                   1\n"
       "    X         R1                   2\n", 1, 8, "    X         R1                   2"},
  };
  for (const Case& c : cases) {
    Fixture f;
    std::string path = temp_file("bad.mps", head + c.text);
    EXPECT_EQ(BRreadMPSFile(f.m, path.c_str(), c.format), 2003) << c.text;
    int line = 0;
    char text[256] = "";
    ASSERT_EQ(BRgetFileError(f.m, &line, text), 0);
    EXPECT_EQ(line, c.line) << c.text;
    EXPECT_STREQ(text, c.bad);
  }
  {  // A NUL byte is not text.
    Fixture f;
    std::string nul = head + std::string("    X OBJ 1\0 R1 1\n", 19);
    EXPECT_EQ(BRreadMPSFile(f.m, temp_file("nul.mps", nul).c_str(), 0), 2003);
    int line = 0;
    BRgetFileError(f.m, &line, nullptr);
    EXPECT_EQ(line, 6);
  }
  Fixture f;
  EXPECT_EQ(BRreadMPSFile(f.m, "/nonexistent/dir/none.mps", 1), 2002);
  EXPECT_EQ(BRreadMPSFile(f.m, ::testing::TempDir().c_str(), 1), 2013);
  // A missing objective row and a free row beside the objective are fine.
  std::string ok = temp_file("noobj.mps", "NAME\nROWS\n L R1\nCOLUMNS\n X R1 1\nRHS\n RHS R1 3\nENDATA\n");
  EXPECT_EQ(BRreadMPSFile(f.m, ok.c_str(), 0), 0);
  // Writing to a directory that does not exist.
  EXPECT_EQ(BRwriteMPSFile(f.m, "/nonexistent/dir/out.mps", 0), 2021);
}

// A fixed-layout name with a blank meets another name once the blank becomes an underscore:
// the free file must still read back, every name distinct, the names without blanks as they were.
TEST(BreskMps, FreeNamesStayDistinctWhereBlanksBecomeUnderscores) {
  const std::string text =
      "NAME\nROWS\n N  OBJ\n L  X 1\n L  X_1\n L  X 1_1\nCOLUMNS\n"
      "    A B       OBJ                  1   X 1                  1\n"
      "    A_B       X_1                  1   X 1_1                1\n"
      "RHS\n    RHS       X 1                  4   X_1                  5\nENDATA\n";
  Fixture f;
  ASSERT_EQ(BRreadMPSFile(f.m, temp_file("blanks.mps", text).c_str(), 1), 0);
  const std::string out = ::testing::TempDir() + "/blanks_free.mps";
  ASSERT_EQ(BRwriteMPSFile(f.m, out.c_str(), 0), 0);
  Fixture g;
  ASSERT_EQ(BRreadMPSFile(g.m, out.c_str(), 0), 0) << slurp(out);
  const Data d = data_of(f.m), e = data_of(g.m);
  EXPECT_EQ(e.rownames, (std::vector<std::string>{"X_1_1", "X_1", "X_1_1_1"}));
  EXPECT_EQ(e.varnames, (std::vector<std::string>{"A_B_1", "A_B"}));
  EXPECT_EQ(e.rows, d.rows);
  EXPECT_EQ(e.rhs, d.rhs);
}

// The free layout as other readers need it: two blanks before every data line, an upper
// bound (or PL) for every general integer column, the constant as a fixed column and a
// comment line for a maximisation; the file reads back as the same model.
TEST(BreskMps, FreeLayoutForOtherReaders) {
  const std::string text =
      "NAME\nOBJSENSE\n MAX\nROWS\n N OBJ\n L R1\nCOLUMNS\n M 'MARKER' 'INTORG'\n"
      " A OBJ 1 R1 1\n B OBJ 1 R1 1\n C OBJ 1 R1 1\n D OBJ 1 R1 1\n E OBJ 1 R1 1\n"
      " M 'MARKER' 'INTEND'\n X OBJ 1 R1 1\nRHS\n RHS R1 9 OBJ -2.5\n"
      "BOUNDS\n UP BND B 1\n LO BND C -3\n MI BND D\n UP BND D 5\n FR BND E\nENDATA\n";
  Fixture f;
  ASSERT_EQ(BRreadMPSFile(f.m, temp_file("int.mps", text).c_str(), 0), 0);
  std::string out = ::testing::TempDir() + "/int_out.mps";
  ASSERT_EQ(BRwriteMPSFile(f.m, out.c_str(), 0), 0);
  std::string w = slurp(out);
  EXPECT_EQ(w.rfind("* The objective is maximised", 0), 0u) << w;
  std::istringstream in(w);
  std::string line;
  std::map<std::string, std::vector<std::string>> bounds;  // column: its bound lines
  while (std::getline(in, line)) {
    if (line.empty() || line[0] != ' ') continue;  // comments and section lines
    EXPECT_TRUE(line.size() > 2 && line.compare(0, 2, "  ") == 0 && line[2] != ' ') << line;
    std::istringstream ls(line);
    std::string type, set, col;
    if (ls >> type >> set >> col && set == "BND") bounds[col].push_back(line);
  }
  using V = std::vector<std::string>;
  EXPECT_EQ(bounds["A"], V{"  PL BND A"});
  EXPECT_EQ(bounds["B"], V{"  UP BND B 1"});
  EXPECT_EQ(bounds["C"], (V{"  PL BND C", "  LO BND C -3"}));
  EXPECT_EQ(bounds["D"], (V{"  UP BND D 5", "  MI BND D"}));
  EXPECT_EQ(bounds["E"], V{"  FR BND E"});
  EXPECT_EQ(bounds["X"], V{});
  EXPECT_EQ(bounds["OBJCONST"], V{"  FX BND OBJCONST 1"});
  EXPECT_NE(w.find("\n  OBJCONST OBJ 2.5\n"), std::string::npos) << w;
  EXPECT_EQ(w.find("RHS OBJ"), std::string::npos) << w;
  for (int format : {0, 1}) {
    Fixture g;
    ASSERT_EQ(BRreadMPSFile(g.m, out.c_str(), format), 0) << w;
    EXPECT_EQ(data_of(g.m), data_of(f.m)) << format;
  }
}

// Infinite bound values are the library's infinity, as every bound from 1e30 on is; a range
// side that runs past the range of a double is an infinite side.
TEST(BreskMps, InfiniteBoundsAndRangeSides) {
  const std::string text =
      "NAME\nROWS\n N OBJ\n G R1\n L R2\nCOLUMNS\n X OBJ 1 R1 1\n Y OBJ 1 R2 1\n Z OBJ 1\n"
      "RHS\n RHS R1 1e308 R2 -1e308\nRANGES\n RNG R1 1e308 R2 1e308\n"
      "BOUNDS\n UP BND X inf\n LO BND Y -1e400\n UP BND Y 1E400\n MI BND Z\n UP BND Z -Infinity\nENDATA\n";
  Fixture f;
  ASSERT_EQ(BRreadMPSFile(f.m, temp_file("inf.mps", text).c_str(), 0), 0);
  Data d = data_of(f.m);
  EXPECT_EQ(d.lb, (std::vector<double>{0, -1e30, -1e30}));
  EXPECT_EQ(d.ub, (std::vector<double>{1e30, 1e30, -1e30}));
  // R1 >= 1e308 with its other side at infinity; R2 <= -1e308 with its other side at -infinity
  EXPECT_EQ(d.rowtypes, "GLLG");
  EXPECT_EQ(d.rhs, (std::vector<double>{1e308, -1e308, 1e30, -1e30}));
}

// Every form of number a value field may hold reads as the C library reads it: signs,
// hexadecimal, values past the smallest double, long digit strings.
TEST(BreskMps, NumberForms) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"+2.5", 2.5},   {"-.5e-3", -0.0005}, {"5.", 5.0},    {"0x10", 16.0},     {"0X1P-2", 0.25},
      {"1e-400", 0.0}, {"4.9e-324", 4.9e-324}, {"1E5", 1e5}, {"00012", 12.0},
      {"0.1000000000000000055511151231257827", 0.1}, {"123456789012345678901234567890", 1.2345678901234568e29},
      {"1e23", 1e23}, {"-123456789012345e-22", -1.23456789012345e-8}, {"9007199254740993", 9007199254740992.0},
  };
  for (const auto& c : cases) {
    const std::string text = std::string("NAME\nROWS\n N OBJ\nCOLUMNS\n X OBJ ") + c.text + "\nENDATA\n";
    Fixture f;
    ASSERT_EQ(BRreadMPSFile(f.m, temp_file("num.mps", text).c_str(), 0), 0) << c.text;
    EXPECT_EQ(data_of(f.m).cost, std::vector<double>{c.value}) << c.text;
  }
}

// The objective's constant written as a fixed column reads back as the constant, and only a
// column of that form is taken for it.
TEST(BreskMps, ConstantColumnIsTheObjectivesConstant) {
  const std::string head = "NAME\nROWS\n N OBJ\n L R1\nCOLUMNS\n X OBJ 1 R1 1\n";
  struct Case {
    const char* text;
    int nv;
    double objconst;
  } cases[] = {
      {" OBJCONST OBJ 5\nRHS\n RHS OBJ -2\nBOUNDS\n FX BND OBJCONST 1\n", 1, 7},
      {" OBJCONST_3 OBJ -4\nBOUNDS\n FX BND OBJCONST_3 1\n", 1, -4},
      {" OBJCONST OBJ 5 R1 1\nBOUNDS\n FX BND OBJCONST 1\n", 2, 0},       // in a row
      {" OBJCONST OBJ 5\nBOUNDS\n FX BND OBJCONST 2\n", 2, 0},            // fixed elsewhere
      {" OBJCONST OBJ 5\n", 2, 0},                                      // not fixed
      {" OBJCONSTX OBJ 5\nBOUNDS\n FX BND OBJCONSTX 1\n", 2, 0},          // another name
      {" MARKER 'MARKER' 'INTORG'\n OBJCONST OBJ 5\n MARKER 'MARKER' 'INTEND'\n"
       "BOUNDS\n FX BND OBJCONST 1\n", 2, 0},                              // integer
  };
  for (const Case& c : cases) {
    Fixture f;
    ASSERT_EQ(BRreadMPSFile(f.m, temp_file("k.mps", head + c.text + "ENDATA\n").c_str(), 0), 0) << c.text;
    Data d = data_of(f.m);
    EXPECT_EQ(d.nv, c.nv) << c.text;
    EXPECT_EQ(d.objconst, c.objconst) << c.text;
    EXPECT_EQ(d.varnames[0], "X") << c.text;
  }
}

// A model without an objective row whose constraints take the objective's default name and
// its first renaming writes a file that reads back as the same model, in both layouts.
TEST(BreskMps, ObjectiveNameNeverTakesARowName) {
  const std::string text =
      "NAME\nROWS\n L OBJ\n L OBJ_1\n E R3\nCOLUMNS\n X OBJ 1 OBJ_1 2\n Y R3 1 OBJ 3\n"
      "RHS\n RHS OBJ 4 OBJ_1 5\n RHS R3 6\nENDATA\n";
  for (int format : {0, 1}) {
    Fixture f, g;
    ASSERT_EQ(BRreadMPSFile(f.m, temp_file("taken.mps", text).c_str(), 0), 0);
    std::string out = ::testing::TempDir() + "/taken_out.mps";
    ASSERT_EQ(BRwriteMPSFile(f.m, out.c_str(), format), 0);
    ASSERT_EQ(BRreadMPSFile(g.m, out.c_str(), format), 0) << format;
    int a[8], b[8];
    BRgetDimensions(f.m, &a[0], &a[1], &a[2], &a[3], &a[4], &a[5], &a[6], &a[7]);
    BRgetDimensions(g.m, &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7]);
    EXPECT_EQ(std::vector<int>(a, a + 8), std::vector<int>(b, b + 8)) << format;
    EXPECT_EQ(a[1], 3);
  }
}

// The reader takes the file a piece at a time: lines that end at every offset of a piece, a
// comment line longer than a piece, carriage returns and a last line without its newline.
TEST(BreskMps, LinesAcrossReadPieces) {
  const int n = 3000;
  auto name = [](int j) { return "C" + std::string(static_cast<size_t>(j % 37), 'x') + std::to_string(j); };
  std::string text = "NAME BIG\nROWS\n N OBJ\n L R\nCOLUMNS\n";
  for (int j = 0; j < n; ++j) {
    if (j == n / 2) text += "*" + std::string(40000, 'c') + "\n";
    text += " " + name(j) + " OBJ " + std::to_string(j + 1) + " R 1" + (j % 2 ? "\r\n" : "\n");
  }
  text += "RHS\n RHS R " + std::to_string(n) + "\nENDATA";
  Fixture f;
  ASSERT_EQ(BRreadMPSFile(f.m, temp_file("pieces.mps", text).c_str(), 0), 0);
  Data d = data_of(f.m);
  ASSERT_EQ(d.nv, n);
  ASSERT_EQ(d.nc, 1);
  EXPECT_EQ(d.rows[0].size(), static_cast<size_t>(n));
  EXPECT_EQ(d.rhs[0], n);
  for (int j = 0; j < n; ++j) {
    EXPECT_EQ(d.varnames[static_cast<size_t>(j)], name(j));
    EXPECT_EQ(d.cost[static_cast<size_t>(j)], j + 1);
  }
}

// A linear row read from a file lays out its gradient on its own entries, a quadratic one on
// a list of its own: with both in one model the nonlinear solve must reach the optimum.
// max x + 2y; x^2 + y^2 <= 5 (Q); x - 2y + w = 0 (D); x + y + w <= 9 (S): x = 1, y = 2, w = 3.
TEST(BreskMps, QuadraticAndLinearRowsSolveTogether) {
  const std::string text =
      "NAME QC\nOBJSENSE\n MAX\nROWS\n N Z\n L Q\n E D\n L S\nCOLUMNS\n"
      " X Z 1 D 1\n X S 1\n Y Z 2 D -2\n Y S 1\n W D 1 S 1\nRHS\n RHS Q 5 S 9\n"
      "QCMATRIX Q\n X X 1\n Y Y 1\nENDATA\n";
  Fixture f;
  ASSERT_EQ(BRreadMPSFile(f.m, temp_file("qclin.mps", text).c_str(), 0), 0);
  ASSERT_EQ(BRoptimize(f.m, 0), 0);
  int st = 0;
  BRgetInfo(f.m, 1255, &st);
  EXPECT_TRUE(st == BR_OPTIMAL || st == BR_LOCAL_OPTIMAL) << st;
  double x[3];
  ASSERT_EQ(BRgetPrimalSolution(f.m, x), 0);
  EXPECT_NEAR(x[0], 1.0, 1e-5);
  EXPECT_NEAR(x[1], 2.0, 1e-5);
  EXPECT_NEAR(x[2], 3.0, 1e-5);
}

// max 5x + 4y; 6x + 4y <= 24; x + 2y <= 6; -x + y <= 1; y <= 2.
const char* kReddyMikksMps =
    "NAME RM\nOBJSENSE\n MAX\nROWS\n N Z\n L C1\n L C2\n L C3\n L C4\nCOLUMNS\n"
    " X Z 5 C1 6\n X C2 1 C3 -1\n Y Z 4 C1 4\n Y C2 2 C3 1\n Y C4 1\n"
    "RHS\n RHS C1 24 C2 6\n RHS C3 1 C4 2\nENDATA\n";

// Every result the solve gives, for comparing loads.
struct Solved {
  double z;
  std::vector<double> x, s, y, d, cd, ci, rd, ri;
};

Solved solve(BRmodel* m) {
  Solved r;
  EXPECT_EQ(BRoptimize(m, 0), 0);
  BRgetInfo(m, 1251, &r.z);
  r.x.resize(2);
  r.d.resize(2);
  r.cd.resize(2);
  r.ci.resize(2);
  r.s.resize(4);
  r.y.resize(4);
  r.rd.resize(4);
  r.ri.resize(4);
  EXPECT_EQ(BRgetPrimalSolution(m, r.x.data()), 0);
  EXPECT_EQ(BRgetReducedCosts(m, r.d.data()), 0);
  EXPECT_EQ(BRgetSlacks(m, r.s.data()), 0);
  EXPECT_EQ(BRgetDualSolution(m, r.y.data()), 0);
  EXPECT_EQ(BRgetObjectiveRanges(m, r.cd.data(), r.ci.data()), 0);
  EXPECT_EQ(BRgetConstraintRanges(m, r.rd.data(), r.ri.data()), 0);
  return r;
}

void expect_near(const std::vector<double>& a, const std::vector<double>& b, const char* what) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t k = 0; k < a.size(); ++k) EXPECT_NEAR(a[k], b[k], 1e-6) << what << " " << k;
}

TEST(BreskMps, SameLpLoadedThreeWays) {
  std::vector<Solved> got;
  {  // Instruction list.
    Fixture f;
    Spec s;
    s.sense = -1;
    s.nvars = 2;
    s.obj = "5 x0 * 4 x1 * +";
    s.rows = {{'L', "6 x0 * 4 x1 * + 24 -"}, {'L', "x0 2 x1 * + 6 -"},
              {'L', "x0 neg x1 + 1 -"}, {'L', "x1 2 -"}};
    ASSERT_EQ(brtest::load(f.m, s), 0);
    got.push_back(solve(f.m));
  }
  {  // Row-wise.
    Fixture f;
    const double lb[2] = {0, 0}, ub[2] = {1e307, 1e307};
    ASSERT_EQ(BRloadLPInstRowWise(f.m, 4, 1, 2, "CC", nullptr, nullptr, lb, ub), 0);
    const char* rows[] = {"6 x0 * 4 x1 * + 24 -", "x0 2 x1 * + 6 -", "x0 neg x1 + 1 -", "x1 2 -"};
    brtest::Code c;
    c.add("5 x0 * 4 x1 * +");
    ASSERT_EQ(BRaddLRWNumbers(f.m, static_cast<int>(c.pool.size()), c.pool.data(), nullptr), 0);
    int res;
    ASSERT_EQ(BRaddLRWobjective(f.m, -1, static_cast<int>(c.words.size()), c.words.data(), &res), 0);
    for (const char* r : rows) {
      size_t before = c.pool.size();
      size_t w0 = c.words.size();
      c.add(r);
      ASSERT_EQ(BRaddLRWNumbers(f.m, static_cast<int>(c.pool.size() - before), c.pool.data() + before,
                                nullptr), 0);
      ASSERT_EQ(BRaddLRWconstraint(f.m, 'L', static_cast<int>(c.words.size() - w0),
                                   c.words.data() + w0, &res), 0);
    }
    ASSERT_EQ(BRbuildLRWModel(f.m), 0);
    got.push_back(solve(f.m));
  }
  {  // MPS.
    Fixture f;
    ASSERT_EQ(BRreadMPSFile(f.m, temp_file("rm.mps", kReddyMikksMps).c_str(), 0), 0);
    got.push_back(solve(f.m));
  }
  for (const Solved& r : got) {
    EXPECT_NEAR(r.z, 21, 1e-9);
    expect_near(r.x, {3, 1.5}, "x");
    expect_near(r.s, {0, 0, 2.5, 0.5}, "slack");
    expect_near(r.y, {-0.75, -0.5, 0, 0}, "dual");
    expect_near(r.d, {0, 0}, "reduced cost");
    expect_near(r.ci, {1, 6}, "cost increase");
    expect_near(r.cd, {3, 2.0 / 3}, "cost decrease");
    expect_near(r.ri, {12, 2.0 / 3, 1e30, 1e30}, "rhs increase");
    expect_near(r.rd, {4, 2, 2.5, 0.5}, "rhs decrease");
  }
}

// Reads an instruction-list text file back into words and loads it.
int load_code_file(BRmodel* m, const std::string& path) {
  std::ifstream in(path);
  std::string word, header;
  int version, n;
  in >> header >> version >> word;  // TITLE
  std::string title;
  std::getline(in, title);
  in >> word >> n;
  std::map<std::string, int> var;
  std::string types;
  std::vector<double> lb(n), ub(n), st(n);
  for (int j = 0; j < n; ++j) {
    std::string name;
    char t;
    in >> name >> t >> lb[j] >> ub[j] >> st[j];
    var[name] = j;
    types.push_back(t);
  }
  int k;
  in >> word >> k;
  std::vector<double> pool(k);
  for (double& v : pool) in >> v;
  static const std::map<std::string, int> codes = {
      {"PLUS", 1001}, {"MINUS", 1002}, {"MULTIPLY", 1003}, {"DIVIDE", 1004}, {"POWER", 1005},
      {"NEGATE", 1017}, {"SIN", 1023}, {"SQR", 1077}, {"LN", 1021}, {"EXP", 1030}, {"ABS", 1018}};
  std::vector<int> words, starts, lens;
  std::string rowtypes;
  int sense = 1;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::istringstream ls(line);
    std::string op, arg;
    ls >> op >> arg;
    if (op == "OBJECTIVE" || op == "CONSTRAINT" || op == "END") {
      if (!starts.empty()) lens.push_back(static_cast<int>(words.size()) - starts.back());
      if (op == "END") break;
      starts.push_back(static_cast<int>(words.size()));
      if (op == "OBJECTIVE") {
        sense = arg == "MAX" ? -1 : 1;
      } else {
        std::string t;
        ls >> t;
        rowtypes += t;
      }
    } else if (op == "PUSHVAR") {
      words.insert(words.end(), {1063, var.at(arg)});
    } else if (op == "PUSHNUM") {
      words.insert(words.end(), {1062, static_cast<int>(pool.size())});
      pool.push_back(std::stod(arg));
    } else if (op == "MAX" || op == "MIN") {
      words.insert(words.end(), {op == "MAX" ? 1058 : 1057, std::stoi(arg)});
    } else {
      words.push_back(codes.at(op));
    }
  }
  int os = starts[0], ol = lens[0];
  return BRloadNLPCode(m, static_cast<int>(rowtypes.size()), 1, n, static_cast<int>(pool.size()),
                       &sense, rowtypes.data(), types.data(), words.data(),
                       static_cast<int>(words.size()), nullptr, pool.data(), st.data(), &os, &ol,
                       starts.data() + 1, lens.data() + 1, lb.data(), ub.data());
}

TEST(BreskMps, InstructionListFilesRoundTrip) {
  // A nonlinear model written as MPI text and read back evaluates alike.
  Fixture f;
  Spec s;
  s.sense = -1;
  s.nvars = 3;
  s.obj = "x0 sin x1 x2 max:2 + #1070 #2 3 x2 * -";
  s.rows = {{'L', "x0 sqr x1 ln + 4 -"}, {'G', "x0 x1 * x2 exp + 1 -"}, {'E', "2 x0 * x2 - 3 + x1 +"}};
  ASSERT_EQ(brtest::load(f.m, s), 0);
  std::string path = ::testing::TempDir() + "/model.mpi";
  ASSERT_EQ(BRwriteMPIFile(f.m, path.c_str()), 0);
  std::string text = slurp(path);
  EXPECT_EQ(text.rfind("BRESK-MPI 1\n", 0), 0u) << text;
  EXPECT_NE(text.find("  MAX 2\n"), std::string::npos) << text;
  EXPECT_EQ(BRwriteMPSFile(f.m, path.c_str(), 0), 2012);  // nonlinear: no MPS
  Fixture g;
  ASSERT_EQ(load_code_file(g.m, path), 0) << text;
  double x[3] = {0.7, 1.3, -0.4};
  for (int r = -1; r < 3; ++r) {  // the linear row is written from its data
    double a, b;
    ASSERT_TRUE(bresk::eval_row(f.m, r, x, &a));
    ASSERT_TRUE(bresk::eval_row(g.m, r, x, &b));
    EXPECT_DOUBLE_EQ(a, b) << r;
  }
  // A model read from MPS has no words; its rows are written from its data.
  Fixture h;
  ASSERT_EQ(BRreadMPSFile(h.m, temp_file("rm2.mps", kReddyMikksMps).c_str(), 0), 0);
  std::string p2 = ::testing::TempDir() + "/rm.bkx";
  ASSERT_EQ(BRwriteBRESKFile(h.m, p2.c_str()), 0);
  EXPECT_EQ(slurp(p2).rfind("BRESK-NATIVE 1\n", 0), 0u);
  Fixture k;
  ASSERT_EQ(load_code_file(k.m, p2), 0) << slurp(p2);
  Solved a = solve(k.m);
  EXPECT_NEAR(a.z, 21, 1e-9);
  EXPECT_EQ(BRwriteMPIFile(h.m, "/nonexistent/dir/x.mpi"), 2021);
}

} // namespace

namespace {

// Nothing reaches the standard streams, whatever the calls meet.
TEST(BreskMps, LibraryNeverPrints) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::string path = ::testing::TempDir() + "/streams.txt";
  std::FILE* sink = std::fopen(path.c_str(), "w+");
  ASSERT_NE(sink, nullptr);
  int out = dup(1), err = dup(2);
  dup2(fileno(sink), 1);
  dup2(fileno(sink), 2);
  std::string unread;  // the streams are restored before anything is reported
  {
    for (const char* name : {"afiro", "e226", "boeing2", "degen2"}) {
      Fixture f;
      std::string file = std::string(BRESK_NETLIB_DIR) + "/" + name + ".mps";
      if (BRreadMPSFile(f.m, file.c_str(), 1) != 0) unread += std::string(" ") + name;
      BRoptimize(f.m, 3);
      double r[2000];
      BRgetObjectiveRanges(f.m, r, r + 1000);
    }
    Fixture f;
    std::string bad = temp_file("loud.mps", "NAME\nROWS\n N OBJ\nCOLUMNS\n X OBJ 1 Y\nENDATA\n");
    BRreadMPSFile(f.m, bad.c_str(), 0);
    Spec s;
    s.sense = -1;
    s.nvars = 2;
    s.obj = "x0 x1 +";
    s.rows = {{'L', "x0 x1 - 1 -"}};
    brtest::load(f.m, s);
    BRoptimize(f.m, 1);
    BRsetModelIntParameter(f.m, 219, 1);
    s.obj = "x0 sqr neg x1 +";
    brtest::load(f.m, s);
    BRoptimize(f.m, 0);
    // The integer and nonlinear solvers too.
    Spec t;
    t.sense = -1;
    t.nvars = 2;
    t.types = "II";
    t.obj = "5 x0 * 4 x1 * +";
    t.rows = {{'L', "6 x0 * 4 x1 * + 24 -"}, {'L', "x0 2 x1 * + 6 -"}};
    brtest::load(f.m, t);
    BRsolveMIP(f.m);
    BRsolveGOP(f.m);
    BRsetModelIntParameter(f.m, 219, 0);
    Spec c;
    c.nvars = 2;
    c.lb = {-1e307, -1e307};
    c.obj = "x0 1 - sqr x1 2 - sqr +";
    c.rows = {{'L', "x0 sqr x1 sqr + 1 -"}};
    brtest::load(f.m, c);
    BRoptimize(f.m, 0);
    BRsolveGOP(f.m);
  }
  std::fflush(stdout);
  std::fflush(stderr);
  dup2(out, 1);
  dup2(err, 2);
  close(out);
  close(err);
  std::fseek(sink, 0, SEEK_END);
  long size = std::ftell(sink);
  std::fclose(sink);
  EXPECT_EQ(size, 0) << slurp(path);
  EXPECT_EQ(unread, "") << "not read from " << BRESK_NETLIB_DIR;
}

} // namespace
