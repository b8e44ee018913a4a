#!/usr/bin/env bash
# Kills real orvo cp, mv, rm and comment saves with SIGKILL at random
# moments and checks what each kill left:
#  - no file under a final name with other content than a whole version
#    (the source's, or for a replaced target the one it replaced);
#  - a copy's source unchanged, files and comments;
#  - a move's files each at the source or the target, whole, and each
#    comment at the source or the target;
#  - comment files that read completely, holding old or new comments only.
# Moves and copies run within one file system and, when root may mount a
# tmpfs, across to it.
#
# usage: kill-anywhere.sh ORVO [KILLS [SEED]]
set -u
orvo=$1
kills=${2:-40}
seed=${3:-$(( $(date +%s) % 32768 ))}
RANDOM=$seed
export LC_ALL=C
tmp=$(mktemp -d)
fs2=
cleanup() {
    [ -n "$fs2" ] && umount -l "$fs2" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
export ORVO_HOME=$tmp/home
# A killed sanitizer build leaves no report; an unkilled one should not
# fail on the leaks of a process that was about to end anyway.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

faults=0
fault() {
    faults=$((faults + 1))
    echo "FAULT (seed $seed, run $run, $op, killed after ${delay}s): $*"
}

random_file() { head -c "$2" /dev/urandom >"$1"; }

# The tree every run starts from: files of many sizes (two of 16 MiB and
# more), case twins, a dot directory, a name that is not UTF-8, spaces,
# links, and comments on files and directories.
golden=$tmp/golden/tree
mkdir -p "$golden/sub/deeper" "$golden/.dot" "$golden/with space"
random_file "$golden/big one.bin" $((17 << 20))
random_file "$golden/sub/big two.bin" $((16 << 20))
random_file "$golden/sub/deeper/mid.bin" $((3 << 20))
for i in $(seq 1 40); do random_file "$golden/sub/f$i.txt" $((RANDOM * 3 % 70000)); done
for i in $(seq 1 12); do random_file "$golden/sub/deeper/g$i.dat" $((RANDOM % 300000)); done
: >"$golden/empty"
echo lower >"$golden/a.txt"
echo upper >"$golden/A.TXT"
echo hidden >"$golden/.dot/hidden"
echo spaced >"$golden/with space/x y.txt"
echo bytes >"$golden/$(printf 'name \377\376.bin')"
ln -s a.txt "$golden/to a"
ln -s ../../nowhere "$golden/sub/dangling"
set_comment() { "$orvo" comment set "$1" "$2" || { echo "cannot set up the comment of $1"; exit 2; }; }
set_comment "$golden" "the tree"
set_comment "$golden/sub" "sub directory"
set_comment "$golden/big one.bin" "big one"
set_comment "$golden/sub/big two.bin" "big two"
set_comment "$golden/a.txt" "lower case"
set_comment "$golden/A.TXT" "upper case"
set_comment "$golden/$(printf 'name \377\376.bin')" "not UTF-8"
set_comment "$golden/to a" "a link"
set_comment "$golden/.dot/hidden" "hidden one"
for i in $(seq 1 40 | shuf --random-source=<(yes "$seed") -n 25); do
    set_comment "$golden/sub/f$i.txt" "comment $i"
done
for i in 3 7 11; do set_comment "$golden/sub/deeper/g$i.dat" "deep $i"; done

# What a target may hold before a copy or a move: older versions of some
# of the files, a big one among them, with comments of their own.
older=$tmp/older/tree
mkdir -p "$older/sub/deeper"
random_file "$older/big one.bin" $((18 << 20))
for i in 2 5 9 14; do random_file "$older/sub/f$i.txt" 5000; done
random_file "$older/sub/deeper/g3.dat" 1000
echo "older only" >"$older/sub/only older.txt"
set_comment "$older/big one.bin" "older big"
set_comment "$older/sub/f5.txt" "older five"
set_comment "$older/sub/only older.txt" "only older"

# A directory whose comment file is some megabytes, so that its save
# takes long enough to be hit.
saves=$tmp/golden/saves
mkdir -p "$saves"
long=$(head -c 300000 /dev/urandom | base64 -w0 | tr -dc 'a-zA-Z0-9' | head -c 100000)
for i in $(seq -w 1 40); do
    : >"$saves/k$i"
    set_comment "$saves/k$i" "$i$long"
done

# Non-directory entries under a root, relative, one a line, without
# comment files and the temporary files of unfinished writes.
entries() {
    [ -d "$1" ] || return 0
    find "$1" -mindepth 1 ! -type d -printf '%P\n' |
        grep -v -e '^dir_info\.orb$' -e '/dir_info\.orb$' -e '\.orvo-[0-9]*-[0-9]*\.tmp$' \
            -e '\.orvo-[0-9]*-[0-9]*\.part$' | sort
}
# Unfinished writes a kill leaves behind: no harm to any final name, but
# space taken until someone removes them. Counted, not faults.
left_part=0
left_tmp=0
count_leftovers() {
    [ -d "$1" ] || return 0
    left_part=$((left_part + $(find "$1" -name '.orvo-*.part' | wc -l)))
    left_tmp=$((left_tmp + $(find "$1" -name '*.orvo-*.tmp' | wc -l)))
}

# Whether two entries hold the same: bytes for files, targets for links.
same() {
    if [ -L "$1" ] || [ -L "$2" ]; then
        [ -L "$1" ] && [ -L "$2" ] && [ "$(readlink "$1")" = "$(readlink "$2")" ]
    else
        [ -f "$1" ] && [ -f "$2" ] && cmp -s "$1" "$2"
    fi
}

# The comments under a root: "directory<TAB>key<TAB>comment" lines,
# sorted; a comment file that does not read completely is a fault.
comments() {
    [ -d "$1" ] || return 0
    local root=$1 dir rel out
    while IFS= read -r -d '' dir; do
        rel=${dir#"$root"}
        if ! out=$("$orvo" comment list "$dir" 2>&1); then
            fault "comment file of ${rel:-/} does not read: $out"
            continue
        fi
        [ -n "$out" ] && printf '%s\n' "$out" | awk -v d="${rel:-/}" '{ print d "\t" $0 }'
    done < <(find "$root" -name dir_info.orb -type f -printf '%h\0')
}

golden_entries=$tmp/golden.entries
entries "$golden" >"$golden_entries"
golden_comments=$tmp/golden.comments
comments "$golden" | sort >"$golden_comments"
allowed_comments=$tmp/allowed.comments
comments "$older" | sort -u - "$golden_comments" >"$allowed_comments"
saves_before=$tmp/saves.before
"$orvo" comment list "$saves" >"$saves_before"

# Every file under a final name in root is whole: the golden version, or
# with older allowed, the version it replaces.
check_whole() {
    local root=$1 with_older=$2 rel
    while IFS= read -r rel; do
        same "$root/$rel" "$golden/$rel" && continue
        [ "$with_older" = 1 ] && same "$root/$rel" "$older/$rel" && continue
        fault "$root/$rel is no whole version"
    done < <(entries "$root")
}

check_comment_lines() { # what, current lines, allowed lines
    local extra
    extra=$(comm -23 "$2" "$3")
    [ -z "$extra" ] || fault "$1 holds comments it never had: $(head -c 300 <<<"$extra")"
}

check_copy() {
    local dst=$1 with_older=$2
    check_whole "$work/src/tree" 0
    entries "$work/src/tree" | cmp -s - "$golden_entries" || fault "the source of a copy changed"
    comments "$work/src/tree" | sort >"$tmp/now.src"
    cmp -s "$tmp/now.src" "$golden_comments" || fault "the source's comments changed"
    check_whole "$dst/tree" "$with_older"
    comments "$dst/tree" | sort >"$tmp/now.dst"
    check_comment_lines "the target" "$tmp/now.dst" "$allowed_comments"
}

check_move() {
    local dst=$1 with_older=$2 rel
    check_whole "$work/src/tree" 0
    check_whole "$dst/tree" "$with_older"
    while IFS= read -r rel; do
        same "$work/src/tree/$rel" "$golden/$rel" || same "$dst/tree/$rel" "$golden/$rel" ||
            fault "$rel is neither at the source nor at the target"
    done <"$golden_entries"
    comments "$work/src/tree" | sort >"$tmp/now.src"
    comments "$dst/tree" | sort >"$tmp/now.dst"
    check_comment_lines "the source" "$tmp/now.src" "$golden_comments"
    check_comment_lines "the target" "$tmp/now.dst" "$allowed_comments"
    local lost
    lost=$(sort -u "$tmp/now.src" "$tmp/now.dst" | comm -23 "$golden_comments" -)
    [ -z "$lost" ] || fault "comments neither at the source nor at the target: $(head -c 300 <<<"$lost")"
}

check_delete() {
    check_whole "$work/src/tree" 0
    comments "$work/src/tree" | sort >"$tmp/now.src"
    check_comment_lines "what is left" "$tmp/now.src" "$golden_comments"
}

check_save() { # key, new comment
    local now
    if ! now=$("$orvo" comment list "$work/saves" 2>&1); then
        fault "the saved comment file does not read: $(head -c 200 <<<"$now")"
        return
    fi
    cmp -s <(printf '%s\n' "$now") "$saves_before" && return
    cmp -s <(printf '%s\n' "$now") <(awk -F'\t' -v k="$1" -v c="$2" \
        'BEGIN { OFS = "\t" } $1 == k { $2 = c } { print }' "$saves_before") ||
        fault "the comment file is neither the old nor the new version"
}

# One run of one kind: a fresh tree, the command started, killed after
# delay seconds (or left to finish when delay is empty), then checked.
run_once() {
    local kind=$1 dst=$tmp/place/dst with_older=0
    work=$tmp/place
    rm -rf "$work"
    [ -n "$fs2" ] && rm -rf "${fs2:?}"/*
    mkdir -p "$work/src" "$dst"
    cp -a "$golden" "$work/src/"
    case $kind in
    *-fs2) dst=$fs2/dst && mkdir -p "$dst" ;;
    esac
    if [ $((RANDOM % 2)) = 0 ] && [ "${kind%%-*}" != rm ] && [ "$kind" != save ]; then
        cp -a "$older" "$dst/"
        with_older=1
    fi
    local key new
    case $kind in
    cp*) set -- cp --yes "$work/src/tree" "$dst" ;;
    mv*) set -- mv --yes "$work/src/tree" "$dst" ;;
    rm) set -- rm --yes "$work/src/tree" ;;
    save)
        cp -a "$tmp/golden/saves" "$work/"
        key=k$(printf '%02d' $((RANDOM % 40 + 1)))
        new="changed $run"
        set -- comment set "$work/saves/$key" "$new"
        ;;
    esac
    local start status
    start=$(date +%s%N)
    "$orvo" "$@" </dev/null >/dev/null 2>"$tmp/err" &
    local pid=$!
    if [ -n "$delay" ]; then
        sleep "$delay"
        kill -KILL "$pid" 2>/dev/null
    fi
    # The shell's "Killed" notice says nothing the count does not.
    { wait "$pid"; } 2>/dev/null
    status=$?
    elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
    if [ "$status" = 137 ]; then
        killed=$((killed + 1))
    elif [ "$status" != 0 ]; then
        fault "orvo $1 ended with $status: $(head -c 300 "$tmp/err")"
    fi
    count_leftovers "$work"
    [ -n "$fs2" ] && count_leftovers "$fs2"
    case $kind in
    cp*) check_copy "$dst" "$with_older" ;;
    mv*) check_move "$dst" "$with_older" ;;
    rm) check_delete ;;
    save) check_save "$key" "$new" ;;
    esac
}

kinds="cp mv rm save"
if [ "$(id -u)" = 0 ] && mkdir -p "$tmp/fs2" && mount -t tmpfs -o size=512m tmpfs "$tmp/fs2" 2>/dev/null; then
    fs2=$tmp/fs2
    kinds="$kinds cp-fs2 mv-fs2"
else
    echo "no second file system (not root, or no tmpfs): moves and copies across are skipped"
fi

# How long each kind takes when left alone (also checked, as a plain run),
# so that kills fall anywhere within it.
declare -A duration
killed=0
run=0
for op in $kinds; do
    delay=
    run_once "$op"
    duration[$op]=$elapsed
done

runs=0
declare -A per_kind
while [ "$killed" -lt "$kills" ]; do
    run=$((run + 1))
    runs=$((runs + 1))
    set -- $kinds
    shift $((RANDOM % $#))
    op=$1
    ms=$(( (RANDOM * 32768 + RANDOM) % (duration[$op] * 11 / 10 + 1) ))
    delay=$(printf '%d.%03d' $((ms / 1000)) $((ms % 1000)))
    before=$killed
    run_once "$op"
    [ "$killed" -gt "$before" ] && per_kind[$op]=$(( ${per_kind[$op]:-0} + 1 ))
    if [ "$runs" -gt $((kills * 4)) ]; then
        echo "too few runs were killed in time; stopping"
        break
    fi
done

summary=""
for op in $kinds; do summary="$summary $op ${per_kind[$op]:-0} (${duration[$op]} ms)"; done
echo "kill test: seed $seed, runs $runs, kills $killed, faults $faults, left behind: $left_part copies (.part), $left_tmp comment or file writes (.tmp)"
echo "kills by kind (time of an unkilled run):$summary"
[ "$faults" = 0 ]
