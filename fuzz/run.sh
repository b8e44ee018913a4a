#!/usr/bin/env bash
# Runs fuzz targets of a fuzz build one after the other and merges what each
# run found into its committed corpus (only inputs that add coverage).
#
#   cmake --preset fuzz && cmake --build --preset fuzz --target fuzz_targets
#   fuzz/run.sh [-t SECONDS] [TARGET...]      (default: 600 s, every target)
#
# Each target starts from fuzz/corpus/<name> (fuzz_image_bmp uses
# image-bmp) in a scratch copy; crashes are left as crash-*/leak-*/timeout-*
# files in the scratch directory, whose path is printed, and the last lines
# of each log (executions, cov, ft, corpus) are printed as the run ends.
set -euo pipefail

seconds=600
if [ "${1:-}" = "-t" ]; then
    seconds=$2
    shift 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
bin_dir=${ORVO_FUZZ_BUILD:-$source_dir/build/fuzz}/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_comments fuzz_archive fuzz_settings fuzz_search
             fuzz_image_bmp fuzz_image_gif fuzz_image_ico fuzz_image_load)
fi
scratch=$(mktemp -d "${TMPDIR:-/tmp}/orvo-fuzz.XXXXXX")
echo "scratch: $scratch"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

for target in "${targets[@]}"; do
    name=${target#fuzz_}
    corpus=$source_dir/fuzz/corpus/${name//_/-}
    work=$scratch/$name
    mkdir -p "$work/corpus" "$work/artifacts"
    cp "$corpus"/* "$work/corpus/"
    status=0
    nice -n 10 "$bin_dir/$target" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" \
        >"$work/log" 2>&1 || status=$?
    echo "== $target (exit $status)"
    grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|stat::number_of_executed_units|SUMMARY' "$work/log" || true
    ls "$work/artifacts"
    # Only inputs that add coverage join the committed corpus.
    nice -n 10 "$bin_dir/$target" -merge=1 "$corpus" "$work/corpus" >"$work/merge.log" 2>&1 || true
    grep -E 'MERGE-OUTER: [0-9]+ new files' "$work/merge.log" || true
done
