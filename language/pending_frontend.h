// Temporary declarations of routines and fields that other parts of the system provide.
// Each goes away as soon as its real owner lands.
#pragma once
#include <cstdint>

struct Work;
struct MasterRecord;

struct PendingFrontendFields {};

