#pragma once
// Loading a file into a document, saving it back, and reloading it after another program
// changed it.
#include "editor/document.h"

// Loads the file at `path` (relative to the project directory). A file that is not there
// still gives the document its path and kind, marked missing, so that saving creates it;
// a file that exists but cannot be read leaves the document without a path, so that no
// save can replace what could not be shown.
void document_load(Document* doc, StringView path);

enum SaveOutcome : u8 {
    save_outcome_saved,
    save_outcome_not_needed,      // not modified
    save_outcome_no_path,         // the caller asks where to save it
    save_outcome_failed,          // reported; the document stays modified
    save_outcome_changed_on_disk, // another program changed the file: nothing written
};
// Writes a modified document to its file. With `overwrite_changed` it writes even when
// the file changed on disk since it was loaded or saved.
SaveOutcome document_save(Document* doc, bool overwrite_changed = false);
// Reads the file again after another program changed it, keeping the caret and scroll
// as close as the new text allows; the text before stays one undo step away.
bool document_reload(Document* doc);
// The document's full path (project directory + path) in pool_frame.
StringView document_full_path(const Document* doc);
// The absolute, normalised form of a project-relative path, built in `buffer` (4096
// bytes or more) without touching the arenas; empty when it does not fit.
StringView absolute_document_path(StringView relative, char* buffer, i64 capacity);
// Whether the file now differs from `known` (size, time, inode, existence).
bool file_stamp_differs(const FileStamp& known, const FileStamp& now);
