// Temporary stand-ins for file-layer routines that have not landed yet.
#include <unistd.h>

#include <cstring>

#include "language/pending_modeltext.h"

char* FULLPATH_(char* buf, const char* name) {
  if (!getcwd(buf, 1024)) return nullptr;
  std::strcat(buf, "/");
  std::strcat(buf, name);
  return buf;
}
