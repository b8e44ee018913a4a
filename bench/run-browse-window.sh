#!/usr/bin/env bash
# A browse window opening a directory of 100 000 entries, against the core
# listing of the same directory.
set -euo pipefail
build=${1:?usage: run-browse-window.sh RELEASE_BUILD_DIR}
"$build/bench/bench_browse_window" "${2:-100000}" "${3:-7}"
