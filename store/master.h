// The master record: the whole state of a session in one record, passed to every routine.
// Each subsystem keeps its own fields in its own header; the record joins them, so every
// field is reached by its plain name (L.TRACELV, L.CODELEN, ...). A name used twice is a
// compile error at the point of use.
#pragma once
#include "store/store_fields.h"
#include "session/session_fields.h"
#include "language/lang_fields.h"
#include "generate/gen_fields.h"
#include "solver/solver_fields.h"
#include "reports/report_fields.h"

struct MasterRecord : StoreFields, SessionFields, LangFields, GenFields, SolverFields, ReportFields {};

// Logical results of routines: -1 true, 0 false; callers test bit 0.
constexpr int32_t QTRUE = -1;
constexpr int32_t QFALSE = 0;
inline bool qtest(int32_t v) { return (v & 1) != 0; }
