// The modelling language's vocabulary, statement grammar and operator tables, built once from
// the data in vocab.cpp.
#pragma once
#include <cstdint>
#include "language/lang.h"

constexpr int NTOKENS = 116;
constexpr int NSTATES = 100;

// Token numbers used by the compiler.
enum Tok : int16_t {
  T_NUMBER = 1, T_NAME = 2, T_LINE = 3, T_NOT = 4, T_PLUS = 5, T_MINUS = 6, T_MUL = 7, T_DIV = 8, T_POW = 9,
  T_OR = 17, T_MAXEQ = 18, T_MINEQ = 19, T_END = 20, T_SEMI = 21, T_LE = 22, T_LT = 23, T_EQ = 24, T_GE = 25,
  T_GT = 26, T_RPAR = 27, T_COMMA = 28, T_COLON = 29, T_BAR = 30, T_AMP = 31, T_LBRK = 32, T_RBRK = 33,
  T_SIZE = 34, T_FOR = 35, T_SUM = 36, T_MAX = 37, T_MIN = 38, T_PROD = 39, T_WRITEFOR = 40, T_LPAR = 41,
  T_ABS = 42, T_SMAX = 66, T_SMIN = 67, T_USER = 69, T_IN = 70, T_DUAL = 76, T_STATUS = 77, T_WRITE = 85,
  T_CLASS = 89, T_GIN = 90, T_BND = 91, T_BIN = 92, T_FREE = 93, T_WARN = 94, T_IMPORT = 95, T_WKX = 96,
  T_OLE = 97, T_ODBC = 98, T_TEXT = 99, T_INDEX = 100, T_QRAND = 101, T_DATA = 102, T_ENDDATA = 103,
  T_QUEST = 104, T_SETS = 105, T_ENDSETS = 106, T_INIT = 108, T_ENDINIT = 109, T_TITLE = 110,
  T_POINTER = 111, T_QUOTED = 112, T_DOTDOT = 113, T_INTEGER = 114, T_CALC = 115, T_ENDCALC = 116
};

struct Grammar {
  int32_t nsinpt[NSTATES + 2];  // first entry of each state's row (1-based), one past the end last
  int16_t nsintx[1400];         // candidate tokens (1-based)
  int16_t kod2st[1400];         // next states, parallel
  int32_t nentries;
};

const Vocab& qrn_vocab();
const Grammar& qrn_grammar();
extern const int32_t NARGS[];    // tokens 41..94, index token-41; -1 any number
extern const int32_t NMODELOK[];  // tokens 41..96, index token-41; 0 not in a model statement
int32_t nprec(int32_t tok, int32_t unarym);  // precedence of operator tokens 3..17

// The row-by-row syntax.
constexpr int BRK_NTOK = 23;
constexpr int BRK_NSTATES = 15;
const Vocab& brk_vocab();
struct BrkGrammar {
  int32_t nsinpt[BRK_NSTATES + 2];
  int16_t nsintx[100];
  int16_t kod2st[100];
  int32_t nentries;
};
const BrkGrammar& brk_grammar();
