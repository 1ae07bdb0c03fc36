// What the interpreters of the instruction stream share: the set-loop frames with their
// index registers and jump checks, and the value of every numeric operator and function on
// known numbers. Each interpreter keeps its own rules (what a value is, which opcodes it
// refuses) in its own switch and calls these for the common part.
#pragma once
#include <cstdint>

#include "store/master.h"
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

// SETUP s at position ip: opens a frame and takes max(d, 1) index registers. 0 done,
// 8 frame or register overflow, XBADOP a corrupt set.
int32_t xsetup(const Work& A, MasterRecord& L, XLoops& F, int32_t s, int64_t ip);
// GETNEXT at ip with exit offset off: loads the next member into the registers and moves
// ip past the instruction, or jumps out when the loop is done. 0 done, XBADOP corrupt.
int32_t xgetnext(const Work& A, MasterRecord& L, XLoops& F, int64_t& ip, int32_t off);
// POPSET: closes the innermost frame and releases its registers. 0 done, XBADOP corrupt.
int32_t xpopset(MasterRecord& L, XLoops& F);
// True when a jump from ip to `to` in code words cw[1..clen] is allowed.
bool xjumpok(const XLoops& F, const int32_t* cw, int64_t clen, int64_t ip, int64_t to);
// Set numbers of the index registers in use (out[1..IRCNT]): for each open frame a
// primitive set itself, a derived set the primitive set of each of its positions.
void xregsets(const Work& A, const MasterRecord& L, int32_t* out);

// Numeric value of a two-operand instruction (ADD .. MIN, POW, WRAP, MOD, FPA, FPL) on a
// (the deeper operand) and b. 0 done; 5 a domain fault, err = its error value.
int32_t xnum2(const MasterRecord& L, int32_t op, double a, double b, double& r, double& err);
// The same for one-operand instructions (NEGATE, NOT, ABS .. SQR, RAND, PSN, PSL, LGM).
int32_t xnum1(const MasterRecord& L, int32_t op, double x, double& r, double& err);
// Argument count of a probability function (PBN .. PHG), 0 for any other opcode.
int32_t xprobargs(int32_t op);
// The same for the probability functions, arguments g[0 .. xprobargs(op) - 1].
int32_t xnumprob(int32_t op, const double* g, double& r, double& err);
