// The message table: the text of every numbered message, defined once as data.
//
// Each entry holds the number, the ending and the lines separated by line feeds:
//   a line that begins with + is in list form (printed with one more blank in front);
//   [k] in front of a line prints it only when the condition k holds (see messages.cpp);
//   #pos shows the model line with a caret, #pairs the pairs of message 66;
//   {A:w} {B:w} {C:w} {D:w} are ERRARG..ERRARG4 right-aligned in w columns, {M:w} the
//   model line count, {U:w} the non-unique root count; {S} {S:w} {T} {T:w} ERRSTR and
//   ERRTXT (first w characters); {set:X} {mem:X} {row:X} {var:X} {grow:X} {attr:A} the
//   name of a model object; {int:A} {abs:A} a number left-aligned; the other braces
//   are the special items of single messages.
#include "store/msgtable.h"

namespace {
constexpr MsgDef kTable[] = {
    {0, E2, "+ The model generator ran out of memory."},
    {1, E2, "+ Too many lines of text in model."},
    {2, E2, "+ Too many characters in model text."},
    {3, E2, "+ Overlength line, characters may have been lost off end." "\n"
          "+ Use  carriage  return  to  break  up over several input" "\n"
          "+ lines."},
    {4, E2, " Valid lines are 1 to{M:6}. Type 'ALL' to reference all lines."},
    {5, E2, "+ There is no current model."},
    {6, E2, "+ Too many nested TAKE commands."},
    {7, E2, " Unable to open file: {S:64}"},
    {8, E2, "+ Too many consecutive command errors. Revert to terminal input."},
    {11, E2, "+ Invalid input.  A syntax error has occurred." "\n"
          "" "\n"
          "#pos" "\n"
          "[F]+ If the error is due to a mixup between QUIRN vs. BRESK syntax," "\n"
          "[F]+ note that QUIRN models must have an extension of qn4 or qrn." "\n"
          "[F]+ BRESK models must have an bkx extension. The default model extension" "\n"
          "[F]+  may be set by clicking on: QUIRN | Options | Interface | File Format." "\n"
          "[F]+ The title bar displays whether the window contains a QUIRN" "\n"
          "[F]+ or BRESK model."},
    {12, POS, "+ Missing right parenthesis."},
    {13, E2, "+ A specified spreadsheet range was not found." "\n"
          "     {T}"},
    {14, POS, "+ Not enough temporary operator stack space."},
    {15, POS, "+ No relational operator found."},
    {16, POS, "+ All model objects must have the same parent set for this" "\n"
          "+ operation."},
    {17, POS, "+ Not enough index stack space."},
    {18, POS, "+ Out of set stack space."},
    {19, POS, "+ Invalid use of @INDEX() function."},
    {20, POS, "+ Improper use of set name."},
    {21, POS, "+ Improper use of attribute name."},
    {22, POS, "+ Too many inequality or equality relations."},
    {23, POS, "+ Improper number of arguments."},
    {24, POS, "+ Invalid set name."},
    {26, POS, "+ Improper number of index variables."},
    {27, POS, "+ The following spreadsheet range is discontinuous:" "\n"
          "     {T}"},
    {28, POS, " Invalid use of a row name."},
    {29, POS, "+ Invalid number of initialization values in a DATA: or an INIT:" "\n"
          "+ statement.  The required number of values is:{B:12}."},
    {30, POS, "+ A general failure occurred while attempting a link to Excel."},
    {31, POS, " Invalid argument list for an @TEXT() function call."},
    {32, POS, " Attempt to import a blank set member name."},
    {33, POS, " Invalid argument list for an @OLE() function call."},
    {34, POS, "+ Component range lengths must be identical when importing" "\n"
          "+ derived sets."},
    {35, POS, " Unrecognized name in an output function."},
    {36, POS, " Attempt to import invalid primitive set element name: {T:132}"},
    {37, POS, " Name already in use: {T:32}" "\n"
          "+ Choose a different name."},
    {38, E2, "+ The ODBC server returned the following error message:" "\n"
          "" "\n"
          "  {T}"},
    {39, POS, " The following set element was not derived from its" "\n"
          " parent primitive set: {T:132}"},
    {40, POS, " Invalid number of derived set index elements."},
    {41, POS, " Out of attribute index space."},
    {42, E2, " Explicit variable in set condition for set:" "\n"
          "    {set:B}"},
    {43, E2, " Executor error in set condition for set:" "\n"
          "    {set:B}"},
    {44, POS, " Unterminated condition."},
    {45, POS, " Invalid argument list for an @ODBC function call."},
    {46, E2, "+ Inadmissable file name:" "\n"
          "    {S}"},
    {47, E2, "+ Too many files open:" "\n"
          "    {S}"},
    {48, E2, "+ Unable to open file:" "\n"
          "    {S}"},
    {49, E2, "+ Error reading file:" "\n"
          "    {S}"},
    {50, POS, " Improper use of @FOR() function."},
    {51, POS, " Ran out of generator memory compiling model."},
    {52, POS, " Improper use of @IN() function."},
    {53, E2, " Unable to locate range name: {T:132}"},
    {54, POS, " Error ({B:1}) reading spreadsheet."},
    {55, E2, " Unable to open @TEXT data file:" "\n"
          "" "\n"
          "    {S:196}"},
    {56, E2, " Error reading from @TEXT data file:" "\n"
          "" "\n"
          "    {S:196}"},
    {57, E2, " Invalid input encountered in @TEXT data file:" "\n"
          "" "\n"
          "    {S:196}" "\n"
          "" "\n"
          " on line:" "\n"
          "" "\n"
          "    {line57}"},
    {58, POS, " Not enough values found in @TEXT data file:" "\n"
          "" "\n"
          "    {S:196}" "\n"
          "" "\n"
          "{B:10} values needed" "\n"
          "{C:10} values found"},
    {59, POS, " Too many values encountered in @TEXT data file:" "\n"
          "" "\n"
          "    {S:196}"},
    {60, POS, " File name required in an @TEXT() input operation."},
    {61, E2, " Command disregarded."},
    {62, E2, " Ran out of work space in model generation. ({A:1})"},
    {63, E2, " Model is ill defined." "\n"
          "" "\n"
          "+ Check for undefined indices and/or conditions in expression:" "\n"
          "[Bp]    {row:B}" "\n"
          "[Bn]    {int:A}" "\n"
          "" "\n"
          "+ Note: setting the Fixed Var Reduction option to 'Always' may" "\n"
          "+ eliminate this error.  You may set this option on the General" "\n"
          "+ Solver tab of the QUIRN | Options command."},
    {64, E2, " Too many nested @FOR operators."},
    {65, E2, " Improper use of @WARN() function."},
    {66, E1, "+ Warning: Total fixed rows with non-unique roots:{U:12}" "\n"
          "[U3]+ The first three non-unique root row and variable pairs are:" "\n"
          "[U2]+ The non-unique root row and variable pairs are:" "\n"
          "[U1]+ The non-unique root row and variable pair is:" "\n"
          "#pairs" "\n"
          "+ The solution is not unique and may not be optimal." "\n"
          ""},
    {67, E2, " String arithmetic not allowed."},
    {68, E2, " Multiple objective functions in model."},
    {69, E2, "[An]+ Internal solver error.  Contact BRESK Systems." "\n"
          "[Ap] Undefined arithmetic operation in expression:{A:8}."},
    {70, E2, " Subscript out of range on attribute:" "\n"
          "   {attr:A}"},
    {71, E2, " Improper use of a variable domain function" "\n"
          " (e.g., @GIN, @BIN, @FREE or @BND)."},
    {72, E2, "+Unable to solve for fixed variable:" "\n"
          "    {var:B}" "\n"
          " in constraint:" "\n"
          "    {grow:A}" "\n"
          "+Loosening the variable's bounds may help."},
    {73, E2, " User interrupt during structural analysis."},
    {74, E2, " Magnitude of bound exceeds: {big}" "\n"
          " on variable: {var:A}"},
    {75, E2, " Conflicting bounds on variable: {var:A}"},
    {76, E2, " Error generating model."},
    {77, E2, " Arithmetic error generating model. ({C:10})"},
    {80, E2, " Not enough work space generating model."},
    {81, E2, " No feasible solution found."},
    {82, E2, " Unbounded solution."},
    {84, E2, " Not enough linear form space - break up long expressions."},
    {85, E2, " Stack overflow. Expression too complex. ({A:5}{B:5}{C:5})"},
    {86, E2, " Arithmetic error in constraint:" "\n"
          "    {grow:A}"},
    {87, E2, " Improper use of @IN function."},
    {88, E2, " Solution is currently undefined."},
    {89, E2, " Runtime error in solver routines.  Contact BRESK Systems."},
    {90, E2, " User interrupt during model generation."},
    {91, E2, " Invalid runtime parameter value."},
    {92, E2, " Warning: The current solution may be nonoptimal/infeasible" "\n"
          " for the current model."},
    {93, E2, " Invalid switch in command line."},
    {95, E2, " The solver was interrupted prior to completion."},
    {96, E2, "+ Warning: Several QUIRN names may have been transformed into a" "\n"
          "+ single BRESK name."},
    {97, E2, " Unrecognized model syntax near line:{A:6} on input"},
    {98, E2, " Model syntax error near line:{A:6} on input" "\n"
          "+ Translation not complete!"},
    {99, E2, " Syntax error - expected variable"},
    {100, E2, " Syntax error - expected number"},
    {102, E2, " Unrecognized variable name: {word}"},
    {104, E2, " Model not solved yet, or the model has been solved" "\n"
          " and doesn't contain any variables and constraints."},
    {106, E2, " Minimum and maximum values for width are:{A:5}{B:5}"},
    {107, E2, " Invalid @POINTER() index value:{A:5}"},
    {109, E2, " Iteration limit exceeded/optimizer interrupted."},
    {110, E2, " Passwords are limited to{A:4} characters."},
    {111, E2, " Command not available when model is hidden."},
    {112, E2, " Incorrect password ... model remains hidden."},
    {113, E2, " LOOK/SAVE failed ... the following line is too long:{A:8}" "\n"
          " Increase the terminal width."},
    {114, E2, " Password verification failed ... model will not be hidden."},
    {115, E2, " Argument list too long ... command disregarded."},
    {116, E2, " The maximum number of characters in a file name is:{A:4}"},
    {117, E2, " Invalid command: {S:64}" "\n"
          " Type 'COM' to see valid commands."},
    {118, E2, " Ambiguous command: {S:64}" "\n"
          " Type 'COM' to see valid commands."},
    {119, E2, " Too many consecutive errors in Batch mode.  QUIRN will stop."},
    {120, E2, " Unable to write CNF file to startup and working directories."},
    {121, E2, " Range analysis not allowed on integer programming models."},
    {122, E2, " Range reports not possible when range analysis is disabled."},
    {123, E2, " Models must be linear and either infeasible or unbounded in" "\n"
          " order to be debugged."},
    {124, POS, "+ Attempt to initialize an attribute of a null set."},
    {125, E2, "+ The following set contains no members: {set:A}"},
    {126, E2, " The following variable name was not recognized: " "\n"
          "    {T:132}"},
    {127, E2, " The following variable is of a different dimension:" "\n"
          "    {T:132}"},
    {128, E2, " The parameter index must be between 1 and{B:3}."},
    {129, E2, "+ The parameter value is not invalid." "\n"
          "[Ii]+ An integer value was expected in the range of:" "\n"
          "[Ii] {pmin:12} to +inf." "\n"
          "[Ij]+ An integer value was expected in the range of:" "\n"
          "[Ij] {pmin:12} to {pmax:12}" "\n"
          "[Ri]+ A decimal value was expected in the range of:" "\n"
          "[Ri]+    {rmin} to +inf." "\n"
          "[Rj]+ A decimal value was expected in the range of:" "\n"
          "[Rj]+    {rmin} to {rmax}"},
    {130, E2, " The following parameter name was not recognized: {T:6}"},
    {131, E2, " Unable to write parameters to configuration file."},
    {132, E2, "+ One or more errors occurred while reading configuration file."},
    {133, E2, "+ Unable to initialize workbook for OLE transfers."},
    {134, E2, "+ Unable to complete all output operations."},
    {135, E2, "+ Solver time limit exceeded."},
    {136, E2, " Error ({A:1}) performing @TEXT() output operation."},
    {138, E2, " Too many nested divert files."},
    {139, E2, " Divert command failed.  Unable to open file."},
    {140, E2, " Dual values were requested by an output function" "\n"
          " while the solver was in 'Primals Only' mode."},
    {141, E2, " Range values were requested on a row that was" "\n"
          " substituted from the model."},
    {142, E2, " An unexpected error occurred.  Please contact BRESK." "\n"
          " Systems Technical Support."},
    {143, E2, " Output operation failed. Model objects not of same length:" "\n"
          "" "\n"
          "     {T}"},
    {144, POS, " Invalid argument list for @POINTER function."},
    {145, E2, " Error ({A:1}) performing @POINTER() output operation."},
    {146, E1, " The following names appeared in the model and the data:" "\n"
          "[A0]    {mem:A}" "\n"
          "[B0]    {mem:B}" "\n"
          "[C0]    {mem:C}"},
    {147, E2, " Unable to evaluate all @WARN() functions."},
    {148, POS, " @OLE() function not supported on this platform."},
    {149, POS, " Worksheet functions not supported on this platform."},
    {150, POS, " ODBC interface not supported on this platform."},
    {151, POS, " @POINTER() not supported on this platform."},
    {152, E2, " Command not supported on this platform."},
    {153, POS, " Set definitions not allowed in init sections."},
    {154, POS, " Attempt to redefine a previously defined set."},
    {155, POS, " Set member names may not be omitted in Data statements."},
    {156, POS, " Incorrect number of arguments in a Data statement." "\n"
          "+    Argument count must be a multiple of:{B:12}" "\n"
          "+               Number of arguments found:{C:12}" "\n"
          "+                              Parent set: {set:D}"},
    {157, POS, " Attempt to use @INDEX() on an undefined set."},
    {158, POS, " A set member name was expected."},
    {159, POS, " The following derived set member is not contained" "\n"
          "+ in its parent set: {T}"},
    {160, POS, " Only one set may be defined in each data statement."},
    {162, E2, "+ Attempt to initialize mixed data types (text and numeric)" "\n"
          "+ from a single workbook range: {T}"},
    {163, POS, " Invalid number of data values for object:" "\n"
          "    {T}" "\n"
          "+Number of values found:   {B:12}" "\n"
          "+Number of values expected:{C:12}"},
    {164, POS, "+ Invalid QUIRN name:" "\n"
          "    {T}"},
    {165, POS, "+ Set exports not supported with this function."},
    {166, E2, "+ Attempt to output objects of varying length to a" "\n"
          " tabular device."},
    {167, E2, "+ Incorrect number of ranges specified: {A:12}" "\n"
          "+ Number of ranges required:            {B:12}"},
    {168, POS, "+ Output modifiers not allowed on text data."},
    {169, POS, "+ Runtime input of set members is not allowed."},
    {172, E2, "+ Internal solver error.  Contact BRESK Systems."},
    {173, E2, "+ A numeric error occurred in the solver. Check for potentially" "\n"
          "+ undefined arithmetic operations in the model's constraints."},
    {174, E2, "+ Out of memory in preprocessor."},
    {175, E2, "+ Not enough virtual system memory."},
    {176, E2, "+ Out of memory during solver postprocessing."},
    {177, E2, "+ Error allocating set:" "\n"
          "    {set:B}"},
    {178, E2, "+ Out of stack space allocating set:" "\n"
          "    {set:B}"},
    {179, E2, "+ The MPS reader had to patch names to make them compatible:" "\n"
          "+    var names patched: {A:12}" "\n"
          "+    row names patched: {B:12}" "\n"
          "+ Name collisions may have occurred."},
    {180, E2, "+ Unable to create model data structure."},
    {181, E2, "+ Error extracting MPS data from model structure."},
    {182, E2, "+ Error in MPS file on line number: {A:12}" "\n"
          "" "\n"
          "+ Text of invalid line:" "\n"
          " {T}"},
    {183, E2, "+ Quadratic MPS files not currently supported."},
    {184, E2, "+ Range values can't be reported when range" "\n"
          "+ analysis is disabled."},
    {186, POS, "+ Sets may not be intialized with @QRAND."},
    {187, POS, "+ Only one attribute may be intitialized in an @QRAND statement."},
    {188, POS, "+ Attributes initialized with @QRAND must belong to dense sets."},
    {189, POS, "+ Invalid seed."},
    {190, POS, "+ Invalid implicit set definition."},
    {191, E1, "+ The BRESK API returned the following error code:{A:12}" "\n"
          "  BRESK API routine: {S:64}" "\n"
          "  {lib}"},
    {192, POS, "+ @WKX() no longer supported. Use @OLE() instead."},
    {193, E2, "+ A solution is not available for this model."},
    {194, E2, "+ Unable to create environment data structure."},
    {195, E2, "+ An error occurred while attempting to write to a file."},
    {196, E2, "+ A dual solution does not exist for this model.  Only the" "\n"
          "+ primal will be displayed."},
    {197, E2, "+ Integer programs may not currently be debugged."},
    {198, E2, "+ Quadratic model is not convex.  Please verify model is" "\n"
          "+ correct, or disable quadratic recognition."},
    {200, E2, "+ Unable to compute dual solution.  Try turning off dual" "\n"
          "+ computations and re-solving. API code:{A:12}"},
    {201, E2, "+ The model is locally infeasible.  However, feasible solutions" "\n"
          "+ may or may not exist in other regions.  Consider invoking the" "\n"
          "+ global solver or the multistart feature."},
    {205, E2, "+ The model is poorly scaled. The units of the rows and" "\n"
          "+ variables should be changed so the coefficients cover" "\n"
          "+ a much smaller range."},
    {206, E2, "+ A model may not be solved with linearization and the" "\n"
          "+ global solver simultaneously enabled.  Linearization" "\n"
          "+ will be temporarily disabled."},
    {207, POS, "+ Missing left parenthesis."},
    {208, POS, "+ @WRITEFOR() may only appear in a DATA section."},
    {209, POS, "+ Relational operators not allowed in @WRITEFOR() statements."},
    {210, POS, "+ Invalid usage of @WRITEFOR() function."},
    {211, E2, "+ Arithmetic error in output operation." "\n"
          "+ Instruction pointer:{C:12}"},
    {212, E2, "+ Subscript out of range on set name:" "\n"
          "    {set:A}"},
    {213, POS, "+ Text operand not permitted here."},
    {214, POS, "+ Duplicate initialization of a variable."},
    {215, POS, "+ Output modifiers not allowed here (e.g., @DUAL)."},
    {216, E2, "+ Prefix function expected a text argument."},
    {217, E2, "+ Prefix function expected a numeric argument."},
    {218, E2, "+ Prefix function expected a row or variable index argument."},
    {219, E2, "+ Unable to find a specified instance of row name:" "\n"
          "    {row:A}"},
    {220, E2, "+ Unsupported operation on text operand."},
    {221, E2, "+ Argument overflow in @WRITE() or @WRITEFOR()."},
    {222, E2, "+ A variable or row reference was expected."},
    {223, E2, "+ A dynamic range exceeded boundary limits writing to range: {T}"},
    {224, E2, "+ The following range is too small to receive" "\n"
          "+ all requested output: {T}" "\n"
          "" "\n"
          "+    Cells in range: {A:12}" "\n"
          "+    Cells required: {B:12}"},
    {225, POS, "+ Invalid format for a CALC expression.  CALC expressions" "\n"
          "+ must be simple assignments, e.g., x = f(...); and may not" "\n"
          "+ contain optimizable variables."},
    {226, E2, "+ Default workbook not open."},
    {227, POS, "+The following range: {T}" "\n"
          "+Must have a column count equal to the number of" "\n"
          "+model objects being imported/exported: {B:12}"},
    {228, E2, "+ Invalid API parameter index."},
    {229, E2, "+ Invalid API parameter type."},
    {230, E2, "+ Invalid API parameter value."},
    {231, E2, "+ Unable to set Bresk API paramter:" "\n"
          "+      id: {A:12}" "\n"
          "[Bz]+    type:          INT" "\n"
          "[Bz]+   value: {C:12}" "\n"
          "[B0]+    type:       DOUBLE" "\n"
          "[B0]+   value: {dbl}"},
    {232, E2, "+ Range analysis not available on quadratic programs."},
    {233, E2, "+ The debugging process was interrupted. Results are incomplete."},
    {234, E2, "{m234}"},
    {235, E2, "+ The model is nonlinear and may not be generated as a" "\n"
          "+ linear program.  The nonlinearity was found in row:" "\n"
          "     {S}"},
    {236, E2, "+ Incorrect @FORMAT() usage in output statement: {abs:A}" "\n"
          "" "\n"
          "+ @FORMAT() requires one text argument (the format template) and" "\n"
          "+ one numeric argument (the value to be formatted)."},
    {237, E2, "+ Range analysis not currently available on this model."},
    {238, POS, " The following member appears more than once in the member" "\n"
          " list of set {set:B}: {T:132}"},
    {9999, E2, "+ The optimizer failed due to a serious error.  Please refer" "\n"
          "+ to your documentation under Appendix B, \"Error Messages\"."},
};
}  // namespace

// The entry of message n, nullptr for a number with no text (header only).
const MsgDef* msgdef_(int32_t n) {
  struct Index {
    const MsgDef* at[MSGLAST + 1] = {};
    Index() {
      for (const MsgDef& d : kTable)
        if (d.num >= 0 && d.num <= MSGLAST) at[d.num] = &d;
    }
  };
  static const Index index;
  if (n >= 9999) return &kTable[sizeof kTable / sizeof kTable[0] - 1];
  if (n < 0 || n > MSGLAST) return nullptr;
  return index.at[n];
}
