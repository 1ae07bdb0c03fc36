// The message handler given to every COIN-OR object: it keeps the last
// message text and prints nothing, so the library never writes to the
// standard streams.
#ifndef BRESK_QUIET_H
#define BRESK_QUIET_H

#include <CoinMessageHandler.hpp>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace bresk {

class QuietHandler : public CoinMessageHandler {
 public:
  QuietHandler() { setLogLevel(0); }
  CoinMessageHandler* clone() const override { return new QuietHandler(*this); }
  int print() override {
    last = messageBuffer();
    return 0;
  }
  std::string last;
};

// The one shared quiet handler (never deleted).
inline QuietHandler* quiet_handler() {
  static QuietHandler* h = new QuietHandler();
  return h;
}

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
