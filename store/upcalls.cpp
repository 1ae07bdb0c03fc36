// The table of routines that higher layers hand down to the message printer.
#include "store/upcalls.h"

// Constant-initialised, so entries made by static initialisers of other files are kept.
Upcalls& upcalls_() {
  static Upcalls table;
  return table;
}
