#!/usr/bin/env bash
# tesmora builds and Geany side by side under Xvfb, measured from outside by the same probe
# (../shared/tools/xprobe.c): the same 1024 x 768 window, a small C file and a ~9.5 MB C
# file, the programs taking turns in every round so that all of them see the same load.
#
# Per program and file: start-up (xprobe startup: first content, stable content), key to
# pixels (xprobe latency: 20 digits through XTest, each undone with BackSpace; median and
# p90), CPU at rest over 10 s focused right after a key (caret blinking), focused 12 s later
# (tesmora's caret has stopped blinking), and unfocused (utime + stime of /proc/PID/stat,
# the process with all its threads), RSS and Pss (/proc/PID/smaps_rollup) after the
# program settled (the large file analysed). tesmora runs with TESMORA_FRAME_COUNT, so the
# frames it drew are reported too.
#
# Usage: bench/xprobe_compare.sh [--rounds N] [--out DIR] NAME=TESMORA_BINARY...
#   e.g. bench/xprobe_compare.sh before=/tmp/before21/build-rel/tesmora after=build-release/tesmora
# Needs Xvfb (xvfb-run), geany, gcc and libx11-dev, libxext-dev, libxtst-dev. Prints one
# Markdown table of medians over the rounds; raw outputs stay in DIR (default
# build-bench/xprobe).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=2
out=$root/build-bench/xprobe
programs=()
while [ $# -gt 0 ]; do
    case $1 in
        --rounds) rounds=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        *=*) programs+=("$1"); shift ;;
        *) echo "usage: $0 [--rounds N] [--out DIR] NAME=TESMORA_BINARY..." >&2; exit 2 ;;
    esac
done
[ ${#programs[@]} -gt 0 ] || { echo "usage: $0 [--rounds N] [--out DIR] NAME=TESMORA_BINARY..." >&2; exit 2; }
for tool in xvfb-run geany gcc; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done

if [ -z "${XPROBE_IN_XVFB:-}" ]; then
    export XPROBE_IN_XVFB=1
    mkdir -p "$out"
    # Binaries made absolute before the run changes directory.
    args=(--rounds "$rounds" --out "$(cd "$out" && pwd)")
    for p in "${programs[@]}"; do
        b=${p#*=}
        case $b in /*) ;; *) b=$PWD/$b ;; esac
        args+=("${p%%=*}=$b")
    done
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "${args[@]}"
fi

probe=$out/xprobe
gcc -O2 -o "$probe" "$root/../shared/tools/xprobe.c" -lX11 -lXext -lXtst || exit 2
clock_ticks=$(getconf CLK_TCK)

# ---- The files ---------------------------------------------------------------------------
# Each file starts with an empty line: the caret is there at start-up in both editors.
work=$out/work
rm -rf "$work"
mkdir -p "$work"
cp -r "$root/resources" "$root/themes" "$root/coloring.txt" "$work/"
[ -f "$root/settings.txt" ] && cp "$root/settings.txt" "$work/"
{ echo; cat "$root/examples/demo/util.c"; } >"$work/small.c"
# About 9.5 MB of real C: the stb libraries and C API headers of this machine, repeated.
large_parts=()
for f in /usr/include/stb/*.h /usr/include/GL/glext.h /usr/include/sqlite3.h /usr/include/linux/*.h; do
    [ -f "$f" ] && large_parts+=("$f")
done
echo >"$work/large.c"
while [ "$(stat -c %s "$work/large.c")" -lt 9961472 ]; do cat "${large_parts[@]}" >>"$work/large.c"; done
truncate -s 9961472 "$work/large.c"
for name in small large; do
    printf 'tabs 1\n1 1 %s.c\nfiles 1\n1 %s.c\nnodes 0\nsources %s.sources\n' "$name" "$name" "$name" \
        >"$work/$name.project"
    echo "$name.c" >"$work/$name.sources"
    mkdir -p "$work/geany-$name"
    printf '[geany]\ngeometry=0;0;1024;768;0;\n' >"$work/geany-$name/geany.conf"
done

# ---- Measuring one program ------------------------------------------------------------------
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
cpu_seconds_over() {  # cpu_seconds_over PID SECONDS
    local a b
    a=$(cpu_ticks "$1")
    sleep "$2"
    b=$(cpu_ticks "$1")
    awk -v a="$a" -v b="$b" -v hz="$clock_ticks" 'BEGIN { printf "%.3f", (b - a) / hz }'
}
memory_mb() {  # memory_mb PID FIELD
    awk -v f="$2:" '$1 == f { printf "%.1f", $2 / 1024 }' "/proc/$1/smaps_rollup"
}

# command_of NAME FILE: the command line of a program on small or large.
command_of() {
    local name=$1 file=$2 p
    if [ "$name" = geany ]; then
        echo "geany -c $work/geany-$file -i $work/$file.c"
        return
    fi
    for p in "${programs[@]}"; do
        [ "${p%%=*}" = "$name" ] && echo "${p#*=} $file.project"
    done
}

# measure NAME FILE ROUND: one line "key=value ..." into $out/results.txt.
measure() {
    local name=$1 file=$2 round=$3 log=$out/$name-$file-$round
    local command settle=3
    [ "$file" = large ] && settle=10
    command=$(command_of "$name" "$file")
    cd "$work" || exit 2
    rm -rf "$work/state"
    export XDG_STATE_HOME=$work/state

    # Start-up, in a process of its own that the probe ends.
    TESMORA_FRAME_COUNT=1 "$probe" startup --dur $((settle + 3)) --settle 2 -- $command >"$log.startup" 2>&1
    local first stable
    first=$(sed -n 's/^region=window first_content_ms=\([0-9.]*\) stable_ms=\([0-9.]*\).*/\1/p' "$log.startup")
    stable=$(sed -n 's/^region=window first_content_ms=\([0-9.]*\) stable_ms=\([0-9.]*\).*/\2/p' "$log.startup")

    TESMORA_FRAME_COUNT=1 $command >"$log.out" 2>&1 &
    local pid=$!
    local window
    window=$("$probe" findwin "$pid" 30) || { echo "no window: $name $file" >&2; kill -KILL "$pid"; return; }
    "$probe" focus "$window"
    sleep "$settle"
    local rss pss
    rss=$(memory_mb "$pid" Rss)
    pss=$(memory_mb "$pid" Pss)
    "$probe" latency --pid "$pid" --keys 20 --area 0,0,1,0.3 --undo-key BackSpace --label "$name-$file" --xtest \
        >"$log.latency" 2>&1
    local median p90
    median=$(sed -n 's/.* median_ms=\([0-9.]*\) p90_ms=\([0-9.]*\).*/\1/p' "$log.latency")
    p90=$(sed -n 's/.* median_ms=\([0-9.]*\) p90_ms=\([0-9.]*\).*/\2/p' "$log.latency")
    # At rest: the 10 s right after the last key (the caret blinks), then 10 s from 12 s
    # after it (tesmora's caret stands still), then without the focus.
    local blinking resting unfocused
    blinking=$(cpu_seconds_over "$pid" 10)
    sleep 2
    resting=$(cpu_seconds_over "$pid" 10)
    "$probe" focus root
    sleep 1
    unfocused=$(cpu_seconds_over "$pid" 10)
    # Geany asks about the modified document on SIGTERM: it gets 5 s, then SIGKILL.
    kill -TERM "$pid"
    local waited
    for waited in 1 2 3 4 5 6 7 8 9 10; do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    local frames
    frames=$(awk '/^frames drawn/ { print $3 }' "$log.out")
    echo "name=$name file=$file round=$round first_content_ms=$first stable_ms=$stable latency_median_ms=$median" \
        "latency_p90_ms=$p90 idle_blinking_s=$blinking idle_resting_s=$resting idle_unfocused_s=$unfocused" \
        "rss_mb=$rss pss_mb=$pss frames=${frames:--}" | tee -a "$out/results.txt"
}

: >"$out/results.txt"
names=()
for p in "${programs[@]}"; do names+=("${p%%=*}"); done
names+=(geany)
for round in $(seq 1 "$rounds"); do
    for file in small large; do
        for name in "${names[@]}"; do measure "$name" "$file" "$round"; done
    done
    # The next round starts with another program, so that none always runs first.
    names=("${names[@]:1}" "${names[0]}")
done

# ---- The table: medians over the rounds -----------------------------------------------------
echo
echo "| program | file | key to pixels median / p90 (ms) | CPU at rest, focused, caret blinking (s / 10 s) | focused, 12 s after the key | unfocused | RSS / Pss (MB) | first content / stable (ms) |"
echo "|---|---|---|---|---|---|---|---|"
for file in small large; do
    for name in "${names[@]}"; do
        awk -v n="$name" -v f="$file" '
            function median(key,   i, j, t, c) {
                c = count[key]
                for (i = 1; i <= c; i++) for (j = i + 1; j <= c; j++)
                    if (v[key, j] < v[key, i]) { t = v[key, i]; v[key, i] = v[key, j]; v[key, j] = t }
                if (c == 0) return "-"
                return c % 2 ? v[key, (c + 1) / 2] : (v[key, c / 2] + v[key, c / 2 + 1]) / 2
            }
            {
                split("", kv)
                for (i = 1; i <= NF; i++) { split($i, p, "="); kv[p[1]] = p[2] }
                if (kv["name"] != n || kv["file"] != f) next
                for (k in kv) if (kv[k] ~ /^[0-9.]+$/) { count[k]++; v[k, count[k]] = kv[k] + 0 }
            }
            END {
                printf "| %s | %s | %s / %s | %s | %s | %s | %s / %s | %s / %s |\n", n, f,
                    median("latency_median_ms"), median("latency_p90_ms"), median("idle_blinking_s"),
                    median("idle_resting_s"), median("idle_unfocused_s"), median("rss_mb"), median("pss_mb"),
                    median("first_content_ms"), median("stable_ms")
            }' "$out/results.txt"
    done
done
echo
echo "rounds: $rounds; raw lines: $out/results.txt; load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
