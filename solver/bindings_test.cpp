// Unit tests of the solver-library bindings and the session services of the solver
// interface: handle ids, parameter errors, error texts, status reset and time limit.
#include <gtest/gtest.h>

#include <cstring>

#include "solver/bindings.h"
#include "solver/rowload.h"
#include "store/hooks.h"
#include "store/master.h"
#include "store/store.h"

TEST(SolverBindings, EnvironmentIdsParametersAndErrorTexts) {
  MasterRecord L;
  init_(L);
  ASSERT_EQ(createbresk_(L), 1);
  EXPECT_GT(L.ENVHANDLE, 0);
  EXPECT_EQ(L.MODELHANDLE, 0);
  int32_t first = L.ENVHANDLE;
  ASSERT_EQ(createbresk_(L), 1);  // the earlier environment is deleted first
  EXPECT_EQ(L.ENVHANDLE, first);

  int32_t err = 0;
  int32_t model = FBRCREATEMODEL_(L.ENVHANDLE, err);
  ASSERT_GT(model, 0);
  int32_t unknown = 999999, ival = 1;
  double dval = 0.5;
  int32_t rc = FBRSETENVINTPARAMETER_(L.ENVHANDLE, unknown, ival);
  EXPECT_NE(rc, 0);
  EXPECT_NE(FBRSETMODELDOUPARAMETER_(model, unknown, dval), 0);
  char text[256];
  std::strcpy(text, "stale text");
  EXPECT_EQ(FBRGETERRORMESSAGE_(L.ENVHANDLE, rc, text), 0);
  EXPECT_STRNE(text, "stale text");
  EXPECT_GT(std::strlen(text), 0u);

  // Ids that name nothing are refused, not followed.
  int32_t bogus = 77;
  EXPECT_NE(FBRSETMODELINTPARAMETER_(bogus, unknown, ival), 0);
  int32_t d[8];
  EXPECT_NE(FBRGETDIMENSIONS_(bogus, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]), 0);

  EXPECT_EQ(FBRDELETEMODEL_(model), 0);
  EXPECT_EQ(model, 0);
  EXPECT_EQ(deletebresk_(L), 1);
  EXPECT_EQ(L.ENVHANDLE, 0);
  EXPECT_EQ(FBRDELETEENV_(L.ENVHANDLE), 0);  // nothing to delete
}

// Sessions one after another in one process (as the fuzz targets run them): deleting the
// environment releases the model's slot, so models can still be created after more sessions
// than the handle table has slots, and the old id names nothing.
TEST(SolverBindings, EnvironmentDeleteReleasesTheModelSlot) {
  for (int k = 0; k < 200; ++k) {
    MasterRecord L;
    init_(L);
    ASSERT_EQ(createbresk_(L), 1) << k;
    ASSERT_EQ(clearmodel_(L), 0) << k;
    int32_t id = L.MODELHANDLE;
    ASSERT_NE(modelptr_(id), nullptr);
    if (k % 2) ASSERT_EQ(createbresk_(L), 1) << k;  // a new environment in place of the old
    else EXPECT_EQ(deletebresk_(L), 1) << k;
    EXPECT_EQ(modelptr_(id), nullptr) << k;
    EXPECT_EQ(L.MODELHANDLE, 0);
    deletebresk_(L);
  }
}

TEST(SolverBindings, StatusResetAndTimeLimit) {
  MasterRecord L;
  init_(L);
  L.CBOBJ = 3.0;
  L.CBITER = 9;
  L.LOGTAB[19][4] = 5;
  resetsolverstatus_(L);
  EXPECT_EQ(L.CBOBJ, 1e307);
  EXPECT_EQ(L.CBGENVAL, 0.0);
  EXPECT_EQ(L.CBITER, 0);
  EXPECT_EQ(L.CBSTEPS, -1);
  EXPECT_EQ(L.CBACTIVE, -1);
  EXPECT_EQ(L.LOGTAB[19][4], 0);

  int32_t r = 7;
  setclocksource_([](int32_t& h, int32_t&, int32_t&, int32_t&) { h = 0; });  // the clock reads 0
  L.TIMLIM = 0;
  L.TMSTART = -1000000;
  timeout_(L, r);
  EXPECT_EQ(r, 0);  // no limit set
  L.TIMLIM = 1;
  L.TMSTART = -200;  // 200 hundredths used
  timeout_(L, r);
  EXPECT_EQ(r, -1);
  // A clock that passes midnight adds a day instead of running backwards.
  L.TIMLIM = 100;
  L.TMSTART = 8639000;
  L.TMPREV = 8639000;
  L.TMDAYOFF = 0;
  timeout_(L, r);
  EXPECT_EQ(L.TMDAYOFF, 8640000);
  EXPECT_EQ(r, 0);
  setclocksource_(nullptr);
}

TEST(SolverBindings, MatrixCopyReleasedAndForgotten) {
  MasterRecord L;
  init_(L);
  Work W;
  W.w.assign(64001, 0);
  L.TOTWRD = 64000;
  intmem_(W, L);
  int32_t freeh = L.NFREEH;
  int32_t n = 100, st = 0;
  setblk_(6, n, W, L, L.MATCOEF, st);
  ASSERT_EQ(st, 0);
  n = 10;
  setblk_(2, n, W, L, L.MATCOLST, st);
  ASSERT_EQ(st, 0);
  EXPECT_EQ(L.NFREEH, freeh - 2);
  freematrix_(L);
  EXPECT_EQ(L.MATCOEF, 0);
  EXPECT_EQ(L.MATCOLST, 0);
  EXPECT_EQ(L.NFREEH, freeh);
  EXPECT_EQ(L.FREEWD, L.TOTWRD);
  // Forgetting every block (CLRMEM) leaves no handle of the matrix copy behind.
  setblk_(6, n, W, L, L.MATOBJ, st);
  addresethook_(L, matforget_);
  intmem_(W, L);
  EXPECT_EQ(L.MATOBJ, 0);
}
