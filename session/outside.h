/* Entry points for a program that embeds QUIRN and holds its master record and work
 * array: the stored model text, the solver row of a model row, and single session values
 * got or set by a numeric code. Callable from C. */
#ifndef QUIRN_OUTSIDE_H
#define QUIRN_OUTSIDE_H
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct MasterRecord;
struct Work;

/* Characters getmodel_ needs for the model text. */
void getmodelsize_(struct Work* work, struct MasterRecord* m, int32_t* size);
/* Copies the stored lines into buffer, each followed by CR and LF, and ends with a NUL. */
void getmodel_(struct Work* work, struct MasterRecord* m, char* buffer);
/* The solver library's row of model row `row`; -1 when there is none. */
int32_t mod2lp_(struct Work* work, struct MasterRecord* m, int32_t row);

/* Results of linktoquir_. */
enum {
  LINK_DONE = 0,     /* the value was got or set (or a get-only code ignored a set) */
  LINK_BADCODE = 1,  /* no such code */
  LINK_REFUSED = 2   /* a field that only the system itself sets */
};
/* mode 1 sets the field of code from the value argument of its type, any other mode gets
 * it into that argument; integer fields use ivalue, real fields rvalue. */
int32_t linktoquir_(struct Work* work, struct MasterRecord* m, int32_t mode, int32_t code, double* rvalue,
                    int32_t* ivalue);

#ifdef __cplusplus
}
#endif
#endif
