// The SET command: choose a parameter by position or key, show or change its value.
#include <cmath>
#include <cstring>

#include "session/session.h"

namespace {
// A number in free format for the current/default value lines.
void freefmt(double v, int32_t kind, char* out, size_t cap) {
  if (kind == PKIND_INT)
    std::snprintf(out, cap, "%d", (int32_t)v);
  else
    std::snprintf(out, cap, "%.8g", v);
}

// Reads a number at the cursor, capped at BIGNUM; false when none stands there.
bool readcapped(MasterRecord& L, double& v) {
  int32_t st = 1;
  getnumcap_(L, st, v);
  if (st != 0) return false;
  if (v > L.BIGNUM) v = L.BIGNUM;
  return true;
}

// Refuses a value: message 129, a blank line, the rest of the line dropped.
void refuse(Work& W, MasterRecord& L) {
  errmsh_(W, L, 129);
  blankl_(L, L.TRMOUT, 1);
  L.LINEND = 0;
}
}  // namespace

// SET: asks for a parameter (position or key, or DEFAULT) and its new value, checks it,
// stores it and shows the old and new values.
void setpcom_(Work& W, MasterRecord& L) {
  loadpvector_(L);
  int32_t idx = 0;
  for (;;) {
    getrsp_(L, "Parameter?", 5);
    if (L.LINEND == 0) {
      errmsh_(W, L, 61);
      return;
    }
    double v = 0.0;
    if (!readcapped(L, v)) {
      char key[7];
      int32_t c = L.LINCUR < 1 ? 1 : L.LINCUR;
      for (int32_t k = 0; k < 6; ++k) key[k] = (c + k <= L.LINEND) ? linc(L, c + k) : ' ';
      key[6] = 0;
      if (std::memcmp(key, "DEFAUL", 6) == 0) {
        defparam_(L);
        notice_(L, " Default parameter values restored.");
        return;
      }
      getparamx_(L, key, idx);
      if (idx != 0) break;
      std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
      std::memcpy(L.ERRTXT, key, 6);
      L.ERRTXT[sizeof L.ERRTXT - 1] = 0;
      errmsh_(W, L, 130);
      L.LINEND = 0;
      continue;
    }
    if (v == std::trunc(v) && v >= 1.0 && v <= (double)NPARAMS) {
      idx = (int32_t)v;
      break;
    }
    L.ERRARG2 = NPARAMS;
    errmsh_(W, L, 128);
    L.LINEND = 0;
  }

  const ParamDef& p = paramdef(idx);
  L.ERRARG = idx;
  int32_t newint = 0;
  double newreal = 0.0;
  for (;;) {
    getrsp_(L, "New value?", 5);
    if (L.LINEND == 0) {
      char cur[40], def[40];
      if (p.kind == PKIND_HURDLE && L.IPVAL[idx] == 0)
        std::snprintf(cur, sizeof cur, "NONE");
      else
        freefmt(p.kind == PKIND_INT ? L.IPVAL[idx] : L.RPVAL[idx], p.kind, cur, sizeof cur);
      if (p.kind == PKIND_HURDLE)
        std::snprintf(def, sizeof def, "NONE");
      else
        freefmt(p.kind == PKIND_INT ? p.idef : p.rdef, p.kind, def, sizeof def);
      sayf_(L, L.TRMOUT, " Current value for parameter %.6s is: %s", p.key, cur);
      sayf_(L, L.TRMOUT, "        Default value for parameter is: %s", def);
      blankl_(L, L.TRMOUT, 1);
      return;
    }
    double sign = 0.0;
    getsgn_(L, sign);
    if (sign == 0.0) sign = 1.0;
    double v = 0.0;
    if (!readcapped(L, v)) {
      if (p.kind == PKIND_HURDLE) {
        char four[5] = "    ";
        int32_t k = 0;
        for (int32_t c = L.LINCUR < 1 ? 1 : L.LINCUR; c <= L.LINEND && k < 4; ++c)
          if (linc(L, c) != ' ') four[k++] = linc(L, c);
        if (std::memcmp(four, "NONE", 4) == 0) {
          newint = 0;
          newreal = 0.0;
          break;
        }
      }
      refuse(W, L);
      continue;
    }
    if (p.kind == PKIND_INT) {
      if (v > (double)PARAM_INTMAX) v = PARAM_INTMAX;
      if (v != std::trunc(v)) {
        refuse(W, L);
        continue;
      }
    }
    v *= sign;
    if (p.kind == PKIND_INT) {
      int32_t hi = p.imax == -1 ? PARAM_INTMAX : p.imax;
      if (v < (double)p.imin || v > (double)hi) {
        refuse(W, L);
        continue;
      }
      newint = (int32_t)v;
      newreal = v;
    } else if (p.kind == PKIND_REAL) {
      double hi = p.rmax == -1.0 ? L.BIGNUM : p.rmax;
      if (!(v >= p.rmin && v <= hi)) {
        refuse(W, L);
        continue;
      }
      newreal = v;
    } else {
      newint = 1;
      newreal = v;
    }
    break;
  }

  int32_t oldint = L.IPVAL[idx];
  double oldreal = L.RPVAL[idx];
  int32_t st = 0;
  setpam_(W, L, p.key, newint, newreal, st);
  if (st != 0) {
    errmsh_(W, L, 61);
    return;
  }
  blankl_(L, L.TRMOUT, 1);
  sayf_(L, L.TRMOUT, "  Parameter        Old Value     New Value");
  char a[40], b[40];
  if (p.kind == PKIND_INT) {
    sayf_(L, L.TRMOUT, "   %.6s%14d%14d", p.key, oldint, L.IPVAL[idx]);
  } else if (p.kind == PKIND_REAL) {
    fmtgen_(oldreal, 14, 6, a);
    fmtgen_(L.RPVAL[idx], 14, 6, b);
    sayf_(L, L.TRMOUT, "   %.6s       %s%s", p.key, a, b);
  } else {
    bool was = oldint == 1, now = L.IPVAL[idx] == 1;
    fmtgen_(oldreal, 14, 6, a);
    fmtgen_(L.RPVAL[idx], 14, 6, b);
    if (was && now)
      sayf_(L, L.TRMOUT, "   %.6s        %s%s", p.key, a, b);
    else if (was)
      sayf_(L, L.TRMOUT, "   %.6s        %s      NONE", p.key, a);
    else if (now)
      sayf_(L, L.TRMOUT, "   %.6s              NONE    %s", p.key, b);
    else
      sayf_(L, L.TRMOUT, "   %.6s              NONE          NONE", p.key);
  }
  blankl_(L, L.TRMOUT, 1);
}
