# Frames on change in a real window: left alone, the program draws while the caret blinks
# (at most two frames a second, for ten seconds after the last key) and then none; a key
# is drawn at once. Frames are counted by the program itself (TESMORA_FRAME_COUNT).
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"

export TESMORA_FRAME_COUNT=1
start_demo "$binary"
# Typing marks the start of the blink's ten seconds.
sleep 1
keys End
sleep 14
kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "SIGTERM gave exit status $exit_status"
line=$(grep -E '^frames drawn [0-9]+ left_out [0-9]+$' "$work_dir/tesmora.out") ||
    fail "no frame count in the output: $(cat "$work_dir/tesmora.out")"
drawn=$(echo "$line" | awk '{ print $3 }')
# 15 s in all: start-up and window events, the key, then at most 21 blink frames.
[ "$drawn" -le 40 ] || fail "$drawn frames drawn in 15 s of rest ($line)"
[ "$drawn" -ge 3 ] || fail "only $drawn frames drawn: the start and the key are missing ($line)"

# Without any key the caret has stopped blinking after ten seconds: a rest of 6 s more
# draws nothing at all. The count is read from a second run cut at 11 s and at 17 s.
start_demo "$binary"
sleep 11
kill -TERM "$program_pid"
wait_for_exit "$program_pid"
early=$(awk '/^frames drawn/ { print $3 }' "$work_dir/tesmora.out")
start_demo "$binary"
sleep 17
kill -TERM "$program_pid"
wait_for_exit "$program_pid"
late=$(awk '/^frames drawn/ { print $3 }' "$work_dir/tesmora.out")
[ -n "$early" ] && [ -n "$late" ] || fail "no frame counts ($early, $late)"
[ $((late - early)) -le 2 ] || fail "$early frames drawn in 11 s, $late in 17 s: the rest after the blink draws"
echo "idle_frames: ok ($drawn drawn in 15 s after a key; $early in 11 s and $late in 17 s untouched)"
