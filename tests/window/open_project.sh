# The demo project opened from the command line: two tab entries, the file tree with every
# file in its language's colour, the editor's text in lexical and then semantic colours
# once the analysis result arrives, and the minimap rows of main.vnt's declarations;
# F10 then quits at once, the project being saved.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
start_demo "$binary"

# Colours of the dark theme and the coloring file, as the screen shows them.
vantrel_file="rgb(115,179,255)" c_file="rgb(242,128,128)" cpp_file="rgb(242,166,115)"
glsl_file="rgb(115,217,153)" text_file="rgb(191,204,217)" folder="rgb(184,153,242)"
keyword="rgb(102,158,255)" struct="rgb(0,255,102)" proc="rgb(255,128,64)" enum="rgb(242,102,242)"
global="rgb(191,255,191)" close_red="rgb(255,0,0)"

# Types, procedures and globals get their colours from the analysis only.
wait_until 10 "no struct-coloured names in the editor" on_screen at_least 300 count_color 226 80 326 688 "$struct"
wait_until 5 "no procedure-coloured names in the editor" on_screen at_least 200 count_color 226 80 326 688 "$proc"
take_screenshot
for kind in "$keyword 17" "$enum 2" "$global 3"; do
    set -- $kind
    runs=$(color_runs y 226 80 326 688 "$1")
    [ "$runs" -ge "$2" ] || fail "$1 in $runs rows of the editor, expected at least $2"
done
# Lines beyond main.vnt's 27 stay empty.
background="rgb(28,31,36)"
empty=$(count_other 226 620 300 140 "$background" 3%)
[ "$empty" -eq 0 ] || fail "text drawn below main.vnt's last line ($empty pixels)"

# Tab bar: one red close control per entry; main.vnt is active.
tabs=$(color_runs x 192 48 360 32 "$close_red" 20%)
[ "$tabs" -eq 2 ] || fail "$tabs tab entries, expected 2 (main.vnt, util.c)"

# File tree: each file's row shows its label in its language's colour; the groups are
# folder-coloured.
check_tree_row() {
    local top=$1 color=$2 name=$3 got
    got=$(count_color 84 "$top" 96 32 "$color")
    [ "$got" -ge 40 ] || fail "tree row of $name at y $top has $got pixels of $color"
}
check_tree_row 80 "$vantrel_file" main.vnt
check_tree_row 112 "$vantrel_file" vector.vnt
check_tree_row 192 "$c_file" util.c
check_tree_row 224 "$cpp_file" util.h
check_tree_row 256 "$cpp_file" shapes.cpp
check_tree_row 288 "$cpp_file" shapes.hpp
check_tree_row 368 "$glsl_file" shade.glsl
check_tree_row 448 "$text_file" notes.txt
for top in 48 160 336 416; do check_tree_row "$top" "$folder" "group header"; done
below=$(count_other 0 500 180 268 "$background" 3%)
[ "$below" -eq 0 ] || fail "tree rows below the last group end ($below pixels)"

# Minimap: main.vnt's declarations in the order of the file, 32-pixel rows, with a
# 16-pixel group-end row closing Particle.
expect_minimap_row() {
    local color=$1 top=$2 name=$3 y
    y=$(color_first y 900 48 124 400 "$color")
    [ "$y" -ge "$top" ] && [ "$y" -lt $((top + 32)) ] || fail "minimap: $name first seen at y $y, expected its row at $top"
}
expect_minimap_row "$enum" 48 Phase
expect_minimap_row "$struct" 80 Particle
expect_minimap_row "$global" 128 particle_count
expect_minimap_row "$proc" 160 step
proc_rows=$(color_runs y 900 48 124 400 "$proc")
[ "$proc_rows" -ge 2 ] || fail "minimap: $proc_rows procedure rows, expected step and main"

# Nothing changed the project: F10 ends the program at once, without a question.
keys F10
wait_for_exit "$program_pid" 5
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after F10"
expect_no_message_box
echo "open project: ok"
