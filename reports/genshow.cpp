// The display of the generated model (GEN): every row in the modelling language's own
// notation, linear rows read back from the solver library, nonlinear rows rebuilt from
// their scalar code, then the variable declarations and END.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "generate/blk.h"
#include "generate/scalar.h"
#include "language/lang.h"
#include "language/vocab.h"
#include "reports/genshow.h"
#include "reports/reports.h"
#include "solver/bindings.h"
#include "store/io.h"
#include "store/store.h"

namespace {

constexpr int32_t MAXOBJS = 256;  // string objects of the rebuilding stack
constexpr double LIBINF = 1e30;   // the library's infinite bound
const char* const OPTEXT[14] = {"+ ", "- ", "* ", "/ ", "^ ", "#EQ# ", "#NE# ",
                                "#LE# ", "#GE# ", "#LT# ", "#GT# ", "#AND# ", "#OR# ", "#NOT# "};
constexpr int32_t TOK_POW = 73, TOK_SQR = 74;  // "@POW(" and "@SQR(" in the vocabulary

std::string num16(double x) {
  char b[40];
  std::snprintf(b, sizeof b, "%.16g", x);
  return b;
}

// Text of vocabulary token p ("" when there is none).
std::string vocabtext(int32_t p) {
  const Vocab& v = qrn_vocab();
  if (p < 1 || p > v.ntok) return "";
  return std::string(v.text + v.start[p - 1] - 1, (size_t)(v.start[p] - v.start[p - 1]));
}

// The stack of text objects; every operation fails (false) instead of passing its bound.
struct TextStack {
  std::vector<std::string> obj;
  bool push(const std::string& t) {
    if (!obj.empty() && obj.back().size() >= 2 && obj.back().compare(obj.back().size() - 2, 2, "( ") == 0) {
      obj.back() += t;
      return true;
    }
    if ((int32_t)obj.size() >= MAXOBJS) return false;
    obj.push_back(t);
    return true;
  }
  // Joins the top object onto the one below; a lower "1 * " or "0 + " is dropped.
  bool jointop() {
    if (obj.size() < 2) return false;
    std::string top = std::move(obj.back());
    obj.pop_back();
    if (obj.back() == "1 * " || obj.back() == "0 + ") obj.back() = std::move(top);
    else obj.back() += top;
    return true;
  }
  // Appends a text to the lower object and joins the top onto it.
  bool binary(const std::string& t) {
    if (obj.size() < 2) return false;
    obj[obj.size() - 2] += t;
    return jointop();
  }
};

}  // namespace

void legalname_(const char* name, char* out, int32_t& length) {
  int32_t n = 0;
  const int32_t in = length;
  for (int32_t i = 0; i < in; ++i) {
    const char c = name[i];
    if (c == ' ' || c == ')') continue;
    if (n == 0 && c >= '0' && c <= '9') out[n++] = '_';
    out[n++] = ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) ? c : '_';
  }
  length = n;
}

// Legal name of loaded column j (0-based).
std::string columnname_(Work& W, MasterRecord& L, int32_t j) {
  const int32_t item = j + 1 + L.NFIXED;
  const int32_t v = (item <= L.NVARS && L.VARORD > 0 && item <= bcap(L, L.VARORD, 4))
                        ? bgeti(W, L, L.VARORD, item) : item;
  char buf[256], out[512];
  int32_t len = 200;
  vdx2nh_(W, L, v, buf, len);
  legalname_(buf, out, len);
  return std::string(out, (size_t)len);
}

// Legal name of loaded row i (1 = the objective).
std::string rowname_(Work& W, MasterRecord& L, int32_t i) {
  const int32_t item = i + L.NFIXED - (L.OBJROW > 0 ? 0 : 1);
  int32_t r = 0;
  if (L.OBJROW > 0 || i > 1)
    r = (item <= L.NROWS && L.ROWORD > 0 && item <= bcap(L, L.ROWORD, 4)) ? bgeti(W, L, L.ROWORD, item) : item;
  char buf[256], out[512];
  int32_t len = 200;
  rdx2nh_(W, L, r, buf, len);
  legalname_(buf, out, len);
  return std::string(out, (size_t)len);
}

void movetobuffer_(MasterRecord& L, std::string& buf, int32_t indent, const std::string& text) {
  if ((int32_t)(buf.size() + text.size() + 1) > L.LINLEN && (int32_t)buf.size() > indent) {
    lprint_(L, L.OUTUNIT, buf);
    buf.assign((size_t)indent, ' ');
  }
  buf += text;
  buf += ' ';
}

void displayrow_(MasterRecord& L, const std::string& name, const std::string& text) {
  std::string line = "   ";
  if (!name.empty()) line += "[" + name.substr(0, (size_t)std::max(L.LINLEN - 6, 0)) + "] ";
  const int32_t limit = L.LINLEN - 12;
  size_t p = 0;
  while (p < text.size()) {
    // a token: up to and including the first blank after a non-blank
    size_t q = p;
    while (q < text.size() && text[q] == ' ') ++q;
    while (q < text.size() && text[q] != ' ') ++q;
    if (q < text.size()) ++q;
    const std::string tok = text.substr(p, q - p);
    if ((int32_t)(line.size() + tok.size()) > limit && line.find_first_not_of(' ') != std::string::npos &&
        line.size() > 6) {
      lprint_(L, L.OUTUNIT, line);
      line.assign(6, ' ');
    }
    line += tok;
    p = q;
  }
  lprint_(L, L.OUTUNIT, line);
}

int32_t codetotext_(Work& W, MasterRecord& L, const int32_t* words, int32_t n, const double* pool,
                    int32_t npool, int32_t sense, char type, std::string& text) {
  TextStack s;
  bool ok = true;
  if (sense != 0) ok = s.push(sense == 1 ? "MIN= " : "MAX= ");
  const char* rel = type == 'L' ? "<= " : type == 'G' ? ">= " : "= ";
  bool finished = false;
  auto marker = [&](int32_t at) {  // "1070 1 1070 p" at words[at]?
    return at + 3 < n && words[at] == 1070 && words[at + 1] == 1 && words[at + 2] == 1070;
  };
  for (int32_t i = 0; i < n && ok && !finished; ++i) {
    const int32_t c = words[i];
    if (c <= 0) continue;
    switch (c) {
      case 1063: {
        if (i + 1 >= n) { ok = false; break; }
        ok = s.push(columnname_(W, L, words[++i]) + " ");
        break;
      }
      case 1062:
      case 1074: {
        if (i + 1 >= n) { ok = false; break; }
        const int32_t k = words[++i];
        if (k < 0 || k >= npool) { ok = false; break; }
        ok = s.push(num16(pool[k]) + " ");
        break;
      }
      case 1001: case 1003: case 1004: case 1006: case 1007: case 1008: case 1009:
      case 1010: case 1011: case 1012: case 1013:
        ok = s.binary(OPTEXT[c - 1001]);
        break;
      case 1014:  // NOT takes one operand
        if (s.obj.empty()) { ok = false; break; }
        s.obj.back() = OPTEXT[13] + s.obj.back();
        break;
      case 1002:
        if (type != 0 && i == n - 1) {
          ok = s.binary(rel);
          finished = true;
        } else {
          ok = s.binary(OPTEXT[1]);
        }
        break;
      case 1005:
        if (marker(i + 1) && words[i + 4] == TOK_POW) {
          i += 4;
          if (s.obj.size() < 2) { ok = false; break; }
          std::string& lower = s.obj[s.obj.size() - 2];
          lower = "@POW( " + lower + ", ";
          s.obj.back() += ") ";
          ok = s.jointop();
        } else {
          ok = s.binary(OPTEXT[4]);
        }
        break;
      case 1017:
        if (s.obj.empty()) { ok = false; break; }
        s.obj.back() = "- " + s.obj.back();
        break;
      case 1031: case 1040: case 1041: case 1042: case 1043: case 1044: case 1045:
      case 1046: case 1047: case 1048:
        ok = s.binary(", ");
        break;
      case 1034: case 1049: case 1050: case 1051:
        ok = s.binary(", ") && s.binary(", ");
        break;
      case 1052:
        ok = s.binary(", ") && s.binary(", ") && s.binary(", ");
        break;
      case 1054: case 1057: case 1058: {
        if (i + 1 >= n) { ok = false; break; }
        const int32_t cnt = words[++i];
        for (int32_t k = 1; k < cnt && ok; ++k) ok = s.binary(", ");
        break;
      }
      case 1077:  // the square: shown as @SQR( ) even without a name marker after it
        if (!marker(i + 1)) {
          if (s.obj.empty()) { ok = false; break; }
          s.obj.back() = vocabtext(TOK_SQR) + " " + s.obj.back() + ") ";
        }
        break;
      case 1018: case 1019: case 1021: case 1023: case 1024: case 1025: case 1030:
      case 1035: case 1036: case 1037: case 1038: case 1039: case 1053: case 1055:
        break;
      case 1070: {
        if (i + 1 >= n) { ok = false; break; }
        const int32_t sub = words[i + 1];
        if (sub == 2) {
          if (s.obj.empty()) { ok = false; break; }
          s.obj.back() += ", ";
          i += 1;
        } else if (sub == 1 && i + 3 < n && words[i + 2] == 1070) {
          if (s.obj.empty()) { ok = false; break; }
          s.obj.back() = vocabtext(words[i + 3]) + " " + s.obj.back() + ") ";
          i += 3;
        } else {
          i += 3;  // the operand and the two words after it
        }
        break;
      }
      default:
        ok = false;  // a code this display does not know: the row is shown as undisplayable
        break;
    }
  }
  while (ok && s.obj.size() > 1) ok = s.jointop();
  if (!ok || s.obj.empty()) {
    text.clear();
    return 3;
  }
  text = s.obj[0] + ";";
  return 0;
}

bool scalarrow_(Work& W, MasterRecord& L, int32_t listrow, std::vector<int32_t>& words,
                std::vector<double>& pool, char& type);

void inslistitotext_(Work& W, MasterRecord& L, int32_t i, int32_t sense, int32_t& status) {
  std::vector<int32_t> words;
  std::vector<double> pool;
  char type = 0;
  std::string text;
  status = 0;
  if (!scalarrow_(W, L, i == 1 ? 0 : i - 1, words, pool, type) ||
      codetotext_(W, L, words.data(), (int32_t)words.size(), pool.data(), (int32_t)pool.size(),
                  i == 1 ? sense : 0, i == 1 ? 0 : type, text) != 0) {
    text = "! This row cannot be displayed. ;";
  }
  displayrow_(L, rowname_(W, L, i), text);
}

void displaylinearrow_(Work& W, MasterRecord& L, int32_t i, int32_t& status) {
  BRmodel* m = modelptr_(L.MODELHANDLE);
  std::vector<int32_t> cols;
  std::vector<double> vals;
  int sense = 1, rc = 0;
  double constant = 0.0;
  char type = 'E';
  if (i == 1) {
    std::vector<double> cost((size_t)std::max(L.SLVCOLS, 1));
    rc = BRgetLPData(m, &sense, &constant, cost.data(), nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    if (rc == 0)
      for (int32_t j = 0; j < L.SLVCOLS; ++j)
        if (cost[(size_t)j] != 0.0) {
          cols.push_back(j);
          vals.push_back(cost[(size_t)j]);
        }
  } else {
    int cnt = 0;
    rc = BRgetLPConstraintDatai(m, i - 2, nullptr, nullptr, &cnt, nullptr, nullptr);
    if (rc == 0) {
      cols.resize((size_t)std::max(cnt, 1));
      vals.resize((size_t)std::max(cnt, 1));
      rc = BRgetLPConstraintDatai(m, i - 2, &type, &constant, &cnt, cols.data(), vals.data());
      cols.resize((size_t)cnt);
      vals.resize((size_t)cnt);
    }
  }
  if (rc != 0) {
    L.ERRARG = rc;
    std::snprintf(L.ERRSTR, sizeof L.ERRSTR, "%s", i == 1 ? "BRgetLPData" : "BRgetLPConstraintDataI");
    status = 2;
    return;
  }
  std::string buf = "   ";
  const std::string nm = rowname_(W, L, i);
  if (!nm.empty()) buf += "[" + nm.substr(0, (size_t)std::max(L.LINLEN - 9, 0)) + "] ";
  if (i == 1) movetobuffer_(L, buf, 3, sense == -1 ? "MAX=" : "MIN=");
  for (size_t k = 0; k < cols.size(); ++k) {
    const double c = vals[k];
    if (c < 0) movetobuffer_(L, buf, 3, "-");
    else if (k > 0) movetobuffer_(L, buf, 3, "+");
    if (std::fabs(c) != 1.0) {
      movetobuffer_(L, buf, 3, num16(std::fabs(c)));
      movetobuffer_(L, buf, 3, "*");
    }
    movetobuffer_(L, buf, 3, columnname_(W, L, cols[k]));
  }
  if (cols.empty()) movetobuffer_(L, buf, 3, "0");
  if (i == 1) {
    if (constant != 0.0) {
      movetobuffer_(L, buf, 3, constant < 0 ? "-" : "+");
      movetobuffer_(L, buf, 3, num16(std::fabs(constant)));
    }
  } else {
    movetobuffer_(L, buf, 3, type == 'L' ? "<=" : type == 'G' ? ">=" : "=");
    if (constant < 0) movetobuffer_(L, buf, 3, "-");
    movetobuffer_(L, buf, 3, num16(std::fabs(constant)));
  }
  movetobuffer_(L, buf, 3, ";");
  lprint_(L, L.OUTUNIT, buf);
  status = 0;
}

void displaygeneratedrow_(Work& W, MasterRecord& L, int32_t i, int32_t& status) {
  status = 0;
  bool nonlinear = false;
  if (i == 1) {  // the objective is nonlinear when the matrix copy holds an entry of row -1
    for (int32_t k = 1; k <= L.MATNZ && L.MATROW > 0 && !nonlinear; ++k) nonlinear = bgeti(W, L, L.MATROW, k) == -1;
  } else if (L.MATRFLG > 0 && i - 1 <= bcap(L, L.MATRFLG, 4)) {
    nonlinear = bgeti(W, L, L.MATRFLG, i - 1) > 0;
  }
  if (nonlinear) {
    inslistitotext_(W, L, i, L.SLSENSE == -1 ? -1 : 1, status);
  } else {
    displaylinearrow_(W, L, i, status);
  }
}

void displaygeneratedmodel_(Work& W, MasterRecord& L) {
  blankl_(L, L.OUTUNIT, 1);
  lprint_(L, L.OUTUNIT, "MODEL:");
  if (L.TITLEN > 0) printt_(W, L, L.OUTUNIT, 3);
  const int32_t last = L.SLVROWS - L.SLDUMMY;
  for (int32_t i = L.OBJROW > 0 ? 1 : 2; i <= last; ++i) {
    int32_t st = 0;
    displaygeneratedrow_(W, L, i, st);
  }
  // declarations
  BRmodel* m = modelptr_(L.MODELHANDLE);
  const size_t nv = (size_t)std::max(L.SLVCOLS, 1);
  std::vector<double> lb(nv), ub(nv);
  std::vector<char> types(nv + 1, 'C');
  int rc = BRgetLPData(m, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, lb.data(), ub.data());
  const char* routine = "BRgetLPData";
  if (rc == 0) {
    rc = BRgetVarType(m, types.data());
    routine = "BRgetVarType";
  }
  if (rc != 0) {
    L.ERRARG = rc;
    std::snprintf(L.ERRSTR, sizeof L.ERRSTR, "%s", routine);
    errmsh_(W, L, 191);
  } else {
    std::string decl;
    for (int32_t j = 0; j < L.SLVCOLS - L.SLDUMMY; ++j) {
      const std::string nm = columnname_(W, L, j);
      const double lo = lb[(size_t)j], up = ub[(size_t)j];
      const char t = types[(size_t)j];
      if (t == 'B') {
        decl += "@BIN( " + nm + "); ";
        continue;
      }
      if (t == 'I') decl += "@GIN( " + nm + "); ";
      if (lo == 0.0 && up >= LIBINF) continue;
      if (lo <= -LIBINF && up >= LIBINF) decl += "@FREE( " + nm + "); ";
      else decl += "@BND( " + num16(lo) + ", " + nm + ", " + num16(up) + ") ; ";
    }
    if (!decl.empty()) displayrow_(L, "", decl);
  }
  lprint_(L, L.OUTUNIT, "END");
  blankl_(L, L.OUTUNIT, 1);
}

// The scalar code of the objective (listrow 0) or of list constraint listrow (1-based),
// copied out of the scalar model lists with its constants renumbered into pool.
bool scalarrow_(Work& W, MasterRecord& L, int32_t listrow, std::vector<int32_t>& words,
                std::vector<double>& pool, char& type) {
  if (L.SLINS <= 0 || L.SLINSN <= 0) return false;
  int32_t start = 0, len = 0;
  type = 0;
  if (listrow == 0) {
    start = L.SLOBJST;
    len = L.SLOBJLN;
  } else {
    if (listrow > L.SLNCON || L.SLRST <= 0 || L.SLRLN <= 0) return false;
    start = sligeti_(W, L, L.SLRST, listrow);
    len = sligeti_(W, L, L.SLRLN, listrow);
    type = L.SLRTY > 0 ? slgetc_(W, L, L.SLRTY, listrow) : 'E';
  }
  if (start < 0 || len < 0 || (int64_t)start + len > L.SLINSN) return false;
  words.clear();
  pool.clear();
  for (int32_t k = start + 1; k <= start + len; ++k) {
    const int32_t w = sligeti_(W, L, L.SLINS, k);
    words.push_back(w);
    if ((w == 1062 || w == 1074) && k < start + len) {
      const int32_t c = sligeti_(W, L, L.SLINS, ++k) - L.SLCOFF;
      if (c < 0 || c >= L.SLCONN) return false;
      words.push_back((int32_t)pool.size());
      pool.push_back(slgetd_(W, L, L.SLCON, (int64_t)c + 1));
    } else if (w == 1063 && k < start + len) {
      words.push_back(sligeti_(W, L, L.SLINS, ++k));
    }
  }
  return true;
}
