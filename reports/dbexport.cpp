// Export drivers of the output operations to a database table (@ODBC) and to spreadsheet
// ranges (@OLE), with their summary reports. Both links are platform hooks that do nothing
// here: the database object is never created and the workbook never initialised, so each
// export ends with its message and moves no data.
#include <cstdio>
#include <cstring>
#include <string>

#include "reports/exchange.h"
#include "session/session.h"
#include "store/hooks.h"
#include "store/io.h"

namespace {

// A summary line: the label and an integer right-justified in 7 positions.
void countline(MasterRecord& L, const char* label, int32_t n) { sayf_(L, L.OUTUNIT, "%s%7d", label, n); }

// Up to n characters of a text, stopped at its NUL.
std::string upto(const char* s, int32_t n) {
  int32_t k = 0;
  while (k < n && s[k]) ++k;
  return std::string(s, (size_t)k);
}

// The common head of the summaries.
void summaryhead(MasterRecord& L, const char* method) {
  lprint_(L, L.OUTUNIT, "    Export Summary Report");
  lprint_(L, L.OUTUNIT, "    ---------------------");
  sayf_(L, L.OUTUNIT, "    Transfer Method:       %s", method);
}

}  // namespace

// Copies a NUL-ended item without its NUL; its length.
void xtrstr_(const char* source, char* target, int32_t& length) {
  length = 0;
  while (source[length]) {
    target[length] = source[length];
    ++length;
  }
}

// Name n of a packed list with an end table, upper-cased and NUL-ended.
void loadname_(int32_t n, const char* names, const int32_t* ends, char* target, int32_t& length) {
  int32_t first = n > 1 ? ends[n - 2] + 1 : 1, last = ends[n - 1];
  length = 0;
  for (int32_t p = first; p <= last; ++p) {
    char c = names[p - 1];
    target[length++] = (c >= 'a' && c <= 'z') ? (char)(c - 32) : c;
  }
  target[length] = 0;
}

// Groups of the range list from position start on, up to the first empty group.
int32_t nrangelistcount_(const int32_t* list, int32_t start) {
  int32_t count = 0, p = start, ingroup = 0;
  for (;;) {
    int32_t v = list[p - 1];
    ++p;
    if (v != 0) {
      ingroup = 1;
      continue;
    }
    if (!ingroup) return count;
    ++count;
    ingroup = 0;
  }
}

// Summary of a database export (not printed in terse mode).
void odbcrep_(MasterRecord& L, const char* dsrc, int32_t dslen, const char* table, int32_t tablen,
              int32_t columns, const char* colnames, int32_t modellen, int32_t dblen) {
  if (L.TERSEO == 1) return;
  summaryhead(L, "ODBC BASED");
  sayf_(L, L.OUTUNIT, "    ODBC Data Source:      %s", upto(dsrc, dslen < 200 ? dslen : 200).c_str());
  sayf_(L, L.OUTUNIT, "    Data Table Name:       %s", upto(table, tablen < 200 ? tablen : 200).c_str());
  countline(L, "    Columns Specified:        ", columns);
  for (const char* p = colnames; p && *p; p += std::strlen(p) + 1) sayf_(L, L.OUTUNIT, "        %s", p);
  countline(L, "    QUIRN Column Length:      ", modellen);
  countline(L, "    Database Column Length:   ", dblen);
  blankl_(L, L.OUTUNIT, 1);
}

// Summary of a spreadsheet export to several ranges.
void olerep_(MasterRecord& L, const char* workbook, int32_t nranges, const char* names, const int32_t* ends,
             int32_t found, int32_t mismatches, int32_t values) {
  blankl_(L, L.OUTUNIT, 1);
  summaryhead(L, "OLE BASED");
  sayf_(L, L.OUTUNIT, "    Workbook:              %s", upto(workbook, 170).c_str());
  countline(L, "    Ranges Specified:         ", nranges);
  for (int32_t k = 1; k <= nranges; ++k) {
    char nm[260];
    int32_t len = 0;
    int32_t first = k > 1 ? ends[k - 2] + 1 : 1;
    for (int32_t p = first; p <= ends[k - 1] && len < 255; ++p) nm[len++] = names[p - 1];
    nm[len] = 0;
    sayf_(L, L.OUTUNIT, "        %s", nm);
  }
  countline(L, "    Ranges Found:             ", found);
  countline(L, "    Range Size Mismatches:    ", mismatches);
  countline(L, "    Values Transferred:       ", values);
  blankl_(L, L.OUTUNIT, 1);
}

// Summary of a spreadsheet export to one range.
void olerep2_(MasterRecord& L, const char* workbook, const char* range, int32_t rangelen, int32_t cells,
              int32_t values, int32_t erased) {
  blankl_(L, L.OUTUNIT, 1);
  summaryhead(L, "OLE BASED");
  sayf_(L, L.OUTUNIT, "    Workbook:              %s", upto(workbook, 170).c_str());
  sayf_(L, L.OUTUNIT, "    Range Name:            %s", upto(range, rangelen < 170 ? rangelen : 170).c_str());
  countline(L, "    Cells in Range:           ", cells);
  countline(L, "    Values Transferred:       ", values);
  if (erased > 0) countline(L, "    Cells Erased:             ", erased);
  blankl_(L, L.OUTUNIT, 1);
}

// Database export: the link is opened and connected through its hooks; a failure ends the
// export with message 38 and the link's text. Status 0 done, 1 failed.
void odbcexp_(Work& W, MasterRecord& L, int32_t npairs, const char* dsrc, int32_t dslen, const char* table,
              int32_t tablen, const char* attrs, const char* cols, int32_t& status) {
  status = 1;
  if (L.TRACELV >= 5) {
    auto code = [](const char* s, int32_t n) { return (int)(unsigned char)s[n]; };
    sayf_(L, L.TRMOUT, " ENTER ODBCEXP, NPAIRS=%d", npairs);
    sayf_(L, L.TRMOUT, " KODBC=%s", upto(dsrc, dslen).c_str());
    sayf_(L, L.TRMOUT, " ICHAR(KODBC(LENODBC+1)):%d", code(dsrc, dslen));
    sayf_(L, L.TRMOUT, " KTABLE=%s", upto(table, tablen).c_str());
    sayf_(L, L.TRMOUT, " ICHAR(KTABLE(LENTAB+1)):%d", code(table, tablen));
    sayf_(L, L.TRMOUT, " KATTR=%s", upto(attrs, 10).c_str());
    sayf_(L, L.TRMOUT, " KCOL=%s", upto(cols, 10).c_str());
  }
  int32_t handle = odbcinit_(L);
  if (handle == 0) {
    std::snprintf(L.ERRTXT, sizeof L.ERRTXT, "%s", "Could not create database object.");
    errmsh_(W, L, 38);
    return;
  }
  // A working link would connect here and take the values column by column; this
  // platform's link accepts nothing, so no further step can be reached.
  int32_t st = odbcdsrc_(handle, L.DBUSER, L.DBPASS, L.ERRTXT);
  if (st > 0 || odbcend_(handle) > 0) {
    errmsh_(W, L, 38);
    return;
  }
  status = 0;
}

// Spreadsheet export: the workbook is initialised and opened through the link's hooks;
// message 133 or 48 ends the export when they fail. Status 0 done, 1 failed.
void exportx_(Work& W, MasterRecord& L, const char* workbook, int32_t& status) {
  status = 1;
  int32_t book = XLXINIT_(L);
  if (book == 0) {
    errmsh_(W, L, 133);
    return;
  }
  std::string name = upto(workbook, 200);
  if (XLXOPENFILE_(book, name.c_str()) == 0) {
    std::snprintf(L.ERRSTR, sizeof L.ERRSTR, "%s", name.c_str());
    errmsh_(W, L, 48);
  } else {
    status = 0;
  }
  XLXEXIT_(book);
}
