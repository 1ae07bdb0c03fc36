// Interface between the statement compiler and its callers.
#pragma once
#include "language/lang.h"

// Error number of a failure whose message has already been printed (by the set builder).
constexpr int32_t CMPERR_REPORTED = 100000;
