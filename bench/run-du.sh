#!/usr/bin/env bash
# `orvo du` (the size count of the counting mode) on a tree of 200 000 files
# against `du -sk`, alternating the two after a warm-up of each.
# Usage: bench/run-du.sh RELEASE_BUILD_DIR [PAIRS]
set -euo pipefail
build=${1:?usage: run-du.sh RELEASE_BUILD_DIR [PAIRS]}
pairs=${2:-11}
orvo=$build/src/app/orvo
[ -x "$orvo" ] || { echo "no $orvo: build the release preset first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
# 20 top directories, 50 sub-directories each, 200 small files in each of
# those: 200 000 files in 1 020 directories, as a source tree or a photo
# archive has them.
mkdir -p "$tree"
for top in $(seq -w 1 20); do
    for sub in $(seq -w 1 50); do
        d=$tree/top$top/sub$sub
        mkdir -p "$d"
        (cd "$d" && seq -f "file%03g.dat" 1 200 | xargs touch)
    done
done
files=$(find "$tree" -type f | wc -l)
[ "$files" -eq 200000 ] || { echo "corpus not made ($files files)" >&2; exit 1; }

counted=$("$orvo" du "$tree" | sed -n 's/.*(\([0-9]*\) dirs, \([0-9]*\) files.*/\1 \2/p')
[ "$counted" = "1020 200000" ] || { echo "orvo du counted '$counted'" >&2; exit 1; }

run_orvo() { "$orvo" du "$tree" > /dev/null; }
run_du() { du -sk "$tree" > /dev/null; }
now() { date +%s%N; }

run_orvo; run_du # warm-up: the tree's inodes in the cache
orvo_times=(); du_times=(); ratios=()
for ((i = 0; i < pairs; i++)); do
    t0=$(now); run_orvo; t1=$(now); run_du; t2=$(now)
    orvo_times+=($(( (t1 - t0) / 1000 ))); du_times+=($(( (t2 - t1) / 1000 )))
    ratios+=("$(awk -v a=$((t1 - t0)) -v b=$((t2 - t1)) 'BEGIN { printf "%.3f", a / b }')")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "orvo du vs du -sk, $files files in 1 020 directories, $pairs pairs"
echo "  orvo du median: $(median "${orvo_times[@]}") us"
echo "  du -sk median:  $(median "${du_times[@]}") us"
echo "  median ratio:   $(median "${ratios[@]}") (goal: at most 1.2)"
