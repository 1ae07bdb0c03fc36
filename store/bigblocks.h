// Large blocks on large pages (see bigblocks.cpp).
#pragma once
#include <cstddef>

// Size from which a block is marked for huge pages.
constexpr size_t BIGBLOCK = size_t(4) << 20;

// Marks the whole 2 MB stretches of a block of n bytes at p for transparent huge pages.
void bigblock_(void* p, size_t n);
