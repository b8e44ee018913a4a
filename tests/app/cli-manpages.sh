#!/usr/bin/env bash
# The manual pages format without a warning, and orvo(1) describes every
# command and option the program has.
. "$(dirname "$0")/../cli-harness.sh"
src=$2
man=$src/dist/man

for page in orvo.1 orvo-browser.1; do
    [ -s "$man/$page" ] || { echo "FAIL $page is missing"; fail=1; continue; }
    warnings=$(groff -man -Tutf8 -ww -z "$man/$page" 2>&1)
    check "$page formats without warnings" "$warnings" ""
    # man-db's own checks (preprocessor line, encoding) on top of groff's.
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$man/$page" 2>&1 >/dev/null)
    check "$page: man -l" "$warnings" ""
done

# A section per command (".SS "orvo CMD ..."; one per sub-command), which
# names each of its options.
sections() { awk -v head=".SS \"orvo $1" '/^\.S[SH] /{ on = index($0, head " ") == 1 || index($0, head "\"") == 1 } on' "$man/orvo.1"; }
for c in $("$orvo" --help | sed -n 's/^  orvo \([a-z]*\) .*/\1/p' | sort -u); do
    sections "$c" > "$tmp/section"
    [ -s "$tmp/section" ] || { echo "FAIL orvo.1 has no section for $c"; fail=1; continue; }
    for option in $("$orvo" --complete "$c" -); do
        [ "$option" = --help ] && continue
        grep -qF -- "${option//-/\\-}" "$tmp/section" || { echo "FAIL orvo.1 does not describe $c $option"; fail=1; }
    done
done
exit $fail
