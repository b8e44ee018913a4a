#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR as `make install` does and checks
# the tree: the programs, the shipped data, the desktop files agreeing with
# each other, and installed programs that seed a data directory from their
# own prefix even though the source tree they were built from still exists.
# Arguments: BUILD_DIR SOURCE_DIR VERSION APP_ID
set -u
build=$1 src=$2 version=$3 id=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
bad() { echo "FAIL $*"; fail=1; }
unset ORVO_SOURCE_DATA

DESTDIR=$tmp/root cmake --install "$build" --prefix /usr/local >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log"; bad "cmake --install"; exit 1; }
root=$tmp/root/usr/local
share=$root/share

for f in bin/orvo bin/orvo-browser; do [ -x "$root/$f" ] || bad "missing program $f"; done
# Every shipped asset, with its mode (a template script stays executable).
for folder in images help "File types"; do
    (cd "$src/data/$folder" && find . -type f) | while IFS= read -r f; do
        cmp -s "$src/data/$folder/$f" "$share/orvo-browser/$folder/$f" || echo "FAIL data $folder/$f"
        [ ! -x "$src/data/$folder/$f" ] || [ -x "$share/orvo-browser/$folder/$f" ] ||
            echo "FAIL data $folder/$f lost its execute bit"
    done
done | grep . && fail=1

desktop=$share/applications/$id.desktop
[ -f "$desktop" ] || bad "no desktop entry $id.desktop"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for png in "$src"/data/icons/orvo-browser-*.png; do
    size=${png##*-}; size=${size%.png}
    [ -f "$share/icons/hicolor/${size}x$size/apps/$icon.png" ] || bad "no ${size}px icon named $icon"
done
[ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || bad "no scalable icon named $icon"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/bin/$exec" ] || bad "the desktop entry starts $exec, which is not installed"

metainfo=$share/metainfo/$id.metainfo.xml
[ -f "$metainfo" ] || bad "no metainfo $id.metainfo.xml"
grep -q "<id>$id</id>" "$metainfo" || bad "metainfo id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    bad "metainfo does not launch $id.desktop"
name=$(sed -n 's/^Name=//p' "$desktop")
grep -q "<name>$name</name>" "$metainfo" || bad "the menu calls it $name, the metainfo does not"
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || bad "metainfo's newest release is $newest, the project is $version"

# The .orl type: the desktop entry opens the type the package defines, and
# the shared-mime-info database built from it maps the glob to that type.
mimexml=$share/mime/packages/orvo-browser.xml
[ -f "$mimexml" ] || bad "no shared-mime-info package"
type=$(grep -o 'mime-type type="[^"]*"' "$mimexml" | cut -d'"' -f2)
grep -q "^MimeType=.*$type;" "$desktop" || bad "the desktop entry does not open $type"
if command -v update-mime-database >/dev/null; then
    update-mime-database "$share/mime" >"$tmp/mime.log" 2>&1 || { cat "$tmp/mime.log"; bad "mime database"; }
    grep -qx "50:$type:\*\.orl" "$share/mime/globs2" || bad "*.orl is not $type in the built database"
fi

# Man pages and completion, when the tree ships them.
for page in "$src"/dist/man/*.1; do
    [ -e "$page" ] || continue
    ls "$share/man/man1/$(basename "$page")"* >/dev/null 2>&1 || bad "man page $(basename "$page") not installed"
done
if [ -e "$src/dist/bash-completion/orvo" ]; then
    [ -f "$share/bash-completion/completions/orvo" ] || bad "bash completion not installed"
fi

# Installed programs seed a fresh data directory from their own share
# folder (a file only the installed copy holds arrives), without a variable.
echo marker >"$share/orvo-browser/help/installed-only.txt"
export ORVO_HOME=$tmp/cli-home
(cd / && "$root/bin/orvo" options set 'Show Tips' false) || bad "installed orvo does not run"
[ "$(cd / && "$root/bin/orvo" options get 'Show Tips')" = FALSE ] || bad "installed orvo lost an option"
[ -f "$ORVO_HOME/help/installed-only.txt" ] || bad "orvo did not seed from its own prefix"
[ -f "$ORVO_HOME/images/bkgnd.jpg" ] || bad "orvo seeded no background picture"

# The window program starts from outside the source tree and stays up.
export ORVO_HOME=$tmp/gui-home HOME=$tmp/user
mkdir -p "$HOME"
(cd / && QT_QPA_PLATFORM=offscreen exec "$root/bin/orvo-browser") >"$tmp/gui.log" 2>&1 &
pid=$!
for _ in $(seq 100); do
    [ -f "$ORVO_HOME/File types/Text file.txt" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.2
done
if kill -0 $pid 2>/dev/null; then
    [ -f "$ORVO_HOME/help/installed-only.txt" ] || bad "orvo-browser did not seed from its own prefix"
    kill $pid
    wait $pid 2>/dev/null
else
    cat "$tmp/gui.log"
    bad "installed orvo-browser did not stay up"
fi

[ $fail -eq 0 ] && echo "install tree: all checks passed"
exit $fail
