#!/usr/bin/env bash
# Desktop applications: the lookup the "Open with" submenu and its chooser
# make each time they open.
set -euo pipefail
build=${1:?usage: run-desktop-apps.sh BUILD_DIR}
"$build/bench/bench_desktop_apps" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
