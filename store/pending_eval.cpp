// Temporary stand-ins for the message printer and the answer-line reader.
#include <cstdio>

#include "generate/pending_eval.h"
#include "store/master.h"

void errmsh_(Work& a, MasterRecord& L, int32_t n) {
  if (L.MSGOFF & 1) return;
  L.LASTERR = n;
  std::printf("\n [Error Code: %4d]\n\n", n);
}

void paws_(MasterRecord& L, const char* prompt, int32_t& length) { L.LINEND = 0; }
void getsgn_(MasterRecord& L, double& sign) { sign = 0.0; }
void getnum_(MasterRecord& L, int32_t& status, double& value) {
  status = 1;
  value = 0.0;
}
