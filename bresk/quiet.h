// The message handler given to every COIN-OR object: it keeps the last
// message text and prints nothing, so the library never writes to the
// standard streams.
#ifndef BRESK_QUIET_H
#define BRESK_QUIET_H

#include <CoinMessageHandler.hpp>

#include <string>

#include "bresk/mute.h"

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

} // namespace bresk

#endif
