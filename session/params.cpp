// The parameter table as data, its defaults, the copies between current values and
// working fields, look-up and checked store of one value, and the entries for an
// outside caller.
#include "session/params.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "session/session.h"
#include "store/master.h"
#include "store/upcalls.h"

namespace {
constexpr int32_t kind_I = PKIND_INT, kind_R = PKIND_REAL, kind_H = PKIND_HURDLE;

// Integer columns hold the default, minimum and maximum of an integer parameter; real
// columns those of a real one; HURDLE keeps its flag (0..1) in the integer columns.
#define QP_ROW_I(key, def, lo, hi) {#key, kind_I, 0.0, 0.0, 0.0, (int32_t)(def), (int32_t)(lo), (int32_t)(hi)},
#define QP_ROW_R(key, def, lo, hi) {#key, kind_R, (double)(def), (double)(lo), (double)(hi), 0, 0, 0},
#define QP_ROW_H(key, def, lo, hi) {#key, kind_H, (double)(def), (double)(lo), (double)(hi), 0, 0, 1},
#define QP_ROW(no, key, kind, def, lo, hi) QP_ROW_##kind(key, def, lo, hi)
const ParamDef TABLE[NPARAMS_DECL + 1] = {
    {"      ", 0, 0, 0, 0, 0, 0, 0},
    QUIRN_PARAMS(QP_ROW)};
#undef QP_ROW
#undef QP_ROW_I
#undef QP_ROW_R
#undef QP_ROW_H

const ParamDef BLANK = {"      ", 0, 0, 0, 0, 0, 0, 0};

// The keys packed end to end, built once from the table.
struct KeyText {
  char text[NPARAMS_DECL * 6 + 1];
  KeyText() {
    std::memset(text, ' ', sizeof text - 1);
    text[sizeof text - 1] = 0;
    for (int i = 1; i <= NPARAMS; ++i) std::memcpy(text + (i - 1) * 6, TABLE[i].key, 6);
  }
};
const KeyText KEYS;
}  // namespace

// Row i of the parameter table (a blank row outside 1..NPARAMS).
const ParamDef& paramdef(int32_t i) { return (i >= 1 && i <= NPARAMS) ? TABLE[i] : BLANK; }

// The keys packed end to end in table order.
const char* paramkeys() { return KEYS.text; }

// Sets every current value to its default and copies them into the working fields.
void defparam_(MasterRecord& L) {
  for (int i = 1; i <= NPARAMS; ++i) {
    L.IPVAL[i] = TABLE[i].idef;
    L.RPVAL[i] = TABLE[i].rdef;
  }
  loadpscalar_(L);
}

// Copies every current value into its working field.
void loadpscalar_(MasterRecord& L) {
#define QP_LOAD_I(no, key) L.key = L.IPVAL[no];
#define QP_LOAD_R(no, key) L.key = L.RPVAL[no];
#define QP_LOAD_H(no, key) L.key##_SET = L.IPVAL[no]; L.key = L.RPVAL[no];
#define QP_LOAD(no, key, kind, def, lo, hi) QP_LOAD_##kind(no, key)
  QUIRN_PARAMS(QP_LOAD)
#undef QP_LOAD
#undef QP_LOAD_I
#undef QP_LOAD_R
#undef QP_LOAD_H
}

// Copies every working field back into its current value.
void loadpvector_(MasterRecord& L) {
#define QP_SAVE_I(no, key) L.IPVAL[no] = L.key;
#define QP_SAVE_R(no, key) L.RPVAL[no] = L.key;
#define QP_SAVE_H(no, key) L.IPVAL[no] = L.key##_SET; L.RPVAL[no] = L.key;
#define QP_SAVE(no, key, kind, def, lo, hi) QP_SAVE_##kind(no, key)
  QUIRN_PARAMS(QP_SAVE)
#undef QP_SAVE
#undef QP_SAVE_I
#undef QP_SAVE_R
#undef QP_SAVE_H
}

// Table position of the first key equal to the six characters given, 0 when none is.
void getparamx_(MasterRecord& L, const char* key, int32_t& index) {
  index = 0;
  for (int i = 1; i <= NPARAMS; ++i)
    if (std::memcmp(TABLE[i].key, key, 6) == 0) {
      index = i;
      return;
    }
}

// Checks one value against the parameter's range and stores it: status 0 stored (or the
// defaults restored for DEFAUL...), 1 unknown key, 2 value refused (message 129).
void setpam_(Work& W, MasterRecord& L, const char* key, int32_t intval, double realval,
             int32_t& status) {
  if (std::memcmp(key, "DEFAUL", 6) == 0) {
    defparam_(L);
    status = 0;
    return;
  }
  int32_t i = 0;
  getparamx_(L, key, i);
  L.ERRARG = i;
  if (i == 0) {
    std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
    std::memcpy(L.ERRTXT, key, 6);
    L.ERRTXT[sizeof L.ERRTXT - 1] = 0;
    errmsh_(W, L, 130);
    status = 1;
    return;
  }
  const ParamDef& p = TABLE[i];
  bool bad = false;
  if (p.kind == PKIND_INT) {
    int32_t hi = p.imax == -1 ? PARAM_INTMAX : p.imax;
    bad = intval < p.imin || intval > hi;
  } else if (p.kind == PKIND_REAL) {
    double hi = p.rmax == -1.0 ? L.BIGNUM : p.rmax;
    bad = !(realval <= hi) || !(realval >= p.rmin);
  } else {
    bad = intval != 0 && intval != 1;
  }
  if (bad) {
    errmsh_(W, L, 129);
    blankl_(L, L.TRMOUT, 1);
    status = 2;
    return;
  }
  if (p.kind == PKIND_INT) {
    L.IPVAL[i] = intval;
  } else if (p.kind == PKIND_REAL) {
    L.RPVAL[i] = realval;
  } else {
    L.IPVAL[i] = intval;
    L.RPVAL[i] = realval;
  }
  status = 0;
  loadpscalar_(L);
}

// Hands the whole table with its current values to an outside caller.
void rettols_(MasterRecord& L, int32_t& n, int32_t* kinds, double* realcur, double* realdef,
              double* realmin, double* realmax, int32_t* intcur, int32_t* intdef,
              int32_t* intmin, int32_t* intmax) {
  loadpvector_(L);
  n = NPARAMS;
  for (int i = 1; i <= NPARAMS; ++i) {
    const ParamDef& p = TABLE[i];
    kinds[i - 1] = p.kind;
    realcur[i - 1] = L.RPVAL[i];
    realdef[i - 1] = p.rdef;
    realmin[i - 1] = p.rmin;
    realmax[i - 1] = p.rmax;
    intcur[i - 1] = L.IPVAL[i];
    intdef[i - 1] = p.idef;
    intmin[i - 1] = p.imin;
    intmax[i - 1] = p.imax;
  }
}

// Takes current values from an outside caller without checks; n is clamped to the table.
void rectols_(MasterRecord& L, int32_t n, const double* realvals, const int32_t* intvals) {
  if (n > NPARAMS) n = NPARAMS;
  for (int i = 1; i <= n; ++i) {
    L.RPVAL[i] = realvals[i - 1];
    L.IPVAL[i] = intvals[i - 1];
  }
  loadpscalar_(L);
}

// Writes v as a general number field of width w with d significant digits: a fixed-point
// form followed by four blanks when 0.1 <= |v| < 10^d, otherwise an exponent form
// 0.ddddE+xx; right-aligned, NUL-terminated (out holds at least w + 1 characters).
void fmtgen_(double v, int w, int d, char* out) {
  if (d < 1) d = 1;
  if (d > 20) d = 20;
  char body[96];
  if (!std::isfinite(v)) {
    std::snprintf(body, sizeof body, "%s", std::isnan(v) ? "NaN" : (v > 0 ? "Infinity" : "-Infinity"));
  } else if (v == 0.0) {
    std::snprintf(body, sizeof body, "%.*f    ", d - 1, 0.0);
  } else {
    // Decimal exponent e with 0.1 <= |v| / 10^e < 1 after rounding to d digits.
    char e_text[64];
    std::snprintf(e_text, sizeof e_text, "%.*e", d - 1, v);
    const char* ep = std::strchr(e_text, 'e');
    int e = (ep ? std::atoi(ep + 1) : 0) + 1;
    if (e >= 0 && e <= d) {
      // the point stays when no digits follow it: 2383656. for seven digits
      std::snprintf(body, sizeof body, "%#.*f    ", d - e, v);
    } else {
      // Mantissa digits from the rounded scientific form: d.ddd -> 0.dddd
      char digits[40];
      int k = 0;
      for (const char* p = e_text; p < ep && k < 38; ++p)
        if (*p >= '0' && *p <= '9') digits[k++] = *p;
      digits[k] = 0;
      int x = e;
      char expo[16];
      if (x >= -99 && x <= 99)
        std::snprintf(expo, sizeof expo, "E%c%02d", x < 0 ? '-' : '+', x < 0 ? -x : x);
      else
        std::snprintf(expo, sizeof expo, "%c%03d", x < 0 ? '-' : '+', x < 0 ? -x : x);
      std::snprintf(body, sizeof body, "%s0.%s%s", v < 0 ? "-" : "", digits, expo);
    }
  }
  int n = (int)std::strlen(body);
  if (n >= w) {
    std::memcpy(out, body, n + 1);
    return;
  }
  std::memset(out, ' ', w - n);
  std::memcpy(out + (w - n), body, n + 1);
}

// Kind and limits of parameter i for the messages (maximum -1 = none); false when unknown.
bool paramlimits_(MasterRecord& L, int32_t i, int32_t& kind, int32_t& imin, int32_t& imax,
                  double& rmin, double& rmax) {
  if (i < 1 || i > NPARAMS) return false;
  const ParamDef& p = TABLE[i];
  kind = p.kind;
  imin = p.imin;
  imax = p.imax;
  rmin = p.rmin;
  rmax = p.rmax;
  return true;
}

QUIRN_UPCALL(paramlimits, paramlimits_);  // limits named by message 129

QUIRN_UPCALL(defparam, defparam_);  // parameter defaults set at start
