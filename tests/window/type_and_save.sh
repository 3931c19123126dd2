# Typing into the editor: a click places the caret, typed text and Backspace change the
# text on screen, the modified-document star appears in the editor's corner, and Ctrl+S
# writes exactly the edited text to the file and takes the star away.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
start_demo "$binary"

keyword="rgb(102,158,255)" background="rgb(28,31,36)" text="rgb(224,224,219)"
file=demo/main.vnt
cp "$file" "$work_dir/main.vnt.before"
# main.vnt has 27 lines and a final newline: line 28 is the empty last row, 19 pixels
# high, below the tab bar (y 80).
last_row_top=$((80 + 27 * 19))
hashes="################"
# The star of a modified document, two rows' width from the editor's left edge, in its
# bottom row.
star_pixels() { count_other 230 749 19 19 "$background" 4%; }

wait_until 10 "main.vnt's text not drawn" on_screen at_least 200 count_color 226 80 326 100 "$keyword"
[ "$(star_pixels)" -eq 0 ] || fail "modified-document star shown before any edit"

# A click below the text puts the caret at the end of the last line.
click_at 500 700
type_text "${hashes}xy"
keys BackSpace BackSpace
wait_until 5 "the typed characters do not show on the last line" \
    on_screen at_least 400 count_color 226 "$last_row_top" 326 19 "$text" 12%
wait_until 3 "no modified-document star after typing" on_screen at_least 40 star_pixels
# Sixteen '#' and no more: the row's text ends where sixteen characters end.
text_end=$(color_profile x 226 "$last_row_top" 326 19 "$text" 12% | awk '$1 { last = NR } END { print last + 0 }')
[ "$text_end" -ge 130 ] && [ "$text_end" -le 152 ] ||
    fail "the last row's text ends $text_end pixels from the text's left edge, expected sixteen characters"
cmp -s "$file" "$work_dir/main.vnt.before" || fail "the file changed before saving"

keys ctrl+s
wait_until 5 "Ctrl+S did not save" file_contains "$file" "$hashes"
{ cat "$work_dir/main.vnt.before"; echo "$hashes"; } >"$work_dir/main.vnt.expected"
cmp -s "$file" "$work_dir/main.vnt.expected" ||
    fail "saved file differs from the original plus '$hashes': $(diff "$work_dir/main.vnt.expected" "$file" | head -5)"
wait_until 3 "the modified-document star stayed after saving" on_screen at_most 0 star_pixels

kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status"
expect_no_message_box
echo "type and save: ok"
