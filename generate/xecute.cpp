// The numeric interpreter of the instruction stream: runs a stretch of compiled code on
// the stack of the master record and leaves the result there. Recoverable errors travel
// with the values they spoil (pending errors) and count only if they reach the result.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "generate/blk.h"
#include "generate/eval.h"
#include "language/lang.h"
#include "generate/probfn.h"
#include "generate/randfn.h"
#include "generate/xshared.h"
#include "language/opcodes.h"
#include "store/io.h"
#include "store/store.h"
#include "store/upcalls.h"

namespace {

constexpr int32_t MAXTEXT = 1000000;    // longest text an instruction may build

// True when a stack entry from..to is a text.
bool anytext(const int32_t* T, int32_t from, int32_t to) {
  for (int32_t j = from; j <= to; ++j)
    if (T[j] == TAGTXT) return true;
  return false;
}

// Message number printed by the output operations for each status (-1: none of its own).
constexpr int32_t kStatMsg[18] = {-1, 211, 70, 216, 217, 211, 221, 0, -1,
                                  -1, 212, 219, 222, 140, 184, 220, 236, -1};

// Releases the run's text blocks.
void freetexts(MasterRecord& L) {
  for (int32_t k = 1; k <= L.XTXTN; ++k) rlsblk_(L, L.XTXT[k]);
  L.XTXTN = 0;
}

// Validates a @FORMAT template: flags, width, precision and one conversion, nothing more.
// Writes the printf format (with its leading % and a length modifier for integers) to fmt.
// big receives the same field with no decimals, for integers beyond 64 bits.
bool fmtcheck(const char* t, int32_t n, char* fmt, char* big, char& conv) {
  int32_t i = 0, o = 0;
  fmt[o++] = '%';
  while (i < n && std::strchr("-+ #0", t[i]) && t[i] != '\0') fmt[o++] = t[i++];
  int32_t w = 0, nd = 0;
  while (i < n && t[i] >= '0' && t[i] <= '9') { w = w * 10 + (t[i] - '0'); fmt[o++] = t[i++]; if (++nd > 3) return false; }
  if (w > 200) return false;
  std::memcpy(big, fmt, (size_t)o);
  std::memcpy(big + o, ".0f", 4);
  if (i < n && t[i] == '.') {
    fmt[o++] = t[i++];
    int32_t p = 0;
    nd = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') { p = p * 10 + (t[i] - '0'); fmt[o++] = t[i++]; if (++nd > 3) return false; }
    if (p > 200) return false;
  }
  if (i != n - 1 || !std::strchr("eEfgGdi", t[i]) || t[i] == '\0') return false;
  conv = t[i];
  if (conv == 'd' || conv == 'i') { fmt[o++] = 'l'; fmt[o++] = 'l'; }
  fmt[o++] = conv;
  fmt[o] = '\0';
  return true;
}

}  // namespace

int32_t xstatmsg_(int32_t status) {
  return status >= 0 && status < 18 ? kStatMsg[status] : -1;
}

void xecute_(Work& A, MasterRecord& L, const int32_t& code, const int32_t& first,
             const int32_t& last, int32_t& status, double& out) {
  out = 0.0;
  L.ERRDBL = 0.0;
  status = 0;
  L.ORBITEMS = 0;
  L.ORBNUMN = 0;
  L.ORBTXTN = 0;
  L.ORBFLUSHN = 0;
  L.XTXTN = 0;
  L.PECNT = 0;
  L.PECAP = 0;
  L.PEIBLK = 0;
  L.PERBLK = 0;

  const int32_t stkmax = L.STKMAX > 0 && L.STKMAX <= XSTKLIM ? L.STKMAX : XSTKLIM;
  const double bignum = L.BIGNUM > 0.0 ? L.BIGNUM : 1e307;
  double* const V = L.STKVAL;
  int32_t* const T = L.STKTAG;
  int32_t* const X = L.STKIDX;
  int32_t* const P = L.STKPER;

  int32_t rc = 0;       // status of an immediate end
  int32_t sp = L.STKTOP < 0 || L.STKTOP > stkmax ? 0 : L.STKTOP;
  int64_t ip = first;
  int32_t op = 0;
  XLoops F;  // open set loops of this run
  // A set's membership condition may read only variables whose values are known (data):
  // a decision variable there ends the run with status -1.
  const bool incond = code > 0 && code == L.CNDBLK;
  auto known = [&](int32_t v) {
    return L.VARKND > 0 && v <= bcap(L, L.VARKND, 4) && bgeti(A, L, L.VARKND, v) >= 4;
  };
  // a variable's current value, as getxval_ gives it unchopped (a pushed variable is in range)
  auto varvalue = [&](int32_t v) { return L.VARVAL > 0 ? bgetd(A, L, L.VARVAL, v) : 0.0; };

  if (code < 1 || code > NHANDLES || L.START[code] <= 0) {
    rc = XBADOP;
    goto corrupt;
  }
  {
    const int64_t clen = L.LEN[code];
    const int64_t lastip = last;  // read once: through the reference it is read again at every operation
    const int32_t* cw = A.w.data() + L.START[code] - 1;  // cw[k] = word k of the code
    // the code block may move when a block is allocated: fetch its start again
#define REBASE() (cw = A.w.data() + L.START[code] - 1)
#define BAD { rc = XBADOP; goto corrupt; }
#define NEED(n) if (ip + (n) - 1 > clen || ip + (n) - 1 > lastip) BAD
#define ARGS(k) if (sp < (k)) BAD
    // propagate the largest pending error of the top k entries into their result
#define PROPAGATE(k)                                                  \
  {                                                                   \
    int32_t pe_ = 0;                                                  \
    for (int32_t j_ = sp - (k) + 1; j_ <= sp; ++j_) if (P[j_] > pe_) pe_ = P[j_]; \
    if (pe_ > 0) {                                                    \
      sp -= (k) - 1;                                                  \
      V[sp] = 0.0; T[sp] = TAGERR; X[sp] = -1; P[sp] = pe_;           \
      ip += oplen;                                                    \
      continue;                                                       \
    }                                                                 \
  }
    // make the top entry an error entry carrying a new pending error, and go on
#define FAIL(st, errval)                                              \
  {                                                                   \
    L.ERRARG3 = (int32_t)ip;                                          \
    L.ERRDBL = (errval);                                              \
    T[sp] = TAGERR; X[sp] = 0; V[sp] = 0.0;                           \
    L.STKTOP = sp;                                                    \
    if (!recordpenderr_(A, L, (st), L.PEIBLK, L.PERBLK, L.PECNT, L.PECAP)) { rc = 7; goto abort; } \
    REBASE();                                                         \
    ip += oplen;                                                      \
    continue;                                                         \
  }
#define ISTXT(k) (T[k] == TAGTXT)
#define PUSHNUM(v) { ++sp; V[sp] = (v); T[sp] = TAGNUM; X[sp] = -1; P[sp] = 0; }
#define SETNUM(k, v) { V[k] = (v); T[k] = TAGNUM; X[k] = -1; P[k] = 0; }
    // a new text of n characters (plus its NUL) in block h; a slot of the run's table
#define NEWTEXT(n, h, push)                                           \
  {                                                                   \
    if (L.XTXTN >= XTXTLIM) { if (push) ++sp; P[sp] = 0; FAIL(6, 0.0); } \
    int32_t cnt_ = (n) + 1, st_ = 0; h = 0;                           \
    setblk_(1, cnt_, A, L, h, st_);                                   \
    REBASE();                                                         \
    if (st_ != 0) { if (h > 0) rlsblk_(L, h); rc = 7; goto abort; }   \
    L.XTXT[++L.XTXTN] = h;                                            \
  }

    for (;;) {
      if (ip > lastip) goto finish;
      if (sp >= stkmax) goto overflow;
      if (ip < 1 || ip > clen) BAD;
      op = cw[ip];
      int32_t oplen = 1;
      double num;  // a pushed number
      switch (op) {
        case OP_ENDROW:
          ip += 2;
          goto finish;
        case OP_NOPCLOSE:
          ip += 2;
          continue;
        case OP_NOPCOMMA: case OP_NOPOPEN: case OP_SUBND: case OP_SLBND: case OP_STOP:
        case OP_BIN: case OP_FREE: case OP_IMPORT: case OP_BND: case OP_ROWNAME: case OP_GIN:
        case OP_BEGCND: case OP_ENDCND: case OP_BEGFOR: case OP_ENDFOR: case OP_BEGROW:
          ip += 1;
          continue;

        case OP_PUSHN: NEED(3); xfetchn(L, cw, ip, num); PUSHNUM(num); continue;
        case OP_PUSHV: {
          NEED(2);
          const int32_t v = cw[ip + 1];
          if (v < 1 || v > L.NVARS || (L.VARVAL > 0 && v > bcap(L, L.VARVAL, 8))) BAD;
          if (incond && !known(v)) { rc = -1; goto abort; }
          const double val = varvalue(v);
          ++sp; V[sp] = val; T[sp] = TAGVAR; X[sp] = v; P[sp] = 0;
          ip += 2;
          continue;
        }
        case OP_PUSHS: {
          NEED(3);
          oplen = 3;
          const int32_t a = cw[ip + 1], s = cw[ip + 2];
          const int32_t d = xsetwidth(A, L, s);
          if (d == 0) BAD;
          ARGS(d);
          PROPAGATE(d);
          const bool txt = anytext(T, sp - d + 1, sp);
          L.STKTOP = sp;
          int32_t var = 0;
          if (!txt) getvx2_(A, L, a, s, 1, var);
          sp -= d - 1;
          if (txt || var == -2) { P[sp] = 0; FAIL(4, 0.0); }
          if (var <= 0 || (L.VARVAL > 0 && var > bcap(L, L.VARVAL, 8))) {
            P[sp] = 0;
            L.ERRARG = s;
            L.ERRARG2 = a;
            FAIL(2, 0.0);
          }
          if (incond && !known(var)) { rc = -1; goto abort; }
          const double val = varvalue(var);
          V[sp] = val; T[sp] = TAGVAR; X[sp] = var; P[sp] = 0;
          ip += 3;
          continue;
        }
        case OP_PUSHX: NEED(2); if (!xfetchreg(L.IREG, XIRLIM, cw, ip, num)) BAD; PUSHNUM(num); continue;
        case OP_PUSHZ: {
          NEED(2);
          const int32_t n = cw[ip + 1];
          if (n < 0) BAD;
          if ((int64_t)sp + n > stkmax) goto overflow;
          for (int32_t j = 0; j < n; ++j) PUSHNUM(0.0);
          ip += 2;
          continue;
        }
        case OP_SETUP: NEED(2); if (int32_t r = xsetupat(A, L, F, cw, clen, ip)) { if (r == 8) goto overflow; BAD; } continue;
        case OP_GETNEXT: NEED(2); if (xgetnext(A, L, F, ip, cw[ip + 1]) != 0) BAD; continue;
        case OP_GOTO:
        case OP_IFGOTO: {
          NEED(2);
          oplen = 2;
          bool jump = true;
          if (op == OP_IFGOTO) {
            ARGS(1);
            if (P[sp] > 0) goto finish;  // the condition's error becomes the result
            if (ISTXT(sp)) FAIL(4, 0.0);
            jump = V[sp] == 0.0;
            --sp;
          }
          // a jump backward lands on the GETNEXT of the innermost open loop
          if (!xjump(F, cw, clen, ip, jump)) BAD;
          continue;
        }
        case OP_POPSET: if (!xpopsetat(L, F, ip)) BAD; continue;
        case OP_PUSHINF: PUSHNUM(bignum); ip += 1; continue;
        case OP_PUSHATX: NEED(2); if (!xfetchreg(L.CURTUP, NDXMAX, cw, ip, num)) BAD; PUSHNUM(num); continue;
        case OP_PUSHSTR: {
          NEED(2);
          const int32_t n = cw[ip + 1];
          if (n < 0 || n > MAXTEXT) BAD;
          oplen = 2 + (n + CHPWRD - 1) / CHPWRD;
          NEED(oplen);
          int32_t h;
          NEWTEXT(n, h, true);
          const int64_t from = wbyte(L.START[code] + ip + 1);
          for (int32_t c = 0; c < n; ++c) bputc(A, L, h, c + 1, cget(A, from + c));
          bputc(A, L, h, n + 1, '\0');
          ++sp; V[sp] = n; T[sp] = TAGTXT; X[sp] = h; P[sp] = 0;
          ip += oplen;
          continue;
        }
        case OP_WRITEFOR:
        case OP_WRITE: {
          NEED(2);
          if (lastip - (ip + 1) > 3) {
            L.ORBWRITES = cw[ip + 1];
            ip += 2;
            continue;
          }
          for (int32_t k = 1; k <= sp; ++k) {
            if (P[k] > 0) { sp = k; goto finish; }
            // make room: lists grow to twice their count plus two, at least 256
            auto grow = [&](int32_t type, int32_t& h, int32_t need, int32_t cap, int32_t cnt,
                            int32_t* h2) -> int32_t {
              if (need <= cap && h > 0 && (!h2 || *h2 > 0)) return cap;
              int64_t nc = 2 * (int64_t)cnt + 2;
              if (nc < 256) nc = 256;
              if (nc < need) nc = need;
              if (nc > 100000000) return -1;
              int32_t c = (int32_t)nc, st = 0;
              setblk_(type, c, A, L, h, st);
              if (st != 0) return -1;
              if (h2) {
                c = (int32_t)nc;
                setblk_(type, c, A, L, *h2, st);
                if (st != 0) return -1;
              }
              return (int32_t)nc;
            };
            L.ORBITEMCAP = grow(2, L.ORBKND, L.ORBITEMS + 1, L.ORBITEMCAP, L.ORBITEMS, &L.ORBPOS);
            if (L.ORBITEMCAP < 0) { L.ORBITEMCAP = 0; rc = 7; goto abort; }
            const int32_t item = ++L.ORBITEMS;
            if (ISTXT(k)) {
              const int32_t n = (int32_t)V[k];
              L.ORBTXTCAP = grow(1, L.ORBTXT, L.ORBTXTN + n + 1, L.ORBTXTCAP, L.ORBTXTN, nullptr);
              if (L.ORBTXTCAP < 0) { L.ORBTXTCAP = 0; rc = 7; goto abort; }
              bputi(A, L, L.ORBKND, item, 1);
              bputi(A, L, L.ORBPOS, item, L.ORBTXTN + 1);
              for (int32_t c = 1; c <= n + 1; ++c) bputc(A, L, L.ORBTXT, L.ORBTXTN + c, bgetc(A, L, X[k], c));
              L.ORBTXTN += n + 1;
            } else {
              L.ORBNUMCAP = grow(6, L.ORBNUM, L.ORBNUMN + 1, L.ORBNUMCAP, L.ORBNUMN, nullptr);
              if (L.ORBNUMCAP < 0) { L.ORBNUMCAP = 0; rc = 7; goto abort; }
              bputi(A, L, L.ORBKND, item, 0);
              bputi(A, L, L.ORBPOS, item, L.ORBNUMN + 1);
              bputd(A, L, L.ORBNUM, ++L.ORBNUMN, V[k]);
            }
          }
          // the end of this flush's items, so the output keeps each flush one record
          if (L.ORBFLUSHN + 1 > bcap(L, L.ORBAUX, 4)) {
            int32_t c = std::max(2 * L.ORBFLUSHN + 2, 64), st = 0;
            setblk_(2, c, A, L, L.ORBAUX, st);
            if (st != 0) { rc = 7; goto abort; }
          }
          bputi(A, L, L.ORBAUX, ++L.ORBFLUSHN, L.ORBITEMS);
          REBASE();
          L.ORBWRITES = sp;
          sp = 0;
          freetexts(L);
          ip += 2;
          continue;
        }
        case OP_PUSHSETN: {
          NEED(2);
          oplen = 2;
          const int32_t s = cw[ip + 1];
          const int32_t d = xsetwidth(A, L, s);
          if (d == 0) BAD;
          ARGS(d);
          PROPAGATE(d);
          const bool txt = anytext(T, sp - d + 1, sp);
          if (txt) { sp -= d - 1; P[sp] = 0; FAIL(4, 0.0); }
          if (L.XTXTN >= XTXTLIM) { sp -= d - 1; P[sp] = 0; FAIL(6, 0.0); }
          L.STKTOP = sp;
          int32_t h = 0, len = 0, st = 0;
          printsetmembername_(A, L, s, 1, h, len, st);
          REBASE();
          sp -= d - 1;
          P[sp] = 0;
          if (st == 1) { rc = 7; goto abort; }
          if (st == 3) FAIL(4, 0.0);
          if (st != 0) { L.ERRARG = s; FAIL(10, 0.0); }
          L.XTXT[++L.XTXTN] = h;
          V[sp] = len; T[sp] = TAGTXT; X[sp] = h;
          ip += 2;
          continue;
        }
        case OP_PUSHSR: {
          NEED(3);
          const int32_t rn = cw[ip + 1], n = cw[ip + 2];
          if (n < 0 || n > stkmax) BAD;
          oplen = 3 + n;
          NEED(oplen);
          ARGS(n);
          if (n > 0) { PROPAGATE(n); }
          const bool txt = anytext(T, sp - n + 1, sp);
          L.STKTOP = sp;
          int32_t row = 0;
          if (!txt) getrx2_(A, L, rn, (int64_t)L.START[code] + ip + 2, row);
          sp = sp - n + 1;
          P[sp] = 0;
          if (txt) FAIL(4, 0.0);
          if (row <= 0) { L.ERRARG = rn; FAIL(11, 0.0); }
          double slack, dual;
          getrval_(A, L, row, slack, dual, 0);
          V[sp] = slack; T[sp] = TAGROW; X[sp] = row;
          ip += oplen;
          continue;
        }

        case OP_NEGATE:
        case OP_NOT:
        case OP_ABS: case OP_SIN: case OP_COS: case OP_TAN: case OP_LOG: case OP_EXP:
        case OP_PSN: case OP_PSL: case OP_LGM: case OP_SIGN: case OP_FLOOR: case OP_RAND:
        case OP_SQRT: case OP_SQR: case OP_NEWLINE: {
          ARGS(1);
          PROPAGATE(1);
          if (ISTXT(sp)) {
            if (op == OP_NEGATE || op == OP_NOT) FAIL(15, 0.0);
            FAIL(4, 0.0);
          }
          const double x = V[sp];
          double r = 0.0, err = 0.0;
          switch (op) {
            case OP_NEWLINE: {
              int32_t n = 0;
              if (x >= 256.0) n = 256;
              else if (x >= 1.0) n = (int32_t)x;
              int32_t h;
              NEWTEXT(2 * n, h, false);
              for (int32_t c = 0; c < n; ++c) {
                bputc(A, L, h, 2 * c + 1, '\r');
                bputc(A, L, h, 2 * c + 2, '\n');
              }
              bputc(A, L, h, 2 * n + 1, '\0');
              V[sp] = 2 * n; T[sp] = TAGTXT; X[sp] = h; P[sp] = 0;
              ip += 1;
              continue;
            }
            default:
              if (xnum1(L, op, x, r, err) != 0) FAIL(5, err);
              break;
          }
          SETNUM(sp, r);
          ip += 1;
          continue;
        }

        case OP_ADD: case OP_SUB: case OP_MUL: case OP_DIV: case OP_POW: case OP_POWF:
        case OP_CMPEQ: case OP_CMPNE: case OP_CMPLE: case OP_CMPGE: case OP_CMPLT: case OP_CMPGT:
        case OP_AND: case OP_OR: case OP_MAX: case OP_MIN: case OP_WRAP: case OP_MOD:
        case OP_FPA: case OP_FPL: {
          ARGS(2);
          if (P[sp - 1] > 0 || P[sp] > 0) PROPAGATE(2);  // the usual case tested at once
          const bool ta = ISTXT(sp - 1), tb = ISTXT(sp);
          const double a = V[sp - 1], b = V[sp];
          --sp;
          P[sp] = 0;
          if (ta || tb) {
            if (op >= OP_CMPEQ && op <= OP_CMPGT && ta && tb) {
              const int32_t c = hstrcmpw_(A, L, X[sp], X[sp + 1]);
              bool r = false;
              switch (op) {
                case OP_CMPEQ: r = c == 0; break;
                case OP_CMPNE: r = c != 0; break;
                case OP_CMPLE: r = c <= 0; break;
                case OP_CMPGE: r = c >= 0; break;
                case OP_CMPLT: r = c < 0; break;
                default: r = c > 0; break;
              }
              SETNUM(sp, r ? 1.0 : 0.0);
              ip += 1;
              continue;
            }
            if (op == OP_ADD && ta && tb) {
              const int32_t n1 = (int32_t)a, n2 = (int32_t)b;
              if ((int64_t)n1 + n2 > MAXTEXT) { rc = 7; goto abort; }
              int32_t h = X[sp], cnt = n1 + n2 + 1, st = 0;
              setblk_(1, cnt, A, L, h, st);
              REBASE();
              if (st != 0) { rc = 7; goto abort; }
              for (int32_t c = 1; c <= n2 + 1; ++c) bputc(A, L, h, n1 + c, bgetc(A, L, X[sp + 1], c));
              V[sp] = n1 + n2;
              ip += 1;
              continue;
            }
            if (op == OP_MUL && !ta && tb) {
              // a number times a text repeats the text
              const int32_t n = (int32_t)b;
              const double cnt = std::trunc(a);
              if (!(cnt < 1.0) && !(cnt <= (double)MAXTEXT / (n > 0 ? n : 1))) { rc = 7; goto abort; }
              const int32_t times = cnt >= 1.0 ? (int32_t)cnt : 0;
              int32_t h = X[sp + 1], size = n * times + 1, st = 0;
              setblk_(1, size, A, L, h, st);
              REBASE();
              if (st != 0) { rc = 7; goto abort; }
              for (int32_t t = 1; t < times; ++t)
                for (int32_t c = 1; c <= n; ++c) bputc(A, L, h, t * n + c, bgetc(A, L, h, c));
              bputc(A, L, h, n * times + 1, '\0');
              V[sp] = n * times; T[sp] = TAGTXT; X[sp] = h;
              ip += 1;
              continue;
            }
            const bool is15 = op == OP_ADD || op == OP_DIV || op == OP_POW || op == OP_POWF ||
                              op == OP_MOD || op == OP_AND || op == OP_OR ||
                              (op >= OP_CMPEQ && op <= OP_CMPGT) || (op == OP_MUL && ta && !tb);
            FAIL(is15 ? 15 : 4, 0.0);
          }
          double r = 0.0, err = 0.0;
          if (xnum2(L, op, a, b, r, err) != 0) FAIL(5, err);
          SETNUM(sp, r);
          ip += 1;
          continue;
        }

        case OP_PBN: case OP_PEL: case OP_PEB: case OP_PPS: case OP_PPL: case OP_PFS:
        case OP_PTD: case OP_PCX: case OP_PFD: case OP_PHG: {
          const int32_t na = xprobargs(op);
          ARGS(na);
          PROPAGATE(na);
          const bool txt = anytext(T, sp - na + 1, sp);
          const double* g = V + sp - na + 1;  // arguments in call order
          sp -= na - 1;
          P[sp] = 0;
          if (txt) FAIL(4, 0.0);
          double r = 0.0, err = 0.0;
          if (xnumprob(op, g, r, err) != 0) FAIL(5, err);
          SETNUM(sp, r);
          ip += 1;
          continue;
        }

        case OP_SMAX:
        case OP_SMIN:
        case OP_USER: {
          NEED(2);
          oplen = 2;
          const int32_t n = cw[ip + 1];
          if (n < (op == OP_USER ? 0 : 1) || n > sp) BAD;
          if (n > 0) { PROPAGATE(n); }
          const bool txt = anytext(T, sp - n + 1, sp);
          double r = 0.0;
          if (!txt) {
            if (op == OP_USER) {
              L.STKTOP = sp;
              r = user_(L, n, V + sp - n + 1);
            } else {
              r = xextreme(op, V + sp - n + 1, n);
            }
          }
          sp = sp - n + 1;
          P[sp] = 0;
          if (txt) FAIL(4, 0.0);
          SETNUM(sp, r);
          ip += 2;
          continue;
        }
        case OP_IN: {
          NEED(2);
          oplen = 2;
          const int32_t s = cw[ip + 1];
          const int32_t d = xsetwidth(A, L, s);
          if (d == 0) BAD;
          if (L.SETALC <= 0 || bgeti(A, L, L.SETALC, s) <= 0) {
            // the set must be built first: its number is left in the first entry
            sp = 1;
            SETNUM(1, (double)s);
            rc = 9;
            goto abort;
          }
          ARGS(d);
          PROPAGATE(d);
          const bool txt = anytext(T, sp - d + 1, sp);
          L.STKTOP = sp;
          int32_t loc = 0;
          if (!txt) getvx2_(A, L, 0, s, 1, loc);
          sp -= d - 1;
          P[sp] = 0;
          if (txt || loc == -2) FAIL(4, 0.0);
          SETNUM(sp, loc > 0 ? 1.0 : 0.0);
          ip += 2;
          continue;
        }
        case OP_IF: {
          ARGS(3);
          if (P[sp - 2] > 0) {  // only the condition's error spoils the choice
            const int32_t pe = P[sp - 2];
            sp -= 2;
            V[sp] = 0.0; T[sp] = TAGERR; X[sp] = -1; P[sp] = pe;
            ip += 1;
            continue;
          }
          if (ISTXT(sp - 2)) { sp -= 2; P[sp] = 0; FAIL(4, 0.0); }
          xpick(L, sp);
          ip += 1;
          continue;
        }
        case OP_DUAL:
        case OP_RANGEU:
        case OP_RANGED:
        case OP_NAME: {
          ARGS(1);
          PROPAGATE(1);
          const int32_t tag = T[sp], k = X[sp];
          if (tag != TAGROW && tag != TAGVAR) FAIL(12, 0.0);
          if (op == OP_NAME) {
            char buf[256];
            int32_t len = 200;
            if (tag == TAGROW) rdx2nh_(A, L, k, buf, len);
            else vdx2nh_(A, L, k, buf, len);
            REBASE();
            if (len < 0) len = 0;
            if (len > 200) len = 200;
            int32_t h;
            NEWTEXT(len, h, false);
            for (int32_t c = 0; c < len; ++c) bputc(A, L, h, c + 1, buf[c]);
            bputc(A, L, h, len + 1, '\0');
            V[sp] = len; T[sp] = TAGTXT; X[sp] = h; P[sp] = 0;
            ip += 1;
            continue;
          }
          double r = 0.0;
          if (op == OP_DUAL) {
            if (L.SOLKND == 0) FAIL(13, 0.0);
            double v;
            if (tag == TAGROW) getrval_(A, L, k, v, r, 0);
            else getxval_(A, L, k, v, r, 0);
          } else {
            if (L.SOLKND < 2) FAIL(14, 0.0);
            double cur = 0.0, inc = 0.0, dec = 0.0;
            if (tag == TAGROW) getrangerow_(A, L, k, 0, cur, inc, dec);
            else getrangevar_(A, L, k, 0, cur, inc, dec);
            r = op == OP_RANGEU ? inc : dec;
          }
          SETNUM(sp, r);
          ip += 1;
          continue;
        }
        case OP_STATUS: {
          int32_t c;
          status_(L, c);
          PUSHNUM((double)c);
          ip += 1;
          continue;
        }
        case OP_ITERS:
          PUSHNUM((double)L.ITERS);
          ip += 1;
          continue;
        case OP_STRLEN:
          ARGS(1);
          PROPAGATE(1);
          if (!ISTXT(sp)) FAIL(3, 0.0);
          SETNUM(sp, V[sp]);
          ip += 1;
          continue;
        case OP_FORMAT: {
          ARGS(2);
          PROPAGATE(2);
          const bool ta = ISTXT(sp - 1), tb = ISTXT(sp);
          if (ta == tb) { --sp; P[sp] = 0; FAIL(16, 0.0); }
          const int32_t kt = ta ? sp - 1 : sp, kn = ta ? sp : sp - 1;
          double v = V[kn], other = 0.0;
          if (T[kn] == TAGVAR) getxval_(A, L, X[kn], v, other, 1);
          else if (T[kn] == TAGROW) getrval_(A, L, X[kn], v, other, 1);
          const int32_t ht = X[kt], n = (int32_t)V[kt];
          char tmpl[64], fmt[80], big[80], conv = 0;
          bool ok = n >= 1 && n < 60;
          for (int32_t c = 0; ok && c < n; ++c) tmpl[c] = bgetc(A, L, ht, c + 1);
          ok = ok && fmtcheck(tmpl, n, fmt, big, conv);
          --sp;
          P[sp] = 0;
          if (!ok) FAIL(16, 0.0);
          char text[700];
          int len;
          if (conv == 'd' || conv == 'i') {
            if (v > -9.2e18 && v < 9.2e18) {
              len = std::snprintf(text, sizeof text, fmt, (long long)v);
            } else {
              len = std::snprintf(text, sizeof text, big, v);  // too large for an integer
            }
          } else {
            len = std::snprintf(text, sizeof text, fmt, v);
          }
          if (len < 0) len = 0;
          if (len >= (int)sizeof text) len = (int)sizeof text - 1;
          int32_t h = ht, cnt = len + 1, st = 0;
          setblk_(1, cnt, A, L, h, st);
          REBASE();
          if (st != 0) { rc = 7; goto abort; }
          for (int32_t c = 0; c < len; ++c) bputc(A, L, h, c + 1, text[c]);
          bputc(A, L, h, len + 1, '\0');
          V[sp] = len; T[sp] = TAGTXT; X[sp] = h;
          ip += 1;
          continue;
        }
        case OP_RIM: case OP_NONZ: case OP_TYPE: case OP_CLASS:
          // functions of the solver's model that this interpreter cannot evaluate
          errmsh_(A, L, 142);
          rc = XBADOP;
          goto abort;
        default:
          rc = XBADOP;
          goto corrupt;
      }
    }
#undef REBASE
#undef NEED
#undef ARGS
#undef BAD
#undef PROPAGATE
#undef FAIL
#undef ISTXT
#undef PUSHNUM
#undef SETNUM
#undef NEWTEXT
  }

finish:
  xleave(L, sp, ip);
  status = 0;
  if (sp > 0 && L.PECNT > 0 && P[sp] > 0) {
    int32_t c = 0;
    unpackpenderr_(A, L, c, L.PEIBLK, L.PERBLK);
    status = c;
    if (status == 5) V[1] = L.ERRDBL;
  }
  if (L.XTXTN > 0) freetexts(L);
  xpefree(L);
  return;

overflow:
  xoverflow(L, sp);
  errmsh_(A, L, 85);
  rc = 8;
  goto abort;

corrupt:
  xbadop(L, op);

abort:
  xleave(L, sp, ip);
  status = rc;
  freetexts(L);
  xpefree(L);
}

QUIRN_UPCALL(xecute, xecute_);  // membership conditions of derived sets
QUIRN_UPCALL(qrand, BRQRANDF_);  // @QRAND in DATA sections
