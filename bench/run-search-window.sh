#!/usr/bin/env bash
# A search window finding 100 000 hits against the engine alone, with the
# longest pause of the window's event loop while the hits stream in.
set -euo pipefail
build=${1:?usage: run-search-window.sh RELEASE_BUILD_DIR [FILES] [PAIRS]}
"$build/bench/bench_search_window" "${2:-100000}" "${3:-5}"
