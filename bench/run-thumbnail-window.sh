#!/usr/bin/env bash
# Thumbnail mode of a browse window on 1 000 synthetic 1920 x 1080 JPEG
# photos (made here): the time until every thumbnail is shown with an empty
# thumbnail cache (cold) and with the cache those runs filled (warm), and
# the longest stall of the interface thread meanwhile; the cold time
# against vipsthumbnail making the same 128-pixel PNG thumbnails on the same
# cores, alternated after a warm-up of each.
# Usage: bench/run-thumbnail-window.sh RELEASE_BUILD_DIR [PHOTOS] [PAIRS]
set -euo pipefail
build=${1:?usage: run-thumbnail-window.sh RELEASE_BUILD_DIR [PHOTOS] [PAIRS]}
count=${2:-1000}
pairs=${3:-5}
window=$build/bench/bench_thumbnail_window
corpus=$build/bench/bench_image_corpus
command -v vipsthumbnail >/dev/null || { echo "vipsthumbnail (Debian libvips-tools) is needed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/in" "$work/theirs"

echo "making $count photos of 1920 x 1080 ..."
"$corpus" "$work/in" "$count"
echo "corpus: $(du -sh "$work/in" | cut -f1) in $count files, $(nproc) cores"

calc() { awk "BEGIN { printf \"%.6f\", $* }"; }
# Each prints milliseconds; ours also the longest stall and the count.
cold() { rm -rf "$work/cache"; XDG_CACHE_HOME="$work/cache" "$window" "$work/in"; }
warm() { XDG_CACHE_HOME="$work/cache" "$window" "$work/in"; }
vips() {
    rm -rf "$work/theirs"/*
    local start end
    start=$(date +%s%N)
    vipsthumbnail -s 128 -o "$work/theirs/%s.png" "$work"/in/*.jpg
    end=$(date +%s%N)
    calc "($end - $start) / 1e6"
}
# vipsthumbnail works through its files one after another; split among as
# many processes as there are cores it uses them all, as our pool does.
vips_parallel() {
    rm -rf "$work/theirs"/*
    local start end
    start=$(date +%s%N)
    printf '%s\0' "$work"/in/*.jpg |
        xargs -0 -P "$(nproc)" -n $(((count + $(nproc) - 1) / $(nproc))) \
            vipsthumbnail -s 128 -o "$work/theirs/%s.png"
    end=$(date +%s%N)
    calc "($end - $start) / 1e6"
}

cold >/dev/null; vips >/dev/null; vips_parallel >/dev/null # warm-up
c=(); w=(); v=(); p=(); rv=(); rp=(); rw=(); gaps=()
for ((i = 0; i < pairs; i++)); do
    read -r tc gc nc < <(cold)
    read -r tw gw nw < <(warm)
    tv=$(vips)
    tp=$(vips_parallel)
    [ "$nc" = "$count" ] && [ "$nw" = "$count" ] || { echo "only $nc / $nw thumbnails" >&2; exit 1; }
    c+=("$tc"); w+=("$tw"); v+=("$tv"); p+=("$tp"); gaps+=("$gc" "$gw")
    rv+=("$(calc "$tc / $tv")"); rp+=("$(calc "$tc / $tp")"); rw+=("$(calc "$tc / $tw")")
    echo "pair $((i + 1)): cold $tc ms (stall $gc), warm $tw ms (stall $gw), vips $tv ms, vips x$(nproc) $tp ms"
done
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
longest() { printf '%s\n' "$@" | sort -g | tail -1; }
printf 'window, cold cache   : median %.0f ms\n' "$(median "${c[@]}")"
printf 'window, warm cache   : median %.0f ms\n' "$(median "${w[@]}")"
printf 'vipsthumbnail        : median %.0f ms\n' "$(median "${v[@]}")"
printf 'vipsthumbnail x %d   : median %.0f ms\n' "$(nproc)" "$(median "${p[@]}")"
printf 'cold / vipsthumbnail : %.2f (median of pairs)\n' "$(median "${rv[@]}")"
printf 'cold / vipsthumbnail x %d: %.2f (goal: at most 1.00)\n' "$(nproc)" "$(median "${rp[@]}")"
printf 'cold / warm          : %.1f (goal: at least 10)\n' "$(median "${rw[@]}")"
printf 'longest stall of the interface thread: %.1f ms (goal: at most 50)\n' "$(longest "${gaps[@]}")"
