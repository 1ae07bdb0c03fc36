// The parameter table, defined once: number, key, kind, default, minimum, maximum.
// Kinds: I integer, R real, H a real that also accepts NONE (with an on/off flag).
// A maximum of -1 means no upper limit. Everything else about the parameters (the
// master-record fields, the table data, the copies between current values and working
// fields) is derived from this list.
#pragma once

#define QUIRN_PARAMS(X)                 \
  X(1, ILFTOL, R, 3e-6, 1e-16, -1)      \
  X(2, FLFTOL, R, 1e-7, 1e-16, -1)      \
  X(3, INFTOL, R, 0.001, 0, -1)         \
  X(4, FNFTOL, R, 1e-6, 0, -1)          \
  X(5, RELINT, R, 8e-6, 1e-32, 1)       \
  X(6, NOPTOL, R, 2e-7, 0, 1)           \
  X(7, ITRSLW, I, 5, 2, -1)             \
  X(8, DERCMP, I, 0, 0, 4)              \
  X(9, ITRLIM, I, 0, 0, -1)             \
  X(10, TIMLIM, I, 0, 0, -1)            \
  X(11, OBJCTS, I, 1, 0, 1)             \
  X(12, MXMEMB, I, 32, 1, -1)           \
  X(13, CUTAPP, I, 2, 0, 2)             \
  X(14, ABSINT, R, 1e-6, 1e-32, 1)      \
  X(15, HEURIS, I, 3, 0, 100)           \
  X(16, HURDLE, H, 0, 0, -1)            \
  X(17, IPTOLA, R, 8e-8, 0, -1)         \
  X(18, IPTOLR, R, 5e-8, 0, 1)          \
  X(19, TIM2RL, I, 100, 0, -1)          \
  X(20, NODESL, I, 0, 0, 3)             \
  X(21, LENPAG, I, 0, 0, -1)            \
  X(22, LINLEN, I, 76, 64, 200)         \
  X(23, TERSEO, I, 0, 0, 1)             \
  X(24, STAWIN, I, 1, 0, 1)             \
  X(25, SPLASH, I, 1, 0, 1)             \
  X(26, OROUTE, I, 0, 0, 1)             \
  X(27, WNLINE, I, 800, 200, -1)        \
  X(28, WNTRIM, I, 400, 100, -1)        \
  X(29, STABAR, I, 1, 0, 1)             \
  X(30, FILFMT, I, 1, 0, 2)             \
  X(31, TOOLBR, I, 1, 0, 1)             \
  X(32, CHKDUP, I, 0, 0, 1)             \
  X(33, ECHOIN, I, 0, 0, 1)             \
  X(34, ERRDLG, I, 1, 0, 1)             \
  X(35, USEPNM, I, 0, 0, 1)             \
  X(36, NSTEEP, I, 0, 0, 1)             \
  X(37, NCRASH, I, 0, 0, 1)             \
  X(38, NSLPDR, I, 1, 0, 1)             \
  X(39, SELCON, I, 0, 0, 1)             \
  X(40, PRBLVL, I, 0, 0, 7)             \
  X(41, SOLVEL, I, 0, 0, 3)             \
  X(42, REDUCE, I, 2, 0, 2)             \
  X(43, SCALEM, I, 1, 0, 1)             \
  X(44, PRIMPR, I, 0, 0, 2)             \
  X(45, DUALPR, I, 0, 0, 2)             \
  X(46, DUALCO, I, 1, 0, 3)             \
  X(47, RCMPSN, I, 0, 0, 1)             \
  X(48, MREGEN, I, 1, 0, 2)             \
  X(49, BRANDR, I, 0, 0, 2)             \
  X(50, BRANPR, I, 0, 0, 1)             \
  X(51, CUTOFF, R, 1e-9, 0, -1)         \
  X(52, STRONG, I, 10, 0, -1)           \
  X(53, REOPTB, I, 0, 0, 3)             \
  X(54, REOPTX, I, 0, 0, 3)             \
  X(55, MAXCTP, I, 200, 0, -1)          \
  X(56, RCTLIM, R, 0.75, 0, -1)         \
  X(57, GUBCTS, I, 1, 0, 1)             \
  X(58, FLWCTS, I, 1, 0, 1)             \
  X(59, LFTCTS, I, 1, 0, 1)             \
  X(60, PLOCTS, I, 1, 0, 1)             \
  X(61, DISCTS, I, 1, 0, 1)             \
  X(62, KNPCTS, I, 1, 0, 1)             \
  X(63, LATCTS, I, 1, 0, 1)             \
  X(64, GOMCTS, I, 1, 0, 1)             \
  X(65, COFCTS, I, 1, 0, 1)             \
  X(66, GCDCTS, I, 1, 0, 1)             \
  X(67, SCLRLM, I, 1000, 0, -1)         \
  X(68, SCLRDL, I, 0, 0, -1)            \
  X(69, PRNCLR, I, 1, 0, 1)             \
  X(70, MULTIS, I, 0, 0, -1)            \
  X(71, USEQPR, I, 0, 0, 1)             \
  X(72, GLOBAL, I, 0, 0, 1)             \
  X(73, LNRISE, I, 0, 0, 3)             \
  X(74, LNBIGM, R, 100000, 0, -1)       \
  X(75, LNDLTA, R, 1e-6, 0, -1)         \
  X(76, BASCTS, I, 1, 0, 1)             \
  X(77, MAXCTR, I, 2, 0, -1)            \
  X(78, HUMNTM, I, 0, 0, -1)            \
  X(79, DECOMP, I, 0, 0, 1)             \
  X(80, GLBOPT, R, 1e-6, 0, -1)         \
  X(81, GLBDLT, R, 1e-7, 0, -1)         \
  X(82, GLBVBD, R, 10000000000.0, 0, -1) \
  X(83, GLBUBD, I, 2, 0, 2)             \
  X(84, GLBBRN, I, 5, 0, 5)             \
  X(85, GLBBXS, I, 1, 0, 1)             \
  X(86, GLBREF, I, 3, 0, 3)             \
  X(87, SUBOUT, I, 2, 0, 3)             \
  X(88, NLPVER, I, 0, 0, 2)             \
  X(89, DBGCLD, I, 0, 0, 3)             \
  X(90, DBGWRM, I, 0, 0, 3)             \
  X(91, LCRASH, I, 1, 0, 2)             \
  X(92, BCROSS, I, 1, 0, 1)             \
  X(93, LOWMEM, I, 0, 0, 1)             \
  X(94, FILOUT, I, 0, 0, 1)             \
  X(95, DBGLVL, I, 15, 1, 15)           \
  X(96, UNARYM, I, 1, 0, 1)             \
  X(97, LINEAR, I, 0, 0, 1)

// Table positions by key, for code that names one parameter (P_LINLEN == 22).
enum QuirnParamIndex {
#define QUIRN_PARAM_ENUM(no, key, kind, def, lo, hi) P_##key = no,
  QUIRN_PARAMS(QUIRN_PARAM_ENUM)
#undef QUIRN_PARAM_ENUM
};
constexpr int NPARAMS = 97;       // parameters in use
constexpr int NPARAMS_DECL = 100;  // room declared for each column
