// Temporary stand-ins for routines of other subsystems that have not landed yet.
#include <cstdio>
#include <cstring>
#include "store/master.h"
#include "store/pending_store.h"
