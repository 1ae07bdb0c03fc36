// Values asked at generation: the data values a model leaves open and the start values to
// be supplied before solving, asked of the user one variable at a time.
#include <cmath>
#include <cstring>

#include "generate/scalar.h"
#include "language/lang.h"
#include "session/session.h"
#include "store/hooks.h"
#include "store/io.h"

void getrti_(Work& W, MasterRecord& L, int32_t mode, int32_t& error) {
  error = 0;
  const int32_t h = mode == 1 ? L.VREF1 : L.VREF2;
  const int32_t n = mode == 1 ? L.VREF1N : L.VREF2N;
  if (h == 0 || n <= 0) return;
  if (L.INUNIT == L.TRMIN && L.IOMODE != 13) {
    blankl_(L, L.TRMOUT, 1);
    lprint_(L, L.TRMOUT, mode == 1 ? " Please input data values for the following variables:"
                                   : " Please input starting values for the following variables:");
    blankl_(L, L.TRMOUT, 1);
  }
  for (int32_t k = 1; k <= n; ++k) {
    int32_t v = bgeti(W, L, h, k);
    // entries of attribute variables were recorded before the attribute block moved down
    if (v > L.NSCALAR) v -= L.JSLIDE;
    if (v < 1 || v > L.NVARS) continue;
    if (mode != 1 && bgeti(W, L, L.VARKND, v) >= 4) continue;
    getrtv_(W, L, v, error);
    if (error != 0) return;
  }
}

void getrtv_(Work& W, MasterRecord& L, int32_t v, int32_t& error) {
  error = 0;
  double value = bgetd(W, L, L.VARVAL, v);
  if (std::fabs(value) < L.BIGNUM) return;
  for (;;) {
    char prompt[208];
    int32_t n = 200;
    vdx2nh_(W, L, v, prompt, n);
    if (n < 0) n = 0;
    if (n > 200) n = 200;
    prompt[n++] = ' ';
    prompt[n++] = '?';
    if (n % 2) prompt[n++] = ' ';
    prompt[n] = '\0';
    if (L.IOMODE == 13) {
      getrtic_(L, prompt, n);
      break;
    }
    getrsp_(L, prompt, n / 2);
    if (L.LINEND == 0 || L.LINCUR > L.LINEND) {
      error = 1;
      return;
    }
    double sign = 0.0;
    getsgn_(L, sign);
    int32_t st = 1;
    double x = 0.0;
    getnum_(L, st, x);
    if (st == 0) {
      value = sign == -1.0 ? -x : x;
      break;
    }
    blankl_(L, L.TRMOUT, 1);
    lprint_(L, L.TRMOUT, "Invalid number, please retry!");
    blankl_(L, L.TRMOUT, 1);
    L.LINEND = 0;  // the rest of the line is dropped
    L.LINCUR = 0;
  }
  bputd(W, L, L.VARVAL, v, value);
}
