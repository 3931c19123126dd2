# Double-clicking a file in the tree: vector.vnt opens in a third tab and the editor and
# the minimap show it; double-clicking main.vnt, which has a tab, brings that tab back
# without opening another.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
start_demo "$binary"

struct="rgb(0,255,102)" enum="rgb(242,102,242)" proc="rgb(255,128,64)" close_red="rgb(255,0,0)"
tab_count() { color_runs x 192 48 360 32 "$close_red" 20%; }
# Where the first row of the minimap shows a declaration of COLOR.
minimap_first_row_is() { at_least 30 count_color 900 48 124 32 "$1"; }
# The active entry's gradient is the brighter one: compare the strips above two labels.
active_is_brighter() {
    local active=$(mean_level "$1" 50 60 4) other=$(mean_level "$2" 50 60 4)
    [ "$active" -gt $((other + 20)) ] || fail "tab at x $1 (level $active) is not brighter than the one at x $2 ($other)"
}
main_tab_x=200 vector_tab_x=440

# main.vnt first: its first declaration is the enum Phase.
wait_until 10 "main.vnt's outline (Phase) not in the minimap" on_screen minimap_first_row_is "$enum"
[ "$(tab_count)" -eq 2 ] || fail "$(tab_count) tab entries at start, expected 2"

# vector.vnt is the second file row of the tree (rows of 32 pixels below the toolbar).
click_at 130 127 2
wait_until 5 "no third tab entry after double-clicking vector.vnt" on_screen at_least 3 tab_count
# Its outline starts with the struct Vec2 followed by its procedures.
wait_until 10 "vector.vnt's outline (Vec2) not in the minimap" on_screen minimap_first_row_is "$struct"
[ "$(count_color 900 48 124 32 "$enum")" -eq 0 ] || fail "main.vnt's Phase still in the minimap's first row"
active_is_brighter $vector_tab_x $main_tab_x
[ "$(color_runs y 900 80 124 200 "$proc")" -ge 2 ] || fail "no procedure rows under Vec2 in the minimap"
# The editor shows vector.vnt: "struct Vec2 {" on its second line (rows of 19 pixels from 80).
[ "$(count_color 226 99 326 19 "$struct")" -ge 30 ] || fail "the editor's second line does not show Vec2"
# The tree keeps vector.vnt selected.
selected=$(count_color 80 114 100 28 "rgb(56,82,135)" 4%)
[ "$selected" -ge 1000 ] || fail "vector.vnt's tree row is not highlighted ($selected pixels)"

# main.vnt already has a tab: it becomes current again, and no fourth entry appears.
click_at 120 95 2
wait_until 5 "main.vnt's outline did not come back" on_screen minimap_first_row_is "$enum"
sleep 0.5
take_screenshot
[ "$(tab_count)" -eq 3 ] || fail "$(tab_count) tab entries after double-clicking main.vnt, expected 3"
active_is_brighter $main_tab_x $vector_tab_x

kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status"
expect_no_message_box
echo "tree open file: ok"
