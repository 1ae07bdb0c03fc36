// Stand-in for the diagnosis of infeasible and unbounded models until it lands.
#include "session/session.h"
#include "solver/solver.h"

void dodebug_(Work& W, MasterRecord& L) { errmsh_(W, L, 152); }
