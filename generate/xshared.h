// What the interpreters of the instruction stream share: the set-loop frames with their
// index registers and jump checks, the operand fetches of the pushes, the steps common to
// their stacks, and the value of every numeric operator and function on known numbers.
// Each interpreter keeps its own rules (what a value is, which opcodes it refuses) in its
// own switch and calls these for the common part; the small ones are inline, for the hot
// path.
#pragma once
#include <cstdint>

#include "generate/eval.h"
#include "language/lang.h"
#include "language/opcodes.h"
#include "store/heap.h"
#include "store/master.h"
#include "store/store.h"
#include "store/work.h"

constexpr int32_t XBADOP = 17;  // status of an instruction an interpreter cannot run

// Open set loops of one run: where each frame's SETUP stands and whether its GETNEXT has
// exited. A jump backward must land on the innermost loop's GETNEXT and a loop that has
// exited must be closed, so every run of a stream ends.
struct XLoops {
  int32_t setupat[XLFLIM / 4 + 2] = {};
  bool exited[XLFLIM / 4 + 2] = {};
  int32_t nframes = 0;
};

// Limits of the master record in force (stack entries, index registers, frame words).
int32_t xstklim(const MasterRecord& L);
int32_t xirlim(const MasterRecord& L);
int32_t xlflim(const MasterRecord& L);

// SETUP s at position ip of code words cw[1..clen]: opens a frame and takes max(d, 1)
// index registers. 0 done, 8 frame or register overflow, XBADOP a corrupt set.
int32_t xsetup(const Work& A, MasterRecord& L, XLoops& F, int32_t s, const int32_t* cw, int64_t clen,
               int64_t ip);
// The SETUP instruction at ip (its set in cw[ip + 1]): xsetup, and ip moved past it when done.
inline int32_t xsetupat(const Work& A, MasterRecord& L, XLoops& F, const int32_t* cw, int64_t clen,
                        int64_t& ip) {
  const int32_t r = xsetup(A, L, F, cw[ip + 1], cw, clen, ip);
  if (r == 0) ip += 2;
  return r;
}
// The frame just opened by the SETUP at ip: when the loop's only condition is that
// positions of its member equal indices of enclosing loops, the frame walks only the
// members that agree at one such position (of a primitive set, the one member); the others
// would each fail the condition. Every interpreter calls it right after opening a frame.
void xnarrow(const Work& A, MasterRecord& L, const int32_t* cw, int64_t clen, int64_t ip);
// GETNEXT at ip with exit offset off: loads the next member into the registers and moves
// ip past the instruction, or jumps out when the loop is done. 0 done, XBADOP corrupt.
inline int32_t xgetnext(const Work& A, MasterRecord& L, XLoops& F, int64_t& ip, int32_t off) {
  if (L.LFDEPTH < 4 || F.nframes < 1 || F.exited[F.nframes]) return XBADOP;
  const int32_t f = L.LFDEPTH - 3;
  const int32_t step = L.LFRAME[f + 2];
  const int32_t as = step < 0 ? -step : step;
  if (L.IRCNT < as) return XBADOP;
  const int32_t list = L.LFLIST[L.LFDEPTH >> 2];
  const int32_t cur = L.LFRAME[f + 3] + (list != 0 ? 1 : as);
  L.LFRAME[f + 3] = cur;
  if (cur > L.LFRAME[f + 1]) {
    const int64_t to = ip + 1 + (int64_t)off;
    if (to <= ip) return XBADOP;
    F.exited[F.nframes] = true;
    ip = to;
    return 0;
  }
  if (list != 0) {
    const int32_t* const el = A.w.data() + ((int64_t)L.START[L.NDRVEL] + IGETCM_(list, cur) - 1);
    for (int32_t j = 0; j < step; ++j) L.IREG[L.IRCNT - step + 1 + j] = el[j];
  } else if (step < 0) {
    L.IREG[L.IRCNT] = cur;
  } else {
    const int32_t* const el = A.w.data() + ((int64_t)L.START[L.NDRVEL] + cur - 1);
    for (int32_t j = 0; j < step; ++j) L.IREG[L.IRCNT - step + 1 + j] = el[j];
  }
  ip += 2;
  return 0;
}
// POPSET: closes the innermost frame and releases its registers. 0 done, XBADOP corrupt.
int32_t xpopset(MasterRecord& L, XLoops& F);
// The POPSET instruction at ip: xpopset, and ip moved past it; false when corrupt.
inline bool xpopsetat(MasterRecord& L, XLoops& F, int64_t& ip) {
  if (xpopset(L, F) != 0) return false;
  ip += 1;
  return true;
}
// True when a jump from ip to `to` in code words cw[1..clen] is allowed.
inline bool xjumpok(const XLoops& F, const int32_t* cw, int64_t clen, int64_t ip, int64_t to) {
  if (to > ip) return true;
  return F.nframes >= 1 && to == F.setupat[F.nframes] + 2 && to >= 1 && to <= clen &&
         cw[to] == OP_GETNEXT;
}
// The GOTO or IFGOTO at ip once its condition is settled: moves ip to the target when jump
// is set, past the instruction otherwise; false when the jump is not allowed.
inline bool xjump(const XLoops& F, const int32_t* cw, int64_t clen, int64_t& ip, bool jump) {
  if (!jump) { ip += 2; return true; }
  const int64_t to = ip + 1 + (int64_t)cw[ip + 1];
  if (!xjumpok(F, cw, clen, ip, to)) return false;
  ip = to;
  return true;
}

// Operand fetch of the pushes of a known number: the number pushed by the PUSHN at ip,
// with ip moved past the instruction.
inline void xfetchn(const MasterRecord& L, const int32_t* cw, int64_t& ip, double& v) {
  int2dp_(L, cw + ip + 1, v);
  ip += 3;
}
// The same for PUSHX (reg = IREG, lim = XIRLIM) and PUSHATX (reg = CURTUP, lim = NDXMAX);
// false (ip kept) when the operand lies outside 1..lim.
inline bool xfetchreg(const int32_t* reg, int32_t lim, const int32_t* cw, int64_t& ip, double& v) {
  const int32_t k = cw[ip + 1];
  if (k < 1 || k > lim) return false;
  v = (double)reg[k];
  ip += 2;
  return true;
}
// Entries a set's subscripts take on the stack (its dimension, at least 1); 0 when s is no set.
inline int32_t xsetwidth(const Work& A, const MasterRecord& L, int32_t s) {
  if (s < 1 || s > L.NSETS) return 0;
  const int32_t d = setdim(A, L, s);
  return d > 1 ? d : 1;
}
// Largest (SMAX) or smallest (SMIN) of g[0 .. n - 1], n >= 1.
inline double xextreme(int32_t op, const double* g, int32_t n) {
  double r = g[0];
  for (int32_t j = 1; j < n; ++j) r = op == OP_SMAX ? (g[j] > r ? g[j] : r) : (g[j] < r ? g[j] : r);
  return r;
}
// IF on a decided condition in entry sp - 2: the chosen entry replaces the three.
inline void xpick(MasterRecord& L, int32_t& sp) {
  const int32_t pick = L.STKVAL[sp - 2] != 0.0 ? sp - 1 : sp;
  L.STKVAL[sp - 2] = L.STKVAL[pick]; L.STKTAG[sp - 2] = L.STKTAG[pick];
  L.STKIDX[sp - 2] = L.STKIDX[pick]; L.STKPER[sp - 2] = L.STKPER[pick];
  sp -= 2;
}
// Records a stack, register or loop-frame overflow at stack top sp for message 85.
inline void xoverflow(MasterRecord& L, int32_t sp) {
  L.ERRARG = L.IRCNT;
  L.ERRARG2 = sp;
  L.ERRARG3 = L.LFDEPTH;
}
// Leaves the stack top and the next instruction of a run that ends in the master record.
inline void xleave(MasterRecord& L, int32_t sp, int64_t ip) {
  L.STKTOP = sp;
  L.XIP = (int32_t)ip;
}
// Prints the line of an instruction an interpreter cannot run.
void xbadop(MasterRecord& L, int32_t op);
// Releases the pending-error lists of a run (most runs have none: no call then).
inline void xpefree(MasterRecord& L) {
  if (L.PEIBLK > 0 || L.PERBLK > 0) {
    rlsblk_(L, L.PEIBLK);
    rlsblk_(L, L.PERBLK);
  }
  L.PECNT = L.PECAP = 0;
}
// Set numbers of the index registers in use (out[1..IRCNT]): for each open frame a
// primitive set itself, a derived set the primitive set of each of its positions.
void xregsets(const Work& A, const MasterRecord& L, int32_t* out);

// The two-operand instructions other than ADD, SUB and MUL, as xnum2 describes them.
int32_t xnum2op(const MasterRecord& L, int32_t op, double a, double b, double& r, double& err);
// Numeric value of a two-operand instruction (ADD .. MIN, POW, WRAP, MOD, FPA, FPL) on a
// (the deeper operand) and b. 0 done; 5 a domain fault, err = its error value. The sum,
// difference and product, most of a row's operations, are done here without a call.
inline int32_t xnum2(const MasterRecord& L, int32_t op, double a, double b, double& r, double& err) {
  err = 0.0;
  switch (op) {
    case OP_ADD: r = a + b; return 0;
    case OP_SUB: r = a - b; return 0;
    case OP_MUL: r = a * b; return 0;
    default: return xnum2op(L, op, a, b, r, err);
  }
}
// The same for one-operand instructions (NEGATE, NOT, ABS .. SQR, RAND, PSN, PSL, LGM).
int32_t xnum1(const MasterRecord& L, int32_t op, double x, double& r, double& err);
// Argument count of a probability function (PBN .. PHG), 0 for any other opcode.
int32_t xprobargs(int32_t op);
// The same for the probability functions, arguments g[0 .. xprobargs(op) - 1].
int32_t xnumprob(int32_t op, const double* g, double& r, double& err);
