// MPS import: the model text written for an MPS file states the same optimisation
// problem. The tests read the text back with a small reader of their own, hand that model
// to the solver library and compare its optimum with the library's optimum of the file.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "reports/exchange_fixture.h"
#include "reports/exchange.h"
#include "solver/bindings.h"
#include "store/io.h"
#include "store/store.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(QUIRN_SOURCE_DIR) / "tests" / "data";

TEST(MpsImport, NetlibTextsReachThePublishedOptima) {
  std::ifstream opt(kData / "netlib" / "optimal.tsv");
  std::string name;
  double want;
  int checked = 0;
  while (opt >> name >> want) {
    Import s;
    ASSERT_EQ(s.load(kData / "netlib" / (name + ".mps"), 1), 0) << name << s.terminal();
    auto lines = s.lines();
    for (auto& ln : lines) EXPECT_LE((int)ln.size(), 76 + 40) << name;
    int st = 0;
    std::string err;
    double got = textoptimum(lines, st, err);
    ASSERT_EQ(err, "") << name;
    // e226 gives its objective row a right-hand side, which becomes the constant of the
    // objective: the published value is the optimum without it.
    TextModel m = readtext(lines);
    // every row label is a name of its own, apart from every variable's
    std::set<std::string> labels;
    size_t nlabels = 0;
    {
      std::string all;
      for (auto& l : lines) all += l;
      auto tk = tokens(all);
      for (size_t k = 0; k + 2 < tk.size(); ++k)
        if (tk[k] == "[" && tk[k + 2] == "]") {
          ++nlabels;
          labels.insert(tk[k + 1]);
          EXPECT_EQ(m.vix.count(tk[k + 1]), 0u) << name << " " << tk[k + 1];
        }
    }
    EXPECT_EQ(labels.size(), nlabels) << name;
    if (name == "e226") {
      EXPECT_NEAR(m.objconst, 7.113, 1e-3);
      got -= m.objconst;
    } else {
      EXPECT_EQ(m.objconst, 0.0) << name;
    }
    EXPECT_TRUE(st == BR_OPTIMAL || st == BR_BASIC_OPTIMAL) << name << " status " << st;
    EXPECT_NEAR(got, want, 1e-6 * std::fabs(want)) << name;
    ++checked;
  }
  EXPECT_EQ(checked, 25);
}

// Names longer than a name slot are cut to it; when many are cut to one stem, each still
// gets a name of its own ("_1", "_2", ... in file order), and the search for a free suffix
// does not start again from 1 for each of them (30,000 such names took a minute).
TEST(MpsImport, NamesCutToOneStemStayDistinctAndCheap) {
  const int n = 30000;
  const std::string stem = "a_very_long_column_name_sharing_its_prefix_";
  {
    std::ofstream f("longnames.mps");
    f << "NAME LONG FREE\nROWS\n N COST\n L CAP\nCOLUMNS\n";
    for (int j = 0; j < n; ++j) f << " " << stem << j << " COST -1 CAP 1\n";
    f << "RHS\n RHS CAP 10\nENDATA\n";
  }
  Import s;
  auto t0 = std::chrono::steady_clock::now();
  ASSERT_EQ(s.load("longnames.mps", 0), 0) << s.terminal();
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(secs, 20.0);
  TextModel m = readtext(s.lines());
  ASSERT_EQ((int)m.vars.size(), n);
  std::string up = stem;
  for (char& c : up) c = (char)std::toupper((unsigned char)c);
  const std::string cut = up.substr(0, NAMECH);
  struct Case {
    int col;
    std::string name;
  } cases[] = {{0, cut}, {1, cut.substr(0, NAMECH - 2) + "_1"}, {9, cut.substr(0, NAMECH - 2) + "_9"},
               {10, cut.substr(0, NAMECH - 3) + "_10"}, {n - 1, cut.substr(0, NAMECH - 6) + "_29999"}};
  for (const Case& c : cases) EXPECT_EQ(m.vars[(size_t)c.col], c.name) << c.col;
  std::set<std::string> distinct(m.vars.begin(), m.vars.end());
  EXPECT_EQ((int)distinct.size(), n);
  EXPECT_NE(s.terminal().find("var names patched:        30000"), std::string::npos) << s.terminal();
}

}  // namespace
