#!/usr/bin/env bash
# `orvo ls` on a directory of 100 000 entries against find printing the same
# fields (size, time, mode, name), alternating the two after a warm-up of
# each; then the peak memory per listed entry.
# Usage: bench/run-listing.sh RELEASE_BUILD_DIR [PAIRS]
set -euo pipefail
build=${1:?usage: run-listing.sh RELEASE_BUILD_DIR [PAIRS]}
pairs=${2:-11}
orvo=$build/src/app/orvo
[ -x "$orvo" ] || { echo "no $orvo: build the release preset first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ORVO_HOME=$work/home # a new options file: the comment file is hidden
dir=$work/big
mkdir -p "$dir" "$work/empty"
entries=100000
(
    cd "$dir"
    # 99 000 files of three kinds and 1 000 directories: names that share
    # long prefixes, as camera and log folders do.
    awk 'BEGIN { for (i = 1; i <= 99000; i++)
                     printf "%s_%06d.%s\n", (i % 3 ? "photo" : "Report"), i, (i % 2 ? "jpg" : "txt") }' |
        xargs touch
    seq -f "Folder %04g" 1 1000 | tr '\n' '\0' | xargs -0 mkdir
)
[ "$(find "$dir" -mindepth 1 -maxdepth 1 | wc -l)" -eq $entries ] || { echo "corpus not made" >&2; exit 1; }

run_orvo() { "$orvo" ls "$dir" > /dev/null; }
run_find() { find "$dir" -maxdepth 1 -printf '%s %T@ %m %f\n' > /dev/null; }
now() { date +%s%N; }

run_orvo; run_find # warm-up: the directory and its inodes in the cache
orvo_times=(); find_times=(); ratios=()
for ((i = 0; i < pairs; i++)); do
    t0=$(now); run_orvo; t1=$(now); run_find; t2=$(now)
    orvo_times+=($(( (t1 - t0) / 1000 ))); find_times+=($(( (t2 - t1) / 1000 )))
    ratios+=("$(awk -v a=$((t1 - t0)) -v b=$((t2 - t1)) 'BEGIN { printf "%.3f", a / b }')")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

peak() { /usr/bin/time -f %M "$orvo" ls "$1" 2>&1 > /dev/null | tail -1; }
full=$(peak "$dir"); base=$(peak "$work/empty")

echo "orvo ls vs find -printf, $entries entries, $pairs pairs, locale ${LC_ALL:-${LC_COLLATE:-${LANG:-C}}}"
echo "  orvo ls median: $(median "${orvo_times[@]}") us"
echo "  find median:    $(median "${find_times[@]}") us"
echo "  median ratio:   $(median "${ratios[@]}") (goal: at most 1.5)"
echo "  peak memory:    $full KB listing, $base KB empty directory, " \
     "$(( (full - base) * 1024 / entries )) bytes per entry"
