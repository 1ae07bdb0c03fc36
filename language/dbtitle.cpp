// The database login texts with the one open database object, and the model title.
#include <cstring>
#include <string>
#include "language/lang.h"
#include "store/hooks.h"
#include "store/upcalls.h"

// Blanks a login text over width characters and sets its length to 0.
void clrdbs_(char* text, int32_t& len, int32_t width) {
  std::memset(text, ' ', (size_t)(width > 0 ? width : 0));
  len = 0;
}

// Mode 1 stores the user id and password (each at most DBMAXL characters; status 1 refuses a
// longer one and stores nothing); any other mode copies both out, NUL-terminated.
void dbuser_(MasterRecord& L, int32_t mode, char* user, char* pass, int32_t& status) {
  status = 0;
  if (mode == 1) {
    size_t lu = std::strlen(user), lp = std::strlen(pass);
    if ((int64_t)lu > L.DBMAXL || (int64_t)lp > L.DBMAXL || lu >= sizeof L.DBUSER || lp >= sizeof L.DBPASS) {
      status = 1;
      return;
    }
    std::memcpy(L.DBUSER, user, lu + 1);
    std::memcpy(L.DBPASS, pass, lp + 1);
    L.DBUSERLEN = (int32_t)lu;
    L.DBPASSLEN = (int32_t)lp;
  } else {
    std::memcpy(user, L.DBUSER, (size_t)L.DBUSERLEN);
    user[L.DBUSERLEN] = 0;
    std::memcpy(pass, L.DBPASS, (size_t)L.DBPASSLEN);
    pass[L.DBPASSLEN] = 0;
  }
}

// 1 when a database object is open for the data source text (length characters).
int32_t itcomp_(Work& W, MasterRecord& L, const char* text, int32_t length) {
  if (L.DBSRCLN <= 0 && L.DBHANDLE == 0) return 0;
  if (length != L.DBSRCLN) return 0;
  for (int32_t i = 0; i < length; ++i)
    if (cget(W, wbyte(L.START[L.DBSRC]) + i) != text[i]) return 0;
  return 1;
}

// Makes sure a database object is open for the data source.
void initdbs_(Work& W, MasterRecord& L, const char* src, int32_t length, int32_t& status) {
  status = 0;
  auto errtxt = [&](const char* t) {
    std::memset(L.ERRTXT, ' ', sizeof L.ERRTXT - 1);
    std::memcpy(L.ERRTXT, t, std::strlen(t));
  };
  if (L.DBSRCLN > 0) {
    if (itcomp_(W, L, src, length)) return;
    odbcend_(L.DBHANDLE);
    L.DBSRCLN = 0;
    L.DBHANDLE = 0;
  }
  L.DBHANDLE = odbcinit_();
  if (L.DBHANDLE == 0) {
    errtxt("Could not initialize database object.");
    status = 1;
    return;
  }
  errtxt(" ");
  // after a failure no database object stays open
  auto close = [&]() {
    odbcend_(L.DBHANDLE);
    L.DBHANDLE = 0;
  };
  int32_t st = odbcdsrc_(L.DBHANDLE, src, L.DBUSER, L.DBPASS);
  if (st > 0) {
    close();
    status = 2;
    return;
  }
  int32_t n = length, s2 = 0;
  setblk_(1, n, W, L, L.DBSRC, s2);
  if (s2) {
    close();
    status = 1;
    return;
  }
  for (int32_t i = 0; i < length; ++i) cput(W, wbyte(L.START[L.DBSRC]) + i, src[i]);
  L.DBSRCLN = length;
}

// Keeps the model title.
void savet_(Work& W, MasterRecord& L, const char* text, int32_t len, int32_t& status) {
  status = 0;
  int32_t n = len > 0 ? len : 1;
  setblk_(1, n, W, L, L.TITLBLK, status);
  if (status) return;
  for (int32_t i = 0; i < len; ++i) cput(W, wbyte(L.START[L.TITLBLK]) + i, text[i]);
  L.TITLEN = len;
}

// Prints the title line: mode 1 "  Model Title: " and the title, mode 3 "TITLE title;".
void printt_(Work& W, MasterRecord& L, int32_t unit, int32_t mode) {
  if (L.TITLEN <= 0 || L.TITLBLK <= 0) return;
  int32_t cut = L.LINLEN - (mode == 3 ? 7 : 14);
  int32_t n = L.TITLEN < cut ? L.TITLEN : (cut > 0 ? cut : 0);
  std::string t;
  for (int32_t i = 0; i < n; ++i) t += cget(W, wbyte(L.START[L.TITLBLK]) + i);
  std::string line = mode == 3 ? "TITLE " + t + ";" : "  Model Title: " + t;
  std::string buf = line;
  if (buf.size() < 200) buf.resize(200, ' ');
  lprint_(L, unit, buf.data(), (int32_t)buf.size());
}

// Warns (message 146) when up to three set member names are also names of model objects.
void chkdup_(Work& W, MasterRecord& L) {
  int32_t hits[3] = {0, 0, 0}, n = 0;
  for (int32_t i = 1; i <= L.NPRIMEL && n < 3; ++i) {
    char nm[NAMELEN];
    int32_t len = 0;
    getnam_(W, L, L.KPNAME, i, nm, len);
    int32_t kind = 0, idx = 0;
    fndnmm_(W, L, nm, kind, idx);
    if (kind != 0) hits[n++] = i;
  }
  if (n == 0) return;
  L.ERRARG = hits[0];
  L.ERRARG2 = hits[1];
  L.ERRARG3 = hits[2];
  errmsh_(W, L, 146);
}

QUIRN_UPCALL(clrdbs, clrdbs_);  // the login texts cleared at start
