#!/usr/bin/env bash
# orvo search as a user runs it: hits on stdout, the counts on stderr.
. "$(dirname "$0")/../cli-harness.sh"
hits() { "$orvo" search "$@" 2>/dev/null | sed "s|^$tmp/t/||" | sort | tr '\n' ' '; }

mkdir -p "$tmp/t/docs/sub" "$tmp/t/semi;colon"
printf 'say hello to the world' > "$tmp/t/docs/a.txt"
printf 'HELLO' > "$tmp/t/docs/b.TXT"
printf 'world only' > "$tmp/t/docs/sub/d.txt"
printf 'hello' > "$tmp/t/docs/prog.exe"
printf 'x' > "$tmp/t/semi;colon/c.txt"

check "names" "$(hits "$tmp/t" --names '*.txt')" "docs/a.txt docs/b.TXT docs/sub/d.txt semi;colon/c.txt "
check "plain word" "$(hits "$tmp/t" --names 'sub')" "docs/sub "
check "text" "$(hits "$tmp/t" --text hello)" "docs/a.txt docs/b.TXT docs/prog.exe "
check "binaries" "$(hits --text hello --exclude-binaries "$tmp/t")" "docs/a.txt docs/b.TXT "
check "case" "$(hits "$tmp/t" --text hello --case)" "docs/a.txt docs/prog.exe "
check "and" "$(hits "$tmp/t" --text 'hello;world' --mode and)" "docs/a.txt "
check "or" "$(hits "$tmp/t" --text 'only;HELLO' --mode or --case)" "docs/b.TXT docs/sub/d.txt "
check "wildcard" "$(hits "$tmp/t" --text 'h*o t' --regex)" "docs/a.txt "
check "size" "$(hits "$tmp/t" --names '*.*' --size gt 9 bytes)" "docs/a.txt docs/sub/d.txt "
check "place with ;" "$(hits "$tmp/t/semi;colon")" "semi;colon/c.txt "

check "long form" "$("$orvo" search "$tmp/t/docs" --names a.txt --text 'to' --long 2>/dev/null | cut -f2,4)" \
      $'22\tsay hello to the world'
check "counts" "$("$orvo" search "$tmp/t" --names '*.txt' 2>&1 >/dev/null)" \
      "0 directories, 4 files found. Total size is 38 bytes"

"$orvo" search "$tmp/none" > /dev/null 2> "$tmp/err"
check "missing place status" "$?" "1"
grep -q "not a directory" "$tmp/err" || { echo "FAIL no message for a missing place"; fail=1; }
"$orvo" search "$tmp/t" --size about 3 bytes > /dev/null 2>&1
check "bad relation" "$?" "1"
"$orvo" search "$tmp/t" --frobnicate > /dev/null 2>&1
check "unknown option" "$?" "2"
exit $fail
