// The whole GLSL analysis (lex, parse, built-ins, declare, resolve) on arbitrary bytes: it
// must finish, stay inside its buffers and leave a consistent result. The second half of
// the input goes into the source cache as another project shader, which must change
// nothing: a GLSL document sees only itself.
#include "analysis_fuzz_project.h"
#include "syntax/token_kinds.h"

using namespace analysis_fuzz;

namespace {
AnalysisJob run(StringView document, AnalysisResult* result) {
    return run_job(document, SV("fuzz.glsl"), file_kind_glsl, result);
}

// Beyond the shared checks: the built-ins in the root scope, scopes inside the document.
void check_result(const AnalysisJob& job, const AnalysisResult& result, i64 length) {
    check_published(job, result, length, glsl_kind_count);
    check(result.scopes.count >= 1 && result.scopes[0].members.count >= 102);
    // A scope of no place (a vector's components) is -1 to -1.
    for (const Scope& s : result.scopes)
        check((s.start == -1 && s.end == -1) || (s.start >= 0 && s.start <= s.end && s.end <= length));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        set_up_project("glsl", "other.glsl", "fuzz.glsl");
        ready = true;
    }
    size_t half = size / 2;
    StringView document{(const char*)data, (i64)half};
    static AnalysisResult result;

    source_cache_update(SV("other.glsl"), StringView{(const char*)data + half, (i64)(size - half)});
    pool_reset(pool_parser);
    AnalysisJob job = run(document, &result);
    check_result(job, result, document.length);
    // Keep the first run's colours, then run again with the other shader emptied.
    u8* first = (u8*)malloc(job.colours.count > 0 ? (size_t)job.colours.count : 1);
    if (job.colours.count > 0) memcpy(first, job.colours.data, (size_t)job.colours.count);
    i64 rows = result.outline.count;
    i64 scopes = result.scopes.count;

    source_cache_update(SV("other.glsl"), StringView{"", 0});
    pool_reset(pool_parser);
    job = run(document, &result);
    check(job.colours.count == document.length);
    check(job.colours.count == 0 || memcmp(first, job.colours.data, (size_t)job.colours.count) == 0);
    check(result.outline.count == rows && result.scopes.count == scopes);
    free(first);
    return 0;
}
