// The standard output muted while a package that prints runs. Apart from the message handler
// so that the library's own start-up does not take in the COIN-OR headers, and with them the
// standard streams' initialisation, which every run would pay for.
#ifndef BRESK_MUTE_H
#define BRESK_MUTE_H

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace bresk {

// Sends the process's standard output to /dev/null while a package that
// prints with printf runs (Clp's quadratic solver does); progress callbacks
// run with the real output restored.
class StdoutMute {
 public:
  StdoutMute() {
    std::fflush(stdout);
    saved_ = dup(1);
    int null = open("/dev/null", O_WRONLY);
    if (saved_ >= 0 && null >= 0) dup2(null, 1);
    if (null >= 0) close(null);
    active() = this;
  }
  ~StdoutMute() {
    active() = nullptr;
    std::fflush(stdout);
    if (saved_ >= 0) {
      dup2(saved_, 1);
      close(saved_);
    }
  }
  // Restores the real output for the duration of a callback, or mutes again.
  void pause(bool on) {
    std::fflush(stdout);
    if (saved_ < 0) return;
    if (on) {
      dup2(saved_, 1);
    } else {
      int null = open("/dev/null", O_WRONLY);
      if (null >= 0) {
        dup2(null, 1);
        close(null);
      }
    }
  }
  static StdoutMute*& active() {
    static StdoutMute* a = nullptr;
    return a;
  }

 private:
  int saved_ = -1;
};

} // namespace bresk

#endif
