// UTF-8 decoding, glyph lookup, the layout walk and the four text operations.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/core_state.h"
#include "memory/arena.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/renderer.h"
#include "render/theme.h"

namespace {

// An atlas of 256 x 256 so that every value below is in pixels at scale 1.
const char test_font_info[] =
    "s 256 256\n"
    "g 32 0 0 5 0 0 0 0\n"
    "g 9 0 0 20 0 0 0 0\n"
    "g 97 1 2 10 0 0 8 12\n"
    "g 98 0 0 7 10 0 6 12\n"
    "g 65533 0 0 9 20 0 9 10\n";

Font make_font(StringView bytes) {
    Font f;
    EXPECT_TRUE(font_parse(&f, bytes, SV("fixture/font_info.txt")));
    return f;
}

std::vector<u32> decode_all(StringView text) {
    std::vector<u32> out;
    i64 at = 0;
    while (at < text.length) {
        Utf8Decoded d = utf8_decode(sv_slice(text, at, text.length));
        EXPECT_GE(d.length, 1);
        out.push_back(d.code_point);
        at += d.length;
    }
    return out;
}

TEST(RenderUtf8, DecodesCommonAndBrokenSequences) {
    std::vector<u32> hello = decode_all(SV("h\xC3\xA9llo"));
    ASSERT_EQ(hello.size(), 5u);
    EXPECT_EQ(hello[1], 0xE9u);
    EXPECT_EQ(utf8_decode(SV("\xC3\xA9")).length, 2);

    Utf8Decoded zhe = utf8_decode(SV("\xD0\x96"));
    EXPECT_EQ(zhe.code_point, 0x416u);
    EXPECT_EQ(zhe.length, 2);

    Utf8Decoded euro = utf8_decode(SV("\xE2\x82\xAC"));
    EXPECT_EQ(euro.code_point, 0x20ACu);
    EXPECT_EQ(euro.length, 3);

    Utf8Decoded smile = utf8_decode(SV("\xF0\x9F\x98\x80"));
    EXPECT_EQ(smile.code_point, 0x1F600u);
    EXPECT_EQ(smile.length, 4);

    Utf8Decoded lone = utf8_decode(SV("\x80" "a"));
    EXPECT_EQ(lone.code_point, 0xFFFDu);
    EXPECT_EQ(lone.length, 1);

    // A 3-byte lead at the very end: one U+FFFD that claims its whole sequence.
    std::vector<u32> cut = decode_all(SV("a\xE2"));
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_EQ(cut[1], 0xFFFDu);
    EXPECT_EQ(utf8_decode(SV("\xE2\x82")).length, 3);
    EXPECT_EQ(utf8_decode(SV("\xE2\x82")).code_point, 0xFFFDu);
}

class RenderText : public ::testing::Test {
protected:
    void SetUp() override {
        if (!arenas_reserved()) arenas_reserve();
        headless_reset();
        render.gpu = Renderer{};
        theme_set_defaults();
        gpu_setup();
        f = make_font(SV(test_font_info));
        f.texture = texture_create();
        begin_frame();
        first = headless_draw_count();
    }
    void TearDown() override { render.gpu = Renderer{}; }
    const RecordedDraw& draw(i64 i) { return headless_draws()[first + i]; }
    i64 drawn() { return headless_draw_count() - first; }
    Font f;
    i64 first = 0;
};

TEST_F(RenderText, FontRecordFromBytes) {
    EXPECT_EQ(f.glyphs.count, 6);
    EXPECT_DOUBLE_EQ(f.size, 256);
    EXPECT_DOUBLE_EQ(f.space_advance * 256, 5);
    EXPECT_DOUBLE_EQ(f.tab_advance * 256, 20);
    EXPECT_DOUBLE_EQ(f.line_height * 256, 12);
    EXPECT_EQ(glyph_lookup(&f, 'a'), 3u);
    EXPECT_EQ(glyph_lookup(&f, 'z'), 0u);
    // The fallback is a copy of the U+FFFD glyph.
    EXPECT_DOUBLE_EQ(f.glyphs[0].advance * 256, 9);
    EXPECT_DOUBLE_EQ(f.glyphs[0].u * 256, 20);
}

TEST_F(RenderText, FallbackStaysZeroWithoutReplacementGlyph) {
    Font plain = make_font(SV("s 256 256\ng 97 0 0 10 0 0 8 12\n"));
    EXPECT_EQ(plain.glyphs[0].advance, 0.0);
    EXPECT_EQ(plain.glyphs[0].height, 0.0);
    EXPECT_EQ(measure_text(&plain, SV("zz"), 1, 1, 0, 0, 1e9).width, 0.0f);
}

TEST_F(RenderText, DuplicateCodePointKeepsFirstGlyph) {
    Font dup = make_font(SV("s 256 256\ng 97 0 0 10 0 0 8 12\ng 97 0 0 30 0 0 8 12\n"));
    EXPECT_EQ(dup.glyphs.count, 3);
    EXPECT_EQ(glyph_lookup(&dup, 'a'), 1u);
    EXPECT_FLOAT_EQ(measure_text(&dup, SV("a"), 1, 1, 0, 0, 1e9).width, 10);
}

TEST_F(RenderText, MeasureTabsNewlinesAndWrapping) {
    TextMetrics tab = measure_text(&f, SV("a\tb"), 1, 1, 0, 0, 1e9);
    EXPECT_FLOAT_EQ(tab.width, 10 + 20 + 7);
    EXPECT_FLOAT_EQ(tab.height, 12);

    TextMetrics lines = measure_text(&f, SV("a\nbb"), 1, 1, 0, 0, 1e9);
    EXPECT_FLOAT_EQ(lines.width, 14);
    EXPECT_FLOAT_EQ(lines.height, 24);

    TextMetrics space = measure_text(&f, SV("a a"), 2, 3, 0, 0, 1e9);
    EXPECT_FLOAT_EQ(space.width, 2 * (10 + 5 + 10));
    EXPECT_FLOAT_EQ(space.height, 36);

    // Two 'a' fit in 25 pixels, the third starts a new line.
    TextMetrics wrapped = measure_text(&f, SV("aaaaa"), 1, 1, 0, 0, 25);
    EXPECT_FLOAT_EQ(wrapped.width, 20);
    EXPECT_FLOAT_EQ(wrapped.height, 36);

    TextMetrics empty = measure_text(&f, SV(""), 1, 1, 0, 0, 1e9);
    EXPECT_FLOAT_EQ(empty.width, 0);
    EXPECT_FLOAT_EQ(empty.height, 12);

    // Undecodable bytes measure as the fallback glyph.
    EXPECT_FLOAT_EQ(measure_text(&f, SV("\x80\x80"), 1, 1, 0, 0, 1e9).width, 18);
}

TEST_F(RenderText, AlignmentOffsets) {
    StringView ten = SV("aaaaaaaaaa");  // 100 pixels
    EXPECT_FLOAT_EQ(measure_text(&f, ten, 1, 1, 2, 0, 1e9).offset_x, -50);
    EXPECT_FLOAT_EQ(measure_text(&f, ten, 1, 1, 3, 0, 1e9).offset_x, -100);
    for (u8 other : {0, 1, 4, 200}) EXPECT_FLOAT_EQ(measure_text(&f, ten, 1, 1, other, 0, 1e9).offset_x, 0);

    StringView three = SV("a\na\na");
    EXPECT_FLOAT_EQ(measure_text(&f, three, 1, 1, 0, 1, 1e9).offset_y, 24);
    EXPECT_FLOAT_EQ(measure_text(&f, three, 1, 1, 0, 2, 1e9).offset_y, 0.5f * 36 - 12);
    EXPECT_FLOAT_EQ(measure_text(&f, three, 1, 1, 0, 4, 1e9).offset_y, -12);
    for (u8 other : {0, 3, 5, 255}) EXPECT_FLOAT_EQ(measure_text(&f, three, 1, 1, 0, other, 1e9).offset_y, 0);
}

TEST_F(RenderText, DrawTextRoundsGlyphsToPixels) {
    core.glyph_count = 0;
    f32 end = draw_text(&f, Color{1, 0.5f, 0, 1}, SV("a b"), 10.3, 20.6, 1, 1, 0, 0);
    EXPECT_FLOAT_EQ(end, 10 + 5 + 7);
    ASSERT_EQ(drawn(), 2) << "the space costs no draw";
    EXPECT_EQ(core.glyph_count, 2);
    const RecordedDraw& a = draw(0);
    // left = floor(10.3 - 1 + 0.5) = 9, bottom = floor(20.6 - 2 + 0.5) = 19, 8 x 12.
    const f32* p = render.gpu.projection_matrix.e;
    EXPECT_FLOAT_EQ(a.mvp[12], 9 * p[0] - 1);
    EXPECT_FLOAT_EQ(a.mvp[13], 19 * p[5] - 1);
    EXPECT_FLOAT_EQ(a.mvp[0], 8 * p[0]);
    EXPECT_FLOAT_EQ(a.mvp[5], 12 * p[5]);
    EXPECT_FLOAT_EQ(a.uv_rect[2], 8.0f / 256);
    EXPECT_FLOAT_EQ(a.uv_rect[3], 12.0f / 256);
    EXPECT_EQ(a.texture, f.texture);
    EXPECT_EQ(a.color[1], 0.5f);
    // 'b' after 10 + 5 pixels of pen: left = floor(10.3 + 15 + 0.5) = 25.
    EXPECT_FLOAT_EQ(draw(1).mvp[12], 25 * p[0] - 1);
    EXPECT_FLOAT_EQ(draw(1).uv_rect[0], 10.0f / 256);

    // Scale 1.5: 8 x 12 becomes floor(12.5) x floor(18.5).
    i64 at = drawn();
    draw_text(&f, Color{1, 1, 1, 1}, SV("a"), 0, 0, 1.5, 1.5, 0, 0);
    EXPECT_FLOAT_EQ(draw(at).mvp[0], 12 * p[0]);
    EXPECT_FLOAT_EQ(draw(at).mvp[5], 18 * p[5]);
    EXPECT_EQ(core.glyph_count, 3);
    EXPECT_EQ(headless_gpu_state()->misuse_count, 0);
}

TEST_F(RenderText, DrawTextAlignsEveryLine) {
    // Centred block of width 14 ("a" then "bb"): both lines start at x - 7.
    draw_text(&f, Color{1, 1, 1, 1}, SV("a\nbb"), 100, 50, 1, 1, 2, 1);
    ASSERT_EQ(drawn(), 3);
    const f32* p = render.gpu.projection_matrix.e;
    EXPECT_FLOAT_EQ(draw(0).mvp[12], (100 - 7 - 1) * p[0] - 1);  // 'a' has offset_x 1
    EXPECT_FLOAT_EQ(draw(1).mvp[12], (100 - 7) * p[0] - 1);
    // Vertical 1: the last line's pen is at y, the first one a line above.
    EXPECT_FLOAT_EQ(draw(0).mvp[13], (50 + 12 - 2) * p[5] - 1);
    EXPECT_FLOAT_EQ(draw(1).mvp[13], 50 * p[5] - 1);
}

TEST_F(RenderText, ColoredTextTakesKindOfLastByteAndBoundsPalette) {
    const Color palette[3] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}};
    core.glyph_count = 7;
    const u8 kinds[5] = {0, 1, 0, 2, 9};
    // "a", "b", then a 2-byte character whose last byte has kind 2, then 'a' with kind 9.
    f32 end = draw_text_colored(&f, palette, 3, SV("ab\xC3\xA9" "a"), kinds, 0, 0, 1, 1, 0, 1e9);
    ASSERT_EQ(drawn(), 4);
    EXPECT_EQ(draw(0).color[0], 1.0f);
    EXPECT_EQ(draw(1).color[1], 1.0f);
    EXPECT_EQ(draw(2).color[2], 1.0f);
    EXPECT_EQ(draw(3).color[0], 1.0f) << "a kind past the palette takes entry 0";
    EXPECT_EQ(draw(3).color[2], 0.0f);
    EXPECT_FLOAT_EQ(end, 10 + 7 + 9 + 10);
    EXPECT_EQ(core.glyph_count, 7) << "coloured text is not counted";
}

TEST_F(RenderText, ColoredTextWraps) {
    const Color palette[1] = {{1, 1, 1, 1}};
    const u8 kinds[3] = {0, 0, 0};
    draw_text_colored(&f, palette, 1, SV("aaa"), kinds, 0, 100, 1, 1, 0, 25);
    ASSERT_EQ(drawn(), 3);
    EXPECT_FLOAT_EQ(draw(2).mvp[12], draw(0).mvp[12]) << "the third glyph starts a new line";
    EXPECT_LT(draw(2).mvp[13], draw(0).mvp[13]);
}

TEST_F(RenderText, CaretPosition) {
    TextPoint start = caret_position(&f, SV("ab"), 0, 1, 1, 1e9);
    EXPECT_FLOAT_EQ(start.x, 0);
    EXPECT_FLOAT_EQ(start.y, 0);
    EXPECT_FLOAT_EQ(caret_position(&f, SV("ab"), 1, 1, 1, 1e9).x, 10);
    EXPECT_FLOAT_EQ(caret_position(&f, SV("ab"), 5, 1, 1, 1e9).x, 17);
    // Two lines: the first line's pen is one line above the origin.
    EXPECT_FLOAT_EQ(caret_position(&f, SV("a\nb"), 0, 1, 1, 1e9).y, 12);
    TextPoint second = caret_position(&f, SV("a\nb"), 2, 1, 1, 1e9);
    EXPECT_FLOAT_EQ(second.x, 0);
    EXPECT_FLOAT_EQ(second.y, 0);
    // n inside a multi-byte character consumes the whole character.
    EXPECT_FLOAT_EQ(caret_position(&f, SV("\xC3\xA9" "a"), 1, 1, 1, 1e9).x, 9);
}

TEST_F(RenderText, EmptyFontDrawsNothingAndMeasuresZero) {
    Font none{};
    core.glyph_count = 0;
    TextMetrics m = measure_text(&none, SV("abc\ndef"), 1, 1, 2, 1, 1e9);
    EXPECT_EQ(m.width, 0.0f);
    EXPECT_EQ(m.height, 0.0f);
    EXPECT_EQ(m.offset_y, 0.0f);
    EXPECT_EQ(draw_text(&none, Color{1, 1, 1, 1}, SV("abc"), 5, 5, 1, 1, 0, 0), 0.0f);
    const Color palette[1] = {{1, 1, 1, 1}};
    const u8 kinds[3] = {0, 0, 0};
    EXPECT_EQ(draw_text_colored(&none, palette, 1, SV("abc"), kinds, 5, 5, 1, 1, 0, 1e9), 0.0f);
    TextPoint caret = caret_position(&none, SV("abc"), 2, 1, 1, 1e9);
    EXPECT_EQ(caret.x, 0.0f);
    EXPECT_EQ(caret.y, 0.0f);
    EXPECT_EQ(drawn(), 0);
    EXPECT_EQ(core.glyph_count, 0);
}

}  // namespace
