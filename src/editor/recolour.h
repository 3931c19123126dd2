#pragma once
// Lexical recolouring of a document's visible lines, and the analysis request that follows.
#include "core/string_view.h"

struct Document;

struct ByteRange {
    i64 start;
    i64 end;
};

void recolour_document(Document* doc);
// Bytes past the visible rows that recolouring may lex to finish a token begun on screen.
constexpr i64 recolour_lookahead = 4096;
// Byte offsets of the first and last visible line of the document's box.
ByteRange visible_range(const Document* doc);

