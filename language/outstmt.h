// Output statements of DATA sections as the statement compiler hands them over token by token,
// and the @QRAND values of a data statement. Every routine returns 0 or a compiler error.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "language/values.h"

struct OutStmt {
  Work& W;
  MasterRecord& L;
  bool init = false;  // INIT section
  int32_t okind = 0;  // 1 @TEXT, 2 @OLE, 3 @ODBC, 5 @POINTER
  int32_t modifier = 0;  // open output modifier: 1 @DUAL, 2 @RANGEU, 3 @RANGED
  int32_t nfunc = 0;     // output functions (@WRITE, @WRITEFOR) in the statement
  int32_t codestart = 0;  // CODELEN when the right side began
  int32_t seed = 0;       // @QRAND's seed
  std::vector<std::string> args;
  std::vector<int32_t> onum, otype, oowner, okindl;  // the object list

  OutStmt(Work& w, MasterRecord& l, bool isinit) : W(w), L(l), init(isinit) {}

  int32_t gate(int32_t tok);  // availability of an interface function here: 0 or its error
  int32_t qrand_open();
  int32_t qrand_int(double v);
  int32_t qrand_name(const char* name);
  int32_t qrand_close(int32_t ncols, int32_t attr, bool setdefined);
  int32_t out_open(int32_t tok);
  int32_t out_arg(const char* text, int32_t len) {
    args.emplace_back(text, (size_t)(len > 0 ? len : 0));
    return 0;
  }
  int32_t out_empty_first();
  int32_t out_args_done();
  void out_equals();
  int32_t out_name(const char* name);
  void out_comma() { modifier = 0; }
  int32_t out_modifier(int32_t tok);
  int32_t out_modifier_close();
  int32_t out_quoted(const char* text, int32_t len);
  void out_function() { ++nfunc; }
  int32_t out_code(int32_t lastargs);
  int32_t out_end();
  int32_t out_status();
  int32_t section_end();

 private:
  int32_t ops_room(int64_t need);
  int32_t put(int32_t w);
  int32_t put_text(const std::string& t);
  int32_t text_args();
  int32_t record_end();
};
