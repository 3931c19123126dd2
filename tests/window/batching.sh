# Drawing each run of quads as one instanced draw changes nothing on screen: a busy
# frame drawn through the real renderer, and a window of text, give the same pixels as
# when every quad is a draw of its own (TESMORA_ONE_QUAD_RUNS=1), and the text needs at
# least ten times fewer GL draw calls.
# Usage: bash batching.sh <tesmora-binary> <source-dir>; the scene program comes from
# $TESMORA_BATCH_SCENE (set by ctest).
source "$(dirname "$0")/common.bash"
require_tools compare
scene=${TESMORA_BATCH_SCENE:-}
[ -x "$scene" ] || fail "TESMORA_BATCH_SCENE does not name the batch_scene program ('$scene')"
source_dir=$2
run_under_xvfb "$@"
window_test_setup
export TESMORA_NO_MESSAGE_BOX=1 TESMORA_GL_CHECK=1
cd "$source_dir" || fail "no source directory '$source_dir'"

# shoot NAME COMMAND...: runs the scene until its third frame, keeps the screen as
# $work_dir/NAME.png and the frame's counts as `draws`, `gl_draws` and `gl_calls`, and
# ends it.
shoot() {
    local name=$1
    shift
    start_program "$name" "$@"
    find_window "batch scene"
    wait_for_line "$work_dir/$name.out" '^draws [0-9]+ gl [0-9]+ calls [0-9]+$' 30
    sleep 0.3
    take_screenshot
    cp "$screenshot" "$work_dir/$name.png"
    read -r draws gl_draws gl_calls < <(sed -n 's/^draws \([0-9]*\) gl \([0-9]*\) calls \([0-9]*\)$/\1 \2 \3/p' \
        "$work_dir/$name.out")
    kill -TERM "$program_pid"
    wait_for_exit "$program_pid"
    [ "$exit_status" -eq 0 ] || fail "$name: exit status $exit_status"
    expect_no_line "$work_dir/$name.err" '^gl error'
    expect_no_line "$work_dir/$name.out" '^unknown GPU code'
    echo "$name: $draws draws in $gl_draws GL draw calls, $gl_calls GL calls"
}

expect_same_pictures() {
    local differing
    differing=$(compare -metric AE "$work_dir/$1.png" "$work_dir/$2.png" null: 2>&1)
    [ "$differing" = "0" ] || fail "$1 and $2 differ in $differing pixels"
}

# ---- The busy scene ---------------------------------------------------------------------
shoot scene_single env TESMORA_ONE_QUAD_RUNS=1 "$scene"
single_draws=$draws
[ "$gl_draws" -eq "$draws" ] || fail "one quad at a time, every draw is a GL draw call ($draws, $gl_draws)"
shoot scene_merged "$scene"
[ "$draws" -eq "$single_draws" ] || fail "the scene asked for $draws draws, $single_draws before"
[ "$gl_draws" -lt $((draws / 4)) ] || fail "runs left $gl_draws GL draw calls for $draws draws"
expect_same_pictures scene_single scene_merged
# The picture is the scene: a 2x2 texture given new pixels between two of its draws shows
# its first pixels (red) in the first quad and the new ones (blue) in the second.
expect_pixel 90 680 255 0 0
expect_pixel 185 700 0 0 255

# ---- A window of text ----------------------------------------------------------------------
shoot text_single env TESMORA_ONE_QUAD_RUNS=1 "$scene" text
single_draws=$draws
shoot text_merged "$scene" text
[ "$draws" -eq "$single_draws" ] && [ "$draws" -ge 5000 ] || fail "text frames drew $single_draws and $draws quads"
[ $((gl_draws * 10)) -le "$draws" ] || fail "text: $gl_draws GL draw calls for $draws draws, not 10 times fewer"
# The whole frame, set-up and gamma pass included, is a few dozen GL calls.
[ "$gl_calls" -le 32 ] || fail "text: $gl_calls GL calls in a frame"
expect_same_pictures text_single text_merged
echo "batching: all checks passed"
