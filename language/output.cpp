// One line of front-end output on the current output unit.
#include <cstring>
#include <vector>
#include "language/lang.h"

void outline(MasterRecord& L, const std::string& s) {
  std::vector<char> buf(s.size() < 200 ? 201 : s.size() + 1, ' ');
  std::memcpy(buf.data(), s.data(), s.size());
  lprint_(L, L.OUTUNIT, buf.data(), (int32_t)buf.size() - 1);
}
