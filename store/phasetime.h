// Phase times of generation, loading, the solve and its reports for the benchmarks: with
// QUIRN_PHASES set in the environment, each call writes the seconds since the first call, the
// processor time (user + system) since the program started and the resident and peak memory to
// standard error. Without it nothing is written.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
inline void phasetime_(const char* what) {
  static const bool on = std::getenv("QUIRN_PHASES") != nullptr;
  if (!on) return;
  static auto t0 = std::chrono::steady_clock::now();
  double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  double cpu = (double)(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
               (double)(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) * 1e-6;
  long rss = 0, hwm = 0;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      if (!std::strncmp(line, "VmRSS:", 6)) rss = std::atol(line + 6);
      if (!std::strncmp(line, "VmHWM:", 6)) hwm = std::atol(line + 6);
    }
    std::fclose(f);
  }
  std::fprintf(stderr, "%-28s %8.3f s  cpu %9.4f s  rss %7ld MB  hwm %7ld MB\n", what, t, cpu, rss / 1024,
               hwm / 1024);
}
