// Entry points for an outside caller that holds the master record and the work array.
// Nothing inside the system calls them.
#include "session/modeltext.h"
#include "session/outside.h"

#include <concepts>

#include "store/master.h"
#include "store/work.h"

namespace {

// The address of an integer or real field of the master record, nullptr while the record
// has no such field.
#define QUIRN_LINK_I(NAME)                                                      \
  template <class R>                                                            \
  int32_t* li_##NAME(R& L) {                                                    \
    if constexpr (requires { { &L.NAME } -> std::same_as<int32_t*>; }) return &L.NAME; \
    else return nullptr;                                                        \
  }
#define QUIRN_LINK_R(NAME)                                                      \
  template <class R>                                                            \
  double* lr_##NAME(R& L) {                                                     \
    if constexpr (requires { { &L.NAME } -> std::same_as<double*>; }) return &L.NAME; \
    else return nullptr;                                                        \
  }

QUIRN_LINK_I(TERSEO) QUIRN_LINK_R(IPTOLR) QUIRN_LINK_I(HURDLE_SET) QUIRN_LINK_R(HURDLE)
QUIRN_LINK_I(MODLINES) QUIRN_LINK_I(NROWS) QUIRN_LINK_I(NVARS) QUIRN_LINK_I(NINTVAR)
QUIRN_LINK_I(TRMIN) QUIRN_LINK_I(INUNIT) QUIRN_LINK_I(LINLEN) QUIRN_LINK_R(ILFTOL)
QUIRN_LINK_R(FLFTOL) QUIRN_LINK_R(INFTOL) QUIRN_LINK_R(FNFTOL) QUIRN_LINK_R(RELINT)
QUIRN_LINK_I(LENPAG) QUIRN_LINK_I(MODSTAT) QUIRN_LINK_I(OBJROW) QUIRN_LINK_I(GENNUM)
QUIRN_LINK_I(TRACELV) QUIRN_LINK_I(NSCALAR) QUIRN_LINK_I(NATTRS) QUIRN_LINK_I(NROWNM)
QUIRN_LINK_I(OROUTE) QUIRN_LINK_I(STAWIN) QUIRN_LINK_I(WNLINE) QUIRN_LINK_I(WNTRIM)
QUIRN_LINK_I(ITRLIM) QUIRN_LINK_I(TIMLIM) QUIRN_LINK_I(GENCNT) QUIRN_LINK_I(ERRDLG)
QUIRN_LINK_I(OUTUNIT) QUIRN_LINK_I(TRMOUT) QUIRN_LINK_I(NROWOUT) QUIRN_LINK_I(SCLRLM)
QUIRN_LINK_I(STRUCTN) QUIRN_LINK_I(SCLRDL) QUIRN_LINK_I(PRNCLR) QUIRN_LINK_R(CUTOFF)
QUIRN_LINK_I(MXMEMB) QUIRN_LINK_I(SLVCOLS) QUIRN_LINK_I(SLVROWS) QUIRN_LINK_I(SYNTAX)
QUIRN_LINK_I(LNRISE) QUIRN_LINK_I(MATBLK1) QUIRN_LINK_I(MATBLK2) QUIRN_LINK_I(MATBLK3)
QUIRN_LINK_I(GENFLAG) QUIRN_LINK_I(GLOBAL) QUIRN_LINK_I(ROWTYPES) QUIRN_LINK_I(ROWMAP)

// How a code may be used.
enum Access { RW, GETONLY, SYSONLY };

// One code: its type ('I' or 'R'), its access, and the field behind it (computed codes
// have no field and are answered by value_()).
struct LinkCode {
  int32_t code;
  char type;
  Access access;
  int32_t* (*ifield)(MasterRecord&);
  double* (*rfield)(MasterRecord&);
};

#define I(NAME) 'I', RW, &li_##NAME<MasterRecord>, nullptr
#define R(NAME) 'R', RW, nullptr, &lr_##NAME<MasterRecord>
#define SYS(NAME) 'I', SYSONLY, &li_##NAME<MasterRecord>, nullptr
#define COMPUTED 'I', GETONLY, nullptr, nullptr
#define COMPUTED_SYS 'I', SYSONLY, nullptr, nullptr

const LinkCode CODES[] = {
    {1, I(TERSEO)},   {2, R(IPTOLR)},      {3, I(HURDLE_SET)},  {4, R(HURDLE)},    {5, I(MODLINES)},
    {6, I(NROWS)},    {7, I(NVARS)},       {8, I(NINTVAR)},     {10, COMPUTED_SYS}, {11, COMPUTED_SYS},
    {14, I(TRMIN)},   {15, I(INUNIT)},     {16, I(LINLEN)},     {17, R(ILFTOL)},   {18, R(FLFTOL)},
    {19, R(INFTOL)},  {20, R(FNFTOL)},     {21, COMPUTED_SYS},  {22, COMPUTED_SYS}, {23, R(RELINT)},
    {24, I(LENPAG)},  {25, I(MODSTAT)},    {26, COMPUTED},      {27, I(OBJROW)},   {28, I(GENNUM)},
    {29, I(TRACELV)}, {30, COMPUTED},      {31, I(NSCALAR)},    {32, I(NATTRS)},   {33, I(NROWNM)},
    {34, I(OROUTE)},  {35, I(STAWIN)},     {36, I(WNLINE)},     {37, I(WNTRIM)},   {38, I(ITRLIM)},
    {39, I(TIMLIM)},  {40, I(GENCNT)},     {41, I(ERRDLG)},     {42, I(OUTUNIT)},  {43, I(TRMOUT)},
    {51, I(NROWOUT)}, {52, SYS(MATBLK1)},  {53, SYS(MATBLK2)},  {54, SYS(MATBLK3)}, {60, I(SCLRLM)},
    {61, I(STRUCTN)}, {62, I(SCLRDL)},     {63, I(PRNCLR)},     {64, R(CUTOFF)},   {65, COMPUTED},
    {66, I(MXMEMB)},  {67, I(SLVCOLS)},    {68, I(SLVROWS)},    {69, COMPUTED},    {72, I(SYNTAX)},
    {73, I(LNRISE)},
};

#undef I
#undef R
#undef SYS
#undef COMPUTED
#undef COMPUTED_SYS

int32_t fieldof(int32_t* p) { return p ? *p : 0; }

// Entry k (1-based) of the integer block whose handle is h; 0 when there is none.
int32_t blockint(const Work& W, const MasterRecord& L, int32_t h, int32_t k) {
  if (h <= 0 || h > NHANDLES || L.START[h] < 1 || k < 1) return 0;
  if ((int64_t)k > (int64_t)L.LEN[h]) return 0;
  return wget(W, (int64_t)L.START[h] + k - 1);
}

// The value of a computed code.
int32_t value_(Work& W, MasterRecord& L, int32_t code) {
  switch (code) {
    case 10: return L.TOTWRD - L.FREEWD;
    case 11: return L.TOTWRD;
    case 21: return L.LINEIX > 0 ? L.START[L.LINEIX] : 0;
    case 22: return L.TEXTBLK > 0 ? L.START[L.TEXTBLK] : 0;
    case 30: return L.MODLINES > 0 ? textlen_(W, L) : 0;
    case 65: {
      int32_t obj = fieldof(li_OBJROW(L));
      return obj == 0 ? 0 : blockint(W, L, fieldof(li_ROWTYPES(L)), obj) / 2;
    }
    case 69: return fieldof(li_GENFLAG(L)) > 0 && fieldof(li_GLOBAL(L)) > 0 ? 1 : 0;
    default: return 0;
  }
}

}  // namespace

extern "C" void getmodelsize_(Work* work, MasterRecord* m, int32_t* size) {
  int64_t n = m->MODLINES > 0 ? textlen_(*work, *m) : 0, lines = m->MODLINES > 0 ? m->MODLINES : 0;
  int64_t a = 2 * (n + 1) + lines, b = n + 2 * lines + 1;
  int64_t s = a > b ? a : b;
  *size = s > 2147483647 ? 2147483647 : (int32_t)s;
}

extern "C" void getmodel_(Work* work, MasterRecord* m, char* buffer) {
  int64_t k = 0;
  if (hasmodel_(*m))
    for (int32_t line = 1; line <= m->MODLINES; ++line) {
      for (int32_t p = lixget(*work, *m, line); p < lixget(*work, *m, line + 1); ++p)
        buffer[k++] = txtget(*work, *m, p);
      buffer[k++] = '\r';
      buffer[k++] = '\n';
    }
  buffer[k] = '\0';
}

extern "C" int32_t mod2lp_(Work* work, MasterRecord* m, int32_t row) {
  if (row < 1 || row > fieldof(li_NROWS(*m))) return -1;
  int32_t r = blockint(*work, *m, fieldof(li_ROWMAP(*m)), row) - fieldof(li_NROWOUT(*m));
  if (fieldof(li_OBJROW(*m)) == 0) r += 1;
  return r < 1 ? -1 : r;
}

extern "C" int32_t linktoquir_(Work* work, MasterRecord* m, int32_t mode, int32_t code, double* rvalue,
                               int32_t* ivalue) {
  const LinkCode* c = nullptr;
  for (const LinkCode& e : CODES)
    if (e.code == code) c = &e;
  if (!c) return LINK_BADCODE;
  MasterRecord& L = *m;
  if (mode == 1) {
    if (c->access == SYSONLY) return LINK_REFUSED;
    if (c->access == GETONLY) return LINK_DONE;
    if (c->type == 'I') {
      if (int32_t* p = c->ifield(L)) *p = *ivalue;
    } else if (double* p = c->rfield(L)) {
      *p = *rvalue;
    }
    return LINK_DONE;
  }
  if (code == 30 && mode != 0) return LINK_DONE;
  if (!c->ifield && !c->rfield) {
    *ivalue = value_(*work, L, code);
  } else if (c->type == 'I') {
    *ivalue = fieldof(c->ifield(L));
  } else {
    double* p = c->rfield(L);
    *rvalue = p ? *p : 0.0;
  }
  return LINK_DONE;
}
