// The nonlinear engines' module: mapped at the first nonlinear solve, so that a session that
// solves only linear models never loads Ipopt, Bonmin and their numerical libraries.
#include "bresk/modules.h"
#include "bresk/nlp.h"

namespace bresk {

const NlEngines* nlEngines() {
  static const NlEngines* engines =
      static_cast<const NlEngines*>(moduleTable("libbresk_nl.so", "bresk_nl_engines"));
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
