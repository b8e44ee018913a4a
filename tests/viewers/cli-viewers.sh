#!/usr/bin/env bash
# orvo view kind and orvo view find on files made here.
. "$(dirname "$0")/../cli-harness.sh"

d=$tmp/files
mkdir -p "$d"
: > "$d/photo.JPG"; : > "$d/clip.wav"; : > "$d/README"
head -c 1000000 /dev/zero | tr '\0' 'a' > "$d/limit.txt"
head -c 1000001 /dev/zero | tr '\0' 'a' > "$d/over.txt"
check "kinds" "$("$orvo" view kind "$d/photo.JPG" "$d/clip.wav" "$d/README" "$d/limit.txt" "$d/over.txt" | cut -f1 | tr '\n' ' ')" \
    "image multimedia image text none "
check "Alt makes everything text" "$("$orvo" view kind "$d/photo.JPG" --alt | cut -f1)" "text"

printf 'one ABC\r\ncaf\xe9 abc\r\n' > "$d/notes.txt"
check "find without case" "$("$orvo" view find abc "$d/notes.txt")" "$d/notes.txt:1:5: one ABC
$d/notes.txt:2:6: café abc"
check "find with case" "$("$orvo" view find --case ABC "$d/notes.txt" | cut -d: -f2,3)" "1:5"
check "options after the operands" "$("$orvo" view find ABC "$d/notes.txt" --case | cut -d: -f2,3)" "1:5"
check "a text that begins with -" "$("$orvo" view find -- -b "$d/notes.txt" 2>&1)" ""
check "wildcard" "$("$orvo" view find --wildcard 'c?f*c' "$d/notes.txt" | cut -d: -f2,3)" "2:1"
"$orvo" view find xyz "$d/notes.txt" >/dev/null; check "no match is status 1" "$?" "1"

# Bad input: clear messages, no hang on a pipe.
mkfifo "$d/pipe.txt"
out=$(timeout 10 "$orvo" view find a "$d/pipe.txt" 2>&1); check "pipe status" "$?" "1"
case "$out" in *"not a regular file"*) ;; *) echo "FAIL pipe message: $out"; fail=1 ;; esac
out=$("$orvo" view kind "$d/gone.jpg" 2>&1); check "missing file status" "$?" "1"
out=$("$orvo" view find a "$d/over.txt" 2>&1); check "over the limit" "$?" "1"
"$orvo" view 2>/dev/null; check "usage" "$?" "2"
exit $fail
