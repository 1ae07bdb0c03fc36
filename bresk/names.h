// Names of rows and variables, with the default names when none were loaded.
#ifndef BRESK_NAMES_H
#define BRESK_NAMES_H

#include "bresk/internal.h"

#include <string>

namespace bresk {

// Variable j's name ("C0000001" ... by default).
std::string var_name(const BRmodel* m, int j);
// Row i's name; i = -1 the objective ("OBJ" by default), else "R0000001" ...
std::string row_name(const BRmodel* m, int i);

} // namespace bresk

#endif
