#!/usr/bin/env bash
# The C/C++ analysis against universal-ctags on one large real C file made of this
# machine's headers (the stb single-file libraries with their implementations, then
# large C API headers), at least 5 MB:
#   - time: tesmora-analyze's own lex + parse + resolve time and its whole process,
#     against the whole ctags process tagging the same file (best of RUNS each);
#   - declaration recall: the share of the functions that "ctags -x --c-kinds=f" lists
#     which appear as procedure rows of tesmora-analyze's outline (the same for
#     prototypes, --c-kinds=p), with the names missed;
#   - peak use of pool_parser (Google Benchmark program, bench/cpp_analysis_bench.cpp).
# Usage: bench/cpp_analysis_bench.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-cpp-bench}
runs=${2:-7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The same large C file as bench/run's (bench/large_inputs.sh writes it with the others).
bench/large_inputs.sh "$work"
file=$work/large.c
bytes=$(stat -c %s "$file")
echo "input: $bytes bytes, $(wc -l < "$file") lines"

cmake -S . -B "$build" -G Ninja -DTESMORA_WINDOW=OFF -DTESMORA_TOOLS=OFF -DTESMORA_TESTS=OFF -DTESMORA_BENCH=ON >/dev/null
ninja -C "$build" tesmora-analyze tesmora_bench >/dev/null
analyze=$build/tesmora-analyze

best() { sort -g | head -1; }
# Wall and CPU (user + system) seconds of one process, from GNU time.
# Usage: timed OUTPUT COMMAND...: the command's output goes to OUTPUT.
timed() { local out=$1; shift; /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" > "$out"; awk '{ printf "%.1f %.1f\n", $1 * 1000, ($2 + $3) * 1000 }' "$work/time"; }

# Alternate the two tools so that both see the same machine load; CPU time is the fairer
# figure on a busy machine.
: > "$work/ours_internal"; : > "$work/ours"; : > "$work/ctags"
for i in $(seq "$runs"); do
  timed "$work/stats" "$analyze" --stats --no-spans --no-outline "$file" >> "$work/ours"
  timed /dev/null ctags -f /dev/null --language-force=C "$file" >> "$work/ctags"
  sed -n 's/.*total_ms=\([0-9.]*\).*/\1/p' "$work/stats" >> "$work/ours_internal"
done
ours_internal=$(best < "$work/ours_internal")
ours_wall=$(awk '{ print $1 }' "$work/ours" | best)
ours_cpu=$(awk '{ print $2 }' "$work/ours" | best)
ctags_wall=$(awk '{ print $1 }' "$work/ctags" | best)
ctags_cpu=$(awk '{ print $2 }' "$work/ctags" | best)
echo "time (best of $runs, ms): analysis (lex+parse+resolve, wall) $ours_internal"
echo "  tesmora-analyze process: wall $ours_wall, cpu $ours_cpu"
echo "  ctags process:           wall $ctags_wall, cpu $ctags_cpu"
grep stats "$work/stats"
awk -v a="$ours_internal" -v w="$ours_wall" -v c="$ctags_wall" -v oc="$ours_cpu" -v cc="$ctags_cpu" \
  'BEGIN { printf "ratio to ctags: analysis/ctags wall %.2f, process wall %.2f, process cpu %.2f (goal: at most 0.50)\n", a / c, w / c, oc / cc }'

"$analyze" --no-spans "$file" | awk '$1 == "outline" && $3 == "cylinder" { print $5 }' | sort -u > "$work/ours"
for kind in f p; do
  ctags -x --c-kinds=$kind --language-force=C "$file" | awk '{ print $1 }' | sort -u > "$work/ctags_$kind"
  total=$(wc -l < "$work/ctags_$kind")
  found=$(comm -12 "$work/ctags_$kind" "$work/ours" | wc -l)
  awk -v f="$found" -v t="$total" -v k="$kind" 'BEGIN { printf "recall of ctags kind %s: %d of %d (%.1f%%)\n", k, f, t, t ? 100 * f / t : 0 }'
  echo "missed ($kind): $(comm -23 "$work/ctags_$kind" "$work/ours" | head -30 | tr '\n' ' ')"
done

CPP_BENCH_FILE="$file" "$build/bench/tesmora_bench" --benchmark_filter=BM_CppAnalysis --benchmark_repetitions=1 \
  2>/dev/null | grep -E "BM_CppAnalysis|Benchmark"
