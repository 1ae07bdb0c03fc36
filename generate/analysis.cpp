// The structural analyser: generates the rows of every statement pass after pass, matches
// equality rows to variables, orders the pairs into blocks, solves the pairs that can be
// solved one at a time, and leaves the solved rows and variables at the front of the
// permutations.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generate/analysis.h"
#include "generate/rows.h"
#include "language/lang.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/store.h"

namespace {

constexpr int32_t POLLSTEP = 1024;  // pairs between two looks at the clock

// Statement e's code range from the statement-start table (positions taken as absolute).
void stmtrange(const Work& W, const MasterRecord& L, int32_t e, int32_t& first, int32_t& last) {
  first = std::abs(bgeti(W, L, L.STMTIX, e));
  last = std::abs(bgeti(W, L, L.STMTIX, e + 1)) - 1;
}

// Sizes an integer block to at least n entries; false when it cannot.
bool sizeint(Work& W, MasterRecord& L, int32_t& h, int64_t n) {
  if (n < 1) n = 1;
  if (h > 0 && bcap(L, h, 4) >= n) return true;
  if (n > MAXREQ / 4) return false;
  int32_t c = (int32_t)n, st = 0;
  setblk_(2, c, W, L, h, st);
  return st == 0;
}

// One trace line at debug level lv and above: the text and a number after it, if given,
// built only when traces are on.
void trace(MasterRecord& L, int32_t lv, std::string_view s) {
  if (L.TRACELV >= lv) outline(L, std::string(s));
}
void trace(MasterRecord& L, int32_t lv, std::string_view s, int64_t n) {
  if (L.TRACELV >= lv) outline(L, std::string(s) + std::to_string(n));
}

// Eligibility of a pair in linear-only mode: the linearity check of the row for the
// variable. The first question about a row replays it once for all its variables.
struct LinElig {
  Work* W;
  MasterRecord* L;
  const int64_t* rowst;      // per transversal row: start of its occurrences
  const int32_t* rows;       // transversal row -> generated row
  std::vector<int8_t> memo;  // per occurrence: -1 not asked, else the answer
  const int32_t* cols;
};
int32_t lincheck_elig(void* ctx, int32_t i, int32_t c) {
  LinElig& e = *static_cast<LinElig*>(ctx);
  if (e.rowst[i] < e.rowst[i + 1] && e.memo[e.rowst[i]] < 0) {
    // the occurrences of a row are its variable list, in the same order
    std::vector<int8_t> res;
    xecute_lincheck_row_(*e.W, *e.L, e.rows[i], res);
    for (int64_t k = e.rowst[i]; k < e.rowst[i + 1]; ++k) {
      const int32_t r = k - e.rowst[i] < (int64_t)res.size() ? res[k - e.rowst[i]] : 2;
      e.memo[k] = (int8_t)(r < 2 ? 0 : r == 2 ? 2 : 1);
    }
  }
  for (int64_t k = e.rowst[i]; k < e.rowst[i + 1]; ++k)
    if (e.cols[k] == c) return e.memo[k];
  return 1;
}

}  // namespace

int32_t struckmsg_(int32_t status) {
  switch (status) {
    case 0: return 0;
    case 15: return 85;
    case 16: return 135;
    case 17: return 147;
    case 18: return 87;
    case 19: return 75;
    case 20: return 225;
    case 21: return 177;  // a set used before it was built
    case 22: return 76;   // an instruction the executor cannot run (its line printed)
    default: return status >= 1 && status <= 14 ? status + 61 : 76;
  }
}

void symxec_(Work& W, MasterRecord& L, int32_t e, int32_t pass, int32_t runflags,
             SymResult& res, int32_t& status) {
  res = SymResult{};
  status = 0;
  L.STKTOP = 0;
  L.LFDEPTH = 0;
  L.IRCNT = 0;
  const bool gen = (runflags & 1) != 0;
  if (e < 1 || e > L.STMTCNT) {
    status = 20;
    return;
  }
  if (!gen && L.ROWCAP <= 0) {
    int32_t st = 0;
    grwrow_(W, L, 256, st);
    if (st != 0) {
      L.ERRARG = 2;
      status = 3;
      return;
    }
  }
  int32_t first, last;
  stmtrange(W, L, e, first, last);
  SymRun run;
  run.flags = runflags;
  run.pass = pass;
  if (!gen) {
    run.marks = L.SXMARK;
    run.rowvars = L.SXLIST;
  }
  int32_t r = 0;
  xecutes_(W, L, first, last, run, r);
  if (!gen) L.SXLIST = run.rowvars;  // the list may have grown
  switch (r) {
    case 0: status = 0; break;
    case 1: status = 2; break;
    case 2: status = 7; break;
    case 3: status = 8; break;
    case 4: status = 4; break;
    case 8: status = 13; break;
    case 9: status = 19; break;
    case 10: status = 10; break;
    case 11: status = 11; break;
    case 12: status = 12; break;
    case 13: status = 1; break;
    case 14: status = 3; L.ERRARG = 2; break;
    case 15: status = 5; break;
    case 16: status = 16; break;
    case 18: status = 18; break;
    case 5:
      status = 6;
      L.ERRARG = e;
      break;
    default:  // 6, 7, 17: an instruction the executor cannot run
      status = 20;
      break;
  }
  res.unfinished = r != 0 || run.undecided;
  res.rerun = run.stopundec;
  res.objrow = run.objrow;
  res.detail = run.rowname;
  if (!gen && L.SXMARK > 0)
    for (int32_t k = 1; k <= run.nrowvars; ++k) bputi(W, L, L.SXMARK, bgeti(W, L, L.SXLIST, k), 0);
}

int32_t trnrec_(int32_t nc, int32_t nr, const int32_t* cols, const int64_t* rowst,
                int32_t* colrow, int32_t* rowcol, TrnElig elig, void* ctx, bool& undecided) {
  undecided = false;
  for (int32_t c = 1; c <= nc; ++c) colrow[c] = 0;
  for (int32_t i = 1; i <= nr; ++i) rowcol[i] = 0;
  const int32_t most = std::min(nc, nr);
  if (most <= 0) return 0;
  auto ok = [&](int32_t i, int32_t c) {
    if (!elig) return true;
    const int32_t a = elig(ctx, i, c);
    if (a == 2) undecided = true;
    return a == 0;
  };
  // look-ahead positions; the search positions, marks and path of the augmenting searches
  // are taken at the first search, which most matchings never need
  std::vector<int64_t> look(rowst, rowst + nr + 1);
  std::unique_ptr<int64_t[]> out;
  std::vector<int32_t> seen, stack, via;
  int32_t count = 0;
  for (int32_t j = 1; j <= nr && count < most; ++j) {
    windoz_();
    int32_t intr = 0;
    userinterrupt_(intr);
    if (intr != 0) return -1;
    // the cheap assignment: an unassigned column of the row
    int32_t free = 0;
    for (int64_t k = look[j]; k < rowst[j + 1] && !free; ++k) {
      look[j] = k + 1;
      if (colrow[cols[k]] == 0 && ok(j, cols[k])) free = cols[k];
    }
    if (free) {
      colrow[free] = j;
      rowcol[j] = free;
      ++count;
      continue;
    }
    // a depth-first search for an augmenting path through assigned columns
    if (seen.empty()) {
      out.reset(new int64_t[(size_t)nr + 1]);
      seen.assign((size_t)nc + 1, 0);
      via.assign((size_t)nr + 1, 0);
    }
    stack.assign(1, j);
    out[j] = rowst[j];
    int32_t endrow = 0;
    while (!stack.empty() && !endrow) {
      const int32_t i = stack.back();
      for (int64_t k = look[i]; k < rowst[i + 1]; ++k) {
        look[i] = k + 1;
        if (colrow[cols[k]] == 0 && ok(i, cols[k])) {
          free = cols[k];
          endrow = i;
          break;
        }
      }
      if (endrow) break;
      bool deeper = false;
      while (out[i] < rowst[i + 1]) {
        const int32_t c = cols[out[i]++];
        if (seen[c] == j || colrow[c] == 0) continue;
        seen[c] = j;
        if (!ok(i, c)) continue;
        const int32_t next = colrow[c];
        via[next] = c;
        out[next] = rowst[next];
        stack.push_back(next);
        deeper = true;
        break;
      }
      if (!deeper) stack.pop_back();
    }
    if (!endrow) continue;
    // flip the path: the last row takes the free column, each row before it the column
    // of the row after it
    int32_t c = free;
    for (size_t p = stack.size(); p-- > 0;) {
      const int32_t i = stack[p];
      const int32_t had = via[i];
      colrow[c] = i;
      rowcol[i] = c;
      c = had;
    }
    ++count;
  }
  return count;
}

int32_t bumps_(int32_t n, const int32_t* adj, const int64_t* st, int32_t* perm, int32_t* blk) {
  std::vector<int32_t> index(n + 1, 0), low(n + 1, 0), comp;
  std::vector<char> onstack(n + 1, 0);
  std::vector<std::pair<int32_t, int64_t>> calls;  // node, next edge
  int32_t counter = 0, nb = 0, pos = 0;
  for (int32_t root = 1; root <= n; ++root) {
    if (index[root]) continue;
    calls.push_back({root, st[root]});
    index[root] = low[root] = ++counter;
    comp.push_back(root);
    onstack[root] = 1;
    while (!calls.empty()) {
      auto& [u, e] = calls.back();
      if (e < st[u + 1]) {
        const int32_t w = adj[e++];
        if (w < 1 || w > n) continue;
        if (!index[w]) {
          index[w] = low[w] = ++counter;
          comp.push_back(w);
          onstack[w] = 1;
          calls.push_back({w, st[w]});
        } else if (onstack[w]) {
          low[u] = std::min(low[u], index[w]);
        }
        continue;
      }
      const int32_t done = u;
      calls.pop_back();
      if (!calls.empty()) low[calls.back().first] = std::min(low[calls.back().first], low[done]);
      if (low[done] != index[done]) continue;
      // a strong component is complete: everything it reaches is in earlier blocks
      blk[++nb] = pos + 1;
      int32_t w;
      do {
        w = comp.back();
        comp.pop_back();
        onstack[w] = 0;
        perm[++pos] = w;
      } while (w != done);
    }
  }
  blk[nb + 1] = pos + 1;
  return nb;
}

void minbmp_(int32_t n, const int32_t* adj, const int64_t* st, int32_t nb, int32_t* perm,
             int32_t* blk) {
  if (nb >= n - 1) return;
  std::vector<int32_t> blockof(n + 1, 0);
  std::vector<char> marked(n + 1, 0), needed(n + 1, 0), front(n + 1, 0), tail(n + 1, 0);
  int32_t firstbump = 0;
  for (int32_t b = 1; b <= nb; ++b)
    for (int32_t p = blk[b]; p < blk[b + 1]; ++p) blockof[perm[p]] = b;
  auto single = [&](int32_t b) { return blk[b + 1] - blk[b] == 1; };
  // 1: bumps mark their pairs; one-pair blocks that use a marked pair are marked too
  for (int32_t b = 1; b <= nb; ++b) {
    if (!single(b)) {
      if (!firstbump) firstbump = b;
      for (int32_t p = blk[b]; p < blk[b + 1]; ++p) marked[perm[p]] = 1;
      continue;
    }
    const int32_t k = perm[blk[b]];
    bool uses = false;
    if (firstbump)
      for (int64_t e = st[k]; e < st[k + 1] && !uses; ++e) uses = adj[e] != k && marked[adj[e]];
    if (uses) marked[k] = 1;
    else front[k] = 1;
  }
  if (!firstbump) return;
  // 2: walking back, bumps and the marked pairs they need mark what they use as needed;
  // a marked one-pair block that no later bump needs goes to the tail
  for (int32_t p = n; p >= blk[firstbump]; --p) {
    const int32_t k = perm[p];
    if (front[k]) continue;
    const bool bump = !single(blockof[k]);
    if (bump || needed[k]) {
      for (int64_t e = st[k]; e < st[k + 1]; ++e) needed[adj[e]] = 1;
    } else {
      tail[k] = 1;
    }
  }
  // 3: front list, then bumps and needed pairs, then the tail, each in its old order
  std::vector<int32_t> order;
  std::vector<int32_t> starts;
  order.reserve(n);
  for (int32_t pass = 0; pass < 3; ++pass) {
    for (int32_t b = 1; b <= nb; ++b) {
      const int32_t k = perm[blk[b]];
      const int32_t group = front[k] ? 0 : tail[k] ? 2 : 1;
      if (group != pass) continue;
      starts.push_back((int32_t)order.size() + 1);
      for (int32_t p = blk[b]; p < blk[b + 1]; ++p) order.push_back(perm[p]);
    }
  }
  for (int32_t p = 1; p <= n; ++p) perm[p] = order[p - 1];
  for (int32_t b = 1; b <= nb; ++b) blk[b] = starts[b - 1];
  blk[nb + 1] = n + 1;
}

void struck_(Work& W, MasterRecord& L, int32_t& status) {
  status = 0;
  trace(L, 1, "ENTER STRUCTURAL ANALYZER...");
  L.NROWS = 0;
  L.NFIXED = 0;
  L.OBJROW = 0;
  L.NUNIQ = 0;
  L.NROWIX = 0;
  L.NROWVAR = 0;
  const int32_t nv = std::max(L.NVARS, 0), ne = std::max(L.STMTCNT, 0);
  std::vector<char> done(ne + 2, 0), rerun(ne + 2, 0);
  bool completed = false;
  // pairs of the latest solving step: position k -> row, variable
  std::vector<int32_t> fixrow, fixvar;
  L.SXMARK = L.SXLIST = 0;
  if (!sizeint(W, L, L.SXMARK, nv) || !sizeint(W, L, L.SXLIST, 512) ||
      !sizeint(W, L, L.ROWIXW, 512) || !sizeint(W, L, L.ROWVAR, 512) ||
      !sizeint(W, L, L.VARORD, nv) || !sizeint(W, L, L.VARPOS, nv)) {
    L.ERRARG = 1;
    status = 1;
    goto leave;
  }
  L.ROWIXCAP = (int32_t)bcap(L, L.ROWIXW, 4);
  L.ROWVARCAP = (int32_t)bcap(L, L.ROWVAR, 4);
  for (int32_t v = 1; v <= nv; ++v) bputi(W, L, L.SXMARK, v, 0);
  {
    const bool linonly = L.SUBOUT == 3 || (L.SUBOUT == 2 && (L.GLOBAL > 0 || L.MULTIS > 1));
    int32_t nsing = 0, nmulti = 0;
    for (int32_t pass = 1;; ++pass) {
      char num[16];
      int32_t nl = 0;
      nm2txt_((double)pass, num, nl);
      brbremv_();
      brbpost_(L, 0, ("Structural analysis, pass " + std::string(num + 15 - nl, (size_t)nl) + " ...").c_str());
      const int32_t ndfsav = L.NROWS;
      int32_t noted6 = 0, notede = 0, noteddetail = 0;
      for (int32_t e = 1; e <= ne; ++e) {
        if (done[e]) continue;
        trace(L, 2, "PERFORM SYM EXEC FOR EXP: ", e);
        SymResult res;
        int32_t st = 0;
        symxec_(W, L, e, pass, 0, res, st);
        trace(L, 2, "BACK FROM SYM EXEC, NERR= ", st);
        if (st == 3) {
          status = 1;
          goto leave;
        }
        if (st != 0 && st != 6) {
          status = st + 2;
          goto leave;
        }
        if (res.unfinished) {
          trace(L, 2, "EXPRESSION NOT FINISHED, REQUIRES ANOTHER PASS...");
          if (st == 6) noted6 = e;
          else { notede = e; noteddetail = res.detail; }
        } else {
          done[e] = 1;
        }
        if (res.rerun) {
          if (completed) {
            status = 17;
            goto leave;
          }
          rerun[e] = 1;
        }
        if (L.OBJROW == 0 && res.objrow != 0) L.OBJROW = res.objrow;
      }
      trace(L, 2, "EXIT FROM SYM EXEC LOOP...");
      {
        int32_t t = 0;
        stsgn2_(L, L.NROWS, t);
        if (t != 0) {
          status = 12;
          goto leave;
        }
      }
      bool unfinished = false;
      for (int32_t e = 1; e <= ne; ++e) unfinished = unfinished || !done[e];
      if (L.NROWS == ndfsav && unfinished) {
        trace(L, 1, "MODEL IS ILL-DEFINED.  EXITING...");
        if (noted6) {
          L.ERRARG = noted6;
          status = 8;
        } else {
          L.ERRARG = notede;
          L.ERRARG2 = noteddetail;
          status = 2;
        }
        goto leave;
      }
      // the rows of this pass: equalities with their number of variables
      for (int32_t r = ndfsav + 1; r <= L.NROWS; ++r) {
        if (bgeti(W, L, L.ROWTYPES, r) != RT_EQ) continue;
        const int32_t size = bgeti(W, L, L.ROWVST, r + 1) - bgeti(W, L, L.ROWVST, r);
        if (size == 1) ++nsing;
        else if (size > 1) ++nmulti;
      }
      bool trnund = false;
      const int32_t fixedbefore = L.NFIXED;
      if (nsing + nmulti > 0) {
        trace(L, 2, "MODEL HAS EQUALITIES, SOLVE FOR FIXED VARS...");
        // equality rows, one-variable rows first, each group in row order; the rows and
        // their entries are counted first, so the lists are taken at their size at once
        int64_t neq = 0, nent = 0;
        for (int32_t r = 1; r <= L.NROWS; ++r) {
          if (bgeti(W, L, L.ROWTYPES, r) != RT_EQ) continue;
          const int32_t size = bgeti(W, L, L.ROWVST, r + 1) - bgeti(W, L, L.ROWVST, r);
          if (size > 0) {
            ++neq;
            nent += size;
          }
        }
        std::vector<int32_t> eqrows(1, 0);
        eqrows.reserve((size_t)neq + 1);
        for (int32_t want = 0; want < 2; ++want)
          for (int32_t r = 1; r <= L.NROWS; ++r) {
            if (bgeti(W, L, L.ROWTYPES, r) != RT_EQ) continue;
            const int32_t size = bgeti(W, L, L.ROWVST, r + 1) - bgeti(W, L, L.ROWVST, r);
            if ((want == 0 && size == 1) || (want == 1 && size > 1)) eqrows.push_back(r);
          }
        const int32_t nr = (int32_t)eqrows.size() - 1;
        std::vector<int64_t> rowst(nr + 2);
        std::vector<int32_t> cols(1, 0);
        cols.reserve((size_t)nent + 1);
        for (int32_t i = 1; i <= nr; ++i) {
          rowst[i] = (int64_t)cols.size();
          const int32_t r = eqrows[i];
          for (int32_t k = bgeti(W, L, L.ROWVST, r); k < bgeti(W, L, L.ROWVST, r + 1); ++k)
            cols.push_back(bgeti(W, L, L.ROWVAR, k));
        }
        rowst[nr + 1] = (int64_t)cols.size();
        std::vector<int32_t> colrow(nv + 1), rowcol(nr + 1);
        LinElig le{&W, &L, rowst.data(), eqrows.data(), std::vector<int8_t>(linonly ? cols.size() : 0, -1),
                   cols.data()};
        trace(L, 2, "CALL TRNREC TO ASSIGN VARS TO ROWS...");
        const int32_t got = trnrec_(nv, nr, cols.data(), rowst.data(), colrow.data(), rowcol.data(),
                                    linonly ? lincheck_elig : nullptr, &le, trnund);
        if (got < 0) {
          status = 12;
          goto leave;
        }
        trace(L, 2, "NO. OF VARS ASSIGNED IN TRNREC: ", got);
        // pairs numbered by variable
        std::vector<int32_t> pairof(nv + 1, 0), pvar(1, 0), prow(1, 0);
        pvar.reserve((size_t)got + 1);
        prow.reserve((size_t)got + 1);
        for (int32_t v = 1; v <= nv; ++v) {
          if (colrow[v] == 0) continue;
          pvar.push_back(v);
          prow.push_back(eqrows[colrow[v]]);
          pairof[v] = (int32_t)pvar.size() - 1;
        }
        const int32_t np = (int32_t)pvar.size() - 1;
        fixrow.assign(1, 0);
        fixvar.assign(1, 0);
        fixrow.reserve((size_t)np + 1);
        fixvar.reserve((size_t)np + 1);
        if (L.SUBOUT == 0) {
          trace(L, 2, "SKIPPING REDUCTION DUE TO SUBOUT OPTION...");
        } else if (np > 0) {
          // the pair graph: pair k points to the pairs of the variables of its row
          std::vector<int64_t> gst(np + 2);
          // each pair's row is another equality row: their entries are at most all of them
          std::vector<int32_t> adj;
          adj.reserve(cols.size());
          for (int32_t k = 1; k <= np; ++k) {
            gst[k] = (int64_t)adj.size();
            const int32_t r = prow[k];
            for (int32_t q = bgeti(W, L, L.ROWVST, r); q < bgeti(W, L, L.ROWVST, r + 1); ++q) {
              const int32_t u = pairof[bgeti(W, L, L.ROWVAR, q)];
              if (u) adj.push_back(u);
            }
          }
          gst[np + 1] = (int64_t)adj.size();
          trace(L, 2, "CALLING TRIANGULARIZATION ROUTINES...");
          std::vector<int32_t> perm(np + 1), blk(np + 2);
          const int32_t nb = bumps_(np, adj.data(), gst.data(), perm.data(), blk.data());
          minbmp_(np, adj.data(), gst.data(), nb, perm.data(), blk.data());
          // accept each pair whose row has every other variable fixed already
          std::vector<char> fixed(nv + 1, 0);
          for (int32_t p = 1; p <= np; ++p) {
            const int32_t k = perm[p], r = prow[k], v = pvar[k];
            bool ok = true;
            for (int32_t q = bgeti(W, L, L.ROWVST, r); q < bgeti(W, L, L.ROWVST, r + 1) && ok; ++q) {
              const int32_t u = bgeti(W, L, L.ROWVAR, q);
              ok = u == v || fixed[u];
            }
            if (!ok) continue;
            fixed[v] = 1;
            fixrow.push_back(r);
            fixvar.push_back(v);
            if (fixrow.size() % POLLSTEP == 0) {
              int32_t t = 0;
              stsgn2_(L, (int32_t)fixrow.size(), t);
              if (t != 0) {
                status = 12;
                goto leave;
              }
            }
          }
          int32_t t = 0;
          stsgn2_(L, (int32_t)fixrow.size(), t);
          if (t != 0) {
            status = 12;
            goto leave;
          }
        }
        L.NFIXED = (int32_t)fixrow.size() - 1;
        // solve the accepted pairs in order
        L.NUNIQ = 0;
        if (!sizeint(W, L, L.UNIQBLK, 2 * (int64_t)L.NFIXED + 2)) {
          L.ERRARG = 3;
          status = 1;
          goto leave;
        }
        for (int32_t k = 1; k <= L.NFIXED; ++k) {
          const int32_t r = fixrow[k], v = fixvar[k];
          int32_t arith = 0, st = 0;
          secslv_(W, L, r, v, arith, st);
          if (st > 0) {
            L.ERRARG = r;
            L.ERRARG2 = v;
            L.ERRARG3 = arith;
            L.ERRARG4 = arith;  // message 86 follows 72 when an evaluation failed
            L.SSARITH = arith;
            status = 11;
            goto leave;
          }
          if (st < 0) {
            bputi(W, L, L.UNIQBLK, 2 * L.NUNIQ + 1, r);
            bputi(W, L, L.UNIQBLK, 2 * L.NUNIQ + 2, v);
            ++L.NUNIQ;
          }
          if (L.VARFIX > 0) bputi(W, L, L.VARFIX, v, std::min(bgeti(W, L, L.VARFIX, v), pass));
          bputi(W, L, L.VARKND, v, VK_FIXED);
        }
      }
      // next step: another pass, the completion pass, or the end
      if (unfinished) {
        trace(L, 1, "UNDEFINED EXPRESSIONS REMAIN.  TRY AGAIN...");
        continue;
      }
      if (trnund && L.NFIXED > fixedbefore) {
        trace(L, 1, "ADDITIONAL FIXED VARS FOUND IN LINEAR RED MODE...TRY AGAIN...");
        continue;
      }
      if (!completed) {
        completed = true;
        bool any = false;
        for (int32_t e = 1; e <= ne; ++e)
          if (rerun[e]) {
            done[e] = 0;
            rerun[e] = 0;
            any = true;
          }
        if (any) continue;
      }
      break;
    }
    // the solved pairs first, then the other variables and rows in index order
    trace(L, 1, "ALL EXPRESSIONS NOW DEFINED...RE-PERMUTING...");
    const int32_t nf = L.NFIXED;
    for (int32_t v = 1; v <= nv; ++v) bputi(W, L, L.VARPOS, v, 0);
    for (int32_t r = 1; r <= L.NROWS; ++r) bputi(W, L, L.ROWMAP, r, 0);
    for (int32_t k = 1; k <= nf; ++k) {
      bputi(W, L, L.VARORD, k, fixvar[k]);
      bputi(W, L, L.VARPOS, fixvar[k], k);
      bputi(W, L, L.ROWORD, k, fixrow[k]);
      bputi(W, L, L.ROWMAP, fixrow[k], k);
    }
    int32_t p = nf;
    for (int32_t v = 1; v <= nv; ++v)
      if (bgeti(W, L, L.VARPOS, v) == 0) {
        bputi(W, L, L.VARORD, ++p, v);
        bputi(W, L, L.VARPOS, v, p);
      }
    p = nf;
    for (int32_t r = 1; r <= L.NROWS; ++r)
      if (bgeti(W, L, L.ROWMAP, r) == 0) {
        bputi(W, L, L.ROWORD, ++p, r);
        bputi(W, L, L.ROWMAP, r, p);
      }
  }

leave:
  if (status == 0 && L.NUNIQ > 0) status = 5;
  // an empty non-unique root list is not kept: its existence is what the report warns about
  if (L.NUNIQ == 0) rlsblk_(L, L.UNIQBLK);
  rlsblk_(L, L.SXMARK);
  rlsblk_(L, L.SXLIST);
  if (L.ROWIXW > 0) {
    int32_t c = L.NROWIX + 1, st = 0;
    setblk_(2, c, W, L, L.ROWIXW, st);
    if (st == 0) L.ROWIXCAP = c;
  }
  brbremv_();
  trace(L, 1, "EXIT SYMBOLIC EXECUTOR");
}
