#include "editor/document.h"

#include "analysis/analysis_state.h"

#include "editor/editor_state.h"

#include "editor/file_io.h"
#include "editor/undo_store.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "syntax/syntax_state.h"
#include "editor/indent.h"

EditorState editor;

namespace {
void set_theme_colours(Document* doc) {
    doc->caret_color = render.theme.cursor_color;
    doc->selection_color = render.theme.selection_color;
    doc->line_number_color = render.theme.line_number_color;
    doc->scrollbar_color = render.theme.scrollbar_color;
}

void set_white_textures(Document* doc) {
    u32 white = render.icon_textures[icon_white];
    doc->caret_texture = white;
    doc->background_texture = white;
    doc->scrollbar_texture = white;
}

// Every buffer of a document lives in pool_main.
void set_buffer_pools(Document* doc) {
    doc->text.pool = pool_main;
    doc->lines.pool = pool_main;
    doc->undo_snapshots.pool = pool_main;
    doc->undo_ops.pool = pool_main;
    doc->undo_chunks.pool = pool_main;
    doc->symbol_source.pool = pool_main;
    doc->completion.pool = pool_main;
    doc->symbol_list.pool = pool_main;
}

// Fields shared by tab documents and entry fields.
void set_common_defaults(Document* doc) {
    set_buffer_pools(doc);
    doc->zoom = 1.0f;
    doc->caret_width = 6.0f;
    doc->scrollbar_width = 32.0f;
    doc->min_thumb = 16.0f;
    doc->double_click_time = 0.5f;
    doc->font = &render.font;
    set_white_textures(doc);
    set_theme_colours(doc);
    doc->undo_limit = 64;
    doc->undo_index = -1;
    doc->last_edit_kind = edit_structural;
    doc->last_edit_pos = -1;
}

bool bit_set(i64 slot) { return (editor.tab_table.used[slot / 8] >> (slot & 7)) & 1; }
}  // namespace

void document_init_tab_defaults(Document* doc) {
    memset((void*)doc, 0, sizeof(Document));
    set_common_defaults(doc);
    doc->smooth_scroll = 1;
    doc->show_line_numbers = 1;
    doc->highlight_flag = 1;
    doc->single_line = 0;
    doc->palette = PaletteView{syntax.vantrel_palette, vantrel_kind_count};
}

void document_init_entry_field(Document* doc) {
    memset((void*)doc, 0, sizeof(Document));
    set_common_defaults(doc);
    doc->id = (u32)-1;
    doc->single_line = 1;
    editor.entry_field_palette[0] = render.theme.text_color;
    doc->palette = PaletteView{editor.entry_field_palette, 1};
    rebuild_line_table(doc);
}

void tab_table_init() {
    // A second initialisation (tests) reuses the block and lets go of the old histories.
    if (editor.tab_table.slots) {
        for (i64 i = 0; i < tab_slot_count; i++) {
            document_unshare_text(&editor.tab_table.slots[i]);
            undo_store_clear(&editor.tab_table.slots[i]);
        }
    } else {
        editor.tab_table.slots = (Document*)pool_alloc(pool_main, tab_slot_count * (i64)sizeof(Document));
        editor.tab_table.used = (u8*)pool_alloc(pool_main, 4);
    }
    memset(editor.tab_table.used, 0, 4);
    editor.tab_table.count = tab_slot_count;
    Document template_record;
    document_init_tab_defaults(&template_record);
    for (i64 i = 0; i < tab_slot_count; i++) memcpy((void*)&editor.tab_table.slots[i], &template_record, sizeof(Document));
    editor.current_document = nullptr;
    editor.tab_paths.pool = pool_main;
}

bool tab_slot_used(i64 slot) {
    if (!editor.tab_table.used || slot < 0 || slot >= tab_slot_count) return false;
    return bit_set(slot);
}

void tab_slot_release(i64 slot) {
    if (!editor.tab_table.used || slot < 0 || slot >= tab_slot_count) return;
    document_unshare_text(&editor.tab_table.slots[slot]);
    editor.tab_table.used[slot / 8] &= (u8)~(1u << (slot & 7));
}

i64 find_tab(u32 id) {
    if (!editor.tab_table.slots) return -1;
    for (i64 i = 0; i < tab_slot_count; i++)
        if (bit_set(i) && editor.tab_table.slots[i].id == id) return i;
    return -1;
}

i64 open_tab(StringView path, u32 id) {
    if (!editor.tab_table.slots) return -1;
    i64 slot = -1;
    for (i64 i = 0; i < tab_slot_count && slot < 0; i++)
        if (!bit_set(i)) slot = i;
    if (slot < 0) {
        show_simple_message_box(0, SV("error"), SV("too many tabs!"));
        return -1;
    }
    editor.tab_table.used[slot / 8] |= (u8)(1u << (slot & 7));
    Document* doc = &editor.tab_table.slots[slot];
    doc->id = id;
    doc->focused = 1;
    set_buffer_pools(doc);
    // A reused slot must not keep the previous file's path: should this file fail to
    // open, saving the empty document would overwrite that other file.
    doc->path.length = 0;
    document_reset(doc);
    document_load(doc, path);
    if (editor.hooks.add_tab_entry) editor.hooks.add_tab_entry(id, tab_display_name(path));
    editor.current_document = doc;
    return slot;
}

void document_reset(Document* doc) {
    // Whatever the document held before, the analysis reads it no more.
    document_unshare_text(doc);
    doc->last_edit_pos = -1;
    doc->cursor = doc->anchor = 0;
    store_clear(&doc->text);
    undo_store_clear(doc);
    doc->symbol_source.count = 0;
    doc->completion.count = 0;
    doc->symbol_list.count = 0;
    rebuild_line_table(doc);
    doc->undo_index = -1;
    doc->last_edit_kind = edit_structural;
    doc->history_trimmed = 0;
    doc->completion_open = 0;
    doc->symbol_list_open = 0;
    doc->recovery_state_id = 0;
    doc->crlf = doc->mixed_line_ends = 0;
    doc->indent_unit = 0;
    doc->recovery_present = 0;
    doc->recovery_time = 0;
    document_mark_changed(doc);
    document_mark_saved(doc);
}

void document_mark_changed(Document* doc) {
    doc->state_id = ++editor.tab_table.last_state_id;
    doc->dirty = 1;
}

void document_mark_saved(Document* doc) {
    doc->saved_state_id = doc->state_id;
    doc->dirty = 0;
}

void document_update_dirty(Document* doc) { doc->dirty = doc->state_id != doc->saved_state_id ? 1 : 0; }

void document_set_text(Document* doc, StringView s) {
    i64 n = s.length > 0 ? s.length : 0;
    // Text that lives in the document itself is copied out before the reset empties it.
    const u8* base = doc->text.bytes;
    if (n > 0 && base && (const u8*)s.data < base + doc->text.capacity && (const u8*)s.data + n > base)
        s = string_copy(s, n <= pool_available(pool_frame) / 2 ? pool_frame : pool_main);
    document_reset(doc);
    // Room for the final newline that the line table may add; the reset's own newline goes.
    if (!store_reserve(&doc->text, n + 1, pool_available(pool_main))) return;
    store_clear(&doc->text);
    store_insert(&doc->text, 0, (const u8*)s.data, n, nullptr, 0);
    doc->cursor = doc->anchor = (i32)n;
    rebuild_line_table(doc);
    doc->indent_unit = detect_indent_unit(doc);
}

StringView document_range(const Document* doc, i64 start, i64 end) {
    // The gap moves; the text itself does not change.
    TextStore* store = const_cast<TextStore*>(&doc->text);
    if (!store->bytes) return StringView{"", 0};
    i64 length = store_length(store);
    if (start < 0) start = 0;
    if (end > length) end = length;
    if (end < start) end = start;
    DocumentTextLock held(doc);
    return StringView{(const char*)store_bytes(store, start, end), end - start};
}

u8* document_colour_range(const Document* doc, i64 start, i64 end) {
    TextStore* store = const_cast<TextStore*>(&doc->text);
    if (!store->bytes) return nullptr;
    DocumentTextLock held(doc);
    return store_colours(store, start, end);
}

DocumentTextLock::DocumentTextLock(const Document* d) : doc(d) {
    if (doc->text_shared && analysis.source_lock) mutex_lock(analysis.source_lock);
}

DocumentTextLock::~DocumentTextLock() {
    if (doc->text_shared && analysis.source_lock) mutex_unlock(analysis.source_lock);
}

void document_share_text(Document* doc) {
    if (doc->path.length <= 0 && doc->id == (u32)-1) return;
    source_cache_share(owned_view(doc->path), &doc->text);
    doc->text_shared = 1;
}

void document_unshare_text(Document* doc) {
    if (!doc->text_shared) return;
    source_cache_unshare(&doc->text);
    doc->text_shared = 0;
}

StringView tab_display_name(StringView path) {
    i64 cut = sv_last_index(path, '/');
    if (cut < 0) cut = sv_last_index(path, '\\');
    if (cut < 0) return path;
    return sv_slice(path, cut + 1, path.length);
}

StringView tab_path(i32 id) {
    for (const TabPath& p : editor.tab_paths)
        if (p.id == id) return p.path;
    return StringView{nullptr, 0};
}
