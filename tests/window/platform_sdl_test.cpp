// The SDL back-end's display-free parts: scancode map, event-to-frame rules, event
// times, the shader text split and the decisions of quad merging (which programs, the
// twin's sources and interface, what a uniform value does to collected quads). The
// window, GL and clipboard paths are exercised by platform_smoke.sh and batching.sh on a
// real X server.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sdl_gl/quad_program_plan.h"
#include "platform/sdl_gl/quad_twin_source.h"
#include "platform/sdl_gl/quad_uniforms.h"
#include "platform/sdl_gl/sdl_input.h"
#include "platform/sdl_gl/shader_text.h"
#include "render/renderer.h"

namespace {
SDL_Event key_event(u32 type, SDL_Scancode scancode, bool repeat = false, u32 ticks = 0) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = type;
    event.key.timestamp = ticks;
    event.key.keysym.scancode = scancode;
    event.key.repeat = repeat ? 1 : 0;
    return event;
}

SDL_Event window_event(u8 kind, i32 data1 = 0, i32 data2 = 0) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_WINDOWEVENT;
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

SDL_Event text_event(const char* text) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = SDL_TEXTINPUT;
    size_t length = strnlen(text, sizeof event.text.text - 1);
    memcpy(event.text.text, text, length);
    return event;
}

SDL_Event button_event(u32 type, u8 button, i32 x, i32 y) {
    SDL_Event event;
    memset(&event, 0, sizeof event);
    event.type = type;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return event;
}

// A fresh state and one frame of events at a time, as input_poll does it.
struct Frames {
    InputState state;
    Frames() { memset(&state, 0, sizeof state); }
    void frame(std::initializer_list<SDL_Event> events) {
        input_frame_begin(&state);
        for (const SDL_Event& event : events) input_apply_event(&state, &event, 1000, 5000000000ull);
    }
    bool held(i32 code) { return state.code_held_count[code] > 0; }
};
}  // namespace

TEST(SdlKeyMap, PhysicalKeysGetTheDocumentedCodes) {
    for (i32 i = 0; i < 26; i++) EXPECT_EQ(key_from_scancode((SDL_Scancode)(SDL_SCANCODE_A + i)), key_A + i);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_0), 28);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_1), 29);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_9), 37);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_F10), 46);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_F12), 98);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_F1), 63);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_F8), 70);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_F9), 72);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_F11), 73);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_GRAVE), 62);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_ESCAPE), 71);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_TAB), 45);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_KP_ENTER), 95);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_KP_0), 84);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_KP_1), 85);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_KP_9), 93);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_KP_PERIOD), 94);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_KP_DIVIDE), 100);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_NUMLOCKCLEAR), 83);
    // Left and right modifier keys share one code.
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_LCTRL), 47);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_RCTRL), 47);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_LSHIFT), 48);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_RSHIFT), 48);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_LALT), 49);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_RALT), 49);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_LGUI), 0);
    EXPECT_EQ(key_from_scancode(SDL_SCANCODE_UNKNOWN), 0);
}

// Every code from 2 to 100 names some physical key, and no scancode leaves that range.
TEST(SdlKeyMap, EveryCodeIsReachable) {
    bool seen[key_count] = {};
    for (i32 s = 0; s < SDL_NUM_SCANCODES; s++) {
        i32 code = key_from_scancode((SDL_Scancode)s);
        ASSERT_GE(code, 0);
        ASSERT_LE(code, key_kp_divide);
        seen[code] = true;
    }
    for (i32 code = key_A; code <= key_kp_divide; code++) EXPECT_TRUE(seen[code]) << "no key gives code " << code;
}

TEST(SdlInputFrames, KeyLifeCycle) {
    Frames f;
    f.frame({key_event(SDL_KEYDOWN, SDL_SCANCODE_A)});
    EXPECT_TRUE(f.state.pressed[key_A]);
    EXPECT_TRUE(f.state.typed[key_A]);
    EXPECT_TRUE(f.state.typed[key_any]);
    EXPECT_TRUE(f.held(key_A));
    EXPECT_FALSE(f.state.released[key_A]);

    f.frame({});
    EXPECT_FALSE(f.state.pressed[key_A]);
    EXPECT_FALSE(f.state.typed[key_A]);
    EXPECT_FALSE(f.state.typed[key_any]);
    EXPECT_TRUE(f.held(key_A));

    f.frame({key_event(SDL_KEYDOWN, SDL_SCANCODE_A, true), key_event(SDL_KEYDOWN, SDL_SCANCODE_A, true)});
    EXPECT_FALSE(f.state.pressed[key_A]);
    EXPECT_TRUE(f.state.typed[key_A]);
    EXPECT_TRUE(f.state.typed[key_any]);

    f.frame({key_event(SDL_KEYUP, SDL_SCANCODE_A)});
    EXPECT_TRUE(f.state.released[key_A]);
    EXPECT_FALSE(f.held(key_A));
    EXPECT_FALSE(f.state.typed[key_A]);

    // A tap within one frame is still seen as pressed.
    f.frame({key_event(SDL_KEYDOWN, SDL_SCANCODE_B), key_event(SDL_KEYUP, SDL_SCANCODE_B)});
    EXPECT_TRUE(f.state.pressed[key_B]);
    EXPECT_TRUE(f.state.released[key_B]);
    EXPECT_FALSE(f.held(key_B));

    // A key without a code still counts as "any key".
    f.frame({key_event(SDL_KEYDOWN, SDL_SCANCODE_LGUI)});
    EXPECT_TRUE(f.state.typed[key_any]);
}

TEST(SdlInputFrames, SharedCodeStaysHeldUntilBothKeysAreUp) {
    Frames f;
    f.frame({key_event(SDL_KEYDOWN, SDL_SCANCODE_LCTRL), key_event(SDL_KEYDOWN, SDL_SCANCODE_RCTRL)});
    EXPECT_TRUE(f.held(key_ctrl));
    f.frame({key_event(SDL_KEYUP, SDL_SCANCODE_LCTRL)});
    EXPECT_TRUE(f.held(key_ctrl));
    EXPECT_FALSE(f.state.released[key_ctrl]);
    // A second release of the same key must not count for the other one.
    f.frame({key_event(SDL_KEYUP, SDL_SCANCODE_LCTRL)});
    EXPECT_TRUE(f.held(key_ctrl));
    f.frame({key_event(SDL_KEYUP, SDL_SCANCODE_RCTRL)});
    EXPECT_FALSE(f.held(key_ctrl));
    EXPECT_TRUE(f.state.released[key_ctrl]);
}

TEST(SdlInputFrames, LostReleaseAndFocusLoss) {
    Frames f;
    f.frame({key_event(SDL_KEYDOWN, SDL_SCANCODE_X)});
    // Down again without a release in between: pressed again, but held once.
    f.frame({key_event(SDL_KEYDOWN, SDL_SCANCODE_X)});
    EXPECT_TRUE(f.state.pressed[key_X]);
    f.frame({key_event(SDL_KEYUP, SDL_SCANCODE_X)});
    EXPECT_FALSE(f.held(key_X));

    f.frame({key_event(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT), key_event(SDL_KEYDOWN, SDL_SCANCODE_UP)});
    f.frame({window_event(SDL_WINDOWEVENT_FOCUS_LOST)});
    EXPECT_TRUE(f.state.focus_lost);
    EXPECT_FALSE(f.held(key_shift));
    EXPECT_FALSE(f.held(key_up));
    EXPECT_TRUE(f.state.released[key_shift]);
    EXPECT_TRUE(f.state.released[key_up]);
}

TEST(SdlInputFrames, TextIsConcatenatedAndOverflowDropsWholePieces) {
    Frames f;
    f.frame({text_event("a"), text_event("\xc3\xa9"), text_event("b")});
    EXPECT_EQ(f.state.text_length, 4);
    EXPECT_EQ(memcmp(f.state.text, "a\xc3\xa9"
                                   "b",
                     4),
              0);

    f.frame({});
    EXPECT_EQ(f.state.text_length, 0);

    // 4092 bytes, three more make 4095; a two-byte piece then does not fit, one byte does.
    char piece[32];
    memset(piece, 'x', 31);
    piece[31] = 0;
    input_frame_begin(&f.state);
    SDL_Event big = text_event(piece);
    for (i32 i = 0; i < 132; i++) input_apply_event(&f.state, &big, 0, 1);
    EXPECT_EQ(f.state.text_length, 4092);
    SDL_Event three = text_event("yyy");
    input_apply_event(&f.state, &three, 0, 1);
    SDL_Event two = text_event("\xc3\xa9");
    input_apply_event(&f.state, &two, 0, 1);
    SDL_Event one = text_event("z");
    input_apply_event(&f.state, &one, 0, 1);
    EXPECT_EQ(f.state.text_length, 4096);
    EXPECT_EQ(f.state.text[4094], 'y');
    EXPECT_EQ(f.state.text[4095], 'z');
}

TEST(SdlInputFrames, MouseButtonsPositionAndWheel) {
    Frames f;
    SDL_Event motion;
    memset(&motion, 0, sizeof motion);
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 12;
    motion.motion.y = 34;
    SDL_Event wheel_up;
    memset(&wheel_up, 0, sizeof wheel_up);
    wheel_up.type = SDL_MOUSEWHEEL;
    wheel_up.wheel.y = 1;
    SDL_Event wheel_flipped = wheel_up;
    wheel_flipped.wheel.y = 3;
    wheel_flipped.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;

    f.frame({motion, button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 50, 60),
             button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 50, 60), wheel_up, wheel_up, wheel_flipped});
    EXPECT_EQ(f.state.mouse_x, 50);
    EXPECT_EQ(f.state.mouse_y, 60);
    EXPECT_TRUE(f.state.mouse_pressed[mouse_primary]);
    EXPECT_TRUE(f.state.mouse_held[mouse_primary]);
    EXPECT_TRUE(f.state.mouse_pressed[mouse_secondary]);
    EXPECT_FALSE(f.state.mouse_pressed[mouse_middle]);
    EXPECT_EQ(f.state.wheel, -1);

    f.frame({button_event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 70, 80),
             button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 70, 80)});
    EXPECT_FALSE(f.state.mouse_pressed[mouse_primary]);
    EXPECT_TRUE(f.state.mouse_released[mouse_primary]);
    EXPECT_FALSE(f.state.mouse_held[mouse_primary]);
    EXPECT_TRUE(f.state.mouse_held[mouse_secondary]);
    EXPECT_TRUE(f.state.mouse_pressed[mouse_middle]);
    EXPECT_EQ(f.state.wheel, 0);
    EXPECT_EQ(f.state.mouse_x, 70);

    // Unusual button numbers are ignored, not written past the table.
    f.frame({button_event(SDL_MOUSEBUTTONDOWN, 200, 1, 1)});
    EXPECT_EQ(f.state.mouse_x, 1);
}

TEST(SdlInputFrames, WindowEventsLastOneFrame) {
    Frames f;
    f.frame({window_event(SDL_WINDOWEVENT_SIZE_CHANGED, 800, 600), window_event(SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480),
             window_event(SDL_WINDOWEVENT_MINIMIZED), window_event(SDL_WINDOWEVENT_FOCUS_GAINED),
             window_event(SDL_WINDOWEVENT_CLOSE)});
    EXPECT_TRUE(f.state.resized);
    EXPECT_EQ(f.state.width, 640);
    EXPECT_EQ(f.state.height, 480);
    EXPECT_TRUE(f.state.minimized);
    EXPECT_TRUE(f.state.focus_gained);
    EXPECT_TRUE(f.state.closed);
    f.frame({});
    EXPECT_FALSE(f.state.resized);
    EXPECT_FALSE(f.state.minimized);
    EXPECT_FALSE(f.state.focus_gained);
    EXPECT_FALSE(f.state.closed);
    SDL_Event quit;
    memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    f.frame({quit});
    EXPECT_TRUE(f.state.closed);
}

TEST(SdlInputFrames, FirstInputEventTime) {
    Frames f;
    // Counter at 5 s while SDL's tick reads 1000 ms (see Frames::frame).
    f.frame({window_event(SDL_WINDOWEVENT_FOCUS_GAINED, 0, 0), key_event(SDL_KEYDOWN, SDL_SCANCODE_A, false, 990),
             key_event(SDL_KEYUP, SDL_SCANCODE_A, false, 995)});
    EXPECT_EQ(f.state.first_event_time, 5000000000ull - 10000000ull);
    f.frame({window_event(SDL_WINDOWEVENT_FOCUS_LOST)});
    EXPECT_EQ(f.state.first_event_time, 0u);

    // Across the wrap of SDL's 32-bit tick.
    EXPECT_EQ(event_time_to_counter(0xfffffff0u, 0x10u, 1000000000ull), 1000000000ull - 32000000ull);
    // Stamped after the tick was read: taken as now.
    EXPECT_EQ(event_time_to_counter(1005, 1000, 7000000ull), 7000000ull);
    // Older than the counter itself: never 0, which would mean "no event".
    EXPECT_EQ(event_time_to_counter(0, 1000, 5ull), 1ull);
}

TEST(SdlInputFrames, ModifierBits) {
    EXPECT_EQ(modifiers_from_sdl(KMOD_RSHIFT), (u32)modifier_shift);
    EXPECT_EQ(modifiers_from_sdl(KMOD_LCTRL | KMOD_RALT), (u32)(modifier_ctrl | modifier_alt));
    EXPECT_EQ(modifiers_from_sdl(KMOD_LGUI), (u32)modifier_gui);
    EXPECT_EQ(modifiers_from_sdl(KMOD_CAPS), 16u);
    EXPECT_EQ(modifiers_from_sdl(KMOD_NUM), 32u);
    EXPECT_EQ(modifiers_from_sdl(KMOD_MODE | KMOD_SCROLL), 0u);
}

// A slow frame collects many events; each frame must still see every press once and one
// modifier state for all of its presses. Polls as input_poll does them: the carried
// events first, then the new ones.
namespace {
struct CarryFrames : Frames {
    void poll(std::initializer_list<SDL_Event> events) {
        input_frame_begin(&state);
        input_take_carried(&state, 1000, 5000000000ull);
        for (const SDL_Event& event : events) input_take_event(&state, &event, 1000, 5000000000ull);
    }
};
}  // namespace

TEST(SdlInputFrames, ChordTypedWithinOneFrameKeepsItsModifier) {
    CarryFrames f;
    // Ctrl+F and then "x", all between two polls.
    f.poll({key_event(SDL_KEYDOWN, SDL_SCANCODE_LCTRL), key_event(SDL_KEYDOWN, SDL_SCANCODE_F),
            key_event(SDL_KEYUP, SDL_SCANCODE_F), key_event(SDL_KEYUP, SDL_SCANCODE_LCTRL),
            key_event(SDL_KEYDOWN, SDL_SCANCODE_X), text_event("x"), key_event(SDL_KEYUP, SDL_SCANCODE_X)});
    EXPECT_TRUE(f.held(key_ctrl));
    EXPECT_TRUE(f.state.typed[key_F]);
    EXPECT_FALSE(f.state.typed[key_X]);
    EXPECT_EQ(f.state.text_length, 0);
    f.poll({});
    EXPECT_FALSE(f.held(key_ctrl));
    EXPECT_TRUE(f.state.released[key_ctrl]);
    EXPECT_TRUE(f.state.typed[key_X]);
    ASSERT_EQ(f.state.text_length, 1);
    EXPECT_EQ(f.state.text[0], 'x');
    EXPECT_EQ(f.state.carried_count, 0);

    // "a" typed, then Ctrl+S: the text must not be read as typed with Ctrl held.
    f.poll({key_event(SDL_KEYDOWN, SDL_SCANCODE_A), text_event("a"), key_event(SDL_KEYUP, SDL_SCANCODE_A),
            key_event(SDL_KEYDOWN, SDL_SCANCODE_RCTRL), key_event(SDL_KEYDOWN, SDL_SCANCODE_S)});
    EXPECT_FALSE(f.held(key_ctrl));
    EXPECT_EQ(f.state.text_length, 1);
    EXPECT_FALSE(f.state.pressed[key_S]);
    f.poll({key_event(SDL_KEYUP, SDL_SCANCODE_S)});
    EXPECT_TRUE(f.held(key_ctrl));
    EXPECT_TRUE(f.state.pressed[key_S]);
    EXPECT_TRUE(f.state.released[key_S]);
    EXPECT_EQ(f.state.carried_count, 0);

    // Modifier changes before any key went down belong to the frame: Shift then Tab.
    f.poll({key_event(SDL_KEYUP, SDL_SCANCODE_RCTRL), key_event(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT),
            key_event(SDL_KEYDOWN, SDL_SCANCODE_TAB)});
    EXPECT_FALSE(f.held(key_ctrl));
    EXPECT_TRUE(f.held(key_shift));
    EXPECT_TRUE(f.state.pressed[key_tab]);
    EXPECT_EQ(f.state.carried_count, 0);
}

TEST(SdlInputFrames, OneKeyPressAFrameAndEachButtonPressOnce) {
    CarryFrames f;
    SDL_Event backspace_down = key_event(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE);
    SDL_Event backspace_up = key_event(SDL_KEYUP, SDL_SCANCODE_BACKSPACE);
    f.poll({backspace_down, backspace_up, backspace_down, backspace_up, backspace_down, backspace_up});
    i32 presses = f.state.pressed[key_backspace] ? 1 : 0;
    for (i32 i = 0; i < 4 && f.state.carried_count > 0; i++) {
        f.poll({});
        if (f.state.pressed[key_backspace]) presses++;
    }
    EXPECT_EQ(presses, 3);
    EXPECT_FALSE(f.held(key_backspace));

    // "y", Backspace, "a", "b", Enter in one go: the editor takes either the text or one
    // key in a frame, so each comes in a frame of its own, in order.
    f.poll({key_event(SDL_KEYDOWN, SDL_SCANCODE_Y), text_event("y"), key_event(SDL_KEYUP, SDL_SCANCODE_Y),
            backspace_down, backspace_up, key_event(SDL_KEYDOWN, SDL_SCANCODE_A), text_event("a"),
            key_event(SDL_KEYDOWN, SDL_SCANCODE_B), text_event("b"), key_event(SDL_KEYUP, SDL_SCANCODE_A),
            key_event(SDL_KEYUP, SDL_SCANCODE_B), key_event(SDL_KEYDOWN, SDL_SCANCODE_RETURN)});
    std::string seen;
    for (i32 i = 0; i < 6; i++) {
        if (f.state.text_length > 0) seen += std::string(f.state.text, (size_t)f.state.text_length);
        if (f.state.typed[key_backspace]) seen += "<bs>";
        if (f.state.typed[key_enter]) seen += "<enter>";
        seen += "|";
        f.poll({});
    }
    EXPECT_EQ(seen, "y|<bs>|a|b|<enter>||");

    // Repeats are not held back, so a held key never runs on after its release.
    f.poll({key_event(SDL_KEYDOWN, SDL_SCANCODE_Z)});
    f.poll({key_event(SDL_KEYDOWN, SDL_SCANCODE_Z, true), key_event(SDL_KEYDOWN, SDL_SCANCODE_Z, true),
            key_event(SDL_KEYUP, SDL_SCANCODE_Z)});
    EXPECT_TRUE(f.state.typed[key_Z]);
    EXPECT_TRUE(f.state.released[key_Z]);
    EXPECT_EQ(f.state.carried_count, 0);
    // Nor is a held modifier's repeat after a key press: it changes no state.
    f.poll({key_event(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT)});
    f.poll({key_event(SDL_KEYDOWN, SDL_SCANCODE_C), key_event(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, true),
            key_event(SDL_KEYUP, SDL_SCANCODE_C)});
    EXPECT_TRUE(f.state.released[key_C]);
    EXPECT_EQ(f.state.carried_count, 0);
    f.poll({key_event(SDL_KEYUP, SDL_SCANCODE_LSHIFT)});

    // A double click in one frame: the second press comes a frame later, where the
    // pointer is the press's own.
    f.poll({button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20), button_event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 20),
            button_event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 11, 21), button_event(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 11, 21)});
    EXPECT_TRUE(f.state.mouse_pressed[mouse_primary]);
    EXPECT_TRUE(f.state.mouse_released[mouse_primary]);
    EXPECT_EQ(f.state.mouse_x, 10);
    f.poll({});
    EXPECT_TRUE(f.state.mouse_pressed[mouse_primary]);
    EXPECT_EQ(f.state.mouse_x, 11);
    EXPECT_EQ(f.state.carried_count, 0);
}

// A flood of presses of one key fills the carry-over; what does not fit is applied at
// once rather than dropped or written past the list.
TEST(SdlInputFrames, CarryOverIsBounded) {
    CarryFrames f;
    SDL_Event down = key_event(SDL_KEYDOWN, SDL_SCANCODE_B);
    SDL_Event up = key_event(SDL_KEYUP, SDL_SCANCODE_B);
    input_frame_begin(&f.state);
    for (i32 i = 0; i < input_carry_capacity; i++) {
        input_take_event(&f.state, &down, 0, 1);
        input_take_event(&f.state, &up, 0, 1);
    }
    EXPECT_EQ(f.state.carried_count, input_carry_capacity);
    EXPECT_TRUE(f.state.pressed[key_B]);
    EXPECT_FALSE(f.held(key_B));
    i32 frames = 0;
    while (f.state.carried_count > 0 && frames < 2 * input_carry_capacity) {
        f.poll({});
        frames++;
    }
    EXPECT_EQ(f.state.carried_count, 0);
    EXPECT_EQ(frames, input_carry_capacity / 2);
}

namespace {
std::string text_of(StringView s) { return std::string(s.data ? s.data : "", (size_t)s.length); }
}  // namespace

TEST(SdlShaderSplit, SectionsInEitherOrderWithLineEndVariants) {
    ShaderSections s = shader_split(SV("// note\n#vertex\nV1\nV2\n#fragment\nF1\n"));
    ASSERT_EQ(s.problem, nullptr);
    EXPECT_EQ(text_of(s.vertex), "V1\nV2\n");
    EXPECT_EQ(text_of(s.fragment), "F1\n");

    s = shader_split(SV("#fragment\r\nF\r\n#vertex \t\r\nV"));
    ASSERT_EQ(s.problem, nullptr);
    EXPECT_EQ(text_of(s.fragment), "F\r\n");
    EXPECT_EQ(text_of(s.vertex), "V");

    // Markers at the very end give empty sections (the compiler then reports them).
    s = shader_split(SV("#vertex\n#fragment"));
    ASSERT_EQ(s.problem, nullptr);
    EXPECT_EQ(s.vertex.length, 0);
    EXPECT_EQ(s.fragment.length, 0);
}

TEST(SdlShaderSplit, MissingDuplicateAndLookalikeMarkers) {
    EXPECT_STREQ(shader_split(SV("")).problem, "no #vertex section");
    EXPECT_STREQ(shader_split(SV("#vertex\nv\n")).problem, "no #fragment section");
    EXPECT_STREQ(shader_split(SV("#fragment\nf\n")).problem, "no #vertex section");
    EXPECT_STREQ(shader_split(SV("#vertex\n#fragment\n#vertex\n")).problem, "two #vertex sections");
    // Only whole marker lines count.
    EXPECT_STREQ(shader_split(SV("#vertexes\n#fragment\n")).problem, "no #vertex section");
    EXPECT_STREQ(shader_split(SV(" #vertex\n#fragment\n")).problem, "no #vertex section");
    ShaderSections s = shader_split(SV("#vertex\nuse #fragment later\n#fragment\nf"));
    ASSERT_EQ(s.problem, nullptr);
    EXPECT_EQ(text_of(s.vertex), "use #fragment later\n");
}

// ---- Quad merging ---------------------------------------------------------------------------
namespace {
std::string twin_text(bool (*rewrite)(StringView, TextBuffer*), const std::string& stage, i64 capacity = 4096) {
    std::string memory((size_t)capacity, '\0');
    TextBuffer out = {memory.data(), capacity, 0};
    if (!rewrite(StringView{stage.data(), (i64)stage.size()}, &out)) return "<refused>";
    return memory.substr(0, (size_t)out.length);
}

std::string section(StringView text) { return std::string(text.data, (size_t)text.length); }

i32 declarations(const char* text, const char* type, const char* name) {
    i64 start = -1, end = -1;
    return find_uniform_declaration(sv_from_cstr(text), sv_from_cstr(type), sv_from_cstr(name), &start, &end);
}

void add(ProgramVariable* list, i32* count, const char* name, GLenum type, i32 location, i32 size = 1) {
    ProgramVariable* v = &list[(*count)++];
    memset(v, 0, sizeof *v);
    snprintf(v->name, sizeof v->name, "%s", name);
    v->type = type;
    v->size = size;
    v->location = location;
}

// What the linker reports for simple_shader, with made-up uniform locations.
ProgramInterface simple_interface() {
    ProgramInterface p;
    memset(&p, 0, sizeof p);
    add(p.uniforms, &p.uniform_count, "color", GL_FLOAT_VEC4, 0);
    add(p.uniforms, &p.uniform_count, "diffuse", GL_SAMPLER_2D, 1);
    add(p.uniforms, &p.uniform_count, "gamma", GL_FLOAT, 2);
    add(p.uniforms, &p.uniform_count, "mvp", GL_FLOAT_MAT4, 3);
    add(p.uniforms, &p.uniform_count, "uv_rect", GL_FLOAT_VEC4, 7);
    add(p.attributes, &p.attribute_count, "a_position", GL_FLOAT_VEC2, 0);
    add(p.attributes, &p.attribute_count, "a_uv", GL_FLOAT_VEC2, 1);
    return p;
}

// The twin the linker should report for it: no per-quad uniforms, three more inputs.
ProgramInterface simple_twin(i32 base) {
    ProgramInterface t;
    memset(&t, 0, sizeof t);
    add(t.uniforms, &t.uniform_count, "gamma", GL_FLOAT, 10);
    add(t.uniforms, &t.uniform_count, "diffuse", GL_SAMPLER_2D, 11);
    add(t.attributes, &t.attribute_count, "a_uv", GL_FLOAT_VEC2, 1);
    add(t.attributes, &t.attribute_count, "mvp", GL_FLOAT_MAT4, base);
    add(t.attributes, &t.attribute_count, "gl_InstanceID", GL_INT, -1);
    add(t.attributes, &t.attribute_count, "a_position", GL_FLOAT_VEC2, 0);
    add(t.attributes, &t.attribute_count, QUAD_INSTANCE_COLOR_NAME, GL_FLOAT_VEC4, base + 4);
    add(t.attributes, &t.attribute_count, "uv_rect", GL_FLOAT_VEC4, base + 5);
    return t;
}

bool plan_of(const ProgramInterface& p, QuadPlan* plan) { return quad_program_plan(&p, plan); }

QuadProgram simple_record() {
    ProgramInterface p = simple_interface();
    QuadPlan plan;
    EXPECT_TRUE(plan_of(p, &plan));
    ProgramInterface t = simple_twin(plan.instance_base);
    i32 twin_locations[program_variable_capacity];
    EXPECT_TRUE(quad_twin_matches(&p, &plan, &t, twin_locations));
    QuadProgram record;
    quad_program_init(&record, 5, 6, &p, &plan, twin_locations);
    return record;
}

const QuadUniform* uniform_at(const QuadProgram& record, i32 location) {
    for (i32 i = 0; i < record.uniform_count; i++) {
        if (record.uniforms[i].location == location) return &record.uniforms[i];
    }
    return nullptr;
}

f32 int_bits(i32 value) {
    f32 bits;
    memcpy(&bits, &value, sizeof bits);
    return bits;
}
}  // namespace

TEST(SdlQuadTwinSource, SimpleShaderStagesAreRewrittenMinimally) {
    ShaderSections s = shader_split(simple_shader_text);
    ASSERT_EQ(s.problem, nullptr);
    std::string vertex = section(s.vertex), fragment = section(s.fragment);

    std::string expected = fragment;
    expected.replace(expected.find("uniform vec4 color;"), 19, "flat in vec4 color;");
    EXPECT_EQ(twin_text(quad_twin_fragment_source, fragment), expected);

    std::string twin = twin_text(quad_twin_vertex_source, vertex);
    ASSERT_NE(twin, "<refused>");
    // The version line stays first, the original main is renamed by the line after it.
    EXPECT_EQ(twin.rfind("#version 330 core\n#define main tesmora_quad_main\nin mat4 mvp;\nin vec4 uv_rect;\n", 0), 0u)
        << twin;
    EXPECT_EQ(twin.find("uniform"), std::string::npos);
    // Everything after the declarations is the original text.
    std::string body = vertex.substr(vertex.find("layout(location = 0)"));
    EXPECT_NE(twin.find(body), std::string::npos);
    EXPECT_NE(twin.find("#undef main\nin vec4 " QUAD_INSTANCE_COLOR_NAME ";\nflat out vec4 color;\n"),
              std::string::npos);
    EXPECT_NE(twin.find("color = " QUAD_INSTANCE_COLOR_NAME ";\n  tesmora_quad_main();"), std::string::npos);
}

TEST(SdlQuadTwinSource, DeclarationsAreFoundAsWholeStatementsOutsideComments) {
    EXPECT_EQ(declarations("uniform vec4 color;", "vec4", "color"), 1);
    EXPECT_EQ(declarations("uniform\n  vec4\tcolor ;", "vec4", "color"), 1);
    EXPECT_EQ(declarations("// uniform vec4 color;\n/* uniform vec4 color; */ x", "vec4", "color"), 0);
    EXPECT_EQ(declarations("uniform vec4 colors; uniform vec4 color_2; myuniform vec4 color;", "vec4", "color"), 0);
    EXPECT_EQ(declarations("uniform vec3 color; uniform highp vec4 color; uniform vec4 color, tint;", "vec4",
                           "color"),
              0);
    EXPECT_EQ(declarations("uniform vec4 color; uniform vec4 color;", "vec4", "color"), 2);
    EXPECT_EQ(declarations("/* unterminated uniform vec4 color;", "vec4", "color"), 0);
    EXPECT_EQ(declarations("uniform vec4 color", "vec4", "color"), 0);

    i64 start = 0, end = 0;
    const char* text = "in vec2 uv;\nuniform  vec4 color ;\nout vec4 c;";
    ASSERT_EQ(find_uniform_declaration(sv_from_cstr(text), SV("vec4"), SV("color"), &start, &end), 1);
    EXPECT_EQ(std::string(text + start, (size_t)(end - start)), "uniform  vec4 color ;");
}

TEST(SdlQuadTwinSource, StagesThatDoNotFitAreRefused) {
    const std::string vertex = "#version 330 core\nuniform mat4 mvp;\nuniform vec4 uv_rect;\nvoid main() {}\n";
    EXPECT_NE(twin_text(quad_twin_vertex_source, vertex), "<refused>");
    // No version line, or one without a following line: the inserted define has no place.
    EXPECT_EQ(twin_text(quad_twin_vertex_source, "uniform mat4 mvp;\nuniform vec4 uv_rect;\n"), "<refused>");
    EXPECT_EQ(twin_text(quad_twin_vertex_source, "uniform mat4 mvp;\nuniform vec4 uv_rect;\n#version 330"),
              "<refused>");
    // A per-quad uniform missing or declared twice.
    EXPECT_EQ(twin_text(quad_twin_vertex_source, "#version 330 core\nuniform mat4 mvp;\n"), "<refused>");
    EXPECT_EQ(twin_text(quad_twin_vertex_source, vertex + "uniform mat4 mvp;\n"), "<refused>");
    EXPECT_EQ(twin_text(quad_twin_fragment_source, "#version 330 core\nuniform vec3 color;\n"), "<refused>");
    // Too little room for the result.
    EXPECT_EQ(twin_text(quad_twin_vertex_source, vertex, (i64)vertex.size()), "<refused>");
    const std::string fragment = "#version 330 core\nuniform vec4 color;\n";
    EXPECT_EQ(twin_text(quad_twin_fragment_source, fragment, (i64)fragment.size() - 1), "<refused>");
    EXPECT_NE(twin_text(quad_twin_fragment_source, fragment, (i64)fragment.size()), "<refused>");
}

TEST(SdlQuadProgramPlan, SimpleShaderIsMergedAndGammaShaderIsNot) {
    QuadPlan plan;
    ASSERT_TRUE(plan_of(simple_interface(), &plan));
    EXPECT_EQ(plan.attribute_mask, 3u);
    EXPECT_EQ(plan.instance_base, 2);
    EXPECT_EQ(plan.mvp, 3);
    EXPECT_EQ(plan.color, 0);
    EXPECT_EQ(plan.uv_rect, 4);

    ProgramInterface gamma;
    memset(&gamma, 0, sizeof gamma);
    add(gamma.uniforms, &gamma.uniform_count, "mvp", GL_FLOAT_MAT4, 0);
    add(gamma.uniforms, &gamma.uniform_count, "diffuse", GL_SAMPLER_2D, 1);
    add(gamma.uniforms, &gamma.uniform_count, "gamma", GL_FLOAT, 2);
    EXPECT_FALSE(plan_of(gamma, &plan));
}

TEST(SdlQuadProgramPlan, UniformsOutsideTheRulesRefuseTheProgram) {
    QuadPlan plan;
    ProgramInterface p = simple_interface();
    p.uniforms[1].type = GL_FLOAT;  // no sampler at all
    EXPECT_FALSE(plan_of(p, &plan));
    p = simple_interface();
    add(p.uniforms, &p.uniform_count, "detail", GL_SAMPLER_2D, 9);  // two textures
    EXPECT_FALSE(plan_of(p, &plan));
    p = simple_interface();
    p.uniforms[1].type = GL_SAMPLER_3D;
    EXPECT_FALSE(plan_of(p, &plan));
    p = simple_interface();
    p.uniforms[3].type = GL_FLOAT_MAT3;  // mvp of another type
    EXPECT_FALSE(plan_of(p, &plan));
    p = simple_interface();
    add(p.uniforms, &p.uniform_count, "weights[0]", GL_FLOAT, 10, 4);  // an array
    EXPECT_FALSE(plan_of(p, &plan));
    p = simple_interface();
    add(p.uniforms, &p.uniform_count, "block_value", GL_FLOAT, -1);  // in a uniform block
    EXPECT_FALSE(plan_of(p, &plan));
    p = simple_interface();
    add(p.uniforms, &p.uniform_count, "tint", GL_FLOAT_VEC3, 12);  // no setter: stays zero in both
    EXPECT_TRUE(plan_of(p, &plan));
    p.overflow = true;
    EXPECT_FALSE(plan_of(p, &plan));
}

TEST(SdlQuadProgramPlan, InstanceInputsTakeTheFirstSixFreeLocations) {
    QuadPlan plan;
    ProgramInterface p = simple_interface();
    p.attributes[0].location = 2;  // inputs at 1 and 2: 3..8 are free
    ASSERT_TRUE(plan_of(p, &plan));
    EXPECT_EQ(plan.attribute_mask, 6u);
    EXPECT_EQ(plan.instance_base, 3);

    p = simple_interface();
    p.attributes[0].type = GL_FLOAT_MAT4;  // locations 0..3, and a_uv moves to 9
    p.attributes[1].location = 9;
    ASSERT_TRUE(plan_of(p, &plan));
    EXPECT_EQ(plan.attribute_mask, 0x20Fu);
    EXPECT_EQ(plan.instance_base, 10);

    p.attributes[1].location = 5;  // free: 4, 6..9 and 11..15, no six in a row
    add(p.attributes, &p.attribute_count, "extra", GL_FLOAT_VEC4, 10);
    EXPECT_FALSE(plan_of(p, &plan));

    p = simple_interface();
    p.attributes[1].location = 15;
    p.attributes[1].size = 2;  // runs past the last location
    EXPECT_FALSE(plan_of(p, &plan));
}

TEST(SdlQuadProgramPlan, TwinMustMatchTheProgram) {
    ProgramInterface p = simple_interface();
    QuadPlan plan;
    ASSERT_TRUE(plan_of(p, &plan));
    i32 locations[program_variable_capacity];
    ProgramInterface t = simple_twin(plan.instance_base);
    ASSERT_TRUE(quad_twin_matches(&p, &plan, &t, locations));
    EXPECT_EQ(locations[0], -1);  // color
    EXPECT_EQ(locations[1], 11);  // diffuse
    EXPECT_EQ(locations[2], 10);  // gamma
    EXPECT_EQ(locations[3], -1);
    EXPECT_EQ(locations[4], -1);

    t = simple_twin(plan.instance_base);
    t.attributes[4].location = plan.instance_base + 5;  // colour input elsewhere
    EXPECT_FALSE(quad_twin_matches(&p, &plan, &t, locations));
    t = simple_twin(plan.instance_base);
    t.attributes[0].location = 7;  // an input of the program moved
    EXPECT_FALSE(quad_twin_matches(&p, &plan, &t, locations));
    t = simple_twin(plan.instance_base);
    add(t.uniforms, &t.uniform_count, "color", GL_FLOAT_VEC4, 12);  // still a uniform
    EXPECT_FALSE(quad_twin_matches(&p, &plan, &t, locations));
    t = simple_twin(plan.instance_base);
    t.uniforms[0].type = GL_INT;
    EXPECT_FALSE(quad_twin_matches(&p, &plan, &t, locations));
    t = simple_twin(plan.instance_base);
    add(t.attributes, &t.attribute_count, "stray", GL_FLOAT, 14);
    EXPECT_FALSE(quad_twin_matches(&p, &plan, &t, locations));
    t = simple_twin(plan.instance_base);
    t.attributes[1].type = GL_FLOAT_VEC4;  // mvp not a matrix
    EXPECT_FALSE(quad_twin_matches(&p, &plan, &t, locations));
}

TEST(SdlQuadUniforms, PerQuadValuesTravelWithTheQuad) {
    QuadProgram record = simple_record();
    const f32 matrix[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    const f32 colour[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    const f32 rect[4] = {0.5f, 0.25f, 0.125f, 1};
    EXPECT_EQ(quad_uniform_classify(&record, 3, uniform_mat4, matrix), quad_change_per_quad);
    quad_uniform_store(&record, 3, uniform_mat4, matrix);
    EXPECT_EQ(quad_uniform_classify(&record, 0, uniform_vec4, colour), quad_change_per_quad);
    quad_uniform_store(&record, 0, uniform_vec4, colour);
    // The same colour again still counts as per quad: it is never compared.
    EXPECT_EQ(quad_uniform_classify(&record, 0, uniform_vec4, colour), quad_change_per_quad);
    quad_uniform_store(&record, 7, uniform_vec4, rect);

    f32 instance[quad_instance_floats];
    quad_instance_write(&record, instance);
    EXPECT_EQ(memcmp(instance, matrix, sizeof matrix), 0);
    EXPECT_EQ(memcmp(instance + 16, colour, sizeof colour), 0);
    EXPECT_EQ(memcmp(instance + 20, rect, sizeof rect), 0);
    // The program itself must get them before a draw that is not merged; the twin never.
    EXPECT_TRUE(record.program_stale);
    EXPECT_TRUE(uniform_at(record, 0)->program_stale);
    EXPECT_FALSE(uniform_at(record, 0)->twin_stale);
}

TEST(SdlQuadUniforms, SharedValuesFlushOnlyWhenTheyChange) {
    QuadProgram record = simple_record();
    EXPECT_FALSE(record.program_stale);
    // Both programs start at zero: setting zero changes nothing.
    f32 zero = 0, gamma = 2.2f, other = 1.4f;
    EXPECT_EQ(quad_uniform_classify(&record, 2, uniform_float, &zero), quad_change_none);
    EXPECT_EQ(quad_uniform_classify(&record, 1, uniform_int, &zero), quad_change_none);
    EXPECT_EQ(quad_uniform_classify(&record, 2, uniform_float, &gamma), quad_change_shared);
    quad_uniform_store(&record, 2, uniform_float, &gamma);
    EXPECT_TRUE(uniform_at(record, 2)->twin_stale);
    EXPECT_TRUE(uniform_at(record, 2)->program_stale);
    EXPECT_EQ(quad_uniform_classify(&record, 2, uniform_float, &gamma), quad_change_none);
    EXPECT_EQ(quad_uniform_classify(&record, 2, uniform_float, &other), quad_change_shared);
    f32 unit = int_bits(3);
    EXPECT_EQ(quad_uniform_classify(&record, 1, uniform_int, &unit), quad_change_shared);
}

TEST(SdlQuadUniforms, ValuesTheRecordCannotHoldGoStraightToGl) {
    QuadProgram record = simple_record();
    f32 one = 1, matrix[16] = {};
    EXPECT_EQ(quad_uniform_classify(&record, 42, uniform_float, &one), quad_change_foreign);  // not its uniform
    EXPECT_EQ(quad_uniform_classify(&record, 1, uniform_float, &one), quad_change_foreign);   // float to a sampler
    EXPECT_EQ(quad_uniform_classify(&record, 2, uniform_int, &one), quad_change_foreign);     // int to a float
    EXPECT_EQ(quad_uniform_classify(&record, 3, uniform_vec4, matrix), quad_change_foreign);
    EXPECT_EQ(quad_uniform_classify(&record, 0, uniform_mat4, matrix), quad_change_foreign);
    f32 unit = int_bits(gpu_texture_units);
    EXPECT_EQ(quad_uniform_classify(&record, 1, uniform_int, &unit), quad_change_foreign);
    unit = int_bits(-1);
    EXPECT_EQ(quad_uniform_classify(&record, 1, uniform_int, &unit), quad_change_foreign);
    EXPECT_TRUE(quad_program_has_location(&record, 1));
    EXPECT_FALSE(quad_program_has_location(&record, 42));
}

TEST(SdlQuadUniforms, BooleansTakeEitherSetterAndAKindChangeIsAChange) {
    ProgramInterface p = simple_interface();
    add(p.uniforms, &p.uniform_count, "invert", GL_BOOL, 20);
    QuadPlan plan;
    ASSERT_TRUE(plan_of(p, &plan));
    i32 twin_locations[program_variable_capacity];
    for (i32& location : twin_locations) location = 30;
    QuadProgram record;
    quad_program_init(&record, 5, 6, &p, &plan, twin_locations);
    f32 one_float = 1, one_int = int_bits(1);
    EXPECT_EQ(quad_uniform_classify(&record, 20, uniform_int, &one_int), quad_change_shared);
    quad_uniform_store(&record, 20, uniform_int, &one_int);
    EXPECT_EQ(quad_uniform_classify(&record, 20, uniform_int, &one_int), quad_change_none);
    EXPECT_EQ(quad_uniform_classify(&record, 20, uniform_float, &one_float), quad_change_shared);
    quad_uniform_store(&record, 20, uniform_float, &one_float);
    EXPECT_EQ(uniform_at(record, 20)->kind, uniform_float);
}
