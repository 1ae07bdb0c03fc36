// The entry of Cbc's module (libbresk_cbc.so), looked up by the library after loading it.
#include "bresk/modules.h"

// The module's engine table.
extern "C" const void* bresk_cbc_engine() {
  static const bresk::CbcEngine e = {brmip::solveMipCbc};
  return &e;
}
