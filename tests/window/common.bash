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
