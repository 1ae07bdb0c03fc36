// Files, terminal, line output, line input and numbered messages.
//
// File handles are small integers (1..MAXFILES) naming slots of one table of open
// streams; 0 means no file. The terminal is unit 0 (TRMIN, TRMOUT). Texts handed to
// the file layer are NUL-terminated.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string_view>

struct MasterRecord;
struct Work;

constexpr int32_t MAXFILES = 320;  // open text files at one time: 256 includes and the scripts and diverts beside them

// ---- text-file and console primitives ----------------------------------------------
int32_t FOPEN_(const char* name, const char* mode);          // handle, 0 on failure
// Opens a new version of a file for writing (every command that writes a file): written
// beside the file, it replaces the file only when FCLOSE_ succeeds, keeping its mode; a
// symbolic link writes through to its target; a directory, device, pipe, socket or a file
// without its owner's write permission is refused. append starts from a copy of the old
// file. 0 on failure.
int32_t FOPENNEW_(const char* name, bool append = false);
// The scratch file a handle from FOPENNEW_ writes to (for writers that open by name);
// nullptr for other handles.
const char* FNEWNAME_(int32_t h);
void FDROP_(int32_t& h);                                       // closes, dropping a new version
// -1 for handle 0; 0 and h = 0 when closed and every write succeeded; else non-zero.
int32_t FCLOSE_(int32_t& h);
int32_t FGETS_(char* buf, int32_t n, int32_t h);              // 0 at end of file or on error
// Reads at most n bytes of the next line, its line feed included, NUL bytes kept; len is
// the count read. 0 at end of file (nothing read) or on error.
int32_t FGETLN_(char* buf, int32_t n, int32_t h, int32_t& len);
int32_t FEOF_(int32_t h);                                     // non-zero at end of file
int32_t FPUTS_(const char* text, int32_t h);                  // text and a line feed; negative on failure
int32_t FPUTSNOLF(const char* text, int32_t h);               // text only; negative on failure
int32_t FWRITELN_(const char* text, int32_t n, int32_t h);    // n characters and a line feed
int32_t FSKIPLN_(int32_t h);                                  // drops the rest of the line; 1: not only blanks
int32_t FEXISTS_(const char* name);                           // 1 when the file exists
char* FULLPATH_(char* buf, const char* name);                 // cwd "/" name; nullptr on failure
int32_t SAMEFILES_(const char* a, const char* b, int32_t& err);
int32_t STRCMP_(const char* a, const char* b);                // -1, 0, 1 (bytes unsigned)
void FFLUSHALL_();                                            // flushes every output stream
void FCLOSEALL_();                                            // flushes and closes every open file
int32_t PUTS_(const char* text);                              // text and a line feed on the terminal
int32_t PUTSNOCR_(const char* text);                          // text on the terminal, no line feed
int32_t PUTP_(const char* pair);                              // exactly two characters
int32_t PUTLN_(const char* text, int32_t n);                  // n characters and a line feed
// Reads one terminal line (without its line feed) into buf, at most n characters,
// NUL-terminated; standard output is flushed first. Never returns nullptr. status, when
// given: 0 the line ended with a line feed, 1 n characters were stored and the rest of
// the line is still pending, -1 end of input was reached, 2 Ctrl-C broke off the line
// typed at a terminal (buf is empty).
char* FGETSTD_(char* buf, int32_t n, int32_t* status = nullptr);
int32_t FSKIPSTD_();                                          // the same for the terminal line
int32_t SPRINTF_(char* dest, const char* format, double value);
void AddZero(char* name);                                     // first blank or NUL becomes NUL
// Binary file routines.
void OPNFIL(char* name, int32_t unused, int32_t& flag_handle, int32_t& err);
void RDFILE(int32_t h, void* buf, int32_t n, int32_t& count);
void WTFILE(int32_t h, const void* buf, int32_t n, int32_t& count);
void RWFILE(int32_t h);
void CLSFIL(int32_t& h);
// The terminal's streams; tests and the fuzzer redirect them (nullptr = the standard ones).
void trmstreams_(FILE* in, FILE* out, FILE* err);
FILE* trmout_();
FILE* trmerr_();

// ---- line output and paging ----------------------------------------------------------
// Prints one line on a unit, cut to LINLEN and without trailing blanks; at most len
// characters of the text are looked at. Result 32, or negative when the write failed.
int32_t lprint_(MasterRecord& L, int32_t unit, const char* line, int32_t len);
int32_t lprint_(MasterRecord& L, int32_t unit, std::string_view line);
int32_t lprintlf_(MasterRecord& L, int32_t unit, const char* line, int32_t len);
int32_t blankl_(MasterRecord& L, int32_t unit, int32_t n);
void hitcr_(MasterRecord& L, int32_t n);
void brbpost_(MasterRecord& L, int32_t unused, const char* text);
// Prints n characters of the work array from byte position first (1-based) on the terminal.
void dmpstr_(MasterRecord& L, const Work& W, int32_t first, int32_t n, int32_t& status);
void int2txt_(int32_t value, char* text, int32_t& len, int32_t flag = 0);

// ---- console and script line input ---------------------------------------------------
// Reads the next line from the innermost script or the terminal into line (at least
// MAXLIN + 2 characters), unless a word remains after the one under pos. After a
// terminal read that met end of input with nothing read, L.INPEOF is 1 (else 0).
void gettxt_(MasterRecord& L, const char* prompt, int32_t npairs, char* line, int32_t limit,
             int32_t& pos, int32_t& len, int32_t mode);
void getnum_(MasterRecord& L, int32_t& status, double& value);
void getnumcap_(MasterRecord& L, int32_t& status, double& value);  // above BIGNUM reads as BIGNUM
void getsgn_(MasterRecord& L, double& sign);
void getch_(MasterRecord& L, char& c);
void paws_(MasterRecord& L, const char* prompt, int32_t& plen);

// ---- numbered messages ---------------------------------------------------------------
void errmsh_(Work& W, MasterRecord& L, int32_t n);
void ptekod_(MasterRecord& L, int32_t unit, int32_t n);
void pt2err_(MasterRecord& L, int32_t unit, int32_t p);
