#pragma once
// Keeping the line table in step with small edits. rebuild_line_table (document.h) walks
// the whole text; these change only the entries an edit touches and give the same table.
#include "editor/document.h"

// The row holding `pos` and its first byte. A position at or past the end of the text
// belongs to the last entry.
i64 locate_row(const Document* doc, i64 pos, i64* row_start_out);
// Whether the table can take `new_rows` more rows from `room` bytes of its pool.
bool line_table_has_room(const Document* doc, i64 new_rows, i64 room);
// `bytes` were inserted at `pos` (the text already holds them).
void line_table_inserted(Document* doc, i64 pos, StringView bytes);
// [start, start + n) is about to be removed (the text still holds it).
void line_table_removing(Document* doc, i64 start, i64 n);
