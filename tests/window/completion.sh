# The completion list and the symbol list in the real program, on a copy of the vantrel
# sample project: "scene" and "." typed in main.vnt bring up the member list under the
# caret once the analysis result arrives; Down and Enter insert the second member, which
# Ctrl+S writes to the file; a "(" typed after a procedure's name inside a pair of
# brackets brings up its signature at the top of the editor.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"

cp -r "$source_dir/resources" "$source_dir/themes" "$source_dir/coloring.txt" "$source_dir/settings.txt" \
    "$work_dir/" || fail "cannot copy the program's files from $source_dir"
cp -r "$source_dir/examples/vantrel_sample" "$work_dir/sample" || fail "cannot copy the sample project"
cd "$work_dir" || fail "cannot enter $work_dir"
# Panel and selection colours that nothing else in the editor region uses, so that the
# pop-ups can be counted on screen: a magenta panel and an opaque brown selection.
sed -i -e 's/^menu_background_color .*/menu_background_color 0.9 0.1 0.8 1/' \
    -e 's/^selection_color .*/selection_color 0.5 0.35 0.05 1/' themes/dark.txt
grep -q "^menu_background_color 0.9 0.1 0.8 1" themes/dark.txt || fail "the dark theme has no panel colour line"
panel="rgb(230,26,204)"
selected="rgb(128,89,13)"
struct="rgb(0,255,102)"

start_program tesmora "$binary" -c sample/vantrel_sample.project
find_window tesmora
focus_window

# The editor region: right of the file tree, below the tab bar, left of the scrollbar.
editor_x=200 editor_y=80 editor_w=310 editor_h=680
wait_until 15 "main.vnt never got its analysis colours" \
    at_least 100 on_screen count_color $editor_x $editor_y $editor_w $editor_h "$struct"
none=$(count_color $editor_x $editor_y $editor_w $editor_h "$panel" 3%)
[ "$none" -eq 0 ] || fail "panel colour in the editor before any pop-up ($none pixels)"

# A new line in main after "    build_scene(&scene);" (line 29, 19-pixel rows from y 80):
# a click right of that line's text focuses the editor and puts the caret at its end.
click_at 510 621
sleep 0.3
keys Return
type_text "scene"
sleep 0.5
type_text "."
wait_until 10 "no completion panel after \"scene.\"" \
    at_least 2000 on_screen count_color $editor_x $editor_y $editor_w $editor_h "$panel" 3%

# The top row of the selected band, in window pixels from the top; empty when there is none.
band_top() {
    convert "$screenshot" -crop "${editor_w}x${editor_h}+$((editor_x + window_x))+$((editor_y + window_y))" +repage \
        -alpha off -fill black -opaque white -fuzz 3% -fill white -opaque "$selected" \
        -fuzz 0 -fill black +opaque white \
        -scale "1x${editor_h}!" -threshold 0 -depth 8 txt:- |
        awk -v top="$editor_y" 'NR > 1 && $0 !~ /#000000/ { split($1, p, "[,:]"); print p[2] + top; exit }'
}
# Scene's members bounds, frame and shapes, the first one selected; Down selects "frame".
first_band=$(band_top)
[ -n "$first_band" ] || fail "no selected row in the completion panel"
[ "$first_band" -gt 621 ] || fail "the completion panel is not under the caret (selected row at $first_band)"
keys Down
sleep 0.3
take_screenshot
second_band=$(band_top)
[ -n "$second_band" ] && [ "$second_band" -gt "$first_band" ] ||
    fail "Down did not move the selected row down ($first_band -> $second_band)"

keys Return
sleep 0.3
keys ctrl+s
# The sample holds "scene.frame" inside longer lines only; the new line is exactly that,
# after the indentation Enter carried over.
wait_until 5 "no line \"scene.frame\" in the saved main.vnt" grep -qxE " *scene.frame" sample/main.vnt
take_screenshot
left=$(count_color $editor_x $editor_y $editor_w $editor_h "$panel" 3%)
[ "$left" -eq 0 ] || fail "completion panel still shown after Enter ($left pixels)"

# The statement completed, then "(" typed between a procedure's name and a ")" already
# there on the next line: the signature panel at
# the top of the editor, with the first argument highlighted. A key pressed in the same
# frame as typed text would be ignored, hence the pauses.
type_text " = 1;"
sleep 0.3
keys Return
type_text "area_of);"
sleep 0.3
keys Left Left
sleep 0.5
type_text "("
wait_until 10 "no signature panel after \"area_of(\"" \
    at_least 1000 on_screen count_color $editor_x $editor_y $editor_w 40 "$panel" 3%
mark=$(count_color $editor_x $editor_y $editor_w 40 "$selected" 3%)
[ "$mark" -ge 100 ] || fail "no highlighted argument in the signature panel ($mark pixels)"

kill -TERM "$program_pid"
wait_for_exit "$program_pid"
expect_no_line "$work_dir/tesmora.err" .
echo "completion: ok"
