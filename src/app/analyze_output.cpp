#include "app/analyze_output.h"

#include <cstdio>

#include "core/string_builder.h"
#include "editor/document.h"
#include "editor/symbol_look.h"
#include "render/resources.h"
#include "syntax/coloring_file.h"
#include "syntax/file_kind.h"
#include "syntax/lex_text.h"
#include "syntax/syntax_state.h"
#include "syntax/token_kinds.h"

namespace {
void write(StringView s) { fwrite(s.data, 1, (size_t)s.length, stdout); }

void print_spans(const AnalysisJob& job) {
    int language = language_of_file_kind(job.kind);
    if (language < 0) language = language_plain;
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
    for (const OutlineRow& row : job.result->outline) {
        if (row.is_group_end) {
            if (depth > 0) depth--;
            printf("outline %lld end\n", (long long)depth);
            continue;
        }
        StringView icon = icon_base_name(outline_row_icon(job.result, row));
        printf("outline %lld %.*s %d %.*s\n", (long long)depth, (int)icon.length, icon.data, row.line + 1,
               (int)row.name.length, row.name.data);
        if (row.is_group_start) depth++;
    }
}
}  // namespace

void analyse_lexically(AnalysisJob* job) {
    job->colours = Array<u8>{nullptr, 0, 0, pool_parser};
    array_resize(&job->colours, job->text.length);
    if (job->text.length) memset(job->colours.data, 0, (size_t)job->text.length);
    job->result->outline.count = 0;
    lex_file_text(syntax.recolour_lexers, job->kind, 0, job->text, job->colours.data, nullptr, 0, -1);
}

void print_file_report(StringView path, const AnalysisJob& job, bool spans, bool outline) {
    printf("file %.*s\n", (int)path.length, path.data);
    if (spans) print_spans(job);
    if (outline) print_outline(job);
}
