// MPS import: the model text written for an MPS file states the same optimisation
// problem. The tests read the text back with a small reader of their own, hand that model
// to the solver library and compare its optimum with the library's optimum of the file.
#include <gtest/gtest.h>

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

}  // namespace
