#!/usr/bin/env bash
# Opening a 100 MB C file: time from process start to the first frame, and the memory the
# open document costs (resident memory with it open, less the same program with an empty
# project). The file is real C (the stb headers of the libstb-dev package) repeated to
# exactly 100,000,000 bytes. Runs under Xvfb when there is no display.
# Usage: bench/large_file.sh [PROGRAM] [WORK_DIR]   (default build-bench/tesmora, /tmp/tesmora_large)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build-bench/tesmora}")
work=${2:-/tmp/tesmora_large}
mkdir -p "$work"
if [ "$(stat -c %s "$work/big.c" 2>/dev/null || echo 0)" != 100000000 ]; then
  while :; do cat /usr/include/stb/*.h; done 2>/dev/null | head -c 100000000 >"$work/big.c" || true
fi
printf 'tabs 1\n1 1 big.c\nfiles 1\n1 big.c\nnodes 1\n1 0 big.c\n' >"$work/big.project"
printf 'tabs 0\nfiles 0\nnodes 0\n' >"$work/empty.project"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1024x768x24' bash "$0" "$program" "$work"
fi
rss_after() {  # PROJECT -> VmRSS in kB four seconds after start
  "$program" "$1" >/dev/null 2>&1 &
  local pid=$!
  sleep 4
  awk '/VmRSS/ {print $2}' /proc/$pid/status
  kill -TERM $pid
  wait $pid 2>/dev/null || true
}
echo "open 100 MB C file, process start to first frame:"
python3 bench/startup_driver.py "$program" "$work/big.project" 5
empty=$(rss_after "$work/empty.project")
big=$(rss_after "$work/big.project")
echo "resident kB: empty project $empty, with the 100 MB file $big, difference $((big - empty))" \
  "($(awk -v d=$((big - empty)) 'BEGIN {printf "%.2f", d * 1024 / 100000000}') x the file)"
