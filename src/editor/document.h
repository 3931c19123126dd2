#pragma once
// The Document record: an open file or a one-line entry field, with its text, one colour
// byte per text byte, the line table, cursor and selection, undo history and view state.
#include "core/array.h"
#include "core/string_view.h"
#include "editor/line_store.h"
#include "core/text_store.h"
#include "platform/platform.h"  // FileStamp
#include "render/color.h"
#include "render/renderer.h"
#include "syntax/file_kind.h"
#include "syntax/token_kinds.h"  // PaletteView

struct Font;

enum EditKind : u8 {
    edit_undo = 0,
    edit_structural = 1,
    edit_word_char = 2,
    edit_other_char = 3,
    edit_delete_char = 4,
};

// A completion candidate (40 bytes): icon, name and colour of a symbol in scope.
struct Candidate {
    u32 icon;
    StringView name;
    Color color;
};
static_assert(sizeof(Candidate) == 40, "Candidate is a 40-byte record");

// One signature shown by the symbol list (64 bytes; strings in pool_editor).
struct SymbolListEntry {
    StringView text;
    StringView colours;
    u8 reserved[32];
};
static_assert(sizeof(SymbolListEntry) == 64, "SymbolListEntry is a 64-byte record");

// One step boundary of the undo history: the text as it was after the first `op` changes
// of the log (editor/undo_store.h), with the cursor and state identity of that moment.
struct ByteRange {
    i64 start;
    i64 end;
};

struct UndoSnapshot {
    i64 op;        // count of changes applied, counted from the start of the history
    i32 cursor;
    u64 state_id;  // the document's state_id when the snapshot was taken
};

// One change of the text: at `pos`, `removed` bytes went and `inserted` bytes came. Their
// bytes lie in the document's undo byte stream from `data` on, removed then inserted; the
// stream keeps their colour bytes at the same offsets.
struct UndoOp {
    i64 pos;
    i64 removed, inserted;
    i64 data;  // offset in the byte stream, counted from the start of the history
};

struct Document {
    u32 id;
    u8 focused;
    f32 x, y, width, height;
    u32 caret_texture, background_texture, scrollbar_texture;
    f32 zoom;
    f32 caret_width;
    Font* font;
    Color background;
    // The four theme colours: caret, selection, line numbers, scrollbar thumb.
    Color caret_color, selection_color, line_number_color, scrollbar_color;
    f32 scrollbar_width;
    f32 min_thumb;
    f32 thumb_offset;
    f32 grab_thumb_offset, grab_mouse_y;
    u8 thumb_dragging;
    u8 track_pressed;  // this frame's press paged through the scrollbar's track
    f32 double_click_time;
    u8 smooth_scroll;
    u8 show_line_numbers;
    u8 highlight_flag;
    u8 single_line;
    u8 kind;         // FileKind
    u8 indent_unit;  // 0: a tab; else that many spaces (told by the file when it is read)
    u8 submitted;
    f32 click_timer;
    f32 last_press_x, last_press_y;
    f32 blink_phase;  // seconds since the last key, up to when the caret stops blinking
    i32 cursor;
    i32 anchor;
    i32 preferred_column;
    u8 reset_column;
    u8 selecting;
    u8 numlock_state;
    u8 view_request;
    f32 caret_x, caret_y;
    f32 text_left;
    f32 scroll_x, scroll_y;
    f32 target_scroll_x, target_scroll_y;
    OwnedString path;  // relative to the project directory; empty for entry fields
    TextStore text;    // the bytes and one colour byte per byte
    LineStore lines;   // every line's length, newline included; one per newline plus the tail
    PaletteView palette;
    Array<UndoSnapshot> undo_snapshots;
    i64 undo_limit;  // 64
    i64 undo_index;  // snapshot holding the present state; -1 when empty
    // The log of changes the snapshots point into: `undo_applied` of them are in the text
    // (fewer after an undo). Changes and bytes before the oldest snapshot are dropped;
    // `undo_ops_base` and `undo_bytes_base` count them so that positions stay absolute.
    // The bytes lie in fixed-size chunks shared with the other documents (undo_store.h):
    // chunk i holds the stream's bytes from (undo_bytes_base / chunk size + i) chunks on.
    Array<UndoOp> undo_ops;
    i64 undo_ops_base;
    i64 undo_applied;
    Array<u8*> undo_chunks;
    i64 undo_bytes_base;
    i64 undo_bytes_end;
    u8 undo_replaying;  // undo or redo is changing the text: no new change is logged
    // The analysis reads this document's text in place (source cache): its layout changes
    // only under source_lock.
    u8 text_shared;
    // Colours: the analysis colours the whole text unless it was asked to analyse none of
    // it (too large), and then the rows on screen are lexed as they come into view.
    u8 lexical_only;
    ByteRange lexed;  // the rows last lexed
    // The result waiting was made from another text: ask again (once per state).
    u8 analysis_outdated;
    u64 analysis_reasked_state;
    u8 last_edit_kind;
    u8 history_trimmed;
    i64 clip_capacity;
    char* clip_data;
    u8 dirty;  // the present state differs from the one last loaded or saved
    // Every change gives the text a fresh identity; undo and redo bring back the identity
    // of the state they restore, so undoing back to the saved text reads as clean.
    u64 state_id;
    u64 saved_state_id;
    // The file as last loaded or saved, and as last seen by the check for changes made by
    // other programs (they differ once the user chose to keep their own text).
    FileStamp disk_stamp;
    FileStamp seen_stamp;
    u8 file_missing;  // the file was not there when loaded or has disappeared since
    u8 crlf;             // the file's lines end in "\r\n" (the text holds "\n"; saved back)
    u8 mixed_line_ends;  // it had both kinds when read (saved as the majority, said once)
    // Crash recovery: the state written to this document's recovery file (0: none yet),
    // whether such a file may exist, and when it was last written (seconds).
    u64 recovery_state_id;
    u8 recovery_present;
    f64 recovery_time;
    u8 last_typed;
    i64 last_edit_pos;
    u8 completion_open;
    i32 completion_top, completion_selected;
    Array<Candidate> symbol_source;
    Array<Candidate> completion;
    u8 symbol_list_open;
    Array<SymbolListEntry> symbol_list;
    i32 symbol_list_selected;
    // Hover position from the last layout (editor view).
    u8 pointer_inside;
    i32 hover_position;
    f32 hover_x;
};

// The 32 tab slots and the document shown in the editor.
constexpr i64 tab_slot_count = 32;
struct TabTable {
    Document* slots;  // 32 records from pool_main, never moved
    u8* used;         // 4-byte bit set
    i64 count;        // 32
    u64 last_state_id;  // of every document and entry field: identities are never reused
};

// Project files: (tab id, path relative to the project directory).
struct TabPath {
    i32 id;
    StringView path;
};
static_assert(sizeof(TabPath) == 24, "TabPath is a 24-byte record");

void tab_table_init();  // start-up: 32 slots from the template record
// Sets a record to the defaults of a tab slot (start-up template).
void document_init_tab_defaults(Document* doc);
// Sets a record up as a one-line entry field (prompts and dialogs).
void document_init_entry_field(Document* doc);
i64 find_tab(u32 id);
i64 open_tab(StringView path, u32 id);
bool tab_slot_used(i64 slot);
void tab_slot_release(i64 slot);  // clears the used bit; the record keeps its storage
void document_reset(Document* doc);
void document_set_text(Document* doc, StringView s);
void rebuild_line_table(Document* doc);
// The text changed: a fresh state identity, and the document is modified.
void document_mark_changed(Document* doc);
// The present text is what the file holds now (loaded, saved or reloaded).
void document_mark_saved(Document* doc);
// After undo or redo: modified unless the restored state is the saved one.
void document_update_dirty(Document* doc);
StringView tab_display_name(StringView path);
StringView tab_path(i32 id);
inline i64 document_length(const Document* doc) { return store_length(&doc->text); }
inline u8 document_byte(const Document* doc, i64 pos) { return store_byte(&doc->text, pos); }
inline u8 document_colour(const Document* doc, i64 pos) { return store_colour(&doc->text, pos); }
inline i64 line_count(const Document* doc) { return lines_count(&doc->lines); }
inline i64 line_length(const Document* doc, i64 row) { return lines_get(&doc->lines, row); }
// [start, end) of the text as one contiguous view (the store's gap moves out of the way;
// no text changes, so a const document may be asked). Valid until the next change or the
// next call of these.
StringView document_range(const Document* doc, i64 start, i64 end);
// The colour bytes of the same range, writable.
u8* document_colour_range(const Document* doc, i64 start, i64 end);
// Lets the analysis read the text in place under the document's path, or stops that.
void document_share_text(Document* doc);
void document_unshare_text(Document* doc);
// Held around every change of a shared document's text layout (source_lock).
struct DocumentTextLock {
    const Document* doc;
    explicit DocumentTextLock(const Document* d);
    ~DocumentTextLock();
};
// The whole text (moves the gap to the end: for saving, searching the whole text, tests).
inline StringView document_text(const Document* doc) { return document_range(doc, 0, document_length(doc)); }

// Calls into the workbench, set at start-up; null means "nothing to do".
struct EditorHooks {
    void (*add_tab_entry)(u32 id, StringView label);        // open_tab: a new active tab-bar entry
    void (*open_prompt)(i32 mode, StringView title);        // Ctrl+F, Ctrl+R, Ctrl+G
    void (*open_context_menu)(Document* doc);               // secondary button in the text
    void (*focus_taken)();                                  // a prompt took the keyboard focus
};
