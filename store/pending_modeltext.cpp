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
FILE* g_files[301] = {};
FILE* g_in = nullptr;
FILE* g_out = nullptr;
FILE* stream(int32_t h) { return (h >= 1 && h <= 300) ? g_files[h] : nullptr; }
}  // namespace

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
