# Semantic colours of typed lines arrive by themselves: in main.vnt, lines that declare and
# use a new local are typed one after the other, and each gets the local-variable colour
# from the analysis without another key being pressed.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
# A colour for locals that nothing else on screen has.
sed -i 's/^local_var .*/local_var 1 0 1/' coloring.txt
grep -q "^local_var 1 0 1" coloring.txt || fail "coloring.txt has no local_var line"
local_colour="rgb(255,0,255)" keyword="rgb(102,158,255)"

start_demo "$binary"
wait_until 10 "main.vnt's text not drawn" on_screen at_least 200 count_color 226 80 326 100 "$keyword"
# The existing locals of main (p, frame) are coloured once the first result is in.
wait_until 10 "main.vnt never got its analysis colours" on_screen at_least 50 count_color 226 80 326 680 "$local_colour" 3%

# After line 23 ("p.phase = moving;"): rows are 19 pixels from y 80.
click_at 510 $((80 + 22 * 19 + 9))
sleep 0.3
for i in 1 2 3 4 5; do
    keys Return
    type_text "int f$i = $i; f$i = f$i;"
    row_top=$((80 + (22 + i) * 19))
    started=$SECONDS
    wait_until 5 "line $i's new local never got its colour" \
        on_screen at_least 12 count_color 226 "$row_top" 326 19 "$local_colour" 3%
    echo "line $i: coloured within $((SECONDS - started)) s"
done
echo "fresh_colours: ok"
