// The text export on its own: columns wider than a line, and a file that finds the table of
// open files full.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "language/reader.h"
#include "reports/exchange.h"
#include "solver/solve_test_fixture.h"

namespace {

struct Solved : SolveSession {
  Solved() {
    text("MODEL:\nSETS: S /A B/: X; ENDSETS\nMAX = @SUM(S(I): X(I));\n@FOR(S(I): X(I) <= I);\nEND");
    go(0);
  }
};

TEST(TextExport, AColumnWiderThanAnyLineIsCutByTheLinePrinter) {
  Solved s;
  initfi_(s.L);
  const std::string wide(300, 'W');
  int32_t st = -1;
  std::string out = s.captured([&] { exportf_(s.W, s.L, "", 3, {"X", wide, "X"}, {4, 13, 4}, 'W', st); });
  EXPECT_EQ(st, 0);
  // each element: the value, then the literal on a line of its own (cut at the line
  // width), then the value again
  std::istringstream in(out);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 6u) << out;
  EXPECT_EQ(lines[0], "    1.0000000");
  EXPECT_EQ(lines[1], " " + wide.substr(0, (size_t)s.L.LINLEN - 1));
  EXPECT_EQ(lines[3], "    2.0000000");
  shutfi_(s.L);
}

TEST(TextExport, AFullTableOfOpenFilesLeavesNoFileBehind) {
  Solved s;
  auto dir = std::filesystem::temp_directory_path() / ("quirn_full_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "late.txt").string();
  initfi_(s.L);
  for (int i = 0; i < INCSLOTS; ++i) {
    int32_t unit = 0;
    ASSERT_EQ(addfiletolist_(s.L, ("/nowhere/" + std::to_string(i)).c_str(), unit), 0);
  }
  int32_t st = -1;
  std::string out = s.captured([&] { exportf_(s.W, s.L, file, 1, {"X"}, {4}, 'W', st); });
  EXPECT_EQ(st, 0);  // only this statement fails
  EXPECT_NE(out.find("Too many files open:"), std::string::npos) << out;
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(isfileopen_(s.L, file.c_str()), 0);
  shutfi_(s.L);
  std::filesystem::remove_all(dir);
}

}  // namespace
