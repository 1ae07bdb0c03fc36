// The command loop: reads a command line, matches its first word against the command
// table and runs the command's handler.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "session/session.h"
#include "store/store.h"

namespace {
// Prints the old and the new value of a value command, as texts, on the terminal.
void oldnewtext(MasterRecord& L, const char* oldv, const char* newv) {
  blankl_(L, L.TRMOUT, 1);
  sayf_(L, L.TRMOUT, " Old value:%s", oldv);
  sayf_(L, L.TRMOUT, " New value:%s", newv);
  blankl_(L, L.TRMOUT, 1);
}

// Prints the old and the new integer value of a value command on the terminal.
void oldnew(MasterRecord& L, int64_t oldv, int64_t newv) {
  char a[32], b[32];
  std::snprintf(a, sizeof a, "%8lld", (long long)oldv);
  std::snprintf(b, sizeof b, "%8lld", (long long)newv);
  oldnewtext(L, a, b);
}

// Reads an optional sign and a number from the response; false when no number stands there.
bool signednumber(MasterRecord& L, double& v) {
  double sign = 0.0;
  getsgn_(L, sign);
  if (sign == 0.0) sign = 1.0;
  int32_t st = 1;
  getnum_(L, st, v);
  if (st != 0) return false;
  v *= sign;
  return true;
}

// TRACE: sets the trace level (capped at 5); a response that is no number changes nothing.
void dotrace(MasterRecord& L) {
  getrsp_(L, "Trace level?", 6);
  if (L.LINEND == 0) return;
  double v = 0.0;
  if (!signednumber(L, v) || std::isnan(v)) return;
  if (v > 5.0) v = 5.0;
  if (v < -2147483640.0) v = -2147483640.0;
  int32_t n = (int32_t)v;
  oldnew(L, L.TRACELV, n);
  L.TRACELV = n;
}

// Asks for a number from lo to hi; anything else (no answer, no number, out of range) gets
// message 61 and false.
bool askrange(Work& W, MasterRecord& L, const char* prompt, int32_t npairs, double lo, double hi,
              double& v) {
  getrsp_(L, prompt, npairs);
  v = 0.0;
  int32_t st = 1;
  if (L.LINEND != 0) getnum_(L, st, v);
  if (L.LINEND == 0 || st != 0 || !(v >= lo && v <= hi)) {
    errmsh_(W, L, 61);
    return false;
  }
  return true;
}

// PAGE: sets the working page length.
void dopage(Work& W, MasterRecord& L) {
  double v;
  if (!askrange(W, L, "Page length?", 6, 0.0, 2147483640.0, v)) return;
  int32_t n = (int32_t)v;
  oldnew(L, L.LENPAG, n);
  L.LENPAG = n;
}

// IPTOL: sets the working relative integer optimality tolerance.
void doiptol(Work& W, MasterRecord& L) {
  double v;
  if (!askrange(W, L, "IPTOL?", 3, 0.0, 1.0, v)) return;
  char a[32], b[32];
  fmtgen_(L.IPTOLR, 20, 8, a);
  fmtgen_(v, 20, 8, b);
  oldnewtext(L, a, b);
  L.IPTOLR = v;
}

// WIDTH: sets the working line width (64 to 200).
void dowidth(Work& W, MasterRecord& L) {
  getrsp_(L, "Terminal width? ", 8);
  if (L.LINEND == 0) return errmsh_(W, L, 61);
  double v = 0.0;
  int32_t st = 1;
  getnum_(L, st, v);
  if (st != 0 || !(std::fabs(v) < 2147483640.0) || (int32_t)v < 64 || (int32_t)v > 200) {
    L.ERRARG = 64;
    L.ERRARG2 = 200;
    return errmsh_(W, L, 106);
  }
  int32_t n = (int32_t)v;
  oldnew(L, L.LINLEN, n);
  L.LINLEN = n;
}

// TIME: elapsed time of the session.
void dotime(MasterRecord& L) {
  double now = 0.0;
  int32_t day = 0;
  cumtim_(now);
  brgtdt_(day);
  double secs = ((double)day - (double)L.RUN_DATE) * 86400.0 + now - L.START_TIME;
  if (!(secs >= 0.0)) secs = 0.0;
  int64_t whole = (int64_t)secs;
  int64_t hours = whole / 3600;
  double rest = secs - (double)hours * 3600.0;
  int64_t minutes = (int64_t)rest / 60;
  double seconds = rest - (double)minutes * 60.0;
  blankl_(L, L.OUTUNIT, 1);
  sayf_(L, L.OUTUNIT, " Cumulative HR:MIN:SEC =%4lld:%2lld:%5.2f", (long long)hours,
        (long long)minutes, seconds);
  blankl_(L, L.OUTUNIT, 1);
}

// DBUID and DBPWD: stores the response as typed (at most DBMAXL characters).
void dodbtext(MasterRecord& L, const char* prompt, int32_t npairs, char* text, int32_t& len) {
  getrsp_(L, prompt, npairs);
  int32_t n = 0;
  int32_t maxl = L.DBMAXL < 128 ? L.DBMAXL : 128;
  if (L.LINEND != 0)
    for (int32_t c = L.LINCUR; c <= L.LINEND && n < maxl; ++c) text[n++] = rawc(L, c);
  text[n] = 0;
  len = n;
}

// The password typed from the cursor to the line end (case kept), blank padded to 8.
int32_t readpw(MasterRecord& L, char* pw, int32_t cap) {
  int32_t n = 0;
  for (int32_t c = L.LINCUR < 1 ? 1 : L.LINCUR; c <= L.LINEND; ++c, ++n)
    if (n < cap) pw[n] = rawc(L, c);
  return n;
}

// HIDE: hides the model with a password, or unhides it with the same password.
void dohide(Work& W, MasterRecord& L) {
  char pw[MAXPW + 1];
  int32_t n = 0;
  for (;;) {
    getrsp_(L, "Password? ", 5);
    if (L.LINEND == 0) return errmsh_(W, L, 61);
    std::memset(pw, ' ', MAXPW);
    pw[MAXPW] = 0;
    n = readpw(L, pw, MAXPW);
    if (n <= MAXPW) break;
    L.ERRARG = MAXPW;
    errmsh_(W, L, 110);
    L.LINEND = 0;
  }
  if (L.HIDDEN == 1) {
    if (std::memcmp(pw, L.KPASSW, MAXPW) != 0) return errmsh_(W, L, 112);
    L.HIDDEN = 0;
    notice_(L, " Model is no longer hidden.");
    return;
  }
  std::memcpy(L.KPASSW, pw, MAXPW);
  L.LINEND = 0;
  getrsp_(L, "Please reenter password to verify:", 17);
  if (L.LINEND == 0) return errmsh_(W, L, 61);
  char again[MAXPW + 1];
  std::memset(again, ' ', MAXPW);
  int32_t m = readpw(L, again, MAXPW);
  if (m != n || std::memcmp(again, pw, MAXPW) != 0) return errmsh_(W, L, 114);
  L.HIDDEN = 1;
  sayf_(L, L.TRMOUT, " Model is now hidden.");
  blankl_(L, L.TRMOUT, 1);
  L.TRACELV = 0;
}

// SOLU and NONZ: the result summary and the solution report.
void dosolu(Work& W, MasterRecord& L, int32_t all) {
  if (L.NROWS < 1 && L.NVARS < 1) return errmsh_(W, L, 104);
  char text[204] = {}, name[204] = {};
  int32_t tlen = 0, nlen = 0;
  getcst_(L, text, tlen);
  getcvn_(L, name, nlen);
  const Upcalls& up = upcalls_();
  if (up.summary) up.summary(W, L);
  if (up.solution) up.solution(W, L, all, text, tlen, name, nlen);
}

// SAVE: writes the model text to a file (scrambled while the model is hidden).
void dosave(Work& W, MasterRecord& L) {
  int32_t h = 0;
  lunget2_(L, h, 2);
  if (h == 0) return errmsh_(W, L, 195);
  int32_t saved = L.OUTUNIT;
  L.OUTUNIT = h;
  look2_(W, L, 1, L.MODLINES, L.HIDDEN, L.KPASSW, QFALSE);
  L.OUTUNIT = saved;
  if (FCLOSE_(h) != 0) {
    FDROP_(h);
    errmsh_(W, L, 195);
  }
}

// SMPS and SMPI: checks that the file can be written, then has the solve driver write it.
void dosmps(Work& W, MasterRecord& L, int32_t mode) {
  int32_t h = 0;
  lunget2_(L, h, 2);  // only proves the file can be written: the old one stays meanwhile
  if (h == 0) return errmsh_(W, L, 195);
  FDROP_(h);
  char name[204];
  int32_t n = 0;
  for (int32_t c = L.LINCUR < 1 ? 1 : L.LINCUR; c <= L.MAXLIN && rawc(L, c) != 0 && n < 200; ++c)
    name[n++] = rawc(L, c);
  name[n] = 0;
  runsolver_(W, L, mode, name);
}

// FREEZE: writes the configuration file with the working values taken over first.
void dofreeze(Work& W, MasterRecord& L) {
  loadpvector_(L);
  int32_t failed = QFALSE, writefailed = QFALSE;
  putconfig_(L, "", "", 0, failed, &writefailed);
  if (qtest(writefailed)) errmsh_(W, L, 195);
  if (qtest(failed)) return errmsh_(W, L, 131);
  notice_(L, " Parameters successfully saved.");
}

// Prints a text on the terminal and once more on the divert file when there is one.
template <class F>
void bothunits(MasterRecord& L, F print) {
  print(L.TRMOUT);
  if (L.OUTUNIT != L.TRMOUT) print(L.OUTUNIT);
}

// Matches the word at the cursor; on failure prints message 117 or 118 and counts it.
int32_t matchword(Work& W, MasterRecord& L, int32_t& errcount) {
  int32_t c = L.LINCUR < 1 ? 1 : L.LINCUR;
  int32_t e = c;
  while (e <= L.LINEND && linc(L, e) != ' ') ++e;
  bool exact = false;
  int32_t k = cmdmatch_(&linc(L, c), e - c, exact);
  if (exact) errcount = 0;
  if (k > 0) return k;
  std::memset(L.ERRSTR, ' ', sizeof L.ERRSTR - 1);
  L.ERRSTR[sizeof L.ERRSTR - 1] = 0;
  for (int32_t i = 0; i < 64 && c + i <= L.LINEND; ++i) L.ERRSTR[i] = linc(L, c + i);
  errmsh_(W, L, k == 0 ? 117 : 118);
  errcount += 1;
  return 0;
}

// Runs the handler of command k.
void dispatch(Work& W, MasterRecord& L, int32_t k) {
  static const int32_t needsmodel[] = {CMD_LOOK, CMD_DEL, CMD_EXT, CMD_ALT, CMD_SOLU, CMD_NONZ,
                                       CMD_SAVE, CMD_HIDE, CMD_INT, CMD_GIN, CMD_FREE, CMD_SLB,
                                       CMD_SUB};
  for (int32_t n : needsmodel)
    if (n == k && L.MODLINES == 0) return errmsh_(W, L, 5);
  int32_t first = 0, last = 0, st = 0;
  switch (k) {
    case CMD_MODEL:
      L.HIDDEN = 0;
      [[fallthrough]];
    case CMD_HMODEL:
      if (k == CMD_HMODEL) {
        L.HIDDEN = 1;
        L.TRACELV = 0;
      }
      nxblnk_(L, 1);
      L.SYNTAX = 0;
      getmod_(0, W, L, L.HIDDEN, MAXPW, 0, 0, L.KPASSW);
      break;
    case CMD_LOOK:
      read2h_(W, L, first, last);
      if (first == 0) break;
      L.LINCNT = 0;
      blankl_(L, L.OUTUNIT, 1);
      look2_(W, L, first, last, 0, L.KPASSW, QFALSE);
      blankl_(L, L.OUTUNIT, 1);
      break;
    case CMD_COM:
    case CMD_CAT:
      bothunits(L, [&](int32_t u) { lstcat_(W, L, u, k == CMD_COM ? 0 : 1); });
      break;
    case CMD_TAKE: dotake_(W, L); break;
    case CMD_GO: runsolver_(W, L, 0, " "); break;
    case CMD_DEL:
      read2h_(W, L, first, last);
      if (first == 0) return errmsh_(W, L, 61);
      deline_(W, L, first, last);
      break;
    case CMD_EXT: getmod_(1, W, L, L.HIDDEN, MAXPW, L.SYNTAX, 0, L.KPASSW); break;
    case CMD_ALT:
      altbos_(W, L);
      cuttxt_(W, L, st);  // the text block shrinks to the altered text's end
      break;
    case CMD_DIV: dodive_(W, L, 0, " ", st); break;
    case CMD_RVRT:
    case CMD_REV:
      if (dorvrt_(L) != 0) errmsh_(W, L, 195);
      break;
    case CMD_TRACE: dotrace(L); break;
    case CMD_EDIT: errmsh_(W, L, 152); break;
    case CMD_SOLU: dosolu(W, L, 1); break;
    case CMD_NONZ: dosolu(W, L, 0); break;
    case CMD_SAVE: dosave(W, L); break;
    case CMD_GENL: errmsh_(W, L, 61); break;
    case CMD_GEN: runsolver_(W, L, 1, " "); break;
    case CMD_PAGE: dopage(W, L); break;
    case CMD_IPTOL: doiptol(W, L); break;
    case CMD_RANGE: dorange_(W, L); break;
    case CMD_TERS: L.TERSEO = 1; break;
    case CMD_VERB: L.TERSEO = 0; break;
    case CMD_BAT: L.BATMOD = L.BATMOD - 1 < 0 ? 1 - L.BATMOD : L.BATMOD - 1; break;
    case CMD_MEM: mem_(L); break;
    case CMD_CLRMEM: intmem_(W, L); break;
    case CMD_SMPS: dosmps(W, L, 3); break;
    case CMD_PAUS: pause_(L); break;
    case CMD_TIME: dotime(L); break;
    case CMD_MIN:
    case CMD_MAX:
      L.HIDDEN = 0;  // a new model typed in clear, as with MODEL
      L.LINCUR = 1;
      L.SYNTAX = 1;
      getmod_(0, W, L, 0, MAXPW, 1, 0, L.KPASSW);
      break;
    case CMD_BIP: getbip_(W, L); break;
    case CMD_WIDTH: dowidth(W, L); break;
    case CMD_HIDE: dohide(W, L); break;
    case CMD_SET: setpcom_(W, L); break;
    case CMD_FREEZE: dofreeze(W, L); break;
    case CMD_STATS: runsolver_(W, L, 4, " "); break;
    case CMD_PICTURE: runsolver_(W, L, 6, " "); break;
    case CMD_RMPS:
    case CMD_FRMPS:
      if (upcalls_().readmps) upcalls_().readmps(L, W, k == CMD_RMPS ? 1 : 0);
      break;
    case CMD_DBUID: dodbtext(L, "Database user id? ", 9, L.DBUSER, L.DBUSERLEN); break;
    case CMD_DBPWD: dodbtext(L, "Database password?", 9, L.DBPASS, L.DBPASSLEN); break;
    case CMD_DEBUG:
      if (upcalls_().debug) upcalls_().debug(W, L);
      break;
    case CMD_SMPI: dosmps(W, L, 7); break;
    case CMD_INT:
    case CMD_GIN:
    case CMD_FREE:
    case CMD_SLB:
    case CMD_SUB: getmod_(1, W, L, L.HIDDEN, MAXPW, L.SYNTAX, 1, L.KPASSW); break;
    case CMD_APISET: setapicom_(W, L); break;
    default: break;
  }
}
}  // namespace

// The command loop; returns on QUIT, at the end of terminal input, or when a batch run
// meets too many consecutive command errors.
void commnd_(Work& W, MasterRecord& L, int32_t& status) {
  L.PTRTAB[0] = status;
  L.SYNTAX = 0;
  int32_t errcount = 0;
  for (;;) {
    L.LINEND = 0;
    L.LINCUR = 0;
    L.LINCNT = 0;
    duincm_(L, 0);
    L.USRPST = 0;  // no @USER answer pending
    L.APIRPTD = 0;  // a refused custom parameter is reported once per command
    std::memcpy(L.PROMPT3, L.PROMPT2, sizeof L.PROMPT3);
    nxchar_(L);
    if (L.LINEND == 0) {  // end of input: the session ends as with QUIT
      L.INTMODE = 0;
      FFLUSHALL_();
      return;
    }
    std::memcpy(L.PROMPT3, L.PROMPT1, sizeof L.PROMPT3);
    clearinterrupt_();  // a Ctrl-C before the command begins is not meant for it
    int32_t k = matchword(W, L, errcount);
    if (k == CMD_HELP) {
      nxblnk_(L, 1);
      int32_t c = L.LINCUR;
      while (c <= L.LINEND && linc(L, c) == ' ') ++c;
      if (c <= L.LINEND) {
        L.LINCUR = c;
        int32_t t = matchword(W, L, errcount);
        if (t > 0) bothunits(L, [&](int32_t u) { help_(W, L, t, u); });
      } else {
        bothunits(L, [&](int32_t u) { help_(W, L, 0, u); });
      }
    } else if (k > 0) {
      if (L.HIDDEN == 1 && cmddef(k).hidden == 0) {
        errmsh_(W, L, 111);
      } else if (k == CMD_QUIT) {
        L.INTMODE = 0;
        FFLUSHALL_();
        return;
      } else {
        L.LINCNT = 0;
        duincm_(L, -1);
        dispatch(W, L, k);
      }
    }
    if (errcount > 5) {
      if (L.BATMOD > 0) {
        errmsh_(W, L, 119);
        FFLUSHALL_();
        return;
      }
      errcount = 0;
      if (L.INUNIT != L.TRMIN) {
        errmsh_(W, L, 8);
        closetakefiles_(L);
      }
    }
  }
}
