// COM, CAT and HELP: the command catalogue by category and the help texts, all defined
// here as data.
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "store/io.h"
#include "store/store.h"
#include "session/modeltext.h"
#include "session/session.h"

namespace {

// Category names, numbered 1..NCATS.
const char* const CATNAME[NCATS + 1] = {"",        "Information",     "Input", "Display",
                                        "File Output", "Solution", "Problem Editing", "Quit",
                                        "System Parameters", "Miscellaneous"};

// Markers standing for generated parts of a help text.
const char* const PARAMTABLE = "\x01";  // the parameter table with current values
const char* const APILIST = "\x02";     // the custom solver-library parameters

// The body lines are a list of their own, not a fixed array: the pointers the loader
// relocates at start then fill one page rather than eight pages of mostly empty slots.
struct HelpTopic {
  int32_t cmd;
  const char* heading;                      // nullptr: the text has no heading
  std::initializer_list<const char*> lines;  // body lines, ending with nullptr
};

const HelpTopic TOPICS[] = {
    {CMD_MODEL, " MODEL command:",
     {" The  model  command  initiates  input  of a  model  from the",
      " keyboard.   Constraints in the  model  are  terminated  with",
      " a semicolon;  a model  may  have an  objective  of the  form",
      "",
      "    \"MIN = expression\" or \"MAX = expression\".",
      "",
      " The end of a model is signified with the word \"END\".",
      "",
      " Other useful symbols are:",
      "",
      "    Relation   Order   Infix",
      "        >        (       +",
      "        <        )       -",
      "        =                /",
      "                         *",
      "                         ^",
      "",
      "   Prefix Functions:      Set Functions:",
      "    @ABS( X)               @IN( SET NAME, SET MEMBER)",
      "    @BIN( VAR)             @INDEX( PRIM SET, SET MEMBER)",
      "    @COS( X)               @MAX( SET | COND: EXP)",
      "    @EXP( X)               @MIN( SET | COND: EXP)",
      "    @FLOOR( X)             @PROD( SET | COND: EXP)",
      "    @FPA( I, N)            @SIZE( SET)",
      "    @FPL( I, N)            @SUM( SET | COND: EXP)",
      "    @FREE( VAR)",
      "    @GIN( VAR)            I/O Functions:",
      "    @IF( COND, T, F)       @DUAL( VAR/ROW)",
      "    @LGM( N)               @FILE( 'FILE')",
      "    @LOG( X)               @ODBC( 'DB', 'TABLE', 'COL')",
      "    @MOD( XN, XD)          @OLE( 'XLS FILE', 'RANGE')",
      "    @PBN( P, N, X)         @POINTER( N)",
      "    @PCX( DF, X)           @RANGED( VAR/ROW)",
      "    @PEB( ARL, S)          @RANGEU( VAR/ROW)",
      "    @PEL( ARL, S)          @STATUS()",
      "    @PFD( DFN, DFD, X)     @TEXT( 'FILE')",
      "    @PHG( P, G, S, X)",
      "    @PFS( ARL, S, C)",
      "    @POW( X, Y)",
      "    @PPL( ARL, S)",
      "    @PPS( ARL, S)",
      "    @PSN( Z)",
      "    @PSL( Z)",
      "    @PTD( DF, X)",
      "    @QRAND( SEED)",
      "    @RAND( X)",
      "    @SIGN( X)",
      "    @SMAX( X1, ..., XN)",
      "    @SMIN( X1, ..., XN)",
      "    @SQRT( X)",
      "    @TAN( X)",
      "    @USER( X1, ..., XN)",
      "    @WARN( 'TEXT', CONDITION)",
      "    @WRAP( INDEX, SET SIZE)",
      "",
      " e.g., the following would be valid input:",
      "",
      "     MODEL:",
      "     !   A simple product mix model;",
      "       MAX = PCREV * PCS + X2REV * XTS;",
      "       PCS < PCKEYB;  XTS < XTKEYB;",
      "       PCS + 2 * XTS < DRIVES;",
      "       PCREV  = 20;  XTREV  = 30;",
      "       PCKEYB = 60;  XTKEYB = 50;",
      "       10 * 12 > DRIVES;",
      "     END",
      "     GO", nullptr}},
    {CMD_LOOK, " LOOK command:",
     {" Use  \"LOOK\"  to  examine  all  or part of the current model.",
      " Type \"LOOK ALL\" to  look  at  all  the  model.   Type  \"LOOK",
      " line1,line2\" to look at lines line1 thru line2.", nullptr}},
    {CMD_QUIT, " QUIT command:",
     {" Use \"QUIT\" to exit QUIRN.  Any unsaved model will be lost!", nullptr}},
    {CMD_COM, " COMMAND command:",
     {" Gives a listing of all QUIRN commands by category.", nullptr}},
    {CMD_CAT, " CATEGORY command:",
     {" Lists the categories of commands and optionally the commands",
      " in selected categories.", nullptr}},
    {CMD_TAKE, " TAKE command:",
     {" Allows  a  series  of commands to be taken from a file.  The",
      " file  contents  should  appear  exactly as  terminal  input.",
      " A file created with the \"SAVE\" command  can be read with the",
      " TAKE command.", nullptr}},
    {CMD_GO, " GO command:",
     {" Solves the current model.", nullptr}},
    {CMD_DEL, " DELETE command:",
     {" Deletes lines of the current model.  Type \"DEL n\" to delete",
      " line n, or \"DEL n1 n2\" to delete lines n1 thru n2.", nullptr}},
    {CMD_EXT, " EXTEND command:",
     {" Permits you to add lines to the current model. Indicate end",
      " by typing \"END\".", nullptr}},
    {CMD_ALT, " ALTER command:",
     {" Form is:  ALTER linerange 'oldtext'newtext'",
      " Replaces every occurrence of oldtext by newtext in the lines",
      " of the range; the case of letters in oldtext is ignored.",
      " The range is one line number n, two line numbers n1 n2 for",
      " lines n1 thru n2, or ALL for every line, as with DEL.  When",
      " oldtext holds an apostrophe, use double quotes instead,",
      " e.g., ALTER ALL \"a'b\"c\".", nullptr}},
    {CMD_DIV, " DIVERT command:",
     {" You  will  be  asked  for  a file.  All subsequent hi-volume",
      " output, e.g.  solution reports, will  be  diverted  to  this",
      " file until a RVRT (REVERT) command is given.", nullptr}},
    {CMD_RVRT, " RVRT command:",
     {" Undoes the effect of the \"DIVERT\" command.    All subsequent",
      " output will revert to the terminal or to the previous DIVERT",
      " file if more than one is open.", nullptr}},
    {CMD_REV, " RVRT command:",
     {" Undoes the effect of the \"DIVERT\" command.    All subsequent",
      " output will revert to the terminal or to the previous DIVERT",
      " file if more than one is open.", nullptr}},
    {CMD_EDIT, nullptr,
     {" The EDIT command lets you change the current model with a",
      " full-screen editor, moving through the text with the cursor",
      " keys.  EDIT exists only on other platforms.", nullptr}},
    {CMD_SOLU, " SOLUTION command:",
     {" Prints the standard solution report of the last solve.  It",
      " does not solve the model: use \"GO\" first.  The form",
      " SOLU \"TEXT\" NAME prints TEXT at the start of the report and",
      " only the variables, attributes or rows whose names match",
      " NAME; NONZ \"TEXT\" NAME does the same for the short report.", nullptr}},
    {CMD_NONZ, " NONZEROES command:",
     {" Prints a short solution report: only the variables with",
      " nonzero values and the binding rows.  This is sensible",
      " after \"TERSE\", which stops the solution report at optimum.", nullptr}},
    {CMD_SAVE, " SAVE command:",
     {" Saves the current model in a file in text format.  The  model",
      " may be retrieved with the \"TAKE\" command.", nullptr}},
    {CMD_GENL, " GENL command:",
     {" Like \"GEN\", but the scalar model is displayed in the format",
      " of the row-by-row syntax.  Names are compressed to 8",
      " characters, with a warning when they stop being unique.", nullptr}},
    {CMD_GEN, " GEN command:",
     {" Generates and displays the scalar model.  Linear variables",
      " are shown with their coefficients, nonlinear ones with \"?\".", nullptr}},
    {CMD_HELP, " HELP command:",
     {" \"HELP\" alone gives general information about QUIRN.",
      " \"HELP command\" gives the help on that command.", nullptr}},
    {CMD_PAGE, " PAGE command:",
     {" Sets page or screen size in lines.  e.g., PAGE 25 will cause",
      " a  pause before printing the 25th line of a report.  Hitting",
      " a CR will cause the next batch of lines to be printed.  PAGE",
      " 0 sets the size to infinity and is appropriate for  hardcopy",
      " terminals.", nullptr}},
    {CMD_IPTOL, nullptr,
     {" Form is:  IPTOL  F;   where  F  is a  nonnegative  fraction.",
      " When  searching  for  another  IP solution,  only  solutions",
      " which  are  fraction  F  better  than the best one found  so",
      " far will be considered.", nullptr}},
    {CMD_RANGE, " RANGE command:",
     {" Prints a range  report on the right hand sides and objective",
      " coefficients.   You may  set the  width of the output report",
      " using the \"WIDTH\" command. The range report may also be sent",
      " to a file using the \"DIVERT\" command. The RANGE command will",
      " be disabled if QUIRN is not configured to compute ranges. To",
      " configure QUIRN to compute ranges type: \"SET DUALCO 2\". Note",
      " that range computations will slow overall solution times.", nullptr}},
    {CMD_TERS, " TERSE command:",
     {" Changes the conversational style to terse, e.g., it does not",
      " automatically print the solution report at optimum. The user",
      " may  browse  thru  the  solution  with commands like \"NONZ\".",
      " \"VERBOSE\" undoes \"TERSE\".", nullptr}},
    {CMD_VERB, " VERBOSE command:",
     {" Converts  the  conversational  style  back  to  the  default",
      " \"VERBOSE\" style.", nullptr}},
    {CMD_BAT, " BATCH command:",
     {" Toggles terminal echoing.   In batch mode this will make",
      " the output more readable, and will stop the run at the first",
      " major error.", nullptr}},
    {CMD_MEM, " MEM command:",
     {" Prints  summary statistics  regarding the  amount of  memory",
      " used by QUIRN's model generator. This is memory used solely",
      " for model generation and is distinct from memory used by the",
      " solver engine.", nullptr}},
    {CMD_SMPS, " SMPS command:",
     {" Saves a linear or quadratic model in a file in free MPS",
      " format, which the \"FRMPS\" command can read back.  Sets and",
      " subscripts are lost: the file holds the scalar model.", nullptr}},
    {CMD_PAUS, " PAUSE command:",
     {" Used in  a TAKE file,  it causes  a  pause  until  the  next",
      " carriage  return  is typed  at the terminal.  Any text after",
      " PAUSE on the line is typed to the terminal.", nullptr}},
    {CMD_TIME, " TIME command:",
     {" Displays cumulative CPU time for QUIRN session.", nullptr}},
    {CMD_MIN, " MIN/MAX commands:",
     {" MIN and MAX begin a model in the row-by-row syntax.  For",
      " example, in the row-by-row syntax:",
      "",
      "     MAX 20X + 30Y",
      "     ST",
      "     X + 2Y < 120",
      "     END",
      "     SUB X 50",
      "     SUB Y 60",
      "",
      " and the same model in the modelling language:",
      "",
      "     MODEL:",
      "     MAX = 20*X + 30*Y;",
      "     X + 2*Y < 120;",
      "     @BND( 0, X, 50); @BND( 0, Y, 60);",
      "     END", nullptr}},
    {CMD_BIP, " BIP command:",
     {" Form is:  BIP  F;   where  F  is a  number.  When  searching",
      " For another IP solution,  only  solutions which  are  better",
      " than F, that is bigger than F if MAX  or   smaller than F if",
      " MIN,   will be considered.",
      " \"BIP NONE\" removes any BIP value previously set.", nullptr}},
    {CMD_WIDTH, " WIDTH command",
     {" WIDTH  may be  used to  set  the  line width  for input  and",
      " output.  Type \"WIDTH N\"  to  set  the  terminal  width to  N",
      " characters.  WIDTH is particularly useful if  your  variable",
      " names are long and are truncated in the solution  report.  A",
      " wider terminal width  will  allow  the  names  to  be  fully",
      " displayed.", nullptr}},
    {CMD_HIDE, " HIDE command:",
     {" Hides the model text behind a password of up to 8",
      " characters.  While the model is hidden \"LOOK\" and similar",
      " commands are disabled, and \"SAVE\" writes the model in a",
      " scrambled form that \"TAKE\" reads back still hidden.  Type",
      " \"HIDE\" again with the same password to unhide the model.", nullptr}},
    {CMD_SET, " SET command:",
     {" Form is:  SET index value   or   SET key value",
      " e.g., \"SET 22 80\" or \"SET LINLEN 80\" sets the line width.",
      " The parameters, with their current values, are:",
      "",
      "  No Key         Current  Meaning",
      PARAMTABLE,
      "",
      " \"SET DEFAULT\" restores the defaults of all parameters.",
      " Given without an index or a value, SET asks for it.",
      " \"FREEZE\" saves the settings for the next session.", nullptr}},
    {CMD_FREEZE, " FREEZE command:",
     {" The FREEZE command saves all  current tolerance  settings to",
      " disk  where they are  automatically reloaded at the start of",
      " the next  QUIRN session.   This allows you to maintain  non-",
      " default tolerance values from one session to the next.   For",
      " more  information on  the available tolerances  refer to the",
      " SET command.", nullptr}},
    {CMD_STATS, " STATS command:",
     {" The STATS  command displays summary statistics regarding the",
      " properties of the generated model.", nullptr}},
    {CMD_PICTURE, " PICTURE command:",
     {" Displays a character picture of the matrix of the generated",
      " model: one row per constraint and one column per variable.",
      " Each nonzero coefficient is shown by a character for its",
      " sign and size, \"?\" for a nonlinear entry; blanks are zero",
      " entries.  A legend of the characters follows the picture.", nullptr}},
    {CMD_RMPS, " RMPS command:",
     {" Reads an  MPS  file and  converts the model to QUIRN format.",
      " Invalid  characters  in  variable  names  are  converted  to",
      " underscores.", nullptr}},
    {CMD_FRMPS, " FRMPS command:",
     {" Reads a free format MPS file and converts the model to QUIRN",
      " format. Invalid characters in variable  names are  converted",
      " to  underscores.    Names  longer  than  32  characters  are",
      " truncated.", nullptr}},
    {CMD_DBUID, " DBUID command:",
     {" Sets the user id for the database access of the @ODBC",
      " function.  It is kept for the current run only.", nullptr}},
    {CMD_DBPWD, " DBPWD command:",
     {" Sets the password for the database access of the @ODBC",
      " function.  It is kept for the current run only.", nullptr}},
    {CMD_DEBUG, " DEBUG command:",
     {" Finds, for an infeasible linear model, the necessary and",
      " sufficient sets of constraints and bounds that cause the",
      " infeasibility; for an unbounded model, the sets of",
      " variables that cause the unboundedness.", nullptr}},
    {CMD_SMPI, " SMPI command:",
     {" Saves the model in MPI format, which the solver library",
      " reads and which holds nonlinear models too.  QUIRN itself",
      " does not read MPI files.", nullptr}},
    {CMD_APISET, " APISET command:",
     {" Form is:  APISET param-id {int|double} param-value",
      " Sets a parameter of the solver library for this run only.",
      " \"APISET DEFAULT\" removes every such setting.",
      APILIST, nullptr}},
};

// The short meaning of each parameter, by table position, for the SET help.
const char* const PARAMMEANING[] = {
    "",
    "initial linear feasibility tol.",
    "final linear feasibility tol.",
    "initial nonlinear feasibility tol.",
    "final nonlinear feasibility tol.",
    "relative integrality tolerance",
    "nonlinear optimality tolerance",
    "iteration limit for slow progress",
    "derivatives (0 automatic ... 4)",
    "iteration limit (0 none)",
    "time limit in seconds (0 none)",
    "objective cuts (1 yes, 0 no)",
    "working memory in megabytes",
    "cut application (0 root ... 2)",
    "absolute integrality tolerance",
    "heuristic level (0 none ... 100)",
    "integer hurdle value (or NONE)",
    "absolute optimality tolerance",
    "relative optimality tolerance",
    "seconds before IPTOLR applies",
    "node selection (0 automatic ... 3)",
    "page length in lines (0 none)",
    "terminal line width",
    "output: 0 verbose, 1 terse",
    "status window (window systems)",
    "splash screen (window systems)",
    "output routing (window systems)",
    "most window lines (window systems)",
    "fewest window lines (window sys.)",
    "status bar (window systems)",
    "model file format (window systems)",
    "toolbar (window systems)",
    "check names duplicated in data",
    "echo command input (1 yes)",
    "error dialog box (window systems)",
    "use set member names in formulas",
    "steepest edge, nonlinear (1 yes)",
    "crash initial point, nonlinear",
    "SLP directions, nonlinear (1 yes)",
    "selective constraint evaluation",
    "probing level (0 automatic ... 7)",
    "linear solver (0 automatic ... 3)",
    "reduce linear models (0, 1, 2)",
    "scale linear models (1 yes)",
    "primal pricing (0 automatic ... 2)",
    "dual pricing (0 automatic ... 2)",
    "dual computations (0 none ... 3)",
    "row/column names in MPS files",
    "regenerate model (0, 1, 2 always)",
    "branch direction (0 both, 1, 2)",
    "branch priority (0 automatic, 1)",
    "values below this taken as zero",
    "strong branching level",
    "warm start solver (0 auto ... 3)",
    "cold start solver (0 auto ... 3)",
    "most cut passes at the root",
    "relative cuts limit",
    "GUB cuts (1 yes, 0 no)",
    "flow cuts (1 yes, 0 no)",
    "lift cuts (1 yes, 0 no)",
    "plant location cuts (1 yes, 0 no)",
    "disaggregation cuts (1 yes, 0 no)",
    "knapsack cover cuts (1 yes, 0 no)",
    "lattice cuts (1 yes, 0 no)",
    "Gomory cuts (1 yes, 0 no)",
    "coefficient reduction cuts",
    "greatest common divisor cuts",
    "colouring line limit (window sys.)",
    "colouring delay (window systems)",
    "parenthesis colouring (window sys.)",
    "multi-start attempts (0 automatic)",
    "quadratic recognition (1 yes)",
    "global solver, nonlinear (1 yes)",
    "linearization (0 automatic ... 3)",
    "linearization big M",
    "linearization delta",
    "basis cuts (1 yes, 0 no)",
    "most cut passes in the tree",
    "minimum heuristic time, seconds",
    "matrix decomposition (1 yes)",
    "global optimality tolerance",
    "global delta tolerance",
    "global variable bound limit",
    "global bound use (0 none, 1, 2)",
    "global branch selection (0 ... 5)",
    "global box selection (0 or 1)",
    "global reformulation (0 ... 3)",
    "fixed variable reduction (0 ... 3)",
    "nonlinear solver version (0, 1, 2)",
    "DEBUG cold start solver (0 ... 3)",
    "DEBUG warm start solver (0 ... 3)",
    "nonlinear crashing (0 ... 2)",
    "barrier crossover (1 yes)",
    "favour lower memory use (1 yes)",
    "fill ranges in output (1 yes)",
    "debug output level (1 ... 15)",
    "unary minus priority (1 high)",
    "assume a linear model (1 yes)",
};

// The general help.
const char* const GENERAL[] = {
    "",
    " QUIRN solves  mathematical  models entered in  natural form.",
    " QUIRN's solvers can handle both linear and nonlinear models,",
    " as well as integer variables.",
    "",
    " To  learn  the  available  commands type \"COMMANDS\".  To get",
    " help for a particular command, type \"HELP name\" where \"name\"",
    " is  the  command   name.   for  more  help  on   entering  a",
    " formulation, type \"HELP MODEL\".",
    "",
    nullptr};

void say(MasterRecord& L, int32_t unit, const std::string& s) { lprint_(L, unit, std::string_view(s)); }

// The parameter table with current values, one line per parameter.
void paramtable(MasterRecord& L, int32_t unit) {
  loadpvector_(L);
  for (int32_t i = 1; i <= NPARAMS; ++i) {
    const ParamDef& p = paramdef(i);
    char val[64];
    if (p.kind == PKIND_INT)
      std::snprintf(val, sizeof val, "%12d", L.IPVAL[i]);
    else if (p.kind == PKIND_HURDLE && L.IPVAL[i] == 0)
      std::snprintf(val, sizeof val, "%12s", "NONE");
    else
      std::snprintf(val, sizeof val, "%12.6g", L.RPVAL[i]);
    char line[160];
    std::snprintf(line, sizeof line, " %2d %.6s %s  %s", i, p.key, val,
                  i < (int32_t)(sizeof PARAMMEANING / sizeof *PARAMMEANING) ? PARAMMEANING[i] : "");
    say(L, unit, line);
  }
}

}  // namespace

// Prints the keywords of one category, 8-character slots wrapped to the line width.
void lstcmd_(MasterRecord& L, int32_t unit, int32_t category) {
  std::string line;
  int32_t next = 1;
  for (int32_t k = 1; k <= NCMDS; ++k) {
    const CommandDef& c = cmddef(k);
    if (c.category != category) continue;
    std::string key = c.key;
    key.resize(8, ' ');
    line += key;
    next += 8;
    if (next + 8 > L.LINLEN - 6) {
      say(L, unit, "      " + line);
      line.clear();
      next = 1;
    }
  }
  if (!line.empty()) say(L, unit, "      " + line);
}

void lstcat_(Work& W, MasterRecord& L, int32_t unit, int32_t mode) {
  L.LINCNT = 2;
  blankl_(L, unit, 1);
  say(L, unit, " QUIRN commands by category.  For information on a specific command, type:");
  say(L, unit, " 'HELP command-name'.");
  for (int32_t c = 1; c <= NCATS; ++c) {
    blankl_(L, unit, 1);
    char line[64];
    std::snprintf(line, sizeof line, " %3d) %s", c, CATNAME[c]);
    say(L, unit, line);
    if (mode == 0) lstcmd_(L, unit, c);
  }
  blankl_(L, unit, 1);
  if (mode == 0) return;
  for (;;) {
    char q[64];
    std::snprintf(q, sizeof q, " Which category is of interest (1 to%3d)?", NCATS);
    say(L, unit, q);
    L.LINCNT = 0;
    L.LINEND = 0;
    getrsp_(L, L.PROMPT3, 1);
    if (L.LINEND == 0) return;
    int32_t st = 1;
    double v = 0.0;
    getnum_(L, st, v);
    if (st != 0 || !(v >= 1.0 && v < (double)NCATS + 1.0)) return;
    say(L, unit, " The commands in this category are:");
    lstcmd_(L, unit, (int32_t)v);
  }
}

void help_(Work& W, MasterRecord& L, int32_t topic, int32_t unit) {
  if (topic <= 0) {
    for (int32_t i = 0; GENERAL[i]; ++i) say(L, unit, GENERAL[i]);
    return;
  }
  blankl_(L, unit, 1);
  if (topic == CMD_MAX) topic = CMD_MIN;  // one text serves MIN and MAX
  for (const HelpTopic& t : TOPICS) {
    if (t.cmd != topic) continue;
    if (t.heading) {
      say(L, unit, t.heading);
      blankl_(L, unit, 1);
    }
    for (const char* line : t.lines) {
      if (!line) break;
      if (line == PARAMTABLE) {
        paramtable(L, unit);
      } else if (line == APILIST) {
        if (L.APICNT > 0) blankl_(L, unit, 1);
        int32_t saved = L.OUTUNIT;
        L.OUTUNIT = unit;
        dispapiparams_(W, L);
        L.OUTUNIT = saved;
      } else {
        say(L, unit, line);
      }
    }
    return;
  }
  say(L, unit, " No help available on this command");
  blankl_(L, unit, 1);
}
