#!/usr/bin/env bash
# Installs what is missing, builds tesmora with its tests and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/install_packages.sh
jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build-test
ctest --test-dir build-test --output-on-failure -j "$jobs"
