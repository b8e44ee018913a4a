#!/usr/bin/env bash
# orvo-browser's own options are answered before any window is made, so no
# display is needed; Qt's options are let through, others refused.
set -u
browser=$1
src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1"; echo "  expected: $(printf %q "$3")"; echo "  got:      $(printf %q "$2")"; fail=1; fi; }
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export ORVO_HOME=$tmp/home
run() { timeout 60 "$browser" "$@" > "$tmp/out" 2> "$tmp/err"; }

version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
run --version; check "--version status" "$?" "0"
check "--version" "$(cat "$tmp/out")" "orvo-browser $version"
run -style=Fusion --platform offscreen -reverse --version
check "Qt's options are not mistakes" "$?:$(cat "$tmp/out")" "0:orvo-browser $version"

run --help; check "--help status" "$?" "0"
check "--help writes nothing on stderr" "$(cat "$tmp/err")" ""
check "usage line" "$(head -1 "$tmp/out")" "usage: orvo-browser [OPTION]... [LIST.orl | DIRECTORY]..."
for option in $(grep -o -- '--[a-z-]*' "$tmp/out" | sort -u); do
    [ "$option" = -- ] && continue
    grep -qF -- "${option//-/\\-}" "$src/dist/man/orvo-browser.1" || { echo "FAIL orvo-browser.1 does not describe $option"; fail=1; }
done
check "-h is --help" "$(timeout 60 "$browser" -h)" "$(cat "$tmp/out")"

mistake() { # NAME MESSAGE ARGS...
    local name=$1 message=$2; shift 2
    run "$@"; check "$name: status" "$?" "2"
    check "$name: message" "$(head -1 "$tmp/err")" "$message"
    [ -e "$ORVO_HOME" ] && { echo "FAIL $name: the program started"; fail=1; }
}
mistake "unknown option" "orvo-browser: unknown option --frobnicate" --frobnicate
mistake "unknown option after a list" "orvo-browser: unknown option -x" a.orl -x
mistake "Qt option without its value" "orvo-browser: -platform needs a value" -platform
mistake "Qt option joined to a value Qt would not see" \
    "orvo-browser: unknown option -platform=offscreen" -platform=offscreen
exit $fail
