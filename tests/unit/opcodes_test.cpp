// The opcode table: numbering, mnemonics and instruction lengths.
#include "language/opcodes.h"

#include <gtest/gtest.h>

#include <string>

TEST(Opcodes, MnemonicsAndLengths) {
  struct Case { int32_t op; const char* mnem8; int32_t a1, a2, words; };
  const Case cases[] = {
      {-17, "NOP ,   ", 0, 0, 1}, {-15, "NOP )   ", 41, 0, 2}, {-7, "ROWNAME ", 3, 0, 2},
      {0, "ENDROW  ", 3, 0, 2},    {1, "PUSHN   ", 0, 0, 3},   {3, "PUSHS   ", 1, 2, 3},
      {11, "PUSH INF", 0, 0, 1},   {13, "PUSH STR", 5, 0, 4},  {13, "PUSH STR", 0, 0, 2},
      {13, "PUSH STR", 8, 0, 4},   {16, "PUSHSR  ", 7, 2, 5},  {16, "PUSHSR  ", 7, 0, 3},
      {17, "X       ", 0, 0, 0},   {30, "X       ", 0, 0, 0},  {46, "X       ", 0, 0, 0},
      {31, "ADD     ", 0, 0, 1},   {45, "MIN     ", 0, 0, 1},  {75, "SMAX    ", 3, 0, 2},
      {78, "USER    ", 2, 0, 2},   {79, "IN      ", 4, 0, 2},  {82, "POW     ", 0, 0, 1},
      {94, "WRITE   ", 2, 0, 2},   {95, "        ", 0, 0, 1},  {98, "        ", 0, 0, 1},
      {99, "X       ", 0, 0, 0},   {-18, "X       ", 0, 0, 0}, {13, "PUSH STR", -1, 0, 0},
  };
  for (const Case& c : cases) {
    char m[9];
    opmnem8(c.op, m);
    EXPECT_EQ(std::string(m), c.mnem8) << c.op;
    EXPECT_EQ(opwords(c.op, c.a1, c.a2, 2), c.words) << c.op;
  }
}

TEST(Opcodes, CountsOfTheTable) {
  int valid = 0, listed = 0;
  for (int32_t op = OPMIN; op <= OPMAX; ++op) {
    if (opvalid(op)) ++valid;
    if (op <= OPLIST) ++listed;
  }
  EXPECT_EQ(listed, NINSTXT);
  EXPECT_EQ(valid, 116 - 4 - 8 - 5);  // all but the unused slots 17-20, 23-30, 46-50
  // Function opcodes follow the token rule: opcode = token + 9 from @ABS (51) to @WRITE (94).
  EXPECT_STREQ(opinfo(OP_ABS).mnem, "ABS");
  EXPECT_STREQ(opinfo(OP_WRITE).mnem, "WRITE");
}
