// The entry of GLPK's module (libbresk_glpk.so), looked up by the library after loading it.
#include "bresk/modules.h"

// The module's engine table.
extern "C" const void* bresk_glpk_engine() {
  static const bresk::GlpkEngine e = {brmip::solveMipGlpk};
  return &e;
}
