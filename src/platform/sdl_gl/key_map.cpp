// Physical key (SDL scancode) to key code. Scancodes name positions, so shortcuts stay on
// the same keys whatever the keyboard layout; typed characters come from text events.
#include "platform/sdl_gl/sdl_input.h"

i32 key_from_scancode(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return key_A + (scancode - SDL_SCANCODE_A);
    // SDL orders the digit row 1..9, 0.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return key_0 + 1 + (scancode - SDL_SCANCODE_1);
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F8) return key_f1 + (scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) return key_kp_1 + (scancode - SDL_SCANCODE_KP_1);
    switch (scancode) {
        case SDL_SCANCODE_0: return key_0;
        case SDL_SCANCODE_LEFT: return key_left;
        case SDL_SCANCODE_RIGHT: return key_right;
        case SDL_SCANCODE_UP: return key_up;
        case SDL_SCANCODE_DOWN: return key_down;
        case SDL_SCANCODE_SPACE: return key_space;
        case SDL_SCANCODE_RETURN: return key_enter;
        case SDL_SCANCODE_BACKSPACE: return key_backspace;
        case SDL_SCANCODE_TAB: return key_tab;
        case SDL_SCANCODE_F10: return key_quit;
        case SDL_SCANCODE_LCTRL:
        case SDL_SCANCODE_RCTRL: return key_ctrl;
        case SDL_SCANCODE_LSHIFT:
        case SDL_SCANCODE_RSHIFT: return key_shift;
        case SDL_SCANCODE_LALT:
        case SDL_SCANCODE_RALT: return key_alt;
        case SDL_SCANCODE_MINUS: return key_minus;
        case SDL_SCANCODE_EQUALS: return key_equals;
        case SDL_SCANCODE_LEFTBRACKET: return key_left_bracket;
        case SDL_SCANCODE_RIGHTBRACKET: return key_right_bracket;
        case SDL_SCANCODE_BACKSLASH:
        case SDL_SCANCODE_NONUSHASH: return key_backslash;  // the same key on ISO keyboards
        case SDL_SCANCODE_SEMICOLON: return key_semicolon;
        case SDL_SCANCODE_APOSTROPHE: return key_apostrophe;
        case SDL_SCANCODE_COMMA: return key_comma;
        case SDL_SCANCODE_PERIOD: return key_period;
        case SDL_SCANCODE_SLASH: return key_slash;
        case SDL_SCANCODE_CAPSLOCK: return key_caps_lock;
        case SDL_SCANCODE_APPLICATION:
        case SDL_SCANCODE_MENU: return key_menu;
        case SDL_SCANCODE_GRAVE: return key_match_case;
        case SDL_SCANCODE_ESCAPE: return key_escape;
        case SDL_SCANCODE_F9: return key_f9;
        case SDL_SCANCODE_F11: return key_f11;
        case SDL_SCANCODE_F12: return key_overlay;
        case SDL_SCANCODE_PAGEUP: return key_page_up;
        case SDL_SCANCODE_PAGEDOWN: return key_page_down;
        case SDL_SCANCODE_HOME: return key_home;
        case SDL_SCANCODE_END: return key_end;
        case SDL_SCANCODE_INSERT: return key_insert;
        case SDL_SCANCODE_DELETE: return key_delete;
        case SDL_SCANCODE_PRINTSCREEN: return key_print_screen;
        case SDL_SCANCODE_SCROLLLOCK: return key_scroll_lock;
        case SDL_SCANCODE_PAUSE: return key_pause;
        case SDL_SCANCODE_NUMLOCKCLEAR: return key_num_lock;
        case SDL_SCANCODE_KP_0: return key_kp_0;
        case SDL_SCANCODE_KP_PERIOD: return key_kp_period;
        case SDL_SCANCODE_KP_ENTER: return key_kp_enter;
        case SDL_SCANCODE_KP_MINUS: return key_kp_minus;
        case SDL_SCANCODE_KP_PLUS: return key_kp_plus;
        case SDL_SCANCODE_KP_MULTIPLY: return key_kp_multiply;
        case SDL_SCANCODE_KP_DIVIDE: return key_kp_divide;
        default: return 0;
    }
}
