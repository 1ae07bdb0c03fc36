// The generated rows and the per-variable state of a generation: written by the symbolic
// executor and the structural analyser, read by the linearity check, the section solver,
// the scalar code emitter and the generation driver. The handles are in gen_fields.h (and
// ROWTYPES, ROWMAP, NROWS and the variable arrays in the store's catalogue); every block
// is released with the model by recovr_.
//
// Three conventions hold for every interpreter of the instruction stream:
//
// 1. The word 1070. It is a code of the scalar instruction list (the bracket marker that
//    the emitter writes for "NOP (", "NOP )" and "NOP ,"), never an opcode of the
//    instruction stream: the compiler writes opcodes -17..98 only, and operand words are
//    always stepped over by the shape of their instruction. So no interpreter passes over
//    1070: one that meets it where an opcode is read treats it as any opcode it cannot run
//    (the command ends with a message).
//
// 2. A row's index words. Row r owns words ROWIXS(r) .. ROWIXS(r+1)-1 of ROWIXW, 2n words
//    for the n index registers in use when the row ended (those of its enclosing @FOR
//    loops): first the n set numbers (for each loop, outermost first, a primitive set
//    itself, a derived set the primitive set of each of its positions: the sets the
//    compiler writes after PUSHSR), then the n register values (member positions). Named
//    or not, every row has this layout; a re-run of the row loads registers 1..n from the
//    second half (rowregs below). The row search (getrx2_) and the row names (rdx2nh_)
//    read the same words.
//
// 3. The fixing pass. VARFIX(v) is the last analysis pass in which v's value was not yet
//    known: 0 for a value given in DATA or computed by CALC (a CALC statement runs as pass
//    1 and stores pass - 1), p for a value the analysis solved in pass p; solving it again
//    in a later pass keeps the smaller number; 2147483640 (UNFIXED) when never fixed. A
//    row or bound statement is generated in pass p when the latest fixing pass among the
//    variables its conditions read equals p - 1, so each row is generated exactly once.
//
// Per-row arrays (element r = row r, 1..NROWS; the start lists have NROWS + 1 entries):
//   ROWTYPES  row type: -2 MIN objective, -1 >=, 0 =, 1 <=, 2 MAX objective, 3 bound row
//   ROWSTP    statement position: the code position the row is run from (its BEGROW, or
//             the word after its ROWNAME operand); the run ends at the row's ENDROW
//   ROWRNM    row-name number (0: unnamed)
//   ROWIXS    start of the row's index words in ROWIXW (NROWIX words used)
//   ROWVST    start of the row's variables in ROWVAR (NROWVAR words used): each variable
//             of the row once, in order of appearance, parameters (kinds 5, 6) left out
//   ROWORD    position k -> row; ROWMAP row -> position. After the analysis positions
//             1..NFIXED hold the rows that fixed a variable, then the other rows in row
//             order.
//   ROWVAL    (real) the row's value at the point the section solver left it
// Per-variable arrays (element v = variable v):
//   VARKND    kind: below 4 unfixed (1 free), 4 fixed by the analysis, 5 and 6 parameters
//             (6 given in DATA or fixed by a CALC definition)
//   VARVAL    value of a fixed variable, start value of an unfixed one (real)
//   VARFIX    fixing pass (convention 3)
//   VARINT    integer flag: 1 after @GIN or @BIN
//   VARLB, VARUB  bounds (real); (0, -BIG) means free, (0, >= BIG) untouched
//   VARORD    position k -> variable; VARPOS variable -> position. After the analysis
//             positions 1..NFIXED hold the variables the analysis fixed (paired with the
//             rows at the same positions), then the other variables in index order.
// Scalars: NROWS rows, OBJROW the objective row (0 none), NFIXED solved pairs; UNIQBLK
// holds NUNIQ (row, variable) pairs whose root was not unique.
#pragma once
#include <cstdint>

#include "generate/blk.h"
#include "store/master.h"
#include "store/work.h"

// Row types (ENDROW operand).
constexpr int32_t RT_MIN = -2, RT_GE = -1, RT_EQ = 0, RT_LE = 1, RT_MAX = 2, RT_BOUND = 3;
// Variable kinds.
constexpr int32_t VK_FREE = 1, VK_FIXED = 4, VK_PARAM = 5, VK_DEFINED = 6;

// Number of index registers row r sets (half its index words).
inline int32_t rowregcount(const Work& A, const MasterRecord& L, int32_t r) {
  return (bgeti(A, L, L.ROWIXS, r + 1) - bgeti(A, L, L.ROWIXS, r)) / 2;
}

// Loads row r's index registers 1..n from its index words and sets the register count;
// returns n.
inline int32_t rowregs(const Work& A, MasterRecord& L, int32_t r) {
  const int32_t st = bgeti(A, L, L.ROWIXS, r);
  int32_t n = rowregcount(A, L, r);
  if (n > XIRLIM) n = XIRLIM;
  for (int32_t j = 1; j <= n; ++j) L.IREG[j] = bgeti(A, L, L.ROWIXW, (int64_t)st + n + j - 1);
  L.IRCNT = n;
  return n;
}
