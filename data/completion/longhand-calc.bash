# Bash completion for longhand-calc: the commands (asked of the program
# itself, so that they are always its own), the options, and file names
# after "@" for operands read from a file.

_longhand_calc() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    COMPREPLY=()
    if [[ $COMP_CWORD -eq 1 ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--help --version --commands' -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$("${COMP_WORDS[0]}" --commands 2>/dev/null)" -- "$cur"))
        fi
        return
    fi
    if [[ $cur == @* ]]; then
        local IFS=$'\n' name
        local files=($(compgen -f -- "${cur#@}"))
        [[ -z ${cur#@} || - == "${cur#@}"* ]] && COMPREPLY+=('@-')
        for name in "${files[@]}"; do
            [[ -d $name ]] && name+=/
            COMPREPLY+=("@$name")
        done
        # A folder is completed further, not closed with a blank.
        [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == */ ]] && compopt -o nospace
    fi
}
complete -F _longhand_calc longhand-calc
