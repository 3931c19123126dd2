// The SDL back-end's display-free parts: scancode map, event-to-frame rules, event
// times and the shader text split. The window, GL and clipboard paths are exercised by
// platform_smoke.sh and batching.sh on a real X server.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sdl_gl/sdl_input.h"
#include "platform/sdl_gl/shader_text.h"

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
