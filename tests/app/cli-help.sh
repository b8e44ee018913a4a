#!/usr/bin/env bash
# What orvo says about itself and how every command splits its words:
# --version, --help, `orvo CMD --help`, unknown and misplaced options.
. "$(dirname "$0")/../cli-harness.sh"
src=$2

version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
out=$("$orvo" --version); check "--version status" "$?" "0"
check "--version" "$out" "orvo $version"

"$orvo" --help > "$tmp/help" 2> "$tmp/err"; check "--help status" "$?" "0"
check "--help writes nothing on stderr" "$(cat "$tmp/err")" ""
check "help is --help" "$("$orvo" help)" "$(cat "$tmp/help")"
"$orvo" > /dev/null 2>&1; check "no command is a usage error" "$?" "2"
"$orvo" --frobnicate > /dev/null 2> "$tmp/err"; check "unknown option status" "$?" "2"
grep -q "unknown option '--frobnicate'" "$tmp/err" || { echo "FAIL unknown option message: $(head -1 "$tmp/err")"; fail=1; }

# Every command the help lists has its own help, on stdout, naming every
# option the command takes (the completion's list comes from the same table).
commands=$(sed -n 's/^  orvo \([a-z]*\) .*/\1/p' "$tmp/help" | sort -u)
check "the commands" "$(echo $commands)" "comment cp du image list ls mv options rm search store view"
for c in $commands; do
    "$orvo" "$c" --help > "$tmp/own" 2> "$tmp/err" || { echo "FAIL $c --help status"; fail=1; }
    grep -q "^  orvo $c " "$tmp/own" || { echo "FAIL $c --help: $(head -2 "$tmp/own")"; fail=1; }
    check "$c --help writes nothing on stderr" "$(cat "$tmp/err")" ""
    check "help $c" "$("$orvo" help "$c")" "$(cat "$tmp/own")"
    for option in $("$orvo" --complete "$c" -); do
        [ "$option" = --help ] && continue
        grep -q -- "$option" "$tmp/own" || { echo "FAIL $c --help does not mention $option"; fail=1; }
    done
done
"$orvo" help nosuch > /dev/null 2>&1; check "help of an unknown command" "$?" "2"

# Mistakes: exit status 2, what was wrong, then the command's usage.
mistake() { # NAME EXPECTED-MESSAGE ARGS...
    local name=$1 message=$2; shift 2
    "$orvo" "$@" > "$tmp/out" 2> "$tmp/err"
    check "$name: status" "$?" "2"
    check "$name: message" "$(head -1 "$tmp/err")" "$message"
    grep -q "^usage:" "$tmp/err" || { echo "FAIL $name: no usage"; fail=1; }
    check "$name: nothing on stdout" "$(cat "$tmp/out")" ""
}
mistake "unknown option after the operand" \
    "orvo ls: unknown option --bogus (put -- before an operand that begins with -)" ls "$tmp" --bogus
mistake "single-dash word" \
    "orvo du: unknown option -x (put -- before an operand that begins with -)" du -x
mistake "missing value at the end" "orvo ls: --sort needs a value" ls "$tmp" --sort
mistake "missing values" "orvo search: --size needs 3 values" search "$tmp" --size gt 3
mistake "value given to a flag" "orvo ls: --desc takes no value" ls "$tmp" --sort=Name --desc=yes
mistake "another sub-command's option" "orvo image: --bits goes with convert, not with info" \
    image info x.bmp --bits 8
mistake "option before its sub-command" "orvo view: --alt goes with kind, not with find" \
    view --alt find a b

# --help wins over a mistake, and is an operand after --.
check "help after a mistake" "$("$orvo" ls --bogus --help 2>&1 | head -2 | tail -1 | cut -c1-10)" "  orvo ls "
"$orvo" du -- --help > /dev/null 2> "$tmp/err"; check "--help after --" "$?" "1"
grep -q "no such file or directory: --help" "$tmp/err" || { echo "FAIL --help after -- not an operand"; fail=1; }

# A value may begin with a dash; "=" joins a value to its option.
mkdir -p "$tmp/d"; printf 'x' > "$tmp/d/-a.txt"
check "value with a dash" "$("$orvo" search "$tmp/d" --names '-a*' 2>/dev/null)" "$tmp/d/-a.txt"
check "joined value" "$("$orvo" search --names=-a* "$tmp/d" 2>/dev/null)" "$tmp/d/-a.txt"
exit $fail
