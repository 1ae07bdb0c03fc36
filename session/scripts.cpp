// Command scripts (TAKE, the start-up script), output diversion (DIV, RVRT), and the
// small handlers BIP and RANGE with the quiet generate and solve entries.
#include <sys/stat.h>

#include <cstring>

#include "session/session.h"

namespace {
// True when the name is a directory (which opens for reading but yields no lines).
bool isdir(const char* name) {
  struct stat st {};
  return stat(name, &st) == 0 && S_ISDIR(st.st_mode);
}

// True when the script just opened by name from the command line is a directory: the
// name as typed is tried first, then upper-cased, as the file was opened.
bool takendir(MasterRecord& L) {
  int32_t c = L.LINCUR < 1 ? 1 : L.LINCUR;
  if (c > L.MAXLIN) return false;
  char raw[204] = {}, up[204] = {};
  int32_t n = 0;
  for (int32_t k = c; k <= L.MAXLIN && rawc(L, k) != 0 && n < 200; ++k, ++n) {
    raw[n] = rawc(L, k);
    up[n] = (raw[n] >= 'a' && raw[n] <= 'z') ? (char)(raw[n] - 'a' + 'A') : raw[n];
  }
  struct stat st {};
  if (stat(raw, &st) == 0) return S_ISDIR(st.st_mode);
  return isdir(up);
}
}  // namespace

// TAKE: opens a command script named on the line (or asked for) one level deeper.
void dotake_(Work& W, MasterRecord& L) {
  if (L.TAKELV >= L.TAKEMX) {
    errmsh_(W, L, 6);
    return;
  }
  int32_t h = 0;
  lunget2_(L, h, 1);
  if (h == 0) return;
  if (takendir(L)) {  // a directory would stop the session at its first read
    FCLOSE_(h);
    PUTS_(" Unable to open file");
    return;
  }
  L.TAKELV += 1;
  L.TAKSTK[L.TAKELV] = h;
  L.INUNIT = h;
  L.LINEND = 0;
  L.LINCUR = 1;
}

// Opens the start-up script AUTOLG.DAT as script level 1 when it exists.
void autolg_(MasterRecord& L) {
  if (isdir("AUTOLG.DAT")) return;
  int32_t h = FOPEN_("AUTOLG.DAT", "rt");
  if (h == 0) return;
  L.TAKELV = 1;
  L.TAKSTK[1] = h;
  L.INUNIT = h;
  L.LINEND = 0;
}

// Closes every open command script; input returns to the terminal.
void closetakefiles_(MasterRecord& L) {
  for (int32_t lv = L.TAKELV; lv >= 1; --lv) {
    if (lv <= 10 && L.TAKSTK[lv] != 0) FCLOSE_(L.TAKSTK[lv]);
    if (lv <= 10) L.TAKSTK[lv] = 0;
  }
  L.TAKELV = 0;
  L.INUNIT = L.TRMIN;
}

// DIV: opens a divert file (named on the line or asked for when namelen < 1, else the
// name given) one level deeper; status 0 when it opened. The output is written beside the
// file, which RVRT replaces only when all of it was written.
void dodive_(Work& W, MasterRecord& L, int32_t namelen, const char* name, int32_t& status) {
  status = 1;
  if (L.DIVLV >= L.DIVMX) {
    errmsh_(W, L, 138);
    return;
  }
  int32_t h = 0;
  if (namelen < 1) {
    lunget2_(L, h, 0);
  } else {
    char path[260];
    int32_t n = namelen < 259 ? namelen : 259;
    std::memcpy(path, name, n);
    path[n] = 0;
    h = FOPENNEW_(path);
  }
  if (h == 0) {
    errmsh_(W, L, 139);
    return;
  }
  L.DIVLV += 1;
  L.DIVSTK[L.DIVLV] = L.OUTUNIT;
  L.OUTUNIT = h;
  status = 0;
}

// RVRT: closes the innermost divert file and restores the output unit before it.
// Result non-zero when a write to the file or its close failed.
int32_t dorvrt_(MasterRecord& L) {
  if (L.DIVLV <= 0) return 0;
  int32_t r = 0;
  if (L.OUTUNIT != L.TRMOUT) {
    int32_t h = L.OUTUNIT;
    r = FCLOSE_(h) != 0 ? 1 : 0;
  }
  L.OUTUNIT = L.DIVSTK[L.DIVLV];
  L.DIVSTK[L.DIVLV] = 0;
  L.DIVLV -= 1;
  return r;
}

// BIP: sets the bound on the integer solution (working HURDLE), or NONE.
void getbip_(Work& W, MasterRecord& L) {
  getrsp_(L, "BIP Value?", 5);
  if (L.LINEND == 0) {
    errmsh_(W, L, 61);
    L.LINEND = 0;
    return;
  }
  double sign = 0.0, v = 0.0;
  getsgn_(L, sign);
  if (sign == 0.0) sign = 1.0;
  int32_t st = 1;
  getnum_(L, st, v);
  if (st == 0) {
    L.HURDLE = sign * v;
    L.HURDLE_SET = 1;
    char f[32];
    fmtgen_(L.HURDLE, 20, 8, f);
    sayf_(L, L.TRMOUT, " Bound on integer solution:%s", f);
    blankl_(L, L.TRMOUT, 1);
    return;
  }
  int32_t c = L.LINCUR < 1 ? 1 : L.LINCUR;
  if (L.LINEND - c + 1 == 4 && std::memcmp(&linc(L, c), "NONE", 4) == 0) {
    sayf_(L, L.TRMOUT, " Bound on integer solution: NONE");
    blankl_(L, L.TRMOUT, 1);
    L.HURDLE_SET = 0;
    return;
  }
  errmsh_(W, L, 61);
  L.LINEND = 0;
}

// RANGE: the checks that must pass before the range report is printed.
void dorange_(Work& W, MasterRecord& L) {
  if (L.MODLINES < 1) return errmsh_(W, L, 5);
  if (L.NROWS < 1 && L.NVARS < 1) return errmsh_(W, L, 88);
  if (L.NINTVAR > 0) return errmsh_(W, L, 121);
  if (L.QPFLAG > 0) return errmsh_(W, L, 232);
  if (L.DUALCO != 2) return errmsh_(W, L, 122);
  if (!qtest(tstopt_(W, L))) errmsh_(W, L, 92);
  if (upcalls_().range) upcalls_().range(W, L);
}

// Generates the model without solving or printing; the solve driver's result.
int32_t generatequiet_(Work& W, MasterRecord& L) {
  int32_t mregen = L.MREGEN;
  L.MREGEN = 0;
  int32_t r = runsolver_(W, L, 5, " ");
  L.MREGEN = mregen;
  return r;
}

// Solves with every message and report suppressed; the solve driver's result.
int32_t solvequiet_(Work& W, MasterRecord& L) {
  int32_t reduce = L.REDUCE, terseo = L.TERSEO, mregen = L.MREGEN, msgoff = L.MSGOFF;
  L.MSGOFF |= 1;
  L.REDUCE = 0;
  L.MREGEN = 0;
  L.TERSEO = 1;
  int32_t r = runsolver_(W, L, 0, " ");
  L.MSGOFF = msgoff;
  L.REDUCE = reduce;
  L.TERSEO = terseo;
  L.MREGEN = mregen;
  return r;
}
