// Platform services that do nothing on this platform.
#include "store/master.h"
