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

# Sets _kivxmlmerge_tail to the text of $1 that readline replaces with a
# completion: what follows its last character in COMP_WORDBREAKS, except that
# bash keeps a breaking "@" or "$" in the replaced text.
_kivxmlmerge_after_breaks()
{
    local word=$1 breaks=${COMP_WORDBREAKS-} i
    for ((i = ${#word}; i > 0; i--)); do
        [[ $breaks == *"${word:i-1:1}"* ]] && break
    done
    ((i > 0)) && [[ ${word:i-1:1} == [@\$] ]] && ((i--))
    _kivxmlmerge_tail=${word:i}
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

    # The shell word being completed, from the line: with "@" in
    # COMP_WORDBREAKS (bash's default) COMP_WORDS holds "@name" as two words.
    local word=$cur
    if [[ -n ${COMP_LINE-} ]]; then
        word=${COMP_LINE:0:${COMP_POINT:-${#COMP_LINE}}}
        word=${word##*[[:space:]]}
    fi

    case $word in
        @*)
            # Complete the name behind "@", then hand back only the part of
            # "@name" that readline replaces.
            local name=${word#@} item full keep _kivxmlmerge_tail
            _kivxmlmerge_after_breaks "$word"
            keep=$((${#word} - ${#_kivxmlmerge_tail}))
            local -a names
            mapfile -t names < <(compgen -f -- "$name")
            for item in "${names[@]}"; do
                full=@$item
                [[ -d $item ]] && full+=/
                printf -v full '%q' "${full:keep}"
                COMPREPLY+=("$full")
            done
            if ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == */ ]]; then
                compopt -o nospace 2>/dev/null
            fi
            return 0
            ;;
    esac

    case $cur in
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
