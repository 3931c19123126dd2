# The forms of the command line in a real window: --version and --help print and end; a
# project file opens its tabs, and a later start without a path opens that project again;
# a source file opens in a tab of its own; a folder fills the tree with its files; each
# path that is not there gives one message while the good path beside them still opens.
source "$(dirname "$0")/common.bash"
begin_window_test "$@"
copy_demo_project "$source_dir"
export TESMORA_NO_MESSAGE_BOX=1

close_red="rgb(255,0,0)" vantrel_file="rgb(115,179,255)" c_file="rgb(242,128,128)" glsl_file="rgb(115,217,153)"
tabs_are() { [ "$(color_runs x 192 48 360 32 "$close_red" 20%)" -eq "$1" ]; }
# Pixels of a file colour in the file tree.
tree_count() { count_color 0 40 184 460 "$1"; }

# run NAME ARGUMENT...: the program with the arguments, its window found.
run() {
    local name=$1
    shift
    start_program "$name" "$binary" -c "$@"
    find_window tesmora
}
stop() {
    kill -TERM "$program_pid"
    wait_for_exit "$program_pid"
    [ "$exit_status" -eq 0 ] || fail "$1: exit status $exit_status"
    expect_no_line "$work_dir/$1.out" '^(failed|frame buffer error)'
}

timeout 5 "$binary" --version >"$work_dir/version.out" 2>&1 || fail "--version: exit status $?"
grep -Eq '^tesmora [0-9]' "$work_dir/version.out" || fail "--version printed '$(cat "$work_dir/version.out")'"
timeout 5 "$binary" --help >"$work_dir/help.out" 2>&1 || fail "--help: exit status $?"
grep -q '^usage: tesmora' "$work_dir/help.out" || fail "--help printed no usage line"

run project demo/demo.project
wait_until 10 "the project's two tabs did not open" on_screen tabs_are 2
stop project
# No path: the project of the last run (the state directory is the test's own).
run last
wait_until 10 "no path did not open the last project's two tabs" on_screen tabs_are 2
stop last

run source demo/shade.glsl
wait_until 10 "the source file did not open in one tab" on_screen tabs_are 1
[ "$(tree_count "$glsl_file")" -ge 40 ] || fail "shade.glsl is not in the tree"
[ "$(tree_count "$vantrel_file")" -eq 0 ] || fail "files of another language in the tree of shade.glsl"
stop source

mkdir -p folder/inner && echo 'proc f() { }' >folder/one.vnt && echo 'int g(void);' >folder/inner/two.c
run folder folder
wait_until 10 "the folder's files are not in the tree" on_screen at_least 40 tree_count "$vantrel_file"
[ "$(tree_count "$c_file")" -ge 40 ] || fail "the folder's sub-folder file two.c is not in the tree"
[ "$(tree_count "$glsl_file")" -eq 0 ] || fail "a file from outside the folder is in the tree"
stop folder

run bad /nowhere/a.vnt demo/util.c /nowhere/b/c.glsl
wait_until 10 "the good path beside two bad ones did not open" on_screen tabs_are 1
[ "$(tree_count "$c_file")" -ge 40 ] || fail "util.c is not in the tree"
[ "$(grep -c '^error: ' "$work_dir/bad.err")" -eq 2 ] || fail "not one message per bad path: $(cat "$work_dir/bad.err")"
grep -q '/nowhere/a.vnt' "$work_dir/bad.err" && grep -q '/nowhere/b/c.glsl' "$work_dir/bad.err" ||
    fail "the messages do not name the bad paths: $(cat "$work_dir/bad.err")"
stop bad
echo "command line: ok"
