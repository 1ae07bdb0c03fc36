// Large blocks from operator new are marked for huge pages from their start; small ones
// are not.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "store/bigblocks.h"

namespace {

// The flags of the mapping that holds address a ("" when none is found).
std::string vmflags(const void* a) {
  const uintptr_t x = reinterpret_cast<uintptr_t>(a);
  std::FILE* f = std::fopen("/proc/self/smaps", "r");
  if (!f) return "";
  char line[512];
  bool inside = false;
  std::string flags;
  while (std::fgets(line, sizeof line, f)) {
    unsigned long lo = 0, hi = 0;
    if (std::sscanf(line, "%lx-%lx ", &lo, &hi) == 2 && std::strchr(line, '-') < std::strchr(line, ' ')) {
      inside = x >= lo && x < hi;
    } else if (inside && std::strncmp(line, "VmFlags:", 8) == 0) {
      flags = line + 8;
      break;
    }
  }
  std::fclose(f);
  return flags;
}

bool hugepages_on_request() {
  std::FILE* f = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
  if (!f) return false;
  char s[128] = {};
  bool ok = std::fgets(s, sizeof s, f) != nullptr && std::strstr(s, "never]") == nullptr;
  std::fclose(f);
  return ok;
}

TEST(BigBlocks, LargeBlocksAreMarkedSmallOnesAreNot) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator serves operator new";
#endif
  if (!hugepages_on_request()) GTEST_SKIP() << "no transparent huge pages here";
  struct Case {
    size_t bytes;
    bool marked;
  } cases[] = {{64 << 10, false}, {BIGBLOCK - 4096, false}, {BIGBLOCK, true}, {48 << 20, true}};
  for (const Case& c : cases) {
    std::unique_ptr<char[]> p(new char[c.bytes]);
    // the middle of the block lies inside a whole 2 MB stretch when the block is marked
    const char* mid = p.get() + c.bytes / 2;
    std::string flags = vmflags(mid);
    ASSERT_FALSE(flags.empty()) << c.bytes;
    EXPECT_EQ(flags.find(" hg") != std::string::npos, c.marked) << c.bytes << " bytes: " << flags;
    // a marked block is marked from its first byte, so its head does not fall to small pages
    if (c.marked) {
      EXPECT_NE(vmflags(p.get()).find(" hg"), std::string::npos) << c.bytes << " bytes, at its start";
    }
    p[c.bytes - 1] = 1;  // the block is writable to its end
  }
  // a vector's storage comes through operator new too
  std::vector<double> v(1 << 20);
  EXPECT_NE(vmflags(v.data() + v.size() / 2).find(" hg"), std::string::npos);
}

}  // namespace
