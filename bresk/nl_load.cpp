// The nonlinear engines' module: found beside this library and mapped at the first
// nonlinear solve, so that a session that solves only linear models never loads Ipopt,
// Bonmin and their numerical libraries.
#include "bresk/nlp.h"

#include <dlfcn.h>

#include <string>

namespace bresk {

namespace {
// Loads libbresk_nl.so from this library's own folder and returns its entry table, or null.
const NlEngines* loadEngines() {
  Dl_info self{};
  if (!dladdr(reinterpret_cast<void*>(&nlEngines), &self) || !self.dli_fname) return nullptr;
  std::string path = self.dli_fname;
  size_t slash = path.rfind('/');
  path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "libbresk_nl.so";
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) return nullptr;
  using Entry = const NlEngines* (*)();
  auto entry = reinterpret_cast<Entry>(dlsym(h, "bresk_nl_engines"));
  return entry ? entry() : nullptr;
}
}  // namespace

const NlEngines* nlEngines() {
  static const NlEngines* engines = loadEngines();
  return engines;
}

int solveMinlp(BRmodel* m, int resolves) {
  const NlEngines* e = nlEngines();
  if (!e) {
    clear_result(m);
    return BRERR_NOT_AVAILABLE;
  }
  return e->bonmin(m, resolves);
}

}  // namespace bresk
