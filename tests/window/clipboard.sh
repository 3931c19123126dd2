# The editor and the X clipboard, both ways: a double-clicked word copied with Ctrl+C and
# cut with Ctrl+X reaches xclip; text that xclip owns comes in with Ctrl+V, over the
# selection and as several lines at the end; Ctrl+S writes the result.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
start_demo "$binary"

keyword="rgb(102,158,255)"
file=demo/main.vnt
cp "$file" "$work_dir/main.vnt.before"
# Window position of the middle of character COLUMN (0-based) on LINE (1-based): rows of
# 19 pixels below the tab bar, characters 9 pixels wide from x 226.
char_x() { echo $((226 + $1 * 9 + 4)); }
line_y() { echo $((80 + ($1 - 1) * 19 + 9)); }
# xclip forks to serve the selection; Ctrl+V must not come before it owns the clipboard.
set_x_clipboard() {
    printf '%s' "$1" | timeout 5 xclip -i -selection clipboard 2>/dev/null || fail "xclip cannot take the clipboard"
    wait_until 3 "xclip did not take the clipboard" clipboard_is "${1%$'\n'}"
}

wait_until 10 "main.vnt's text not drawn" on_screen at_least 200 count_color 226 80 326 100 "$keyword"

# Copy: "Particle" in "struct Particle {" on line 4.
click_at "$(char_x 10)" "$(line_y 4)" 2
keys ctrl+c
wait_until 3 "Ctrl+C after double-clicking 'Particle' did not reach the clipboard" clipboard_is Particle

# Paste over the selection.
set_x_clipboard Cluster
keys ctrl+v
# Cut: "particle_count" in "int particle_count = 8;" on line 10.
click_at "$(char_x 8)" "$(line_y 10)" 2
keys ctrl+x
wait_until 3 "Ctrl+X after double-clicking 'particle_count' did not reach the clipboard" clipboard_is particle_count

# Several lines at the end of the text.
set_x_clipboard $'// pasted one\n// pasted two\n'
keys ctrl+End ctrl+v ctrl+s
wait_until 5 "the pasted lines were not saved" file_contains "$file" "// pasted two"
sed -e '4s/Particle/Cluster/' -e '10s/particle_count//' "$work_dir/main.vnt.before" >"$work_dir/main.vnt.expected"
printf '// pasted one\n// pasted two\n' >>"$work_dir/main.vnt.expected"
cmp -s "$file" "$work_dir/main.vnt.expected" ||
    fail "saved file differs from the expected edits: $(diff "$work_dir/main.vnt.expected" "$file" | head -8)"

kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status"
expect_no_message_box
echo "clipboard: ok"
