#pragma once
// The two ways the bytes of a document change: inserting at a position and removing a
// range. Both keep the colour bytes, the line table and the undo history in step, so
// that a keystroke costs work in proportion to the change rather than to the whole text.
#include "editor/document.h"

// Inserts `bytes` at `pos` with one colour. A single-line document drops newlines.
// Returns the number of bytes inserted; 0 with nothing changed when the document cannot
// grow that far (the caller reports it).
i64 text_insert(Document* doc, i64 pos, StringView bytes, u8 colour);
// The same with one colour byte per inserted byte.
i64 text_insert_coloured(Document* doc, i64 pos, StringView bytes, const u8* colours);
// Removes [start, start + n), clamped to the text.
void text_remove(Document* doc, i64 start, i64 n);
// The whole text becomes `bytes` (colour 0) as one change of the history: reloading a
// file another program changed, putting back a recovered text. False, with nothing
// changed, when the document cannot hold it.
bool text_replace_all(Document* doc, StringView bytes);
// A text that is not single-line always ends in a newline; added here when an edit took
// it away (the incremental form of the first step of rebuild_line_table).
void keep_final_newline(Document* doc);

// Memory: a document may take pool_main only down to this many bytes left over, so that
// the rest of the program never runs the arena dry.
constexpr i64 document_memory_margin = (i64)32 << 20;
// Positions are 32-bit; texts stay below this length.
constexpr i64 document_length_limit = 0x7ffffff0;
// Whether text, colours and line table can grow to hold `new_length` bytes with up to
// `new_lines` more line entries. Silent.
bool document_has_room(const Document* doc, i64 new_length, i64 new_lines);
