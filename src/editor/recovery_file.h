#pragma once
// The recovery file of a modified document: a short text header naming the document
// and its project, the text's length and checksum, then the text itself.
//
//     tesmora recovery 1
//     document /abs/path/of/file.c
//     project /abs/path/of/p.project
//     length 1234
//     checksum 0123456789abcdef
//     <empty line>
//     <length bytes of text>
//
// The header is built and read with stack memory only: the emergency save after an
// arena ran out writes recovery files too.
#include "core/string_view.h"

// The longest header: two paths of up to 4095 bytes and the fixed lines.
constexpr i64 recovery_header_capacity = 2 * 4096 + 160;
// Recovery file names: 16 hex digits and this ending.
constexpr StringView recovery_file_ending = SV(".recovery");
constexpr i64 recovery_file_name_length = 16 + 9;

struct RecoveryContent {
    StringView document;  // absolute path, or "<project>#tab<id>" for a tab without one
    StringView project;   // absolute path of the project file; may be empty
    StringView text;
};

u64 recovery_checksum(StringView text);
// Writes the header for `text` into `out`; returns its length, or -1 when it does not
// fit or a path holds a line break.
i64 recovery_header(char* out, i64 capacity, StringView document, StringView project, StringView text);
// The same for a text held in pieces (a document's bytes on both sides of its gap).
i64 recovery_header_parts(char* out, i64 capacity, StringView document, StringView project, const StringView* parts,
                          i64 count);
// Reads a whole recovery file; false (and `out` unspecified) unless the header is well
// formed and exactly `length` bytes with the right checksum follow it.
bool recovery_parse(StringView bytes, RecoveryContent* out);
// Reads only the header (the text may be cut off); the document and project paths.
bool recovery_parse_header(StringView bytes, RecoveryContent* out);
// The file name for a document of a project: a hash of both, recovery_file_name_length
// bytes written to `out`.
void recovery_file_name(char* out, StringView project, StringView document);
