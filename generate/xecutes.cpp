// The symbolic executor: runs a statement's code while some variables are still unknown.
// Known values are numbers; an unknown variable is a symbol (its own class while nothing is
// applied to it, an expression afterwards). An analysis run records each row generated in
// this pass with its variables and index words; a generation run (CALC) fixes the variable
// of each definition row "variable - number".
#include <algorithm>

#include "generate/analysis.h"
#include "generate/eval.h"
#include "generate/rows.h"
#include "generate/xshared.h"
#include "language/lang.h"
#include "language/opcodes.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/store.h"

namespace {

// Symbolic classes of a stack entry (kept in STKTAG during a run).
constexpr int32_t C_TEXT = -2, C_KNOWN = -1, C_EXPR = 0;  // above 0: a bare variable
constexpr int32_t FORLEVELS = 32;
constexpr int32_t POLLROWS = 1024;  // rows between two looks at the clock

// The capacity for a list of cap entries that needs need, expected to reach guess: the
// guess, but at least a quarter more than now.
int64_t grown(int64_t cap, int64_t need, int64_t guess) {
  return std::max({guess, cap + cap / 4, need});
}

// Grows block h (integer elements) to hold need entries: to grown(guess) when a guess > 0
// is given and the store has room for it, else doubling; false when it cannot.
bool growint(Work& W, MasterRecord& L, int32_t& h, int32_t& cap, int64_t need, int64_t guess = 0) {
  if (need <= cap && h > 0) return true;
  const int64_t dbl = std::max<int64_t>({need, 2 * (int64_t)cap, 256});
  for (int64_t n : {guess > 0 ? grown(cap, need, guess) : 0, dbl}) {
    if (n < need || n > MAXREQ / 4) continue;
    int32_t c = (int32_t)n, st = 0;
    setblk_(2, c, W, L, h, st);
    if (st != 0) continue;
    cap = (int32_t)n;
    return true;
  }
  return false;
}

// The outermost loop of a statement run: whether it opened and where its walk began. A
// list growing inside the loop is sized to what it will reach at the loop's end if the
// rest of the walk adds to it at the rate so far (with a tenth more), so a statement of a
// million rows grows its lists once or twice, not twenty times, and no block is moved and
// copied to fresh memory again and again.
struct Pace {
  bool open = false;  // the outermost frame opened in this run
  int32_t from = 0;   // its current word when it opened
};
// The size a list that held at0 entries when the run began and needs now is expected to
// reach by the end of the outermost loop; 0 when there is no loop or no pace to go by.
int64_t paced(const MasterRecord& L, const Pace& pc, int64_t at0, int64_t now) {
  if (!pc.open || L.LFDEPTH < 4 || now <= at0) return 0;
  const int64_t last = L.LFRAME[2], cur = L.LFRAME[4];
  if (cur <= pc.from || last <= cur) return 0;
  const double f = (double)(last - pc.from) / (double)(cur - pc.from);
  const double est = (double)at0 + (double)(now - at0) * f * 1.1 + 256.0;
  return est < (double)MAXREQ ? (int64_t)est : 0;
}

}  // namespace

void xecutes_(Work& W, MasterRecord& L, int32_t first, int32_t last, SymRun& run,
              int32_t& status) {
  status = 0;
  run.undecided = false;
  run.rowmade = false;
  run.stopundec = false;
  L.STKTOP = 0;
  L.LFDEPTH = 0;
  L.IRCNT = 0;
  L.PECNT = L.PECAP = L.PEIBLK = L.PERBLK = 0;
  const bool gen = (run.flags & 1) != 0;
  const int32_t pass = run.pass;
  const int32_t stkmax = xstklim(L);
  const double big = L.BIGNUM > 0.0 ? L.BIGNUM : 1e307;
  double* const V = L.STKVAL;
  int32_t* const C = L.STKTAG;
  int32_t* const X = L.STKIDX;
  int32_t* const P = L.STKPER;

  // @FOR levels: latest fixing pass read by their conditions, all conditions decided
  int32_t level = 1;
  int32_t nforst[FORLEVELS + 2] = {};
  bool lforok[FORLEVELS + 2];
  lforok[1] = true;
  // row state
  bool inrow = false, rowund = false, anyunfixed = false, hasdef = false;
  int32_t rowlatest = 0, defvar = 0;
  double defval = 0.0;
  int32_t regsets[XIRLIM + 2];

  XLoops F;
  Pace pace;
  const int64_t rows0 = L.NROWS, ix0 = L.NROWIX, var0 = L.NROWVAR;
  VxSet vq[VXSLOTS];  // the sets of the latest index look-ups, set s in slot s % VXSLOTS
  int32_t sp = 0, rc = 0, op = 0;
  int64_t ip = first;
  const int32_t code = L.CODEBLK;
  if (code < 1 || code > NHANDLES || L.START[code] <= 0) {
    rc = XBADOP;
    goto bad;
  }
  {
    const int64_t clen = std::min<int64_t>(L.LEN[code], std::max(L.CODELEN, 0));
    // instructions run at positions 1..lim: inside the code and the statement
    const int64_t lim = std::max<int64_t>(0, std::min<int64_t>(clen, last));
    const int32_t* cw = W.w.data() + L.START[code] - 1;
#define REBASE() (cw = W.w.data() + L.START[code] - 1)
#define END(s) { rc = (s); goto done; }
#define BAD { rc = XBADOP; goto bad; }
#define NEED(n) if (ip + (n) - 1 > lim) BAD
#define ARGS(k) if (sp < (k)) BAD
#define PUSHK(v) { ++sp; V[sp] = (v); C[sp] = C_KNOWN; X[sp] = 0; P[sp] = 0; }

    // kind, value and fixing pass of variable v
    auto vkind = [&](int32_t v) { return bgeti(W, L, L.VARKND, v); };
    auto vfix = [&](int32_t v) { return L.VARFIX > 0 ? bgeti(W, L, L.VARFIX, v) : UNFIXED; };
    // Puts variable v into stack entry k with its class, and keeps the row's books.
    // False when the row's variable list cannot grow.
    auto putvar = [&](int32_t k, int32_t v) __attribute__((always_inline)) -> bool {
      const int32_t kind = vkind(v);
      const bool unfixed = kind < 4 || (gen && run.cnddepth == 0 && !anyunfixed);
      if (unfixed) {
        V[k] = 0.0; C[k] = v; anyunfixed = true;
      } else {
        V[k] = bgetd(W, L, L.VARVAL, v); C[k] = C_KNOWN;
      }
      X[k] = 0;
      const int32_t fx = vfix(v);
      if (run.cnddepth > 0 && fx == UNFIXED) {
        if (inrow) rowund = true;
        return true;
      }
      if (gen) return true;
      if (inrow && run.cnddepth == 0) {
        if (kind == VK_PARAM || kind == VK_DEFINED || run.marks <= 0) return true;
        if (bgeti(W, L, run.marks, v) == 1) return true;
        bputi(W, L, run.marks, v, 1);
        int32_t cap = (int32_t)bcap(L, run.rowvars, 4);
        if (run.nrowvars + 1 > cap) {
          if (!growint(W, L, run.rowvars, cap, (int64_t)run.nrowvars + 1)) return false;
          REBASE();
        }
        bputi(W, L, run.rowvars, ++run.nrowvars, v);
      } else if (inrow) {
        rowlatest = std::max(rowlatest, fx);
      } else {
        nforst[level] = std::max(nforst[level], fx);
      }
      return true;
    };
    // Class and pending error of the top k entries combined; true when one is a text.
    auto combine = [&](int32_t k, int32_t& cls, int32_t& pe) {
      if (k == 2) {  // the two operands of an operator
        const int32_t a = C[sp - 1], b = C[sp];
        cls = (a >= 0 || b >= 0) ? C_EXPR : C_KNOWN;
        pe = std::max(P[sp - 1], P[sp]);
        return a == C_TEXT || b == C_TEXT;
      }
      cls = C_KNOWN;
      pe = 0;
      bool txt = false;
      for (int32_t j = sp - k + 1; j <= sp; ++j) {
        if (C[j] == C_TEXT) txt = true;
        else if (C[j] >= 0) cls = C_EXPR;
        pe = std::max(pe, P[j]);
      }
      return txt;
    };
    // A domain fault of a known evaluation in entry sp: nothing in an analysis run, a
    // pending error in a generation run. False when it cannot be recorded.
    auto fault = [&](double err) -> bool {
      if (!gen) return true;
      L.ERRARG3 = (int32_t)ip;
      L.ERRDBL = err;
      L.STKTOP = sp;
      if (!recordpenderr_(W, L, 5, L.PEIBLK, L.PERBLK, L.PECNT, L.PECAP)) return false;
      REBASE();
      return true;
    };
    // Ends the run with the pending error of the top entry.
    auto raise = [&]() {
      L.STKTOP = sp;
      int32_t c = 0;
      unpackpenderr_(W, L, c, L.PEIBLK, L.PERBLK);
      return c;
    };
    // A bare variable's number, 0 for any other entry.
    auto bare = [&](int32_t k) { return C[k] > 0 ? C[k] : 0; };
    // Stores the bounds of a bound statement; the executor's status (0, 11, 12).
    auto setbounds = [&](int32_t v, double lo, double hi, bool replacelow0 = false) {
      int32_t st = 0;
      bounds_(W, L, v, lo, hi, st, replacelow0);
      if (st == 0) return 0;
      L.ERRARG = v;
      return st == 1 ? 11 : 12;
    };

    for (;;) {
      if ((uint64_t)(ip - 1) >= (uint64_t)lim) {  // past the statement's end, or outside the code
        if (ip > last) break;
        if (sp >= stkmax) goto overflow;
        BAD;
      }
      if (sp >= stkmax) goto overflow;
      op = cw[ip];
      double num;  // a pushed number
      switch (op) {
        case OP_NOPCLOSE:
          NEED(2);
          ip += 2;
          continue;
        case OP_NOPCOMMA: case OP_NOPOPEN: case OP_IMPORT:
          ip += 1;
          continue;

        // ---- pushes ----
        case OP_PUSHN: NEED(3); xfetchn(L, cw, ip, num); PUSHK(num); continue;
        case OP_PUSHX: NEED(2); if (!xfetchreg(L.IREG, XIRLIM, cw, ip, num)) BAD; PUSHK(num); continue;
        case OP_PUSHZ: {
          NEED(2);
          const int32_t n = cw[ip + 1];
          if (n < 0) BAD;
          if ((int64_t)sp + n > stkmax) goto overflow;
          for (int32_t j = 0; j < n; ++j) PUSHK(0.0);
          ip += 2;
          continue;
        }
        case OP_PUSHATX: NEED(2); if (!xfetchreg(L.CURTUP, NDXMAX, cw, ip, num)) BAD; PUSHK(num); continue;
        case OP_PUSHINF: PUSHK(big); ip += 1; continue;
        case OP_PUSHSTR: {
          NEED(2);
          const int32_t n = cw[ip + 1];
          if (n < 0) BAD;
          const int64_t len = 2 + ((int64_t)n + CHPWRD - 1) / CHPWRD;
          NEED(len);
          ++sp; V[sp] = n; C[sp] = C_TEXT; X[sp] = (int32_t)ip; P[sp] = 0;
          ip += len;
          continue;
        }
        case OP_PUSHV: {
          NEED(2);
          const int32_t v = cw[ip + 1];
          // a CALC statement runs before the attribute variables move down: all are valid
          if (v < 1 || v > (gen ? std::max(L.NVARS, L.VARCAP) : L.NVARS) || L.VARKND <= 0 || v > bcap(L, L.VARKND, 4) ||
              v > bcap(L, L.VARVAL, 8)) BAD;
          ++sp; P[sp] = 0;
          if (!putvar(sp, v)) END(14);
          ip += 2;
          continue;
        }
        case OP_PUSHS: {
          NEED(3);
          const int32_t a = cw[ip + 1], s = cw[ip + 2];
          const int32_t d = xsetwidth(W, L, s);
          if (d == 0) BAD;
          if (L.SETALC <= 0 || bgeti(W, L, L.SETALC, s) != 1) {
            sp = 1; V[1] = s; C[1] = C_KNOWN; P[1] = 0;
            L.ERRARG2 = s;
            END(9);
          }
          ARGS(d);
          int32_t cls, pe;
          if (combine(d, cls, pe)) END(4);
          L.STKTOP = sp;
          int32_t var = 0;
          if (cls == C_KNOWN) getvx2q_(W, L, vq[s & (VXSLOTS - 1)], a, s, 1, var);
          else var = -2;
          sp -= d - 1;
          X[sp] = 0;
          if (pe > 0 || var == -2) {
            V[sp] = 0.0; C[sp] = C_EXPR; P[sp] = pe;
          } else if (var <= 0 || var > bcap(L, L.VARKND, 4) || var > bcap(L, L.VARVAL, 8)) {
            V[sp] = 0.0; C[sp] = C_EXPR; P[sp] = 0;
            L.ERRARG = s;
            L.ERRARG2 = a;
            L.STKTOP = sp;
            if (!recordpenderr_(W, L, 2, L.PEIBLK, L.PERBLK, L.PECNT, L.PECAP)) END(14);
            REBASE();
          } else {
            P[sp] = 0;
            if (!putvar(sp, var)) END(14);
          }
          ip += 3;
          continue;
        }

        // ---- loops and jumps ----
        case OP_SETUP:
          NEED(2);
          if (int32_t r = xsetupat(W, L, F, cw, clen, ip)) { if (r == 8) goto overflow; BAD; }
          if (L.LFDEPTH == 4) pace = {true, L.LFRAME[4]};
          continue;
        case OP_GETNEXT: NEED(2); if (xgetnext(W, L, F, ip, cw[ip + 1]) != 0) BAD; continue;
        case OP_POPSET: if (!xpopsetat(L, F, ip)) BAD; continue;
        case OP_GOTO:
        case OP_IFGOTO: {
          NEED(2);
          bool jump = true;
          if (op == OP_IFGOTO) {
            ARGS(1);
            if (P[sp] > 0) END(raise());
            if (C[sp] == C_TEXT) END(4);
            if (C[sp] != C_KNOWN) {  // a condition nobody decided: its code is skipped
              run.undecided = true;
              if (inrow) rowund = true;
              else lforok[level] = false;
            } else {
              jump = V[sp] == 0.0 || (inrow && rowund) || (!inrow && !lforok[level]);
            }
            --sp;
          }
          if (!xjump(F, cw, clen, ip, jump)) BAD;
          continue;
        }

        // ---- conditions and @FOR levels ----
        case OP_BEGCND:
          ++run.cnddepth;
          ip += 1;
          continue;
        case OP_ENDCND:
          --run.cnddepth;
          if (sp >= 1 && C[sp] != C_KNOWN && C[sp] != C_TEXT) {
            V[sp] = 0.0; C[sp] = C_KNOWN;
            run.undecided = true;
            if (inrow) rowund = true;
            else lforok[level] = false;
            // the row that the undecided condition guards, for the ill-defined message
            if (ip + 5 <= last && ip + 5 <= clen && cw[ip + 1] == OP_IFGOTO &&
                cw[ip + 3] == OP_BEGROW && cw[ip + 4] == OP_ROWNAME)
              run.rowname = cw[ip + 5];
          }
          ip += 1;
          continue;
        case OP_BEGFOR:
          if (level >= FORLEVELS) END(13);
          ++level;
          nforst[level] = nforst[level - 1];
          lforok[level] = lforok[level - 1];
          inrow = false;
          ip += 1;
          continue;
        case OP_ENDFOR:
          if (level > 1) --level;
          rowund = false;
          ip += 1;
          continue;

        // ---- rows ----
        case OP_BEGROW:
          inrow = true;
          rowund = false;
          hasdef = false;
          anyunfixed = false;
          if (run.marks > 0)
            for (int32_t k = 1; k <= run.nrowvars; ++k) bputi(W, L, run.marks, bgeti(W, L, run.rowvars, k), 0);
          run.nrowvars = 0;
          run.stmtpos = (int32_t)ip;
          run.rowname = 0;
          rowlatest = nforst[level];
          ip += 1;
          continue;
        case OP_ROWNAME:
          NEED(2);
          run.stmtpos = (int32_t)ip + 2;
          run.rowname = cw[ip + 1];
          ip += 2;
          continue;
        case OP_ENDROW: {
          NEED(2);
          const int32_t type = cw[ip + 1];
          if (sp >= 1 && P[sp] > 0) END(raise());
          sp = 0;
          inrow = false;
          anyunfixed = false;
          const bool isnew = !rowund && (rowlatest == pass - 1 || (gen && rowlatest == pass));
          if (rowund) run.undecided = true;
          rowund = false;
          ip += 2;
          if (!isnew) continue;
          if (gen) {
            if (!hasdef) END(18);
            bputd(W, L, L.VARVAL, defvar, defval);
            bputi(W, L, L.VARKND, defvar, VK_DEFINED);
            if (L.VARFIX > 0) bputi(W, L, L.VARFIX, defvar, pass - 1);
            hasdef = false;
            continue;
          }
          // a new row of this pass
          const int32_t r = L.NROWS + 1;
          L.NROWS = r;
          run.rowmade = true;
          if (r % POLLROWS == 0) {
            int32_t t = 0;
            stsgn2_(L, r, t);
            if (t != 0) END(10);
          }
          if (L.ROWCAP < r + 1) {
            const int64_t dbl = std::max(2 * (int64_t)L.ROWCAP, (int64_t)r + 1);
            const int64_t guess = paced(L, pace, rows0, r);
            int32_t st = 1;
            const int64_t to = guess > 0 ? grown(L.ROWCAP, r + 1, guess) : 0;
            if (to > 0 && to < MAXREQ / 8) grwrow_(W, L, (int32_t)to, st);
            if (st != 0) grwrow_(W, L, (int32_t)std::min<int64_t>(dbl, MAXREQ), st);
            REBASE();
            if (st != 0) END(14);
          }
          const int32_t n = std::min(L.IRCNT, XIRLIM);
          xregsets(W, L, regsets);
          const int64_t ixneed = (int64_t)L.NROWIX + 2 * n + 1, varneed = (int64_t)L.NROWVAR + run.nrowvars + 1;
          if ((ixneed > L.ROWIXCAP || L.ROWIXW <= 0) &&
              !growint(W, L, L.ROWIXW, L.ROWIXCAP, ixneed, paced(L, pace, ix0, ixneed))) END(14);
          if ((varneed > L.ROWVARCAP || L.ROWVAR <= 0) &&
              !growint(W, L, L.ROWVAR, L.ROWVARCAP, varneed, paced(L, pace, var0, varneed))) END(14);
          REBASE();
          bputi(W, L, L.ROWIXS, r, L.NROWIX + 1);
          for (int32_t j = 1; j <= n; ++j) bputi(W, L, L.ROWIXW, ++L.NROWIX, regsets[j]);
          for (int32_t j = 1; j <= n; ++j) bputi(W, L, L.ROWIXW, ++L.NROWIX, L.IREG[j]);
          bputi(W, L, L.ROWIXS, r + 1, L.NROWIX + 1);
          bputi(W, L, L.ROWSTP, r, run.stmtpos);
          bputi(W, L, L.ROWRNM, r, run.rowname);
          bputi(W, L, L.ROWTYPES, r, type);
          bputd(W, L, L.ROWVAL, r, 0.0);
          if (type == RT_MAX || type == RT_MIN) {
            if (L.OBJROW != 0 || run.objrow != 0) END(15);
            run.objrow = r;
          }
          bputi(W, L, L.ROWVST, r, L.NROWVAR + 1);
          for (int32_t k = 1; k <= run.nrowvars; ++k) {
            const int32_t v = bgeti(W, L, run.rowvars, k);
            bputi(W, L, L.ROWVAR, ++L.NROWVAR, v);
            bputi(W, L, run.marks, v, 0);
          }
          bputi(W, L, L.ROWVST, r + 1, L.NROWVAR + 1);
          run.nrowvars = 0;
          continue;
        }

        // ---- bound statements and @WARN ----
        case OP_FREE: case OP_GIN: case OP_BIN: case OP_BND: case OP_SLBND: case OP_SUBND: {
          if (ip + 2 > clen || ip + 2 > last || cw[ip + 1] != OP_ENDROW) END(3);
          const bool flagonly = op == OP_FREE || op == OP_GIN || op == OP_BIN;
          if (gen && flagonly) END(18);
          const bool run_it = !rowund && rowlatest == pass - 1;
          if (flagonly) run.rowmade = true;
          if (run_it) {
            for (int32_t j = 1; j <= sp; ++j)
              if (P[j] > 0) { sp = j; END(raise()); }
            const int32_t want = flagonly ? 1 : op == OP_BND ? 3 : 2;
            if (sp != want) END(3);
            if (flagonly) {
              const int32_t v = bare(1);
              if (v > 0 && vkind(v) <= VK_PARAM) {
                if (op != OP_FREE) bputi(W, L, L.VARINT, v, 1);
                if (op != OP_GIN) {
                  // row syntax: FREE after SUB drops the default lower bound of 0 as it does
                  // before SUB (a variable that is not integer)
                  const bool deflo = op == OP_FREE && L.SYNTAX == 1 && bgeti(W, L, L.VARINT, v) == 0;
                  const int32_t s = op == OP_FREE ? setbounds(v, 0.0, -big, deflo) : setbounds(v, 0.0, 1.0);
                  if (s != 0) END(s);
                }
              }
            } else if (op == OP_BND) {
              if (C[1] != C_KNOWN || C[3] != C_KNOWN || C[2] == C_TEXT) END(3);
              const double lo = V[1], hi = V[3];
              if (lo > hi) {
                L.ERRARG = bare(2);
                END(12);
              }
              if (C[2] == C_KNOWN) {
                if (V[2] < lo || V[2] > hi) END(3);
              } else {
                const int32_t v = bare(2);
                if (v == 0) END(3);
                const int32_t s = setbounds(v, lo, hi);
                if (s != 0) END(s);
              }
              run.rowmade = true;
            } else {
              const int32_t v = bare(1);
              if (v == 0 || C[2] != C_KNOWN) END(3);
              double lo = bgetd(W, L, L.VARLB, v), hi = bgetd(W, L, L.VARUB, v);
              if (lo == 0.0 && hi == -big) { lo = -big; hi = big; }
              // A lower bound still at its default of 0 is replaced, not intersected, so that
              // SLB after SUB on the same variable counts as it does before it.
              const int32_t s = op == OP_SLBND ? setbounds(v, V[2], hi, true) : setbounds(v, lo, V[2]);
              if (s != 0) END(s);
              run.rowmade = true;
            }
          }
          sp = 0;
          inrow = false;
          anyunfixed = false;
          ip += 3;
          continue;
        }
        case OP_STOP: {
          if (ip + 2 > clen || ip + 2 > last || cw[ip + 1] != OP_ENDROW || sp != 2 || C[1] != C_TEXT) END(1);
          if (gen) END(18);
          if (P[2] > 0) END(raise());
          bool known = false;
          double cond = 0.0;
          if (C[2] == C_KNOWN) {
            known = true;
            cond = V[2];
          } else if (C[2] > 0 && vfix(C[2]) <= pass - 1) {
            known = true;
            cond = bgetd(W, L, L.VARVAL, C[2]);
          }
          if (!known) {
            run.stopundec = true;
          } else if (cond > 0.0) {
            int32_t st = 0;
            dmpstr_(L, W, (int32_t)wbyte((int64_t)L.START[code] + X[1] + 1), (int32_t)V[1], st);
          }
          sp = 0;
          inrow = false;
          anyunfixed = false;
          ip += 3;
          continue;
        }

        // ---- operators and functions ----
        case OP_SUB:
          if (gen && sp == 2 && C[1] > 0 && C[2] == C_KNOWN && P[2] == 0 && ip + 2 <= clen &&
              cw[ip + 1] == OP_ENDROW && cw[ip + 2] == RT_EQ) {
            hasdef = true;
            defvar = C[1];
            defval = V[2];
          }
          [[fallthrough]];
        case OP_ADD: case OP_MUL: case OP_DIV: case OP_POW: case OP_POWF:
        case OP_CMPEQ: case OP_CMPNE: case OP_CMPLE: case OP_CMPGE: case OP_CMPLT: case OP_CMPGT:
        case OP_AND: case OP_OR: case OP_MAX: case OP_MIN: case OP_WRAP: case OP_MOD:
        case OP_FPA: case OP_FPL: {
          ARGS(2);
          int32_t cls, pe;
          if (combine(2, cls, pe)) END(4);
          const double a = V[sp - 1], b = V[sp];
          --sp;
          C[sp] = cls; P[sp] = pe; X[sp] = 0;
          if (cls == C_KNOWN && pe == 0) {
            double r, err;
            if (op == OP_ADD) V[sp] = a + b;  // the common operators without the call
            else if (op == OP_MUL) V[sp] = a * b;
            else if (op == OP_SUB) V[sp] = a - b;
            else if (xnum2(L, op, a, b, r, err) == 0) V[sp] = r;
            else if (!fault(err)) END(14);
          }
          ip += 1;
          continue;
        }
        case OP_NEGATE: case OP_NOT: case OP_ABS: case OP_SIN: case OP_COS: case OP_TAN:
        case OP_LOG: case OP_EXP: case OP_PSN: case OP_PSL: case OP_LGM: case OP_SIGN:
        case OP_FLOOR: case OP_SQRT: case OP_SQR: case OP_RAND: {
          ARGS(1);
          int32_t cls, pe;
          if (combine(1, cls, pe)) END(4);
          if (op == OP_RAND) pe = 0;  // a draw does not depend on how its seed was spoiled
          C[sp] = cls; P[sp] = pe; X[sp] = 0;
          if (cls == C_KNOWN && pe == 0) {
            double r, err;
            if (xnum1(L, op, V[sp], r, err) == 0) V[sp] = r;
            else if (!fault(err)) END(14);
          }
          ip += 1;
          continue;
        }
        case OP_PBN: case OP_PEL: case OP_PEB: case OP_PPS: case OP_PPL: case OP_PFS:
        case OP_PTD: case OP_PCX: case OP_PFD: case OP_PHG: {
          const int32_t na = xprobargs(op);
          ARGS(na);
          int32_t cls, pe;
          if (combine(na, cls, pe)) END(4);
          double g[4];
          for (int32_t j = 0; j < na; ++j) g[j] = V[sp - na + 1 + j];
          sp -= na - 1;
          C[sp] = cls; P[sp] = pe; X[sp] = 0;
          if (cls == C_KNOWN && pe == 0) {
            double r, err;
            if (xnumprob(op, g, r, err) == 0) V[sp] = r;
            else if (!fault(err)) END(14);
          }
          ip += 1;
          continue;
        }
        case OP_SMAX: case OP_SMIN: case OP_USER: {
          NEED(2);
          const int32_t n = cw[ip + 1];
          if (n < (op == OP_USER ? 0 : 1) || n > sp) BAD;
          int32_t cls = C_KNOWN, pe = 0;
          if (n > 0 && combine(n, cls, pe)) END(4);
          double r = 1.0;  // the user function is not called here
          if (op != OP_USER && n > 0) r = xextreme(op, V + sp - n + 1, n);
          sp = sp - n + 1;
          V[sp] = r; C[sp] = cls; P[sp] = pe; X[sp] = 0;
          ip += 2;
          continue;
        }
        case OP_IF: {
          ARGS(3);
          if (P[sp - 2] > 0) {  // only the condition's error spoils the choice
            const int32_t pe = P[sp - 2];
            sp -= 2;
            V[sp] = 0.0; C[sp] = C_EXPR; P[sp] = pe;
          } else if (C[sp - 2] == C_TEXT) {
            END(4);
          } else if (C[sp - 2] == C_KNOWN) {
            xpick(L, sp);
          } else {
            int32_t cls, pe;
            combine(3, cls, pe);
            sp -= 2;
            C[sp] = C_EXPR; P[sp] = pe; X[sp] = 0;
          }
          ip += 1;
          continue;
        }
        case OP_IN: {
          NEED(2);
          const int32_t s = cw[ip + 1];
          const int32_t d = xsetwidth(W, L, s);
          if (d == 0) BAD;
          ARGS(d);
          int32_t cls, pe;
          if (combine(d, cls, pe)) END(16);
          if (cls != C_KNOWN || pe > 0) {
            if ((inrow ? rowlatest : nforst[level]) == pass - 1 && pe == 0) END(16);
            sp -= d - 1;
            V[sp] = 0.0; C[sp] = C_EXPR; P[sp] = pe; X[sp] = 0;
            ip += 2;
            continue;
          }
          if (L.SETALC <= 0 || bgeti(W, L, L.SETALC, s) != 1) {
            sp = 1; V[1] = s; C[1] = C_KNOWN; P[1] = 0;
            L.ERRARG2 = s;
            END(9);
          }
          L.STKTOP = sp;
          int32_t loc = 0;
          getvx2q_(W, L, vq[s & (VXSLOTS - 1)], 0, s, 1, loc);
          sp -= d - 1;
          V[sp] = loc > 0 ? 1.0 : 0.0; C[sp] = C_KNOWN; P[sp] = 0; X[sp] = 0;
          ip += 2;
          continue;
        }
        default:
          // WRITEFOR, PUSHSETN, PUSHSR, the report functions, the solver-model functions
          // and the unused numbers: nothing a row or a CALC statement can run
          rc = XBADOP;
          goto bad;
      }
    }
#undef REBASE
#undef END
#undef NEED
#undef ARGS
#undef BAD
#undef PUSHK
  }
  goto done;

overflow:
  xoverflow(L, sp);  // message 85 is printed by the caller
  rc = 8;
  goto done;

bad:
  xbadop(L, op);

done:
  xleave(L, sp, ip);
  status = rc;
  xpefree(L);
}
