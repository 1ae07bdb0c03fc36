// Every test process works in a scratch directory of its own, made before the first test
// and removed at exit, so runs side by side on one machine never meet in a file name.
// Files named without a directory land there, and so does ::testing::TempDir().
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string g_scratch;

void removescratch() {
  std::error_code ec;
  std::filesystem::current_path("/", ec);
  std::filesystem::remove_all(g_scratch, ec);
}

bool enterscratch() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quirn_test_XXXXXX";
  if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) {
    std::perror("scratch directory");
    std::abort();
  }
  g_scratch = pattern;
  setenv("TEST_TMPDIR", (pattern + "/").c_str(), 1);
  std::atexit(removescratch);
  return true;
}

const bool g_entered = enterscratch();

}  // namespace
