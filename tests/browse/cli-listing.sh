#!/usr/bin/env bash
# orvo ls and orvo comment on a small tree made here.
set -u
orvo=$1
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
export ORVO_HOME=$tmp/home
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1"; echo "  expected: $(printf %q "$3")"; echo "  got:      $(printf %q "$2")"; fail=1; fi; }

d=$tmp/tree
mkdir -p "$d/Zeta"
printf 'hello' > "$d/alpha.txt"
: > "$d/.profile"
touch -d '2021-03-04 05:06:07' "$d/alpha.txt" "$d/.profile"

"$orvo" comment set "$d/alpha.txt" $'two\r\nlines\tand a tab' || { echo "FAIL set"; fail=1; }
"$orvo" comment set "$d/Zeta" "the last letter" || { echo "FAIL set on a directory"; fail=1; }
touch -d '2021-03-04 05:06:07' "$d/Zeta" # its comment file changed it
check "get" "$("$orvo" comment get "$d/alpha.txt")" $'two\r\nlines\tand a tab'
check "list in file order, escaped" "$("$orvo" comment list "$d")" 'alpha.txt	two\r\nlines\tand a tab'
check "list of a directory's own file" "$("$orvo" comment list "$d/Zeta")" ':THIS_DIR:	the last letter'

# The comment file is hidden (the option is on in a new options file).
out=$("$orvo" ls "$d")
check "ls" "$out" "..		0	1899-12-30	00:00-00	
Zeta	the last letter	0	2021-03-04	05:06-07	----
.profile	-	0	2021-03-04	05:06-07	-ah-
alpha.txt	two  lines\\tand a tab	5	2021-03-04	05:06-07	-a--"
check "ls --sort Name --desc" "$("$orvo" ls "$d" --sort name --desc | cut -f1)" $'..\nalpha.txt\n.profile\nZeta'
check "first row of the drive list" "$("$orvo" ls Computer/ | head -1)" $'..\t\t0\t1899-12-30\t00:00-00\t'

"$orvo" comment set "$d/alpha.txt" "" || { echo "FAIL removing"; fail=1; }
"$orvo" comment set "$d/Zeta" "" || { echo "FAIL removing"; fail=1; }
[ -e "$d/dir_info.orb" ] && { echo "FAIL the emptied comment file is still there"; fail=1; }
[ -e "$d/Zeta/dir_info.orb" ] && { echo "FAIL the emptied comment file of Zeta is still there"; fail=1; }

# Bad input: clear messages and non-zero status, nothing destroyed.
printf '\002\000\000\000\005alpha\002ok\005tru' > "$d/dir_info.orb"
cp "$d/dir_info.orb" "$tmp/damaged"
if "$orvo" comment set "$d/alpha.txt" new 2>"$tmp/err"; then echo "FAIL set into a damaged file"; fail=1; fi
grep -q "damaged" "$tmp/err" || { echo "FAIL no clear message: $(cat "$tmp/err")"; fail=1; }
cmp -s "$d/dir_info.orb" "$tmp/damaged" || { echo "FAIL the damaged file was changed"; fail=1; }
if "$orvo" ls "$tmp/missing" 2>"$tmp/err"; then echo "FAIL ls of a missing directory"; fail=1; fi
grep -q "cannot read the directory" "$tmp/err" || { echo "FAIL no clear message for ls"; fail=1; }
"$orvo" ls "$d" --sort Nope 2>/dev/null; [ $? -eq 1 ] || { echo "FAIL unknown column"; fail=1; }
"$orvo" ls 2>/dev/null; [ $? -eq 2 ] || { echo "FAIL usage status"; fail=1; }

[ $fail -eq 0 ] && echo "cli listing: all checks passed"
exit $fail
