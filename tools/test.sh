#!/usr/bin/env bash
# Installs what is missing, builds tesmora with its tests (warnings as errors) and runs
# every test:
#   0. the include check of the layers (tools/check_layers.sh);
#   1. the whole suite (unit, scripted-frame and real-window tests) in a normal build;
#   2. the unit and scripted-frame tests again under AddressSanitizer + UndefinedBehaviorSanitizer;
#   3. the threaded tests (analysis hand-over, source cache, a short whole-program soak
#      with the analysis thread) under ThreadSanitizer;
#   4. every fuzz target for a short time from its seed corpus.
# TESMORA_SOAK=1 makes the soak tests run at full length (minutes); TESMORA_FUZZ_SECONDS
# sets the time per fuzz target (default 10).
# TESMORA_QUICK=1 runs the layer check and step 1 only.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/install_packages.sh
jobs=$(nproc)

echo "== layers"
bash tools/check_layers.sh

echo "== build and test"
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESMORA_WERROR=ON >/dev/null
ninja -C build-test
ctest --test-dir build-test --output-on-failure -j "$jobs"
[ "${TESMORA_QUICK:-}" = 1 ] && exit 0

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESMORA_WERROR=ON \
  -DTESMORA_SANITIZE=address,undefined -DTESMORA_WINDOW=OFF -DTESMORA_TOOLS=OFF >/dev/null
ninja -C build-asan tesmora_tests tesmora-analyze
ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== ThreadSanitizer (threaded tests)"
CC=clang CXX=clang++ cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESMORA_WERROR=ON \
  -DTESMORA_SANITIZE=thread -DTESMORA_WINDOW=OFF -DTESMORA_TOOLS=OFF >/dev/null
ninja -C build-tsan tesmora_tests
TESMORA_SOAK_FRACTION=500 TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  build-tsan/tests/tesmora_tests --gtest_filter='ThreadFixture.*:ApplicationFrames.*:SourceCache*:*Threaded*:SoakSession.*'

echo "== fuzz targets from their corpora"
bash fuzz/run "${TESMORA_FUZZ_SECONDS:-10}"
