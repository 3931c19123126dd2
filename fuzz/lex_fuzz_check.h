#pragma once
// Shared by the lexer fuzz targets: runs a lexer over the input, whole and over a
// sub-range, with guard bytes around the colour buffer, and checks what must always hold.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "memory/arena.h"
#include "syntax/lexer.h"
#include "syntax/token_kinds.h"

namespace lex_fuzz {

const u8 guard_byte = 0xA5;
const u8 unwritten = 0xEE;
const i64 guard = 64;

inline void reserve_small_arenas() {
    if (arenas_reserved()) return;
    const i64 capacities[pool_count] = {
        64ll << 20,   // main: keyword tables
        1ll << 20,    // frame
        1ll << 20,    // project
        1ll << 20,    // sources
        1ll << 20,    // editor
        256ll << 20,  // parser: tokens and colours of one input
        1ll << 20,    // output
    };
    if (!arenas_reserve(capacities)) abort();
}

inline void fail(const char* what, i64 value) {
    fprintf(stderr, "invariant broken: %s (%lld)\n", what, (long long)value);
    abort();
}

// `run` lexes lexer->text over [start, end).
template <typename Run>
void check_run(Lexer* lexer, const u8* data, i64 size, i64 start, i64 end, u8 max_kind, Run run) {
    pool_reset(pool_parser);
    u8* block = (u8*)pool_alloc(pool_parser, size + 2 * guard);
    memset(block, guard_byte, (size_t)(size + 2 * guard));
    u8* colours = block + guard;
    memset(colours, unwritten, (size_t)size);
    Array<Token> tokens{nullptr, 0, 0, pool_parser};
    lexer->text = StringView{(const char*)data, size};
    lexer->colours = &colours;
    lexer->tokens = &tokens;
    lexer->file = 3;
    run(lexer, start, end);

    for (i64 i = 0; i < guard; i++) {
        if (block[i] != guard_byte) fail("colour written before the buffer", i);
        if (block[guard + size + i] != guard_byte) fail("colour written after the buffer", i);
    }
    i64 clamped_end = end < 0 || end > size ? size : end;
    i64 clamped_start = start < 0 ? 0 : start > clamped_end ? clamped_end : start;
    for (i64 i = 0; i < size; i++) {
        if (colours[i] != unwritten && colours[i] > max_kind) fail("kind out of range", colours[i]);
        if (i < clamped_start && colours[i] != unwritten) fail("colour written before the range", i);
    }
    if (tokens.count < 1) fail("no end token", 0);
    const Token& last = tokens[tokens.count - 1];
    if (last.code != token_end || last.offset != clamped_end || last.length != 0 || last.file != 3) fail("bad end token", last.code);
    i64 previous_offset = clamped_start;
    u32 previous_line = 0;
    for (i64 i = 0; i + 1 < tokens.count; i++) {
        const Token& t = tokens[i];
        if (t.code == token_end) fail("end token inside the list", i);
        if (t.offset < clamped_start) fail("token before the range", t.offset);
        if (t.offset + (i64)t.length > size) fail("token outside the text", t.offset);
        if (t.file != 3) fail("token file", t.file);
        if (t.offset < previous_offset) fail("tokens out of order", t.offset);
        if (t.line < previous_line) fail("line went back", t.line);
        if (t.offset >= clamped_end && t.code != token_string && t.code != token_character) {
            fail("token begun at or after the end", t.offset);
        }
        previous_offset = t.offset;
        previous_line = t.line;
    }
    if (lexer->pos < clamped_end || lexer->pos > size) fail("stopped at a wrong place", lexer->pos);
}

// Whole text, then a sub-range chosen from the input's length.
template <typename Run>
void check_all(Lexer* lexer, const u8* data, i64 size, u8 max_kind, Run run) {
    check_run(lexer, data, size, 0, -1, max_kind, run);
    check_run(lexer, data, size, size / 3, size - size / 3, max_kind, run);
    check_run(lexer, data, size, size / 2, size / 2, max_kind, run);
}

}  // namespace lex_fuzz
