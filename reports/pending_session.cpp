// Stand-in until the output operations of the DATA section land.
#include "session/session.h"

__attribute__((weak)) void runoutops_(Work&, MasterRecord&) {}
