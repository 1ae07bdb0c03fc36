// Probability and special functions of the modelling language (@PSN, @PPS, @PPL, @PEL,
// @PEB, @PHG, @PFS, @PBN, @PFD, @PCX, @PTD, @LGM). Pure numeric routines with no state:
// the solver library compiles this file as well.
//
// Invalid arguments never stop anything: the value is made negative by a penalty and the
// caller treats that as a failed evaluation. Most routines also give a saturation output,
// nonzero only where the value is pinned at 0 or 1 (or the arguments are invalid); it
// tells how far the argument lies beyond the point where that happens.
#pragma once
#include <cstdint>

// Standard normal distribution P = Phi(z) (five-term polynomial); zout receives z.
void psnrml_(const double& z, double& p, double& zout);
// Phi(z) as a value.
double psnval(double z);

// ln Gamma(x) by the shifted Stirling series; flag nonzero when x is at or below 8e-8.
void logama_(const double& x, double& value, double& flag);

// Poisson with mean lam: P(X <= x), the ratios r1 and r2, the linear loss, saturation.
void cumpoi_(const double& lam, const double& x, double& p, double& r1, double& r2,
             double& loss, double& sat);

// Erlang loss probability with load a and s servers.
void erlngl_(const double& a, const double& s, double& value, double& sat);
// Erlang probability that all s servers are busy, load a (waiting allowed).
void erlngb_(const double& a, const double& s, double& value, double& sat);

// Draws without replacement: population nn, g marked, n drawn, P(X <= x).
void cumhyg_(const double& nn, const double& g, const double& n, const double& x,
             double& value, double& sat);
// Its kernel for an integer number of draws.
void cumhok_(const double& nn, const double& g, const int32_t& n, const double& x,
             double& value, double& sat);

// Finite-source queue: expected number of the k sources in the system, s servers, load r.
void finsrc_(const double& s, const double& k, const double& r, double& value, double& sat);
// Its kernel at an integer number of servers, summing from the start state j.
void srcfin_(const int32_t& s, const double& k, const double& r, const int32_t& j,
             double& result);

// Binomial: n trials with probability p, P(X <= x).
void cumbin_(const double& n, const double& p, const double& x, double& value, double& sat);
// Its kernel for an integer n.
void cumbok_(const int32_t& n, const double& p, const double& x, double& result);

// F distribution P(F <= x) with d1 and d2 degrees of freedom.
void brrpfd_(const double& d1, const double& d2, const double& x, double& value, double& sat);
void bripfd_(const int32_t& i1, const int32_t& i2, const double& x, double& value, double& sat);

// Chi-square distribution P(X <= x) with n degrees of freedom.
void brrpcx_(const double& n, const double& x, double& value, double& sat);
void bripcx_(const int32_t& n, const double& x, double& value);

// Student's t distribution P(T <= x) with n degrees of freedom.
void brrptd_(const double& x, const double& n, double& value, double& sat);
void briptd_(const double& x, const int32_t& n, double& value);
