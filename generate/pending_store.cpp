// Temporary stand-ins until model generation and its date routine land.
#include "store/master.h"
#include "store/pending_store.h"

void freescalarlists_(MasterRecord& L) {}
