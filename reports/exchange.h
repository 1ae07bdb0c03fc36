// Data exchange: MPS import into model text, MPS-style names and lines, the output operations
// with their text, pointer, database and spreadsheet destinations.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "store/master.h"
#include "store/work.h"

// ---- MPS-style name compaction and line writer (mpsline.cpp) ----
// Compacts the name in the first len characters of text to an 8-character MPS name, in
// place; len becomes the new length, shortened 1 when characters had to go.
void lcmptx_(char* text, int32_t& len, int32_t& shortened);
// Prints one MPS data line: code, two 8-character names and the value ("?" when bit 0 of
// the nonlinear flag is set). line has room for 200 characters.
void lotmps_(MasterRecord& L, char* line, int32_t unit, const char* code, const char* name1,
             const char* name2, double value, int32_t nonlinear);

// ---- MPS import (rmps.cpp) ----
// RMPS (fixed 1) and FRMPS (fixed 0).
void dormps_(MasterRecord& L, Work& W, int32_t fixed);
// Reads the file name after the command word (prompting when none); length 0 when empty.
void getcomfil_(MasterRecord& L, char* name, int32_t& length);
// The import: status 0 done, 1 to 5 failures (the message is printed).
void loadmps_(Work& W, MasterRecord& L, const char* name, int32_t format, int32_t& status);
// Text of a number's magnitude as the import writes it ("2.5", "3", "0.1E+31").
void prtnum_(double value, char* text, int32_t& length);
std::string prtnum_(double value);
// Default name k of n with a one-letter prefix, zero-padded to the width of n.
std::string usendx_(char prefix, int32_t n, int32_t k);

// ---- MPS and MPI writing (smps.cpp) ----
// Writes the loaded model as an MPS file (kind 1) or an MPI file (kind 2); 0 on success,
// else the library's code after its message (-1 when there is no model).
int32_t dosmp_(Work& W, MasterRecord& L, const char* fname, int32_t kind);

// ---- database and spreadsheet export drivers (dbexport.cpp) ----
void xtrstr_(const char* source, char* target, int32_t& length);
void loadname_(int32_t n, const char* names, const int32_t* ends, char* target, int32_t& length);
// Groups of a 1-based range list (groups of entries each ended by 0, the list ended by an
// empty group) from position start on.
int32_t nrangelistcount_(const int32_t* list, int32_t start);
void odbcrep_(MasterRecord& L, const char* dsrc, int32_t dslen, const char* table, int32_t tablen,
              int32_t columns, const char* colnames, int32_t modellen, int32_t dblen);
void olerep_(MasterRecord& L, const char* workbook, int32_t nranges, const char* names, const int32_t* ends,
             int32_t found, int32_t mismatches, int32_t values);
void olerep2_(MasterRecord& L, const char* workbook, const char* range, int32_t rangelen, int32_t cells,
              int32_t values, int32_t erased);
// Database export of npairs attribute/column pairs (NUL-separated name lists).
void odbcexp_(Work& W, MasterRecord& L, int32_t npairs, const char* dsrc, int32_t dslen, const char* table,
              int32_t tablen, const char* attrs, const char* cols, int32_t& status);
// Spreadsheet export to the named workbook.
void exportx_(Work& W, MasterRecord& L, const char* workbook, int32_t& status);

// ---- row-name information and pointer output (outvals.cpp) ----
// Slack, dual, allowable increase and decrease of every generated row of row name rn, in
// four real blocks 1 .. count (grown from cap, shrunk to count; released when count is 0).
// Status 0; 1 not a row name; 2 no storage; 3 more than 32 set indices; 4 done, but a row
// was removed from the solver's model (its range values are 0).
void getrownameinfo_(Work& W, MasterRecord& L, int32_t rn, int32_t& slk, int32_t& dul, int32_t& inc,
                     int32_t& dec, int32_t& count, int32_t& cap, int32_t& status);
// Element values of a model object (kind as the name lookup gives it: 2 row name, 4
// attribute, 5 scalar) for an output modifier (0 value, 1 dual, 2 and 3 the allowable
// increase and decrease), chopped. -1 when done, else the message that refuses it (102,
// 140, 184, 141, 142, 0); removed tells that rows of a row name left the solver's model.
int32_t outvalues_(Work& W, MasterRecord& L, int32_t kind, int32_t index, int32_t mod,
                   std::vector<double>& out, bool& removed);
// Message 102 naming an object that the model does not hold.
void unknownname_(Work& W, MasterRecord& L, const std::string& name);
// Values of object k of n (name of up to 32 characters, name type) into the real block at
// places (e - 1) * n + k; count is the last place written. Status as the output
// operations read it: 0 go on, 3 storage, 4 ranges on a removed row, 6 row name unreadable.
void ptrput2_(Work& W, MasterRecord& L, int32_t& block, int32_t& cap, const char* name, int32_t type, int32_t k,
              int32_t n, int32_t& count, int32_t& status);
// Pointer output of one object, or of the status code for type -1. Status 0; 2 unknown name
// or invalid pointer; 3 storage; 4 no duals; 5 ranges on a removed row; 6 row name
// unreadable; 7 ranges disabled.
void ptrput_(Work& W, MasterRecord& L, int32_t ptrno, const char* name, int32_t type, int32_t& status);

// ---- text-file export and the output operations (outops.cpp) ----
// The @TEXT table of n named objects (types of the output list; 13 a text literal, whose
// "name" is the literal) to the file (empty: the current output unit), appending for access
// 'A'/'a'; n = -1 writes the status code. Status 0, or positive (storage, a row name that
// cannot be read) to end the run; other failures print their message and leave 0.
void exportf_(Work& W, MasterRecord& L, const std::string& file, int32_t n, const std::vector<std::string>& names,
              const std::vector<int32_t>& types, char access, int32_t& status);
