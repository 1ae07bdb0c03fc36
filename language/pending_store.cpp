// Temporary stand-ins until the set table and the database login store land.
#include <cstring>
#include "store/master.h"
#include "store/pending_store.h"

void freesort_(Work& a, MasterRecord& L) {}
void clrdbs_(char* text, int32_t& len, int32_t width) {
  std::memset(text, ' ', (size_t)width);
  len = 0;
}
