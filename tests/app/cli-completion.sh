#!/usr/bin/env bash
# The bash completion, sourced as bash does and called as it calls it.
. "$(dirname "$0")/../cli-harness.sh"
src=$2
PATH=$(cd "$(dirname "$orvo")" && pwd):$PATH
. "$src/dist/bash-completion/orvo"
check "registered" "$(complete -p orvo)" "complete -F _orvo orvo"

# complete WORD... : COMPREPLY for the last word, sorted, one a line.
complete_words() {
    COMP_WORDS=(orvo "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _orvo
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

check "commands" "$(complete_words l)" $'list\nls'
check "every command" "$(complete_words "" | grep -c .)" "15"
check "sub-commands" "$(complete_words comment "")" $'get\nlist\nset'
check "options of a command" "$(complete_words ls "$tmp" --)" $'--desc\n--help\n--sort'
check "options of a sub-command" "$(complete_words image convert a.bmp b.png --)" \
    $'--bits\n--help\n--quality\n--size'
check "an option's values" "$(complete_words ls "$tmp" --sort D)" $'Date\nDirectory'
check "after a value, options again" "$(complete_words search "$tmp" --size gt 3 bytes --lo)" "--long"
check "no option after --" "$(complete_words du -- --)" ""

# File operands: names with blanks stay whole, directories as they are.
mkdir -p "$tmp/w/my dir" && : > "$tmp/w/my file.txt" && : > "$tmp/w/other"
cd "$tmp/w" || exit 1
check "file operand" "$(complete_words du my)" $'my dir\nmy file.txt'
check "escaped blank" "$(complete_words comment get 'my\ f')" "my file.txt"
check "after a sub-command's options" "$(complete_words view kind --alt o)" "other"
check "a file option's value" "$(complete_words image thumb --out o)" "other"
check "operand after --" "$(complete_words rm -- o)" "other"
check "no file names for option keys" "$(complete_words options get "")" ""
exit $fail
