// Text-file and console primitives: a table of open streams named by small integers,
// and plain terminal output and input.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "store/hooks.h"
#include "store/io.h"
#include "store/slots.h"

namespace {
FILE* g_files[MAXFILES + 1] = {};  // slot 0 unused: handle 0 means no file
FILE* g_in = nullptr;              // terminal streams (nullptr = the standard ones)
FILE* g_out = nullptr;
FILE* g_err = nullptr;
bool g_outgone = false;            // a write to the terminal's output failed: it is gone
// For a handle opened by FOPENNEW_: the scratch file written and the file it replaces.
struct Pending {
  std::string scratch, target;
};
std::vector<Pending> g_pending;  // by handle; made on first use, not at every start

// The table is made only by FOPENNEW_: the paths that read it or close, a fatal stop's
// included, never allocate for it.

// The scratch file of handle h's pending replacement; empty when there is none.
const std::string& scratchof(int32_t h) {
  static const std::string none;
  return g_pending.empty() ? none : g_pending[h].scratch;
}

// Takes handle h's pending replacement out of the table, if there is one.
Pending takepending(int32_t h) {
  if (g_pending.empty()) return {};
  Pending p = std::move(g_pending[h]);
  g_pending[h] = {};
  return p;
}

FILE* tin() { return g_in ? g_in : stdin; }
// The stream of a handle, nullptr when the handle names no open file.
FILE* stream(int32_t h) { return slotptr(g_files, h); }
// Enters a stream in the first free slot; 0 (the stream closed) when the table is full.
int32_t enter(FILE* f) {
  int32_t h = slotid(g_files, f);
  if (f && h == 0) std::fclose(f);
  return h;
}
// The C library's mode for one of ours: "rt", "wt", "at" lose the t.
void cmode(const char* mode, char* out) {
  int k = 0;
  for (const char* p = mode; *p && k < 7; ++p)
    if (*p != 't') out[k++] = *p;
  out[k] = 0;
}
}  // namespace

// Redirects the terminal streams (tests, fuzzing); nullptr restores the standard ones.
void trmstreams_(FILE* in, FILE* out, FILE* err) {
  g_outgone = false;
  g_in = in;
  g_out = out;
  g_err = err;
}
// The terminal's output stream.
FILE* trmout_() { return g_out ? g_out : stdout; }
// The terminal's diagnostic stream (echo of input lines).
FILE* trmerr_() { return g_err ? g_err : stderr; }

// Opens a text file; result its handle, 0 on failure.
int32_t FOPEN_(const char* name, const char* mode) {
  if (!name || !*name) return 0;
  // A directory opens as a stream on this platform but fails at the first read: refuse it here.
  struct stat st;
  if (::stat(name, &st) == 0 && S_ISDIR(st.st_mode)) return 0;
  char m[8];
  cmode(mode, m);
  return enter(std::fopen(name, m));
}

// The file a name writes to: the end of its chain of symbolic links (a link whose target
// does not exist yet names that target), or the name itself. Empty for a loop of links.
static std::string replacedfile(const char* name) {
  std::string path = name;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string link(4096, '\0');
    ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n <= 0 || (size_t)n >= link.size()) return std::string();
    link.resize((size_t)n);
    if (link[0] != '/') {
      size_t slash = path.rfind('/');
      if (slash != std::string::npos) link = path.substr(0, slash + 1) + link;
    }
    path = link;
  }
  return std::string();
}

// True when an existing file may be given a new version: a regular file whose owner may
// write it. The mode bits are read here rather than asked of access(), which answers yes
// to the superuser for a read-only file.
static bool replaceable(const std::string& target, const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return false;  // a directory, device, pipe or socket is refused
  if ((st.st_mode & S_IWUSR) == 0) return false;
  return ::access(target.c_str(), W_OK) == 0;
}

// Copies the whole of an open file into another; false on any failure.
static bool copyinto(int from, int to) {
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(from, buf, sizeof buf);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t off = 0; off < n;) {
      ssize_t w = ::write(to, buf + off, (size_t)(n - off));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      off += w;
    }
  }
}

// Opens a new version of a text file for writing: the one writer of every command that
// writes a file. The new version is written to a scratch file beside the file and replaces
// it only when FCLOSE_ finds every write and the close sound, keeping its mode; a symbolic
// link is written through to its target. A directory, device, pipe or socket, a file its
// owner may not write and a loop of links are refused and left as they are. With append
// the new version starts as a copy of the old file. Handle, 0 on failure.
int32_t FOPENNEW_(const char* name, bool append) {
  if (!name || !*name) return 0;
  std::string target = replacedfile(name);
  if (target.empty()) return 0;
  struct stat st;
  bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && !replaceable(target, st)) return 0;
  size_t slash = target.rfind('/');
  std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string scratch = dir + "." + base + ".XXXXXX";
  int fd = ::mkstemp(scratch.data());
  if (fd < 0) return 0;
  mode_t mode;
  if (exists) {
    mode = st.st_mode & 07777;
    // only the superuser may give the file back to another owner; a file that changes
    // owner loses its set-user and set-group bits
    if (::fchown(fd, st.st_uid, st.st_gid) != 0) mode &= ~(mode_t)(S_ISUID | S_ISGID);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0;
  if (ok && exists && append) {
    int old = ::open(target.c_str(), O_RDONLY);
    ok = old >= 0 && copyinto(old, fd);
    if (old >= 0) ::close(old);
  }
  FILE* f = ok ? ::fdopen(fd, "w") : nullptr;
  if (!f) {
    ::close(fd);
    ::unlink(scratch.c_str());
    return 0;
  }
  int32_t h = enter(f);
  if (h == 0) {
    ::unlink(scratch.c_str());
    return 0;
  }
  if (g_pending.empty()) g_pending.resize(MAXFILES + 1);
  g_pending[h] = {scratch, target};
  return h;
}

// The scratch file a new version of handle h is written to, nullptr for any other handle.
// A writer that opens files by name (the solver library) writes there; FCLOSE_ of the
// handle then puts the file in place.
const char* FNEWNAME_(int32_t h) {
  if (!stream(h) || scratchof(h).empty()) return nullptr;
  return scratchof(h).c_str();
}

// Closes a file; -1 when the handle is 0 (or names no file). A write that failed on the
// stream, or a failed close, makes the result non-zero; a new version from FOPENNEW_ then
// leaves the old file as it was, and otherwise replaces it.
int32_t FCLOSE_(int32_t& h) {
  FILE* f = stream(h);
  if (!f) return -1;
  int r = std::ferror(f) ? -1 : 0;
  Pending p = takepending(h);
  if (!p.scratch.empty() && r == 0 && (std::fflush(f) != 0 || ::fsync(fileno(f)) != 0)) r = -1;
  if (std::fclose(f) != 0) r = -1;
  g_files[h] = nullptr;  // the stream is gone whatever fclose said
  if (!p.scratch.empty()) {
    if (r == 0 && std::rename(p.scratch.c_str(), p.target.c_str()) != 0) r = -1;
    if (r != 0) ::unlink(p.scratch.c_str());
  }
  if (r != 0) return r;
  h = 0;
  return 0;
}

// Closes a file and drops a new version begun by FOPENNEW_: the old file stays as it was.
void FDROP_(int32_t& h) {
  FILE* f = stream(h);
  if (!f) {
    h = 0;
    return;
  }
  std::fclose(f);
  g_files[h] = nullptr;
  const Pending p = takepending(h);
  if (!p.scratch.empty()) ::unlink(p.scratch.c_str());
  h = 0;
}

// Reads at most n - 1 characters up to and including a line feed; 0 at end or on error.
int32_t FGETS_(char* buf, int32_t n, int32_t h) {
  FILE* f = stream(h);
  if (n < 1) return 0;
  buf[0] = 0;
  if (!f) return 0;
  return std::fgets(buf, n, f) ? 1 : 0;
}

int32_t FGETLN_(char* buf, int32_t n, int32_t h, int32_t& len) {
  FILE* f = stream(h);
  len = 0;
  if (!f || n < 1) return 0;
  int c = 0;
  while (len < n && (c = getc_unlocked(f)) != EOF) {
    buf[len++] = (char)c;
    if (c == '\n') break;
  }
  return len > 0 ? 1 : 0;
}

// Non-zero when the end of the file has been reached (or the handle names no file).
int32_t FEOF_(int32_t h) {
  FILE* f = stream(h);
  return f ? std::feof(f) : 1;
}

// Writes the text and a line feed.
int32_t FPUTS_(const char* text, int32_t h) {
  FILE* f = stream(h);
  if (!f) return -1;
  if (std::fputs(text, f) < 0) return -1;
  return std::fputc('\n', f) == EOF ? -1 : 0;
}

// Writes the text without a line feed.
int32_t FPUTSNOLF(const char* text, int32_t h) {
  FILE* f = stream(h);
  if (!f) return -1;
  return std::fputs(text, f) < 0 ? -1 : 0;
}

// Writes n characters and a line feed.
int32_t FWRITELN_(const char* text, int32_t n, int32_t h) {
  FILE* f = stream(h);
  if (!f) return -1;
  if (n > 0 && std::fwrite(text, 1, (size_t)n, f) != (size_t)n) return -1;
  return std::fputc('\n', f) == EOF ? -1 : 0;
}

// Drops the rest of a line up to and including its line feed; 1 when more than blanks
// (spaces, tabs, carriage returns) were dropped, else 0.
static int32_t skipline(FILE* f) {
  int c, seen = 0;
  while ((c = std::getc(f)) != EOF && c != '\n')
    if (c != ' ' && c != '\t' && c != '\r') seen = 1;
  return seen;
}

// Drops what is left of the current line of a file, its line feed included; 1 when more
// than blanks were dropped, -1 when the handle names no file.
int32_t FSKIPLN_(int32_t h) {
  FILE* f = stream(h);
  if (!f) return -1;
  return skipline(f);
}

// 1 when the file's status can be read.
int32_t FEXISTS_(const char* name) {
  struct stat st;
  return (name && ::stat(name, &st) == 0) ? 1 : 0;
}

// Current directory, "/", name; nullptr when the directory cannot be read.
char* FULLPATH_(char* buf, const char* name) {
  if (!::getcwd(buf, 1024)) return nullptr;
  size_t k = std::strlen(buf);
  if (k == 0 || buf[k - 1] != '/') buf[k++] = '/';
  std::strcpy(buf + k, name);
  return buf;
}

// 1 when the two names are equal character for character; err = 1 without a directory.
int32_t SAMEFILES_(const char* a, const char* b, int32_t& err) {
  char cwd[1025];
  if (!::getcwd(cwd, sizeof cwd)) {
    err = 1;
    return 0;
  }
  err = 0;
  return std::strcmp(a, b) == 0 ? 1 : 0;
}

// Byte comparison of two texts (unsigned): -1, 0 or 1.
int32_t STRCMP_(const char* a, const char* b) {
  int r = std::strcmp(a, b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

// Flushes every open output stream.
void FFLUSHALL_() { std::fflush(nullptr); }

// Flushes and closes every file of the table (orderly end after a fatal stop).
void FCLOSEALL_() {
  for (int32_t h = 1; h <= MAXFILES; ++h)
    if (g_files[h]) {
      int32_t k = h;
      if (scratchof(h).empty()) {
        std::fclose(g_files[h]);
        g_files[h] = nullptr;
      } else {
        FDROP_(k);  // a new version not finished is dropped: the old file stays
      }
    }
  std::fflush(trmout_());
}

// Once a write to the terminal's output has failed (a closed pipe, a full disk), its output
// is gone: later terminal output is dropped unwritten and reported as written, so the
// commands of a script carry on, their files included.
static int32_t termwrote(FILE* f, bool ok) {
  if (!ok || std::ferror(f)) {
    g_outgone = true;
    std::clearerr(f);
  }
  return 0;
}

// Writes the text and a line feed to the terminal.
int32_t PUTS_(const char* text) {
  FILE* f = trmout_();
  if (g_outgone) return 0;
  return termwrote(f, std::fputs(text, f) >= 0 && std::fputc('\n', f) != EOF);
}

// Writes the text to the terminal without a line feed.
int32_t PUTSNOCR_(const char* text) {
  FILE* f = trmout_();
  if (g_outgone) return 0;
  return termwrote(f, std::fputs(text, f) >= 0);
}

// Writes exactly two characters to the terminal.
int32_t PUTP_(const char* pair) {
  FILE* f = trmout_();
  if (g_outgone) return 0;
  return termwrote(f, std::fwrite(pair, 1, 2, f) == 2);
}

// Writes n characters and a line feed to the terminal.
int32_t PUTLN_(const char* text, int32_t n) {
  FILE* f = trmout_();
  if (g_outgone) return 0;
  bool ok = n <= 0 || std::fwrite(text, 1, (size_t)n, f) == (size_t)n;
  return termwrote(f, ok && std::fputc('\n', f) != EOF);
}

// True when the stream is a terminal (asked once per stream).
static bool isterminal(FILE* f) {
  static FILE* asked = nullptr;
  static bool answer = false;
  if (f != asked) {
    asked = f;
    answer = ::isatty(fileno(f)) == 1;
  }
  return answer;
}

// Reads one terminal line into buf (at most n characters, line feed not stored).
// Standard input is never flushed: that would drop lines of a redirected script. On a
// terminal, Ctrl-C breaks off the read: the characters typed are dropped and status 2 says so.
char* FGETSTD_(char* buf, int32_t n, int32_t* status) {
  std::fflush(trmout_());
  FILE* f = tin();
  bool tty = isterminal(f);
  if (tty) interruptibleread_(true);
  int32_t k = 0, st = 0;
  for (;;) {
    if (k >= n) {
      st = 1;
      break;
    }
    int c = std::getc(f);
    if (c == EOF) {
      int32_t intr = 0;
      userinterrupt_(intr);
      if (tty && intr && std::ferror(f) && errno == EINTR) {
        std::clearerr(f);
        clearinterrupt_();
        k = 0;
        st = 2;
        break;
      }
      st = -1;
      break;
    }
    if (c == '\n') break;
    buf[k++] = c == 0 ? ' ' : (char)c;  // a NUL byte would end the text early
  }
  if (tty) interruptibleread_(false);
  if (n >= 0) buf[k] = 0;
  if (status) *status = st;
  return buf;
}

// Drops the rest of the current terminal line, its line feed included; 1 when more than
// blanks were dropped.
int32_t FSKIPSTD_() { return skipline(tin()); }

// Formats one real with the caller's format (at most 256 characters of result).
int32_t SPRINTF_(char* dest, const char* format, double value) {
  return std::snprintf(dest, 257, format, value);
}

// Ends a name at its first blank (or leaves its terminator in place).
void AddZero(char* name) {
  for (char* p = name;; ++p)
    if (*p == ' ' || *p == 0) {
      *p = 0;
      return;
    }
}

// Opens a binary file: flag 0 reads, any other value reads and writes, truncating.
void OPNFIL(char* name, int32_t, int32_t& flag_handle, int32_t& err) {
  AddZero(name);
  FILE* f = std::fopen(name, flag_handle == 0 ? "rb" : "w+b");
  flag_handle = enter(f);
  err = flag_handle > 0 ? 0 : 1;
}

// Reads up to n bytes; count = n when all were read, else -1.
void RDFILE(int32_t h, void* buf, int32_t n, int32_t& count) {
  FILE* f = stream(h);
  size_t got = (f && n > 0) ? std::fread(buf, 1, (size_t)n, f) : 0;
  count = (n > 0 && got == (size_t)n) ? n : -1;
}

// Writes n bytes; count = bytes written.
void WTFILE(int32_t h, const void* buf, int32_t n, int32_t& count) {
  FILE* f = stream(h);
  count = (f && n > 0) ? (int32_t)std::fwrite(buf, 1, (size_t)n, f) : 0;
}

// Positions a binary file at its start.
void RWFILE(int32_t h) {
  if (FILE* f = stream(h)) std::rewind(f);
}

// Closes a binary file.
void CLSFIL(int32_t& h) { FCLOSE_(h); }
