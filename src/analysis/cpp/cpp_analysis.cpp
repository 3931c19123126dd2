// The C/C++ pass: lex the document and the project's other C/C++ files into one token
// stream, parse it, declare every name, resolve, and fill the job's colours and result.
#include "analysis/analysis_state.h"
#include "analysis/cpp/cpp_analysis.h"

#include "analysis/c_family/preprocessor_branches.h"
#include "analysis/cpp/cpp_parser.h"
#include "analysis/cpp/cpp_semantic.h"
#include "analysis/handover.h"
#include "analysis/name_sites.h"
#include "analysis/source_cache.h"
#include "syntax/coloring_file.h"
#include "syntax/file_kind.h"
#include "syntax/token_kinds.h"

namespace {
void lex_files(CppAnalysis* a, AnalysisJob* job, bool c_mode) {
    parse_state_reset(&a->p);
    parse_state_add_file(&a->p, c_mode ? file_kind_c : file_kind_cpp, job->path, job->text, job->colours.data);
    cfam_follow_preprocessor_branches(&a->p, 0, job->text, job->colours.data, cpp_kind_preprocessor_directive);
    // Without the locks (a pass run before start-up finished) there is no cache to read.
    if (!analysis.source_lock) return;
    // The other files colour scratch buffers that nobody reads: only their
    // declarations matter here.
    const u8 kinds[] = {file_kind_c, file_kind_cpp};
    Array<SourceFile> others = source_cache_copy_of_kinds(kinds, 2, job->path, pool_parser);
    for (const SourceFile& file : others) {
        u8* scratch = (u8*)pool_alloc(pool_parser, file.text.length > 0 ? file.text.length : 1);
        if (file.text.length > 0) memset(scratch, 0, (size_t)file.text.length);
        i64 first = a->p.tokens.count;
        if (!parse_state_add_file(&a->p, c_mode ? file_kind_c : file_kind_cpp, file.path, file.text, scratch)) break;
        cfam_follow_preprocessor_branches(&a->p, first, file.text, scratch, cpp_kind_preprocessor_directive);
    }
}
}  // namespace

void cpp_analysis_run(AnalysisJob* job, bool c_mode) {
    CppAnalysis* a = cfam_new<CppAnalysis>();
    a->job = job;
    a->result = job->result;
    a->c_mode = c_mode;
    f64 start = analysis_clock_ms();
    lex_files(a, job, c_mode);
    f64 lexed = analysis_clock_ms();
    job->lex_ms += lexed - start;
    cpp_parse_tokens(a);
    f64 parsed = analysis_clock_ms();
    job->parse_ms += parsed - lexed;
    analysis_begin_result(job, language_cpp);
    cpp_semantic_init(a);
    cpp_declare_items(a);
    cpp_resolve_passes(a);
    cpp_bodies_phase(a);
    finish_name_index(a->result, &a->p);
    job->resolve_ms += analysis_clock_ms() - parsed;
}
