// Until the parser and the semantic pass exist the pass colours lexically.
#include "analysis/vantrel/vantrel_analysis.h"
#include "analysis/lexical_pass.h"
#include "syntax/token_kinds.h"

void vantrel_analysis_run(AnalysisJob* job) {
    lex_document(job, language_vantrel, false, nullptr);
    analysis_begin_result(job, language_vantrel);
}
