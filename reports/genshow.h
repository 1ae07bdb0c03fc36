// Pieces of the generated-model display that its tests reach.
#pragma once
#include <cstdint>
#include <string>
#include "store/master.h"
#include "store/work.h"

// Copies a name keeping A..Z and digits, dropping blanks and ")", turning every other
// character into "_", and putting "_" before a leading digit; length in/out.
void legalname_(const char* name, char* out, int32_t& length);
// Algebraic text of one row's scalar code (words 0..n-1, constants pool[0..npool-1]):
// sense 1 or -1 for the objective ("MIN= "/"MAX= " first), type 'L', 'E' or 'G' for a
// constraint (a final MINUS becomes the relation). 0 done; 3 the code cannot be shown
// (an unknown code, a malformed list or more than 256 pending objects).
int32_t codetotext_(Work& W, MasterRecord& L, const int32_t* words, int32_t n, const double* pool,
                    int32_t npool, int32_t sense, char type, std::string& text);
// Prints a row's text after its name in brackets, wrapped before LINLEN - 12.
void displayrow_(MasterRecord& L, const std::string& name, const std::string& text);
// Shows generated row i as GEN does; status nonzero when it cannot be shown.
void displaygeneratedrow_(Work& W, MasterRecord& L, int32_t i, int32_t& status);
