// The opcode table of the instruction stream.
#include "language/opcodes.h"

#include <cstring>

namespace {

constexpr OpInfo kUnused = {"X", OPS_UNUSED, 0};

// Entry i is opcode i + OPMIN.
constexpr OpInfo kOps[OPMAX - OPMIN + 1] = {
    {"NOP ,", OPS_NONE, 1},      // -17
    {"NOP (", OPS_NONE, 1},      // -16
    {"NOP )", OPS_INT, 2},       // -15 token of the closed group
    {"SUBND", OPS_NONE, 1},      // -14
    {"SLBND", OPS_NONE, 1},      // -13
    {"STOP", OPS_NONE, 1},       // -12
    {"BIN", OPS_NONE, 1},        // -11
    {"FREE", OPS_NONE, 1},       // -10
    {"IMPORT", OPS_NONE, 1},     // -9
    {"BND", OPS_NONE, 1},        // -8
    {"ROWNAME", OPS_ROWNAME, 2}, // -7
    {"GIN", OPS_NONE, 1},        // -6
    {"BEGCND", OPS_NONE, 1},     // -5
    {"ENDCND", OPS_NONE, 1},     // -4
    {"BEGFOR", OPS_NONE, 1},     // -3
    {"ENDFOR", OPS_NONE, 1},     // -2
    {"BEGROW", OPS_NONE, 1},     // -1
    {"ENDROW", OPS_ROWTYPE, 2},  // 0
    {"PUSHN", OPS_NUMBER, 0},    // 1  1 + DBLWD words
    {"PUSHV", OPS_VAR, 2},       // 2
    {"PUSHS", OPS_ATTR, 3},      // 3
    {"PUSHX", OPS_INT, 2},       // 4
    {"PUSHZ", OPS_INT, 2},       // 5
    {"SETUP", OPS_SET, 2},       // 6
    {"GETNEXT", OPS_INT, 2},     // 7
    {"GOTO", OPS_INT, 2},        // 8
    {"IFGOTO", OPS_INT, 2},      // 9
    {"POPSET", OPS_NONE, 1},     // 10
    {"PUSH INF", OPS_NONE, 1},   // 11
    {"PUSH ATX", OPS_INT, 2},    // 12
    {"PUSH STR", OPS_TEXT, 0},   // 13 2 + ceil(L/CHPWRD) words
    {"WRITEFOR", OPS_INT, 2},    // 14
    {"PUSHSETN", OPS_SET, 2},    // 15
    {"PUSHSR", OPS_ROWREF, 0},   // 16 3 + n words
    kUnused, kUnused, kUnused, kUnused,  // 17-20
    {"NEGATE", OPS_NONE, 1},     // 21
    {"NOT", OPS_NONE, 1},        // 22
    kUnused, kUnused, kUnused, kUnused, kUnused, kUnused, kUnused, kUnused,  // 23-30
    {"ADD", OPS_NONE, 1},        // 31
    {"SUB", OPS_NONE, 1},        // 32
    {"MUL", OPS_NONE, 1},        // 33
    {"DIV", OPS_NONE, 1},        // 34
    {"POW", OPS_NONE, 1},        // 35
    {"CMPEQ", OPS_NONE, 1},      // 36
    {"CMPNE", OPS_NONE, 1},      // 37
    {"CMPLE", OPS_NONE, 1},      // 38
    {"CMPGE", OPS_NONE, 1},      // 39
    {"CMPLT", OPS_NONE, 1},      // 40
    {"CMPGT", OPS_NONE, 1},      // 41
    {"AND", OPS_NONE, 1},        // 42
    {"OR", OPS_NONE, 1},         // 43
    {"MAX", OPS_NONE, 1},        // 44
    {"MIN", OPS_NONE, 1},        // 45
    kUnused, kUnused, kUnused, kUnused, kUnused,  // 46-50
    {"ABS", OPS_NONE, 1},        // 51
    {"SIN", OPS_NONE, 1},        // 52
    {"COS", OPS_NONE, 1},        // 53
    {"TAN", OPS_NONE, 1},        // 54
    {"LOG", OPS_NONE, 1},        // 55
    {"EXP", OPS_NONE, 1},        // 56
    {"FPA", OPS_NONE, 1},        // 57
    {"FPL", OPS_NONE, 1},        // 58
    {"PSN", OPS_NONE, 1},        // 59
    {"PSL", OPS_NONE, 1},        // 60
    {"PBN", OPS_NONE, 1},        // 61
    {"PEL", OPS_NONE, 1},        // 62
    {"PEB", OPS_NONE, 1},        // 63
    {"PPS", OPS_NONE, 1},        // 64
    {"PPL", OPS_NONE, 1},        // 65
    {"PFS", OPS_NONE, 1},        // 66
    {"PTD", OPS_NONE, 1},        // 67
    {"PCX", OPS_NONE, 1},        // 68
    {"PFD", OPS_NONE, 1},        // 69
    {"LGM", OPS_NONE, 1},        // 70
    {"SIGN", OPS_NONE, 1},       // 71
    {"FLOOR", OPS_NONE, 1},      // 72
    {"PHG", OPS_NONE, 1},        // 73
    {"WRAP", OPS_NONE, 1},       // 74
    {"SMAX", OPS_INT, 2},        // 75 argument count
    {"SMIN", OPS_INT, 2},        // 76 argument count
    {"RAND", OPS_NONE, 1},       // 77
    {"USER", OPS_INT, 2},        // 78 argument count
    {"IN", OPS_SET, 2},          // 79
    {"IF", OPS_NONE, 1},         // 80
    {"SQRT", OPS_NONE, 1},       // 81
    {"POW", OPS_NONE, 1},        // 82
    {"SQR", OPS_NONE, 1},        // 83
    {"MOD", OPS_NONE, 1},        // 84
    {"DUAL", OPS_NONE, 1},       // 85
    {"STATUS", OPS_NONE, 1},     // 86
    {"RANGEU", OPS_NONE, 1},     // 87
    {"RANGED", OPS_NONE, 1},     // 88
    {"FORMAT", OPS_NONE, 1},     // 89
    {"STRLEN", OPS_NONE, 1},     // 90
    {"NEWLINE", OPS_NONE, 1},    // 91
    {"ITERS", OPS_NONE, 1},      // 92
    {"NAME", OPS_NONE, 1},       // 93
    {"WRITE", OPS_INT, 2},       // 94 argument count
    {"", OPS_NONE, 1},           // 95 @RIM: written, not listed, not run
    {"", OPS_NONE, 1},           // 96 @NONZ
    {"", OPS_NONE, 1},           // 97 @TYPE
    {"", OPS_NONE, 1},           // 98 @CLASS
};

}  // namespace

const OpInfo& opinfo(int32_t op) {
  if (op < OPMIN || op > OPMAX) return kUnused;
  return kOps[op - OPMIN];
}

bool opvalid(int32_t op) { return opinfo(op).shape != OPS_UNUSED; }

int32_t opwords(int32_t op, int32_t a1, int32_t a2, int32_t dblwd) {
  const OpInfo& e = opinfo(op);
  switch (e.shape) {
    case OPS_UNUSED: return 0;
    case OPS_NUMBER: return 1 + dblwd;
    case OPS_TEXT: return a1 < 0 ? 0 : 2 + (a1 + CHPWRD - 1) / CHPWRD;
    case OPS_ROWREF: return a2 < 0 ? 0 : 3 + a2;
    default: return e.words;
  }
}

void opmnem8(int32_t op, char out[9]) {
  const char* m = opinfo(op).mnem;
  size_t n = std::strlen(m);
  std::memset(out, ' ', 8);
  std::memcpy(out, m, n > 8 ? 8 : n);
  out[8] = '\0';
}
