// The vocabulary of the modelling language (116 tokens), its 100-state statement grammar, the
// argument counts and precedences, and the vocabulary and grammar of the row-by-row syntax.
#include <string>
#include <string_view>
#include <vector>
#include "language/vocab.h"

namespace {

constexpr const char* TOKENS[NTOKENS] = {
    "!1", "!2", "!3", "#NOT#", "+", "-", "*", "/", "^", "#EQ#", "#NE#", "#LE#", "#GE#", "#LT#", "#GT#",
    "#AND#", "#OR#", "MAX=", "MIN=", "END", ";", "<=", "<", "=", ">=", ">", ")", ",", ":", "|", "&", "[", "]",
    "@SIZE(", "@FOR(", "@SUM(", "@MAX(", "@MIN(", "@PROD(", "@WRITEFOR(", "(", "@ABS(", "@SIN(", "@COS(",
    "@TAN(", "@LOG(", "@EXP(", "@FPA(", "@FPL(", "@PSN(", "@PSL(", "@PBN(", "@PEL(", "@PEB(", "@PPS(",
    "@PPL(", "@PFS(", "@PTD(", "@PCX(", "@PFD(", "@LGM(", "@SIGN(", "@FLOOR(", "@PHG(", "@WRAP(", "@SMAX(",
    "@SMIN(", "@RAND(", "@USER(", "@IN(", "@IF(", "@SQRT(", "@POW(", "@SQR(", "@MOD(", "@DUAL(", "@STATUS(",
    "@RANGEU(", "@RANGED(", "@FORMAT(", "@STRLEN(", "@NEWLINE(", "@ITERS(", "@NAME(", "@WRITE(", "@RIM(",
    "@NONZ(", "@TYPE(", "@CLASS(", "@GIN(", "@BND(", "@BIN(", "@FREE(", "@WARN(", "@IMPORT(", "@WKX(",
    "@OLE(", "@ODBC(", "@TEXT(", "@INDEX(", "@QRAND(", "DATA:", "ENDDATA", "?", "SETS:", "ENDSETS", "1..",
    "INIT:", "ENDINIT", "TITLE", "@POINTER(", "!4", "..", "!5", "CALC:", "ENDCALC"};

// Each state's row: tokens in try order, "=>n" giving the next state of the tokens before it.
// #1 number, #2 name, #3 line text, #4 quoted text, #5 integer; MATH and SETF are the groups.
constexpr const char* MATH =
    "@ABS( @SQRT( @SIN( @COS( @TAN( @LOG( @EXP( @FPA( @FPL( @PSN( @PSL( @PBN( @PEL( @PEB( @PPS( @PPL( "
    "@PFS( @PTD( @PCX( @PFD( @LGM( @SIGN( @FLOOR( @PHG( @WRAP( @SMAX( @SMIN( @RAND( @USER( @IF( @POW( "
    "@SQR( @MOD(";
constexpr const char* SETF = "@SUM( @MAX( @MIN( @PROD(";
constexpr const char* OPS = "+ - * / ^ #EQ# #NE# #LE# #GE# #LT# #GT# #AND# #OR#";

// State 1's row. The rows of states 27, 55 and 100 end the call and are never consulted;
// they hold state 1's tokens less the section openers (27, 55) or less CALC:, ENDCALC and
// ")" (100), which keeps every state at its place and size.
#define STATE1                                                                                             \
  "MAX= MIN= =>5 END =>15 DATA: INIT: =>25 SETS: =>35 CALC: =>99 ENDCALC =>100 TITLE =>33 #1 #2 #4 =>3 " \
  "+ - #NOT# =>2 @FOR( =>19 SETF =>8 ) =>18 MATH ( @GIN( @BND( @BIN( @FREE( =>7 @IN( =>59 @INDEX( =>80 "  \
  "@WARN( =>61 @SIZE( =>24 ; =>1 [ =>21"

constexpr const char* ROWS[NSTATES + 1] = {
    nullptr,
    /*1*/ STATE1,
    /*2*/ "#1 #2 =>3 SETF =>8 MATH ( @DUAL( @STATUS( @RANGEU( @RANGED( @STRLEN( @ITERS( @NONZ( =>7 @IN( =>59 "
          "@INDEX( =>80 @SIZE( =>24 + - #NOT# =>2 & =>57",
    /*3*/ "OPS =>4 ( =>16 <= < = >= > =>6 ) =>18 , =>17 ; =>1 : =>14",
    /*4*/ "#1 #2 #4 =>3 SETF =>8 MATH ( @DUAL( @STATUS( @RANGEU( @RANGED( @FORMAT( @STRLEN( @ITERS( @NAME( @RIM( "
          "@NONZ( @TYPE( @CLASS( @NEWLINE( =>7 @IN( =>59 @INDEX( =>80 @SIZE( =>24 + - #NOT# =>2 & =>57",
    /*5*/ "#1 #2 =>3 SETF =>8 MATH ( =>7 @IN( =>59 @INDEX( =>80 @SIZE( =>24 #NOT# + - =>2",
    /*6*/ "#1 #2 =>3 MATH ( =>7 SETF =>8 @INDEX( =>80 @IN( =>59 @SIZE( =>24 #NOT# + - =>2",
    /*7*/ "#1 #2 #4 =>3 MATH ( @DUAL( @STATUS( @RANGEU( @RANGED( @FORMAT( @STRLEN( @ITERS( @NAME( @RIM( @NONZ( "
          "@TYPE( @CLASS( @GIN( @NEWLINE( =>7 ) =>18 @IN( =>59 @INDEX( =>80 @SIZE( =>24 SETF =>8 #NOT# + - =>2 "
          "& =>57",
    /*8*/ "#2 =>9",
    /*9*/ "( =>10 : =>14 | =>20",
    /*10*/ "#2 =>11",
    /*11*/ ", =>12 ) =>13",
    /*12*/ "#2 =>11",
    /*13*/ ": =>14 | =>20",
    /*14*/ "MAX= MIN= =>5 #1 #2 #4 =>3 @FOR( =>19 SETF =>8 MATH ( @DUAL( @STATUS( @RANGEU( @RANGED( @FORMAT( "
           "@STRLEN( @ITERS( @NAME( @RIM( @NONZ( @TYPE( @CLASS( @GIN( @BND( @BIN( @FREE( @NEWLINE( =>7 @IN( =>59 "
           "@INDEX( =>80 @WARN( =>61 @SIZE( =>24 #NOT# + - =>2 [ =>21 & =>57 @WRITEFOR( =>93",
    /*15*/ "END =>0",
    /*16*/ "#1 #2 =>3 MATH ( @DUAL( @STATUS( @RANGEU( @RANGED( @ITERS( @RIM( @NONZ( =>7 @IN( =>59 @INDEX( =>80 "
           "@SIZE( =>24 SETF =>8 & =>57",
    /*17*/ "#1 #2 #4 =>3 MATH ( @DUAL( @STATUS( @RANGEU( @RANGED( @FORMAT( @STRLEN( @ITERS( @NAME( @RIM( @NONZ( "
           "@TYPE( @CLASS( @NEWLINE( =>7 @IN( =>59 @INDEX( =>80 @SIZE( =>24 SETF =>8 #NOT# + - =>2 & =>57 "
           "@WRITEFOR( =>93",
    /*18*/ "OPS =>4 <= < = >= > =>6 ; =>1 , =>17 ) =>18 : =>14",
    /*19*/ "#2 =>9",
    /*20*/ "#1 #2 #4 =>3 MATH ( @DUAL( @STATUS( @RANGEU( @RANGED( @FORMAT( @STRLEN( @ITERS( @NAME( @RIM( @NONZ( "
           "@TYPE( @CLASS( =>7 @IN( =>59 @INDEX( =>80 @SIZE( =>24 SETF =>8 #NOT# + - =>2 & =>57",
    /*21*/ "#2 =>22",
    /*22*/ "] =>23",
    /*23*/ "MAX= MIN= =>5 #1 #2 =>3 + - #NOT# =>2 SETF =>8 MATH ( @GIN( @BND( @BIN( @FREE( =>7 @IN( =>59 "
           "@INDEX( =>80 @WARN( =>61 @SIZE( =>24 ; =>1",
    /*24*/ ") =>18",
    /*25*/ "ENDDATA ENDINIT =>27 #2 =>26 @WKX( @OLE( @ODBC( @TEXT( @POINTER( =>63",
    /*26*/ "= =>28 , =>76 #2 =>26",
    /*27*/ "MAX= MIN= =>5 END =>15 ENDCALC =>100 TITLE =>33 #1 #2 #4 =>3 + - #NOT# =>2 @FOR( =>19 SETF =>8 ) =>18 MATH ( "
           "@GIN( @BND( @BIN( @FREE( =>7 @IN( =>59 @INDEX( =>80 @WARN( =>61 @SIZE( =>24 ; =>1 [ =>21",
    /*28*/ "+ - =>58 #1 =>30 #2 =>85 @IMPORT( @WKX( @OLE( @ODBC( @TEXT( @POINTER( =>72 @QRAND( =>89 ? =>31 , =>32 "
           "; =>34",
    /*29*/ ": =>1 #3 =>33",
    /*30*/ ", =>32 + - =>58 / =>33 #1 =>30 #2 =>85 ; =>34 ? =>31",
    /*31*/ ", =>32 ? =>31 #1 =>30 ; =>34",
    /*32*/ "+ - =>58 #1 =>30 #2 =>85 ? =>31 , =>32 ; =>34",
    /*33*/ "; =>1 #3 =>60",
    /*34*/ "ENDDATA ENDINIT =>27 #2 =>26 @WKX( @OLE( @ODBC( @TEXT( @POINTER( =>63",
    /*35*/ "ENDSETS =>55 #2 =>36",
    /*36*/ "( =>37 / =>45 : =>41 ; =>44",
    /*37*/ "#2 =>38",
    /*38*/ ", =>39 ) =>40",
    /*39*/ "#2 =>38",
    /*40*/ ": =>41 ; =>44 ENDSETS =>55 / =>49 | =>56",
    /*41*/ "#2 =>42 ; =>44",
    /*42*/ ", =>43 ; =>44",
    /*43*/ "#2 =>42",
    /*44*/ "ENDSETS =>55 #2 =>36",
    /*45*/ "#2 =>46 @ODBC( @OLE( =>62",
    /*46*/ ", =>47 / =>52 #2 =>46 .. =>87",
    /*47*/ "#2 =>46",
    /*48*/ "; =>1",
    /*49*/ "#2 =>50 @ODBC( @OLE( =>62",
    /*50*/ ", =>51 / =>52 #2 =>50",
    /*51*/ "#2 =>50",
    /*52*/ ": =>41 ; =>44",
    /*53*/ "; =>34",
    /*54*/ "/ =>52",
    /*55*/ "MAX= MIN= =>5 END =>15 ENDCALC =>100 TITLE =>33 #1 #2 #4 =>3 + - #NOT# =>2 @FOR( =>19 SETF =>8 ) =>18 MATH ( "
           "@GIN( @BND( @BIN( @FREE( =>7 @IN( =>59 @INDEX( =>80 @WARN( =>61 @SIZE( =>24 ; =>1 [ =>21",
    /*56*/ "#1 #2 =>3 #NOT# + - =>2 SETF =>8 MATH ( =>7 @IN( =>59 @INDEX( =>80 @SIZE( =>24 ; =>1 & =>57",
    /*57*/ "OPS =>4 ; =>1 , =>17 ) =>18 : =>14",
    /*58*/ "+ - =>58 #1 =>30",
    /*59*/ ", =>17",
    /*60*/ "; =>1",
    /*61*/ ", =>17",
    /*62*/ ") =>75 #3 =>73",
    /*63*/ ") =>66 , =>65 #3 =>64",
    /*64*/ ", =>65 ) =>66",
    /*65*/ "#3 =>64",
    /*66*/ "= =>68",
    /*67*/ "ENDDATA ENDINIT =>27 #2 =>26 @OLE( @ODBC( @TEXT( @WKX( @POINTER( =>63",
    /*68*/ "#2 =>69 @WRITEFOR( =>93 @WRITE( =>7 @DUAL( @RANGEU( @RANGED( =>71 @STATUS( =>79 #4 =>86",
    /*69*/ ", =>70 ; =>67 #2 =>69 ) =>78 @DUAL( @RANGEU( @RANGED( =>71 #4 =>86",
    /*70*/ "#2 =>69 @DUAL( @RANGEU( @RANGED( =>71 #4 =>86",
    /*71*/ "#2 =>69",
    /*72*/ ") =>75 , =>74 #3 =>73",
    /*73*/ ", =>74 ) =>75",
    /*74*/ "#3 =>73",
    /*75*/ "; =>34 / =>52",
    /*76*/ "#2 =>26",
    /*77*/ "; =>34",
    /*78*/ "#2 =>69 , =>70 ; =>67 @DUAL( @RANGEU( @RANGED( =>71 #4 =>86",
    /*79*/ "ENDDATA ENDINIT =>27 #2 =>26 @OLE( @ODBC( @TEXT( @WKX( @POINTER( =>63",
    /*80*/ "#2 =>81",
    /*81*/ ") =>84 , =>82",
    /*82*/ "#2 =>83",
    /*83*/ ") =>84",
    /*84*/ "OPS =>4 <= < = >= > =>6 ; =>1 , =>17 ) =>18 : =>14",
    /*85*/ ", =>32 #1 =>30 #2 =>85 ; =>34 ? =>31 + - =>58 .. =>96",
    /*86*/ ", =>70 #4 =>86 #2 =>69 ; =>67 @DUAL( @RANGEU( @RANGED( =>71",
    /*87*/ "#2 =>88",
    /*88*/ "/ =>52",
    /*89*/ ") =>90 #5 =>91 #2 =>92",
    /*90*/ "; =>34",
    /*91*/ ") =>90",
    /*92*/ ") =>90",
    /*93*/ "#2 =>9",
    /*94*/ "; =>95",
    /*95*/ "ENDDATA ENDINIT =>27 #2 =>26 @WKX( @OLE( @ODBC( @TEXT( @POINTER( =>63",
    /*96*/ "#2 =>97",
    /*97*/ "; =>95",
    /*98*/ "; =>95",
    /*99*/ "ENDCALC =>100 #1 #2 #4 =>3 + - #NOT# =>2 @FOR( =>19 SETF =>8 ) =>18 MATH ( @GIN( @BND( @BIN( @FREE( "
           "=>7 @IN( =>59 @INDEX( =>80 @WARN( =>61 @SIZE( =>24 ; =>1 [ =>21",
    /*100*/ "MAX= MIN= =>5 END =>15 DATA: INIT: =>25 SETS: =>35 TITLE =>33 #1 #2 #4 =>3 + - #NOT# =>2 @FOR( =>19 "
            "SETF =>8 MATH ( @GIN( @BND( @BIN( @FREE( =>7 @IN( =>59 @INDEX( =>80 @WARN( =>61 @SIZE( =>24 "
            "; =>1 [ =>21",
};

// Calls f on each blank-separated word of s.
template <class F>
constexpr void eachword(std::string_view s, F f) {
  size_t p = 0;
  for (;;) {
    p = s.find_first_not_of(' ', p);
    if (p == std::string_view::npos) return;
    size_t e = s.find(' ', p);
    if (e == std::string_view::npos) e = s.size();
    f(s.substr(p, e - p));
    p = e;
  }
}

// Token number of a word of the grammar rows: a symbol class, or the first token with its text.
constexpr int16_t token_of(std::string_view w) {
  if (w == "#1") return 1;
  if (w == "#2") return 2;
  if (w == "#3") return 3;
  if (w == "#4") return 112;
  if (w == "#5") return 114;
  for (int i = 0; i < NTOKENS; ++i)
    if (w == TOKENS[i]) return (int16_t)(i + 1);
  return 0;
}

// The grammar tables from the rows of states 1..n (rows[0] unused): each state's tokens in
// try order, and per token the state that "=>n" after it names; a group word (MATH, SETF,
// OPS) stands for the tokens of its group; tok numbers a word. Evaluated while compiling.
template <class G, class Tok>
constexpr G makegrammar(const char* const* rows, int32_t n, Tok tok) {
  G g{};
  int32_t e = 0;
  for (int32_t s = 1; s <= n; ++s) {
    g.nsinpt[s] = e + 1;
    int32_t pending = e;
    eachword(rows[s], [&](std::string_view w) {
      if (w.substr(0, 2) == "=>") {
        int16_t to = 0;
        for (char c : w.substr(2)) to = (int16_t)(to * 10 + (c - '0'));
        for (int32_t k = pending + 1; k <= e; ++k) g.kod2st[k] = to;
        pending = e;
      } else if (w == "MATH" || w == "SETF" || w == "OPS") {
        eachword(w == "MATH" ? MATH : w == "SETF" ? SETF : OPS, [&](std::string_view x) { g.nsintx[++e] = tok(x); });
      } else {
        g.nsintx[++e] = tok(w);
      }
    });
  }
  g.nsinpt[n + 1] = e + 1;
  g.nentries = e;
  return g;
}

// True when every word of the rows named a token and every state has a row.
template <class G>
constexpr bool complete(const G& g, int32_t n) {
  for (int32_t k = 1; k <= g.nentries; ++k)
    if (g.nsintx[k] == 0) return false;
  for (int32_t s = 1; s <= n; ++s)
    if (g.nsinpt[s + 1] <= g.nsinpt[s]) return false;
  return true;
}

constexpr Grammar GRAMMAR = makegrammar<Grammar>(ROWS, NSTATES, token_of);
static_assert(complete(GRAMMAR, NSTATES), "a grammar row names an unknown token");

// The lead table of a vocabulary: slot 0 unused, then each token's first character, or 0
// for a symbol class.
std::string leads(const char* const* tokens, int32_t n) {
  std::string out(1, '\0');
  for (int32_t i = 0; i < n; ++i) {
    std::string_view t = tokens[i];
    out += (t.size() == 2 && t[0] == '!') || t.empty() ? '\0' : t[0];
  }
  return out;
}

struct Built {
  Vocab voc;
  std::string text, lead;
  std::vector<int32_t> start;
  Built() {
    start.push_back(1);
    for (int i = 0; i < NTOKENS; ++i) {
      text += TOKENS[i];
      start.push_back((int32_t)text.size() + 1);
    }
    lead = leads(TOKENS, NTOKENS);
    voc = {text.c_str(), start.data(), NTOKENS, lead.data()};
  }
};

constexpr const char* BRK_TOKENS[BRK_NTOK] = {"!1",  "!2",  "+",   "-",   "MAX", "MIN",   "S.T.", "ST",
                                          "SUBJECTTO", "END", "<=", "<", "=", ">=", ">", "TITLE",
                                          "INT", "GIN", "FREE", "SUB", "SLB", "MAXIMIZE", "MINIMIZE"};
constexpr const char* BRK_ROWS[BRK_NSTATES + 1] = {
    nullptr,
    /*1*/ "!1 =>9 MAXIMIZE MINIMIZE =>2 TITLE =>11 END =>5 MAX MIN =>2 !2 =>3 - + =>10",
    /*2*/ "END =>5 !1 =>9 S.T. ST SUBJECTTO =>4 !2 =>3 + - =>10",
    /*3*/ "+ - =>8 <= < = >= > =>6 S.T. ST SUBJECTTO =>4",
    /*4*/ "END =>5 !1 =>9 !2 =>3 + - =>10",
    /*5*/ "END =>5 INT GIN FREE SUB SLB =>12",
    /*6*/ "!1 =>7 + - =>10",
    /*7*/ "END =>5 !1 =>9 !2 =>3 + - =>10",
    /*8*/ "!1 =>9 !2 =>3 + - =>10",
    /*9*/ "!2 =>3",
    /*10*/ "!1 =>9 !2 =>3 + - =>10",
    /*11*/ "!1 =>9 MAXIMIZE MINIMIZE MAX MIN =>2 !2 =>3 - + =>10",
    /*12*/ "!2 =>13 !1 =>14",
    /*13*/ "INT GIN FREE SUB SLB =>12 !1 =>14 + - =>15",
    /*14*/ "INT GIN FREE SUB SLB =>12",
    /*15*/ "!1 =>14 + - =>15",
};

// Token number of a word of the row syntax's rows: the last token with its text.
constexpr int16_t brk_token_of(std::string_view w) {
  int16_t t = 0;
  for (int i = 0; i < BRK_NTOK; ++i)
    if (w == BRK_TOKENS[i]) t = (int16_t)(i + 1);
  return t;
}

constexpr BrkGrammar BRK_GRAMMAR = makegrammar<BrkGrammar>(BRK_ROWS, BRK_NSTATES, brk_token_of);
static_assert(complete(BRK_GRAMMAR, BRK_NSTATES), "a row of the row syntax names an unknown token");

struct BrkBuilt {
  Vocab voc;
  std::string text, lead;
  std::vector<int32_t> start;
  BrkBuilt() {
    start.push_back(1);
    for (int i = 0; i < BRK_NTOK; ++i) {
      text += BRK_TOKENS[i];
      start.push_back((int32_t)text.size() + 1);
    }
    lead = leads(BRK_TOKENS, BRK_NTOK);
    voc = {text.c_str(), start.data(), BRK_NTOK, lead.data()};
  }
};

const Built& built() {
  static const Built b;
  return b;
}
const BrkBuilt& brk_built() {
  static const BrkBuilt b;
  return b;
}

}  // namespace

const Vocab& qrn_vocab() { return built().voc; }
const Grammar& qrn_grammar() { return GRAMMAR; }
const Vocab& brk_vocab() { return brk_built().voc; }
const BrkGrammar& brk_grammar() { return BRK_GRAMMAR; }

// Argument counts of the bracket tokens 41 ("(") to 94 (@WARN(); -1 any number.
const int32_t NARGS[] = {
    1,                                  // (
    1, 1, 1, 1, 1, 1,                   // ABS SIN COS TAN LOG EXP
    2, 2, 1, 1, 3, 2, 2, 2, 2, 3, 2, 2, 3,  // FPA FPL PSN PSL PBN PEL PEB PPS PPL PFS PTD PCX PFD
    1, 1, 1, 4, 2, -1, -1, 1, -1,       // LGM SIGN FLOOR PHG WRAP SMAX SMIN RAND USER
    0, 3, 1, 2, 1, 2,                   // IN (set by the compiler) IF SQRT POW SQR MOD
    1, 0, 1, 1, 2, 1, 1, 0, 1, -1,      // DUAL STATUS RANGEU RANGED FORMAT STRLEN NEWLINE ITERS NAME WRITE
    1, 1, 1, 1,                         // RIM NONZ TYPE CLASS
    1, 3, 1, 1, 2,                      // GIN BND BIN FREE WARN
};
static_assert(sizeof(NARGS) / sizeof(NARGS[0]) == 94 - 41 + 1);

// 0 for the report functions, which only output statements may use.
const int32_t NMODELOK[] = {
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // @DUAL( .. @CLASS(
    1, 1, 1, 1, 1, 1, 1,                       // @GIN( .. @WKX(
};
static_assert(sizeof(NMODELOK) / sizeof(NMODELOK[0]) == 96 - 41 + 1);

int32_t nprec(int32_t tok, int32_t unarym) {
  switch (tok) {
    case 3: return unarym == 0 ? 7 : 12;
    case 4: return 12;
    case 5: case 6: return 6;
    case 7: case 8: return 8;
    case 9: return 10;
    case 16: case 17: return 2;
    default: return (tok >= 10 && tok <= 15) ? 4 : 0;
  }
}
