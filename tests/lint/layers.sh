#!/usr/bin/env bash
# Fails when a source or test file includes a folder of a higher layer, or
# when core code includes widgets. The layers come lowest first on the
# command line (the top CMakeLists.txt declares them once); a file belongs
# to the layer of its first folder under src/ or tests/, so tests/browse/
# obeys the same rule as src/browse/. src/app/ and tests/app/ sit on top.
#
#   layers.sh ROOT LAYER...    (ROOT holds src/ and tests/)
set -u
root=${1:?usage: layers.sh ROOT LAYER...}
shift
[ $# -gt 0 ] || { echo "usage: layers.sh ROOT LAYER..." >&2; exit 2; }

# Checked in one awk run: a shell loop over a few thousand include lines
# would make the lint the slowest test of the suite.
files=$(cd "$root" && find src tests -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' \
    -o -name '*.cc' \) | sort)
[ -n "$files" ] || { echo "no sources under $root"; exit 2; }

report=$(cd "$root" && printf '%s\n' "$files" | xargs awk -v layers="$*" '
BEGIN {
    n = split(layers, names, " ")
    for (i = 1; i <= n; i++) rank[names[i]] = i
    rank["app"] = n + 1
}
FNR == 1 {
    split(FILENAME, part, "/")
    own = part[2]
    dir = FILENAME; sub(/\/[^\/]*$/, "", dir)
    core = (FILENAME !~ /(^|\/)ui\//) && own != "app"
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
    inc = $0
    sub(/^[^"]*"/, "", inc); sub(/".*$/, "", inc)
    # A path relative to the file (a test helper of another test folder)
    # is judged by where it leads.
    if (inc ~ /^\.\.\//) {
        path = dir "/" inc
        while (path ~ /[^\/]+\/\.\.\//) sub(/[^\/]+\/\.\.\//, "", path)
        split(path, p, "/"); target = p[2]; widget = (path ~ /(^|\/)ui\//)
    } else {
        split(inc, p, "/"); target = p[1]; widget = (inc ~ /(^|\/)ui\//)
    }
    if (!(own in rank) || !(target in rank)) next
    if (rank[target] > rank[own])
        printf "%s:%d: %s (layer %s) includes \"%s\" of the higher layer %s\n", \
            FILENAME, FNR, FILENAME, own, inc, target
    else if (core && widget)
        printf "%s:%d: core file %s includes the widgets \"%s\"\n", FILENAME, FNR, FILENAME, inc
}')

if [ -n "$report" ]; then
    echo "includes against the layer order ($*):"
    echo "$report"
    exit 1
fi
echo "every include keeps the layer order: $*"
