#!/bin/sh
# Rebuilds the resource generator and regenerates everything under resources/.
#   tools/make_resources.sh [FONT.ttf]
# Environment: BUILD_DIR overrides the build folder (default build-tools).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
font=${1:-/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf}
build=${BUILD_DIR:-$root/build-tools}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DTESMORA_WINDOW=OFF -DTESMORA_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target resource_generator
cd "$root"
mkdir -p resources
"$build/tools/resource_generator" --font "$font" --out resources
