#!/usr/bin/env bash
# Declaration recall of the C/C++ analysis against universal-ctags over real code that
# this script gathers at run time (nothing of it is kept in the repository):
#   - C library headers from Debian packages (zlib's OF((...)) prototypes, libpng,
#     libcurl, SDL2, GLib, X11);
#   - the SQLite amalgamation (several MB of C with platform #if/#else branches), from
#     the npm package better-sqlite3.
# For each file: ctags' functions and prototypes ("ctags -x --c-kinds=fp") against the
# procedure rows of tesmora-analyze's outline; a ctags entry is found when a row has its
# name on its line (within one line), or has its name anywhere when ctags lists that name
# once. Then CPU times of both tools on the largest file, and every name missed.
# Usage: bench/cpp_recall.sh TESMORA_ANALYZE [CORPUS_DIR]
#   CORPUS_DIR is filled once and reused (default: a temporary directory).
set -euo pipefail
analyze=$(realpath "${1:?usage: cpp_recall.sh TESMORA_ANALYZE [CORPUS_DIR]}")
corpus=${2:-}
if [ -z "$corpus" ]; then
  corpus=$(mktemp -d)
  trap 'rm -rf "$corpus"' EXIT
fi
mkdir -p "$corpus"
corpus=$(realpath "$corpus")

need_packages=()
command -v ctags >/dev/null || need_packages+=(universal-ctags)
include_of() { for d in /usr/include /usr/include/x86_64-linux-gnu /usr/include/*-linux-gnu; do
  [ -f "$d/$1" ] && { echo "$d/$1"; return; }; done; }
for pair in zlib.h:zlib1g-dev png.h:libpng-dev curl/curl.h:libcurl4-openssl-dev SDL2/SDL_video.h:libsdl2-dev \
            glib-2.0/glib/gstrfuncs.h:libglib2.0-dev X11/Xlib.h:libx11-dev; do
  [ -n "$(include_of "${pair%%:*}")" ] || need_packages+=("${pair#*:}")
done
if [ ${#need_packages[@]} -gt 0 ]; then
  echo "installing ${need_packages[*]}" >&2
  apt-get update -qq >/dev/null && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need_packages[@]}" >/dev/null
fi

headers="zlib.h png.h curl/curl.h curl/multi.h SDL2/SDL_video.h SDL2/SDL_render.h SDL2/SDL_audio.h
         glib-2.0/glib/gstrfuncs.h glib-2.0/glib/ghash.h glib-2.0/glib/gmain.h X11/Xlib.h X11/Xutil.h"
for h in $headers; do
  from=$(include_of "$h")
  [ -n "$from" ] && cp "$from" "$corpus/$(echo "$h" | tr '/' '_' | sed 's/^glib-2.0_//')"
done
if [ ! -f "$corpus/sqlite3.c" ]; then
  (cd "$corpus" && npm pack better-sqlite3 --silent >/dev/null 2>&1 && tar -xzf better-sqlite3-*.tgz &&
   cp package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h . ; rm -rf package better-sqlite3-*.tgz) ||
    echo "better-sqlite3 could not be fetched: no SQLite amalgamation" >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${2:-}" ] || rm -rf "$corpus"' EXIT
python3 - "$analyze" "$corpus" "$work" <<'EOF'
import collections, os, subprocess, sys
analyze, corpus, work = sys.argv[1:4]
files = sorted(f for f in os.listdir(corpus) if f.endswith(('.h', '.c')))
total_found = total_all = 0
misses = []
print("| file | bytes | ctags f+p | found | recall |")
print("| --- | --- | --- | --- | --- |")
for name in files:
    path = os.path.join(corpus, name)
    tags = subprocess.run(["ctags", "-x", "--c-kinds=fp", "--language-force=C", "--_xformat=%N %n", path],
                          capture_output=True, text=True).stdout.split("\n")
    tags = [(t.split()[0], int(t.split()[1])) for t in tags if len(t.split()) == 2]
    out = subprocess.run([analyze, "--no-spans", path], capture_output=True, text=True).stdout.split("\n")
    rows = collections.defaultdict(set)
    for line in out:
        f = line.split(" ")
        if len(f) >= 5 and f[0] == "outline" and f[2] == "cylinder":
            rows[" ".join(f[4:])].add(int(f[3]))
    counts = collections.Counter(n for n, _ in tags)
    found = 0
    for n, l in tags:
        lines = rows.get(n, set())
        if any(abs(l - x) <= 1 for x in lines) or (counts[n] == 1 and lines):
            found += 1
        else:
            misses.append((name, l, n))
    total_found += found
    total_all += len(tags)
    share = 100.0 * found / len(tags) if tags else 100.0
    print(f"| {name} | {os.path.getsize(path)} | {len(tags)} | {found} | {share:.1f} % |")
share = 100.0 * total_found / total_all if total_all else 100.0
print(f"| all | | {total_all} | {total_found} | {share:.2f} % |")
with open(os.path.join(work, "misses"), "w") as m:
    for f, l, n in misses:
        m.write(f"{f}:{l} {n}\n")
EOF

largest=$(ls -S "$corpus"/*.c "$corpus"/*.h 2>/dev/null | head -1)
cpu() { /usr/bin/time -f "%U %S" -o "$work/time" "$@" >/dev/null 2>&1; awk '{ printf "%.0f\n", ($1 + $2) * 1000 }' "$work/time"; }
: >"$work/ours"; : >"$work/ctags"
for i in 1 2 3 4 5; do
  cpu "$analyze" --no-spans --no-outline "$largest" >>"$work/ours"
  cpu ctags -f /dev/null --language-force=C "$largest" >>"$work/ctags"
done
ours=$(sort -g "$work/ours" | sed -n 3p); theirs=$(sort -g "$work/ctags" | sed -n 3p)
echo
echo "CPU on $(basename "$largest") ($(stat -c %s "$largest") bytes), median of 5: tesmora-analyze $ours ms," \
  "ctags $theirs ms, ratio $(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", b ? a / b : 0 }') (goal: at most 0.50)"
echo
echo "missed ($(wc -l <"$work/misses")): file:line name"
cat "$work/misses"
