// Bindings to the solver library. Handles of the library live in tables inside this
// layer; the program holds small integer ids (ENVHANDLE, MODELHANDLE, 0 = none). Every
// binding takes its arguments by reference and returns the library's result unchanged.
#pragma once
#include <cstdint>

#include "bresk/bresk.h"

struct MasterRecord;

// The library objects behind ids (nullptr for 0 or an unknown id), and ids for new objects.
BRenv* envptr_(int32_t id);
BRmodel* modelptr_(int32_t id);
int32_t envid_(BRenv* env);        // enters an environment; 0 when the table is full
int32_t modelid_(BRmodel* model);  // enters a model; 0 when the table is full

int32_t FBRCREATEENVPRODCODE_(int32_t& prodcode, int32_t& err);  // result: the new id
int32_t FBRDELETEENV_(int32_t& env);
int32_t FBRCREATEMODEL_(int32_t& env, int32_t& err);  // result: the new id
int32_t FBRDELETEMODEL_(int32_t& model);
int32_t FBRGETVERSIONINFO_(char* ver, char* build);
int32_t FBRGETERRORMESSAGE_(int32_t& env, int32_t& code, char* text);
int32_t FBRSETENVINTPARAMETER_(int32_t& env, int32_t& id, int32_t& value);
int32_t FBRSETENVDOUPARAMETER_(int32_t& env, int32_t& id, double& value);
int32_t FBRSETMODELINTPARAMETER_(int32_t& model, int32_t& id, int32_t& value);
int32_t FBRSETMODELDOUPARAMETER_(int32_t& model, int32_t& id, double& value);
int32_t FBRGETDIMENSIONS_(int32_t& model, int32_t& nvars, int32_t& ncons, int32_t& nlin,
                          int32_t& nnlcon, int32_t& nqc, int32_t& nnlobj, int32_t& nint,
                          int32_t& nnlrows);

// ---- session services of the solver interface ----
int32_t createbresk_(MasterRecord& L);  // 1 when a new environment was created
int32_t deletebresk_(MasterRecord& L);  // 1 when the environment was deleted
void resetsolverstatus_(MasterRecord& L);
void timeout_(MasterRecord& L, int32_t& result);  // result -1 when the time limit has passed
void freematrix_(MasterRecord& L);
// Copies the matrix copy's first three handles into MATBLK1 to MATBLK3.
void matlink_(MasterRecord& L);
void matforget_(MasterRecord& L);  // handles forgotten with the work store

// ---- row-wise linear load ----
int32_t FBRLOADLPINSTROWWISE_(int32_t& model, int32_t& ncons, int32_t& nobj, int32_t& nvars,
                              const char* vartype, const double* lb, const double* ub);
int32_t FBRADDLRWNUMBERS_(int32_t& model, int32_t& n, const double* values);
int32_t FBRADDLRWOBJECTIVE_(int32_t& model, int32_t& sense, int32_t& nwords, const int32_t* words,
                            int32_t& result);
int32_t FBRADDLRWCONSTRAINT_(int32_t& model, char& type, int32_t& nwords, const int32_t* words,
                             int32_t& result);
int32_t FBRBUILDLRWMODEL_(int32_t& model);

// ---- solving, status and information ----
using QuirnCallback = int (*)(BRmodel* model, int location, void* user);
int32_t FBROPTIMIZE_(int32_t& model, int32_t& method);
int32_t FBRSOLVEMIP_(int32_t& model);
int32_t FBRSOLVEGOP_(int32_t& model);
int32_t FBRGETINFOD_(int32_t& model, int32_t& item, double& value);
int32_t FBRGETINFOI_(int32_t& model, int32_t& item, int32_t& value);
int32_t FBRGETSOLUTIONSTATUS_(int32_t& model, int32_t& status);
int32_t FBRGETROWINDEXNUMERICERROR_(int32_t& model, int32_t& row);
int32_t FBRGETPRIMALSOLUTION_(int32_t& model, double* x);
int32_t FBRGETSLACKS_(int32_t& model, double* s);
int32_t FBRGETDUALSOLUTION_(int32_t& model, double* y);
int32_t FBRGETREDUCEDCOSTS_(int32_t& model, double* d);
int32_t FBRGETMIPSOLUTION_(int32_t& model, double* x);
int32_t FBRGETMIPSLACKS_(int32_t& model, double* s);
int32_t FBRGETMIPDUALS_(int32_t& model, double* y);
int32_t FBRGETMIPREDUCEDCOSTS_(int32_t& model, double* d);
// status, objective, bound, then 22 further outputs of the library's call
int32_t FBRGETCURRENTMIPSOLUTIONINFO_(int32_t& model, int32_t& status, double& obj, double& bound);
int32_t FBRSETCALLBACK_(int32_t& model, QuirnCallback cb, MasterRecord* user);
int32_t FBRGETCALLBACKINFOD_(BRmodel* model, int32_t location, int32_t item, double& value);
int32_t FBRGETCALLBACKINFOI_(BRmodel* model, int32_t location, int32_t item, int32_t& value);
int32_t FBRGETQUICKBACKINFOD_(BRmodel* model, int32_t location, int32_t item, double& value);
int32_t FBRGETQUICKBACKINFOI_(BRmodel* model, int32_t location, int32_t item, int32_t& value);
int32_t FBRGETMIPCALLBACKINFOD_(BRmodel* model, int32_t item, double& value);
int32_t FBRGETMIPCALLBACKINFOI_(BRmodel* model, int32_t item, int32_t& value);
int32_t FBRLOADVARSTARTPOINT_(int32_t& model, const double* x);
int32_t SETUSERINSTRUCTCALLBACK_(int32_t& model, MasterRecord* user);

// ---- loading ----
// The whole model as instruction lists; the variable-index list and the start values are
// passed only when their flags are nonzero.
int32_t FBRLOADNLPCODE_(int32_t& model, int32_t& ncons, int32_t& nobj, int32_t& nvars,
                        int32_t& nconst, const int32_t* objsense, const char* rowtype,
                        const char* vartype, const int32_t* code, int32_t& ncode,
                        int32_t& hasvix, const int32_t* varindex, const double* consts,
                        int32_t& hasstart, const double* start, const int32_t* objstart,
                        const int32_t* objlen, const int32_t* rowstart, const int32_t* rowlen,
                        const double* lb, const double* ub);

// ---- model data ----
int32_t FBRGETLPDATA_(int32_t& model, int32_t& sense, double& objconst, double* cost, double* rhs,
                      char* contype, int32_t* colstart, int32_t* collen, double* value,
                      int32_t* rowidx, double* lb, double* ub);
int32_t FBRGETLPBOUNDS_(int32_t& model, double* lb, double* ub);
int32_t FBRGETOBJECTIVEDATA_(int32_t& model, int32_t& sense, double& objconst, double* cost);
int32_t FBRGETNLPDATA_(int32_t& model, int32_t* colstart, int32_t* collen, int32_t* rowidx,
                       int32_t* rowcode, char* rowflag, int32_t* rowstart, int32_t* rowvars);
int32_t FBRGETNLPOBJECTIVEDATA_(int32_t& model, int32_t& n, int32_t* vars);
int32_t FBRGETQCDATA_(int32_t& model, int32_t& n, int32_t* row, int32_t* i, int32_t* j, double* q);
int32_t FBRGETQCDATAI_(int32_t& model, int32_t& row, int32_t& n, int32_t* i, int32_t* j, double* q);
int32_t FBRGETLPCONSTRAINTDATAI_(int32_t& model, int32_t& row, char* type, double& rhs,
                                 int32_t& n, int32_t* col, double* val);
int32_t FBRGETLPCONSTRAINTNZCOUNT_(int32_t& model, int32_t& row, int32_t& n);
int32_t FBRGETVARTYPE_(int32_t& model, char* types);

// ---- names, files, ranges, infeasible and unbounded sets ----
int32_t FBRLOADNAMEDATATTL_(int32_t& model, const char* title);
int32_t FBRLOADNAMEDATAOBJ_(int32_t& model, const char* name);
int32_t FBRLOADNAMEDATAROW_(int32_t& model, const char** names);
int32_t FBRLOADNAMEDATAVAR_(int32_t& model, const char** names);
int32_t FBRREADMPSFILE_(int32_t& model, const char* file, int32_t& format);
int32_t FBRGETFILEERROR_(int32_t& model, int32_t& line, char* text);
int32_t FBRWRITEMPSFILE_(int32_t& model, const char* file, int32_t& format);
int32_t FBRWRITEMPIFILE_(int32_t& model, const char* file);
int32_t FBRWRITEBRESKFILE_(int32_t& model, const char* file);
int32_t FBRGETOBJECTIVERANGES_(int32_t& model, double* dec, double* inc);
int32_t FBRGETCONSTRAINTRANGES_(int32_t& model, double* dec, double* inc);
// each pair of range arrays is asked only when its flag is nonzero
int32_t FBRGETNLPRANGES_(int32_t& model, int32_t& wantrows, double* rowdec, double* rowinc,
                         int32_t& wantvars, double* vardec, double* varinc, int32_t& wantx,
                         double* x1, double* x2);
int32_t FBRFINDIIS_(int32_t& model, int32_t& nsufrows, int32_t& nrows, int32_t* rows,
                    int32_t& nsufbnds, int32_t& nbnds, int32_t* vars, int32_t* bndtype,
                    int32_t& level);
int32_t FBRFINDIUS_(int32_t& model, int32_t& nsuf, int32_t& n, int32_t* vars, int32_t& level);

// ---- calls bound for completeness (nothing in the program uses them) ----
int32_t FBRGETCONSTRAINTDATAI_(int32_t& model, int32_t& row, char* type, double& rhs, int32_t& n,
                               int32_t* col, double* val);
int32_t FBRSETMIPCALLBACK_(int32_t& model, QuirnCallback cb, MasterRecord* user);
int32_t FBRGETMODELINTPARAMETER_(int32_t& model, int32_t& id, int32_t& value);
int32_t FBRGETMIPSOLUTIONSTATUS_(int32_t& model, int32_t& status);
int32_t FBRGETSOLUTIONINFO_(int32_t& model, int32_t& status, double& obj, double& bound,
                            int32_t& iterations);
int32_t FBRGETOBJECTIVE_(int32_t& model, double& obj);
int32_t FBRCREATEENV_(int32_t& err);  // result: the new id
int32_t FBRGETLPOBJECTIVENZCOUNT_(int32_t& model, int32_t& n);
int32_t FBRGETNLPOBJECTIVENZCOUNT_(int32_t& model, int32_t& n);

// ---- names read back and model counts gathered from several calls ----
constexpr int32_t BRQ_NOMEM_COUNT = 2001;  // allocation failed while counting
constexpr int32_t BRQ_NODIMS = 9001;       // dimensions not available while reading names
constexpr int32_t BRQ_NOMEM_NAMES = 9002;  // allocation failed while reading names
// Packs n NUL-terminated names, which lie in buf where ptr points, one after another
// without their NULs from the start of buf; ends[i] = total length of names 0..i.
void Strip0s_(int32_t n, char** ptr, char* buf, int32_t* ends);
// Reads every name of the model back; rowbuf and varbuf must hold all names with their
// NULs. On success both buffers are packed (variables first) and the ends filled.
int32_t FBRGETNAMEDATA_(int32_t& model, char* title, char* objname, char* rhsname, char* rngname,
                        char* bndname, int32_t* rowends, char* rowbuf, int32_t* varends,
                        char* varbuf);
int32_t FBRGETNLPCONSTRAINTCOUNT_(int32_t& model, int32_t& count);
int32_t FBRGETNLPVARCOUNT_(int32_t& model, int32_t& count);
int32_t FBRGETQCVARCOUNT_(int32_t& model, int32_t& count);
int32_t FBRGETQCEXPRESSIONCOUNT_(int32_t& model, int32_t& count);
int32_t FBRGETOBJECTIVENZCOUNT_(int32_t& model, int32_t& count);
