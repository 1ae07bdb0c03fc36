// The matrix picture (PICTURE): one line per row, two characters per column, each nonzero
// shown by its sign and a character for its order of magnitude, the column names written
// vertically above, the relation and right-hand side after the last column.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "generate/blk.h"
#include "language/lang.h"
#include "reports/reports.h"
#include "store/io.h"
#include "store/store.h"

namespace {

constexpr char KHASH = '\'';                  // guide mark
constexpr char KCODE[] = "ZYXWVUTABCDEFG";    // magnitude letters
constexpr double DLEVELS[14] = {1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e99};

// The blocks a picture takes; all released together.
struct PicBlocks {
  int32_t cnames = 0, cends = 0, rnames = 0, rends = 0, rstart = 0, rcol = 0, rpos = 0;
  void release(MasterRecord& L) {
    for (int32_t* h : {&cnames, &cends, &rnames, &rends, &rstart, &rcol, &rpos})
      if (*h > 0) rlsblk_(L, *h);
  }
};

// Name i of a packed name list.
std::string packedname(const Work& W, const MasterRecord& L, int32_t names, int32_t ends, int32_t i) {
  const int32_t a = i > 1 ? bgeti(W, L, ends, i - 1) : 0, b = bgeti(W, L, ends, i);
  std::string s;
  for (int32_t k = a + 1; k <= b; ++k) s += bgetc(W, L, names, k);
  return s;
}

}  // namespace

char piccoef_(double value) {
  const double a = std::fabs(value);
  if (a >= 1 && a <= 9 && a == std::floor(a)) return (char)('0' + (int32_t)a);
  for (int32_t i = 0; i < 14; ++i)
    if (a < DLEVELS[i]) return KCODE[i];
  return KCODE[13];
}

// Packed list of the loaded columns' (kind 1) or rows' names: the non-blank characters of
// each name one after another and the end position of each; the longest name's length.
void getnopt_(Work& W, MasterRecord& L, int32_t kind, int32_t& names, int32_t& ends,
              int32_t& count, int32_t& longest, int32_t& status) {
  status = 0;
  longest = 0;
  // the dummy row and column of a model without constraints or variables are left out
  count = (kind == 1 ? L.SLVCOLS : L.SLVROWS) - L.SLDUMMY;
  int32_t cap = 1024, n = count + 1, st = 0;
  setblk_(1, cap, W, L, names, st);
  if (st == 0) setblk_(WORDTYPE, n, W, L, ends, st);
  if (st != 0) {
    status = 1;
    return;
  }
  const int32_t width = std::clamp(L.LINLEN, 1, 400);
  char buf[408];
  int32_t used = 0;
  for (int32_t i = 1; i <= count; ++i) {
    int32_t len = width;
    std::memset(buf, ' ', sizeof buf);
    if (kind == 1) {
      const int32_t item = i + L.NFIXED;
      const int32_t v = (item <= L.NVARS && L.VARORD > 0) ? bgeti0(W, L, L.VARORD, item) : item;
      vdx2nh_(W, L, v, buf, len);
    } else {
      // loaded row 1 is the objective; without an objective row it has no model row
      const int32_t item = i + L.NFIXED - (L.OBJROW > 0 ? 0 : 1);
      int32_t r = 0;
      if (L.OBJROW > 0 || i > 1) r = (item <= L.NROWS && L.ROWORD > 0) ? bgeti0(W, L, L.ROWORD, item) : item;
      rdx2nh_(W, L, r, buf, len);
    }
    len = std::clamp(len, 0, width);
    if (used + len > cap) {
      int32_t grown = std::max(2 * cap + 1024, used + len);
      setblk_(1, grown, W, L, names, st);
      if (st != 0) {
        status = 1;
        return;
      }
      cap = grown;
    }
    int32_t kept = 0;
    for (int32_t c = 0; c < len; ++c)
      if (buf[c] != ' ') bputc(W, L, names, used + ++kept, buf[c]);
    used += kept;
    longest = std::max(longest, kept);
    bputi(W, L, ends, i, used);
  }
}

// Row-wise lists of the column-wise matrix copy: per row its entries' columns and
// matrix positions, in increasing column order.
void getrowlists_(Work& W, MasterRecord& L, int32_t& rstart, int32_t& rcol, int32_t& rpos,
                  int32_t& status) {
  status = 0;
  const int32_t R = L.SLVROWS - L.SLDUMMY, V = L.SLVCOLS - L.SLDUMMY;
  const int32_t nz = std::max(bgeti0(W, L, L.MATCOLST, (int64_t)V + 1) - 1, 0);
  int32_t n = R + 2, m = nz + 1, st = 0;
  setblk_(WORDTYPE, n, W, L, rstart, st);
  if (st == 0) setblk_(WORDTYPE, m, W, L, rcol, st);
  if (st == 0) {
    m = nz + 1;
    setblk_(WORDTYPE, m, W, L, rpos, st);
  }
  if (st != 0) {
    status = 1;
    return;
  }
  for (int32_t r = 1; r <= R + 1; ++r) bputi(W, L, rstart, r, 0);
  for (int32_t k = 1; k <= nz; ++k) {
    const int32_t r = std::abs(bgeti0(W, L, L.MATROW, k));
    if (r >= 1 && r <= R) bputi(W, L, rstart, r + 1, bgeti(W, L, rstart, r + 1) + 1);
  }
  bputi(W, L, rstart, 1, 1);
  for (int32_t r = 2; r <= R + 1; ++r) bputi(W, L, rstart, r, bgeti(W, L, rstart, r) + bgeti(W, L, rstart, r - 1));
  // fill, using rstart(r) as the next free slot of row r, then shift back
  for (int32_t j = 1; j <= V; ++j) {
    const int32_t a = bgeti0(W, L, L.MATCOLST, j), b = bgeti0(W, L, L.MATCOLST, (int64_t)j + 1);
    for (int32_t k = a; k < b; ++k) {
      const int32_t r = std::abs(bgeti0(W, L, L.MATROW, k));
      if (r < 1 || r > R) continue;
      const int32_t slot = bgeti(W, L, rstart, r);
      bputi(W, L, rcol, slot, j);
      bputi(W, L, rpos, slot, k);
      bputi(W, L, rstart, r, slot + 1);
    }
  }
  for (int32_t r = R + 1; r >= 2; --r) bputi(W, L, rstart, r, bgeti(W, L, rstart, r - 1));
  bputi(W, L, rstart, 1, 1);
}

void dopic_(Work& W, MasterRecord& L) {
  PicBlocks b;
  int32_t vc = 0, vlong = 0, rc = 0, rlong = 0, st = 0;
  getnopt_(W, L, 1, b.cnames, b.cends, vc, vlong, st);
  if (st == 0) getnopt_(W, L, 2, b.rnames, b.rends, rc, rlong, st);
  if (st == 0) getrowlists_(W, L, b.rstart, b.rcol, b.rpos, st);
  if (st != 0) {
    b.release(L);
    errmsh_(W, L, 0);
    return;
  }
  const int32_t lin = L.LINLEN, V = L.SLVCOLS - L.SLDUMMY, R = L.SLVROWS - L.SLDUMMY;
  const int32_t w = std::min(lin / 2, rlong);
  if (V == 0) {
    blankl_(L, L.OUTUNIT, 1);
    b.release(L);
    return;
  }
  std::string line;
  int32_t done = 0;
  while (done < V) {
    int32_t k = std::max((lin - w - 3) / 2, 1);
    k = std::min(k, V - done);
    bool relation = false;
    if (done + k == V && w + 7 <= lin) {
      // keep the relation part within the line: a full last strip gives up columns to
      // one more strip
      const int32_t fit = (lin - w - 8) / 2;
      if (fit >= 1 && k > fit) k = fit;
      else relation = true;
    }
    // column headings, names aligned at the bottom
    blankl_(L, L.OUTUNIT, 1);
    for (int32_t h = 1; h <= vlong; ++h) {
      line.assign((size_t)(w + 4 + 2 * k), ' ');
      for (int32_t j = 1; j <= k; ++j) {
        const std::string nm = packedname(W, L, b.cnames, b.cends, done + j);
        const int32_t at = h - (vlong - (int32_t)nm.size());
        if (at >= 1) line[(size_t)(w + 3 + 2 * j - 1)] = nm[(size_t)at - 1];
      }
      lprint_(L, L.OUTUNIT, line);
    }
    blankl_(L, L.OUTUNIT, 1);
    for (int32_t r = 1; r <= R; ++r) {
      const std::string nm = packedname(W, L, b.rnames, b.rends, r);
      const int32_t s = std::max((int32_t)nm.size() - w, 0);  // a longer name pushes the rest right
      line.assign((size_t)(s + w + 12 + 2 * k), ' ');
      auto put = [&](int32_t col, char c) { line[(size_t)(col + s - 1)] = c; };
      std::memcpy(&line[(size_t)(2 + w + s - (int32_t)nm.size())], nm.data(), nm.size());
      put(w + 3, ':');
      const int32_t step = r % 3 == 0 ? 3 : 6;
      for (int32_t c = w + 5; c <= w + 4 + 2 * k; c += step) put(c, KHASH);
      for (int32_t e = bgeti(W, L, b.rstart, r); e < bgeti(W, L, b.rstart, r + 1); ++e) {
        const int32_t j = bgeti(W, L, b.rcol, e) - done;
        if (j < 1 || j > k) continue;
        const int32_t pos = bgeti(W, L, b.rpos, e);
        if (bgeti0(W, L, L.MATROW, pos) < 0) {
          put(w + 3 + 2 * j, '?');
          continue;
        }
        // the loaded objective keeps the model's own signs for either sense
        const double c = bgetd0(W, L, L.MATCOEF, pos);
        put(w + 3 + 2 * j, piccoef_(c));
        if (c < 0) put(w + 2 + 2 * j, '-');
      }
      if (relation) {
        const int32_t t = bgeti0(W, L, L.MATRTYP, r);
        const int32_t c0 = w + 6 + 2 * k;
        if (r == 1) {
          const char* sense = t == -1 ? "MAX" : "MIN";
          for (int32_t i = 0; i < 3; ++i) put(c0 + i, sense[i]);
        } else {
          put(c0, t == 0 ? '=' : t == 1 ? '<' : t == -1 ? '>' : ' ');
          const double rhs = bgetd0(W, L, L.MATRHS, r);
          if (rhs < 0) put(c0 + 1, '-');
          put(c0 + 2, rhs == 0.0 ? '0' : piccoef_(rhs));
        }
      }
      lprint_(L, L.OUTUNIT, line);
    }
    done += k;
  }
  blankl_(L, L.OUTUNIT, 1);
  b.release(L);
}
