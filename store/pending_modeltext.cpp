// Temporary stand-ins for work-store and file-layer routines that have not landed yet.
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "language/pending_modeltext.h"
#include "store/master.h"
#include "store/work.h"

namespace {
int32_t tsize(int32_t type) { return type == 1 ? 1 : (type == 6 || type == 7) ? 8 : type == 3 ? 2 : 4; }
int32_t topword(const MasterRecord& L) {
  int32_t top = 1;
  for (int h = 3; h <= NHANDLES; ++h)
    if (L.START[h] > 0 && L.START[h] + L.LEN[h] > top) top = L.START[h] + L.LEN[h];
  return top;
}
FILE* g_files[301] = {};
FILE* g_in = nullptr;
FILE* g_out = nullptr;
FILE* stream(int32_t h) { return (h >= 1 && h <= 300) ? g_files[h] : nullptr; }
}  // namespace

void setblk_(int32_t type, int32_t& count, Work& W, MasterRecord& L, int32_t& handle, int32_t& status) {
  int32_t s = tsize(type);
  if (L.TOTWRD <= 0) L.TOTWRD = (int32_t)W.w.size() - 1;
  if (handle > 0 && count < 1) {
    rlsblk_(L, handle);
    status = 0;
    return;
  }
  if (count < 0) count = 0;
  if ((int64_t)count >= 2147483640LL / s) {
    status = 2;
    return;
  }
  int32_t g = 8 / s;
  int64_t c = count == 0 ? g : ((int64_t)(count - 1) / g) * g + g;
  int32_t w = (int32_t)(c * s / 4);
  if (handle <= 0) {
    int32_t h = 0;
    for (int k = 3; k <= NHANDLES; ++k)
      if (L.START[k] == 0) { h = k; break; }
    if (h == 0) { status = 3; handle = 0; count = 0; return; }
    int32_t top = topword(L);
    if ((int64_t)top + w - 1 > L.TOTWRD) { status = 2; handle = 0; count = 0; return; }
    L.START[h] = top;
    L.LEN[h] = w;
    handle = h;
    count = (int32_t)c;
    status = 0;
    return;
  }
  int32_t h = handle;
  if (w <= L.LEN[h] || L.START[h] + L.LEN[h] == topword(L)) {
    if ((int64_t)L.START[h] + w - 1 > L.TOTWRD) { status = 2; return; }
    L.LEN[h] = w;
  } else {
    int32_t top = topword(L);
    if ((int64_t)top + w - 1 > L.TOTWRD) { status = 2; return; }
    for (int32_t i = 0; i < L.LEN[h]; ++i) W.w[(size_t)(top + i)] = W.w[(size_t)(L.START[h] + i)];
    L.START[h] = top;
    L.LEN[h] = w;
  }
  count = (int32_t)c;
  status = 0;
}

void rlsblk_(MasterRecord& L, int32_t& handle) {
  if (handle <= 0) return;
  L.START[handle] = 0;
  L.LEN[handle] = 0;
  handle = 0;
}

int32_t idoub_(int32_t n) { return n > 1073741820 ? 2147483640 : 2 * n; }

void recovr_(Work&, MasterRecord&) {}

int32_t FOPEN_(const char* name, const char* mode) {
  if (!name || !*name) return 0;
  char m[8];
  int k = 0;
  for (const char* p = mode; *p && k < 7; ++p)
    if (*p != 't') m[k++] = *p;
  m[k] = 0;
  FILE* f = std::fopen(name, m);
  if (!f) return 0;
  for (int32_t h = 1; h <= 300; ++h)
    if (!g_files[h]) { g_files[h] = f; return h; }
  std::fclose(f);
  return 0;
}
int32_t FCLOSE_(int32_t& h) {
  FILE* f = stream(h);
  if (!f) return -1;
  std::fclose(f);
  g_files[h] = nullptr;
  h = 0;
  return 0;
}
int32_t FGETS_(char* buf, int32_t n, int32_t h) {
  FILE* f = stream(h);
  if (n < 1) return 0;
  buf[0] = 0;
  return f && std::fgets(buf, n, f) ? 1 : 0;
}
int32_t FEOF_(int32_t h) {
  FILE* f = stream(h);
  return f ? std::feof(f) : 1;
}
char* FULLPATH_(char* buf, const char* name) {
  if (!getcwd(buf, 1024)) return nullptr;
  std::strcat(buf, "/");
  std::strcat(buf, name);
  return buf;
}
void trmstreams_(FILE* in, FILE* out, FILE*) {
  g_in = in;
  g_out = out;
}
FILE* trmout_() { return g_out ? g_out : stdout; }
int32_t lprint_(MasterRecord& L, int32_t unit, const char* line, int32_t len) {
  int32_t k = len < L.LINLEN ? len : L.LINLEN;
  while (k > 0 && line[k - 1] == ' ') --k;
  if (k == 0) k = 1;
  std::string s = len <= 0 ? std::string(" ") : std::string(line, (size_t)k);
  FILE* f = unit == 0 ? trmout_() : stream(unit);
  if (!f) return -1;
  std::fwrite(s.data(), 1, s.size(), f);
  std::fputc('\n', f);
  return 32;
}
int32_t lprint_(MasterRecord& L, int32_t unit, std::string_view line) {
  return lprint_(L, unit, line.data(), (int32_t)line.size());
}
int32_t blankl_(MasterRecord& L, int32_t unit, int32_t n) {
  for (int32_t i = 0; i < n; ++i) lprint_(L, unit, " ", 1);
  return 32;
}
void gettxt_(MasterRecord& L, const char*, int32_t, char* line, int32_t, int32_t& pos, int32_t& len, int32_t mode) {
  char buf[4096];
  FILE* in = g_in ? g_in : stdin;
  L.INPEOF = 0;
  if (!std::fgets(buf, sizeof buf, in)) {
    len = 0;
    pos = 0;
    L.INPEOF = 1;
    return;
  }
  size_t n = std::strlen(buf);
  if (n && buf[n - 1] == '\n') buf[--n] = 0;
  if (n > 200) n = 200;
  len = 0;
  for (size_t i = 0; i < n; ++i) {
    char c = buf[i] == '\t' ? ' ' : buf[i];
    line[i] = c;
    L.LINRAW[i] = c;
    if (c != ' ') len = (int32_t)i + 1;
  }
  for (size_t i = n; i < 200; ++i) line[i] = L.LINRAW[i] = ' ';
  if (mode > 0)
    for (int32_t i = 0; i < len; ++i) line[i] = (char)std::toupper((unsigned char)line[i]);
  pos = 1;
  while (pos <= len && line[pos - 1] == ' ') ++pos;
}
void lunget2_(MasterRecord&, int32_t& h, int32_t) { h = 0; }
void getnum_(MasterRecord&, int32_t& status, double& value) {
  status = 1;
  value = 0;
}
void getsgn_(MasterRecord&, double& sign) { sign = 0; }
void errmsh_(Work&, MasterRecord& L, int32_t n) {
  char b[64];
  std::snprintf(b, sizeof b, " [Error Code:%5d]", n);
  blankl_(L, 0, 1);
  lprint_(L, 0, std::string_view(b));
  blankl_(L, 0, 1);
  L.LASTERR = n;
}
