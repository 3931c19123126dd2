// Until the parser and the semantic pass exist the pass colours lexically.
#include "analysis/cpp/cpp_analysis.h"
#include "analysis/lexical_pass.h"
#include "syntax/token_kinds.h"

void cpp_analysis_run(AnalysisJob* job, bool c_mode) {
    lex_document(job, language_cpp, c_mode, nullptr);
    analysis_begin_result(job, language_cpp);
}
