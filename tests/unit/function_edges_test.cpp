// Every function of the language at the edges of its domain gives the same outcome in the
// program's interpreter and in the solver library's evaluator: both fail, or both give the
// same value (underflow included), so that a model means the same at generation and in
// the solve.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bresk/ops.h"
#include "generate/xshared.h"

namespace {

struct EdgeCase {
  int32_t op;        // the interpreter's opcode
  int code;          // the library's operation code
  std::vector<double> args;
};

// The interpreter's value of op on args: 0 and r, or its failure status.
int32_t interpreted(const MasterRecord& L, const EdgeCase& c, double& r) {
  double err = 0.0;
  if (xprobargs(c.op) > 0) return xnumprob(c.op, c.args.data(), r, err);
  if (c.args.size() == 1) return xnum1(L, c.op, c.args[0], r, err);
  return xnum2(L, c.op, c.args[0], c.args[1], r, err);
}

}  // namespace

TEST(FunctionEdges, InterpreterAndLibraryAgree) {
  MasterRecord L;
  L.BIGNUM = 1e307;
  L.BIGLOG = std::log(1e307);
  const double lnbig = std::log(1e307);
  const std::vector<EdgeCase> cases = {
      // @EXP: underflow gives the smallest value, overflow the largest, on both sides
      {OP_EXP, 1030, {-lnbig}}, {OP_EXP, 1030, {-706.9}}, {OP_EXP, 1030, {-708}},
      {OP_EXP, 1030, {-800}}, {OP_EXP, 1030, {-1e300}}, {OP_EXP, 1030, {-706.8}},
      {OP_EXP, 1030, {706.8}}, {OP_EXP, 1030, {lnbig}}, {OP_EXP, 1030, {800}},
      // @LOG, @SQRT, @LGM at zero and just inside
      {OP_LOG, 1021, {1e-30}}, {OP_LOG, 1021, {9.9e-31}}, {OP_LOG, 1021, {0}}, {OP_LOG, 1021, {-1}},
      {OP_LOG, 1021, {1e307}},
      {OP_SQRT, 1019, {0}}, {OP_SQRT, 1019, {-0.0}}, {OP_SQRT, 1019, {-1e-300}},
      {OP_LGM, 1037, {1e-30}}, {OP_LGM, 1037, {0}}, {OP_LGM, 1037, {-1}}, {OP_LGM, 1037, {1}}, {OP_LGM, 1037, {1.5}},
      {OP_LGM, 1037, {200}},
      // division and the remainders by (nearly) zero
      {OP_DIV, 1004, {1, 1e-30}}, {OP_DIV, 1004, {1, 9.9e-31}}, {OP_DIV, 1004, {1, -1e-30}},
      {OP_DIV, 1004, {0, 0}},
      {OP_MOD, 1031, {5, 0}}, {OP_MOD, 1031, {5, 1e-31}}, {OP_MOD, 1031, {5, 1e-30}},
      {OP_MOD, 1031, {-7, 3}},
      {OP_WRAP, 1048, {5, 0}}, {OP_WRAP, 1048, {5, 1e-31}}, {OP_WRAP, 1048, {5, -2}},
      {OP_WRAP, 1048, {-5, 3}},
      // powers: zero bases, negative bases, overflow and underflow
      {OP_POW, 1005, {0, 2}}, {OP_POW, 1005, {0, 0}}, {OP_POW, 1005, {0, -1}},
      {OP_POW, 1005, {0, 1e-31}}, {OP_POW, 1005, {-2, 3}}, {OP_POW, 1005, {-2, 2}},
      {OP_POW, 1005, {-2, 0.5}}, {OP_POW, 1005, {10, 400}}, {OP_POW, 1005, {10, -400}},
      {OP_POW, 1005, {0.1, 400}}, {OP_POW, 1005, {0.1, -400}}, {OP_POW, 1005, {-10, -401}},
      {OP_POW, 1005, {2, 1019}}, {OP_POW, 1005, {2, 1020}}, {OP_POW, 1005, {1e-300, 2}},
      // @FLOOR beyond the integers, @SIGN at zero
      {OP_FLOOR, 1039, {2147483640}}, {OP_FLOOR, 1039, {2147483641.5}}, {OP_FLOOR, 1039, {-1e20}},
      {OP_FLOOR, 1039, {-2.5}}, {OP_SIGN, 1038, {0}}, {OP_SIGN, 1038, {-1e-300}},
      // financial functions at zero rates and negative arguments
      {OP_FPA, 1040, {0, 5}}, {OP_FPA, 1040, {-0.1, 5}}, {OP_FPA, 1040, {0.1, -1}},
      {OP_FPL, 1041, {0, 5}}, {OP_FPL, 1041, {-1e-300, 5}}, {OP_FPL, 1041, {1e300, 1e300}},
      // normal distribution far out
      {OP_PSN, 1035, {-40}}, {OP_PSN, 1035, {40}}, {OP_PSL, 1036, {-40}}, {OP_PSL, 1036, {40}},
      // probability functions at and beyond the edges of their arguments
      {OP_PBN, 1049, {0.5, 10, 3}}, {OP_PBN, 1049, {-0.1, 10, 3}}, {OP_PBN, 1049, {0.5, -1, 3}},
      {OP_PBN, 1049, {0, 0, 0}}, {OP_PBN, 1049, {1.5, 10, 3}},
      {OP_PEL, 1042, {2, 0}}, {OP_PEL, 1042, {-1, 2}}, {OP_PEL, 1042, {2, -1}},
      {OP_PEB, 1043, {2, 0}}, {OP_PEB, 1043, {-1, 2}}, {OP_PEB, 1043, {0, 0}},
      {OP_PPS, 1044, {0, 0}}, {OP_PPS, 1044, {-1, 2}}, {OP_PPS, 1044, {3, -1}},
      {OP_PPL, 1045, {0, 0}}, {OP_PPL, 1045, {-1, 2}}, {OP_PPL, 1045, {3, -1}},
      {OP_PTD, 1046, {0, 1}}, {OP_PTD, 1046, {-1, 1}}, {OP_PTD, 1046, {3, -1e10}},
      {OP_PCX, 1047, {0, 1}}, {OP_PCX, 1047, {-1, 1}}, {OP_PCX, 1047, {3, -1}},
      {OP_PFS, 1050, {0, 0, 0}}, {OP_PFS, 1050, {-1, 2, 3}}, {OP_PFS, 1050, {1, 2, -3}},
      {OP_PFD, 1051, {0, 0, 0}}, {OP_PFD, 1051, {-1, 2, 3}}, {OP_PFD, 1051, {1, -2, 3}},
      {OP_PHG, 1052, {0, 0, 0, 0}}, {OP_PHG, 1052, {-1, 2, 3, 1}}, {OP_PHG, 1052, {10, 5, 3, 11}},
      {OP_PHG, 1052, {10, 5, 3, 2}},
  };
  for (const EdgeCase& c : cases) {
    std::string what = "opcode " + std::to_string(c.op) + " of";
    char num[32];
    for (double a : c.args) {
      std::snprintf(num, sizeof num, " %.17g", a);
      what += num;
    }
    double want = 0.0, got = 0.0;
    const bool ours = interpreted(L, c, want) == 0;
    const bool lib = bresk::apply_op(nullptr, c.code, c.args.data(), static_cast<int>(c.args.size()), &got);
    EXPECT_EQ(lib, ours) << what << (ours ? ": the interpreter gives " + std::to_string(want)
                                          : ": the interpreter fails");
    if (ours && lib) {
      EXPECT_NEAR(got, want, 1e-12 * std::max(1.0, std::fabs(want))) << what;
    }
  }
}
