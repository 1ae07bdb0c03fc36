// Temporary declarations of routines of the work store and the file and line-output layer
// that the model text routines use; each goes away as soon as its real owner lands.
#pragma once
#include <cstdint>
#include <string_view>

#include "store/store.h"

struct MasterRecord;
struct Work;


// files, terminal, line output, line input, messages
int32_t FOPEN_(const char* name, const char* mode);
int32_t FCLOSE_(int32_t& h);
int32_t FGETS_(char* buf, int32_t n, int32_t h);
int32_t FEOF_(int32_t h);
char* FULLPATH_(char* buf, const char* name);
int32_t lprint_(MasterRecord& L, int32_t unit, const char* line, int32_t len);
int32_t lprint_(MasterRecord& L, int32_t unit, std::string_view line);
int32_t blankl_(MasterRecord& L, int32_t unit, int32_t n);
void gettxt_(MasterRecord& L, const char* prompt, int32_t npairs, char* line, int32_t limit, int32_t& pos,
             int32_t& len, int32_t mode);
void lunget2_(MasterRecord& L, int32_t& h, int32_t mode);
void getnum_(MasterRecord& L, int32_t& status, double& value);
void getsgn_(MasterRecord& L, double& sign);
void errmsh_(Work& W, MasterRecord& L, int32_t n);

// Terminal streams (tests redirect them).
#include <cstdio>
void trmstreams_(FILE* in, FILE* out, FILE* err);
