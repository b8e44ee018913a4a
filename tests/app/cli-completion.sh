#!/usr/bin/env bash
# The bash completion, sourced and called as bash calls it: first in bash
# alone, then with the bash-completion package loaded, as an installed
# system runs it.
. "$(dirname "$0")/../cli-harness.sh"
src=$2
PATH=$(cd "$(dirname "$orvo")" && pwd):$PATH
. "$src/dist/bash-completion/orvo"
check "registered" "$(complete -p orvo)" "complete -F _orvo orvo"

# complete TEXT: COMPREPLY, sorted, for the end of the line "orvo TEXT",
# split into COMP_WORDS as bash splits it: at blanks that are neither
# escaped nor quoted, with "=" a word of its own.
complete_line() {
    COMP_LINE="orvo $1"
    COMP_POINT=${#COMP_LINE}
    COMP_WORDS=()
    local word="" c i escaped=0 quoted=0
    for ((i = 0; i < ${#COMP_LINE}; i++)); do
        c=${COMP_LINE:i:1}
        if ((escaped)); then
            word+=$c escaped=0
        elif [[ $c == '\' ]]; then
            word+=$c escaped=1
        elif [[ $c == '"' ]]; then
            word+=$c quoted=$((!quoted))
        elif ((quoted)); then
            word+=$c
        elif [[ $c == ' ' ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            word=""
        elif [[ $c == '=' ]]; then
            [[ -n $word ]] && COMP_WORDS+=("$word")
            COMP_WORDS+=("=")
            word=""
        else
            word+=$c
        fi
    done
    [[ $COMP_LINE == *= ]] || COMP_WORDS+=("$word")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _orvo
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

mkdir -p "$tmp/w/my dir" && : > "$tmp/w/my file.txt" && : > "$tmp/w/other"
cd "$tmp/w" || exit 1

checks() { # how: what is loaded
    local how=$1
    check "$how: commands" "$(complete_line l)" $'list\nls'
    check "$how: every command" "$(complete_line "" | grep -c .)" "15"
    check "$how: sub-commands" "$(complete_line "comment ")" $'get\nlist\nset'
    check "$how: options of a command" "$(complete_line "ls $tmp --")" $'--desc\n--help\n--sort'
    check "$how: options of a sub-command" "$(complete_line "image convert a.bmp b.png --")" \
        $'--bits\n--help\n--quality\n--size'
    check "$how: an option's values" "$(complete_line "ls $tmp --sort D")" $'Date\nDirectory'
    check "$how: a value after =" "$(complete_line "cp --on-error=")" $'abort\nignore'
    check "$how: a value begun after =" "$(complete_line "cp --on-error=ab")" "abort"
    check "$how: after a value, options again" "$(complete_line "search $tmp --size gt 3 bytes --lo")" "--long"
    check "$how: no option after --" "$(complete_line "du -- --")" ""
    # File operands: names with blanks stay whole.
    check "$how: file operand" "$(complete_line "du my")" $'my dir\nmy file.txt'
    check "$how: after a sub-command's options" "$(complete_line "view kind --alt o")" "other"
    check "$how: a file option's value" "$(complete_line "image thumb --out o")" "other"
    check "$how: a file option's value after =" "$(complete_line "image thumb --out=o")" "other"
    check "$how: operand after --" "$(complete_line "rm -- o")" "other"
    check "$how: no file names for option keys" "$(complete_line "options get ")" ""
}
checks "bash alone"
# Dequoting what was typed is _filedir's work once bash-completion is loaded
# (and its compgen dequotes only inside a real completion).
check "escaped blank" "$(complete_line 'comment get my\ f')" "my file.txt"
check "quoted" "$(complete_line 'comment get "my f')" "my file.txt"
. /usr/share/bash-completion/bash_completion || { echo "FAIL bash-completion is not installed"; exit 1; }
checks "bash-completion"
exit $fail
