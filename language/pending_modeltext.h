// Routines of the work store and the file and line-output layer that the model text
// routines use.
#pragma once
#include "store/io.h"
#include "store/store.h"
