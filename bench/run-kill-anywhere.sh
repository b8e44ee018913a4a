#!/usr/bin/env bash
# The long form of the kill test (tests/fileops/kill-anywhere.sh): hundreds
# of orvo cp, mv, rm and comment saves killed at random moments, over
# several seeds; prints each seed's figures and fails when any run found a
# fault. Any build works; a sanitizer build also catches memory errors of
# the runs that were not killed.
# Usage: bench/run-kill-anywhere.sh BUILD_DIR [KILLS_PER_SEED] [SEEDS...]
set -u
build=${1:?usage: run-kill-anywhere.sh BUILD_DIR [KILLS_PER_SEED] [SEEDS...]}
kills=${2:-100}
shift $(( $# >= 2 ? 2 : 1 ))
seeds=${*:-"1 2 3"}
orvo=$build/src/app/orvo
[ -x "$orvo" ] || { echo "no $orvo: build first" >&2; exit 1; }
here=$(cd "$(dirname "$0")" && pwd)
status=0
for seed in $seeds; do
    "$here/../tests/fileops/kill-anywhere.sh" "$orvo" "$kills" "$seed" || status=1
done
exit $status
