#!/usr/bin/env bash
# orvo cp, mv and rm on small trees made here, answered by options and by
# typed answers.
. "$(dirname "$0")/../cli-harness.sh"

src=$tmp/src dst=$tmp/dst
mkdir -p "$src/tree/sub" "$dst"
echo one > "$src/tree/a.txt"
echo two > "$src/tree/sub/b.txt"
echo solo > "$src/solo.txt"
"$orvo" comment set "$src/tree" "the tree"
"$orvo" comment set "$src/tree/sub/b.txt" "bee"
"$orvo" comment set "$src/solo.txt" "alone"

# Relative paths, comments along.
(cd "$tmp" && "$orvo" cp src/tree src/solo.txt dst/ </dev/null) || { echo "FAIL cp"; fail=1; }
check "copied" "$(cat "$dst/tree/sub/b.txt")" "two"
check "tree comment" "$("$orvo" comment get "$dst/tree")" "the tree"
check "file comment in the tree" "$("$orvo" comment get "$dst/tree/sub/b.txt")" "bee"
check "file comment" "$("$orvo" comment get "$dst/solo.txt")" "alone"

# Again: every file is a problem now. --skip leaves them, a typed answer
# switches single rows, no answer at all cancels.
echo new > "$src/tree/a.txt"
echo new > "$src/solo.txt"
"$orvo" cp --skip "$src/tree" "$src/solo.txt" "$dst" 2>"$tmp/err" </dev/null || { echo "FAIL cp --skip"; fail=1; }
check "skipped" "$(cat "$dst/tree/a.txt")" "one"
grep -q "These files are to be overwritten during copy operation." "$tmp/err" || { echo "FAIL no problem list: $(cat "$tmp/err")"; fail=1; }
row=$(grep -F "$dst/tree/a.txt" "$tmp/err" | awk '{ print $1 }')
printf '%s\n\n' "$row" | "$orvo" cp "$src/tree" "$src/solo.txt" "$dst" 2>"$tmp/err" || { echo "FAIL typed answers"; fail=1; }
check "row 1 switched off" "$(cat "$dst/tree/a.txt")" "one"
check "other rows done" "$(cat "$dst/solo.txt")" "new"
if "$orvo" cp "$src/tree" "$dst" </dev/null 2>"$tmp/err"; then echo "FAIL unanswered list went ahead"; fail=1; fi
grep -q "cancelled; nothing was changed" "$tmp/err" || { echo "FAIL cancel message: $(cat "$tmp/err")"; fail=1; }
"$orvo" cp "$src/tree" "$dst" --yes </dev/null 2>/dev/null || { echo "FAIL cp ... --yes"; fail=1; }
check "overwritten" "$(cat "$dst/tree/a.txt")" "new"

# A move takes the comment away from the source.
"$orvo" mv "$dst/solo.txt" "$src/tree" </dev/null || { echo "FAIL mv"; fail=1; }
check "moved comment" "$("$orvo" comment get "$src/tree/solo.txt")" "alone"
check "source entry gone" "$("$orvo" comment list "$dst")" ""

# A failure answered by --on-error=ignore is counted in the status.
mkdir -p "$tmp/blocked/solo.txt/inside"
if "$orvo" cp --yes --on-error=ignore "$src/solo.txt" "$tmp/blocked" 2>"$tmp/err" </dev/null; then echo "FAIL ignored failure gave 0"; fail=1; fi
grep -q "I couldn't copy $src/solo.txt !" "$tmp/err" || { echo "FAIL failure text: $(cat "$tmp/err")"; fail=1; }
grep -q "1 entry could not be done" "$tmp/err" || { echo "FAIL failure count: $(cat "$tmp/err")"; fail=1; }

# rm lists hidden files first; --yes deletes them.
touch "$dst/tree/.hidden"
if "$orvo" rm "$dst/tree" </dev/null 2>/dev/null; then echo "FAIL rm went ahead unanswered"; fail=1; fi
[ -e "$dst/tree/.hidden" ] || { echo "FAIL rm deleted without an answer"; fail=1; }
"$orvo" rm --yes "$dst/tree" </dev/null 2>/dev/null || { echo "FAIL rm --yes"; fail=1; }
[ -e "$dst/tree" ] && { echo "FAIL tree still there"; fail=1; }

# A link where the tree's directory would go is a problem, never a way out
# of the destination: skipped, nothing is written through it and a move
# keeps its source.
mkdir -p "$tmp/outside" "$tmp/linked"
ln -s "$tmp/outside" "$tmp/linked/tree"
"$orvo" mv --skip "$src/tree" "$tmp/linked" </dev/null 2>"$tmp/err" || { echo "FAIL mv onto a link"; fail=1; }
check "nothing through the link" "$(ls -A "$tmp/outside")" ""
[ -f "$src/tree/a.txt" ] || { echo "FAIL the skipped move deleted its source"; fail=1; }
grep -qF "$tmp/linked/tree" "$tmp/err" || { echo "FAIL link not listed: $(cat "$tmp/err")"; fail=1; }

# Stops and bad input.
"$orvo" cp "$src/solo.txt" "$src/tree/a.txt" 2>"$tmp/err"; [ $? -eq 1 ] || { echo "FAIL file destination status"; fail=1; }
check "not a directory" "$(cat "$tmp/err")" "orvo: The destination is not a directory. Stopping."
"$orvo" cp "$src/tree" "$src" </dev/null 2>"$tmp/err"; [ $? -eq 1 ] || { echo "FAIL same directory status"; fail=1; }
grep -q "Destination directory is the same as source directory. Stopping." "$tmp/err" || { echo "FAIL same directory text"; fail=1; }
"$orvo" rm "$tmp/missing" 2>"$tmp/err"; [ $? -eq 1 ] || { echo "FAIL missing status"; fail=1; }
grep -q "no such file or directory: $tmp/missing" "$tmp/err" || { echo "FAIL missing text"; fail=1; }
"$orvo" cp --frobnicate a b 2>/dev/null; [ $? -eq 2 ] || { echo "FAIL unknown option"; fail=1; }
"$orvo" cp "$src/solo.txt" "$dst" --on-error maybe 2>"$tmp/err"; [ $? -eq 2 ] || { echo "FAIL bad --on-error answer"; fail=1; }
grep -q "^orvo: --on-error takes abort or ignore, not maybe" "$tmp/err" || { echo "FAIL --on-error message: $(head -1 "$tmp/err")"; fail=1; }

[ $fail -eq 0 ] && echo "cli fileops: all checks passed"
exit $fail
