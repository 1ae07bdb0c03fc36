// Temporary stand-ins until the database login store lands.
#include <cstring>
#include "store/master.h"
#include "store/pending_store.h"

void clrdbs_(char* text, int32_t& len, int32_t width) {
  std::memset(text, ' ', (size_t)width);
  len = 0;
}
