#!/usr/bin/env bash
# Runs the layer lint on small trees: it must pass on a tree that keeps the
# order and fail, naming the file, on each way of breaking it.
set -u
lint=${1:?usage: layers-selftest.sh LAYERS_SH}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

tree() { # tree NAME FILE=LINE...: a fresh tree whose files hold one include each
    local dir=$work/$1; shift
    rm -rf "$dir"; mkdir -p "$dir/src" "$dir/tests"
    for entry in "$@"; do
        local file=${entry%%=*} line=${entry#*=}
        mkdir -p "$dir/$(dirname "$file")"
        printf '#pragma once\n%s\n' "$line" >"$dir/$file"
    done
    echo "$dir"
}

expect() { # expect pass|fail NAME DIR [TEXT]
    local want=$1 name=$2 dir=$3 text=${4:-}
    out=$("$lint" "$dir" low mid high 2>&1); rc=$?
    if { [ "$want" = pass ] && [ $rc -ne 0 ]; } || { [ "$want" = fail ] && [ $rc -eq 0 ]; }; then
        echo "FAILED: $name: expected $want, exit $rc"; echo "$out"; failures=$((failures + 1))
    elif [ -n "$text" ] && ! grep -qF -- "$text" <<<"$out"; then
        echo "FAILED: $name: report lacks '$text'"; echo "$out"; failures=$((failures + 1))
    fi
}

good=$(tree good 'src/low/A.h=#include <string>' 'src/mid/B.cpp=#include "low/A.h"' \
    'src/mid/ui/W.cpp=#include "mid/B.h"' 'src/high/ui/V.cpp=#include "mid/ui/W.h"' \
    'src/app/cli/Main.cpp=#include "high/ui/V.h"' 'tests/mid/BTest.cpp=#include "low/A.h"' \
    'tests/mid/Helper.h=#include "../low/Fixture.h"' 'tests/lint/X.cpp=#include "high/H.h"')
expect pass "a tree in order" "$good"

expect fail "core includes a higher layer" \
    "$(tree up 'src/low/A.cpp=#include "mid/B.h"')" 'src/low/A.cpp:2'
expect fail "a test includes a higher layer" \
    "$(tree testup 'tests/mid/BTest.cpp=#include "high/ui/V.h"')" 'tests/mid/BTest.cpp:2'
expect fail "a test reaches a higher test folder" \
    "$(tree testrel 'tests/low/ui/T.cpp=#include "../../high/Helper.h"')" 'tests/low/ui/T.cpp'
expect fail "core includes widgets of its own layer" \
    "$(tree widgets 'src/mid/B.cpp=#include "mid/ui/W.h"')" 'core file src/mid/B.cpp'
expect fail "a layer includes the programs" \
    "$(tree app 'src/high/H.cpp=#include "app/cli/Main.h"')" 'src/high/H.cpp'

if [ $failures -ne 0 ]; then
    echo "$failures case(s) failed"
    exit 1
fi
echo "the layer lint catches every broken order it was shown"
