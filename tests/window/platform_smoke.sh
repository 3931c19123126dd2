# The SDL/OpenGL back-end in a real window: drawing, keys, mouse, clipboard, resizing,
# message boxes and the ways to end the program.
# Usage: bash platform_smoke.sh <tesmora-binary> <source-dir>; the smoke program comes
# from $TESMORA_PLATFORM_SMOKE (set by ctest).
source "$(dirname "$0")/common.bash"
require_tools
smoke=${TESMORA_PLATFORM_SMOKE:-}
[ -x "$smoke" ] || fail "TESMORA_PLATFORM_SMOKE does not name the platform_smoke program ('$smoke')"
run_under_xvfb "$@"
window_test_setup
export TESMORA_NO_MESSAGE_BOX=1 TESMORA_GL_CHECK=1

start_program smoke env "$smoke"
out=$work_dir/smoke.out
err=$work_dir/smoke.err
find_window "platform smoke"
wait_for_line "$out" '^presented 3$'

# ---- Set-up results -----------------------------------------------------------------
grep -q '^shader ok 1$' "$out" || fail "the two-section shader did not build: $(cat "$out")"
grep -q '^quad shader ok 1$' "$out" || fail "the quad-run shader did not build: $(cat "$out")"
grep -q '^frame buffer status 0$' "$out" || fail "offscreen frame buffer incomplete"
log_length=$(sed -n 's/^broken shader ok 0 log \([0-9]*\)$/\1/p' "$out")
[ -n "$log_length" ] && [ "$log_length" -gt 0 ] && [ "$log_length" -lt 256 ] ||
    fail "a broken shader must fail with a log that fits its 256-byte buffer"
grep -q '^smoke: message text$' "$err" || fail "message box text not on stderr"
expect_no_line "$out" '^resized'  # the window got the size it asked for

# ---- Pixels ---------------------------------------------------------------------------
sleep 0.3
take_screenshot
expect_pixel 20 700 51 102 153      # clear colour
expect_pixel 150 150 0 0 255        # 2x2 texture, nearest: top-left texel
expect_pixel 250 150 255 255 255
expect_pixel 150 250 255 0 0        # row 0 of the image is the bottom row
expect_pixel 250 250 0 255 0
expect_pixel 425 150 255 255 0      # drawn into the offscreen frame buffer
expect_pixel 475 150 255 0 255      # the frame buffer's clear colour
expect_pixel 650 150 26 51 77       # black at alpha 0.5 over the background
expect_pixel 150 450 255 128 0      # inside the scissor
expect_pixel 250 450 51 102 153     # clipped by the scissor
expect_pixel 450 450 0 255 255      # first instance
expect_pixel 600 450 0 255 255      # second instance, 150 pixels on
expect_pixel 525 450 51 102 153
expect_pixel 132 632 0 128 0        # mipmapped, linear minifying
expect_pixel 232 632 0 128 0        # no mipmaps: must not sample missing levels
expect_pixel 825 125 255 0 0        # a run of two quads, inside its scissor
expect_pixel 875 125 0 255 0
expect_pixel 825 175 51 102 153     # clipped by the run's scissor
expect_pixel 875 175 51 102 153
expect_pixel 850 275 0 0 255        # a run without a scissor

# ---- Keys ------------------------------------------------------------------------------
focus_window
xdotool key --delay 30 a 5 F12 Escape grave Tab Return KP_Enter KP_End Left Delete BackSpace ctrl+a Control_R \
    Shift_R Alt_L F1 F9 F11 minus bracketleft Prior
expected_codes="2 33 98 71 62 45 43 95 85 38 79 44 47 2 47 48 49 63 72 73 50 52 74"
wait_for_line "$out" '^pressed 74 '
got_codes=$(sed -n 's/^pressed \([0-9]*\) mods.*/\1/p' "$out" | tr '\n' ' ' | sed 's/ $//')
[ "$got_codes" = "$expected_codes" ] || fail "key codes '$got_codes', expected '$expected_codes'"
grep -q '^pressed 2 mods 2$' "$out" || fail "Ctrl+A did not carry the Ctrl modifier bit"
grep -q '^released 47$' "$out" || fail "no release of Ctrl"
grep -q '^text a$' "$out" || fail "typed text 'a' not seen"
grep -q '^text 5$' "$out" || fail "typed text '5' not seen"

# A held key repeats: typed again (with its text) but not pressed again.
xdotool keydown z
sleep 1.0
xdotool keyup z
wait_for_line "$out" '^released 27$'
[ "$(grep -c '^pressed 27 ' "$out")" -eq 1 ] || fail "a held key was pressed more than once"
grep -q '^repeated 27$' "$out" || fail "a held key did not repeat"
[ "$(grep -c '^text z' "$out")" -gt 1 ] || fail "a held key typed its text once only"

# Num Lock reaches the program as key 83 and as modifier bit 5.
numlock_before=$(sed -n 's/^pressed 2 mods \([0-9]*\)$/\1/p' "$out" | head -1)
xdotool key Num_Lock a
wait_for_line "$out" '^pressed 83 '
wait_for_line "$out" '^released 2$'
numlock_after=$(sed -n 's/^pressed 2 mods \([0-9]*\)$/\1/p' "$out" | tail -1)
[ $(((numlock_before ^ numlock_after) & 32)) -eq 32 ] ||
    fail "Num Lock bit did not change: modifiers $numlock_before then $numlock_after"

# ---- Mouse -----------------------------------------------------------------------------
xdotool mousemove --window "$window_id" 321 123 click 1
wait_for_line "$out" '^mouse 2 321 123$'
xdotool click 3 click 2
wait_for_line "$out" '^mouse 4 321 123$'
wait_for_line "$out" '^mouse 3 321 123$'
wait_for_line "$out" '^mouse released 2$'
xdotool click 4
wait_for_line "$out" '^wheel 1$'
xdotool click 5
wait_for_line "$out" '^wheel -1$'

# ---- Clipboard, both ways ---------------------------------------------------------------
got=$(timeout 5 xclip -o -selection clipboard)
[ "$got" = "smoke clipboard out" ] || fail "clipboard read by xclip: '$got'"
# Longer than the program's 8-byte buffer: comes from the platform's own storage.
printf 'from xclip, longer than the buffer' | timeout 5 xclip -i -selection clipboard
xdotool key c
wait_for_line "$out" '^clipboard get from xclip, longer than the buffer$'
printf 'short' | timeout 5 xclip -i -selection clipboard
xdotool key c
wait_for_line "$out" '^clipboard get short$'
xdotool key s
wait_for_line "$out" '^clipboard set$'
got=$(timeout 5 xclip -o -selection clipboard)
[ "$got" = "a longer text set by platform_smoke" ] || fail "clipboard after key S: '$got'"

# ---- Resizing ---------------------------------------------------------------------------
xdotool windowsize "$window_id" 800 600
wait_for_line "$out" '^resized 800 600$'

# ---- SIGTERM asks the program to end without questions ---------------------------------------
kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after SIGTERM"
grep -q '^terminated$' "$out" || fail "SIGTERM did not arrive as a termination request"
expect_no_line "$err" '^gl error'
expect_no_line "$out" '^(unknown GPU code|event time in the future)'

# ---- F10 quits (here with a paced swap); SIGINT closes too --------------------------------
start_program quit env "$smoke" paced
find_window "platform smoke"
wait_for_line "$work_dir/quit.out" '^presented 3$'
focus_window
xdotool key F10
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after F10"
grep -q '^quit$' "$work_dir/quit.out" || fail "F10 did not quit"

start_program interrupt env "$smoke"
wait_for_line "$work_dir/interrupt.out" '^presented 3$'
kill -INT "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after SIGINT"
grep -q '^closed$' "$work_dir/interrupt.out" || fail "SIGINT did not arrive as a close request"

echo "platform smoke: all checks passed"
