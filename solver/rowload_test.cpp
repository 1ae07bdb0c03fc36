// Row-by-row linear loading: the same matrix as the instruction-list load, a nonlinear
// row that ends the load cleanly, and the storage mode kept on every exit.
#include <gtest/gtest.h>

#include <vector>

#include "generate/scalar_test_fixture.h"
#include "solver/bindings.h"
#include "solver/rowload.h"

namespace {

// The model's linear data as the library holds it.
struct LPData {
  int sense = 0;
  double objconst = 0;
  std::vector<double> cost, rhs, value, lb, ub;
  std::vector<char> type;
  std::vector<int> colstart, collen, row;
  bool operator==(const LPData&) const = default;
};

LPData lpdata(int32_t id) {
  LPData d;
  d.cost.resize(16); d.rhs.resize(16); d.value.resize(64); d.lb.resize(16); d.ub.resize(16);
  d.type.resize(16); d.colstart.resize(17); d.collen.resize(16); d.row.resize(64);
  EXPECT_EQ(BRgetLPData(modelptr_(id), &d.sense, &d.objconst, d.cost.data(), d.rhs.data(), d.type.data(),
                        d.colstart.data(), d.collen.data(), d.value.data(), d.row.data(), d.lb.data(),
                        d.ub.data()), 0);
  return d;
}

// Loads the model's scalar lists through the instruction-list call.
int32_t loadlists(ListModel& m) {
  MasterRecord& L = m.L;
  std::vector<int32_t> code = m.words(), rst, rln;
  std::vector<double> pool = m.pool(), lb, ub, start;
  std::vector<char> rt, vt;
  for (int32_t k = 1; k <= L.SLNCON; ++k) {
    rst.push_back(sligeti_(m.A, L, L.SLRST, k));
    rln.push_back(sligeti_(m.A, L, L.SLRLN, k));
    rt.push_back(slgetc_(m.A, L, L.SLRTY, k));
  }
  const int32_t nv = L.NEXPVAR + L.SLDUMMY;
  for (int32_t f = 1; f <= nv; ++f) {
    vt.push_back(slgetc_(m.A, L, L.SLVTY, f));
    lb.push_back(slgetd_(m.A, L, L.SLVLB, f));
    ub.push_back(slgetd_(m.A, L, L.SLVUB, f));
    start.push_back(0.0);
  }
  int sense = L.SLSENSE, os = L.SLOBJST, ol = L.SLOBJLN;
  return BRloadNLPCode(modelptr_(L.MODELHANDLE), L.SLNCON, 1, nv, (int)pool.size(), &sense, rt.data(), vt.data(),
                       code.data(), (int)code.size(), nullptr, pool.data(), start.data(), &os, &ol, rst.data(),
                       rln.data(), lb.data(), ub.data());
}

struct Env {
  MasterRecord L;
  Env() {
    init_(L);
    createbresk_(L);
  }
  ~Env() { deletebresk_(L); }
};

TEST(RowByRowLoad, GivesTheSameMatrixAsTheInstructionListLoad) {
  Env env;
  for (int32_t objtype : {2, -2, -1}) {
    ListModel rows(3, objtype, true), list(3, objtype, true);
    for (ListModel* m : {&rows, &list}) {
      m->L.ENVHANDLE = env.L.ENVHANDLE;
      m->L.NEXPVAR = 3;
      ASSERT_EQ(clearmodel_(m->L), 0);
    }
    rows.L.HEAP_SWITCH = 1;
    int32_t e = -1;
    genlprowbyrow_(rows.A, rows.L, e);
    ASSERT_EQ(e, 0) << rows.L.ERRARG;
    EXPECT_EQ(rows.L.HEAP_SWITCH, 1);
    EXPECT_EQ(rows.L.SLINS, 0);  // nothing of the load stays in the program
    list.L.HEAP_SWITCH = 0;
    ASSERT_EQ(list.build(), 0);
    ASSERT_EQ(loadlists(list), 0);
    const LPData a = lpdata(rows.L.MODELHANDLE), b = lpdata(list.L.MODELHANDLE);
    EXPECT_TRUE(a == b) << objtype;
    EXPECT_EQ(a.rhs[0], 4.0);  // constants of later rows keep their own indices
    for (ListModel* m : {&rows, &list}) EXPECT_EQ(FBRDELETEMODEL_(m->L.MODELHANDLE), 0);
  }
}

TEST(RowByRowLoad, ANonlinearRowEndsTheLoadWithItsName) {
  Env env;
  for (int32_t heap : {0, 1}) {
    ListModel m(3, -1);  // no objective; row 3 (Y^2) is loaded second
    bputi(m.A, m.L, m.L.ROWORD, 2, 3);
    bputi(m.A, m.L, m.L.ROWORD, 3, 2);
    bputi(m.A, m.L, m.L.ROWMAP, 3, 2);
    bputi(m.A, m.L, m.L.ROWMAP, 2, 3);
    m.L.ENVHANDLE = env.L.ENVHANDLE;
    m.L.HEAP_SWITCH = heap;
    ASSERT_EQ(clearmodel_(m.L), 0);
    int32_t e = -1;
    genlprowbyrow_(m.A, m.L, e);
    EXPECT_EQ(e, 8);
    EXPECT_EQ(std::string(m.L.ERRSTR, 2), "3 ");
    EXPECT_EQ(m.L.HEAP_SWITCH, heap);
    EXPECT_EQ(m.L.SLINS, 0);
    EXPECT_EQ(m.L.SLCON, 0);
    EXPECT_EQ(FBRDELETEMODEL_(m.L.MODELHANDLE), 0);
  }
}

TEST(RowByRowLoad, ALibraryFailureNamesTheCall) {
  ListModel m(3, 2, true);
  m.L.MODELHANDLE = 0;  // no model object
  m.L.HEAP_SWITCH = 1;
  int32_t e = -1;
  genlprowbyrow_(m.A, m.L, e);
  EXPECT_EQ(e, 7);
  EXPECT_NE(m.L.ERRARG, 0);
  EXPECT_EQ(std::string(m.L.ERRSTR, 19), "BRloadLPInstRowWise");
  EXPECT_EQ(m.L.HEAP_SWITCH, 1);
}

}  // namespace
