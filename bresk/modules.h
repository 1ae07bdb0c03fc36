// The library's engine modules: shared objects beside the library, each mapped at the first
// solve that needs its engine, so that a session maps only the packages its models use.
#ifndef BRESK_MODULES_H
#define BRESK_MODULES_H
#include "bresk/mip.h"

namespace bresk {

// Loads the module `file` from this library's own folder and returns the table that its
// extern "C" routine `entry` gives, or null when the module or the routine cannot be had.
const void* moduleTable(const char* file, const char* entry);

// GLPK's branch-and-cut: libbresk_glpk.so, entry bresk_glpk_engine.
struct GlpkEngine {
  decltype(&brmip::solveMipGlpk) solve;
};
// Cbc's branch-and-cut: libbresk_cbc.so, entry bresk_cbc_engine.
struct CbcEngine {
  decltype(&brmip::solveMipCbc) solve;
};

}  // namespace bresk
#endif
