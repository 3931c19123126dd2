# Ctrl+P: the "go to file or symbol" prompt lists the project's files as a name is typed,
# and Enter opens the best one in a new tab, which the editor and the outline then show.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
start_demo "$binary"

struct="rgb(0,255,102)" enum="rgb(242,102,242)" panel="rgb(40,43,51)" close_red="rgb(255,0,0)"
tab_count() { color_runs x 192 48 360 32 "$close_red" 20%; }
minimap_first_row_is() { at_least 30 count_color 900 48 124 32 "$1"; }
# The dialog, 600 x 440, in the middle of the window.
dialog_pixels() { count_color 212 234 600 300 "$panel" 2%; }

wait_until 10 "main.vnt's outline (Phase) not in the minimap" on_screen minimap_first_row_is "$enum"
[ "$(dialog_pixels)" -lt 2000 ] || fail "dialog colour on screen before Ctrl+P"

keys ctrl+p
wait_until 5 "no prompt after Ctrl+P" on_screen at_least 100000 dialog_pixels
# The start of vector.vnt's name, which no declaration has (a "." is in it).
type_text vector.v
keys Return
wait_until 5 "the prompt stayed open after Enter" on_screen at_most 2000 dialog_pixels
wait_until 5 "no third tab entry after choosing vector.vnt" on_screen at_least 3 tab_count
wait_until 10 "vector.vnt's outline (Vec2) not in the minimap" on_screen minimap_first_row_is "$struct"
# The editor shows vector.vnt: "struct Vec2 {" on its second line (rows of 19 pixels from 80).
[ "$(count_color 226 99 326 19 "$struct")" -ge 30 ] || fail "the editor's second line does not show Vec2"

kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status"
expect_no_message_box
echo "go to file: ok"
