# Start-up that cannot succeed ends cleanly: without room for the arenas (a memory limit)
# or without a display, one clear line and exit status 1, never a crash.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"

(ulimit -v 800000; exec "$binary" demo/demo.project) >"$work_dir/limited.out" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "exit status $status under a memory limit: $(cat "$work_dir/limited.out")"
grep -q "not enough memory for the editor's arenas" "$work_dir/limited.out" || fail "no clear message: $(cat "$work_dir/limited.out")"

DISPLAY=:97 SDL_VIDEODRIVER=x11 "$binary" demo/demo.project >"$work_dir/nodisplay.out" 2>&1
status=$?
[ "$status" -eq 1 ] || fail "exit status $status without a display: $(cat "$work_dir/nodisplay.out")"
grep -q "the window cannot be opened" "$work_dir/nodisplay.out" || fail "no clear message: $(cat "$work_dir/nodisplay.out")"
echo "startup failure: ok"
