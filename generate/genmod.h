// The generation driver.
#pragma once
#include <cstdint>
#include "store/master.h"
#include "store/work.h"

// Compiles the stored model, builds its sets and (later) generates the model; true when a
// generated model is in place.
int32_t genmod_(Work& W, MasterRecord& L);
