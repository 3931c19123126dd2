// The editor as a user drives it: the input becomes a stream of key, text and mouse
// events on a Document drawn in a box with a small font, and after every event the
// document must be whole: colours as long as the text, a line table that matches the
// text, cursor and anchor inside it. When the history was never trimmed, undoing
// everything gives back the starting text.
//
// Layout of an input: one byte of options (language, single-line, view flags), one byte
// giving the length of the starting text, the starting text, then events, each an
// opcode byte and its operands. Missing bytes read as 0.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "analysis/analysis_job.h"
#include "analysis/analysis_state.h"
#include "analysis/analysis_thread.h"
#include "analysis/handover.h"
#include "analysis/source_cache.h"
#include "app/frame_input.h"
#include "core/core_state.h"
#include "editor/clipboard.h"
#include "editor/completion.h"
#include "editor/document.h"
#include "editor/edit.h"
#include "editor/editor_state.h"
#include "editor/search.h"
#include "editor/view.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/resources.h"
#include "render/theme.h"
#include "syntax/coloring_file.h"
#include "editor/recolour.h"
#include "syntax/syntax_state.h"
#include "syntax/token_kinds.h"

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    fprintf(stderr, "editor_fuzz: %s\n", what);
    abort();
}

// Glyphs 10 pixels wide and rows 16 high; tab 40 wide, and a replacement glyph.
void parse_font() {
    static char info[8192];
    i64 n = snprintf(info, sizeof info, "s 256 256\ng 32 0 0 10 0 0 0 0\ng 9 0 0 40 0 0 0 0\n");
    for (int c = 33; c < 127; c++)
        n += snprintf(info + n, sizeof info - (size_t)n, "g %d 0 0 10 %d 0 10 16\n", c, c);
    n += snprintf(info + n, sizeof info - (size_t)n, "g 65533 0 0 10 127 0 10 16\n");
    check(font_parse(&render.font, StringView{info, n}, SV("fuzz/font_info.txt")), "font");
}

Document entry_field;

void set_up() {
    static const i64 capacities[pool_count] = {192ll << 20, 8 << 20, 1 << 20, 4 << 20, 4 << 20, 64ll << 20, 16 << 20};
    check(arenas_reserve(capacities), "arenas");
    theme_set_defaults();
    store_builtin_palettes();
    load_coloring_file(StringView{nullptr, 0});
    analysis_locks_create();
    source_cache_init();
    parse_font();
    tab_table_init();
    document_init_entry_field(&entry_field);
    analysis.result_slot.running = 1;
}

// Graphics objects are forgotten between inputs so that each input starts alike.
void reset_platform() {
    headless_reset();
    render.gpu = Renderer{};
    gpu_setup();
    render.font.texture = texture_create();
    for (int i = 0; i < icon_count; i++) render.icon_textures[i] = texture_create();
    core.frame_time = 1.0f / 60;
}

struct Reader {
    const u8* data;
    size_t size, pos;
    u8 byte() { return pos < size ? data[pos++] : 0; }
    u16 word() { return (u16)(byte() | (byte() << 8)); }
    bool done() const { return pos >= size; }
    StringView bytes(size_t n) {
        if (n > size - pos) n = size - pos;
        StringView s{(const char*)data + pos, (i64)n};
        pos += n;
        return s;
    }
};


const i32 plain_keys[] = {key_left,  key_right,   key_up,        key_down,  key_home,  key_end,    key_page_up,
                          key_page_down, key_enter, key_backspace, key_delete, key_tab, key_escape, key_kp_1,
                          key_kp_2,  key_kp_3,    key_kp_4,      key_kp_6,  key_kp_7,  key_kp_8,   key_kp_9,
                          key_kp_period, key_kp_enter, key_space, key_A};
const i32 ctrl_keys[] = {key_A,   key_X,     key_C,         key_V,    key_Z,     key_Y,   key_F,  key_R,
                         key_G,   key_J,     key_L,         key_home, key_end,   key_I,   key_K,  key_T,
                         key_B,   key_W,     key_match_case, key_space, key_left, key_right, key_backspace,
                         key_delete, key_up, key_down};

struct Session {
    Document* doc;
    bool shift_held, ctrl_held;
};

// Window point with y upwards, as the main loop hands it to the view.
void move_pointer(i32 x, i32 y) { headless_mouse_move(x, render.gpu.height - y); }

void frame(Session* s) {
    frame_input_begin();
    begin_frame();
    editor_take_analysis_result(s->doc);
    editor_view(s->doc);
}

void tap(Session* s, i32 key, bool shift, bool ctrl) {
    if (shift && !s->shift_held) headless_key_down(key_shift);
    if (ctrl && !s->ctrl_held) headless_key_down(key_ctrl);
    headless_key_tap(key);
    frame(s);
    if (shift && !s->shift_held) headless_key_up(key_shift);
    if (ctrl && !s->ctrl_held) headless_key_up(key_ctrl);
}

void check_document(const Document* doc) {
    check(document_length(doc) == document_length(doc), "colours as long as the text");
    check(document_length(doc) >= 0 && document_length(doc) <= doc->text.capacity, "text count");
    const u8* t = ((const u8*)document_text(doc).data);
    if (doc->single_line) {
        check(document_length(doc) == 0 || memchr(t, '\n', (size_t)document_length(doc)) == nullptr, "single line");
    } else {
        check(document_length(doc) > 0 && t[document_length(doc) - 1] == '\n', "final newline");
    }
    // The line table equals what a walk of the text gives.
    i64 line = 0, run = 0;
    for (i64 i = 0; i < document_length(doc); i++) {
        run++;
        if (t[i] != '\n') continue;
        check(line < line_count(doc) && line_length(doc, line) == run, "line length");
        line++;
        run = 0;
    }
    check(line == line_count(doc) - 1 && line_length(doc, line) == run, "line count");
    check(doc->cursor >= 0 && doc->cursor <= document_length(doc), "cursor in range");
    check(doc->anchor >= 0 && doc->anchor <= document_length(doc), "anchor in range");
    check(doc->undo_index >= -1 && doc->undo_index < doc->undo_snapshots.count, "undo index");
}

void run_event(Session* s, Reader* r) {
    Document* doc = s->doc;
    u8 op = r->byte();
    switch (op % 24) {
    case 0: case 1: case 2: case 3: case 4: {
        StringView typed = r->bytes((size_t)(r->byte() % 8) + 1);
        headless_text(typed);
        frame(s);
        break;
    }
    case 5: case 6: case 7: {
        u8 which = r->byte();
        tap(s, plain_keys[which % (sizeof plain_keys / sizeof plain_keys[0])], which & 0x80, false);
        break;
    }
    case 8: case 9: {
        u8 which = r->byte();
        tap(s, ctrl_keys[which % (sizeof ctrl_keys / sizeof ctrl_keys[0])], which & 0x80, true);
        break;
    }
    case 10: {
        // Anywhere in the window and a little outside, mostly near the box.
        i32 x = (i32)(r->word() % 1100) - 40;
        i32 y = (i32)(r->word() % 850) - 40;
        move_pointer(x, y);
        frame(s);
        break;
    }
    case 11: {
        u8 what = r->byte();
        i32 button = what & 1 ? mouse_secondary : mouse_primary;
        switch ((what >> 1) % 4) {
        case 0: headless_mouse_click(button); break;
        case 1: headless_mouse_down(button); break;
        case 2: headless_mouse_up(button); break;
        default: headless_mouse_click(button); frame(s); headless_mouse_click(button); break;
        }
        frame(s);
        break;
    }
    case 12: {
        i32 steps = (i32)(i8)r->byte();
        if (r->byte() & 1) {
            headless_key_down(key_ctrl);  // zoom
            headless_wheel(steps % 8);
            frame(s);
            headless_key_up(key_ctrl);
        } else {
            headless_wheel(steps);
        }
        frame(s);
        break;
    }
    case 13: {
        StringView clip = r->bytes(r->byte());
        headless_set_clipboard(clip);
        break;
    }
    case 14: {
        // A long paste: one byte repeated, up to 4 KiB (long lines, many lines).
        static char block[4096];
        u16 n = (u16)(r->word() % sizeof block);
        memset(block, r->byte(), n);
        headless_set_clipboard(StringView{block, n});
        tap(s, key_V, false, true);
        break;
    }
    case 15: {
        StringView search = r->bytes(r->byte() % 16);
        StringView replace = r->bytes(r->byte() % 16);
        string_assign(&editor.search.search_text, search, pool_main);
        string_assign(&editor.search.replace_text, replace, pool_main);
        break;
    }
    case 16: {
        i64 n = document_length(doc) + 1;
        doc->anchor = (i32)(r->word() % n);
        doc->cursor = (i32)(r->word() % n);
        frame(s);
        break;
    }
    case 17: analysis_run_pending(); frame(s); break;
    case 18: {
        // The owner's box: the workbench gives any size, even none.
        doc->x = (f32)(r->byte() * 4);
        doc->y = (f32)(r->byte() * 3);
        doc->width = (f32)(r->word() % 1100);
        doc->height = (f32)(r->word() % 800);
        frame(s);
        break;
    }
    case 19: {
        if (r->byte() & 1) to_upper_case(doc);
        else to_lower_case(doc);
        break;
    }
    case 20: {
        u8 what = r->byte();
        if (what & 1) {
            s->shift_held = !s->shift_held;
            if (s->shift_held) headless_key_down(key_shift);
            else headless_key_up(key_shift);
        } else {
            s->ctrl_held = !s->ctrl_held;
            if (s->ctrl_held) headless_key_down(key_ctrl);
            else headless_key_up(key_ctrl);
        }
        headless_set_modifiers(what & 2 ? modifier_num_lock : 0);
        frame(s);
        break;
    }
    case 21: {
        // Time passes: double clicks expire, smooth scrolling settles.
        core.frame_time = (f32)(r->byte() % 64) / 60.0f;
        frame(s);
        core.frame_time = 1.0f / 60;
        break;
    }
    case 22: {
        i32 key = plain_keys[r->byte() % (sizeof plain_keys / sizeof plain_keys[0])];
        headless_key_down(key);
        frame(s);
        headless_key_repeat(key);
        frame(s);
        headless_key_up(key);
        frame(s);
        break;
    }
    default: {
        u8 what = r->byte();
        if (what & 1) {
            editor.search.whole_word = !editor.search.whole_word;
        } else {
            editor.search.match_case = !editor.search.match_case;
        }
        tap(s, (what & 2) ? key_T : key_L, false, true);
        break;
    }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        set_up();
        ready = true;
    }
    reset_platform();
    pool_reset(pool_frame);
    mutex_lock(analysis.lock);
    analysis.request = AnalysisRequest{};
    analysis.result_slot.ready = 0;
    mutex_unlock(analysis.lock);
    pool_reset(pool_output);
    analysis.current_result = AnalysisResult{};
    editor.search.match_case = editor.search.whole_word = false;
    string_assign(&editor.search.search_text, StringView{nullptr, 0}, pool_main);
    string_assign(&editor.search.replace_text, StringView{nullptr, 0}, pool_main);

    Reader r{data, size, 0};
    u8 options = r.byte();
    Session s{};
    s.doc = (options & 8) ? &entry_field : &editor.tab_table.slots[0];
    Document* doc = s.doc;
    document_reset(doc);
    if (doc->clip_data) clipboard_set_buffer(doc->clip_capacity, doc->clip_data);
    if (!doc->single_line) {
        doc->kind = (u8)(options % 6);  // 0 (never coloured) to 5
        doc->palette = PaletteView{syntax.vantrel_palette, vantrel_kind_count};
        doc->smooth_scroll = (options >> 4) & 1;
        doc->show_line_numbers = (options >> 5) & 1;
        doc->highlight_flag = (options >> 6) & 1;
    }
    doc->undo_limit = 4096;  // inputs are short: the whole history stays
    doc->zoom = 1.0f;
    doc->focused = 1;
    // A small box keeps the drawing (most of the time per event) short; the box event
    // gives any other size.
    doc->x = 100;
    doc->y = 50;
    doc->width = 320;
    doc->height = doc->single_line ? 24 : 200;
    doc->scroll_x = doc->scroll_y = doc->target_scroll_x = doc->target_scroll_y = 0;
    doc->thumb_dragging = doc->selecting = 0;
    doc->click_timer = 0;
    // The analysis finds a document's text by its path.
    static const char* const names[] = {"fuzz", "fuzz.txt", "fuzz.vnt", "fuzz.c", "fuzz.cpp", "fuzz.glsl"};
    if (!doc->single_line) string_assign(&doc->path, sv_from_cstr(names[doc->kind]), pool_main);
    document_set_text(doc, r.bytes(r.byte()));
    doc->cursor = doc->anchor = 0;
    recolour_document(doc);
    check_document(doc);

    // The starting text; a copy, since the document's storage changes under edits.
    static u8 initial[512];
    i64 initial_length = document_length(doc);
    memcpy(initial, ((const u8*)document_text(doc).data), (size_t)initial_length);

    static const bool trace = getenv("EDITOR_FUZZ_TRACE") != nullptr;
    for (int events = 0; !r.done() && events < 2000; events++) {
        size_t at = r.pos;
        run_event(&s, &r);
        check_document(doc);
        if (trace)
            fprintf(stderr, "event %d op %d: len %lld cursor %d anchor %d undo %lld/%lld kind %d [%.*s]\n", events,
                    data[at] % 24, (long long)document_length(doc), doc->cursor, doc->anchor, (long long)doc->undo_index,
                    (long long)doc->undo_snapshots.count, doc->last_edit_kind, (int)document_length(doc), ((const u8*)document_text(doc).data));
    }
    headless_key_up(key_shift);
    headless_key_up(key_ctrl);
    frame(&s);
    check_document(doc);

    // Back to the start through the whole history.
    if (!doc->history_trimmed && doc->undo_snapshots.count > 0) {
        // The first undo also stores the present text, so that redo can come back to it.
        undo(doc);
        for (int i = 0; i < 100000 && doc->undo_index >= 1; i++) undo(doc);
        check_document(doc);
        check(document_length(doc) == initial_length && memcmp(((const u8*)document_text(doc).data), initial, (size_t)initial_length) == 0,
              "undo restores the starting text");
        while (doc->undo_index + 1 < doc->undo_snapshots.count) redo(doc);
        check_document(doc);
    }
    return 0;
}
