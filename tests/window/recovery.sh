# Crash recovery in a real window: text typed and then lost to kill -9 comes back at the
# next start as an unsaved change with a notice, the file on disk untouched; SIGTERM with
# a modified document ends the program within a second and leaves its recovery file.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
cp demo/main.vnt "$work_dir/main.vnt.before"

keyword="rgb(102,158,255)" background="rgb(28,31,36)" text="rgb(224,224,219)" panel="rgb(40,43,51)"
recovery_dir=$XDG_STATE_HOME/tesmora/recovery
last_row_top=$((80 + 27 * 19))
# The notice: a panel over the bottom of the editor region.
notice_pixels() { count_color 200 700 340 50 "$panel" 2%; }
recovered_files() { ls "$recovery_dir" 2>/dev/null | grep -c '\.recovery$'; }

start_demo "$binary"
wait_until 10 "main.vnt's text not drawn" on_screen at_least 200 count_color 226 80 326 100 "$keyword"
click_at 500 700
type_text "################"
wait_until 5 "the typed text does not show" on_screen at_least 300 count_color 226 "$last_row_top" 326 19 "$text" 12%
sleep 2
[ "$(recovered_files)" -eq 1 ] || fail "no recovery file 2 s after the edit"
grep -q "################" "$recovery_dir"/*.recovery || fail "the recovery file lacks the last keys 2 s after them"
kill -KILL "$program_pid"
wait_for_exit "$program_pid"
cmp -s demo/main.vnt "$work_dir/main.vnt.before" || fail "the crash changed main.vnt"

start_demo "$binary"
wait_until 10 "main.vnt's text not drawn after the restart" on_screen at_least 200 count_color 226 80 326 100 "$keyword"
wait_until 5 "the recovered text is not back" on_screen at_least 300 count_color 226 "$last_row_top" 326 19 "$text" 12%
wait_until 5 "no notice of the recovered changes" on_screen at_least 3000 notice_pixels
wait_for_line "$work_dir/tesmora.out" "recovered unsaved changes of main.vnt"
cmp -s demo/main.vnt "$work_dir/main.vnt.before" || fail "the restart wrote main.vnt before any save"

# SIGTERM: no question, the recovery file is brought up to date and the program ends.
type_text "@@@@"
sleep 0.2
start=$(date +%s%N)
kill -TERM "$program_pid"
wait_for_exit "$program_pid" 5
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
[ "$exit_status" -eq 0 ] || fail "exit status $exit_status after SIGTERM"
[ "$elapsed_ms" -le 1000 ] || fail "SIGTERM took $elapsed_ms ms"
grep -q "@@@@" "$recovery_dir"/*.recovery || fail "the recovery file lacks what was typed before SIGTERM"
grep -q "################" "$recovery_dir"/*.recovery || fail "the recovery file lost the recovered text"
cmp -s demo/main.vnt "$work_dir/main.vnt.before" || fail "SIGTERM wrote main.vnt"
echo "recovery: ok ($elapsed_ms ms to end on SIGTERM)"
