// The reports on the generated and solved model: the solution report, the range report,
// the model statistics, the matrix picture and the display of the generated model.
#pragma once
#include <cstdint>
#include "store/master.h"
#include "store/work.h"

// ---- solution report ----
// Values of every variable and row (all = 1) or the nonzero variables and binding rows
// (all = 0); a heading text gives bare values under it; a key selects names.
void outsol_(Work& W, MasterRecord& L, int32_t all, const char* text, int32_t textlen,
             const char* key, int32_t keylen);
// One variable line when its name matches the key; prints the column heading first while
// bit 0 of head is clear (and sets head to -1); names = 0 gives a value-only line.
void pvline_(Work& W, MasterRecord& L, int32_t v, int32_t dual, const char* key,
             int32_t keylen, int32_t& head, int32_t names);
// Right-justifies the first n characters of text in place.
void rtjust_(char* text, int32_t n);
// -1 when the name matches the key (blanks and letter case ignored; a key may leave off
// the subscripts of an attribute name), else 0.
int32_t cmpnam_(const char* key, const char* name, int32_t keylen, int32_t namelen);

// ---- range report ----
void range_(Work& W, MasterRecord& L);
// One line of the range report: a positive index is a variable, a negative one a row.
void prline_(Work& W, MasterRecord& L, int32_t w, int32_t index, double current, double inc,
             double dec, int32_t nonlinear);

// ---- the DATA section's output operations after a solve ----
void runoutops_(Work& W, MasterRecord& L);

// ---- model statistics (STATS) ----
void dostats_(Work& W, MasterRecord& L);
void statsdrvr_(Work& W, MasterRecord& L, int32_t mode, int32_t& status);

// ---- matrix picture (PICTURE) ----
void dopic_(Work& W, MasterRecord& L);
// Magnitude character of a coefficient.
char piccoef_(double value);

// ---- display of the generated model (GEN) ----
void displaygeneratedmodel_(Work& W, MasterRecord& L);
