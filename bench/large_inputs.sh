#!/usr/bin/env bash
# Writes the large inputs that the benchmarks and the output comparisons share into DIR:
#   large.c    at least 5 MB of real C: the stb single-file libraries, then large C API
#              headers of this machine (the same file every run on the same machine);
#   large10.c  the same text repeated up to at least 10 MB (the memory figure);
#   large.cpp  libstdc++'s bits/ headers, about 4 MB of real C++;
#   large.vnt  the vantrel samples repeated to about 2 MB;
#   large.glsl the GLSL samples repeated to about 1 MB;
#   binary.c, binary.vnt, binary.glsl  256 KB of a machine binary, as hostile input.
# Usage: bench/large_inputs.sh DIR
set -euo pipefail
dir=${1:?usage: large_inputs.sh DIR}
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$dir"

file=$dir/large.c
: > "$file"
for f in /usr/include/stb/*.h /usr/include/GL/glext.h /usr/include/sqlite3.h /usr/include/epoxy/gl_generated.h \
         /usr/include/xcb/xproto.h /usr/include/valgrind/valgrind.h /usr/include/python3.11/*.h; do
  if [ -f "$f" ]; then cat "$f" >> "$file"; fi
done
for f in /usr/include/linux/*.h /usr/include/*.h; do
  [ "$(stat -c %s "$file")" -ge 5242880 ] && break
  cat "$f" >> "$file"
done

: > "$dir/large10.c"
while [ "$(stat -c %s "$dir/large10.c")" -lt 10485760 ]; do cat "$file" >> "$dir/large10.c"; done

: > "$dir/large.cpp"
for f in /usr/include/c++/*/bits/*.h /usr/include/c++/*/bits/*.tcc; do
  if [ -f "$f" ]; then cat "$f" >> "$dir/large.cpp"; fi
done

repeat() {  # repeat OUT BYTES FILE...
  local out=$1 size=$2; shift 2
  : > "$out"
  while [ "$(stat -c %s "$out")" -lt "$size" ]; do cat "$@" >> "$out"; done
}
repeat "$dir/large.vnt" 2000000 "$root"/examples/vantrel_sample/*.vnt "$root"/examples/demo/*.vnt "$root"/examples/lexical/sample.vnt
repeat "$dir/large.glsl" 1000000 "$root"/examples/glsl_sample/*.glsl "$root"/examples/demo/shade.glsl "$root"/examples/lexical/sample.glsl

for ext in c vnt glsl; do head -c 262144 /usr/bin/bash > "$dir/binary.$ext"; done
