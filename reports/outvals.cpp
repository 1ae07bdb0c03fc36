// Values of named model objects for the output operations: the row-name information (slack,
// dual and range values of every row generated under a name), the element values of an
// object by output modifier, and the pointer output that hands them to an embedding program.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "generate/blk.h"
#include "generate/eval.h"
#include "generate/rows.h"
#include "language/lang.h"
#include "reports/exchange.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/store.h"

namespace {

constexpr double RNGINF = 1e30;  // the solver library's infinity
constexpr int32_t MAXROWDIM = 32;

// Grows (or creates) a real block to cap entries; false when it cannot be had.
bool growreal(Work& W, MasterRecord& L, int32_t& h, int32_t cap) {
  int32_t c = std::max(cap, 1), st = 0;
  setblk_(6, c, W, L, h, st);
  return st == 0;
}

// Name of an object as the name lookup takes it: blank-padded to 32 characters.
std::string padded(const std::string& name) {
  std::string s = name.substr(0, std::min<size_t>(name.size(), 32));
  s.resize(32, ' ');
  return s;
}

}  // namespace

// Message 102 for a name that is no model object: the message shows the first word of the
// command line, so the name stands there while it prints.
void unknownname_(Work& W, MasterRecord& L, const std::string& name) {
  char keep[sizeof L.LINBUF];
  std::memcpy(keep, L.LINBUF, sizeof keep);
  std::memset(L.LINBUF, ' ', sizeof L.LINBUF - 1);
  L.LINBUF[sizeof L.LINBUF - 1] = 0;
  size_t len = name.find_last_not_of(' ');
  len = len == std::string::npos ? 0 : std::min(len + 1, sizeof L.LINBUF - 2);
  std::memcpy(L.LINBUF, name.data(), len);
  errmsh_(W, L, 102);
  std::memcpy(L.LINBUF, keep, sizeof keep);
}

// Slack, dual and the two range values of every generated row of row name rn, in row order.
void getrownameinfo_(Work& W, MasterRecord& L, int32_t rn, int32_t& slk, int32_t& dul, int32_t& inc,
                     int32_t& dec, int32_t& count, int32_t& cap, int32_t& status) {
  count = 0;
  status = 0;
  if (rn < 1 || rn > L.NROWNM) {
    status = 1;
    return;
  }
  bool removed = false;
  int32_t d = -1;
  auto release = [&]() {
    for (int32_t* h : {&slk, &dul, &inc, &dec})
      if (*h > 0) rlsblk_(L, *h);
    cap = 0;
  };
  for (int32_t r = 1; r <= L.NROWS && L.ROWRNM > 0; ++r) {
    if (bgeti(W, L, L.ROWRNM, r) != rn) continue;
    if (d < 0) {
      d = rowregcount(W, L, r);
      if (d > MAXROWDIM) {
        status = 3;
        break;
      }
    }
    if (count + 1 > cap || slk <= 0 || dul <= 0 || inc <= 0 || dec <= 0) {
      int64_t nc = 2 * (int64_t)std::max(cap, count) + 64;
      if (nc > 100000000) nc = 100000000;
      if (count + 1 > nc) {
        status = 2;
        break;
      }
      bool ok = true;
      for (int32_t* h : {&slk, &dul, &inc, &dec}) ok = ok && growreal(W, L, *h, (int32_t)nc);
      if (!ok) {
        status = 2;
        break;
      }
      cap = (int32_t)nc;
    }
    double slack = 0.0, dual = 0.0, up = 0.0, down = 0.0;
    getrval_(W, L, r, slack, dual, 1);
    const int32_t pos = L.ROWMAP > 0 ? bgeti(W, L, L.ROWMAP, r) : 0;
    if (pos <= L.NFIXED) {
      removed = true;  // solved by the structural analysis: no ranges
      if (L.DUALCO <= 0) dual = 0.0;
    } else if (L.DUALCO > 0) {
      if (r == L.OBJROW) {
        up = down = RNGINF;
      } else {
        double cur = 0.0;
        getrangerow_(W, L, r, 1, cur, up, down);
      }
    } else {
      dual = 0.0;
    }
    ++count;
    bputd(W, L, slk, count, slack);
    bputd(W, L, dul, count, dual);
    bputd(W, L, inc, count, up);
    bputd(W, L, dec, count, down);
  }
  if (status == 2) {
    release();
    count = 0;
    return;
  }
  if (count == 0) {
    release();
  } else if (count < cap) {
    bool ok = true;
    for (int32_t* h : {&slk, &dul, &inc, &dec}) ok = ok && growreal(W, L, *h, count);
    if (ok) cap = count;
  }
  if (status == 0 && removed) status = 4;
}

// Element values of object (kind, index) as the name lookup reports it, for the output
// modifier mod (0 value, 1 dual, 2 allowable increase, 3 allowable decrease), each chopped.
// Result -1 when done, else the number of the message that refuses the request: 102 not a
// model object, 140 no duals, 184 no ranges, 141 ranges of a removed row, 142 a row name that
// cannot be read, 0 no storage. removed is set when a row of a row name left the model.
int32_t outvalues_(Work& W, MasterRecord& L, int32_t kind, int32_t index, int32_t mod, std::vector<double>& out,
                   bool& removed) {
  out.clear();
  // a range asks for range analysis, whatever else is off
  if (mod >= 2 && L.DUALCO != 2) return 184;
  if (mod != 0 && L.DUALCO < 1) return 140;
  if (kind == 2) {
    int32_t h[4] = {0, 0, 0, 0}, count = 0, cap = 0, st = 0;
    getrownameinfo_(W, L, index, h[0], h[1], h[2], h[3], count, cap, st);
    if (st == 2) return 0;
    if (st == 1 || st == 3) {
      for (int32_t& b : h)
        if (b > 0) rlsblk_(L, b);
      return 142;
    }
    if (st == 4) removed = true;
    if (st == 4 && mod >= 2) {
      for (int32_t& b : h)
        if (b > 0) rlsblk_(L, b);
      return 141;
    }
    out.reserve((size_t)count);
    for (int32_t e = 1; e <= count; ++e) out.push_back(bgetd(W, L, h[mod], e));
    for (int32_t& b : h)
      if (b > 0) rlsblk_(L, b);
    return -1;
  }
  std::vector<int32_t> vars;
  if (kind == 5) {
    vars.push_back(index);
  } else if (kind == 4) {
    const int32_t s = bgeti(W, L, L.IDOWNR, index);
    if (s < 1 || s > L.NSETS) return 102;
    const int32_t lo = bgeti(W, L, L.LASTUB, s), na = setnattr(W, L, s);
    const int32_t first = bgeti(W, L, L.INANTR, s), m = bgeti(W, L, L.NNTRYS, s);
    vars.reserve((size_t)std::max(m, 0));
    for (int32_t j = 1; j <= m; ++j) vars.push_back(first + (index - lo) + (j - 1) * na);
  } else {
    return 102;
  }
  out.reserve(vars.size());
  for (int32_t v : vars) {
    double value = 0.0, rc = 0.0;
    getxval_(W, L, v, value, rc, 1);
    if (mod == 1) value = rc;
    if (mod >= 2) {
      const bool seen = L.VARKND <= 0 || bgeti(W, L, L.VARKND, v) < 4;
      double cur = 0.0, up = RNGINF, down = RNGINF;
      if (seen) getrangevar_(W, L, v, 1, cur, up, down);
      value = mod == 2 ? up : down;
    }
    chopoff_(L, value);
    out.push_back(value);
  }
  return -1;
}

// Puts the values of object k of n into the value block at places (e - 1) * n + k, growing
// it; count is the last place written. Status 0 after a complete object; messages 102, 140
// and 184 end only this object and leave the status as it stood; 4 after message 141
// (ranges on a removed row), 3 no storage (message 0), 6 a row name that cannot be read
// (message 142).
void ptrput2_(Work& W, MasterRecord& L, int32_t& block, int32_t& cap, const char* name, int32_t type, int32_t k,
              int32_t n, int32_t& count, int32_t& status) {
  std::string nm = padded(name ? std::string(name, strnlen(name, 32)) : std::string());
  int32_t kind = 0, index = 0;
  fndnmm_(W, L, nm.c_str(), kind, index);
  std::vector<double> vals;
  bool removed = false;
  int32_t msg = (kind == 2 || kind == 4 || kind == 5) ? outvalues_(W, L, kind, index, type & 3, vals, removed) : 102;
  if (msg >= 0) {
    if (msg == 102) unknownname_(W, L, nm);
    else errmsh_(W, L, msg);
    if (msg == 0) status = 3;
    else if (msg == 142) status = 6;
    else if (msg == 141) status = 4;
    return;
  }
  status = 0;  // a complete object (removed rows matter only to range values)
  const int64_t m = (int64_t)vals.size();
  if (m == 0) return;
  const int64_t top = (int64_t)k + (m - 1) * n;
  if (top >= cap || block <= 0) {
    const int64_t want = (int64_t)k + m * n + 256;
    int32_t old = block > 0 ? cap : 0;
    if (want > 100000000 || !growreal(W, L, block, (int32_t)want)) {
      errmsh_(W, L, 0);
      status = 3;
      return;
    }
    for (int64_t p = old + 1; p <= want; ++p) bputd(W, L, block, p, 0.0);  // places no object fills
    cap = (int32_t)want;
  }
  for (int64_t e = 1; e <= m; ++e) bputd(W, L, block, (e - 1) * n + k, vals[(size_t)(e - 1)]);
  count = (int32_t)top;
}

// Pointer output of one object (or, with type -1, of the status code of the last solve) in a
// block of its own, handed to the pointer service. Status 0; 2 unknown name or invalid
// pointer number; 3 storage; 4 duals not available; 5 ranges on a removed row; 6 the row
// name cannot be read; 7 ranges disabled. Each failure has printed its message.
void ptrput_(Work& W, MasterRecord& L, int32_t ptrno, const char* name, int32_t type, int32_t& status) {
  status = 0;
  std::vector<double> vals;
  if (type == -1) {
    int32_t code = 0;
    status_(L, code);
    vals.push_back((double)code);
  } else {
    std::string nm = padded(name ? std::string(name, strnlen(name, 32)) : std::string());
    int32_t kind = 0, index = 0;
    fndnmm_(W, L, nm.c_str(), kind, index);
    bool removed = false;
    int32_t msg = (kind == 2 || kind == 4 || kind == 5) ? outvalues_(W, L, kind, index, type & 3, vals, removed) : 102;
    if (msg >= 0) {
      if (msg == 102) unknownname_(W, L, nm);
      else errmsh_(W, L, msg);
      switch (msg) {
        case 0: status = 3; break;
        case 140: status = 4; break;
        case 141: status = 5; break;
        case 142: status = 6; break;
        case 184: status = 7; break;
        default: status = 2; break;
      }
      return;
    }
  }
  if (putptrvals_(L.PTRTAB, ptrno, (int32_t)vals.size(), vals.data()) != 0) {
    L.ERRARG = ptrno;
    errmsh_(W, L, 107);
    status = 2;
  }
}
