#pragma once
// Moving through the project by meaning: going to a place (a file, line and column),
// and the history of places left that Alt+Left and Alt+Right walk.
#include "core/string_view.h"
#include "core/types.h"

// Opens `path` (as the project names it, or absolute) in a tab when it is not the
// current document and puts the caret at the 0-based `line` and byte `column` (clamped
// to the text), scrolled into view. The place left is recorded in the history. False
// when the file cannot be opened.
bool navigate_to(StringView path, i64 line, i64 column);
// Alt+Left and Alt+Right: the place before (after) the present one in the history.
bool navigate_back();
bool navigate_forward();
