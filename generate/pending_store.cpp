// Temporary stand-ins until model generation and its date routine land.
#include "store/master.h"
#include "store/pending_store.h"

void freescalarlists_(MasterRecord& L) {}
void dmy2d_(int32_t& day, int32_t& month, int32_t& year, int32_t& dayno, int32_t& weekday) {
  dayno = 0;
}
