#!/usr/bin/env bash
# orvo du on a small tree made here.
. "$(dirname "$0")/../cli-harness.sh"

d=$tmp/tree
mkdir -p "$d/empty" "$d/sub/deeper"
head -c 3000 /dev/zero > "$d/sub/a.bin"
head -c 1234 /dev/zero > "$d/sub/deeper/b.bin"
head -c 5000000 /dev/zero > "$tmp/outside.bin"
ln -s "$tmp/outside.bin" "$d/sub/link" # counted as a link, never what it leads to
link=$(printf %s "$tmp/outside.bin" | wc -c)
bytes=$((3000 + 1234 + link))
grouped=$(printf %d "$bytes" | sed ':a;s/\B[0-9]\{3\}\>/ &/;ta')

check "empty directory" "$("$orvo" du "$d/empty")" "0     (0 dirs, 0 files, 0% of total disk space)	$d/empty"
check "tree" "$("$orvo" du "$d/sub/")" "$grouped     (1 dirs, 3 files, 0% of total disk space)	$d/sub/"
check "a file" "$("$orvo" du "$d/sub/a.bin")" "3 000	$d/sub/a.bin"
"$orvo" du "$d/missing" "$d/empty" > "$tmp/out" 2> "$tmp/err"
check "a missing path fails" "$?" "1"
check "and the rest is still counted" "$(cat "$tmp/out")" "0     (0 dirs, 0 files, 0% of total disk space)	$d/empty"
check "the message" "$(cat "$tmp/err")" "orvo: no such file or directory: $d/missing"
"$orvo" du > /dev/null 2>&1
check "no path is a usage error" "$?" "2"
: > "$d/-x"
check "a name like an option after --" "$(cd "$d" && "$orvo" du -- -x)" "0	-x"
(cd "$d" && "$orvo" du -x > /dev/null 2>&1)
check "and without -- a usage error" "$?" "2"

mkdir -p "$d/other/mnt"
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=1m tmpfs "$d/other/mnt" 2> /dev/null; then
    head -c 9000 /dev/zero > "$d/other/mnt/x"
    check "another file system is not entered" "$("$orvo" du "$d/other")" \
        "0     (0 dirs, 0 files, 0% of total disk space) Skipped 1 directory on another file system.	$d/other"
    umount "$d/other/mnt"
fi

[ $fail -eq 0 ] && echo "cli du: all passed"
exit $fail
