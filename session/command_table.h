// The command table, defined once: keyword, category, allowed while the model is hidden.
// Categories: 1 Information, 2 Input, 3 Display, 4 File Output, 5 Solution, 6 Problem
// Editing, 7 Quit, 8 System Parameters, 9 Miscellaneous, 0 not listed by COM and CAT.
// The order decides matching. CMD_<keyword> is each entry's number.
#pragma once

#define QUIRN_COMMANDS(X)                                                                 \
  X(MODEL, 2, 1) X(LOOK, 3, 0) X(QUIT, 7, 1) X(COM, 1, 1) X(CAT, 1, 1) X(TAKE, 2, 1)      \
  X(GO, 5, 1) X(DEL, 6, 1) X(EXT, 6, 1) X(ALT, 6, 1) X(DIV, 4, 1) X(RVRT, 4, 1)           \
  X(REV, 0, 1) X(TRACE, 0, 0) X(EDIT, 0, 0) X(SOLU, 5, 1) X(NONZ, 5, 1) X(SAVE, 4, 1)     \
  X(GENL, 0, 0) X(GEN, 3, 0) X(HELP, 1, 1) X(PAGE, 8, 1) X(IPTOL, 0, 1) X(RANGE, 5, 1)    \
  X(TERS, 8, 1) X(VERB, 8, 1) X(BAT, 0, 1) X(MEM, 1, 1) X(CLRMEM, 0, 0) X(SMPS, 4, 0)     \
  X(PAUS, 3, 1) X(TIME, 9, 1) X(MIN, 0, 1) X(MAX, 0, 1) X(BIP, 0, 1) X(WIDTH, 8, 1)       \
  X(HMODEL, 0, 1) X(HIDE, 3, 1) X(SET, 8, 1) X(FREEZE, 8, 1) X(STATS, 3, 0)               \
  X(PICTURE, 3, 0) X(RMPS, 2, 1) X(FRMPS, 2, 1) X(DBUID, 8, 1) X(DBPWD, 8, 1)             \
  X(DEBUG, 5, 1) X(SMPI, 4, 0) X(INT, 0, 1) X(GIN, 0, 1) X(FREE, 0, 1) X(SLB, 0, 1)       \
  X(SUB, 0, 1) X(APISET, 8, 1)

enum QuirnCommand {
  CMD_NONE = 0,
#define QUIRN_CMD_ENUM(key, cat, hid) CMD_##key,
  QUIRN_COMMANDS(QUIRN_CMD_ENUM)
#undef QUIRN_CMD_ENUM
  CMD_COUNT_PLUS_ONE
};
constexpr int32_t NCMDS = CMD_COUNT_PLUS_ONE - 1;  // 54
constexpr int32_t NCATS = 9;
