# bash completion for kivxmlexport                         -*- shell-script -*-
#
# Completes the options, input reports (*.xml in any letter case, and
# directories to reach them), any file name after -lcov and -cobertura, a
# directory after -root, and options files after "@". Patterns after -f and
# -nf are matched against the file names inside the reports, not against
# local files, so nothing is offered there. Works with and without the
# bash-completion package.

# Adds to COMPREPLY the directories that begin with $1 and, unless $2 is
# "dirs", the files: all of them, or those that the -X filter $2 keeps.
_kivxmlexport_names()
{
    local item
    local -a found=()
    local -A seen=()
    if [[ ${2-} != dirs ]]; then
        mapfile -t found < <(compgen -f ${2:+-X "$2"} -- "$1")
    fi
    mapfile -t -O "${#found[@]}" found < <(compgen -d -- "$1")
    for item in "${found[@]}"; do
        [[ -n ${seen[$item]-} ]] && continue
        seen[$item]=1
        COMPREPLY+=("$item")
    done
}

# Completes "@name" typed as $1: the names behind "@", each handed back as
# the part of "@name" that readline replaces, which is what follows the last
# COMP_WORDBREAKS character of the word, except that bash keeps a breaking
# "@" or "$" in the replaced text.
_kivxmlexport_options_file()
{
    local word=$1 breaks=${COMP_WORDBREAKS-} item full i
    for ((i = ${#word}; i > 0; i--)); do
        [[ $breaks == *"${word:i-1:1}"* ]] && break
    done
    ((i > 0)) && [[ ${word:i-1:1} == [@\$] ]] && ((i--))
    local -a names
    mapfile -t names < <(compgen -f -- "${word#@}")
    for item in "${names[@]}"; do
        full=@$item
        [[ -d $item ]] && full+=/
        printf -v full '%q' "${full:i}"
        COMPREPLY+=("$full")
    done
    if ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == */ ]]; then
        compopt -o nospace 2>/dev/null
    fi
}

_kivxmlexport()
{
    local cur prev
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}

    case $prev in
        -lcov | -cobertura)
            compopt -o filenames 2>/dev/null
            _kivxmlexport_names "$cur"
            return 0
            ;;
        -root)
            compopt -o filenames 2>/dev/null
            _kivxmlexport_names "$cur" dirs
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

    if [[ $word == @* ]]; then
        _kivxmlexport_options_file "$word"
    elif [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W '-lcov -cobertura -root -f -nf -ndl -h' -- "$cur")
    else
        compopt -o filenames 2>/dev/null
        _kivxmlexport_names "$cur" '!*.[xX][mM][lL]'
    fi
    return 0
}

complete -F _kivxmlexport kivxmlexport
