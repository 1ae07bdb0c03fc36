// Platform services behind hooks: status bar and windows, message boxes and beeps, pane
// locks, user-function library, spreadsheet and database links do nothing on this platform;
// the clock and the date read the system's. None prints anything; none reads its arguments
// unless stated.
#pragma once
#include <cstdint>

struct MasterRecord;

#define QUIRN_NOOP_HOOK(name) \
  template <class... A>       \
  inline void name(A&&...) {}
#define QUIRN_FIXED_HOOK(name, value) \
  template <class... A>               \
  inline int32_t name(A&&...) {       \
    return value;                     \
  }

// status bar, windows, pane locks, message boxes
QUIRN_NOOP_HOOK(brbupdt_)
QUIRN_NOOP_HOOK(brbremv_)
QUIRN_NOOP_HOOK(printb_)
QUIRN_NOOP_HOOK(beeper_)
QUIRN_NOOP_HOOK(ebox_)
QUIRN_NOOP_HOOK(record_)
QUIRN_NOOP_HOOK(gotolf_)
QUIRN_NOOP_HOOK(windoz_)
QUIRN_NOOP_HOOK(watsupgen_)
QUIRN_NOOP_HOOK(nwatsupc_)
QUIRN_NOOP_HOOK(stsgnc_)
QUIRN_NOOP_HOOK(stsmem_)
QUIRN_NOOP_HOOK(clrstat_)
QUIRN_NOOP_HOOK(clrsts_)
QUIRN_NOOP_HOOK(setpane0lock_)
QUIRN_NOOP_HOOK(setpane0unlock_)
QUIRN_NOOP_HOOK(recvar_)
QUIRN_NOOP_HOOK(nullname_)
QUIRN_NOOP_HOOK(getrtic_)
QUIRN_NOOP_HOOK(calluser_)
QUIRN_NOOP_HOOK(sigboxf_)
QUIRN_NOOP_HOOK(loadw_)
QUIRN_NOOP_HOOK(capsig_)
QUIRN_NOOP_HOOK(in2wnd_)
QUIRN_NOOP_HOOK(finstat_)
QUIRN_NOOP_HOOK(sigslp_)
QUIRN_NOOP_HOOK(freelibc_)
QUIRN_NOOP_HOOK(BREAKP)
QUIRN_NOOP_HOOK(MESSBX)
// database link: "not available"
QUIRN_FIXED_HOOK(odbcinit_, 0)
QUIRN_FIXED_HOOK(odbcdsrc_, 0)
QUIRN_FIXED_HOOK(odbcputd_, 0)
QUIRN_FIXED_HOOK(odbcputs_, 0)
QUIRN_FIXED_HOOK(odbcend_, 0)
QUIRN_FIXED_HOOK(odbcgets_, 0)
QUIRN_FIXED_HOOK(odbcgetd_, 0)
QUIRN_FIXED_HOOK(ODBCPUT_, 0)
// spreadsheet link: "not available"
QUIRN_FIXED_HOOK(XLXINIT_, 0)
QUIRN_FIXED_HOOK(XLXOPENFILE_, 0)
QUIRN_FIXED_HOOK(XLXGETNAMEOFACTIVEWORKBOOK_, 0)
QUIRN_FIXED_HOOK(XLXGETSETMEMBERS_, 0)
QUIRN_FIXED_HOOK(XLXRANGEREAD_, 0)
QUIRN_FIXED_HOOK(XLXEXIT_, 0)
QUIRN_FIXED_HOOK(XLXGETRANGEINFO_, 0)
QUIRN_FIXED_HOOK(XLXBUILDRANGE_, 0)
QUIRN_FIXED_HOOK(XLXPUTSETMEMBERS_, 0)
QUIRN_FIXED_HOOK(XLXGETCELLCOUNT_, 0)
QUIRN_FIXED_HOOK(XLXMIXEDRANGEWRITE_, 0)
QUIRN_FIXED_HOOK(XLXEXPORT2_, 1)
// the stability flag
QUIRN_FIXED_HOOK(setquirnstabilityflag_, 1)

#undef QUIRN_NOOP_HOOK
#undef QUIRN_FIXED_HOOK

// Hooks with a rule.
void getuserfncptr_(int32_t& companion, int32_t& entry);  // both 0: no user-function library
void userinterrupt_(int32_t& flag);                        // 1: Ctrl-C since the command began
void clearinterrupt_();                                    // a new command: no interrupt
void sigsetup_();                                          // Ctrl-C, SIGPIPE, SIGXFSZ handling
void interruptibleread_(bool on);                          // Ctrl-C breaks off a terminal read
void getime_(int32_t& clock);                              // local time of day, hundredths of a second
void cumtim_(double& seconds);                             // getime_ x 0.01
void brgtdt_(int32_t& dayno);                              // day number of today's local date
void clrsolvetime_(MasterRecord& L);                       // the time limit counts from now
// Where getime_ and brgtdt_ read the time: the local time of day in hundredths of a second
// and the local date. setclocksource_(nullptr) restores the system's clock; a test installs
// its own source to run a session against a clock it controls.
using ClockSource = void (*)(int32_t& hundredths, int32_t& day, int32_t& month, int32_t& year);
void setclocksource_(ClockSource source);
void stsgn2_(MasterRecord& L, int32_t unused, int32_t& status);  // 2 time up, 1 interrupted
// Pointer input: fills dest(1..n) with 1, 2, ..., n and answers n + 1 (1 when n < 1), which
// callers take as failure.
int32_t getptrvals_(int32_t& result, int32_t ptrno, int32_t n, double* dest);
void freelibrary_(MasterRecord& L);
// Pointer output: hands n values for the embedding program's pointer ptrno through the
// receiver it installed (none here: every value is accepted and nothing moves). Result 0
// accepted; anything else means the pointer number is invalid.
using PtrReceiver = int32_t (*)(int32_t ptrno, int32_t n, const double* values);
int32_t putptrvals_(int32_t* ptrtab, int32_t ptrno, int32_t n, const double* values);
// Installs (or, with nullptr, removes) the embedding program's receiver of pointer output.
void setptrreceiver_(PtrReceiver receiver);
