#!/usr/bin/env bash
# orvo options list / get / set on a data directory of its own.
. "$(dirname "$0")/../cli-harness.sh"
fails() { if "$orvo" options "$@" >/dev/null 2>"$tmp/err"; then echo "FAIL accepted: options $*"; fail=1; fi; }

# Reading the options of a first run shows the defaults and writes nothing.
check "first-run value" "$("$orvo" options get 'show tips')" "TRUE"
check "first-run listing" "$("$orvo" options list | grep -c .)" "10"
[ -e "$ORVO_HOME/OrvoOptions.qad" ] && { echo "FAIL reading created the options file"; fail=1; }

"$orvo" options set 'Show Tips' false || { echo "FAIL set of a known key"; fail=1; }
[ -e "$ORVO_HOME/OrvoOptions.qad" ] || { echo "FAIL set wrote no options file"; fail=1; }
check "value after set" "$("$orvo" options get 'SHOW TIPS')" "FALSE"
check "one row per key" "$("$orvo" options list | grep -ci 'show tips')" "1"

"$orvo" options set 'Tip of day position' -3
check "integer" "$("$orvo" options get 'Tip of day position')" "-3"
fails set 'Tip of day position' 12x
fails set 'Show Tips' maybe
check "bad values change nothing" "$("$orvo" options get 'Tip of day position')" "-3"

# A new key needs its type; then it is listed like the others.
fails set 'Window title' 'Orvo'
grep -q -- "--string" "$tmp/err" || { echo "FAIL no hint at the type flags: $(cat "$tmp/err")"; fail=1; }
"$orvo" options set --string 'Window title' $'two\tparts'
check "escaped listing" "$("$orvo" options list | grep 'Window title')" $'string\tWindow title\ttwo\\tparts'
check "missing key with a type" "$("$orvo" options get --int 'No such key')" "-1"
"$orvo" options set 'Dir size' 12 --int || { echo "FAIL type flag after the operands"; fail=1; }
check "type flag after the operands" "$("$orvo" options get 'Dir size' --int)" "12"
fails get --int --bool 'Dir size'
fails list --bool
fails get 'No such key'

# A damaged file is reported and left as it is.
head -c 200 "$ORVO_HOME/OrvoOptions.qad" > "$tmp/cut" && cp "$tmp/cut" "$ORVO_HOME/OrvoOptions.qad"
fails set 'Show Tips' true
grep -q "damaged" "$tmp/err" || { echo "FAIL no clear message: $(cat "$tmp/err")"; fail=1; }
cmp -s "$tmp/cut" "$ORVO_HOME/OrvoOptions.qad" || { echo "FAIL damaged file overwritten"; fail=1; }
fails list

[ $fail -eq 0 ] && echo "cli options: all checks passed"
exit $fail
