// The statement compiler of the modelling language: a table-driven recogniser over the
// statement grammar that writes the instruction stream, keeps the operator, index and set-loop
// stacks, and fills the set table from the SETS section.
#include <algorithm>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>
#include "language/compiler.h"
#include "language/reader.h"
#include "language/textdata.h"
#include "language/values.h"
#include "store/hooks.h"
#include "language/vocab.h"

namespace {

constexpr int32_t NOREL = -16;

// Opcodes written by the compiler.
enum Op : int32_t {
  NOPRP = -15, STOPOP = -12, BINOP = -11, FREEOP = -10, BNDOP = -8, ROWNAMEOP = -7, GINOP = -6, BEGCND = -5,
  ENDCND = -4, BEGFOR = -3, ENDFOR = -2, BEGROW = -1, ENDROW = 0, PUSHN = 1, PUSHV = 2, PUSHS = 3, PUSHX = 4,
  PUSHZ = 5, SETUP = 6, GETNEXT = 7, GOTO = 8, IFGOTO = 9, POPSET = 10, PUSHINF = 11, PUSHATX = 12,
  PUSHSTR = 13, WRITEFOROP = 14, PUSHSETN = 15, PUSHSR = 16, NEGATE = 21, ADDOP = 31, SUBOP = 32, MULOP = 33,
  MAXOP = 44, MINOP = 45, INOP = 79
};

struct Fail {
  int32_t e;
};

struct Compiler {
  Work& W;
  MasterRecord& L;
  const Vocab& voc;
  const Grammar& g;
  int32_t rowtype = NOREL;
  int32_t paren = 0;
  bool begun = false;
  int32_t outdepth = 0;
  int32_t section = 0;  // 0 model statements, 1 SETS, 2 DATA, 3 INIT
  bool setcond = false;
  int32_t condstart = 0;
  int32_t stmtstart = 0;
  int32_t lastop = 99999;
  int32_t lastoppos = 0;
  int32_t prevstate = 0;
  int32_t errpos = 0;
  bool aftertitle = false;
  bool firsttok = true;  // the next token is the statement's first
  // SETS section
  int32_t curset = 0;      // set of the statement being compiled, 0 none
  int32_t listkind = 0;    // 1 primitive member list, 2 derived member list
  bool rangelist = false;  // the member list is one range, whose members all differ
  int64_t ncomp = 0;       // components of the derived member list read
  // set loops: per level
  int32_t loopnidx[LOOPMAX + 1] = {};
  bool looprep[LOOPMAX + 1] = {};
  bool loopcolon[LOOPMAX + 1] = {};
  int32_t idxleft = 0;     // index names still expected in a loop's index list
  int32_t argstart[OPSTKMAX + 2] = {};  // CODELEN when the bracket's current argument began
  // @INDEX
  char idxname[NAMELEN + 1] = {};
  int32_t idxset = 0;
  int32_t unaryprec = 12;
  SymOut sym;

  Compiler(Work& w, MasterRecord& l) : W(w), L(l), voc(qrn_vocab()), g(qrn_grammar()) {}

  [[noreturn]] void fail(int32_t e) { throw Fail{e}; }

  // ---- code writing ----
  void room(int32_t need) {
    if ((int64_t)L.CODELEN + need < L.CODECAP) return;
    int64_t want = std::max<int64_t>(2 * (int64_t)L.CODECAP, 1000);
    while (want <= (int64_t)L.CODELEN + need) want *= 2;
    if (want > 2147483640LL / 4) fail(41);
    int32_t cnt = (int32_t)want, st = 0;
    setblk_(2, cnt, W, L, L.CODEBLK, st);
    if (st != 0) fail(41);
    L.CODECAP = cnt;
  }
  void word(int32_t v) {
    room(1);
    L.CODELEN += 1;
    iput(W, L, L.CODEBLK, L.CODELEN, v);
  }
  void op(int32_t c) {
    room(1);
    lastop = c;
    lastoppos = L.CODELEN + 1;
    word(c);
  }
  void op1(int32_t c, int32_t a) {
    op(c);
    word(a);
  }
  void pushn(double v) {
    op(PUSHN);
    int32_t w2[2];
    std::memcpy(w2, &v, sizeof v);
    word(w2[0]);
    word(w2[1]);
  }
  int32_t code(int32_t k) { return iget(W, L, L.CODEBLK, k); }
  void setcode(int32_t k, int32_t v) { iput(W, L, L.CODEBLK, k, v); }

  // ---- operator stack ----
  void push(int32_t v, int32_t tag) {
    if (L.OPDEPTH >= OPSTKMAX - 1 || L.OPDEPTH >= L.OPLIMIT) fail(4);
    ++L.OPDEPTH;
    L.OPVAL[L.OPDEPTH] = v;
    L.OPTAG[L.OPDEPTH] = tag;
  }
  bool isoper(int32_t k) { return L.OPTAG[k] == 0 && L.OPVAL[k] >= 3 && L.OPVAL[k] <= 17; }
  int32_t opcode_of(int32_t tok) { return tok <= 4 ? 21 + (tok - 3) : 31 + (tok - 5); }
  void pop_operators() {
    while (L.OPDEPTH > 0 && isoper(L.OPDEPTH)) {
      op(opcode_of(L.OPVAL[L.OPDEPTH]));
      --L.OPDEPTH;
    }
  }
  void open_bracket(int32_t counter, int32_t tok, int32_t tag = 0) {
    push(counter, tag);
    push(tok, tag);
    argstart[L.OPDEPTH] = L.CODELEN;
  }

  // ---- names ----
  void kind_of(const char* name, int32_t& kind, int32_t& idx) { fndnmm_(W, L, name, kind, idx); }
  void name_in_use(const char* name) {
    std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
    std::memcpy(L.ERRTXT, name, NAMELEN);
    fail(27);
  }
  int32_t dim1(int32_t s) {
    int32_t d = setdim(W, L, s);
    return d < 1 ? 1 : d;
  }

  int32_t new_scalar(const char* name, int32_t len) {
    int32_t st = 0;
    add_name_hash_(W, L, nt_scalar(L), name, len, st);
    if (st) fail(41);
    if ((int64_t)L.NSCALAR + L.VARTOP >= L.VARCAP) {
      grwvr3_(W, L, L.VARCAP > 256 ? L.VARCAP : 256, st);
      if (st) fail(41);
    }
    iput(W, L, L.VARKND, L.NSCALAR, 0);
    return L.NSCALAR;
  }

  // PUSHX for the last d index variables in scope.
  void pushx_last(int32_t d) {
    if (L.NDXCNT < d) fail(16);
    for (int32_t j = L.NDXCNT - d + 1; j <= L.NDXCNT; ++j) op1(PUSHX, j);
  }
  // The n words of PUSHSR after its two operands: the primitive set of each index position
  // of the open set loops, outermost first (0 for a position no loop covers).
  void loop_positions(int32_t n) {
    room(n);
    int32_t written = 0;
    for (int32_t k = 1; k <= L.LOOPLV && written < n; ++k) {
      int32_t s = L.LOOPSET[k], d = setdim(W, L, s);
      if (d == 0) {
        word(s);
        ++written;
      } else {
        for (int32_t c = 0; c < d && written < n; ++c, ++written)
          word(iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s) + c));
      }
    }
    for (; written < n; ++written) word(0);
  }
  int32_t rowdim() {
    int32_t r = 0;
    getrowdim_(W, L, r);
    return r;
  }

  void operand_name() {
    int32_t kind = 0, idx = 0;
    fndnmm_(W, L, sym.name, sym.namelen, kind, idx);
    // a subscript follows (asked only of the names that may take one)
    auto sub = [&] { return sbpeek_(W, L) == '('; };
    switch (kind) {
      case 0: {
        if (L.USEPNM > 0) {
          int32_t m = psendx_(W, L, sym.name, 0);
          if (m > 0) {
            pushn((double)m);
            return;
          }
        }
        op1(PUSHV, new_scalar(sym.name, sym.namelen));
        return;
      }
      case 5: op1(PUSHV, idx); return;
      case 3: op1(PUSHX, idx); return;
      case 4: {
        int32_t owner = iget(W, L, L.IDOWNR, idx);
        int32_t d = dim1(owner);
        int32_t pos = idx - iget(W, L, L.LASTUB, owner) + 1;
        if (sub()) {
          push(d, 0);
          push(idx, 2);
          return;
        }
        if (L.LOOPLV < 1) fail(11);
        op(BEGCND);
        pushx_last(d);
        op(ENDCND);
        op(PUSHS);
        word(pos);
        word(owner);
        return;
      }
      case 1: {
        if (outdepth < 1) fail(10);
        int32_t d = dim1(idx);
        if (sub()) {
          push(d, 0);
          push(idx, 1);
          return;
        }
        op(BEGCND);
        pushx_last(d);
        op(ENDCND);
        op1(PUSHSETN, idx);
        return;
      }
      case 2: {
        if (outdepth < 1) fail(18);
        int32_t d = iget(W, L, L.ROWNDIM, idx);
        if (d == 0) {
          op(PUSHSR);
          word(idx);
          word(0);
          return;
        }
        if (sub()) {
          push(d, 3);
          push(idx, 3);
          return;
        }
        if (rowdim() != d) fail(16);
        op(BEGCND);
        pushx_last(d);
        op(ENDCND);
        op(PUSHSR);
        word(idx);
        word(d);
        loop_positions(d);
        return;
      }
    }
  }

  // ---- operators, relations, row names ----
  // A binary operator: the operators of no lower precedence on the stack are written first.
  void binary_op(int32_t tok) {
    int32_t p = nprec(tok, L.UNARYM);
    while (L.OPDEPTH > 0 && isoper(L.OPDEPTH) &&
           (L.OPVAL[L.OPDEPTH] == 3 ? unaryprec : nprec(L.OPVAL[L.OPDEPTH], L.UNARYM)) >= p) {
      op(opcode_of(L.OPVAL[L.OPDEPTH]));
      --L.OPDEPTH;
    }
    push(tok, 0);
  }
  // A relation: the row's type; the left side's operators are written.
  void relation(int32_t tok) {
    if (setcond) fail(1);
    if (L.LOOPLV > 0 && L.LOOPJMP[L.LOOPLV] < 0) fail(1);
    if (outdepth > 0 || section >= 2) fail(199);  // no relation in an output statement
    if (rowtype != NOREL) fail(12);
    rowtype = (tok == T_LE || tok == T_LT) ? 1 : tok == T_EQ ? 0 : -1;
    pop_operators();
    if (L.OPDEPTH > 0 && !(L.OPTAG[L.OPDEPTH] == 0 && L.OPVAL[L.OPDEPTH] == T_FOR)) fail(2);
  }
  // A function's opening bracket, with the number of its arguments.
  void open_function(int32_t tok) {
    ++paren;
    if (tok == T_WRITE) {
      ++outdepth;
      if (section == 2) ++ds.nfuncs;
    }
    open_bracket(tok <= 94 ? NARGS[tok - 41] : 1, tok);
    bracket_at[L.OPDEPTH] = true;
  }
  // Enters the name in sym, which must be new to the model, in table t, and grows blk (a
  // word per name of the table) to the table's capacity.
  void enter_new_name(NameTable t, int32_t& blk) {
    int32_t kind = 0, idx = 0;
    kind_of(sym.name, kind, idx);
    if (kind != 0) name_in_use(sym.name);
    int32_t st = 0;
    add_name_hash_(W, L, t, sym.name, sym.namelen, st);
    if (st) fail(41);
    int32_t have = blk > 0 ? L.LEN[blk] : 0;
    if (have < *t.cap) {
      int32_t cnt = *t.cap;
      setblk_(2, cnt, W, L, blk, st);
      if (st) fail(41);
    }
  }
  // The row name in [ ] (in sym), entered in the row names right after BEGROW.
  void row_name() {
    if (lastop != BEGROW || lastoppos != L.CODELEN) fail(18);
    enter_new_name(nt_rows(L), L.ROWNDIM);
    iput(W, L, L.ROWNDIM, L.NROWNM, rowdim());
    op1(ROWNAMEOP, L.NROWNM);
  }

  // ---- statement ends ----
  void end_statement() {
    pop_operators();
    if (rowtype == NOREL) {
      if (section != 2) fail(5);
      return;
    }
    if (rowtype >= -1 && rowtype <= 1) op(SUBOP);
    if (outdepth < 1) {
      op1(ENDROW, rowtype);
      rowtype = NOREL;
    }
  }

  // Nearest bracket on the operator stack after the pending operators (0 when none).
  int32_t nearest_bracket() {
    int32_t k = L.OPDEPTH;
    while (k > 0 && isoper(k)) --k;
    return k;
  }

  // ---- set loops ----
  void open_loop(int32_t tok) {
    if (tok == T_FOR) {
      for (int32_t k = L.OPDEPTH; k > 0; --k)
        if (bracket_at[k] && !(L.OPTAG[k] == 0 && L.OPVAL[k] == T_FOR)) fail(40);
      if (lastop == BEGROW && lastoppos == L.CODELEN) {
        setcode(L.CODELEN, BEGFOR);
        lastop = BEGFOR;
      } else {
        op(BEGFOR);
      }
      begun = false;
    } else if (tok == T_WRITEFOR) {
      if (section != 2) fail(198);
      ++outdepth;
      ++ds.nfuncs;
    } else {
      switch (tok) {
        case T_SUM: op1(PUSHZ, 1); break;
        case T_MAX: op(PUSHINF); op(NEGATE); break;
        case T_MIN: op(PUSHINF); break;
        case T_PROD: pushn(1.0); break;
      }
    }
    ++paren;
    open_bracket(tok == T_WRITEFOR ? -1 : 1, tok);
  }
  bool bracket_at[OPSTKMAX + 2] = {};

  void loop_set() {
    int32_t kind = 0, s = 0;
    kind_of(sym.name, kind, s);
    if (kind != 1) fail(14);
    if (L.LOOPLV >= L.LOOPSET[0] || L.LOOPLV >= LOOPMAX) fail(8);
    int32_t lv = ++L.LOOPLV;
    L.LOOPSET[lv] = s;
    L.LOOPPAR[lv] = paren;
    looprep[lv] = false;
    loopcolon[lv] = false;
    loopnidx[lv] = 0;
    op1(SETUP, s);
    op1(GETNEXT, 0);
    L.LOOPJMP[lv] = L.CODELEN;
    if (sbpeek_(W, L) != '(') {
      int32_t d = dim1(s);
      if (L.NDXCNT + d > L.NDXLIMIT) fail(7);
      for (int32_t j = 0; j < d; ++j) {
        ++L.NDXCNT;
        std::memset(L.NDXNAM[L.NDXCNT], ' ', NAMELEN);
        L.NDXREP[L.NDXCNT] = 0;
      }
      loopnidx[lv] = d;
    }
  }
  void loop_index_name() {
    int32_t lv = L.LOOPLV;
    if (L.NDXCNT + 1 > L.NDXLIMIT) fail(7);
    int32_t r = ndxfn2_(sym.name, L.NDXNAM, L.NDXCNT);
    ++L.NDXCNT;
    std::memcpy(L.NDXNAM[L.NDXCNT], sym.name, NAMELEN);
    L.NDXREP[L.NDXCNT] = r <= L.NDXCNT - 1 ? r : 0;
    if (L.NDXREP[L.NDXCNT]) looprep[lv] = true;
    ++loopnidx[lv];
  }
  // ":" ends a loop's set part.
  void loop_colon() {
    int32_t lv = L.LOOPLV;
    int32_t k = nearest_bracket();
    if (lv < 1 || loopcolon[lv] || k < 1 || L.OPTAG[k] != 0 || L.OPVAL[k] < T_FOR || L.OPVAL[k] > T_WRITEFOR)
      fail(1);
    bool cond = L.LOOPJMP[lv] < 0;
    if (cond) pop_operators();
    int32_t first = L.NDXCNT - loopnidx[lv] + 1;
    bool any = cond;
    if (!cond && looprep[lv]) op(BEGCND);
    for (int32_t j = first; j <= L.NDXCNT; ++j) {
      if (L.NDXREP[j] == 0) continue;
      op1(PUSHX, L.NDXREP[j]);
      op1(PUSHX, j);
      op(31 + (10 - 5));  // CMPEQ
      if (any) op(31 + (16 - 5));  // AND
      any = true;
    }
    if (cond || looprep[lv]) {
      op(ENDCND);
      int32_t gnext = (cond ? -L.LOOPJMP[lv] : L.LOOPJMP[lv]) - 1;
      op(IFGOTO);
      word(gnext - (L.CODELEN + 1));
    }
    if (cond) L.LOOPJMP[lv] = -L.LOOPJMP[lv];
    loopcolon[lv] = true;
    if (!begun && L.OPVAL[k] == T_FOR) {
      op(BEGROW);
      begun = true;
    }
  }
  void close_loop(int32_t tok, int32_t counter) {
    int32_t lv = L.LOOPLV;
    if (lv < 1) fail(1);
    if (L.LOOPJMP[lv] < 0) fail(34);
    if (!loopcolon[lv]) fail(1);
    if (counter > 1) fail(13);
    switch (tok) {
      case T_SUM: op(ADDOP); break;
      case T_MAX: op(MAXOP); break;
      case T_MIN: op(MINOP); break;
      case T_PROD: op(MULOP); break;
      case T_WRITEFOR:
        op1(WRITEFOROP, -counter);
        ds.lastnargs = -counter;
        break;
      case T_FOR:
        if (lastop != ENDROW && lastop != ENDFOR) {
          if (rowtype == NOREL) fail(5);
          if (rowtype >= -1 && rowtype <= 1) op(SUBOP);
          op1(ENDROW, rowtype);
          rowtype = NOREL;
        }
        break;
    }
    int32_t gnext = L.LOOPJMP[lv] - 1;
    op(GOTO);
    word(gnext - (L.CODELEN + 1));
    op(POPSET);
    setcode(L.LOOPJMP[lv], L.CODELEN - L.LOOPJMP[lv]);
    if (tok == T_FOR) op(ENDFOR);
    L.NDXCNT -= loopnidx[lv];
    --L.LOOPLV;
    if (tok == T_SUM || tok == T_PROD) op1(NOPRP, 41);
    if (tok == T_MAX || tok == T_MIN) op1(NOPRP, 66);
    if (tok == T_WRITEFOR) --outdepth;
  }

  // ---- brackets ----
  void comma() {
    pop_operators();
    int32_t k = L.OPDEPTH;
    if (k < 2) fail(1);
    bool isidx = L.OPTAG[k] != 0;
    if (L.CODELEN == argstart[k]) fail(isidx ? 16 : 13);
    L.OPVAL[k - 1] -= 1;
    if (L.OPVAL[k - 1] == 0) fail(isidx ? 16 : 13);
    argstart[k] = L.CODELEN;
  }
  void close_bracket() {
    if (--paren < 0) fail(197);
    pop_operators();
    int32_t k = L.OPDEPTH;
    if (k < 2) fail(1);
    int32_t tok = L.OPVAL[k], tag = L.OPTAG[k], counter = L.OPVAL[k - 1];
    bool empty = L.CODELEN == argstart[k];
    bracket_at[k] = false;
    L.OPDEPTH -= 2;
    if (tag == 0 && tok >= T_FOR && tok <= T_WRITEFOR) {
      if (empty && tok != T_WRITEFOR) fail(13);
      close_loop(tok, counter);
      return;
    }
    if (tag != 0) {
      if (counter > 1 || empty) fail(16);
      if (tag == 2) {
        int32_t owner = iget(W, L, L.IDOWNR, tok);
        op(ENDCND);
        op(PUSHS);
        word(tok - iget(W, L, L.LASTUB, owner) + 1);
        word(owner);
      } else if (tag == 1) {
        op1(PUSHSETN, tok);
      } else {
        int32_t d = iget(W, L, L.ROWNDIM, tok);
        if (rowdim() != d) fail(16);
        op(PUSHSR);
        word(tok);
        word(d);
        loop_positions(d);
      }
      return;
    }
    if (tok == T_IN) {
      if (counter > 1 || empty) fail(13);
      op(ENDCND);
      int32_t s = L.OPVAL[L.OPDEPTH];
      --L.OPDEPTH;
      op1(INOP, s);
      return;
    }
    int32_t nargs = tok <= 94 ? NARGS[tok - 41] : 1;
    if (counter > 1) fail(13);
    if (empty && nargs != 0) fail(13);
    if (!empty && nargs == 0) fail(13);
    if (tok == T_LPAR) {
      op1(NOPRP, 41);
    } else if (tok >= 42 && tok <= 89) {
      op(tok + 9);
      if (tok == T_SMAX || tok == T_SMIN || tok == T_USER || tok == T_WRITE) word(-counter);
      if (tok == T_USER) ++L.NRUNTM;
      if (tok == T_WRITE) {
        --outdepth;
        ds.lastnargs = -counter;
        return;
      }
      op1(NOPRP, tok);
    } else if (tok >= T_GIN && tok <= T_WARN) {
      if (rowtype != NOREL) fail(12);
      rowtype = 3;
      static const int32_t sop[] = {GINOP, BNDOP, BINOP, FREEOP, STOPOP};
      op(sop[tok - T_GIN]);
    } else {
      fail(1);
    }
  }

  // ---- SETS section ----
  void grow_int_list(int32_t& h, int32_t& cap, int64_t need) {
    if (need <= cap) return;
    int64_t want = std::max<int64_t>(2 * need, 64);
    if (want > 2147483640LL / 4) fail(41);
    int32_t cnt = (int32_t)want, st = 0;
    setblk_(2, cnt, W, L, h, st);
    if (st) fail(41);
    cap = cnt;
  }
  void set_name() {
    int32_t kind = 0, idx = 0;
    kind_of(sym.name, kind, idx);
    if (kind != 0) name_in_use(sym.name);
    int32_t st = 0;
    if (L.NSETS >= L.SETCAP - 1) {
      grwset_(W, L, st);
      if (st) fail(41);
    }
    add_name_hash_(W, L, nt_sets(L), sym.name, sym.namelen, st);
    if (st) fail(41);
    int32_t s = L.NSETS;
    iput(W, L, L.SETORD, s, -1);
    iput(W, L, L.SETALC, s, 0);
    iput(W, L, L.LXSTUB, s + 1, L.NDXSTBN + 1);
    iput(W, L, L.LASTUB, s + 1, L.NATTRS + 1);
    iput(W, L, L.SETPST, s, L.SETPARN + 1);
    iput(W, L, L.SETPST, s + 1, L.SETPARN + 1);
    iput(W, L, L.INXNTR, s, 0);
    iput(W, L, L.NNTRYS, s, 0);
    iput(W, L, L.INANTR, s, 0);
    if (s == 1) {
      iput(W, L, L.SETCST, 1, 1);
      iput(W, L, L.LXSTUB, 1, 1);
      iput(W, L, L.LASTUB, 1, 1);
    }
    iput(W, L, L.SETCST, s + 1, iget(W, L, L.SETCST, s));
    curset = s;
    listkind = 0;
  }
  void set_parent() {
    int32_t kind = 0, p = 0;
    kind_of(sym.name, kind, p);
    if (kind != 1 || p == curset) fail(14);  // a set is never its own parent
    int32_t s = curset;
    int32_t np = L.SETPARN + 1 - iget(W, L, L.SETPST, s);
    int32_t dp = setdim(W, L, p), add = dp == 0 ? 1 : dp;
    if (np + 1 > L.MAXPARENTS || setdim(W, L, s) + add > NDXMAX) fail(31);
    grow_int_list(L.SETPAR, L.SETPARCAP, (int64_t)L.SETPARN + 1);
    iput(W, L, L.SETPAR, ++L.SETPARN, p);
    iput(W, L, L.SETPST, s + 1, L.SETPARN + 1);
    grow_int_list(L.NDXSTB, L.NDXSTBCAP, (int64_t)L.NDXSTBN + add);
    if (dp == 0) {
      iput(W, L, L.NDXSTB, ++L.NDXSTBN, p);
    } else {
      int32_t from = iget(W, L, L.LXSTUB, p);
      for (int32_t c = 0; c < dp; ++c) {
        int32_t v = iget(W, L, L.NDXSTB, from + c);
        iput(W, L, L.NDXSTB, ++L.NDXSTBN, v);
      }
    }
    iput(W, L, L.LXSTUB, s + 1, L.NDXSTBN + 1);
  }
  void set_attribute() {
    enter_new_name(nt_attrs(L), L.IDOWNR);
    iput(W, L, L.IDOWNR, L.NATTRS, curset);
    iput(W, L, L.LASTUB, curset + 1, L.NATTRS + 1);
  }
  void set_member() {
    int32_t st = 0;
    add_name_hash_(W, L, nt_prim(L), sym.name, sym.namelen, st);
    if (st) fail(41);
    if (iget(W, L, L.NNTRYS, curset) == 0) iput(W, L, L.INXNTR, curset, L.NPRIMEL);
    iput(W, L, L.NNTRYS, curset, iget(W, L, L.NNTRYS, curset) + 1);
    rangelist = false;
  }
  void set_range_end() {
    int32_t st = 0;
    char last[NAMELEN + 1];
    std::memcpy(last, sym.name, NAMELEN);
    last[NAMELEN] = 0;
    const int32_t before = iget(W, L, L.NNTRYS, curset);
    if (before < 1) fail(180);
    implset_(W, L, curset, last, sym.namelen, st);
    if (st == 1) fail(180);
    if (st == 2) fail(41);
    rangelist = before == 1;
  }
  void derived_list_start() {
    int32_t st = 0;
    L.SETMSG = 0;
    defprnt_(W, L, curset, st);
    if (st) fail(L.SETMSG ? CMPERR_REPORTED : 167);
    iput(W, L, L.INXNTR, curset, L.NDRVUSE + 1);
    listkind = 2;
    ncomp = 0;
    L.SCANMD = 1;
  }
  void derived_component() {
    int32_t s = curset, d = setdim(W, L, s);
    int32_t c = (int32_t)(ncomp % d);
    int32_t p = iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s) + c);
    int32_t n = iget(W, L, L.NNTRYS, p), first = iget(W, L, L.INXNTR, p);
    int32_t r = n > 0 ? find_name_rng_hash_(W, L, nt_prim(L), sym.name, sym.namelen, first, first + n - 1) : 0;
    if (r <= 0) {
      std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
      std::memcpy(L.ERRTXT, sym.name, NAMELEN);
      fail(29);
    }
    grow_int_list(L.NDRVEL, L.NDRVCAP, (int64_t)L.NDRVUSE + d + 1);
    iput(W, L, L.NDRVEL, ++L.NDRVUSE, r - first + 1);
    ++ncomp;
    if (ncomp % d == 0 && prntsparse_(W, L, s) && !validmember_(W, L, s, L.NDRVUSE - d + 1)) {
      std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
      std::memcpy(L.ERRTXT, sym.name, NAMELEN);
      fail(149);
    }
  }
  // Refuses a member list that names one member twice (the set in ERRARG2, the member in ERRTXT).
  void no_repeats(int32_t s) {
    if (setrepeat_(W, L, s) == 0) return;
    L.ERRARG2 = s;
    fail(228);
  }
  void member_list_end() {
    L.SCANMD = 11;
    if (listkind == 2) {
      int32_t d = setdim(W, L, curset);
      if (ncomp % d != 0) fail(30);
      iput(W, L, L.NNTRYS, curset, (int32_t)(ncomp / d));
      iput(W, L, L.SETORD, curset, 0);
    }
    if (listkind != 0 && !rangelist) no_repeats(curset);
    listkind = 0;
    rangelist = false;
  }
  void condition_end() {
    pop_operators();
    if (L.OPDEPTH > 0 || paren != 0) fail(2);
    int32_t n = L.CODELEN - condstart;
    int32_t at = iget(W, L, L.SETCST, curset);
    int32_t st = 0;
    if ((int64_t)at + n > L.CNDCAP) {
      int64_t want = std::max<int64_t>(2 * ((int64_t)at + n), 64);
      if (want > 2147483640LL / 4) fail(41);
      int32_t cnt = (int32_t)want;
      setblk_(2, cnt, W, L, L.CNDBLK, st);
      if (st) fail(41);
      L.CNDCAP = cnt;
    }
    for (int32_t k = 0; k < n; ++k) iput(W, L, L.CNDBLK, at + k, code(condstart + 1 + k));
    iput(W, L, L.SETCST, curset + 1, at + n);
    L.CODELEN = condstart;
    setcond = false;
  }
  void set_statement_end() {
    if (curset == 0) return;
    int32_t s = curset;
    iput(W, L, L.INANTR, s, 0);
    if (iget(W, L, L.NNTRYS, s) < 1) {
      iput(W, L, L.NNTRYS, s, 0);
      iput(W, L, L.INXNTR, s, 0);
    } else {
      int32_t st = 0;
      L.SETMSG = 0;
      allocset_(W, L, s, st);
      if (st) fail(L.SETMSG ? CMPERR_REPORTED : 167);
    }
    curset = 0;
  }

  // ---- the flat row ----
  // The symbols of a row "[name] expression relation expression;" or "[name] MIN|MAX =
  // expression;", or of a bound "@BND(a, x, b);", "@FREE(x);", "@GIN(x);" or "@BIN(x);",
  // whose expressions hold numbers, names, signs, + - and *, as the MPS import writes them,
  // are read straight from the scanner buffer and compiled by the steps the general loop
  // takes for them: the same code, names, errors and scanner state. At anything else, and
  // where getsym_ would refill the buffer, the general loop goes on from the state reached.

  // Reads the name whose first character is at q into sym as enkody_ reads it; its end.
  int32_t flat_name(int32_t q) {
    const char* b = L.SCANBUF;
    const int32_t len = L.SCANLEN;
    std::memset(sym.name, ' ', NAMELEN);
    sym.name[0] = kshift_(b[q]);
    int32_t n = 1;
    for (char u; n < NAMELEN && q < len && (u = NAMEUP[(unsigned char)b[q + 1]]) != 0; ++q) sym.name[n++] = u;
    sym.name[NAMELEN] = 0;
    sym.namelen = n;
    return q;
  }
  // The end of the word w (upper case) whose first character is at q, as getsym_ compares
  // it; 0 when it is not there.
  int32_t flat_word_end(int32_t q, const char* w, int32_t& e) const {
    for (int32_t j = 1; w[j] != 0; ++j)
      if ((q = nextnbat_(L, q, e)) == 0 || kshift_(L.SCANBUF[q]) != w[j]) return 0;
    return q;
  }
  // Compiles the symbols of a flat row from state on; true when that ended the statement,
  // false when the general loop is to take the next symbol.
  bool flat_row(int32_t& state) {
    if (L.TRACELV > 1 || L.CALCON != 0 || L.SCANMD == 1 || L.SETMODE != 0 || section != 0) return false;
    auto isname = [](char c) { return (c >= 'A' && c <= 'Z') || c == '_'; };
    for (;;) {
      // getsym_ refills the buffer when a symbol starts near its end
      if (L.SCANPOS < 0 || refilldue(W, L)) return false;
      int32_t e = 0;
      const int32_t q = nextnbat_(L, L.SCANPOS, e);
      if (q == 0) return false;
      const char c = kshift_(L.SCANBUF[q]);
      int16_t tok = 0, ns = 0;
      int32_t end = q, numerr = 0;
      double val = 0.0;
      switch (state) {
        case 1:  // the statement's first symbol
          if (begun || !firsttok) return false;
          if (c == '[') {
            tok = T_LBRK, ns = 21;
            break;
          }
          if (c != '@') return false;
          for (const auto& [w, t] : {std::pair<const char*, int16_t>{"@BND(", T_BND}, {"@FREE(", T_FREE},
                                     {"@GIN(", T_GIN}, {"@BIN(", T_BIN}}) {
            int32_t e2 = e;
            if ((end = flat_word_end(q, w, e2)) != 0) {
              tok = t, ns = 7, e = e2;
              break;
            }
          }
          if (end == 0) return false;
          break;
        case 21:
          if (!isname(c)) return false;
          tok = T_NAME, ns = 22, end = flat_name(q);
          break;
        case 22:
          if (c != ']') return false;
          tok = T_RBRK, ns = 23;
          break;
        case 3: case 18:  // after an operand
          if (c == ',' || c == ')') {
            tok = c == ',' ? T_COMMA : T_RPAR, ns = c == ',' ? 17 : 18;
          } else if (c == '+' || c == '-' || c == '*') {
            tok = c == '+' ? T_PLUS : c == '-' ? T_MINUS : T_MUL, ns = 4;
          } else if (c == '<' || c == '>') {
            int32_t e2 = e;
            const int32_t w = nextnbat_(L, q, e2);
            if (w != 0 && L.SCANBUF[w] == '=') {
              tok = c == '<' ? T_LE : T_GE, end = w, e = e2;
            } else {
              tok = c == '<' ? T_LT : T_GT;
            }
            ns = 6;
          } else if (c == '=' || c == ';') {
            tok = c == '=' ? T_EQ : T_SEMI, ns = c == '=' ? 6 : 1;
          } else {
            return false;
          }
          break;
        case 23: case 5: case 2: case 4: case 6: case 7: case 17:  // an operand's place
          if (state == 23 && c == 'M') {
            int32_t e2 = e, w = flat_word_end(q, "MAX=", e2);
            tok = T_MAXEQ;
            if (w == 0) {
              e2 = e;
              w = flat_word_end(q, "MIN=", e2);
              tok = T_MINEQ;
            }
            if (w != 0) {
              ns = 5, end = w, e = e2;
              break;
            }
          }
          if (c == '+' || c == '-') {
            tok = c == '+' ? T_PLUS : T_MINUS, ns = 2;
          } else if ((c >= '0' && c <= '9') || c == '.') {
            end = q - 1;
            numerr = txt2np_(L, L.SCANBUF, end, L.SCANLEN, L.SYNTAX, val);
            if (numerr == 1) return false;
            tok = T_NUMBER, ns = 3;
          } else if (isname(c)) {
            tok = T_NAME, ns = 3, end = flat_name(q);
          } else {
            return false;
          }
          break;
        default:
          return false;
      }
      // the symbol taken as the general loop takes it: the scanner and sym as getsym_ leaves them
      if (L.OPDEPTH > L.OPLIMIT - 3) fail(4);
      room(std::max(2 * L.OPLIMIT, 44));
      L.SCANPOS = end;
      if (e > 0) L.SRCLINE = escline_(L, e);
      sym.status = 0;
      sym.start = q;
      errpos = q;
      if (tok == T_NUMBER) {
        sym.val = val;
        if (numerr == 2) L.BIGCNT++;
      }
      if (state == 1) {
        firsttok = false;
        op(BEGROW);
        begun = true;
      }
      prevstate = state;
      state = ns;
      switch (ns) {
        case 7: open_function(tok); break;
        case 17: comma(); break;
        case 18:
          if (prevstate != 24) close_bracket();
          break;
        case 22: row_name(); break;
        case 5:
          if (rowtype != NOREL) fail(12);
          rowtype = tok == T_MAXEQ ? 2 : -2;
          break;
        case 2:
          if (tok == T_MINUS) push(3, 0);
          break;
        case 3:
          if (tok == T_NUMBER) pushn(sym.val);
          else operand_name();
          break;
        case 4: binary_op(tok); break;
        case 6: relation(tok); break;
        case 1:
          if (paren > 0 || L.LOOPLV > 0) fail(2);
          if (lastop == ENDFOR && L.OPDEPTH == 0) return true;
          end_statement();
          if (L.OPDEPTH > 0) fail(2);
          return true;
      }
    }
  }

  // ---- the row of a state ----
  int32_t scan(int32_t state) {
    int32_t a = g.nsinpt[state], n = g.nsinpt[state + 1] - a;
    static CandStart from[NSTATES + 1];
    CandStart* fs = state >= 1 && state <= NSTATES ? &from[state] : nullptr;
    int32_t r = fs != nullptr ? getsym_quick_(W, L, voc, &g.nsintx[a], n, T_END, sym, *fs) : -2;
    if (r == -2) r = getsym_(W, L, voc, &g.nsintx[a], n, T_END, sym, fs);
    errpos = sym.start;
    if (L.TRACELV > 3)
      outline(L, " BACK FROM GETSYM: SYM INDEX, VAL8, KWRK200B, NERR= " + std::to_string(r) + " " +
                     std::to_string(sym.val) + " " + std::string(sym.name, 8) + " " + std::to_string(sym.status));
    if (sym.status > 0) fail(sym.status + 35);
    if (r < 0) return -1;
    if (r == 0) return 0;
    return a + r - 1;
  }

  // Reads an unquoted or quoted text argument (@WARN's message).
  void read_text() {
    static const int16_t cand[1] = {T_LINE};
    int32_t r = getsym_(W, L, voc, cand, 1, 0, sym);
    if (sym.status > 0) fail(sym.status + 35);
    if (r != 1) fail(1);
    write_text(sym.text, sym.textlen);
  }
  void write_text(const char* t, int32_t n) {
    room(2 + (n + 3) / 4);
    op1(PUSHSTR, n);
    for (int32_t i = 0; i < n; i += 4) {
      char b[4] = {' ', ' ', ' ', ' '};
      for (int32_t j = 0; j < 4 && i + j < n; ++j) b[j] = t[i + j];
      int32_t v;
      std::memcpy(&v, b, 4);
      word(v);
    }
  }
  // Reads a set name directly (after @SIZE( and @IN().
  int32_t read_set(int32_t err) {
    char nm[NAMELEN + 1];
    int32_t n = enkody_(W, L, nm);
    if (n == 0) fail(1);
    int32_t kind = 0, s = 0;
    kind_of(nm, kind, s);
    if (kind != 1) fail(err);
    return s;
  }

  bool run(int32_t& state);
  // the statement state of a DATA or INIT section
  struct DataState {
    struct Col {
      int32_t obj = 0, kind = 0;  // kind 1 attribute, 2 scalar, 3 set position
      int32_t var = 0, stride = 1, elems = 1, pos = 0;
    };
    std::vector<Col> cols;
    std::vector<double> held;       // values of a statement that defines a set
    std::vector<int32_t> heldkind;  // 1 value, 2 asked, 3 skipped
    std::vector<std::string> names;
    std::vector<std::string> textargs;
    std::vector<double> firstval;  // the first value of each column, for a repeated value
    std::vector<int32_t> firstkind;
    std::vector<std::pair<int32_t, int32_t>> objs;  // output list: object number, type
    int32_t defset = 0, parentset = -1;
    bool mixed = false;
    int64_t expected = 0, k = 0;
    double sign = 1.0;
    int32_t modifier = 0, nfuncs = 0, codestart = 0, lastnargs = 0;
    int32_t qseed = 0;  // the seed of @QRAND
    int32_t infn = 0;   // the interface function on the right
    int32_t outfn = 0;  // the interface function of an output statement (on the left)
  };
  DataState ds;
  void data_step(int32_t& state, int32_t prev, int32_t tok);
  void out_words(const std::vector<int32_t>& rec);
  void out_record(const std::vector<int32_t>& rec);
  void out_text(const std::string& t);
  void text_args(std::vector<int32_t>& rec);
  void link_args(std::vector<int32_t>& rec, bool status);
  int32_t out_kind(bool code = false) const;
  void out_code_end(int32_t& state);
  void putval(int32_t v, double x);
  void askval(int32_t v);
};

bool Compiler::run(int32_t& state) {
  state = 1;
  for (;;) {
    if (flat_row(state)) return true;
    if (L.OPDEPTH > L.OPLIMIT - 3) fail(4);
    room(std::max(2 * L.OPLIMIT, 44));
    int32_t e = scan(state);
    if (e < 0) {
      if (state == 1 && !begun && L.OPDEPTH == 0 && curset == 0) return false;
      fail(paren > 0 || L.LOOPLV > 0 ? 2 : 1);
    }
    if (e == 0) {
      bool atend = sbpeek_(W, L) == ' ';
      fail(atend && paren > 0 ? 2 : 1);
    }
    int32_t tok = g.nsintx[e];
    int32_t ns = g.kod2st[e];
    if (tok >= 41 && tok <= 89 && NMODELOK[tok - 41] == 0 && outdepth < 1 && section != 2) fail(1);
    if (L.TRACELV > 3) outline(L, " NEW STATE:" + std::to_string(ns));
    if (L.TRACELV > 1) outline(L, "NEXT COMPILER STATE=" + std::to_string(ns));
    prevstate = state;
    state = ns;
    if (!begun && firsttok) {
      firsttok = false;
      if (ns == 25 || ns == 35) {
        begun = true;
      } else if (tok == T_FOR) {
        // BEGFOR takes the row's place
      } else if (tok == T_SEMI || tok == T_TITLE || tok == T_CALC || tok == T_ENDCALC || tok == T_END) {
        firsttok = tok != T_SEMI ? tok == T_CALC : true;
      } else {
        op(BEGROW);
        begun = true;
      }
    }
    switch (ns) {
      case 1:
        if (section >= 2) {
          out_code_end(state);
          break;
        }
        if (setcond) {
          condition_end();
          set_statement_end();
          state = 44;
          break;
        }
        if (!begun && lastop != ENDFOR) {
          aftertitle = false;
          firsttok = true;
          break;  // an empty statement or the end of a TITLE line: go on
        }
        if (paren > 0 || L.LOOPLV > 0) fail(2);
        if (lastop == ENDFOR && L.OPDEPTH == 0) return true;
        end_statement();
        if (L.OPDEPTH > 0) fail(2);
        return true;
      case 2:
        if (tok == T_MINUS) push(3, 0);
        else if (tok == T_NOT) push(4, 0);
        break;
      case 3:
        if (tok == T_NUMBER) pushn(sym.val);
        else if (tok == T_QUOTED) {
          if (outdepth < 1 && section != 2) fail(203);
          write_text(sym.text, sym.textlen);
        } else operand_name();
        break;
      case 4: binary_op(tok); break;
      case 5:
        if (rowtype != NOREL) fail(12);
        rowtype = tok == T_MAXEQ ? 2 : -2;
        break;
      case 6: relation(tok); break;
      case 7: case 61:
        open_function(tok);
        if (ns == 61) {
          read_text();
          argstart[L.OPDEPTH] = -1;
        }
        break;
      case 8: case 19: case 93:
        open_loop(tok);
        bracket_at[L.OPDEPTH] = true;
        break;
      case 9: loop_set(); break;
      case 10: idxleft = dim1(L.LOOPSET[L.LOOPLV]); break;
      case 11: loop_index_name(); break;
      case 12:
        if (--idxleft < 1) fail(16);
        break;
      case 13:
        if (idxleft != 1) fail(16);
        break;
      case 14:
        // in a membership condition ":" ends the condition, unless it ends a set loop's set part
        if (setcond && !(L.LOOPLV > 0 && !loopcolon[L.LOOPLV])) {
          condition_end();
          state = 41;
          break;
        }
        loop_colon();
        break;
      case 15:
        if (L.OPDEPTH > 0 || L.LOOPLV > 0 || paren > 0) fail(2);
        return true;
      case 16:
        if (L.OPDEPTH < 2 || L.OPTAG[L.OPDEPTH] == 0 || prevstate != 3) fail(1);
        ++paren;
        op(BEGCND);
        bracket_at[L.OPDEPTH] = true;
        argstart[L.OPDEPTH] = L.CODELEN;
        break;
      case 17: comma(); break;
      case 18:
        if (prevstate == 24) break;  // the ")" of @SIZE(
        close_bracket();
        break;
      case 20:
        if (L.LOOPLV < 1 || loopcolon[L.LOOPLV] || L.LOOPJMP[L.LOOPLV] < 0) fail(1);
        L.LOOPJMP[L.LOOPLV] = -L.LOOPJMP[L.LOOPLV];
        op(BEGCND);
        break;
      case 21: break;
      case 22: row_name(); break;
      case 23: break;
      case 24: {
        int32_t s = read_set(14);
        int32_t st = 0;
        L.SETMSG = 0;
        allocset_(W, L, s, st);
        if (st) fail(L.SETMSG ? CMPERR_REPORTED : 167);
        pushn((double)iget(W, L, L.NNTRYS, s));
        break;
      }
      case 33: aftertitle = true; break;
      case 60: {
        int32_t st = 0;
        savet_(W, L, sym.text, sym.textlen, st);
        if (st) fail(41);
        break;
      }
      case 35:
        if (paren > 0) fail(2);
        if (L.OPDEPTH > 0) fail(1);
        section = 1;
        L.SETMODE = 1;
        break;
      case 36: set_name(); break;
      case 38: set_parent(); break;
      case 37: case 39: case 40: case 41: case 43: case 47: case 51: break;
      case 42: set_attribute(); break;
      case 44:
        set_statement_end();
        break;
      case 45:
        if (tok == T_DIV) {
          listkind = 1;
          L.SCANMD = 1;
        }
        break;
      case 46: set_member(); break;
      case 49: derived_list_start(); break;
      case 50: derived_component(); break;
      case 52: member_list_end(); break;
      case 87: break;
      case 88: set_range_end(); break;
      case 55:
        set_statement_end();
        section = 0;
        L.SETMODE = 0;
        L.SCANMD = 11;
        return true;
      case 56:
        setcond = true;
        condstart = L.CODELEN;
        break;
      case 57: {
        if (!setcond || curset == 0) fail(1);
        int32_t n = 0;
        if (txt2int_(L.SCANBUF, L.SCANPOS, L.SCANLEN, n) != 0) fail(1);
        if (n < 1 || n > dim1(curset)) fail(1);
        op1(PUSHATX, n);
        break;
      }
      case 59: {
        int32_t s = read_set(42);
        ++paren;
        push(s, 0);
        open_bracket(dim1(s) + 1, T_IN);
        bracket_at[L.OPDEPTH] = true;
        op(BEGCND);
        argstart[L.OPDEPTH] = -1;
        break;
      }
      case 80:
        L.SCANMD = 1;
        idxset = 0;
        break;
      case 81: case 83:
        std::memcpy(idxname, sym.name, NAMELEN);
        break;
      case 82: {
        int32_t kind = 0, s = 0;
        kind_of(idxname, kind, s);
        if (kind != 1 || setdim(W, L, s) != 0) fail(9);
        if (iget(W, L, L.NNTRYS, s) < 1) fail(147);
        idxset = s;
        break;
      }
      case 84: {
        L.SCANMD = 11;
        int32_t m = psendx_(W, L, idxname, idxset);
        if (m <= 0) fail(9);
        pushn((double)m);
        break;
      }
      case 99: {
        L.CALCON = 1;
        for (int32_t s = 1; s <= L.NSETS; ++s) {
          if (L.TRACELV > 1) outline(L, "START OF CALC: ALLOCATE SET: " + namestr(W, L, L.KSNAME, s));
          int32_t st = 0;
          L.SETMSG = 0;
          allocset_(W, L, s, st);
          if (st) fail(L.SETMSG ? CMPERR_REPORTED : 167);
        }
        break;
      }
      case 100:
        if (L.CALCON != 1) fail(1);
        if (L.OPDEPTH > 0 || L.LOOPLV > 0 || paren > 0) fail(2);
        L.CALCON = 0;
        return true;
      case 62: fail(tok == T_OLE ? 138 : 140);
      case 25:
        if (section < 2) {
          if (paren > 0) fail(2);
          if (L.OPDEPTH > 0) fail(1);
          section = tok == T_INIT ? 3 : 2;
          ds = DataState();
          break;
        }
        data_step(state, prevstate, tok);
        break;
      case 27:
        if (section == 2 && L.OUTENDN >= 1) out_record({0});  // the group mark
        section = 0;
        L.SCANMD = 11;
        return true;
      default:
        if (section >= 2) {
          data_step(state, prevstate, tok);
          break;
        }
        fail(1);
    }
  }
}

// Stores one value of a DATA or INIT statement in variable v.
void Compiler::putval(int32_t v, double x) {
  int32_t kind = iget(W, L, L.VARKND, v);
  if (section == 2) {
    if (kind == 5 || kind == 6) {
      L.ERRARG2 = v;
      fail(204);
    }
    iput(W, L, L.VARKND, v, 6);
    if (L.VARFIX > 0) iput(W, L, L.VARFIX, v, 0);
    dput(W, (int64_t)L.START[L.VARVAL] + 2 * (int64_t)(v - 1), x);
  } else if (kind < 4) {
    dput(W, (int64_t)L.START[L.VARVAL] + 2 * (int64_t)(v - 1), x);
  }
}

// Marks variable v as asked at run time.
void Compiler::askval(int32_t v) {
  int32_t kind = iget(W, L, L.VARKND, v);
  // the run-time value lists: DATA in the first variable reference list, INIT in the second
  int32_t& h = section == 2 ? L.VREF1 : L.VREF2;
  int32_t& n = section == 2 ? L.VREF1N : L.VREF2N;
  int32_t& cap = section == 2 ? L.VREF1CAP : L.VREF2CAP;
  if (section == 2) {
    if (kind == 5 || kind == 6) {
      L.ERRARG2 = v;
      fail(204);
    }
    iput(W, L, L.VARKND, v, 5);
    dput(W, (int64_t)L.START[L.VARVAL] + 2 * (int64_t)(v - 1), L.BIGNUM);
  } else if (kind < 4) {
    // a starting value asked at run time: unset until it is asked
    dput(W, (int64_t)L.START[L.VARVAL] + 2 * (int64_t)(v - 1), L.BIGNUM);
  }
  grow_int_list(h, cap, (int64_t)n + 1);
  iput(W, L, h, ++n, v);
  ++L.NRUNTM;
}

// One token of a DATA or INIT section (the states of data statements and output statements).
void Compiler::data_step(int32_t& state, int32_t prev, int32_t tok) {
  auto& cols = ds.cols;
  auto& held = ds.held;
  auto& heldkind = ds.heldkind;
  auto& names = ds.names;
  auto& textargs = ds.textargs;
  auto& firstval = ds.firstval;
  auto& firstkind = ds.firstkind;
  int32_t& defset = ds.defset;
  int32_t& parentset = ds.parentset;
  bool& mixed = ds.mixed;
  int64_t& expected = ds.expected;
  int64_t& k = ds.k;
  double& sign = ds.sign;
  using Col = DataState::Col;
  auto reset = [&]() { ds = DataState(); };
  auto column = [&]() -> Col& { return cols[(size_t)(k % (int64_t)cols.size())]; };
  // the next value: 1 a number, 2 asked, 3 skipped
  auto value = [&](int32_t what, double x) {
    if (cols.empty()) fail(1);
    Col& c = column();
    if (c.kind == 3) fail(159);
    if (defset == 0 && expected > 0 && k >= expected && k >= (int64_t)cols.size()) {
      L.ERRARG2 = (int32_t)expected;
      fail(19);
    }
    if (k < (int64_t)cols.size()) {
      firstval.resize(cols.size(), 0.0);
      firstkind.resize(cols.size(), 3);
      firstval[(size_t)k] = x;
      firstkind[(size_t)k] = what;
    }
    if (defset != 0) {
      held.push_back(x);
      heldkind.push_back(what);
    } else {
      if (c.elems > 0 && k / (int64_t)cols.size() < c.elems) {
        int32_t v = c.var + (int32_t)(k / (int64_t)cols.size()) * c.stride;
        if (what == 1) putval(v, x);
        else if (what == 2) askval(v);
      } else if (k >= (int64_t)cols.size()) {
        L.ERRARG2 = (int32_t)expected;  // the column has no element left for the value
        fail(19);
      }
    }
    ++k;
  };
  {
    switch (state) {
      case 26: {
        if (tok != T_NAME) break;
        int32_t kind = 0, idx = 0;
        kind_of(sym.name, kind, idx);
        if (kind == 0) {
          idx = new_scalar(sym.name, sym.namelen);
          kind = 5;
        }
        Col c;
        int32_t pset = 0;
        if (kind == 5) {
          c.obj = idx;
          c.kind = 2;
        } else if (kind == 4) {
          c.obj = idx;
          c.kind = 1;
          pset = iget(W, L, L.IDOWNR, idx);
        } else if (kind == 1) {
          if (section != 2) fail(143);
          if (iget(W, L, L.SETALC, idx) > 0 || iget(W, L, L.NNTRYS, idx) > 0) fail(114);
          if (defset != 0) fail(150);  // one set per statement, named once
          defset = idx;
          pset = idx;
          int32_t d = dim1(idx);
          for (int32_t j = 0; j < d; ++j) {
            Col sc;
            sc.obj = idx;
            sc.kind = 3;
            sc.pos = j;
            cols.push_back(sc);
          }
        } else {
          fail(kind == 2 ? 18 : 1);
        }
        if (parentset < 0) parentset = pset;
        else if (pset != parentset) {
          mixed = true;
          if (kind == 4) parentset = 0;
        }
        if (kind != 1) cols.push_back(c);
        break;
      }
      case 76: break;
      case 28: {
        if (tok != T_EQ) break;
        for (Col& c : cols) {
          if (c.kind == 2) {
            c.var = c.obj;
            c.stride = 1;
            c.elems = 1;
          } else if (c.kind == 1) {
            int32_t s = iget(W, L, L.IDOWNR, c.obj);
            if (s == defset) continue;
            int32_t st = 0;
            L.SETMSG = 0;
            allocset_(W, L, s, st);
            if (st) fail(L.SETMSG ? CMPERR_REPORTED : 167);
            if (setdim(W, L, s) > 0 && iget(W, L, L.NNTRYS, s) < 1) fail(114);
            c.var = iget(W, L, L.INANTR, s) + c.obj - iget(W, L, L.LASTUB, s);
            c.stride = setnattr(W, L, s);
            c.elems = iget(W, L, L.NNTRYS, s);
          }
          if (c.kind != 3) expected += c.elems;
        }
        if (defset != 0) L.SCANMD = 1;  // member names may begin with a digit
        break;
      }
      case 58:
        if (tok == T_MINUS) sign = -sign;
        break;
      case 30: {
        double x = sign * sym.val;
        sign = 1.0;
        if (!cols.empty() && column().kind == 3) {
          if (x < 1 || x != std::floor(x) || x > 2147483640.0) fail(1);
          names.push_back(std::to_string((int64_t)x));
          ++k;
          break;
        }
        value(1, x);
        break;
      }
      case 31: value(2, 0.0); break;
      case 32:
        if (prev == 28 || prev == 32) value(3, 0.0);
        break;
      case 85: {
        if (cols.empty() || column().kind != 3) fail(1);
        if (mixed) fail(6);
        names.push_back(std::string(sym.name, (size_t)sym.namelen));
        ++k;
        break;
      }
      case 96: {
        // a range first..last: the set's single column, its first end already read
        if (cols.size() != 1 || defset == 0 || setdim(W, L, defset) != 0 || names.size() != 1) fail(180);
        break;
      }
      case 97: {
        int32_t s = defset, st = 0;
        add_name_hash_(W, L, nt_prim(L), names[0].data(), (int32_t)names[0].size(), st);
        if (st) fail(41);
        iput(W, L, L.INXNTR, s, L.NPRIMEL);
        iput(W, L, L.NNTRYS, s, 1);
        char last[NAMELEN + 1];
        std::memcpy(last, sym.name, NAMELEN);
        implset_(W, L, s, last, sym.namelen, st);
        if (st == 1) fail(180);
        if (st == 2) fail(41);
        names.clear();
        k = 0;
        L.SETMSG = 0;
        allocset_(W, L, s, st);
        if (st) fail(L.SETMSG ? CMPERR_REPORTED : 167);
        defset = 0;
        cols.clear();
        break;
      }
      case 95:
        L.SCANMD = 11;
        reset();
        break;
      case 34: {
        if (tok != T_SEMI) break;
        L.SCANMD = 11;

        if (defset != 0) {
          int64_t nc = (int64_t)cols.size();
          if (k % nc != 0) {
            L.ERRARG2 = (int32_t)nc;  // the multiple, the count found, the set
            L.ERRARG3 = (int32_t)k;
            L.ERRARG4 = defset;
            fail(146);
          }
          int32_t s = defset, d = setdim(W, L, s), st = 0;
          int64_t rows = k / nc;
          if (d == 0) {
            int32_t first = L.NPRIMEL + 1;
            for (const std::string& m : names) {
              add_name_hash_(W, L, nt_prim(L), m.data(), (int32_t)m.size(), st);
              if (st) fail(41);
            }
            iput(W, L, L.INXNTR, s, rows > 0 ? first : 0);
          } else {
            L.SETMSG = 0;
            defprnt_(W, L, s, st);
            if (st) fail(L.SETMSG ? CMPERR_REPORTED : 167);
            iput(W, L, L.INXNTR, s, L.NDRVUSE + 1);
            for (size_t i = 0; i < names.size(); ++i) {
              int32_t p = iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s) + (int32_t)(i % (size_t)d));
              int32_t n = iget(W, L, L.NNTRYS, p), first = iget(W, L, L.INXNTR, p);
              int32_t r = n > 0 ? find_name_rng_hash_(W, L, nt_prim(L), names[i].data(), (int32_t)names[i].size(),
                                                      first, first + n - 1)
                                : 0;
              if (r <= 0) {
                std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
                std::memcpy(L.ERRTXT, names[i].data(), names[i].size());
                fail(29);
              }
              grow_int_list(L.NDRVEL, L.NDRVCAP, (int64_t)L.NDRVUSE + d + 1);
              iput(W, L, L.NDRVEL, ++L.NDRVUSE, r - first + 1);
              if ((i + 1) % (size_t)d == 0 && prntsparse_(W, L, s) && !validmember_(W, L, s, L.NDRVUSE - d + 1)) {
                std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
                std::memcpy(L.ERRTXT, names[i].data(), names[i].size());
                fail(149);
              }
            }
            iput(W, L, L.SETORD, s, 0);
          }
          iput(W, L, L.NNTRYS, s, (int32_t)rows);
          no_repeats(s);
          L.SETMSG = 0;
          allocset_(W, L, s, st);
          if (st) fail(L.SETMSG ? CMPERR_REPORTED : 167);
          // the attribute values held for the new members
          size_t hi = 0;
          for (int64_t row = 0; row < rows; ++row)
            for (size_t j = 0; j < cols.size(); ++j) {
              const Col& c = cols[j];
              if (c.kind == 3) continue;
              if (c.kind == 2) fail(6);  // a scalar has no value per member
              int32_t v = iget(W, L, L.INANTR, s) + (int32_t)row * setnattr(W, L, s) + c.obj -
                          iget(W, L, L.LASTUB, s);
              if (hi < held.size()) {
                if (heldkind[hi] == 1) putval(v, held[hi]);
                else if (heldkind[hi] == 2) askval(v);
              }
              ++hi;
            }
        } else if (k != expected) {
          if (k != (int64_t)cols.size() || k == 0) {
            L.ERRARG2 = (int32_t)expected;
            fail(19);
          }
          // one value per column: repeated over the column's elements (the first is placed)
          for (size_t j = 0; j < cols.size(); ++j) {
            const Col& c = cols[j];
            if (c.elems < 2 || firstkind[j] == 3) continue;
            for (int32_t i = 1; i < c.elems; ++i) {
              int32_t v = c.var + i * c.stride;
              if (firstkind[j] == 2) askval(v);
              else putval(v, firstval[j]);
            }
          }
        }
        reset();
        break;
      }
      case 63: case 72:
        // the spreadsheet, database and pointer links supply no data on this platform, but
        // their output statements are kept: the output operations report each one's failure
        if (state == 72 || tok == T_WKX) {
          if (tok == T_OLE) fail(138);
          if (tok == T_ODBC) fail(140);
          if (tok == T_POINTER) fail(141);
          if (tok == T_WKX) fail(139);
        }
        if (state == 72) ds.infn = tok;
        else ds.outfn = tok;
        if (tok == T_IMPORT) {
          ++L.NRUNTM;  // supplies no value
          break;
        }
        if (state == 63 && section != 2) fail(1);
        if (state == 72 && cols.empty()) fail(1);
        if (state == 72 && tok == T_TEXT && mixed) fail(6);  // one parent set for the file's rows
        textargs.clear();
        ds.objs.clear();
        break;
      case 64:
        textargs.push_back(std::string(sym.text, (size_t)sym.textlen));
        break;
      case 65:
        if (prev == 63) {  // an empty first argument: only a spreadsheet's, the active workbook
          if (ds.outfn != T_OLE) fail(1);
          char wb[256] = {};
          bool any = XLXINIT_() != 0 && XLXGETNAMEOFACTIVEWORKBOOK_(wb) != 0 && wb[0] != 0;
          XLXEXIT_();
          if (!any) fail(216);
          textargs.push_back(wb);
        }
        break;
      case 74:
        if (prev == 72) fail(1);
        break;
      // @QRAND( [seed] ) on the right: the seed from the clock, an integer or a DATA scalar
      case 89:
        getime_(ds.qseed);
        if (ds.qseed < 1) ds.qseed = 1;  // a seed of 0 would draw nothing but zeros
        break;
      case 91: ds.qseed = sym.ival; break;
      case 92:
        if (int32_t err = qrandseed_(W, L, sym.name, ds.qseed)) fail(err);
        break;
      case 90: {
        int32_t attr = cols.size() == 1 && cols[0].kind == 1 ? cols[0].obj : 0;
        if (int32_t err = qrandin_(W, L, (int32_t)cols.size(), attr, defset != 0, ds.qseed, section == 3)) fail(err);
        k = expected;  // every value is placed
        break;
      }
      case 66:
        if (ds.outfn == T_POINTER && textargs.size() != 1) fail(134);
        break;
      case 67: {
        if (tok != T_SEMI) break;
        // the ";" of an output statement: its object-list record
        if (ds.modifier) fail(2);
        std::vector<int32_t> rec = {out_kind(), (int32_t)ds.objs.size()};
        for (auto& o : ds.objs) rec.push_back(o.first);
        for (auto& o : ds.objs) rec.push_back(o.second);
        if (ds.outfn == T_TEXT) text_args(rec);
        else link_args(rec, false);
        out_record(rec);
        reset();
        break;
      }
      case 68:
        if (tok == T_EQ) {
          ds.modifier = 0;
          ds.nfuncs = 0;
          ds.codestart = L.CODELEN;
        }
        break;
      case 69: {
        int32_t kind = 0, idx = 0;
        kind_of(sym.name, kind, idx);
        int32_t type = 0;
        if (kind == 5) type = 0;
        else if (kind == 4) type = 4;
        else if (kind == 2) type = 8;
        else if (kind == 1) {
          if (ds.modifier) fail(158);
          if (ds.outfn == T_POINTER) fail(155);
          type = 12;
        } else {
          fail(25);
        }
        if (type < 12) type += ds.modifier;
        ds.objs.push_back({idx, type});
        break;
      }
      case 70: ds.modifier = 0; break;
      case 71:
        if (ds.modifier) fail(1);
        ds.modifier = tok == T_DUAL ? 1 : tok == 78 ? 2 : 3;
        break;
      case 78:
        if (!ds.modifier) fail(2);
        ds.modifier = 0;
        break;
      case 86: {
        if (ds.outfn != T_TEXT) fail(1);  // text literals are columns of text tables only
        int32_t at = L.OUTTXTN + 1;
        out_text(std::string(sym.text, (size_t)sym.textlen));
        ds.objs.push_back({at, 13});
        break;
      }
      case 79: {
        if (sbnext_(W, L) != ')' || sbnext_(W, L) != ';') fail(1);
        std::vector<int32_t> rec = {out_kind(), -1};
        if (ds.outfn == T_TEXT) text_args(rec);
        else link_args(rec, true);
        out_record(rec);
        break;
      }
      case 73:
        if (tok != T_LINE) break;
        textargs.push_back(std::string(sym.text, (size_t)sym.textlen));
        break;
      case 75: {
        if (tok != T_RPAR || ds.infn == T_IMPORT) break;
        // @TEXT(file) on the right: the values and members come from the file
        if (textargs.size() != 1 || textargs[0].empty()) fail(50);
        std::vector<int32_t> kinds;
        for (const Col& c : cols) kinds.push_back(c.kind == 3 ? (setdim(W, L, c.obj) == 0 ? 4 : 5) : 1);
        std::vector<TextToken> toks;
        int64_t count = 0;
        int32_t st = 0;
        std::string fname = textargs[0];
        std::memset(L.ERRSTR, ' ', sizeof L.ERRSTR - 1);
        std::memcpy(L.ERRSTR, fname.data(), std::min(fname.size(), sizeof L.ERRSTR - 1));
        getextd2_(L, fname.c_str(), kinds, defset ? 2147483640LL : expected, toks, count, st);
        if (st == 1) fail(45);
        if (st == 2) fail(46);
        if (st == 3) fail(47);
        if (st == 5) fail(49);
        if (st == 4) {
          if (defset) {
            L.ERRARG4 = defset;
            L.ERRARG2 = (int32_t)cols.size();
            L.ERRARG3 = (int32_t)count;
            fail(146);
          }
          L.ERRARG2 = (int32_t)expected;
          fail(19);
        }
        ++L.NRUNTM;
        for (const TextToken& t : toks) {
          if (t.isname) {
            names.push_back(t.name);
            ++k;
          } else if (column().kind == 3) {
            fail(47);
          } else {
            value(1, t.val);
          }
        }
        break;
      }
      default:
        break;
    }
  }
}

// Appends words to the output-operation list.
void Compiler::out_words(const std::vector<int32_t>& rec) {
  int64_t need = (int64_t)L.OUTOPN + (int64_t)rec.size();
  if (need > L.OUTOPCAP) {
    int64_t want = std::max<int64_t>(std::max<int64_t>(2 * (int64_t)L.OUTOPCAP, 256), need + 256);
    if (want > 2147483640LL / 4) fail(41);
    int32_t cnt = (int32_t)want, st = 0;
    setblk_(2, cnt, W, L, L.OUTOPS, st);
    if (st) fail(41);
    L.OUTOPCAP = cnt;
  }
  for (int32_t v : rec) iput(W, L, L.OUTOPS, ++L.OUTOPN, v);
}

// Appends one record and its end entry.
void Compiler::out_record(const std::vector<int32_t>& rec) {
  out_words(rec);
  grow_int_list(L.OUTENDS, L.OUTENDCAP, (int64_t)L.OUTENDN + 1);
  iput(W, L, L.OUTENDS, ++L.OUTENDN, L.OUTOPN);
}

// Appends a NUL-terminated text to the output text heap.
void Compiler::out_text(const std::string& t) {
  int64_t need = (int64_t)L.OUTTXTN + (int64_t)t.size() + 1;
  if (need > L.OUTTXTCAP) {
    int64_t want = 2 * (int64_t)L.OUTTXTCAP + 128 + (int64_t)t.size();
    if (want > 2147483640LL) fail(41);
    int32_t cnt = (int32_t)want, st = 0;
    setblk_(1, cnt, W, L, L.OUTTXT, st);
    if (st) fail(41);
    L.OUTTXTCAP = cnt;
  }
  int64_t b = wbyte(L.START[L.OUTTXT]) + L.OUTTXTN;
  for (size_t i = 0; i < t.size(); ++i) cput(W, b + (int64_t)i, t[i]);
  cput(W, b + (int64_t)t.size(), 0);
  L.OUTTXTN += (int32_t)t.size() + 1;
}

// The argument part of an @TEXT output record: the file name and the write mode.
void Compiler::text_args(std::vector<int32_t>& rec) {
  auto& ta = ds.textargs;
  if (ta.size() > 2 || (ta.size() == 2 && ta[1].size() != 1)) fail(21);
  if (!ta.empty())
    for (char c : ta[0]) rec.push_back((unsigned char)c);
  rec.push_back(0);
  if (ta.size() == 2) {
    rec.push_back((unsigned char)ta[1][0]);
    rec.push_back(0);
  } else {
    rec.push_back(87);
  }
}

// Kind word of an output record: 1 text file, 2 spreadsheet range of a code statement (its
// first text the workbook), 3 database, 4 spreadsheet ranges of a named workbook, 5 pointer.
int32_t Compiler::out_kind(bool code) const {
  switch (ds.outfn) {
    case T_OLE: return code ? 2 : 4;
    case T_ODBC: return 3;
    case T_POINTER: return 5;
    default: return 1;
  }
}

// The argument part of a spreadsheet, database or pointer output record: the texts as the
// link's parser rebuilds them against the objects, each with its NUL, then a word 0 (the
// pointer record has its one text only). status: the record of an @STATUS() statement.
void Compiler::link_args(std::vector<int32_t>& rec, bool status) {
  std::vector<std::string> ta = ds.textargs;
  auto put = [&](const std::vector<std::string>& texts) {
    for (const std::string& t : texts) {
      for (char c : t) rec.push_back((unsigned char)c);
      rec.push_back(0);
    }
  };
  if (ds.outfn == T_POINTER) {
    put(ta);
    return;
  }
  if (status) {
    if (ds.outfn == T_ODBC) {
      if (ta.size() != 3) fail(35);
    } else {
      if (ta.empty()) {
        char wb[256] = {};
        bool any = XLXINIT_() != 0 && XLXGETNAMEOFACTIVEWORKBOOK_(wb) != 0 && wb[0] != 0;
        XLXEXIT_();
        if (!any) fail(23);
        ta.push_back(wb);
      }
      if (ta.size() == 1) ta.push_back("QUIRN_STATUS");
      if (ta.size() != 2) fail(23);
    }
    put(ta);
    rec.push_back(0);
    return;
  }
  // the texts and the objects as the parsers take them: work-store lists
  const int32_t n = (int32_t)ds.objs.size();
  int32_t ends = 0, chars = 0, count = (int32_t)ta.size(), endcap = std::max(count + 2, 8), charcap = 64, st = 0;
  int32_t nums = 0, types = 0, owners = 0, kinds = 0;
  auto release = [&]() {
    for (int32_t* h : {&ends, &chars, &nums, &types, &owners, &kinds})
      if (*h > 0) rlsblk_(L, *h);
  };
  int64_t need = 0;
  for (const std::string& t : ta) need += (int64_t)t.size() + 1;
  charcap = (int32_t)std::max<int64_t>(need, 64);
  int32_t objcap = std::max(n, 1);
  setblk_(2, endcap, W, L, ends, st);
  if (st == 0) setblk_(1, charcap, W, L, chars, st);
  for (int32_t* h : {&nums, &types, &owners, &kinds}) {
    int32_t c = objcap;
    if (st == 0) setblk_(2, c, W, L, *h, st);
  }
  if (st != 0) {
    release();
    fail(41);
  }
  int32_t pos = 0;
  for (size_t i = 0; i < ta.size(); ++i) {
    for (char c : ta[i]) cput(W, wbyte(L.START[chars]) + pos++, c);
    cput(W, wbyte(L.START[chars]) + pos++, 0);
    iput(W, L, ends, (int64_t)i + 1, pos);
  }
  for (int32_t i = 0; i < n; ++i) {
    const int32_t num = ds.objs[(size_t)i].first, type = ds.objs[(size_t)i].second;
    int32_t owner = 0, kind = 0;
    if (type == 12) {
      owner = num;
      kind = setdim(W, L, num) > 0 ? NTSETD : NTSETP;
    } else if (type >= 4 && type < 8) {
      owner = iget(W, L, L.IDOWNR, num);
    }
    iput(W, L, nums, i + 1, num);
    iput(W, L, types, i + 1, type);
    iput(W, L, owners, i + 1, owner);
    iput(W, L, kinds, i + 1, kind);
  }
  int32_t err = 0;
  if (ds.outfn == T_OLE) {
    int32_t objs = n;
    ssargs4_(W, L, objs, ends, chars, count, endcap, charcap, nums, types, owners, kinds, st);
    static const int32_t kOleErr[10] = {0, 41, 23, 133, 216, 152, 20, 38, 43, 217};
    if (st != 0) err = st >= 1 && st <= 9 ? kOleErr[st] : 41;
  } else {
    odbcarg3_(W, L, n, ends, chars, count, endcap, charcap, nums, types, st);
    if (st == 1) err = 35;
    else if (st == 2) err = 41;
    else if (st != 0) err = 133;
  }
  if (err == 0) {
    int32_t prev = 0;
    for (int32_t i = 1; i <= count; ++i) {
      int32_t end = iget(W, L, ends, i);
      for (int32_t k = prev + 1; k < end; ++k) rec.push_back((unsigned char)cget(W, wbyte(L.START[chars]) + k - 1));
      rec.push_back(0);
      prev = end;
    }
    rec.push_back(0);
  }
  release();
  if (err != 0) fail(err);
}

// The ";" of an output statement whose right side holds @WRITE or @WRITEFOR: its code becomes
// a piece of the output code list and the code record is written.
void Compiler::out_code_end(int32_t& state) {
  pop_operators();
  if (L.OPDEPTH > 0 || paren != 0 || L.LOOPLV > 0) fail(2);
  if (ds.nfuncs < 1 || L.CODELEN <= ds.codestart) fail(1);
  auto& ta = ds.textargs;
  if (ds.outfn == T_TEXT && (ta.size() > 2 || (ta.size() == 2 && ta[1].size() != 1))) fail(21);
  if (ds.outfn == T_OLE && (ta.size() < 2 || (ta.size() > 2 && (int64_t)ta.size() != (int64_t)ds.lastnargs + 1)))
    fail(23);
  if (ds.outfn == T_ODBC && ta.size() < 3) fail(35);
  if (ds.outfn == T_POINTER) fail(1);  // values for a caller's memory come from names only
  int32_t n = L.CODELEN - ds.codestart;
  int32_t base = L.OUTCODN > 0 ? iget(W, L, L.OUTCODST, L.OUTCODN + 1) - 1 : 0;
  int32_t cnt = base + n, st = 0;
  if (cnt > (L.OUTCODE > 0 ? L.LEN[L.OUTCODE] : 0)) {
    setblk_(2, cnt, W, L, L.OUTCODE, st);
    if (st) fail(41);
    L.OUTCODECAP = cnt;
  }
  grow_int_list(L.OUTCODST, L.OUTCODSTCAP, (int64_t)L.OUTCODN + 2);
  for (int32_t i = 0; i < n; ++i) iput(W, L, L.OUTCODE, base + 1 + i, code(ds.codestart + 1 + i));
  if (L.OUTCODN == 0) iput(W, L, L.OUTCODST, 1, 1);
  ++L.OUTCODN;
  iput(W, L, L.OUTCODST, L.OUTCODN + 1, base + n + 1);
  L.CODELEN = ds.codestart;
  std::vector<int32_t> rec = {out_kind(true), ds.lastnargs, -2, L.OUTCODN};
  for (const std::string& t : ta) {
    for (char c : t) rec.push_back((unsigned char)c);
    rec.push_back(0);
  }
  rec.push_back(0);
  if (ds.outfn == T_TEXT && ta.size() < 2) rec.push_back(87);
  out_record(rec);
  ds = DataState();
  state = 67;
}

}  // namespace

// Number of index positions of a row named here: the dimensions of the open set loops.
void getrowdim_(const Work& W, const MasterRecord& L, int32_t& result) {
  result = 0;
  for (int32_t k = 1; k <= L.LOOPLV; ++k) {
    int32_t d = setdim(W, L, L.LOOPSET[k]);
    result += d < 1 ? 1 : d;
  }
}

// Compiles one statement (or one section) of the modelling language.
void cmpexpqrn_(Work& W, MasterRecord& L, int32_t& state, int32_t& errarg, int32_t& nerr) {
  nerr = 0;
  L.OPDEPTH = 0;
  L.NDXCNT = 0;
  L.LOOPLV = 0;
  if (L.OPLIMIT <= 0) L.OPLIMIT = 40;
  if (L.NDXLIMIT <= 0) L.NDXLIMIT = NDXMAX;
  if (L.LOOPSET[0] <= 0) L.LOOPSET[0] = 12;
  if (L.MAXPARENTS <= 0) L.MAXPARENTS = NDXMAX;
  Compiler c(W, L);
  c.unaryprec = nprec(3, L.UNARYM);
  c.stmtstart = L.CODELEN;
  try {
    bool any = c.run(state);
    if (!any) nerr = -1;
  } catch (const Fail& f) {
    nerr = f.e;
    errarg = c.errpos;
    L.SCANMD = 11;
    L.SETMODE = 0;
    return;
  }
  errarg = c.errpos;
}
