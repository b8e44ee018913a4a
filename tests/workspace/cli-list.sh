#!/usr/bin/env bash
# orvo list add / export / status on a small tree made here.
. "$(dirname "$0")/../cli-harness.sh"
# The bytes of a command's output, CR included and nothing stripped.
bytes() { "$@" | od -An -c | tr -s ' \n' ' '; }

d=$tmp/tree
mkdir -p "$d/sub"
head -c 1234 /dev/zero > "$d/a.txt"
: > "$d/README"
"$orvo" comment set "$d/a.txt" "first"

# A new list from relative paths (made absolute), in the given order.
list=$tmp/l.orl
(cd "$d" && "$orvo" list add "$list" ./a.txt sub/ x/../README) || { echo "FAIL add"; fail=1; }
check "default export" "$(bytes "$orvo" list export "$list")" \
    "$(bytes printf 'a.txt\tfirst\r\n[sub]\t\r\nREADME\t')"
check "title and extension" "$(bytes "$orvo" list export "$list" --fields title,EXTENSION)" \
    "$(bytes printf 'a.txt\r\n[sub]\r\nREADME')"
check "ID, fields, size" "$(bytes "$orvo" list export "$list" --fields ID,Fields,Title,Size --separator ';')" \
    "$(bytes printf 'ID;Name;Size\r\n1.;a;1 234\r\n2.;[sub];0\r\n3.;README;0')"
check "store dump shows the paths" "$("$orvo" store dump "$list" | cut -f2 | tail -3)" \
    "$d/a.txt
$d/sub
$d/README"
check "nothing changed yet" "$("$orvo" list status "$list")" ""

# Extending the list; then a renamed file is dead and a re-commented one changed.
"$orvo" list add "$list" "$d/sub/" || { echo "FAIL add to an existing list"; fail=1; }
check "extended" "$(bytes "$orvo" list export --fields=title "$list")" \
    "$(bytes printf 'a\r\n[sub]\r\nREADME\r\n[sub]')"
mv "$d/README" "$d/README.md"
"$orvo" comment set "$d/a.txt" "second"
check "status" "$("$orvo" list status "$list")" "changed $d/a.txt
dead $d/README"

# Errors: a clear message, a non-zero status, no file harmed or made.
"$orvo" list export "$tmp/missing.orl" > "$tmp/out" 2> "$tmp/err"
check "missing file fails" "$?" "1"
check "missing file message" "$(cat "$tmp/err")" "orvo: Cannot open \"$tmp/missing.orl\": No such file or directory"
check "no output" "$(cat "$tmp/out")" ""
printf 'not a list' > "$tmp/text.orl"
"$orvo" list status "$tmp/text.orl" > /dev/null 2> "$tmp/err"
check "text file fails" "$?" "1"
grep -q "^orvo: $tmp/text.orl: not a valid file list" "$tmp/err" || { echo "FAIL message: $(cat "$tmp/err")"; fail=1; }
"$orvo" list add "$tmp/text.orl" "$d/a.txt" 2> /dev/null
check "add to a text file fails" "$?" "1"
check "and leaves it alone" "$(cat "$tmp/text.orl")" "not a list"
"$orvo" options set --bool "Show tips" TRUE > /dev/null
"$orvo" list export "$ORVO_HOME"/*.qad 2> "$tmp/err" > /dev/null
check "options file fails" "$?" "1"
grep -q "not a valid file list" "$tmp/err" || { echo "FAIL message: $(cat "$tmp/err")"; fail=1; }
"$orvo" list export "$list" --fields title,colour > /dev/null 2> "$tmp/err"
check "unknown field fails" "$?" "1"
"$orvo" list > /dev/null 2>&1
check "no subcommand is a usage error" "$?" "2"
"$orvo" list add "$list" > /dev/null 2>&1
check "add without paths is a usage error" "$?" "2"

[ $fail -eq 0 ] && echo "cli list: all passed"
exit $fail
