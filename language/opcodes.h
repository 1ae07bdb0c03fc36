// The opcodes of the instruction stream: their numbers, mnemonics and operand shapes.
// The table in opcodes.cpp is the one definition; the compiler, the interpreters and the
// listing all read it.
#pragma once
#include <cstdint>

// Opcode numbers (-17..98). Markers are 0 or below; 17-20, 23-30 and 46-50 are unused.
enum Opcode : int32_t {
  OP_NOPCOMMA = -17, OP_NOPOPEN = -16, OP_NOPCLOSE = -15, OP_SUBND = -14, OP_SLBND = -13,
  OP_STOP = -12, OP_BIN = -11, OP_FREE = -10, OP_IMPORT = -9, OP_BND = -8, OP_ROWNAME = -7,
  OP_GIN = -6, OP_BEGCND = -5, OP_ENDCND = -4, OP_BEGFOR = -3, OP_ENDFOR = -2, OP_BEGROW = -1,
  OP_ENDROW = 0,
  OP_PUSHN = 1, OP_PUSHV = 2, OP_PUSHS = 3, OP_PUSHX = 4, OP_PUSHZ = 5, OP_SETUP = 6,
  OP_GETNEXT = 7, OP_GOTO = 8, OP_IFGOTO = 9, OP_POPSET = 10, OP_PUSHINF = 11, OP_PUSHATX = 12,
  OP_PUSHSTR = 13, OP_WRITEFOR = 14, OP_PUSHSETN = 15, OP_PUSHSR = 16,
  OP_NEGATE = 21, OP_NOT = 22,
  OP_ADD = 31, OP_SUB = 32, OP_MUL = 33, OP_DIV = 34, OP_POW = 35, OP_CMPEQ = 36, OP_CMPNE = 37,
  OP_CMPLE = 38, OP_CMPGE = 39, OP_CMPLT = 40, OP_CMPGT = 41, OP_AND = 42, OP_OR = 43,
  OP_MAX = 44, OP_MIN = 45,
  OP_ABS = 51, OP_SIN = 52, OP_COS = 53, OP_TAN = 54, OP_LOG = 55, OP_EXP = 56, OP_FPA = 57,
  OP_FPL = 58, OP_PSN = 59, OP_PSL = 60, OP_PBN = 61, OP_PEL = 62, OP_PEB = 63, OP_PPS = 64,
  OP_PPL = 65, OP_PFS = 66, OP_PTD = 67, OP_PCX = 68, OP_PFD = 69, OP_LGM = 70, OP_SIGN = 71,
  OP_FLOOR = 72, OP_PHG = 73, OP_WRAP = 74, OP_SMAX = 75, OP_SMIN = 76, OP_RAND = 77,
  OP_USER = 78, OP_IN = 79, OP_IF = 80, OP_SQRT = 81, OP_POWF = 82, OP_SQR = 83, OP_MOD = 84,
  OP_DUAL = 85, OP_STATUS = 86, OP_RANGEU = 87, OP_RANGED = 88, OP_FORMAT = 89,
  OP_STRLEN = 90, OP_NEWLINE = 91, OP_ITERS = 92, OP_NAME = 93, OP_WRITE = 94,
  OP_RIM = 95, OP_NONZ = 96, OP_TYPE = 97, OP_CLASS = 98,
};

constexpr int32_t OPMIN = -17;     // lowest opcode
constexpr int32_t OPLIST = 94;     // highest opcode with a listing mnemonic
constexpr int32_t OPMAX = 98;      // highest opcode the compiler writes
constexpr int32_t NINSTXT = 112;   // listing mnemonics: opcode c is entry c + 18 (1-based)
constexpr int32_t CHPWRD = 4;      // characters packed per word of an inline text

// How the operand words of an instruction are shaped (and how the listing prints them).
enum OpShape : int8_t {
  OPS_UNUSED = 0,   // no instruction has this number
  OPS_NONE,         // opcode word only
  OPS_ROWTYPE,      // ENDROW: row type -2..3
  OPS_NUMBER,       // PUSHN: the inline double in DBLWD words
  OPS_VAR,          // PUSHV: scalar-variable number
  OPS_ATTR,         // PUSHS: attribute position, owning set
  OPS_INT,          // one integer operand (offset, register, count, token)
  OPS_SET,          // one set number
  OPS_TEXT,         // PUSH STR: character count L, then ceil(L/CHPWRD) packed words
  OPS_ROWREF,       // PUSHSR: row-name number, n, then n set numbers
  OPS_ROWNAME,      // ROWNAME: row-name number
};

struct OpInfo {
  const char* mnem;  // mnemonic, at most 8 characters ("X" when unused, "" for 95-98)
  OpShape shape;     // operand shape
  int8_t words;      // words including the opcode word; 0 when it depends on the operands
};

// The entry of an opcode; an opcode outside OPMIN..OPMAX gets the unused entry.
const OpInfo& opinfo(int32_t op);

// True when op is an instruction that may appear in a stream (OPMIN..OPMAX, not unused).
bool opvalid(int32_t op);

// Number of words taken by the instruction op whose first two operand words are a1 and
// a2 (pass 0 when absent), with dblwd words per inline number. 0 for an unused opcode or
// a negative count.
int32_t opwords(int32_t op, int32_t a1, int32_t a2, int32_t dblwd);

// The 8-character blank-padded listing mnemonic of op (NUL-terminated into out[9]).
void opmnem8(int32_t op, char out[9]);
