// SMPS and SMPI: the generated model written by the solver library as an MPS file or as
// an instruction-list (MPI) file. The library writes to the scratch file of the program's
// file writer; the target is replaced only when the whole file has been written.
#include <cstdio>
#include <cstring>
#include <string>

#include "generate/genmod.h"
#include "language/reader.h"
#include "reports/exchange.h"
#include "session/session.h"
#include "solver/bindings.h"
#include "solver/solver.h"
#include "store/io.h"

namespace {

// Reports a failed library call: the code, the routine and the library's text.
void apierror(Work& W, MasterRecord& L, int32_t code, const char* routine) {
  L.ERRARG = code;
  std::snprintf(L.ERRSTR, sizeof L.ERRSTR, "%s", routine);
  errmsh_(W, L, 191);
}

// The library writes the file of that kind; result its code.
int32_t writefile(MasterRecord& L, const char* file, int32_t kind) {
  BRmodel* m = modelptr_(L.MODELHANDLE);
  return kind == 1 ? BRwriteMPSFile(m, file, 0) : BRwriteMPIFile(m, file);
}

}  // namespace

// Writes the loaded model to the file; 0 on success, else the library's code (-1 with no
// model).
int32_t dosmp_(Work& W, MasterRecord& L, const char* fname, int32_t kind) {
  if (!hasmodel_(L)) {
    errmsh_(W, L, 5);
    return -1;
  }
  int32_t st = 0;
  loadnames_(W, L, L.RCMPSN, st);
  if (st == 1) {
    errmsh_(W, L, 0);
    return 0;
  }
  if (st == 2) {
    errmsh_(W, L, 191);
    return L.ERRARG;
  }
  // the file's one writer chooses where the library writes: the file is replaced only when
  // the whole of it was written, and a target that may not be replaced is refused
  int32_t h = FOPENNEW_(fname);
  if (h == 0) {
    errmsh_(W, L, 195);
    return BRERR_FILE_WRITE;
  }
  const char* temp = FNEWNAME_(h);
  int32_t r = writefile(L, temp, kind);
  if (r != 0 && kind == 2) {
    // the instruction list was released: generate once more to have it
    int32_t keep = L.MREGEN;
    L.MREGEN = 2;
    L.MPIGEN = 1;
    genmod_(W, L);
    L.MREGEN = keep;
    L.MPIGEN = 0;
    r = writefile(L, temp, kind);
  }
  if (r != 0) {
    FDROP_(h);
    apierror(W, L, r, kind == 1 ? "BRwriteMPSFile" : "BRwriteMPIFile");
    return r;
  }
  if (FCLOSE_(h) != 0) {
    FDROP_(h);
    errmsh_(W, L, 195);
    return BRERR_FILE_WRITE;
  }
  return 0;
}
