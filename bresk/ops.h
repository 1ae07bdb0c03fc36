// The instruction words the library accepts, their operand shapes and classes,
// and the scalar operations behind them.
#ifndef BRESK_OPS_H
#define BRESK_OPS_H

#include "bresk/internal.h"

namespace bresk {

// How an operation behaves for structure and derivatives.
enum OpClass : uint8_t {
  OC_PUSH,       // PUSHNUM / PUSHVAR: one operand word
  OC_SMOOTH,     // exact derivatives
  OC_NONSMOOTH,  // exact where defined, row marked nonsmooth
  OC_KERNEL,     // probability kernels: derivatives by central differences
  OC_RANDOM,     // RAND and USER: derivative 0, row marked with code 4
};

// Arity values beside 1..4.
constexpr int kArityPush = 0;     // one operand word follows
constexpr int kArityCounted = -1; // a count word follows

struct OpInfo {
  int code;
  const char* name;
  int arity;
  OpClass cls;
};

// The accepted operation of a code, or nullptr (markers 1000 / 1070 are not operations).
const OpInfo* op_info(int code);

// Applies one operation to its operands a[0..n-1] (deepest first); false on an
// arithmetic failure or a result that is not finite.
bool apply_op(BRmodel* m, int op, const double* a, int n, double* out);

// The power rule: base a, exponent b.
bool power_rule(double a, double b, double* out);

// Probability kernels and the uniform draw: whether a code is available, and
// its value (false on a domain failure).
bool kernel_available(int op);
bool kernel_eval(int op, const double* a, double* out);

} // namespace bresk

#endif
