#include "app/analyze_output.h"

#include <cstdio>

#include "core/string_builder.h"
#include "editor/document.h"
#include "render/resources.h"
#include "syntax/coloring_file.h"
#include "syntax/recolour.h"
#include "syntax/token_kinds.h"

namespace {
int language_of_kind(u8 kind) {
    switch (kind) {
    case file_kind_vantrel: return language_vantrel;
    case file_kind_c:
    case file_kind_cpp: return language_cpp;
    case file_kind_glsl: return language_glsl;
    default: return language_plain;
    }
}

void write(StringView s) { fwrite(s.data, 1, (size_t)s.length, stdout); }

void print_spans(const AnalysisJob& job) {
    int language = language_of_kind(job.kind);
    StringBuilder line{};
    line.pool = pool_frame;
    i64 n = job.colours.count;
    i64 i = 0;
    while (i < n) {
        u8 c = job.colours[i];
        i64 start = i;
        while (i < n && job.colours[i] == c) i++;
        if (c == 0) continue;
        line.count = 0;
        append_string(&line, SV("span "));
        append_int(&line, start);
        append_char(&line, ' ');
        append_int(&line, i - start);
        append_char(&line, ' ');
        append_token_kind_key(&line, language, c);
        append_char(&line, '\n');
        write(builder_view(line));
    }
}

void print_outline(const AnalysisJob& job) {
    i64 depth = 0;
    for (const tree_node& row : job.result->minimap.rows) {
        if (row.is_group_end) {
            if (depth > 0) depth--;
            printf("outline %lld end\n", (long long)depth);
            continue;
        }
        StringView icon = icon_base_name(row.icon);
        printf("outline %lld %.*s %d %.*s\n", (long long)depth, (int)icon.length, icon.data, row.id + 1,
               (int)row.name.length, row.name.data);
        if (row.is_group_start) depth++;
    }
}
}  // namespace

void analyse_lexically(AnalysisJob* job) {
    job->colours = Array<u8>{nullptr, 0, 0, pool_parser};
    array_resize(&job->colours, job->text.length);
    if (job->text.length) memset(job->colours.data, 0, (size_t)job->text.length);
    job->result->minimap.rows.count = 0;
    int language = language_of_kind(job->kind);
    if (language == language_plain) {
        rainbow_colour_words(job->text, job->colours.data, 0, -1, rainbow_view.count);
        return;
    }
    Lexer* lexer = &recolour_lexers[language];
    lexer->source = job->path;
    lexer->text = job->text;
    u8* colours = job->colours.data;
    lexer->colours = &colours;
    lexer->tokens = nullptr;
    if (language == language_vantrel) lex_vantrel(lexer, 0, -1);
    else if (language == language_cpp) lex_cpp(lexer, job->kind == file_kind_c, 0, -1);
    else lex_glsl(lexer, 0, -1);
    lexer->colours = nullptr;
}

void print_file_report(StringView path, const AnalysisJob& job, bool spans, bool outline) {
    printf("file %.*s\n", (int)path.length, path.data);
    if (spans) print_spans(job);
    if (outline) print_outline(job);
}
