#pragma once
// Shared by the GLSL analysis tests: the C/C++ harness's set-up and colour helpers, with
// runs of the GLSL pass (kind 5) and of its parser alone.
#include "analysis/glsl/glsl_parser.h"
#include "analysis/glsl/glsl_semantic.h"
#include "cpp_analysis_harness.h"

namespace glsl_test {
using cpp_test::colour_of;
using cpp_test::CppRun;
using cpp_test::outline;
using cpp_test::scope_named;
using cpp_test::scope_starting_at;
using cpp_test::str;
using cpp_test::symbol_in;

inline CppRun analyse(const std::string& text) {
    cpp_test::setup();
    pool_reset(pool_parser);
    static AnalysisResult result;
    CppRun run{};
    run.text = text;
    run.job.text = StringView{run.text.data(), (i64)run.text.size()};
    run.job.path = SV("shader.glsl");
    run.job.kind = 5;
    run.job.result = &result;
    analysis_run_job(&run.job);
    return run;
}

// The parser alone over `text`.
inline GlslAnalysis* parse_only(const std::string& text) {
    cpp_test::setup();
    pool_reset(pool_parser);
    GlslAnalysis* a = cfam_new<GlslAnalysis>();
    parse_state_reset(&a->p);
    StringView copy = string_copy(StringView{text.data(), (i64)text.size()}, pool_parser);
    u8* colours = (u8*)pool_alloc(pool_parser, copy.length + 1);
    memset(colours, 0, (size_t)copy.length + 1);
    parse_state_add_file(&a->p, file_kind_glsl, SV("shader.glsl"), copy,
                         colours);
    glsl_parse_tokens(a);
    return a;
}

inline std::string token_text_of(const GlslAnalysis* a, i64 token) { return str(cfam_text_of_token(&a->p, token)); }
}  // namespace glsl_test
