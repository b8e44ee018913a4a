#!/usr/bin/env bash
# `orvo cp` of a tree of 200 000 commented files (about 400 MB) against
# `cp -r`, and `orvo rm` of such a tree against `rm -rf`, alternating the
# two after a warm-up of each. As root, also `orvo mv` of the tree from a
# tmpfs of its own to the work place (a move across file systems) against
# `mv`, and `cp -r` followed by `sync -f`: orvo's copies end with one sync
# of the target and its moves sync before they delete the sources, the
# standard tools do neither. As root the work happens on a tmpfs of its
# own, or with ORVO_BENCH_FS=ext4 on a fresh journalled ext4 loop image
# (either unmounted afterwards); otherwise in a temporary directory of the
# work disk (less stable: see BENCHMARKING.md).
# Usage: [ORVO_BENCH_FS=ext4] bench/run-fileops.sh RELEASE_BUILD_DIR [PAIRS] [FILES]
set -euo pipefail
build=${1:?usage: run-fileops.sh RELEASE_BUILD_DIR [PAIRS] [FILES]}
pairs=${2:-5}
files=${3:-200000}
orvo=$build/src/app/orvo
corpus=$build/bench/bench_fileops_corpus
[ -x "$orvo" ] && [ -x "$corpus" ] || { echo "no $orvo or $corpus: build the release preset first" >&2; exit 1; }

work=$(mktemp -d)
mounted=0
cleanup() {
    if [ $mounted -eq 1 ]; then umount "$work"; fi
    rm -rf "$work"
}
trap cleanup EXIT
trap "exit 1" INT TERM
if [ "$(id -u)" -eq 0 ] && [ "${ORVO_BENCH_FS:-tmpfs}" = ext4 ]; then
    image=$(mktemp)
    truncate -s 6G "$image"
    mkfs.ext4 -q -F -N 1200000 "$image" # room for three trees of small files
    mount -o loop "$image" "$work"
    rm -f "$image" # the mount keeps it until it is unmounted
    mounted=1
    place="a fresh ext4 loop image"
elif [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=3g tmpfs "$work" 2>/dev/null; then
    mounted=1
    place="a tmpfs"
else
    place="the work disk (no tmpfs: not root)"
fi
export ORVO_HOME=$work/home

"$corpus" "$work/src" "$files" > /dev/null
bytes=$(du -sb "$work/src" | cut -f1)
count=$(find "$work/src" -type f | wc -l)

# Each command's wall time and its processor time (user + system), both in
# milliseconds: on a machine shared with builds the processor time is the
# steadier of the two.
timed() {
    if ! /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" </dev/null 2>"$work/err"; then
        echo "failed: $* ($(tail -1 "$work/err"))" >&2
        return 1
    fi
    awk '{ printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000 }' "$work/time"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

copy_orvo() { mkdir -p "$work/o"; timed "$orvo" cp --yes "$work/src" "$work/o"; }
copy_cp() { timed cp -r "$work/src" "$work/c"; }
copy_cp_sync() { timed sh -c 'cp -r "$1" "$2" && sync -f "$2"' sh "$work/src" "$work/c"; }
clear_copies() { rm -rf "$work/o" "$work/c"; }

# Warm-up, and a check that the copy is whole, comments included.
copy_orvo > /dev/null; copy_cp > /dev/null
[ "$(find "$work/o/src" -type f | wc -l)" -eq "$count" ] || { echo "orvo cp copied a different tree" >&2; exit 1; }
cmp -s "$work/src/album 3/part 4/dir_info.orb" "$work/o/src/album 3/part 4/dir_info.orb" || { echo "comments not carried" >&2; exit 1; }
clear_copies

# Pairs of (ours, theirs): wall and processor times and their ratios.
ow=(); oc=(); tw=(); tc=(); rw=(); rc=()
record() {
    [ $# -eq 4 ] || exit 1 # a run failed (said above)
    ow+=($1); oc+=($2); tw+=($3); tc+=($4)
    rw+=($(ratio $1 $3)); rc+=($(ratio $2 $4))
}
report() {
    echo "  $1 median: $(median "${ow[@]}") ms (processor $(median "${oc[@]}") ms)   $2 median: $(median "${tw[@]}") ms (processor $(median "${tc[@]}") ms)"
    echo "  median ratio: wall $(median "${rw[@]}"), processor $(median "${rc[@]}") (goal: at most $3)"
    ow=(); oc=(); tw=(); tc=(); rw=(); rc=()
}

echo "file operations on $place: $count files, $((bytes / 1048576)) MB, comments in every directory, $pairs pairs"
for ((i = 0; i < pairs; i++)); do
    record $(copy_orvo) $(copy_cp)
    clear_copies
done
report "orvo cp" "cp -r" 1.1

cp -r "$work/src" "$work/d1"; timed "$orvo" rm --yes "$work/d1" > /dev/null # warm-up
cp -r "$work/src" "$work/d2"; rm -rf "$work/d2"
for ((i = 0; i < pairs; i++)); do
    cp -r "$work/src" "$work/d1"; cp -r "$work/src" "$work/d2"
    ours=$(timed "$orvo" rm --yes "$work/d1"); theirs=$(timed rm -rf "$work/d2")
    [ -e "$work/d1" ] && { echo "orvo rm left the tree" >&2; exit 1; }
    record $ours $theirs
done
report "orvo rm" "rm -rf" 1.2

# cp -r made as durable as orvo cp: the price of the final sync.
for ((i = 0; i < pairs; i++)); do
    record $(copy_orvo) $(copy_cp_sync)
    clear_copies
done
report "orvo cp" "cp -r + sync -f" 1.1

[ "$(id -u)" -eq 0 ] || exit 0
other=$(mktemp -d)
mount -t tmpfs -o size=3g tmpfs "$other" || { rmdir "$other"; exit 0; }
trap 'umount "$other"; rmdir "$other"; cleanup' EXIT
# A move across file systems: from the tmpfs to the work place.
move_orvo() { cp -r "$work/src" "$other/m"; mkdir -p "$work/o"; timed "$orvo" mv --yes "$other/m" "$work/o"; }
move_mv() { cp -r "$work/src" "$other/n"; timed mv "$other/n" "$work/c"; }
move_orvo > /dev/null; move_mv > /dev/null
[ "$(find "$work/o/m" -type f | wc -l)" -eq "$count" ] && [ ! -e "$other/m" ] || { echo "orvo mv moved a different tree" >&2; exit 1; }
clear_copies
for ((i = 0; i < pairs; i++)); do
    ours=$(move_orvo); theirs=$(move_mv)
    record $ours $theirs
    clear_copies
done
report "orvo mv across file systems" "mv" 1.2
