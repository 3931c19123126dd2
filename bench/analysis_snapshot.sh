#!/usr/bin/env bash
# Writes what tesmora-analyze reports (spans and outline, full analysis and --lexical) for
# every regression input into OUTDIR, one file per input and mode, so that two builds can
# be compared byte for byte:  diff -r BEFORE AFTER.
# Inputs: the example samples, tests/data/cpp_regression, the demo project's files with
# their project (source cache filled), and the large inputs of bench/large_inputs.sh.
# Usage: bench/analysis_snapshot.sh BUILD_DIR OUTDIR [LARGE_INPUTS_DIR]
set -euo pipefail
build=${1:?usage: analysis_snapshot.sh BUILD_DIR OUTDIR [LARGE_INPUTS_DIR]}
out=${2:?usage: analysis_snapshot.sh BUILD_DIR OUTDIR [LARGE_INPUTS_DIR]}
root=$(cd "$(dirname "$0")/.." && pwd)
analyze=$(cd "$build" && pwd)/tesmora-analyze
large=${3:-}
if [ -z "$large" ]; then
  large=$(mktemp -d)
  trap 'rm -rf "$large"' EXIT
  "$root/bench/large_inputs.sh" "$large"
fi
mkdir -p "$out"

snap() {  # snap NAME ARGS...: both modes of one run
  local name=$1; shift
  "$analyze" "$@" > "$out/$name.full" 2>&1 || echo "exit $?" >> "$out/$name.full"
  "$analyze" --lexical "$@" > "$out/$name.lexical" 2>&1 || echo "exit $?" >> "$out/$name.lexical"
}

cd "$root"
for f in examples/*/*.vnt examples/*/*.c examples/*/*.h examples/*/*.cpp examples/*/*.hpp examples/*/*.glsl \
         examples/*/*.txt tests/data/cpp_regression/*; do
  [ -f "$f" ] && snap "$(echo "$f" | tr '/' '_')" "$f"
done
for p in examples/*/*.project; do
  d=$(dirname "$p")
  for f in $(cat "$d/sources.txt"); do
    snap "project_$(basename "$d")_$f" --project "$p" "$d/$f"
  done
done
for f in "$large"/*; do snap "large_$(basename "$f")" "$f"; done
echo "$(ls "$out" | wc -l) outputs in $out"
