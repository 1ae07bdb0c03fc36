// The compiler of the row-by-row syntax: one row per call (objective, constraint, or the
// declarations after END), written into the same instruction stream as the modelling language.
#include <cmath>
#include <cstring>
#include <string>
#include "language/lang.h"
#include "language/vocab.h"

namespace {

enum : int16_t { B_NUM = 1, B_NAME = 2, B_PLUS = 3, B_MINUS = 4, B_MAX = 5, B_MIN = 6, B_LE = 11, B_LT = 12,
                 B_EQ = 13, B_GE = 14, B_GT = 15, B_INT = 17, B_GIN = 18, B_FREE = 19, B_SUB = 20, B_SLB = 21,
                 B_MAXIMIZE = 22, B_MINIMIZE = 23 };
constexpr int32_t UNDET = -16;

struct Brk {
  Work& W;
  MasterRecord& L;
  int32_t err = 0;
  void room(int32_t need) {
    if ((int64_t)L.CODECAP - L.CODELEN > need) return;
    int64_t want = std::max<int64_t>(2 * (int64_t)L.CODECAP, 1000);
    while (want <= (int64_t)L.CODELEN + need) want *= 2;
    int32_t cnt = want > 2147483640LL / 4 ? -1 : (int32_t)want, st = 0;
    if (cnt < 0) throw 41;
    setblk_(2, cnt, W, L, L.CODEBLK, st);
    if (st) throw 41;
    L.CODECAP = cnt;
  }
  void word(int32_t v) {
    room(1);
    L.CODELEN += 1;
    iput(W, L, L.CODEBLK, L.CODELEN, v);
  }
  void pushn(double v) {
    word(1);
    int32_t w2[2];
    std::memcpy(w2, &v, sizeof v);
    word(w2[0]);
    word(w2[1]);
  }
};

}  // namespace

// Compiles one row of the row-by-row syntax.
void cmpexpbrk_(Work& W, MasterRecord& L, int32_t& state, int32_t& errarg, int32_t& nerr) {
  nerr = 0;
  Brk b{W, L};
  const Vocab& voc = brk_vocab();
  const BrkGrammar& g = brk_grammar();
  if (state < 1 || state > BRK_NSTATES) state = 1;
  const int32_t startstate = state;
  try {
    if (L.CODECAP < 1) b.room(1000);
    int32_t rowstart = L.CODELEN;
    b.word(-1);  // BEGROW
    double c = 1.0;
    int32_t rowtype = UNDET, terms = 0, decl = 0;
    bool relation = false;
    bool pending = false;  // a coefficient, sign or declaration read that the row has not used yet
    SymOut sym;
    for (;;) {
      b.room(64);
      if (L.TRACELV > 3) outline(L, " CALL GETSYM, ISTATE, MFREE= " + std::to_string(state) + " " + std::to_string(L.FREEWD));
      int32_t a = g.nsinpt[state], n = g.nsinpt[state + 1] - a;
      static CandStart from[BRK_NSTATES + 1];
      int32_t r = getsym_(W, L, voc, &g.nsintx[a], n, 0, sym, &from[state]);
      errarg = sym.start;
      if (sym.status > 0) throw sym.status + 35;
      if (r < 0) {
        L.CODELEN = rowstart;  // nothing of an unfinished row is kept
        if (rowtype != UNDET || terms > 0 || pending) throw 1;
        nerr = -1;
        return;
      }
      if (r == 0) throw 1;
      int32_t tok = g.nsintx[a + r - 1];
      int32_t prev = state;
      state = g.kod2st[a + r - 1];
      if (L.TRACELV > 3)
        outline(L, " BACK FROM GETSYM: SYM INDEX, DVAL, KWRK200B, NERR= " + std::to_string(r) + " " +
                       std::to_string(sym.val) + " " + std::string(sym.name, 8) + " " + std::to_string(sym.status));
      if (L.TRACELV > 1) outline(L, "NEXT COMPILER STATE=" + std::to_string(state));
      if (tok >= B_INT && tok <= B_SLB) getblank_(W, L);
      bool labelpos = prev == 1 || prev == 2 || prev == 4 || prev == 7;
      switch (state) {
        case 1: case 5: break;
        case 2:
          if (rowtype != UNDET) throw 12;
          rowtype = (tok == B_MAX || tok == B_MAXIMIZE) ? 2 : -2;
          c = 1.0;
          break;
        case 3: {
          if (labelpos && sbpeek_(W, L) == ')') {
            sbnext_(W, L);
            int32_t kind = 0, idx = 0;
            fndnmm_(W, L, sym.name, kind, idx);
            if (kind != 0 || psendx_(W, L, sym.name, 0) > 0) {
              std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
              std::memcpy(L.ERRTXT, sym.name, NAMELEN);
              throw 27;
            }
            int32_t st = 0;
            add_name_hash_(W, L, nt_rows(L), sym.name, sym.namelen, st);
            if (st) throw 41;
            int32_t cap = L.ROWNDIM > 0 ? L.LEN[L.ROWNDIM] : 0;
            if (cap < L.ROWNMCAP) {
              int32_t cnt = L.ROWNMCAP;
              setblk_(2, cnt, W, L, L.ROWNDIM, st);
              if (st) throw 41;
            }
            iput(W, L, L.ROWNDIM, L.NROWNM, 0);
            b.word(-7);
            b.word(L.NROWNM);
            state = 1;
            break;
          }
          if (c == 0.0) {
            c = 1.0;
            break;
          }
          int32_t kind = 0, idx = 0;
          fndnmm_(W, L, sym.name, kind, idx);
          if (kind == 0) {
            int32_t st = 0;
            add_name_hash_(W, L, nt_scalar(L), sym.name, sym.namelen, st);
            if (st) throw 41;
            if ((int64_t)L.NSCALAR + L.VARTOP >= L.VARCAP) {
              grwvr3_(W, L, std::max(L.VARCAP, 256), st);
              if (st) throw 41;
            }
            iput(W, L, L.VARKND, L.NSCALAR, 0);
            idx = L.NSCALAR;
          } else if (kind != 5) {
            throw 1;
          }
          double ac = std::fabs(c);
          if (ac != 1.0) b.pushn(ac);
          b.word(2);
          b.word(idx);
          if (ac != 1.0) b.word(33);
          if (terms == 0) {
            if (c < 0) b.word(21);
          } else {
            b.word(c > 0 ? 31 : 32);
          }
          ++terms;
          c = 1.0;
          break;
        }
        case 4:
          if (rowtype == UNDET) throw 1;  // a row without an objective before it
          if (terms == 0) b.pushn(0.0);  // every term dropped (zero coefficients) or none written
          b.word(0);
          b.word(rowtype);
          return;
        case 6:
          if (rowtype != UNDET) throw 12;
          if (startstate == 1) throw 1;  // constraints come after the objective
          rowtype = (tok == B_LE || tok == B_LT) ? 1 : tok == B_EQ ? 0 : -1;
          c = 1.0;
          relation = true;
          break;
        case 9:
          if (!relation) {
            if (labelpos && sbpeek_(W, L) == ')' && std::fabs(sym.val - std::round(sym.val)) <= 1e-8) {
              sbnext_(W, L);
              state = 1;
              break;
            }
            c = c < 0 ? -sym.val : sym.val;
            pending = true;
            break;
          }
          [[fallthrough]];
        case 7:
          if (terms == 0) b.pushn(0.0);  // a left side whose terms all had zero coefficients
          b.pushn(std::fabs(sym.val));
          if (c < 0) b.word(21);
          b.word(32);
          b.word(0);
          b.word(rowtype);
          state = rowtype == 2 || rowtype == -2 ? 4 : 7;
          return;
        case 8:
          c = tok == B_MINUS ? -1.0 : 1.0;
          pending = true;
          break;
        case 10: case 15:
          if (tok == B_MINUS) c = -c;
          pending = true;
          break;
        case 11: {
          char t[204];
          int32_t n = 0;
          for (;;) {
            if (L.SCANPOS >= L.SCANLEN) break;
            char ch = sbexact_(W, L);
            if (ch == 0) break;
            if (n < 200) t[n++] = ch;
          }
          n = trimlen(t, n);
          int32_t lead = 0;
          while (lead < n && t[lead] == ' ') ++lead;
          if (n - lead > 0) {
            int32_t st = 0;
            savet_(W, L, t + lead, n - lead, st);
            if (st) throw 41;
          }
          break;
        }
        case 12:
          decl = tok;
          c = 1.0;
          pending = true;
          break;
        case 13: {
          int32_t kind = 0, idx = 0;
          fndnmm_(W, L, sym.name, kind, idx);
          if (kind != 5) throw 1;
          b.word(2);
          b.word(idx);
          if (decl == B_INT || decl == B_GIN || decl == B_FREE) {
            b.word(decl == B_INT ? -11 : decl == B_GIN ? -6 : -10);
            b.word(0);
            b.word(3);
            return;
          }
          break;
        }
        case 14: {
          double v = c < 0 ? -sym.val : sym.val;
          if (decl == B_SUB || decl == B_SLB) {
            if (prev != 13 && prev != 15) throw 1;  // a bound needs its variable
            b.pushn(v);
            b.word(decl == B_SUB ? -14 : -13);
            b.word(0);
            b.word(3);
            return;
          }
          if (decl == B_FREE || prev != 12) throw 1;
          double r = std::round(v);
          if (std::fabs(v - r) > 1e-8 || r < 1 || r > L.NSCALAR) throw 1;
          int32_t nv = (int32_t)r;
          b.room(5 * nv + 8);
          L.CODELEN = rowstart;  // the first BEGROW stays; one row per declared variable
          for (int32_t i = 1; i <= nv; ++i) {
            b.word(-1);
            b.word(2);
            b.word(i);
            b.word(decl == B_INT ? -11 : -6);
            b.word(0);
            b.word(3);
          }
          return;
        }
        default:
          L.ERRARG = state;
          errmsh_(W, L, 9999);
          throw 100000;
      }
    }
  } catch (int e) {
    nerr = e;
  }
}
