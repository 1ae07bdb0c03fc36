// A small session for unit tests of the model text routines: a master record, a work
// array of its own and helpers to store and read back model lines.
#pragma once
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "store/io.h"
#include "store/store.h"
#include "language/reader.h"
#include "store/master.h"
#include "store/work.h"

// The stored model lines of a session.
inline std::vector<std::string> storedlines(const Work& W, const MasterRecord& L) {
  std::vector<std::string> out;
  for (int32_t k = 1; k <= L.MODLINES; ++k) {
    std::string s;
    for (int32_t p = lixget(W, L, k); p < lixget(W, L, k + 1); ++p) s += txtget(W, L, p);
    out.push_back(s);
  }
  return out;
}

struct TextSession {
  std::unique_ptr<MasterRecord> Lp = std::make_unique<MasterRecord>();
  MasterRecord& L = *Lp;
  Work W;
  explicit TextSession(int32_t words = 1 << 20) {
    init_(L);
    W.w.assign((size_t)words + 1, 0);
    L.TOTWRD = words;
    intmem_(W, L);
    L.MAXLIN = 200;
    L.COMCHR = '!';
    L.TILCHR = '~';
    L.OUTUNIT = 0;
    L.TRMOUT = 0;
  }
  // Stores the lines as the model text (no checks, no messages).
  void store(const std::vector<std::string>& lines, int32_t syntax = 0) {
    int32_t n = (int32_t)lines.size(), chars = 0, st = 0;
    for (auto& s : lines) chars += (int32_t)s.size();
    int32_t c1 = chars + 1, c2 = n + 2, c3 = n + 2;
    setblk_(1, c1, W, L, L.TEXTBLK, st);
    setblk_(2, c2, W, L, L.LINEIX, st);
    setblk_(2, c3, W, L, L.LINEMAP, st);
    L.TEXTCAP = c1;
    L.LINECAP = c2;
    int32_t p = 1;
    for (int32_t k = 1; k <= n; ++k) {
      lixput(W, L, k, p);
      for (char c : lines[(size_t)k - 1]) txtput(W, L, p++, c);
    }
    lixput(W, L, n + 1, p);
    L.MODLINES = n;
    L.SYNTAX = syntax;
  }
  // The stored lines.
  std::vector<std::string> lines() const { return storedlines(W, L); }
  // The reader's whole character stream from the start; status of the first failure.
  std::string stream(int32_t* status = nullptr) {
    initfi_(L);
    L.TEXTPOS = 0;
    L.PENDCNT = 0;
    std::string out;
    int32_t pend = 0, end = 0, st = 0;
    char c;
    for (int guard = 0; guard < 10000000; ++guard) {
      getkf2_(W, L, '!', L.TEXTBLK, L.TEXTPOS, textlen_(W, L), pend, c, end, st);
      if (st != 0 || end != 0) break;
      out += c;
    }
    if (status) *status = st;
    shutfi_(L);
    return out;
  }
};

// A scratch directory that is the current directory while the object lives.
struct ScratchDir {
  std::filesystem::path old = std::filesystem::current_path();
  std::filesystem::path dir;
  ScratchDir() {
    char tmpl[] = "/tmp/quirn_testXXXXXX";
    dir = mkdtemp(tmpl);
    std::filesystem::current_path(dir);
  }
  ~ScratchDir() {
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
  }
  void write(const std::string& name, const std::string& text) { std::ofstream(dir / name) << text; }
  std::string read(const std::string& name) {
    std::ifstream f(dir / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }
};

// The escape for line n.
inline std::string esc(int n) {
  std::string s(4, '\0');
  s[1] = (char)(n & 0xff);
  s[2] = (char)((n >> 8) & 0xff);
  return s;
}

#include "session/modeltext.h"

// Runs f with the terminal reading `input` and returns what it printed on the terminal.
template <class F>
std::string onterminal(const std::string& input, F f) {
  std::string in = input;
  FILE* fin = fmemopen(in.empty() ? nullptr : in.data(), in.size(), "r");
  if (in.empty()) fin = std::tmpfile();
  FILE* fout = std::tmpfile();
  trmstreams_(fin, fout, nullptr);
  f();
  std::fflush(fout);
  std::rewind(fout);
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, fout)) > 0) out.append(buf, n);
  trmstreams_(nullptr, nullptr, nullptr);
  std::fclose(fin);
  std::fclose(fout);
  return out;
}
