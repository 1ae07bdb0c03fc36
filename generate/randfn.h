// Random and quasi-random numbers: one multiplicative congruential generator (modulus
// 2^31 - 1, multiplier 742938285) behind every draw, so a seed gives the same stream
// everywhere. Pure routines with no state: the solver library compiles this file as well.
#pragma once
#include <cstdint>

// Advances the seed one step and returns seed * 4.656612875e-10. A seed of 0 stays 0.
double BRrand(int32_t* seed);

// n stratified points of dimension dim into points (point by point, all in [0, 1)),
// drawing from seed; strata holds dim integers and scratch up to n doubles. Returns 0.
int32_t BRqrand(int32_t n, int32_t dim, double* points, int32_t* seed, int32_t* strata,
                double* scratch);
// The same with n and dim passed by reference.
int32_t BRQRANDF_(const int32_t* n, const int32_t* dim, double* points, int32_t* seed,
                  int32_t* strata, double* scratch);

// The draw behind @RAND: the seed becomes its own fractional part (of its magnitude) and
// one uniform number comes from it.
void randlf_(double& seed, double& result);
