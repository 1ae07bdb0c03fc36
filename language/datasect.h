// The statements of DATA and INIT sections as the statement compiler hands them over token by
// token: data statements (value lists, "?" values, skipped places, set members, ranges,
// interface functions that supply values) and output statements, which are recorded in the
// output-operation list. Every routine returns 0 or a compiler error number.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "language/values.h"

struct DataColumn {
  int32_t obj = 0;      // attribute, scalar variable or set
  int32_t objkind = 0;  // 1 set, 4 attribute, 5 scalar variable
  int32_t var = 0;      // variable of the column's next element
  int32_t stride = 1;   // distance between the variables of successive elements
  int32_t kind = NTFIX; // NTFIX, or NTSETP / NTSETD for a column of set members
  int32_t pset = 0;     // primitive set of a member column; owner of an attribute column
  int64_t nelem = 0;    // elements of the column
  int64_t got = 0;      // values placed so far
  int32_t firstkind = 0;  // the first value: 1 a number, 2 "?", 3 skipped
  double firstval = 0.0;
};

struct DataSection {
  Work& W;
  MasterRecord& L;
  bool init = false;  // INIT section: starting values only

  // data statement
  std::vector<DataColumn> cols;
  std::vector<int32_t> defsets;  // sets given members by the statement
  int32_t parent = 0;
  bool mixed = false;
  int64_t expected = 0;
  int64_t nvals = 0;    // values read so far
  int32_t minus = 0;    // "-" signs before the next number
  bool supplied = false;  // an interface function supplied the values
  bool ranged = false;    // the members were given as a range
  std::vector<std::string> heldnames;             // member names in reading order
  std::vector<std::pair<int32_t, double>> held;   // values of a set-defining statement
  // interface function on the right
  int32_t infunc = 0;  // its token
  std::vector<std::string> args;
  int32_t seed = 0;

  // output statement
  int32_t okind = 0;  // 1 @TEXT, 2 @OLE, 3 @ODBC, 5 @POINTER
  int32_t modifier = 0;
  int32_t nfunc = 0;
  int32_t codestart = 0;
  std::vector<int32_t> onum, otype, oowner, okindl;

  DataSection(Work& w, MasterRecord& l, bool isinit) : W(w), L(l), init(isinit) {}

  void begin();
  int32_t lhs_name(const char* name, int32_t len);
  int32_t equals();
  void sign(bool neg) { minus += neg ? 1 : 0; }
  int32_t number(double v);
  int32_t question();
  int32_t skip();
  int32_t member(const char* name, int32_t len);
  int32_t range_end(const char* name, int32_t len);
  int32_t end();
  int32_t in_open(int32_t tok);
  int32_t in_arg(const char* text, int32_t len);
  int32_t in_empty_first();
  int32_t in_close();
  int32_t qrand_open();
  int32_t qrand_int(double v);
  int32_t qrand_name(const char* name);
  int32_t qrand_close();
  int32_t out_open(int32_t tok);
  int32_t out_arg(const char* text, int32_t len) { return in_arg(text, len); }
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
  int32_t place(DataColumn& c, int32_t vkind, double v);
  int32_t new_scalar(const char* name, int32_t len, int32_t& v);
  int32_t runtime(int32_t v);
  int32_t gate(int32_t tok);
  int32_t finish_defined();
  int32_t text_input();
  int32_t pointer_input();
  int32_t ops_room(int64_t need);
  int32_t put(int32_t w);
  int32_t put_text(const std::string& t);
  int32_t text_args(bool objectForm);
  int32_t record_end();
};
