# The find prompt: Ctrl+F opens the one-line input dialog over the editor, the typed word
# goes into the dialog and not the document, Enter selects the word's first occurrence
# after the caret (Ctrl+C puts it on the X clipboard), Ctrl+L finds the next one, "cancel"
# closes the dialog without searching, and Ctrl+G goes to a line.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
start_demo "$binary"

keyword="rgb(102,158,255)" panel="rgb(40,43,51)" selection="rgb(65,91,145)"
file=demo/main.vnt
cp "$file" "$work_dir/main.vnt.before"
# The dialog, 600 x 300, in the middle of the window.
dialog_pixels() { count_color 212 234 600 300 "$panel" 2%; }
# Selected pixels on an editor line (19 pixels high from y 80); antialiased keywords have
# a few pixels of the selection's colour, a selected word a thousand.
selected_pixels() { count_color 226 $((80 + ($1 - 1) * 19)) 600 19 "$selection" 3%; }
line_is() { [ "$(selected_pixels "$1")" -ge 500 ]; }

wait_until 10 "main.vnt's text not drawn" on_screen at_least 200 count_color 226 80 326 100 "$keyword"
[ "$(dialog_pixels)" -lt 2000 ] || fail "dialog colour on screen before Ctrl+F"
click_at 500 90
keys ctrl+Home

keys ctrl+f
wait_until 5 "no find dialog after Ctrl+F" on_screen at_least 100000 dialog_pixels
type_text velocity
keys Return
wait_until 5 "the find dialog stayed open after Enter" on_screen at_most 2000 dialog_pixels
# "velocity" first appears in Particle's members on line 6.
wait_until 3 "no selection on line 6 after finding 'velocity'" on_screen line_is 6
keys ctrl+c
wait_until 3 "the clipboard does not hold the found word" clipboard_is velocity

# Find next: the same word in step's body on line 13.
keys ctrl+l
wait_until 3 "Ctrl+L did not select the next 'velocity' on line 13" on_screen line_is 13
[ "$(selected_pixels 6)" -lt 100 ] || fail "line 6 still selected after Ctrl+L"

# "cancel" closes the dialog and leaves the selection where it was.
keys ctrl+f
wait_until 5 "no find dialog after the second Ctrl+F" on_screen at_least 100000 dialog_pixels
type_text particle_count
click_at 584 494
wait_until 5 "the find dialog stayed open after cancel" on_screen at_most 2000 dialog_pixels
sleep 0.3
on_screen line_is 13 || fail "cancel moved the selection away from line 13"

# Go to line 20 ("    Particle p;"), select to its end, copy.
keys ctrl+g
wait_until 5 "no goto dialog after Ctrl+G" on_screen at_least 100000 dialog_pixels
type_text 20
keys Return
wait_until 5 "the goto dialog stayed open after Enter" on_screen at_most 2000 dialog_pixels
# Home goes to the first non-blank, and a second Home back to column 0.
keys Home Home shift+End ctrl+c
wait_until 3 "line 20 is not on the clipboard after Ctrl+G 20" clipboard_is "    Particle p;"

# Nothing typed into the dialogs reached the document.
keys ctrl+s
sleep 0.5
cmp -s "$file" "$work_dir/main.vnt.before" || fail "main.vnt changed: $(diff "$work_dir/main.vnt.before" "$file" | head -5)"

kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status"
expect_no_message_box
echo "find prompt: ok"
