// Output statements of DATA sections, recorded in the output-operation list (OUTOPS with its
// record ends OUTENDS, the quoted texts OUTTXT and the code pieces OUTCODE), the availability
// of the interface functions on this platform, and the @QRAND values of a data statement.
#include <algorithm>
#include <cmath>
#include <cstring>
#include "language/compiler.h"
#include "language/outstmt.h"
#include "language/vocab.h"
#include "generate/randfn.h"
#include "store/hooks.h"



// Answers the availability of an interface function on this platform: 0 or its error.
int32_t OutStmt::gate(int32_t tok) {
  switch (tok) {
    case T_OLE: return 138;
    case T_ODBC: return 140;
    case T_POINTER: return L.IOMODE == 13 ? 0 : 141;
    case T_WKX: return (L.IOMODE == 13 || L.IOMODE == 12) ? 182 : 139;
    default: return 0;
  }
}

// @QRAND( with the seed from the clock.
int32_t OutStmt::qrand_open() {
  int32_t clock = 0;
  getime_(clock);
  seed = clock;
  return 0;
}

int32_t OutStmt::qrand_int(double v) {
  seed = (int32_t)std::clamp(v, -2147483640.0, 2147483640.0);
  return 0;
}

// A seed named by a scalar variable fixed in DATA.
int32_t OutStmt::qrand_name(const char* name) {
  int32_t kind = 0, idx = 0;
  fndnmm_(W, L, name, kind, idx);
  if (kind != 5 || vkind(W, L, idx) != 6) return 179;
  double v = std::clamp(vvalue(W, L, idx), -2147483640.0, 2147483640.0);
  seed = (int32_t)std::trunc(v);
  return 0;
}

// ")": the stratified sample becomes the values of the statement's one attribute (attr, 0
// when the one column is not an attribute).
int32_t OutStmt::qrand_close(int32_t ncols, int32_t attr, bool setdefined) {
  if (setdefined) return 176;
  if (ncols != 1) return 177;
  if (attr <= 0) return 178;
  int32_t s = iget(W, L, L.IDOWNR, attr);
  if (iget(W, L, L.SETORD, s) != -1) return 178;
  int32_t d = setdim(W, L, s), n = iget(W, L, L.NNTRYS, s);
  int32_t rows = n, ncol = 1;
  if (d > 0) {
    rows = iget(W, L, L.NNTRYS, iget(W, L, L.NDXSTB, iget(W, L, L.LXSTUB, s)));
    ncol = rows > 0 ? n / rows : 0;
  }
  if (rows < 1 || ncol < 1) return 0;
  std::vector<double> vals((size_t)rows * ncol), scratch((size_t)rows);
  std::vector<int32_t> strata((size_t)ncol);
  BRQRANDF_(&rows, &ncol, vals.data(), &seed, strata.data(), scratch.data());
  vals.resize((size_t)std::max(n, 1));
  int32_t st = 0;
  loadattr_(W, L, attr, 0, vals.data(), init ? 0 : 1, st);
  return st ? 204 : 0;
}

// An interface function that opens an output statement.
int32_t OutStmt::out_open(int32_t tok) {
  if (init) return 1;
  int32_t e = gate(tok);
  if (e) return e;
  okind = tok == T_TEXT ? 1 : tok == T_POINTER ? 5 : 0;
  if (okind == 0) return 1;
  args.clear();
  onum.clear();
  otype.clear();
  oowner.clear();
  okindl.clear();
  modifier = nfunc = 0;
  return 0;
}

int32_t OutStmt::out_empty_first() { return 1; }

int32_t OutStmt::out_args_done() {
  if (okind == 5 && args.size() != 1) return 134;
  return 0;
}

void OutStmt::out_equals() {
  modifier = 0;
  nfunc = 0;
  codestart = L.CODELEN;
}

// A name in the output list.
int32_t OutStmt::out_name(const char* name) {
  int32_t kind = 0, idx = 0;
  fndnmm_(W, L, name, kind, idx);
  int32_t type = 0, owner = 0, ck = 0;
  switch (kind) {
    case 5: type = modifier; break;
    case 4: type = 4 + modifier; owner = iget(W, L, L.IDOWNR, idx); break;
    case 2: type = 8 + modifier; break;
    case 1:
      if (modifier) return 158;
      if (okind == 5) return 155;
      type = 12;
      owner = idx;
      ck = setdim(W, L, idx) == 0 ? NTSETP : NTSETD;
      break;
    default: return 25;
  }
  onum.push_back(idx);
  otype.push_back(type);
  oowner.push_back(owner);
  okindl.push_back(ck);
  return 0;
}

int32_t OutStmt::out_modifier(int32_t tok) {
  if (modifier) return 1;
  modifier = tok == T_DUAL ? 1 : tok == 78 ? 2 : 3;  // 78 @RANGEU(, 79 @RANGED(
  return 0;
}

int32_t OutStmt::out_modifier_close() {
  if (!modifier) return 2;
  modifier = 0;
  return 0;
}

// A quoted text in the output list: kept in OUTTXT, named by its first position.
int32_t OutStmt::out_quoted(const char* text, int32_t len) {
  int32_t pos = L.OUTTXTN + 1, st = 0;
  storelt_(W, L, L.OUTTXT, L.OUTTXTN, L.OUTTXTCAP, text, len, st);
  if (st == 1) fatal_(L, "Storelt err 2");
  if (st) return 41;
  onum.push_back(pos);
  otype.push_back(13);
  oowner.push_back(0);
  okindl.push_back(13);
  return 0;
}

int32_t OutStmt::ops_room(int64_t need) {
  if ((int64_t)L.OUTOPN + need <= L.OUTOPCAP && L.OUTOPS > 0) return 0;
  int64_t want = std::max<int64_t>({2 * (int64_t)L.OUTOPCAP, 256, (int64_t)L.OUTOPN + need + 256});
  if (want > 2147483640LL / 4) return 41;
  int32_t cnt = (int32_t)want, st = 0;
  setblk_(2, cnt, W, L, L.OUTOPS, st);
  if (st) return 41;
  L.OUTOPCAP = cnt;
  return 0;
}

int32_t OutStmt::put(int32_t w) {
  if (int32_t e = ops_room(1)) return e;
  iput(W, L, L.OUTOPS, ++L.OUTOPN, w);
  return 0;
}

// The characters of a text, one per word, and its terminator.
int32_t OutStmt::put_text(const std::string& t) {
  if (int32_t e = ops_room((int64_t)t.size() + 1)) return e;
  for (char c : t) iput(W, L, L.OUTOPS, ++L.OUTOPN, (int32_t)(unsigned char)c);
  iput(W, L, L.OUTOPS, ++L.OUTOPN, 0);
  return 0;
}

// The argument part of @TEXT: the file name and the write mode (W unless given).
int32_t OutStmt::text_args() {
  int32_t e = 0;
  if (args.empty()) {
    if ((e = put(0)) || (e = put('W'))) return e;
  } else if (args.size() == 1) {
    if ((e = put_text(args[0])) || (e = put('W'))) return e;
  } else {
    if ((e = put_text(args[0])) || (e = put_text(args[1]))) return e;
  }
  return 0;
}

// The end entry of the record just written.
int32_t OutStmt::record_end() {
  if (!growto(W, L, 2, L.OUTENDS, L.OUTENDCAP, (int64_t)L.OUTENDN + 1, 64)) return 41;
  iput(W, L, L.OUTENDS, ++L.OUTENDN, L.OUTOPN);
  return 0;
}

// ";" of an output statement with output functions: its code becomes a piece of OUTCODE and
// the code record is written.
int32_t OutStmt::out_code(int32_t lastargs) {
  if (okind == 1 && (args.size() > 2 || (args.size() == 2 && args[1].size() != 1))) return 21;
  int32_t n = L.CODELEN - codestart;
  if (n < 1) return 1;
  int32_t old = L.OUTCODN > 0 ? iget(W, L, L.OUTCODST, L.OUTCODN + 1) - 1 : 0;
  int32_t st = 0, cnt = old + n;
  setblk_(2, cnt, W, L, L.OUTCODE, st);
  if (st) return 41;
  L.OUTCODECAP = cnt;
  if (!growto(W, L, 2, L.OUTCODST, L.OUTCODSTCAP, (int64_t)L.OUTCODN + 2, 2)) return 41;
  for (int32_t k = 1; k <= n; ++k) iput(W, L, L.OUTCODE, old + k, iget(W, L, L.CODEBLK, codestart + k));
  if (L.OUTCODN == 0) iput(W, L, L.OUTCODST, 1, 1);
  ++L.OUTCODN;
  iput(W, L, L.OUTCODST, L.OUTCODN + 1, old + n + 1);
  L.CODELEN = codestart;
  int32_t e = 0;
  if ((e = put(okind)) || (e = put(lastargs)) || (e = put(-2)) || (e = put(L.OUTCODN))) return e;
  for (const std::string& a : args)
    if ((e = put_text(a))) return e;
  if ((e = put(0))) return e;
  if (okind == 1 && args.size() < 2 && (e = put('W'))) return e;
  return record_end();
}

// ";" of an output statement that names objects and texts.
int32_t OutStmt::out_end() {
  if (modifier) return 2;
  if (okind == 1 && (args.size() > 2 || (args.size() == 2 && args[1].size() != 1))) return 21;
  int32_t n = (int32_t)onum.size(), e = 0;
  if ((e = ops_room(2 + 2 * (int64_t)n))) return e;
  put(okind);
  put(n);
  for (int32_t v : onum) put(v);
  for (int32_t v : otype) put(v);
  if (okind == 1) e = text_args();
  else e = put_text(args.empty() ? std::string() : args[0]);
  if (e) return e;
  return record_end();
}

// @STATUS() on the right: the status record.
int32_t OutStmt::out_status() {
  if (okind == 1 && (args.size() > 2 || (args.size() == 2 && args[1].size() != 1))) return 21;
  int32_t e = 0;
  if ((e = put(okind)) || (e = put(-1))) return e;
  if (okind == 1) e = text_args();
  else e = put_text(args.empty() ? std::string() : args[0]);
  if (e) return e;
  return record_end();
}

// ENDDATA: the group mark, once any output statement exists in the model.
int32_t OutStmt::section_end() {
  if (init || L.OUTENDN < 1) return 0;
  if (int32_t e = put(0)) return e;
  return record_end();
}
