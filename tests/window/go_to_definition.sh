# Ctrl+click on a name and F2 on a call move the caret to the declaration, and Alt+Left
# brings it back to where it was: text typed at each place lands there, as the saved file
# shows.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
start_demo "$binary"

enum="rgb(242,102,242)"
file=demo/main.vnt
minimap_first_row_is() { at_least 30 count_color 900 48 124 32 "$1"; }
wait_until 10 "main.vnt's outline (Phase) not in the minimap" on_screen minimap_first_row_is "$enum"

# Line 20 is "    Particle p;" (rows of 19 pixels from y 80, text from x 226, 9 pixels a
# column): a Ctrl+click on "Particle" goes to "struct Particle {" on line 4.
xdotool mousemove --window "$window_id" $((226 + 6 * 9 + 4)) $((80 + 19 * 19 + 9)) || fail "cannot move the pointer"
sleep 0.1
xdotool keydown ctrl click 1 keyup ctrl || fail "cannot Ctrl+click"
sleep 0.5
type_text ww
# A go-to right after an edit waits for the analysis of the new text: let it come.
sleep 2
# Line 25 is "        step(&p, 1.0 / 60);": Home goes to "step", two steps right stay in it.
keys ctrl+g
type_text 25
keys Return Home Right Right F2
sleep 0.5
type_text zz
# Back at the call, where the caret was.
keys alt+Left
sleep 0.3
type_text yy
keys ctrl+s
wait_until 5 "Ctrl+S did not save" file_contains "$file" "yy"
line() { sed -n "$1p" "$file"; }
[ "$(line 4)" = "struct wwParticle {" ] || fail "Ctrl+click did not reach the declaration: line 4 is '$(line 4)'"
[ "$(line 12)" = "proc zzstep(Particle* particle, real dt) {" ] || fail "F2 did not reach the declaration: line 12 is '$(line 12)'"
[ "$(line 25)" = "        styyep(&p, 1.0 / 60);" ] || fail "Alt+Left did not come back: line 25 is '$(line 25)'"

kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status"
expect_no_message_box
echo "go to definition: ok"
