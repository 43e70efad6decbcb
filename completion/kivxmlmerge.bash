# bash completion for kivxmlmerge                          -*- shell-script -*-
#
# Completes the options, input reports (*.xml in any letter case, and
# directories to reach them), any file name after -p and -x, and options
# files after "@". Patterns after -f and -nf are matched against the file
# names inside the reports, not against local files, so nothing is offered
# there. Works with and without the bash-completion package.

_kivxmlmerge_files()
{
    # $1: the word typed so far; $2: optional -X filter for plain files.
    local item
    local -a found dirs
    if [[ -n ${2-} ]]; then
        mapfile -t found < <(compgen -f -X "$2" -- "$1")
    else
        mapfile -t found < <(compgen -f -- "$1")
    fi
    mapfile -t dirs < <(compgen -d -- "$1")
    found+=("${dirs[@]}")
    # Each directory once, files once.
    local -A seen=()
    for item in "${found[@]}"; do
        [[ -n ${seen[$item]-} ]] && continue
        seen[$item]=1
        COMPREPLY+=("$item")
    done
}

_kivxmlmerge()
{
    local cur prev
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}

    case $prev in
        -p | -x)
            compopt -o filenames 2>/dev/null
            _kivxmlmerge_files "$cur"
            return 0
            ;;
        -f | -nf)
            return 0
            ;;
    esac

    case $cur in
        @*)
            # The name is glued to "@": complete it, then put "@" back.
            # Directories get their slash here, since bash sees "@dir", not "dir".
            local name=${cur#@} item
            local -a names
            mapfile -t names < <(compgen -f -- "$name")
            for item in "${names[@]}"; do
                if [[ -d $item ]]; then
                    COMPREPLY+=("@$item/")
                else
                    COMPREPLY+=("@$item")
                fi
            done
            if ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == */ ]]; then
                compopt -o nospace 2>/dev/null
            fi
            ;;
        -*)
            mapfile -t COMPREPLY < <(compgen -W '-p -x -f -nf -ndl -h' -- "$cur")
            ;;
        *)
            compopt -o filenames 2>/dev/null
            _kivxmlmerge_files "$cur" '!*.[xX][mM][lL]'
            ;;
    esac
    return 0
}

complete -F _kivxmlmerge kivxmlmerge
