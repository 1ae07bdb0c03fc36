// Temporary stand-in until the parameter table lands.
#include "store/master.h"
#include "store/pending_store.h"

void defparam_(MasterRecord& L) {}
