// Names of the model: title, objective, right-hand side, range and bound
// set names, row and variable names, with default names when none were given.
#include "bresk/names.h"

#include <cstdio>
#include <cstring>

using namespace bresk;

namespace {

constexpr size_t kMaxName = 255;

// Copies a name into a buffer (at most 255 characters and the NUL).
char* put(char* dst, const std::string& s) {
  size_t n = std::min(s.size(), kMaxName);
  std::memcpy(dst, s.data(), n);
  dst[n] = '\0';
  return dst + n + 1;
}

} // namespace

namespace bresk {

// Name of variable j or row i, the default when none was loaded.
std::string var_name(const BRmodel* m, int j) {
  if (j < static_cast<int>(m->varnames.size()) && !m->varnames[j].empty()) return m->varnames[j];
  char b[32];
  std::snprintf(b, sizeof b, "C%07d", j + 1);
  return b;
}

std::string row_name(const BRmodel* m, int i) {
  if (i < 0) return m->objname.empty() ? std::string("OBJ") : m->objname;
  if (i < static_cast<int>(m->rownames.size()) && !m->rownames[i].empty()) return m->rownames[i];
  char b[32];
  std::snprintf(b, sizeof b, "R%07d", i + 1);
  return b;
}

} // namespace bresk

extern "C" {

int BRloadNameData(BRmodel* model, const char* title, const char* objname, const char* rhsname,
                   const char* rngname, const char* bndname, const char** rownames,
                   const char** varnames) {
  return api_call(model, false, [&]() -> int {
    BRmodel* m = model;
    if (title) m->title = title;
    if (objname) m->objname = objname;
    if (rhsname) m->rhsname = rhsname;
    if (rngname) m->rngname = rngname;
    if (bndname) m->bndname = bndname;
    if (rownames) {
      m->rownames.assign(m->ncons, std::string());
      for (int i = 0; i < m->ncons; ++i)
        if (rownames[i]) m->rownames[i] = rownames[i];
    }
    if (varnames) {
      m->varnames.assign(m->nvars, std::string());
      for (int j = 0; j < m->nvars; ++j)
        if (varnames[j]) m->varnames[j] = varnames[j];
    }
    return 0;
  });
}

int BRgetNameData(BRmodel* model, char* title, char* objname, char* rhsname, char* rngname,
                  char* bndname, char** rowptr, char* rowbuf, char** varptr, char* varbuf) {
  return api_call(model, true, [&]() -> int {
    const BRmodel* m = model;
    if (title) put(title, m->title);
    if (objname) put(objname, row_name(m, -1));
    if (rhsname) put(rhsname, m->rhsname.empty() ? std::string("RHS") : m->rhsname);
    if (rngname) put(rngname, m->rngname.empty() ? std::string("RNG") : m->rngname);
    if (bndname) put(bndname, m->bndname.empty() ? std::string("BND") : m->bndname);
    if (rowbuf) {
      char* p = rowbuf;
      for (int i = 0; i < m->ncons; ++i) {
        if (rowptr) rowptr[i] = p;
        p = put(p, row_name(m, i));
      }
    }
    if (varbuf) {
      char* p = varbuf;
      for (int j = 0; j < m->nvars; ++j) {
        if (varptr) varptr[j] = p;
        p = put(p, var_name(m, j));
      }
    }
    return 0;
  });
}

} // extern "C"
