// Probability kernels: golden values, identities and continuity at branch switches.
#include "generate/probfn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

double pcx(double n, double x) { double v, s; brrpcx_(n, x, v, s); return v; }
double ptd(double n, double x) { double v, s; brrptd_(x, n, v, s); return v; }
double pfd(double a, double b, double x) { double v, s; brrpfd_(a, b, x, v, s); return v; }
double pps(double l, double x) { double p, r1, r2, ls, s; cumpoi_(l, x, p, r1, r2, ls, s); return p; }
double ppl(double l, double x) { double p, r1, r2, ls, s; cumpoi_(l, x, p, r1, r2, ls, s); return ls; }
double pel(double a, double s) { double v, t; erlngl_(a, s, v, t); return v; }
double peb(double a, double s) { double v, t; erlngb_(a, s, v, t); return v; }
double pbn(double p, double n, double x) { double v, s; cumbin_(n, p, x, v, s); return v; }
double phg(double N, double G, double n, double x) { double v, s; cumhyg_(N, G, n, x, v, s); return v; }
double pfs(double r, double s, double k) { double v, t; finsrc_(s, k, r, v, t); return v; }
double lgm(double x) { double v, f; logama_(x, v, f); return v; }

// Integral of f over [a, b] by Simpson's rule.
double simpson(const std::function<double(double)>& f, double a, double b, int n = 20000) {
  double h = (b - a) / n, s = f(a) + f(b);
  for (int i = 1; i < n; ++i) s += f(a + i * h) * (i % 2 ? 4 : 2);
  return s * h / 3;
}

}  // namespace

TEST(Probfn, NormalAndLogGamma) {
  EXPECT_DOUBLE_EQ(psnval(0.0), 0.5000000006519356);  // the polynomial, not 0.5 exactly
  EXPECT_EQ(psnval(9.0), psnval(8.0));
  EXPECT_NEAR(psnval(1.96), 0.9750021, 2e-7);
  EXPECT_NEAR(psnval(-1.0) + psnval(1.0), 1.0, 1e-15);
  double zc;
  double p;
  psnrml_(-2.5, p, zc);
  EXPECT_EQ(zc, -2.5);
  const struct { double x, v; } lg[] = {{1, 0}, {2, 0}, {3, std::log(2.0)}, {10, std::log(362880.0)},
                                        {0.5, 0.5723649429247001}, {100, 359.1342053695754}};
  for (auto c : lg) EXPECT_NEAR(lgm(c.x), c.v, 1e-10) << c.x;
  double v, f;
  logama_(0.0, v, f);
  EXPECT_EQ(v, 16.635549545288086);
  EXPECT_GT(f, 0.0);
  logama_(2.0, v, f);
  EXPECT_EQ(f, 0.0);
  // Continuity where the shift stops (x = 7).
  EXPECT_NEAR(lgm(7.0 - 1e-9), lgm(7.0), 1e-8);
}

TEST(Probfn, PoissonAgainstDirectSums) {
  for (double lam : {0.5, 2.5, 10.0, 37.2}) {
    for (int x : {0, 1, 3, 12}) {
      double c = 0, l = 0;
      for (int k = 0; k <= x; ++k) c += std::exp(-lam + k * std::log(lam) - std::lgamma(k + 1.0));
      for (int k = 0; k <= x; ++k) l += (x - k) * std::exp(-lam + k * std::log(lam) - std::lgamma(k + 1.0));
      double z = (x - lam) / std::sqrt(lam);
      if (z <= -5) c = 0;
      EXPECT_NEAR(pps(lam, x), c, 1e-9) << lam << " " << x;
      if (z > -5) {
        EXPECT_NEAR(ppl(lam, x), lam - x + l, 1e-8) << lam << " " << x;
      }
    }
  }
  EXPECT_NEAR(pps(2, 1.5), (pps(2, 1) + pps(2, 2)) / 2, 1e-15);
  EXPECT_EQ(pps(-1, 3), -1000.5);
  EXPECT_EQ(pps(0, 0), 1.0);
  EXPECT_EQ(pps(0, -1), 0.0);
  EXPECT_EQ(ppl(0, -1), 1.0);
  EXPECT_EQ(pps(10, 100), 1.0);  // z >= 6 with lam above 6
}

TEST(Probfn, ErlangAgainstRecurrence) {
  // Erlang B by B(0) = 1, B(k) = A B(k-1) / (k + A B(k-1)); C = s B / (s - A (1 - B)).
  for (double a : {0.5, 3.0, 8.0, 20.0}) {
    double b = 1.0;
    for (int s = 1; s <= 30; ++s) {
      b = a * b / (s + a * b);
      if (b < 1e-12) break;
      if (s > 6 && (s - a) / std::sqrt(a) >= 6) {  // cut off to 0 far in the tail
        EXPECT_EQ(pel(a, s), 0.0);
        continue;
      }
      EXPECT_NEAR(pel(a, s), b, 1e-12) << a << " " << s;
      if (s > a) {
        EXPECT_NEAR(peb(a, s), s * b / (s - a * (1 - b)), 1e-12) << a << " " << s;
      }
    }
  }
  EXPECT_EQ(pel(3, 0), 1.0);
  EXPECT_EQ(pel(0, 4), 0.0);
  EXPECT_EQ(peb(5, 5), 1.0);
  EXPECT_EQ(pel(-1, 2), -10.0);
  // Interpolation between whole server counts.
  EXPECT_GT(pel(3, 2.25), pel(3, 3));
  EXPECT_LT(pel(3, 2.25), pel(3, 2));
}

TEST(Probfn, BinomialAndHypergeometric) {
  for (double p : {0.1, 0.3, 0.5, 0.9}) {
    for (int x : {0, 2, 5, 9}) {
      double c = 0;
      for (int k = 0; k <= x; ++k)
        c += std::exp(std::lgamma(11.0) - std::lgamma(k + 1.0) - std::lgamma(11.0 - k) +
                      k * std::log(p) + (10 - k) * std::log(1 - p));
      EXPECT_NEAR(pbn(p, 10, x), c, 2e-8) << p << " " << x;
    }
  }
  EXPECT_EQ(pbn(0.5, 10, 10), 1.0);
  EXPECT_EQ(pbn(1.5, 10, 3), -150.5);
  EXPECT_NEAR(pbn(0.3, 10.5, 3), 0.5 * pbn(0.3, 10, 3) + 0.5 * pbn(0.3, 11, 3), 1e-15);
  // Population 20, 7 marked, 5 drawn.
  auto lc = [](double n, double k) { return std::lgamma(n + 1) - std::lgamma(k + 1) - std::lgamma(n - k + 1); };
  for (int x : {0, 1, 2, 3, 4}) {
    double c = 0;
    for (int k = 0; k <= x; ++k) c += std::exp(lc(7, k) + lc(13, 5 - k) - lc(20, 5));
    EXPECT_NEAR(phg(20, 7, 5, x), c, 1e-12) << x;
  }
  double v, s;
  cumhyg_(10, 4, 3, 5, v, s);
  EXPECT_EQ(v, 1.0);
  EXPECT_NE(s, 0.0);
  cumhyg_(0, 0, 0, 0, v, s);  // empty population: no NaN
  EXPECT_EQ(v, 1.0);
  EXPECT_FALSE(std::isnan(s));
}

TEST(Probfn, FiniteSource) {
  double v, s;
  finsrc_(2, 0, 0, v, s);  // no sources, no load
  EXPECT_EQ(v, 0.0);
  EXPECT_FALSE(std::isnan(v));
  finsrc_(2, 3, 0, v, s);
  EXPECT_EQ(v, 0.0);
  // One server, two sources: states 0, 1, 2 with weights 1, r, r^2/2.
  for (double r : {0.2, 0.5, 1.0}) {
    double w0 = 1, w1 = r, w2 = r * r / 2;
    EXPECT_NEAR(pfs(r, 1, 2), (w1 + 2 * w2) / (w0 + w1 + w2), 1e-12) << r;
  }
  // Two servers, five sources, between whole source counts: interpolated.
  EXPECT_NEAR(pfs(1.5, 2, 5.5), 0.5 * pfs(1.5, 2, 5) + 0.5 * pfs(1.5, 2, 6), 1e-12);
  EXPECT_LT(pfs(-1, 1, 2), 0.0);
}

TEST(Probfn, ContinuousDistributions) {
  // Identities outside the cut-off zones.
  for (double x : {0.1, 1.0, 3.0, 7.5, 11.9}) EXPECT_DOUBLE_EQ(pcx(2, x), 1 - std::exp(-x / 2)) << x;
  for (double x : {-30.0, -2.0, 0.0, 0.7, 5.0}) EXPECT_NEAR(ptd(1, x), 0.5 + std::atan(x) / M_PI, 1e-15) << x;
  for (double x : {0.2, 1.0, 4.0}) {
    EXPECT_NEAR(pfd(2, 2, x), x / (1 + x), 1e-14);
    EXPECT_NEAR(pfd(1, 1, x), 2 / M_PI * std::atan(std::sqrt(x)), 1e-14);
    EXPECT_NEAR(ptd(2, x), 0.5 + x / (2 * std::sqrt(2 + x * x)), 1e-14);
  }
  EXPECT_EQ(pcx(2, 12), 1.0);  // hard cut-off
  EXPECT_EQ(pcx(0.5, 1), -0.5);
  EXPECT_EQ(pfd(3, 3, 0), 0.0);
  EXPECT_EQ(pfd(0.5, 3, 1), -0.5);
  // Against the integrated densities for integer degrees of freedom.
  for (int n : {3, 4, 7}) {
    double x = 2.5;
    double cx = simpson([&](double t) { return t <= 0 ? 0 : std::exp((n / 2.0 - 1) * std::log(t) - t / 2 - n / 2.0 * std::log(2.0) - std::lgamma(n / 2.0)); }, 1e-12, x);
    EXPECT_NEAR(pcx(n, x), cx, 2e-7) << n;
    double ct = 0.5 + simpson([&](double t) { return std::exp(std::lgamma((n + 1) / 2.0) - std::lgamma(n / 2.0) - 0.5 * std::log(n * M_PI) - (n + 1) / 2.0 * std::log1p(t * t / n)); }, 0, 1.3);
    EXPECT_NEAR(ptd(n, 1.3), ct, 1e-9) << n;
    for (int m : {2, 3, 5}) {
      double cf = simpson([&](double t) { return t <= 0 ? 0 : std::exp(0.5 * m * std::log((double)m / n) + (m / 2.0 - 1) * std::log(t) - (m + n) / 2.0 * std::log1p(m * t / n) + std::lgamma((m + n) / 2.0) - std::lgamma(m / 2.0) - std::lgamma(n / 2.0)); }, 1e-9, 1.7, 200000);
      EXPECT_NEAR(pfd(m, n, 1.7), cf, 1e-8) << m << " " << n;
    }
  }
  // Fractional degrees of freedom interpolate between the neighbours.
  EXPECT_NEAR(pcx(3.25, 2.0), 0.75 * pcx(3, 2.0) + 0.25 * pcx(4, 2.0), 1e-15);
  EXPECT_NEAR(ptd(3.5, 1.0), 0.5 * ptd(3, 1.0) + 0.5 * ptd(4, 1.0), 1e-15);
  // the F kernel weighs its neighbours by the fraction in single precision
  const double f1 = (double)(float)0.1, w = pfd(2, 3, 1.7) * (1 - f1) + pfd(3, 3, 1.7) * f1;
  EXPECT_NEAR(pfd(2.1, 3, 1.7), w, 1e-15);
  EXPECT_GT(std::fabs(pfd(2.1, 3, 1.7) - (pfd(2, 3, 1.7) * 0.9 + pfd(3, 3, 1.7) * 0.1)), 1e-12);
  // Continuity at the switches: the t kernel at 99999 against the normal, the chi-square
  // sums by products (x <= 40) and by logarithms, the F kernel against the chi-square.
  EXPECT_NEAR(ptd(99999, 1.0), ptd(100000, 1.0), 1e-5);
  // (the odd product form keeps its 9-digit constant for 1/sqrt(pi), hence the wider band)
  EXPECT_NEAR(pcx(50, 40.0), pcx(50, 40.0 + 1e-9), 1e-10);
  EXPECT_NEAR(pcx(51, 40.0), pcx(51, 40.0 + 1e-9), 1e-7);
  EXPECT_NEAR(pfd(2, 1499.9, 1.3), pfd(2, 1500, 1.3), 2e-3);
}
