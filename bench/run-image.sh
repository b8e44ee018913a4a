#!/usr/bin/env bash
# Thumbnails: 96-pixel thumbnails of 200 synthetic 1920 × 1080 JPEG photos
# (made here), `orvo image thumb` against vipsthumbnail (or ImageMagick's
# convert -thumbnail when vips is missing), both pinned to one core.
# Usage: bench/run-image.sh BUILD_DIR [PHOTOS] [PAIRS]
set -euo pipefail
build=${1:?usage: run-image.sh BUILD_DIR [PHOTOS] [PAIRS]}
count=${2:-200}
pairs=${3:-5}
orvo=$build/src/app/orvo
corpus=$build/bench/bench_image_corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/ours" "$work/theirs"

core=$(taskset -pc $$ | sed 's/.*: *//; s/[,-].*//')
pin() { taskset -c "$core" "$@"; }

if command -v vipsthumbnail >/dev/null; then
    tool="vipsthumbnail $(vipsthumbnail --vips-version | sed 's/libvips //')"
    theirs() { VIPS_CONCURRENCY=1 pin vipsthumbnail -s 96 -o "$work/theirs/%s.png" "$work"/in/*.jpg; }
elif convert -version 2>/dev/null | grep -q ImageMagick; then
    tool="ImageMagick convert -thumbnail"
    theirs() { for f in "$work"/in/*.jpg; do
        MAGICK_THREAD_LIMIT=1 pin convert "$f" -thumbnail 96x96 "$work/theirs/$(basename "$f").png"; done; }
else
    echo "neither vipsthumbnail (Debian libvips-tools) nor ImageMagick found" >&2
    exit 1
fi
ours() { pin "$orvo" image thumb --size 96 --out "$work/ours" "$work"/in/*.jpg; }

echo "making $count photos of 1920 x 1080 ..."
"$corpus" "$work/in" "$count"
echo "corpus: $(du -sh "$work/in" | cut -f1) in $count files; comparing with $tool on core $core"

calc() { awk "BEGIN { printf \"%.6f\", $* }"; }
seconds() { local start end; start=$(date +%s%N); "$@"; end=$(date +%s%N); calc "($end - $start) / 1e9"; }
ours; theirs # warm-up: page cache, libraries
a=(); b=(); r=()
for ((i = 0; i < pairs; i++)); do
    ta=$(seconds ours)
    tb=$(seconds theirs)
    a+=("$ta"); b+=("$tb"); r+=("$(calc "$ta / $tb")")
done
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ma=$(median "${a[@]}"); mb=$(median "${b[@]}"); mr=$(median "${r[@]}")
printf 'orvo image thumb : median %.3f s, %.2f ms per photo\n' "$ma" "$(calc "$ma * 1000 / $count")"
printf '%-17s: median %.3f s, %.2f ms per photo\n' "${tool%% *}" "$mb" "$(calc "$mb * 1000 / $count")"
printf 'median ratio orvo / %s: %.2f (goal: at most 1.00)\n' "${tool%% *}" "$mr"

# The same work on every core, for the record.
all=$(seconds "$orvo" image thumb --size 96 --out "$work/ours" "$work"/in/*.jpg)
printf 'orvo image thumb on %d cores: %.3f s\n' "$(nproc)" "$all"
