// A session for the solver tests: the front end's fixture with a solver environment, terse
// reports, and the last model's lists released at the end as the session does.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "generate/scalar.h"
#include "language/lang_test_fixture.h"
#include "session/session.h"
#include "solver/solver.h"

struct SolveSession : FrontFixture {
  SolveSession() {
    createbresk_(L);
    L.TERSEO = 1;
  }
  ~SolveSession() {
    freescalarlists_(L);
    deletebresk_(L);
  }
  // Runs f with standard output captured; returns what it printed.
  template <class F>
  std::string captured(F f) {
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
  }
  // Runs the solve driver in the given mode; returns what it printed.
  std::string go(int32_t mode = 0) {
    return captured([&] { solver_(W, L, mode, " "); });
  }
};
