// Temporary stand-ins until the solver bindings land.
#include "store/master.h"
#include "store/pending_store.h"

void resetsolverstatus_(MasterRecord& L) {}
void freematrix_(MasterRecord& L) {}
void timeout_(MasterRecord& L, int32_t& result) { result = 0; }
