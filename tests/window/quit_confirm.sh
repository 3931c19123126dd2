# Quitting with unsaved work: F10 and a close request (SIGINT) ask (an unsaved project
# after "new group", or a document typed into while the project is saved); "cancel"
# keeps the program running, "discard" ends it with status 0 and writes nothing, "save
# all" saves the document and the project before ending.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
cp demo/demo.project "$work_dir/demo.project.before"
cp demo/main.vnt "$work_dir/main.vnt.before"

keyword="rgb(102,158,255)" panel="rgb(40,43,51)" folder="rgb(184,153,242)" text="rgb(222,224,217)"
# The confirmation dialog, 600 x 300 in the middle of the window; its three buttons are
# 128 x 32, 16 apart, 24 pixels above its bottom edge.
dialog_pixels() { count_color 212 234 600 300 "$panel" 2%; }
button_y=494 save_x=368 discard_x=512 cancel_x=656

start_program_and_wait() {
    start_demo "$binary"
    wait_until 10 "main.vnt's text not drawn" on_screen at_least 200 count_color 226 80 326 100 "$keyword"
}

# The project made unsaved with the toolbar's "new group" (the star, eighth button).
start_unsaved_project() {
    start_program_and_wait
    click_at 384 24
    wait_until 5 "no 'new group' row at the end of the tree" on_screen at_least 40 count_color 84 496 96 32 "$folder"
}

expect_dialog() {
    wait_until 5 "no confirmation dialog after $1" on_screen at_least 100000 dialog_pixels
    [ "$(count_color 232 250 560 200 "$text" 6%)" -ge 100 ] || fail "the question after $1 has no text"
}

start_unsaved_project
keys F10
expect_dialog F10
click_at "$cancel_x" "$button_y"
wait_until 5 "the dialog stayed open after cancel" on_screen at_most 2000 dialog_pixels
sleep 0.3
kill -0 "$program_pid" 2>/dev/null || fail "the program ended on cancel"
# SIGINT (Ctrl+C in the terminal) is a close request, as the window's close button is.
kill -INT "$program_pid"
expect_dialog "a close request"
take_screenshot
click_at "$discard_x" "$button_y"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after 'discard'"
cmp -s demo/demo.project "$work_dir/demo.project.before" || fail "'discard' changed the project file"
expect_no_message_box

# A typed document with the project saved: the case that used to end at once.
start_program_and_wait
click_at 500 700
type_text "####"
sleep 0.3
keys F10
expect_dialog "F10 with a modified document"
cmp -s demo/main.vnt "$work_dir/main.vnt.before" || fail "the file changed before answering"
click_at "$save_x" "$button_y"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after 'save all'"
grep -q "####" demo/main.vnt || fail "'save all' did not save the typed text"
expect_no_message_box
echo "quit confirm: ok"
