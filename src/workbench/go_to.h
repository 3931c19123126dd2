#pragma once
// Ctrl+P: the prompt that lists, as the user types, the project's files and the
// declarations of the last analysis whose names hold the typed letters in order, best
// first. Up and Down choose; Enter or a click goes there.
#include "core/string_view.h"
#include "core/types.h"

struct Document;

struct GoToChoice {
    bool chosen;
    StringView path;  // pool_frame
    i32 line, column;
};

// The list is made again for the prompt that opens.
void go_to_reset();
// Draws the prompt (its box `box`) and its list, and acts on this frame's keys.
GoToChoice run_go_to(Document* box, StringView title);
// Opens the chosen file or goes to the chosen declaration.
void go_to_choice(const GoToChoice& choice);
