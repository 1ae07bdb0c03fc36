// Finding and mapping the library's engine modules.
#include "bresk/modules.h"

#include <dlfcn.h>

#include <string>

namespace bresk {

// Loads `file` from the folder of the library that holds this routine; calls its `entry`.
// Lazy binding: binding every routine of a module and its libraries at once costs about a
// million more instructions per session, most of them for routines the solve never calls.
const void* moduleTable(const char* file, const char* entry) {
  Dl_info self{};
  if (!dladdr(reinterpret_cast<void*>(&moduleTable), &self) || !self.dli_fname) return nullptr;
  std::string path = self.dli_fname;
  size_t slash = path.rfind('/');
  path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + file;
  void* h = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (!h) return nullptr;
  using Entry = const void* (*)();
  auto e = reinterpret_cast<Entry>(dlsym(h, entry));
  return e ? e() : nullptr;
}

}  // namespace bresk
