// The evaluation core: the numeric interpreter of the instruction stream and the small
// services it stands on (set-member look-up, solution accessors, pending errors, texts,
// dates and @USER).
#pragma once
#include <cstdint>
#include <cstring>

#include "generate/blk.h"
#include "store/master.h"
#include "store/work.h"

// ---- numeric interpreter ----
// Runs the code block's words first..last on the interpreter stack (until an ENDROW, the
// end of the range or an error). Status 0 success; otherwise the codes of the status table
// (2 .. 16), 17 for an instruction that cannot be run (its message already printed), -1
// for a set's membership condition (code = CNDBLK) that reads a variable whose value is
// not known.
void xecute_(Work& A, MasterRecord& L, const int32_t& code, const int32_t& first,
             const int32_t& last, int32_t& status, double& out);
// Message number the output operations print for an interpreter status (-1: none).
int32_t xstatmsg_(int32_t status);

// ---- set-member index look-up ----
// Attribute a > 0: variable number of the element at the tuple on top of the stack;
// a <= 0: member locator. 0: s is no set; -1 not a member; -2 (mode 1) an index entry
// is not a value.
void getvx2_(const Work& A, const MasterRecord& L, int32_t a, int32_t s, int32_t mode,
             int32_t& result);
// The same, searching a sorted set from the position its latest look-up here found
// (kept in the master record), so look-ups near one another are cheap.
void getvx2h_(const Work& A, MasterRecord& L, int32_t a, int32_t s, int32_t mode,
              int32_t& result);
// One set's look-up tables held by an interpreter run. A primitive set or a dense product
// of primitive sets (no sorted order): the position of a tuple follows from the indices
// and the sizes. A derived set with a sorted order: a search from the latest position
// found (getvx2h_). It holds values and handles, no work-array positions, and is valid
// while the set tables stand: through one run of an interpreter, which builds no set.
constexpr int32_t VXDMAX = 8;   // positions of a set held
constexpr int32_t VXSLOTS = 8;  // sets an interpreter holds at once (a power of 2)
struct VxSet {
  int32_t s = 0;        // the set held (0: none)
  bool dense = false;   // the position follows from the indices
  bool sorted = false;  // searched in its sorted order
  int32_t d = 0, na = 0, n = 0, inantr = 0, inxntr = 0;
  int32_t ord = 0;          // sorted: the handle of the order
  int32_t np[VXDMAX] = {};  // dense: members of the primitive set of each position
};
// Reads set s's tables into q (neither dense nor sorted unless s has 0..VXDMAX positions
// and all its tables are there).
void vxset_(const Work& A, const MasterRecord& L, int32_t s, VxSet& q);
// Member position (1..n) of the tuple c in the sorted set held in q, 0 for none; the
// search starts where the latest look-up of the set found its member.
int64_t vxsorted_(const Work& A, MasterRecord& L, const VxSet& q, const int32_t* c);
// getvx2h_ through the set held in q, taken anew when s is another set.
inline void getvx2q_(const Work& A, MasterRecord& L, VxSet& q, int32_t a, int32_t s,
                     int32_t mode, int32_t& result) {
  if (s != q.s) vxset_(A, L, s, q);
  if (!q.dense && !q.sorted) {
    getvx2h_(A, L, a, s, mode, result);
    return;
  }
  const int32_t d = q.d;
  result = -1;
  if (L.STKTOP < d) return;
  const int32_t base = L.STKTOP - d + 1;
  int32_t c[VXDMAX];
  for (int32_t j = 0; j < d; ++j) {
    if (mode == 1 && L.STKTAG[base + j] >= 0) { result = -2; return; }
    if (!d2i(L.STKVAL[base + j], c[j])) return;
  }
  int64_t p = 0;
  if (q.sorted) {
    p = vxsorted_(A, L, q, c);
    if (p == 0) return;
  } else {
    for (int32_t j = 0; j < d; ++j) {
      if (c[j] < 1 || c[j] > q.np[j]) return;
      p = p * q.np[j] + (c[j] - 1);
    }
    p += 1;
    if (p > q.n) return;
  }
  if (a > 0) {
    if (a > q.na) return;
    result = (int32_t)(q.inantr + (p - 1) * q.na + a - 1);
  } else {
    result = (int32_t)(q.inxntr + (p - 1) * d);
  }
}
// Generated row of row name rn whose index tuple is on top of the stack; the set numbers
// of its index positions are the words at sets .. sets + d - 1 of the work array. 0: none.
void getrx2_(const Work& A, MasterRecord& L, int32_t rn, int64_t sets, int32_t& result);
// The double held in words w[0], w[1] (low half first), and the reverse.
inline void int2dp_(const MasterRecord& L, const int32_t* words, double& out) {
  std::memcpy(&out, words, sizeof out);
}
inline void dp2int_(const MasterRecord& L, const double& v, int32_t* words) {
  std::memcpy(words, &v, sizeof v);
}
// Error value of an arithmetic error: |x| + 1.
void hint_(const double& x, double& out);

// ---- solution accessors ----
void getxval_(const Work& A, const MasterRecord& L, int32_t v, double& value, double& rc,
              int32_t flags);
void getrval_(const Work& A, const MasterRecord& L, int32_t r, double& slack, double& dual,
              int32_t flags);
void chopoff_(const MasterRecord& L, double& x);
// x, chopped to zero by chopoff_ when chop is set.
inline double chopped(const MasterRecord& L, double x, bool chop) {
  if (chop) chopoff_(L, x);
  return x;
}
// Range values of variable v (row r): current cost (right-hand side), allowable increase
// and decrease, chopped when bit 0 of chop is set. Result 0 found, 1 nonlinear (current
// 0), 2 not in the loaded model (increase and decrease 1e30, current unchanged).
int32_t getrangevar_(const Work& W, const MasterRecord& L, int32_t v, int32_t chop,
                     double& current, double& inc, double& dec);
int32_t getrangerow_(const Work& W, const MasterRecord& L, int32_t r, int32_t chop,
                     double& current, double& inc, double& dec);
// Loaded column of model variable v through the variable map, 0 when it has none.
int32_t loadedcolumn_(const Work& W, const MasterRecord& L, int32_t v);
void status_(const MasterRecord& L, int32_t& code);
// Name of the member of set s whose tuple is on top of the stack, in a new text block.
// Status 0; 1 no block; 2 not a member; 3 an index entry is not a value (mode 1).
void printsetmembername_(Work& A, MasterRecord& L, int32_t s, int32_t mode, int32_t& handle,
                         int32_t& length, int32_t& status);
int32_t heapstringlength_(const Work& A, const MasterRecord& L, int32_t handle);
void convstackelem_(const Work& A, MasterRecord& L, int32_t k);
void kshft_(char& out, int32_t length, char c);

// ---- pending errors, bounds and texts ----
bool recordpenderr_(Work& A, MasterRecord& L, int32_t code, int32_t& iblk, int32_t& rblk,
                    int32_t& count, int32_t& capacity);
void unpackpenderr_(const Work& A, MasterRecord& L, int32_t& code, int32_t iblk, int32_t rblk);
// replacelow0: a lower bound still at 0 is replaced by the request instead of intersected with
// it (the row syntax's SLB and FREE after SUB)
void bounds_(Work& A, MasterRecord& L, int32_t v, double low, double high, int32_t& status,
             bool replacelow0 = false);
int32_t hstrcmpw_(const Work& A, const MasterRecord& L, int32_t h1, int32_t h2);
char upper_(char c);
int32_t findlastblankinrange_(const Work& A, const MasterRecord& L, int32_t h, int32_t first,
                              int32_t last);
bool isnan_(double x);

// ---- dates and @USER ----
void dmy2d_(int32_t& day, int32_t& month, int32_t& year, int32_t& dayno, int32_t& weekday);
double user_(MasterRecord& L, int32_t count, const double* values);
