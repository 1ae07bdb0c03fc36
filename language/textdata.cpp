// External text data: the tokens of an @TEXT file, assigned field by field.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include "language/textdata.h"

// Reads the tokens of a text file; fields are taken in turn through the whole file.
void getextd2_(MasterRecord& L, const char* fname, const std::vector<int32_t>& kinds, int64_t expected,
               std::vector<TextToken>& out, int64_t& count, int32_t& status) {
  status = 0;
  count = 0;
  out.clear();
  FILE* f = std::fopen(fname, "r");
  if (!f) {
    status = 1;
    return;
  }
  const int64_t nf = kinds.empty() ? 1 : (int64_t)kinds.size();
  std::string line;
  int c = 0;
  auto isname = [&](char ch, bool first) {
    bool letter = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
    bool digit = ch >= '0' && ch <= '9';
    return letter || (digit && (!first || L.SCANMD == 1));
  };
  while (status == 0) {
    line.clear();
    // any line length; a NUL ends the line early (it is no valid token), so that a stream
    // without line ends is not gathered whole
    while ((c = std::fgetc(f)) != EOF && c != '\n') {
      line += (char)c;
      if (c == 0) break;
    }
    if (line.empty() && c == EOF) break;
    line += ' ';
    size_t i = 0;
    for (;;) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == ',')) ++i;
      if (i >= line.size()) break;
      int32_t kind = kinds.empty() ? 0 : kinds[(size_t)(count % nf)];
      TextToken t;
      if (kind == 4 || kind == 5) {
        if (!isname(line[i], true)) {
          status = 3;
          break;
        }
        size_t j = i;
        while (j < line.size() && isname(line[j], false)) ++j;
        std::string nm = line.substr(i, std::min<size_t>(j - i, 32));
        for (char& ch : nm) ch = kshift_(ch);
        t.isname = true;
        t.name = nm;
        i = j;
      } else {
        double sign = 1.0;
        if (line[i] == '+' || line[i] == '-') {
          if (line[i] == '-') sign = -1.0;
          ++i;
        }
        std::string s = " " + line.substr(i);
        int32_t pos = 0;
        double v = 0.0;
        int32_t e = txt2np_(L, s.data(), pos, (int32_t)s.size() - 1, 0, v);
        if (e == 1 || (pos < (int32_t)s.size() - 1 && s[(size_t)pos + 1] != ' ' && s[(size_t)pos + 1] != ',' &&
                       s[(size_t)pos + 1] != '\t' && s[(size_t)pos + 1] != '\r')) {
          status = 3;
          break;
        }
        if (e == 2) ++L.BIGCNT;  // cut to the largest number; reported after compiling
        t.val = sign * v;
        i += (size_t)pos;
      }
      if (expected < 2147483640LL && count + 1 > expected) {
        status = 5;
        break;
      }
      out.push_back(t);
      ++count;
    }
    if (c == EOF) break;
  }
  if (status == 3) {
    // the line read stays in the input line buffer for the message
    for (char& ch : line)
      if (ch == 0) ch = ' ';
    size_t n = std::min<size_t>(line.size(), 200);
    while (n > 0 && line[n - 1] == ' ') --n;
    std::memset(L.LINBUF, ' ', 200);
    std::memcpy(L.LINBUF, line.data(), n);
    L.LINEND = (int32_t)n;
  }
  if (status == 0 && std::ferror(f)) status = 2;
  std::fclose(f);
  if (status == 0) {
    bool ok = expected < 2147483640LL ? count == expected : count % nf == 0;
    if (!ok) {
      status = 4;
      L.ERRARG2 = (int32_t)std::min<int64_t>(count, 2147483640LL);
      L.ERRARG3 = (int32_t)std::min<int64_t>(expected, 2147483640LL);
    }
  }
}
