#!/usr/bin/env bash
# Fails when a core folder (anything under src/ but a ui/ folder or src/app/)
# includes a Qt header: the core must build and test without a display.
set -u
src=${1:?usage: core-has-no-qt.sh SRC_DIR}
hits=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/)' "$src" \
    --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
    | grep -vE '(^|/)ui/' | grep -vE "^$src/app/")
if [ -n "$hits" ]; then
    echo "Qt headers included in core folders:"
    echo "$hits"
    exit 1
fi
echo "core folders are free of Qt"
