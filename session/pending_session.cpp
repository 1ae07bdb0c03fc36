// Placeholders for handlers of later steps that the command loop reaches (model text,
// catalogue and help, APISET), and temporary stand-ins for the line input and output.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "session/session.h"

#ifdef QUIRN_SESSION_IO_PENDING
namespace {
FILE* g_files[101] = {};
FILE* g_in = nullptr;
FILE* g_out = nullptr;
FILE* tin() { return g_in ? g_in : stdin; }
FILE* tout() { return g_out ? g_out : stdout; }
FILE* stream(int32_t h) { return (h >= 1 && h <= 100) ? g_files[h] : nullptr; }
}  // namespace
void trmstreams_(FILE* in, FILE* out, FILE*) {
  g_in = in;
  g_out = out;
}
int32_t FOPEN_(const char* name, const char* mode) {
  FILE* f = std::fopen(name, mode[0] == 'r' ? "r" : mode[0] == 'a' ? "a" : "w");
  if (!f) return 0;
  for (int32_t h = 1; h <= 100; ++h)
    if (!g_files[h]) {
      g_files[h] = f;
      return h;
    }
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
  buf[0] = 0;
  FILE* f = stream(h);
  return f && std::fgets(buf, n, f) ? 1 : 0;
}
int32_t FEOF_(int32_t h) {
  FILE* f = stream(h);
  return f ? std::feof(f) : 1;
}
int32_t FPUTS_(const char* text, int32_t h) {
  FILE* f = stream(h);
  if (!f) return -1;
  return (std::fputs(text, f) < 0 || std::fputc('\n', f) < 0) ? -1 : 0;
}
int32_t FEXISTS_(const char* name) {
  FILE* f = std::fopen(name, "r");
  if (!f) return 0;
  std::fclose(f);
  return 1;
}
void FFLUSHALL_() { std::fflush(nullptr); }
int32_t lprint_(MasterRecord& L, int32_t unit, std::string_view line) {
  size_t k = line.size() < (size_t)L.LINLEN ? line.size() : (size_t)L.LINLEN;
  while (k > 0 && line[k - 1] == ' ') --k;
  FILE* f = unit == L.TRMOUT ? tout() : stream(unit);
  if (!f) return -1;
  if (k == 0)
    std::fputc(' ', f);
  else
    std::fwrite(line.data(), 1, k, f);
  std::fputc('\n', f);
  return 32;
}
int32_t blankl_(MasterRecord& L, int32_t unit, int32_t n) {
  for (int32_t i = 0; i < n; ++i) lprint_(L, unit, " ");
  return 32;
}
void gettxt_(MasterRecord& L, const char* prompt, int32_t npairs, char* line, int32_t,
             int32_t& pos, int32_t& len, int32_t mode) {
  int32_t p = pos < 1 ? 1 : pos;
  while (p <= len && line[p - 1] != ' ') ++p;
  while (p <= len && line[p - 1] == ' ') ++p;
  if (p <= len && !(line[p - 1] == L.COMCHR && mode == 1)) {
    pos = p;
    return;
  }
  for (;;) {
    if (L.INUNIT == L.TRMIN) {
      for (int32_t i = 0; i < npairs; ++i) std::fwrite(prompt + 2 * i, 1, 2, tout());
      if (npairs > 1) std::fputs("\r\n", tout());
      std::fflush(tout());
    }
    char buf[400];
    bool got = L.INUNIT == L.TRMIN ? std::fgets(buf, sizeof buf, tin()) != nullptr
                                   : FGETS_(buf, 202, L.INUNIT) != 0;
    sf_INPEOF(L) = 0;
    if (!got) {
      if (L.INUNIT == L.TRMIN) {
        sf_INPEOF(L) = 1;
        len = 0;
        return;
      }
      FCLOSE_(L.TAKSTK[L.TAKELV]);
      L.TAKELV -= 1;
      if (L.TAKELV == 0) {
        L.INUNIT = L.TRMIN;
        L.LINEND = 0;
        L.LINCUR = 0;
        len = 0;
        return;
      }
      L.INUNIT = L.TAKSTK[L.TAKELV];
      continue;
    }
    int32_t n = (int32_t)std::strlen(buf);
    if (n && buf[n - 1] == '\n') buf[--n] = 0;
    if (n > L.MAXLIN) n = L.MAXLIN;
    std::memset(line, ' ', L.MAXLIN);
    len = 0;
    for (int32_t i = 0; i < n; ++i) {
      char c = buf[i] == '\t' ? ' ' : buf[i];
      line[i] = c;
      L.LINRAW[i] = c;
      if (c != ' ') len = i + 1;
    }
    if (len == 0) return;
    if (mode > 0) ushift_(line, len, L.LINRAW);
    p = 1;
    while (line[p - 1] == ' ') ++p;
    pos = p;
    if (line[p - 1] == L.COMCHR && mode == 1) continue;
    return;
  }
}
void getnum_(MasterRecord& L, int32_t& status, double& value) {
  int32_t p = L.LINCUR < 1 ? 1 : L.LINCUR;
  while (p <= L.LINEND && L.LINBUF[p - 1] == ' ') ++p;
  char tmp[256];
  int32_t k = 0;
  while (p + k <= L.LINEND && k < 255 && L.LINBUF[p + k - 1] != ' ' && L.LINBUF[p + k - 1] != ',') {
    tmp[k] = L.LINBUF[p + k - 1];
    ++k;
  }
  tmp[k] = 0;
  char* end = nullptr;
  value = std::strtod(tmp, &end);
  if (k == 0 || end == tmp) {
    status = 1;
    return;
  }
  status = 0;
  L.LINCUR = p + (int32_t)(end - tmp);
}
void getsgn_(MasterRecord& L, double& sign) {
  int32_t p = L.LINCUR < 1 ? 1 : L.LINCUR;
  while (p <= L.LINEND && L.LINBUF[p - 1] == ' ') ++p;
  sign = 0.0;
  if (p <= L.LINEND && (L.LINBUF[p - 1] == '+' || L.LINBUF[p - 1] == '-')) {
    sign = L.LINBUF[p - 1] == '+' ? 1.0 : -1.0;
    L.LINCUR = p + 1;
  }
}
void lunget2_(MasterRecord& L, int32_t& h, int32_t mode) {
  h = 0;
  nxblnk_(L, 1);
  getrsp_(L, "FILE NAME=", 5);
  if (L.LINEND < 1) return;
  L.LINRAW[L.LINEND] = 0;
  L.LINEND = 0;
  h = FOPEN_(&L.LINRAW[L.LINCUR - 1], mode == 1 ? "rt" : "wt");
  if (!h) std::fputs(" Unable to open file\n", tout());
}
void paws_(MasterRecord& L, const char* prompt, int32_t& plen) {
  if (plen % 2) ++plen;
  L.LINEND = 0;
  getrsp_(L, prompt, plen / 2);
}
void errmsh_(Work&, MasterRecord& L, int32_t n) {
  if (L.MSGOFF & 1) return;
  FILE* f = tout();
  std::fprintf(f, " \n [Error Code:%5d]\n \n", n);
  L.LASTERR = n;
}
#endif
