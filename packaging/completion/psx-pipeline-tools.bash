# Bash completion for texelo, lumarc, tbkinfo and rlfinfo: their options, and
# for each argument the files it takes. Installed once under each program's
# name, where bash-completion looks for a command's completion.

# Files (and folders, to walk into) whose names end in one of the given
# extensions, in any letter case; with no extension, every file.
_psx_files() {
    local cur="$1" IFS=$'\n' name
    shift
    local -a found
    found=($(compgen -f -- "$cur"))
    COMPREPLY=()
    for name in "${found[@]}"; do
        if [[ -d "$name" ]]; then
            COMPREPLY+=("$name/")
        elif (($# == 0)); then
            COMPREPLY+=("$name")
        else
            local extension
            for extension in "$@"; do
                if [[ "${name,,}" == *."${extension,,}" ]]; then
                    COMPREPLY+=("$name")
                    break
                fi
            done
        fi
    done
    compopt -o nospace -o filenames 2>/dev/null
}

_psx_options() {
    COMPREPLY=($(compgen -W "$1" -- "$2"))
}

_psx_texelo() {
    local cur="${COMP_WORDS[COMP_CWORD]}" prev="${COMP_WORDS[COMP_CWORD - 1]}"
    case "$prev" in
    --map) _psx_files "$cur" png; return ;;
    --report) _psx_files "$cur" json; return ;;
    --depfile) _psx_files "$cur" d; return ;;
    esac
    if [[ "$cur" == -* || "$cur" == /* && "$cur" != /*/* && ! -e "$cur" ]]; then
        _psx_options "-q --quiet --dry-run --map --depfile --report --help --version /c -c" "$cur"
        return
    fi
    # Layout scripts have any name, so every file is offered for the script.
    _psx_files "$cur"
}

_psx_lumarc() {
    local cur="${COMP_WORDS[COMP_CWORD]}" prev="${COMP_WORDS[COMP_CWORD - 1]}" word
    if [[ "$prev" == --render ]]; then
        _psx_files "$cur" png
        return
    fi
    if [[ "$cur" == -* ]]; then
        _psx_options "--psx --list --render --help --version" "$cur"
        return
    fi
    # The first file is the layout, the one after it the render list.
    local files=0
    for word in "${COMP_WORDS[@]:1:COMP_CWORD - 1}"; do
        [[ "$word" != -* && "$prev" != --render ]] && files=$((files + 1))
    done
    if ((files == 0)); then
        _psx_files "$cur" mdf
    else
        _psx_files "$cur" rlf
    fi
}

_psx_tbkinfo() {
    local cur="${COMP_WORDS[COMP_CWORD]}" prev="${COMP_WORDS[COMP_CWORD - 1]}"
    if [[ "$prev" == --extract ]]; then
        COMPREPLY=($(compgen -d -- "$cur"))
        compopt -o filenames 2>/dev/null
        return
    fi
    if [[ "$cur" == -* ]]; then
        _psx_options "--json --extract --help --version" "$cur"
        return
    fi
    _psx_files "$cur" tbk
}

_psx_rlfinfo() {
    local cur="${COMP_WORDS[COMP_CWORD]}" prev="${COMP_WORDS[COMP_CWORD - 1]}"
    case "$prev" in
    --render) _psx_files "$cur" png; return ;;
    --size) _psx_options "640x480 640x512 320x240 512x240" "$cur"; return ;;
    esac
    if [[ "$cur" == -* ]]; then
        _psx_options "--json --render --size --plain --help --version" "$cur"
        return
    fi
    _psx_files "$cur" rlf
}

complete -F _psx_texelo texelo
complete -F _psx_lumarc lumarc
complete -F _psx_tbkinfo tbkinfo
complete -F _psx_rlfinfo rlfinfo
