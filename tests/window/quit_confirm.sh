# Quitting with an unsaved project: after "new group" on the toolbar, F10 and a close
# request (SIGTERM) open the yes/no/cancel dialog; "cancel" keeps the program running,
# "no" ends it with status 0 and leaves the project file as it was, "yes" saves the
# project before ending.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
cp demo/demo.project "$work_dir/demo.project.before"

keyword="rgb(102,158,255)" panel="rgb(40,43,51)" folder="rgb(184,153,242)" text="rgb(222,224,217)"
# The confirmation dialog, 600 x 300 in the middle of the window; its buttons "yes", "no"
# and "cancel" are 128 x 32, 16 apart, 24 pixels above its bottom edge.
dialog_pixels() { count_color 212 234 600 300 "$panel" 2%; }
button_y=494 yes_x=368 no_x=512 cancel_x=656

# Starts the program and makes the project unsaved with the toolbar's "new group" (the
# star, eighth button: seven 48-pixel buttons and a half-button gap to its left).
start_unsaved() {
    start_demo "$binary"
    wait_until 10 "main.vnt's text not drawn" on_screen at_least 200 count_color 366 80 326 100 "$keyword"
    [ "$(count_color 84 496 236 32 "$folder")" -eq 0 ] || fail "a tree row below the notes group at start"
    click_at 384 24
    wait_until 5 "no 'new group' row at the end of the tree" on_screen at_least 40 count_color 84 496 236 32 "$folder"
}

# Waits for the dialog and checks its question: "save project demo.project?".
expect_dialog() {
    wait_until 5 "no confirmation dialog after $1" on_screen at_least 100000 dialog_pixels
    local first last
    first=$(color_first x 232 345 560 30 "$text" 6%)
    last=$(color_profile x 232 345 560 30 "$text" 6% | awk '$1 { last = NR } END { print 232 + last - 1 }')
    # 26 characters of 9 pixels, centred on the dialog.
    [ "$first" -ge 380 ] && [ "$first" -le 400 ] && [ "$last" -ge 620 ] && [ "$last" -le 645 ] ||
        fail "the dialog's question spans x $first..$last, expected 'save project demo.project?' centred"
}

start_unsaved
keys F10
expect_dialog F10
click_at "$cancel_x" "$button_y"
wait_until 5 "the dialog stayed open after cancel" on_screen at_most 2000 dialog_pixels
sleep 0.3
kill -0 "$program_pid" 2>/dev/null || fail "the program ended on cancel"

kill -TERM "$program_pid"
expect_dialog "a close request"
click_at "$no_x" "$button_y"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after 'no'"
cmp -s demo/demo.project "$work_dir/demo.project.before" || fail "'no' changed the project file"
expect_no_message_box

start_unsaved
keys F10
expect_dialog "F10 in the second run"
click_at "$yes_x" "$button_y"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after 'yes'"
grep -q "new group" demo/demo.project || fail "'yes' did not save the new group into the project file"
expect_no_message_box
echo "quit confirm: ok"
