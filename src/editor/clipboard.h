#pragma once
// Copy, cut and paste through the system clipboard, and case conversion.
#include "editor/document.h"

void copy_selection(Document* doc);
void cut_selection(Document* doc);
void paste(Document* doc);
void to_upper_case(Document* doc);
void to_lower_case(Document* doc);
// Makes sure the document's staging buffer can hold `length` bytes.
void clip_buffer_reserve(Document* doc, i64 length);
