#!/usr/bin/env bash
# Checks that every include under src/ points to its own folder or a lower layer:
#   core, memory < platform < render < syntax < analysis < editor < workbench < app
# with these finer rules: syntax uses only render's colour type; analysis uses neither
# render, editor nor workbench; the language folders of analysis (vantrel, cpp, glsl)
# never include one another, and the C-family code they share (analysis/c_family)
# includes none of them; the
# platform back-ends (sdl_gl, headless) never include one another.
# Prints every include that breaks a rule, then the include graph between folders
# (count of includes per pair); exits 1 when any rule is broken.
# Usage: tools/check_layers.sh [--graph-only]
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
    case $1 in
        core | memory) echo 0 ;;
        platform) echo 1 ;;
        render) echo 2 ;;
        syntax) echo 3 ;;
        analysis) echo 4 ;;
        editor) echo 5 ;;
        workbench) echo 6 ;;
        app) echo 7 ;;
        *) echo -1 ;;
    esac
}

# "file included-path" for every quoted include of the project's own headers.
includes=$(grep -rHo --include='*.cpp' --include='*.h' '^#include "[a-z_]*/[^"]*"' src |
    sed -E 's/:#include "([^"]*)"/ \1/')

violations=0
report() {
    echo "layer violation: $1 includes $2 ($3)"
    violations=$((violations + 1))
}

while read -r file target; do
    [ -n "$file" ] || continue
    from=$(echo "$file" | cut -d/ -f2)
    to=${target%%/*}
    from_rank=$(rank "$from")
    to_rank=$(rank "$to")
    [ "$to_rank" -ge 0 ] || continue
    if [ "$to_rank" -gt "$from_rank" ]; then
        report "$file" "$target" "points up"
        continue
    fi
    if [ "$from" = syntax ] && [ "$to" = render ] && [ "$target" != render/color.h ]; then
        report "$file" "$target" "syntax may use only render's colour type"
    fi
    if [ "$from" = analysis ] && [ "$to" = render ]; then
        report "$file" "$target" "analysis is plain data: no render"
    fi
    if [ "$from" = analysis ] && [ "$to" = analysis ]; then
        sub_from=$(echo "$file" | cut -d/ -f3)
        sub_to=$(echo "$target" | cut -d/ -f2)
        case $sub_to in vantrel | cpp | glsl) ;; *) sub_to= ;; esac
        if [ "$sub_from" = c_family ] && [ -n "$sub_to" ]; then
            report "$file" "$target" "shared C-family code knows no single language"
        fi
        case $sub_from in vantrel | cpp | glsl) ;; *) sub_from= ;; esac
        if [ -n "$sub_from" ] && [ -n "$sub_to" ] && [ "$sub_from" != "$sub_to" ]; then
            report "$file" "$target" "language folders do not include one another"
        fi
    fi
    if [ "$from" = platform ] && [ "$to" = platform ]; then
        sub_from=$(echo "$file" | cut -d/ -f3)
        sub_to=$(echo "$target" | cut -d/ -f2)
        case $sub_from in sdl_gl | headless) ;; *) sub_from= ;; esac
        case $sub_to in sdl_gl | headless) ;; *) sub_to= ;; esac
        if [ -n "$sub_from" ] && [ -n "$sub_to" ] && [ "$sub_from" != "$sub_to" ]; then
            report "$file" "$target" "back-ends do not include one another"
        fi
    fi
done <<<"$includes"

echo "include graph (from -> to: includes):"
echo "$includes" | awk '{ split($1, f, "/"); split($2, t, "/"); if (f[2] != t[1]) n[f[2] " -> " t[1]]++ }
    END { for (k in n) print "  " k ": " n[k] }' | sort
if [ "$violations" -gt 0 ]; then
    echo "$violations include(s) break the layers"
    exit 1
fi
echo "layers: ok"
