# Shared helpers of the real-window tests (sourced, not run). Each test runs inside its
# own Xvfb server (Mesa's llvmpipe draws), talks to the window with xdotool, reads the
# screen with ImageMagick and the clipboard with xclip.

window_test_name=$(basename "$0" .sh)

fail() {
    echo "FAIL ($window_test_name): $*" >&2
    exit 1
}

# Exit status 77 marks the test as skipped when the X tools are not installed.
require_tools() {
    local tool
    for tool in xvfb-run Xvfb xdotool import convert xclip "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP ($window_test_name): $tool is not installed" >&2
            exit 77
        fi
    done
}

# Re-runs the calling script inside a fresh X server, once.
run_under_xvfb() {
    if [ -z "${TESMORA_IN_XVFB:-}" ]; then
        export TESMORA_IN_XVFB=1
        exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
    fi
}

# A scratch directory removed on exit; started programs are ended with it.
window_test_setup() {
    work_dir=$(mktemp -d)
    # Recovery files of this test's program stay in its own scratch directory.
    export XDG_STATE_HOME=$work_dir/state
    # take_screenshot always writes here, also from inside $(...) where its variable is lost.
    screenshot=$work_dir/shot.png
    started_pids=()
    trap window_test_cleanup EXIT
}

window_test_cleanup() {
    local pid
    for pid in "${started_pids[@]}"; do
        kill -KILL "$pid" 2>/dev/null
    done
    rm -rf "$work_dir"
}

# Starts a program in the background with its output in $work_dir/NAME.out and .err.
# Sets `program_pid`.
start_program() {
    local name=$1
    shift
    "$@" >"$work_dir/$name.out" 2>"$work_dir/$name.err" &
    program_pid=$!
    started_pids+=("$program_pid")
}

# wait_for_line FILE PATTERN [SECONDS]: waits until a line of FILE matches the extended
# regular expression PATTERN.
wait_for_line() {
    local file=$1 pattern=$2 seconds=${3:-10}
    local deadline=$((SECONDS + seconds))
    while [ $SECONDS -le $deadline ]; do
        grep -Eq -- "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "--- $file:" >&2
    cat "$file" >&2
    fail "no line matching '$pattern' in $(basename "$file") within ${seconds}s"
}

expect_no_line() {
    local file=$1 pattern=$2
    if grep -Eq -- "$pattern" "$file"; then
        fail "unexpected line matching '$pattern' in $(basename "$file"): $(grep -E -- "$pattern" "$file" | head -1)"
    fi
}

# wait_for_exit PID [SECONDS]: sets `exit_status`, failing when the program does not end.
wait_for_exit() {
    local pid=$1 seconds=${2:-10}
    local deadline=$((SECONDS + seconds))
    while kill -0 "$pid" 2>/dev/null; do
        [ $SECONDS -le $deadline ] || fail "program $pid still runs after ${seconds}s"
        sleep 0.1
    done
    wait "$pid"
    exit_status=$?
}

# find_window TITLE: sets `window_id` and the window's screen position `window_x`, `window_y`.
find_window() {
    window_id=$(timeout 20 xdotool search --sync --name "^$1\$" | head -1)
    [ -n "$window_id" ] || fail "no window named '$1'"
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window_id")"
    window_x=$X
    window_y=$Y
}

# Keyboard events go to the focused window; there is no window manager to give it focus.
focus_window() {
    xdotool windowfocus --sync "$window_id" || fail "cannot focus window $window_id"
}

take_screenshot() {
    screenshot=$work_dir/shot.png
    import -window root "$screenshot" || fail "screenshot failed"
    if [ -n "${TESMORA_WINDOW_ARTIFACTS:-}" ]; then
        mkdir -p "$TESMORA_WINDOW_ARTIFACTS"
        cp "$screenshot" "$TESMORA_WINDOW_ARTIFACTS/$window_test_name.png"
    fi
}

# expect_pixel X Y R G B [TOLERANCE]: the screenshot's colour at window pixel (X, Y),
# y from the top, in 0..255 per channel.
expect_pixel() {
    local x=$(($1 + window_x)) y=$(($2 + window_y)) r=$3 g=$4 b=$5 tolerance=${6:-2}
    local p="p{$x,$y}"
    local got
    got=$(convert "$screenshot" -format "%[fx:round(255*$p.r)] %[fx:round(255*$p.g)] %[fx:round(255*$p.b)]" info:)
    local actual=($got)
    local expected=("$r" "$g" "$b")
    local i difference
    for i in 0 1 2; do
        difference=$((actual[i] - expected[i]))
        [ ${difference#-} -le "$tolerance" ] || fail "pixel ($1, $2) is ($got), expected ($r $g $b)"
    done
}

# count_pixels X Y WIDTH HEIGHT FX: number of pixels of a window region (y from the top)
# of the screenshot for which the ImageMagick expression FX is true.
count_pixels() {
    local x=$(($1 + window_x)) y=$(($2 + window_y))
    convert "$screenshot" -crop "${3}x${4}+${x}+${y}" +repage -fx "$5" -format "%[fx:round(mean*w*h)]" info:
}

# ---- The program on a copy of the demo project -------------------------------------------

# absolute_path PATH: the path made absolute, for programs started after a `cd`.
absolute_path() {
    case $1 in
        /*) echo "$1" ;;
        *) echo "$PWD/$1" ;;
    esac
}

# begin_window_test BINARY SOURCE_DIR: the start of every real-window test: the tools
# checked, the script re-run inside a fresh X server, a scratch directory; sets $binary
# and $source_dir to absolute paths.
begin_window_test() {
    require_tools
    binary=$(absolute_path "$1")
    source_dir=$(absolute_path "$2")
    run_under_xvfb "$@"
    window_test_setup
}

# copy_demo_project SOURCE_DIR: puts what the program reads at start-up (resources, themes,
# colours, settings) and a copy of examples/demo into $work_dir and changes there, so that
# a test never writes into the source tree. The project is then demo/demo.project.
copy_demo_project() {
    local source_dir=$1
    cp -r "$source_dir/resources" "$source_dir/themes" "$source_dir/coloring.txt" "$source_dir/settings.txt" \
        "$work_dir/" || fail "cannot copy the program's files from $source_dir"
    cp -r "$source_dir/examples/demo" "$work_dir/demo" || fail "cannot copy the demo project"
    cd "$work_dir" || fail "cannot enter $work_dir"
}

# start_demo BINARY [OPTION...]: starts the program with the system pointer on the demo
# project (copy_demo_project first), finds its window and gives it the keyboard.
start_demo() {
    local binary=$1
    shift
    start_program tesmora "$binary" -c "$@" demo/demo.project
    find_window tesmora
    # The window may not be mapped yet when it is first found.
    local try
    for try in 1 2 3 4 5 6 7 8 9 10; do
        timeout 3 xdotool windowfocus --sync "$window_id" 2>/dev/null && return 0
        sleep 0.3
    done
    fail "cannot give window $window_id the keyboard"
}

# ---- Waiting for the screen ----------------------------------------------------------------

# wait_until SECONDS DESCRIPTION COMMAND...: runs COMMAND every 0.2 s until it succeeds;
# fails with DESCRIPTION (and keeps the last screenshot among the artifacts) when it does
# not within SECONDS.
wait_until() {
    local seconds=$1 description=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    last_count=
    while ! "$@"; do
        if [ $SECONDS -gt $deadline ]; then
            keep_failure_screenshot
            fail "$description (not within ${seconds}s${last_count:+; last count $last_count})"
        fi
        sleep 0.2
    done
}

keep_failure_screenshot() {
    [ -n "${TESMORA_WINDOW_ARTIFACTS:-}" ] && [ -f "${screenshot:-}" ] || return 0
    mkdir -p "$TESMORA_WINDOW_ARTIFACTS"
    cp "$screenshot" "$TESMORA_WINDOW_ARTIFACTS/$window_test_name-failed.png"
}

# count_color X Y WIDTH HEIGHT COLOR [FUZZ]: pixels of a window region (y from the top) of
# the screenshot within FUZZ (default 8%) of COLOR (any ImageMagick colour, for example
# "rgb(0,255,102)"). Much faster than count_pixels; COLOR must not be near pure white.
count_color() {
    local x=$(($1 + window_x)) y=$(($2 + window_y))
    convert "$screenshot" -crop "${3}x${4}+${x}+${y}" +repage -alpha off -fill black -opaque white \
        -fuzz "${6:-8%}" -fill white -opaque "$5" -fuzz 0 -fill black +opaque white \
        -format "%[fx:round(mean*w*h)]" info:
}

# color_profile AXIS X Y WIDTH HEIGHT COLOR [FUZZ]: one line per column (AXIS x) or row
# (AXIS y) of the region, 1 where it holds a pixel of COLOR and 0 where not.
color_profile() {
    local axis=$1 x=$(($2 + window_x)) y=$(($3 + window_y)) width=$4 height=$5 color=$6 fuzz=${7:-8%}
    local shape="${width}x1!"
    [ "$axis" = y ] && shape="1x${height}!"
    convert "$screenshot" -crop "${width}x${height}+${x}+${y}" +repage -alpha off -fill black -opaque white \
        -fuzz "$fuzz" -fill white -opaque "$color" -fuzz 0 -fill black +opaque white \
        -scale "$shape" -threshold 0 -depth 8 txt:- |
        awk 'NR > 1 { print ($0 ~ /#000000/) ? 0 : 1 }'
}

# color_runs AXIS X Y WIDTH HEIGHT COLOR [FUZZ]: how many separate runs of columns or rows
# hold COLOR: things side by side, such as tab entries, or one above the other, such as
# list rows.
color_runs() {
    color_profile "$@" | awk '{ if ($1 && !before) runs++; before = $1 } END { print runs + 0 }'
}

# color_first AXIS X Y WIDTH HEIGHT COLOR [FUZZ]: the window coordinate of the first column
# or row of the region that holds COLOR, -1 when none does.
color_first() {
    local start=$2
    [ "$1" = y ] && start=$3
    color_profile "$@" | awk -v start="$start" '$1 { print start + NR - 1; found = 1; exit } END { if (!found) print -1 }'
}

# count_other X Y WIDTH HEIGHT COLOR [FUZZ]: pixels of the region farther than FUZZ from
# COLOR, such as anything drawn on a background (pure black pixels are not counted).
count_other() {
    local x=$(($1 + window_x)) y=$(($2 + window_y))
    convert "$screenshot" -crop "${3}x${4}+${x}+${y}" +repage -alpha off -fuzz "${6:-8%}" -fill black \
        -opaque "$5" -fuzz 0 -fill white +opaque black -format "%[fx:round(mean*w*h)]" info:
}

# at_least N COMMAND...: whether the number COMMAND prints is N or more; for wait_until.
at_least() {
    local wanted=$1 got
    shift
    got=$("$@") || return 1
    last_count=$got
    [ "$got" -ge "$wanted" ]
}

# at_most N COMMAND...: whether the number COMMAND prints is N or less.
at_most() {
    local wanted=$1 got
    shift
    got=$("$@") || return 1
    last_count=$got
    [ "$got" -le "$wanted" ]
}

# on_screen COMMAND...: takes a screenshot, then runs COMMAND on it; for wait_until, as
# `wait_until 5 "..." on_screen at_least 10 count_color ...`.
on_screen() {
    take_screenshot
    "$@"
}

# ---- Input ---------------------------------------------------------------------------------

# click_at X Y [COUNT]: moves the pointer to window pixel (X, Y), y from the top, and clicks
# the primary button COUNT times (a double click for 2).
click_at() {
    xdotool mousemove --window "$window_id" "$1" "$2" || fail "cannot move the pointer"
    sleep 0.1
    xdotool click --repeat "${3:-1}" --delay 80 1 || fail "cannot click"
}

# keys KEY...: presses keys or chords (xdotool names, "ctrl+s") one after the other.
keys() {
    xdotool key --delay 60 "$@" || fail "xdotool key $* failed"
}

# type_text TEXT: types TEXT as key presses.
type_text() {
    xdotool type --delay 30 -- "$1" || fail "xdotool type failed"
}

# file_contains FILE TEXT: whether FILE holds TEXT (fixed string); for wait_until.
file_contains() {
    grep -qF -- "$2" "$1" 2>/dev/null
}

# clipboard_is TEXT: whether the X clipboard holds exactly TEXT; for wait_until.
clipboard_is() {
    clipboard=$(timeout 3 xclip -o -selection clipboard 2>/dev/null)
    [ "$clipboard" = "$1" ]
}

# mean_level X Y WIDTH HEIGHT: the mean grey level (0..255) of a window region of the
# screenshot, to tell a bright (active, hovered) widget from a dim one.
mean_level() {
    local x=$(($1 + window_x)) y=$(($2 + window_y))
    convert "$screenshot" -crop "${3}x${4}+${x}+${y}" +repage -colorspace gray -format "%[fx:round(255*mean)]" info:
}

# expect_no_message_box [NAME]: no message box (written to standard error as "title: text")
# and no resource or GPU failure line (standard output) from the program started as NAME
# (default tesmora). Other lines, such as a driver's warnings, are let through.
expect_no_message_box() {
    local name=${1:-tesmora}
    expect_no_line "$work_dir/$name.err" '^(error|Error|document too large): '
    expect_no_line "$work_dir/$name.out" '^(failed|frame buffer error)'
}
