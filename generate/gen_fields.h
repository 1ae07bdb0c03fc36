// Master-record fields owned by the generate subsystem.
#pragma once
#include <cstdint>
#include "generate/scalar_fields.h"

// Interpreter stack entry tags.
constexpr int32_t TAGNUM = -16000;  // a number
constexpr int32_t TAGTXT = -16001;  // a text: value = length, index = its block handle
constexpr int32_t TAGROW = -16002;  // a row reference: index = generated row
constexpr int32_t TAGVAR = -16003;  // a variable reference: index = variable
constexpr int32_t TAGERR = -100;    // an entry that carries an error
constexpr int32_t XSTKLIM = 512;    // entries of the interpreter stack
constexpr int32_t XIRLIM = 60;      // index registers
constexpr int32_t XLFLIM = 80;      // loop-frame words (4 per frame)
constexpr int32_t XTXTLIM = 64;     // text slots per run
constexpr int32_t VXHINTS = 16;     // sets whose latest look-up position is kept (a power of 2)

struct GenFields : ScalarFields {
  // ---- numeric interpreter: stack, registers, loop frames ----
  double STKVAL[XSTKLIM + 2] = {};   // entry values 1..512
  int32_t STKTAG[XSTKLIM + 2] = {};  // entry tags
  int32_t STKIDX[XSTKLIM + 2] = {};  // entry indices (-1 plain number)
  int32_t STKPER[XSTKLIM + 2] = {};  // pending-error number carried by the entry
  int32_t STKTOP = 0;                // stack depth
  int32_t XIP = 0;                   // instruction pointer
  int32_t LFDEPTH = 0;               // loop-frame depth in words
  int32_t LFRAME[XLFLIM + 5] = {};   // frames: set, last, step, current
  // per frame: 0 walks the set's members in storage order; else the heap list of the
  // members it walks (current and last are then elements of that list)
  int32_t LFLIST[XLFLIM / 4 + 2] = {};
  int32_t IRCNT = 0;                 // index registers in use
  int32_t IREG[XIRLIM + 2] = {};     // index registers 1..60
  int32_t XTXT[XTXTLIM + 1] = {};    // text-slot block handles of the current run
  int32_t XTXTN = 0;                 // text slots in use
  // set s's latest position found in its sorted order, kept in slot s % VXHINTS while
  // VXHSET of the slot is s: the next look-up of s searches outward from there, first
  // trying the latest move between two positions found (VXHMOVE) once more
  int32_t VXHSET[VXHINTS] = {}, VXHPOS[VXHINTS] = {}, VXHMOVE[VXHINTS] = {};
  // pending errors of the current run: integer and real record blocks, count, capacity
  int32_t PEIBLK = 0, PERBLK = 0, PECNT = 0, PECAP = 0;

  // ---- @USER: asked once per session ----
  int32_t USRASK = 0;   // 1 once the user has answered
  int32_t USRPST = 0;   // -1 while the prompt is open
  double USRANS = 0.0;  // the answer

  // ---- solution read by the accessors ----
  int32_t SOLKND = 0;    // 0 primal values only, 1 with duals, 2 with ranges
  double ZEROTOL = 0.0;  // values at or below it in magnitude print as 0
  int32_t ITERS = 0;     // iteration count last reported by the solve callback

  // ---- generated model blocks read by the interpreter and the accessors (handles) ----
  int32_t ROWSLK = 0;  // per-row slack (reals)
  int32_t ROWDUL = 0;  // per-row dual price (reals)
  int32_t RCURSR = 0;  // last row found by the row search

  // ---- the generated rows (layout and conventions in generate/rows.h) ----
  // per-row arrays, ROWCAP entries each, grown together by grwrow_ (store), beside ROWTYPES
  // (row type) and ROWMAP (row -> position) of the store's catalogue
  int32_t ROWORD = 0;  // position k -> row
  int32_t ROWSTP = 0;  // statement position: where the row's code is run from
  int32_t ROWRNM = 0;  // row-name number, 0 = unnamed
  int32_t ROWIXS = 0;  // start of the row's index words in ROWIXW (NROWS + 1 entries)
  int32_t ROWVST = 0;  // start of the row's variables in ROWVAR (NROWS + 1 entries)
  int32_t ROWSNS = 0;  // per-row sense code of the solution
  int32_t ROWVAL = 0;  // value of the row at the point the analysis solved it (reals)
  // shared lists: index words of all rows, variables of all rows
  int32_t ROWIXW = 0, NROWIX = 0, ROWIXCAP = 0;
  int32_t ROWVAR = 0, NROWVAR = 0, ROWVARCAP = 0;
  // per-variable permutation: position k -> variable, variable -> position
  int32_t VARORD = 0, VARPOS = 0;
  int32_t OBJROW = 0;  // row of the objective, 0 = none
  int32_t NFIXED = 0;  // (row, variable) pairs the analysis solved: positions 1..NFIXED
  // working blocks of one analysis: per-variable marks, the current row's variables
  int32_t SXMARK = 0, SXLIST = 0;

  // ---- section solver: the root finder's points, values, hints and flags (1..4) ----
  double SSXV[5] = {}, SSFV[5] = {}, SSHINT[5] = {};
  int32_t SSISFZ[5] = {};
  int32_t SSARITH = 0;  // evaluations that failed arithmetically in the last solve

  // ---- linear-form term pool ----
  int32_t LFFREE = 0;  // first free slot (0 or below: none)
  int32_t LFSIZE = 0;  // slots in the pool
};
