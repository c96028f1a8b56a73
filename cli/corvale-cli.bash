# bash completion for corvale-cli: award names, options, and the values of options.
_corvale_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=""
    [ "$COMP_CWORD" -gt 0 ] && prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    case $prev in
    --source-mdb)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    --lst-dir | --squares-dir | --wine-prefix)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    --band)
        mapfile -t COMPREPLY < <(compgen -W "50 144 222 432" -- "$cur")
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "--source-mdb --lst-dir --squares --squares-dir \
            --band --wine-prefix --json --verbose --help --version" -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -W "was dxcc iota vucc ffma all" -- "$cur")
    fi
}
complete -F _corvale_cli corvale-cli
