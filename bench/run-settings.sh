#!/usr/bin/env bash
# Settings: file-group lookups as item drawing makes them, and loading the
# options file at start.
set -euo pipefail
build=${1:?usage: run-settings.sh BUILD_DIR}
"$build/bench/bench_settings" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
