#!/usr/bin/env bash
# Installs what is missing, builds tesmora and starts it on the bundled example project.
# Without a display it runs under Xvfb, saves a screenshot of the window and prints its path.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/install_packages.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESMORA_TESTS=OFF >/dev/null
ninja -C build-release tesmora >/dev/null
project=examples/demo/demo.project
if [ -n "${DISPLAY:-}" ]; then
  exec build-release/tesmora "$project"
fi
shot="$root/shot-demo.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" "$2" & pid=$!
  for i in $(seq 1 100); do xdotool search --name "^tesmora$" >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 2
  import -window root "$3"
  kill -TERM $pid; wait $pid' _ build-release/tesmora "$project" "$shot"
echo "screenshot: $shot"
