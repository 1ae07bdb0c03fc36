// The database login texts with the one open database object, and the model title.
#include <algorithm>
#include <cstring>
#include <string>
#include "language/values.h"
#include "store/hooks.h"
#include "store/io.h"

// Blanks the first width characters of a login text and sets its length to 0.
void clrdbs_(char* text, int32_t& len, int32_t width) {
  if (width > 0) std::memset(text, ' ', (size_t)width);
  len = 0;
}

// Stores (mode 1) or fetches the login texts for an embedding program. A text longer than
// DBMAXL is refused with status 1 and nothing is stored; status 0 otherwise.
void dbuser_(MasterRecord& L, int32_t mode, char* user, char* password, int32_t& status) {
  status = 0;
  int32_t cap = std::min<int32_t>(L.DBMAXL, (int32_t)sizeof L.DBUSER - 1);
  if (mode == 1) {
    size_t nu = strnlen(user, (size_t)cap + 1), np = strnlen(password, (size_t)cap + 1);
    if ((int32_t)nu > cap || (int32_t)np > cap) {
      status = 1;
      return;
    }
    std::memcpy(L.DBUSER, user, nu + 1);
    std::memcpy(L.DBPASS, password, np + 1);
    L.DBUSERLEN = (int32_t)nu;
    L.DBPASSLEN = (int32_t)np;
    return;
  }
  int32_t nu = std::clamp(L.DBUSERLEN, 0, cap), np = std::clamp(L.DBPASSLEN, 0, cap);
  std::memcpy(user, L.DBUSER, (size_t)nu);
  user[nu] = 0;
  std::memcpy(password, L.DBPASS, (size_t)np);
  password[np] = 0;
}

static void clear_dbsrc(MasterRecord& L) {
  L.DBSRC = 0;
  L.DBSRCLN = 0;
}

static void set_errtxt(MasterRecord& L, const char* t) {
  std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
  L.ERRTXT[sizeof L.ERRTXT - 1] = 0;
  std::memcpy(L.ERRTXT, t, std::min(std::strlen(t), sizeof L.ERRTXT - 1));
}

// 1 when a database object is open for the data source named by text (len characters).
void itcomp_(const Work& W, const MasterRecord& L, const char* text, int32_t len, int32_t& same) {
  same = 0;
  if (L.DBSRCLN <= 0 && L.DBHANDLE == 0) return;
  if (L.DBHANDLE == 0 || len != L.DBSRCLN) return;
  for (int32_t i = 0; i < len; ++i)
    if (cget(W, wbyte(L.START[L.DBSRC]) + i) != text[i]) return;
  same = 1;
}

// Makes sure a database object is open for the data source. 0 open, 1 no object or no
// storage, 2 the data source could not be opened (the hook's text in ERRTXT).
void initdbs_(Work& W, MasterRecord& L, const char* source, int32_t len, int32_t& status) {
  status = 0;
  addresethook_(L, clear_dbsrc);
  len = std::max(len, 0);
  if (L.DBHANDLE != 0) {
    int32_t same = 0;
    itcomp_(W, L, source, len, same);
    if (same) return;
    odbcend_(L.DBHANDLE);
    L.DBHANDLE = 0;
    L.DBSRCLN = 0;
  }
  L.DBHANDLE = odbcinit_(L.DBHANDLE);
  if (L.DBHANDLE == 0) {
    set_errtxt(L, "Could not initialize database object.");
    status = 1;
    return;
  }
  set_errtxt(L, " ");
  int32_t st = 0;
  odbcdsrc_(L.DBHANDLE, source, L.DBUSER, L.DBPASS, st, L.ERRTXT);
  if (st > 0) {
    odbcend_(L.DBHANDLE);
    L.DBHANDLE = 0;
    status = 2;
    return;
  }
  int32_t n = std::max(len, 1);
  setblk_(1, n, W, L, L.DBSRC, st);
  if (st != 0) {
    odbcend_(L.DBHANDLE);
    L.DBHANDLE = 0;
    L.DBSRCLN = 0;
    status = 1;
    return;
  }
  for (int32_t i = 0; i < len; ++i) cput(W, wbyte(L.START[L.DBSRC]) + i, source[i]);
  L.DBSRCLN = len;
}

// Stores the model title. On failure the status of the work store is passed on and the
// previous title stays.
void savet_(Work& W, MasterRecord& L, const char* text, int32_t len, int32_t& status) {
  status = 0;
  len = std::max(len, 0);
  int32_t n = std::max(len, 1);
  setblk_(1, n, W, L, L.TITLBLK, status);
  if (status != 0) return;
  for (int32_t i = 0; i < len; ++i) cput(W, wbyte(L.START[L.TITLBLK]) + i, text[i]);
  L.TITLEN = len;
}

// Prints the title line: mode 1 as in the solution report, mode 3 as a TITLE statement.
void printt_(Work& W, MasterRecord& L, int32_t unit, int32_t mode) {
  if (L.TITLEN <= 0 || L.TITLBLK <= 0) return;
  int32_t room = L.LINLEN - (mode == 3 ? 7 : 14);
  int32_t n = std::clamp(L.TITLEN, 0, std::max(room, 0));
  std::string t;
  for (int32_t i = 0; i < n; ++i) t += cget(W, wbyte(L.START[L.TITLBLK]) + i);
  std::string line = mode == 3 ? "TITLE " + t + ";" : "  Model Title: " + t;
  lprint_(L, unit, line);
}
