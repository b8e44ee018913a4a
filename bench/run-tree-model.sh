#!/usr/bin/env bash
# The long run of the randomized model test: many steps on several seeds,
# every feature on, the first tree on the work disk and the second on a
# tmpfs of its own (as root). Prints each failing seed with its step and
# the first differences; exits 1 when any seed failed.
# Usage: bench/run-tree-model.sh RELEASE_BUILD_DIR [SEEDS] [STEPS] [ENTRIES]
#   SEEDS: a count (seeds 1..N) or a list like 4,9,12 (default 5)
#   STEPS: steps per seed (default 2000); ENTRIES: the tree's size (default 6000)
set -euo pipefail
build=${1:?usage: run-tree-model.sh RELEASE_BUILD_DIR [SEEDS] [STEPS] [ENTRIES]}
seeds=${2:-5}
steps=${3:-2000}
entries=${4:-6000}
runner=$build/tests/fileops/tree_model_test
[ -x "$runner" ] || { echo "no $runner: build the release preset first" >&2; exit 1; }
case $seeds in
*,*) list=$seeds ;;
*) list=$(seq -s, 1 "$seeds") ;;
esac
failed=0
for seed in ${list//,/ }; do
    # One process per seed: a crash in one does not hide the others.
    if ! "$runner" --seeds "$seed" --steps "$steps" --entries "$entries"; then
        echo "seed $seed failed (rerun: $runner --seeds $seed --steps $steps --entries $entries --verbose)"
        failed=$((failed + 1))
    fi
done
if [ $failed -gt 0 ]; then
    echo "$failed failing seed(s)"
    exit 1
fi
echo "all seeds passed"
