# Start-up in a real window: a directory with resources/ and no settings.txt gives the
# default dark blue background through the gamma round trip; "-i" shows the red overlay
# at the bottom left; SIGTERM ends the program with status 0.
source "$(dirname "$0")/common.bash"
require_tools
binary=$1
source_dir=$2
run_under_xvfb "$@"
window_test_setup
cp -r "$source_dir/resources" "$work_dir/"
cd "$work_dir"

start_program plain "$binary" -c
find_window tesmora
sleep 1
take_screenshot
# A spot of the empty editor region: the background (0, 0, 0.5) shows as (0, 0, 128) or
# (0, 0, 127): 0.5 lies exactly between two levels, and the half-float frame may round
# either way.
expect_pixel 520 600 0 0 128 1
red=$(count_pixels 10 640 300 120 "r>0.7&&g<0.3&&b<0.3")
[ "$red" -eq 0 ] || fail "red pixels at the bottom left without the overlay ($red)"
kill -TERM "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "SIGTERM gave exit status $exit_status"

start_program overlay "$binary" -c -i
find_window tesmora
sleep 1
take_screenshot
red=$(count_pixels 10 640 300 120 "r>0.7&&g<0.3&&b<0.3")
[ "$red" -gt 200 ] || fail "no red overlay text at the bottom left ($red red pixels)"
# The overlay grows upwards from y = 16: nothing red below the last line.
below=$(count_pixels 10 760 300 8 "r>0.7&&g<0.3&&b<0.3")
[ "$below" -eq 0 ] || fail "overlay text below its last line ($below red pixels)"
kill -INT "$program_pid"
wait_for_exit "$program_pid"
[ "$exit_status" -eq 0 ] || fail "SIGINT gave exit status $exit_status"
echo "startup: ok"
