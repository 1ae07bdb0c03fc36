// The command session: program driver, command loop, command line reading, command
// scripts and diversion, small command handlers and the configuration file.
#pragma once
#include <cstdint>
#include <cstdio>

#include "session/command_table.h"
#include "session/params.h"
#include "session/modeltext.h"
#include "store/master.h"
#include "store/work.h"
#include "store/hooks.h"
#include "store/io.h"
#include "store/store.h"
#include "store/upcalls.h"
#include "store/util.h"

// ---- program entry and driver ----
// Runs a whole session on the current terminal streams; result the process exit status.
int32_t MAIN__();
int32_t quirn_(MasterRecord& L, Work& W, int32_t& status);
int32_t strapp_(char* a, const char* b);
// Allocation probe of the work array sizing: true when that many words can be had.
using AllocProbe = bool (*)(int64_t words);
void setallocprobe_(AllocProbe probe);  // nullptr restores the real one
// Size in words of the work array for a target of that many words (0 = not even the
// 64,000-word probe could be had): the target itself when it can be had, else 0.9 of the
// largest size found by bisection; always a multiple of 8.
int64_t worksize_(int64_t target, AllocProbe probe);
// Words wanted for a working-memory setting in megabytes (capped to a valid store size).
int64_t memtarget_(int32_t megabytes);

// ---- command table and command loop ----
struct CommandDef {
  const char* key;
  int32_t category;  // 0 = not listed by COM and CAT
  int32_t hidden;    // 1 = allowed while the model is hidden
};
const CommandDef& cmddef(int32_t k);  // entry k = 1..NCMDS
// The keywords packed end to end, and the end position of each (lxxcmk_, lxxcmn_ form).
const char* cmdkeys();
int32_t cmdkeyend(int32_t k);
// Matches a word of n characters against the table: the entry number, 0 unknown,
// -1 ambiguous; exact is set when a full keyword matched.
int32_t cmdmatch_(const char* word, int32_t n, bool& exact);
void commnd_(Work& W, MasterRecord& L, int32_t& status);

// ---- command line reading ----
void getrsp_(MasterRecord& L, const char* prompt, int32_t npairs);
void nxchar_(MasterRecord& L);
int32_t nxblnk_(MasterRecord& L, int32_t flag);
void gettoken_(MasterRecord& L, char* field);
void getcvn_(MasterRecord& L, char* text, int32_t& count);
void getcst_(MasterRecord& L, char* text, int32_t& count);
int32_t read1r_(MasterRecord& L);
void read2h_(Work& W, MasterRecord& L, int32_t& first, int32_t& last);
void duincm_(MasterRecord& L, int32_t mode);
void pause_(MasterRecord& L);

// ---- command scripts, diversion, small handlers ----
void dotake_(Work& W, MasterRecord& L);
void autolg_(MasterRecord& L);
void closetakefiles_(MasterRecord& L);
void dodive_(Work& W, MasterRecord& L, int32_t namelen, const char* name, int32_t& status);
int32_t dorvrt_(MasterRecord& L);  // non-zero when the divert file was not written whole
void getbip_(Work& W, MasterRecord& L);
void dorange_(Work& W, MasterRecord& L);
int32_t generatequiet_(Work& W, MasterRecord& L);
int32_t solvequiet_(Work& W, MasterRecord& L);
// Has the solve driver carry out a mode of GO, GEN, SMPS, STATS, PICTURE or SMPI (see
// Upcalls::solve); false, with nothing done, when the solver is not linked in.
inline int32_t runsolver_(Work& W, MasterRecord& L, int32_t mode, const char* fname) {
  return upcalls_().solve ? upcalls_().solve(W, L, mode, fname) : QFALSE;
}

// ---- configuration file ----
void mkpath_(const char* dir, int32_t length, const char* name, char* path);
void getconfig_(Work& W, MasterRecord& L, const char* dir1, const char* dir2, int32_t length,
                int32_t& found, int32_t& errors);
void getcnf_(Work& W, MasterRecord& L, const char* path, int32_t& found, int32_t& errors);
// writefailed, when given, is true when a file opened but could not be written whole.
void putconfig_(MasterRecord& L, const char* dir1, const char* dir2, int32_t length,
                int32_t& failed, int32_t* writefailed = nullptr);
void ptconf_(MasterRecord& L, int32_t create, const char* path, int32_t& written);

// Opens the file named by the rest of the command line or asked for: mode 1 reads, 2 writes
// a new version (replacing the file only when closed whole), any other writes in place.
void lunget2_(MasterRecord& L, int32_t& h, int32_t mode);

// ---- small line helpers of the session ----
// Character at 1-based position k of the command line (upper-cased / as typed).
inline char& linc(MasterRecord& L, int32_t k) { return L.LINBUF[k - 1]; }
inline char& rawc(MasterRecord& L, int32_t k) { return L.LINRAW[k - 1]; }
// Prints a formatted line on a unit through the line printer.
void sayf_(MasterRecord& L, int32_t unit, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
// Prints one line on the terminal between two blank lines.
void notice_(MasterRecord& L, const char* text);
// The file name of the configuration file.
extern const char CNFNAME[17];
constexpr int32_t MAXPW = 8;  // longest password of a hidden model
