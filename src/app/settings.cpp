#include <cstdio>

#include "app/shell_state.h"
#include "memory/arena.h"
#include "platform/platform.h"
#include "render/theme.h"


void settings_parse(StringView bytes) {
    i64 pos = 0, end = bytes.length;
    const char* s = bytes.data;
    while (pos < end) {
        i64 key_start = pos;
        while (pos < end && s[pos] != ' ') pos++;
        StringView key{s + key_start, pos - key_start};
        pos++;  // the space
        auto rest_of_line = [&]() {
            i64 start = pos < end ? pos : end;
            i64 p = start;
            while (p < end && s[p] != '\n') p++;
            return StringView{s + start, p - start};
        };
        if (sv_equal(key, SV("workspace"))) {
            string_assign(&shell.workspace_path, rest_of_line(), pool_main);
        } else if (sv_equal(key, SV("coloring"))) {
            string_assign(&shell.coloring_path, rest_of_line(), pool_main);
        } else if (sv_equal(key, SV("theme"))) {
            shell.theme_loader(rest_of_line());
        } else if (sv_equal(key, SV("sleep"))) {
            i64 p = pos < end ? pos : end;
            shell.sleep_ms = parse_integer(bytes, &p);
        } else if (sv_equal(key, SV("scale"))) {
            i64 p = pos < end ? pos : end;
            shell.scale = (f32)parse_decimal(bytes, &p);
        }
        while (pos < end && s[pos] != '\n') pos++;
        pos++;
    }
}

void settings_load() {
    // A settings file larger than the frame arena can hold is not a settings file.
    FileContents contents = file_read_all(SV("settings.txt"), pool_frame, pool_available(pool_frame) / 2);
    if (contents.status == read_too_large) {
        fputs("settings.txt too large, ignored\n", stdout);
        fflush(stdout);
    }
    if (contents.status != read_ok) return;
    settings_parse(contents.bytes);
}
