#!/usr/bin/env bash
# Record store: save/load/sort of a 100 000-row listing table.
set -euo pipefail
build=${1:?usage: run-store.sh BUILD_DIR}
"$build/bench/bench_store" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
