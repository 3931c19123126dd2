// The GLSL pass: lex and parse the document alone, declare the built-ins and the
// document's names, resolve, and fill the job's colours and result. No other project
// file takes part.
#include "analysis/glsl/glsl_analysis.h"

#include "analysis/c_family/preprocessor_branches.h"
#include "analysis/glsl/glsl_parser.h"
#include "analysis/name_sites.h"
#include "analysis/glsl/glsl_semantic.h"
#include "syntax/coloring_file.h"
#include "syntax/file_kind.h"
#include "syntax/token_kinds.h"

namespace {
// A built-in's name that no declaration or expression took in (a statement at file
// level, as in a shader chunk meant to be pasted into a function; text the parser
// skipped) is still that built-in, unless the shader declares the name itself.
void colour_builtins_left_over(GlslAnalysis* a) {
    const u8* colours = a->job->colours.data;
    if (!colours) return;
    for (const Token& t : a->p.tokens) {
        if (t.code != token_identifier || t.offset < 0 || t.offset >= a->job->text.length || colours[t.offset] != 0)
            continue;
        const Symbol* s = lookup_symbol(a->result, 0, 0, text_of(&a->p, t));
        if (!s || (s->kind != symbol_builtin_type && s->kind != symbol_builtin_variable &&
                   s->kind != symbol_builtin_function))
            continue;
        colour_token(&a->p, t, glsl_token_kind_of_symbol[s->kind]);
    }
}
}  // namespace

void glsl_analysis_run(AnalysisJob* job) {
    f64 start = analysis_clock_ms();
    if (job->colours.count != job->text.length || (!job->colours.data && job->text.length > 0)) {
        job->colours = Array<u8>{nullptr, 0, 0, pool_parser};
        array_resize(&job->colours, job->text.length);
        if (job->text.length > 0) memset(job->colours.data, 0, (size_t)job->text.length);
    }
    GlslAnalysis* a = cfam_new<GlslAnalysis>();
    a->job = job;
    a->result = job->result;
    parse_state_reset(&a->p);
    parse_state_add_file(&a->p, file_kind_glsl, job->path, job->text, job->colours.data);
    cfam_follow_preprocessor_branches(&a->p, 0, job->text, job->colours.data, glsl_kind_preprocessor_directive);
    f64 lexed = analysis_clock_ms();
    job->lex_ms += lexed - start;

    glsl_parse_tokens(a);
    f64 parsed = analysis_clock_ms();
    job->parse_ms += parsed - lexed;

    analysis_begin_result(job, language_glsl);
    glsl_semantic_init(a);
    glsl_declare_builtins(a->result);
    glsl_declare_items(a);
    glsl_resolve_passes(a);
    glsl_bodies_phase(a);
    colour_builtins_left_over(a);
    finish_name_index(a->result, &a->p);
    job->resolve_ms += analysis_clock_ms() - parsed;
}
