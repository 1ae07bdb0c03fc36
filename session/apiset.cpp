// Custom solver-library parameters (APISET): a list of identifier, type and value kept for
// the session and replayed into the library's environment and model after the system's
// own parameters.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "store/io.h"
#include "store/store.h"
#include "store/upcalls.h"
#include "session/modeltext.h"
#include "session/params.h"
#include "session/session.h"

namespace {

constexpr double MAXINT = 2147483640.0;  // largest identifier and integer value

void apiput(Work& W, const MasterRecord& L, int32_t k, double v) {
  dput(W, (int64_t)L.START[L.APIBLK] + 2 * (int64_t)(k - 1), v);
}

// The response of a question that must be asked again: the message, the rest of the line dropped.
void refuse(Work& W, MasterRecord& L, int32_t msg) {
  errmsh_(W, L, msg);
  L.LINEND = 0;
}

}  // namespace

void clearapiparams_(MasterRecord& L) {
  if (L.APICNT <= 0) return;
  rlsblk_(L, L.APIBLK);
  L.APICNT = 0;
  L.APICHG = QTRUE;
}

void storeapiparam_(Work& W, MasterRecord& L, int32_t id, int32_t type, double value, int32_t& status) {
  addresethook_(L, txtforget_);
  status = 0;
  L.APICHG = QTRUE;
  int32_t k = 0;
  if (L.APIBLK > 0)
    for (int32_t e = 1; e <= L.APICNT; ++e)
      if (apiget(W, L, 3 * e - 2) == (double)id) {
        k = e;
        break;
      }
  if (k == 0) {
    int32_t count = 3 * (L.APICNT + 1), st = 0;
    setblk_(6, count, W, L, L.APIBLK, st);
    if (st != 0) {
      status = 1;
      return;
    }
    k = ++L.APICNT;
    apiput(W, L, 3 * k - 2, (double)id);
  }
  apiput(W, L, 3 * k - 1, (double)type);
  apiput(W, L, 3 * k, value);
}

void dispapiparams_(Work& W, MasterRecord& L) {
  if (L.APICNT <= 0 || L.APIBLK <= 0) return;
  lprint_(L, L.OUTUNIT, " Custom Bresk API Parameter Settings:");
  blankl_(L, L.OUTUNIT, 1);
  lprint_(L, L.OUTUNIT, "   Index    Type           Value");
  for (int32_t e = 1; e <= L.APICNT; ++e) {
    char line[128];
    double id = apiget(W, L, 3 * e - 2), v = apiget(W, L, 3 * e);
    if (apiget(W, L, 3 * e - 1) == 0.0)
      std::snprintf(line, sizeof line, "%9.0f    int%17.0f", id, v);
    else {
      char f[40];
      fmtgen_(v, 18, 6, f);
      std::snprintf(line, sizeof line, "%9.0f    double%s", id, f);
    }
    lprint_(L, L.OUTUNIT, line);
  }
}

void setapicom_(Work& W, MasterRecord& L) {
  int32_t id = 0;
  for (;;) {
    getrsp_(L, "API Parameter ID? ", 9);
    if (L.LINEND == 0) {
      dispapiparams_(W, L);
      blankl_(L, L.OUTUNIT, 1);
      return;
    }
    int32_t st = 1;
    double v = 0.0;
    getnumcap_(L, st, v);
    if (st != 0) {
      char word[33];
      gettoken_(L, word);
      if (std::memcmp(word, "DEFAULT ", 8) == 0) {
        clearapiparams_(L);
        blankl_(L, L.OUTUNIT, 1);
        lprint_(L, L.OUTUNIT, " Default Bresk API parameter values restored.");
        blankl_(L, L.OUTUNIT, 1);
        return;
      }
      refuse(W, L, 228);
      continue;
    }
    if (v > MAXINT) v = MAXINT;
    if (!(v >= 1.0) || v != std::floor(v)) {
      refuse(W, L, 228);
      continue;
    }
    id = (int32_t)v;
    // an identifier the library does not know would only fail at every later solve
    if (upcalls_().apiknown && upcalls_().apiknown(L, id) == 0) {
      refuse(W, L, 228);
      continue;
    }
    break;
  }
  L.ERRARG = id;
  int32_t type = -1;
  for (;;) {
    getrsp_(L, "Int or Double?", 7);
    if (L.LINEND == 0) return;
    if (L.LINCUR > L.LINEND) {
      L.LINEND = 0;
      continue;
    }
    char word[33];
    gettoken_(L, word);
    if (std::memcmp(word, "INT ", 4) == 0) type = 0;
    else if (std::memcmp(word, "DOUBLE ", 7) == 0) type = 1;
    if (type >= 0) break;
    refuse(W, L, 229);
  }
  double value = 0.0;
  for (;;) {
    getrsp_(L, "Parameter value?", 8);
    if (L.LINEND == 0) return;
    double sign = 0.0, v = 0.0;
    int32_t st = 1;
    getsgn_(L, sign);
    getnumcap_(L, st, v);
    if (st != 0) {
      refuse(W, L, 230);
      continue;
    }
    if (sign < 0.0) v = -v;
    if (type == 0) {
      if (v > MAXINT) v = MAXINT;
      if (v < -MAXINT) v = -MAXINT;
      if (v != std::floor(v)) {
        refuse(W, L, 230);
        continue;
      }
    }
    value = v;
    break;
  }
  int32_t st = 0;
  storeapiparam_(W, L, id, type, value, st);
  if (st != 0) errmsh_(W, L, 0);
  blankl_(L, L.OUTUNIT, 1);
  dispapiparams_(W, L);
  blankl_(L, L.OUTUNIT, 1);
}
