// Scratch directory handling shared by the fuzz targets: each fuzzing process works in a
// directory of its own, emptied before every run.
#pragma once
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Enters a fresh directory made from the mkdtemp pattern, once per process; aborts when none
// can be made.
inline void fuzz_enterscratch(const char* pattern) {
  static bool done = false;
  if (done) return;
  done = true;
  std::string tmpl = pattern;
  if (mkdtemp(tmpl.data()) && chdir(tmpl.c_str()) == 0) return;
  std::abort();
}

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
