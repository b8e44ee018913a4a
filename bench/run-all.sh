#!/usr/bin/env bash
# Runs every benchmark script (bench/run-*.sh) against a release build.
# Usage: bench/run-all.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: run-all.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
for script in "$here"/run-*.sh; do
    [ "$script" = "$here/run-all.sh" ] && continue
    echo "== $(basename "$script")"
    "$script" "$build"
done
