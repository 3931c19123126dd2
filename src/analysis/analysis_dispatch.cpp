// Runs the pass of a job's language.
#include "analysis/analysis_job.h"
#include "analysis/cpp/cpp_analysis.h"
#include "analysis/glsl/glsl_analysis.h"
#include "analysis/vantrel/vantrel_analysis.h"
#include "syntax/coloring_file.h"
#include "syntax/file_kind.h"
#include "syntax/lex_text.h"
#include "syntax/syntax_state.h"
#include "syntax/token_kinds.h"

void analysis_run_job(AnalysisJob* job) {
    job->lex_ms = job->parse_ms = job->resolve_ms = 0;
    job->colours = Array<u8>{nullptr, 0, 0, pool_parser};
    if (job->kind < file_kind_other || job->kind > file_kind_glsl) return;
    array_resize(&job->colours, job->text.length);
    if (job->text.length) memset(job->colours.data, 0, (size_t)job->text.length);
    switch (job->kind) {
    case file_kind_other: {
        f64 start = analysis_clock_ms();
        analysis_begin_result(job, language_vantrel);
        job->result->scopes.count = 0;  // plain files publish an empty result
        lex_file_text(syntax.analysis_lexers, file_kind_other, 0, job->text, job->colours.data, nullptr, 0, -1);
        job->lex_ms = analysis_clock_ms() - start;
        break;
    }
    case file_kind_vantrel: vantrel_analysis_run(job); break;
    case file_kind_c: cpp_analysis_run(job, true); break;
    case file_kind_cpp: cpp_analysis_run(job, false); break;
    case file_kind_glsl: glsl_analysis_run(job); break;
    }
}
