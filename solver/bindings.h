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
