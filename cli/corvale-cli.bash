# bash completion for corvale-cli: award names, options, and the values of options.
_corvale_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=""
    [ "$COMP_CWORD" -gt 0 ] && prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()
    case $prev in
    --log | --source-mdb | --country-file)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
        ;;
    --lst-dir | --squares-dir | --wine-prefix | --export-dir | --map-dir)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
        return
        ;;
    --band)
        mapfile -t COMPREPLY < <(compgen -W "50 144 222 432" -- "$cur")
        return
        ;;
    --export)
        mapfile -t COMPREPLY < <(compgen -W "geojson kml csv geojson,kml,csv" -- "$cur")
        return
        ;;
    --map-format)
        mapfile -t COMPREPLY < <(compgen -W "png svg" -- "$cur")
        return
        ;;
    --confirmations)
        mapfile -t COMPREPLY < <(compgen -W "card lotw eqsl card,lotw,eqsl" -- "$cur")
        return
        ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "--log --source-mdb --confirmations --country-file \
            --lst-dir --squares --squares-dir --band --wine-prefix --json --verbose --needed \
            --export --export-dir --map-dir --map-format --map-size --home --help --version" \
            -- "$cur")
    else
        mapfile -t COMPREPLY < <(compgen -W "was dxcc iota vucc ffma all" -- "$cur")
    fi
}
complete -F _corvale_cli corvale-cli
