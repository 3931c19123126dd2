// The whole vantrel analysis (lex, parse, declare, resolve) on arbitrary bytes: it must
// finish, stay inside its buffers and leave a consistent result. The second half of the
// input goes into the source cache as another project file.
#include "analysis_fuzz_project.h"

using namespace analysis_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        set_up_project("vantrel", "other.vnt", "fuzz.vnt");
        ready = true;
    }
    size_t half = size / 2;
    StringView document{(const char*)data, (i64)half};
    source_cache_update(SV("other.vnt"), StringView{(const char*)data + half, (i64)(size - half)});
    pool_reset(pool_parser);

    static AnalysisResult result;
    AnalysisJob job = run_job(document, SV("fuzz.vnt"), file_kind_vantrel, &result);
    check_published(job, result, document.length, 20);
    return 0;
}
