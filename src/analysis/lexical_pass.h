#pragma once
// Lexical colouring of a whole document on the analysis thread; the language passes
// begin with it.
#include "analysis/analysis_job.h"
#include "syntax/lexer.h"

// Lexes job->text with the analysis lexer of `language` into job->colours, appending the
// tokens to `tokens` (null: colours only). Records the time in job->lex_ms.
void lex_document(AnalysisJob* job, int language, bool c_mode, Array<Token>* tokens);
