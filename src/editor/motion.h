#pragma once
// Cursor motion, word scans and jumps.
#include "editor/document.h"

i32 word_start(const Document* doc, i32 pos, bool identifier_only);
i32 word_end(const Document* doc, i32 pos, bool identifier_only);
// The column `pos` is drawn at on its row: characters, not bytes, a tab as wide as drawn.
// Up and Down keep this column (Document::preferred_column).
i32 visual_column(const Document* doc, i64 pos);
void move_up(Document* doc);
void move_down(Document* doc);
void go_to(Document* doc, i32 pos);
void go_to_line(Document* doc, i64 n);
// Keyboard motion keys (arrows, Home, End, Page Up/Down and their keypad forms);
// returns true when one acted. `keypad_navigation` tells whether keypad keys move.
bool handle_motion_keys(Document* doc, bool shift, bool ctrl, bool keypad_navigation);
void close_completion(Document* doc);
// Row of a position by the line table, and the start of a row.
i64 row_of_position(const Document* doc, i64 pos);
i64 row_start(const Document* doc, i64 row);
