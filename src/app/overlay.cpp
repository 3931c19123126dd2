// The statistics overlay: timings and arena use, drawn in red from the bottom-left.
#include <cstring>

#include "analysis/analysis_state.h"
#include "analysis/handover.h"
#include "app/shell_state.h"
#include "core/core_state.h"
#include "core/string_builder.h"
#include "render/font.h"
#include "render/renderer.h"

namespace {
struct FixedText {
    char* out;
    i64 length;
    void add(StringView s) {
        for (i64 i = 0; i < s.length && length < 1023; i++) out[length++] = s.data[i];
    }
    void add_decimal(f64 v) {
        char text[320];
        i64 n = format_decimal(v, text);
        add(StringView{text, n});
    }
    void add_int(i64 v) {
        char digits[24];
        int n = 0;
        u64 m = v < 0 ? (u64)0 - (u64)v : (u64)v;
        if (v < 0) add(SV("-"));
        do { digits[n++] = (char)('0' + m % 10); m /= 10; } while (m);
        while (n) { char c = digits[--n]; add(StringView{&c, 1}); }
    }
    void add_pool_line(StringView label, i64 used, i64 capacity) {
        add(label);
        add_int(used);
        add(SV("/"));
        add_int(capacity);
        add(SV("  "));
        add_decimal(capacity ? (f64)used * 100.0 / (f64)capacity : 0.0);
        add(SV("%\n"));
    }
};
}  // namespace

i64 overlay_build(char* out) {
    memset(out, 0, 1024);
    FixedText t{out, 0};
    if (shell.show_timings) {
        t.add_decimal(shell.render_time * 1000.0);
        t.add(SV(" ms rendering\n"));
        t.add_decimal((f64)shell.sleep_ms);
        t.add(SV(" ms sleeping\n"));
        t.add_decimal((f64)(core.frame_time * 1000.0f));
        t.add(SV(" ms total\n"));
        t.add_int(core.glyph_count);
        t.add(SV(" glyphs\n"));
    }
    if (shell.show_memory) {
        t.add(SV("memory:\n"));
        t.add_pool_line(SV("  main: "), memory.arenas[pool_main].used, memory.arenas[pool_main].capacity);
        t.add_pool_line(SV("  tmp: "), memory.arenas[pool_frame].used, memory.arenas[pool_frame].capacity);
        t.add_pool_line(SV("  project view: "), memory.arenas[pool_project].used, memory.arenas[pool_project].capacity);
        t.add_pool_line(SV("  source cache: "), memory.arenas[pool_sources].used, memory.arenas[pool_sources].capacity);
        i64 parser_used = 0, output_used = 0;
        if (analysis.lock) mutex_lock(analysis.lock);
        parser_used = analysis.result_slot.parser_used;
        output_used = memory.arenas[pool_output].used;
        if (analysis.lock) mutex_unlock(analysis.lock);
        t.add_pool_line(SV("  parser: "), parser_used, memory.arenas[pool_parser].capacity);
        t.add_pool_line(SV("  parser output: "), output_used, memory.arenas[pool_output].capacity);
    }
    return t.length;
}

void overlay_draw() {
    char text[1024];
    i64 n = overlay_build(text);
    draw_text(&render.font, Color{1, 0, 0, 1}, StringView{text, n}, 16, 16, 1, 1, 0, 1);
}
