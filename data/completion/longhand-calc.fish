# Fish completion for longhand-calc: the commands (asked of the program
# itself), the options, and file names after "@".

function __longhand_calc_operand_files
    set -l token (commandline -ct)
    string match -q -- '@*' $token; or return
    echo @-
    for name in (__fish_complete_path (string sub -s 2 -- $token))
        echo @$name
    end
end

complete -c longhand-calc -f
complete -c longhand-calc -n __fish_use_subcommand -a '(longhand-calc --commands 2>/dev/null)'
complete -c longhand-calc -n __fish_use_subcommand -l help -d 'list every command'
complete -c longhand-calc -n __fish_use_subcommand -l version -d 'print the version'
complete -c longhand-calc -n __fish_use_subcommand -l commands -d 'print the command names'
complete -c longhand-calc -n 'not __fish_use_subcommand' -a '(__longhand_calc_operand_files)'
