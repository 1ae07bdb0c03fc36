// The table of report entries filled by the reports at start.
#include "solver/reporthooks.h"

// Returns the one table of report entries.
ReportHooks& reporthooks_() {
  static ReportHooks hooks;
  return hooks;
}
