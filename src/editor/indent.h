#pragma once
// Indentation: the file's own unit (a tab or N spaces, told by its indented lines), what
// Enter carries to the new line, and indenting or outdenting whole lines.
#include "editor/document.h"

// 0: a tab; 1 to 8: that many spaces. From the first indented lines of the text; a tab
// when nothing is indented yet.
u8 detect_indent_unit(const Document* doc);
// The whitespace Enter puts after the newline typed at `pos`: the line's leading tabs and
// spaces up to `pos`, one unit more after a line ending in "{" (C family, vantrel).
// Written into `out` (at most `capacity` bytes); returns its length.
i64 newline_indentation(const Document* doc, i64 pos, char* out, i64 capacity);
// The tabs and spaces that start the line of `pos`, up to `pos`.
i64 leading_blanks(const Document* doc, i64 pos);
// Typing "}" on a line of whitespace only: that whitespace loses one unit first.
void outdent_for_closing_brace(Document* doc);
// The lines of the selection (the caret's line when nothing is selected) get one unit
// more, or lose up to one unit.
void indent_block(Document* doc, bool outdent);
// What Tab inserts at the caret: a tab, or spaces to the next multiple of the unit.
i64 tab_text(const Document* doc, char* out, i64 capacity);
