#pragma once
// One analysis pass: the input taken from the request and the output to publish.
// Everything it points to lives in pool_parser.
#include "analysis/analysis_result.h"

struct AnalysisJob {
    StringView text;  // the document, a private copy
    StringView path;
    u8 kind;          // FileKind
    Array<tree_node> request_rows;  // the minimap rows shown when the request was made
    AnalysisResult* result;
    Array<u8> colours;  // one TokenKind per byte of text: what gets published
    // Group rows carried over by name: a new group row takes the remembered state.
    Array<StringView> remembered_names;
    Array<u8> remembered_open;
    // Filled by the passes (milliseconds), for tesmora-analyze --stats.
    f64 lex_ms, parse_ms, resolve_ms;
};

// Runs the pass for job->kind (the thread, and tesmora-analyze, call this).
void analysis_run_job(AnalysisJob* job);
// Prepares job->result for a pass: arrays emptied (pool_parser), the root scope appended,
// the kind tables filled for `language` (language_vantrel, language_cpp, language_glsl).
void analysis_begin_result(AnalysisJob* job, int language);
// Copies the group states of the request rows into remembered_names/open; with
// `check_names` rows of 1024 bytes or more are reported and skipped.
void remember_group_states(AnalysisJob* job, bool check_names);
u8 remembered_state(const AnalysisJob* job, StringView name);
// Appends a minimap row (name copied into pool_parser).
void add_minimap_row(AnalysisJob* job, Color color, u32 icon, i32 line, StringView name, u8 group_start, u8 group_end);
// Current time in milliseconds, for the stage timings.
f64 analysis_clock_ms();
