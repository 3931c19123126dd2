#pragma once
// Lexical recolouring of a document's visible lines, and the analysis request that follows.
#include "editor/document.h"

// Lexes the rows on screen and asks the analysis for the whole text.
void recolour_document(Document* doc);
// Per frame: lexes the rows on screen when the analysis does not colour this document and
// they are not the rows last lexed; asks the analysis again when its result was stale.
void recolour_on_screen(Document* doc);
// Bytes past the visible rows that recolouring may lex to finish a token begun on screen.
constexpr i64 recolour_lookahead = 4096;
// Byte offsets of the first and last visible line of the document's box.
ByteRange visible_range(const Document* doc);

