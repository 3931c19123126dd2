#pragma once
// One analysis pass: the input taken from the request and the output to publish.
// Everything it points to lives in pool_parser.
#include "analysis/analysis_result.h"

struct AnalysisJob {
    StringView text;  // the document, a private copy
    StringView path;
    u64 text_changes;  // the text's change count when it was copied (TextStore::changes)
    u8 kind;          // FileKind
    AnalysisResult* result;
    Array<u8> colours;  // one TokenKind per byte of text: what gets published
    // Filled by the passes (milliseconds), for tesmora-analyze --stats.
    f64 lex_ms, parse_ms, resolve_ms;
};

// Runs the pass for job->kind (the thread, and tesmora-analyze, call this).
void analysis_run_job(AnalysisJob* job);
// Prepares job->result for a pass: arrays emptied (pool_parser), the root scope appended,
// the kind table filled for `language` (language_vantrel, language_cpp, language_glsl).
void analysis_begin_result(AnalysisJob* job, int language);
// Appends an outline row (name copied into pool_parser).
void add_outline_row(AnalysisJob* job, u8 symbol_kind, i16 token_kind, i32 line, StringView name, u8 group_start,
                     u8 group_end);
// Current time in milliseconds, for the stage timings.
f64 analysis_clock_ms();
