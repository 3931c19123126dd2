#!/usr/bin/env bash
# GLSL built-in coverage over real shaders gathered at run time (nothing is kept in the
# repository): the shaders of the Debian package glmark2-data and the shader chunks of
# the npm package three (GLSL inside JavaScript template strings, taken out of them).
# An identifier outside comments and directives whose name is in the built-in table of
# REFERENCE_SOURCE (by default this tree's src/analysis/glsl/glsl_builtins.cpp) counts;
# it is covered when tesmora-analyze colours it as that kind of built-in (type keyword,
# global variable, function) and the shader does not declare the name itself.
# Usage: bench/glsl_builtin_coverage.sh TESMORA_ANALYZE [CORPUS_DIR] [REFERENCE_SOURCE]
set -euo pipefail
analyze=$(realpath "${1:?usage: glsl_builtin_coverage.sh TESMORA_ANALYZE [CORPUS_DIR] [REFERENCE_SOURCE]}")
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${2:-}
reference=${3:-$root/src/analysis/glsl/glsl_builtins.cpp}
if [ -z "$corpus" ]; then
  corpus=$(mktemp -d)
  trap 'rm -rf "$corpus"' EXIT
fi
mkdir -p "$corpus"
corpus=$(realpath "$corpus")
if [ ! -d /usr/share/glmark2/shaders ]; then
  apt-get update -qq >/dev/null && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq glmark2-data >/dev/null
fi
if [ -z "$(ls "$corpus"/*.glsl 2>/dev/null)" ]; then
  for f in /usr/share/glmark2/shaders/*.vert /usr/share/glmark2/shaders/*.frag; do
    cp "$f" "$corpus/glmark2_$(basename "$f").glsl"
  done
  (cd "$corpus" && npm pack three --silent >/dev/null 2>&1 && tar -xzf three-*.tgz package/src/renderers/shaders &&
   for f in package/src/renderers/shaders/ShaderChunk/*.glsl.js package/src/renderers/shaders/ShaderLib/*.glsl.js; do
     python3 -c 'import re, sys
text = open(sys.argv[1]).read()
for i, m in enumerate(re.findall(r"`([^`]*)`", text)):
    open(sys.argv[2] + "_%d.glsl" % i, "w").write(m)' "$f" "three_$(basename "$f" .glsl.js)"
   done; rm -rf package three-*.tgz) || echo "three could not be fetched: glmark2 shaders only" >&2
fi
python3 - "$analyze" "$corpus" "$reference" <<'EOF'
import os, re, subprocess, sys
analyze, corpus, reference = sys.argv[1:4]
source = open(reference).read()
table = {}
for array, key in (("types", "type_keyword"), ("variables", "global_var"), ("functions", "proc")):
    m = re.search(r"glsl_builtin_%s\[[^\]]*\] = \{(.*?)\};" % array, source, re.S)
    for name in re.findall(r'SV\("([A-Za-z_0-9]+)"\)', m.group(1) if m else ""):
        table.setdefault(name, key)
counted = covered = 0
missed = {}
for name in sorted(os.listdir(corpus)):
    if not name.endswith(".glsl"):
        continue
    path = os.path.join(corpus, name)
    text = open(path, "rb").read().decode("latin-1")
    out = subprocess.run([analyze, path], capture_output=True, text=True).stdout.split("\n")
    key = [None] * len(text)
    declared = set()
    for line in out:
        f = line.split()
        if len(f) == 4 and f[0] == "span":
            for i in range(int(f[1]), min(len(text), int(f[1]) + int(f[2]))):
                key[i] = f[3]
        elif len(f) >= 5 and f[0] == "outline":
            declared.add(f[4])
    for m in re.finditer(r"[A-Za-z_][A-Za-z_0-9]*", text):
        word, at = m.group(0), m.start()
        if word not in table or word in declared:
            continue
        if key[at] and ("comment" in key[at] or "directive" in key[at]):
            continue
        if at > 0 and text[at - 1] == ".":
            continue  # a member or swizzle, never a built-in
        counted += 1
        if key[at] == table[word]:
            covered += 1
        else:
            missed[word] = missed.get(word, 0) + 1
print("reference: %d built-in names from %s" % (len(table), os.path.relpath(reference)))
print("shaders: %d files in %s" % (len([n for n in os.listdir(corpus) if n.endswith(".glsl")]), corpus))
print("built-in identifiers: %d, coloured as built-ins: %d (%.1f %%)" % (counted, covered, 100.0 * covered / max(counted, 1)))
print("not coloured (name: occurrences): " + ", ".join("%s: %d" % kv for kv in sorted(missed.items(), key=lambda kv: -kv[1])))
EOF
