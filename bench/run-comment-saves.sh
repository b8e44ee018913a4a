#!/usr/bin/env bash
# What comment-file saves cost and whether writers of several processes lose
# each other's changes. Copies the file-operation tree (FILES files in 200
# directories, every directory and every tenth file commented) once onto a
# fresh target (comment files copied whole, no save) and once onto a tree
# of the same directories whose comment files are empty (each merged: one
# save per directory); then four `orvo comment set` processes each setting
# PER comments in one directory at once, counting the comments kept.
# Saves flush to the disk, so this runs on the work disk, never a tmpfs; as
# root with ORVO_BENCH_FS=ext4 on a fresh journalled ext4 loop image.
# Usage: [ORVO_BENCH_FS=ext4] bench/run-comment-saves.sh BUILD_DIR [RUNS] [FILES] [PER]
set -euo pipefail
build=${1:?usage: run-comment-saves.sh BUILD_DIR [RUNS] [FILES] [PER]}
runs=${2:-5}
files=${3:-2000}
per=${4:-200}
orvo=${ORVO:-$build/src/app/orvo} # ORVO: another binary, to compare
corpus=$build/bench/bench_fileops_corpus
[ -x "$orvo" ] && [ -x "$corpus" ] || { echo "no $orvo or $corpus: build orvo and bench_fileops_corpus first" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/var/tmp}/orvo-saves.XXXXXX")
mounted=0
cleanup() {
    if [ $mounted -eq 1 ]; then umount "$work"; fi
    rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM
place="the work disk ($(df -T "$work" | awk 'NR == 2 { print $2 }'))"
if [ "$(id -u)" -eq 0 ] && [ "${ORVO_BENCH_FS:-}" = ext4 ]; then
    image=$(mktemp)
    truncate -s 1G "$image"
    mkfs.ext4 -q -F "$image"
    mount -o loop "$image" "$work"
    rm -f "$image"
    mounted=1
    place="a fresh ext4 loop image"
fi
export ORVO_HOME=$work/home

"$corpus" "$work/src" "$files" > /dev/null
ms() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%d", (e - s) * 1000 }'; }
now() { date +%s.%N; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

fresh=(); merged=()
for ((i = 0; i < runs; i++)); do
    rm -rf "$work/o"; mkdir -p "$work/o"; sync
    s=$(now); "$orvo" cp --yes "$work/src" "$work/o" </dev/null 2>/dev/null; e=$(now)
    fresh+=($(ms $s $e))
    find "$work/o" -name dir_info.orb -exec truncate -s 0 {} +; sync
    s=$(now); "$orvo" cp --yes "$work/src" "$work/o" </dev/null 2>/dev/null; e=$(now)
    merged+=($(ms $s $e))
    cmp -s "$work/src/album 3/part 4/dir_info.orb" "$work/o/src/album 3/part 4/dir_info.orb" ||
        { echo "comments not merged" >&2; exit 1; }
done
echo "comment saves on $place, $files files in 200 directories, $runs runs"
echo "  orvo cp onto a fresh target (no save):        median $(median "${fresh[@]}") ms"
echo "  orvo cp onto empty comment files (200 saves): median $(median "${merged[@]}") ms"

mkdir -p "$work/c"
for p in 1 2 3 4; do for ((i = 0; i < per; i++)); do : > "$work/c/p${p}_$i"; done; done
s=$(now)
for p in 1 2 3 4; do
    (for ((i = 0; i < per; i++)); do "$orvo" comment set "$work/c/p${p}_$i" "c $p $i" || true; done) &
done
wait
e=$(now)
kept=$("$orvo" comment list "$work/c" | wc -l)
echo "  4 processes x $per orvo comment set in one directory: $kept of $((4 * per)) kept, $(ms $s $e) ms"
