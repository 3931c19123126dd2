// Placeholders until the completion list reads analysis results: the lists stay empty,
// so every path that opens them shows nothing and changes no text it should not.
#include "editor/completion.h"

#include "editor/edit.h"
#include "editor/motion.h"

void gather_candidates(Document* doc) { doc->symbol_source.count = 0; }

void filter_candidates(Document* doc) {
    doc->completion_top = 0;
    doc->completion_selected = 0;
    doc->completion.count = 0;
}

void open_symbol_list(Document* doc) {
    doc->symbol_list_open = 0;
    doc->symbol_list.count = 0;
    doc->symbol_list_selected = 0;
}

void accept_completion(Document* doc) {
    i32 start = word_start(doc, doc->cursor, true);
    i32 end = word_end(doc, doc->cursor, true);
    if (end < start) end = start;
    doc->anchor = start;
    doc->cursor = end;
    delete_selection(doc);
    if (doc->completion_selected >= 0 && doc->completion_selected < doc->completion.count) {
        StringView name = doc->completion[doc->completion_selected].name;
        u8 colour = name.length > 0 ? typed_text_colour(doc, (u8)name.data[0]) : 0;
        insert_bytes(doc, name, colour);
    }
    close_completion(doc);
    doc->anchor = doc->cursor;
}
