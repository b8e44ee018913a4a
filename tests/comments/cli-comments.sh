#!/usr/bin/env bash
# Comments of names that differ only in letter case, and of an entry named
# like a directory's own comment key, through orvo as a user runs it.
. "$(dirname "$0")/../cli-harness.sh"

d=$tmp/d dst=$tmp/dst
mkdir -p "$d" "$dst"
: > "$d/a.txt"
: > "$d/A.TXT"
"$orvo" comment set "$d/A.TXT" "upper"
check "twin shows no comment" "$("$orvo" comment get "$d/a.txt")" ""
"$orvo" cp "$d/a.txt" "$dst" </dev/null || { echo "FAIL cp"; fail=1; }
check "copy takes none" "$("$orvo" comment get "$dst/a.txt")" ""
"$orvo" rm "$dst/a.txt" </dev/null
"$orvo" mv "$d/a.txt" "$dst" </dev/null || { echo "FAIL mv"; fail=1; }
check "move takes none" "$("$orvo" comment get "$dst/a.txt")" ""
check "moving the twin leaves the comment" "$("$orvo" comment get "$d/A.TXT")" "upper"
"$orvo" mv "$dst/a.txt" "$d" </dev/null
"$orvo" rm "$d/a.txt" </dev/null || { echo "FAIL rm"; fail=1; }
check "deleting the twin leaves the comment" "$("$orvo" comment list "$d")" "A.TXT	upper"
# Moved together, the twin that goes second does not find the first one's
# key orphaned.
mkdir -p "$tmp/pair" "$tmp/to"
: > "$tmp/pair/A.TXT"
: > "$tmp/pair/a.txt"
"$orvo" comment set "$tmp/pair/A.TXT" "upper"
"$orvo" mv "$tmp/pair/A.TXT" "$tmp/pair/a.txt" "$tmp/to" </dev/null || { echo "FAIL mv pair"; fail=1; }
check "pair: first" "$("$orvo" comment get "$tmp/to/A.TXT")" "upper"
check "pair: second" "$("$orvo" comment get "$tmp/to/a.txt")" ""
# A key written on a file system that ignores case still reads.
mv "$d/A.TXT" "$d/a.Txt"
check "orphan key read" "$("$orvo" comment get "$d/a.Txt")" "upper"

# A file named like the directory's key.
mkdir -p "$tmp/e"
: > "$d/:THIS_DIR:"
"$orvo" comment set "$d" "the directory"
"$orvo" comment set "$tmp/e" "e's own"
if "$orvo" comment set "$d/:THIS_DIR:" "the file" 2>"$tmp/err"; then echo "FAIL set accepted"; fail=1; fi
grep -q "cannot have a comment" "$tmp/err" || { echo "FAIL no message: $(cat "$tmp/err")"; fail=1; }
check "no comment shown" "$("$orvo" comment get "$d/:THIS_DIR:")" ""
"$orvo" cp "$d/:THIS_DIR:" "$tmp/e" </dev/null || { echo "FAIL cp odd"; fail=1; }
check "copy leaves the target's" "$("$orvo" comment get "$tmp/e")" "e's own"
"$orvo" rm "$tmp/e/:THIS_DIR:" </dev/null || { echo "FAIL rm odd"; fail=1; }
check "delete leaves the directory's" "$("$orvo" comment get "$tmp/e")" "e's own"
"$orvo" cp "$d/:THIS_DIR:" "$tmp/e" </dev/null
"$orvo" mv "$tmp/e/:THIS_DIR:" "$dst" </dev/null || { echo "FAIL mv odd"; fail=1; }
check "move leaves the source's" "$("$orvo" comment get "$tmp/e")" "e's own"
check "move gives the target none" "$("$orvo" comment get "$dst")" ""
"$orvo" cp "$d" "$dst" </dev/null || { echo "FAIL cp tree"; fail=1; }
check "tree copy" "$("$orvo" comment get "$dst/d")" "the directory"
check "tree copy, odd file" "$("$orvo" comment get "$dst/d/:THIS_DIR:")" ""

# A name and a comment that begin with a dash, after --; without it the
# name is an unknown option and nothing is stored.
: > "$d/-x"
(cd "$d" && "$orvo" comment set -- -x "-dashed-") || { echo "FAIL set after --"; fail=1; }
check "get after --" "$(cd "$d" && "$orvo" comment get -- -x)" "-dashed-"
(cd "$d" && "$orvo" comment set -x other 2>/dev/null)
check "without --: usage error" "$?" "2"
check "and nothing stored" "$("$orvo" comment get "$d/-x")" "-dashed-"
exit $fail
