// Writing models: MPS (free, or fixed columns when the names allow), and the
// instruction-list text files (MPI and the native debug dump).
#include "bresk/names.h"
#include "bresk/ops.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

namespace bresk {

namespace {

// Shortest of %.15g / %.17g that reads back exactly.
std::string num(double v) {
  // whole numbers print as their digits under either format
  if (v == std::trunc(v) && std::fabs(v) < 1e15) {
    char d[24];
    int k = 0;
    long long n = static_cast<long long>(std::fabs(v));
    do {
      d[k++] = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n > 0);
    std::string s = std::signbit(v) && v != 0.0 ? "-" : "";
    if (v == 0.0 && std::signbit(v)) s = "-";
    while (k > 0) s += d[--k];
    return s;
  }
  char b[40];
  std::snprintf(b, sizeof b, "%.15g", v);
  if (std::strtod(b, nullptr) != v) std::snprintf(b, sizeof b, "%.17g", v);
  return b;
}

// A number in at most 12 characters for fixed columns.
std::string num12(double v) {
  std::string s = num(v);
  for (int p = 12; s.size() > 12 && p > 1; --p) {
    char b[40];
    std::snprintf(b, sizeof b, "%.*g", p, v);
    s = b;
  }
  return s;
}

// A name usable in free format: blanks become underscores.
std::string free_name(std::string s) {
  for (char& c : s)
    if (c == ' ' || c == '\t') c = '_';
  if (s.empty()) s = "_";
  return s;
}

// Free-layout names for one list (the rows, or the columns): blanks become underscores, and a
// name that then meets another of the list takes a suffix, so that the names stay distinct
// when the file is read back. Names without blanks keep their own.
void free_names(std::vector<std::string>& names) {
  std::unordered_set<std::string> taken;
  for (const std::string& s : names)
    if (free_name(s) == s) taken.insert(s);
  for (std::string& s : names) {
    std::string f = free_name(s);
    if (f == s) continue;
    const std::string base = f;
    for (int k = 1; taken.count(f) != 0; ++k) f = base + "_" + std::to_string(k);
    taken.insert(f);
    s = std::move(f);
  }
}

// Output with the layout of fixed or free MPS.
struct MpsOut {
  std::FILE* fp;
  bool fixed;
  // One data line: type, then up to five fields in the standard positions.
  void line(const char* type, const std::string& f2, const std::string& f3 = "",
            const std::string& f4 = "", const std::string& f5 = "", const std::string& f6 = "") {
    if (fixed) {
      char b[128];
      std::snprintf(b, sizeof b, " %-2s %-8s  %-8s  %12s   %-8s  %12s", type, f2.c_str(), f3.c_str(),
                    f4.c_str(), f5.c_str(), f6.c_str());
      std::string s(b);
      while (!s.empty() && s.back() == ' ') s.pop_back();
      std::fprintf(fp, "%s\n", s.c_str());
    } else {
      // two blanks in front: readers that guess the layout take a line with one blank in
      // front for a fixed one
      std::fputs("  ", fp);
      bool first = true;
      if (*type) {
        std::fputs(type, fp);
        first = false;
      }
      for (const std::string* f : {&f2, &f3, &f4, &f5, &f6})
        if (!f->empty()) {
          if (!first) std::fputc(' ', fp);
          std::fwrite(f->data(), 1, f->size(), fp);
          first = false;
        }
      std::fputc('\n', fp);
    }
  }
  std::string n(double v) const { return fixed ? num12(v) : num(v); }
};

bool model_nonlinear(const BRmodel* m) {
  if (m->obj.kind == ROW_NONLINEAR) return true;
  for (const Row& r : m->rows)
    if (r.kind == ROW_NONLINEAR) return true;
  return false;
}

// Closes a written file; 2021 when anything failed.
int finish(std::FILE* fp) {
  bool bad = std::ferror(fp) != 0;
  if (std::fclose(fp) != 0) bad = true;
  return bad ? BRERR_FILE_WRITE : 0;
}

int write_mps(BRmodel* m, const char* file, int format) {
  if (model_nonlinear(m)) return BRERR_NOT_AVAILABLE;
  const int n = m->nvars, nr = m->ncons;
  std::vector<std::string> vn(n), rn(nr);
  bool fits = true;
  for (int j = 0; j < n; ++j) {
    vn[j] = var_name(m, j);
    fits = fits && vn[j].size() <= 8 && vn[j].find(' ') == std::string::npos;
  }
  for (int i = 0; i < nr; ++i) {
    rn[i] = row_name(m, i);
    fits = fits && rn[i].size() <= 8 && rn[i].find(' ') == std::string::npos;
  }
  std::string on = row_name(m, -1);
  fits = fits && on.size() <= 8 && on.find(' ') == std::string::npos;
  // The objective's constant is the cost of a column fixed at 1: readers disagree on the
  // sign of a right-hand side on the objective row. The column takes a name no column has.
  const double constant = m->obj.constant;
  std::string cn;
  if (constant != 0.0) {
    std::unordered_set<std::string> cols(vn.begin(), vn.end());
    if (format != 1 || !fits) {
      std::vector<std::string> fv = vn;
      free_names(fv);
      cols.insert(fv.begin(), fv.end());
    }
    cn = "OBJCONST";
    for (int k = 1; cols.count(cn) != 0; ++k) cn = "OBJCONST_" + std::to_string(k);
    fits = fits && cn.size() <= 8;
  }
  const bool fixed = format == 1 && fits;
  if (!fixed) {
    free_names(vn);
    free_names(rn);
    on = free_name(on);
  }
  {
    // the objective never takes a constraint's name: a reader would take that row for it
    const std::unordered_set<std::string> taken(rn.begin(), rn.end());
    const std::string base = on.substr(0, 5);
    for (int k = 1; taken.count(on) != 0; ++k) on = base + "_" + std::to_string(k);
  }
  std::FILE* fp = std::fopen(file, "w");
  if (!fp) return BRERR_FILE_WRITE;
  MpsOut o{fp, fixed};
  std::string title = m->title;
  // the free layout says so on its NAME line: readers that guess the layout from the columns
  // take short BOUNDS lines for fixed ones otherwise
  if (!fixed) title += title.empty() ? "FREE" : " FREE";
  // comment lines for readers that ignore the OBJSENSE section or the constant's column
  if (m->sense < 0) std::fprintf(fp, "* The objective is maximised (OBJSENSE MAX).\n");
  if (!cn.empty())
    std::fprintf(fp, "* Column %s, fixed at 1, carries the objective's constant as its cost.\n", cn.c_str());
  std::fprintf(fp, "NAME          %s\n", title.c_str());
  if (m->sense < 0) std::fprintf(fp, fixed ? "OBJSENSE\n    MAX\n" : "OBJSENSE\n  MAX\n");
  std::fprintf(fp, "ROWS\n");
  o.line("N", on);
  for (int i = 0; i < nr; ++i) o.line(std::string(1, m->rows[i].type).c_str(), rn[i]);
  std::fprintf(fp, "COLUMNS\n");
  // Column-wise entries: objective first, then the rows.
  LpArrays a;
  lp_arrays(m, a);
  bool in_int = false;
  int marker = 0;
  std::vector<std::pair<const std::string*, double>> e;  // one column's entries
  for (int j = 0; j < n; ++j) {
    const bool integer = m->vtype[j] == 'I';
    if (integer != in_int) {
      char mk[32];
      std::snprintf(mk, sizeof mk, "MARKER%02d", marker++ % 100);
      if (fixed)
        std::fprintf(fp, "    %-8s  'MARKER'                 '%s'\n", mk, integer ? "INTORG" : "INTEND");
      else
        std::fprintf(fp, "  %s 'MARKER' '%s'\n", mk, integer ? "INTORG" : "INTEND");
      in_int = integer;
    }
    e.clear();
    if (a.cost[j] != 0.0) e.push_back({&on, a.cost[j]});
    for (int p = a.colstart[j]; p < a.colstart[j + 1]; ++p) e.push_back({&rn[a.rowidx[p]], a.value[p]});
    if (e.empty()) e.push_back({&on, 0.0});
    for (size_t k = 0; k < e.size(); k += 2) {
      if (k + 1 < e.size())
        o.line("", vn[j], *e[k].first, o.n(e[k].second), *e[k + 1].first, o.n(e[k + 1].second));
      else
        o.line("", vn[j], *e[k].first, o.n(e[k].second));
    }
  }
  if (in_int) {
    if (fixed) std::fprintf(fp, "    %-8s  'MARKER'                 'INTEND'\n", "MARKEND");
    else std::fprintf(fp, "  MARKEND 'MARKER' 'INTEND'\n");
  }
  if (!cn.empty()) o.line("", cn, on, o.n(constant));
  std::fprintf(fp, "RHS\n");
  const std::string rhs = "RHS";
  for (int i = 0; i < nr; ++i) {
    double b = -m->rows[i].constant;
    if (b != 0.0) o.line("", rhs, rn[i], o.n(b));
  }
  std::fprintf(fp, "BOUNDS\n");
  for (int j = 0; j < n; ++j) {
    double lo = m->lb[j], up = m->ub[j];
    const char t = m->vtype[j];
    if (t == 'B' && lo == 0.0 && up == 1.0) {
      o.line("BV", "BND", vn[j]);
      continue;
    }
    if (lo <= -kInf && up >= kInf) {
      o.line("FR", "BND", vn[j]);
      continue;
    }
    if (lo == up) {
      o.line("FX", "BND", vn[j], o.n(lo));
      continue;
    }
    if (t == 'I') {
      // an integer column inside the markers with no upper bound is a binary one to many
      // readers: its upper bound is always written, and PL when it has none
      if (up < kInf) o.line("UP", "BND", vn[j], o.n(up));
      else o.line("PL", "BND", vn[j]);
      if (lo <= -kInf) o.line("MI", "BND", vn[j]);
      else if (lo != 0.0 || up < 0.0) o.line("LO", "BND", vn[j], o.n(lo));
      continue;
    }
    const bool in = t != 'C';
    if (up < kInf) o.line(in ? "UI" : "UP", "BND", vn[j], o.n(up));
    if (lo <= -kInf) {
      if (up >= 0.0) o.line("MI", "BND", vn[j]);
    } else if (lo != 0.0 || up < 0.0) {
      o.line(in ? "LI" : "LO", "BND", vn[j], o.n(lo));
    }
  }
  if (!cn.empty()) o.line("FX", "BND", cn, o.n(1.0));
  // Quadratic parts.
  const Row& ob = m->obj;
  if (ob.kind == ROW_QUADRATIC && ob.quad_end > ob.quad_begin) {
    std::fprintf(fp, "QUADOBJ\n");
    for (int k = ob.quad_begin; k < ob.quad_end; ++k)
      o.line("", vn[m->quad_j[k]], vn[m->quad_i[k]], o.n(m->quad_q[k]));
  }
  for (int i = 0; i < nr; ++i) {
    const Row& r = m->rows[i];
    if (r.kind != ROW_QUADRATIC || r.quad_end == r.quad_begin) continue;
    std::fprintf(fp, "QCMATRIX   %s\n", rn[i].c_str());
    for (int k = r.quad_begin; k < r.quad_end; ++k) {
      int a1 = m->quad_i[k], b1 = m->quad_j[k];
      double h = m->quad_q[k] / 2;
      o.line("", vn[a1], vn[b1], o.n(h));
      if (a1 != b1) o.line("", vn[b1], vn[a1], o.n(h));
    }
  }
  std::fprintf(fp, "ENDATA\n");
  return finish(fp);
}

// Mnemonic lines of one row: its words, or words made from its data.
void write_row_code(std::FILE* fp, const BRmodel* m, const Row& r,
                    const std::vector<std::string>& vn) {
  if (r.word_end > r.word_begin) {
    std::vector<int32_t> words;
    unpack_words(m, r, words);
    const int32_t* w = words.data();
    const int end = static_cast<int>(words.size());
    for (int p = 0; p < end;) {
      int c = w[p];
      if (c == OP_NOOP) {
        ++p;
        continue;
      }
      if (c == OP_MARKER) {
        p += (p + 1 < end && w[p + 1] == 2) ? 2 : 4;
        continue;
      }
      const OpInfo* o = op_info(c);
      if (!o) {
        ++p;
        continue;
      }
      if (o->arity == kArityPush) {
        int k = p + 1 < end ? w[p + 1] : 0;
        if (c == OP_PUSHVAR || c == OP_PUSHVAR2)
          std::fprintf(fp, "  PUSHVAR %s\n", k >= 0 && k < m->nvars ? vn[k].c_str() : "?");
        else
          std::fprintf(fp, "  PUSHNUM %s\n",
                       num(k >= 0 && k < static_cast<int>(m->pool.size()) ? m->pool[k] : 0.0).c_str());
        p += 2;
      } else if (o->arity == kArityCounted) {
        std::fprintf(fp, "  %s %d\n", o->name, p + 1 < end ? w[p + 1] : 0);
        p += 2;
      } else {
        std::fprintf(fp, "  %s\n", o->name);
        ++p;
      }
    }
    return;
  }
  std::fprintf(fp, "  PUSHNUM %s\n", num(r.constant).c_str());
  for (int k = r.lin_begin; k < r.lin_end; ++k)
    std::fprintf(fp, "  PUSHNUM %s\n  PUSHVAR %s\n  MULTIPLY\n  PLUS\n", num(lin_coef(m, r, k)).c_str(),
                 vn[m->lin_col[k]].c_str());
  for (int k = r.quad_begin; k < r.quad_end; ++k) {
    int i = m->quad_i[k], j = m->quad_j[k];
    double q = i == j ? m->quad_q[k] / 2 : m->quad_q[k];
    std::fprintf(fp, "  PUSHNUM %s\n  PUSHVAR %s\n  MULTIPLY\n  PUSHVAR %s\n  MULTIPLY\n  PLUS\n",
                 num(q).c_str(), vn[i].c_str(), vn[j].c_str());
  }
}

int write_code_file(BRmodel* m, const char* file, const char* header) {
  if (!m->loaded) return BRERR_NOT_LOADED;
  std::FILE* fp = std::fopen(file, "w");
  if (!fp) return BRERR_FILE_WRITE;
  std::vector<std::string> vn(m->nvars);
  for (int j = 0; j < m->nvars; ++j) vn[j] = free_name(var_name(m, j));
  std::fprintf(fp, "%s 1\nTITLE %s\nVARIABLES %d\n", header, m->title.c_str(), m->nvars);
  for (int j = 0; j < m->nvars; ++j)
    std::fprintf(fp, "%s %c %s %s %s\n", vn[j].c_str(), m->vtype[j], num(m->lb[j]).c_str(),
                 num(m->ub[j]).c_str(), num(m->start[j]).c_str());
  std::fprintf(fp, "CONSTANTS %zu\n", m->pool.size());
  for (double v : m->pool) std::fprintf(fp, "%s\n", num(v).c_str());
  std::fprintf(fp, "OBJECTIVE %s %s\n", m->sense < 0 ? "MAX" : "MIN", free_name(row_name(m, -1)).c_str());
  write_row_code(fp, m, m->obj, vn);
  for (int i = 0; i < m->ncons; ++i) {
    std::fprintf(fp, "CONSTRAINT %s %c\n", free_name(row_name(m, i)).c_str(), m->rows[i].type);
    write_row_code(fp, m, m->rows[i], vn);
  }
  std::fprintf(fp, "END\n");
  return finish(fp);
}

} // namespace

} // namespace bresk

using namespace bresk;

extern "C" {

int BRwriteMPSFile(BRmodel* model, const char* file, int format) {
  return api_call(model, false, [&]() -> int {
    if (!file) return BRERR_BAD_ARGUMENT;
    if (!model->loaded) return BRERR_NOT_LOADED;
    return write_mps(model, file, format);
  });
}

int BRwriteMPIFile(BRmodel* model, const char* file) {
  return api_call(model, false, [&]() -> int {
    if (!file) return BRERR_BAD_ARGUMENT;
    return write_code_file(model, file, "BRESK-MPI");
  });
}

int BRwriteBRESKFile(BRmodel* model, const char* file) {
  return api_call(model, false, [&]() -> int {
    if (!file) return BRERR_BAD_ARGUMENT;
    return write_code_file(model, file, "BRESK-NATIVE");
  });
}

} // extern "C"
