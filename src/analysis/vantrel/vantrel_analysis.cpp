// The vantrel pass: lex the document and the project's other .vnt files, parse them,
// declare and resolve every name, and fill the job's colours and result.
#include "analysis/vantrel/vantrel_analysis.h"

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "analysis/name_sites.h"
#include "analysis/source_cache.h"
#include "analysis/vantrel/vantrel_parser.h"
#include "analysis/vantrel/vantrel_semantic.h"
#include "syntax/coloring_file.h"
#include "syntax/file_kind.h"
#include "syntax/token_kinds.h"

namespace {
// The document is files[0]; every other .vnt file of the sources list follows, with a
// scratch colour buffer that nobody reads. Everything else is allocated before lexing
// starts, so that the token list grows in place at the top of pool_parser.
void lex_files(ParseState* p, AnalysisJob* job) {
    Array<SourceFile> others{nullptr, 0, 0, pool_parser};
    if (analysis.source_lock) {
        const u8 kind = file_kind_vantrel;
        others = source_cache_copy_of_kinds(&kind, 1, job->path, pool_parser);
    }
    Array<u8*> colours{nullptr, 0, 0, pool_parser};
    array_reserve(&colours, others.count + 1);
    for (const SourceFile& f : others) {
        u8* buffer = (u8*)pool_alloc(pool_parser, f.text.length > 0 ? f.text.length : 1);
        if (f.text.length > 0) memset(buffer, 0, (size_t)f.text.length);
        array_append(&colours, buffer);
    }
    array_reserve(&p->files, others.count + 1);
    parse_state_add_file(p, file_kind_vantrel, job->path, job->text, job->colours.data);
    for (i64 i = 0; i < others.count; i++)
        if (!parse_state_add_file(p, file_kind_vantrel, others[i].path, others[i].text, colours[i])) break;
}
}  // namespace

void vantrel_analysis_run(AnalysisJob* job) {
    f64 start = analysis_clock_ms();
    if (job->colours.count != job->text.length || !job->colours.data) {
        job->colours = Array<u8>{nullptr, 0, 0, pool_parser};
        array_resize(&job->colours, job->text.length);
        if (job->text.length > 0) memset(job->colours.data, 0, (size_t)job->text.length);
    }
    ParseState p;
    parse_state_reset(&p);
    lex_files(&p, job);
    f64 lexed = analysis_clock_ms();
    job->lex_ms += lexed - start;

    VantrelAnalysis a;
    vantrel_analysis_init(&a, &p, job);
    vantrel_parse_tokens(&p, &a.items);
    f64 parsed = analysis_clock_ms();
    job->parse_ms += parsed - lexed;

    analysis_begin_result(job, language_vantrel);
    vantrel_declare_items(&a);
    vantrel_resolve_all(&a);
    vantrel_fill_signatures(&a);
    finish_name_index(a.result, &p);
    job->resolve_ms += analysis_clock_ms() - parsed;
}
