// Scratch directory handling shared by the fuzz targets: each fuzzing process works in a
// directory of its own, emptied before every run and removed at exit.
#pragma once
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Removes every file that the previous run left in the current directory.
inline void fuzz_emptydir() {
  DIR* d = opendir(".");
  if (!d) return;
  std::vector<std::string> names;
  while (dirent* e = readdir(d))
    if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..")) names.push_back(e->d_name);
  closedir(d);
  for (const std::string& n : names) unlink(n.c_str());
}

// The process's scratch directory, empty before it is made.
inline std::string& fuzz_scratchname() {
  static std::string name;
  return name;
}

// Empties and removes the scratch directory (at exit).
inline void fuzz_removescratch() {
  const std::string& name = fuzz_scratchname();
  if (name.empty() || chdir(name.c_str()) != 0) return;
  fuzz_emptydir();
  if (chdir("/") == 0) rmdir(name.c_str());
}

// Enters a fresh directory made from the mkdtemp pattern (its leading "/tmp" replaced by
// TMPDIR when that is set), once per process; aborts when none can be made.
inline void fuzz_enterscratch(const char* pattern) {
  static bool done = false;
  if (done) return;
  done = true;
  std::string tmpl = pattern;
  const char* tmp = std::getenv("TMPDIR");
  if (tmp && *tmp && tmpl.rfind("/tmp/", 0) == 0) tmpl = std::string(tmp) + tmpl.substr(4);
  if (mkdtemp(tmpl.data()) && chdir(tmpl.c_str()) == 0) {
    fuzz_scratchname() = tmpl;
    std::atexit(fuzz_removescratch);
    return;
  }
  std::abort();
}
