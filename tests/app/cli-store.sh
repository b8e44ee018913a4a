#!/usr/bin/env bash
# orvo store dump / copy on files written by hand, not by the program.
set -u
orvo=$1
src=$2
corpus=$src/fuzz/corpus/archive
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1"; echo "  expected: $(printf %q "$3")"; echo "  got:      $(printf %q "$2")"; fail=1; fi; }

check "dump of the worked example" "$("$orvo" store dump "$corpus/worked-example.orl")" $'table NoName\nName\na.txt'

out=$("$orvo" store dump "$corpus/options.qad")
check "dump of a database, first table" "$(printf '%s\n' "$out" | head -4)" $'table Bool options\nKey\tValue\nShow tips\tTRUE\nDont show DirInfo\tFALSE'
check "blob cell escapes CR LF" "$(printf '%s\n' "$out" | sed -n 7p | cut -f5)" 'Size = 3\r\nab'

"$orvo" store copy "$corpus/options.qad" "$tmp/copy.qad" || { echo "FAIL copy exit status"; fail=1; }
cmp -s "$corpus/options.qad" "$tmp/copy.qad" || { echo "FAIL copy is not byte-identical"; fail=1; }

# A damaged file: non-zero status, a message on stderr, no output file.
if "$orvo" store copy "$corpus/truncated.qad" "$tmp/bad.qad" 2>"$tmp/err"; then echo "FAIL truncated file accepted"; fail=1; fi
grep -q "damaged\|too early" "$tmp/err" || { echo "FAIL no clear message: $(cat "$tmp/err")"; fail=1; }
[ -e "$tmp/bad.qad" ] && { echo "FAIL output written for a damaged input"; fail=1; }
if "$orvo" store dump "$src/README.md" 2>/dev/null; then echo "FAIL a text file dumped"; fail=1; fi

[ $fail -eq 0 ] && echo "cli store: all checks passed"
exit $fail
