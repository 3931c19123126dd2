// Until the parser and the semantic pass exist the pass colours lexically.
#include "analysis/glsl/glsl_analysis.h"
#include "analysis/lexical_pass.h"
#include "syntax/token_kinds.h"

void glsl_analysis_run(AnalysisJob* job) {
    lex_document(job, language_glsl, false, nullptr);
    analysis_begin_result(job, language_glsl);
}
