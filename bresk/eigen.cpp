// The eigenvalues of a symmetric matrix by LAPACK, for the convexity test of quadratic rows
// (in Clp's module, which maps LAPACK with Clp).
#include "bresk/modules.h"

#include <algorithm>
#include <vector>

extern "C" void dsyev_(const char* jobz, const char* uplo, const int* n, double* a, const int* lda,
                       double* w, double* work, const int* lwork, int* info);

namespace bresk {

int lapack_eigenvalues(int n, double* h, double* w) {
  int lwork = -1, info = 0;
  double wq;
  dsyev_("N", "L", &n, h, &n, w, &wq, &lwork, &info);
  lwork = std::max(1, static_cast<int>(wq));
  std::vector<double> work(lwork);
  dsyev_("N", "L", &n, h, &n, w, work.data(), &lwork, &info);
  return info;
}

}  // namespace bresk
