# A file changed by another program while it is open: a clean document shows the new
# text by itself; a modified one asks ("reload" / "keep mine") and keeps the user's text.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"

keyword="rgb(102,158,255)" text="rgb(224,224,219)" panel="rgb(40,43,51)"
dialog_pixels() { count_color 212 234 600 300 "$panel" 2%; }
# Two buttons, 128 x 32 and 16 apart, centred.
button_y=494 reload_x=440 keep_x=584
row_top() { echo $((80 + $1 * 19)); }

start_demo "$binary"
wait_until 10 "main.vnt's text not drawn" on_screen at_least 200 count_color 226 80 326 100 "$keyword"
# Another program appends a line: it shows without a key pressed.
echo "################" >>demo/main.vnt
wait_until 6 "the clean document did not follow its file" \
    on_screen at_least 300 count_color 226 "$(row_top 27)" 326 19 "$text" 12%

# Now modified here, and changed there again: the question comes.
click_at 500 140
type_text "@@"
sleep 0.3
echo "%%%%%%%%%%%%%%%%" >>demo/main.vnt
wait_until 6 "no question for the modified document" on_screen at_least 100000 dialog_pixels
take_screenshot
click_at "$keep_x" "$button_y"
wait_until 5 "the question stayed after 'keep mine'" on_screen at_most 2000 dialog_pixels
sleep 2.5
take_screenshot
[ "$(dialog_pixels)" -le 2000 ] || fail "asked again about the same change"
[ "$(count_color 226 "$(row_top 28)" 326 19 "$text" 12%)" -lt 100 ] || fail "'keep mine' took the other program's line"
kill -KILL "$program_pid"
echo "disk change: ok"
