// The transversal and the block ordering on random graphs, against brute force.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "generate/analysis.h"

namespace {

// A graph as lists: node (or row) i has the entries adj[st[i] .. st[i+1]-1], 1-based.
struct Lists {
  std::vector<int64_t> st{0};
  std::vector<int32_t> adj{0};
  void add(const std::vector<int32_t>& l) {
    if (st.size() == 1) st.push_back((int64_t)adj.size());
    for (int32_t x : l) adj.push_back(x);
    st.push_back((int64_t)adj.size());
  }
};

// Largest matching of rows to columns, by trying every column for every row.
int32_t brute(const std::vector<std::vector<int32_t>>& rows, size_t i, uint32_t used) {
  if (i == rows.size()) return 0;
  int32_t best = brute(rows, i + 1, used);
  for (int32_t c : rows[i])
    if (!(used & (1u << c))) best = std::max(best, 1 + brute(rows, i + 1, used | (1u << c)));
  return best;
}

}  // namespace

TEST(Transversal, IsMaximumOnRandomSparseGraphs) {
  std::mt19937 rng(11);
  for (int trial = 0; trial < 400; ++trial) {
    const int32_t nr = 1 + rng() % 8, nc = 1 + rng() % 8;
    std::vector<std::vector<int32_t>> rows(nr);
    Lists g;
    for (int32_t i = 0; i < nr; ++i) {
      for (int32_t c = 1; c <= nc; ++c)
        if (rng() % 3 == 0) rows[i].push_back(c);
      g.add(rows[i]);
    }
    std::vector<int32_t> colrow(nc + 1), rowcol(nr + 1);
    bool und = false;
    const int32_t got = trnrec_(nc, nr, g.adj.data(), g.st.data(), colrow.data(), rowcol.data(), nullptr, nullptr, und);
    ASSERT_EQ(got, brute(rows, 0, 0)) << trial;
    int32_t pairs = 0;
    for (int32_t i = 1; i <= nr; ++i) {
      const int32_t c = rowcol[i];
      if (!c) continue;
      ++pairs;
      EXPECT_EQ(colrow[c], i);
      EXPECT_NE(std::find(rows[i - 1].begin(), rows[i - 1].end(), c), rows[i - 1].end());
    }
    EXPECT_EQ(pairs, got);
  }
}

TEST(Transversal, RefusedPairsAreNotUsedAndUndecidedOnesAreReported) {
  // row 1: columns 1, 2; row 2: column 1. Column 1 of row 2 is refused.
  Lists g;
  g.add({1, 2});
  g.add({1});
  auto elig = [](void*, int32_t row, int32_t col) -> int32_t { return row == 2 && col == 1 ? 2 : 0; };
  std::vector<int32_t> colrow(3), rowcol(3);
  bool und = false;
  EXPECT_EQ(trnrec_(2, 2, g.adj.data(), g.st.data(), colrow.data(), rowcol.data(), elig, nullptr, und), 1);
  EXPECT_EQ(rowcol[2], 0);
  EXPECT_TRUE(und);
}

TEST(Transversal, LongAugmentingPathsNeedNoCallStack) {
  // rows 1..n-1 take columns i and i+1, row n only column 1: the last row's path runs
  // through every row
  const int32_t n = 1000000;
  Lists g;
  for (int32_t i = 1; i < n; ++i) g.add({i, i + 1});
  g.add({1});
  std::vector<int32_t> colrow(n + 1), rowcol(n + 1);
  bool und = false;
  EXPECT_EQ(trnrec_(n, n, g.adj.data(), g.st.data(), colrow.data(), rowcol.data(), nullptr, nullptr, und), n);
  EXPECT_EQ(rowcol[n], 1);
  EXPECT_EQ(rowcol[1], 2);
}

namespace {

// Checks that perm/blk is a partition into strong components in which every edge points
// to the same or an earlier block.
void checkblocks(int32_t n, const Lists& g, const std::vector<int32_t>& perm, const std::vector<int32_t>& blk,
                 int32_t nb, bool strong) {
  std::vector<int32_t> blockof(n + 1, 0);
  ASSERT_EQ(blk[1], 1);
  ASSERT_EQ(blk[nb + 1], n + 1);
  for (int32_t b = 1; b <= nb; ++b)
    for (int32_t p = blk[b]; p < blk[b + 1]; ++p) {
      ASSERT_EQ(blockof[perm[p]], 0);
      blockof[perm[p]] = b;
    }
  for (int32_t k = 1; k <= n; ++k) {
    ASSERT_NE(blockof[k], 0);
    for (int64_t e = g.st[k]; e < g.st[k + 1]; ++e) EXPECT_LE(blockof[g.adj[e]], blockof[k]);
  }
  if (!strong) return;
  // same block exactly when each reaches the other
  std::vector<std::vector<char>> reach(n + 1, std::vector<char>(n + 1, 0));
  for (int32_t k = 1; k <= n; ++k) {
    reach[k][k] = 1;
    for (int64_t e = g.st[k]; e < g.st[k + 1]; ++e) reach[k][g.adj[e]] = 1;
  }
  for (int32_t m = 1; m <= n; ++m)
    for (int32_t i = 1; i <= n; ++i)
      if (reach[i][m])
        for (int32_t j = 1; j <= n; ++j)
          if (reach[m][j]) reach[i][j] = 1;
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= n; ++j) EXPECT_EQ(blockof[i] == blockof[j], reach[i][j] && reach[j][i]);
}

}  // namespace

TEST(Blocks, StrongComponentsInOrderOnRandomGraphs) {
  std::mt19937 rng(5);
  for (int trial = 0; trial < 300; ++trial) {
    const int32_t n = 1 + rng() % 12;
    Lists g;
    for (int32_t k = 1; k <= n; ++k) {
      std::vector<int32_t> l{k};  // a pair's row holds its own variable
      for (int32_t j = 1; j <= n; ++j)
        if (j != k && rng() % 5 == 0) l.push_back(j);
      g.add(l);
    }
    std::vector<int32_t> perm(n + 1), blk(n + 2);
    const int32_t nb = bumps_(n, g.adj.data(), g.st.data(), perm.data(), blk.data());
    checkblocks(n, g, perm, blk, nb, true);
    minbmp_(n, g.adj.data(), g.st.data(), nb, perm.data(), blk.data());
    checkblocks(n, g, perm, blk, nb, true);
  }
}

TEST(Blocks, LongChainsNeedNoCallStack) {
  // pair k uses pair k - 1, and pair n/2 uses pair n: the upper half is one cycle
  const int32_t n = 1000000;
  Lists g;
  g.add({1});
  for (int32_t k = 2; k <= n; ++k) {
    if (k == n / 2) g.add({k, k - 1, n});
    else g.add({k, k - 1});
  }
  std::vector<int32_t> perm(n + 1), blk(n + 2);
  const int32_t nb = bumps_(n, g.adj.data(), g.st.data(), perm.data(), blk.data());
  EXPECT_EQ(nb, n / 2);
  checkblocks(n, g, perm, blk, nb, false);
}
