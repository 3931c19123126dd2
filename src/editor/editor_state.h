#pragma once
// The editor's state: the tab table and the document shown, the project's file records,
// the calls into the workbench, search, crash recovery and what the view is told.
#include "editor/document.h"
#include "editor/recovery.h"
#include "editor/search.h"

// Chunks of undo history that no document holds now, for the next one that needs room:
// histories come and go without the pool growing past their largest total.
struct UndoChunkPool {
    Array<u8*> free;
    i64 made;  // chunks taken from pool_main in all
};

struct EditorState {
    TabTable tab_table;
    Document* current_document;
    // Project files: (tab id, path relative to the project directory).
    Array<TabPath> tab_paths;
    i32 next_tab_id;
    EditorHooks hooks;
    SearchState search;
    RecoveryState recovery;
    bool view_sets_pointer_shape;  // the workbench wants pointer shapes set by the view
    Color entry_field_palette[1];  // entry fields draw all their text in the theme's text colour
    // A file named to be made (the command line): its absence is not reported on load.
    bool loading_new_file;
    Array<u8> save_scratch;        // a "\r\n" file's text as it is written; pool_main
    OwnedString line_end_notice;   // said by the workbench once, then emptied; pool_main
    Array<u8> reload_scratch;      // a file read again after another program changed it; pool_main
    UndoChunkPool undo_chunks;
};

extern EditorState editor;
