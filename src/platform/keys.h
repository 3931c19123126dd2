#pragma once
// The platform's key numbering. Letters A..Z are 2..27; the rest are listed here.
// Which physical key carries each code is documented in the README's key map.
enum KeyCode : int {
    key_any = 1,  // typed whenever any key is typed (a key press with no text)
    key_A = 2, key_B, key_C, key_D, key_E, key_F, key_G, key_H, key_I, key_J, key_K, key_L, key_M,
    key_N, key_O, key_P, key_Q, key_R, key_S, key_T, key_U, key_V, key_W, key_X, key_Y, key_Z = 27,
    key_0 = 28,  // 28..37: the digit row 0..9
    key_left = 38,
    key_right = 39,
    key_up = 40,
    key_down = 41,
    key_space = 42,
    key_enter = 43,
    key_backspace = 44,
    key_tab = 45,
    key_quit = 46,  // F10
    key_ctrl = 47,
    key_shift = 48,
    key_alt = 49,
    key_minus = 50,
    key_equals = 51,
    key_left_bracket = 52,
    key_right_bracket = 53,
    key_backslash = 54,
    key_semicolon = 55,
    key_apostrophe = 56,
    key_comma = 57,
    key_period = 58,
    key_slash = 59,
    key_caps_lock = 60,
    key_menu = 61,
    key_match_case = 62,  // the grave accent key `; Ctrl+` toggles case-sensitive search
    key_f1 = 63,          // 63..70: F1..F8
    key_escape = 71,      // suppresses editing for the frame
    key_f9 = 72,
    key_f11 = 73,
    key_page_up = 74,
    key_page_down = 75,
    key_home = 76,
    key_end = 77,
    key_insert = 78,
    key_delete = 79,
    key_print_screen = 80,
    key_scroll_lock = 81,
    key_pause = 82,
    key_num_lock = 83,
    key_kp_0 = 84,
    key_kp_1 = 85,  // End
    key_kp_2 = 86,  // Down
    key_kp_3 = 87,  // Page Down
    key_kp_4 = 88,  // Left
    key_kp_5 = 89,
    key_kp_6 = 90,  // Right
    key_kp_7 = 91,  // Home
    key_kp_8 = 92,  // Up
    key_kp_9 = 93,  // Page Up
    key_kp_period = 94,  // Delete
    key_kp_enter = 95,
    key_kp_minus = 96,
    key_kp_plus = 97,
    key_overlay = 98,  // F12: statistics overlay
    key_kp_multiply = 99,
    key_kp_divide = 100,
    key_count = 128,
};

// Bits of input_key_modifiers().
enum : unsigned {
    modifier_shift = 1u << 0,
    modifier_ctrl = 1u << 1,
    modifier_alt = 1u << 2,
    modifier_gui = 1u << 3,
    modifier_caps_lock = 1u << 4,
    modifier_num_lock = 1u << 5,
};

// Mouse buttons.
enum : int {
    mouse_primary = 2,
    mouse_middle = 3,
    mouse_secondary = 4,
};
