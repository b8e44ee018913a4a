#!/usr/bin/env bash
# The image viewer painting a 6000 x 4000 photo into a 1600 x 1000 area at
# several zooms while scrolling, against QPainter drawing the same part.
# Usage: bench/run-viewer.sh RELEASE_BUILD_DIR [PAIRS] [FRAMES]
set -euo pipefail
build=${1:?usage: run-viewer.sh RELEASE_BUILD_DIR [PAIRS] [FRAMES]}
QT_QPA_PLATFORM=offscreen "$build/bench/bench_viewer" "${2:-11}" "${3:-30}"
