// The configuration file QUIRN.CNF: read at start-up, written by FREEZE.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "session/session.h"

const char CNFNAME[17] = "QUIRN.CNF       ";

namespace {
// The first free-format item of a line after its seventh character: leading blanks are
// skipped and the item runs to a blank, comma or slash. False when there is none.
bool firstitem(const char* buf, int32_t len, char* item, int32_t cap) {
  int32_t p = 7;
  while (p < len && buf[p] == ' ') ++p;
  int32_t n = 0;
  while (p < len && buf[p] != ' ' && buf[p] != ',' && buf[p] != '/' && n < cap - 1) item[n++] = buf[p++];
  item[n] = 0;
  return n > 0;
}

// An integer item: optional sign and decimal digits that fit 32 bits.
bool readint(const char* item, int32_t& v) {
  const char* p = item;
  if (*p == '+' || *p == '-') ++p;
  if (!*p) return false;
  for (const char* q = p; *q; ++q)
    if (*q < '0' || *q > '9') return false;
  errno = 0;
  long long x = std::strtoll(item, nullptr, 10);
  if (errno || x < INT32_MIN || x > INT32_MAX) return false;
  v = (int32_t)x;
  return true;
}

// A real item: the whole item must be a number (D is taken as an exponent mark too, and a
// sign after the digits starts an exponent, as in 0.10000000+301 of a three-digit exponent).
bool readreal(const char* item, double& v) {
  char t[262];
  int32_t n = 0;
  for (const char* q = item; *q && n < 259; ++q) {
    char c = *q == 'D' || *q == 'd' ? 'E' : *q;
    if ((c == '+' || c == '-') && n > 0 && ((t[n - 1] >= '0' && t[n - 1] <= '9') || t[n - 1] == '.'))
      t[n++] = 'E';
    t[n++] = c;
  }
  t[n] = 0;
  if (!t[0] || std::strchr("+-.0123456789", t[0]) == nullptr) return false;
  char* end = nullptr;
  v = std::strtod(t, &end);
  return end && *end == 0 && std::isfinite(v);
}
}  // namespace

// Builds the path of a file: the directory text up to its terminator, a separator when
// the directory is not empty, then the 16-character name without trailing blanks.
void mkpath_(const char* dir, int32_t length, const char* name, char* path) {
  int32_t n = 0;
  while (n < length && dir[n] != 0) path[n] = dir[n], ++n;
  if (n > 0 && path[n - 1] != '/') path[n++] = '/';
  int32_t e = 16;
  while (e > 0 && (name[e - 1] == ' ' || name[e - 1] == 0)) --e;
  std::memcpy(path + n, name, e);
  path[n + e] = 0;
}

// Reads the configuration file at path: found when it exists, errors 1 when a value
// could not be read or was refused, or the file could not be read.
void getcnf_(Work& W, MasterRecord& L, const char* path, int32_t& found, int32_t& errors) {
  errors = 0;
  loadpvector_(L);
  found = FEXISTS_(path) ? QTRUE : QFALSE;
  if (!qtest(found)) {
    loadpscalar_(L);
    return;
  }
  int32_t h = FOPEN_(path, "rt");
  if (h == 0) {
    errors = 1;
    loadpscalar_(L);
    return;
  }
  bool ended_early = false;
  for (;;) {
    char buf[257];
    std::memset(buf, ' ', 256);
    buf[256] = 0;
    if (FGETS_(buf, 254, h) == 0) break;
    int32_t len = (int32_t)std::strlen(buf);
    if (len == 0) continue;
    for (int32_t k = 0; k < len; ++k)
      if (buf[k] == '\n' || buf[k] == '\r') buf[k] = ' ';
    int32_t idx = 0;
    getparamx_(L, buf, idx);
    if (idx == 0 || len < 6) continue;
    char key[7];
    std::memcpy(key, buf, 6);
    key[6] = 0;
    char item[260];
    if (!firstitem(buf, len, item, sizeof item)) {
      ended_early = true;  // a key with no value ends the reading
      break;
    }
    const ParamDef& p = paramdef(idx);
    int32_t iv = 0;
    double rv = 0.0;
    bool ok;
    if (p.kind == PKIND_INT) {
      ok = readint(item, iv);
      rv = iv;
    } else {
      ok = readreal(item, rv);
      iv = p.kind == PKIND_HURDLE ? 1 : 0;
    }
    if (!ok) {
      errors = 1;
      continue;
    }
    int32_t st = 0;
    setpam_(W, L, key, iv, rv, st);
    if (st != 0) errors = 1;
  }
  if (!ended_early && !FEOF_(h)) errors = 1;
  FCLOSE_(h);
  loadpscalar_(L);
}

// Reads the configuration file from directory 2, and again from directory 1 when it was
// missing there or had errors.
void getconfig_(Work& W, MasterRecord& L, const char* dir1, const char* dir2, int32_t length,
                int32_t& found, int32_t& errors) {
  char path[1100];
  mkpath_(dir2, length, CNFNAME, path);
  getcnf_(W, L, path, found, errors);
  if (!qtest(found) || errors > 0) {
    mkpath_(dir1, length, CNFNAME, path);
    getcnf_(W, L, path, found, errors);
  }
}

// Writes the configuration file at path: the header, then one line for each parameter
// whose current value differs from its default; written true when every line was written
// and the file closed whole, 2 when it opened but a write failed (the old file then stays).
void ptconf_(MasterRecord& L, int32_t create, const char* path, int32_t& written) {
  written = QFALSE;
  if (!qtest(create) && !FEXISTS_(path)) return;
  int32_t h = FOPENNEW_(path);
  if (h == 0) return;
  if (FPUTS_("! QUIRN Custom Configuration Data:", h) < 0) {
    FDROP_(h);
    written = 2;
    return;
  }
  for (int32_t i = 1; i <= NPARAMS; ++i) {
    const ParamDef& p = paramdef(i);
    char line[64];
    char f[40];
    if (p.kind == PKIND_INT) {
      if (L.IPVAL[i] == p.idef) continue;
      std::snprintf(line, sizeof line, "%.6s=  %d", p.key, L.IPVAL[i]);
    } else if (p.kind == PKIND_REAL) {
      if (L.RPVAL[i] == p.rdef) continue;
      fmtgen_(L.RPVAL[i], 16, 8, f);
      std::snprintf(line, sizeof line, "%.6s=%s", p.key, f);
    } else {
      if (L.IPVAL[i] != 1) continue;
      fmtgen_(L.RPVAL[i], 16, 8, f);
      std::snprintf(line, sizeof line, "%.6s=%s", p.key, f);
    }
    if (FPUTS_(line, h) < 0) {
      FDROP_(h);
      written = 2;
      return;
    }
  }
  if (FCLOSE_(h) == 0) {
    written = QTRUE;
  } else {
    FDROP_(h);
    written = 2;
  }
}

// Writes the configuration file into directory 2, else directory 1; failed when both fail.
void putconfig_(MasterRecord& L, const char* dir1, const char* dir2, int32_t length,
                int32_t& failed, int32_t* writefailed) {
  char path[1100];
  int32_t written = QFALSE, first = QFALSE;
  mkpath_(dir2, length, CNFNAME, path);
  ptconf_(L, QTRUE, path, first);
  written = first;
  if (!qtest(written)) {
    mkpath_(dir1, length, CNFNAME, path);
    ptconf_(L, QTRUE, path, written);
  }
  failed = qtest(written) ? QFALSE : QTRUE;
  if (writefailed) *writefailed = qtest(failed) && (first == 2 || written == 2) ? QTRUE : QFALSE;
}
