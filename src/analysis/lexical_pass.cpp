#include "analysis/lexical_pass.h"

#include "syntax/coloring_file.h"

void lex_document(AnalysisJob* job, int language, bool c_mode, Array<Token>* tokens) {
    f64 start = analysis_clock_ms();
    Lexer* lexer = &analysis_lexers[language];
    lexer->source = job->path;
    lexer->text = job->text;
    u8* colours = job->colours.data;
    lexer->colours = &colours;
    lexer->tokens = tokens;
    if (language == language_vantrel) lex_vantrel(lexer, 0, -1);
    else if (language == language_cpp) lex_cpp(lexer, c_mode, 0, -1);
    else lex_glsl(lexer, 0, -1);
    lexer->colours = nullptr;
    job->lex_ms += analysis_clock_ms() - start;
}
